#pragma once
// The PDF report file, made a photo at a time (as `tessamar --report` does
// from photo files, the window from the photo it shows): each photo's
// annotated picture is drawn and encoded band by band straight into a spool
// file on the disk, only the section's text stays in memory, and the PDF is
// written durably (see DurableFileWriter) with the pictures passed through
// from the spool. So a report of many photos needs hardly more memory than a
// report of one.

#include "output/PhotoFileExport.h"
#include "output/PhotoReport.h"
#include "platform/SpoolFile.h"

#include <QImage>
#include <QString>
#include <vector>

class ReportFile {
public:
    // The report to be written at `path`; its pictures are spooled beside it.
    explicit ReportFile(const QString& path);

    // The photo `photoPath` already decoded (`photo`, upright, only read)
    // with its records. False with `error` set when its picture cannot be made.
    bool AddPicture(const QString& photoPath, const QImage& photo, const PhotoInfo& info,
                    QString* error);
    // Reads the photo and the photo-info file beside it; on failure `failure`
    // says why, as the export would (Photo, Info..., Output). On success
    // `failure->referenceDamaged` tells that the info file's extension block
    // was damaged (the section is made without the reference).
    bool AddFile(const QString& photoPath, PhotoFileExport* failure);

    // Makes the report of the sections added, on the page size of the
    // current locale, dated today, and writes it durably.
    bool Write(QString* error);

    const std::vector<ReportSection>& Sections() const { return m_sections; }

private:
    QString m_path;
    SpoolFile m_spool;
    bool m_spoolOpen = false;
    std::vector<ReportSection> m_sections;
};
