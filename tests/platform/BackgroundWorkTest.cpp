// The one way work leaves the window's thread: results come back on the
// receiver's thread, never to a receiver that is gone, and cancelled work
// that has not started never runs.
#include "platform/BackgroundWork.h"

#include <QCoreApplication>
#include <QMutex>
#include <QMutexLocker>
#include <QSemaphore>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

namespace {

TEST(BackgroundWork, TheResultComesBackOnTheReceiversThread) {
    WorkerPool pool(1);
    QObject receiver;
    QThread* worker = nullptr;
    QThread* deliveredOn = nullptr;
    WhenFinished(&receiver, pool.Run([] { return QThread::currentThread(); }), [&](QThread* ranOn) {
        worker = ranOn;
        deliveredOn = QThread::currentThread();
    });
    EXPECT_EQ(deliveredOn, nullptr); // never at once, always through the event loop
    ASSERT_TRUE(QTest::qWaitFor([&] { return deliveredOn != nullptr; }));
    EXPECT_EQ(deliveredOn, QCoreApplication::instance()->thread());
    EXPECT_NE(worker, deliveredOn);
}

// Held back behind the gate: a result whose receiver is gone meanwhile, and
// work cancelled before it starts, which must not run either; the work that
// waits starts by priority.
TEST(BackgroundWork, NothingReachesAGoneReceiverCancelledWorkNeverRunsAndPriorityGoesFirst) {
    WorkerPool pool(1);
    QSemaphore entered, open; // holds the pool's only worker: later work waits its turn
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
    auto gone = std::make_unique<QObject>();
    QObject receiver;
    WhenFinished(gone.get(), pool.Run([] { return 7; }), [&](int) { deliveredToGone = true; });
    QFuture<int> dropped = pool.Run([&note] { return note(9); }, 5);
    WhenFinished(&receiver, dropped, [&](int) { deliveredCancelled = true; });
    QFuture<int> kept = pool.Run([&note] { return note(1); }, 1);
    for (int n : {3, 2})
        pool.Run([&note, n] { note(n); }, n);
    gone.reset();
    dropped.cancel();
    open.release();
    ASSERT_TRUE(pool.WaitForDone(10000));
    EXPECT_EQ(kept.result(), 1);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(order, (QList<int>{3, 2, 1}));
    EXPECT_FALSE(deliveredToGone);
    EXPECT_FALSE(deliveredCancelled);
}

} // namespace
