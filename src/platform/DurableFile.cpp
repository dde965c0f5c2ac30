#include "platform/DurableFile.h"

#include "platform/StaleTemporaries.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <utility>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool Fail(QString* error, const QString& why) {
    if (error)
        *error = why;
    return false;
}

bool FailWith(QString* error, int code) {
    return Fail(error, qt_error_string(code));
}

// The file a path finally names: symbolic links resolved, so that the new
// file replaces what the link points at and the link stays. A dangling link
// is replaced itself.
QByteArray ResolveTarget(const QByteArray& path) {
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char* real = ::realpath(path.constData(), nullptr);
    if (!real)
        return path;
    QByteArray resolved(real);
    std::free(real);
    return resolved;
}

QByteArray FolderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// A new file ".tsm-XXXXXX" in `folder`, created exclusively with the mode
// the process's umask gives new files; -1 with errno set on failure.
int CreateTemporary(const QByteArray& folder, QByteArray* name) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray candidate = folder + "/.tsm-";
        for (int i = 0; i < 6; ++i)
            candidate += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters - 1))];
        const int fd = ::open(candidate.constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0) {
            *name = candidate;
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    errno = EEXIST;
    return -1;
}

// Every byte, however many calls it takes; 0 or the error code.
int WriteAll(int fd, const char* data, qint64 size) {
    while (size > 0) {
        const size_t chunk = size_t(qMin<qint64>(size, qint64(1) << 30));
        const ssize_t n = ::write(fd, data, chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO; // a regular file that takes nothing
        data += n;
        size -= n;
    }
    return 0;
}

// The file's data on the disk; 0 or the error code.
int SyncToDisk(int fd) {
#ifdef Q_OS_DARWIN
    // fsync leaves the data in the drive's cache on macOS.
    if (::fcntl(fd, F_FULLFSYNC) == 0)
        return 0;
    if (::fsync(fd) == 0)
        return 0;
#else
    int result;
    do
        result = ::fdatasync(fd);
    while (result != 0 && errno == EINTR);
    if (result == 0)
        return 0;
#endif
    return errno;
}

// `temporary` renamed to `target` only while no file has that name; 0 or
// the error code (EEXIST: the name is taken).
int RenameIfFree(const QByteArray& temporary, const QByteArray& target) {
#if defined(Q_OS_LINUX) && defined(RENAME_NOREPLACE)
    if (::renameat2(AT_FDCWD, temporary.constData(), AT_FDCWD, target.constData(),
                    RENAME_NOREPLACE) == 0)
        return 0;
    // Only a file system (or kernel) without the flag goes on to the link.
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP && errno != EOPNOTSUPP)
        return errno;
#endif
    // A hard link fails when the name is taken; the temporary name then goes.
    if (::link(temporary.constData(), target.constData()) != 0)
        return errno;
    ::unlink(temporary.constData());
    return 0;
}

// The folder's entry for the renamed file on the disk; 0 or the error code.
// A folder that cannot be opened or a file system that does not sync folders
// leaves nothing to do.
int SyncFolder(const QByteArray& folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    int code = 0;
    if (::fsync(fd) != 0 && errno != EINVAL && errno != ENOTSUP && errno != EOPNOTSUPP)
        code = errno;
    ::close(fd);
    return code;
}

} // namespace

QString FileExistsText() {
    return QStringLiteral("The file exists already.");
}

bool WriteFileDurably(const QString& path, const char* data, qint64 size, QString* error,
                      FileStamp* written, ExistingFile existing) {
    DurableFileWriter file;
    return file.Open(path, error, existing) && file.Append(data, size, error) &&
           file.Commit(error, written);
}

DurableFileWriter::~DurableFileWriter() {
    Abandon();
}

namespace {

// What is refused before anything is created; true when the path may be
// written.
bool MayWrite(const QString& path, ExistingFile existing, QString* error) {
    if (path.isEmpty())
        return Fail(error, QStringLiteral("No file name was given."));
    const FileStamp old = FileStamp::Of(path);
    if (existing == ExistingFile::Keep && (old.Exists() || QFileInfo(path).isSymLink()))
        return Fail(error, FileExistsText());
    if (old.Exists() && !old.IsRegular())
        return Fail(error, old.NotRegularText());
    return true;
}

} // namespace

bool DurableFileWriter::IsOpen() const {
    return m_fd >= 0;
}

bool DurableFileWriter::Open(const QString& path, QString* error, ExistingFile existing) {
    Abandon();
    if (!MayWrite(path, existing, error))
        return false;
    m_path = path;
    m_keep = existing == ExistingFile::Keep;
    // A name kept free is taken as it is: a link made meanwhile stays too.
    m_target = m_keep ? QFile::encodeName(path) : ResolveTarget(QFile::encodeName(path));
    // What killed writes left here before goes first: it may be what fills the disk.
    RemoveStaleTemporaries(FolderOf(m_target));
    const int fd = CreateTemporary(FolderOf(m_target), &m_temporary);
    if (fd < 0)
        return FailWith(error, errno);
    m_fd = fd;
    // Held until the file is closed: no cleaner takes it while it may be written.
    ::flock(m_fd, LOCK_EX | LOCK_NB);
    // The new file keeps the old one's permissions.
    struct stat st {};
    if (!m_keep && ::stat(m_target.constData(), &st) == 0)
        ::fchmod(m_fd, st.st_mode & 07777);
    return true;
}

bool DurableFileWriter::Append(const char* data, qint64 size, QString* error) {
    if (m_fd < 0)
        return Fail(error, QStringLiteral("The file is not open for writing."));
    const int code = WriteAll(m_fd, data, size);
    if (code == 0)
        return true;
    Abandon();
    return FailWith(error, code);
}

bool DurableFileWriter::Commit(QString* error, FileStamp* written) {
    if (m_fd < 0)
        return Fail(error, QStringLiteral("The file is not open for writing."));
    int code = SyncToDisk(m_fd);
    if (code == 0 && written)
        *written = FileStamp::OfDescriptor(m_fd);
    // close reports what a network file system could not store; after
    // EINTR the descriptor is gone all the same and the data already synced.
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0 && code == 0 && errno != EINTR)
        code = errno;
    if (code == 0)
        code = m_keep ? RenameIfFree(m_temporary, m_target)
                      : (::rename(m_temporary.constData(), m_target.constData()) == 0 ? 0 : errno);
    if (code != 0) {
        ::unlink(m_temporary.constData());
        m_temporary.clear();
        return m_keep && code == EEXIST ? Fail(error, FileExistsText()) : FailWith(error, code);
    }
    m_temporary.clear();
    code = SyncFolder(FolderOf(m_target));
    if (code != 0)
        return Fail(error, QStringLiteral("The file was written, but its folder could not be "
                                          "synced to the disk: %1")
                               .arg(qt_error_string(code)));
    if (error)
        error->clear();
    return true;
}

void DurableFileWriter::Abandon() {
    if (m_fd >= 0) {
        ::close(std::exchange(m_fd, -1));
        ::unlink(m_temporary.constData());
    }
    m_temporary.clear();
}
