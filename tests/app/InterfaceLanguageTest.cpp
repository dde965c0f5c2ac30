// The interface's language from the environment, and what choosing it
// changes: the program's texts and Qt's stock dialogs.

#include "app/InterfaceLanguage.h"
#include "dialog/CMeasureDlg.h"

#include <QCoreApplication>
#include <QFontInfo>
#include <QMessageBox>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QScopeGuard>
#include <gtest/gtest.h>

namespace {

constexpr InterfaceLanguage zh = InterfaceLanguage::Chinese;
constexpr InterfaceLanguage en = InterfaceLanguage::English;

TEST(LanguageFromEnvironment, ChoosesAsTheVariablesSay) {
    const struct {
        std::vector<std::pair<const char*, const char*>> variables;
        InterfaceLanguage expected;
    } cases[] = {
        {{}, zh},
        {{{"LANG", ""}, {"LC_ALL", ""}, {"LANGUAGE", ""}}, zh},
        {{{"LANG", "C"}}, zh},
        {{{"LANG", "C.UTF-8"}}, zh},
        {{{"LANG", "en_US.UTF-8"}}, en},
        {{{"LANG", "de_DE@euro"}}, en}, // any other language
        {{{"LANG", "zh_TW.UTF-8"}}, zh},
        {{{"LANG", "%%garbage"}}, zh},
        {{{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "zh_TW:en"}}, zh},    // the list before LANG
        {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "fr:zh_TW:en"}}, zh}, // its first known entry
        {{{"LANG", "zh_TW.UTF-8"}, {"LANGUAGE", "fr:de"}}, zh},       // none known: LANG
        {{{"LANG", "C"}, {"LANGUAGE", "en"}}, zh},                    // ignored in the C locale
        {{{"LANGUAGE", "en_US"}}, zh},                                // and with no locale
        {{{"LC_ALL", "en_US.UTF-8"}, {"LANG", "zh_TW.UTF-8"}}, en},
        {{{"LC_MESSAGES", "zh_TW.UTF-8"}, {"LANG", "en_US.UTF-8"}}, zh},
        {{{"LC_ALL", "fr_FR.UTF-8"}, {"LC_MESSAGES", "zh_TW.UTF-8"}}, en},
        {{{"TESSAMAR_LANG", "en"}, {"LANG", "zh_TW.UTF-8"}, {"LANGUAGE", "zh_TW"}}, en},
        {{{"TESSAMAR_LANG", "zh_TW"}, {"LANG", "en_US.UTF-8"}, {"LANGUAGE", "en"}}, zh},
        {{{"TESSAMAR_LANG", "fr"}, {"LANG", "zh_TW.UTF-8"}}, zh}, // another language is ignored
    };
    for (const auto& c : cases) {
        QProcessEnvironment environment;
        std::string shown;
        for (const auto& [name, value] : c.variables) {
            environment.insert(QString::fromLatin1(name), QString::fromLatin1(value));
            shown += std::string(name) + "=" + value + " ";
        }
        EXPECT_EQ(ChooseInterfaceLanguage(environment), c.expected) << shown;
    }
}

// The program's texts and the stock dialogs change together (Qt's texts stay
// as shipped where asked); the test programs' Chinese comes back afterwards.
TEST(SpokenLanguage, ProgramTextsAndStockDialogsFollowTheChoice) {
    const struct {
        InterfaceLanguage language;
        QtTexts qt;
        const char* programText; // the open button's caption
        const char* buttons;     // a stock message box's, as shown
        const char* face;        // the window's captions'
    } cases[] = {
        {InterfaceLanguage::English, QtTexts::Translated, "&Open photo", "OK Cancel Yes No",
         "Liberation Sans"},
        {InterfaceLanguage::Chinese, QtTexts::Translated, "打開圖片(&O)", "確定 取消 是 否",
         "AR PL UMing TW"},
        {InterfaceLanguage::Chinese, QtTexts::AsShipped, "打開圖片(&O)", "OK Cancel Yes No",
         "AR PL UMing TW"},
    };
    const auto restore =
        qScopeGuard([] { UseInterfaceLanguage(InterfaceLanguage::Chinese, QtTexts::AsShipped); });
    for (const auto& c : cases) {
        ASSERT_TRUE(UseInterfaceLanguage(c.language, c.qt)) << c.buttons;
        EXPECT_EQ(QCoreApplication::translate("CMeasureDlg", "打開圖片(&O)"),
                  QString::fromUtf8(c.programText));
        QMessageBox box;
        QStringList shown;
        for (auto button :
             {QMessageBox::Ok, QMessageBox::Cancel, QMessageBox::Yes, QMessageBox::No}) {
            box.setStandardButtons(button);
            shown << box.button(button)->text().remove('&').section('(', 0, 0);
        }
        EXPECT_EQ(shown.join(' '), QString::fromUtf8(c.buttons));
        const CMeasureDlg window;
        EXPECT_EQ(QFontInfo(window.font()).family(), QString::fromUtf8(c.face));
    }
}

} // namespace
