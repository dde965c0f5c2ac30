#include "filedialog/AsyncPreviewLoader.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QMutex>
#include <QMutexLocker>
#include <QRunnable>
#include <QThreadPool>

namespace {
// One worker thread: while the user walks through a folder only the newest
// request matters, and the older ones are skipped before they start.
QThreadPool* PreviewPool() {
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool;
        p->setMaxThreadCount(1);
        // A decode still running when the program ends finishes before the
        // application object goes.
        qAddPostRoutine([] { PreviewPool()->waitForDone(); });
        return p;
    }();
    return pool;
}
} // namespace

// Shared by the loader and its tasks, guarded by the mutex. The loader clears
// `receiver` before it dies, so a task that finds it set may post to it.
struct AsyncPreviewLoader::Channel {
    QMutex mutex;
    AsyncPreviewLoader* receiver = nullptr;
    quint64 latest = 0; // ticket of the only request whose result is wanted

    bool IsLatest(quint64 ticket) {
        QMutexLocker lock(&mutex);
        return latest == ticket;
    }
    void SetLatest(quint64 ticket) {
        QMutexLocker lock(&mutex);
        latest = ticket;
    }
};

class AsyncPreviewLoader::Task : public QRunnable {
public:
    Task(std::shared_ptr<Channel> channel, quint64 ticket, QString path, QSize box)
        : m_channel(std::move(channel)), m_ticket(ticket), m_path(std::move(path)), m_box(box) {}

    void run() override {
        if (!m_channel->IsLatest(m_ticket))
            return; // a newer request came in before this one started
        PreviewPicture picture = LoadPreviewPicture(m_path, m_box);
        QMutexLocker lock(&m_channel->mutex);
        AsyncPreviewLoader* receiver = m_channel->receiver;
        if (!receiver || m_channel->latest != m_ticket)
            return;
        // Queued to the receiver's thread; Qt discards the call if the
        // receiver is destroyed before it runs.
        QMetaObject::invokeMethod(
            receiver,
            [receiver, ticket = m_ticket, path = m_path, picture = std::move(picture)] {
                receiver->Deliver(ticket, path, picture);
            },
            Qt::QueuedConnection);
    }

private:
    std::shared_ptr<Channel> m_channel;
    quint64 m_ticket;
    QString m_path;
    QSize m_box;
};

AsyncPreviewLoader::AsyncPreviewLoader(QObject* parent)
    : QObject(parent), m_channel(std::make_shared<Channel>()) {
    m_channel->receiver = this;
}

AsyncPreviewLoader::~AsyncPreviewLoader() {
    QMutexLocker lock(&m_channel->mutex);
    m_channel->receiver = nullptr;
    m_channel->latest = 0;
}

void AsyncPreviewLoader::Request(const QString& path, QSize box) {
    m_nTicket += 1;
    m_channel->SetLatest(m_nTicket);
    m_bBusy = true;
    PreviewPool()->start(new Task(m_channel, m_nTicket, path, box));
}

void AsyncPreviewLoader::Cancel() {
    m_nTicket += 1;
    m_channel->SetLatest(m_nTicket);
    m_bBusy = false;
}

bool AsyncPreviewLoader::WaitForWorkers(int msecs) {
    return PreviewPool()->waitForDone(msecs);
}

void AsyncPreviewLoader::Deliver(quint64 ticket, const QString& path,
                                 const PreviewPicture& picture) {
    if (ticket != m_nTicket)
        return;
    m_bBusy = false;
    Q_EMIT Loaded(path, picture);
}
