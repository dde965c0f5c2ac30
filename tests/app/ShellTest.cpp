// The splash picture, the About box and the command line.

#include "app/CommandLine.h"
#include "dialog/CAboutDlg.h"
#include "dialog/CSplashDlg.h"
#include "platform/DialogUnits.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimerEvent>
#include <gtest/gtest.h>

// Exactly its picture, centred on the screen; it ends when its timer fires or
// at a left click (a right one does nothing), its timer stopped either way.
TEST(Splash, ShowsItsPictureAndEndsOnItsTimerOrALeftClick) {
    for (bool click : {false, true}) {
        CSplashDlg splash;
        ASSERT_EQ(splash.Bitmap().size(), QSize(500, 302));
        splash.open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
        EXPECT_EQ(splash.geometry().center(),
                  QGuiApplication::primaryScreen()->geometry().center());
        const QImage shown = splash.grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(shown == splash.Bitmap().toImage().convertToFormat(QImage::Format_RGB32));
        QTimerEvent tick(splash.TimerId());
        if (click) {
            QTest::mouseClick(&splash, Qt::RightButton, {}, QPoint(100, 100));
            ASSERT_TRUE(splash.isVisible());
            QTest::mouseClick(&splash, Qt::LeftButton, {}, QPoint(100, 100));
        } else {
            ASSERT_NE(splash.TimerId(), 0);
            QCoreApplication::sendEvent(&splash, &tick);
        }
        EXPECT_EQ(splash.TimerId(), 0) << click; // the timer dies with it
        EXPECT_FALSE(splash.isVisible()) << click;
        EXPECT_EQ(splash.result(), QDialog::Accepted) << click;
    }
}

TEST(AboutBox, ShowsTheVersionInItsDialogUnitsAndClosesWithOkOrEscape) {
    // Dialog units scale by the font's average character width and height.
    EXPECT_EQ(DialogUnits(6, 13).Rect(182, 175, 48, 41), QRect(273, 284, 72, 66));
    for (bool ok : {true, false}) {
        CAboutDlg about;
        EXPECT_EQ(about.VersionStatic()->text(), QString::fromUtf8("KZR 1.0 版"));
        EXPECT_FALSE(about.IconStatic()->pixmap().isNull());
        // OK stands in the bottom right corner, as far from the edges as the
        // icon is from the top left one (rounding may take a pixel).
        const QRect button = about.OkButton()->geometry();
        const QPoint icon = about.IconStatic()->pos();
        EXPECT_NEAR(about.width() - 1 - button.right(), icon.x(), 1);
        EXPECT_NEAR(about.height() - 1 - button.bottom(), icon.y(), 1);
        about.open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
        if (ok)
            QTest::mouseClick(about.OkButton(), Qt::LeftButton);
        else
            QTest::keyClick(&about, Qt::Key_Escape);
        EXPECT_FALSE(about.isVisible());
        EXPECT_EQ(about.result(), ok ? QDialog::Accepted : QDialog::Rejected);
    }
}

TEST(CommandLine, HelpGoesToStdoutAndWrongUsesGetTheUsageOnStderr) {
    const std::string usage = UsageText().toStdString();
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out, err;
    } cases[] = {{{"--help"}, 0, usage, ""},
                 {{"--frobnicate"}, 2, "", "tessamar: unknown option --frobnicate\n" + usage},
                 {{"--print-info"}, 2, "", usage},
                 {{"--export", "a.jpg", "b.jpg", "--force"}, 2, "", usage},
                 {{"a.jpg", "b.jpg"}, 2, "", usage}};
    for (const auto& c : cases) {
        std::vector<char*> argv{const_cast<char*>("tessamar")};
        for (const std::string& arg : c.args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(RunCommandLine(int(argv.size()), argv.data()), c.status) << c.args[0];
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), c.out) << c.args[0];
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.err) << c.args[0];
    }
}
