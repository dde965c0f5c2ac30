// The program started in a given environment shows its window in the
// language that environment asks for: its --screenshot picture of the window
// matches the window drawn here in that language, not in the other.

#include "app/InterfaceLanguage.h"
#include "dialog/CMeasureDlg.h"

#include <QApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The parts of the window whose captions differ between the languages.
const int kCaptioned[] = {IDC_OPEN_PHOTO, IDC_SAVE_INFO, IDC_ZOOM_GROUP};

struct Regions {
    std::vector<QImage> parts;
};

Regions Cut(const QImage& window, const CMeasureDlg& layout) {
    Regions regions;
    for (int id : kCaptioned)
        regions.parts.push_back(window.copy(layout.GetDlgItem(id)->geometry()));
    return regions;
}

Regions DrawnHere(InterfaceLanguage language) {
    UseInterfaceLanguage(language);
    Regions regions;
    {
        CMeasureDlg dialog;
        dialog.InitDialog();
        dialog.show();
        QApplication::processEvents();
        regions = Cut(dialog.grab().toImage(), dialog);
    }
    UseInterfaceLanguage(InterfaceLanguage::Chinese, QtTexts::AsShipped);
    return regions;
}

int DifferentPixels(const Regions& a, const Regions& b) {
    int different = 0;
    for (size_t i = 0; i < a.parts.size(); ++i) {
        const QImage x = a.parts[i].convertToFormat(QImage::Format_RGB32);
        const QImage y = b.parts[i].convertToFormat(QImage::Format_RGB32);
        if (x.size() != y.size())
            return INT_MAX;
        for (int row = 0; row < x.height(); ++row)
            for (int col = 0; col < x.width(); ++col)
                different += x.pixel(col, row) != y.pixel(col, row);
    }
    return different;
}

struct StartCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> variables;
    InterfaceLanguage expected;
};
void PrintTo(const StartCase& c, std::ostream* os) {
    *os << c.name;
}

class LanguageAtStart : public ::testing::TestWithParam<StartCase> {};

TEST_P(LanguageAtStart, WindowSpeaksTheChosenLanguage) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString picture = dir.filePath(QStringLiteral("window.png"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"TESSAMAR_LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
        environment.remove(QString::fromLatin1(name));
    for (const auto& [name, value] : GetParam().variables)
        environment.insert(QString::fromLatin1(name), QString::fromLatin1(value));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TESSAMAR_PROGRAM), {QStringLiteral("--screenshot"), picture});
    ASSERT_TRUE(program.waitForFinished(60000));
    ASSERT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();

    const QImage shown(picture);
    ASSERT_FALSE(shown.isNull());
    CMeasureDlg layout;
    layout.InitDialog();
    layout.resize(shown.size());
    const Regions started = Cut(shown, layout);
    const InterfaceLanguage expected = GetParam().expected;
    const InterfaceLanguage other = expected == InterfaceLanguage::English
                                        ? InterfaceLanguage::Chinese
                                        : InterfaceLanguage::English;
    const int same = DifferentPixels(started, DrawnHere(expected));
    const int otherwise = DifferentPixels(started, DrawnHere(other));
    EXPECT_EQ(same, 0);
    EXPECT_GT(otherwise, 100);
}

constexpr InterfaceLanguage zh = InterfaceLanguage::Chinese;
constexpr InterfaceLanguage en = InterfaceLanguage::English;

INSTANTIATE_TEST_SUITE_P(
    Environments, LanguageAtStart,
    ::testing::Values(StartCase{"OverrideEnglish", {{"TESSAMAR_LANG", "en"}}, en},
                      StartCase{"LangC", {{"LANG", "C"}}, zh}, StartCase{"NoLocale", {}, zh},
                      StartCase{"EnglishDesktop", {{"LANG", "en_GB.UTF-8"}}, en},
                      StartCase{"OverrideChineseOnAnEnglishDesktop",
                                {{"TESSAMAR_LANG", "zh_TW"}, {"LANG", "en_US.UTF-8"}},
                                zh}),
    [](const ::testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });

} // namespace
