// The one reading of a photo's info file that the window, the export and the
// print command share: what it finds beside the photo, and what it leaves in
// the document.
#include "document/InfoFileRead.h"
#include "common/TestSupport.h"
#include "document/InfoFileBuilder.h"
#include "document/PhotoInfo.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

namespace {

enum class Beside { Nothing, File, Folder };

struct InfoFileCase {
    const char* name;
    Beside beside;
    QByteArray bytes;
    InfoFileOutcome outcome;
    size_t notes; // read into the document
};

void PrintTo(const InfoFileCase& c, std::ostream* os) {
    *os << c.name;
}

class InfoFileReadTest : public ::testing::TestWithParam<InfoFileCase> {};

TEST_P(InfoFileReadTest, TellsWhatLiesBesideThePhotoAndKeepsOnlyACompleteRead) {
    const InfoFileCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString photo = dir.filePath(QStringLiteral("kitchen.jpg"));
    const QString dat = dir.filePath(QStringLiteral("kitchen.dat"));
    if (c.beside == Beside::File) {
        ASSERT_TRUE(WriteWholeFile(dat, c.bytes));
    } else if (c.beside == Beside::Folder) {
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("kitchen.dat")));
    }

    // Records of an earlier photo never survive the read.
    PhotoInfo info;
    info.notes.resize(3);
    info.dimensions.resize(2);
    const InfoFileRead read = ReadInfoFileOfPhoto(photo, info);
    EXPECT_EQ(read.outcome, c.outcome);
    EXPECT_EQ(read.path, dat);
    EXPECT_EQ(info.notes.size(), c.notes);
    EXPECT_EQ(info.dimensions.size(), c.outcome == InfoFileOutcome::Read ? 3u : 0u);
    // Only a file that is there and cannot be opened comes with the system's reason.
    EXPECT_EQ(read.reason.isEmpty(), c.outcome != InfoFileOutcome::Unreadable)
        << read.reason.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, InfoFileReadTest,
    ::testing::Values(InfoFileCase{"no file", Beside::Nothing, {}, InfoFileOutcome::Missing, 0},
                      InfoFileCase{"complete", Beside::File, SampleFile(), InfoFileOutcome::Read,
                                   2},
                      InfoFileCase{"cut short", Beside::File, SampleFile().chopped(1),
                                   InfoFileOutcome::Damaged, 0},
                      InfoFileCase{"another kind of file", Beside::File, "GIF89a",
                                   InfoFileOutcome::NotInfoFile, 0},
                      InfoFileCase{"a folder", Beside::Folder, {}, InfoFileOutcome::Unreadable, 0}),
    [](const auto& info) {
        QString name = QString::fromLatin1(info.param.name);
        name.replace(QLatin1Char(' '), QLatin1Char('_'));
        return name.toStdString();
    });

} // namespace
