// The command-line program run as a child process on files that are not what
// they seem: named pipes, names that are not UTF-8, photo-info files whose
// records would take gigabytes. Each must be refused at once, with a line
// that says why, in bounded memory.

#include "common/DiskFaults.h"
#include "common/NonRegularFiles.h"
#include "common/TestSupport.h"
#include "document/PhotoInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstdio>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

const QByteArray kProgram = TESSAMAR_PROGRAM;
const QByteArray kBig5Name = "\xab\xc8\xc6U"; // 客廳 in Big5: not UTF-8

QByteArray I32(int32_t value) {
    const int32_t little = qToLittleEndian(value);
    return QByteArray(reinterpret_cast<const char*>(&little), 4);
}

// An old-layout file (version 0x00010005) of `dims` dimensions and `notes`
// notes, every one all zeros (24 and 18 bytes), written sparse: a hole the
// file system does not store.
bool WriteZeroRecords(const QString& path, int32_t dims, int32_t notes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const qint64 notesAt = 12 + qint64(dims) * 24;
    return file.write(QByteArray("KZR\0", 4) + I32(0x00010005) + I32(dims)) == 12 &&
           file.seek(notesAt) && file.write(I32(notes)) == 4 &&
           file.resize(notesAt + 4 + qint64(notes) * 18);
}

// A copy of `from` under a name given as the bytes the file system stores.
bool CopyToRawName(const QString& from, const QByteArray& to) {
    const QByteArray bytes = ReadWholeFile(from);
    FILE* file = std::fopen(to.constData(), "wb");
    if (!file)
        return false;
    const bool written =
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file) == size_t(bytes.size());
    return std::fclose(file) == 0 && written && !bytes.isEmpty();
}

class CommandLineFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(
            QFile::copy(SourcePath(QStringLiteral("samples/living-room.jpg")), Path("room.jpg")));
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    QByteArray Arg(const QString& name) const { return QFile::encodeName(Path(name)); }
    ChildRun Run(const std::vector<QByteArray>& args) { return RunChild(kProgram, args, 30); }

    QTemporaryDir dir;
};

// Every mode refuses a named pipe at once, as the photo or as its info file,
// and says what it is; the window (drawn by --screenshot) still opens the
// photo and tells of its info file.
TEST_F(CommandLineFilesTest, NamedPipesAreRefusedAtOnceSayingWhatTheyAre) {
    ASSERT_TRUE(MakeFifo(Path("pipe.jpg")));
    ASSERT_TRUE(MakeFifo(Path("pipe.dat")));
    ASSERT_TRUE(MakeFifo(Path("room.dat")));
    const struct {
        std::vector<QByteArray> args;
        int status;
        const char* says;
        const char* output; // must not appear, or must appear for status 0
    } cases[] = {
        {{"--print-info", Arg("pipe.dat")}, 1, "named pipe, not a photo-info file", nullptr},
        {{"--export", Arg("pipe.jpg"), Arg("a.jpg")}, 1, "named pipe, not a picture file", "a.jpg"},
        {{"--export", Arg("room.jpg"), Arg("b.jpg")},
         1,
         "named pipe, not a photo-info file",
         "b.jpg"},
        {{"--screenshot", Arg("c.png"), Arg("pipe.jpg")}, 1, "named pipe, not a photo", "c.png"},
        {{"--screenshot", Arg("d.png"), Arg("room.jpg")},
         0,
         "named pipe, not a photo-info file",
         "d.png"},
    };
    for (const auto& c : cases) {
        const std::string what = c.args[0].toStdString() + " " + c.args[1].toStdString();
        const ChildRun run = Run(c.args);
        EXPECT_FALSE(run.timedOut) << what << " hung";
        EXPECT_EQ(run.exitStatus, c.status) << what << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.says)) << what << ": " << run.err.toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << what << ": " << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << what;
        if (c.output) {
            EXPECT_EQ(QFile::exists(Path(QString::fromLatin1(c.output))), c.status == 0) << what;
        }
    }
}

// A name that is not UTF-8 cannot be named through Qt's file names (its
// bytes come back as replacement characters, which name nothing): every mode
// says so instead of "no such file".
TEST_F(CommandLineFilesTest, NamesThatAreNotUtf8AreReportedAsSuch) {
    const QByteArray folder = QFile::encodeName(dir.path()) + '/';
    ASSERT_TRUE(CopyToRawName(Path("room.jpg"), folder + kBig5Name + ".jpg"));
    ASSERT_TRUE(CopyToRawName(SourcePath(QStringLiteral("tests/data/photoinfo-v8.dat")),
                              folder + kBig5Name + ".dat"));
    // Qt cannot carry such a name through a QString and back.
    ASSERT_NE(QFile::encodeName(QFile::decodeName(kBig5Name)), kBig5Name);

    const std::vector<QByteArray> cases[] = {
        {"--print-info", folder + kBig5Name + ".dat"},
        {"--export", folder + kBig5Name + ".jpg", Arg("out.jpg")},
        {"--screenshot", Arg("out.png"), folder + kBig5Name + ".jpg"},
    };
    for (const auto& args : cases) {
        const ChildRun run = Run(args);
        EXPECT_EQ(run.exitStatus, 1) << args[0].toStdString();
        EXPECT_TRUE(run.err.contains("not valid UTF-8")) << run.err.toStdString();
        EXPECT_FALSE(run.err.contains("does not exist") || run.err.contains("no such"))
            << run.err.toStdString();
    }
    // Removed by their bytes: Qt cannot name them.
    EXPECT_EQ(::unlink(folder + kBig5Name + ".jpg"), 0);
    EXPECT_EQ(::unlink(folder + kBig5Name + ".dat"), 0);
}

// What a photo-info file may cost is bounded: a file that claims more than a
// million records in all is refused before anything is allocated for them,
// and the JSON of a large file that is read goes out a record at a time. The
// peaks are compared with runs on a small file in the same test.
TEST_F(CommandLineFilesTest, ManyRecordsCostBoundedMemory) {
    ASSERT_TRUE(
        QFile::copy(SourcePath(QStringLiteral("samples/living-room.dat")), Path("room.dat")));
    const ChildRun smallInfo = Run({"--print-info", Arg("room.dat")});
    const ChildRun smallExport = Run({"--export", Arg("room.jpg"), Arg("small.jpg")});
    ASSERT_EQ(smallInfo.exitStatus, 0) << smallInfo.err.toStdString();
    ASSERT_EQ(smallExport.exitStatus, 0) << smallExport.err.toStdString();

    ASSERT_TRUE(WriteZeroRecords(Path("notes.dat"), 0, 50000000 / 18)); // 50 MB of notes
    ASSERT_TRUE(WriteZeroRecords(Path("both.dat"), 1000000, 1000000));  // 2,000,000 in all
    ASSERT_TRUE(QFile::copy(Path("room.jpg"), Path("sparse.jpg")));
    ASSERT_TRUE(WriteZeroRecords(Path("sparse.dat"), 0, 200000000 / 18)); // 200 MB of notes
    const struct {
        std::vector<QByteArray> args;
        const ChildRun& baseline;
    } refused[] = {
        {{"--print-info", Arg("notes.dat")}, smallInfo},
        {{"--print-info", Arg("both.dat")}, smallInfo},
        {{"--export", Arg("sparse.jpg"), Arg("out.jpg")}, smallExport},
    };
    for (const auto& c : refused) {
        const ChildRun run = Run(c.args);
        const std::string what = c.args[1].toStdString();
        EXPECT_EQ(run.exitStatus, 1) << what << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("too large")) << what << ": " << run.err.toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << what << ": " << run.err.toStdString();
        EXPECT_LT(run.peakRssKb, c.baseline.peakRssKb + 32 * 1024)
            << what << " against " << c.baseline.peakRssKb << " KiB";
    }
    EXPECT_FALSE(QFile::exists(Path("out.jpg")));

    // 200,000 notes are read (344 bytes each in memory); their JSON (about
    // 52 MB) is never held whole.
    const int notes = 200000;
    ASSERT_TRUE(WriteZeroRecords(Path("many.dat"), 0, notes));
    const ChildRun many = Run({"--print-info", Arg("many.dat")});
    ASSERT_EQ(many.exitStatus, 0) << many.err.toStdString();
    EXPECT_EQ(many.out.count("\"title\""), notes);
    const long recordsKb = long(notes * sizeof(InfoNote) / 1024);
    EXPECT_LT(many.peakRssKb, smallInfo.peakRssKb + recordsKb + many.out.size() / 1024 / 2)
        << "records " << recordsKb << " KiB, JSON " << many.out.size() / 1024 << " KiB";
}

// Under a file size limit (`prlimit --fsize`, a quota set that way) a write
// past it fails with EFBIG and takes the ordinary failure path: the reason
// said in one line, status 1, no output and no temporary file left; never the
// SIGXFSZ that kills the process without a word.
TEST_F(CommandLineFilesTest, AFileSizeLimitFailsTheWriteNotTheProgram) {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("out")));
    ASSERT_TRUE(WriteZeroRecords(Path("many.dat"), 0, 4000)); // about 1 MB of JSON
    const struct {
        std::vector<QByteArray> args;
        const char* says;
        int lines;
    } cases[] = {
        {{"--export", Arg("room.jpg"), Arg("a.jpg")}, "File too large", 1},
        {{"--export-many", Arg("out"), Arg("room.jpg")}, "File too large", 2}, // and the count
        {{"--report", Arg("b.pdf"), Arg("room.jpg")}, "File too large", 1},
        {{"--print-info", Arg("many.dat")}, "cannot write to standard output", 1},
    };
    for (const auto& c : cases) {
        const ChildRun run = RunChild(kProgram, c.args, 60, 16 * 1024);
        const std::string what = c.args[0].toStdString();
        EXPECT_EQ(run.signal, 0) << what;
        EXPECT_EQ(run.exitStatus, 1) << what << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.says)) << what << ": " << run.err.toStdString();
        EXPECT_EQ(run.err.count('\n'), c.lines) << what << ": " << run.err.toStdString();
    }
    EXPECT_EQ(NamesIn(dir.path()), QStringList({"many.dat", "out", "room.jpg"}));
    EXPECT_EQ(NamesIn(Path("out")), QStringList());
}

// A photo-info file whose records are whole but whose extension block after
// them is damaged: every mode that reads it says so in one line on stderr and
// still succeeds (the records are whole).
TEST_F(CommandLineFilesTest, ADamagedExtensionBlockIsSaidInOneLine) {
    QByteArray dat =
        ReadWholeFile(SourcePath(QStringLiteral("tests/data/photoinfo-reference.dat")));
    dat.chop(2); // into the reference's payload
    ASSERT_TRUE(WriteWholeFile(Path("room.dat"), dat));
    const std::vector<QByteArray> cases[] = {
        {"--print-info", Arg("room.dat")},
        {"--export", Arg("room.jpg"), Arg("a.jpg")},
        {"--report", Arg("b.pdf"), Arg("room.jpg")},
        {"--export-many", Arg("out"), Arg("room.jpg")}, // on the photo's own line
    };
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("out")));
    for (const auto& args : cases) {
        const ChildRun run = Run(args);
        EXPECT_EQ(run.exitStatus, 0) << args[0].toStdString() << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("extension block")) << args[0].toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << args[0].toStdString() << ": " << run.err.toStdString();
    }
}

// The report goes to the disk a photo at a time: eight photos cost hardly
// more memory than one (each picture's JPEG is spooled, not kept).
TEST_F(CommandLineFilesTest, AReportHoldsOnePhotoAtATime) {
    QImage noise(2400, 1800, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, 0xFF000000u | ((x * 7919u + y * 104729u) * 2654435761u >> 8));
    ASSERT_TRUE(noise.save(Path("noise.jpg"), "JPEG", 95));
    std::vector<QByteArray> one = {"--report", Arg("one.pdf"), Arg("noise.jpg")};
    std::vector<QByteArray> eight = {"--report", Arg("eight.pdf")};
    for (int i = 0; i < 8; ++i) {
        const QString name = QStringLiteral("n%1.jpg").arg(i);
        ASSERT_TRUE(QFile::copy(Path("noise.jpg"), Path(name)));
        eight.push_back(Arg(name));
    }
    const ChildRun single = Run(one);
    const ChildRun many = Run(eight);
    ASSERT_EQ(single.exitStatus, 0) << single.err.toStdString();
    ASSERT_EQ(many.exitStatus, 0) << many.err.toStdString();
    const long jpegKb = long(QFileInfo(Path("noise.jpg")).size() / 1024);
    // Less than two more pictures' JPEGs: not eight, nor a decode per worker.
    EXPECT_LT(many.peakRssKb, single.peakRssKb + 2 * jpegKb)
        << "one " << single.peakRssKb << " KiB, JPEG " << jpegKb << " KiB";
}

// The screenshot speaks only for itself on stderr: not even Qt's note about
// the missing runtime folder when it succeeds.
TEST_F(CommandLineFilesTest, ScreenshotKeepsStderrForItsOwnMessages) {
    const ChildRun run = Run({"--screenshot", Arg("window.png"), Arg("room.jpg")});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.err.toStdString(), "");
    EXPECT_GT(QFile(Path("window.png")).size(), 5000);
}

} // namespace
