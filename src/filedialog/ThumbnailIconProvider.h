#pragma once
// File icons that show a small picture of each photo once it has been
// decoded (the file type's own icon until then). The icons draw through a
// ThumbnailCache; they may be made on the file model's worker thread and
// are drawn on the UI thread.

#include <QFileIconProvider>
#include <QPointer>

class ThumbnailCache;

class ThumbnailIconProvider : public QFileIconProvider {
public:
    explicit ThumbnailIconProvider(ThumbnailCache* cache);
    // The program's provider, drawing through ThumbnailCache::Shared(). It
    // outlives every file dialog, whose model may ask it for icons until the
    // model is gone.
    static ThumbnailIconProvider* Shared();

    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override;

private:
    QPointer<ThumbnailCache> m_cache;
};
