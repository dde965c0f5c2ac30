#pragma once
// The PDF report of measured photos: for each photo a section with a header
// (the photo's file name, its capture date when the photo's Exif has one,
// the report's date), the annotated picture (the exported JPEG, embedded as
// it is), a table of the dimensions and a table of the notes, flowing onto
// further pages. Text is set in the interface's Chinese font, embedded.

#include "document/PhotoInfo.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QPageSize>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

// A length computed from the photo (where the photo's scale is known), with
// its uncertainty, in `unit`.
struct ComputedLength {
    double value = 0;
    double uncertainty = 0;
    QString unit;
};

// The computed length of dimension `index` of `info`. The place where
// computed lengths enter the report: none are known yet, so it gives none.
std::optional<ComputedLength> ComputedLengthOf(const PhotoInfo& info, int index);

struct ReportSection {
    QString fileName;   // the photo's file name, without folder
    QDateTime captured; // from Exif; invalid when the photo has none
    QByteArray jpeg;    // the annotated picture as the export writes it
    QSize pictureSize;  // its pixel size
    PhotoInfo info;     // the records
    std::vector<std::optional<ComputedLength>> computed; // by dimension, may be short
};

// A4, or Letter where the locale measures in the US way.
QPageSize::PageSizeId ReportPageSizeFor(const class QLocale& locale);

// The report as PDF bytes. False with `error` set when it cannot be made.
// Needs a Qt GUI application (fonts).
bool MakePdfReport(const std::vector<ReportSection>& sections, const QDate& reportDate,
                   QPageSize::PageSizeId pageSize, QByteArray* pdf, QString* error);

// One value of the table of dimensions: the typed value, with the computed
// length and its uncertainty beside it when there is one.
QString DimensionValueText(const Dimension& dim, const std::optional<ComputedLength>& computed);
