// tessamar --export, run in-process.
#include "app/CommandLine.h"
#include "canvas/AnnotatedExport.h"
#include "canvas/CanvasTestPhotos.h"
#include "common/TestSupport.h"
#include "document/PhotoInfo.h"
#include "lumoimage/CDibDC.h"
#include "platform/LogFont.h"

#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

class ExportCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_photo = WriteTestJpeg(m_dir, QStringLiteral("room.jpg"), 320, 240, QColor(200, 200, 200));
        m_out = m_dir.filePath(QStringLiteral("out.jpg"));
    }
    int Run(const QString& photo, const QString& out) {
        char name[] = "tessamar";
        char* argv[] = {name, nullptr};
        return RunExport(1, argv, photo, out);
    }
    QTemporaryDir m_dir;
    QString m_photo;
    QString m_out;
};

TEST_F(ExportCommand, WithoutAnInfoFileWritesThePlainPhoto) {
    EXPECT_EQ(Run(m_photo, m_out), 0);
    EXPECT_EQ(QImageReader(m_out).size(), QSize(320, 240));
}

TEST_F(ExportCommand, DrawsTheRecordsOfTheInfoFile) {
    PhotoInfo info;
    Dimension d;
    d.colour = RGB(255, 0, 0);
    d.start = POINT{20, 200};
    d.end = POINT{300, 200};
    d.font = DefaultLogFont();
    info.dimensions.push_back(d);
    ASSERT_EQ(info.SaveToFile(InfoFilePathFor(m_photo)), 1);
    ASSERT_EQ(Run(m_photo, m_out), 0);
    const QImage picture = QImageReader(m_out).read();
    ASSERT_EQ(picture.size(), QSize(320, 240));
    // The line is red on the grey photo (JPEG blurs it a little).
    const QRgb onLine = picture.pixel(160, 200);
    EXPECT_GT(qRed(onLine), 150);
    EXPECT_LT(qGreen(onLine), 120);
}

// The command makes the labels while the photo decodes on another thread; its
// file must be the very file the canvas's export writes for the same records.
TEST_F(ExportCommand, WritesWhatTheInProcessExportWrites) {
    PhotoInfo info;
    for (int i = 0; i < 40; ++i) {
        Dimension d;
        d.colour = RGB(255, i * 6, 0);
        d.start = POINT{10 + i * 7, 20 + (i * 37) % 200};
        d.end = POINT{300 - i * 3, 230 - (i * 53) % 200};
        std::snprintf(d.value, sizeof d.value, "%d.5", 100 + i);
        d.font = DefaultLogFont();
        NormalizeDimensionEnds(d);
        info.dimensions.push_back(d);
    }
    for (int i = 0; i < 4; ++i) {
        InfoNote n = MakeNewNote(POINT{20 + 70 * i, 30 + 40 * i}, DefaultLogFont());
        std::snprintf(n.text, sizeof n.text, "Note %d: window sill", i);
        info.notes.push_back(n);
    }
    ASSERT_EQ(info.SaveToFile(InfoFilePathFor(m_photo)), 1);
    ASSERT_EQ(Run(m_photo, m_out), 0);

    CDibDC photo;
    ASSERT_TRUE(photo.Load(m_photo, 32));
    const QString direct = m_dir.filePath(QStringLiteral("direct.jpg"));
    QString error;
    ASSERT_TRUE(ExportAnnotatedPicture(photo.Image(), info, direct, &error)) << error.toStdString();
    EXPECT_EQ(ReadWholeFile(m_out), ReadWholeFile(direct));
}

TEST_F(ExportCommand, FailsOnADamagedInfoFileWithoutWriting) {
    ASSERT_TRUE(WriteWholeFile(InfoFilePathFor(m_photo), QByteArray("KZR\0\x08\x00\x01", 7)));
    EXPECT_EQ(Run(m_photo, m_out), 1);
    EXPECT_FALSE(QFileInfo::exists(m_out));
}

TEST_F(ExportCommand, FailsOnAnUnreadablePhoto) {
    const QString broken = m_dir.filePath(QStringLiteral("broken.jpg"));
    ASSERT_TRUE(WriteWholeFile(broken, QByteArray("not a picture")));
    EXPECT_EQ(Run(broken, m_out), 1);
    EXPECT_EQ(Run(m_dir.filePath(QStringLiteral("missing.jpg")), m_out), 1);
    EXPECT_FALSE(QFileInfo::exists(m_out));
}

TEST_F(ExportCommand, FailsWhenTheOutputCannotBeWritten) {
    EXPECT_EQ(Run(m_photo, m_dir.filePath(QStringLiteral("no/such/dir/out.jpg"))), 1);
}

} // namespace
