#pragma once
// Draws the visible part of a photo scaled into its place on the canvas. The
// part is taken from the reduced copy of the photo (PhotoPyramid) that is the
// smallest one still at least as large as the view needs, and smoothed from
// there, so a fitted large photo looks smooth rather than aliased. The scaled
// part is kept until the photo, the level or either rectangle changes, so
// frames where only records move do not scale the photo again.

#include "canvas/PhotoPyramid.h"
#include "platform/WinTypes.h"

#include <QImage>
#include <functional>

class QPainter;

class PhotoViewPainter {
public:
    // Called from a worker thread when a better level of the photo is ready.
    void SetLevelReadyCallback(std::function<void()> callback);

    // Starts preparing the reduced copies of `photo` (null: forget it).
    void SetPhoto(const QImage& photo);

    // Draws photo part `src` into view rectangle `dst`. With `waitForLevels`
    // the reduced copy the view needs is awaited; otherwise the nearest one
    // built so far is used and the callback announces better ones.
    void Draw(QPainter& painter, const QImage& photo, const RECT& src, const RECT& dst,
              bool waitForLevels);

    // True when Draw would draw photo part `src` into `dst` from the reduced
    // copy it wants (or from the photo at actual size or larger), so without
    // scaling a much larger one; starts making that copy otherwise.
    bool CanDrawAtOnce(const QImage& photo, const RECT& src, const RECT& dst);

    // True when the last Draw made do with a larger level than it wanted.
    bool DrewStandIn() const { return m_drewStandIn; }

private:
    struct Key {
        qint64 photo = 0;
        int level = -1;
        RECT src;
        RECT dst;
        bool operator==(const Key& o) const {
            return photo == o.photo && level == o.level && src == o.src &&
                   dst.Width() == o.dst.Width() && dst.Height() == o.dst.Height();
        }
    };

    PhotoPyramid m_pyramid;
    QImage m_scaled; // the visible part at view size
    Key m_key;
    bool m_drewStandIn = false;
};
