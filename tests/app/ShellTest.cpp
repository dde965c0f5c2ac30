// The splash picture and the About box.

#include "app/CAboutDlg.h"
#include "app/CSplashDlg.h"
#include "platform/DialogUnits.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimerEvent>
#include <gtest/gtest.h>

TEST(Splash, IsExactlyItsPictureCentredOnTheScreen) {
    CSplashDlg splash;
    ASSERT_FALSE(splash.Bitmap().isNull());
    EXPECT_EQ(splash.Bitmap().size(), QSize(500, 302));
    EXPECT_EQ(splash.size(), QSize(500, 302));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(splash.geometry().center(), screen.center());
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_NE(splash.TimerId(), 0);
    EXPECT_EQ(CSplashDlg::kTimerInterval, 2000);
}

TEST(Splash, PaintsItsPicture) {
    CSplashDlg splash;
    const QImage shown = splash.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage picture = splash.Bitmap().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), picture.size());
    for (const QPoint p : {QPoint(0, 0), QPoint(140, 270), QPoint(300, 140), QPoint(499, 301)})
        EXPECT_EQ(shown.pixel(p), picture.pixel(p)) << p.x() << "," << p.y();
    // A drawing, not a plain fill.
    EXPECT_NE(picture.pixel(0, 0), picture.pixel(140, 278));
}

TEST(Splash, EndsWhenItsTimerFires) {
    CSplashDlg splash;
    splash.open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
    QTimerEvent tick(splash.TimerId());
    QCoreApplication::sendEvent(&splash, &tick);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(splash.result(), QDialog::Accepted);
    EXPECT_EQ(splash.TimerId(), 0); // the timer dies with the window
}

TEST(Splash, EndsAtALeftClickOnly) {
    CSplashDlg splash;
    splash.open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
    QTest::mouseClick(&splash, Qt::RightButton, {}, QPoint(100, 100));
    EXPECT_TRUE(splash.isVisible());
    QTest::mouseClick(&splash, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(splash.result(), QDialog::Accepted);
}

TEST(AboutBox, ShowsVersionMakerAndNotice) {
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), QString::fromUtf8("關于"));
    EXPECT_EQ(about.VersionStatic()->text(), QString::fromUtf8("KZR 1.0 版"));
    EXPECT_EQ(about.MakerStatic()->text().count(QLatin1Char('\n')), 1);
    EXPECT_FALSE(about.NoticeStatic()->text().isEmpty());
    EXPECT_FALSE(about.IconStatic()->pixmap().isNull());
    EXPECT_EQ(about.OkButton()->text(), QString::fromUtf8("確定"));
    EXPECT_TRUE(about.OkButton()->isDefault());
    // Placed in dialog units of its own font.
    const DialogUnits units(about.font());
    EXPECT_EQ(about.size(), QSize(units.X(193), units.Y(113)));
    EXPECT_EQ(about.OkButton()->geometry(), units.Rect(136, 92, 50, 14));
    EXPECT_EQ(about.VersionStatic()->geometry(), units.Rect(40, 10, 119, 8));
    // Every static fits inside the box.
    for (QWidget* w :
         {static_cast<QWidget*>(about.VersionStatic()), static_cast<QWidget*>(about.MakerStatic()),
          static_cast<QWidget*>(about.NoticeStatic()), static_cast<QWidget*>(about.OkButton())})
        EXPECT_TRUE(about.rect().contains(w->geometry()));
}

TEST(AboutBox, ClosesWithOkOrEscape) {
    {
        CAboutDlg about;
        about.open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
        QTest::mouseClick(about.OkButton(), Qt::LeftButton);
        EXPECT_FALSE(about.isVisible());
        EXPECT_EQ(about.result(), QDialog::Accepted);
    }
    {
        CAboutDlg about;
        about.open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
        QTest::keyClick(&about, Qt::Key_Escape);
        EXPECT_FALSE(about.isVisible());
        EXPECT_EQ(about.result(), QDialog::Rejected);
    }
}

TEST(DialogUnits, ScaleByTheFontsAverageWidthAndHeight) {
    const DialogUnits units(6, 13);
    EXPECT_EQ(units.Rect(182, 175, 48, 41), QRect(273, 284, 72, 66));
    const DialogUnits measured(QFont(QString::fromUtf8("新細明體"), 9));
    EXPECT_GE(measured.BaseX(), 4);
    EXPECT_GE(measured.BaseY(), 10);
}
