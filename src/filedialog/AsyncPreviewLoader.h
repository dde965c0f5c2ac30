#pragma once
// Decodes preview pictures on a worker thread, one request at a time; a newer
// request replaces an older one. Results reach the owner's thread through
// Loaded(); a result for anything but the latest request is never delivered,
// and nothing is delivered once the loader is cancelled or destroyed.

#include "filedialog/PreviewLoader.h"

#include <QFuture>
#include <QObject>
#include <QSize>
#include <QString>

class AsyncPreviewLoader : public QObject {
    Q_OBJECT
public:
    explicit AsyncPreviewLoader(QObject* parent = nullptr);
    ~AsyncPreviewLoader() override;

    // Starts decoding `path` for a `box` of device pixels; any earlier
    // request is dropped.
    void Request(const QString& path, QSize box);
    // Drops the outstanding request, if any.
    void Cancel();
    // A request has been made whose result has not arrived yet.
    bool IsBusy() const { return m_bBusy; }

    // Waits until the workers of every loader are idle (program exit, tests).
    static bool WaitForWorkers(int msecs = -1);

Q_SIGNALS:
    void Loaded(const QString& path, const PreviewPicture& picture);

private:
    QFuture<PreviewPicture> m_future; // the latest request's
    quint64 m_nTicket = 0;
    bool m_bBusy = false;
};
