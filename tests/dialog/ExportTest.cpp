// The window's picture export and report: each runs on a worker (a
// FileWriteJob) with the records of the moment it started while the window
// goes on, a second one
// waits its turn with a word, closing the window finishes it first, and a
// refused target or a failure is told with its reason. (Which targets are
// refused: tests/output; the picture and the report themselves: tests/output
// and tests/app.)

#include "DialogFixture.h"

#include "common/OpeningPhotos.h"
#include "lumoimage/ExifReader.h"
#include "output/AnnotatedExport.h"

#include <new>

namespace {

// The job on its own: a memory shortage in the work is a failure, told once.
TEST(FileWriteJobTest, AMemoryShortageIsAFailureToldOnce) {
    QWidget window;
    QStringList told;
    FileWriteJob job(&window, QStringLiteral("job"),
                     [&](const QString& path, const FileWriteJob::Outcome& outcome) {
                         told << path + (outcome.written ? QStringLiteral(" written") : " failed");
                     });
    ASSERT_TRUE(job.Start("c", "label", 0, [](const std::function<void(int)>&) {
        throw std::bad_alloc();
        return FileWriteJob::Outcome{};
    }));
    job.Finish();
    QTest::qWait(20); // the worker's late signal tells nothing more
    EXPECT_EQ(told, QStringList{"c failed"});
}

class ExportTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Open(kitchen = WritePhoto(QStringLiteral("kitchen.jpg"), 400, 300));
        info().dimensions.push_back(MakeDimension({40, 250}, {380, 262}, Utf8("約3米")));
        info().notes.push_back(MakeTitledNote({60, 240}, Utf8("插座"), Utf8("兩個")));
        drawn = info();
    }
    QString kitchen;
    PhotoInfo drawn;
};

// For the picture and for the report: the button, its job, what the second
// press says and what the finished job says.
struct JobCase {
    int button;
    FileWriteJob* (CMeasureDlg::*job)() const;
    const char *out, *busy, *done;
};
class BackgroundJob : public ExportTest, public ::testing::WithParamInterface<JobCase> {};

TEST_P(BackgroundJob, HasTheRecordsOfItsStartASecondWaitsAndClosingFinishesIt) {
    const JobCase& c = GetParam();
    const QString out = PathOf(QString::fromLatin1(c.out));
    HeldWorkers held;
    ASSERT_TRUE(held.AllHeld());
    prompter.paths = {out, PathOf(QStringLiteral("second"))};
    Click(c.button);
    ASSERT_TRUE((dlg.get()->*c.job)() && (dlg.get()->*c.job)()->IsRunning());
    info().notes[0] = MakeTitledNote({50, 60}, Utf8("窗戶")); // the window is usable
    Click(c.button);                                          // refused before a file is asked for
    EXPECT_EQ(prompter.paths.size(), 1);
    EXPECT_EQ(prompter.texts, QStringList{Utf8(c.busy)});
    prompter.answers = {QMessageBox::Discard}; // the edits were never saved
    dlg->close();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_FALSE((dlg.get()->*c.job)()->IsRunning());
    held.ReleaseAll();
    QCoreApplication::processEvents();
    EXPECT_EQ(prompter.texts.count(Utf8(c.done)), 1);
    if (c.button == IDC_EXPORT_REPORT) {
        EXPECT_EQ(prompter.suggestions, QStringList{PathOf(QStringLiteral("kitchen.pdf"))});
        EXPECT_TRUE(ReadWholeFile(out).startsWith("%PDF"));
    } else { // the records of the start, not the window's
        const QString expected = PathOf(QStringLiteral("expected.jpg"));
        ASSERT_TRUE(ExportAnnotatedPicture(canvas().Photo().Image(), drawn, expected, nullptr));
        EXPECT_TRUE(ReadWholeFile(out) == ReadWholeFile(expected));
    }
}

INSTANTIATE_TEST_SUITE_P(
    PictureAndReport, BackgroundJob,
    ::testing::Values(JobCase{IDC_EXPORT_PICTURE, &CMeasureDlg::PictureExport, "out.jpg",
                              "上一張圖片還在輸出，請等它完成後再輸出。", "輸出圖片完畢"},
                      JobCase{IDC_EXPORT_REPORT, &CMeasureDlg::ReportExport, "報告.pdf",
                              "上一份報告還在輸出，請等它完成後再輸出。", "輸出報告完畢"}));

TEST_F(ExportTest, ARefusedTargetOrAFailureIsToldWithItsReasonAndThePhotoStays) {
    const QByteArray photo = ReadWholeFile(kitchen);
    const QString failing = PathOf(QStringLiteral("missing-folder/out.jpg"));
    const std::tuple<int, QString, QString> cases[] = {
        {IDC_EXPORT_PICTURE, kitchen,
         Utf8("輸出圖片失敗：") + kitchen + "\nIt is the photo itself."},
        {IDC_EXPORT_REPORT, kitchen,
         Utf8("輸出報告失敗：") + kitchen + "\nIt is the photo itself."},
        {IDC_EXPORT_PICTURE, failing,
         Utf8("輸出圖片失敗：") + failing + "\nNo such file or directory"},
    };
    for (const auto& [button, path, says] : cases) {
        prompter.texts.clear();
        prompter.paths = {path};
        Click(button);
        ASSERT_TRUE(WaitForPictureExport());
        EXPECT_EQ(prompter.texts, QStringList{says});
    }
    EXPECT_EQ(ReadWholeFile(kitchen), photo);
}

// The window hands the photo's own file on: the picture keeps its Exif fields.
TEST_F(ExportTest, ThePictureKeepsThePhotosCaptureDate) {
    const QString camera = PathOf(QStringLiteral("camera.jpg"));
    ASSERT_TRUE(QFile::copy(SourcePath(QStringLiteral("tests/data/wild/Canon_40D.jpg")), camera));
    prompter.answers = {QMessageBox::Discard};
    Open(camera);
    prompter.paths = {PathOf(QStringLiteral("out.jpg"))};
    Click(IDC_EXPORT_PICTURE);
    ASSERT_TRUE(WaitForPictureExport());
    const QByteArray bytes = ReadWholeFile(PathOf(QStringLiteral("out.jpg")));
    JpegHeaderInfo header;
    ScanJpegHeader(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                   std::size_t(bytes.size()), &header);
    EXPECT_EQ(header.captureDate, "2008:05:30 15:56:01");
}

} // namespace

// The canvas menu's head-on picture: disabled without a plane (nothing is
// asked); with one, its file is asked for and written on a worker.
TEST_F(ExportTest, TheHeadOnPictureIsOfferedWithAPlaneAndWrittenOnAWorker) {
    const QString out = PathOf(QStringLiteral("head-on.jpg"));
    prompter.pick = ID_EXPORT_HEAD_ON;
    prompter.paths = {out};
    ClickPhoto({200, 150}, Qt::RightButton);
    EXPECT_FALSE(prompter.picked);
    EXPECT_EQ(prompter.paths.size(), 1);
    info().reference.hasPlane = true;
    info().reference.plane = {{{100, 100}, {300, 110}, {290, 250}, {110, 240}}, 200, 150};
    ClickPhoto({200, 150}, Qt::RightButton);
    EXPECT_TRUE(prompter.picked);
    EXPECT_EQ(prompter.suggestions, QStringList{PathOf(QStringLiteral("kitchen-head-on.jpg"))});
    ASSERT_TRUE(dlg->HeadOnExport());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !dlg->HeadOnExport()->IsRunning(); }, 60000));
    QCoreApplication::processEvents();
    EXPECT_TRUE(ReadWholeFile(out).contains("Tessamar head-on view: 1 mm per pixel"));
    EXPECT_EQ(prompter.texts.count(Utf8("輸出正視圖完畢")), 1);
}
