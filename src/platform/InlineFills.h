#pragma once
// Painting at the raster engine's own speed. Qt's raster engine hands every
// fill of more than about a hundred spans to the global thread pool in
// pieces and waits for them, unless it is already running on one of that
// pool's threads. Waking the pool for each piece costs far more than the
// fill itself on a machine of few cores (a translucent grid over the view:
// 10-13 ms from the window's thread, 1-1.3 ms from a pool thread), so the
// window's heavy painting runs on a pool thread while the caller waits.

#include <functional>

// Runs `paint` on a thread of Qt's global pool and returns when it has
// finished; on such a thread already, or when every thread of the pool is
// busy, runs it in place. The caller's objects
// are used by one thread at a time: the caller waits meanwhile. `paint` must
// not wait for the calling thread (no blocking signals, no timers).
void PaintWithInlineFills(const std::function<void()>& paint);
