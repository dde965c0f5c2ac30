#pragma once
// Small pictures of the photos in the file list, decoded on a worker thread
// the first time the list draws them. Requests are served newest first, so
// the files in view come before those scrolled past; nothing is delivered
// once the cache is gone.

#include <QFuture>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

class ThumbnailCache : public QObject {
    Q_OBJECT
public:
    explicit ThumbnailCache(QSize box, QObject* parent = nullptr);
    ~ThumbnailCache() override;

    // The program's one cache (thumbnails 48 x 48), kept while the
    // application runs so a folder opened again shows its pictures at once.
    static ThumbnailCache* Shared();

    // The thumbnail of `path` if it is ready; otherwise a null image, and
    // the file is queued for decoding (once). `stamp` tells versions of the
    // file apart (its time of last change), so a rewritten photo is decoded
    // again.
    QImage Thumbnail(const QString& path, qint64 stamp);
    QSize Box() const { return m_box; }
    // Forgets the files queued but not yet started (the dialog has closed).
    void CancelPending();

Q_SIGNALS:
    // A thumbnail has become ready (or failed, and will not be asked again).
    void ThumbnailReady(const QString& path);

private:
    void Deliver(const QString& key, const QString& path, const QImage& image);

    QSize m_box;
    // By path and stamp; a null image: the file cannot be shown.
    QHash<QString, QImage> m_done;
    QHash<QString, QFuture<QImage>> m_pending;
    int m_nRequests = 0;
};
