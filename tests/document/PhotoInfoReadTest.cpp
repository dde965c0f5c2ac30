#include "document/InfoFileBuilder.h"
#include "document/PhotoInfo.h"
#include "document/Records.h"
#include "platform/Cp950.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <limits>
#include <sys/resource.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSAMAR_HAS_ASAN 1
#endif
#endif
#ifndef TESSAMAR_HAS_ASAN
#define TESSAMAR_HAS_ASAN 0
#endif

namespace {

// Lines pointing further down than -75 degrees or further up than +105 (y
// grows downwards) have their ends exchanged so that their text stands upright.
TEST(NormalizeDimensionEndsTest, PointsTheLineSoItsTextStandsUpright) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    const std::tuple<POINT, POINT, bool> cases[] = {
        {{90, 5}, {10, 5}, true},      // -180 degrees
        {{0, 0}, {364, 1000}, false},  // -70
        {{0, 0}, {176, 1000}, true},   // -80
        {{0, 1000}, {-176, 0}, false}, // +100
        {{0, 1000}, {-364, 0}, true},  // +110
        {{kMin, 0}, {kMax, 0}, false}, // the difference does not fit 32 bits:
        {{kMax, 0}, {kMin, 0}, true}}; // it must not wrap to the other side
    for (const auto& [start, end, exchanged] : cases) {
        Dimension dim{0, start, end, {}, {}};
        NormalizeDimensionEnds(dim);
        EXPECT_EQ(dim.start, exchanged ? end : start) << end.x << "," << end.y;
        EXPECT_EQ(dim.end, exchanged ? start : end) << end.x << "," << end.y;
    }
    const double lower = -1.3089969166666666; // -75 degrees with pi = 3.1415926
    const double upper = 1.8325956833333334;  // +105 degrees likewise
    EXPECT_FALSE(DirectionNeedsExchange(lower));
    EXPECT_FALSE(DirectionNeedsExchange(upper));
    EXPECT_TRUE(DirectionNeedsExchange(std::nextafter(lower, -10.0)));
    EXPECT_TRUE(DirectionNeedsExchange(std::nextafter(upper, 10.0)));
    // -75 degrees with the precise pi lies just beyond the bound.
    EXPECT_TRUE(DirectionNeedsExchange(-75.0 * M_PI / 180.0));
}

class LayoutTest : public ::testing::TestWithParam<uint32_t> {};

// One file of each layout: a dimension stored right to left, a note, and
// bytes after the end that a later version might add.
TEST_P(LayoutTest, ReadsTheRecordsAndTheFontsTheLayoutStores) {
    const uint32_t version = GetParam();
    const QByteArray file =
        Header(version) + I32(1) +
        DimensionBytes(version, 0x00563412, {300, 25}, {10, 20}, "1234567890",
                       std::numeric_limits<int32_t>::min(), UnusualFont()) +
        I32(1) + NoteBytes(version, Cp950("廚房"), {120, 80}, Cp950("窗戶東面"), UnusualFont()) +
        "future extension";
    PhotoInfo info;
    ASSERT_EQ(ReadInto(info, file), InfoReadStatus::Read);
    ASSERT_EQ(info.dimensions.size(), 1u);
    ASSERT_EQ(info.notes.size(), 1u);

    const Dimension& dim = info.dimensions[0];
    EXPECT_EQ(dim.colour, 0x00563412u);
    EXPECT_EQ(dim.start, (POINT{10, 20})); // ends exchanged: the text stands upright
    EXPECT_EQ(dim.end, (POINT{300, 25}));
    // The eleven characters of the old number, or the ten stored bytes, terminated.
    EXPECT_EQ(QByteArray(dim.value, 12), version < 0x00010006 ? QByteArray("-2147483648\0", 12)
                                                              : QByteArray("1234567890\0\0", 12));
    EXPECT_EQ(dim.font, version >= 0x00010008 ? UnusualFont() : DefaultLogFont());

    const InfoNote& note = info.notes[0];
    EXPECT_EQ(cp950::FieldToQString(note.title), QString::fromUtf8("廚房"));
    EXPECT_EQ(note.anchor, (POINT{120, 80}));
    EXPECT_EQ(cp950::FieldToQString(note.text), QString::fromUtf8("窗戶東面"));
    EXPECT_EQ(note.font, version >= 0x00010007 ? UnusualFont() : DefaultLogFont());
}

// Versions after the newest are read like the newest.
INSTANTIATE_TEST_SUITE_P(Versions, LayoutTest,
                         ::testing::Values(0x00010000u, 0x00010005u, 0x00010006u, 0x00010007u,
                                           0x00010008u, 0xFFFFFFFFu));

// A file cut anywhere before its end is refused, whatever the cut hits, and
// leaves the lists as they were; the whole file appends to them.
TEST(PhotoInfoReadTest, EveryTruncationIsRefusedAndLeavesTheListsAsTheyWere) {
    const QByteArray file = SampleFile();
    PhotoInfo info;
    info.dimensions.resize(1);
    for (qsizetype cut = 0; cut < file.size(); ++cut) {
        EXPECT_EQ(ReadInto(info, file.left(cut)),
                  cut < 4 ? InfoReadStatus::NotInfoFile : InfoReadStatus::Damaged)
            << "cut at " << cut;
        ASSERT_EQ(info.dimensions.size(), 1u) << "cut at " << cut;
        ASSERT_TRUE(info.notes.empty()) << "cut at " << cut;
    }
    ASSERT_EQ(ReadInto(info, file), InfoReadStatus::Read);
    EXPECT_EQ(info.dimensions.size(), 4u);
}

// Counts and lengths are checked against the bytes really there before
// anything is allocated or copied by them.
TEST(PhotoInfoReadTest, CountsAndLengthsAreCheckedAgainstTheBytesLeft) {
    const QByteArray oneNote = Header(V8) + I32(0) + I32(1);
    const QByteArray rest(100, 'a');
    const int32_t max = std::numeric_limits<int32_t>::max();
    // What follows a length of -1 would make a whole note if -1 were taken as
    // an empty text (it adds 1 for the terminator and takes 0 bytes), so
    // only the refusal of a negative length rejects those two files.
    const QByteArray anchor = I32(3) + I32(4);
    const QByteArray tailText = I32(2) + QByteArray("cd\0", 3) + FontBytes(DefaultLogFont());
    const QByteArray noTitle = oneNote + I32(-1) + anchor + tailText;
    const QByteArray noText =
        oneNote + I32(1) + QByteArray("a\0", 2) + anchor + I32(-1) + FontBytes(DefaultLogFont());
    for (const QByteArray& file :
         {Header(V8) + I32(2000000000) + I32(0), Header(0x00010005) + I32(max),
          Header(V8) + I32(0) + I32(2000000000) + "xxxx", noTitle, noText,
          oneNote + I32(max) + rest,
          oneNote + I32(1) + QByteArray("a\0", 2) + I32(0) + I32(0) + I32(-5) + rest}) {
        PhotoInfo info;
        EXPECT_EQ(ReadInto(info, file), InfoReadStatus::Damaged) << file.toHex().constData();
        EXPECT_TRUE(info.dimensions.empty() && info.notes.empty());
    }
    // A negative count reads no records of its kind.
    PhotoInfo info;
    EXPECT_EQ(ReadInto(info, Header(V8) + I32(-3) + I32(1) + NoteBytes(V8, "ab", {1, 2}, "cd")),
              InfoReadStatus::Read);
    EXPECT_EQ(ReadInto(info, Header(V8) + I32(0) + I32(-1)), InfoReadStatus::Read);
    EXPECT_TRUE(info.dimensions.empty());
    EXPECT_EQ(info.notes.size(), 1u);
}

// Texts longer than their field keep what fits, cut between two characters;
// the rest is skipped and the next fields are read from the right place. A
// text ends at its first NUL.
TEST(PhotoInfoReadTest, OverlongTextsKeepWhatFitsCutBetweenCharacters) {
    const QByteArray chinese = Cp950("一二三四五六七八九十一二三四五"); // 30 bytes
    const QByteArray title = "a" + chinese;
    const QByteArray text = "ab" + chinese.repeated(20);
    LOGFONTA font = UnusualFont();
    std::memset(font.lfFaceName, 'F', sizeof font.lfFaceName);
    const QByteArray file = Header(V8) + I32(0) + I32(2) +
                            NoteBytes(V8, title, {5, 6}, text, font) +
                            NoteBytes(V8, QByteArray("ne\0xt", 5), {7, 8}, "fine");
    PhotoInfo info;
    ASSERT_EQ(ReadInto(info, file), InfoReadStatus::Read);
    ASSERT_EQ(info.notes.size(), 2u);
    const InfoNote& first = info.notes[0];
    EXPECT_EQ(QByteArray(first.title, 20), title.left(19) + '\0'); // "a" and 9 characters
    EXPECT_EQ(QByteArray(first.text, 256), text.left(254) + QByteArray(2, '\0'));
    EXPECT_EQ(QByteArray(first.font.lfFaceName, 32), QByteArray(31, 'F') + '\0');
    EXPECT_EQ(first.anchor, (POINT{5, 6}));
    EXPECT_EQ(QByteArray(info.notes[1].title, 20), "ne" + QByteArray(18, '\0'));
    EXPECT_EQ(info.notes[1].anchor, (POINT{7, 8}));
}

// All zeros: old-layout dimensions of 24 bytes and notes of 18, the smallest
// records a file can hold.
QByteArray ZeroRecords(int32_t dims, int32_t notes) {
    return Header(0x00010005) + I32(dims) + QByteArray(qsizetype(dims) * 24, '\0') + I32(notes) +
           QByteArray(qsizetype(notes) * 18, '\0');
}

// A million records in all are read; one more, in either list, is refused
// as too large, and the lists stay as they were.
TEST(PhotoInfoReadTest, AMillionRecordsInAllAreTheMost) {
    const struct {
        int32_t dims, notes;
        InfoReadStatus status;
    } cases[] = {{999999, 1, InfoReadStatus::Read},      {1000000, 0, InfoReadStatus::Read},
                 {1000001, 0, InfoReadStatus::TooLarge}, {1000000, 1, InfoReadStatus::TooLarge},
                 {0, 1000001, InfoReadStatus::TooLarge}, {1, 1000000, InfoReadStatus::TooLarge}};
    for (const auto& c : cases) {
        PhotoInfo info;
        info.notes.resize(2);
        EXPECT_EQ(ReadInto(info, ZeroRecords(c.dims, c.notes)), c.status)
            << c.dims << " + " << c.notes;
        const bool read = c.status == InfoReadStatus::Read;
        EXPECT_EQ(info.dimensions.size(), read ? size_t(c.dims) : 0u);
        EXPECT_EQ(info.notes.size(), read ? size_t(c.notes) + 2 : 2u);
    }
}

#if !defined(__SANITIZE_ADDRESS__) && !TESSAMAR_HAS_ASAN
// Memory that cannot be had is "too large", never an abort: a child process
// whose address space is capped just above what it uses reads a file of a
// million notes (344 MB in memory) and must report TooLarge.
TEST(PhotoInfoReadTest, RunningOutOfMemoryIsReportedAsTooLarge) {
    const QByteArray file = ZeroRecords(0, 1000000);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        long pages = 0;
        if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%ld", &pages) != 1)
                pages = 0;
            std::fclose(statm);
        }
        const rlim_t used = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE));
        const rlimit cap{used + (rlim_t(100) << 20), used + (rlim_t(100) << 20)};
        setrlimit(RLIMIT_AS, &cap);
        PhotoInfo info;
        const InfoReadStatus status = ReadInto(info, file);
        _exit(info.notes.empty() ? int(status) : 99);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), int(InfoReadStatus::TooLarge));
}
#endif

} // namespace
