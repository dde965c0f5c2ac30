#include "output/ReportSections.h"

#include "drawing/AnnotationRenderer.h"
#include "lumoimage/CDibDC.h"
#include "lumoimage/ExifDate.h"
#include "lumoimage/ExifExport.h"
#include "output/AnnotatedExport.h"
#include "output/BandedPicture.h"
#include "platform/DurableFile.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace {
QDateTime CaptureDateOf(const QString& photoPath) {
    QFile file(photoPath);
    if (!file.open(QIODevice::ReadOnly))
        return QDateTime();
    const QByteArray head = file.read(256 * 1024); // Exif lives in the first 64 KB
    return ReadExifCaptureDate(reinterpret_cast<const std::uint8_t*>(head.constData()),
                               static_cast<std::size_t>(head.size()));
}
} // namespace

ReportFile::ReportFile(const QString& path) : m_path(path) {}

bool ReportFile::AddPicture(const QString& photoPath, const QImage& picture, const PhotoInfo& info,
                            QString* error) {
    if (!m_spoolOpen) {
        if (!m_spool.Open(QFileInfo(m_path).absolutePath(), error))
            return false;
        m_spoolOpen = true;
    }
    // Drawn and encoded band by band, as the export does, straight into the
    // spool: the picture (which the window may go on showing) is only read.
    ReportSection section;
    section.jpegAt = m_spool.Size();
    QString spoolError;
    const JpegSink sink = [this, &spoolError](const char* data, qsizetype size) {
        return m_spool.Append(data, size, &spoolError);
    };
    AnnotationRenderer renderer(kBandedLabelBytes);
    // The exported picture itself, with the Exif the export keeps.
    BandedPictureOptions options;
    options.exif = ExportExifOfPhoto(photoPath, false);
    if (!EncodeAnnotatedPicture(picture, info, renderer, sink, error, options)) {
        if (!spoolError.isEmpty() && error)
            *error = spoolError;
        return false;
    }
    section.jpegSize = m_spool.Size() - section.jpegAt;
    section.fileName = QFileInfo(photoPath).fileName();
    section.captured = CaptureDateOf(photoPath);
    section.pictureSize = picture.size();
    section.info = info;
    m_sections.push_back(std::move(section));
    return true;
}

bool ReportFile::AddFile(const QString& photoPath, PhotoFileExport* failure) {
    using Failure = PhotoFileExport::Failure;
    *failure = PhotoFileExport();
    failure->infoPath = InfoFilePathFor(photoPath);
    // A photo that cannot be read is reported first, whatever the info file.
    CDibDC photo;
    if (!photo.Load(photoPath, 32)) {
        failure->failure = Failure::Photo;
        failure->detail = photo.ErrorString();
        return false;
    }
    PhotoInfo info;
    switch (info.Read(failure->infoPath)) {
    case InfoReadStatus::Read:
    case InfoReadStatus::Missing:
        break;
    case InfoReadStatus::Unreadable:
        failure->failure = Failure::InfoUnreadable;
        failure->detail = info.LastReadError();
        return false;
    case InfoReadStatus::TooLarge:
        failure->failure = Failure::InfoTooLarge;
        failure->detail = info.LastReadError();
        return false;
    case InfoReadStatus::NotInfoFile:
        failure->failure = Failure::NotInfoFile;
        return false;
    case InfoReadStatus::Damaged:
        failure->failure = Failure::InfoDamaged;
        return false;
    }
    if (!AddPicture(photoPath, photo.Image(), info, &failure->detail)) {
        failure->failure = Failure::Output;
        return false;
    }
    failure->referenceDamaged = info.ReferenceDamaged();
    return true;
}

bool ReportFile::Write(QString* error) {
    DurableFileWriter file;
    if (!file.Open(m_path, error))
        return false;
    QString writeError;
    const PdfSink sink = [&file, &writeError](const char* data, qint64 size) {
        return file.Append(data, size, &writeError);
    };
    if (!MakePdfReport(m_sections, QDate::currentDate(), ReportPageSizeFor(QLocale()), m_spool,
                       sink, error)) {
        if (!writeError.isEmpty() && error)
            *error = writeError;
        return false;
    }
    return file.Commit(error);
}
