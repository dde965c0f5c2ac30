#pragma once
// Exporting many photos at once, as `tessamar --export-many OUTDIR PHOTO...`
// does: each photo's annotated picture goes into one folder under the photo's
// own file name, on the batch workers (BatchWorkers.h), each photo through
// the one-photo export (ExportPhotoFile), so a worker holds at most one
// decoded photo and its encoded picture at a time.

#include "output/PhotoFileExport.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

struct BatchExportOptions {
    int workers = 0;           // 0: as many as BatchWorkers chooses
    bool overwrite = false;    // false: an existing output file is left alone
    bool keepLocation = false; // true: the pictures keep the photos' GPS fields
};

// One photo's outcome. `out` is where its picture goes (or would have gone).
struct BatchExportItem {
    QString photo;
    QString out;
    PhotoFileExport result;
    // The index of an earlier item that is the same photo file (however
    // spelt): this one is not exported again and did not fail. -1 otherwise.
    int repeatOf = -1;
};

// Called once per photo as soon as it is finished, from the worker that did
// it; calls never overlap. `done` counts the photos finished so far.
using BatchExportProgress = std::function<void(const BatchExportItem& item, int done)>;

// The output path of `photo` in `outDir`: the photo's own file name.
QString BatchOutputPath(const QString& outDir, const QString& photo);

// Exports every photo; the items come back in the order of `photos`. A photo
// that fails does not stop the others. A photo given again (the same file
// under another spelling) is done once, its repeat marked by `repeatOf`.
// Refused without any work, as an Output failure: an output that is one of
// the run's inputs (a photo or its info file; whatever `overwrite` says), an
// output file that exists (unless `overwrite`), and a photo whose output name
// an earlier photo of the list already takes.
// Needs a Qt GUI application (for fonts); never a screen.
std::vector<BatchExportItem> ExportPhotoFiles(const QStringList& photos, const QString& outDir,
                                              const BatchExportOptions& options,
                                              const BatchExportProgress& progress = {});
