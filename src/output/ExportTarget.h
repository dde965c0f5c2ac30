#pragma once
// Where an exported picture may go. Never over its own input: not the photo,
// not the photo-info file beside it (the same file however the path is
// spelt: "./", "..", a symbolic or a hard link; nor where that file will be
// saved when it is not there yet). Never over something that is not a
// regular file: a named pipe would block the writer, a device or a folder
// would be replaced.

#include <QString>

// Why the picture of `photoPath` must not be written to `outPath`, as one
// sentence ("It is the photo itself."); empty when it may.
QString RefuseExportTarget(const QString& photoPath, const QString& outPath);
