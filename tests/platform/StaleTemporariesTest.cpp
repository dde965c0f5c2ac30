// What killed writes leave: the first write into a folder removes its stale
// temporary files and nothing else, never one a writer still holds; and
// saving the settings never starts from a file grown too large to read.

#include "common/DiskFaults.h"
#include "common/TestSupport.h"
#include "platform/DurableFile.h"
#include "platform/SettingsFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool SetAge(const QString& path, long long seconds) {
    const timespec when[2] = {{time(nullptr) - seconds, 0}, {time(nullptr) - seconds, 0}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path), when, AT_SYMLINK_NOFOLLOW) == 0;
}

enum class Kind { File, Link, Folder, Held };

TEST(StaleTemporaries, TheFirstWriteIntoAFolderRemovesOnlyStaleUnheldOnes) {
    QTemporaryDir dir;
    const long long day = 24 * 60 * 60;
    const struct {
        const char* name;
        long long age;
        Kind kind;
        bool removed;
    } files[] = {
        {".tsm-aB3xY9", 2 * day, Kind::File, true},    // a killed write's
        {".tsm-fresh1", 60, Kind::File, false},        // may be another program's write
        {".tsm-held22", 2 * day, Kind::Held, false},   // its writer still holds it
        {".tsm-link33", 2 * day, Kind::Link, false},   // not a regular file
        {".tsm-dir444", 2 * day, Kind::Folder, false}, // nor this
        {".tsm-toolong5", 2 * day, Kind::File, false}, // not our name
        {"room.dat", 2 * day, Kind::File, false},      // the user's
    };
    std::vector<int> held;
    for (const auto& f : files) {
        const QString path = dir.filePath(QString::fromLatin1(f.name));
        switch (f.kind) {
        case Kind::File:
        case Kind::Held:
            ASSERT_TRUE(WriteWholeFile(path, "partial"));
            break;
        case Kind::Link:
            ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("room.dat")), path));
            break;
        case Kind::Folder:
            ASSERT_TRUE(QDir(dir.path()).mkdir(QString::fromLatin1(f.name)));
            break;
        }
        if (f.kind == Kind::Held) {
            held.push_back(::open(QFile::encodeName(path), O_RDONLY));
            ASSERT_EQ(::flock(held.back(), LOCK_EX), 0);
        }
        ASSERT_TRUE(SetAge(path, f.age));
    }
    QString error;
    ASSERT_TRUE(WriteFileDurably(dir.filePath(QStringLiteral("new.jpg")), "x", 1, &error))
        << error.toStdString();
    const QStringList left = NamesIn(dir.path());
    for (const auto& f : files)
        EXPECT_EQ(left.contains(QString::fromLatin1(f.name)), !f.removed) << f.name;
    for (int fd : held)
        ::close(fd);
}

TEST(SettingsFiles, OneTooLargeToReadIsSetAsideWithAWarning) {
    QTemporaryDir dir;
    const QStringList paths = SettingsFilePaths(dir.path());
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Tessamar")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("tessamar")));
    QFile large(paths[0]);
    ASSERT_TRUE(large.open(QIODevice::WriteOnly) && large.resize(47 * 1024 * 1024)); // sparse
    large.close();
    ASSERT_TRUE(WriteWholeFile(paths[1], "[meter]\nprotocol=bosch\n"));

    const QStringList warnings = SetAsideOversizedSettings(dir.path());
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains(paths[0])) << warnings[0].toStdString();
    EXPECT_FALSE(QFile::exists(paths[0]));
    EXPECT_EQ(QFileInfo(paths[0] + QStringLiteral(".too-large")).size(), 47 * 1024 * 1024);
    EXPECT_EQ(ReadWholeFile(paths[1]), QByteArray("[meter]\nprotocol=bosch\n"));
}

} // namespace
