// Placing the main window's controls for a client size.

#include "dialog/CMeasureDlg.h"

#include <QMoveEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <algorithm>

void CMeasureDlg::MoveControl(int id, int x, int y, int width, int height) {
    if (QWidget* control = GetDlgItem(id))
        control->setGeometry(x, y, std::max(width, 0), std::max(height, 0));
}

void CMeasureDlg::OnSize(int type, int cx, int cy) {
    if (type == SizeMinimized || !GetDlgItem(IDC_PANEL))
        return;
    const int W = cx;
    const int H = cy;
    MoveControl(IDC_CANVAS, 5, 5, W - 155, H - 10);
    MoveControl(IDC_STATUS, 5, H - 30, W - 10, 30);
    MoveControl(IDC_PANEL, W - 145, 0, 140, H - 5);

    // The panel's contents follow the panel as it really lies.
    const QRect panel = GetDlgItem(IDC_PANEL)->geometry();
    const int PL = panel.x();
    const int PT = panel.y();
    MoveControl(IDC_LOGO, PL + 50, PT + 15, 40, 40);
    MoveControl(IDC_OPEN_PHOTO, PL + 20, PT + 65, 100, 25);
    MoveControl(IDC_SAVE_INFO, PL + 20, PT + 95, 100, 25);
    MoveControl(IDC_EXPORT_PICTURE, PL + 20, PT + 125, 100, 25);
    MoveControl(IDC_CONNECT_RANGE, PL + 20, PT + 155, 100, 25);
    MoveControl(IDC_HELP, PL + 20, PT + 185, 100, 25);
    MoveControl(IDC_EXIT, PL + 20, PT + 215, 100, 25);
    // The area and angle tools in the free row above the zoom group.
    MoveControl(IDC_TOOL_AREA, PL + 40, PT + 220, 30, 30);
    MoveControl(IDC_TOOL_ANGLE, PL + 70, PT + 220, 30, 30);
    MoveControl(IDC_ZOOM_GROUP, PL + 5, PT + 255, 130, 50);
    MoveControl(IDC_TOOL_DRAG, PL + 10, PT + 310, 30, 30);
    MoveControl(IDC_TOOL_DIMENSION, PL + 40, PT + 310, 30, 30);
    MoveControl(IDC_TOOL_NOTE, PL + 70, PT + 310, 30, 30);
    MoveControl(IDC_TOOL_SELECT, PL + 100, PT + 310, 30, 30);
    MoveControl(IDC_PROPERTY_GROUP, PL + 5, PT + 335, 130, panel.height() - PT - 340);

    const QRect zoom = GetDlgItem(IDC_ZOOM_GROUP)->geometry();
    const int ZL = zoom.x();
    const int ZT = zoom.y();
    MoveControl(IDC_ZOOM_IN, ZL + 5, ZT + 15, 30, 30);
    MoveControl(IDC_ZOOM_OUT, ZL + 35, ZT + 15, 30, 30);
    MoveControl(IDC_ZOOM_ACTUAL, ZL + 65, ZT + 15, 30, 30);
    MoveControl(IDC_ZOOM_FIT, ZL + 95, ZT + 15, 30, 30);

    const QRect group = GetDlgItem(IDC_PROPERTY_GROUP)->geometry();
    const int GL = group.x();
    const int GT = group.y();
    const int GB = group.y() + group.height(); // one past the last row
    // Dimension controls.
    MoveControl(IDC_COLOUR_LABEL, GL + 10, GT + 20, 65, 28);
    MoveControl(IDC_COLOUR_SWATCH, GL + 75, GT + 15, 30, 25);
    MoveControl(IDC_DIM_FONT_LABEL, GL + 10, GT + 50, 40, 20);
    MoveControl(IDC_DIM_FONT_NAME, GL + 50, GT + 50, 50, 20);
    MoveControl(IDC_DIM_FONT, GL + 100, GT + 45, 25, 20);
    MoveControl(IDC_SIZE_LABEL, GL + 10, GT + 80, 65, 20);
    MoveControl(IDC_SIZE_EDIT, GL + 75, GT + 75, 45, 20);
    MoveControl(IDC_DELETE_DIMENSION, GL + 40, GT + 105, 50, 20);
    MoveControl(IDC_REFERENCE_CHECK, GL + 10, GT + 130, 115, 20);
    // Note controls, in the same place.
    MoveControl(IDC_NOTE_LIST, GL + 5, GT + 15, 120, 50);
    MoveControl(IDC_NOTE_TITLE_LABEL, GL + 5, GT + 75, 50, 20);
    MoveControl(IDC_NOTE_TITLE, GL + 50, GT + 70, 75, 20);
    MoveControl(IDC_NOTE_FONT_LABEL, GL + 5, GT + 100, 40, 20);
    MoveControl(IDC_NOTE_FONT_NAME, GL + 45, GT + 100, 50, 20);
    MoveControl(IDC_NOTE_FONT, GL + 95, GT + 95, 25, 20);
    MoveControl(IDC_NOTE_TEXT, GL + 5, GT + 120, 120, 60);
    MoveControl(IDC_DELETE_NOTE, GL + 35, GT + 185, 50, 20);
    MoveControl(IDC_SUPPORT_TEXT, GL + 2, GB - 128, 126, 126);

    m_canvas.UpdateLayout();
}

void CMeasureDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const Qt::WindowStates state = windowState();
    const int type = (state & Qt::WindowMinimized)   ? SizeMinimized
                     : (state & Qt::WindowMaximized) ? SizeMaximized
                                                     : SizeRestored;
    OnSize(type, event->size().width(), event->size().height());
    // The window has no sizing border: a size the user dragged to while the
    // window is neither maximised nor minimised goes back to the fixed size.
    if (event->spontaneous() && type == SizeRestored && m_bInitialised)
        QTimer::singleShot(0, this, [this] { KeepRestoredSize(); });
}

void CMeasureDlg::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    // The window manager framing the window moves it: the frame is known now.
    if (event->spontaneous() && m_bInitialised)
        QTimer::singleShot(0, this, [this] { KeepRestoredSize(); });
}

QMargins CMeasureDlg::FrameMargins() const {
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                    frame.right() - client.right(), frame.bottom() - client.bottom());
}

QSize CMeasureDlg::RestoredClientSize() const {
    // The window, frame included, is kWindowWidth x kWindowHeight.
    const QMargins frame = FrameMargins();
    return QSize(kWindowWidth - frame.left() - frame.right(),
                 kWindowHeight - frame.top() - frame.bottom());
}

void CMeasureDlg::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && m_bInitialised)
        QTimer::singleShot(0, this, [this] { KeepRestoredSize(); });
}

void CMeasureDlg::KeepRestoredSize() {
    if (!isVisible() ||
        (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    const QMargins frame = FrameMargins();
    if (frame != m_frameMargins) {
        // Framed for the first time (or anew): the frame is centred on the
        // screen, as the window was before it had one.
        m_frameMargins = frame;
        if (const QScreen* screen = this->screen()) {
            const QRect area = screen->availableGeometry();
            move(area.x() + (area.width() - kWindowWidth) / 2,
                 area.y() + (area.height() - kWindowHeight) / 2);
        }
    }
    const QSize fixed = RestoredClientSize();
    if (size() == fixed || size() == m_refusedSize) {
        // At the fixed size, or the desktop keeps refusing it (a screen
        // smaller than the window): leave it there.
        m_refusedSize = QSize();
        return;
    }
    m_refusedSize = size();
    resize(fixed);
}
