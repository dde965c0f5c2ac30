#include "common/FileRaces.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

NameTakenDuringWrite::NameTakenDuringWrite(const QString& folder, const QString& name,
                                           const QByteArray& bytes) {
    m_inotify = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    m_stop = ::eventfd(0, EFD_CLOEXEC);
    if (m_inotify < 0 || m_stop < 0 ||
        ::inotify_add_watch(m_inotify, QFile::encodeName(folder).constData(), IN_CREATE) < 0) {
        m_error = qt_error_string(errno);
        return;
    }
    m_thread = std::thread(&NameTakenDuringWrite::Watch, this, folder, name, bytes);
}

NameTakenDuringWrite::~NameTakenDuringWrite() {
    if (m_thread.joinable()) {
        const uint64_t one = 1;
        (void)!::write(m_stop, &one, sizeof one);
        m_thread.join();
    }
    if (m_inotify >= 0)
        ::close(m_inotify);
    if (m_stop >= 0)
        ::close(m_stop);
}

bool NameTakenDuringWrite::TookTheName() {
    if (m_thread.joinable())
        m_thread.join();
    return m_took;
}

void NameTakenDuringWrite::Watch(QString folder, QString name, QByteArray bytes) {
    alignas(inotify_event) char buffer[sizeof(inotify_event) + NAME_MAX + 1];
    pollfd fds[2] = {{m_inotify, POLLIN, 0}, {m_stop, POLLIN, 0}};
    while (::poll(fds, 2, 30000) > 0 && !(fds[1].revents & POLLIN)) {
        const ssize_t n = ::read(m_inotify, buffer, sizeof buffer);
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            if (event->len == 0 || std::strncmp(event->name, ".tsm-", 5) != 0)
                continue;
            const QByteArray target = QFile::encodeName(QDir(folder).filePath(name));
            const int fd =
                ::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
            if (fd < 0)
                return; // the writer was first
            (void)!::write(fd, bytes.constData(), size_t(bytes.size()));
            ::close(fd);
            // Still there: the writer had not yet taken its final step.
            struct stat st {};
            const QByteArray temporary = QFile::encodeName(folder) + '/' + event->name;
            m_took = ::stat(temporary.constData(), &st) == 0;
            return;
        }
    }
}

MirrorFileSystem::MirrorFileSystem(const QString& source, const QString& mountPoint)
    : m_mountPoint(mountPoint) {
    const QString bindfs = QStandardPaths::findExecutable(QStringLiteral("bindfs"));
    if (bindfs.isEmpty()) {
        m_error = QStringLiteral("bindfs is not installed (tools/install-deps.sh installs it)");
        return;
    }
    QDir().mkpath(source);
    QDir().mkpath(mountPoint);
    QProcess mount;
    mount.start(bindfs, {source, mountPoint});
    if (!mount.waitForFinished(20000) || mount.exitStatus() != QProcess::NormalExit ||
        mount.exitCode() != 0) {
        m_error = QString::fromLocal8Bit(mount.readAllStandardError()).trimmed();
        if (m_error.isEmpty())
            m_error = QStringLiteral("bindfs failed");
        return;
    }
    m_mounted = true;
}

MirrorFileSystem::~MirrorFileSystem() {
    if (m_mounted)
        ::umount2(QFile::encodeName(m_mountPoint).constData(), MNT_DETACH);
}
