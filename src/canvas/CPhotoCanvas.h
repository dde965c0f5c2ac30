#pragma once
// The photo canvas: shows the photo with every dimension and note on it, and
// owns the document, the selection, the current tool, colour and font, the
// view state and the range-finder link. The main dialog reads and writes the
// m_ members directly; the canvas tells it about selection changes through
// the queued canvasNotify signal.

#include "canvas/AnnotationRenderer.h"
#include "canvas/CanvasTypes.h"
#include "canvas/PhotoViewPainter.h"
#include "canvas/ViewMapping.h"
#include "document/PhotoInfo.h"
#include "lumoimage/CDibDC.h"
#include "telvo/TelvoComm.h"

#include <QPoint>
#include <QWidget>
#include <vector>

class QMenu;
class QPainter;

class CPhotoCanvas : public QWidget {
    Q_OBJECT
public:
    explicit CPhotoCanvas(QWidget* parent = nullptr);
    ~CPhotoCanvas() override;

    // --- state (read and written by the main dialog) ---
    TelvoComm m_rangeFinder;
    PhotoInfo m_info;
    Dimension m_pendingDim;       // colour = current drawing colour; start = first point
    int32_t m_nSelDim = -1;       // negative: none
    int32_t m_nSelNote = -1;      // negative: none
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

    // --- operations ---
    bool LoadPhoto(const QString& path);
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
    // The current photo/view mapping.
    ViewMapping View() const { return ViewMapping{m_fZoom, m_rcSrc, m_rcDst}; }
    // Draws every record at photo scale onto a copy of the photo and saves it
    // as JPEG; false (with ExportError) when nothing was written.
    bool ExportAnnotatedImage(const QString& path);
    QString ExportError() const { return m_exportError; }

    // Draws the records on the screen and the export, and measures them for
    // hit tests; its caches live as long as the canvas.
    AnnotationRenderer m_renderer;

    // The selected dimension or note, or nullptr when the index is negative
    // or past the end of its list.
    Dimension* SelectedDimension();
    const Dimension* SelectedDimension() const;
    InfoNote* SelectedNote();
    const InfoNote* SelectedNote() const;

    int32_t CurrentTool() const { return m_tools.empty() ? ToolDrag : m_tools.back(); }
    // Empties the tool list and appends `tool`.
    void SetTool(int32_t tool);
    // Invalidates the whole canvas.
    void Repaint() { update(); }

    // The whole client area as the screen shows it, composed into `painter`
    // (which covers the client rectangle). Screen and tests share this path.
    void Render(QPainter& painter);
    QImage RenderToImage();

    // Mouse input as plain points; the Qt mouse events forward to these.
    void OnLButtonDown(POINT q);
    void OnMouseMove(POINT q, bool leftHeld);
    void OnLButtonUp(POINT q);

    // --- Range readings and the context menu (CPhotoCanvasRange.cpp) ---
    // Acts on the range finder's latest event (a distance for the selected
    // dimension, or a move of the selection) and re-arms the link.
    void OnRangeValue();
    // Right button at view point q: drops a half-drawn dimension, or else
    // shows the context menu there and passes the chosen command on as
    // menuCommand.
    void OnRButtonDown(POINT q);
    // Fills `menu` with the context menu's items; each action's data is its
    // command id.
    static void BuildContextMenu(QMenu& menu);

Q_SIGNALS:
    // Always delivered queued, after the handler that caused it has returned.
    void canvasNotify(int code);
    // A command chosen from the context menu.
    void menuCommand(int id);

protected:
    // Range-finder events and the right button (CPhotoCanvasRange.cpp).
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    // Posts canvasNotify(code) to be delivered after the current handler.
    void PostNotify(int code);

private:
    // The one composition path: photo, dimensions, rubber band, notes, all
    // cut at m_rcDst, then grey margins. `waitForLevels`: draw the photo from
    // the reduced copy it needs even if that is still being made.
    void Compose(QPainter& painter, bool waitForLevels);
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

    QString m_exportError;
    PhotoViewPainter m_photoView;
    double m_panRemainder[2] = {0.0, 0.0}; // photo pixels not yet scrolled
};
