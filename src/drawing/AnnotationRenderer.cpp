#include "drawing/AnnotationRenderer.h"

#include "drawing/PixelRaster.h"
#include "drawing/RenderGeometry.h"
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
                                                             double scale, const QPainter* painter,
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
    std::string& key = label.key;
    key.reserve(1 + sizeof label.font + sizeof dim.colour + label.textLen);
    key.push_back(label.utf8 ? 'C' : 'D');
    AppendKeyBytes(key, &label.font, sizeof label.font);
    AppendKeyBytes(key, &dim.colour, sizeof dim.colour);
    key.append(label.text, label.textLen);
    label.entry = m_labels.Find(key);
    if (!label.entry && !(painter && label.textLen > 0 && OverBudget(*painter))) {
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
                      : m_measurer.Decoded(label.text, static_cast<int>(label.textLen));
    HaloTextSpec spec;
    spec.font = &font;
    spec.lines = &line;
    spec.lineCount = 1;
    spec.lineHeight = font.height;
    spec.escapement = label.font.lfEscapement;
    spec.colour = ColorRefToQColor(dim.colour);
    return spec;
}

AnnotationRenderer::Label AnnotationRenderer::NoteLabel(const InfoNote& note, double scale,
                                                        const QPainter* painter) {
    Label label;
    label.font = ScaledLogFont(note.font, scale);
    // Note text is always set upright; the box has no turned form.
    label.font.lfEscapement = 0;
    label.font.lfOrientation = 0;
    label.textLen = cp950::FieldLength(note.text, sizeof note.text);
    std::string& key = label.key;
    key.reserve(1 + sizeof label.font + label.textLen);
    key.push_back('N');
    AppendKeyBytes(key, &label.font, sizeof label.font);
    key.append(note.text, label.textLen);

    // The extent of a note's text block: widest line × (lines × line height).
    // Over budget, a note with a stand-in is not even measured.
    label.entry = m_labels.Find(key);
    double factor = 0;
    if (!label.entry && painter && label.textLen > 0 && OverBudget(*painter) &&
        StandInFor(label, &factor))
        return label;
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

void AnnotationRenderer::PaintLabel(QPainter& painter, QPoint origin, const Label& label,
                                    const HaloTextSpec& spec) {
    ++m_madeThisFrame;
    if (m_useImages && PixelAligned(painter) &&
        m_labels.Draw(painter, origin, *label.entry, spec)) {
        RememberMade(label);
        return;
    }
    PaintHaloText(painter, origin, spec);
}

bool AnnotationRenderer::Aligned(const QPainter& painter) {
    return PixelAligned(painter);
}

void AnnotationRenderer::SetLabelDeadline(std::chrono::steady_clock::time_point deadline) {
    m_hasDeadline = true;
    m_deadline = deadline;
    m_pending = false;
    m_madeThisFrame = 0;
}

bool AnnotationRenderer::OverBudget(const QPainter& painter) {
    // Only labels kept as images are ever made ahead; others are always drawn.
    return m_hasDeadline && m_useImages && m_madeThisFrame > 0 && PixelAligned(painter) &&
           std::chrono::steady_clock::now() >= m_deadline;
}

namespace {
// A label's key without its font height: the same record at any scale.
std::string StandInName(const std::string& key) {
    std::string name = key;
    std::fill_n(name.begin() + 1, sizeof(int32_t), '\0');
    return name;
}
constexpr size_t kMaxStandIns = 20000;
} // namespace

void AnnotationRenderer::RememberMade(const Label& label) {
    if (m_standIns.size() >= kMaxStandIns)
        m_standIns.clear();
    m_standIns[StandInName(label.key)] = StandIn{label.key, label.font.lfHeight};
}

const HaloTextCache::Entry* AnnotationRenderer::StandInFor(const Label& label, double* factor) {
    const auto it = m_standIns.find(StandInName(label.key));
    if (it == m_standIns.end() || it->second.height == 0)
        return nullptr;
    const HaloTextCache::Entry* entry = m_labels.Find(it->second.key);
    if (!entry || entry->image.isNull())
        return nullptr;
    *factor = static_cast<double>(label.font.lfHeight) / it->second.height;
    return entry;
}

void AnnotationRenderer::DrawStandIn(QPainter& painter, QPoint origin,
                                     const HaloTextCache::Entry& entry, double factor) {
    const QSizeF size(entry.image.width() * factor, entry.image.height() * factor);
    painter.drawImage(QRectF(QPointF(origin) + QPointF(entry.offset) * factor, size), entry.image);
}

void AnnotationRenderer::DrawDimension(QPainter& painter, const Dimension& dim, bool selected,
                                       const ViewMapping* view, const QByteArray* computed) {
    PainterStateGuard guard(painter);
    const POINT p1 = view ? view->PhotoToView(dim.start) : dim.start;
    const POINT p2 = view ? view->PhotoToView(dim.end) : dim.end;
    const double scale = view ? static_cast<double>(view->zoom) : 1.0;
    // The label's angle comes from the photo's points, not the view's rounded
    // ones, so panning and zooming never turn it (nor make it again).
    const double angle = LineAngle(dim.start, dim.end);
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

    // The value label (or the computed length), centred above the midpoint
    // along the line. Over the frame's budget, the label made at another
    // scale stands in, stretched.
    const Label label = DimensionLabel(dim, angle, scale, selected ? nullptr : &painter, computed);
    if (!label.entry) {
        m_pending = true;
        double f = 0;
        if (const HaloTextCache::Entry* old = StandInFor(label, &f)) {
            const LabelPlacement place = DimensionLabelPlacement(
                p1, p2, angle, TruncToInt(old->extent.cx * f), TruncToInt(old->extent.cy * f));
            DrawStandIn(painter, ToQPoint(place.origin), *old, f);
        }
        return;
    }
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
    // A label too large for an image (tried already) is always drawn.
    if (!selected && !label.entry->imageTried && OverBudget(painter)) {
        m_pending = true;
        return;
    }
    QString line;
    PaintLabel(painter, origin, label, DimensionLabelSpec(dim, label, line));
}

void AnnotationRenderer::DrawInfoNote(QPainter& painter, const InfoNote& note, bool selected,
                                      const ViewMapping* view) {
    PainterStateGuard guard(painter);
    const POINT a = view ? view->PhotoToView(note.anchor) : note.anchor;
    const double scale = view ? static_cast<double>(view->zoom) : 1.0;
    Label label = NoteLabel(note, scale, &painter);
    const int64_t margin = NoteMargin(scale);
    // Over the frame's budget, the label made at another scale stands in.
    double factor = 0;
    const HaloTextCache::Entry* standIn = label.entry ? nullptr : StandInFor(label, &factor);
    const SIZE extent = standIn ? SIZE{TruncToInt(standIn->extent.cx * factor),
                                       TruncToInt(standIn->extent.cy * factor)}
                                : label.entry->extent;

    // The box [l, r) × [t, b) with its 2-pixel outline centred on the edge.
    const NoteBox box = NoteBoxAt(a, extent, scale);
    const int l = ClampCoord(box.left);
    const int t = ClampCoord(box.top);
    const int r = ClampCoord(box.right);
    const int b = ClampCoord(box.bottom);
    painter.fillRect(QRect(QPoint(l - 1, t - 1), QPoint(r, b)), selected ? kRed : kBlack);
    if (r - l > 2 && b - t > 2)
        painter.fillRect(QRect(QPoint(l + 1, t + 1), QPoint(r - 2, b - 2)), kYellow);

    if (label.textLen == 0)
        return;
    const QPoint origin(ClampCoord(a.x + margin), ClampCoord(a.y + margin));
    if (standIn) {
        m_pending = true;
        DrawStandIn(painter, origin, *standIn, factor);
        return;
    }
    if (m_useImages && PixelAligned(painter) && m_labels.DrawMade(painter, origin, *label.entry))
        return;
    if (!label.entry->imageTried && OverBudget(painter)) {
        m_pending = true;
        return;
    }
    PaintLabel(painter, origin, label, NoteLabelSpec(note, label));
}

NoteBox AnnotationRenderer::NoteBoxOf(const InfoNote& note, const ViewMapping* view) {
    const POINT a = view ? view->PhotoToView(note.anchor) : note.anchor;
    const double scale = view ? static_cast<double>(view->zoom) : 1.0;
    return NoteBoxAt(a, NoteLabel(note, scale, nullptr).entry->extent, scale);
}

void AnnotationRenderer::PrepareDimension(const Dimension& dim, const ViewMapping* view,
                                          const QByteArray* computed,
                                          std::vector<MadeLabel>* made) {
    if (!m_useImages)
        return;
    const double scale = view ? static_cast<double>(view->zoom) : 1.0;
    const Label label =
        DimensionLabel(dim, LineAngle(dim.start, dim.end), scale, nullptr, computed);
    if (label.textLen == 0)
        return;
    // A label made before (by an earlier run) is handed over again: the
    // renderer it went to may have dropped it since. Make does nothing for it.
    QString line;
    if (m_labels.Make(*label.entry, DimensionLabelSpec(dim, label, line)) && made)
        made->push_back({label.key, *label.entry});
}

void AnnotationRenderer::PrepareInfoNote(const InfoNote& note, const ViewMapping* view,
                                         std::vector<MadeLabel>* made) {
    if (!m_useImages)
        return;
    Label label = NoteLabel(note, view ? static_cast<double>(view->zoom) : 1.0, nullptr);
    if (label.textLen == 0)
        return;
    if (m_labels.Make(*label.entry, NoteLabelSpec(note, label)) && made)
        made->push_back({label.key, *label.entry});
}

void AnnotationRenderer::AdoptLabels(const std::vector<MadeLabel>& made) {
    // A label measured here (for a note's box, say) but not made yet takes
    // the made one too.
    for (const MadeLabel& label : made) {
        const HaloTextCache::Entry* own = m_labels.Find(label.key);
        if (!own || !own->imageTried)
            m_labels.Adopt(label.key, label.entry);
    }
}

void AnnotationRenderer::ClearCaches() {
    m_standIns.clear();
    m_labels.Clear();
    m_measurer.Clear();
}
