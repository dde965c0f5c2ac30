// Reading the info file beside a photo: the one reading the window, the
// export and the print command share, over the reader's own statuses, and
// what it leaves in the document.
#include "document/InfoFileRead.h"
#include "common/NonRegularFiles.h"
#include "common/TestSupport.h"
#include "document/InfoFileBuilder.h"
#include "document/PhotoInfo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

namespace {

enum class Beside { Nothing, File, HugeFile, Folder, Pipe };

using S = InfoReadStatus;
using O = InfoFileOutcome;

struct InfoFileCase {
    const char* name;
    Beside beside;
    S status;
    O outcome;
    int loaded;         // what LoadFromFile says
    size_t notes;       // read into the document
    const char* reason; // a part of the reason given; "" for none
    QByteArray bytes = {};
};

void PrintTo(const InfoFileCase& c, std::ostream* os) {
    *os << c.name;
}

bool Place(Beside beside, const QString& path, const QByteArray& bytes) {
    if (beside == Beside::Folder || beside == Beside::Pipe)
        return beside == Beside::Folder ? QDir().mkdir(path) : MakeFifo(path);
    if (beside == Beside::HugeFile) // above one gibibyte, sparse
        return WriteWholeFile(path, bytes) && QFile::resize(path, (qint64(1) << 30) + 1);
    return beside == Beside::Nothing || WriteWholeFile(path, bytes);
}

class InfoFileReadTest : public ::testing::TestWithParam<InfoFileCase> {};

TEST_P(InfoFileReadTest, TellsWhatLiesBesideThePhotoAndKeepsOnlyACompleteRead) {
    const InfoFileCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString photo = dir.filePath(QStringLiteral("kitchen.jpg"));
    const QString dat = dir.filePath(QStringLiteral("kitchen.dat"));
    ASSERT_TRUE(Place(c.beside, dat, c.bytes));
    const FifoWatchdog watchdog({dat});

    PhotoInfo direct;
    EXPECT_EQ(direct.Read(dat), c.status);
    EXPECT_TRUE(direct.LastReadError().contains(QLatin1String(c.reason)))
        << direct.LastReadError().toStdString();
    EXPECT_EQ(PhotoInfo().LoadFromFile(dat), c.loaded);

    // Records of an earlier photo never survive the read.
    PhotoInfo info;
    info.notes.resize(3);
    info.dimensions.resize(2);
    const InfoFileRead read = ReadInfoFile(InfoFilePathFor(photo), info);
    EXPECT_EQ(read.outcome, c.outcome);
    EXPECT_EQ(read.path, dat);
    EXPECT_EQ(info.notes.size(), c.notes);
    EXPECT_EQ(info.dimensions.size(), c.outcome == InfoFileOutcome::Read ? 3u : 0u);
    // Only a file that is there and cannot be read whole comes with a reason.
    EXPECT_TRUE(read.reason.contains(QLatin1String(c.reason))) << read.reason.toStdString();
    EXPECT_EQ(read.reason.isEmpty(), !*c.reason) << read.reason.toStdString();
    EXPECT_FALSE(watchdog.Fired());
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, InfoFileReadTest,
    ::testing::Values(InfoFileCase{"no_file", Beside::Nothing, S::Missing, O::Missing, 1, 0, ""},
                      InfoFileCase{"complete", Beside::File, S::Read, O::Read, 1, 2, "",
                                   SampleFile()},
                      InfoFileCase{"cut_short", Beside::File, S::Damaged, O::Damaged, 0, 0, "",
                                   SampleFile().chopped(1)},
                      InfoFileCase{"another_kind_of_file", Beside::File, S::NotInfoFile,
                                   O::NotInfoFile, 0, 0, "", "KZR1" + SampleFile().mid(4)},
                      InfoFileCase{"over_a_gibibyte", Beside::HugeFile, S::TooLarge, O::TooLarge, 0,
                                   0, "too large", Header(V8) + I32(0) + I32(0)},
                      InfoFileCase{"named_pipe", Beside::Pipe, S::Unreadable, O::Unreadable, 1, 0,
                                   "named pipe, not a photo-info file"},
                      InfoFileCase{"folder", Beside::Folder, S::Unreadable, O::Unreadable, 1, 0,
                                   "folder, not a photo-info file"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InfoFilePathForTest, ReplacesTheExtensionOfTheFileNameOnly) {
    const std::pair<const char*, const char*> paths[] = {
        {"D:\\rooms\\flat.2.jpeg", "D:\\rooms\\flat.2.dat"},
        {"D:\\my.rooms\\kitchen", "D:\\my.rooms\\kitchen.dat"},
        {"/home/ann/my.rooms/kitchen", "/home/ann/my.rooms/kitchen.dat"},
        {"/home/ann/my.rooms/廚房.JPG", "/home/ann/my.rooms/廚房.dat"}};
    for (const auto& [photo, info] : paths)
        EXPECT_EQ(InfoFilePathFor(QString::fromUtf8(photo)), QString::fromUtf8(info)) << photo;
}

} // namespace
