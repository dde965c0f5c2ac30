#include "dialog/PictureExportJob.h"

#include "canvas/AnnotatedExport.h"
#include "canvas/AnnotationRenderer.h"
#include "platform/BackgroundWork.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QProgressDialog>
#include <QPromise>
#include <QTimer>

#include <limits>
#include <new>

namespace {
// A quick export never flashes a progress window.
constexpr int kProgressDelayMs = 300;
} // namespace

PictureExportJob::PictureExportJob(QWidget* window, Done done)
    : QObject(window), m_window(window), m_done(std::move(done)) {
    m_showProgress = new QTimer(this);
    m_showProgress->setSingleShot(true);
    m_showProgress->setInterval(kProgressDelayMs);
    connect(m_showProgress, &QTimer::timeout, this, [this] {
        if (m_running && m_progress)
            m_progress->show();
    });
}

PictureExportJob::~PictureExportJob() {
    if (m_running)
        m_future.waitForFinished();
}

bool PictureExportJob::Start(const QImage& photo, const PhotoInfo& records, const QString& path) {
    if (m_running)
        return false;
    m_running = true;
    m_path = path;
    const int ticket = ++m_ticket;
    const int rows = photo.height();

    if (!m_progress) {
        m_progress = new QProgressDialog(m_window);
        m_progress->setWindowModality(Qt::NonModal);
        m_progress->setWindowTitle(tr("輸出圖片"));
        m_progress->setCancelButton(nullptr);
        m_progress->setAutoClose(false);
        m_progress->setAutoReset(false);
        // Shown by this job's timer, never by the dialog's own guess.
        m_progress->setMinimumDuration(std::numeric_limits<int>::max());
    }
    m_progress->hide();
    m_progress->setLabelText(tr("正在輸出圖片：%1").arg(QFileInfo(path).fileName()));
    m_progress->setRange(0, rows);
    m_progress->setValue(0);
    m_showProgress->start();

    // The worker owns what it reads: a shared handle on the photo's pixels
    // and its own copy of the records, made here.
    m_future = SharedWorkers().Run([photo, records, path](QPromise<Outcome>& promise) {
        promise.setProgressRange(0, photo.height());
        BandedPictureOptions options;
        options.progress = [&promise](int done, int) { promise.setProgressValue(done); };
        Outcome outcome;
        try {
            AnnotationRenderer renderer(kBandedLabelBytes);
            outcome.written =
                ExportAnnotatedPicture(photo, records, path, &outcome.error, &renderer, options);
        } catch (const std::bad_alloc&) {
            outcome.written = false;
            outcome.error =
                QCoreApplication::translate("Export", "not enough memory for the picture");
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

void PictureExportJob::Finish() {
    if (!m_running)
        return;
    m_future.waitForFinished();
    Deliver(m_ticket, m_future.result());
}

void PictureExportJob::Deliver(int ticket, const Outcome& outcome) {
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
