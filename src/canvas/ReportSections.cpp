#include "canvas/ReportSections.h"

#include "canvas/AnnotatedExport.h"
#include "canvas/AnnotationRenderer.h"
#include "canvas/BandedPicture.h"
#include "canvas/BatchWorkers.h"
#include "lumoimage/CDibDC.h"
#include "lumoimage/ExifDate.h"
#include "lumoimage/ExifExport.h"
#include "platform/DurableFile.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <atomic>
#include <exception>

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
    // The exported picture itself, with the Exif the export keeps.
    BandedPictureOptions options;
    options.exif = ExportExifOfPhoto(photoPath, false);
    if (!EncodeAnnotatedPicture(picture, info, renderer, sink, error, options))
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

bool ReportSectionsFromFiles(const QStringList& photos, std::vector<ReportSection>* sections,
                             int* failed, PhotoFileExport* failure) {
    const int count = static_cast<int>(photos.size());
    std::vector<ReportSection> made(static_cast<size_t>(count));
    std::vector<PhotoFileExport> failures(static_cast<size_t>(count));
    std::vector<std::exception_ptr> thrown(static_cast<size_t>(count));
    std::vector<char> ok(static_cast<size_t>(count), 0);
    // Once a photo has failed, the later ones are not started.
    std::atomic<int> firstFailed{count};
    RunOnBatchWorkers(count, [&](int i) {
        const size_t at = static_cast<size_t>(i);
        if (i > firstFailed.load())
            return;
        try {
            ok[at] = ReportSectionFromFile(photos[i], &made[at], &failures[at]) ? 1 : 0;
        } catch (...) {
            thrown[at] = std::current_exception();
        }
        if (!ok[at]) {
            int seen = firstFailed.load();
            while (i < seen && !firstFailed.compare_exchange_weak(seen, i)) {
            }
        }
    });
    for (int i = 0; i < count; ++i) {
        const size_t at = static_cast<size_t>(i);
        if (thrown[at])
            std::rethrow_exception(thrown[at]);
        if (!ok[at]) {
            *failed = i;
            *failure = failures[at];
            return false;
        }
    }
    *sections = std::move(made);
    return true;
}

bool WriteReportFile(const QString& path, const std::vector<ReportSection>& sections,
                     QString* error) {
    QByteArray pdf;
    if (!MakePdfReport(sections, QDate::currentDate(), ReportPageSizeFor(QLocale()), &pdf, error))
        return false;
    return WriteFileDurably(path, pdf.constData(), pdf.size(), error);
}
