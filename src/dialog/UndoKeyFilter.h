#pragma once
// Keeps the edit boxes' own undo and redo from taking Ctrl+Z, Ctrl+Y and
// Ctrl+Shift+Z: a watched widget is not allowed to override those keys, so the
// window's one history gets them through its shortcuts, wherever the focus is.

#include <QKeySequence>
#include <QList>
#include <QObject>

class UndoKeyFilter : public QObject {
    Q_OBJECT
public:
    explicit UndoKeyFilter(QObject* parent = nullptr);
    // The key sequences of the history: undo first, then the redo ones.
    static QList<QKeySequence> UndoKeys();
    static QList<QKeySequence> RedoKeys();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
