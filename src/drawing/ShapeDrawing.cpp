// AnnotationRenderer: areas and angles. Their outlines and arms go through
// the painter without antialiasing, as the other records' lines do; their
// labels are HaloText images like a dimension's.
#include "drawing/ShapeDrawing.h"

#include "drawing/AnnotationRenderer.h"
#include "drawing/RecordBounds.h"
#include "drawing/RenderGeometry.h"
#include "platform/Cp950.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;

POINT ToView(POINT p, const ViewMapping* view) {
    return view ? view->PhotoToView(p) : p;
}

QPoint ToQPoint(POINT p) {
    return QPoint(p.x, p.y);
}

POINT Rounded(QPointF p) {
    return POINT{static_cast<int32_t>(std::lround(std::clamp(p.x(), -2.0e9, 2.0e9))),
                 static_cast<int32_t>(std::lround(std::clamp(p.y(), -2.0e9, 2.0e9)))};
}

double Scale(const ViewMapping* view) {
    return view ? static_cast<double>(view->zoom) : 1.0;
}

// The label's box centred at `centre`.
QRect LabelBox(QPointF centre, SIZE extent) {
    return QRect(static_cast<int>(std::floor(centre.x() - extent.cx / 2.0)),
                 static_cast<int>(std::floor(centre.y() - extent.cy / 2.0)), extent.cx, extent.cy);
}
} // namespace

AngleArc AngleArcAt(POINT arm1, POINT vertex, POINT arm2, double scale, QSize label) {
    const double dx1 = double(arm1.x) - vertex.x, dy1 = double(arm1.y) - vertex.y;
    const double dx2 = double(arm2.x) - vertex.x, dy2 = double(arm2.y) - vertex.y;
    const double shorter = std::min(std::hypot(dx1, dy1), std::hypot(dx2, dy2));
    const double radius = std::clamp(shorter / 3.0, 6.0 * scale, 40.0 * scale);
    const int r = std::max(1, static_cast<int>(std::lround(radius)));
    // Counter-clockwise degrees with y up, as QPainter's arcs count.
    const double a1 = std::atan2(-dy1, dx1) * 180.0 / kPi;
    const double a2 = std::atan2(-dy2, dx2) * 180.0 / kPi;
    double span = std::remainder(a2 - a1, 360.0);
    AngleArc arc;
    arc.box = QRect(vertex.x - r, vertex.y - r, 2 * r, 2 * r);
    arc.startSixteenths = static_cast<int>(std::lround(a1 * 16));
    arc.spanSixteenths = static_cast<int>(std::lround(span * 16));
    const double mid = (a1 + span / 2.0) * kPi / 180.0;
    const double reach = r + 4.0 * scale + std::hypot(label.width(), label.height()) / 2.0;
    arc.labelCentre = QPointF(vertex.x + std::cos(mid) * reach, vertex.y - std::sin(mid) * reach);
    return arc;
}

AnnotationRenderer::Label AnnotationRenderer::ShapeLabel(const LOGFONTA& font, COLORREF colour,
                                                         const std::string& name,
                                                         const QString& text, double scale) {
    Label label;
    label.font = ScaledLogFont(font, scale);
    label.font.lfEscapement = 0;
    label.font.lfOrientation = 0;
    const QByteArray utf8 = text.toUtf8();
    label.textLen = name.size() + static_cast<size_t>(utf8.size());
    std::string& key = label.key;
    key.push_back('S');
    key.append(reinterpret_cast<const char*>(&label.font), sizeof label.font);
    key.append(reinterpret_cast<const char*>(&colour), sizeof colour);
    key.append(name);
    key.push_back('\0');
    key.append(utf8.constData(), static_cast<size_t>(utf8.size()));
    label.entry = m_labels.Find(key);
    if (!label.entry) {
        const TextMeasurer::FontInfo& f = m_measurer.Font(label.font);
        int width = f.metrics.horizontalAdvance(text);
        int lines = text.isEmpty() ? 0 : 1;
        if (!name.empty()) {
            width = std::max(width, f.metrics.horizontalAdvance(
                                        m_measurer.Decoded(name.data(), int(name.size()))));
            ++lines;
        }
        label.entry = &m_labels.Insert(key, SIZE{width, lines * f.height});
    }
    return label;
}

void AnnotationRenderer::DrawShapeLabel(QPainter& painter, QPoint centre, const Label& label,
                                        COLORREF colour, const std::string& name,
                                        const QString& text) {
    if (label.textLen == 0)
        return;
    const SIZE extent = label.entry->extent;
    const QPoint origin = LabelBox(centre, extent).topLeft();
    if (m_useImages && Aligned(painter) && m_labels.DrawMade(painter, origin, *label.entry))
        return;
    if (!label.entry->imageTried && OverBudget(painter)) {
        m_pending = true;
        return;
    }
    QString lines[2];
    int count = 0;
    if (!name.empty())
        lines[count++] = m_measurer.Decoded(name.data(), int(name.size()));
    if (!text.isEmpty())
        lines[count++] = text;
    HaloTextSpec spec;
    spec.font = &m_measurer.Font(label.font);
    spec.lines = lines;
    spec.lineCount = count;
    spec.lineHeight = spec.font->height;
    spec.colour = ColorRefToQColor(colour);
    PaintLabel(painter, origin, label, spec);
}

void AnnotationRenderer::DrawArea(QPainter& painter, const AreaRecord& area, const QString& text,
                                  QPointF labelAt, bool selected, const ViewMapping* view) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPolygon polygon;
    polygon.reserve(static_cast<int>(area.corners.size()));
    for (const POINT& corner : area.corners)
        polygon.append(ToQPoint(ToView(corner, view)));
    const QColor colour = ColorRefToQColor(area.colour);
    if (area.opening) {
        painter.setBrush(QBrush(colour, Qt::BDiagPattern));
    } else {
        QColor fill = colour;
        fill.setAlpha(kAreaFillAlpha);
        painter.setBrush(fill);
    }
    painter.setPen(Qt::NoPen);
    painter.drawPolygon(polygon);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colour, selected ? 2 : 1));
    painter.drawPolygon(polygon);
    const Label label = ShapeLabel(area.font, area.colour, area.name, text, Scale(view));
    DrawShapeLabel(painter, ToQPoint(ToView(Rounded(labelAt), view)), label, area.colour, area.name,
                   text);
    painter.restore();
}

void AnnotationRenderer::DrawAngle(QPainter& painter, const AngleRecord& angle, const QString& text,
                                   bool selected, const ViewMapping* view) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const POINT a1 = ToView(angle.arm1, view), v = ToView(angle.vertex, view),
                a2 = ToView(angle.arm2, view);
    const QColor colour = ColorRefToQColor(angle.colour);
    painter.setPen(QPen(colour, selected ? 2 : 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(ToQPoint(v), ToQPoint(a1));
    painter.drawLine(ToQPoint(v), ToQPoint(a2));
    const Label label = ShapeLabel(angle.font, angle.colour, std::string(), text, Scale(view));
    const SIZE extent = label.entry->extent;
    const AngleArc arc = AngleArcAt(a1, v, a2, Scale(view), QSize(extent.cx, extent.cy));
    painter.drawArc(arc.box, arc.startSixteenths, arc.spanSixteenths);
    DrawShapeLabel(painter, ToQPoint(Rounded(arc.labelCentre)), label, angle.colour, std::string(),
                   text);
    painter.restore();
}

QRect AnnotationRenderer::AreaBoundOf(const AreaRecord& area, const QString& text, QPointF labelAt,
                                      const ViewMapping* view) {
    std::vector<POINT> points;
    points.reserve(area.corners.size());
    for (const POINT& corner : area.corners)
        points.push_back(ToView(corner, view));
    // The label from the cached widths of its characters (nothing measured
    // whole): at most two lines, centred where it is drawn.
    LOGFONTA lf = ScaledLogFont(area.font, Scale(view));
    lf.lfEscapement = lf.lfOrientation = 0;
    int height = 0;
    const int textWidth =
        text.isEmpty() ? 0 : m_measurer.WidthBoundUtf8(lf, text.toUtf8(), &height);
    const int nameWidth = area.name.empty()
                              ? 0
                              : m_measurer.WidthBound(lf, area.name.data(),
                                                      static_cast<int>(area.name.size()), &height);
    const SIZE extent{std::max(textWidth, nameWidth), 2 * height};
    const POINT centre = ToView(Rounded(labelAt), view);
    return PointsBound(points.data(), points.size())
        .united(LabelBox(QPointF(centre.x, centre.y), extent).adjusted(-2, -2, 2, 2));
}

QRect AnnotationRenderer::AngleBoundOf(const AngleRecord& angle, const QString& text,
                                       const ViewMapping* view) {
    const POINT points[3] = {ToView(angle.arm1, view), ToView(angle.vertex, view),
                             ToView(angle.arm2, view)};
    const SIZE extent =
        ShapeLabel(angle.font, angle.colour, std::string(), text, Scale(view)).entry->extent;
    const AngleArc arc =
        AngleArcAt(points[0], points[1], points[2], Scale(view), QSize(extent.cx, extent.cy));
    return PointsBound(points, 3).united(arc.box).united(
        LabelBox(arc.labelCentre, extent).adjusted(-2, -2, 2, 2));
}
