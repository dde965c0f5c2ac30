#include "dialog/KeypadAccelerators.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

KeypadAccelerators::KeypadAccelerators(QWidget* window, std::function<void(int)> onCommand)
    : QObject(window), m_window(window), m_onCommand(std::move(onCommand)) {
    // Every key press reaches the application's filters before the control
    // with the focus sees it.
    qApp->installEventFilter(this);
}

KeypadAccelerators::~KeypadAccelerators() {
    qApp->removeEventFilter(this);
}

void KeypadAccelerators::Add(int key, int command) {
    m_entries.push_back(Entry{key, command});
}

int KeypadAccelerators::CommandFor(const QKeyEvent& event) const {
    const Qt::KeyboardModifiers held = event.modifiers();
    const Qt::KeyboardModifiers chords =
        Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier;
    if (!(held & Qt::KeypadModifier) || (held & chords) != Qt::ControlModifier)
        return 0;
    for (const Entry& entry : m_entries)
        if (entry.key == event.key())
            return entry.command;
    return 0;
}

bool KeypadAccelerators::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    // Only what is addressed to the window or one of its controls; another
    // window (a dialog opened from it) has its own keys.
    if (static_cast<QWidget*>(watched)->window() != m_window)
        return false;
    const int command = CommandFor(*static_cast<QKeyEvent*>(event));
    if (command == 0)
        return false;
    m_onCommand(command);
    return true;
}
