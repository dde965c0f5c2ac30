#include "common/TestSupport.h"
#include "document/InfoFileBuilder.h"
#include "document/PhotoInfo.h"
#include "document/PhotoInfoJson.h"

#include <QDir>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

PhotoInfo Sample() {
    PhotoInfo info;
    const QByteArray file = SampleFile();
    EXPECT_EQ(info.ReadBytes(file.constData(), size_t(file.size())), InfoReadStatus::Read);
    return info;
}

TEST(PhotoInfoWriteTest, SavesTheNewestLayoutByteForByteAndLoadsItBack) {
    EXPECT_EQ(PhotoInfo().Serialize().toHex(' '),
              QByteArray("4b 5a 52 00 08 00 01 00 00 00 00 00 00 00 00 00"));
    QTemporaryDir dir;
    const QString path = dir.filePath("kitchen.dat");
    ASSERT_TRUE(WriteWholeFile(path, QByteArray(5000, 'x'))); // replaced whole
    const PhotoInfo saved = Sample();
    ASSERT_EQ(saved.SaveToFile(path), 1) << saved.LastSaveError().toStdString();
    EXPECT_EQ(ReadWholeFile(path).toHex(), SampleFile().toHex());
    PhotoInfo loaded;
    ASSERT_EQ(loaded.LoadFromFile(path), 1);
    EXPECT_TRUE(loaded.dimensions == saved.dimensions && loaded.notes == saved.notes);
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

// A folder where the file should be, a missing folder, a write failing half
// way: 0 with a reason, and the folder holds just what it held.
TEST(PhotoInfoWriteTest, AFailedSaveKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("kitchen.dat");
    ASSERT_TRUE(WriteWholeFile(path, "old content"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.dat"));
    PhotoInfo big;
    big.notes.assign(200, Sample().notes[0]);
    for (const char* target : {"folder.dat", "gone/kitchen.dat"}) {
        EXPECT_EQ(big.SaveToFile(dir.filePath(target)), 0) << target;
        EXPECT_FALSE(big.LastSaveError().isEmpty()) << target;
    }
    // The file size limit of the process binds every user, the superuser too.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const rlimit small{4096, old.rlim_max};
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int result = big.SaveToFile(path);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadWholeFile(path), QByteArray("old content"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              (QStringList{"folder.dat", "kitchen.dat"}));
    EXPECT_TRUE(QDir(dir.filePath("folder.dat")).isEmpty());
}

// The exact output of --print-info is checked by tests/cli/print_info.cmake.
TEST(PhotoInfoJsonTest, StaysValidJsonWhateverBytesATextHolds) {
    PhotoInfo info;
    // a control character, a byte without CP950 meaning, a quote, a lone lead byte
    std::memcpy(info.dimensions.emplace_back().value, "1\x01\xFF\x22\xA4", 6);
    const QByteArray json = PhotoInfoToJson(info);
    QJsonParseError error{};
    QJsonDocument::fromJson(json, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << json.constData();
    EXPECT_FALSE(json.contains('\x01')) << json.constData();
}

} // namespace
