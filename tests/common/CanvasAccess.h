#pragma once
// The canvas's view state set directly, for tests and benchmarks that start
// from a given zoom, visible part or photo rather than reaching it through
// the mouse and the commands.

#include "canvas/CPhotoCanvas.h"

struct CanvasAccess {
    static float& Zoom(CPhotoCanvas& c) { return c.m_fZoom; }
    static int32_t& Fit(CPhotoCanvas& c) { return c.m_bFit; }
    static RECT& Source(CPhotoCanvas& c) { return c.m_rcSrc; }
    static RECT& Dest(CPhotoCanvas& c) { return c.m_rcDst; }
    static int32_t& FirstPoint(CPhotoCanvas& c) { return c.m_bFirstPoint; }
    static POINT& LastPoint(CPhotoCanvas& c) { return c.m_ptLast; }
    static QImage& Photo(CPhotoCanvas& c) { return c.m_dib.Image(); }
    static AnnotationRenderer& Renderer(CPhotoCanvas& c) { return c.m_renderer; }
};
