#pragma once
// The one way work leaves the window's thread: a function run by a worker of
// a WorkerPool (QtConcurrent), and its result handed back on the thread of a
// receiver object through a QFutureWatcher the receiver owns, so nothing is
// delivered once the receiver is gone. A caller that wants only the newest of
// several requests drops the others when they arrive (a ticket); cancelling a
// future drops work that has not started yet.

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>
#include <QThreadPool>
#include <QtConcurrent/qtconcurrenttask.h>

#include <type_traits>
#include <utility>

class WorkerPool {
public:
    // A pool of `threads` workers (0: one per core). At the program's end the
    // work still running finishes before the application object goes.
    explicit WorkerPool(int threads = 0);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Starts `work` on a worker; work with a higher `priority` that waits
    // starts first. Waiting for the future runs the work on the waiting thread
    // when no worker has taken it yet.
    template <typename Work> auto Run(Work&& work, int priority = 0) {
        return QtConcurrent::task(std::forward<Work>(work))
            .onThreadPool(m_pool)
            .withPriority(priority)
            .spawn();
    }

    // Waits until no work runs or waits (program exit, tests).
    bool WaitForDone(int msecs = -1) { return m_pool.waitForDone(msecs); }

private:
    QThreadPool m_pool;
};

// The pool for work the window's thread waits for or that builds what it
// draws (photo levels, export copies and decodes): one worker per core.
WorkerPool& SharedWorkers();

// Calls `done(result)` on `receiver`'s thread when `future` has finished,
// unless it was cancelled or the receiver is gone by then.
template <typename T, typename Done>
void WhenFinished(QObject* receiver, const QFuture<T>& future, Done&& done) {
    auto* watcher = new QFutureWatcher<T>(receiver);
    QObject::connect(watcher, &QFutureWatcherBase::finished, receiver,
                     [watcher, done = std::forward<Done>(done)]() mutable {
                         watcher->deleteLater();
                         if (watcher->isCanceled())
                             return;
                         if constexpr (std::is_void_v<T>)
                             done();
                         else
                             done(watcher->result());
                     });
    watcher->setFuture(future);
}
