// CPhotoCanvas: the exported picture.
#include "canvas/CPhotoCanvas.h"

#include "output/AnnotatedExport.h"

bool CPhotoCanvas::ExportAnnotatedImage(const QString& path) {
    // The photo is only read, band by band; zoom, pan and selection play no
    // part.
    return ExportAnnotatedPicture(m_dib.Image(), m_model.Info(), path, &m_exportError, &m_renderer);
}
