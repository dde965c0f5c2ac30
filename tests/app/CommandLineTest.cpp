// The program run as a user runs it: each command's arguments and exit
// status, and a row for each kind of failure it passes on (what the failure
// is lies with the folders below: the readers, the export, the writers).
// A failure is one English line on stderr; wrong arguments give the usage.

#include "app/CommandLine.h"
#include "common/DiskFaults.h"
#include "common/NonRegularFiles.h"
#include "common/Pictures.h"
#include "common/RecordBuilders.h"
#include "common/TestSupport.h"
#include "document/PhotoInfo.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const QByteArray kProgram = TESSAMAR_PROGRAM;

struct Row {
    std::vector<QByteArray> args; // "@name": a file of the test's folder; "%name": of tests/data
    int status;
    const char* says;         // on stderr ("" for nothing)
    QByteArray out = "";      // what stdout starts with, or "%name": that file's bytes
    long long sizeLimit = -1; // of the files the program writes
};

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("out")));
        WriteJpeg(dir, "room.jpg", 160, 120);
        PhotoInfo info;
        info.dimensions = {MakeDimension({10, 10}, {150, 10}, "3.5")};
        ASSERT_TRUE(WriteWholeFile(Path("room.dat"), info.Serialize()));
        WriteJpeg(dir, "ext.jpg", 64, 48);
        QByteArray reference = ReadWholeFile(SourcePath("tests/data/photoinfo-reference.dat"));
        reference.chop(2); // the records whole, the extension block after them damaged
        ASSERT_TRUE(WriteWholeFile(Path("ext.dat"), reference));
        WriteJpeg(dir, "bad.jpg", 64, 48);
        ASSERT_TRUE(WriteWholeFile(Path("bad.dat"), "KZR"));
        for (int i = 0; i < 4000; ++i) // about 1 MB of JSON
            info.notes.push_back(MakeNote({1, 1}));
        ASSERT_TRUE(WriteWholeFile(Path("many.dat"), info.Serialize()));
        ASSERT_TRUE(QFile::copy(SourcePath("tests/data/wild/exif_gps.jpg"), Path("gps.jpg")));
        ASSERT_TRUE(MakeFifo(Path("pipe.dat")) && MakeFifo(Path("pipe.png")));
        WriteJpeg(dir, "wall.jpg", 160, 120);
        PhotoInfo wall;
        wall.reference.hasPlane = true;
        wall.reference.plane = {{{20, 20}, {140, 25}, {135, 100}, {25, 95}}, 90, 60};
        ASSERT_TRUE(WriteWholeFile(Path("wall.dat"), wall.Serialize()));
    }
    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    QByteArray Arg(const QByteArray& arg) const {
        if (arg.startsWith('@'))
            return QFile::encodeName(dir.filePath(QString::fromUtf8(arg.mid(1))));
        if (arg.startsWith('%'))
            return QFile::encodeName(SourcePath("tests/data/" + QString::fromUtf8(arg.mid(1))));
        return arg;
    }
    QTemporaryDir dir;
};

TEST_F(CommandLine, EachCommandsStatusAndWhatItSays) {
    const Row rows[] = {
        {{"--help"}, 0, "", UsageText().toUtf8()},
        {{"--frobnicate"}, 2, "tessamar: unknown option --frobnicate\nUsage:"},
        {{"--export", "@room.jpg", "@x.jpg", "--force"}, 2, "Usage:"},
        {{"--export-many", "@out"}, 2, "Usage:"},
        {{"--screenshot", "a", "b", "c"}, 2, "Usage:"},
        {{"--print-info", "%photoinfo-v8.dat"}, 0, "", "%photoinfo-v8.json"},
        {{"--print-info", "%photoinfo-shapes.dat"}, 0, "", "%photoinfo-shapes.json"},
        {{"--print-info", "@none.dat"}, 1, "no such file"},
        {{"--print-info", "@pipe.dat"}, 1, "named pipe, not a photo-info file"},
        {{"--print-info", "%photoinfo-damaged.dat"}, 1, "damaged photo-info file"},
        {{"--print-info", "@many.dat"}, 1, "cannot write to standard output", "{", 1024},
        {{"--export", "@room.jpg", "@a.jpg"}, 0, ""},
        {{"--export", "@gone.jpg", "@x.jpg"}, 1, "cannot read the photo"},
        {{"--export", "@bad.jpg", "@x.jpg"}, 1, "bad.dat is not a photo-info file"},
        {{"--export", "@room.jpg", "@room.dat"}, 1, "It is the photo's info file."},
        {{"--export", "@ext.jpg", "@b.jpg"}, 0, "extension block"},
        {{"--export", "@room.jpg", "@x.jpg"}, 1, "File too large", "", 1024},
        {{"--export", "@gps.jpg", "@gps-kept.jpg", "--keep-location"}, 0, ""},
        {{"--export", "@gps.jpg", "@gps-dropped.jpg"}, 0, ""},
        {{"--export-many", "@out", "--keep-location", "@room.jpg", "@gps.jpg"}, 0, "room.jpg -> "},
        {{"--export-many", "@out", "@ext.jpg", "@gone.jpg"}, 1, "1 of 2 photos failed"},
        {{"--export-many", "@out", "@room.jpg"}, 1, "exists already"},
        {{"--export-many", "@nowhere", "@room.jpg"}, 1, "nowhere is not a folder"},
        {{"--export-many", "@out", "--force", "@room.jpg"}, 1, "File too large", "", 1024},
        {{"--report", "@r.pdf", "@room.jpg", "@ext.jpg"}, 0, "extension block"},
        {{"--report", "@x.pdf", "@room.jpg", "@gone.jpg"}, 1, "cannot read the photo"},
        {{"--report", "@room.jpg", "@room.jpg"}, 1, "It is the photo itself."},
        {{"--report", "@x.pdf", "@room.jpg"}, 1, "File too large", "", 1024},
        {{"--screenshot", "@s.png", "@room.jpg"}, 0, ""},
        {{"--screenshot", "@x.png", "@gone.jpg"}, 1, "no such photo"},
        {{"--screenshot", "@t.png", "@bad.jpg"}, 0, "is damaged"},
        {{"--screenshot", "@pipe.png", "@room.jpg"}, 1, "named pipe"},
        {{"--screenshot", "@x.png", "@room.jpg"}, 1, "File too large", "", 1024},
        {{"--rectify", "@h.jpg", "@wall.jpg", "--mm-per-pixel", "0.5"}, 0, ""},
        {{"--rectify", "@x.jpg", "@room.jpg"}, 1, "room.jpg has no reference plane"},
    };
    for (const Row& row : rows) {
        std::vector<QByteArray> args;
        for (const QByteArray& arg : row.args)
            args.push_back(Arg(arg));
        const std::string what = (row.args[0] + " " + row.args.back()).toStdString();
        const ChildRun run = RunChild(kProgram, args, 60, row.sizeLimit);
        const std::string err = run.err.toStdString();
        EXPECT_EQ(run.exitStatus, row.status) << what << ": " << err;
        EXPECT_EQ(run.signal, 0) << what;
        EXPECT_TRUE(*row.says ? err.find(row.says) != std::string::npos : err.empty())
            << what << ": " << err;
        if (row.status == 1 && row.args[0] != "--export-many") {
            EXPECT_EQ(run.err.count('\n'), 1) << what << ": " << err;
        }
        const QByteArray expected =
            row.out.startsWith('%') ? ReadWholeFile(QFile::decodeName(Arg(row.out))) : row.out;
        EXPECT_TRUE(expected.isEmpty() ? run.out.isEmpty() : run.out.startsWith(expected)) << what;
    }
    // What was written, nothing else: no temporary file is left, the pipes stay.
    EXPECT_EQ(NamesIn(dir.path()),
              QStringList(
                  {"a.jpg",           "b.jpg",        "bad.dat", "bad.jpg",  "ext.dat",  "ext.jpg",
                   "gps-dropped.jpg", "gps-kept.jpg", "gps.jpg", "h.jpg",    "many.dat", "out",
                   "pipe.dat",        "pipe.png",     "r.pdf",   "room.dat", "room.jpg", "s.png",
                   "t.png",           "wall.dat",     "wall.jpg"}));
    EXPECT_EQ(NamesIn(Path("out")), QStringList({"ext.jpg", "gps.jpg", "room.jpg"}));
    // The location (the GPS IFD's pointer) only where it was asked to stay.
    const QByteArray gps("\x25\x88\x04\x00", 4);
    EXPECT_TRUE(ReadWholeFile(Path("gps-kept.jpg")).contains(gps));
    EXPECT_TRUE(ReadWholeFile(Path("out/gps.jpg")).contains(gps));
    EXPECT_FALSE(ReadWholeFile(Path("gps-dropped.jpg")).contains(gps));
    EXPECT_TRUE(ReadWholeFile(Path("h.jpg")).contains("0.5 mm per pixel"));
}

// On a terminal the export of many keeps a progress figure on its last line.
TEST_F(CommandLine, ATerminalSeesTheProgressOfManyPhotos) {
    const QByteArray command =
        kProgram + " --export-many " + Arg("@out") + " " + Arg("@room.jpg") + " " + Arg("@ext.jpg");
    const ChildRun run = RunChild("/usr/bin/script", {"-qec", command, "/dev/null"});
    EXPECT_EQ(run.exitStatus, 0) << run.out.toStdString();
    for (const char* seen : {"1/2 (50%)", "2/2 (100%)", "\r\033[K"})
        EXPECT_TRUE(run.out.contains(seen)) << run.out.toStdString();
}

// The language the environment asks for reaches the window (which language
// is which: LanguageFromEnvironment, SpokenLanguage).
TEST_F(CommandLine, TheWindowSpeaksTheLanguageOfTheEnvironment) {
    for (const char* language : {"en", "zh_TW"}) {
        qputenv("TESSAMAR_LANG", language);
        const ChildRun run =
            RunChild(kProgram, {"--screenshot", Arg(QByteArray("@") + language + ".png")});
        EXPECT_EQ(run.exitStatus, 0) << run.err.toStdString();
    }
    EXPECT_FALSE(QImage(Path("en.png")).isNull());
    EXPECT_NE(QImage(Path("en.png")), QImage(Path("zh_TW.png")));
}

} // namespace
