#pragma once
// The canvas's view state set directly, for tests and benchmarks that start
// from a given zoom, visible part or photo rather than reaching it through
// the mouse and the commands; a photo opened at once; the records drawn onto
// the shown photo and written as JPEG.

#include "canvas/CPhotoCanvas.h"
#include "output/AnnotatedExport.h"

struct CanvasAccess {
    static float& Zoom(CPhotoCanvas& c) { return c.m_fZoom; }
    static int32_t& Fit(CPhotoCanvas& c) { return c.m_bFit; }
    static RECT& Source(CPhotoCanvas& c) { return c.m_rcSrc; }
    static RECT& Dest(CPhotoCanvas& c) { return c.m_rcDst; }
    static int32_t& FirstPoint(CPhotoCanvas& c) { return c.m_bFirstPoint; }
    static POINT& LastPoint(CPhotoCanvas& c) { return c.m_ptLast; }
    static QImage& Photo(CPhotoCanvas& c) { return c.m_dib.Image(); }
    static AnnotationRenderer& Renderer(CPhotoCanvas& c) { return c.m_renderer; }
    static PendingPhoto& Pending(CPhotoCanvas& c) { return c.m_pending; }

    // Decodes the photo at once, on this thread. A failed load keeps the
    // photo, the records and the view as they were.
    static bool LoadPhoto(CPhotoCanvas& c, const QString& path) {
        if (!c.m_dib.Load(path, 32))
            return false;
        c.CancelPhotoLoad(); // an earlier open never lands now
        c.m_photoView.SetPhoto(c.m_dib.Image());
        c.ResetAnnotations();
        c.UpdateLayout();
        return true;
    }

    // Every record drawn at photo scale onto a copy of the shown photo, saved
    // as JPEG; false (with `error`) when nothing was written.
    static bool ExportAnnotated(CPhotoCanvas& c, const QString& path, QString* error = nullptr) {
        return ExportAnnotatedPicture(c.m_dib.Image(), c.Model().Info(), path, error,
                                      &c.m_renderer);
    }
};
