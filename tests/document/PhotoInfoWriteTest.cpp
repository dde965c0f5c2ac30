#include "common/TestSupport.h"
#include "document/InfoFileBuilder.h"
#include "document/PhotoInfo.h"
#include "platform/Cp950.h"

#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QByteArray Cp950(const char* utf8) {
    return cp950::FromQString(QString::fromUtf8(utf8));
}

Dimension MakeDimension(COLORREF colour, POINT start, POINT end, const char* value,
                        const LOGFONTA& font = DefaultLogFont()) {
    Dimension dim;
    dim.colour = colour;
    dim.start = start;
    dim.end = end;
    cp950::CopyToField(dim.value, Cp950(value));
    dim.font = font;
    return dim;
}

InfoNote MakeNote(const char* title, POINT anchor, const char* text,
                  const LOGFONTA& font = DefaultLogFont()) {
    InfoNote note;
    cp950::CopyToField(note.title, Cp950(title));
    note.anchor = anchor;
    cp950::CopyToField(note.text, Cp950(text));
    note.font = font;
    return note;
}

PhotoInfo SampleDocument() {
    PhotoInfo info;
    info.dimensions.push_back(MakeDimension(RGB(255, 0, 0), {10, 20}, {300, 20}, "3.25"));
    info.dimensions.push_back(
        MakeDimension(RGB(1, 2, 3), {0, 100}, {0, 500}, "約2米", UnusualFont()));
    info.dimensions.push_back(MakeDimension(0, {-7, 7}, {-7, 7}, ""));
    info.notes.push_back(MakeNote("廚房", {120, 80}, "窗戶東面\n寬 3 米", UnusualFont()));
    info.notes.push_back(MakeNote("新信息", {-5, 9}, ""));
    return info;
}

TEST(PhotoInfoWriteTest, AnEmptyDocumentIsSixteenBytes) {
    EXPECT_EQ(PhotoInfo().Serialize().toHex(' '),
              QByteArray("4b 5a 52 00 08 00 01 00 00 00 00 00 00 00 00 00"));
}

TEST(PhotoInfoWriteTest, WritesTheNewestLayoutByteForByte) {
    const PhotoInfo info = SampleDocument();
    InfoFileBuilder expected(0x00010008);
    expected.I32(3);
    for (const Dimension& d : info.dimensions)
        expected.Dimension(d.colour, d.start, d.end, cp950::FieldBytes(d.value), 0, d.font);
    expected.I32(2);
    for (const InfoNote& n : info.notes)
        expected.Note(cp950::FieldBytes(n.title), n.anchor, cp950::FieldBytes(n.text), n.font);
    const QByteArray bytes = info.Serialize();
    EXPECT_EQ(bytes.left(8).toHex(' '), QByteArray("4b 5a 52 00 08 00 01 00"));
    EXPECT_EQ(bytes.toHex(), expected.Bytes().toHex());
}

TEST(PhotoInfoWriteTest, KeepsOnlyTheFirstTenBytesOfAValue) {
    PhotoInfo info;
    info.dimensions.push_back(MakeDimension(0, {}, {1, 0}, "-2147483648"));
    const QByteArray bytes = info.Serialize();
    EXPECT_EQ(bytes.mid(12 + 20, 10), QByteArray("-214748364"));
    EXPECT_EQ(bytes.size(), 16 + 90);
    PhotoInfo reread;
    ASSERT_EQ(reread.ReadBytes(bytes.constData(), bytes.size()), InfoReadStatus::Read);
    EXPECT_EQ(QByteArray(reread.dimensions[0].value), QByteArray("-214748364"));
}

TEST(PhotoInfoWriteTest, AnUnterminatedFieldInMemoryIsWrittenTerminatedInsideTheField) {
    PhotoInfo info;
    InfoNote note;
    std::memset(note.title, 'T', sizeof note.title);
    info.notes.push_back(note);
    const QByteArray bytes = info.Serialize();
    // L = 19, then 19 bytes and the terminator
    EXPECT_EQ(bytes.mid(16, 4).toHex(), QByteArray("13000000"));
    EXPECT_EQ(bytes.mid(20, 20), QByteArray(19, 'T') + QByteArray(1, '\0'));
}

TEST(PhotoInfoWriteTest, SaveThenLoadGivesTheSameRecordsInTheSameOrder) {
    QTemporaryDir dir;
    const QString path = dir.filePath("kitchen.dat");
    const PhotoInfo saved = SampleDocument();
    ASSERT_EQ(saved.SaveToFile(path), 1) << saved.LastSaveError().toStdString();
    PhotoInfo loaded;
    ASSERT_EQ(loaded.LoadFromFile(path), 1);
    // The second dimension pointed downwards and comes back pointing upwards.
    PhotoInfo expected = SampleDocument();
    NormalizeDimensionEnds(expected.dimensions[1]);
    EXPECT_EQ(expected.dimensions[1].start, (POINT{0, 500}));
    EXPECT_TRUE(loaded.dimensions == expected.dimensions);
    EXPECT_TRUE(loaded.notes == saved.notes);
}

TEST(PhotoInfoWriteTest, SavingReplacesALongerOldFileCompletely) {
    QTemporaryDir dir;
    const QString path = dir.filePath("kitchen.dat");
    ASSERT_TRUE(WriteWholeFile(path, SampleDocument().Serialize() + QByteArray(5000, 'x')));
    PhotoInfo empty;
    ASSERT_EQ(empty.SaveToFile(path), 1);
    EXPECT_EQ(ReadWholeFile(path), PhotoInfo().Serialize());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"kitchen.dat"});
}

struct SaveFailure {
    const char* name;
    // Prepares the folder and returns the path to save to.
    QString (*prepare)(const QTemporaryDir& dir);
};

class SaveFailureTest : public ::testing::TestWithParam<SaveFailure> {};

TEST_P(SaveFailureTest, ReturnsZeroWithAReasonAndLeavesTheFolderAsItWas) {
    QTemporaryDir dir;
    const QString target = GetParam().prepare(dir);
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    const PhotoInfo info = SampleDocument();
    EXPECT_EQ(info.SaveToFile(target), 0);
    EXPECT_FALSE(info.LastSaveError().isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

INSTANTIATE_TEST_SUITE_P(Targets, SaveFailureTest,
                         ::testing::Values(SaveFailure{"FolderDoesNotExist",
                                                       [](const QTemporaryDir& dir) {
                                                           return dir.filePath("gone/kitchen.dat");
                                                       }},
                                           SaveFailure{"FolderIsAFile",
                                                       [](const QTemporaryDir& dir) {
                                                           WriteWholeFile(dir.filePath("plain"),
                                                                          "x");
                                                           return dir.filePath("plain/kitchen.dat");
                                                       }},
                                           SaveFailure{"TargetIsAFolder",
                                                       [](const QTemporaryDir& dir) {
                                                           QDir(dir.path()).mkdir("kitchen.dat");
                                                           return dir.filePath("kitchen.dat");
                                                       }}),
                         [](const ::testing::TestParamInfo<SaveFailure>& info) {
                             return info.param.name;
                         });

TEST(PhotoInfoWriteTest, AFolderWithoutWritePermissionKeepsTheOldFile) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    QTemporaryDir dir;
    const QString path = dir.filePath("kitchen.dat");
    ASSERT_TRUE(WriteWholeFile(path, "old content"));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const PhotoInfo info = SampleDocument();
    EXPECT_EQ(info.SaveToFile(path), 0);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(ReadWholeFile(path), QByteArray("old content"));
}

// A write that fails half-way (here: the file size limit of the process, which
// binds every user) must not touch the old file.
TEST(PhotoInfoWriteTest, AWriteFailingHalfWayKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("kitchen.dat");
    ASSERT_TRUE(WriteWholeFile(path, "old content"));
    PhotoInfo big;
    for (int i = 0; i < 200; ++i)
        big.notes.push_back(SampleDocument().notes[0]);

    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int result = big.SaveToFile(path);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(result, 0);
    EXPECT_FALSE(big.LastSaveError().isEmpty());
    EXPECT_EQ(ReadWholeFile(path), QByteArray("old content"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"kitchen.dat"});
}

} // namespace
