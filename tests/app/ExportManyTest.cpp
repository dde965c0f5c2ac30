// `tessamar --export-many OUTDIR PHOTO... [--force]` (run in-process): every
// good photo is written even when others fail, each photo gets its line on
// stderr, existing files stay unless --force is given, and a terminal sees a
// progress figure.

#include "app/CommandLine.h"
#include "common/DiskFaults.h"
#include "common/FileRaces.h"
#include "common/TestSupport.h"
#include "document/PhotoInfo.h"
#include "output/PhotoFileExport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

class ExportManyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir(m_dir.path()).mkpath("out"));
    }

    // A noise photo (so its JPEG is large) with `dims` dimensions in its info file.
    QString MakePhoto(const QString& name, int w, int h, int dims, quint32 seed) {
        const QString photo = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(photo).path());
        QImage noise(w, h, QImage::Format_RGB32);
        QRandomGenerator random(seed);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                noise.setPixel(x, y, random.generate() | 0xFF000000u);
        EXPECT_TRUE(noise.save(photo, "JPEG", 95));
        PhotoInfo info;
        for (int i = 0; i < dims; ++i)
            info.dimensions.push_back(
                {0xFF, {10, 10 + 20 * i}, {w - 20, 10 + 20 * i}, "3.5", DefaultLogFont()});
        EXPECT_TRUE(WriteWholeFile(InfoFilePathFor(photo), info.Serialize()));
        return photo;
    }

    static int Run(const QString& outDir, const QStringList& photos, bool force, std::string* err) {
        ::testing::internal::CaptureStderr();
        const int status = RunExportMany(0, nullptr, outDir, photos, force);
        *err = ::testing::internal::GetCapturedStderr();
        return status;
    }

    // What `--export` alone writes for `photo`.
    QByteArray SingleExport(const QString& photo) {
        const QString out = m_dir.filePath("single-" + QFileInfo(photo).fileName());
        EXPECT_TRUE(ExportPhotoFile(photo, out).Succeeded());
        return ReadWholeFile(out);
    }

    QString Out(const QString& name) const { return m_dir.filePath("out/" + name); }

    QTemporaryDir m_dir;
};

int Lines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}
bool Says(const std::string& text, const std::string& what) {
    return text.find(what) != std::string::npos;
}

// One failing photo among good ones, for each way a photo can fail.
struct FailureCase {
    const char* name;
    const char* bad;     // the failing photo's file name
    const char* message; // part of its line
};
void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class ExportManyWithAFailure : public ExportManyTest,
                               public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ExportManyWithAFailure, WritesTheOthersAndReportsIt) {
    const FailureCase& c = GetParam();
    const QString a = MakePhoto("a.jpg", 320, 240, 2, 1);
    const QString b = MakePhoto("b.jpg", 200, 300, 3, 2);
    const QString d = MakePhoto("d.jpg", 240, 240, 1, 3);
    const QString bad = m_dir.filePath(QString::fromUtf8(c.bad));
    const QString name = QString::fromUtf8(c.name);
    if (name == "damaged info file") {
        MakePhoto(c.bad, 100, 100, 1, 4);
        QByteArray dat = ReadWholeFile(InfoFilePathFor(bad));
        dat.truncate(dat.size() - 10);
        ASSERT_TRUE(WriteWholeFile(InfoFilePathFor(bad), dat));
    } else if (name == "damaged photo") {
        MakePhoto(c.bad, 100, 100, 1, 4);
        QByteArray jpeg = ReadWholeFile(bad);
        jpeg.truncate(jpeg.size() / 2);
        ASSERT_TRUE(WriteWholeFile(bad, jpeg));
    } // else "missing photo": nothing there

    std::string err;
    const int status = Run(m_dir.filePath("out"), {a, bad, b, d}, false, &err);
    EXPECT_EQ(status, 1);
    // A line per photo and the count of failures.
    EXPECT_EQ(Lines(err), 5) << err;
    EXPECT_TRUE(Says(err, c.message)) << err;
    EXPECT_TRUE(Says(err, "1 of 4 photos failed")) << err;
    EXPECT_FALSE(QFileInfo::exists(Out(QString::fromUtf8(c.bad))));
    for (const QString& good : {a, b, d}) {
        EXPECT_TRUE(Says(err, (good + " -> " + Out(QFileInfo(good).fileName())).toStdString()))
            << err;
        // Exactly what the one-photo export writes.
        EXPECT_EQ(ReadWholeFile(Out(QFileInfo(good).fileName())), SingleExport(good))
            << good.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ExportManyWithAFailure,
    ::testing::Values(FailureCase{"missing photo", "gone.jpg", "cannot read the photo"},
                      FailureCase{"damaged photo", "half.jpg", "cannot read the photo"},
                      FailureCase{"damaged info file", "hurt.jpg", "is damaged"}));

TEST_F(ExportManyTest, AllGoodExitsZeroWithALinePerPhoto) {
    QStringList photos;
    for (int i = 0; i < 6; ++i)
        photos << MakePhoto(QStringLiteral("p%1.jpg").arg(i), 160 + 16 * i, 120, i, 10 + i);
    std::string err;
    EXPECT_EQ(Run(m_dir.filePath("out"), photos, false, &err), 0);
    EXPECT_EQ(Lines(err), 6) << err;
    for (const QString& p : photos)
        EXPECT_EQ(QImage(Out(QFileInfo(p).fileName())).size(), QImage(p).size());
    EXPECT_FALSE(Says(err, "\r")) << "no progress figure when stderr is a file";
}

// Photos large enough that each one's memory is kept for the next (over
// 8 MB decoded), of different sizes: every picture is still exactly what the
// one-photo export writes, nothing of an earlier photo showing through.
TEST_F(ExportManyTest, PhotosThatShareMemoryMatchTheOnePhotoExport) {
    const QSize sizes[] = {{1800, 1200}, {1700, 1300}, {1900, 1150}, {1800, 1200}, {1750, 1250}};
    QStringList photos;
    for (int i = 0; i < 5; ++i)
        photos << MakePhoto(QStringLiteral("big%1.jpg").arg(i), sizes[i].width(), sizes[i].height(),
                            i + 1, 40 + i);
    std::string err;
    EXPECT_EQ(Run(m_dir.filePath("out"), photos, false, &err), 0) << err;
    for (const QString& p : photos)
        EXPECT_EQ(ReadWholeFile(Out(QFileInfo(p).fileName())), SingleExport(p)) << p.toStdString();
}

TEST_F(ExportManyTest, ExistingFileStaysUnlessForced) {
    const QString a = MakePhoto("a.jpg", 320, 240, 2, 1);
    const QString b = MakePhoto("b.jpg", 320, 240, 2, 2);
    const QByteArray before("not a picture, but mine");
    ASSERT_TRUE(WriteWholeFile(Out("a.jpg"), before));

    std::string err;
    EXPECT_EQ(Run(m_dir.filePath("out"), {a, b}, false, &err), 1);
    EXPECT_TRUE(Says(err, "exists already")) << err;
    EXPECT_EQ(ReadWholeFile(Out("a.jpg")), before);
    EXPECT_EQ(ReadWholeFile(Out("b.jpg")), SingleExport(b));

    EXPECT_EQ(Run(m_dir.filePath("out"), {a, b}, true, &err), 0) << err;
    EXPECT_EQ(ReadWholeFile(Out("a.jpg")), SingleExport(a));
}

// A file that another program makes under the output name after the batch
// has looked (while the picture is being written) is kept all the same, on
// a file system with RENAME_NOREPLACE and on one without.
struct RaceCase {
    const char* name;
    bool withoutNoReplace;
};
void PrintTo(const RaceCase& c, std::ostream* os) {
    *os << c.name;
}

class ExportManyRace : public ExportManyTest, public ::testing::WithParamInterface<RaceCase> {};

TEST_P(ExportManyRace, AFileMadeDuringTheWriteIsKept) {
    // Large, so that its picture takes a while to reach the disk.
    const QString photo = MakePhoto("big.jpg", 4000, 3000, 2, 7);
    QString out = m_dir.filePath("out");
    std::optional<MirrorFileSystem> mirror;
    if (GetParam().withoutNoReplace) {
        out = m_dir.filePath("mirror");
        mirror.emplace(m_dir.filePath("disk"), out);
        if (!mirror->IsMounted()) {
            GTEST_SKIP() << "cannot mount a bindfs mirror: " << mirror->Error().toStdString();
        }
    }
    const QByteArray theirs("made by another program");
    std::string err;
    int status = 0;
    {
        NameTakenDuringWrite race(out, "big.jpg", theirs);
        status = Run(out, {photo}, false, &err);
        ASSERT_TRUE(race.TookTheName()) << "the race was lost " << race.Error().toStdString();
    }
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(Says(err, "exists already")) << err;
    EXPECT_EQ(ReadWholeFile(out + "/big.jpg"), theirs);
    EXPECT_EQ(NamesIn(out), QStringList{"big.jpg"}) << "no temporary file left behind";
}

INSTANTIATE_TEST_SUITE_P(FileSystems, ExportManyRace,
                         ::testing::Values(RaceCase{"Local", false},
                                           RaceCase{"WithoutNoReplace", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExportManyTest, TwoPhotosOfOneNameWriteTheFirstOnly) {
    const QString first = MakePhoto("one/room.jpg", 320, 240, 1, 1);
    const QString second = MakePhoto("two/room.jpg", 200, 100, 1, 2);
    std::string err;
    EXPECT_EQ(Run(m_dir.filePath("out"), {first, second}, false, &err), 1);
    EXPECT_TRUE(Says(err, "an earlier photo of the same name")) << err;
    EXPECT_EQ(ReadWholeFile(Out("room.jpg")), SingleExport(first));
}

// The run's inputs, checked before the first write: an output is never one
// of them (with or without --force, the message naming the input it would
// destroy, before "exists already"); a photo given twice under two spellings
// is one photo; a name with a newline keeps its line.
struct InputCase {
    const char* name;
    const char* outDir;
    std::vector<const char*> photos;
    bool force;
    int status;
    std::vector<const char*> says; // each on a line of its own, in this order
};
void PrintTo(const InputCase& c, std::ostream* os) {
    *os << c.name;
}

class ExportManyInputs : public ExportManyTest, public ::testing::WithParamInterface<InputCase> {};

TEST_P(ExportManyInputs, AreNeverOutputsAndCountOnce) {
    const InputCase& c = GetParam();
    MakePhoto("src/a.jpg", 64, 48, 1, 1);
    MakePhoto("out/a.jpg", 80, 48, 2, 2);
    MakePhoto("src/new\nline.jpg", 64, 48, 1, 3);
    const QByteArray inputPhoto = ReadWholeFile(Out("a.jpg"));
    const QByteArray inputInfo = ReadWholeFile(Out("a.dat"));
    QStringList photos;
    for (const char* photo : c.photos)
        photos << m_dir.filePath(QString::fromUtf8(photo));
    std::string err;
    EXPECT_EQ(Run(m_dir.filePath(QString::fromUtf8(c.outDir)), photos, c.force, &err), c.status)
        << err;
    EXPECT_EQ(ReadWholeFile(Out("a.jpg")), inputPhoto);
    EXPECT_EQ(ReadWholeFile(Out("a.dat")), inputInfo);
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = err.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(err.substr(at, end - at));
    ASSERT_EQ(lines.size(), c.says.size()) << err;
    for (size_t i = 0; i < lines.size(); ++i)
        EXPECT_TRUE(Says(lines[i], c.says[i])) << i << ": " << err;
}

INSTANTIATE_TEST_SUITE_P(
    Runs, ExportManyInputs,
    ::testing::Values(InputCase{"AnotherInputForced",
                                "out",
                                {"src/a.jpg", "out/a.jpg"},
                                true,
                                1,
                                {"out/a.jpg, another input of this run", "It is the photo itself.",
                                 "2 of 2 photos failed"}},
                      InputCase{"AnotherInputFirst",
                                "out",
                                {"out/a.jpg", "src/a.jpg"},
                                false,
                                1,
                                {"It is the photo itself.", "out/a.jpg, another input of this run",
                                 "2 of 2 photos failed"}},
                      InputCase{"ThePhotoItselfBeforeExists",
                                "src",
                                {"src/a.jpg"},
                                false,
                                1,
                                {"It is the photo itself.", "1 of 1 photos failed"}},
                      InputCase{"OnePhotoTwoSpellings",
                                "out/..",
                                {"src/a.jpg", "src/../src/./a.jpg"},
                                false,
                                0,
                                {"given again: exported once", "src/a.jpg -> "}},
                      InputCase{"ANewlineInAName",
                                "out/..",
                                {"src/new\nline.jpg"},
                                false,
                                0,
                                {"src/new\\nline.jpg\" -> "}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExportManyTest, AFolderThatIsNotThereIsOneLine) {
    const QString a = MakePhoto("a.jpg", 64, 64, 1, 1);
    std::string err;
    EXPECT_EQ(Run(m_dir.filePath("nowhere"), {a}, false, &err), 1);
    EXPECT_EQ(Lines(err), 1) << err;
    EXPECT_TRUE(Says(err, "is not a folder")) << err;
}

TEST_F(ExportManyTest, AWriteThatFailsLosesOnlyThatPhoto) {
    // Noise JPEGs: the small ones stay below the limit, the large one does not.
    const QString small1 = MakePhoto("s1.jpg", 160, 120, 1, 1);
    const QString large = MakePhoto("large.jpg", 800, 600, 1, 2);
    const QString small2 = MakePhoto("s2.jpg", 160, 120, 1, 3);
    ASSERT_GT(QFileInfo(large).size(), 200 * 1024);
    std::string err;
    int status = 0;
    {
        FileSizeLimit limit(200 * 1024);
        status = Run(m_dir.filePath("out"), {small1, large, small2}, false, &err);
    }
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(Says(err, ("cannot write " + Out("large.jpg")).toStdString())) << err;
    EXPECT_FALSE(QFileInfo::exists(Out("large.jpg")));
    EXPECT_EQ(QDir(m_dir.filePath("out")).entryList(QDir::Files | QDir::Hidden).size(), 2)
        << "no temporary file left behind";
    EXPECT_EQ(ReadWholeFile(Out("s1.jpg")), SingleExport(small1));
    EXPECT_EQ(ReadWholeFile(Out("s2.jpg")), SingleExport(small2));
}

TEST_F(ExportManyTest, ATerminalSeesTheProgressFigure) {
    QStringList photos;
    for (int i = 0; i < 4; ++i)
        photos << MakePhoto(QStringLiteral("p%1.jpg").arg(i), 64, 64, 1, 20 + i);
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    dup2(slave, STDERR_FILENO);
    const int status = RunExportMany(0, nullptr, m_dir.filePath("out"), photos, false);
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    close(slave);
    std::string seen;
    char buf[4096];
    const int flags = fcntl(master, F_GETFL);
    fcntl(master, F_SETFL, flags | O_NONBLOCK);
    for (ssize_t n; (n = read(master, buf, sizeof buf)) > 0;)
        seen.append(buf, static_cast<size_t>(n));
    close(master);
    EXPECT_EQ(status, 0);
    for (const char* figure : {"1/4 (25%)", "2/4 (50%)", "3/4 (75%)", "4/4 (100%)"})
        EXPECT_TRUE(Says(seen, figure)) << seen;
    EXPECT_TRUE(Says(seen, "\r\033[K")) << "the figure is erased before the next line";
}

} // namespace
