#pragma once
// What the benchmarks that measure peak memory in a fresh child process of
// their own share: the main that either runs the benchmarks (with a
// temporary folder for their files) or, given "--peak-child ARG... FOLDER",
// runs one measurement in that folder; the child's one line of figures read
// back; the median of the rounds and wall-clock milliseconds.

#include "platform/LogFont.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <vector>

// The middle of the rounds (the mean of the two middle ones for an even count).
inline double Median(std::vector<double> v) {
    if (v.empty())
        return 0.0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

inline double MsSince(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from)
        .count();
}

// `child` gets the arguments between "--peak-child" and the folder.
inline int RunBenchmarksOrPeakChild(int argc, char** argv, QString* folder, QString* self,
                                    const std::function<int(const QStringList&)>& child) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    InstallFontSubstitutes();
    if (argc >= 3 && std::strcmp(argv[1], "--peak-child") == 0) {
        *folder = QString::fromLocal8Bit(argv[argc - 1]); // the parent's, with its photos
        QStringList args;
        for (int i = 2; i < argc - 1; ++i)
            args << QString::fromLocal8Bit(argv[i]);
        return child(args);
    }
    QTemporaryDir dir;
    *folder = dir.path();
    *self = QCoreApplication::applicationFilePath();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// The child's line of figures, split at spaces; fewer than `count` when it failed.
inline QList<QByteArray> PeakChildFigures(const QString& self, QStringList args,
                                          const QString& folder) {
    QProcess child;
    child.start(self, QStringList{QStringLiteral("--peak-child")} + args + QStringList{folder});
    child.waitForFinished(600000);
    return child.readAllStandardOutput().trimmed().split(' ');
}
