// The durable writer fed piece by piece: the target changes only on Commit,
// a writer dropped or failed midway leaves no trace, and full disks fail
// with the system's reason.

#include "common/DiskFaults.h"
#include "common/TestSupport.h"
#include "platform/DurableFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

namespace {

QByteArray Piece(int i, int size) {
    return QByteArray(size, char('a' + i % 26));
}

TEST(DurableFileWriter, TheTargetChangesOnlyWhenCommittedAndKeepsItsPermissions) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wall.jpg"));
    ASSERT_TRUE(WriteWholeFile(path, "old"));
    ASSERT_EQ(::chmod(QFile::encodeName(path), 0604), 0);
    DurableFileWriter writer;
    QString error;
    ASSERT_TRUE(writer.Open(path, &error)) << error.toStdString();
    QByteArray expected;
    for (int i = 0; i < 5; ++i) {
        const QByteArray piece = Piece(i, 1000 + i);
        ASSERT_TRUE(writer.Append(piece.constData(), piece.size(), &error));
        expected += piece;
        EXPECT_EQ(ReadWholeFile(path), QByteArray("old"));
    }
    EXPECT_EQ(NamesIn(dir.path()).size(), 2); // the target and the temporary file
    FileStamp written;
    ASSERT_TRUE(writer.Commit(&error, &written)) << error.toStdString();
    EXPECT_EQ(ReadWholeFile(path), expected);
    EXPECT_EQ(written, FileStamp::Of(path));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    EXPECT_EQ(NamesIn(dir.path()), QStringList{"wall.jpg"});
}

TEST(DurableFileWriter, DroppedOrAbandonedLeavesTheTargetAndNoTemporaryFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wall.jpg"));
    ASSERT_TRUE(WriteWholeFile(path, "old"));
    for (const bool abandon : {false, true}) {
        DurableFileWriter writer;
        QString error;
        ASSERT_TRUE(writer.Open(path, &error));
        ASSERT_TRUE(writer.Append("new", 3, &error));
        if (abandon) {
            writer.Abandon();
            EXPECT_FALSE(writer.IsOpen());
            EXPECT_FALSE(writer.Commit(&error)); // nothing left to commit
            EXPECT_FALSE(error.isEmpty());
        }
    }
    EXPECT_EQ(ReadWholeFile(path), QByteArray("old"));
    EXPECT_EQ(NamesIn(dir.path()), QStringList{"wall.jpg"});
}

TEST(DurableFileWriter, RefusesWhatIsNoRegularFileWithoutOpeningIt) {
    QTemporaryDir dir;
    DurableFileWriter writer;
    QString error;
    EXPECT_FALSE(writer.Open(dir.path(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(writer.Open(dir.filePath(QStringLiteral("no/such/folder/x.jpg")), &error));
    EXPECT_TRUE(error.contains(QLatin1String("No such file or directory"))) << error.toStdString();
    EXPECT_FALSE(writer.IsOpen());
}

enum class Fault { FullFileSystem, FileSizeLimit };
struct FaultCase {
    const char* name;
    Fault fault;
    int pieceSize; // written up to 64 times
    const char* reason;
};
void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class DurableFileWriterFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(DurableFileWriterFaults, FailWithTheReasonKeepTheTargetAndLeaveNothing) {
    const FaultCase& c = GetParam();
    QTemporaryDir dir;
    std::optional<SmallFileSystem> disk;
    std::string why;
    const QString folder =
        FaultFolder(c.fault == Fault::FullFileSystem, dir.path(), 512 * 1024, &disk, &why);
    if (folder.isEmpty())
        GTEST_SKIP() << why;
    const QString path = folder + QStringLiteral("/wall.jpg");
    ASSERT_TRUE(WriteWholeFile(path, "old"));
    if (disk) {
        ASSERT_TRUE(disk->Fill());
    }
    const QStringList names = NamesIn(folder);
    std::optional<FileSizeLimit> limit;
    if (c.fault == Fault::FileSizeLimit)
        limit.emplace(rlim_t(40 * 1024));

    DurableFileWriter writer;
    QString error;
    bool ok = writer.Open(path, &error);
    int failedAt = -1;
    for (int i = 0; ok && i < 64; ++i) {
        const QByteArray piece = Piece(i, c.pieceSize);
        ok = writer.Append(piece.constData(), piece.size(), &error);
        if (!ok)
            failedAt = i;
    }
    if (ok)
        ok = writer.Commit(&error);
    limit.reset();
    EXPECT_FALSE(ok);
    EXPECT_GE(failedAt, 0); // the piece that did not fit, not the commit
    EXPECT_TRUE(error.contains(QLatin1String(c.reason))) << error.toStdString();
    EXPECT_FALSE(writer.IsOpen());
    EXPECT_EQ(ReadWholeFile(path), QByteArray("old"));
    EXPECT_EQ(NamesIn(folder), names); // no temporary file left behind
}

INSTANTIATE_TEST_SUITE_P(Faults, DurableFileWriterFaults,
                         ::testing::Values(FaultCase{"FullDisk", Fault::FullFileSystem, 16 * 1024,
                                                     "No space left on device"},
                                           FaultCase{"FullDiskSmallPieces", Fault::FullFileSystem,
                                                     1, "No space left on device"},
                                           FaultCase{"FileSizeLimit", Fault::FileSizeLimit,
                                                     16 * 1024, "File too large"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
