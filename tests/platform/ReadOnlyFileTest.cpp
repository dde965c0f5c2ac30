// Opening files for reading: special files are refused at once, saying what
// they are; a name that is not UTF-8 is told apart from a missing file.

#include "platform/ReadOnlyFile.h"
#include "common/NonRegularFiles.h"
#include "common/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using Problem = ReadOnlyFile::Problem;

TEST(ReadOnlyFileTest, RefusesWhatIsNotARegularFileSayingWhatItIs) {
    QTemporaryDir dir;
    ASSERT_TRUE(WriteWholeFile(dir.filePath("plain"), "0123456789"));
    ASSERT_TRUE(MakeFifo(dir.filePath("pipe")));
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    ASSERT_TRUE(QFile::link(dir.filePath("pipe"), dir.filePath("link-to-pipe")));
    const FifoWatchdog watchdog({dir.filePath("pipe")});

    const struct {
        QString path;
        Problem problem;
        const char* error;
    } cases[] = {
        {dir.filePath("pipe"), Problem::NotRegular, "The path names a named pipe, not a photo."},
        {dir.filePath("link-to-pipe"), Problem::NotRegular, "named pipe, not a photo."},
        {dir.filePath("folder"), Problem::NotRegular, "The path names a folder, not a photo."},
        {QStringLiteral("/dev/null"), Problem::NotRegular, "a character device, not a photo."},
        {dir.filePath("none"), Problem::Missing, "The file does not exist."},
        {dir.filePath("plain/below"), Problem::Missing, "The file does not exist."},
    };
    for (const auto& c : cases) {
        ReadOnlyFile file;
        EXPECT_FALSE(file.Open(c.path, QStringLiteral("photo"))) << c.path.toStdString();
        EXPECT_EQ(file.LastProblem(), c.problem) << c.path.toStdString();
        EXPECT_TRUE(file.ErrorString().contains(QLatin1String(c.error)))
            << file.ErrorString().toStdString();
    }
    EXPECT_FALSE(watchdog.Fired());

    ReadOnlyFile plain;
    ASSERT_TRUE(plain.Open(dir.filePath("plain"), QStringLiteral("photo")));
    EXPECT_EQ(plain.Size(), 10);
    char bytes[16] = {};
    EXPECT_EQ(plain.ReadAt(3, bytes, sizeof bytes), 7);
    EXPECT_EQ(QByteArray(bytes), QByteArray("3456789"));
}

// Big5 bytes in a file or folder name come through a QString as replacement
// characters: such a path names nothing, and says so.
TEST(ReadOnlyFileTest, TellsANameThatIsNotUtf8FromAMissingFile) {
    QTemporaryDir dir;
    const QByteArray root = QFile::encodeName(dir.path()) + '/';
    const QByteArray big5 = "\xab\xc8\xc6U"; // 客廳
    ASSERT_EQ(mkdir((root + big5).constData(), 0700), 0);
    ASSERT_TRUE(WriteWholeFile(QFile::decodeName(root + "plain.jpg"), "x"));
    ASSERT_EQ(link((root + "plain.jpg").constData(), (root + big5 + ".jpg").constData()), 0);
    ASSERT_EQ(link((root + "plain.jpg").constData(), (root + big5 + "/in.jpg").constData()), 0);
    for (const QByteArray& path : {root + big5 + ".jpg", root + big5 + "/in.jpg"}) {
        const QString name = QFile::decodeName(path);
        EXPECT_TRUE(NamesUndecodableEntry(name)) << path.toStdString();
        ReadOnlyFile file;
        EXPECT_FALSE(file.Open(name, QStringLiteral("photo")));
        EXPECT_EQ(file.LastProblem(), Problem::NameNotUtf8) << path.toStdString();
        EXPECT_TRUE(file.ErrorString().contains(QLatin1String("not valid UTF-8")));
    }
    // A replacement character that stands for itself names a missing file.
    const QString missing = dir.filePath(QStringLiteral("\uFFFD\uFFFD.jpg"));
    EXPECT_FALSE(NamesUndecodableEntry(dir.filePath(QStringLiteral("\uFFFD.jpg"))));
    ReadOnlyFile file;
    EXPECT_FALSE(file.Open(missing, QStringLiteral("photo")));
    EXPECT_EQ(file.LastProblem(), Problem::Missing);
    // Names Qt cannot spell are removed by their bytes.
    EXPECT_EQ(unlink((root + big5 + ".jpg").constData()), 0);
    EXPECT_EQ(unlink((root + big5 + "/in.jpg").constData()), 0);
    EXPECT_EQ(rmdir((root + big5).constData()), 0);
}

} // namespace
