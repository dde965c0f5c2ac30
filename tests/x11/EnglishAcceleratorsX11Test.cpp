// The English window's accelerators as a user's keys reach them through a
// real X server: Alt with each button's underlined letter runs its command,
// and the messages that follow are English.

#include "WindowUnderX.h"
#include "app/InterfaceLanguage.h"

#include <QFileInfo>
#include <X11/keysym.h>

namespace {

class EnglishWindowUnderX : public WindowUnderX {
protected:
    void SetUp() override {
        ASSERT_TRUE(UseInterfaceLanguage(InterfaceLanguage::English));
        WindowUnderX::SetUp();
        ASSERT_TRUE(dlg->OpenPhoto(WritePhoto(QStringLiteral("room.jpg"))));
        canvas().setFocus();
    }
    void TearDown() override {
        dlg.reset();
        UseInterfaceLanguage(InterfaceLanguage::Chinese, QtTexts::AsShipped);
    }
};

struct AcceleratorCase {
    const char* name;
    KeySymbol letter;
    const char* chosenFile;  // answered in the command's file dialog, or nullptr
    const char* writtenFile; // what the command leaves in the folder (nullptr: it opens
                             // the chosen photo)
    const char* message;     // the message it ends with ("" for none)
};
void PrintTo(const AcceleratorCase& c, std::ostream* os) {
    *os << c.name;
}

class EnglishAccelerator : public EnglishWindowUnderX,
                           public ::testing::WithParamInterface<AcceleratorCase> {};

TEST_P(EnglishAccelerator, AltLetterRunsTheButtonsCommand) {
    const AcceleratorCase& c = GetParam();
    QString chosen;
    if (c.chosenFile) {
        chosen = c.writtenFile ? PathOf(QString::fromLatin1(c.chosenFile))
                               : WritePhoto(QString::fromLatin1(c.chosenFile));
        prompter.paths.append(chosen);
    }
    ASSERT_TRUE(keys.Chord({XK_Alt_L}, c.letter));
    const QString written = c.writtenFile ? PathOf(QString::fromLatin1(c.writtenFile)) : QString();
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const bool done =
            c.writtenFile ? QFileInfo::exists(written) : dlg->m_strPhotoPath == chosen;
        return done &&
               (*c.message == '\0' || prompter.texts.contains(QString::fromUtf8(c.message)));
    })) << prompter.texts.join('|').toStdString();
    EXPECT_TRUE(prompter.paths.isEmpty()) << "the command's file dialog was not asked";
}

INSTANTIATE_TEST_SUITE_P(Buttons, EnglishAccelerator,
                         ::testing::Values(AcceleratorCase{"AltOOpensAPhoto", XK_o, "other.jpg",
                                                           nullptr, ""},
                                           AcceleratorCase{"AltSSavesTheInfo", XK_s, nullptr,
                                                           "room.dat", "The photo info was saved"},
                                           AcceleratorCase{"AltEExportsThePicture", XK_e, "out.jpg",
                                                           "out.jpg", "The picture was exported"},
                                           AcceleratorCase{"AltRWritesTheReport", XK_r, "out.pdf",
                                                           "out.pdf", "The report was written"}),
                         [](const ::testing::TestParamInfo<AcceleratorCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
