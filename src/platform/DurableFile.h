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

#include "platform/FileStamp.h"

#include <QString>

// Writes `size` bytes at `data` as the file `path`. A symbolic link is
// written through: the file it names is replaced and the link stays. A path
// that names something other than a regular file (a folder, a named pipe, a
// device) is refused without being opened. False with `error` set to the
// reason (the system's words: "No space left on device") when the file could
// not be written; `written`, when given, receives the new file's stamp.
bool WriteFileDurably(const QString& path, const char* data, qint64 size, QString* error,
                      FileStamp* written = nullptr);
