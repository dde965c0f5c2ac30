// CPhotoCanvas: opening a photo on a worker. The header is read at once, a
// stand-in is drawn in the photo's place with the records over it, and the
// full decode replaces it when ready; a newer open cancels an older one.
#include "canvas/CPhotoCanvas.h"

#include "canvas/PhotoPyramid.h"

#include "lumoimage/PartedDecode.h"
#include "lumoimage/PhotoOpening.h"
#include "lumoimage/PictureMemoryReuse.h"
#include "lumoimage/PixelBuffer.h"
#include "platform/BackgroundWork.h"

#include <QCoreApplication>
#include <QPainter>
#include <QTimer>

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>

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

// The filling stand-in is repainted at most this often; until its first rows
// are on the screen it is looked at this often (a look costs microseconds).
constexpr int kFillingRepaintMs = 30;
constexpr int kFirstRowsLookMs = 3;

struct Decoded {
    RowDecodeResult result = RowDecodeResult::Failed;
    QImage image;
    QString error;
};

// Halved down to at most twice the view's size, so drawing the stand-in
// costs the window's thread little (a 200-MP photo's eighth is 2040 x 1530).
QImage FittedToView(QImage image, QSize view, const std::atomic<bool>* cancel) {
    while (!view.isEmpty() && image.width() >= 4 * view.width() &&
           image.height() >= 4 * view.height()) {
        QImage half = PhotoPyramid::Halve(image, cancel);
        if (half.isNull())
            break;
        image = std::move(half);
    }
    return image;
}

// The part of `image` (which covers the whole photo of size `full`) under
// the photo's `src`, drawn into `dst`, down to its row `rows`.
void DrawCovering(QPainter& painter, const QRect& dst, const QImage& image, const RECT& src,
                  SIZE full, int rows, bool smooth) {
    const double fx = double(image.width()) / full.cx;
    const double fy = double(image.height()) / full.cy;
    QRectF from(src.left * fx, src.top * fy, (src.right - src.left) * fx,
                (src.bottom - src.top) * fy);
    QRectF to(dst);
    if (rows < from.bottom()) {
        if (rows <= from.top())
            return;
        to.setHeight(to.height() * (rows - from.top()) / from.height());
        from.setBottom(rows);
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    painter.drawImage(to, image, from);
    painter.restore();
}
// A decode in two parts (PartedDecode.h), each on a worker of its own; the
// part that ends last takes the last step on its worker, and `done` gets
// what that gives on the receiver's thread. The decode (and its picture) is
// made by whichever part starts first: its memory is never taken on the
// window's thread.
struct PartsRun {
    std::function<std::shared_ptr<PartedDecode>(QString* error)> make;
    DecodeControl* upperControl = nullptr;
    DecodeControl* lowerControl = nullptr;
    std::function<Decoded(RowDecodeResult result, QString error)> last;
    std::once_flag once;
    std::shared_ptr<PartedDecode> parts;
    QString error; // why there is none
    Decoded upper, lower;
    std::atomic<int> ended{0};

    PartedDecode* Parts() {
        std::call_once(once, [this] { parts = make(&error); });
        return parts.get();
    }
    // On a worker: one part, and the last step when it is the second to end.
    std::optional<Decoded> Part(bool isUpper) {
        Decoded& d = isUpper ? upper : lower;
        if (PartedDecode* p = Parts())
            d.result =
                isUpper ? p->Upper(upperControl, &d.error) : p->Lower(lowerControl, &d.error);
        if (ended.fetch_add(1) == 0)
            return std::nullopt;
        if (!parts) {
            Decoded failed;
            failed.error = error;
            return failed;
        }
        QString whole;
        const RowDecodeResult result =
            parts->Finish(upper.result, lower.result, upperControl, &whole);
        return last(result, upper.result == RowDecodeResult::Failed ? upper.error : whole);
    }
};

void RunParts(QObject* receiver, const std::shared_ptr<PartsRun>& run, int priority,
              const std::function<void(const Decoded&)>& done) {
    for (const bool upper : {true, false})
        WhenFinished(receiver,
                     SharedWorkers().Run([run, upper] { return run->Part(upper); }, priority),
                     [done](const std::optional<Decoded>& d) {
                         if (d)
                             done(*d);
                     });
}
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
    // The memory of the photo a newer one replaces is kept for the next, so
    // opening one photo after another commits no fresh pages for it.
    static const PictureMemoryReuse lastPhotoMemory(1);
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
    DecodePhoto(job, head);
    return true;
}

void CPhotoCanvas::DecodePhoto(const std::shared_ptr<PhotoLoadJob>& job, const PhotoHead& head) {
    // The stand-in's decode is started first, so it takes the workers first.
    if (!m_pending.standInSharp && !FillStandIn(job, head))
        DecodeStandIn(job, head);
    // The full photo, in two parts when restart markers allow.
    auto run = std::make_shared<PartsRun>();
    run->upperControl = &job->full;
    run->lowerControl = &job->fullLower;
    run->make = [job, head](QString* error) -> std::shared_ptr<PartedDecode> {
        QImage picture = AllocateRgb32(head.stored.width(), head.stored.height());
        if (picture.isNull()) {
            *error = QStringLiteral("Not enough memory for a picture of %1 × %2 pixels.")
                         .arg(head.stored.width())
                         .arg(head.stored.height());
            return nullptr;
        }
        // The pointer is taken while no copy shares the memory: bits() copies
        // a shared picture.
        const RowTarget target{picture.bits(), picture.bytesPerLine(), picture.width(),
                               picture.height()};
        job->picture = std::move(picture);
        return std::make_shared<PartedDecode>(job->path, head.bytes, 1, 1, target);
    };
    run->last = [job, orientation = head.header.orientation](RowDecodeResult result,
                                                             QString error) {
        Decoded d;
        d.result = result;
        d.error = std::move(error);
        if (result == RowDecodeResult::Done)
            d.result = TurnDecodedUpright(std::move(job->picture), orientation, &d.image, &d.error);
        job->picture = QImage();
        return d;
    };
    RunParts(this, run, 0, [this, job](const Decoded& d) {
        if (job != m_pending.job || d.result == RowDecodeResult::Cancelled)
            return;
        if (d.result == RowDecodeResult::Failed)
            FailPhotoLoad(d.error);
        else
            LandPhoto(d.image);
    });
}

// A photo stored upright: its reduced decode goes straight into the picture
// drawn as the stand-in, which fills from the top as the rows come; with
// restart markers in two parts at once, one per worker.
bool CPhotoCanvas::FillStandIn(const std::shared_ptr<PhotoLoadJob>& job, const PhotoHead& head) {
    if (head.header.orientation != 1)
        return false;
    const QSize reduced = ReducedStoredSize(head, kStandInDenominator);
    // Its pages are taken as the rows come, not all before the first row.
    QImage filling = AllocateRgb32(reduced.width(), reduced.height(), false);
    if (filling.isNull())
        return false;
    // The workers write through the pointer; nothing here changes the
    // picture's memory while they do.
    RowTarget target{filling.bits(), filling.bytesPerLine(), filling.width(), filling.height()};
    target.watched = true;
    job->filling = filling;
    m_pending.filling = std::move(filling);
    m_pending.fillingRowsShown = 0;
    auto run = std::make_shared<PartsRun>();
    run->upperControl = &job->standIn;
    run->lowerControl = &job->lower;
    run->make = [job, head, target](QString*) {
        return std::make_shared<PartedDecode>(job->path, head.bytes, 1, kStandInDenominator,
                                              target);
    };
    run->last = [job, view = size()](RowDecodeResult result, QString) {
        Decoded d;
        d.result = result;
        if (result == RowDecodeResult::Done)
            d.image = FittedToView(job->filling, view, &job->standIn.cancel);
        return d;
    };
    RunParts(this, run, 1, [this, job](const Decoded& d) {
        // A failed reduced decode says nothing: the full one will say why.
        if (d.result == RowDecodeResult::Done)
            LandStandIn(job, d.image);
    });
    WatchFilling(job);
    return true;
}

// A photo stored turned: decoded reduced, then turned, then shown.
void CPhotoCanvas::DecodeStandIn(const std::shared_ptr<PhotoLoadJob>& job, const PhotoHead& head) {
    auto reduced = SharedWorkers().Run(
        [job, head, view = size()] {
            Decoded d;
            d.result = DecodePhotoFileUpright(job->path, head, 1, kStandInDenominator,
                                              &job->standIn, &d.image, &d.error);
            if (d.result == RowDecodeResult::Done)
                d.image = FittedToView(std::move(d.image), view, &job->standIn.cancel);
            return d;
        },
        1);
    WhenFinished(this, reduced, [this, job](const Decoded& d) {
        // A failed reduced decode says nothing: the full one will say why.
        if (d.result == RowDecodeResult::Done)
            LandStandIn(job, d.image);
    });
}

void CPhotoCanvas::LandStandIn(const std::shared_ptr<PhotoLoadJob>& job, const QImage& standIn) {
    if (job != m_pending.job)
        return;
    m_pending.standIn = standIn;
    m_pending.standInSharp = true;
    m_pending.filling = QImage();
    update();
}

void CPhotoCanvas::WatchFilling(const std::weak_ptr<PhotoLoadJob>& job) {
    const int wait = m_pending.fillingRowsShown == 0 ? kFirstRowsLookMs : kFillingRepaintMs;
    QTimer::singleShot(wait, this, [this, job] {
        const auto current = job.lock();
        if (!current || current != m_pending.job || m_pending.filling.isNull())
            return;
        if (current->standIn.rowsDone != m_pending.fillingRowsShown)
            update();
        WatchFilling(job);
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
    m_pending.filling = QImage();
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
    const SIZE full = PhotoSize();
    if (m_pending.standIn.isNull())
        painter.fillRect(dst, kNoStandIn);
    else
        DrawCovering(painter, dst, m_pending.standIn, m_rcSrc, full, m_pending.standIn.height(),
                     true);
    if (!m_pending.filling.isNull() && m_pending.job) {
        // Only the rows decoded so far; no smoothing, which would read
        // the row still being written below them.
        m_pending.fillingRowsShown = m_pending.job->standIn.rowsDone;
        DrawCovering(painter, dst, m_pending.filling, m_rcSrc, full, m_pending.fillingRowsShown,
                     false);
    }
    return true;
}

void CPhotoCanvas::DrawLoadProgress(QPainter& painter) const {
    if (!m_pending.showProgress || !m_pending.job)
        return;
    const int total = m_pending.job->full.rowsTotal;
    const int done = m_pending.job->full.rowsDone + m_pending.job->fullLower.rowsDone;
    const QRect bar(0, height() - kProgressBarHeight, width(), kProgressBarHeight);
    painter.fillRect(bar, kProgressTrack);
    if (total > 0)
        painter.fillRect(QRect(0, bar.top(), int(qint64(width()) * done / total), bar.height()),
                         kProgressDone);
}
