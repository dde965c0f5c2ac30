#include "filedialog/ThumbnailCache.h"

#include "filedialog/PreviewLoader.h"
#include "platform/BackgroundWork.h"

#include <QCoreApplication>
#include <QPointer>

namespace {
constexpr qsizetype kMaxThumbnails = 4000; // about 40 MB at 48 x 48

// Kept apart from the preview's worker, so the preview never waits behind a
// folder full of thumbnails.
WorkerPool& ThumbnailWorker() {
    static WorkerPool pool(1);
    return pool;
}
} // namespace

ThumbnailCache::ThumbnailCache(QSize box, QObject* parent) : QObject(parent), m_box(box) {}

ThumbnailCache::~ThumbnailCache() {
    CancelPending();
}

ThumbnailCache* ThumbnailCache::Shared() {
    static QPointer<ThumbnailCache> shared;
    if (!shared)
        shared = new ThumbnailCache(QSize(48, 48), QCoreApplication::instance());
    return shared;
}

void ThumbnailCache::CancelPending() {
    for (QFuture<QImage>& future : m_pending)
        future.cancel();
    m_pending.clear();
}

QImage ThumbnailCache::Thumbnail(const QString& path, qint64 stamp) {
    const QString key = path + QLatin1Char('|') + QString::number(stamp);
    const auto found = m_done.constFind(key);
    if (found != m_done.constEnd())
        return found.value();
    if (!m_pending.contains(key)) {
        // Newest first: what the list draws now is what the user looks at.
        const QFuture<QImage> future = ThumbnailWorker().Run(
            [path, box = m_box] { return LoadPreviewPicture(path, box).image; }, ++m_nRequests);
        m_pending.insert(key, future);
        WhenFinished(this, future,
                     [this, key, path](const QImage& image) { Deliver(key, path, image); });
    }
    return QImage();
}

void ThumbnailCache::Deliver(const QString& key, const QString& path, const QImage& image) {
    m_pending.remove(key);
    if (m_done.size() >= kMaxThumbnails)
        m_done.clear();
    m_done.insert(key, image);
    Q_EMIT ThumbnailReady(path);
}
