// The English window's accelerators as a user's keys reach them through a
// real X server: Alt with a button's underlined letter runs its command, and
// the message that follows is English.

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

// Alt+R (the report button's letter) asks where to write the report, writes
// it and says so in English.
TEST_F(EnglishWindowUnderX, AltLetterRunsTheButtonsCommand) {
    const QString written = PathOf(QStringLiteral("out.pdf"));
    prompter.paths.append(written);
    ASSERT_TRUE(keys.Chord({XK_Alt_L}, XK_r));
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return QFileInfo::exists(written) &&
               prompter.texts.contains(QStringLiteral("The report was written"));
    })) << prompter.texts.join('|').toStdString();
    EXPECT_TRUE(prompter.paths.isEmpty()) << "the command's file dialog was not asked";
}

} // namespace
