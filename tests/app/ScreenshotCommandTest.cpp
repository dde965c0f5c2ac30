// `tessamar --screenshot OUT.png PHOTO` (run in-process) reads the photo and
// its info file and changes nothing but its output: a damaged info file stays
// where it is, the output goes through the durable writer (a file size limit
// leaves the old picture whole, a named pipe is refused at once), and what it
// says is one English line. The picture is the finished window, every note's
// label drawn.

#include "app/CommandLine.h"
#include "common/DiskFaults.h"
#include "common/Pictures.h"
#include "common/RecordBuilders.h"
#include "common/TestSupport.h"
#include "dialog/CMeasureDlg.h"
#include "document/PhotoInfo.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

namespace {

struct ScreenshotCase {
    const char* name;
    bool damagedInfo;   // else an info file without records
    const char* output; // "file": an old picture there; "fifo": a named pipe
    bool limited;       // files of the process cannot grow past 1 KB
    int status;
    const char* says; // on stderr, or "" for nothing
};
void PrintTo(const ScreenshotCase& c, std::ostream* os) {
    *os << c.name;
}

class ScreenshotFiles : public ::testing::TestWithParam<ScreenshotCase> {
protected:
    QTemporaryDir dir;
    QString PathOf(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

TEST_P(ScreenshotFiles, ChangeNothingButTheOutput) {
    const ScreenshotCase& c = GetParam();
    ASSERT_TRUE(dir.isValid());
    const QString photo = PathOf("room.jpg"), info = PathOf("room.dat"), out = PathOf("out.png");
    ASSERT_TRUE(Solid(64, 48).save(photo, "JPEG"));
    const QByteArray infoBytes = c.damagedInfo ? QByteArray("KZR") : PhotoInfo().Serialize();
    ASSERT_TRUE(WriteWholeFile(info, infoBytes));
    if (QByteArray(c.output) == "fifo")
        ASSERT_EQ(mkfifo(QFile::encodeName(out).constData(), 0600), 0);
    else
        ASSERT_TRUE(WriteWholeFile(out, "old picture"));
    const QStringList before = NamesIn(dir.path());

    ::testing::internal::CaptureStderr();
    int status = -1;
    {
        std::optional<FileSizeLimit> limit;
        if (c.limited)
            limit.emplace(1024);
        status = RunScreenshot(0, nullptr, out, photo);
    }
    const std::string err = ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(status, c.status);
    EXPECT_EQ(NamesIn(dir.path()), before);
    EXPECT_EQ(ReadWholeFile(info), infoBytes);
    if (c.status != 0 && QByteArray(c.output) == "file") {
        EXPECT_EQ(ReadWholeFile(out), QByteArray("old picture"));
    }
    if (c.status == 0) {
        EXPECT_FALSE(QImage(out).isNull());
    }
    if (*c.says) {
        EXPECT_NE(err.find(c.says), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    } else {
        EXPECT_TRUE(err.empty()) << err;
    }
    EXPECT_TRUE(std::all_of(err.begin(), err.end(), [](char ch) { return ch > 0; }))
        << "not English: " << err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScreenshotFiles,
    ::testing::Values(ScreenshotCase{"DamagedInfoFileStays", true, "file", false, 0, "is damaged"},
                      ScreenshotCase{"NamedPipeOutput", false, "fifo", false, 1, "named pipe"},
                      ScreenshotCase{"FileSizeLimit", false, "file", true, 1, "File too large"}),
    [](const ::testing::TestParamInfo<ScreenshotCase>& info) {
        return std::string(info.param.name);
    });

// Hundreds of notes: more labels than the first frame has time to make. The
// screenshot shows them all, as the window does once its frames have made
// every label.
TEST(ScreenshotPicture, ShowsEveryLabelAsTheSettledWindowDoes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString photo = dir.filePath("wall.jpg"), out = dir.filePath("out.png");
    ASSERT_TRUE(Solid(800, 600).save(photo, "JPEG"));
    PhotoInfo records;
    for (int i = 0; i < 400; ++i)
        records.notes.push_back(
            MakeNote({(i % 20) * 40, (i / 20) * 30}, QStringLiteral("note %1 on the wall").arg(i)));
    ASSERT_TRUE(WriteWholeFile(dir.filePath("wall.dat"), records.Serialize()));
    ASSERT_EQ(RunScreenshot(0, nullptr, out, photo), 0);
    const QImage shot = QImage(out).convertToFormat(QImage::Format_RGB32);

    CMeasureDlg window;
    window.InitDialog();
    window.show();
    ASSERT_TRUE(window.OpenPhoto(photo));
    ASSERT_TRUE(window.m_canvas.WaitForPhoto());
    QImage settled, previous;
    for (int frame = 0; frame < 100; ++frame) {
        QTest::qWait(20);
        settled = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        if (settled == previous)
            break;
        previous = settled;
    }
    const QRect canvas(window.m_canvas.mapTo(&window, QPoint(0, 0)), window.m_canvas.size());
    EXPECT_TRUE(shot.copy(canvas) == settled.copy(canvas));
}

} // namespace
