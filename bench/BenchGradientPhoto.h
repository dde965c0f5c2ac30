#pragma once
// The benchmarks' common photo: smooth gradients with noise, so that its JPEG
// has realistic entropy, written to `path` at JPEG quality 90; and the main
// of the benchmarks that run a window on one such photo.

#include "platform/LogFont.h"

#include <QApplication>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QString>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

inline bool WriteGradientPhoto(const QString& path, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator rng(7);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int n = static_cast<int>(rng.bounded(24u));
            row[x] = qRgb((x / 24 + n) & 0xFF, (y / 16 + n) & 0xFF, ((x + y) / 40 + n) & 0xFF);
        }
    }
    QImageWriter writer(path, "jpeg");
    writer.setQuality(90);
    return writer.write(image);
}

// Starts the application (offscreen unless a platform is asked for, or a
// display is there and `onDisplay`), writes a width x height photo to a
// temporary folder, names it in `path` and runs the benchmarks asked for.
inline int RunOnGradientPhoto(int argc, char** argv, int width, int height, QString* path,
                              bool onDisplay = false) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !(onDisplay && !qEnvironmentVariableIsEmpty("DISPLAY")))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallFontSubstitutes();
    QTemporaryDir dir;
    *path = dir.filePath(QStringLiteral("photo.jpg"));
    WriteGradientPhoto(*path, width, height);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
