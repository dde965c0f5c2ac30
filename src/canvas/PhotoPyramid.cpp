#include "canvas/PhotoPyramid.h"

#include "platform/BackgroundWork.h"

#include <algorithm>
#include <cstdint>

namespace {
// Levels stop once both sides are this small: the canvas never draws a photo
// smaller than that at the zooms it offers, and smaller levels gain nothing.
constexpr int kSmallestSide = 64;

int LevelCountFor(QSize size) {
    int count = 1;
    int w = size.width();
    int h = size.height();
    while (w > kSmallestSide || h > kSmallestSide) {
        w = (w + 1) / 2;
        h = (h + 1) / 2;
        ++count;
    }
    return count;
}

// Average of four RGB32 pixels, rounded, per channel.
inline uint32_t Average4(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
    const uint32_t rb =
        ((a & 0xFF00FFu) + (b & 0xFF00FFu) + (c & 0xFF00FFu) + (d & 0xFF00FFu) + 0x020002u) >> 2;
    const uint32_t g =
        ((a & 0x00FF00u) + (b & 0x00FF00u) + (c & 0x00FF00u) + (d & 0x00FF00u) + 0x000200u) >> 2;
    return 0xFF000000u | (rb & 0xFF00FFu) | (g & 0x00FF00u);
}
} // namespace

PhotoPyramid::~PhotoPyramid() {
    Stop();
}

void PhotoPyramid::SetLevelReadyCallback(std::function<void()> callback) {
    Stop();
    m_onLevelReady = std::move(callback);
}

void PhotoPyramid::Stop() {
    m_cancel = true;
    m_worker.waitForFinished();
    m_cancel = false;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_done = true;
    m_started = false;
}

void PhotoPyramid::SetSource(const QImage& photo) {
    const qint64 key = photo.isNull() ? 0 : photo.cacheKey();
    if (key == m_sourceKey)
        return;
    Stop();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_levels.clear();
    m_started = false;
    m_sourceKey = key;
    if (photo.isNull()) {
        m_levelCount = 0;
        return;
    }
    m_levels.push_back(photo.format() == QImage::Format_RGB32
                           ? photo
                           : photo.convertToFormat(QImage::Format_RGB32));
    m_levelCount = LevelCountFor(photo.size());
}

void PhotoPyramid::StartLocked() {
    // The levels are made the first time one is wanted, once per photo.
    const int built = static_cast<int>(m_levels.size());
    if (m_started || built >= m_levelCount)
        return;
    m_started = true;
    m_done = false;
    m_worker =
        SharedWorkers().Run([this, source = m_levels.back(), built] { Build(source, built); });
}

void PhotoPyramid::Build(QImage current, int firstLevel) {
    for (int level = firstLevel; level < m_levelCount; ++level) {
        QImage next = Halve(current, &m_cancel);
        if (m_cancel || next.isNull())
            break;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_levels.push_back(next);
        }
        m_levelAdded.notify_all();
        if (m_onLevelReady)
            m_onLevelReady();
        current = std::move(next);
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_done = true;
    }
    m_levelAdded.notify_all();
}

int PhotoPyramid::WantedLevel(double scale, int levelCount) {
    int level = 0;
    while (level + 1 < levelCount && scale <= 1.0 / (2 << level))
        ++level;
    return level;
}

QImage PhotoPyramid::LevelFor(double scale, bool wait, int* level, int* wantedLevel) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_levels.empty()) {
        if (level)
            *level = 0;
        return QImage();
    }
    const int wanted = WantedLevel(scale, m_levelCount);
    if (wanted > 0)
        StartLocked();
    if (wait)
        m_levelAdded.wait(lock,
                          [&] { return m_done || static_cast<int>(m_levels.size()) > wanted; });
    const int chosen = std::min(wanted, static_cast<int>(m_levels.size()) - 1);
    if (level)
        *level = chosen;
    if (wantedLevel)
        *wantedLevel = wanted;
    return m_levels[chosen];
}

QImage PhotoPyramid::Halve(const QImage& image, const std::atomic<bool>* cancel) {
    const int w = image.width();
    const int h = image.height();
    const int hw = (w + 1) / 2;
    const int hh = (h + 1) / 2;
    QImage out(hw, hh, QImage::Format_RGB32);
    if (out.isNull() || w <= 0 || h <= 0)
        return QImage();
    for (int y = 0; y < hh; ++y) {
        if (cancel && (y & 63) == 0 && cancel->load(std::memory_order_relaxed))
            return QImage();
        const auto* row0 = reinterpret_cast<const uint32_t*>(image.constScanLine(2 * y));
        const auto* row1 =
            reinterpret_cast<const uint32_t*>(image.constScanLine(std::min(2 * y + 1, h - 1)));
        auto* dst = reinterpret_cast<uint32_t*>(out.scanLine(y));
        const int pairs = w / 2;
        for (int x = 0; x < pairs; ++x)
            dst[x] = Average4(row0[2 * x], row0[2 * x + 1], row1[2 * x], row1[2 * x + 1]);
        if (w & 1)
            dst[pairs] = Average4(row0[w - 1], row0[w - 1], row1[w - 1], row1[w - 1]);
    }
    return out;
}
