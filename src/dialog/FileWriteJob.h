#pragma once
// A file the window writes on a worker thread while it stays usable: the
// exported picture, the report. The work gets what it reads when the job
// starts (a shared handle on the photo's pixels, its own copy of the
// records), so records edited meanwhile, or another photo opened, do not
// reach the file being written. A progress window (steps done of all, or a
// busy bar) shows while it runs longer than a moment. One file at a time
// per job.

#include <QFuture>
#include <QObject>
#include <QString>

#include <functional>

class QProgressDialog;
class QTimer;
class QWidget;

class FileWriteJob : public QObject {
    Q_OBJECT
public:
    struct Outcome {
        bool written = false;
        QString error; // why nothing was written
    };
    // Told on the window's thread when a file has been written or has failed.
    using Done = std::function<void(const QString& path, const Outcome& outcome)>;
    // Runs on a worker; `progress(done)` may be called from there.
    using Work = std::function<Outcome(const std::function<void(int done)>& progress)>;

    // The progress window belongs to `window` and carries `title`.
    FileWriteJob(QWidget* window, const QString& title, Done done);
    // Waits for a running job: its file is finished, never abandoned.
    ~FileWriteJob() override;

    // Starts `work`, which writes `path` in `steps` steps (0: not counted).
    // `label` is the progress window's text. False (and nothing started)
    // while another file is being written.
    bool Start(const QString& path, const QString& label, int steps, Work work);
    bool IsRunning() const { return m_running; }
    // Waits until the running job has ended and tells its outcome now,
    // rather than from the event loop (the window is closing).
    void Finish();

    // The progress window (tests).
    QProgressDialog* Progress() const { return m_progress; }

private:
    void Deliver(int ticket, const Outcome& outcome);

    QWidget* m_window;
    QString m_title;
    Done m_done;
    QFuture<Outcome> m_future;
    QString m_path;
    bool m_running = false;
    int m_ticket = 0; // the job whose outcome is still to be told
    QProgressDialog* m_progress = nullptr;
    QTimer* m_showProgress = nullptr;
};

// The jobs' work: the window's picture export of `photo` (decoded from the
// file at `photoPath`, whose Exif fields it keeps; never the location) with
// `records`, and the report of the photo at `photoPath` so decoded. Memory running out is an
// outcome, not an exception.
FileWriteJob::Work PictureExportWork(const QString& photoPath, const class QImage& photo,
                                     const class PhotoInfo& records, const QString& path);
FileWriteJob::Work ReportWork(const QString& photoPath, const class QImage& photo,
                              const class PhotoInfo& records, const QString& path);
