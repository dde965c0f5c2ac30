#include "filedialog/ThumbnailCache.h"

#include "filedialog/PreviewLoader.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QMutex>
#include <QMutexLocker>
#include <QPointer>
#include <QRunnable>
#include <QThreadPool>

namespace {
constexpr qsizetype kMaxThumbnails = 4000; // about 40 MB at 48 x 48

// Kept apart from the preview's worker, so the preview never waits behind a
// folder full of thumbnails.
QThreadPool* ThumbnailPool() {
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool;
        p->setMaxThreadCount(1);
        qAddPostRoutine([] { ThumbnailPool()->waitForDone(); });
        return p;
    }();
    return pool;
}
} // namespace

// The cache clears `receiver` under the mutex before it dies.
struct ThumbnailCache::Channel {
    QMutex mutex;
    ThumbnailCache* receiver = nullptr;

    bool Alive() {
        QMutexLocker lock(&mutex);
        return receiver != nullptr;
    }
};

class ThumbnailCache::Task : public QRunnable {
public:
    Task(std::shared_ptr<Channel> channel, QString key, QString path, QSize box)
        : m_channel(std::move(channel)), m_key(std::move(key)), m_path(std::move(path)),
          m_box(box) {}

    void run() override {
        if (!m_channel->Alive())
            return;
        const PreviewPicture picture = LoadPreviewPicture(m_path, m_box);
        QMutexLocker lock(&m_channel->mutex);
        ThumbnailCache* receiver = m_channel->receiver;
        if (!receiver)
            return;
        QMetaObject::invokeMethod(
            receiver,
            [receiver, key = m_key, path = m_path, image = picture.image] {
                receiver->Deliver(key, path, image);
            },
            Qt::QueuedConnection);
    }

private:
    std::shared_ptr<Channel> m_channel;
    QString m_key;
    QString m_path;
    QSize m_box;
};

ThumbnailCache::ThumbnailCache(QSize box, QObject* parent)
    : QObject(parent), m_channel(std::make_shared<Channel>()), m_box(box) {
    m_channel->receiver = this;
}

ThumbnailCache::~ThumbnailCache() {
    QMutexLocker lock(&m_channel->mutex);
    m_channel->receiver = nullptr;
}

ThumbnailCache* ThumbnailCache::Shared() {
    static QPointer<ThumbnailCache> shared;
    if (!shared)
        shared = new ThumbnailCache(QSize(48, 48), QCoreApplication::instance());
    return shared;
}

void ThumbnailCache::CancelPending() {
    ThumbnailPool()->clear();
    m_pending.clear();
}

QImage ThumbnailCache::Thumbnail(const QString& path, qint64 stamp) {
    const QString key = path + QLatin1Char('|') + QString::number(stamp);
    const auto found = m_done.constFind(key);
    if (found != m_done.constEnd())
        return found.value();
    if (!m_pending.contains(key)) {
        m_pending.insert(key);
        // Newest first: what the list draws now is what the user looks at.
        ThumbnailPool()->start(new Task(m_channel, key, path, m_box), ++m_nRequests);
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
