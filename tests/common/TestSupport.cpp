#include "common/TestSupport.h"

#include "canvas/CPhotoCanvas.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QKeyEvent>
#include <QWidget>

QString SourcePath(const QString& relative) {
    return QStringLiteral(TESSAMAR_SOURCE_DIR "/") + relative;
}

QByteArray ReadWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

bool WriteWholeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void PrintTo(const POINT& p, std::ostream* os) {
    *os << "(" << p.x << ", " << p.y << ")";
}
void PrintTo(const RECT& r, std::ostream* os) {
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

void TypeText(QWidget* widget, const QString& text) {
    for (int i = 0; i < text.size(); ++i) {
        const int len = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString piece = text.mid(i, len);
        i += len - 1;
        const int key = piece == QLatin1String("\n") ? int(Qt::Key_Return) : 0;
        const QString evText = piece == QLatin1String("\n") ? QStringLiteral("\r") : piece;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, evText);
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, evText);
        QApplication::sendEvent(widget, &release);
    }
}

bool WaitForFullPhoto(CPhotoCanvas& canvas) {
    const QDeadlineTimer deadline(60000);
    while (canvas.PhotoPending() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (canvas.PhotoPending())
        return false;
    canvas.WaitForPhoto(); // no stand-in held back any more
    return true;
}
