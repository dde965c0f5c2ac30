// Painting handed to a thread of Qt's global pool: it runs there (where the
// raster engine fills in place), in place when already there, and a failure
// reaches the caller; with every worker of the pool busy it runs in place
// rather than wait.
#include "platform/InlineFills.h"

#include <QSemaphore>
#include <QThread>
#include <QThreadPool>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

bool OnGlobalPool() {
    return QThreadPool::globalInstance()->contains(QThread::currentThread());
}

TEST(InlineFills, PaintsOnAPoolThreadOrInPlaceWhenItsWorkersAreBusy) {
    bool ranOnPool = false, nestedOnPool = false;
    QThread* outer = nullptr;
    QThread* nested = nullptr;
    PaintWithInlineFills([&] {
        ranOnPool = OnGlobalPool();
        outer = QThread::currentThread();
        PaintWithInlineFills([&] {
            nestedOnPool = OnGlobalPool();
            nested = QThread::currentThread();
        });
    });
    EXPECT_TRUE(ranOnPool);
    EXPECT_NE(outer, QThread::currentThread());
    EXPECT_TRUE(nestedOnPool);
    EXPECT_EQ(nested, outer);
    EXPECT_THROW(PaintWithInlineFills([] { throw std::runtime_error("out of memory"); }),
                 std::runtime_error);

    QThreadPool* pool = QThreadPool::globalInstance();
    QSemaphore busy, release;
    for (int i = 0; i < pool->maxThreadCount(); ++i)
        pool->start([&] {
            busy.release();
            release.acquire();
        });
    busy.acquire(pool->maxThreadCount());
    QThread* ranOn = nullptr;
    PaintWithInlineFills([&] { ranOn = QThread::currentThread(); });
    release.release(pool->maxThreadCount());
    EXPECT_EQ(ranOn, QThread::currentThread());
    pool->waitForDone();
}

} // namespace
