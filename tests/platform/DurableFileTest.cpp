// The durable writer (WriteFileDurably is the writer fed once): the target
// changes only on Commit and keeps its permissions and symbolic link; what it
// refuses, how disks that give out fail it, and that it leaves no temporary
// file behind; the file stamps that tell one file from another and a changed
// file from an unchanged one.

#include "platform/DurableFile.h"
#include "common/DiskFaults.h"
#include "common/FileRaces.h"
#include "common/TestSupport.h"
#include "platform/FileStamp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

namespace {

QByteArray Native(const QString& path) {
    return QFile::encodeName(path);
}

mode_t ModeOf(const QString& path) {
    struct stat st {};
    return ::lstat(Native(path), &st) == 0 ? st.st_mode : 0;
}

QByteArray Piece(int i, int size) {
    return QByteArray(size, char('a' + i % 26));
}

TEST(DurableFileWriter, ReplacesTheFileOnCommitKeepingItsPermissionsAndASymbolicLink) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wall.jpg"));
    const QString link = dir.filePath(QStringLiteral("link.jpg"));
    ASSERT_TRUE(WriteWholeFile(path, "old"));
    ASSERT_EQ(::chmod(Native(path), 0604), 0);
    ASSERT_TRUE(QFile::link(path, link));
    const FileStamp before = FileStamp::Of(path);
    DurableFileWriter writer;
    QString error = QStringLiteral("stale");
    ASSERT_TRUE(writer.Open(link, &error)) << error.toStdString();
    QByteArray expected;
    for (int i = 0; i < 5; ++i) {
        const QByteArray piece = Piece(i, 1000 + i);
        ASSERT_TRUE(writer.Append(piece.constData(), piece.size(), &error));
        expected += piece;
        EXPECT_EQ(ReadWholeFile(path), QByteArray("old"));
    }
    EXPECT_EQ(NamesIn(dir.path()).size(), 3); // the temporary file beside them
    FileStamp written;
    ASSERT_TRUE(writer.Commit(&error, &written)) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(ReadWholeFile(path), expected);
    EXPECT_TRUE(S_ISLNK(ModeOf(link)));
    EXPECT_EQ(ModeOf(path) & 07777, 0604u);
    // A new file (a new inode) that the stamp returned describes exactly.
    EXPECT_FALSE(written.SameFileAs(before));
    EXPECT_EQ(written, FileStamp::Of(path));
    EXPECT_EQ(NamesIn(dir.path()), (QStringList{"link.jpg", "wall.jpg"}));
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

enum class Before { Nothing, File, DanglingLink, NamedPipe, Folder, MissingFolder };
constexpr ExistingFile kKeep = ExistingFile::Keep;
constexpr ExistingFile kReplace = ExistingFile::Replace;

struct PathCase {
    const char* name;
    Before before;
    ExistingFile existing;
    bool takenDuringWrite; // another program creates the file while the bytes go out
    bool withoutNoReplace; // on a bindfs mirror, whose rename takes no flags
    const char* error;     // null: written
    int nameBytes = 8;     // of the file's name
};
void PrintTo(const PathCase& c, std::ostream* os) {
    *os << c.name;
}

bool Place(Before before, const QString& folder, const QString& name, const QByteArray& theirs) {
    const QString path = folder + QLatin1Char('/') + name;
    switch (before) {
    case Before::File:
        return WriteWholeFile(path, theirs);
    case Before::DanglingLink:
        return QFile::link(folder + QStringLiteral("/nowhere.jpg"), path);
    case Before::NamedPipe:
        return ::mkfifo(Native(path), 0644) == 0;
    case Before::Folder:
        return QDir(folder).mkdir(name);
    default:
        return true;
    }
}

class DurableFilePath : public ::testing::TestWithParam<PathCase> {};

// What is at the path when the writer looks, or appears there while it
// writes: refused things stay what they were and are never opened (a named
// pipe would block the writer); a file to keep is kept on a file system with
// RENAME_NOREPLACE and on one without. The temporary file has a short name of
// its own, so a name as long as the file system allows is written. Nothing of
// a failed write is left behind.
TEST_P(DurableFilePath, IsWrittenOrKeptAsAsked) {
    const PathCase& c = GetParam();
    QTemporaryDir dir;
    QString folder = dir.path();
    std::optional<MirrorFileSystem> mirror;
    if (c.withoutNoReplace) {
        folder = dir.filePath(QStringLiteral("mirror"));
        mirror.emplace(dir.filePath(QStringLiteral("disk")), folder);
        if (!mirror->IsMounted())
            GTEST_SKIP() << "cannot mount a bindfs mirror: " << mirror->Error().toStdString();
    }
    const QString name = QString(c.nameBytes - 4, 'r') + QStringLiteral(".jpg");
    const QString path = folder + (c.before == Before::MissingFolder ? "/gone/" : "/") + name;
    const QByteArray theirs("another program's file");
    ASSERT_TRUE(Place(c.before, folder, name, theirs));
    const mode_t mode = ModeOf(path);
    const QStringList namesBefore = NamesIn(folder);

    // Large enough that the bytes take a while to go out.
    const QByteArray ours(c.takenDuringWrite ? 32 << 20 : 5, 'x');
    std::optional<NameTakenDuringWrite> race;
    if (c.takenDuringWrite)
        race.emplace(folder, name, theirs);
    QString error;
    const bool ok =
        WriteFileDurably(path, ours.constData(), ours.size(), &error, nullptr, c.existing);
    if (race) {
        ASSERT_TRUE(race->TookTheName()) << "the race was lost " << race->Error().toStdString();
    }
    EXPECT_EQ(ok, !c.error) << error.toStdString();
    if (!c.error) {
        EXPECT_EQ(ReadWholeFile(path), ours);
        EXPECT_EQ(NamesIn(folder), QStringList{name});
        return;
    }
    EXPECT_EQ(error, QString::fromUtf8(c.error));
    if (c.before == Before::File || c.takenDuringWrite) {
        EXPECT_EQ(ReadWholeFile(path), theirs);
    } else {
        EXPECT_EQ(ModeOf(path), mode);
    }
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/nowhere.jpg")));
    EXPECT_EQ(NamesIn(folder), c.takenDuringWrite ? QStringList{name} : namesBefore);
}

const char* const kExists = "The file exists already.";

INSTANTIATE_TEST_SUITE_P(
    Cases, DurableFilePath,
    ::testing::Values(
        PathCase{"MissingFolder", Before::MissingFolder, kReplace, false, false,
                 "No such file or directory"},
        PathCase{"NamedPipe", Before::NamedPipe, kReplace, false, false,
                 "It is a named pipe, not a regular file."},
        PathCase{"Folder", Before::Folder, kReplace, false, false,
                 "It is a folder, not a regular file."},
        PathCase{"Name255", Before::Nothing, kReplace, false, false, nullptr, 255},
        PathCase{"Name256", Before::Nothing, kReplace, false, false, "File name too long", 256},
        PathCase{"KeepFreeName", Before::Nothing, kKeep, false, false, nullptr},
        PathCase{"KeepFileThere", Before::File, kKeep, false, false, kExists},
        PathCase{"KeepDanglingLinkThere", Before::DanglingLink, kKeep, false, false, kExists},
        PathCase{"KeepTakenDuringTheWrite", Before::Nothing, kKeep, true, false, kExists},
        // The same race without keeping: the writer's file wins.
        PathCase{"ReplacedDuringTheWrite", Before::Nothing, kReplace, true, false, nullptr},
        PathCase{"KeepFreeNameWithoutNoReplace", Before::Nothing, kKeep, false, true, nullptr},
        PathCase{"KeepFileThereWithoutNoReplace", Before::File, kKeep, false, true, kExists},
        PathCase{"KeepTakenDuringTheWriteWithoutNoReplace", Before::Nothing, kKeep, true, true,
                 kExists}),
    [](const auto& info) { return std::string(info.param.name); });

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

// One file however it is named; a change of one nanosecond or one byte, or
// another file under the same name, is a change.
TEST(FileStamp, TellsFilesAndChangesApart) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.dat"));
    ASSERT_TRUE(WriteWholeFile(path, "12345"));
    ASSERT_TRUE(QFile::link(path, dir.filePath(QStringLiteral("sym.dat"))));
    ASSERT_EQ(::link(Native(path), Native(dir.filePath(QStringLiteral("hard.dat")))), 0);
    ASSERT_TRUE(WriteWholeFile(dir.filePath(QStringLiteral("b.dat")), "12345"));
    const FileStamp a = FileStamp::Of(path);
    ASSERT_TRUE(a.IsRegular());
    for (const char* name : {"sym.dat", "hard.dat", "./a.dat", "../", "b.dat", "none.dat"}) {
        QString other = dir.filePath(QString::fromUtf8(name));
        if (std::strcmp(name, "../") == 0)
            other += QFileInfo(dir.path()).fileName() + QStringLiteral("/a.dat");
        const bool same = name[0] != 'b' && name[0] != 'n';
        EXPECT_EQ(a.SameFileAs(FileStamp::Of(other)), same) << name;
    }
    EXPECT_FALSE(FileStamp::Of(dir.filePath(QStringLiteral("none.dat"))).Exists());
    EXPECT_EQ(FileStamp::Of(dir.path()).NotRegularText(),
              QStringLiteral("It is a folder, not a regular file."));

    timespec times[2] = {{0, UTIME_OMIT}, {a.modifiedSeconds, a.modifiedNanoseconds}};
    times[1].tv_nsec = (times[1].tv_nsec + 1) % 1000000000;
    ASSERT_EQ(::utimensat(AT_FDCWD, Native(path), times, 0), 0);
    EXPECT_NE(FileStamp::Of(path), a);
    times[1].tv_nsec = a.modifiedNanoseconds;
    ASSERT_EQ(::utimensat(AT_FDCWD, Native(path), times, 0), 0);
    EXPECT_EQ(FileStamp::Of(path), a);
    ASSERT_TRUE(QFile::resize(path, 6));
    ASSERT_EQ(::utimensat(AT_FDCWD, Native(path), times, 0), 0);
    EXPECT_NE(FileStamp::Of(path), a);
}

} // namespace
