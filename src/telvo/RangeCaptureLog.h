#pragma once
// A record of what passed between the program and a meter, for a user whose
// meter misbehaves to send us: each frame in and out on a line of its own,
// with a UTC time stamp, the direction ("<" from the meter, ">" to it), the
// source (characteristic number) and the bytes in hex. The file is appended
// to; when it would pass kMaxBytes it becomes FILE.1 (replacing an older
// one) and a new FILE begins. Logging never changes what the link reads.

#include <QByteArray>
#include <QFile>
#include <QString>

// The environment variable that names the log file.
constexpr const char* kRangeFinderLogVariable = "TESSAMAR_RANGE_FINDER_LOG";

class RangeCaptureLog {
public:
    static constexpr qint64 kMaxBytes = 1024 * 1024;

    explicit RangeCaptureLog(const QString& path);

    bool IsOpen() const { return m_file.isOpen(); }
    QString Path() const { return m_file.fileName(); }
    // One frame: `incoming` from the meter, else to it.
    void Record(bool incoming, int source, const QByteArray& bytes);

private:
    void Rotate();

    QFile m_file;
};
