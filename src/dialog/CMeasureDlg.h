#pragma once
// The program's main window: the photo canvas on the left, and on the right a
// fixed-width panel with the photo buttons, the zoom group, the tool palette
// and the editing panel of the selected record.
//
// The class is split by responsibility across several source files:
//   CMeasureDlg.cpp        construction, the control table, data exchange, start-up
//   CMeasureDlgLayout.cpp  placing the controls for a client size
//   CMeasureDlgTools.cpp   tool palette, cursors, editing-panel visibility, colour
//   CMeasureDlgView.cpp    command dispatch, zoom commands, About entry
//   CMeasureDlgPhoto.cpp   opening a photo, saving its info file, exporting
//   CMeasureDlgCommands.cpp keyboard policy, closing, help, font and colour commands
//   CMeasureDlgRange.cpp   connecting the range finder
//   CMeasureDlgPanel.cpp   editing panel: canvas notifications, note list, record edits
//   CMeasureDlgHistory.cpp undo and redo: their keys and menu entries, what a step
//                          shows; the canvas's keys that reach the panel

#include "canvas/CPhotoCanvas.h"
#include "dialog/CColorSwatch.h"
#include "dialog/ControlIds.h"
#include "platform/FileStamp.h"

#include <QCursor>
#include <QDialog>
#include <QFont>
#include <QIcon>
#include <QList>
#include <QMap>
#include <QSize>
#include <QString>

class QAction;
class QButtonGroup;
class QCloseEvent;
class QShortcut;

// Tooltips of the icon buttons: each button shows its own caption as its tip.
class CToolTipCtrl {
public:
    void Activate(bool active);
    void AddTool(QWidget* control, const QString& text);
    int GetToolCount() const { return m_tools.size(); }

private:
    bool m_active = false;
    QList<QWidget*> m_tools;
};

class CMeasureDlg : public QDialog {
    Q_OBJECT
public:
    explicit CMeasureDlg(QWidget* parent = nullptr);
    ~CMeasureDlg() override;

    // Creates the controls of the main window and runs OnInitDialog. exec()
    // and show() call it when it has not run yet; calling it twice does nothing.
    void InitDialog();
    bool IsInitialised() const { return m_bInitialised; }

    // Runs the window modally (InitDialog first when needed).
    int DoModal();

    // A control by its id; nullptr before the controls exist or for an
    // unknown id.
    QWidget* GetDlgItem(int id) const { return m_controls.value(id, nullptr); }
    template <class T> T* Item(int id) const { return qobject_cast<T*>(GetDlgItem(id)); }

    // A photo named on the command line: remembered, and opened once the
    // window stands.
    void OpenPhotoAtStart(const QString& path);
    QString PhotoToOpenAtStart() const { return m_strStartPhoto; }

    // Data exchange between the members and the controls: `save` true reads
    // the controls into the members, false writes the members into the
    // controls (without running any change handler).
    void UpdateData(bool save);

    // The cursor shown over the canvas for a tool.
    static QCursor CursorForTool(int tool);

    // --- handlers (message map in ConnectMessageMap) ---
    // Lays out every control for a client area of cx x cy pixels; `type` is
    // SizeRestored, SizeMinimized or SizeMaximized.
    enum SizeType { SizeRestored = 0, SizeMinimized = 1, SizeMaximized = 2 };
    void OnSize(int type, int cx, int cy);
    // Sets the canvas cursor for the canvas's current tool.
    void OnSetCursor();
    void OnToolChange();
    void OnToolDimension();
    void OnColour();
    // The colour dialog for the current drawing colour; on OK the colour and
    // the swatch take the choice.
    bool ChooseCurrentColour();
    // The font dialog for the current font; on OK m_logFont takes the choice.
    bool ChooseCurrentFont();
    void ShowEditPanel(int kind);
    // A command id from the accelerators or the canvas's context menu.
    void OnCommand(int id);
    void OnZoomIn();
    void OnZoomOut();
    void OnZoomFit();
    void OnZoomActual();
    void OnSysCommand(int id);
    void OnOK();
    void OnCancel();

    // Editing panel (CMeasureDlgPanel.cpp)
    // The canvas's notification: shows the new selection in the panel.
    void OnCanvasNotify(int code);
    // Rebuilds the note list (row i is note i) and fills the note controls
    // from the selected note, or clears and disables them when none is.
    void RefreshNoteList();
    // Focus to edit `id` with its whole text selected.
    void FocusAndSelectAll(int id);
    void OnSizeChange();
    void OnNoteSelChange();
    void OnNoteTitleChange();
    void OnNoteTextChange();
    void OnDeleteNote();
    void OnDeleteDimension();
    void OnAddNote();
    void OnModifyNote();

    // The About entry (the system-menu text).
    static QString AboutMenuText();

    // --- Photo open, save and export (CMeasureDlgPhoto.cpp) ---
    void OnOpenPhoto();     // button 1000
    void OnSaveInfo();      // button 1006
    void OnExportPicture(); // button 1016
    void OnExportReport();  // button 1062 (CMeasureDlgReport.cpp)
    // Opens the photo at `path` with its photo-info file, exactly as when it
    // is chosen in the picture dialog; true when the photo is now shown.
    bool OpenPhoto(const QString& path);
    // True when the records differ from what was last loaded or saved.
    bool HasUnsavedChanges() const;
    // Asks whether to save changed records before they are replaced or the
    // window closes: true to go on (saved or discarded), false to stay.
    bool ConfirmDiscardChanges();
    // RefreshNoteList: declared with the editing panel.

    // --- View, font and colour commands (CMeasureDlgCommands.cpp) ---
    void OnExit();
    void OnHelp();
    void OnNoteFont();
    void OnDimensionFont();
    void OnAllDimensionFont();
    void OnAllDimensionColour();
    // "help.chm" in the program's folder.
    static QString HelpFilePath();

    // --- Undo and redo (CMeasureDlgHistory.cpp) ---
    void OnUndo();
    void OnRedo();
    // The undo and redo shortcuts (Ctrl+Z; Ctrl+Y, Ctrl+Shift+Z), active
    // wherever the focus is in the window.
    QList<QShortcut*> m_historyKeys;

    // --- Range-finder link (CMeasureDlgRange.cpp) ---
    // The range finder's port; RangeFinderDevice says which device it is.
    static constexpr const char* RANGE_FINDER_PORT = "COM4";
    void OnConnectRangeFinder();
    // The entry of the logo's context menu that runs OnConnectRangeFinder
    // (the connect button stays hidden); its text follows the button's.
    QAction* m_connectAction = nullptr;
    // Shows `status` of the range finder after the window title (empty: none).
    void SetRangeStatus(const QString& status);
    QString m_rangeStatus;

    // --- members ---
    QString m_strSize;          // value edit 1020, at most 9 characters
    int m_nTool = 0;            // checked tool button, in the group's order
    CToolTipCtrl m_toolTip;     // tips of the icon buttons
    QIcon m_hIcon;              // application icon
    int m_bCancelCloses = 1;    // whether a cancel request closes the window
    QFont m_fontSupport;        // font of the support text 1055
    QList<QShortcut*> m_hAccel; // view shortcuts
    QString m_strPhotoPath;     // full path of the photo shown
    CPhotoCanvas m_canvas;
    CColorSwatch m_colourSwatch;

    // Window size when neither maximised nor minimised.
    static constexpr int kWindowWidth = 1024;
    static constexpr int kWindowHeight = 766;

    void setVisible(bool visible) override;

public Q_SLOTS:
    void accept() override;
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Escape returns to the drag tool; a close request from the window
    // (close box, Alt+F4) always closes (CMeasureDlgCommands.cpp).
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void ConnectMessageMap();
    void CreateAccelerators();
    void OnInitDialog();
    void AddControl(int id, QWidget* control);
    void MoveControl(int id, int x, int y, int width, int height);
    void SetToolCursor(int tool);
    void KeepRestoredSize();
    // Undo and redo (CMeasureDlgHistory.cpp): every binding of the history in
    // one table, and what the panel shows after a step.
    void ConnectHistory();
    void ShowHistoryStep();
    // Focus to edit `id` with its text selected, unless the canvas holds the
    // focus: then the text is only selected, and keys stay with the canvas.
    void OfferEdit(int id);
    void OnCanvasDelete();
    void OnCanvasTextKey(QKeyEvent* event);
    // Editing panel
    void ConnectEditingPanel();
    void ShowSelectedDimension();
    // Puts the connect entry into the logo's context menu (CMeasureDlgRange.cpp).
    void AddRangeFinderEntry();

    QMap<int, QWidget*> m_controls;
    QList<int> m_controlOrder; // template order, for the tests and tab order
    QButtonGroup* m_toolGroup = nullptr;
    bool m_bInitialised = false;
    QSize m_refusedSize;   // last size sent back to the fixed size
    int m_cursorTool = -1; // tool whose cursor the canvas shows
    QString m_strStartPhoto;

    // --- Photo open, save and export (CMeasureDlgPhoto.cpp) ---
    void ConnectPhotoCommands();
    void CreateReportButton();
    // Clipboard, drops and recent photos (CMeasureDlgTransfer.cpp).
    void AddWindowTransfers();
    void OnCopyPicture();
    void OnOpenRecentPhoto(const QString& path);
    bool SaveInfoFile();
    // True to go on saving: the info file is as this window last saw it, or
    // the user chose to overwrite what another program wrote.
    bool ConfirmOverwriteChangedInfo(const QString& infoPath);
    void RememberSavedInfo();
    void EnablePhotoControls();
    QByteArray m_savedInfo;      // the records as last loaded or saved (file bytes)
    QString m_strUnreadableInfo; // an unreadable info file that could not be moved aside
    FileStamp m_infoStamp;       // the info file as last loaded or saved (or missing)
};
