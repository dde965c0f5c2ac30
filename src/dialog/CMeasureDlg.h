#pragma once
// The program's main window: the photo canvas on the left, and on the right a
// fixed-width panel with the photo buttons, the zoom group, the tool palette
// and the editing panel of the selected record.
//
// The class is split by responsibility across several source files:
//   CMeasureDlg.cpp            construction, the control table, data exchange, start-up
//   CMeasureDlgMessageMap.cpp  every control, command and shortcut bound to its handler
//   CMeasureDlgClose.cpp       Escape, Return and closing
//   CMeasureDlgLayout.cpp      placing the controls for a client size
//   CMeasureDlgTools.cpp       tool palette, cursors, editing-panel visibility, colour
//   CMeasureDlgView.cpp        zoom commands, About entry
//   CMeasureDlgPhoto.cpp       opening a photo, saving its info file
//   CMeasureDlgPhotoLoad.cpp   the end of opening a photo decoded on a worker
//   CMeasureDlgExport.cpp      the export and report commands, their files written on workers
//   CMeasureDlgRectify.cpp     the head-on picture of the reference plane, written on a worker
//   CMeasureDlgTransfer.cpp    clipboard, drops and recent photos
//   CMeasureDlgReference.cpp   the "作為參考" check box and the plane's size
//   CMeasureDlgCommands.cpp    help, font and colour commands
//   CMeasureDlgRange.cpp       connecting the range finder, passing its readings on
//   CMeasureDlgPanel.cpp       editing panel: canvas notifications, note list, record edits
//   CMeasureDlgHistory.cpp     undo and redo: what a step shows; the keys for the selected record
//                              that reach the panel

#include "canvas/CPhotoCanvas.h"
#include "dialog/CColorSwatch.h"
#include "dialog/ControlIds.h"
#include "platform/FileStamp.h"
#include "telvo/TelvoComm.h"

#include <QCursor>
#include <QDialog>
#include <QFont>
#include <QIcon>
#include <QList>
#include <QMap>
#include <QMargins>
#include <QSize>
#include <QString>
#include <memory>

class KeypadAccelerators;
class FileWriteJob;
struct InfoFileRead;
class QAction;
class QButtonGroup;
class QShortcut;

class CMeasureDlg : public QDialog {
    Q_OBJECT
public:
    explicit CMeasureDlg(QWidget* parent = nullptr);
    ~CMeasureDlg() override;

    // Creates the controls of the main window and runs OnInitDialog. exec()
    // and show() call it when it has not run yet; calling it twice does nothing.
    void InitDialog();

    // Runs the window modally (InitDialog first when needed).
    int DoModal();

    // A control by its id; nullptr before the controls exist or for an
    // unknown id.
    QWidget* GetDlgItem(int id) const { return m_controls.value(id, nullptr); }
    template <class T> T* Item(int id) const { return qobject_cast<T*>(GetDlgItem(id)); }

    // Data exchange between the members and the controls: `save` true reads
    // the controls into the members, false writes the members into the
    // controls (without running any change handler).
    void UpdateData(bool save);

    // The cursor shown over the canvas for a tool.
    static QCursor CursorForTool(int tool);

    // --- handlers (message map in CMeasureDlgMessageMap.cpp) ---
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
    // The About entry (command IDM_ABOUTBOX of the logo's menu: Qt gives no
    // access to the window manager's system menu).
    void OnAbout();
    // The cancel action: closes, or after Escape returns to the drag tool
    // (CMeasureDlgClose.cpp).
    void OnCancel();
    void OnOK();
    // The exit command: closes whatever m_bCancelCloses holds.
    void OnExit();

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
    void OnExportReport();  // button 1063 (CMeasureDlgExport.cpp)
    // The canvas menu's head-on picture of the plane (CMeasureDlgRectify.cpp).
    void OnExportHeadOnView();
    // Ctrl+C on the canvas: the annotated picture to the clipboard
    // (CMeasureDlgTransfer.cpp).
    void OnCopyPicture();
    // Opens the photo at `path` with its photo-info file, exactly as when it
    // is chosen in the picture dialog; true when the photo is now shown (its
    // stand-in, with its records, while the canvas decodes it on a worker:
    // the export, the report and Ctrl+C wait for the full photo, disabled).
    // Should the decode fail, the window says why and shows what it showed
    // before (CMeasureDlgPhotoLoad.cpp).
    bool OpenPhoto(const QString& path);
    // True when the records differ from what was last loaded or saved.
    bool HasUnsavedChanges() const;
    // Asks whether to save changed records before they are replaced or the
    // window closes: true to go on (saved or discarded), false to stay.
    bool ConfirmDiscardChanges();

    // --- Help, font and colour commands (CMeasureDlgCommands.cpp) ---
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
    // The window's shortcuts (undo, redo, F5, the record keys), active
    // wherever the focus is in the window.
    QList<QShortcut*> m_windowKeys;

    // --- Range-finder link (CMeasureDlgRange.cpp) ---
    // The range finder's port; RangeFinderDevice says which device it is.
    static constexpr const char* RANGE_FINDER_PORT = "COM4";
    void OnConnectRangeFinder();
    // The link announced an event: the canvas takes it, then the link is
    // re-armed.
    void OnRangeValue();
    // The link to the range finder; opened by the connect command.
    const TelvoComm& RangeFinder() const { return m_rangeFinder; }
    // F5: asks a meter that measures when asked for a reading.
    void OnRequestReading();
    // A meter dropped (shown after the title) or connected again.
    void OnRangeDropped();
    void OnRangeNotice(const QString& text);
    void OnRangeConnected();
    // The logo's context menu: the connect entry (the connect button stays
    // hidden; its text follows the button's) and the About entry.
    QAction* m_connectAction = nullptr;
    // Shows `status` of the range finder after the window title (empty: none).
    void SetRangeStatus(const QString& status);
    QString m_rangeStatus;
    QAction* m_aboutAction = nullptr;

    // --- members ---
    QString m_strSize;                      // value edit 1020; typing stops at 9 bytes
    int m_nTool = 0;                        // checked tool button, in the group's order
    QIcon m_hIcon;                          // application icon
    int m_bCancelCloses = 1;                // whether a cancel request closes the window
    QFont m_fontSupport;                    // font of the support text 1055
    KeypadAccelerators* m_hAccel = nullptr; // view shortcuts
    QString m_strPhotoPath;                 // full path of the photo shown
    // Set for a window that only shows (a screenshot): opening a photo then
    // moves no damaged info file aside.
    bool m_bKeepFilesAsTheyAre = false;
    CPhotoCanvas m_canvas;
    CColorSwatch m_colourSwatch;

    // Window size, frame included, when neither maximised nor minimised.
    static constexpr int kWindowWidth = 1024;
    static constexpr int kWindowHeight = 766;
    // The client area that leaves the frame at that size (the frame is known
    // once the window manager has framed the window; none before).
    QSize RestoredClientSize() const;

    void setVisible(bool visible) override;

    // The picture export running on a worker, or the last one; null before
    // the first (CMeasureDlgExport.cpp).
    FileWriteJob* PictureExport() const { return m_pictureExport; }
    FileWriteJob* ReportExport() const { return m_reportExport; }
    FileWriteJob* HeadOnExport() const { return m_headOnExport; }

public Q_SLOTS:
    void accept() override;
    void reject() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Escape returns to the drag tool (CMeasureDlgClose.cpp).
    bool event(QEvent* event) override;
    // The range finder's events (CMeasureDlgRange.cpp).
    void customEvent(QEvent* event) override;

private:
    void CreateControls();
    void ConnectMessageMap();
    void OnInitDialog();
    void AddControl(int id, QWidget* control);
    void MoveControl(int id, int x, int y, int width, int height);
    void SetToolCursor(int tool);
    void KeepRestoredSize();
    // Undo and redo (CMeasureDlgHistory.cpp): the edit boxes leave Ctrl+Z and
    // its kin to the one history; what the panel shows after a step.
    void KeepEditUndoForTheHistory();
    void OnFocusChanged(QWidget* from, QWidget* to);
    void ShowHistoryStep();
    // The record keys, which no edit box uses: Alt+arrows move the selected
    // record by a photo pixel (Alt+Shift: ten), Alt+Delete deletes it.
    void AddRecordKeys();
    void OnDeleteSelectedRecord();
    QMargins FrameMargins() const;
    // Asks about unsaved records, then ends the window (CMeasureDlgClose.cpp).
    void CloseWindow();
    // Editing panel
    void ShowSelectedDimension();
    // The "作為參考" check box (CMeasureDlgReference.cpp).
    void CreateReferenceControls();
    void SyncReferenceCheck();

    QMap<int, QWidget*> m_controls;
    TelvoComm m_rangeFinder; // announces its events to the window
    QButtonGroup* m_toolGroup = nullptr;
    bool m_bInitialised = false;
    QSize m_refusedSize;     // last size sent back to the fixed size
    QMargins m_frameMargins; // the frame as last seen
    int m_cursorTool = -1;   // tool whose cursor the canvas shows

    // --- Photo open, save and export (CMeasureDlgPhoto.cpp) ---
    void CreateReportButton();
    // Clipboard, drops and recent photos (CMeasureDlgTransfer.cpp).
    void AddWindowTransfers();
    void OnOpenRecentPhoto(const QString& path);
    bool SaveInfoFile();
    // True to go on saving: the info file is as this window last saw it, or
    // the user chose to overwrite what another program wrote.
    bool ConfirmOverwriteChangedInfo(const QString& infoPath);
    void RememberSavedInfo();
    void EnablePhotoControls(bool enable = true);
    // Write the picture and the report on workers; the outcome is told when
    // each ends (CMeasureDlgExport.cpp).
    void StartPictureExport(const QString& path);
    bool RefuseSecondPictureExport();
    void StartReport(const QString& path);
    bool RefuseSecondReport();
    // Closing waits for the files being written and tells their outcomes.
    void FinishFileJobs();
    FileWriteJob* m_pictureExport = nullptr;
    FileWriteJob* m_reportExport = nullptr;
    FileWriteJob* m_headOnExport = nullptr;
    // Opening on a worker (CMeasureDlgPhotoLoad.cpp): what the window showed
    // before the photo being decoded, put back should its decode fail.
    struct ShownPhoto {
        bool hadPhoto = false;
        QString path;
        QString title;
        PhotoInfo info;
        QByteArray savedInfo;
        QString unreadableInfo;
        FileStamp infoStamp;
        int selDim = -1;
        int selNote = -1;
    };
    void RememberShownPhoto();
    void OnPhotoLoaded(bool ok, const QString& error);
    // What the open found wrong with the photo's info file, said (and a
    // damaged file moved aside) once the photo has decoded.
    enum class InfoToSettle { None, Damaged, Unreadable, ReferenceDamaged };
    static InfoToSettle InfoFileToSettle(const InfoFileRead& read, const PhotoInfo& info);
    void SettleInfoFile();
    InfoToSettle m_infoToSettle = InfoToSettle::None;
    QString m_infoReadReason;
    // The export, the report and Ctrl+C act only on a fully decoded photo.
    bool FullPhotoShown() const {
        return m_canvas.Photo().HasPicture() && !m_canvas.PhotoPending();
    }
    std::unique_ptr<ShownPhoto> m_beforeOpen; // null: no photo being decoded
    QByteArray m_savedInfo;                   // the records as last loaded or saved (file bytes)
    QString m_strUnreadableInfo; // an unreadable info file that could not be moved aside
    FileStamp m_infoStamp;       // the info file as last loaded or saved (or missing)
};
