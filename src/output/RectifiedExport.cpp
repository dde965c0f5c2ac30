#include "output/RectifiedExport.h"

#include "document/PhotoInfo.h"
#include "drawing/AnnotationRenderer.h"
#include "drawing/ComputedLabels.h"
#include "drawing/RecordBounds.h"
#include "drawing/RecordDrawing.h"
#include "lumoimage/ExifExport.h"
#include "output/DurableJpeg.h"
#include "output/ScaleBar.h"

#include <QCoreApplication>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {
// Where the photo does not reach.
constexpr QRgb kBackground = 0xFFA0A0A0;

// A pixel `(1 - f) * a + f * b` of each channel, `f` in 256ths.
inline QRgb Mix(QRgb a, QRgb b, int f) {
    const quint32 rbA = a & 0x00FF00FF, gA = a & 0x0000FF00;
    const quint32 rbB = b & 0x00FF00FF, gB = b & 0x0000FF00;
    const quint32 rb = ((rbA * quint32(256 - f) + rbB * quint32(f)) >> 8) & 0x00FF00FF;
    const quint32 g = ((gA * quint32(256 - f) + gB * quint32(f)) >> 8) & 0x0000FF00;
    return 0xFF000000u | rb | g;
}

// Rows [top, top + band.height()) of the head-on picture: each pixel's
// centre taken to the photo through the plane's map, its colour
// interpolated between the four photo pixels round that point (pixel
// centres lie at +0.5); the background where the photo does not reach.
void SampleRows(const QImage& photo, const HeadOnView& view, int top, QImage& band) {
    const QTransform& m = view.planeToPhoto;
    const int width = photo.width(), height = photo.height();
    const double step = view.mmPerPixel;
    for (int row = 0; row < band.height(); ++row) {
        auto* out = reinterpret_cast<QRgb*>(band.scanLine(row));
        const double y = view.PlaneY(top + row), x = view.PlaneX(0);
        // Numerators and weight move linearly along the row.
        double px = m.m11() * x + m.m21() * y + m.m31();
        double py = m.m12() * x + m.m22() * y + m.m32();
        double w = m.m13() * x + m.m23() * y + m.m33();
        const double dx = m.m11() * step, dy = m.m12() * step, dw = m.m13() * step;
        for (int col = 0; col < band.width(); ++col, px += dx, py += dy, w += dw) {
            const double u = px / w - 0.5, v = py / w - 0.5;
            if (!(w > 0) || !(u >= -0.5 && u <= width - 0.5 && v >= -0.5 && v <= height - 0.5)) {
                out[col] = kBackground;
                continue;
            }
            const double cu = std::clamp(u, 0.0, double(width - 1));
            const double cv = std::clamp(v, 0.0, double(height - 1));
            const int x0 = int(cu), y0 = int(cv);
            const int x1 = std::min(x0 + 1, width - 1), y1 = std::min(y0 + 1, height - 1);
            const int fx = int((cu - x0) * 256), fy = int((cv - y0) * 256);
            const auto* r0 = reinterpret_cast<const QRgb*>(photo.constScanLine(y0));
            const auto* r1 = reinterpret_cast<const QRgb*>(photo.constScanLine(y1));
            out[col] = Mix(Mix(r0[x0], r0[x1], fx), Mix(r1[x0], r1[x1], fx), fy);
        }
    }
}

bool InFront(const HeadOnView& view, POINT p) {
    const QTransform& t = view.photoToPicture;
    return t.m13() * p.x + t.m23() * p.y + t.m33() > 0;
}

// The records every point of which lies on the plane in front of the camera
// (only those can be drawn through the plane's map); the reference
// dimension keeps pointing at its record.
PhotoInfo RecordsOnPlane(const PhotoInfo& info, const HeadOnView& view) {
    PhotoInfo kept;
    kept.reference = info.reference;
    kept.reference.dimension = -1;
    for (size_t i = 0; i < info.dimensions.size(); ++i) {
        const Dimension& d = info.dimensions[i];
        if (!InFront(view, d.start) || !InFront(view, d.end))
            continue;
        if (info.reference.dimension == int(i))
            kept.reference.dimension = int(kept.dimensions.size());
        kept.dimensions.push_back(d);
    }
    for (const InfoNote& note : info.notes)
        if (InFront(view, note.anchor))
            kept.notes.push_back(note);
    for (const AreaRecord& area : info.areas)
        if (std::all_of(area.corners.begin(), area.corners.end(),
                        [&view](POINT p) { return InFront(view, p); }))
            kept.areas.push_back(area);
    for (const AngleRecord& angle : info.angles)
        if (InFront(view, angle.arm1) && InFront(view, angle.vertex) && InFront(view, angle.arm2))
            kept.angles.push_back(angle);
    return kept;
}

// The picture's rows a record may paint: its bound on the photo (line,
// label, note box) mapped through the plane's map; every row when a corner
// of that bound lies behind the camera.
struct Rows {
    int top = std::numeric_limits<int>::min();
    int bottom = std::numeric_limits<int>::max();
};

Rows RowsOf(const QRect& bound, const HeadOnView& view) {
    const QTransform& t = view.photoToPicture;
    Rows rows{std::numeric_limits<int>::max(), std::numeric_limits<int>::min()};
    for (const QPointF corner :
         {QPointF(bound.topLeft()), QPointF(bound.topRight()) + QPointF(1, 0),
          QPointF(bound.bottomLeft()) + QPointF(0, 1),
          QPointF(bound.bottomRight()) + QPointF(1, 1)}) {
        if (t.m13() * corner.x() + t.m23() * corner.y() + t.m33() <= 0)
            return Rows();
        const double y = t.map(corner).y();
        rows.top = std::min(rows.top, int(std::floor(y)) - 2);
        rows.bottom = std::max(rows.bottom, int(std::ceil(y)) + 2);
    }
    return rows;
}

// The records on the plane with the rows each may paint, so that a band
// draws only those that reach it (the painter's projective map keeps the
// renderer from skipping them itself).
class BandRecords {
public:
    BandRecords(const PhotoInfo& records, const HeadOnView& view, AnnotationRenderer& renderer)
        : m_records(records) {
        ComputedLabels& labels = renderer.Computed();
        labels.Update(records.reference, records.dimensions);
        for (size_t i = 0; i < records.dimensions.size(); ++i) {
            const QByteArray& computed = labels.Label(i);
            m_dimensionRows.push_back(
                RowsOf(DimensionBound(renderer.Measurer(), records.dimensions[i], nullptr,
                                      computed.isEmpty() ? nullptr : &computed),
                       view));
        }
        for (const InfoNote& note : records.notes)
            m_noteRows.push_back(RowsOf(NoteBound(renderer.Measurer(), note, nullptr), view));
    }

    // The records that reach rows [top, bottom).
    PhotoInfo For(int top, int bottom) const {
        PhotoInfo band;
        band.reference = m_records.reference;
        band.reference.dimension = -1;
        band.areas = m_records.areas;
        band.angles = m_records.angles;
        auto reaches = [top, bottom](const Rows& rows) {
            return rows.top < bottom && rows.bottom >= top;
        };
        for (size_t i = 0; i < m_records.dimensions.size(); ++i) {
            if (!reaches(m_dimensionRows[i]))
                continue;
            if (m_records.reference.dimension == int(i))
                band.reference.dimension = int(band.dimensions.size());
            band.dimensions.push_back(m_records.dimensions[i]);
        }
        for (size_t i = 0; i < m_records.notes.size(); ++i)
            if (reaches(m_noteRows[i]))
                band.notes.push_back(m_records.notes[i]);
        return band;
    }

private:
    const PhotoInfo& m_records;
    std::vector<Rows> m_dimensionRows;
    std::vector<Rows> m_noteRows;
};

QString Figure(double mm) {
    return QString::number(mm, 'g', 6);
}
} // namespace

QByteArray HeadOnComment(double mmPerPixel) {
    return QStringLiteral("Tessamar head-on view: %1 mm per pixel")
        .arg(Figure(mmPerPixel))
        .toUtf8();
}

QString NoPlaneText() {
    return QCoreApplication::translate("Export", "the photo has no reference plane");
}

QByteArray HeadOnExif(const QString& photoPath, const HeadOnView& view) {
    // 10 / mmPerPixel pixels per centimetre, in thousandths.
    ExifResolution resolution;
    resolution.pixelsPerCm = std::uint32_t(std::lround(10000 / view.mmPerPixel));
    resolution.perCmDenominator = 1000;
    const std::uint32_t common = std::gcd(resolution.pixelsPerCm, resolution.perCmDenominator);
    if (common > 1) {
        resolution.pixelsPerCm /= common;
        resolution.perCmDenominator /= common;
    }
    return ExportExifOfPhoto(photoPath, false, &resolution);
}

bool EncodeHeadOnPicture(const QImage& photo, const PhotoInfo& info, const HeadOnView& view,
                         AnnotationRenderer& renderer, const JpegSink& sink, QString* error,
                         const BandedPictureOptions& options) {
    if (photo.isNull()) {
        if (error)
            *error = QCoreApplication::translate("Export", "no photo is loaded");
        return false;
    }
    // Read four bytes a pixel; a photo held otherwise is converted once.
    const bool direct =
        photo.format() == QImage::Format_RGB32 || photo.format() == QImage::Format_ARGB32;
    const QImage pixels = direct ? photo : photo.convertToFormat(QImage::Format_RGB32);
    const PhotoInfo records = RecordsOnPlane(info, view);
    const BandRecords bandRecords(records, view, renderer);
    const BandFiller fill = [&](QImage& band, int top) {
        SampleRows(pixels, view, top, band);
        const PhotoInfo reaching = bandRecords.For(top, top + band.height());
        QPainter painter(&band);
        painter.setTransform(view.photoToPicture * QTransform::fromTranslate(0, -top));
        // Never selected: the picture shows no selection.
        DrawAllRecords(renderer, painter, reaching, nullptr);
        painter.setTransform(QTransform::fromTranslate(0, -top));
        DrawScaleBar(painter, view.size, view.mmPerPixel);
    };
    return EncodeInBands(
        view.size.width(), view.size.height(), options.bandRows,
        {{0xE1 /* APP1 */, options.exif}, {0xFE /* COM */, HeadOnComment(view.mmPerPixel)}}, fill,
        sink, options.progress, error);
}

bool ExportHeadOnPicture(const QImage& photo, const PhotoInfo& info, const QString& photoPath,
                         const QString& path, double mmPerPixel, QString* error,
                         const PictureProgress& progress, ExistingFile existing) {
    const std::optional<HeadOnView> view = HeadOnViewOf(info.reference, photo.size(), mmPerPixel);
    if (!view) {
        if (error)
            *error = NoPlaneText();
        return false;
    }
    AnnotationRenderer renderer(kBandedLabelBytes);
    BandedPictureOptions options;
    options.progress = progress;
    options.exif = HeadOnExif(photoPath, *view);
    return WriteJpegDurably(
        path,
        [&](const JpegSink& sink, QString* why) {
            return EncodeHeadOnPicture(photo, info, *view, renderer, sink, why, options);
        },
        error, existing);
}
