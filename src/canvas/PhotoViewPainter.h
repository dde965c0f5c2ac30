#pragma once
// Draws the visible part of a photo scaled into its place on the canvas. The
// part is taken from the reduced copy of the photo (PhotoPyramid) that is the
// smallest one still at least as large as the view needs, and smoothed from
// there, so a fitted large photo looks smooth rather than aliased. The scaled
// part is kept until the photo, the level or either rectangle changes, so
// frames where only records move do not scale the photo again.
//
// Panning on the screen scrolls the kept part instead: its pixels move by the
// whole view pixels nearest to the pan and only the strips that come into view
// are scaled, exactly as a full scaling would make them. The moved pixels lie
// up to half a view pixel from where a full scaling puts them, so such a
// scrolled picture stands in until DropScrolled(), after which the next Draw
// scales the whole part again. SetPhoto is the one point where everything kept
// for a photo is dropped: a new photo, or a new image of it, starts afresh.

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
    // the reduced copy the view needs is awaited and the picture is always
    // the fully scaled one; otherwise the nearest level built so far is used
    // (the callback announces better ones) and a pan may scroll.
    void Draw(QPainter& painter, const QImage& photo, const RECT& src, const RECT& dst,
              bool waitForLevels);

    // True when Draw would draw photo part `src` into `dst` from the reduced
    // copy it wants (or from the photo at actual size or larger), so without
    // scaling a much larger one; starts making that copy otherwise.
    bool CanDrawAtOnce(const QImage& photo, const RECT& src, const RECT& dst);

    // True when the last Draw made do with a larger level than it wanted.
    bool DrewStandIn() const { return m_drewStandIn; }
    // True when the last Draw showed a scrolled picture (see above).
    bool Scrolled() const { return !m_exact; }
    // Forgets a scrolled picture, so the next Draw scales the part afresh.
    void DropScrolled();

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

    // Moves the kept part by the whole view pixels nearest to the pan from
    // m_key.src to `key`.src and scales the strips that come into view from
    // `level` at `from`; false when the pan is not a scroll of it.
    bool Scroll(const Key& key, const QImage& level, const QRectF& from);

    PhotoPyramid m_pyramid;
    QImage m_scaled; // the visible part at view size
    Key m_key;
    bool m_exact = true; // m_scaled is the fully scaled part, not a scrolled one
    // Where m_scaled's first pixel lies, in view pixels from the photo's
    // origin at the view's scale.
    double m_originX = 0;
    double m_originY = 0;
    bool m_drewStandIn = false;
};
