#include "filedialog/PreviewLoader.h"

#include "filedialog/PreviewFit.h"

#include "lumoimage/JpegPreview.h"

PreviewPicture LoadPreviewPicture(const QString& path, QSize box) {
    PreviewPicture picture;
    QImage decoded;
    if (!LoadJpegPreview(path, box, &decoded, &picture.fullSize, &picture.error))
        return picture;
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
