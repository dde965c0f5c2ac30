#pragma once
// The photo canvas: shows the photo with every dimension and note on it, and
// holds the edit model (records, selection, history), the current tool,
// colour and font and the view state. The main dialog
// edits through the model and reads the rest through accessors; the canvas
// tells it about selection changes through the queued canvasNotify signal.
//
// Its files, one concern each: CPhotoCanvas.cpp (construction, tool,
// notices), CPhotoCanvasLoad.cpp (opening a photo), CPhotoCanvasView.cpp
// (zoom, wheel, pan, visible part), CPhotoCanvasPaint.cpp (composing the
// screen), CPhotoCanvasMouse.cpp (the mouse tools, drags, nudges),
// CPhotoCanvasHandles.cpp (end-point handles), CPhotoCanvasCursor.cpp (cursor
// hints), CPhotoCanvasHistory.cpp (what undo and redo show),
// CPhotoCanvasReference.cpp (the reference plane's corners),
// CPhotoCanvasMenu.cpp (the context menu), CPhotoCanvasRange.cpp (the range
// readings the window passes on, and the event routing),
// CPhotoCanvasShapes.cpp (the area and angle tools, their handles and menu
// items).

#include "canvas/CanvasTypes.h"
#include "canvas/PendingPhoto.h"
#include "canvas/PhotoViewPainter.h"
#include "canvas/RecordLayer.h"
#include "document/PhotoInfo.h"
#include "document/PlaneHomography.h"
#include "drawing/AnnotationRenderer.h"
#include "drawing/ViewMapping.h"
#include "editing/EditModel.h"
#include "lumoimage/CDibDC.h"

#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <vector>

class QMenu;
struct PhotoHead;
class QPainter;

class CPhotoCanvas : public QWidget {
    Q_OBJECT
public:
    explicit CPhotoCanvas(QWidget* parent = nullptr);
    ~CPhotoCanvas() override;

    // --- state the window reads and sets ---
    // The colour and font new records take.
    COLORREF CurrentColour() const { return m_pendingDim.colour; }
    void SetCurrentColour(COLORREF colour) { m_pendingDim.colour = colour; }
    const LOGFONTA& CurrentFont() const { return m_logFont; }
    void SetCurrentFont(const LOGFONTA& font) { m_logFont = font; }
    // The tools chosen, the current one last.
    const std::vector<int32_t>& Tools() const { return m_tools; }
    // The photo shown in full (none while only a stand-in is).
    const CDibDC& Photo() const { return m_dib; }
    float Zoom() const { return m_fZoom; }
    bool FitMode() const { return m_bFit != 0; }
    // The visible part of the photo (photo coordinates) and where it is
    // drawn (view coordinates).
    RECT SourceRect() const { return m_rcSrc; }
    RECT DestRect() const { return m_rcDst; }
    // The first end of a new dimension is placed, the second not yet.
    bool FirstPointPlaced() const { return m_bFirstPoint != 0; }

    // The records, the selection and the undo history of the photo shown: a
    // new history for every photo loaded; its clean state is the loaded or
    // saved one. The window edits through it too.
    EditModel& Model() { return m_model; }
    const EditModel& Model() const { return m_model; }

    // --- Opening a photo without holding up the window ---
    // Reads the photo's header at once; false (with LoadError) when it cannot
    // be opened, and then nothing changes. Otherwise the records are cleared,
    // the view is laid out for the photo's full size and a stand-in (its Exif
    // thumbnail when large enough, else a reduced decode) is drawn in its
    // place until the full decode on a worker replaces it; photoLoaded tells
    // the outcome. A load still under way is cancelled: it never lands.
    // Until then m_dib keeps the previous photo (or none).
    bool BeginPhotoLoad(const QString& path);
    QString LoadError() const { return m_loadError; }
    // From BeginPhotoLoad until photoLoaded (or a cancel).
    bool PhotoPending() const { return m_pending.job != nullptr; }
    // Runs the event loop until the photo being loaded has landed or failed,
    // then draws the full photo from the next paint on. False on failure.
    bool WaitForPhoto();
    // A photo is shown: the full one, or one being loaded (its stand-in).
    bool HasPhoto() const { return PhotoPending() || m_dib.HasPicture(); }
    // The shown photo's full size: the one being loaded, or m_dib's.
    SIZE PhotoSize() const;
    // The stand-in is on screen (the full photo is not, or not yet drawn).
    bool ShowsStandIn() const { return PhotoPending() || m_pending.holdStandIn; }
    // The size of the stand-in picture (empty while there is none yet).
    QSize StandInSize() const { return m_pending.standIn.size(); }
    // The stand-in is the one that stays until the full photo (no reduced
    // decode is to replace it).
    bool StandInSharp() const { return m_pending.standInSharp; }
    // The progress bar of a decode that takes long is drawn.
    bool ShowsProgress() const { return m_pending.showProgress; }
    void ResetAnnotations();
    void UpdateLayout();
    POINT MapPoint(POINT pt, bool viewToPhoto) const;
    void SetZoom(int command);
    void CentreOn(POINT p);
    void CancelPendingDimension();
    // The drag tool's step to view position q: the photo follows the mouse.
    // Fractions of a photo pixel are kept for the next step, so slow drags
    // at zooms above 1 still scroll.
    void PanBy(POINT q);
    // True while the screen shows a pan's scrolled photo, not yet scaled afresh.
    bool PhotoScrolled() const { return m_photoView.Scrolled(); }
    // The current photo/view mapping.
    ViewMapping View() const { return ViewMapping{m_fZoom, m_rcSrc, m_rcDst}; }

    // The selected dimension or note, or nullptr when the index is negative
    // or past the end of its list.
    Dimension* SelectedDimension() { return m_model.SelectedDimension(); }
    const Dimension* SelectedDimension() const { return m_model.SelectedDimension(); }
    InfoNote* SelectedNote() { return m_model.SelectedNote(); }
    const InfoNote* SelectedNote() const { return m_model.SelectedNote(); }

    int32_t CurrentTool() const { return m_tools.empty() ? ToolDrag : m_tools.back(); }
    // Empties the tool list and appends `tool`.
    void SetTool(int32_t tool);
    // Invalidates the whole canvas.
    void Repaint() { update(); }

    // The last frame showed the exact picture: every label made, the
    // records drawn for the view shown (no frame is due to refine it).
    bool PictureSettled() const { return !m_renderer.LabelsPending() && m_layerExact; }
    // The whole client area as the screen shows it, composed into `painter`
    // (which covers the client rectangle). Screen and tests share this path.
    void Render(QPainter& painter);
    QImage RenderToImage();

    // Mouse input as plain points; the Qt mouse events forward to these.
    // `shiftHeld`: an end point being dragged keeps to 45-degree steps.
    void OnLButtonDown(POINT q);
    void OnMouseMove(POINT q, bool leftHeld, bool shiftHeld = false);
    void OnLButtonUp(POINT q);

    // --- End-point handles, zooming at a point, nudges, the cursor, undo ---
    // The end (0 start, 1 end) of the selected dimension whose handle is
    // within reach of view point q with the select tool; -1 for none.
    int HandleAt(POINT q) const;
    // Zooms one step (ZoomIn or ZoomOut) keeping the photo point under view
    // point q where it is, as far as the photo's edges allow; ends fit mode.
    void ZoomAt(int command, POINT q);
    // Moves the selected record(s) by (dx, dy) photo pixels (the window's
    // Alt+arrow keys); a run of moves is one undo step.
    void NudgeSelection(int32_t dx, int32_t dy);
    // Which cursor the pointer should show now (CursorHint values).
    int CursorHint() const { return m_nCursorHint; }
    // Undo and redo of the history, showing what they changed. A drag still
    // under way becomes a step first, so undo takes it back.
    void Undo();
    void Redo();

    // --- Range readings and the context menu ---
    // A range-finder event, passed on by the window that holds the link.
    // Code RangeDistance writes `value` ("%d") into the selected dimension,
    // one undo step; code RangeKey with RangePrevious or RangeNext moves the
    // selection around the dimensions and centres the new one. Anything else,
    // or a distance with no dimension selected, changes nothing. False only
    // for a distance whose text the file cannot keep whole: it is not written.
    enum RangeCode : int { RangeDistance = 6, RangeKey = 15 };
    enum RangeKeyValue : int32_t { RangePrevious = 6, RangeNext = 8 };
    bool OnRangeValue(int code, int32_t value);
    // Right button at view point q: drops a half-drawn dimension, or else
    // shows the context menu there and passes the chosen command on as
    // menuCommand.
    void OnRButtonDown(POINT q);
    // Fills `menu` with the context menu's items; each action's data is its
    // command id. Undo and redo, at the end, are enabled as given.
    static void BuildContextMenu(QMenu& menu, bool canUndo = false, bool canRedo = false);

    // --- The reference length and plane ---
    // Makes dimension `index` the reference length (`on`) or takes the mark
    // off it; one undo step. False when its value is not a length.
    bool SetReferenceDimension(int index, bool on);
    // The next four left clicks place the corners of the reference plane.
    void BeginPlaneCorners();
    bool PlacingPlaneCorners() const { return !m_planeClicks.empty() || m_bPlacingPlane; }
    void CancelPlaneCorners();
    void DeleteReferencePlane();
    // Makes the quadrilateral `corners` (in the order OrderCorners gives) the
    // reference plane of the given size; one undo step. Sizes must be positive.
    void SetReferencePlane(const Quad& corners, double widthMm, double heightMm);
    // Every dimension without a value gets its computed length in whole mm,
    // one undo step; how many were written.
    int WriteComputedValues();
    bool HasComputedValue() const { return m_model.HasComputedValue(); }
    // The reference items after the context menu's others: "參考平面(&P)...",
    // "刪除參考平面" (only when there is a plane), "寫入計算值".
    static void AddReferenceMenuItems(QMenu& menu, bool hasPlane, bool hasComputed);
    // Carries out a reference command of the context menu; false for others.
    bool HandleReferenceCommand(int command);

    // --- Areas and angles (CPhotoCanvasShapes.cpp) ---
    // With the area tool, clicks place corners: a click within reach of the
    // first corner or a double click closes the polygon (at least three
    // corners, else nothing happens), its name is asked for (Cancel: no
    // name) and it is added, one undo step. With the angle tool, three
    // clicks (an arm, the vertex, the other arm) add an angle. Escape (the
    // window), a right click or another tool drops the points placed;
    // Backspace (the window) takes back the last one.
    bool PlacingShape() const { return !m_shapeClicks.empty(); }
    const std::vector<POINT>& ShapePoints() const { return m_shapeClicks; }
    void CancelShape();
    void RemoveLastShapePoint();
    void OnLButtonDblClk(POINT q);
    // Asks for the selected area's name and gives it, one undo step; false
    // when no area is selected or the dialog was cancelled.
    bool RenameSelectedArea();
    // The selected area's items after the menu's others: "開口" (checked
    // when it is one) and "重新命名區域(&N)..."; none without an area.
    static void AddAreaMenuItems(QMenu& menu, const AreaRecord* selected);
    // Carries out an area command of the context menu; false for others.
    bool HandleAreaCommand(int command);

Q_SIGNALS:
    // Always delivered queued, after the handler that caused it has returned.
    void canvasNotify(int code);
    // A command chosen from the context menu.
    void menuCommand(int id);
    // The photo begun with BeginPhotoLoad is in m_dib (`ok`), or could not be
    // decoded (`error` says why; the previous photo is in m_dib still and the
    // view is laid out for it). A cancelled load says nothing.
    void photoLoaded(bool ok, const QString& error);
    // An undo or redo changed the records and the selection: the panel shows
    // them again. Delivered at once.
    void historyShown();
    // CursorHint changed.
    void cursorHintChanged();
    // Four good corners of a reference plane were clicked: the window asks
    // for its size and calls SetReferencePlane. Delivered at once.
    void planeSizeWanted(const Quad& corners);

protected:
    // Range-finder events and the right button.
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

    // Posts canvasNotify(code) to be delivered after the current handler.
    void PostNotify(int code);

private:
    friend struct CanvasAccess; // the tests' way to set up a view directly

    Dimension m_pendingDim;       // colour = current drawing colour; start = first point
    LOGFONTA m_logFont;           // current font for new records
    std::vector<int32_t> m_tools; // current tool = last entry
    float m_fZoom = 1.0f;
    CDibDC m_dib;
    int32_t m_bFit = 0;
    RECT m_rcSrc; // visible part of the photo, photo coordinates
    RECT m_rcDst; // where it is drawn, view coordinates
    int32_t m_bFirstPoint = 0;
    int32_t m_bDragging = 0;
    POINT m_ptLast;
    // Draws the records on the screen and the export, and measures them for
    // hit tests; its caches live as long as the canvas.
    AnnotationRenderer m_renderer;

    // The one composition path: photo, dimensions, rubber band, notes, all
    // cut at m_rcDst, then grey margins. `waitForLevels`: draw the photo from
    // the reduced copy it needs even if that is still being made.
    void Compose(QPainter& painter, bool waitForLevels);
    // The records over the photo: the kept picture on the screen, every record
    // at once with `waitForLevels` or under a dimension's rubber band (drawn
    // to `cursor`).
    void DrawRecords(QPainter& painter, bool waitForLevels, bool rubberBand, QPoint cursor);
    // Where the mouse cursor is now, in canvas coordinates.
    QPoint CursorPosition() const;

    // Mouse tools
    // Dimension tool: first or second end point at view point q.
    void PlaceDimensionPoint(POINT q);
    // Note tool: a new note at view point q.
    void PlaceNote(POINT q);
    // Select tool: picks the note or dimension under q and starts dragging it.
    void SelectAt(POINT q);
    // Select tool: moves the selected record(s) with the pointer.
    void DragSelection(POINT q);
    // Ends a record or end-point drag and records it as one undo step.
    void FinishDrag();
    // End-point handles
    bool BeginHandleDrag(POINT q);
    void DragHandle(POINT q, bool shiftHeld);
    void DrawHandles(QPainter& painter) const;
    // The reference plane's corners: clicks while placing them, handles with
    // the select tool (handle numbers kPlaneHandleFirst + corner).
    void PlacePlaneCorner(POINT q);
    void DrawPlaneCorners(QPainter& painter) const;
    int PlaneHandleAt(POINT q) const;
    void DragPlaneHandle(POINT q);
    void FinishPlaneDrag();
    static constexpr int kPlaneHandleFirst = 2;
    // Areas and angles: a click of their tools, the polygon closed; the
    // select tool's hit (false: neither is hit) and the handles of the
    // selected area's corners or angle's points (kShapeHandleFirst + index).
    void PlaceShapePoint(POINT q);
    void CloseArea();
    bool SelectShapeAt(POINT p);
    int ShapeHandleAt(POINT q) const;
    POINT ShapePointAt(int index) const;
    void DragShapeHandle(POINT q);
    void DrawShapeHandles(QPainter& painter) const;
    // The points placed so far and the rubber band to the pointer.
    void DrawShapeInProgress(QPainter& painter);
    static constexpr int kShapeHandleFirst = 100;
    std::vector<POINT> m_shapeClicks; // photo points of the shape being placed
    // Panning with the middle button, or the left one while Space is held.
    void BeginPan(POINT q, Qt::MouseButton button);
    void UpdateCursorHint(POINT q);
    void SetCursorHint(int hint);
    // After an undo or redo: select what changed and bring it into view.
    void ShowStep(const ShownStep& step);

    // Loading.
    void DecodePhoto(const std::shared_ptr<PhotoLoadJob>& job, const PhotoHead& head);
    bool FillStandIn(const std::shared_ptr<PhotoLoadJob>& job, const PhotoHead& head);
    void DecodeStandIn(const std::shared_ptr<PhotoLoadJob>& job, const PhotoHead& head);
    void LandStandIn(const std::shared_ptr<PhotoLoadJob>& job, const QImage& standIn);
    void WatchFilling(const std::weak_ptr<PhotoLoadJob>& job);
    void LandPhoto(QImage photo);
    void FailPhotoLoad(const QString& error);
    void CancelPhotoLoad();
    void WatchLoadProgress(const std::weak_ptr<PhotoLoadJob>& job, int delayMs);
    // Draws the stand-in in the photo's place (false: the full photo's turn).
    bool DrawStandIn(QPainter& painter, bool waitForLevels);
    void DrawLoadProgress(QPainter& painter) const;

    QString m_loadError;
    PendingPhoto m_pending;
    // The view of the photo shown before a load began: it comes back as it
    // was when the new photo fails to decode.
    struct ShownView {
        float zoom = 1.0f;
        int32_t fit = 0;
        RECT src{};
    };
    ShownView m_viewBeforeLoad;
    PhotoViewPainter m_photoView;
    // Once a pan pauses, a scrolled photo is scaled afresh.
    QTimer m_photoRefine;
    // How long the last frame that ran out of label time went on after that.
    std::chrono::steady_clock::duration m_frameTail{};
    // The records' picture kept between frames, and this frame's time for it.
    RecordLayer m_recordLayer;
    std::chrono::steady_clock::time_point m_layerDeadline;
    bool m_layerExact = true;
    double m_panRemainder[2] = {0.0, 0.0}; // photo pixels not yet scrolled
    EditModel m_model;
    // The end being dragged (0 start, 1 end, -1 none) and where the pointer
    // has taken it before any Shift constraint.
    int m_nHandle = -1;
    POINT m_handleFree;
    // The reference plane: corners clicked so far.
    std::vector<POINT> m_planeClicks;
    bool m_bPlacingPlane = false;
    // Panning with the middle button.
    Qt::MouseButton m_panButton = Qt::NoButton;
    int m_wheelAngle = 0; // wheel angle not yet turned into a zoom step
    int m_nCursorHint = CursorHintTool;
};
