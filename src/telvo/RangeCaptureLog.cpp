#include "telvo/RangeCaptureLog.h"

#include <QDateTime>

RangeCaptureLog::RangeCaptureLog(const QString& path) : m_file(path) {
    m_file.open(QIODevice::WriteOnly | QIODevice::Append);
}

void RangeCaptureLog::Record(bool incoming, int source, const QByteArray& bytes) {
    if (!m_file.isOpen())
        return;
    const QByteArray line = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toLatin1() +
                            (incoming ? " < " : " > ") + QByteArray::number(source) + ' ' +
                            bytes.toHex(' ') + '\n';
    if (m_file.size() > 0 && m_file.size() + line.size() > kMaxBytes)
        Rotate();
    m_file.write(line);
    m_file.flush();
}

void RangeCaptureLog::Rotate() {
    const QString path = m_file.fileName();
    const QString older = path + QStringLiteral(".1");
    m_file.close();
    QFile::remove(older);
    QFile::rename(path, older);
    m_file.setFileName(path);
    m_file.open(QIODevice::WriteOnly | QIODevice::Append);
}
