// Saving the photo-info file when the disk gives out, and under names as
// long as the file system allows: a save either puts every byte on the disk
// or fails with the system's reason and leaves the old file as it was.

#include "common/DiskFaults.h"
#include "common/TestSupport.h"
#include "document/PhotoInfo.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>

namespace {

// `count` notes, each with a text of 200 bytes: about 280 bytes a note.
PhotoInfo NotesWithText(int count) {
    PhotoInfo info;
    for (int i = 0; i < count; ++i) {
        InfoNote& note = info.notes.emplace_back(MakeNewNote({i, i}, DefaultLogFont()));
        std::memset(note.text, 'a' + i % 26, 200);
    }
    return info;
}

enum class Fault { FullFileSystem, FileSizeLimit };

struct FaultCase {
    const char* name;
    Fault fault;
    int notes;          // 3 notes stay far below 16 KiB, 300 far above
    const char* reason; // as the system words it
};
void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class SaveWhenTheDiskFails : public ::testing::TestWithParam<FaultCase> {};

TEST_P(SaveWhenTheDiskFails, FailsWithTheReasonAndKeepsTheOldFile) {
    const FaultCase& c = GetParam();
    QTemporaryDir dir;
    std::optional<SmallFileSystem> disk;
    std::string why;
    const QString folder =
        FaultFolder(c.fault == Fault::FullFileSystem, dir.path(), 256 * 1024, &disk, &why);
    if (folder.isEmpty())
        GTEST_SKIP() << why;
    const QString path = folder + QStringLiteral("/kitchen.dat");
    const QByteArray old = NotesWithText(1).Serialize();
    ASSERT_TRUE(WriteWholeFile(path, old));
    const PhotoInfo info = NotesWithText(c.notes);
    const qsizetype size = info.Serialize().size();
    ASSERT_TRUE(c.notes < 10 ? size < 16 * 1024 : size > 16 * 1024) << size;

    int saved;
    QStringList names;
    if (disk) {
        ASSERT_TRUE(disk->Fill());
        names = NamesIn(folder);
        saved = info.SaveToFile(path);
    } else {
        names = NamesIn(folder);
        FileSizeLimit limit(rlim_t(size / 2));
        ASSERT_TRUE(limit.IsSet());
        saved = info.SaveToFile(path);
    }
    EXPECT_EQ(saved, 0);
    EXPECT_TRUE(info.LastSaveError().contains(QLatin1String(c.reason)))
        << info.LastSaveError().toStdString();
    EXPECT_EQ(ReadWholeFile(path), old);
    EXPECT_EQ(NamesIn(folder), names); // no temporary file left behind
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SaveWhenTheDiskFails,
    ::testing::Values(FaultCase{"FullSmall", Fault::FullFileSystem, 3, "No space left on device"},
                      FaultCase{"FullLarge", Fault::FullFileSystem, 300, "No space left on device"},
                      FaultCase{"LimitSmall", Fault::FileSizeLimit, 3, "File too large"},
                      FaultCase{"LimitLarge", Fault::FileSizeLimit, 300, "File too large"}),
    [](const auto& info) { return std::string(info.param.name); });

// Info file names up to the file system's limit of 255 bytes save again and
// again; one byte more is refused with the reason.
struct NameCase {
    const char* name;
    const char* unit; // UTF-8, repeated to make the name
    int repeat;
    bool fits;
};
void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.name;
}

class LongInfoFileName : public ::testing::TestWithParam<NameCase> {};

TEST_P(LongInfoFileName, SavesAsOftenAsItFitsAndOtherwiseSaysWhy) {
    const NameCase& c = GetParam();
    QTemporaryDir dir;
    QString stem;
    for (int i = 0; i < c.repeat; ++i)
        stem += QString::fromUtf8(c.unit);
    const QString name = stem + QStringLiteral(".dat");
    const QString path = dir.filePath(name);
    for (int round = 1; round <= 3; ++round) {
        const PhotoInfo info = NotesWithText(round);
        SCOPED_TRACE(::testing::Message()
                     << QFile::encodeName(name).size() << " bytes, save " << round);
        if (!c.fits) {
            EXPECT_EQ(info.SaveToFile(path), 0);
            EXPECT_TRUE(info.LastSaveError().contains(QLatin1String("File name too long")))
                << info.LastSaveError().toStdString();
            EXPECT_TRUE(NamesIn(dir.path()).isEmpty());
            continue;
        }
        ASSERT_EQ(info.SaveToFile(path), 1) << info.LastSaveError().toStdString();
        EXPECT_EQ(ReadWholeFile(path), info.Serialize());
        EXPECT_EQ(NamesIn(dir.path()), QStringList{name});
    }
}

// 255 and 253 bytes (83 Chinese characters of 3 bytes and ".dat"), then 256.
INSTANTIATE_TEST_SUITE_P(Names, LongInfoFileName,
                         ::testing::Values(NameCase{"Ascii255", "a", 251, true},
                                           NameCase{"Chinese253", "\xE5\xBB\x9A", 83, true},
                                           NameCase{"Ascii256", "a", 252, false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
