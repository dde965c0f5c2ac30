// The interface's language from the environment, and what choosing it
// changes: the program's texts and Qt's stock dialogs.

#include "app/InterfaceLanguage.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QScopeGuard>
#include <gtest/gtest.h>

namespace {

struct EnvironmentCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> variables;
    InterfaceLanguage expected;
};
void PrintTo(const EnvironmentCase& c, std::ostream* os) {
    *os << c.name;
}

class LanguageFromEnvironment : public ::testing::TestWithParam<EnvironmentCase> {};

TEST_P(LanguageFromEnvironment, Chooses) {
    QProcessEnvironment environment;
    for (const auto& [name, value] : GetParam().variables)
        environment.insert(QString::fromLatin1(name), QString::fromLatin1(value));
    EXPECT_EQ(ChooseInterfaceLanguage(environment), GetParam().expected);
}

constexpr InterfaceLanguage zh = InterfaceLanguage::Chinese;
constexpr InterfaceLanguage en = InterfaceLanguage::English;

INSTANTIATE_TEST_SUITE_P(
    Variables, LanguageFromEnvironment,
    ::testing::Values(
        EnvironmentCase{"NothingSet", {}, zh},
        EnvironmentCase{"EmptyValues", {{"LANG", ""}, {"LC_ALL", ""}, {"LANGUAGE", ""}}, zh},
        EnvironmentCase{"LangC", {{"LANG", "C"}}, zh},
        EnvironmentCase{"LangPosix", {{"LANG", "POSIX"}}, zh},
        EnvironmentCase{"LangCUtf8", {{"LANG", "C.UTF-8"}}, zh},
        EnvironmentCase{"LangAmericanEnglish", {{"LANG", "en_US.UTF-8"}}, en},
        EnvironmentCase{"LangGerman", {{"LANG", "de_DE@euro"}}, en},
        EnvironmentCase{"LangJapanese", {{"LANG", "ja_JP.eucJP"}}, en},
        EnvironmentCase{"LangTaiwan", {{"LANG", "zh_TW.UTF-8"}}, zh},
        EnvironmentCase{"LangHongKongBig5", {{"LANG", "zh_HK.BIG5-HKSCS"}}, zh},
        EnvironmentCase{"LangMainlandChinese", {{"LANG", "zh_CN.GB18030"}}, zh},
        EnvironmentCase{"LangNotALanguage", {{"LANG", "%%garbage"}}, zh},
        EnvironmentCase{
            "LanguageListBeforeLang", {{"LANG", "en_US.UTF-8"}, {"LANGUAGE", "zh_TW:en"}}, zh},
        EnvironmentCase{"LanguageEnglishOverChineseLang",
                        {{"LANG", "zh_TW.UTF-8"}, {"LANGUAGE", "en_GB:zh_TW"}},
                        en},
        EnvironmentCase{"LanguageFirstKnownEntryWins",
                        {{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "fr:zh_TW:en"}},
                        zh},
        EnvironmentCase{"LanguageWithNoKnownEntryLeavesItToLang",
                        {{"LANG", "zh_TW.UTF-8"}, {"LANGUAGE", "fr:de"}},
                        zh},
        EnvironmentCase{"LanguageIgnoredInTheCLocale", {{"LANG", "C"}, {"LANGUAGE", "en"}}, zh},
        EnvironmentCase{"LanguageIgnoredWithNoLocale", {{"LANGUAGE", "en_US"}}, zh},
        EnvironmentCase{"LcAllOverLang", {{"LC_ALL", "en_US.UTF-8"}, {"LANG", "zh_TW.UTF-8"}}, en},
        EnvironmentCase{"LcAllCOverLang", {{"LC_ALL", "C"}, {"LANG", "en_US.UTF-8"}}, zh},
        EnvironmentCase{
            "LcMessagesOverLang", {{"LC_MESSAGES", "zh_TW.UTF-8"}, {"LANG", "en_US.UTF-8"}}, zh},
        EnvironmentCase{
            "LcAllOverLcMessages", {{"LC_ALL", "fr_FR.UTF-8"}, {"LC_MESSAGES", "zh_TW.UTF-8"}}, en},
        EnvironmentCase{"OverrideEnglishOverChineseDesktop",
                        {{"TESSAMAR_LANG", "en"}, {"LANG", "zh_TW.UTF-8"}, {"LANGUAGE", "zh_TW"}},
                        en},
        EnvironmentCase{"OverrideEnglishWithNoLocale", {{"TESSAMAR_LANG", "en"}}, en},
        EnvironmentCase{
            "OverrideEnglishInTheCLocale", {{"TESSAMAR_LANG", "en"}, {"LC_ALL", "C"}}, en},
        EnvironmentCase{"OverrideChineseOverEnglishDesktop",
                        {{"TESSAMAR_LANG", "zh_TW"}, {"LANG", "en_US.UTF-8"}, {"LANGUAGE", "en"}},
                        zh},
        EnvironmentCase{"OverrideUnknownIsIgnored",
                        {{"TESSAMAR_LANG", "klingon"}, {"LANG", "en_US.UTF-8"}},
                        en},
        EnvironmentCase{"OverrideOtherLanguageIsIgnored",
                        {{"TESSAMAR_LANG", "fr"}, {"LANG", "zh_TW.UTF-8"}},
                        zh}),
    [](const ::testing::TestParamInfo<EnvironmentCase>& info) {
        return std::string(info.param.name);
    });

struct SpokenCase {
    InterfaceLanguage language;
    QtTexts qt;
    const char* programText; // the open button's caption
    const char* okButton;    // a stock message box's OK button
    const char* cancelButton;
};

class SpokenLanguage : public ::testing::TestWithParam<SpokenCase> {};

// The program's texts and the stock dialogs change together (Qt's texts stay
// as shipped where asked); the test programs' Chinese comes back afterwards.
TEST_P(SpokenLanguage, ProgramTextsAndStockDialogsFollowTheChoice) {
    const SpokenCase& c = GetParam();
    const auto restore =
        qScopeGuard([] { UseInterfaceLanguage(InterfaceLanguage::Chinese, QtTexts::AsShipped); });
    ASSERT_TRUE(UseInterfaceLanguage(c.language, c.qt));
    EXPECT_EQ(QCoreApplication::translate("CMeasureDlg", "打開圖片(&O)"),
              QString::fromUtf8(c.programText));
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    QString ok = box.button(QMessageBox::Ok)->text();
    QString cancel = box.button(QMessageBox::Cancel)->text();
    ok.remove(QLatin1Char('&'));
    cancel.remove(QLatin1Char('&'));
    EXPECT_TRUE(ok.startsWith(QString::fromUtf8(c.okButton))) << ok.toStdString();
    EXPECT_TRUE(cancel.startsWith(QString::fromUtf8(c.cancelButton))) << cancel.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Languages, SpokenLanguage,
    ::testing::Values(
        SpokenCase{InterfaceLanguage::English, QtTexts::Translated, "&Open photo", "OK", "Cancel"},
        SpokenCase{InterfaceLanguage::English, QtTexts::AsShipped, "&Open photo", "OK", "Cancel"},
        SpokenCase{InterfaceLanguage::Chinese, QtTexts::Translated, "打開圖片(&O)", "確定", "取消"},
        SpokenCase{InterfaceLanguage::Chinese, QtTexts::AsShipped, "打開圖片(&O)", "OK",
                   "Cancel"}));

} // namespace
