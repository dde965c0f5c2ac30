#pragma once
// An accelerator table of keys on the numeric keypad held with Ctrl: a key
// press in the window or any of its controls gives the key's command.
//
// It matches the key press itself rather than a QShortcut: Qt's shortcut
// matching never matches a key sequence that holds the keypad modifier (on
// X11, Ctrl + keypad / falls back to Ctrl + /), and the keys of the main
// keyboard must not match. Shift, Alt and Meta must be up, as for an
// accelerator with only the Ctrl flag.

#include <QObject>
#include <functional>
#include <vector>

class QKeyEvent;
class QWidget;

class KeypadAccelerators : public QObject {
public:
    // Watches the key presses of `window` and its controls; `onCommand` runs
    // for each that matches an entry.
    KeypadAccelerators(QWidget* window, std::function<void(int)> onCommand);
    ~KeypadAccelerators() override;

    // Ctrl + `key` on the keypad gives `command`.
    void Add(int key, int command);
    // The command of a key press, 0 when it matches no entry.
    int CommandFor(const QKeyEvent& event) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        int key;
        int command;
    };
    QWidget* m_window;
    std::function<void(int)> m_onCommand;
    std::vector<Entry> m_entries;
};
