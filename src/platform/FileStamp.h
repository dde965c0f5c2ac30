#pragma once
// What a path names on disk at one moment: which file it is (device and
// inode), what kind of file, its size and its modification time to the
// nanosecond. Two stamps of one path taken at different times tell whether
// another program wrote or replaced the file in between; two stamps of
// different paths tell whether they name the same file, however spelt.

#include <QString>
#include <QtGlobal>

struct FileStamp {
    enum class Kind {
        Missing,
        Regular,
        Folder,
        NamedPipe,
        CharacterDevice,
        BlockDevice,
        Socket,
        Other
    };

    Kind kind = Kind::Missing;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedSeconds = 0;
    qint64 modifiedNanoseconds = 0;

    // The file `path` names, symbolic links followed; Missing when there is
    // none (or it cannot be looked at).
    static FileStamp Of(const QString& path);
#ifdef Q_OS_UNIX
    // The file open as descriptor `fd`.
    static FileStamp OfDescriptor(int fd);
    // The kind of file a stat mode names.
    static Kind KindOfMode(unsigned int mode);
#endif

    bool Exists() const {
        return kind != Kind::Missing;
    }
    bool IsRegular() const {
        return kind == Kind::Regular;
    }
    // Both name one existing file (same device and inode).
    bool SameFileAs(const FileStamp& other) const;
    // Same file, same size and the same modification time.
    bool operator==(const FileStamp& other) const;
    bool operator!=(const FileStamp& other) const {
        return !(*this == other);
    }

    // "a named pipe", "a folder"...: what a file that is not regular is.
    QString KindText() const;
    // "It is a named pipe, not a regular file."
    QString NotRegularText() const;
};
