#pragma once
// Dropping photo files on the main window: a drag whose first file is a JPEG
// is accepted (the cursor shows a drop is possible) and, when dropped, that
// first file is handed on; anything else is refused (the cursor shows the
// refusal). The file is handed on after the drop has finished, so a question
// the opening asks never holds up the drag.

#include <QObject>
#include <QString>
#include <functional>

class QMimeData;
class QWidget;

// The JPEG file a drag offers: its first local file, when that file starts
// with a JPEG marker; empty otherwise.
QString DroppedPhoto(const QMimeData* data);

class PhotoDropTarget : public QObject {
public:
    PhotoDropTarget(QWidget* window, std::function<void(const QString&)> open);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QString&)> m_open;
};
