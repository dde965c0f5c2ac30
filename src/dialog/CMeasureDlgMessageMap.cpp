// The message map of the main window: every control, command and shortcut
// bound to its handler, here and nowhere else.
//
// Events that reach the window through its own overrides rather than a
// connection: a new size (resizeEvent -> OnSize, CMeasureDlgLayout.cpp), the
// mouse over the canvas (eventFilter -> OnSetCursor, CMeasureDlgTools.cpp),
// and Escape, Return and closing (CMeasureDlgClose.cpp).

#include "dialog/CMeasureDlg.h"

#include "dialog/KeypadAccelerators.h"
#include "dialog/UndoKeyFilter.h"
#include "platform/Cp950Edit.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QShortcut>

namespace {
using Handler = void (CMeasureDlg::*)();

// What a control reports to its handler.
enum Notice {
    Clicked,   // a button or the swatch is clicked
    Edited,    // the user changed the text of an edit
    SelChange, // a row of the list is picked, also the row already selected
};

struct ControlEntry {
    int id;
    Notice notice;
    Handler handler;
};

const ControlEntry kControls[] = {
    {IDC_OPEN_PHOTO, Clicked, &CMeasureDlg::OnOpenPhoto},
    {IDC_SAVE_INFO, Clicked, &CMeasureDlg::OnSaveInfo},
    {IDC_TOOL_DRAG, Clicked, &CMeasureDlg::OnToolChange},
    {IDC_TOOL_SELECT, Clicked, &CMeasureDlg::OnToolChange},
    {IDC_TOOL_NOTE, Clicked, &CMeasureDlg::OnToolChange},
    {IDC_TOOL_AREA, Clicked, &CMeasureDlg::OnToolChange},
    {IDC_TOOL_ANGLE, Clicked, &CMeasureDlg::OnToolChange},
    {IDC_TOOL_DIMENSION, Clicked, &CMeasureDlg::OnToolDimension},
    {IDC_COLOUR_SWATCH, Clicked, &CMeasureDlg::OnColour},
    {IDC_EXPORT_PICTURE, Clicked, &CMeasureDlg::OnExportPicture},
    {IDC_EXPORT_REPORT, Clicked, &CMeasureDlg::OnExportReport},
    {IDC_CONNECT_RANGE, Clicked, &CMeasureDlg::OnConnectRangeFinder},
    {IDC_SIZE_EDIT, Edited, &CMeasureDlg::OnSizeChange},
    {IDC_NOTE_TITLE, Edited, &CMeasureDlg::OnNoteTitleChange},
    {IDC_NOTE_TEXT, Edited, &CMeasureDlg::OnNoteTextChange},
    {IDC_NOTE_LIST, SelChange, &CMeasureDlg::OnNoteSelChange},
    {IDC_ADD_NOTE, Clicked, &CMeasureDlg::OnAddNote},
    {IDC_DELETE_NOTE, Clicked, &CMeasureDlg::OnDeleteNote},
    {IDC_MODIFY_NOTE, Clicked, &CMeasureDlg::OnModifyNote},
    {IDC_DELETE_DIMENSION, Clicked, &CMeasureDlg::OnDeleteDimension},
    {IDC_HELP, Clicked, &CMeasureDlg::OnHelp},
    {IDC_ZOOM_IN, Clicked, &CMeasureDlg::OnZoomIn},
    {IDC_ZOOM_OUT, Clicked, &CMeasureDlg::OnZoomOut},
    {IDC_ZOOM_FIT, Clicked, &CMeasureDlg::OnZoomFit},
    {IDC_ZOOM_ACTUAL, Clicked, &CMeasureDlg::OnZoomActual},
    {IDC_EXIT, Clicked, &CMeasureDlg::OnExit},
    {IDC_NOTE_FONT, Clicked, &CMeasureDlg::OnNoteFont},
    {IDC_DIM_FONT, Clicked, &CMeasureDlg::OnDimensionFont},
};

// Commands of the canvas's context menu, the logo's menu and the
// accelerators.
struct CommandEntry {
    int command;
    Handler handler;
};

const CommandEntry kCommands[] = {
    {ID_ZOOM_FIT, &CMeasureDlg::OnZoomFit},
    {ID_ZOOM_IN, &CMeasureDlg::OnZoomIn},
    {ID_ZOOM_OUT, &CMeasureDlg::OnZoomOut},
    {ID_ALL_DIM_FONT, &CMeasureDlg::OnAllDimensionFont},
    {ID_ZOOM_ACTUAL, &CMeasureDlg::OnZoomActual},
    {ID_ALL_DIM_COLOUR, &CMeasureDlg::OnAllDimensionColour},
    {IDM_ABOUTBOX, &CMeasureDlg::OnAbout},
    {IDC_CONNECT_RANGE, &CMeasureDlg::OnConnectRangeFinder},
    {ID_EDIT_UNDO, &CMeasureDlg::OnUndo},
    {ID_EDIT_REDO, &CMeasureDlg::OnRedo},
    {ID_EXPORT_HEAD_ON, &CMeasureDlg::OnExportHeadOnView},
};

// Shortcuts of the whole window, whichever control has the focus (the edit
// boxes' own undo is kept from these keys: KeepEditUndoForTheHistory).
struct ShortcutEntry {
    QList<QKeySequence> keys;
    Handler handler;
};

const ShortcutEntry kShortcuts[] = {
    {UndoKeyFilter::UndoKeys(), &CMeasureDlg::OnUndo},
    {UndoKeyFilter::RedoKeys(), &CMeasureDlg::OnRedo},
    {{QKeySequence(Qt::Key_F5)}, &CMeasureDlg::OnRequestReading},
};

// The accelerator table: Ctrl with a key of the numeric keypad.
struct AcceleratorEntry {
    Qt::Key key;
    int command;
};

const AcceleratorEntry kAccelerators[] = {
    {Qt::Key_Plus, ID_ZOOM_IN},
    {Qt::Key_Slash, ID_ZOOM_ACTUAL},
    {Qt::Key_Asterisk, ID_ZOOM_FIT},
    {Qt::Key_Minus, ID_ZOOM_OUT},
};
} // namespace

void CMeasureDlg::ConnectMessageMap() {
    for (const ControlEntry& entry : kControls) {
        QWidget* control = GetDlgItem(entry.id);
        const Handler handler = entry.handler;
        auto run = [this, handler] { (this->*handler)(); };
        switch (entry.notice) {
        case Clicked:
            if (auto* swatch = qobject_cast<CColorSwatch*>(control))
                connect(swatch, &CColorSwatch::clicked, this, run);
            else if (auto* button = qobject_cast<QAbstractButton*>(control))
                connect(button, &QAbstractButton::clicked, this, run);
            break;
        case Edited:
            // Only the user's edits: filling an edit from a record never
            // writes back into the record.
            if (auto* line = qobject_cast<QLineEdit*>(control))
                connect(line, &QLineEdit::textEdited, this, run);
            else if (auto* text = qobject_cast<Cp950TextEdit*>(control))
                connect(text, &Cp950TextEdit::textEdited, this, run);
            break;
        case SelChange:
            // A changed selection (mouse or keyboard), and every press on a
            // row, so picking the selected row again brings it into view.
            if (auto* list = qobject_cast<QListWidget*>(control)) {
                connect(list, &QListWidget::itemSelectionChanged, this, run);
                connect(list, &QAbstractItemView::pressed, this, run);
            }
            break;
        }
    }

    connect(&m_canvas, &CPhotoCanvas::canvasNotify, this, &CMeasureDlg::OnCanvasNotify);
    connect(&m_canvas, &CPhotoCanvas::menuCommand, this, &CMeasureDlg::OnCommand);
    for (QAction* entry : {m_connectAction, m_aboutAction}) {
        const int command = entry->data().toInt();
        connect(entry, &QAction::triggered, this, [this, command] { OnCommand(command); });
    }

    m_hAccel = new KeypadAccelerators(this, [this](int command) { OnCommand(command); });
    for (const AcceleratorEntry& entry : kAccelerators)
        m_hAccel->Add(entry.key, entry.command);

    for (const ShortcutEntry& entry : kShortcuts)
        for (const QKeySequence& key : entry.keys) {
            auto* shortcut = new QShortcut(key, this);
            shortcut->setContext(Qt::WindowShortcut);
            connect(shortcut, &QShortcut::activated, this, entry.handler);
            m_windowKeys.append(shortcut);
        }
    AddRecordKeys();
    KeepEditUndoForTheHistory();

    // Ctrl+C copies the picture unless an edit box has the focus (edit boxes
    // take the key for their text before the window sees it).
    auto* copy = new QShortcut(QKeySequence::Copy, this);
    copy->setContext(Qt::WindowShortcut);
    connect(copy, &QShortcut::activated, this, &CMeasureDlg::OnCopyPicture);

    // What the canvas reports besides its notifications and menu commands.
    connect(&m_canvas, &CPhotoCanvas::historyShown, this, &CMeasureDlg::ShowHistoryStep);
    connect(&m_canvas, &CPhotoCanvas::cursorHintChanged, this, &CMeasureDlg::OnSetCursor);
    connect(&m_canvas, &CPhotoCanvas::photoLoaded, this, &CMeasureDlg::OnPhotoLoaded);
    connect(qApp, &QApplication::focusChanged, this, &CMeasureDlg::OnFocusChanged);

    // The range finder's link.
    connect(&m_rangeFinder, &TelvoComm::Dropped, this, &CMeasureDlg::OnRangeDropped);
    connect(&m_rangeFinder, &TelvoComm::Connected, this, &CMeasureDlg::OnRangeConnected);
    connect(&m_rangeFinder, &TelvoComm::Notice, this, &CMeasureDlg::OnRangeNotice);
}

void CMeasureDlg::OnCommand(int id) {
    for (const CommandEntry& entry : kCommands)
        if (entry.command == id) {
            (this->*entry.handler)();
            return;
        }
}
