#pragma once
// Photos for the tests of opening on a worker: photographic noise, an Exif
// thumbnail as cameras add one, damage past the header; and the workers held
// busy so a decode waits as long as a test needs.

#include "lumoimage/JpegFixtures.h"
#include "platform/BackgroundWork.h"

#include <QFile>
#include <QSemaphore>
#include <QThread>
#include <QtGlobal>
#include <vector>

// Gradients with per-pixel noise, as a camera's sensor gives them.
inline QImage NoisyPhoto(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    std::uint32_t seed = 2024;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int n = int(seed >> 27);
            row[x] = qRgb((x / 24 + n) & 0xFF, (y / 16 + n) & 0xFF, ((x + y) / 40 + n) & 0xFF);
        }
    }
    return image;
}

// Writes `photo` (4:2:0, quality 90) with an Exif segment holding the
// orientation and, unless `thumbnail` is empty, `photo` reduced to that size
// (turned as the photo is stored) as its thumbnail.
inline QString WriteOpeningPhoto(const QString& path, const QImage& photo, QSize thumbnail = {},
                                 int orientation = 1) {
    QByteArray thumb;
    if (!thumbnail.isEmpty())
        thumb =
            EncodeTestJpeg(photo.scaled(thumbnail, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                           80, TJSAMP_420);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(WithExif(EncodeTestJpeg(photo, 90, TJSAMP_420), orientation, thumb)) < 0)
        return QString();
    return path;
}

// The file cut at 3/4 of its length: its header and thumbnail are whole,
// its picture is not.
inline bool TruncateToThreeQuarters(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && file.resize(file.size() * 3 / 4);
}

// Keeps every worker of SharedWorkers busy until released, so work given to
// them waits (as a slow disk or a huge photo would make it wait).
class HeldWorkers {
public:
    HeldWorkers() {
        const int count = QThread::idealThreadCount();
        for (int i = 0; i < count; ++i)
            m_work.push_back(SharedWorkers().Run(
                [this] {
                    m_started.release();
                    m_go.acquire();
                },
                1000));
        m_allHeld = m_started.tryAcquire(count, 10000);
        m_held = count;
    }
    ~HeldWorkers() { ReleaseAll(); }
    bool AllHeld() const { return m_allHeld; }
    void ReleaseOne() {
        if (m_held > 0) {
            --m_held;
            m_go.release();
        }
    }
    void ReleaseAll() {
        m_go.release(m_held);
        m_held = 0;
        for (auto& w : m_work)
            w.waitForFinished();
        m_work.clear();
    }

private:
    QSemaphore m_started, m_go;
    std::vector<QFuture<void>> m_work;
    int m_held = 0;
    bool m_allHeld = false;
};
