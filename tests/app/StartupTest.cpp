// Start-up order: the splash, then the main window until it is closed.

#include "app/CMeasureApp.h"
#include "app/CSplashDlg.h"
#include "dialog/CMeasureDlg.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include "common/TestSupport.h"

#include <gtest/gtest.h>

namespace {
// Watches the modal windows as they come: clicks the splash away and closes
// the main window once it stands.
struct StartupWatcher {
    QStringList seen;
    bool splashVisibleWithMain = false;
    QString mainTitle;
    QTimer timer;

    StartupWatcher() {
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [this] { Poll(); });
        timer.start();
    }
    void Poll() {
        QWidget* modal = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && (qobject_cast<CSplashDlg*>(w) || qobject_cast<CMeasureDlg*>(w)))
                modal = modal ? modal : w;
        if (!modal)
            return;
        const QString name = QString::fromLatin1(modal->metaObject()->className());
        if (seen.isEmpty() || seen.last() != name)
            seen.append(name);
        if (auto* splash = qobject_cast<CSplashDlg*>(modal)) {
            QTest::mouseClick(splash, Qt::LeftButton, {}, QPoint(10, 10));
        } else if (auto* main = qobject_cast<CMeasureDlg*>(modal)) {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (qobject_cast<CSplashDlg*>(w) && w->isVisible())
                    splashVisibleWithMain = true;
            mainTitle = main->windowTitle();
            main->close();
        }
    }
};
} // namespace

TEST(Startup, SplashThenMainWindowThenTheEnd) {
    StartupWatcher watcher;
    CMeasureApp app;
    EXPECT_EQ(app.InitInstance(), 0);
    EXPECT_EQ(watcher.seen, (QStringList{"CSplashDlg", "CMeasureDlg"}));
    EXPECT_FALSE(watcher.splashVisibleWithMain);
    EXPECT_EQ(watcher.mainTitle, QStringLiteral("Tessamar"));
}

TEST(Startup, APhotoThatCannotBeOpenedIsReportedAndTheWindowStays) {
    RecordingPrompter prompter;
    ScopedPrompter scoped(&prompter);
    StartupWatcher watcher;
    CMeasureApp app(QStringLiteral("/nonexistent/room.jpg"));
    EXPECT_EQ(app.InitInstance(), 0);
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages.first().contains(QStringLiteral("/nonexistent/room.jpg")));
    EXPECT_EQ(watcher.seen, (QStringList{"CSplashDlg", "CMeasureDlg"}));
}
