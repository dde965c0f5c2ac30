#include "platform/FileStamp.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#ifdef Q_OS_UNIX
FileStamp::Kind FileStamp::KindOfMode(unsigned int mode) {
    if (S_ISREG(mode))
        return Kind::Regular;
    if (S_ISDIR(mode))
        return Kind::Folder;
    if (S_ISFIFO(mode))
        return Kind::NamedPipe;
    if (S_ISCHR(mode))
        return Kind::CharacterDevice;
    if (S_ISBLK(mode))
        return Kind::BlockDevice;
    if (S_ISSOCK(mode))
        return Kind::Socket;
    return Kind::Other;
}
#endif

namespace {
#ifdef Q_OS_UNIX
FileStamp FromStat(const struct stat& st) {
    FileStamp stamp;
    stamp.kind = FileStamp::KindOfMode(st.st_mode);
    stamp.device = quint64(st.st_dev);
    stamp.inode = quint64(st.st_ino);
    stamp.size = qint64(st.st_size);
#ifdef Q_OS_DARWIN
    stamp.modifiedSeconds = qint64(st.st_mtimespec.tv_sec);
    stamp.modifiedNanoseconds = qint64(st.st_mtimespec.tv_nsec);
#else
    stamp.modifiedSeconds = qint64(st.st_mtim.tv_sec);
    stamp.modifiedNanoseconds = qint64(st.st_mtim.tv_nsec);
#endif
    return stamp;
}
#endif
} // namespace

FileStamp FileStamp::Of(const QString& path) {
    FileStamp stamp;
    if (path.isEmpty())
        return stamp;
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0)
        stamp = FromStat(st);
#else
    // Elsewhere the canonical path stands for the file, and times have
    // milliseconds.
    const QFileInfo info(path);
    if (!info.exists())
        return stamp;
    stamp.kind = info.isFile() ? Kind::Regular : info.isDir() ? Kind::Folder : Kind::Other;
    stamp.inode = qHash(info.canonicalFilePath());
    stamp.size = info.size();
    const qint64 ms = info.lastModified().toMSecsSinceEpoch();
    stamp.modifiedSeconds = ms / 1000;
    stamp.modifiedNanoseconds = ms % 1000 * 1000000;
#endif
    return stamp;
}

#ifdef Q_OS_UNIX
FileStamp FileStamp::OfDescriptor(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 ? FromStat(st) : FileStamp();
}
#endif

bool FileStamp::SameFileAs(const FileStamp& other) const {
    return Exists() && other.Exists() && device == other.device && inode == other.inode;
}

bool FileStamp::operator==(const FileStamp& other) const {
    if (!Exists() || !other.Exists())
        return Exists() == other.Exists();
    return SameFileAs(other) && kind == other.kind && size == other.size &&
           modifiedSeconds == other.modifiedSeconds &&
           modifiedNanoseconds == other.modifiedNanoseconds;
}

QString FileStamp::KindText() const {
    switch (kind) {
    case Kind::Missing:
        return QStringLiteral("missing");
    case Kind::Regular:
        return QStringLiteral("a regular file");
    case Kind::Folder:
        return QStringLiteral("a folder");
    case Kind::NamedPipe:
        return QStringLiteral("a named pipe");
    case Kind::CharacterDevice:
        return QStringLiteral("a character device");
    case Kind::BlockDevice:
        return QStringLiteral("a block device");
    case Kind::Socket:
        return QStringLiteral("a socket");
    case Kind::Other:
        break;
    }
    return QStringLiteral("a special file");
}

QString FileStamp::NotRegularText() const {
    return QStringLiteral("It is %1, not a regular file.").arg(KindText());
}
