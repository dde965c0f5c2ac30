#include "filedialog/PreviewLoader.h"

#include "filedialog/PreviewFit.h"

#if __has_include("lumoimage/JpegPreview.h")
#include "lumoimage/JpegPreview.h"
#define TESSAMAR_HAVE_JPEG_PREVIEW 1
#else
#include "lumoimage/CDibDC.h"
#endif

PreviewPicture LoadPreviewPicture(const QString& path, QSize box) {
    PreviewPicture picture;
    QImage decoded;
#ifdef TESSAMAR_HAVE_JPEG_PREVIEW
    if (!LoadJpegPreview(path, box, &decoded, &picture.fullSize, &picture.error))
        return picture;
#else
    CDibDC dib;
    if (!dib.Load(path, 32)) {
        picture.error = dib.ErrorString();
        return picture;
    }
    decoded = dib.Image();
    picture.fullSize = decoded.size();
#endif
    if (decoded.isNull() || picture.fullSize.isEmpty()) {
        picture.error = QStringLiteral("The picture is empty.");
        return picture;
    }
    const QSize target = FitPictureRect(picture.fullSize, box).size();
    if (!target.isEmpty() && decoded.size() != target)
        decoded = decoded.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (decoded.format() != QImage::Format_RGB32)
        decoded = decoded.convertToFormat(QImage::Format_RGB32);
    picture.image = std::move(decoded);
    picture.ok = true;
    return picture;
}
