// CPhotoCanvas: opening a photo on a worker. The header is read at once, a
// stand-in is drawn in the photo's place with the records over it, and the
// full decode replaces it when ready; a newer open cancels an older one.
#include "canvas/CPhotoCanvas.h"

#include "canvas/PhotoPyramid.h"

#include "lumoimage/JpegFile.h"
#include "lumoimage/PhotoOpening.h"
#include "platform/BackgroundWork.h"

#include <QCoreApplication>
#include <QPainter>
#include <QTimer>

namespace {
// A decode that takes longer than this shows a progress bar, repainted at
// the second interval.
constexpr int kProgressDelayMs = 500;
constexpr int kProgressRepaintMs = 100;
constexpr int kProgressBarHeight = 4;
const QColor kProgressTrack(64, 64, 64);
const QColor kProgressDone(0, 120, 215);
// The photo's place before any stand-in is there.
const QColor kNoStandIn(96, 96, 96);
// The reduced decode drawn when the photo has no thumbnail large enough:
// libjpeg's smallest factor, the quickest.
constexpr int kStandInDenominator = 8;

struct FileRead {
    bool ok = false;
    QByteArray bytes;
    QString error;
};

struct Decoded {
    RowDecodeResult result = RowDecodeResult::Failed;
    QImage image;
    QString error;
};
} // namespace

void CPhotoCanvas::ResetAnnotations() {
    m_rcSrc = RECT{};
    // Another photo: no records, no selection, a new history.
    m_model.Clear();
    m_bFirstPoint = 0;
    m_bDragging = 0;
    m_nHandle = -1;
    // Corners of a plane being placed belong to the old photo.
    m_planeClicks.clear();
    m_bPlacingPlane = false;
    m_shapeClicks.clear();
}

bool CPhotoCanvas::BeginPhotoLoad(const QString& path) {
    PhotoHead head;
    QString error;
    if (!ReadPhotoHead(path, &head, &error)) {
        // The photo (or the one still loading) and the records stay.
        m_loadError = error;
        return false;
    }
    if (!PhotoPending())
        m_viewBeforeLoad = ShownView{m_fZoom, m_bFit, m_rcSrc};
    CancelPhotoLoad();
    auto job = std::make_shared<PhotoLoadJob>();
    job->path = path;
    m_pending.job = job;
    m_pending.size = head.upright;
    m_pending.standIn = ThumbnailStandIn(head, &m_pending.standInSharp);
    m_loadError.clear();
    ResetAnnotations();
    UpdateLayout();
    update();
    WatchLoadProgress(job, kProgressDelayMs);
    ReadPhotoFile(job, head);
    return true;
}

void CPhotoCanvas::ReadPhotoFile(const std::shared_ptr<PhotoLoadJob>& job, const PhotoHead& head) {
    const int orientation = head.header.orientation;
    if (head.whole) {
        DecodePhoto(job, head.bytes, orientation);
        return;
    }
    auto read = SharedWorkers().Run([path = job->path] {
        FileRead r;
        r.ok = ReadJpegFile(path, &r.bytes, &r.error);
        return r;
    });
    WhenFinished(this, read, [this, job, orientation](const FileRead& r) {
        if (job != m_pending.job)
            return; // cancelled meanwhile
        if (!r.ok)
            FailPhotoLoad(r.error);
        else
            DecodePhoto(job, r.bytes, orientation);
    });
}

void CPhotoCanvas::DecodePhoto(const std::shared_ptr<PhotoLoadJob>& job, const QByteArray& bytes,
                               int orientation) {
    if (!m_pending.standInSharp) {
        // Started first when a single worker is free: it is on screen first.
        // Halved down to at most twice the view's size, so drawing it costs
        // this thread little (a 200-MP photo's eighth is 2040 x 1530).
        auto reduced = SharedWorkers().Run(
            [job, bytes, orientation, view = size()] {
                Decoded d;
                d.result = DecodePhotoUpright(bytes, orientation, 1, kStandInDenominator,
                                              &job->standIn, &d.image, &d.error);
                while (d.result == RowDecodeResult::Done && !view.isEmpty() &&
                       d.image.width() >= 4 * view.width() &&
                       d.image.height() >= 4 * view.height()) {
                    QImage half = PhotoPyramid::Halve(d.image, &job->standIn.cancel);
                    if (half.isNull())
                        break;
                    d.image = std::move(half);
                }
                return d;
            },
            1);
        WhenFinished(this, reduced, [this, job](const Decoded& d) {
            // A failed reduced decode says nothing: the full one will say why.
            if (job != m_pending.job || d.result != RowDecodeResult::Done)
                return;
            m_pending.standIn = d.image;
            m_pending.standInSharp = true;
            update();
        });
    }
    auto full = SharedWorkers().Run([job, bytes, orientation] {
        Decoded d;
        d.result = DecodePhotoUpright(bytes, orientation, 1, 1, &job->full, &d.image, &d.error);
        return d;
    });
    WhenFinished(this, full, [this, job](Decoded d) {
        if (job != m_pending.job || d.result == RowDecodeResult::Cancelled)
            return;
        if (d.result == RowDecodeResult::Failed)
            FailPhotoLoad(d.error);
        else
            LandPhoto(std::move(d.image));
    });
}

void CPhotoCanvas::LandPhoto(QImage photo) {
    QImage previous = std::move(m_dib.Image());
    m_dib.Image() = std::move(photo);
    m_photoView.SetPhoto(m_dib.Image());
    // Giving a large photo's pages back takes a while: a worker does it.
    if (!previous.isNull())
        SharedWorkers().Run([previous = std::move(previous)]() mutable { previous = QImage(); });
    m_pending.job.reset();
    m_pending.showProgress = false;
    // Same size, same place: the stand-in (or, when none came first, the
    // photo's empty place) stays until the full photo can be drawn without
    // scaling it whole on this thread.
    m_pending.holdStandIn = true;
    update();
    Q_EMIT photoLoaded(true, QString());
}

void CPhotoCanvas::FailPhotoLoad(const QString& error) {
    m_pending = PendingPhoto();
    m_loadError = error;
    // The photo m_dib still holds, as it was shown before.
    m_fZoom = m_viewBeforeLoad.zoom;
    m_bFit = m_viewBeforeLoad.fit;
    m_rcSrc = m_viewBeforeLoad.src;
    UpdateLayout();
    update();
    Q_EMIT photoLoaded(false, error);
}

void CPhotoCanvas::CancelPhotoLoad() {
    if (m_pending.job)
        m_pending.job->Cancel();
    m_pending = PendingPhoto();
}

bool CPhotoCanvas::WaitForPhoto() {
    while (PhotoPending())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    m_pending.holdStandIn = false;
    m_pending.standIn = QImage();
    update();
    return m_loadError.isEmpty() && m_dib.HasPicture();
}

SIZE CPhotoCanvas::PhotoSize() const {
    if (PhotoPending())
        return SIZE{m_pending.size.width(), m_pending.size.height()};
    return m_dib.GetSize();
}

void CPhotoCanvas::WatchLoadProgress(const std::weak_ptr<PhotoLoadJob>& job, int delayMs) {
    QTimer::singleShot(delayMs, this, [this, job] {
        const auto current = job.lock();
        if (!current || current != m_pending.job)
            return;
        m_pending.showProgress = true;
        update();
        WatchLoadProgress(job, kProgressRepaintMs);
    });
}

bool CPhotoCanvas::DrawStandIn(QPainter& painter, bool waitForLevels) {
    if (!PhotoPending()) {
        if (!m_pending.holdStandIn)
            return false;
        if (waitForLevels || m_photoView.CanDrawAtOnce(m_dib.Image(), m_rcSrc, m_rcDst)) {
            m_pending.holdStandIn = false;
            m_pending.standIn = QImage();
            return false;
        }
    }
    const QRect dst(m_rcDst.left, m_rcDst.top, m_rcDst.Width(), m_rcDst.Height());
    const QImage& standIn = m_pending.standIn;
    if (standIn.isNull()) {
        painter.fillRect(dst, kNoStandIn);
        return true;
    }
    // The stand-in covers the whole photo: photo pixel x is stand-in pixel
    // x * (stand-in width / photo width).
    const SIZE full = PhotoSize();
    const double fx = double(standIn.width()) / full.cx;
    const double fy = double(standIn.height()) / full.cy;
    const QRectF from(m_rcSrc.left * fx, m_rcSrc.top * fy, m_rcSrc.Width() * fx,
                      m_rcSrc.Height() * fy);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(dst), standIn, from);
    painter.restore();
    return true;
}

void CPhotoCanvas::DrawLoadProgress(QPainter& painter) const {
    if (!m_pending.showProgress || !m_pending.job)
        return;
    const int total = m_pending.job->full.rowsTotal;
    const int done = m_pending.job->full.rowsDone;
    const QRect bar(0, height() - kProgressBarHeight, width(), kProgressBarHeight);
    painter.fillRect(bar, kProgressTrack);
    if (total > 0)
        painter.fillRect(QRect(0, bar.top(), int(qint64(width()) * done / total), bar.height()),
                         kProgressDone);
}
