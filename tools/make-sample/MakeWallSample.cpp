// Draws the sample wall photo (samples/door-wall.jpg): a room wall seen
// obliquely, with a door of known size (900 x 2100 mm) and a window, and
// writes its photo-info file with the door as the reference plane and lines
// without values, so a first look shows computed lengths
// (samples/door-wall.dat).
// Build with -DTESSAMAR_SAMPLE_TOOL=ON and run: tessamar_make_wall_sample OUTDIR
// With --off-plane it adds a line running across the floor, away from the
// wall, for the picture in docs/measuring.md of what a plane cannot measure;
// with --areas the wall as an area with the door and the window as its
// openings, and the wall's corner at the floor as an angle, for the worked
// example there (true values: 13.50 m² less 1.89 and 1.80 m², 90°).

#include "document/PhotoInfo.h"
#include "platform/Cp950.h"
#include "platform/LogFont.h"

#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QTransform>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
constexpr int kWidth = 1600;
constexpr int kHeight = 1067;
// The wall, 5000 x 2700 mm, in mm with y downwards from its top left.
constexpr double kWallWidth = 5000, kWallHeight = 2700;
const QRectF kDoor(600, 600, 900, 2100);
const QRectF kWindow(2600, 800, 1500, 1200);
// Where the wall's corners lie on the photo: its left end is nearer.
const QPolygonF kWallOnPhoto{QPointF(80, 60), QPointF(1520, 230), QPointF(1520, 900),
                             QPointF(80, 1030)};

QTransform WallToPhoto() {
    QTransform t;
    const QPolygonF wall{QPointF(0, 0), QPointF(kWallWidth, 0), QPointF(kWallWidth, kWallHeight),
                         QPointF(0, kWallHeight)};
    QTransform::quadToQuad(wall, kWallOnPhoto, t);
    return t;
}

POINT OnPhoto(QPointF wall) {
    const QPointF p = WallToPhoto().map(wall);
    return POINT{static_cast<int32_t>(std::lround(p.x())),
                 static_cast<int32_t>(std::lround(p.y()))};
}

void DrawWall(QPainter& p) {
    p.fillRect(QRect(0, 0, kWidth, kHeight), QColor(92, 84, 76)); // floor and ceiling in shade
    p.setRenderHint(QPainter::Antialiasing);
    p.setTransform(WallToPhoto());
    QLinearGradient plaster(0, 0, kWallWidth, 0);
    plaster.setColorAt(0, QColor(232, 226, 212));
    plaster.setColorAt(1, QColor(196, 188, 172));
    p.fillRect(QRectF(0, 0, kWallWidth, kWallHeight), plaster);
    // Skirting board.
    p.fillRect(QRectF(0, kWallHeight - 100, kWallWidth, 100), QColor(120, 96, 70));
    // The door: frame, leaf, handle.
    p.fillRect(kDoor.adjusted(-60, -60, 60, 0), QColor(246, 244, 238));
    QLinearGradient leaf(kDoor.topLeft(), kDoor.topRight());
    leaf.setColorAt(0, QColor(140, 98, 60));
    leaf.setColorAt(1, QColor(118, 80, 48));
    p.fillRect(kDoor, leaf);
    p.setPen(QPen(QColor(90, 60, 36), 12));
    p.setBrush(Qt::NoBrush);
    p.drawRect(kDoor.adjusted(120, 150, -120, -1150));
    p.drawRect(kDoor.adjusted(120, 1100, -120, -150));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(210, 190, 120));
    p.drawEllipse(QPointF(kDoor.right() - 90, kDoor.top() + 1050), 35, 35);
    // The window: frame, sky, mullion.
    p.fillRect(kWindow.adjusted(-50, -50, 50, 50), QColor(250, 250, 250));
    QLinearGradient sky(kWindow.topLeft(), kWindow.bottomLeft());
    sky.setColorAt(0, QColor(150, 190, 230));
    sky.setColorAt(1, QColor(210, 228, 240));
    p.fillRect(kWindow, sky);
    p.fillRect(QRectF(kWindow.center().x() - 25, kWindow.top(), 50, kWindow.height()),
               QColor(250, 250, 250));
    p.resetTransform();
}

Dimension MakeDimension(POINT a, POINT b, COLORREF colour) {
    Dimension dim;
    dim.colour = colour;
    dim.start = a;
    dim.end = b;
    dim.font = DefaultLogFont();
    dim.font.lfHeight = -16;
    dim.font.lfWeight = 700;
    NormalizeDimensionEnds(dim);
    return dim;
}
AreaRecord MakeArea(const QRectF& onWall, const char* name, bool opening, COLORREF colour) {
    AreaRecord area;
    area.colour = colour;
    for (const QPointF& corner :
         {onWall.topLeft(), onWall.topRight(), onWall.bottomRight(), onWall.bottomLeft()})
        area.corners.push_back(OnPhoto(corner));
    area.opening = opening;
    area.name = cp950::FromQString(QString::fromUtf8(name)).toStdString();
    area.font = DefaultLogFont();
    area.font.lfHeight = -16;
    area.font.lfWeight = 700;
    return area;
}

// The wall less its door and window, and the wall's corner at the floor.
void AddAreas(PhotoInfo& info) {
    info.areas.push_back(
        MakeArea(QRectF(0, 0, kWallWidth, kWallHeight), "北牆", false, RGB(0, 128, 0)));
    info.areas.push_back(MakeArea(kDoor, "門", true, RGB(160, 80, 0)));
    info.areas.push_back(MakeArea(kWindow, "窗", true, RGB(0, 0, 255)));
    AngleRecord corner;
    corner.colour = RGB(255, 0, 255);
    corner.arm1 = OnPhoto(QPointF(0, kWallHeight - 800));
    corner.vertex = OnPhoto(QPointF(0, kWallHeight));
    corner.arm2 = OnPhoto(QPointF(500, kWallHeight));
    corner.font = DefaultLogFont();
    corner.font.lfHeight = -16;
    corner.font.lfWeight = 700;
    info.angles.push_back(corner);
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const bool offPlane = argc == 3 && std::strcmp(argv[2], "--off-plane") == 0;
    const bool areas = argc == 3 && std::strcmp(argv[2], "--areas") == 0;
    if (argc != 2 && !offPlane && !areas) {
        std::fputs("usage: tessamar_make_wall_sample OUTDIR [--off-plane | --areas]\n", stderr);
        return 2;
    }
    const QString photo = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/door-wall.jpg");
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        DrawWall(painter);
    }
    QImageWriter writer(photo, "jpeg");
    writer.setQuality(85);
    if (!writer.write(image)) {
        std::fprintf(stderr, "cannot write %s\n", photo.toLocal8Bit().constData());
        return 1;
    }

    PhotoInfo info;
    // Lines on the wall without values: the window's width and height, the
    // wall's length along the skirting, the door's height beside its frame.
    info.dimensions.push_back(MakeDimension(OnPhoto(kWindow.bottomLeft() + QPointF(0, 150)),
                                            OnPhoto(kWindow.bottomRight() + QPointF(0, 150)),
                                            RGB(255, 0, 0)));
    info.dimensions.push_back(MakeDimension(OnPhoto(kWindow.topRight() + QPointF(120, 0)),
                                            OnPhoto(kWindow.bottomRight() + QPointF(120, 0)),
                                            RGB(0, 0, 255)));
    info.dimensions.push_back(MakeDimension(OnPhoto(QPointF(0, kWallHeight - 300)),
                                            OnPhoto(QPointF(kWallWidth, kWallHeight - 300)),
                                            RGB(0, 128, 0)));
    if (offPlane) {
        // From the skirting out into the room: not on the wall at all.
        const POINT atWall = OnPhoto(QPointF(2000, kWallHeight));
        info.dimensions.push_back(
            MakeDimension(atWall, POINT{atWall.x - 260, kHeight - 20}, RGB(255, 0, 0)));
    }
    // The door as the reference plane: its four corners as clicked, in the
    // order the program keeps them, 900 x 2100 mm.
    info.reference.hasPlane = true;
    const QPointF door[4] = {kDoor.topLeft(), kDoor.topRight(), kDoor.bottomRight(),
                             kDoor.bottomLeft()};
    for (int i = 0; i < 4; ++i)
        info.reference.plane.corners[i] = OnPhoto(door[i]);
    info.reference.plane.width = kDoor.width();
    info.reference.plane.height = kDoor.height();
    if (areas)
        AddAreas(info);
    InfoNote note = MakeNewNote(OnPhoto(QPointF(1700, 300)), DefaultLogFont());
    cp950::CopyToField(note.title, cp950::FromQString(QString::fromUtf8("門")));
    cp950::CopyToField(note.text, cp950::FromQString(QString::fromUtf8(
                                      "參考平面：門 900 x 2100 mm\r\n窗寬 1500，窗高 1200")));
    info.notes.push_back(note);
    if (!info.SaveToFile(InfoFilePathFor(photo))) {
        std::fprintf(stderr, "cannot write the photo-info file: %s\n",
                     info.LastSaveError().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
