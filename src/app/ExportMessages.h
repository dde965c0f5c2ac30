#pragma once
// The one-line messages of the export commands, shared by `--export` and
// `--export-many`.

#include <QString>

struct PhotoFileExport;

// Why exporting `photo` to `out` failed, as one sentence without the
// program's name ("cannot read the photo a.jpg: ..."); empty on success.
QString ExportFailureMessage(const QString& photo, const QString& out,
                             const PhotoFileExport& result);

// The one line said when the photo-info file `infoPath` was read whole but
// for its damaged extension block (the exit status stays 0).
QString DamagedExtensionWarning(const QString& infoPath);

// `path` as a message shows it: as it is, or, when it holds a control
// character (a newline in a photo's name would break the one line per
// photo), in double quotes with C escapes ("a\nb.jpg").
QString ShownPath(const QString& path);

// The end of a command that wrote one picture of a photo: the damaged
// extension block's warning when there was one, then 0 on success or the
// failure's line and 1.
int FinishPhotoFileCommand(const QString& photo, const QString& out, const PhotoFileExport& result);
