// The extension block after the last note: the reference length and plane,
// unknown tags kept, damaged blocks losing only the reference, and files
// without a reference byte for byte as before.

#include "document/InfoFileExtension.h"
#include "document/InfoFileBuilder.h"
#include "document/PhotoInfo.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

QByteArray U32(uint32_t v) {
    return I32(int32_t(v));
}

QByteArray F64(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    const uint64_t little = qToLittleEndian(bits);
    return QByteArray(reinterpret_cast<const char*>(&little), 8);
}

QByteArray Tag(const char* fourcc, const QByteArray& payload) {
    return QByteArray(fourcc, 4) + U32(uint32_t(payload.size())) + payload;
}

QByteArray Block(const QByteArray& tags, uint32_t version = 1) {
    return QByteArray("TSMREXT\0", 8) + U32(version) + U32(uint32_t(tags.size())) + tags;
}

QByteArray PlanePayload(double width = 800, double height = 2000) {
    return I32(100) + I32(50) + I32(700) + I32(80) + I32(690) + I32(1400) + I32(110) + I32(1450) +
           F64(width) + F64(height);
}

// Two dimensions and one note, built independently of the writer.
QByteArray Records() {
    return Header(V8) + I32(2) + DimensionBytes(V8, 0xFF, {10, 10}, {410, 10}, "800") +
           DimensionBytes(V8, 0xFF, {10, 90}, {300, 95}, "") + I32(1) +
           NoteBytes(V8, Cp950("門"), {5, 5}, "x");
}

// A block is read by its tags, unknown ones kept, and written back byte for
// byte; a later block version is read by its tags all the same.
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
                 {Block(Tag("RLEN", I32(1)) + Tag("NEW!", "abc"), 2), 1, false, 1, false}};
    for (const auto& c : cases) {
        const QByteArray file = Records() + c.block;
        PhotoInfo info;
        ASSERT_EQ(ReadInto(info, file), InfoReadStatus::Read);
        EXPECT_FALSE(info.ReferenceDamaged());
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
    // Changing what this version knows keeps the unknown tags after it.
    PhotoInfo withUnknown;
    ASSERT_EQ(ReadInto(withUnknown, Records() + cases[1].block), InfoReadStatus::Read);
    withUnknown.reference.dimension = -1;
    EXPECT_EQ(withUnknown.Serialize(), Records() + Block(unknown));
}

TEST(InfoFileExtension, AFileWithoutAReferenceEndsAtItsLastNote) {
    PhotoInfo info;
    ASSERT_EQ(ReadInto(info, Records()), InfoReadStatus::Read);
    EXPECT_EQ(info.Serialize(), Records());
    // A reference set and taken away again leaves no block behind.
    info.reference.dimension = 0;
    EXPECT_NE(info.Serialize(), Records());
    info.reference.dimension = -1;
    EXPECT_EQ(info.Serialize(), Records());
}

TEST(InfoFileExtension, OtherBytesAfterTheLastNoteAreIgnoredAsBefore) {
    PhotoInfo info;
    EXPECT_EQ(ReadInto(info, Records() + QByteArray("TSMRsomething else")), InfoReadStatus::Read);
    EXPECT_FALSE(info.ReferenceDamaged());
    EXPECT_FALSE(info.reference.HasReference());
    EXPECT_EQ(info.dimensions.size(), 2u);
}

struct DamagedCase {
    const char* name;
    QByteArray block;
};

class DamagedExtension : public testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedExtension, KeepsTheRecordsAndLosesOnlyTheReference) {
    PhotoInfo info;
    EXPECT_EQ(ReadInto(info, Records() + GetParam().block), InfoReadStatus::Read);
    EXPECT_TRUE(info.ReferenceDamaged());
    EXPECT_FALSE(info.reference.HasReference());
    EXPECT_TRUE(info.reference.unknownTags.empty());
    EXPECT_EQ(info.dimensions.size(), 2u);
    EXPECT_EQ(info.notes.size(), 1u);
    // The next good file read clears the mark.
    EXPECT_EQ(ReadInto(info, Records()), InfoReadStatus::Read);
    EXPECT_FALSE(info.ReferenceDamaged());
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, DamagedExtension,
    testing::Values(
        DamagedCase{"OnlyTheMagic", QByteArray("TSMREXT\0", 8)},
        DamagedCase{"LengthBeyondTheFile", Block(Tag("RLEN", I32(0))).chopped(1)},
        DamagedCase{"TagLongerThanTheBlock", QByteArray("TSMREXT\0", 8) + U32(1) + U32(12) +
                                                 QByteArray("RLEN", 4) + U32(40) + I32(0)},
        DamagedCase{"ReferenceToNoDimension", Block(Tag("RLEN", I32(2)))},
        DamagedCase{"NegativeReference", Block(Tag("RLEN", I32(-1)))},
        DamagedCase{"PlaneOfTheWrongSize", Block(Tag("RPLN", PlanePayload().chopped(8)))},
        DamagedCase{"PlaneWithoutWidth", Block(Tag("RPLN", PlanePayload(0, 2000)))},
        DamagedCase{"PlaneOfNanHeight", Block(Tag("RPLN", PlanePayload(800, NAN)))},
        DamagedCase{"TwoReferences", Block(Tag("RLEN", I32(0)) + Tag("RLEN", I32(1)))},
        DamagedCase{"VersionZero", Block(Tag("RLEN", I32(0)), 0)}),
    [](const testing::TestParamInfo<DamagedCase>& info) { return info.param.name; });

} // namespace
