#pragma once
// The one-line messages of the export commands, shared by `--export` and
// `--export-many`.

#include <QString>

struct PhotoFileExport;

// Why exporting `photo` to `out` failed, as one sentence without the
// program's name ("cannot read the photo a.jpg: ..."); empty on success.
QString ExportFailureMessage(const QString& photo, const QString& out,
                             const PhotoFileExport& result);
