#include "common/DiskFaults.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

SmallFileSystem::SmallFileSystem(const QString& path, long long bytes) : m_path(path) {
    QDir().mkpath(path);
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
    if (::mount("tessamar-test", QFile::encodeName(path).constData(), "tmpfs", 0,
                options.constData()) == 0)
        m_mounted = true;
    else
        m_error = qt_error_string(errno);
}

SmallFileSystem::~SmallFileSystem() {
    if (m_mounted)
        ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
}

bool SmallFileSystem::Fill() {
    const QByteArray filler = QFile::encodeName(m_path + QStringLiteral("/filler"));
    const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    // Whole pages first, then single bytes into whatever is left.
    const QByteArray page(4096, 'f');
    for (size_t chunk : {size_t(page.size()), size_t(1)})
        while (::write(fd, page.constData(), chunk) > 0) {
        }
    const bool full = errno == ENOSPC;
    ::close(fd);
    return full;
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
    if (getrlimit(RLIMIT_FSIZE, &m_old) != 0)
        return;
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, m_old.rlim_max};
    m_set = setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

FileSizeLimit::~FileSizeLimit() {
    if (m_set)
        setrlimit(RLIMIT_FSIZE, &m_old);
    std::signal(SIGXFSZ, m_oldHandler);
}

QStringList NamesIn(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QString FaultFolder(bool fullDisk, const QString& parent, long long bytes,
                    std::optional<SmallFileSystem>* disk, std::string* why) {
    if (!fullDisk)
        return parent;
    const QString folder = parent + QStringLiteral("/disk");
    disk->emplace(folder, bytes);
    if ((*disk)->IsMounted())
        return folder;
    *why = "cannot mount a tmpfs here (" + (*disk)->Error().toStdString() + ")";
    return QString();
}
