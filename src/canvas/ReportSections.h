#pragma once
// The sections of a PDF report, made from a photo file (as `tessamar
// --report` does) or from the photo the window shows, and the report file
// written from them.

#include "canvas/PhotoFileExport.h"
#include "canvas/PhotoReport.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <vector>

// The photo `photoPath` already decoded (`photo`, upright, only read) with
// its records: the picture is drawn and encoded band by band as the export
// does it.
bool ReportSectionFromPicture(const QString& photoPath, const QImage& photo, const PhotoInfo& info,
                              ReportSection* section, QString* error);

// Reads the photo and the photo-info file beside it. On failure `failure`
// says why, as the export would (Photo, Info..., Output for memory).
bool ReportSectionFromFile(const QString& photoPath, ReportSection* section,
                           PhotoFileExport* failure);

// ReportSectionFromFile for every photo, on the batch workers
// (BatchWorkers.h); the sections come back in the order of `photos`. On
// failure, `failure` and `*failed` (its index) tell the first photo of the
// list that failed; the photos after it that had not started are left.
// Memory running out for the first failing photo is thrown here, as
// std::bad_alloc.
bool ReportSectionsFromFiles(const QStringList& photos, std::vector<ReportSection>* sections,
                             int* failed, PhotoFileExport* failure);

// Makes the report and writes it to `path` durably (see WriteFileDurably),
// on the page size of the current locale, dated today.
bool WriteReportFile(const QString& path, const std::vector<ReportSection>& sections,
                     QString* error);
