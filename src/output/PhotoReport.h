#pragma once
// The PDF report of measured photos: for each photo a section with a header
// (the photo's file name, its capture date when the photo's Exif has one,
// the report's date), the annotated picture (the exported JPEG, embedded as
// it is), under it what the computed lengths rest on (the reference length
// or plane), tables of the dimensions, the areas, the angles and the notes,
// flowing onto further pages; after the last section of a report over
// several photos, the total net area by name (ReportTables.h). Text is set
// in a sans-serif CJK face (ReportPage.h), embedded.

#include "document/PhotoInfo.h"
#include "output/PdfJpegImages.h"
#include "platform/SpoolFile.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QPageSize>
#include <QSize>
#include <QString>
#include <vector>

struct ReportSection {
    QString fileName;              // the photo's file name, without folder
    QDateTime captured;            // from Exif; invalid when the photo has none
    qint64 jpegAt = 0;             // the annotated picture as the export writes it, in
    qint64 jpegSize = 0;           // the report's spool (SpoolFile) at jpegAt
    QSize pictureSize;             // its pixel size
    PhotoInfo info;                // the records
    bool referenceDamaged = false; // the info file's extension block was damaged
};

// A4, or Letter where the locale measures in the US way.
QPageSize::PageSizeId ReportPageSizeFor(const class QLocale& locale);

// The report, its pictures taken from `jpegs`, passed to `out` a piece at a
// time as it is made: only the page layout (text and tables) is held in
// memory, never the pictures. False with `error` set when it cannot be made.
// Needs a Qt GUI application (fonts).
bool MakePdfReport(const std::vector<ReportSection>& sections, const QDate& reportDate,
                   QPageSize::PageSizeId pageSize, const SpoolFile& jpegs, const PdfSink& out,
                   QString* error);
