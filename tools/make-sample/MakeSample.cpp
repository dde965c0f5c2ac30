// Draws the sample room photo (samples/living-room.jpg) and writes its
// photo-info file with a few dimensions and notes (samples/living-room.dat).
// Build with -DTESSAMAR_SAMPLE_TOOL=ON and run: tessamar_make_sample OUTDIR

#include "document/PhotoInfo.h"
#include "platform/Cp950.h"
#include "platform/LogFont.h"

#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <cstdio>

namespace {
constexpr int kWidth = 1280;
constexpr int kHeight = 960;
// The back wall, and the point the room's depth lines run to.
const QRectF kBack(430, 250, 430, 360);
const QPointF kVanish(645, 440);

// The point on the line from `p` toward the vanishing point, `t` of the way.
QPointF Toward(QPointF p, double t) {
    return p + (kVanish - p) * t;
}

void DrawRoom(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF tl(0, 0), tr(kWidth, 0), bl(0, kHeight), br(kWidth, kHeight);
    const QPointF btl = kBack.topLeft(), btr = kBack.topRight();
    const QPointF bbl = kBack.bottomLeft(), bbr = kBack.bottomRight();

    // Ceiling.
    QLinearGradient ceiling(0, 0, 0, btl.y());
    ceiling.setColorAt(0, QColor(214, 210, 202));
    ceiling.setColorAt(1, QColor(238, 235, 228));
    p.setPen(Qt::NoPen);
    p.setBrush(ceiling);
    p.drawPolygon(QPolygonF{tl, tr, btr, btl});

    // Left wall, lit from the window.
    QLinearGradient left(0, 0, btl.x(), 0);
    left.setColorAt(0, QColor(196, 178, 150));
    left.setColorAt(1, QColor(226, 211, 186));
    p.setBrush(left);
    p.drawPolygon(QPolygonF{tl, btl, bbl, bl});

    // Right wall, a shade darker.
    QLinearGradient right(btr.x(), 0, kWidth, 0);
    right.setColorAt(0, QColor(214, 198, 172));
    right.setColorAt(1, QColor(178, 160, 133));
    p.setBrush(right);
    p.drawPolygon(QPolygonF{btr, tr, br, bbr});

    // Back wall.
    QLinearGradient back(btl, bbl);
    back.setColorAt(0, QColor(236, 224, 202));
    back.setColorAt(1, QColor(222, 208, 184));
    p.setBrush(back);
    p.drawRect(kBack);

    // Wooden floor: planks running toward the back wall.
    QLinearGradient floor(0, bbl.y(), 0, kHeight);
    floor.setColorAt(0, QColor(150, 104, 64));
    floor.setColorAt(1, QColor(118, 78, 44));
    p.setBrush(floor);
    p.drawPolygon(QPolygonF{bbl, bbr, br, bl});
    p.setPen(QPen(QColor(92, 60, 33, 150), 1.4));
    for (int i = 1; i < 16; ++i) {
        const double x = kBack.left() + kBack.width() * i / 16.0;
        const QPointF farEnd(x, bbl.y());
        const QPointF nearEnd =
            kVanish + (farEnd - kVanish) * (kHeight - kVanish.y()) / (bbl.y() - kVanish.y());
        p.drawLine(farEnd, nearEnd);
    }

    // Skirting boards.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(245, 242, 236));
    p.drawRect(QRectF(bbl.x(), bbl.y() - 12, kBack.width(), 12));
    p.drawPolygon(QPolygonF{Toward(bl, 0.0) + QPointF(0, -40), bbl + QPointF(0, -12), bbl, bl});
    p.drawPolygon(QPolygonF{bbr + QPointF(0, -12), br + QPointF(0, -40), br, bbr});

    // Window on the back wall, with the sky behind it.
    const QRectF window(520, 320, 250, 170);
    QLinearGradient sky(window.topLeft(), window.bottomLeft());
    sky.setColorAt(0, QColor(120, 170, 220));
    sky.setColorAt(1, QColor(198, 224, 244));
    p.setBrush(sky);
    p.setPen(QPen(QColor(250, 250, 248), 10));
    p.drawRect(window);
    p.setPen(QPen(QColor(250, 250, 248), 6));
    p.drawLine(QPointF(window.center().x(), window.top()),
               QPointF(window.center().x(), window.bottom()));
    p.drawLine(QPointF(window.left(), window.center().y()),
               QPointF(window.right(), window.center().y()));
    p.setPen(QPen(QColor(160, 150, 135), 2));
    p.setBrush(QColor(238, 236, 230));
    p.drawRect(QRectF(window.left() - 14, window.bottom() + 5, window.width() + 28, 10));

    // Door on the left wall, in perspective.
    const double t0 = 0.30, t1 = 0.55;
    const QPointF d0 = Toward(QPointF(0, kHeight), t0), d1 = Toward(QPointF(0, kHeight), t1);
    const QPointF top0 = Toward(QPointF(0, 60), t0), top1 = Toward(QPointF(0, 60), t1);
    QPolygonF door{QPointF(d0.x(), top0.y() + 120), QPointF(d1.x(), top1.y() + 70), d1, d0};
    QLinearGradient wood(d0, d1);
    wood.setColorAt(0, QColor(132, 88, 52));
    wood.setColorAt(1, QColor(160, 112, 70));
    p.setPen(QPen(QColor(245, 242, 236), 8));
    p.setBrush(wood);
    p.drawPolygon(door);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(214, 190, 120));
    p.drawEllipse(QPointF(d1.x() - 22, (door[1].y() + d1.y()) / 2 + 10), 7, 6);

    // Light falling from the window onto the floor.
    QRadialGradient light(QPointF(645, 700), 360);
    light.setColorAt(0, QColor(255, 246, 220, 70));
    light.setColorAt(1, QColor(255, 246, 220, 0));
    p.setBrush(light);
    p.drawRect(QRectF(0, 0, kWidth, kHeight));

    // The lens darkens the corners a little.
    QRadialGradient vignette(QPointF(kWidth / 2.0, kHeight / 2.0), 900);
    vignette.setColorAt(0.55, QColor(0, 0, 0, 0));
    vignette.setColorAt(1, QColor(0, 0, 0, 110));
    p.setBrush(vignette);
    p.drawRect(QRectF(0, 0, kWidth, kHeight));
}

// Sensor noise, so the picture looks taken rather than drawn.
void AddNoise(QImage& image) {
    QRandomGenerator random(20240607);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = static_cast<int>(random.bounded(9)) - 4;
            const QRgb c = row[x];
            row[x] = qRgb(qBound(0, qRed(c) + n, 255), qBound(0, qGreen(c) + n, 255),
                          qBound(0, qBlue(c) + n, 255));
        }
    }
}

Dimension MakeDimension(POINT a, POINT b, const char* value, COLORREF colour) {
    Dimension dim;
    dim.colour = colour;
    dim.start = a;
    dim.end = b;
    cp950::CopyToField(dim.value, cp950::FromQString(QString::fromUtf8(value)));
    dim.font = DefaultLogFont();
    NormalizeDimensionEnds(dim);
    return dim;
}

InfoNote MakeNote(POINT anchor, const char* title, const char* text) {
    InfoNote note = MakeNewNote(anchor, DefaultLogFont());
    cp950::CopyToField(note.title, cp950::FromQString(QString::fromUtf8(title)));
    cp950::CopyToField(note.text, cp950::FromQString(QString::fromUtf8(text)));
    return note;
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: tessamar_make_sample OUTDIR\n", stderr);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const QString photo = dir + QStringLiteral("/living-room.jpg");

    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        DrawRoom(painter);
    }
    AddNoise(image);
    QImageWriter writer(photo, "jpeg");
    writer.setQuality(82);
    if (!writer.write(image)) {
        std::fprintf(stderr, "cannot write %s\n", photo.toLocal8Bit().constData());
        return 1;
    }

    PhotoInfo info;
    info.dimensions.push_back(MakeDimension({430, 640}, {860, 640}, "3.60 m", RGB(255, 0, 0)));
    info.dimensions.push_back(MakeDimension({520, 300}, {770, 300}, "1.20 m", RGB(0, 0, 255)));
    info.dimensions.push_back(MakeDimension({890, 250}, {890, 610}, "2.60 m", RGB(0, 128, 0)));
    info.notes.push_back(MakeNote({645, 405}, "窗戶", "雙層玻璃，窗台深 15 cm"));
    info.notes.push_back(MakeNote({250, 560}, "門", "向內開，門寬 0.9 m"));
    if (!info.SaveToFile(InfoFilePathFor(photo))) {
        std::fprintf(stderr, "cannot write the photo-info file: %s\n",
                     info.LastSaveError().toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
