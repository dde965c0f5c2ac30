// The desktop program's shell: the splash, then the main window until it is
// closed.

#include "app/CMeasureApp.h"
#include "common/TestSupport.h"
#include "dialog/CMeasureDlg.h"
#include "dialog/CSplashDlg.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

// A left click takes the splash away (a right one does not); then the main window stands
// until it is closed, and tells that the photo named on the command line
// cannot be opened.
TEST(Startup, SplashThenMainWindowThenTheEnd) {
    RecordingPrompter prompter;
    ScopedPrompter scoped(&prompter);
    QStringList seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* splash = qobject_cast<CSplashDlg*>(w);
            auto* main = qobject_cast<CMeasureDlg*>(w);
            if (!w->isVisible() || !(splash || main))
                continue;
            const QString name = QString::fromLatin1(w->metaObject()->className());
            if (seen.isEmpty() || seen.last() != name)
                seen.append(name);
            if (main) {
                main->close();
                continue;
            }
            QTest::mouseClick(splash, Qt::RightButton, {}, QPoint(10, 10));
            EXPECT_TRUE(splash->isVisible());
            QTest::mouseClick(splash, Qt::LeftButton, {}, QPoint(10, 10));
            EXPECT_EQ(splash->TimerId(), 0) << "its timer dies with it";
        }
    });
    poll.start(20);
    CMeasureApp app(QStringLiteral("/nonexistent/room.jpg"));
    EXPECT_EQ(app.InitInstance(), 0);
    EXPECT_EQ(seen, (QStringList{"CSplashDlg", "CMeasureDlg"}));
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages.first().contains(QStringLiteral("/nonexistent/room.jpg")));
}
