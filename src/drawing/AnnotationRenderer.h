#pragma once
// Draws the two kinds of record: a dimension (line, arrowheads, value label
// with a yellow halo, selection ellipse) and an info note (yellow box with a
// black or red outline holding the wrapped text in red with a yellow halo).
//
// How the canvas uses it:
//   AnnotationRenderer m_renderer;                       // one per canvas
//   m_renderer.DrawDimension(painter, dim, i == m_nSelDim, &mapping);
//   m_renderer.DrawInfoNote(painter, note, i == m_nSelNote, &mapping);
//   m_renderer.NoteBoxOf(note, &mapping);             // what the select tool hits
// `view` == nullptr draws in photo coordinates at scale 1 (the export);
// otherwise points go through view->PhotoToView and sizes scale by view->zoom.
// A dimension's label (its escapement, place and selection ellipse) follows
// the angle of the line between the photo's points, the same at every pan and
// zoom; the line and arrowheads follow the view's points.
// The painter's pen, brush, font, transform and hints are restored on return.
//
// Pixels: lines, arrowheads, the ellipse and the note box are drawn without
// antialiasing (one-pixel lines stay crisp), and so is the text. On a 32-bit
// QImage without clipping or transform the line and arrowheads are written
// straight into the pixels (PixelRaster: same line rule everywhere, both end
// pixels set); on any other device they go through the painter. A note box
// covers what the classic Rectangle(l, t, r, b) with a 2-pixel pen covers: the
// fill [l, r) × [t, b) with its outline centred on the edge, i.e. the outline
// band is 2 pixels wide over [l-1, l+1) on the left, [r-1, r+1) on the right
// and likewise at top and bottom, and the yellow fill is [l+1, r-1) × [t+1, b-1).
//
// Caches: fonts, text extents and note layouts (TextMeasurer), computed lengths (ComputedLabels),
// and finished
// labels with their extents as images (HaloTextCache, one lookup per record). They are keyed by
// what they depend on, so edits need no invalidation; all are bounded. Labels are drawn directly
// (no image) when the painter's transform is not a whole-pixel translation or the device has a
// pixel ratio other than 1; the drawn pixels are the same.

#include "document/Records.h"
#include "document/ShapeRecords.h"
#include "drawing/ComputedLabels.h"
#include "drawing/ComputedShapes.h"
#include "drawing/HaloText.h"
#include "drawing/RenderGeometry.h"
#include "drawing/TextMeasurer.h"
#include "drawing/ViewMapping.h"

#include <QPointF>
#include <QRect>
#include <QString>
#include <chrono>
#include <string>
#include <unordered_map>
#include <vector>

class QPainter;

class AnnotationRenderer {
public:
    AnnotationRenderer() = default;
    // Keeps at most `labelBytes` of label images (the least recently used go
    // first), e.g. for a picture drawn band by band.
    explicit AnnotationRenderer(size_t labelBytes) : m_labels(labelBytes) {}
    AnnotationRenderer(const AnnotationRenderer&) = delete;
    AnnotationRenderer& operator=(const AnnotationRenderer&) = delete;

    // `computed`: the label text (UTF-8) to draw in place of the empty
    // value, e.g. a computed length "≈2431 ±12"; null: the value.
    void DrawDimension(QPainter& painter, const Dimension& dim, bool selected,
                       const ViewMapping* view, const QByteArray* computed = nullptr);
    void DrawInfoNote(QPainter& painter, const InfoNote& note, bool selected,
                      const ViewMapping* view);
    // The box DrawInfoNote draws for `note` at `view`, in the same coordinates.
    NoteBox NoteBoxOf(const InfoNote& note, const ViewMapping* view);

    // Makes the record's label image (and measures it) as drawing it at
    // `view` would, without drawing: a later Draw* only stamps it. Needs no
    // painter, so it can run while the picture to draw on is still being made.
    // With `made`, a label image made now is also appended there under its
    // cache key, for another renderer to adopt.
    struct MadeLabel {
        std::string key;
        HaloTextCache::Entry entry;
    };
    void PrepareDimension(const Dimension& dim, const ViewMapping* view,
                          const QByteArray* computed = nullptr,
                          std::vector<MadeLabel>* made = nullptr);
    void PrepareInfoNote(const InfoNote& note, const ViewMapping* view,
                         std::vector<MadeLabel>* made = nullptr);
    // Keeps the labels another renderer made (on another thread) that this
    // one lacks: drawing them later only stamps their images.
    void AdoptLabels(const std::vector<MadeLabel>& made);

    // --- areas and angles (ShapeDrawing.cpp) ---
    // An area: a translucent fill in its colour (an opening: hatched, no
    // fill), the outline (two pixels when selected), and its label (the
    // name, then `text`) centred at the photo point `labelAt`. An angle: its
    // two arms, an arc at the vertex, and `text` beside the arc. Their labels
    // are kept as images like the others, and deferred over the budget.
    void DrawArea(QPainter& painter, const AreaRecord& area, const QString& text, QPointF labelAt,
                  bool selected, const ViewMapping* view);
    void DrawAngle(QPainter& painter, const AngleRecord& angle, const QString& text, bool selected,
                   const ViewMapping* view);
    // Where DrawArea and DrawAngle can put pixels, in the same coordinates.
    QRect AreaBoundOf(const AreaRecord& area, const QString& text, QPointF labelAt,
                      const ViewMapping* view);
    QRect AngleBoundOf(const AngleRecord& angle, const QString& text, const ViewMapping* view);
    // The measured labels of areas and angles (RecordDrawing); SetAreaPing
    // chooses whether area labels give 坪 too.
    ComputedShapes& Shapes() { return m_shapes; }
    void SetAreaPing(bool ping) { m_shapes.SetPing(ping); }

    // A frame budget for making labels (the screen's frames). Once `deadline`
    // has passed, and at least one label was made in the frame, a label not
    // made yet is drawn from the same record's label at another scale,
    // stretched, or left out when there is none (labels drawn without images,
    // on a scaled painter or a high-density device, are always drawn whole), and LabelsPending()
    // turns true: a later frame makes it. Without a deadline every label is made, so the pictures
    // that finally stand are those drawn without a budget.
    void SetLabelDeadline(std::chrono::steady_clock::time_point deadline);
    void ClearLabelDeadline() { m_hasDeadline = false; }
    bool LabelsPending() const { return m_pending; }

    // Off: every label is drawn with five text outputs (the reference path).
    void SetImageCacheEnabled(bool enabled) { m_useImages = enabled; }
    void ClearCaches();

    TextMeasurer& Measurer() { return m_measurer; }
    // The computed lengths drawn in place of empty values (RecordDrawing).
    ComputedLabels& Computed() { return m_computed; }
    const HaloTextCache& Labels() const { return m_labels; }

private:
    // A record's label: its cache entry, its font as drawn, its text length,
    // and for a note the wrapped layout when it was needed already.
    struct Label {
        std::string key;
        HaloTextCache::Entry* entry = nullptr; // null: deferred (over budget)
        LOGFONTA font{};
        const char* text = nullptr;
        size_t textLen = 0;
        bool utf8 = false; // text in UTF-8 (a computed length), else code page 950
        const TextMeasurer::NoteLayout* layout = nullptr;
    };
    // With `painter` (the frame may defer labels) and over budget, a label
    // not yet measured is left without an entry (a note's only when it has a
    // stand-in). `computed`: a computed length's text drawn in place of an
    // empty value.
    Label DimensionLabel(const Dimension& dim, double angle, double scale, const QPainter* painter,
                         const QByteArray* computed);
    Label NoteLabel(const InfoNote& note, double scale, const QPainter* painter);
    // What drawing the label directly needs; `line` holds the decoded text.
    HaloTextSpec DimensionLabelSpec(const Dimension& dim, const Label& label, QString& line);
    HaloTextSpec NoteLabelSpec(const InfoNote& note, Label& label);
    // Stamps the label's image (made first if need be) or draws it directly.
    void PaintLabel(QPainter& painter, QPoint origin, const Label& label, const HaloTextSpec& spec);

    // Stand-ins: the label of the same record made last at another scale.
    struct StandIn {
        std::string key;
        int32_t height = 0; // its font's lfHeight
    };
    // True when label images can be stamped on `painter` (whole pixels).
    static bool Aligned(const QPainter& painter);
    // True once the frame's deadline has passed, a label was made in it, and
    // `painter` takes label images (labels drawn directly are never deferred).
    bool OverBudget(const QPainter& painter);
    // Notes that `label`'s image was just made, as the stand-in of its kind.
    void RememberMade(const Label& label);
    // The stand-in image for `label` and the factor to stretch it by, or null.
    const HaloTextCache::Entry* StandInFor(const Label& label, double* factor);
    void DrawStandIn(QPainter& painter, QPoint origin, const HaloTextCache::Entry& entry,
                     double factor);
    // An area's or angle's label: up to two lines (`name` in code page 950,
    // then `text`) in `font` at `scale`, upright; its entry made or measured.
    Label ShapeLabel(const LOGFONTA& font, COLORREF colour, const std::string& name,
                     const QString& text, double scale);
    void DrawShapeLabel(QPainter& painter, QPoint centre, const Label& label, COLORREF colour,
                        const std::string& name, const QString& text);

    TextMeasurer m_measurer;
    ComputedLabels m_computed;
    ComputedShapes m_shapes;
    HaloTextCache m_labels;
    bool m_useImages = true;
    bool m_hasDeadline = false;
    bool m_pending = false;
    int m_madeThisFrame = 0;
    std::chrono::steady_clock::time_point m_deadline;
    std::unordered_map<std::string, StandIn> m_standIns; // by key without the height
};

// The selection ellipse: the ellipse inscribed in `rc`, turned by `angle`
// about `centre` (13 Bezier points through RotatePoints), stroked with the
// painter's pen and filled with its brush when `fill` is true.
void DrawRotatedEllipse(QPainter& painter, const RECT& rc, POINT centre, double angle, bool fill);
