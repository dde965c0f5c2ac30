#pragma once
// The preview picture of the picture file dialog: a grey box with a black
// outline, and the chosen picture fitted into it.

#include "filedialog/AsyncPreviewLoader.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QWidget>

class CPreviewStatic : public QWidget {
    Q_OBJECT
public:
    explicit CPreviewStatic(QWidget* parent = nullptr);

    // Decodes `path` now, on the calling thread. True when a picture is
    // loaded; on failure the preview is left empty (grey) and its tool tip
    // says why. Drops any request still being decoded.
    bool LoadPicture(const QString& path);
    // Starts decoding `path` on a worker thread and empties the preview until
    // the picture arrives; PictureChanged() tells when it has. A later
    // request or LoadPicture replaces this one.
    void RequestPicture(const QString& path);
    // Forgets any request still being decoded.
    void CancelLoading();
    bool IsLoading() const { return m_loader.IsBusy(); }

    // Full upright size of the picture shown; (0, 0) while none is loaded.
    QSize GetPictureSize() const { return m_sizePicture; }
    bool HasPicture() const { return !m_image.isNull(); }
    // The file whose picture is shown (or was last tried).
    QString PicturePath() const { return m_strPath; }

    // Decode box in device pixels: the client area.
    QSize DecodeBox() const;

Q_SIGNALS:
    // The picture shown has changed: loaded, emptied, or failed to load.
    void PictureChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Show(const QString& path, const PreviewPicture& picture);
    void Clear(const QString& path);

    AsyncPreviewLoader m_loader;
    QImage m_image;            // reduced to the size it is drawn at
    QSize m_sizePicture{0, 0}; // full size of the picture
    QString m_strPath;
    QString m_strError;
};
