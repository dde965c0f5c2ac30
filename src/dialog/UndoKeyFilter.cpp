#include "dialog/UndoKeyFilter.h"

#include <QKeyEvent>

UndoKeyFilter::UndoKeyFilter(QObject* parent) : QObject(parent) {}

QList<QKeySequence> UndoKeyFilter::UndoKeys() {
    return {QKeySequence(Qt::ControlModifier | Qt::Key_Z)};
}

QList<QKeySequence> UndoKeyFilter::RedoKeys() {
    return {QKeySequence(Qt::ControlModifier | Qt::Key_Y),
            QKeySequence(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z)};
}

bool UndoKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        for (const QList<QKeySequence>& keys : {UndoKeys(), RedoKeys()})
            for (const QKeySequence& sequence : keys)
                if (pressed.matches(sequence) == QKeySequence::ExactMatch) {
                    // Not overridden: the shortcut of the window acts.
                    event->ignore();
                    return true;
                }
    }
    return QObject::eventFilter(watched, event);
}
