#include "common/NonRegularFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define TESSAMAR_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSAMAR_ASAN 1
#endif
#endif

bool MakeFifo(const QString& path) {
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

FifoWatchdog::FifoWatchdog(QStringList fifos, int seconds) : m_fifos(std::move(fifos)) {
    m_thread = std::thread([this, seconds] {
        std::unique_lock<std::mutex> lock(m_mutex);
        auto stopping = [this] { return m_stopping; };
        if (m_stop.wait_for(lock, std::chrono::seconds(seconds), stopping))
            return;
        m_fired = true;
        // Again and again, until the test is over: the reader may open the
        // pipe once more after each round.
        do {
            for (const QString& fifo : m_fifos) {
                // Read and write: never waits, and gives a stuck reader a writer.
                const int fd = ::open(QFile::encodeName(fifo).constData(), O_RDWR | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
            }
        } while (!m_stop.wait_for(lock, std::chrono::milliseconds(50), stopping));
    });
}

FifoWatchdog::~FifoWatchdog() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_stop.notify_all();
    m_thread.join();
}

ChildRun RunChild(const QByteArray& program, const std::vector<QByteArray>& args, int seconds,
                  long long fileSizeLimit) {
    ChildRun run;
    QTemporaryDir dir;
    const QByteArray outPath = QFile::encodeName(dir.filePath(QStringLiteral("out")));
    const QByteArray errPath = QFile::encodeName(dir.filePath(QStringLiteral("err")));
    std::vector<char*> argv{const_cast<char*>(program.constData())};
    for (const QByteArray& arg : args)
        argv.push_back(const_cast<char*>(arg.constData()));
    argv.push_back(nullptr);
    // Made before the fork: the child only calls what is safe there. The
    // sanitizer build cannot cap its address space; it caps its memory.
    QByteArray asanOptions = qgetenv("ASAN_OPTIONS");
    // Freed memory is given back at once, so the peak counts what is in use.
    asanOptions = "ASAN_OPTIONS=" + asanOptions + (asanOptions.isEmpty() ? "" : ":") +
                  "hard_rss_limit_mb=3072:quarantine_size_mb=0";
    // Headless, as in a build machine: no runtime folder either.
    std::vector<char*> envp;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "ASAN_OPTIONS=", 13) != 0 &&
            std::strncmp(*e, "XDG_RUNTIME_DIR=", 16) != 0)
            envp.push_back(*e);
    envp.push_back(asanOptions.data());
    envp.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid == 0) {
        const int out = ::open(outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(out, 1);
        ::dup2(err, 2);
#ifndef TESSAMAR_ASAN
        const rlimit cap{rlim_t(3) << 30, rlim_t(3) << 30}; // 3 GiB of address space
        ::setrlimit(RLIMIT_AS, &cap);
#endif
        if (fileSizeLimit >= 0) {
            ::signal(SIGXFSZ, SIG_DFL);
            const rlimit size{rlim_t(fileSizeLimit), rlim_t(fileSizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &size);
        }
        ::execve(program.constData(), argv.data(), envp.data());
        ::_exit(127);
    }
    if (pid < 0)
        return run;
    int status = 0;
    rusage usage{};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        const pid_t done = ::wait4(pid, &status, WNOHANG, &usage);
        if (done == pid)
            break;
        if (done < 0 && errno != EINTR)
            return run;
        if (std::chrono::steady_clock::now() > deadline && !run.timedOut) {
            run.timedOut = true;
            ::kill(pid, SIGKILL);
        }
        ::usleep(10 * 1000);
    }
    if (WIFEXITED(status))
        run.exitStatus = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        run.signal = WTERMSIG(status);
    run.peakRssKb = usage.ru_maxrss;
    QFile out(QFile::decodeName(outPath)), err(QFile::decodeName(errPath));
    if (out.open(QIODevice::ReadOnly))
        run.out = out.readAll();
    if (err.open(QIODevice::ReadOnly))
        run.err = err.readAll();
    return run;
}
