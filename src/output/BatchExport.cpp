#include "output/BatchExport.h"

#include "document/PhotoInfo.h"
#include "output/BatchInputs.h"
#include "output/BatchWorkers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <mutex>
#include <new>

namespace {
PhotoFileExport Refusal(const QString& photo, const QString& why) {
    PhotoFileExport refused;
    refused.failure = PhotoFileExport::Failure::Output;
    refused.infoPath = InfoFilePathFor(photo);
    refused.detail = why;
    return refused;
}

QString ExistsText() {
    return QCoreApplication::translate("Export", "the file exists already (--force replaces it)");
}

// Exports one photo; memory running out fails this photo only.
PhotoFileExport ExportOne(const QString& photo, const QString& out, bool overwrite,
                          bool keepLocation) {
    // Checked again here, just before the work: the file may have appeared
    // since the list was made. One that appears later is still kept by the
    // final step of the write.
    if (!overwrite && QFileInfo::exists(out))
        return Refusal(photo, ExistsText());
    try {
        PhotoFileExport result = ExportPhotoFile(
            photo, out, overwrite ? ExistingFile::Replace : ExistingFile::Keep, keepLocation);
        if (result.failure == PhotoFileExport::Failure::Output && result.detail == FileExistsText())
            result.detail = ExistsText();
        return result;
    } catch (const std::bad_alloc&) {
        PhotoFileExport failed = Refusal(
            photo, QCoreApplication::translate("Export", "not enough memory for the picture"));
        return failed;
    }
}
} // namespace

QString BatchOutputPath(const QString& outDir, const QString& photo) {
    return QDir(outDir).filePath(QFileInfo(photo).fileName());
}

std::vector<BatchExportItem> ExportPhotoFiles(const QStringList& photos, const QString& outDir,
                                              const BatchExportOptions& options,
                                              const BatchExportProgress& progress) {
    const int count = static_cast<int>(photos.size());
    std::vector<BatchExportItem> items(static_cast<size_t>(count));
    std::vector<bool> pending(static_cast<size_t>(count), false);
    const BatchInputs inputs(photos);
    QSet<QString> taken;
    for (int i = 0; i < count; ++i) {
        BatchExportItem& item = items[static_cast<size_t>(i)];
        item.photo = photos[i];
        item.out = BatchOutputPath(outDir, item.photo);
        item.repeatOf = inputs.EarlierSamePhoto(i);
        if (item.repeatOf >= 0)
            continue; // exported once, under its first spelling
        // An output is never an input of the run, with or without --force:
        // checked for every photo before the first write.
        const QString destroys = inputs.ReplacedBy(item.out, i);
        const QString key = QFileInfo(item.out).absoluteFilePath();
        if (!destroys.isEmpty()) {
            item.result = Refusal(item.photo, destroys);
        } else if (taken.contains(key)) {
            item.result =
                Refusal(item.photo,
                        QCoreApplication::translate("Export", "an earlier photo of the same name "
                                                              "is written there"));
        } else {
            taken.insert(key);
            pending[static_cast<size_t>(i)] = true;
        }
    }

    std::mutex reporting;
    int done = 0;
    auto report = [&](const BatchExportItem& item) {
        std::lock_guard<std::mutex> lock(reporting);
        ++done;
        if (progress)
            progress(item, done);
    };
    // Refusals made while listing are reported first.
    for (int i = 0; i < count; ++i)
        if (!pending[static_cast<size_t>(i)])
            report(items[static_cast<size_t>(i)]);

    RunOnBatchWorkers(
        count,
        [&](int i) {
            if (!pending[static_cast<size_t>(i)])
                return;
            BatchExportItem& item = items[static_cast<size_t>(i)];
            item.result = ExportOne(item.photo, item.out, options.overwrite, options.keepLocation);
            report(item);
        },
        options.workers);
    return items;
}
