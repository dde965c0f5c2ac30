#pragma once
// Special files for the tests, a watchdog that frees a reader stuck on a
// named pipe, and the program run as a child process with its peak memory.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

bool MakeFifo(const QString& path);

// Should a reader still be stuck in opening or reading one of the named pipes
// after `seconds`, opens each for writing and closes it again: the reader
// sees an empty file, so a regression fails its test instead of hanging it.
class FifoWatchdog {
public:
    FifoWatchdog(QStringList fifos, int seconds = 10);
    ~FifoWatchdog();
    FifoWatchdog(const FifoWatchdog&) = delete;
    FifoWatchdog& operator=(const FifoWatchdog&) = delete;

    // True when it had to step in.
    bool Fired() const { return m_fired; }

private:
    QStringList m_fifos;
    std::mutex m_mutex;
    std::condition_variable m_stop;
    bool m_stopping = false;
    std::atomic<bool> m_fired{false};
    std::thread m_thread;
};

struct ChildRun {
    bool timedOut = false;
    int exitStatus = -1; // -1 when it did not exit normally
    int signal = 0;      // the signal that ended it, if one did
    QByteArray out, err;
    long peakRssKb = 0; // ru_maxrss of the child
};

// Runs `program` with `args` passed byte for byte (no text conversion, so a
// name that is not UTF-8 arrives as it is), killed after `seconds`. Its
// memory is capped far above anything a correct run needs, so a regression
// fails instead of taking the machine's memory. XDG_RUNTIME_DIR is left out
// of its environment, as on a build machine. A `fileSizeLimit` of 0 or more
// caps the size of the files it writes (RLIMIT_FSIZE, as `prlimit --fsize`
// does) with SIGXFSZ at its default action, as a user's shell leaves it.
ChildRun RunChild(const QByteArray& program, const std::vector<QByteArray>& args, int seconds = 60,
                  long long fileSizeLimit = -1);
