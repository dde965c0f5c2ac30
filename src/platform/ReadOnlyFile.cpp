#include "platform/ReadOnlyFile.h"
#include "platform/FileStamp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString NotRegular(mode_t mode, const QString& what) {
    FileStamp stamp;
    stamp.kind = FileStamp::KindOfMode(mode);
    return QStringLiteral("The path names %1, not a %2.").arg(stamp.KindText(), what);
}

QString SystemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

bool IsUtf8(const char* bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(QByteArrayView(bytes)); // decodes when converted
    Q_UNUSED(text);
    return !decoder.hasError();
}

// True when the folder `dir` holds an entry whose name is not UTF-8 and
// reads as `name` once decoded.
bool HoldsUndecodable(const QString& dir, const QString& name) {
    DIR* stream = opendir(QFile::encodeName(dir).constData());
    if (!stream)
        return false;
    bool found = false;
    while (const dirent* entry = readdir(stream)) {
        if (!IsUtf8(entry->d_name) && QFile::decodeName(entry->d_name) == name) {
            found = true;
            break;
        }
    }
    closedir(stream);
    return found;
}

} // namespace

bool NamesUndecodableEntry(const QString& path) {
    if (!path.contains(QChar::ReplacementCharacter))
        return false;
    // The first part of the path that is not there is the one to look for.
    const QString clean = QDir::cleanPath(path);
    qsizetype from = clean.startsWith(QLatin1Char('/')) ? 1 : 0;
    while (from <= clean.size()) {
        qsizetype end = clean.indexOf(QLatin1Char('/'), from);
        if (end < 0)
            end = clean.size();
        const QString prefix = clean.left(end);
        if (!QFileInfo::exists(prefix)) {
            const QString name = clean.mid(from, end - from);
            const QString parent = from == 0   ? QStringLiteral(".")
                                   : from == 1 ? QStringLiteral("/")
                                               : clean.left(from - 1);
            return name.contains(QChar::ReplacementCharacter) && HoldsUndecodable(parent, name);
        }
        from = end + 1;
    }
    return false;
}

ReadOnlyFile::~ReadOnlyFile() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void ReadOnlyFile::Fail(Problem problem, const QString& error) {
    m_problem = problem;
    m_error = error;
}

bool ReadOnlyFile::Open(const QString& path, const QString& what) {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_size = 0;
    Fail(Problem::None, QString());
    const QByteArray name = QFile::encodeName(path);
    // The kind is known before the open: opening a device can itself act.
    struct stat st;
    if (::stat(name.constData(), &st) != 0) {
        const int error = errno;
        if (error == ENOENT && NamesUndecodableEntry(path))
            Fail(Problem::NameNotUtf8,
                 QStringLiteral("The name is not valid UTF-8 (it may come from a system "
                                "with another character set), so the file cannot be opened; "
                                "rename it to open it."));
        else if (error == ENOENT || error == ENOTDIR)
            Fail(Problem::Missing, QStringLiteral("The file does not exist."));
        else
            Fail(Problem::Other,
                 QStringLiteral("The file could not be opened: %1").arg(SystemError(error)));
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        Fail(Problem::NotRegular, NotRegular(st.st_mode, what));
        return false;
    }
    // O_NONBLOCK: should a pipe take the file's place between the two
    // looks, the open still returns at once and the second look refuses it.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        Fail(Problem::Other,
             QStringLiteral("The file could not be opened: %1").arg(SystemError(errno)));
        return false;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const QString error = NotRegular(st.st_mode, what);
        ::close(fd);
        Fail(Problem::NotRegular, error);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    m_fd = fd;
    m_size = st.st_size;
    return true;
}

qint64 ReadOnlyFile::ReadAt(qint64 offset, char* data, qint64 n) {
    if (m_fd < 0) {
        m_error = QStringLiteral("The file is not open.");
        return -1;
    }
    qint64 got = 0;
    while (got < n) {
        const ssize_t r = ::pread(m_fd, data + got, size_t(n - got), off_t(offset + got));
        if (r < 0) {
            if (errno == EINTR)
                continue;
            Fail(Problem::Other,
                 QStringLiteral("The file could not be read: %1").arg(SystemError(errno)));
            return -1;
        }
        if (r == 0)
            break; // the end, perhaps earlier than the size said
        got += r;
    }
    return got;
}
