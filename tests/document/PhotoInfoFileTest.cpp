// The photo-info file: each layout read field by field and the newest
// written byte for byte; damaged, cut and oversized files refused; the
// extension block after the last note (the reference length and plane,
// unknown tags kept, damaged blocks losing only the reference); the one
// reading of the file beside a photo that the window, the export and the
// print command share; and the save's wiring to the durable writer.

#include "common/DiskFaults.h"
#include "common/NonRegularFiles.h"
#include "common/TestSupport.h"
#include "document/InfoFileRead.h"
#include "document/PhotoInfo.h"
#include "document/PhotoInfoJson.h"
#include "platform/Cp950.h"

#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <sys/resource.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>

extern "C" void __asan_init() __attribute__((weak)); // there under AddressSanitizer

// Photo-info file bytes built field by field for the tests, independently
// of the program's own writer, in any of the layouts; read statuses by name.
constexpr uint32_t V8 = 0x00010008; // the newest layout

inline QByteArray Cp950(const char* utf8) {
    return cp950::FromQString(QString::fromUtf8(utf8));
}

template <typename T> QByteArray LittleEndian(T value) {
    value = qToLittleEndian(value);
    return QByteArray(reinterpret_cast<const char*>(&value), sizeof value);
}

inline QByteArray I32(int32_t value) {
    return LittleEndian(value);
}

inline QByteArray Header(uint32_t version) {
    return QByteArray("KZR\0", 4) + I32(int32_t(version));
}

inline QByteArray FontBytes(const LOGFONTA& lf) {
    const char flags[8] = {char(lf.lfItalic),  char(lf.lfUnderline),     char(lf.lfStrikeOut),
                           char(lf.lfCharSet), char(lf.lfOutPrecision),  char(lf.lfClipPrecision),
                           char(lf.lfQuality), char(lf.lfPitchAndFamily)};
    return I32(lf.lfHeight) + I32(lf.lfWidth) + I32(lf.lfEscapement) + I32(lf.lfOrientation) +
           I32(lf.lfWeight) + QByteArray(flags, 8) + QByteArray(lf.lfFaceName, 32);
}

// A dimension entry: the value is the int32 `numeric` before version
// 0x00010006 and the first 10 bytes of `text` (NUL-padded) from then on; the
// font is stored from 0x00010008.
inline QByteArray DimensionBytes(uint32_t version, uint32_t colour, POINT start, POINT end,
                                 const QByteArray& text, int32_t numeric = 0,
                                 const LOGFONTA& font = DefaultLogFont()) {
    QByteArray out = I32(int32_t(colour)) + I32(start.x) + I32(start.y) + I32(end.x) + I32(end.y);
    out += version < 0x00010006 ? I32(numeric) : text.leftJustified(10, '\0', true);
    return version >= 0x00010008 ? out + FontBytes(font) : out;
}

// A note entry: L, title and NUL, anchor, L2, text and NUL; the font from
// version 0x00010007.
inline QByteArray NoteBytes(uint32_t version, const QByteArray& title, POINT anchor,
                            const QByteArray& text, const LOGFONTA& font = DefaultLogFont()) {
    const QByteArray out = I32(int32_t(title.size())) + title + '\0' + I32(anchor.x) +
                           I32(anchor.y) + I32(int32_t(text.size())) + text + '\0';
    return version >= 0x00010007 ? out + FontBytes(font) : out;
}

// A font with every field set to something other than the default.
inline LOGFONTA UnusualFont() {
    LOGFONTA lf{-21, 7, 450, 450, 700, 1, 1, 1, 136, 3, 2, 1, 0x31, {}};
    std::memcpy(lf.lfFaceName, "\xB7\x73\xB2\xD3\xA9\xFA\xC5\xE9", 9); // 新細明體
    return lf;
}

// A file of the newest layout with several records of each kind.
inline QByteArray SampleFile() {
    return Header(V8) + I32(3) + DimensionBytes(V8, RGB(255, 0, 0), {10, 20}, {300, 20}, "3.25") +
           DimensionBytes(V8, RGB(1, 2, 3), {0, 500}, {0, 100}, Cp950("約2米"), 0, UnusualFont()) +
           DimensionBytes(V8, 0, {-7, 7}, {-7, 7}, "") + I32(2) +
           NoteBytes(V8, Cp950("廚房"), {120, 80}, Cp950("窗戶東面\r\n寬 3 米"), UnusualFont()) +
           NoteBytes(V8, Cp950("新信息"), {-5, 9}, "");
}

inline InfoReadStatus ReadInto(PhotoInfo& info, const QByteArray& bytes) {
    return info.ReadBytes(bytes.constData(), static_cast<size_t>(bytes.size()));
}

namespace {

// Lines pointing further down than -75 degrees or further up than +105 (y
// grows downwards) have their ends exchanged so that their text stands upright.
TEST(NormalizeDimensionEndsTest, PointsTheLineSoItsTextStandsUpright) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    const std::tuple<POINT, POINT, bool> cases[] = {
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
}

// One file of each layout, and of a version after the newest (read like the
// newest): a dimension stored right to left, a note, and bytes after the end
// that a later version might add.
TEST(PhotoInfoReadTest, ReadsTheRecordsAndTheFontsEachLayoutStores) {
    for (const uint32_t version :
         {0x00010000u, 0x00010005u, 0x00010006u, 0x00010007u, V8, 0xFFFFFFFFu}) {
        SCOPED_TRACE(version);
        const QByteArray file =
            Header(version) + I32(1) +
            DimensionBytes(version, 0x00563412, {300, 25}, {10, 20}, "1234567890",
                           std::numeric_limits<int32_t>::min(), UnusualFont()) +
            I32(1) +
            NoteBytes(version, Cp950("廚房"), {120, 80}, Cp950("窗戶東面"), UnusualFont()) +
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
        EXPECT_EQ(QByteArray(dim.value, 12), version < 0x00010006
                                                 ? QByteArray("-2147483648\0", 12)
                                                 : QByteArray("1234567890\0\0", 12));
        EXPECT_EQ(dim.font, version >= V8 ? UnusualFont() : DefaultLogFont());
        const InfoNote& note = info.notes[0];
        EXPECT_EQ(cp950::FieldToQString(note.title), QString::fromUtf8("廚房"));
        EXPECT_EQ(note.anchor, (POINT{120, 80}));
        EXPECT_EQ(cp950::FieldToQString(note.text), QString::fromUtf8("窗戶東面"));
        EXPECT_EQ(note.font, version >= 0x00010007 ? UnusualFont() : DefaultLogFont());
    }
}

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
    } cases[] = {{999999, 1, InfoReadStatus::Read},
                 {1000000, 1, InfoReadStatus::TooLarge},
                 {0, 1000001, InfoReadStatus::TooLarge},
                 {1, 1000000, InfoReadStatus::TooLarge}};
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

// Memory that cannot be had is "too large", never an abort: a child process
// whose address space is capped just above what it uses reads a file of a
// million notes (344 MB in memory) and must report TooLarge.
TEST(PhotoInfoReadTest, RunningOutOfMemoryIsReportedAsTooLarge) {
    if (__asan_init)
        GTEST_SKIP() << "AddressSanitizer needs more address space than the cap leaves";
    const QByteArray file = ZeroRecords(0, 1000000);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t cap = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(100) << 20);
        const rlimit limit{cap, cap};
        setrlimit(RLIMIT_AS, &limit);
        PhotoInfo info;
        const InfoReadStatus status = ReadInto(info, file);
        _exit(info.notes.empty() ? int(status) : 99);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), int(InfoReadStatus::TooLarge));
}

QByteArray Tag(const char* fourcc, const QByteArray& payload) {
    return QByteArray(fourcc, 4) + I32(int32_t(payload.size())) + payload;
}

QByteArray Block(const QByteArray& tags, uint32_t version = 1) {
    return QByteArray("TSMREXT\0", 8) + I32(version) + I32(int32_t(tags.size())) + tags;
}

QByteArray PlanePayload(double width = 800, double height = 2000) {
    return I32(100) + I32(50) + I32(700) + I32(80) + I32(690) + I32(1400) + I32(110) + I32(1450) +
           LittleEndian(width) + LittleEndian(height);
}

// Two dimensions and one note, built independently of the writer.
QByteArray Records() {
    return Header(V8) + I32(2) + DimensionBytes(V8, 0xFF, {10, 10}, {410, 10}, "800") +
           DimensionBytes(V8, 0xFF, {10, 90}, {300, 95}, "") + I32(1) +
           NoteBytes(V8, Cp950("門"), {5, 5}, "x");
}

// A block is read by its tags, unknown ones kept, and written back byte for
// byte; a later block version is read by its tags all the same. A file
// without a reference ends at its last note, and other bytes after it are
// ignored as before.
TEST(InfoFileExtension, ReadsTheReferenceAndKeepsUnknownTags) {
    const QByteArray unknown = Tag("ZZZZ", QByteArray("\x01\x02\x03", 3)) + Tag("EMPT", {});
    const struct {
        QByteArray block;
        int dimension;
        bool plane;
        size_t unknownTags;
        bool writtenBack;
    } cases[] = {{Block(Tag("RLEN", I32(0)) + Tag("RPLN", PlanePayload())), 0, true, 0, true},
                 {Block(Tag("RLEN", I32(1)) + unknown), 1, false, 2, true},
                 {Block(Tag("RLEN", I32(1)) + Tag("NEW!", "abc"), 2), 1, false, 1, false},
                 {QByteArray(), -1, false, 0, true},
                 {QByteArray("TSMRsomething else"), -1, false, 0, false}};
    for (const auto& c : cases) {
        const QByteArray file = Records() + c.block;
        PhotoInfo info;
        ASSERT_EQ(ReadInto(info, file), InfoReadStatus::Read);
        EXPECT_FALSE(info.ReferenceDamaged());
        EXPECT_EQ(info.dimensions.size(), 2u);
        EXPECT_EQ(info.reference.dimension, c.dimension);
        EXPECT_EQ(info.reference.hasPlane, c.plane);
        EXPECT_EQ(info.reference.unknownTags.size(), c.unknownTags);
        EXPECT_EQ(info.Serialize() == file, c.writtenBack);
    }
    PhotoInfo info;
    ASSERT_EQ(ReadInto(info, Records() + cases[0].block), InfoReadStatus::Read);
    EXPECT_EQ(info.reference.plane.corners[2].x, 690);
    EXPECT_EQ(info.reference.plane.corners[3].y, 1450);
    EXPECT_EQ(info.reference.plane.width, 800);
    EXPECT_EQ(info.reference.plane.height, 2000);
    // A reference taken away leaves no block behind.
    info.reference.dimension = -1;
    info.reference.hasPlane = false;
    EXPECT_EQ(info.Serialize(), Records());
    // Changing what this version knows keeps the unknown tags after it.
    PhotoInfo withUnknown;
    ASSERT_EQ(ReadInto(withUnknown, Records() + cases[1].block), InfoReadStatus::Read);
    withUnknown.reference.dimension = -1;
    EXPECT_EQ(withUnknown.Serialize(), Records() + Block(unknown));
}

// An "AREA" tag's payload: colour, flags, name, font, corners.
QByteArray AreaPayload(uint32_t colour, uint32_t flags, const QByteArray& name,
                       const std::vector<POINT>& corners, int32_t cornerCount = -1) {
    QByteArray out = I32(int32_t(colour)) + I32(int32_t(flags)) + I32(int32_t(name.size())) + name +
                     FontBytes(UnusualFont()) +
                     I32(cornerCount < 0 ? int32_t(corners.size()) : cornerCount);
    for (const POINT& p : corners)
        out += I32(p.x) + I32(p.y);
    return out;
}

QByteArray AnglePayload(uint32_t colour, POINT arm1, POINT vertex, POINT arm2) {
    return I32(int32_t(colour)) + I32(arm1.x) + I32(arm1.y) + I32(vertex.x) + I32(vertex.y) +
           I32(arm2.x) + I32(arm2.y) + FontBytes(DefaultLogFont());
}

std::vector<POINT> ManyCorners(int n) {
    std::vector<POINT> corners;
    for (int i = 0; i < n; ++i)
        corners.push_back({int32_t(1000 + 500 * std::cos(i * 0.1)), -7 * i});
    return corners;
}

// Areas and angles in list order after the reference's tags, unknown tags
// kept beside them; each read field by field and written back byte for byte.
TEST(InfoFileExtension, StoresAreasAndAnglesAndWritesThemBack) {
    const std::vector<POINT> triangle = {{10, 10}, {400, 20}, {-30, 300}};
    const QByteArray livingRoom =
        Tag("AREA", AreaPayload(RGB(1, 2, 3), 0, Cp950("客廳"), triangle));
    const QByteArray window = Tag("AREA", AreaPayload(0xFF, 1, {}, ManyCorners(4096)));
    const QByteArray corner = Tag("ANGL", AnglePayload(RGB(9, 8, 7), {5, 6}, {-1, 2}, {300, 4}));
    const struct {
        const char* what;
        QByteArray block;
        bool reference;
        size_t areas, angles, unknownTags;
    } cases[] = {
        {"an area named in CP950, no reference", Block(livingRoom), false, 1, 0, 0},
        {"two areas, one an opening of the most corners, and a reference",
         Block(Tag("RLEN", I32(0)) + livingRoom + window), true, 2, 0, 0},
        {"an angle alone", Block(corner), false, 0, 1, 0},
        {"all of them and unknown tags",
         Block(Tag("RPLN", PlanePayload()) + livingRoom + window + corner + corner +
               Tag("ZZZZ", "z")),
         true, 2, 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray file = Records() + c.block;
        PhotoInfo info;
        ASSERT_EQ(ReadInto(info, file), InfoReadStatus::Read);
        EXPECT_FALSE(info.ReferenceDamaged());
        EXPECT_EQ(info.reference.HasReference(), c.reference);
        ASSERT_EQ(info.areas.size(), c.areas);
        ASSERT_EQ(info.angles.size(), c.angles);
        EXPECT_EQ(info.reference.unknownTags.size(), c.unknownTags);
        EXPECT_EQ(info.Serialize().toHex(), file.toHex());
        if (c.areas > 0) {
            EXPECT_EQ(info.areas[0].colour, RGB(1, 2, 3));
            EXPECT_FALSE(info.areas[0].opening);
            EXPECT_EQ(QByteArray::fromStdString(info.areas[0].name), Cp950("客廳"));
            EXPECT_EQ(info.areas[0].corners, triangle);
            EXPECT_EQ(info.areas[0].font, UnusualFont());
        }
        if (c.areas > 1) {
            EXPECT_TRUE(info.areas[1].opening);
            EXPECT_EQ(info.areas[1].corners, ManyCorners(4096));
        }
        if (c.angles > 0) {
            const AngleRecord& a = info.angles[0];
            EXPECT_EQ(a.colour, RGB(9, 8, 7));
            EXPECT_EQ(a.arm1, (POINT{5, 6}));
            EXPECT_EQ(a.vertex, (POINT{-1, 2}));
            EXPECT_EQ(a.arm2, (POINT{300, 4}));
        }
    }
    // The shapes taken away, and nothing else to store: no block at all.
    PhotoInfo info;
    ASSERT_EQ(ReadInto(info, Records() + Block(livingRoom + corner)), InfoReadStatus::Read);
    info.areas.clear();
    info.angles.clear();
    EXPECT_EQ(info.Serialize(), Records());
}

// A damaged block keeps the records, loses only the reference, the areas and
// the angles, and is marked; the next good file read clears the mark.
TEST(InfoFileExtension, ADamagedBlockKeepsTheRecordsAndLosesOnlyTheReferenceAndShapes) {
    const QByteArray blocks[] = {
        QByteArray("TSMREXT\0", 8),            // only the magic
        Block(Tag("RLEN", I32(0))).chopped(1), // length beyond the file
        QByteArray("TSMREXT\0", 8) + I32(1) + I32(12) + QByteArray("RLEN", 4) + I32(40) +
            I32(0),                                                   // a tag longer than the block
        Block(Tag("RLEN", I32(2))),                                   // no such dimension
        Block(Tag("RLEN", I32(-1))),                                  // a negative one
        Block(Tag("RPLN", PlanePayload().chopped(8))),                // a plane of the wrong size
        Block(Tag("RPLN", PlanePayload(0, 2000))),                    // without width
        Block(Tag("RPLN", PlanePayload(800, NAN))),                   // of NaN height
        Block(Tag("RLEN", I32(0)) + Tag("RLEN", I32(1))),             // two references
        Block(Tag("RLEN", I32(0)), 0),                                // version zero
        Block(Tag("AREA", AreaPayload(0, 0, "a", {{0, 0}, {5, 5}}))), // two corners
        Block(Tag("AREA", AreaPayload(0, 0, "a", ManyCorners(4097)))), // beyond the most
        Block(Tag("AREA", AreaPayload(0, 0, "a", {{0, 0}, {5, 5}, {0, 9}}, 5000))), // fewer held
        Block(Tag("AREA", AreaPayload(0, 0, QByteArray(41, 'n'), {{0, 0}, {5, 5}, {0, 9}}))),
        Block(Tag("AREA", AreaPayload(0, 0, "a", {{0, 0}, {5, 5}, {0, 9}}) + "x")), // left over
        Block(Tag("ANGL", AnglePayload(0, {0, 0}, {1, 1}, {2, 0}).chopped(1)))};    // short
    for (const QByteArray& block : blocks) {
        SCOPED_TRACE(block.toHex().constData());
        PhotoInfo info;
        EXPECT_EQ(ReadInto(info, Records() + block), InfoReadStatus::Read);
        EXPECT_TRUE(info.ReferenceDamaged());
        EXPECT_FALSE(info.reference.HasReference());
        EXPECT_TRUE(info.reference.unknownTags.empty());
        EXPECT_TRUE(info.areas.empty());
        EXPECT_TRUE(info.angles.empty());
        EXPECT_EQ(info.dimensions.size(), 2u);
        EXPECT_EQ(info.notes.size(), 1u);
        EXPECT_EQ(ReadInto(info, Records()), InfoReadStatus::Read);
        EXPECT_FALSE(info.ReferenceDamaged());
    }
}

// What lies beside the photo, read once for the window, the export and the
// print command: only a complete read keeps records (never those of an
// earlier photo), and only a file that is there and cannot be read whole
// comes with a reason. A named pipe is refused at once (the reader's own
// refusals are tested with it, in tests/platform/FilesTest.cpp).
TEST(InfoFileReadTest, TellsWhatLiesBesideThePhotoAndKeepsOnlyACompleteRead) {
    using O = InfoFileOutcome;
    const struct {
        O outcome;
        const char* reason;
        QByteArray bytes;
    } cases[] = {{O::Missing, "", {}},
                 {O::Read, "", SampleFile()},
                 {O::Damaged, "", SampleFile().chopped(1)},
                 {O::NotInfoFile, "", "KZR1" + SampleFile().mid(4)},
                 {O::TooLarge, "too large", Header(V8) + I32(0) + I32(0)},
                 {O::Unreadable, "named pipe, not a photo-info file", {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.outcome));
        QTemporaryDir dir;
        const QString dat = dir.filePath(QStringLiteral("kitchen.dat"));
        if (c.outcome == O::Unreadable) {
            ASSERT_TRUE(MakeFifo(dat));
        } else if (c.outcome != O::Missing) {
            ASSERT_TRUE(WriteWholeFile(dat, c.bytes));
        }
        if (c.outcome == O::TooLarge) { // above one gibibyte, sparse
            ASSERT_TRUE(QFile::resize(dat, (qint64(1) << 30) + 1));
        }
        const FifoWatchdog watchdog({dat});
        PhotoInfo info;
        info.notes.resize(3);
        info.dimensions.resize(2);
        const InfoFileRead read =
            ReadInfoFile(InfoFilePathFor(dir.filePath(QStringLiteral("kitchen.jpg"))), info);
        EXPECT_EQ(read.outcome, c.outcome);
        EXPECT_EQ(read.path, dat);
        EXPECT_EQ(info.notes.size(), c.outcome == O::Read ? 2u : 0u);
        EXPECT_EQ(info.dimensions.size(), c.outcome == O::Read ? 3u : 0u);
        EXPECT_TRUE(read.reason.contains(QLatin1String(c.reason))) << read.reason.toStdString();
        EXPECT_EQ(read.reason.isEmpty(), !*c.reason) << read.reason.toStdString();
        EXPECT_FALSE(watchdog.Fired());
    }
}

TEST(InfoFilePathForTest, ReplacesTheExtensionOfTheFileNameOnly) {
    const std::pair<const char*, const char*> paths[] = {
        {"D:\\rooms\\flat.2.jpeg", "D:\\rooms\\flat.2.dat"},
        {"/home/ann/my.rooms/kitchen", "/home/ann/my.rooms/kitchen.dat"},
        {"/home/ann/my.rooms/廚房.JPG", "/home/ann/my.rooms/廚房.dat"}};
    for (const auto& [photo, info] : paths)
        EXPECT_EQ(InfoFilePathFor(QString::fromUtf8(photo)), QString::fromUtf8(info)) << photo;
}

TEST(PhotoInfoWriteTest, SavesTheNewestLayoutByteForByte) {
    EXPECT_EQ(PhotoInfo().Serialize().toHex(' '),
              QByteArray("4b 5a 52 00 08 00 01 00 00 00 00 00 00 00 00 00"));
    QTemporaryDir dir;
    const QString path = dir.filePath("kitchen.dat");
    ASSERT_TRUE(WriteWholeFile(path, QByteArray(5000, 'x'))); // replaced whole
    PhotoInfo saved;
    ASSERT_EQ(ReadInto(saved, SampleFile()), InfoReadStatus::Read);
    ASSERT_EQ(saved.SaveToFile(path), 1) << saved.LastSaveError().toStdString();
    EXPECT_EQ(ReadWholeFile(path).toHex(), SampleFile().toHex());
}

// The save goes through the durable writer, whose disk faults are tested
// with it (tests/platform/FilesTest.cpp): a save the disk refuses fails with
// the system's reason and keeps the old file.
TEST(PhotoInfoWriteTest, ADiskThatGivesOutFailsWithTheReasonAndKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kitchen.dat"));
    ASSERT_TRUE(WriteWholeFile(path, SampleFile()));
    PhotoInfo info;
    info.dimensions.resize(1000);
    FileSizeLimit limit(rlim_t(16 * 1024));
    ASSERT_TRUE(limit.IsSet());
    EXPECT_EQ(info.SaveToFile(path), 0);
    EXPECT_TRUE(info.LastSaveError().contains(QLatin1String("File too large")))
        << info.LastSaveError().toStdString();
    EXPECT_EQ(ReadWholeFile(path), SampleFile());
}

// What does not fit the file: a title filling its whole field keeps 19 bytes
// and its terminator, a value its first 10 bytes.
TEST(PhotoInfoWriteTest, FieldsAreCutToWhatTheFileStores) {
    PhotoInfo info;
    std::memcpy(info.dimensions.emplace_back().value, "-2147483648", 12);
    std::memset(info.notes.emplace_back().title, 'T', sizeof InfoNote::title);
    const QByteArray bytes = info.Serialize();
    EXPECT_EQ(bytes.mid(12 + 20, 10), QByteArray("-214748364"));
    EXPECT_EQ(bytes.mid(12 + 90 + 4, 24), I32(19) + QByteArray(19, 'T') + '\0');
}

// The exact output of --print-info is checked by tests/app/CommandLineTest.cpp:
// a control character, a byte without CP950 meaning, a quote and a lone lead
// byte still make valid JSON.
TEST(PhotoInfoJsonTest, StaysValidJsonWhateverBytesATextHolds) {
    PhotoInfo info;
    std::memcpy(info.dimensions.emplace_back().value, "1\x01\xFF\x22\xA4", 6);
    QByteArray json;
    ASSERT_TRUE(WritePhotoInfoJson(info, [&json](const QByteArray& piece) {
        json += piece;
        return true;
    }));
    QJsonParseError error{};
    QJsonDocument::fromJson(json, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << json.constData();
}

} // namespace
