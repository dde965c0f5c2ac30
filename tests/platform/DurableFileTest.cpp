// The durable writer on its own: what it keeps of the file it replaces, what
// it refuses to replace, and how it names the reason; and the file stamps
// that tell one file from another and a changed file from an unchanged one.

#include "platform/DurableFile.h"
#include "common/DiskFaults.h"
#include "common/TestSupport.h"
#include "platform/FileStamp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QByteArray Native(const QString& path) {
    return QFile::encodeName(path);
}

mode_t ModeOf(const QString& path) {
    struct stat st {};
    return ::lstat(Native(path), &st) == 0 ? st.st_mode : 0;
}

TEST(DurableFile, ReplacesTheFileKeepingItsPermissionsAndASymbolicLink) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kitchen.dat"));
    const QString link = dir.filePath(QStringLiteral("link.dat"));
    ASSERT_TRUE(WriteWholeFile(path, "old"));
    ASSERT_EQ(::chmod(Native(path), 0640), 0);
    ASSERT_TRUE(QFile::link(path, link));
    const FileStamp before = FileStamp::Of(path);

    QString error = QStringLiteral("stale");
    FileStamp written;
    ASSERT_TRUE(WriteFileDurably(link, "new bytes", 9, &error, &written));
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(ReadWholeFile(path), QByteArray("new bytes"));
    EXPECT_TRUE(S_ISLNK(ModeOf(link)));
    EXPECT_EQ(ModeOf(path) & 07777, 0640u);
    // A new file (a new inode) that the stamp returned describes exactly.
    EXPECT_FALSE(written.SameFileAs(before));
    EXPECT_EQ(written, FileStamp::Of(path));
    EXPECT_EQ(written.size, 9);
    EXPECT_EQ(NamesIn(dir.path()), (QStringList{"kitchen.dat", "link.dat"}));
}

enum class Target { MissingFolder, NamedPipe, Folder };
struct RefusalCase {
    const char* name;
    Target target;
    const char* error;
};
void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

class DurableFileRefuses : public ::testing::TestWithParam<RefusalCase> {};

// Nothing is written and what was there stays what it was; a named pipe is
// never opened (the writer would block until a reader came).
TEST_P(DurableFileRefuses, WithTheReason) {
    const RefusalCase& c = GetParam();
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("kitchen.dat"));
    if (c.target == Target::MissingFolder)
        path = dir.filePath(QStringLiteral("gone/kitchen.dat"));
    else if (c.target == Target::NamedPipe)
        ASSERT_EQ(::mkfifo(Native(path), 0644), 0);
    else
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("kitchen.dat")));
    const mode_t mode = ModeOf(path);
    const QStringList names = NamesIn(dir.path());

    QString error;
    EXPECT_FALSE(WriteFileDurably(path, "bytes", 5, &error));
    EXPECT_EQ(error, QString::fromUtf8(c.error));
    EXPECT_EQ(ModeOf(path), mode);
    EXPECT_EQ(NamesIn(dir.path()), names);
}

INSTANTIATE_TEST_SUITE_P(Targets, DurableFileRefuses,
                         ::testing::Values(RefusalCase{"MissingFolder", Target::MissingFolder,
                                                       "No such file or directory"},
                                           RefusalCase{"NamedPipe", Target::NamedPipe,
                                                       "It is a named pipe, not a regular file."},
                                           RefusalCase{"Folder", Target::Folder,
                                                       "It is a folder, not a regular file."}),
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
