#pragma once
// The main window under the real X server: framed by the window manager and
// active before any key is sent, keys and clicks sent through XTest.

#include "common/XTestKeyboard.h"
#include "dialog/DialogFixture.h"

class WindowUnderX : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(keys.IsOpen()) << "no XTEST on " << qgetenv("DISPLAY").constData();
        ASSERT_TRUE(QTest::qWaitFor([this] {
            return dlg->frameGeometry().height() > dlg->height();
        })) << "no window manager frames the window";
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }
    // A chord, and time for the program to handle it before the test looks.
    void Chord(const std::vector<KeySymbol>& held, KeySymbol key) {
        ASSERT_TRUE(keys.Chord(held, key));
        QTest::qWait(120);
    }
    // A click through the X server at `at` on `widget`.
    void ClickAt(QWidget* widget, QPoint at, unsigned button) {
        const QPoint global = widget->mapToGlobal(at);
        ASSERT_TRUE(keys.Click(global.x(), global.y(), button));
        QTest::qWait(120);
    }
    XTestKeyboard keys;
};
