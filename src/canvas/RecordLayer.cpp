#include "canvas/RecordLayer.h"

#include "drawing/AnnotationRenderer.h"
#include "drawing/RecordDrawing.h"

#include <QPainter>
#include <cmath>
#include <limits>

namespace {
bool SameView(const ViewMapping& a, const ViewMapping& b) {
    return a.zoom == b.zoom && a.src == b.src && a.dst == b.dst;
}

// The records are drawn as on the canvas, clipped to the photo's place, so
// they go through the same painter paths and make the same pixels.
// However late the frame already is, a picture drawn a step at a time gets
// this much of it, so it is finished within a bounded number of frames.
constexpr std::chrono::milliseconds kLeastStepTime(2);

// The computed labels of the dimensions, by index (empty: the value is drawn).
std::vector<QByteArray> ComputedTexts(AnnotationRenderer& renderer, const PhotoInfo& info) {
    std::vector<QByteArray> texts(info.dimensions.size());
    for (size_t i = 0; i < texts.size(); ++i)
        texts[i] = renderer.Computed().Label(i);
    return texts;
}

QRect PhotoPlace(const ViewMapping& view) {
    return QRect(view.dst.left, view.dst.top, view.dst.Width(), view.dst.Height());
}

void ClipToPhoto(QPainter& painter, const ViewMapping& view) {
    painter.setClipRect(PhotoPlace(view));
}

// What a layer's picture can show: the photo's place on the canvas (a pixel
// wider each way, as the drawing's own culling takes it).
QRect DrawnArea(const ViewMapping& view, QSize client) {
    return (PhotoPlace(view) & QRect(QPoint(0, 0), client)).adjusted(-1, -1, 1, 1);
}
} // namespace

bool RecordLayer::SameContent(const Layer& layer, const PhotoInfo& info, Selection selection,
                              QSize client) {
    if (!layer.valid || !layer.records)
        return false;
    const PhotoInfo& r = *layer.records;
    return layer.image.size() == client && layer.selection == selection &&
           r.dimensions == info.dimensions && r.notes == info.notes &&
           r.reference == info.reference && r.areas == info.areas && r.angles == info.angles;
}

void RecordLayer::Start(Layer& layer, const PhotoInfo& info, Selection selection,
                        const ViewMapping& view, QSize client) {
    if (layer.image.size() != client)
        layer.image = QImage(client, QImage::Format_ARGB32_Premultiplied);
    layer.image.fill(Qt::transparent);
    auto records = std::make_shared<PhotoInfo>();
    records->dimensions = info.dimensions;
    records->notes = info.notes;
    records->reference = info.reference;
    records->areas = info.areas;
    records->angles = info.angles;
    layer.records = std::move(records);
    layer.selection = selection;
    layer.view = view;
    layer.valid = true;
    layer.exact = false;
    layer.next = TranslucentSteps(info);
}

void RecordLayer::DrawMoved(QPainter& painter, const Layer& layer, const ViewMapping& view) {
    // A photo point p lies at (p - src) * zoom + dst on either view.
    const ViewMapping& was = layer.view;
    const double k = static_cast<double>(view.zoom) / was.zoom;
    double dx = (static_cast<double>(was.src.left) - view.src.left) * view.zoom + view.dst.left -
                was.dst.left * k;
    double dy = (static_cast<double>(was.src.top) - view.src.top) * view.zoom + view.dst.top -
                was.dst.top * k;
    if (k == 1.0) {
        // Whole pixels: a plain copy.
        painter.drawImage(
            QPoint(static_cast<int>(std::lround(dx)), static_cast<int>(std::lround(dy))),
            layer.image);
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setTransform(QTransform(k, 0, 0, k, dx, dy), true);
    painter.drawImage(QPoint(0, 0), layer.image);
    painter.restore();
}

bool RecordLayer::Draw(QPainter& painter, AnnotationRenderer& renderer, const PhotoInfo& info,
                       Selection selection, const ViewMapping& view, QSize client,
                       Clock::time_point stepDeadline) {
    if (info.dimensions.empty() && info.notes.empty() && info.areas.empty() &&
        info.angles.empty() && !info.reference.hasPlane)
        return true; // nothing to draw
    // The plane's grid and the areas are drawn straight onto the photo each
    // frame: their translucent pixels blend with it exactly as the export's.
    DrawRecordSteps(renderer, painter, info, -1, -1, &view, 0, Clock::time_point::max(),
                    selection.area, -1, TranslucentSteps(info));
    if (SameContent(m_shown, info, selection, client) && SameView(m_shown.view, view) &&
        m_shown.exact) {
        m_building.valid = false;
        painter.drawImage(QPoint(0, 0), m_shown.image);
        return true;
    }
    if (SameContent(m_shown, info, selection, client)) {
        // Only the view changed, or the kept picture still lacks labels: it
        // stands in while the exact one is drawn a step at a time, with every
        // label made as it comes.
        // A picture begun for an earlier view of a pan goes on to its end
        // (then stands in, closer), so a long pan still makes progress; one
        // begun at another zoom is dropped, its labels of no use at this one.
        if (!SameContent(m_building, info, selection, client) ||
            m_building.view.zoom != view.zoom) {
            Start(m_building, info, selection, view, client);
            // At a new zoom every label is new, and a kept picture that lacks
            // labels lacks most of them: they are most of the picture's cost.
            if (view.zoom != m_shown.view.zoom || !m_shown.exact)
                m_prefetch.Start(m_building.records, ComputedTexts(renderer, info), view,
                                 DrawnArea(view, client), selection.dimension, selection.note,
                                 m_building.next);
        }
        m_prefetch.HandTo(renderer);
        stepDeadline = std::max(stepDeadline, Clock::now() + kLeastStepTime);
        {
            QPainter layerPainter(&m_building.image);
            ClipToPhoto(layerPainter, m_building.view);
            renderer.ClearLabelDeadline();
            m_building.next = DrawRecordSteps(renderer, layerPainter, info, selection.dimension,
                                              selection.note, &m_building.view, m_building.next,
                                              stepDeadline, selection.area, selection.angle);
        }
        m_prefetch.DrawnUntil(m_building.next);
        if (m_building.next >= RecordSteps(info)) {
            m_prefetch.Stop();
            m_building.exact = true;
            std::swap(m_shown, m_building);
            m_building.valid = false;
        }
        if (SameView(m_shown.view, view)) {
            painter.drawImage(QPoint(0, 0), m_shown.image);
            return true;
        }
        DrawMoved(painter, m_shown, view);
        return false;
    }
    // The records or the selection changed (or nothing is kept): the whole
    // picture now, labels within the renderer's budget.
    m_prefetch.Stop();
    m_building.valid = false;
    Start(m_shown, info, selection, view, client);
    {
        QPainter layerPainter(&m_shown.image);
        ClipToPhoto(layerPainter, view);
        m_shown.next = DrawRecordSteps(renderer, layerPainter, info, selection.dimension,
                                       selection.note, &view, m_shown.next,
                                       Clock::time_point::max(), selection.area, selection.angle);
    }
    m_shown.exact = !renderer.LabelsPending();
    painter.drawImage(QPoint(0, 0), m_shown.image);
    return m_shown.exact;
}

void RecordLayer::Clear() {
    m_prefetch.Stop();
    m_shown = Layer{};
    m_building = Layer{};
}
