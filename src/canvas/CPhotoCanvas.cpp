#include "canvas/CPhotoCanvas.h"

#include <QPainter>

CPhotoCanvas::CPhotoCanvas(QWidget* parent) : QWidget(parent) {
    m_pendingDim.font = DefaultLogFont();
    m_logFont = DefaultLogFont();
    m_tools.push_back(ToolDrag);
}

CPhotoCanvas::~CPhotoCanvas() = default;

void CPhotoCanvas::SetTool(int32_t tool) {
    m_tools.clear();
    m_tools.push_back(tool);
}

void CPhotoCanvas::CancelPendingDimension() { m_bFirstPoint = 0; }

void CPhotoCanvas::PostNotify(int code) {
    QMetaObject::invokeMethod(
        this, [this, code] { Q_EMIT canvasNotify(code); }, Qt::QueuedConnection);
}

void CPhotoCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Render(painter);
}

void CPhotoCanvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UpdateLayout();
    update();
}

QImage CPhotoCanvas::RenderToImage() {
    QImage image(size(), QImage::Format_RGB32);
    QPainter painter(&image);
    Render(painter);
    return image;
}

// The view model, painting and export are filled in by their own files.
bool CPhotoCanvas::LoadPhoto(const QString& path) {
    if (!m_dib.Load(path, 32))
        return false;
    ResetAnnotations();
    UpdateLayout();
    return true;
}

void CPhotoCanvas::ResetAnnotations() {
    m_rcSrc = RECT{};
    m_nSelDim = -1;
    m_nSelNote = -1;
    m_info.Clear();
    m_bFirstPoint = 0;
}

void CPhotoCanvas::UpdateLayout() {}
POINT CPhotoCanvas::MapPoint(POINT pt, bool) const { return pt; }
void CPhotoCanvas::SetZoom(int) {}
void CPhotoCanvas::CentreOn(POINT) {}
bool CPhotoCanvas::ExportAnnotatedImage(const QString&) { return false; }
void CPhotoCanvas::Render(QPainter& painter) { painter.fillRect(rect(), QColor(128, 128, 128)); }
