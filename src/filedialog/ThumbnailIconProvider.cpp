#include "filedialog/ThumbnailIconProvider.h"

#include "filedialog/PreviewFit.h"
#include "filedialog/ThumbnailCache.h"

#include <QDateTime>
#include <QFileInfo>
#include <QIconEngine>
#include <QPainter>

namespace {

class ThumbnailIconEngine : public QIconEngine {
public:
    ThumbnailIconEngine(QString path, qint64 stamp, QIcon fallback, QPointer<ThumbnailCache> cache)
        : m_path(std::move(path)), m_stamp(stamp), m_fallback(std::move(fallback)),
          m_cache(std::move(cache)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const QImage image = m_cache ? m_cache->Thumbnail(m_path, m_stamp) : QImage();
        if (image.isNull()) {
            m_fallback.paint(painter, rect, Qt::AlignCenter, mode, state);
            return;
        }
        const QRect target = FitPictureRect(image.size(), rect.size()).translated(rect.topLeft());
        painter->save();
        painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter->drawImage(target, image);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QIconEngine* clone() const override {
        return new ThumbnailIconEngine(m_path, m_stamp, m_fallback, m_cache);
    }

private:
    QString m_path;
    qint64 m_stamp;
    QIcon m_fallback;
    QPointer<ThumbnailCache> m_cache;
};

bool IsPhoto(const QFileInfo& info) {
    const QString suffix = info.suffix().toLower();
    return info.isFile() && (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"));
}

} // namespace

ThumbnailIconProvider::ThumbnailIconProvider(ThumbnailCache* cache) : m_cache(cache) {}

ThumbnailIconProvider* ThumbnailIconProvider::Shared() {
    static ThumbnailIconProvider* shared = new ThumbnailIconProvider(ThumbnailCache::Shared());
    return shared;
}

QIcon ThumbnailIconProvider::icon(const QFileInfo& info) const {
    QIcon fallback = QFileIconProvider::icon(info);
    if (!IsPhoto(info))
        return fallback;
    const qint64 stamp = info.lastModified().toMSecsSinceEpoch() ^ info.size();
    return QIcon(new ThumbnailIconEngine(info.absoluteFilePath(), stamp, fallback, m_cache));
}
