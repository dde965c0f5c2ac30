#include "canvas/CPhotoCanvas.h"

#include <QCursor>

namespace {
// How long a pan rests before its scrolled photo is scaled afresh.
constexpr int kPhotoRefineDelay = 150; // ms
} // namespace

CPhotoCanvas::CPhotoCanvas(QWidget* parent) : QWidget(parent) {
    m_pendingDim.font = DefaultLogFont();
    m_logFont = DefaultLogFont();
    m_tools.push_back(ToolDrag);
    // Every paint covers the whole client area, so no background erase.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The rubber band follows the mouse with no button held.
    setMouseTracking(true);
    // A press never takes the keyboard from the edit box that has it.
    setFocusPolicy(Qt::NoFocus);
    m_model.SetShowStep([this](const ShownStep& step) { ShowStep(step); });
    m_photoView.SetLevelReadyCallback([this] {
        // From the worker thread: repaint once the better level is there.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_photoView.DrewStandIn() || m_pending.holdStandIn)
                    update();
            },
            Qt::QueuedConnection);
    });
    m_photoRefine.setSingleShot(true);
    m_photoRefine.setInterval(kPhotoRefineDelay);
    connect(&m_photoRefine, &QTimer::timeout, this, [this] {
        m_photoView.DropScrolled();
        update();
    });
}

CPhotoCanvas::~CPhotoCanvas() {
    // Stop the worker before anything it reports to goes away, and give up
    // a photo still being decoded.
    m_photoView.SetLevelReadyCallback(nullptr);
    CancelPhotoLoad();
}

void CPhotoCanvas::SetTool(int32_t tool) {
    m_tools.clear();
    m_tools.push_back(tool);
    CancelShape();
}

void CPhotoCanvas::CancelPendingDimension() {
    m_bFirstPoint = 0;
}

QPoint CPhotoCanvas::CursorPosition() const {
    return mapFromGlobal(QCursor::pos());
}

void CPhotoCanvas::PostNotify(int code) {
    QMetaObject::invokeMethod(
        this, [this, code] { Q_EMIT canvasNotify(code); }, Qt::QueuedConnection);
}
