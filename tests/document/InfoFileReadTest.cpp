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

struct InfoFileCase {
    const char* name;
    Beside beside;
    QByteArray bytes;
    InfoReadStatus status;
    InfoFileOutcome outcome;
    int loaded;         // what LoadFromFile says
    const char* reason; // a part of the reason given; "" for none
    size_t notes;       // read into the document
};

void PrintTo(const InfoFileCase& c, std::ostream* os) {
    *os << c.name;
}

bool Place(Beside beside, const QString& path, const QByteArray& bytes) {
    switch (beside) {
    case Beside::Nothing:
        return true;
    case Beside::File:
        return WriteWholeFile(path, bytes);
    case Beside::HugeFile: // above one gibibyte, sparse
        return WriteWholeFile(path, bytes) && QFile::resize(path, (qint64(1) << 30) + 1);
    case Beside::Folder:
        return QDir().mkdir(path);
    case Beside::Pipe:
        return MakeFifo(path);
    }
    return false;
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
    const InfoFileRead read = ReadInfoFileOfPhoto(photo, info);
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
    ::testing::Values(InfoFileCase{"no_file",
                                   Beside::Nothing,
                                   {},
                                   InfoReadStatus::Missing,
                                   InfoFileOutcome::Missing,
                                   1,
                                   "",
                                   0},
                      InfoFileCase{"complete", Beside::File, SampleFile(), InfoReadStatus::Read,
                                   InfoFileOutcome::Read, 1, "", 2},
                      InfoFileCase{"cut_short", Beside::File, SampleFile().chopped(1),
                                   InfoReadStatus::Damaged, InfoFileOutcome::Damaged, 0, "", 0},
                      InfoFileCase{"another_kind_of_file", Beside::File,
                                   "KZR1" + SampleFile().mid(4), InfoReadStatus::NotInfoFile,
                                   InfoFileOutcome::NotInfoFile, 0, "", 0},
                      InfoFileCase{"over_a_gibibyte", Beside::HugeFile,
                                   Header(V8) + I32(0) + I32(0), InfoReadStatus::TooLarge,
                                   InfoFileOutcome::TooLarge, 0, "too large", 0},
                      InfoFileCase{"named_pipe",
                                   Beside::Pipe,
                                   {},
                                   InfoReadStatus::Unreadable,
                                   InfoFileOutcome::Unreadable,
                                   1,
                                   "named pipe, not a photo-info file",
                                   0},
                      InfoFileCase{"folder",
                                   Beside::Folder,
                                   {},
                                   InfoReadStatus::Unreadable,
                                   InfoFileOutcome::Unreadable,
                                   1,
                                   "folder, not a photo-info file",
                                   0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
