#pragma once
// The records as the screen shows them, kept as a transparent picture over
// the photo. A frame in which neither the records, the selection nor the
// view changed draws the kept picture instead of every record, so a window
// left alone costs one picture per frame however many records it holds.
// When only the view moved or zoomed, the kept picture, moved and scaled,
// stands in while the exact picture for the new view is drawn a step at a
// time within each frame's time; it replaces the stand-in once complete.
// When the records or the selection changed, the picture is drawn whole at
// once, labels within the renderer's budget (stand-ins for the rest); that
// picture then stands in while the exact one is drawn a step at a time.

#include "document/PhotoInfo.h"
#include "drawing/LabelPrefetch.h"
#include "drawing/ViewMapping.h"

#include <QImage>
#include <QSize>
#include <chrono>
#include <memory>

class AnnotationRenderer;
class QPainter;

class RecordLayer {
public:
    using Clock = std::chrono::steady_clock;
    struct Selection {
        int dimension = -1;
        int note = -1;
        int area = -1;
        int angle = -1;
        bool operator==(const Selection& o) const {
            return dimension == o.dimension && note == o.note && area == o.area && angle == o.angle;
        }
    };

    // Draws the records of `info` at `view` onto `painter`, a painter on a
    // canvas of `client` size clipped to the photo's place. `stepDeadline`
    // bounds the drawing of a picture a step at a time. True when what was
    // drawn is the exact picture (labels included); false: draw again in a
    // later frame.
    bool Draw(QPainter& painter, AnnotationRenderer& renderer, const PhotoInfo& info,
              Selection selection, const ViewMapping& view, QSize client,
              Clock::time_point stepDeadline);
    // Forgets the kept pictures.
    void Clear();

private:
    struct Layer {
        bool valid = false;
        bool exact = false; // every label made: the picture as drawn without a budget
        QImage image;
        std::shared_ptr<const PhotoInfo> records; // as drawn (shared with the label maker)
        Selection selection;
        ViewMapping view;
        size_t next = 0; // the next step to draw, while built a step at a time
    };
    // True when `layer` was drawn from these records and selection.
    static bool SameContent(const Layer& layer, const PhotoInfo& info, Selection selection,
                            QSize client);
    static void Start(Layer& layer, const PhotoInfo& info, Selection selection,
                      const ViewMapping& view, QSize client);
    // Draws `layer`'s picture, drawn for its view, where `view` puts it.
    static void DrawMoved(QPainter& painter, const Layer& layer, const ViewMapping& view);

    Layer m_shown;
    Layer m_building;
    // Labels for m_building made on another core (a new zoom's).
    LabelPrefetch m_prefetch;
};
