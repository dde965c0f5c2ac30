#pragma once
// The window's picture export, written on a worker thread while the window
// stays usable. The photo is shared with the window (only read) and the
// records are copied when the export starts, so records edited meanwhile,
// or another photo opened, do not reach the picture being written. A
// progress window (rows written of all rows) shows while it runs longer
// than a moment. One export runs at a time.

#include "document/PhotoInfo.h"

#include <QFuture>
#include <QImage>
#include <QObject>
#include <QString>

#include <functional>

class QProgressDialog;
class QTimer;
class QWidget;

class PictureExportJob : public QObject {
    Q_OBJECT
public:
    struct Outcome {
        bool written = false;
        QString error; // why nothing was written
    };
    // Told on the window's thread when an export has ended.
    using Done = std::function<void(const QString& path, const Outcome& outcome)>;

    // The progress window belongs to `window`.
    PictureExportJob(QWidget* window, Done done);
    // Waits for a running export: its file is finished, never abandoned.
    ~PictureExportJob() override;

    // Starts writing the picture of `photo` with `records` to `path`. False
    // (and nothing started) while another export runs.
    bool Start(const QImage& photo, const PhotoInfo& records, const QString& path);
    bool IsRunning() const { return m_running; }
    // Waits until the running export has ended and tells its outcome now,
    // rather than from the event loop (the window is closing).
    void Finish();

    // The progress window (tests).
    QProgressDialog* Progress() const { return m_progress; }

private:
    void Deliver(int ticket, const Outcome& outcome);

    QWidget* m_window;
    Done m_done;
    QFuture<Outcome> m_future;
    QString m_path;
    bool m_running = false;
    int m_ticket = 0; // the export whose outcome is still to be told
    QProgressDialog* m_progress = nullptr;
    QTimer* m_showProgress = nullptr;
};
