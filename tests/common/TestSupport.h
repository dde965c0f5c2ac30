#pragma once
// Small helpers shared by the tests.

#include "app/DesktopPrompter.h"
#include "platform/WinTypes.h"

#include <QEvent>
#include <QObject>
#include <QStringList>

#include <QByteArray>
#include <QString>
#include <ostream>

// A file of the source tree, e.g. SourcePath("samples/living-room.jpg").
QString SourcePath(const QString& relative);

QByteArray ReadWholeFile(const QString& path);
bool WriteWholeFile(const QString& path, const QByteArray& bytes);

// Failure messages show points, rectangles and texts as values, not bytes.
void PrintTo(const POINT& p, std::ostream* os);
void PrintTo(const RECT& r, std::ostream* os);
void PrintTo(const QString& s, std::ostream* os);

class CPhotoCanvas;
// Runs the event loop until the photo `canvas` is opening has replaced its
// stand-in (or failed to decode); from then on the canvas draws the full
// photo. False when that took over a minute.
bool WaitForFullPhoto(CPhotoCanvas& canvas);

class QWidget;
// Types `text` into `widget` one character at a time as key events carrying
// the character (works for Chinese, where QTest::keyClicks does not).
void TypeText(QWidget* widget, const QString& text);

// Counts the paint events a watched widget receives (install as event filter).
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// Answers message boxes with OK and remembers their texts.
class RecordingPrompter : public DesktopPrompter {
public:
    QMessageBox::StandardButton Message(QWidget*, const QString& text, QMessageBox::StandardButtons,
                                        QMessageBox::Icon) override {
        messages.append(text);
        return QMessageBox::Ok;
    }
    QStringList messages;
};
