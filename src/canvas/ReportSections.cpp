#include "canvas/ReportSections.h"

#include "canvas/AnnotationRenderer.h"
#include "canvas/BandedPicture.h"
#include "lumoimage/CDibDC.h"
#include "lumoimage/ExifDate.h"
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

bool ReportSectionFromPicture(const QString& photoPath, const QImage& picture,
                              const PhotoInfo& info, ReportSection* section, QString* error) {
    // Drawn and encoded band by band, as the export does: the picture (which
    // the window may go on showing) is only read.
    QByteArray jpeg;
    const JpegSink sink = [&jpeg](const char* data, qsizetype size) {
        jpeg.append(data, size);
        return true;
    };
    AnnotationRenderer renderer(kBandedLabelBytes);
    if (!EncodeAnnotatedPicture(picture, info, renderer, sink, error))
        return false;
    section->fileName = QFileInfo(photoPath).fileName();
    section->captured = CaptureDateOf(photoPath);
    section->jpeg = jpeg;
    section->pictureSize = picture.size();
    section->info = info;
    section->computed.clear();
    for (int i = 0; i < static_cast<int>(info.dimensions.size()); ++i)
        section->computed.push_back(ComputedLengthOf(info, i));
    return true;
}

bool ReportSectionFromFile(const QString& photoPath, ReportSection* section,
                           PhotoFileExport* failure) {
    using Failure = PhotoFileExport::Failure;
    *failure = PhotoFileExport();
    failure->infoPath = InfoFilePathFor(photoPath);
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
    if (!ReportSectionFromPicture(photoPath, photo.Image(), info, section, &failure->detail)) {
        failure->failure = Failure::Output;
        return false;
    }
    return true;
}

bool WriteReportFile(const QString& path, const std::vector<ReportSection>& sections,
                     QString* error) {
    QByteArray pdf;
    if (!MakePdfReport(sections, QDate::currentDate(), ReportPageSizeFor(QLocale()), &pdf, error))
        return false;
    return WriteFileDurably(path, pdf.constData(), pdf.size(), error);
}
