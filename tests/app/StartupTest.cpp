// Start-up order: the splash, then the main window until it is closed.

#include "app/CMeasureApp.h"
#include "common/TestSupport.h"
#include "dialog/CMeasureDlg.h"
#include "dialog/CSplashDlg.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

// Clicks the splash away and closes the main window once it stands; the
// photo named on the command line cannot be opened, which is reported.
TEST(Startup, SplashThenMainWindowThenTheEnd) {
    RecordingPrompter prompter;
    ScopedPrompter scoped(&prompter);
    QStringList seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        int shown = 0;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* splash = qobject_cast<CSplashDlg*>(w);
            auto* main = qobject_cast<CMeasureDlg*>(w);
            if (!w->isVisible() || !(splash || main))
                continue;
            const QString name = QString::fromLatin1(w->metaObject()->className());
            if (seen.isEmpty() || seen.last() != name)
                seen.append(name);
            ++shown;
            if (splash)
                QTest::mouseClick(splash, Qt::LeftButton, {}, QPoint(10, 10));
            else
                main->close();
        }
        EXPECT_LE(shown, 1) << "the splash and the main window at once";
    });
    poll.start(20);
    CMeasureApp app(QStringLiteral("/nonexistent/room.jpg"));
    EXPECT_EQ(app.InitInstance(), 0);
    EXPECT_EQ(seen, (QStringList{"CSplashDlg", "CMeasureDlg"}));
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages.first().contains(QStringLiteral("/nonexistent/room.jpg")));
}
