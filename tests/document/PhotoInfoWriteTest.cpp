#include "common/DiskFaults.h"
#include "common/TestSupport.h"
#include "document/InfoFileBuilder.h"
#include "document/PhotoInfo.h"
#include "document/PhotoInfoJson.h"

#include <QJsonDocument>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

namespace {

TEST(PhotoInfoWriteTest, SavesTheNewestLayoutByteForByteAndLoadsItBack) {
    EXPECT_EQ(PhotoInfo().Serialize().toHex(' '),
              QByteArray("4b 5a 52 00 08 00 01 00 00 00 00 00 00 00 00 00"));
    QTemporaryDir dir;
    const QString path = dir.filePath("kitchen.dat");
    ASSERT_TRUE(WriteWholeFile(path, QByteArray(5000, 'x'))); // replaced whole
    PhotoInfo saved;
    ASSERT_EQ(ReadInto(saved, SampleFile()), InfoReadStatus::Read);
    ASSERT_EQ(saved.SaveToFile(path), 1) << saved.LastSaveError().toStdString();
    EXPECT_EQ(ReadWholeFile(path).toHex(), SampleFile().toHex());
    PhotoInfo loaded;
    ASSERT_EQ(loaded.LoadFromFile(path), 1);
    EXPECT_TRUE(loaded.dimensions == saved.dimensions && loaded.notes == saved.notes);
}

// The save goes through the durable writer, whose disk faults are tested
// with it (tests/platform/DurableFileTest.cpp): a save the disk refuses
// fails with the system's reason and keeps the old file.
TEST(PhotoInfoWriteTest, ADiskThatGivesOutFailsWithTheReasonAndKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kitchen.dat"));
    ASSERT_TRUE(WriteWholeFile(path, PhotoInfo().Serialize()));
    PhotoInfo info;
    for (int i = 0; i < 100; ++i)
        std::memset(info.notes.emplace_back(MakeNewNote({i, i}, DefaultLogFont())).text, 'a', 200);
    {
        FileSizeLimit limit(rlim_t(16 * 1024));
        ASSERT_TRUE(limit.IsSet());
        EXPECT_EQ(info.SaveToFile(path), 0);
    }
    EXPECT_TRUE(info.LastSaveError().contains(QLatin1String("File too large")))
        << info.LastSaveError().toStdString();
    EXPECT_EQ(ReadWholeFile(path), PhotoInfo().Serialize());
    EXPECT_EQ(NamesIn(dir.path()), QStringList{"kitchen.dat"});
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

// The exact output of --print-info is checked by tests/cli/print_info.cmake.
TEST(PhotoInfoJsonTest, StaysValidJsonWhateverBytesATextHolds) {
    PhotoInfo info;
    // a control character, a byte without CP950 meaning, a quote, a lone lead byte
    std::memcpy(info.dimensions.emplace_back().value, "1\x01\xFF\x22\xA4", 6);
    QByteArray json;
    ASSERT_TRUE(WritePhotoInfoJson(info, [&json](const QByteArray& piece) {
        json += piece;
        return true;
    }));
    QJsonParseError error{};
    QJsonDocument::fromJson(json, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << json.constData();
    EXPECT_FALSE(json.contains('\x01')) << json.constData();
}

} // namespace
