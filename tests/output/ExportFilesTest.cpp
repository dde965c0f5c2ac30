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
        {"src/a.jpg", "src/link.jpg", "It is the photo itself."},
        {"src/a.jpg", "src/hard.jpg", "It is the photo itself."},
        {"src/link.jpg", "src/a.jpg", "It is the photo itself."},
        {"src/a.jpg", "src/a.dat", "It is the photo's info file."},
        {"src/a.jpg", "src/link.dat", "It is the photo's info file."},
        {"src/b.jpg", "src/sub/../b.dat", "It is the photo's info file."}, // not saved yet
        {"src/a.jpg", "src/pipe.jpg", "It is a named pipe, not a regular file."},
        {"src/a.jpg", "src/sub", "folder"},
        {"src/a.jpg", "src/b.jpg", ""},
    };
    for (const TargetCase& c : cases) {
        const QString refused = RefuseExportTarget(Path(c.photo), Path(c.out));
        EXPECT_EQ(refused.isEmpty(), !*c.reason) << c.out << ": " << refused.toStdString();
        EXPECT_TRUE(refused.contains(QString::fromUtf8(c.reason))) << c.out;
    }
}

// Each photo's outcome in a run: "" written (exactly what the one-photo
// export writes), "again" a repeat of an earlier photo, else part of the
// reason it was not written. The folder holds a file out/b.jpg of its own.
TEST_F(ExportFiles, ManyPhotosAreWrittenWhereTheyMayAndTheOthersSayWhy) {
    const struct {
        const char* outDir;
        std::vector<const char*> photos;
        bool overwrite;
        std::vector<const char*> outcomes;
    } runs[] = {
        {"out",
         {"src/a.jpg", "src/gone.jpg", "two/a.jpg"},
         false,
         {"", "The file does not exist.", "an earlier photo of the same name"}},
        {"out", {"src/b.jpg", "src/a.jpg"}, false, {"exists already (--force replaces it)", ""}},
        {"out", {"src/b.jpg"}, true, {""}},
        {"src",
         {"two/a.jpg", "src/a.jpg"},
         true,
         {"src/a.jpg, another input of this run", "the photo itself"}},
        {"out", {"src/a.jpg", "src/sub/../a.jpg"}, false, {"", "again"}},
    };
    for (const auto& run : runs) {
        ASSERT_TRUE(QDir(Path("out")).removeRecursively() && QDir(dir.path()).mkdir("out"));
        ASSERT_TRUE(WriteWholeFile(Path("out/b.jpg"), "mine"));
        QStringList photos;
        for (const char* photo : run.photos)
            photos << Path(photo);
        BatchExportOptions options;
        options.overwrite = run.overwrite;
        const auto items = ExportPhotoFiles(photos, Path(run.outDir), options);
        ASSERT_EQ(items.size(), run.outcomes.size());
        for (size_t i = 0; i < items.size(); ++i) {
            const QString outcome = QString::fromUtf8(run.outcomes[i]),
                          detail = items[i].result.detail;
            EXPECT_EQ(items[i].repeatOf >= 0, outcome == "again") << run.photos[i];
            EXPECT_EQ(items[i].result.Succeeded(), outcome.isEmpty() || outcome == "again")
                << run.photos[i];
            EXPECT_TRUE(outcome == "again" || detail.contains(outcome)) << detail.toStdString();
            if (outcome.isEmpty()) {
                ASSERT_TRUE(ExportPhotoFile(photos[int(i)], Path("single.jpg")).Succeeded());
                EXPECT_EQ(ReadWholeFile(items[i].out), ReadWholeFile(Path("single.jpg")))
                    << run.photos[i];
            }
        }
        if (!run.overwrite) {
            EXPECT_EQ(ReadWholeFile(Path("out/b.jpg")), "mine");
        }
    }
    EXPECT_TRUE(ReadWholeFile(Path("src/a.jpg")).startsWith("\xFF\xD8"));
}

} // namespace
