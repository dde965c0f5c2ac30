// The head-on picture of the reference plane: a chequerboard of 100 mm
// squares drawn in perspective (through Qt's projective transform) comes
// out square at the scale asked for, the scale is in the JPEG comment and
// the Exif resolution, and the longer side stops at 8000 pixels.

#include "common/TestSupport.h"
#include "document/PhotoInfo.h"
#include "drawing/AnnotationRenderer.h"
#include "lumoimage/JpegFile.h"
#include "lumoimage/TiffReader.h"
#include "output/HeadOnView.h"
#include "output/RectifiedExport.h"

#include <QPainter>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

constexpr double kSquareMm = 100;
// The plane: 800 × 600 mm, seen from the lower left.
const POINT kCorners[4] = {{420, 260}, {1020, 330}, {1000, 700}, {400, 760}};

PhotoInfo PlaneInfo() {
    PhotoInfo info;
    info.reference.hasPlane = true;
    info.reference.plane = {{kCorners[0], kCorners[1], kCorners[2], kCorners[3]}, 800, 600};
    return info;
}

// The photo: grey where the plane is not, the plane a chequerboard of
// kSquareMm squares (black where the square's column and row add up even)
// reaching well beyond the rectangle.
QImage ChequerboardPhoto() {
    QImage photo(1400, 1000, QImage::Format_RGB32);
    photo.fill(Qt::gray);
    QPolygonF quad;
    for (const POINT& c : kCorners)
        quad << QPointF(c.x, c.y);
    QTransform planeToPhoto;
    EXPECT_TRUE(
        QTransform::quadToQuad(QPolygonF(QRectF(0, 0, 800, 600)).mid(0, 4), quad, planeToPhoto));
    QPainter painter(&photo);
    painter.setTransform(planeToPhoto);
    painter.setPen(Qt::NoPen);
    for (int row = -3; row < 9; ++row)
        for (int col = -4; col < 12; ++col)
            painter.fillRect(QRectF(col * kSquareMm, row * kSquareMm, kSquareMm, kSquareMm),
                             (row + col) % 2 == 0 ? Qt::black : Qt::white);
    return photo;
}

// Where the picture turns from dark to light or back along row `line`
// from `from` to `to` (`down`: along column `line`).
std::vector<int> Edges(const QImage& picture, int line, int from, int to, bool down = false) {
    auto dark = [&](int at) {
        return qGray(down ? picture.pixel(line, at) : picture.pixel(at, line)) < 128;
    };
    std::vector<int> edges;
    for (int at = from + 1; at < to; ++at)
        if (dark(at) != dark(at - 1))
            edges.push_back(at);
    return edges;
}

QByteArray Segment(const QByteArray& jpeg, char marker) {
    const qsizetype at = jpeg.indexOf(QByteArray("\xFF", 1) + marker);
    if (at < 0)
        return {};
    const int length = (uchar(jpeg[at + 2]) << 8) | uchar(jpeg[at + 3]);
    return jpeg.mid(at + 4, length - 2);
}

// XResolution and YResolution (pixels a unit) and ResolutionUnit of the Exif's IFD0.
std::vector<double> Resolution(const QByteArray& exif) {
    const auto* tiff = reinterpret_cast<const std::uint8_t*>(exif.constData()) + 6;
    const TiffView view(tiff, size_t(exif.size()) - 6);
    std::vector<double> found(3, 0);
    view.WalkIfd(view.FirstIfd(), [&](const TiffEntry& e) {
        const std::uint32_t n = qFromLittleEndian<quint32>(tiff + e.valueAt);
        if (e.tag == 0x011A || e.tag == 0x011B)
            found[e.tag - 0x011A] = double(n) / qFromLittleEndian<quint32>(tiff + e.valueAt + 4);
        else if (e.tag == 0x0128)
            found[2] = qFromLittleEndian<quint16>(tiff + e.valueAt);
    });
    return found;
}

TEST(HeadOnPicture, SquaresComeOutSquareAtTheScaleWrittenIntoTheFile) {
    const struct {
        double mmPerPixel;
        const char* comment;
        double pixelsPerCm;
    } rows[] = {{1, "Tessamar head-on view: 1 mm per pixel", 10},
                {2, "Tessamar head-on view: 2 mm per pixel", 5}};
    const QImage photo = ChequerboardPhoto();
    const PhotoInfo info = PlaneInfo();
    for (const auto& row : rows) {
        const std::optional<HeadOnView> view =
            HeadOnViewOf(info.reference, photo.size(), row.mmPerPixel);
        ASSERT_TRUE(view);
        // The photo reaches beyond the rectangle on every side.
        EXPECT_TRUE(view->plane.contains(QRectF(-200, -200, 1200, 1000))) << row.comment;
        QByteArray jpeg;
        AnnotationRenderer renderer;
        QString error;
        BandedPictureOptions options;
        options.bandRows = 64;
        options.exif = HeadOnExif(QString(), *view);
        ASSERT_TRUE(EncodeHeadOnPicture(
            photo, info, *view, renderer,
            [&jpeg](const char* data, qsizetype size) { return jpeg.append(data, size), true; },
            &error, options))
            << error.toStdString();
        const QImage picture = QImage::fromData(jpeg, "JPG");
        ASSERT_EQ(picture.size(), view->size);
        // Rows and columns through squares above and left of the rectangle
        // (its dashed outline and grid lie inside it): an edge every 100 mm.
        const double square = kSquareMm / row.mmPerPixel;
        const int y = int((-150 - view->plane.top()) / row.mmPerPixel);
        const int left = int((-200 - view->plane.left()) / row.mmPerPixel);
        const int right = int((1000 - view->plane.left()) / row.mmPerPixel);
        const std::vector<int> across = Edges(picture, y, left, right);
        ASSERT_EQ(across.size(), 11u) << row.comment;
        EXPECT_NEAR(across.back() - across.front(), 10 * square, 2) << row.comment;
        for (size_t i = 1; i < across.size(); ++i)
            EXPECT_NEAR(across[i] - across[i - 1], square, 1.5) << row.comment << " " << i;
        const int x = int((-150 - view->plane.left()) / row.mmPerPixel);
        const int top = int((-150 - view->plane.top()) / row.mmPerPixel);
        const std::vector<int> down = Edges(picture, x, top, top + int(8 * square), true);
        ASSERT_EQ(down.size(), 8u) << row.comment;
        for (size_t i = 1; i < down.size(); ++i)
            EXPECT_NEAR(down[i] - down[i - 1], square, 1.5) << row.comment << " " << i;
        // The square at the rectangle's origin is black, the next one white.
        EXPECT_LT(qGray(picture.pixel(int((50 - view->plane.left()) / row.mmPerPixel),
                                      int((50 - view->plane.top()) / row.mmPerPixel))),
                  80);
        EXPECT_GT(qGray(picture.pixel(int((150 - view->plane.left()) / row.mmPerPixel),
                                      int((50 - view->plane.top()) / row.mmPerPixel))),
                  170);

        EXPECT_EQ(Segment(jpeg, '\xFE'), QByteArray(row.comment));
        EXPECT_EQ(Resolution(Segment(jpeg, '\xE1')),
                  std::vector<double>({row.pixelsPerCm, row.pixelsPerCm, 3}));
    }
}

// However fine the scale asked for, the longer side is at most 8000 pixels:
// the scale is made coarser to fit; the part of the plane shown stays.
TEST(HeadOnPicture, TheLongerSideStopsAt8000Pixels) {
    const PhotoInfo info = PlaneInfo();
    const std::optional<HeadOnView> coarse = HeadOnViewOf(info.reference, QSize(1400, 1000), 1);
    const std::optional<HeadOnView> fine = HeadOnViewOf(info.reference, QSize(1400, 1000), 0.01);
    ASSERT_TRUE(coarse && fine);
    EXPECT_LT(std::max(coarse->size.width(), coarse->size.height()), 8000);
    EXPECT_EQ(coarse->mmPerPixel, 1);
    EXPECT_EQ(std::max(fine->size.width(), fine->size.height()), 8000);
    EXPECT_EQ(fine->plane, coarse->plane);
    EXPECT_NEAR(fine->mmPerPixel * 8000, std::max(fine->plane.width(), fine->plane.height()), 1e-6);
    EXPECT_FALSE(HeadOnViewOf(PhotoInfo().reference, QSize(1400, 1000)));
}

} // namespace
