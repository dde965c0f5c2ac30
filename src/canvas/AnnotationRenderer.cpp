#include "canvas/AnnotationRenderer.h"

#include "canvas/PixelRaster.h"
#include "canvas/RenderGeometry.h"
#include "platform/Cp950.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
const QColor kYellow(255, 255, 0);
const QColor kBlack(0, 0, 0);
const QColor kRed(255, 0, 0);
// Box coordinates are kept well inside QRect's int range.
constexpr int64_t kCoordLimit = 1 << 28;

QPoint ToQPoint(POINT p) {
    return QPoint(p.x, p.y);
}

int ClampCoord(int64_t v) {
    return static_cast<int>(std::clamp(v, -kCoordLimit, kCoordLimit));
}

// Saves what the drawing routines change and puts it back on destruction.
class PainterStateGuard {
public:
    explicit PainterStateGuard(QPainter& p)
        : m_painter(p), m_pen(p.pen()), m_brush(p.brush()), m_font(p.font()),
          m_transform(p.worldTransform()), m_hints(p.renderHints()) {
        p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                             QPainter::SmoothPixmapTransform,
                         false);
    }
    ~PainterStateGuard() {
        m_painter.setPen(m_pen);
        m_painter.setBrush(m_brush);
        m_painter.setFont(m_font);
        m_painter.setWorldTransform(m_transform);
        m_painter.setRenderHints(m_hints, true);
    }
    PainterStateGuard(const PainterStateGuard&) = delete;
    PainterStateGuard& operator=(const PainterStateGuard&) = delete;

private:
    QPainter& m_painter;
    QPen m_pen;
    QBrush m_brush;
    QFont m_font;
    QTransform m_transform;
    QPainter::RenderHints m_hints;
};

// True when an image drawn at a whole-pixel position lands on whole pixels.
bool PixelAligned(const QPainter& painter) {
    const QTransform& t = painter.worldTransform();
    if (t.type() > QTransform::TxTranslate)
        return false;
    if (t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy()))
        return false;
    const QPaintDevice* device = painter.device();
    return device && device->devicePixelRatioF() == 1.0;
}

void AppendKeyBytes(std::string& key, const void* data, size_t len) {
    key.append(static_cast<const char*>(data), len);
}
} // namespace

void DrawRotatedEllipse(QPainter& painter, const RECT& rc, POINT centre, double angle, bool fill) {
    POINT pts[13];
    EllipseBezierPoints(rc, pts);
    RotatePoints(angle, centre, pts, 13);
    QPainterPath path(QPointF(pts[0].x, pts[0].y));
    for (int i = 1; i + 2 < 13; i += 3)
        path.cubicTo(QPointF(pts[i].x, pts[i].y), QPointF(pts[i + 1].x, pts[i + 1].y),
                     QPointF(pts[i + 2].x, pts[i + 2].y));
    if (fill) {
        painter.drawPath(path);
    } else {
        painter.strokePath(path, painter.pen());
    }
}

AnnotationRenderer::Label AnnotationRenderer::DimensionLabel(const Dimension& dim, double angle,
                                                             double scale,
                                                             const QByteArray* computed) {
    // One cache entry per text, font, escapement and colour holds the label's
    // extent and image.
    Label label;
    label.font = ScaledLogFont(dim.font, scale);
    label.font.lfEscapement = LabelEscapement(angle);
    label.text = computed ? computed->constData() : dim.value;
    label.textLen = computed ? static_cast<size_t>(computed->size())
                             : cp950::FieldLength(dim.value, sizeof dim.value);
    label.utf8 = computed != nullptr;
    std::string key;
    key.reserve(1 + sizeof label.font + sizeof dim.colour + label.textLen);
    key.push_back(label.utf8 ? 'C' : 'D');
    AppendKeyBytes(key, &label.font, sizeof label.font);
    AppendKeyBytes(key, &dim.colour, sizeof dim.colour);
    key.append(label.text, label.textLen);
    label.entry = m_labels.Find(key);
    if (!label.entry) {
        SIZE extent;
        if (label.utf8) {
            const TextMeasurer::FontInfo& font = m_measurer.Font(label.font);
            extent = SIZE{
                font.metrics.horizontalAdvance(QString::fromUtf8(label.text, int(label.textLen))),
                font.height};
        } else {
            extent = m_measurer.Extent(label.font, QByteArray(label.text, int(label.textLen)));
        }
        label.entry = &m_labels.Insert(key, extent);
    }
    return label;
}

HaloTextSpec AnnotationRenderer::DimensionLabelSpec(const Dimension& dim, const Label& label,
                                                    QString& line) {
    const TextMeasurer::FontInfo& font = m_measurer.Font(label.font);
    line = label.utf8 ? QString::fromUtf8(label.text, static_cast<int>(label.textLen))
                      : DecodeCp950(label.text, static_cast<int>(label.textLen));
    HaloTextSpec spec;
    spec.font = &font;
    spec.lines = &line;
    spec.lineCount = 1;
    spec.lineHeight = font.height;
    spec.escapement = label.font.lfEscapement;
    spec.colour = ColorRefToQColor(dim.colour);
    return spec;
}

AnnotationRenderer::Label AnnotationRenderer::NoteLabel(const InfoNote& note, double scale) {
    Label label;
    label.font = ScaledLogFont(note.font, scale);
    // Note text is always set upright; the box has no turned form.
    label.font.lfEscapement = 0;
    label.font.lfOrientation = 0;
    label.textLen = cp950::FieldLength(note.text, sizeof note.text);
    std::string key;
    key.reserve(1 + sizeof label.font + label.textLen);
    key.push_back('N');
    AppendKeyBytes(key, &label.font, sizeof label.font);
    key.append(note.text, label.textLen);

    // The extent of a note's text block: widest line × (lines × line height).
    label.entry = m_labels.Find(key);
    if (!label.entry) {
        label.layout =
            &m_measurer.LayoutNote(label.font, QByteArray(note.text, int(label.textLen)));
        const int64_t height =
            static_cast<int64_t>(label.layout->lines.size()) * label.layout->lineHeight;
        label.entry =
            &m_labels.Insert(key, SIZE{label.layout->widest, static_cast<int32_t>(height)});
    }
    return label;
}

HaloTextSpec AnnotationRenderer::NoteLabelSpec(const InfoNote& note, Label& label) {
    if (!label.layout)
        label.layout =
            &m_measurer.LayoutNote(label.font, QByteArray(note.text, int(label.textLen)));
    HaloTextSpec spec;
    spec.font = &m_measurer.Font(label.font);
    spec.lines = label.layout->decoded.data();
    spec.lineCount = static_cast<int>(label.layout->decoded.size());
    spec.lineHeight = label.layout->lineHeight;
    spec.colour = kRed;
    return spec;
}

void AnnotationRenderer::PaintLabel(QPainter& painter, QPoint origin, HaloTextCache::Entry& entry,
                                    const HaloTextSpec& spec) {
    if (m_useImages && PixelAligned(painter) && m_labels.Draw(painter, origin, entry, spec))
        return;
    PaintHaloText(painter, origin, spec);
}

void AnnotationRenderer::DrawDimension(QPainter& painter, const Dimension& dim, bool selected,
                                       const ViewMapping* view, const QByteArray* computed) {
    PainterStateGuard guard(painter);
    const POINT p1 = view ? view->PhotoToView(dim.start) : dim.start;
    const POINT p2 = view ? view->PhotoToView(dim.end) : dim.end;
    const double scale = view ? static_cast<double>(view->zoom) : 1.0;
    const double angle = LineAngle(p1, p2);
    const QColor colour = ColorRefToQColor(dim.colour);

    // The line, then the two arrowheads filled and outlined in the same colour.
    // Every edge is drawn with both its ends, so even a sliver of a head (small
    // zoom) shows all three vertices.
    const ArrowHeads heads = DimensionArrowHeads(p1, p2, scale);
    PixelRaster raster(painter);
    if (raster.Available()) {
        raster.Line(ToQPoint(p1), ToQPoint(p2), colour.rgb());
        for (const auto* head : {&heads.atStart, &heads.atEnd}) {
            const QPoint tri[3] = {ToQPoint((*head)[0]), ToQPoint((*head)[1]),
                                   ToQPoint((*head)[2])};
            raster.Triangle(tri, colour.rgb());
        }
    } else {
        painter.setPen(QPen(colour, 1));
        painter.drawLine(ToQPoint(p1), ToQPoint(p2));
        painter.setBrush(colour);
        for (const auto* head : {&heads.atStart, &heads.atEnd}) {
            const QPoint tri[3] = {ToQPoint((*head)[0]), ToQPoint((*head)[1]),
                                   ToQPoint((*head)[2])};
            painter.setPen(Qt::NoPen);
            painter.drawPolygon(tri, 3);
            painter.setPen(QPen(colour, 1));
            const QLine edges[3] = {{tri[0], tri[1]}, {tri[1], tri[2]}, {tri[2], tri[0]}};
            painter.drawLines(edges, 3);
        }
    }

    // The value label, centred above the midpoint along the line.
    const Label label = DimensionLabel(dim, angle, scale, computed);
    const SIZE extent = label.entry->extent;
    const LabelPlacement place = DimensionLabelPlacement(p1, p2, angle, extent.cx, extent.cy);

    if (selected) {
        painter.setPen(QPen(kYellow, 1));
        painter.setBrush(colour);
        DrawRotatedEllipse(painter, place.ellipse, place.centre, angle, true);
    }
    if (label.textLen == 0)
        return;
    const QPoint origin = ToQPoint(place.origin);
    if (m_useImages && PixelAligned(painter) && m_labels.DrawMade(painter, origin, *label.entry))
        return;
    QString line;
    PaintLabel(painter, origin, *label.entry, DimensionLabelSpec(dim, label, line));
}

void AnnotationRenderer::DrawInfoNote(QPainter& painter, const InfoNote& note, bool selected,
                                      const ViewMapping* view) {
    PainterStateGuard guard(painter);
    const POINT a = view ? view->PhotoToView(note.anchor) : note.anchor;
    const double scale = view ? static_cast<double>(view->zoom) : 1.0;
    Label label = NoteLabel(note, scale);
    const int64_t margin = NoteMargin(scale);

    // The box [l, r) × [t, b) with its 2-pixel outline centred on the edge.
    const int l = ClampCoord(a.x);
    const int t = ClampCoord(a.y);
    const int r = ClampCoord(static_cast<int64_t>(a.x) + label.entry->extent.cx + 2 * margin);
    const int b = ClampCoord(static_cast<int64_t>(a.y) + label.entry->extent.cy + 2 * margin);
    painter.fillRect(QRect(QPoint(l - 1, t - 1), QPoint(r, b)), selected ? kRed : kBlack);
    if (r - l > 2 && b - t > 2)
        painter.fillRect(QRect(QPoint(l + 1, t + 1), QPoint(r - 2, b - 2)), kYellow);

    if (label.textLen == 0)
        return;
    const QPoint origin(ClampCoord(a.x + margin), ClampCoord(a.y + margin));
    if (m_useImages && PixelAligned(painter) && m_labels.DrawMade(painter, origin, *label.entry))
        return;
    PaintLabel(painter, origin, *label.entry, NoteLabelSpec(note, label));
}

void AnnotationRenderer::PrepareDimension(const Dimension& dim, const ViewMapping* view,
                                          const QByteArray* computed) {
    if (!m_useImages)
        return;
    const POINT p1 = view ? view->PhotoToView(dim.start) : dim.start;
    const POINT p2 = view ? view->PhotoToView(dim.end) : dim.end;
    const double scale = view ? static_cast<double>(view->zoom) : 1.0;
    const Label label = DimensionLabel(dim, LineAngle(p1, p2), scale, computed);
    if (label.textLen == 0 || label.entry->imageTried)
        return;
    QString line;
    m_labels.Make(*label.entry, DimensionLabelSpec(dim, label, line));
}

void AnnotationRenderer::PrepareInfoNote(const InfoNote& note, const ViewMapping* view) {
    if (!m_useImages)
        return;
    Label label = NoteLabel(note, view ? static_cast<double>(view->zoom) : 1.0);
    if (label.textLen == 0 || label.entry->imageTried)
        return;
    m_labels.Make(*label.entry, NoteLabelSpec(note, label));
}

void AnnotationRenderer::ClearCaches() {
    m_labels.Clear();
    m_measurer.Clear();
}

namespace {
AnnotationRenderer& SharedRenderer() {
    // Never destroyed: its fonts must not outlive the application at exit.
    static AnnotationRenderer* shared = new AnnotationRenderer;
    return *shared;
}
} // namespace

void DrawDimension(QPainter& painter, const Dimension& dim, bool selected,
                   const ViewMapping* view) {
    SharedRenderer().DrawDimension(painter, dim, selected, view);
}

void DrawInfoNote(QPainter& painter, const InfoNote& note, bool selected, const ViewMapping* view) {
    SharedRenderer().DrawInfoNote(painter, note, selected, view);
}
