// The message map of the main window, the view accelerators, the zoom
// commands and the About entry.

#include "dialog/CMeasureDlg.h"

#include "dialog/CAboutDlg.h"
#include "dialog/ModalLoop.h"

#include <QAbstractButton>
#include <QShortcut>

void CMeasureDlg::ConnectMessageMap() {
    auto clicked = [this](int id, void (CMeasureDlg::*handler)()) {
        if (auto* button = Item<QAbstractButton>(id))
            connect(button, &QAbstractButton::clicked, this, handler);
    };
    clicked(IDC_TOOL_DRAG, &CMeasureDlg::OnToolChange);
    clicked(IDC_TOOL_SELECT, &CMeasureDlg::OnToolChange);
    clicked(IDC_TOOL_NOTE, &CMeasureDlg::OnToolChange);
    clicked(IDC_TOOL_DIMENSION, &CMeasureDlg::OnToolDimension);
    connect(&m_colourSwatch, &CColorSwatch::clicked, this, &CMeasureDlg::OnColour);
    clicked(IDC_ZOOM_IN, &CMeasureDlg::OnZoomIn);
    clicked(IDC_ZOOM_OUT, &CMeasureDlg::OnZoomOut);
    clicked(IDC_ZOOM_FIT, &CMeasureDlg::OnZoomFit);
    clicked(IDC_ZOOM_ACTUAL, &CMeasureDlg::OnZoomActual);
    clicked(IDC_EXIT, &CMeasureDlg::OnExit);
    clicked(IDC_HELP, &CMeasureDlg::OnHelp);
    clicked(IDC_NOTE_FONT, &CMeasureDlg::OnNoteFont);
    clicked(IDC_DIM_FONT, &CMeasureDlg::OnDimensionFont);
    clicked(IDC_CONNECT_RANGE, &CMeasureDlg::OnConnectRangeFinder);
    AddRangeFinderEntry();
    connect(&m_canvas, &CPhotoCanvas::menuCommand, this, &CMeasureDlg::OnCommand);
    ConnectPhotoCommands();
    ConnectEditingPanel();
    ConnectHistory();
}

void CMeasureDlg::CreateAccelerators() {
    // Ctrl with the numeric keypad's + - * / keys.
    const struct {
        Qt::Key key;
        int command;
    } table[] = {{Qt::Key_Plus, ID_ZOOM_IN},
                 {Qt::Key_Slash, ID_ZOOM_ACTUAL},
                 {Qt::Key_Asterisk, ID_ZOOM_FIT},
                 {Qt::Key_Minus, ID_ZOOM_OUT}};
    for (const auto& entry : table) {
        auto* shortcut =
            new QShortcut(QKeySequence(Qt::ControlModifier | Qt::KeypadModifier | entry.key), this);
        shortcut->setProperty("command", entry.command);
        const int command = entry.command;
        connect(shortcut, &QShortcut::activated, this, [this, command] { OnCommand(command); });
        m_hAccel.append(shortcut);
    }
}

void CMeasureDlg::OnCommand(int id) {
    switch (id) {
    case ID_ZOOM_IN:
        OnZoomIn();
        break;
    case ID_ZOOM_OUT:
        OnZoomOut();
        break;
    case ID_ZOOM_FIT:
        OnZoomFit();
        break;
    case ID_ZOOM_ACTUAL:
        OnZoomActual();
        break;
    case ID_ALL_DIM_FONT:
        OnAllDimensionFont();
        break;
    case ID_ALL_DIM_COLOUR:
        OnAllDimensionColour();
        break;
    default:
        break;
    }
}

void CMeasureDlg::OnZoomIn() {
    m_canvas.SetZoom(ZoomIn);
}
void CMeasureDlg::OnZoomOut() {
    m_canvas.SetZoom(ZoomOut);
}
void CMeasureDlg::OnZoomFit() {
    m_canvas.SetZoom(ZoomFit);
}
void CMeasureDlg::OnZoomActual() {
    m_canvas.SetZoom(ZoomActual);
}

void CMeasureDlg::OnSysCommand(int id) {
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about(nullptr);
        RunModal(about);
    }
}
