#pragma once
// Picture files made by the tests, and waiting for the preview worker.

#include <QColor>
#include <QImage>
#include <QString>

// Writes a flat-coloured JPEG of the given size; returns its path.
QString WriteJpeg(const QString& path, int width, int height, QColor colour = Qt::red);
// Writes a file that starts like a JPEG but is none; false if it could not.
bool WriteBrokenJpeg(const QString& path);

// Waits until `condition` holds, running the event loop; false on timeout.
template <typename Condition> bool WaitUntil(Condition condition, int msecs = 10000);

// Lets every outstanding decode finish and delivers what it posted.
void SettleWorkers();

// Colours equal but for JPEG rounding.
bool Near(QColor a, QColor b);

// Colour of a pixel of a widget as painted.
class QWidget;
QColor PixelOf(QWidget* widget, int x, int y);

#include <QDeadlineTimer>
#include <QTest>

template <typename Condition> bool WaitUntil(Condition condition, int msecs) {
    return QTest::qWaitFor(condition, msecs);
}
