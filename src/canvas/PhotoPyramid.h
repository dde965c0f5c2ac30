#pragma once
// Reduced copies of a photo for drawing it smaller than its own size: level k
// is the photo halved k times with a 2 x 2 box filter (odd edges repeat their
// last pixel), so level k is ceil(W / 2^k) x ceil(H / 2^k) and photo pixel x
// lies at x / 2^k. A worker (SharedWorkers) builds the levels once per photo; readers
// take the nearest level available so far and are told when more arrive.

#include <QFuture>
#include <QImage>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

class PhotoPyramid {
public:
    PhotoPyramid() = default;
    ~PhotoPyramid();
    PhotoPyramid(const PhotoPyramid&) = delete;
    PhotoPyramid& operator=(const PhotoPyramid&) = delete;

    // Called from the worker thread after each new level.
    void SetLevelReadyCallback(std::function<void()> callback);

    // Takes `photo` as level 0 unless it is already the source (same
    // cacheKey). The other levels are built by a worker thread from the first
    // time one of them is wanted. A null image stops and empties.
    void SetSource(const QImage& photo);

    // The level to draw from at `scale` view pixels per photo pixel: the
    // smallest level at least that large. With `wait` false the nearest larger
    // level already built is returned instead (level 0 is the photo itself).
    // `level` receives the level's number, `wanted` the one it stands in for.
    QImage LevelFor(double scale, bool wait, int* level, int* wanted = nullptr);

    // The number of the level that would be chosen if every level were built.
    static int WantedLevel(double scale, int levelCount);

    // Halves an RGB32 image with a 2 x 2 box filter (free for tests); a null
    // image when `cancel` is raised meanwhile.
    static QImage Halve(const QImage& image, const std::atomic<bool>* cancel = nullptr);

private:
    void Stop();
    void StartLocked();
    void Build(QImage current, int firstLevel);

    std::function<void()> m_onLevelReady;
    QFuture<void> m_worker;
    std::atomic<bool> m_cancel{false};
    mutable std::mutex m_mutex;
    std::condition_variable m_levelAdded;
    std::vector<QImage> m_levels; // built so far; [0] is the photo
    int m_levelCount = 0;         // how many there will be
    bool m_done = true;
    bool m_started = false;
    qint64 m_sourceKey = 0;
};
