#pragma once
// The one way the program writes a file it must not lose: the photo-info
// file and the exported picture.
//
// The bytes go to a new temporary file beside the target, under a short name
// of its own (".tsm-" and six characters), so it fits every file system
// whatever the target's name. Every write is checked as it happens, the data
// is synced to the disk and the file closed, each step checked; only then is
// the temporary file renamed over the target and the folder synced, so that
// a power cut cannot lose the rename. On any failure the temporary file is
// removed and the target is left as it was.
//
// It needs a POSIX system (open, fsync, rename, flock): the desktops the
// program is built for.
//
// A folder written into is first rid of the temporary files killed writes
// left there (StaleTemporaries.h); the writer holds a lock on its own until
// it is closed, so no other writer takes it meanwhile.
//
// A caller that must never replace a file (exporting many photos without
// --force) asks to keep an existing one: then the final step takes the name
// only while it is free, in one step (Linux's renameat2 with
// RENAME_NOREPLACE; where the file system lacks it, a hard link under the
// name, which fails the same way, then the temporary name removed), so a file
// that appears at any moment before is kept.

#include "platform/FileStamp.h"

#include <QByteArray>
#include <QString>

#include <memory>

// What becomes of a file already at the path written.
enum class ExistingFile {
    Replace, // replaced by the new file
    Keep,    // kept: the write fails with FileExistsText()
};

// Writes `size` bytes at `data` as the file `path`. A symbolic link is
// written through: the file it names is replaced and the link stays. A path
// that names something other than a regular file (a folder, a named pipe, a
// device) is refused without being opened. False with `error` set to the
// reason (the system's words: "No space left on device") when the file could
// not be written; `written`, when given, receives the new file's stamp.
// With ExistingFile::Keep anything at the path, a symbolic link too, is left
// as it is and nothing else is written.
bool WriteFileDurably(const QString& path, const char* data, qint64 size, QString* error,
                      FileStamp* written = nullptr, ExistingFile existing = ExistingFile::Replace);

// The reason WriteFileDurably gives when it keeps a file that is there.
QString FileExistsText();

// The same durable replacement for bytes that are produced piece by piece (an
// encoder's output): Open creates the temporary file beside the target, each
// Append writes to it at once (nothing is gathered in memory), and Commit
// syncs, closes and renames it over the target as WriteFileDurably does. A
// writer dropped without a successful Commit removes its temporary file and
// leaves the target as it was. Every failure keeps the system's reason.
class DurableFileWriter {
public:
    DurableFileWriter() = default;
    ~DurableFileWriter();
    DurableFileWriter(const DurableFileWriter&) = delete;
    DurableFileWriter& operator=(const DurableFileWriter&) = delete;

    // Refuses what WriteFileDurably refuses, without opening it.
    bool Open(const QString& path, QString* error, ExistingFile existing = ExistingFile::Replace);
    bool Append(const char* data, qint64 size, QString* error);
    bool Commit(QString* error, FileStamp* written = nullptr);
    // Drops the temporary file; the target stays as it was.
    void Abandon();

    bool IsOpen() const;

private:
    int m_fd = -1;
    QByteArray m_target;
    QByteArray m_temporary;
    bool m_keep = false;
    QString m_path;
};
