#include "platform/InlineFills.h"

#include <QSemaphore>
#include <QThread>
#include <QThreadPool>

#include <exception>

void PaintWithInlineFills(const std::function<void()>& paint) {
    QThreadPool* pool = QThreadPool::globalInstance();
    if (pool->contains(QThread::currentThread())) {
        paint();
        return;
    }
    // Threads are kept once started: a new one would load its fonts afresh.
    pool->setExpiryTimeout(-1);
    QSemaphore done;
    std::exception_ptr failure;
    const bool started = pool->tryStart([&] {
        try {
            paint();
        } catch (...) {
            failure = std::current_exception();
        }
        done.release();
    });
    if (!started) {
        // Every worker busy (filling for another thread): painting here is
        // slower, waiting for a worker could be slower still.
        paint();
        return;
    }
    done.acquire();
    if (failure)
        std::rethrow_exception(failure);
}
