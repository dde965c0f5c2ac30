#include "platform/BackgroundWork.h"

#include <QCoreApplication>

#include <algorithm>
#include <vector>

namespace {
// Every pool, waited for when the application object goes.
std::vector<QThreadPool*>& Pools() {
    static std::vector<QThreadPool*> pools;
    return pools;
}

void WaitForAllPools() {
    for (QThreadPool* pool : Pools())
        pool->waitForDone();
}
} // namespace

WorkerPool::WorkerPool(int threads) {
    if (threads > 0)
        m_pool.setMaxThreadCount(threads);
    if (Pools().empty())
        qAddPostRoutine(WaitForAllPools);
    Pools().push_back(&m_pool);
}

WorkerPool::~WorkerPool() {
    m_pool.waitForDone();
    Pools().erase(std::remove(Pools().begin(), Pools().end(), &m_pool), Pools().end());
}

WorkerPool& SharedWorkers() {
    static WorkerPool shared;
    return shared;
}
