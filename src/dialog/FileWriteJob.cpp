#include "dialog/FileWriteJob.h"

#include "document/PhotoInfo.h"
#include "drawing/AnnotationRenderer.h"
#include "lumoimage/ExifExport.h"
#include "output/AnnotatedExport.h"
#include "output/ReportSections.h"
#include "platform/BackgroundWork.h"

#include <QCoreApplication>
#include <QFutureWatcher>
#include <QImage>
#include <QProgressDialog>
#include <QPromise>
#include <QTimer>

#include <limits>
#include <new>

namespace {
// A quick job never flashes a progress window.
constexpr int kProgressDelayMs = 300;

QString OutOfMemoryText() {
    return QCoreApplication::translate("Export", "not enough memory for the picture");
}
} // namespace

FileWriteJob::FileWriteJob(QWidget* window, const QString& title, Done done)
    : QObject(window), m_window(window), m_title(title), m_done(std::move(done)) {
    m_showProgress = new QTimer(this);
    m_showProgress->setSingleShot(true);
    m_showProgress->setInterval(kProgressDelayMs);
    connect(m_showProgress, &QTimer::timeout, this, [this] {
        if (m_running && m_progress)
            m_progress->show();
    });
}

FileWriteJob::~FileWriteJob() {
    if (m_running)
        m_future.waitForFinished();
}

bool FileWriteJob::Start(const QString& path, const QString& label, int steps, Work work) {
    if (m_running)
        return false;
    m_running = true;
    m_path = path;
    const int ticket = ++m_ticket;

    if (!m_progress) {
        m_progress = new QProgressDialog(m_window);
        m_progress->setWindowModality(Qt::NonModal);
        m_progress->setWindowTitle(m_title);
        m_progress->setCancelButton(nullptr);
        m_progress->setAutoClose(false);
        m_progress->setAutoReset(false);
        // Shown by this job's timer, never by the dialog's own guess.
        m_progress->setMinimumDuration(std::numeric_limits<int>::max());
    }
    m_progress->hide();
    m_progress->setLabelText(label);
    m_progress->setRange(0, steps); // 0, 0: a busy bar
    m_progress->setValue(0);
    m_showProgress->start();

    m_future = SharedWorkers().Run([work = std::move(work), steps](QPromise<Outcome>& promise) {
        promise.setProgressRange(0, steps);
        Outcome outcome;
        try {
            outcome = work([&promise](int done) { promise.setProgressValue(done); });
        } catch (const std::bad_alloc&) {
            outcome.written = false;
            outcome.error = OutOfMemoryText();
        }
        promise.addResult(outcome);
    });
    auto* progress = new QFutureWatcher<Outcome>(this);
    connect(progress, &QFutureWatcherBase::progressValueChanged, m_progress,
            &QProgressDialog::setValue);
    connect(progress, &QFutureWatcherBase::finished, progress, &QObject::deleteLater);
    progress->setFuture(m_future);
    WhenFinished(this, m_future,
                 [this, ticket](const Outcome& outcome) { Deliver(ticket, outcome); });
    return true;
}

void FileWriteJob::Finish() {
    if (!m_running)
        return;
    m_future.waitForFinished();
    Deliver(m_ticket, m_future.result());
}

void FileWriteJob::Deliver(int ticket, const Outcome& outcome) {
    // Told once: after Finish the watcher's late signal finds nothing to tell.
    if (!m_running || ticket != m_ticket)
        return;
    m_running = false;
    m_showProgress->stop();
    if (m_progress)
        m_progress->hide();
    if (m_done)
        m_done(m_path, outcome);
}

FileWriteJob::Work PictureExportWork(const QString& photoPath, const QImage& photo,
                                     const PhotoInfo& records, const QString& path) {
    return [photoPath, photo, records, path](const std::function<void(int)>& progress) {
        BandedPictureOptions options;
        options.exif = ExportExifOfPhoto(photoPath, false);
        options.progress = [&progress](int done, int) { progress(done); };
        FileWriteJob::Outcome outcome;
        AnnotationRenderer renderer(kBandedLabelBytes);
        outcome.written =
            ExportAnnotatedPicture(photo, records, path, &outcome.error, &renderer, options);
        return outcome;
    };
}

FileWriteJob::Work ReportWork(const QString& photoPath, const QImage& photo,
                              const PhotoInfo& records, const QString& path) {
    return [photoPath, photo, records, path](const std::function<void(int)>&) {
        FileWriteJob::Outcome outcome;
        ReportFile report(path);
        outcome.written = report.AddPicture(photoPath, photo, records, &outcome.error) &&
                          report.Write(&outcome.error);
        return outcome;
    };
}
