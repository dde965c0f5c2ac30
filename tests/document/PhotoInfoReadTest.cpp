#include "common/TestSupport.h"
#include "document/InfoFileBuilder.h"
#include "document/PhotoInfo.h"
#include "platform/Cp950.h"

#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <limits>

namespace {

InfoReadStatus ReadInto(PhotoInfo& info, const QByteArray& bytes) {
    return info.ReadBytes(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QByteArray Cp950(const char* utf8) {
    return cp950::FromQString(QString::fromUtf8(utf8));
}

// One file of each layout with one dimension and one note.
struct LayoutCase {
    uint32_t version;
    bool dimensionFontStored;
    bool noteFontStored;
};

class LayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LayoutTest, ReadsTheRecordsAndTheFontsTheLayoutStores) {
    const LayoutCase& c = GetParam();
    const QByteArray file =
        InfoFileBuilder(c.version)
            .I32(1)
            .Dimension(0x00563412, {10, 20}, {300, 25}, "3.25", -125, UnusualFont())
            .I32(1)
            .Note(Cp950("廚房"), {120, 80}, Cp950("窗戶東面"), UnusualFont())
            .Bytes();
    PhotoInfo info;
    ASSERT_EQ(ReadInto(info, file), InfoReadStatus::Read);
    ASSERT_EQ(info.dimensions.size(), 1u);
    ASSERT_EQ(info.notes.size(), 1u);

    const Dimension& dim = info.dimensions[0];
    EXPECT_EQ(dim.colour, 0x00563412u);
    EXPECT_EQ(dim.start, (POINT{10, 20}));
    EXPECT_EQ(dim.end, (POINT{300, 25}));
    EXPECT_EQ(QByteArray(dim.value), QByteArray(c.version < 0x00010006 ? "-125" : "3.25"));
    EXPECT_EQ(dim.font, c.dimensionFontStored ? UnusualFont() : DefaultLogFont());

    const InfoNote& note = info.notes[0];
    EXPECT_EQ(cp950::FieldToQString(note.title), QString::fromUtf8("廚房"));
    EXPECT_EQ(note.anchor, (POINT{120, 80}));
    EXPECT_EQ(cp950::FieldToQString(note.text), QString::fromUtf8("窗戶東面"));
    EXPECT_EQ(note.font, c.noteFontStored ? UnusualFont() : DefaultLogFont());
}

INSTANTIATE_TEST_SUITE_P(
    Versions, LayoutTest,
    ::testing::Values(LayoutCase{0x00010000, false, false}, LayoutCase{0x00010005, false, false},
                      LayoutCase{0x00010006, false, false}, LayoutCase{0x00010007, false, true},
                      LayoutCase{0x00010008, true, true},
                      // newer versions are read like the newest
                      LayoutCase{0x00010009, true, true}, LayoutCase{0xFFFFFFFF, true, true}));

TEST(PhotoInfoReadTest, OldNumericValuesOfElevenCharactersStayTerminated) {
    const QByteArray file = InfoFileBuilder(0x00010005)
                                .I32(1)
                                .Dimension(0, {}, {1, 0}, {}, std::numeric_limits<int32_t>::min())
                                .I32(0)
                                .Bytes();
    PhotoInfo info;
    ASSERT_EQ(ReadInto(info, file), InfoReadStatus::Read);
    EXPECT_EQ(QByteArray(info.dimensions[0].value, 12), QByteArray("-2147483648\0", 12));
}

TEST(PhotoInfoReadTest, ATenByteValueWithoutTerminatorIsTerminatedAfterItsTenBytes) {
    const QByteArray file =
        InfoFileBuilder(0x00010008).I32(1).Dimension(0, {}, {1, 0}, "1234567890").I32(0).Bytes();
    PhotoInfo info;
    ASSERT_EQ(ReadInto(info, file), InfoReadStatus::Read);
    EXPECT_EQ(QByteArray(info.dimensions[0].value, 12), QByteArray("1234567890\0\0", 12));
}

TEST(PhotoInfoReadTest, ADimensionStoredRightToLeftIsLoadedWithItsEndsExchanged) {
    const QByteArray file =
        InfoFileBuilder(0x00010008).I32(1).Dimension(0, {500, 40}, {100, 40}, "2").I32(0).Bytes();
    PhotoInfo info;
    ASSERT_EQ(ReadInto(info, file), InfoReadStatus::Read);
    EXPECT_EQ(info.dimensions[0].start, (POINT{100, 40}));
    EXPECT_EQ(info.dimensions[0].end, (POINT{500, 40}));
}

TEST(PhotoInfoReadTest, ANegativeDimensionCountReadsNoneAndGoesOnWithTheNotes) {
    const QByteArray file =
        InfoFileBuilder(0x00010008).I32(-3).I32(1).Note("ab", {1, 2}, "cd").Bytes();
    PhotoInfo info;
    ASSERT_EQ(ReadInto(info, file), InfoReadStatus::Read);
    EXPECT_TRUE(info.dimensions.empty());
    ASSERT_EQ(info.notes.size(), 1u);
    EXPECT_EQ(QByteArray(info.notes[0].title), QByteArray("ab"));
}

TEST(PhotoInfoReadTest, ANegativeNoteCountReadsNoNotes) {
    PhotoInfo info;
    EXPECT_EQ(ReadInto(info, InfoFileBuilder(0x00010008).I32(0).I32(-1).Bytes()),
              InfoReadStatus::Read);
    EXPECT_TRUE(info.notes.empty());
}

TEST(PhotoInfoReadTest, BytesAfterTheLastNoteAreIgnored) {
    const QByteArray file = InfoFileBuilder(0x00010008).I32(0).I32(1).Note("a", {}, "b").Bytes();
    PhotoInfo info;
    EXPECT_EQ(ReadInto(info, file + QByteArray("future extension")), InfoReadStatus::Read);
    EXPECT_EQ(info.notes.size(), 1u);
}

TEST(PhotoInfoReadTest, RejectsAWrongMagic) {
    for (const QByteArray& magic : {QByteArray("KZR1"), QByteArray("KZR\x01", 4),
                                    QByteArray("kzr\0", 4), QByteArray("\0KZR", 4)}) {
        PhotoInfo info;
        EXPECT_EQ(ReadInto(info, InfoFileBuilder(0x00010008, magic).I32(0).I32(0).Bytes()),
                  InfoReadStatus::NotInfoFile)
            << magic.toHex().constData();
    }
}

// A v8 file with three records of each kind: a file cut anywhere before its
// end is refused, whatever the cut hits, and the lists stay as they were.
TEST(PhotoInfoReadTest, EveryTruncationIsRefusedAndLeavesTheListsAsTheyWere) {
    InfoFileBuilder builder(0x00010008);
    builder.I32(3);
    for (int i = 0; i < 3; ++i)
        builder.Dimension(RGB(i, 2, 3), {i, 0}, {i + 50, 9}, "1.5", 0, UnusualFont());
    builder.I32(3);
    for (int i = 0; i < 3; ++i)
        builder.Note(Cp950("新信息"), {i, i}, Cp950("一二三 four"), UnusualFont());
    const QByteArray file = builder.Bytes();

    PhotoInfo complete;
    ASSERT_EQ(ReadInto(complete, file), InfoReadStatus::Read);
    ASSERT_EQ(complete.notes.size(), 3u);

    const Dimension kept = complete.dimensions[1];
    for (qsizetype cut = 0; cut < file.size(); ++cut) {
        PhotoInfo info;
        info.dimensions.push_back(kept);
        const InfoReadStatus status = ReadInto(info, file.left(cut));
        EXPECT_EQ(status, cut < 4 ? InfoReadStatus::NotInfoFile : InfoReadStatus::Damaged)
            << "cut at " << cut;
        EXPECT_EQ(info.dimensions.size(), 1u) << "cut at " << cut;
        EXPECT_TRUE(info.notes.empty()) << "cut at " << cut;
    }
}

TEST(PhotoInfoReadTest, AppendsToTheListsAfterACompleteRead) {
    const QByteArray file =
        InfoFileBuilder(0x00010008).I32(1).Dimension(1, {}, {1, 0}, "new").I32(0).Bytes();
    PhotoInfo info;
    Dimension old;
    std::memcpy(old.value, "old", 4);
    info.dimensions.push_back(old);
    ASSERT_EQ(ReadInto(info, file), InfoReadStatus::Read);
    ASSERT_EQ(info.dimensions.size(), 2u);
    EXPECT_EQ(QByteArray(info.dimensions[0].value), QByteArray("old"));
    EXPECT_EQ(QByteArray(info.dimensions[1].value), QByteArray("new"));
}

// Counts and lengths are checked against the bytes really there before
// anything is allocated or copied.
struct ImpossibleCase {
    const char* name;
    QByteArray file;
};

class ImpossibleCountTest : public ::testing::TestWithParam<ImpossibleCase> {};

TEST_P(ImpossibleCountTest, IsRefusedAtOnce) {
    PhotoInfo info;
    const auto begin = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadInto(info, GetParam().file), InfoReadStatus::Damaged);
    EXPECT_TRUE(info.dimensions.empty());
    EXPECT_TRUE(info.notes.empty());
    // Generous: a read that allocated or looped by the count would take far longer.
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(2));
}

QByteArray NoteHead(int32_t titleLength) {
    return InfoFileBuilder(0x00010008).I32(0).I32(1).I32(titleLength).Bytes();
}

INSTANTIATE_TEST_SUITE_P(
    Files, ImpossibleCountTest,
    ::testing::Values(
        ImpossibleCase{"TwoBillionDimensions",
                       InfoFileBuilder(0x00010008).I32(2000000000).I32(0).Bytes()},
        ImpossibleCase{
            "MaxDimensionsOldLayout",
            InfoFileBuilder(0x00010005).I32(std::numeric_limits<int32_t>::max()).Bytes()},
        ImpossibleCase{"TwoBillionNotes",
                       InfoFileBuilder(0x00010008).I32(0).I32(2000000000).Raw("xxxx").Bytes()},
        ImpossibleCase{"NegativeTitleLength", NoteHead(-1) + QByteArray(100, 'a')},
        ImpossibleCase{"MinTitleLength",
                       NoteHead(std::numeric_limits<int32_t>::min()) + QByteArray(100, 'a')},
        ImpossibleCase{"MaxTitleLength",
                       NoteHead(std::numeric_limits<int32_t>::max()) + QByteArray(100, 'a')},
        ImpossibleCase{"NegativeTextLength", InfoFileBuilder(0x00010008)
                                                 .I32(0)
                                                 .I32(1)
                                                 .I32(1)
                                                 .Raw(QByteArray("a\0", 2))
                                                 .I32(0)
                                                 .I32(0)
                                                 .I32(-5)
                                                 .Raw(QByteArray(100, 'b'))
                                                 .Bytes()}),
    [](const ::testing::TestParamInfo<ImpossibleCase>& info) { return info.param.name; });

// Texts longer than their field keep what fits, cut between two characters;
// the rest is skipped and the next fields are read from the right place.
TEST(PhotoInfoReadTest, OverlongTextsKeepWhatFitsCutBetweenCharacters) {
    const QByteArray chinese30 = Cp950("一二三四五六七八九十一二三四五"); // 15 characters
    const QByteArray title = "a" + chinese30;                             // 31 bytes
    QByteArray text = "ab";
    for (int i = 0; i < 20; ++i)
        text += chinese30; // 602 bytes
    const QByteArray file = InfoFileBuilder(0x00010008)
                                .I32(0)
                                .I32(2)
                                .Note(title, {5, 6}, text, UnusualFont())
                                .Note("next", {7, 8}, "fine")
                                .Bytes();
    PhotoInfo info;
    ASSERT_EQ(ReadInto(info, file), InfoReadStatus::Read);
    ASSERT_EQ(info.notes.size(), 2u);
    const InfoNote& first = info.notes[0];
    EXPECT_EQ(cp950::FieldBytes(first.title), title.left(19)); // "a" and 9 characters
    EXPECT_EQ(first.title[19], '\0');
    EXPECT_EQ(cp950::FieldBytes(first.text), text.left(254)); // "ab" and 126 characters
    EXPECT_EQ(first.text[254], '\0');
    EXPECT_EQ(first.text[255], '\0');
    EXPECT_EQ(first.anchor, (POINT{5, 6}));
    EXPECT_EQ(first.font, UnusualFont());
    EXPECT_EQ(QByteArray(info.notes[1].title), QByteArray("next"));
    EXPECT_EQ(info.notes[1].anchor, (POINT{7, 8}));
}

TEST(PhotoInfoReadTest, ATextStopsAtItsFirstNulAndTheFieldIsZeroFilled) {
    const QByteArray file =
        InfoFileBuilder(0x00010008).I32(0).I32(1).Note(QByteArray("ab\0cd", 5), {}, "x").Bytes();
    PhotoInfo info;
    ASSERT_EQ(ReadInto(info, file), InfoReadStatus::Read);
    EXPECT_EQ(QByteArray(info.notes[0].title, 20), QByteArray(20, '\0').replace(0, 2, "ab"));
}

TEST(PhotoInfoReadTest, AFaceNameFillingAllItsBytesIsTerminated) {
    LOGFONTA font = DefaultLogFont();
    std::memset(font.lfFaceName, 'F', sizeof font.lfFaceName);
    const QByteArray file =
        InfoFileBuilder(0x00010008).I32(1).Dimension(0, {}, {1, 0}, "", 0, font).I32(0).Bytes();
    PhotoInfo info;
    ASSERT_EQ(ReadInto(info, file), InfoReadStatus::Read);
    EXPECT_EQ(QByteArray(info.dimensions[0].font.lfFaceName), QByteArray(31, 'F'));
}

TEST(PhotoInfoReadTest, AMissingOrUnopenableFileMeansNoRecordsYet) {
    QTemporaryDir dir;
    PhotoInfo info;
    EXPECT_EQ(info.Read(dir.filePath("kitchen.dat")), InfoReadStatus::Missing);
    EXPECT_EQ(info.LoadFromFile(dir.filePath("kitchen.dat")), 1);
    EXPECT_EQ(info.LoadFromFile(dir.path()), 1); // a folder cannot be opened as a file
    EXPECT_TRUE(info.dimensions.empty());
    EXPECT_TRUE(info.notes.empty());
}

TEST(PhotoInfoReadTest, AFileAboveOneGibibyteIsRefusedWithoutReadingIt) {
    QTemporaryDir dir;
    QFile huge(dir.filePath("huge.dat"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    huge.write(InfoFileBuilder(0x00010008).I32(0).I32(0).Bytes());
    ASSERT_TRUE(huge.resize((qint64(1) << 30) + 1)); // sparse: takes no disk space
    huge.close();
    PhotoInfo info;
    EXPECT_EQ(info.Read(huge.fileName()), InfoReadStatus::Damaged);
}

TEST(PhotoInfoReadTest, LoadFromFileTellsACompleteReadFromABadFile) {
    QTemporaryDir dir;
    const QString good = dir.filePath("good.dat");
    const QString bad = dir.filePath("bad.dat");
    const QString foreign = dir.filePath("foreign.dat");
    const QByteArray file = InfoFileBuilder(0x00010008).I32(0).I32(1).Note("t", {}, "x").Bytes();
    ASSERT_TRUE(WriteWholeFile(good, file));
    ASSERT_TRUE(WriteWholeFile(bad, file.left(file.size() - 1)));
    ASSERT_TRUE(WriteWholeFile(foreign, "GIF89a"));
    PhotoInfo info;
    EXPECT_EQ(info.LoadFromFile(good), 1);
    EXPECT_EQ(info.notes.size(), 1u);
    EXPECT_EQ(info.LoadFromFile(bad), 0);
    EXPECT_EQ(info.Read(bad), InfoReadStatus::Damaged);
    EXPECT_EQ(info.LoadFromFile(foreign), 0);
    EXPECT_EQ(info.Read(foreign), InfoReadStatus::NotInfoFile);
    EXPECT_EQ(info.notes.size(), 1u);
}

} // namespace
