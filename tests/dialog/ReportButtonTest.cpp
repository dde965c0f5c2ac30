// "輸出報告(&R)": under the export button at its size, enabled with it, and
// writing the report of the photo shown, its picture the very JPEG the export
// writes.

#include "DialogFixture.h"
#include "common/CanvasAccess.h"
#include "common/OpeningPhotos.h"
#include "dialog/ControlIds.h"

#include <QProcess>

namespace {

// Remembers where the report's save dialog was opened.
class ReportPrompter : public ScriptedPrompter {
public:
    QString ChooseSavePathFor(QWidget*, const QString&, const QString& suffix,
                              const QString& suggested) override {
        suggestions.append(suggested);
        suffixes.append(suffix);
        return NextPath();
    }
    QStringList suggestions, suffixes;
};

class ReportButtonTest : public MainWindowTest {
protected:
    // Opens through this test's prompter, which answers every prompt.
    void OpenHere(const QString& path) {
        reportPrompter.paths.append(path);
        Click(IDC_OPEN_PHOTO);
        EXPECT_TRUE(WaitForFullPhoto(canvas()));
    }
    ReportPrompter reportPrompter;
    ScopedPrompter reportScope{&reportPrompter};
};

QString RunTool(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST_F(ReportButtonTest, SitsUnderTheExportButtonAndIsEnabledWithIt) {
    auto* report = dlg->Item<QAbstractButton>(IDC_EXPORT_REPORT);
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->text(), Utf8("輸出報告(&R)"));
    EXPECT_TRUE(report->isVisible());
    EXPECT_FALSE(report->isEnabled());
    for (const QSize size : {QSize(1024, 766), QSize(1300, 900), QSize(800, 600)}) {
        dlg->resize(size);
        QCoreApplication::processEvents();
        const QRect panel = Item(IDC_PANEL)->geometry();
        // The row below the export button (x PL + 20, y PT + 125, 100 x 25).
        EXPECT_EQ(report->geometry(), QRect(panel.left() + 20, panel.top() + 155, 100, 25))
            << size.width();
        EXPECT_EQ(Item(IDC_EXPORT_PICTURE)->geometry(),
                  QRect(panel.left() + 20, panel.top() + 125, 100, 25));
    }
    OpenHere(WritePhoto(Utf8("kitchen.jpg")));
    EXPECT_TRUE(Item(IDC_EXPORT_PICTURE)->isEnabled());
    EXPECT_TRUE(report->isEnabled());
}

TEST_F(ReportButtonTest, WritesTheReportOfThePhotoShown) {
    const QString photo = WritePhoto(Utf8("kitchen.jpg"), 400, 300);
    OpenHere(photo);
    info().dimensions.push_back(MakeDimension({10, 10}, {200, 10}, Utf8("1.9米"), RGB(255, 0, 0)));
    info().notes.push_back(MakeTitledNote({50, 60}, Utf8("插座"), Utf8("兩個")));
    const QString out = PathOf(Utf8("報告.pdf"));
    reportPrompter.paths.append(out);
    Click(IDC_EXPORT_REPORT);
    ASSERT_EQ(reportPrompter.suggestions, QStringList{PathOf(Utf8("kitchen.pdf"))});
    EXPECT_EQ(reportPrompter.suffixes, QStringList{QStringLiteral("pdf")});
    ASSERT_TRUE(WaitForReport());
    EXPECT_EQ(reportPrompter.texts, QStringList{Utf8("輸出報告完畢")});

    const QString text = RunTool(QStringLiteral("pdftotext"),
                                 {QStringLiteral("-enc"), QStringLiteral("UTF-8"), out, "-"});
    for (const char* expected : {"kitchen.jpg", "1.9米", "190.0", "插座", "兩個"})
        EXPECT_TRUE(text.contains(Utf8(expected))) << expected << "\n" << text.toStdString();
    // The picture is what the export button writes, byte for byte.
    const QString exported = PathOf(Utf8("kitchen-export.jpg"));
    ASSERT_TRUE(CanvasAccess::ExportAnnotated(canvas(), exported));
    RunTool(QStringLiteral("pdfimages"), {QStringLiteral("-j"), out, PathOf(Utf8("img"))});
    EXPECT_EQ(ReadWholeFile(PathOf(Utf8("img-000.jpg"))), ReadWholeFile(exported));
}

// The report is written on a worker: the window goes on meanwhile, records
// edited then do not reach it, a second report waits its turn with a word,
// and closing the window finishes the report first.
TEST_F(ReportButtonTest, IsWrittenInTheBackgroundWithTheRecordsOfItsStart) {
    OpenHere(WritePhoto(Utf8("kitchen.jpg"), 400, 300));
    info().notes.push_back(MakeTitledNote({50, 60}, Utf8("插座"), Utf8("兩個")));
    const QString out = PathOf(Utf8("報告.pdf"));
    HeldWorkers held;
    ASSERT_TRUE(held.AllHeld());
    reportPrompter.paths = {out, PathOf(Utf8("second.pdf"))};
    Click(IDC_EXPORT_REPORT);
    ASSERT_TRUE(dlg->ReportExport() && dlg->ReportExport()->IsRunning());
    info().notes[0] = MakeTitledNote({50, 60}, Utf8("窗戶"), Utf8("三個"));
    Click(IDC_EXPORT_REPORT); // refused before a file is asked for
    EXPECT_EQ(reportPrompter.paths.size(), 1);
    EXPECT_EQ(reportPrompter.texts,
              QStringList{dlg->tr("上一份報告還在輸出，請等它完成後再輸出。")});
    EXPECT_FALSE(QFileInfo::exists(out));
    reportPrompter.answers = {QMessageBox::Discard}; // the edits were never saved
    held.ReleaseOne();
    dlg->close(); // finishes the report, then goes
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_FALSE(dlg->ReportExport()->IsRunning());
    EXPECT_EQ(reportPrompter.texts.mid(1),
              (QStringList{Utf8("照片信息已修改，是否保存？"), Utf8("輸出報告完畢")}));
    const QString text = RunTool(QStringLiteral("pdftotext"),
                                 {QStringLiteral("-enc"), QStringLiteral("UTF-8"), out, "-"});
    EXPECT_TRUE(text.contains(Utf8("插座"))) << text.toStdString();
    EXPECT_FALSE(text.contains(Utf8("窗戶"))) << text.toStdString();
}

TEST_F(ReportButtonTest, NeverOverThePhoto) {
    const QString photo = WritePhoto(Utf8("kitchen.jpg"));
    const QByteArray before = ReadWholeFile(photo);
    OpenHere(photo);
    reportPrompter.paths.append(photo);
    Click(IDC_EXPORT_REPORT);
    ASSERT_EQ(reportPrompter.texts.size(), 1);
    EXPECT_TRUE(reportPrompter.texts[0].startsWith(Utf8("輸出報告失敗：")))
        << reportPrompter.texts[0].toStdString();
    EXPECT_EQ(ReadWholeFile(photo), before);
}

TEST_F(ReportButtonTest, CancelledWritesNothing) {
    OpenHere(WritePhoto(Utf8("kitchen.jpg")));
    Click(IDC_EXPORT_REPORT);
    EXPECT_EQ(reportPrompter.suggestions.size(), 1);
    EXPECT_TRUE(reportPrompter.texts.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(PathOf(Utf8("kitchen.pdf"))));
}

} // namespace
