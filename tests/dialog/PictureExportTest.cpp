// The window's picture export runs on a worker: the window goes on handling
// input meanwhile, the records of the moment the export started are the ones
// drawn, a second export waits its turn, and closing the window finishes the
// picture first.

#include "DialogFixture.h"

#include "common/OpeningPhotos.h"
#include "lumoimage/ExifReader.h"
#include "output/AnnotatedExport.h"
#include "platform/BackgroundWork.h"

#include <QFileInfo>
#include <QProgressDialog>
#include <set>

namespace {

class PictureExportTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Open(kitchen = WritePhoto(QStringLiteral("kitchen.jpg"), 640, 480));
        info().dimensions.push_back(MakeDimension({40, 250}, {600, 262}, Utf8("約3米"), 0xFF0000));
        info().notes.push_back(MakeTitledNote({60, 240}, Utf8("北牆"), Utf8("油漆剝落\n需要修補")));
        drawn = info();
        shown = canvas().Photo().Image();
    }
    // The picture of the photo shown at the start with the records of then.
    QByteArray Expected() {
        const QString path = PathOf(QStringLiteral("expected.jpg"));
        QString error;
        EXPECT_TRUE(ExportAnnotatedPicture(shown, drawn, path, &error)) << error.toStdString();
        return ReadWholeFile(path);
    }
    QProgressDialog* Progress() const {
        return dlg->PictureExport() ? dlg->PictureExport()->Progress() : nullptr;
    }
    QString kitchen;
    PhotoInfo drawn;
    QImage shown;
};

TEST_F(PictureExportTest, NeitherEditsNorAnotherPhotoReachThePictureBeingWritten) {
    const QString out = PathOf(QStringLiteral("out.jpg"));
    HeldWorkers held;
    ASSERT_TRUE(held.AllHeld());
    prompter.paths = {out};
    Click(IDC_EXPORT_PICTURE);
    ASSERT_TRUE(dlg->PictureExport() && dlg->PictureExport()->IsRunning());
    // The window is usable: the records change, another photo opens.
    info().dimensions[0].colour = RGB(0, 0, 255);
    info().dimensions.push_back(MakeDimension({10, 10}, {630, 470}, Utf8("斜")));
    info().notes.clear();
    prompter.answers = {QMessageBox::Discard};
    // Its decode waits for a worker as the export does.
    prompter.paths = {WritePhoto(QStringLiteral("hall.jpg"), 300, 200)};
    Click(IDC_OPEN_PHOTO);
    EXPECT_TRUE(dlg->PictureExport()->IsRunning());
    EXPECT_FALSE(QFileInfo::exists(out));

    held.ReleaseAll();
    ASSERT_TRUE(WaitForFullPhoto(canvas()));
    ASSERT_EQ(canvas().Photo().Image().size(), QSize(300, 200));
    ASSERT_TRUE(WaitForPictureExport());
    EXPECT_EQ(prompter.texts.last(), Utf8("輸出圖片完畢"));
    EXPECT_TRUE(ReadWholeFile(out) == Expected());
}

TEST_F(PictureExportTest, ASecondExportWaitsItsTurnWithAWord) {
    const QString first = PathOf(QStringLiteral("first.jpg"));
    const QString second = PathOf(QStringLiteral("second.jpg"));
    HeldWorkers held;
    ASSERT_TRUE(held.AllHeld());
    prompter.paths = {first, second};
    Click(IDC_EXPORT_PICTURE);
    Click(IDC_EXPORT_PICTURE); // refused before a file is asked for
    EXPECT_EQ(prompter.paths, QStringList{second});
    ASSERT_EQ(prompter.texts.size(), 1);
    EXPECT_EQ(prompter.texts[0], dlg->tr("上一張圖片還在輸出，請等它完成後再輸出。"));
    held.ReleaseAll();
    ASSERT_TRUE(WaitForPictureExport());
    Click(IDC_EXPORT_PICTURE); // its turn now
    ASSERT_TRUE(WaitForPictureExport());
    EXPECT_EQ(prompter.texts.mid(1), (QStringList{Utf8("輸出圖片完畢"), Utf8("輸出圖片完畢")}));
    EXPECT_TRUE(ReadWholeFile(first) == Expected());
    EXPECT_TRUE(ReadWholeFile(second) == ReadWholeFile(first));
}

TEST_F(PictureExportTest, ClosingTheWindowFinishesThePictureAndTellsTheOutcome) {
    const QString out = PathOf(QStringLiteral("out.jpg"));
    HeldWorkers held;
    ASSERT_TRUE(held.AllHeld());
    prompter.paths = {out};
    Click(IDC_EXPORT_PICTURE);
    ASSERT_TRUE(dlg->PictureExport()->IsRunning());
    prompter.answers = {QMessageBox::Discard}; // the records were never saved
    dlg->close();
    EXPECT_FALSE(dlg->isVisible());
    // The picture is whole when the window has gone, and was told once.
    EXPECT_FALSE(dlg->PictureExport()->IsRunning());
    EXPECT_TRUE(ReadWholeFile(out) == Expected());
    held.ReleaseAll();
    QCoreApplication::processEvents();
    EXPECT_EQ(prompter.texts.count(Utf8("輸出圖片完畢")), 1);
}

TEST_F(PictureExportTest, AFailureIsToldWithItsReasonWhenTheExportEnds) {
    const QString failing = PathOf(QStringLiteral("missing-folder/out.jpg"));
    prompter.paths = {failing};
    Click(IDC_EXPORT_PICTURE);
    ASSERT_TRUE(WaitForPictureExport());
    ASSERT_EQ(prompter.texts.size(), 1);
    EXPECT_EQ(prompter.texts[0],
              Utf8("輸出圖片失敗：") + failing + Utf8("\nNo such file or directory"));
}

// While a big picture is written the window's thread goes on: it handles
// input and sees the rows written grow, band after band.
TEST_F(PictureExportTest, TheWindowHandlesInputWhileABigPictureIsWritten) {
    QImage big(4000, 3000, QImage::Format_RGB32);
    for (int y = 0; y < big.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(big.scanLine(y));
        for (int x = 0; x < big.width(); ++x)
            row[x] = qRgb((x * 13 + y * 7) & 255, (x ^ y) & 255, (y * 5) & 255);
    }
    const QString photo = PathOf(QStringLiteral("big.jpg"));
    ASSERT_TRUE(big.save(photo, "JPEG", 90));
    prompter.answers = {QMessageBox::Discard};
    Open(photo);
    ASSERT_EQ(canvas().Photo().Image().height(), 3000);
    for (int i = 0; i < 200; ++i)
        info().dimensions.push_back(MakeDimension(
            {20 + i * 15, 40 + i * 14}, {3900 - i * 9, 60 + i * 14}, QString::number(1000 + i)));
    prompter.paths = {PathOf(QStringLiteral("out.jpg"))};
    Click(IDC_EXPORT_PICTURE);
    ASSERT_TRUE(dlg->PictureExport()->IsRunning());
    std::set<int> seen; // rows written, as the window saw them
    bool typed = false;
    while (dlg->PictureExport()->IsRunning()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (Progress())
            seen.insert(Progress()->value());
        if (!typed && dlg->PictureExport()->IsRunning()) {
            // Input while the picture is being written takes effect at once.
            SizeEdit()->setFocus();
            QTest::keyClicks(SizeEdit(), QStringLiteral("123"));
            typed = SizeEdit()->text().endsWith(QStringLiteral("123"));
        }
    }
    EXPECT_TRUE(typed);
    ASSERT_NE(Progress(), nullptr);
    EXPECT_EQ(Progress()->maximum(), 3000);
    // At least one value between none and all: the window ran midway.
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](int v) { return v > 0 && v < 3000; }))
        << seen.size();
    EXPECT_EQ(prompter.texts.last(), Utf8("輸出圖片完畢"));
    EXPECT_FALSE(Progress()->isVisible());
}

// The window's export keeps the photo's Exif fields, as the command line's does.
TEST_F(PictureExportTest, ThePictureKeepsThePhotosCaptureDate) {
    const QString camera = PathOf(QStringLiteral("camera.jpg"));
    ASSERT_TRUE(QFile::copy(SourcePath(QStringLiteral("tests/data/wild/Canon_40D.jpg")), camera));
    prompter.answers = {QMessageBox::Discard};
    Open(camera);
    const QString out = PathOf(QStringLiteral("out.jpg"));
    prompter.paths = {out};
    Click(IDC_EXPORT_PICTURE);
    ASSERT_TRUE(WaitForPictureExport());
    const QByteArray bytes = ReadWholeFile(out);
    JpegHeaderInfo header;
    ScanJpegHeader(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                   std::size_t(bytes.size()), &header);
    EXPECT_EQ(header.captureDate, "2008:05:30 15:56:01");
}

} // namespace
