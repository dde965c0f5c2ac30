// `tessamar --report` run as a user would: the report's headings speak the
// interface's language, the records stay as they were typed, and the
// command line's messages stay English whatever the language.

#include "common/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ProgramRun {
    int status = -1;
    QString errors;
};

ProgramRun Report(const std::vector<std::pair<const char*, const char*>>& variables,
                  const QStringList& arguments) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"TESSAMAR_LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"})
        environment.remove(QString::fromLatin1(name));
    for (const auto& [name, value] : variables)
        environment.insert(QString::fromLatin1(name), QString::fromLatin1(value));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TESSAMAR_PROGRAM), QStringList{"--report"} + arguments);
    ProgramRun run;
    if (program.waitForFinished(120000)) {
        run.status = program.exitCode();
        run.errors = QString::fromLocal8Bit(program.readAllStandardError());
    }
    return run;
}

QString PdfText(const QString& pdf) {
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
        return QStringLiteral("<pdftotext failed>");
    return QString::fromUtf8(tool.readAllStandardOutput());
}

struct ReportCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> variables;
    std::vector<const char*> headings; // the report's own texts
    std::vector<const char*> absent;   // the other language's
};
void PrintTo(const ReportCase& c, std::ostream* os) {
    *os << c.name;
}

class ReportLanguage : public ::testing::TestWithParam<ReportCase> {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        for (const char* name : {"living-room.jpg", "living-room.dat"})
            ASSERT_TRUE(QFile::copy(SourcePath(QStringLiteral("samples/") + name),
                                    dir.filePath(QString::fromLatin1(name))));
    }
    QTemporaryDir dir;
};

TEST_P(ReportLanguage, HeadingsFollowTheLanguageRecordsStayAsTyped) {
    const ReportCase& c = GetParam();
    const QString pdf = dir.filePath(QStringLiteral("room.pdf"));
    const ProgramRun run =
        Report(c.variables, {pdf, dir.filePath(QStringLiteral("living-room.jpg"))});
    ASSERT_EQ(run.status, 0) << run.errors.toStdString();
    const QString text = PdfText(pdf);
    for (const char* heading : c.headings)
        EXPECT_TRUE(text.contains(QString::fromUtf8(heading))) << heading << "\n"
                                                               << text.toStdString();
    for (const char* other : c.absent)
        EXPECT_FALSE(text.contains(QString::fromUtf8(other))) << other;
    // The sample's records, in Chinese, whatever the interface speaks.
    for (const char* record : {"窗戶", "向內開，門寬 0.9 m", "3.60 m"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(record))) << record;
}

// A failure says so in English in either language, with an English reason.
TEST_P(ReportLanguage, MessagesStayEnglish) {
    const QString pdf = dir.filePath(QStringLiteral("gone/room.pdf"));
    const ProgramRun run =
        Report(GetParam().variables, {pdf, dir.filePath(QStringLiteral("living-room.jpg"))});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.errors.startsWith(QStringLiteral("tessamar: cannot write")))
        << run.errors.toStdString();
    EXPECT_TRUE(run.errors.contains(QStringLiteral("No such file or directory")))
        << run.errors.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Environments, ReportLanguage,
    ::testing::Values(
        ReportCase{"English",
                   {{"TESSAMAR_LANG", "en"}},
                   {"Dimensions", "Notes", "Report date:", "Length (pixels)", "Reference: none"},
                   {"報告日期", "信息標注"}},
        ReportCase{"EnglishDesktop",
                   {{"LANG", "en_US.UTF-8"}},
                   {"Dimensions", "Notes", "Report date:"},
                   {"報告日期", "信息標注"}},
        ReportCase{"CLocale", {{"LANG", "C"}}, {"尺寸", "信息標注", "報告日期："}, {"Report date"}},
        ReportCase{"TaiwanDesktop",
                   {{"LANG", "zh_TW.UTF-8"}},
                   {"尺寸", "信息標注", "報告日期："},
                   {"Report date"}}),
    [](const ::testing::TestParamInfo<ReportCase>& info) { return std::string(info.param.name); });

} // namespace
