#include "output/BatchWorkers.h"

#include "lumoimage/PictureMemoryReuse.h"
#include "platform/SystemMemory.h"

#include <QThread>

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace {
// What one worker may hold at a time: two 50-megapixel photos of 32 bits.
constexpr qint64 kWorkerMemory = qint64(2) * 50'000'000 * 4;
} // namespace

int BatchWorkers(int items) {
    int workers = QThread::idealThreadCount() + 1;
    const qint64 available = AvailableMemory();
    if (available > 0)
        workers = static_cast<int>(std::min<qint64>(workers, available / kWorkerMemory));
    return std::max(1, std::min(workers, items));
}

void RunOnBatchWorkers(int count, const std::function<void(int)>& work, int workers) {
    workers = workers > 0 ? std::max(1, std::min(workers, count)) : BatchWorkers(count);
    std::atomic<int> next{0};
    auto run = [&] {
        for (int i = next.fetch_add(1); i < count; i = next.fetch_add(1))
            work(i);
    };
    // Each worker's photo leaves its memory to the next one.
    const PictureMemoryReuse reuse(workers);
    std::vector<std::thread> threads;
    for (int w = 1; w < workers; ++w) {
        try {
            threads.emplace_back(run);
        } catch (const std::system_error&) {
            break; // fewer workers: the others and this thread share the list
        }
    }
    run();
    for (std::thread& t : threads)
        t.join();
}
