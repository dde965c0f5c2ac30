// Files on disk. The durable writer (WriteFileDurably is the writer fed
// once): the target changes only on Commit and keeps its permissions and
// symbolic link; what it refuses or keeps, how disks that give out fail it,
// that it leaves no temporary file behind and removes what killed writes
// left. The file stamps that tell one file from another and a changed file
// from an unchanged one. Opening for reading: special files refused at once,
// saying what they are; a name that is not UTF-8 told apart from a missing
// file. Settings files too large to read set aside.

#include "common/DiskFaults.h"
#include "common/FileRaces.h"
#include "common/NonRegularFiles.h"
#include "common/TestSupport.h"
#include "platform/DurableFile.h"
#include "platform/FileStamp.h"
#include "platform/ReadOnlyFile.h"
#include "platform/SettingsFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray Native(const QString& path) {
    return QFile::encodeName(path);
}

mode_t ModeOf(const QString& path) {
    struct stat st {};
    return ::lstat(Native(path), &st) == 0 ? st.st_mode : 0;
}

// The target changes only on Commit; a writer dropped or abandoned before it
// leaves the target as it was and no temporary file.
TEST(DurableFileWriter, ReplacesTheFileOnCommitKeepingItsPermissionsAndASymbolicLink) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wall.jpg"));
    const QString link = dir.filePath(QStringLiteral("link.jpg"));
    ASSERT_TRUE(WriteWholeFile(path, "old"));
    ASSERT_EQ(::chmod(Native(path), 0604), 0);
    ASSERT_TRUE(QFile::link(path, link));
    const FileStamp before = FileStamp::Of(path);
    QString error = QStringLiteral("stale");
    for (const bool abandon : {false, true}) {
        DurableFileWriter writer;
        ASSERT_TRUE(writer.Open(link, &error));
        ASSERT_TRUE(writer.Append("new", 3, &error));
        if (abandon) {
            writer.Abandon();
            EXPECT_FALSE(writer.Commit(&error)); // nothing left to commit
            EXPECT_FALSE(error.isEmpty());
        }
    }
    EXPECT_EQ(ReadWholeFile(path), QByteArray("old"));
    EXPECT_EQ(NamesIn(dir.path()), (QStringList{"link.jpg", "wall.jpg"}));
    DurableFileWriter writer;
    ASSERT_TRUE(writer.Open(link, &error)) << error.toStdString();
    const QByteArray expected = QByteArray(1000, 'a') + QByteArray(1001, 'b');
    ASSERT_TRUE(writer.Append(expected.constData(), 1000, &error));
    ASSERT_TRUE(writer.Append(expected.constData() + 1000, 1001, &error));
    EXPECT_EQ(ReadWholeFile(path), QByteArray("old"));
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

enum class Before { Nothing, File, DanglingLink, NamedPipe, MissingFolder };
constexpr ExistingFile kKeep = ExistingFile::Keep;
constexpr ExistingFile kReplace = ExistingFile::Replace;
const char* const kExists = "The file exists already.";

bool Place(Before before, const QString& folder, const QString& name, const QByteArray& theirs) {
    const QString path = folder + QLatin1Char('/') + name;
    switch (before) {
    case Before::File:
        return WriteWholeFile(path, theirs);
    case Before::DanglingLink:
        return QFile::link(folder + QStringLiteral("/nowhere.jpg"), path);
    case Before::NamedPipe:
        return ::mkfifo(Native(path), 0644) == 0;
    default:
        return true;
    }
}

// What is at the path when the writer looks: refused things stay what they
// were and are never opened (a named pipe would block the writer), nor is a
// dangling link to keep followed. The temporary file has a short name of its
// own, so a name as long as the file system allows is written. Nothing of a
// failed write is left behind.
TEST(DurableFilePath, IsWrittenOrKeptAsAsked) {
    const struct {
        Before before;
        ExistingFile existing;
        const char* error; // null: written
        int nameBytes = 8; // of the file's name
    } cases[] = {{Before::MissingFolder, kReplace, "No such file or directory"},
                 {Before::NamedPipe, kReplace, "It is a named pipe, not a regular file."},
                 {Before::Nothing, kReplace, nullptr, 255},
                 {Before::Nothing, kReplace, "File name too long", 256},
                 {Before::Nothing, kKeep, nullptr},
                 {Before::File, kKeep, kExists},
                 {Before::DanglingLink, kKeep, kExists}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.before) << " " << c.nameBytes);
        QTemporaryDir dir;
        const QString name = QString(c.nameBytes - 4, 'r') + QStringLiteral(".jpg");
        const QString path =
            dir.path() + (c.before == Before::MissingFolder ? "/gone/" : "/") + name;
        ASSERT_TRUE(Place(c.before, dir.path(), name, "theirs"));
        const mode_t mode = ModeOf(path);
        const QStringList namesBefore = NamesIn(dir.path());
        QString error;
        EXPECT_EQ(WriteFileDurably(path, "ours", 4, &error, nullptr, c.existing), !c.error)
            << error.toStdString();
        if (!c.error) {
            EXPECT_EQ(ReadWholeFile(path), QByteArray("ours"));
            EXPECT_EQ(NamesIn(dir.path()), QStringList{name});
            continue;
        }
        EXPECT_EQ(error, QString::fromUtf8(c.error));
        EXPECT_EQ(ModeOf(path), mode);
        if (c.before == Before::File) {
            EXPECT_EQ(ReadWholeFile(path), QByteArray("theirs"));
        }
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("nowhere.jpg"))));
        EXPECT_EQ(NamesIn(dir.path()), namesBefore);
    }
}

// A disk that gives out - the process's file size limit reached, or a small
// tmpfs filled to its last byte - fails the write with the system's reason,
// keeps the old file and leaves nothing behind.
TEST(DurableFilePath, ADiskThatGivesOutFailsWithTheReasonAndKeepsTheOldFile) {
    for (const bool full : {false, true}) {
        QTemporaryDir dir;
        std::optional<SmallFileSystem> small;
        std::string why;
        const QString folder = FaultFolder(full, dir.path(), 512 * 1024, &small, &why);
        if (folder.isEmpty())
            GTEST_SKIP() << why;
        const QString path = folder + QStringLiteral("/wall.jpg");
        ASSERT_TRUE(WriteWholeFile(path, "theirs"));
        if (small) {
            ASSERT_TRUE(small->Fill());
        }
        const QStringList namesBefore = NamesIn(folder);
        std::optional<FileSizeLimit> limit;
        if (!full)
            limit.emplace(rlim_t(40 * 1024));
        const QByteArray ours(1 << 20, 'x');
        QString error;
        EXPECT_FALSE(WriteFileDurably(path, ours.constData(), ours.size(), &error));
        limit.reset();
        EXPECT_EQ(error, full ? "No space left on device" : "File too large");
        EXPECT_EQ(ReadWholeFile(path), QByteArray("theirs"));
        EXPECT_EQ(NamesIn(folder), namesBefore);
    }
}

// Another program takes the name while the bytes go out: a file to keep is
// kept, on a file system with RENAME_NOREPLACE and on one without (a bindfs
// mirror, whose rename takes no flags), where a free name is still written.
TEST(DurableFilePath, ANameTakenDuringTheWriteIsKept) {
    for (const bool mirrored : {false, true}) {
        QTemporaryDir dir;
        QString folder = dir.path();
        std::optional<MirrorFileSystem> mirror;
        QString error;
        if (mirrored) {
            folder = dir.filePath(QStringLiteral("mirror"));
            mirror.emplace(dir.filePath(QStringLiteral("disk")), folder);
            if (!mirror->IsMounted())
                GTEST_SKIP() << "cannot mount a bindfs mirror: " << mirror->Error().toStdString();
            ASSERT_TRUE(WriteFileDurably(folder + "/free.jpg", "x", 1, &error, nullptr, kKeep));
            EXPECT_EQ(ReadWholeFile(folder + "/free.jpg"), QByteArray("x"));
        }
        const QByteArray ours(32 << 20, 'x'); // large enough to take a while to go out
        NameTakenDuringWrite race(folder, QStringLiteral("wall.jpg"), "theirs");
        EXPECT_FALSE(WriteFileDurably(folder + "/wall.jpg", ours.constData(), ours.size(), &error,
                                      nullptr, kKeep));
        ASSERT_TRUE(race.TookTheName()) << "the race was lost " << race.Error().toStdString();
        EXPECT_EQ(error, kExists);
        EXPECT_EQ(ReadWholeFile(folder + "/wall.jpg"), QByteArray("theirs"));
        EXPECT_EQ(NamesIn(folder).size(), mirrored ? 2 : 1);
    }
}

// The first write into a folder removes the temporary files killed writes
// left there, and nothing else: never one a writer still holds.
TEST(StaleTemporaries, TheFirstWriteIntoAFolderRemovesOnlyStaleUnheldOnes) {
    QTemporaryDir dir;
    const long long day = 24 * 60 * 60;
    const struct {
        const char* name;
        long long age;
        Before kind;
        bool held, removed;
    } files[] = {
        {".tsm-aB3xY9", 2 * day, Before::File, false, true},          // a killed write's
        {".tsm-fresh1", 60, Before::File, false, false},              // may be another's write
        {".tsm-held22", 2 * day, Before::File, true, false},          // its writer holds it
        {".tsm-link33", 2 * day, Before::DanglingLink, false, false}, // not a regular file
        {"room.dat", 2 * day, Before::File, false, false},            // the user's
    };
    int held = -1;
    for (const auto& f : files) {
        const QString path = dir.filePath(QString::fromLatin1(f.name));
        ASSERT_TRUE(Place(f.kind, dir.path(), QString::fromLatin1(f.name), "partial"));
        if (f.held) {
            held = ::open(Native(path), O_RDONLY);
            ASSERT_EQ(::flock(held, LOCK_EX), 0);
        }
        const timespec when[2] = {{time(nullptr) - f.age, 0}, {time(nullptr) - f.age, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, Native(path), when, AT_SYMLINK_NOFOLLOW), 0);
    }
    QString error;
    ASSERT_TRUE(WriteFileDurably(dir.filePath(QStringLiteral("new.jpg")), "x", 1, &error))
        << error.toStdString();
    const QStringList left = NamesIn(dir.path());
    for (const auto& f : files)
        EXPECT_EQ(left.contains(QString::fromLatin1(f.name)), !f.removed) << f.name;
    ::close(held);
}

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
    for (const char* name : {"sym.dat", "hard.dat", "./a.dat", "b.dat", "none.dat"}) {
        const bool same = name[0] != 'b' && name[0] != 'n';
        EXPECT_EQ(a.SameFileAs(FileStamp::Of(dir.filePath(name))), same) << name;
    }
    EXPECT_FALSE(FileStamp::Of(dir.filePath(QStringLiteral("none.dat"))).Exists());

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

using Problem = ReadOnlyFile::Problem;

TEST(ReadOnlyFileTest, RefusesWhatIsNotARegularFileSayingWhatItIs) {
    QTemporaryDir dir;
    ASSERT_TRUE(WriteWholeFile(dir.filePath("plain"), "0123456789"));
    ASSERT_TRUE(MakeFifo(dir.filePath("pipe")));
    ASSERT_TRUE(QFile::link(dir.filePath("pipe"), dir.filePath("link-to-pipe")));
    const FifoWatchdog watchdog({dir.filePath("pipe")});

    const struct {
        QString path;
        Problem problem;
        const char* error;
    } cases[] = {
        {dir.filePath("pipe"), Problem::NotRegular, "The path names a named pipe, not a photo."},
        {dir.filePath("link-to-pipe"), Problem::NotRegular, "named pipe, not a photo."},
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

// Big5 bytes in a file name come through a QString as replacement
// characters: such a path names nothing, and says so, not that the file is
// missing; a replacement character that stands for itself is no such name.
TEST(ReadOnlyFileTest, TellsANameThatIsNotUtf8FromAMissingFile) {
    QTemporaryDir dir;
    const QByteArray big5 = QFile::encodeName(dir.path()) + "/\xab\xc8\xc6U.jpg"; // 客廳
    ASSERT_EQ(::close(::open(big5.constData(), O_CREAT | O_WRONLY, 0600)), 0);
    ReadOnlyFile file;
    EXPECT_TRUE(NamesUndecodableEntry(QFile::decodeName(big5)));
    EXPECT_FALSE(file.Open(QFile::decodeName(big5), QStringLiteral("photo")));
    EXPECT_EQ(file.LastProblem(), Problem::NameNotUtf8);
    EXPECT_TRUE(file.ErrorString().contains(QLatin1String("not valid UTF-8")));
    EXPECT_FALSE(NamesUndecodableEntry(dir.filePath(QStringLiteral("\uFFFD\uFFFD.jpg"))));
    EXPECT_EQ(::unlink(big5.constData()), 0); // Qt cannot spell the name to remove it
}

TEST(SettingsFiles, OneTooLargeToReadIsSetAsideWithAWarning) {
    QTemporaryDir dir;
    const QStringList paths = SettingsFilePaths(dir.path());
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Tessamar")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("tessamar")));
    ASSERT_TRUE(WriteWholeFile(paths[0], {}) && QFile::resize(paths[0], 47 << 20)); // sparse
    ASSERT_TRUE(WriteWholeFile(paths[1], "[meter]\n"));
    const QStringList warnings = SetAsideOversizedSettings(dir.path());
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains(paths[0])) << warnings[0].toStdString();
    EXPECT_FALSE(QFile::exists(paths[0]));
    EXPECT_EQ(QFileInfo(paths[0] + QStringLiteral(".too-large")).size(), 47 << 20);
    EXPECT_EQ(ReadWholeFile(paths[1]), QByteArray("[meter]\n"));
}

} // namespace
