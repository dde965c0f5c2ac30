// The durable writer asked to keep an existing file: whatever is at the name
// when it looks, or appears there while it writes, is left as it is, on a
// file system with RENAME_NOREPLACE and on one without it; nothing of the
// write is left behind.

#include "common/DiskFaults.h"
#include "common/FileRaces.h"
#include "common/TestSupport.h"
#include "platform/DurableFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

namespace {

enum class Before { Nothing, File, DanglingLink };

struct KeepCase {
    const char* name;
    ExistingFile existing;
    Before before;
    bool takenDuringWrite; // another program creates the file while the bytes go out
    bool withoutNoReplace; // on a bindfs mirror, whose rename takes no flags
    bool written;
};
void PrintTo(const KeepCase& c, std::ostream* os) {
    *os << c.name;
}

class DurableFileKeeping : public ::testing::TestWithParam<KeepCase> {};

TEST_P(DurableFileKeeping, NeverReplacesWhatIsThere) {
    const KeepCase& c = GetParam();
    QTemporaryDir dir;
    QString folder = dir.path();
    std::optional<MirrorFileSystem> mirror;
    if (c.withoutNoReplace) {
        folder = dir.filePath(QStringLiteral("mirror"));
        mirror.emplace(dir.filePath(QStringLiteral("disk")), folder);
        if (!mirror->IsMounted()) {
            GTEST_SKIP() << "cannot mount a bindfs mirror: " << mirror->Error().toStdString();
        }
    }
    const QString path = folder + QStringLiteral("/room.jpg");
    const QByteArray theirs("another program's file");
    if (c.before == Before::File) {
        ASSERT_TRUE(WriteWholeFile(path, theirs));
    } else if (c.before == Before::DanglingLink) {
        ASSERT_TRUE(QFile::link(folder + QStringLiteral("/nowhere.jpg"), path));
    }
    const QStringList namesBefore = NamesIn(folder);

    // Large enough that the bytes take a while to go out.
    const QByteArray ours(32 << 20, 'x');
    std::optional<NameTakenDuringWrite> race;
    if (c.takenDuringWrite)
        race.emplace(folder, QStringLiteral("room.jpg"), theirs);
    QString error;
    const bool ok =
        WriteFileDurably(path, ours.constData(), ours.size(), &error, nullptr, c.existing);
    if (race) {
        ASSERT_TRUE(race->TookTheName()) << "the race was lost " << race->Error().toStdString();
    }

    EXPECT_EQ(ok, c.written) << error.toStdString();
    if (c.written) {
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        EXPECT_EQ(ReadWholeFile(path), ours);
        EXPECT_EQ(NamesIn(folder), QStringList{QStringLiteral("room.jpg")});
        return;
    }
    EXPECT_EQ(error, FileExistsText());
    if (c.before == Before::DanglingLink) {
        struct stat st {};
        ASSERT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0);
        EXPECT_TRUE(S_ISLNK(st.st_mode));
        EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/nowhere.jpg")));
    } else {
        EXPECT_EQ(ReadWholeFile(path), theirs);
    }
    // No temporary file stays behind.
    EXPECT_EQ(NamesIn(folder),
              c.takenDuringWrite ? QStringList{QStringLiteral("room.jpg")} : namesBefore);
}

constexpr ExistingFile kKeep = ExistingFile::Keep;
constexpr ExistingFile kReplace = ExistingFile::Replace;

INSTANTIATE_TEST_SUITE_P(
    Cases, DurableFileKeeping,
    ::testing::Values(
        KeepCase{"FreeName", kKeep, Before::Nothing, false, false, true},
        KeepCase{"FileThere", kKeep, Before::File, false, false, false},
        KeepCase{"DanglingLinkThere", kKeep, Before::DanglingLink, false, false, false},
        KeepCase{"TakenDuringTheWrite", kKeep, Before::Nothing, true, false, false},
        // The same race without keeping: the writer's file wins.
        KeepCase{"ReplacedDuringTheWrite", kReplace, Before::Nothing, true, false, true},
        KeepCase{"FreeNameWithoutNoReplace", kKeep, Before::Nothing, false, true, true},
        KeepCase{"FileThereWithoutNoReplace", kKeep, Before::File, false, true, false},
        KeepCase{"TakenDuringTheWriteWithoutNoReplace", kKeep, Before::Nothing, true, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
