// The window's export never writes over the photo shown, its info file or a
// special file, whatever name the save dialog hands it (its "All Files"
// filter allows any): it says why in a message box and writes nothing.

#include "DialogFixture.h"

#include <QDir>
#include <QFile>
#include <sys/stat.h>

namespace {

struct TargetCase {
    const char* name;
    const char* out; // in the photo's folder
    const char* reason;
};
void PrintTo(const TargetCase& c, std::ostream* os) {
    *os << c.name;
}

class ExportTarget : public MainWindowTest, public ::testing::WithParamInterface<TargetCase> {};

TEST_P(ExportTarget, IsRefusedWithAMessageAndNothingChanges) {
    const TargetCase& c = GetParam();
    const QString kitchen = WritePhoto(QStringLiteral("kitchen.jpg"));
    const QString dat = PathOf(QStringLiteral("kitchen.dat"));
    Open(kitchen);
    info().dimensions.push_back(MakeDimension({40, 60}, {200, 60}, Utf8("3米")));
    Click(IDC_SAVE_INFO);
    ASSERT_TRUE(QFile::link(kitchen, PathOf(QStringLiteral("link.jpg"))));
    ASSERT_TRUE(QFile::link(dat, PathOf(QStringLiteral("link.dat"))));
    ASSERT_EQ(::mkfifo(QFile::encodeName(PathOf(QStringLiteral("pipe.jpg"))), 0644), 0);
    const QByteArray photoBytes = ReadWholeFile(kitchen), datBytes = ReadWholeFile(dat);
    const QStringList names = QDir(dir.path()).entryList(QDir::AllEntries | QDir::System);

    const QString out = PathOf(QString::fromUtf8(c.out));
    prompter.texts.clear();
    prompter.paths = {out};
    Click(IDC_EXPORT_PICTURE);
    ASSERT_EQ(prompter.texts.size(), 1);
    EXPECT_EQ(prompter.texts[0], Utf8("輸出圖片失敗：") + out + '\n' + QString::fromUtf8(c.reason));
    EXPECT_EQ(ReadWholeFile(kitchen), photoBytes);
    EXPECT_EQ(ReadWholeFile(dat), datBytes);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System), names);
    struct stat pipe {};
    ASSERT_EQ(::lstat(QFile::encodeName(PathOf(QStringLiteral("pipe.jpg"))), &pipe), 0);
    EXPECT_TRUE(S_ISFIFO(pipe.st_mode));
}

INSTANTIATE_TEST_SUITE_P(
    Targets, ExportTarget,
    ::testing::Values(TargetCase{"Photo", "kitchen.jpg", "It is the photo itself."},
                      TargetCase{"PhotoOtherSpelling", "./kitchen.jpg", "It is the photo itself."},
                      TargetCase{"PhotoBySymlink", "link.jpg", "It is the photo itself."},
                      TargetCase{"InfoFile", "kitchen.dat", "It is the photo's info file."},
                      TargetCase{"InfoBySymlink", "link.dat", "It is the photo's info file."},
                      TargetCase{"Fifo", "pipe.jpg", "It is a named pipe, not a regular file."}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
