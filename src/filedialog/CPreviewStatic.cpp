#include "filedialog/CPreviewStatic.h"

#include "filedialog/PreviewFit.h"

#include <QPainter>

CPreviewStatic::CPreviewStatic(QWidget* parent) : QWidget(parent) {
    connect(&m_loader, &AsyncPreviewLoader::Loaded, this, &CPreviewStatic::Show);
}

QSize CPreviewStatic::DecodeBox() const {
    const qreal ratio = devicePixelRatioF();
    return QSize(qRound(width() * ratio), qRound(height() * ratio));
}

bool CPreviewStatic::LoadPicture(const QString& path) {
    m_loader.Cancel();
    const PreviewPicture picture = LoadPreviewPicture(path, DecodeBox());
    Show(path, picture);
    return picture.ok;
}

void CPreviewStatic::RequestPicture(const QString& path) {
    // The old picture is not left on show under a new file's name.
    Clear(path);
    m_loader.Request(path, DecodeBox());
}

void CPreviewStatic::CancelLoading() {
    m_loader.Cancel();
}

void CPreviewStatic::Show(const QString& path, const PreviewPicture& picture) {
    m_strPath = path;
    if (picture.ok) {
        m_image = picture.image;
        m_image.setDevicePixelRatio(devicePixelRatioF());
        m_sizePicture = picture.fullSize;
        m_strError.clear();
    } else {
        m_image = QImage();
        m_sizePicture = QSize(0, 0);
        m_strError = picture.error;
    }
    setToolTip(m_strError);
    update();
    Q_EMIT PictureChanged();
}

void CPreviewStatic::Clear(const QString& path) {
    m_strPath = path;
    m_image = QImage();
    m_sizePicture = QSize(0, 0);
    m_strError.clear();
    setToolTip(QString());
    update();
    Q_EMIT PictureChanged();
}

void CPreviewStatic::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Grey box with a one-pixel black outline, inside the client area.
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(QColor(128, 128, 128));
    painter.drawRect(QRect(0, 0, width() - 1, height() - 1));
    if (m_image.isNull())
        return;
    const QRect target = FitPictureRect(m_sizePicture, size());
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(target, m_image);
}
