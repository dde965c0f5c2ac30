#include "platform/SpoolFile.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {
bool Fail(QString* error, const QString& why) {
    if (error)
        *error = why;
    return false;
}

// An open file without a name in `folder`; -1 when it cannot be made.
int OpenNameless(const QByteArray& folder) {
#ifdef O_TMPFILE
    const int fd = ::open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0)
        return fd;
#endif
    QByteArray name = folder + "/.tessamar-spool-XXXXXX";
    const int fd2 = ::mkstemp(name.data());
    if (fd2 >= 0)
        ::unlink(name.constData());
    return fd2;
}
} // namespace

SpoolFile::~SpoolFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

bool SpoolFile::Open(const QString& folder, QString* error) {
    if (m_fd >= 0)
        ::close(m_fd);
    m_size = 0;
    m_fd = OpenNameless(QFile::encodeName(folder));
    if (m_fd < 0)
        m_fd = OpenNameless(QFile::encodeName(QDir::tempPath()));
    if (m_fd < 0)
        return Fail(error, qt_error_string(errno));
    return true;
}

bool SpoolFile::Append(const char* data, qint64 size, QString* error) {
    if (m_fd < 0)
        return Fail(error, QStringLiteral("The spool file is not open."));
    while (size > 0) {
        const ssize_t n = ::pwrite(m_fd, data, size_t(qMin<qint64>(size, qint64(1) << 30)), m_size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return Fail(error, n < 0 ? qt_error_string(errno) : qt_error_string(EIO));
        data += n;
        size -= n;
        m_size += n;
    }
    return true;
}

bool SpoolFile::CopyOut(qint64 at, qint64 size,
                        const std::function<bool(const char*, qint64)>& sink,
                        QString* error) const {
    if (m_fd < 0 || at < 0 || size < 0 || at + size > m_size)
        return Fail(error, QStringLiteral("The spool file does not hold those bytes."));
    std::vector<char> buffer(size_t(qMin<qint64>(size, 1 << 20)) + 1);
    while (size > 0) {
        const ssize_t n =
            ::pread(m_fd, buffer.data(), size_t(qMin<qint64>(size, qint64(buffer.size()))), at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return Fail(error, n < 0 ? qt_error_string(errno) : qt_error_string(EIO));
        if (!sink(buffer.data(), n))
            return false; // the sink keeps its own reason
        at += n;
        size -= n;
    }
    return true;
}
