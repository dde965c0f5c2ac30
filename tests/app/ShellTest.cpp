// The desktop program's shell: the splash, then the main window until it is
// closed; the prompts a person answers at the desktop.

#include "app/CMeasureApp.h"
#include "common/TestSupport.h"
#include "dialog/CMeasureDlg.h"
#include "dialog/CSplashDlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

// The splash shows exactly its picture, centred on the screen, and a left
// click takes it away (a right one does not); then the main window stands
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
            EXPECT_EQ(splash->geometry().center(),
                      QGuiApplication::primaryScreen()->geometry().center());
            EXPECT_TRUE(splash->grab().toImage().convertToFormat(QImage::Format_RGB32) ==
                        splash->Bitmap().toImage().convertToFormat(QImage::Format_RGB32));
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

// The save dialog asks before overwriting and proposes the suffix; a
// message box is captioned with the program's name and answers with the
// button pressed.
TEST(DesktopPrompter, TheSaveDialogAndTheMessageBox) {
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("jpg"));
        dialog->reject();
    });
    EXPECT_EQ(DesktopPrompter().ChooseSavePath(nullptr, "JPG (*.jpg)|*.jpg||", "jpg"), QString());
    QString caption;
    QTimer::singleShot(0, [&caption] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(DesktopPrompter().Message(nullptr, QStringLiteral("?"),
                                        QMessageBox::Yes | QMessageBox::No, QMessageBox::Question),
              QMessageBox::No);
    EXPECT_EQ(caption, QStringLiteral("Tessamar"));
}
