#include "canvas/CPhotoCanvas.h"

#include <QCursor>

CPhotoCanvas::CPhotoCanvas(QWidget* parent) : QWidget(parent) {
    m_pendingDim.font = DefaultLogFont();
    m_logFont = DefaultLogFont();
    m_tools.push_back(ToolDrag);
    // Every paint covers the whole client area, so no background erase.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The rubber band follows the mouse with no button held.
    setMouseTracking(true);
    // A click gives the canvas the keyboard (Delete, arrows, Space); Tab
    // passes it by.
    setFocusPolicy(Qt::ClickFocus);
    m_history.SetShowStep([this](const ShownStep& step) { ShowStep(step); });
    m_photoView.SetLevelReadyCallback([this] {
        // From the worker thread: repaint once the better level is there.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_photoView.DrewStandIn())
                    update();
            },
            Qt::QueuedConnection);
    });
}

CPhotoCanvas::~CPhotoCanvas() {
    // Stop the worker before anything it reports to goes away.
    m_photoView.SetLevelReadyCallback(nullptr);
}

void CPhotoCanvas::SetTool(int32_t tool) {
    m_tools.clear();
    m_tools.push_back(tool);
}

void CPhotoCanvas::CancelPendingDimension() {
    m_bFirstPoint = 0;
}

void CPhotoCanvas::SetCursorSource(std::function<QPoint()> source) {
    m_cursorSource = std::move(source);
}

QPoint CPhotoCanvas::CursorPosition() const {
    if (m_cursorSource)
        return m_cursorSource();
    return mapFromGlobal(QCursor::pos());
}

void CPhotoCanvas::PostNotify(int code) {
    QMetaObject::invokeMethod(
        this, [this, code] { Q_EMIT canvasNotify(code); }, Qt::QueuedConnection);
}

Dimension* CPhotoCanvas::SelectedDimension() {
    if (m_nSelDim < 0 || m_nSelDim >= static_cast<int32_t>(m_info.dimensions.size()))
        return nullptr;
    return &m_info.dimensions[static_cast<size_t>(m_nSelDim)];
}

const Dimension* CPhotoCanvas::SelectedDimension() const {
    if (m_nSelDim < 0 || m_nSelDim >= static_cast<int32_t>(m_info.dimensions.size()))
        return nullptr;
    return &m_info.dimensions[static_cast<size_t>(m_nSelDim)];
}

InfoNote* CPhotoCanvas::SelectedNote() {
    if (m_nSelNote < 0 || m_nSelNote >= static_cast<int32_t>(m_info.notes.size()))
        return nullptr;
    return &m_info.notes[static_cast<size_t>(m_nSelNote)];
}

const InfoNote* CPhotoCanvas::SelectedNote() const {
    if (m_nSelNote < 0 || m_nSelNote >= static_cast<int32_t>(m_info.notes.size()))
        return nullptr;
    return &m_info.notes[static_cast<size_t>(m_nSelNote)];
}
