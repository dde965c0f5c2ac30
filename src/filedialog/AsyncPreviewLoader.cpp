#include "filedialog/AsyncPreviewLoader.h"

#include "platform/BackgroundWork.h"

namespace {
// One worker: while the user walks through a folder only the newest request
// matters, and the older ones are dropped before they start.
WorkerPool& PreviewWorker() {
    static WorkerPool pool(1);
    return pool;
}
} // namespace

AsyncPreviewLoader::AsyncPreviewLoader(QObject* parent) : QObject(parent) {}

AsyncPreviewLoader::~AsyncPreviewLoader() {
    m_future.cancel();
}

void AsyncPreviewLoader::Request(const QString& path, QSize box) {
    m_future.cancel();
    const quint64 ticket = ++m_nTicket;
    m_bBusy = true;
    m_future = PreviewWorker().Run([path, box] { return LoadPreviewPicture(path, box); });
    WhenFinished(this, m_future, [this, ticket, path](const PreviewPicture& picture) {
        if (ticket != m_nTicket)
            return;
        m_bBusy = false;
        Q_EMIT Loaded(path, picture);
    });
}

void AsyncPreviewLoader::Cancel() {
    m_future.cancel();
    m_nTicket += 1;
    m_bBusy = false;
}

bool AsyncPreviewLoader::WaitForWorkers(int msecs) {
    return PreviewWorker().WaitForDone(msecs);
}
