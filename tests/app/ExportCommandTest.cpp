// `tessamar --export PHOTO OUT` (run in-process) never destroys what it was
// given: not the photo, not its info file, not a special file named as the
// output, and not a previous output when the disk is full. Each refusal is
// one line on stderr and exit status 1.

#include "app/CommandLine.h"
#include "common/DiskFaults.h"
#include "common/TestSupport.h"
#include "document/PhotoInfo.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

// A photo (noise, so its JPEG is about 100 KB) with one dimension in its info file.
class ExportCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        QImage noise(320, 240, QImage::Format_RGB32);
        QRandomGenerator random(11);
        for (int y = 0; y < noise.height(); ++y)
            for (int x = 0; x < noise.width(); ++x)
                noise.setPixel(x, y, random.generate() | 0xFF000000u);
        ASSERT_TRUE(noise.save(m_photo, "JPEG", 95));
        PhotoInfo info;
        info.dimensions.push_back({0xFF, {10, 10}, {200, 10}, "3.5", DefaultLogFont()});
        ASSERT_TRUE(WriteWholeFile(m_dat, info.Serialize()));
        m_photoBytes = ReadWholeFile(m_photo);
        m_datBytes = ReadWholeFile(m_dat);
    }

    // Runs the command; `err` receives what it wrote on stderr.
    static int Export(const QString& photo, const QString& out, std::string* err) {
        ::testing::internal::CaptureStderr();
        const int status = RunExport(0, nullptr, photo, out);
        *err = ::testing::internal::GetCapturedStderr();
        return status;
    }

    static void ExpectOneLineSaying(const std::string& err, const std::string& what) {
        EXPECT_NE(err.find(what), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(err.rfind("tessamar: ", 0), 0u) << err;
    }

    void ExpectInputsIntact() const {
        EXPECT_EQ(ReadWholeFile(m_photo), m_photoBytes);
        EXPECT_EQ(ReadWholeFile(m_dat), m_datBytes);
    }

    QString Path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }

    QTemporaryDir m_dir;
    QString m_photo = Path("same.jpg"), m_dat = Path("same.dat");
    QByteArray m_photoBytes, m_datBytes;
};

// The output named by another spelling of the photo or of its info file.
struct SelfCase {
    const char* name;
    const char* photo; // as typed, in the photo's folder
    const char* out;   // "@" stands for the folder's absolute path
    const char* reason;
};
void PrintTo(const SelfCase& c, std::ostream* os) {
    *os << c.name;
}

class ExportOntoItsInput : public ExportCommandTest,
                           public ::testing::WithParamInterface<SelfCase> {};

TEST_P(ExportOntoItsInput, IsRefusedAndBothFilesStay) {
    const SelfCase& c = GetParam();
    ASSERT_TRUE(QFile::link(QStringLiteral("same.jpg"), Path("link.jpg")));
    ASSERT_TRUE(QFile::link(QStringLiteral("same.dat"), Path("link.dat")));
    ASSERT_EQ(::link(QFile::encodeName(m_photo), QFile::encodeName(Path("hard.jpg"))), 0);
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("sub")));
    const QStringList names = NamesIn(m_dir.path());

    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    QString out = QString::fromUtf8(c.out);
    out.replace(QLatin1Char('@'), m_dir.path());
    std::string err;
    const int status = Export(QString::fromUtf8(c.photo), out, &err);
    QDir::setCurrent(previous);

    EXPECT_EQ(status, 1);
    ExpectOneLineSaying(err, c.reason);
    ExpectInputsIntact();
    EXPECT_EQ(NamesIn(m_dir.path()), names);
    EXPECT_TRUE(QFileInfo(Path("link.jpg")).isSymLink());
}

INSTANTIATE_TEST_SUITE_P(
    Spellings, ExportOntoItsInput,
    ::testing::Values(
        SelfCase{"SameName", "same.jpg", "same.jpg", "the photo itself"},
        SelfCase{"DotSlash", "same.jpg", "./same.jpg", "the photo itself"},
        SelfCase{"Absolute", "./same.jpg", "@/same.jpg", "the photo itself"},
        SelfCase{"UpAndDown", "same.jpg", "sub/../same.jpg", "the photo itself"},
        SelfCase{"Symlink", "same.jpg", "link.jpg", "the photo itself"},
        SelfCase{"HardLink", "same.jpg", "hard.jpg", "the photo itself"},
        SelfCase{"PhotoBySymlink", "link.jpg", "same.jpg", "the photo itself"},
        SelfCase{"InfoFile", "same.jpg", "same.dat", "the photo's info file"},
        SelfCase{"InfoBySymlink", "same.jpg", "link.dat", "the photo's info file"},
        SelfCase{"InfoAbsolute", "same.jpg", "@/sub/../same.dat", "the photo's info file"},
        SelfCase{"InfoNotSavedYet", "hard.jpg", "sub/../hard.dat", "the photo's info file"}),
    [](const auto& info) { return std::string(info.param.name); });

// An output that exists and is no regular file is refused, never opened
// (a FIFO without a reader would block) and never replaced.
enum class Special { Fifo, CharacterDevice, Folder };
struct SpecialCase {
    const char* name;
    Special kind;
    const char* reason;
};
void PrintTo(const SpecialCase& c, std::ostream* os) {
    *os << c.name;
}

class ExportOntoASpecialFile : public ExportCommandTest,
                               public ::testing::WithParamInterface<SpecialCase> {};

TEST_P(ExportOntoASpecialFile, IsRefusedAndTheFileStaysWhatItWas) {
    const SpecialCase& c = GetParam();
    const QString out = Path("out.jpg");
    const QByteArray native = QFile::encodeName(out);
    switch (c.kind) {
    case Special::Fifo:
        ASSERT_EQ(::mkfifo(native, 0644), 0);
        break;
    case Special::CharacterDevice:
        // The same device as /dev/null.
        if (::mknod(native, S_IFCHR | 0666, makedev(1, 3)) != 0)
            GTEST_SKIP() << "cannot make a device node here: " << strerror(errno);
        break;
    case Special::Folder:
        ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("out.jpg")));
        break;
    }
    struct stat before {};
    ASSERT_EQ(::lstat(native, &before), 0);

    std::string err;
    EXPECT_EQ(Export(m_photo, out, &err), 1);
    ExpectOneLineSaying(err, c.reason);
    struct stat after {};
    ASSERT_EQ(::lstat(native, &after), 0);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_rdev, before.st_rdev);
    ExpectInputsIntact();
    EXPECT_EQ(NamesIn(m_dir.path()), (QStringList{"out.jpg", "same.dat", "same.jpg"}));
}

INSTANTIATE_TEST_SUITE_P(Kinds, ExportOntoASpecialFile,
                         ::testing::Values(SpecialCase{"Fifo", Special::Fifo, "named pipe"},
                                           SpecialCase{"CharacterDevice", Special::CharacterDevice,
                                                       "character device"},
                                           SpecialCase{"Folder", Special::Folder, "folder"}),
                         [](const auto& info) { return std::string(info.param.name); });

// A previous output (a picture of about 100 KB) survives a disk that fills
// up, or a file size limit, whether the new picture is large or small (a
// plain photo compresses to a few KB, which a buffered writer never tried to
// write before closing).
struct DiskCase {
    const char* name;
    bool fullDisk; // else the file size limit
    bool plainPhoto;
    const char* reason;
};
void PrintTo(const DiskCase& c, std::ostream* os) {
    *os << c.name;
}

class ExportWhenTheDiskFails : public ExportCommandTest,
                               public ::testing::WithParamInterface<DiskCase> {};

TEST_P(ExportWhenTheDiskFails, KeepsThePreviousOutputAndSaysWhy) {
    const DiskCase& c = GetParam();
    std::optional<SmallFileSystem> disk;
    std::string why;
    const QString folder = FaultFolder(c.fullDisk, m_dir.path(), 1024 * 1024, &disk, &why);
    if (folder.isEmpty())
        GTEST_SKIP() << why;
    const QString out = folder + QStringLiteral("/out.jpg");
    std::string err;
    ASSERT_EQ(Export(m_photo, out, &err), 0) << err;
    const QByteArray previous = ReadWholeFile(out);
    ASSERT_GT(previous.size(), 16 * 1024);
    if (c.plainPhoto) {
        QImage plain(320, 240, QImage::Format_RGB32);
        plain.fill(QColor(128, 128, 128));
        ASSERT_TRUE(plain.save(m_photo, "JPEG", 95));
        m_photoBytes = ReadWholeFile(m_photo);
        ASSERT_LT(m_photoBytes.size(), 16 * 1024);
    }

    int status;
    QStringList names;
    if (disk) {
        ASSERT_TRUE(disk->Fill());
        names = NamesIn(folder);
        status = Export(m_photo, out, &err);
    } else {
        names = NamesIn(folder);
        FileSizeLimit limit(512); // below any JPEG with its tables
        ASSERT_TRUE(limit.IsSet());
        status = Export(m_photo, out, &err);
    }
    EXPECT_EQ(status, 1);
    ExpectOneLineSaying(err, c.reason);
    EXPECT_EQ(ReadWholeFile(out), previous);
    EXPECT_EQ(NamesIn(folder), names);
    ExpectInputsIntact();
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ExportWhenTheDiskFails,
    ::testing::Values(DiskCase{"FullLarge", true, false, "No space left on device"},
                      DiskCase{"FullSmall", true, true, "No space left on device"},
                      DiskCase{"LimitLarge", false, false, "File too large"},
                      DiskCase{"LimitSmall", false, true, "File too large"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
