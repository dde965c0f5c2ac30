// Exporting from files: where a picture may not go (its own photo or info
// file however spelt, a special file), and the export of many photos into
// one folder.

#include "common/DiskFaults.h"
#include "common/NonRegularFiles.h"
#include "common/Pictures.h"
#include "common/RecordBuilders.h"
#include "common/TestSupport.h"
#include "document/PhotoInfo.h"
#include "output/BatchExport.h"
#include "output/ExportTarget.h"

#include <QDir>
#include <unistd.h>

namespace {

// src/a.jpg with its info file, src/b.jpg without one, two/a.jpg; links and
// special files beside them.
class ExportFiles : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* folder : {"src/sub", "two", "out"})
            ASSERT_TRUE(QDir(dir.path()).mkpath(QString::fromLatin1(folder)));
        WriteJpeg(dir, "src/a.jpg", 64, 48);
        WriteJpeg(dir, "src/b.jpg", 40, 30, Qt::blue);
        WriteJpeg(dir, "two/a.jpg", 50, 50, Qt::green);
        PhotoInfo info;
        info.dimensions = {MakeDimension({5, 5}, {60, 40}, "3.5")};
        ASSERT_TRUE(WriteWholeFile(Path("src/a.dat"), info.Serialize()));
        ASSERT_TRUE(QFile::link(QStringLiteral("a.jpg"), Path("src/link.jpg")));
        ASSERT_TRUE(QFile::link(QStringLiteral("a.dat"), Path("src/link.dat")));
        ASSERT_EQ(
            ::link(QFile::encodeName(Path("src/a.jpg")), QFile::encodeName(Path("src/hard.jpg"))),
            0);
        ASSERT_TRUE(MakeFifo(Path("src/pipe.jpg")));
    }
    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    QTemporaryDir dir;
};

struct TargetCase {
    const char* photo;
    const char* out;
    const char* reason; // "" when the picture may go there
};

TEST_F(ExportFiles, TargetsThatAreTheInputsOrSpecialFilesAreRefused) {
    const TargetCase cases[] = {
        {"src/a.jpg", "src/a.jpg", "It is the photo itself."},
        {"src/a.jpg", "src/sub/../a.jpg", "It is the photo itself."},
        {"src/a.jpg", "src/link.jpg", "It is the photo itself."},
        {"src/a.jpg", "src/hard.jpg", "It is the photo itself."},
        {"src/link.jpg", "src/a.jpg", "It is the photo itself."},
        {"src/a.jpg", "src/a.dat", "It is the photo's info file."},
        {"src/a.jpg", "src/link.dat", "It is the photo's info file."},
        {"src/b.jpg", "src/sub/../b.dat", "It is the photo's info file."}, // not saved yet
        {"src/a.jpg", "src/pipe.jpg", "It is a named pipe, not a regular file."},
        {"src/a.jpg", "src/sub", "folder"},
        {"src/a.jpg", "src/b.jpg", ""},
        {"src/a.jpg", "out/a.jpg", ""},
    };
    for (const TargetCase& c : cases) {
        const QString refused = RefuseExportTarget(Path(c.photo), Path(c.out));
        EXPECT_EQ(refused.isEmpty(), !*c.reason) << c.out << ": " << refused.toStdString();
        EXPECT_TRUE(refused.contains(QString::fromUtf8(c.reason))) << c.out;
    }
}

// One photo's outcome in a run: "" written, "again" a repeat of an earlier
// photo, else part of the reason it was not written.
struct BatchCase {
    const char* name;
    const char* outDir;
    std::vector<const char*> photos;
    bool overwrite;
    std::vector<const char*> outcomes;
};
void PrintTo(const BatchCase& c, std::ostream* os) {
    *os << c.name;
}

class BatchExport : public ExportFiles, public ::testing::WithParamInterface<BatchCase> {};

TEST_P(BatchExport, WritesEveryPhotoItMayAndSaysWhyNotTheOthers) {
    const BatchCase& c = GetParam();
    ASSERT_TRUE(WriteWholeFile(Path("out/b.jpg"), "mine"));
    QStringList photos;
    for (const char* photo : c.photos)
        photos << Path(photo);
    BatchExportOptions options;
    options.overwrite = c.overwrite;
    const auto items = ExportPhotoFiles(photos, Path(c.outDir), options);
    ASSERT_EQ(items.size(), c.outcomes.size());
    for (size_t i = 0; i < items.size(); ++i) {
        const std::string outcome = c.outcomes[i];
        const BatchExportItem& item = items[i];
        EXPECT_EQ(item.repeatOf >= 0, outcome == "again") << i;
        if (outcome == "again")
            continue;
        EXPECT_TRUE(item.result.detail.contains(QString::fromStdString(outcome)))
            << i << ": " << item.result.detail.toStdString();
        EXPECT_EQ(item.result.Succeeded(), outcome.empty()) << i;
        if (!outcome.empty())
            continue;
        // Exactly what the one-photo export writes.
        const QString single = Path("single.jpg");
        ASSERT_TRUE(ExportPhotoFile(item.photo, single).Succeeded());
        EXPECT_EQ(ReadWholeFile(item.out), ReadWholeFile(single)) << i;
    }
    if (!c.overwrite) {
        EXPECT_EQ(ReadWholeFile(Path("out/b.jpg")), QByteArray("mine"));
    }
    EXPECT_TRUE(ReadWholeFile(Path("src/a.jpg")).startsWith("\xFF\xD8"));
}

INSTANTIATE_TEST_SUITE_P(
    Runs, BatchExport,
    ::testing::Values(
        BatchCase{"AFailureAmongGoodOnes",
                  "out",
                  {"src/a.jpg", "src/gone.jpg", "two/a.jpg"},
                  false,
                  {"", "The file does not exist.", "an earlier photo of the same name"}},
        BatchCase{"AnExistingFileStays",
                  "out",
                  {"src/b.jpg", "src/a.jpg"},
                  false,
                  {"exists already (--force replaces it)", ""}},
        BatchCase{"ForceReplacesIt", "out", {"src/b.jpg"}, true, {""}},
        BatchCase{"NeverOverAnInputEvenForced",
                  "src",
                  {"two/a.jpg", "src/a.jpg"},
                  true,
                  {"src/a.jpg, another input of this run", "It is the photo itself."}},
        BatchCase{"OnePhotoTwoSpellings",
                  "out",
                  {"src/a.jpg", "src/sub/../a.jpg"},
                  false,
                  {"", "again"}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
