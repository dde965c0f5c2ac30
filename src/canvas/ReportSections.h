#pragma once
// The sections of a PDF report, made from a photo file (as `tessamar
// --report` does) or from the photo the window shows, and the report file
// written from them.

#include "canvas/PhotoFileExport.h"
#include "canvas/PhotoReport.h"

#include <QImage>
#include <QString>
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

// Makes the report and writes it to `path` durably (see WriteFileDurably),
// on the page size of the current locale, dated today.
bool WriteReportFile(const QString& path, const std::vector<ReportSection>& sections,
                     QString* error);
