// The one way work leaves the window's thread: results come back on the
// receiver's thread, never to a receiver that is gone, and cancelled work
// that has not started never runs.
#include "platform/BackgroundWork.h"

#include <QCoreApplication>
#include <QMutex>
#include <QMutexLocker>
#include <QSemaphore>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Held back behind a task that holds the pool's only worker: a result whose
// receiver is gone meanwhile, and work cancelled before it starts, which must
// not run either; the work that waits starts by priority; a result comes back
// through the event loop, on the receiver's thread.
TEST(BackgroundWork, ResultsComeBackOnTheReceiversThreadAndCancelledWorkNeverRuns) {
    WorkerPool pool(1);
    QSemaphore entered, open;
    pool.Run([&] {
        entered.release();
        open.acquire();
    });
    entered.acquire();
    QList<int> order;
    QMutex mutex;
    auto note = [&](int n) {
        QMutexLocker lock(&mutex);
        order << n;
        return n;
    };
    bool deliveredToGone = false, deliveredCancelled = false;
    QThread *ranOn = nullptr, *deliveredOn = nullptr;
    auto gone = std::make_unique<QObject>();
    QObject receiver;
    WhenFinished(gone.get(), pool.Run([] { return 7; }), [&](int) { deliveredToGone = true; });
    QFuture<int> dropped = pool.Run([&note] { return note(9); }, 5);
    WhenFinished(&receiver, dropped, [&](int) { deliveredCancelled = true; });
    const auto kept = pool.Run(
        [&note] {
            note(1);
            return QThread::currentThread();
        },
        1);
    WhenFinished(&receiver, kept, [&](QThread* worker) {
        ranOn = worker;
        deliveredOn = QThread::currentThread();
    });
    for (int n : {3, 2})
        pool.Run([&note, n] { note(n); }, n);
    gone.reset();
    dropped.cancel();
    open.release();
    ASSERT_TRUE(pool.WaitForDone(10000));
    EXPECT_EQ(deliveredOn, nullptr); // never at once, always through the event loop
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(order, (QList<int>{3, 2, 1}));
    EXPECT_EQ(deliveredOn, QCoreApplication::instance()->thread());
    EXPECT_NE(ranOn, deliveredOn);
    EXPECT_FALSE(deliveredToGone);
    EXPECT_FALSE(deliveredCancelled);
}

} // namespace
