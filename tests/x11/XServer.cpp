#include "XServer.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {
constexpr int kStartSeconds = 15;

// Runs `argv` as a child that is killed when this process ends; `keepFd` stays
// open in the child. -1 when it cannot be started.
pid_t Spawn(const std::vector<std::string>& args, int keepFd = -1) {
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) // the parent died before prctl took effect
        _exit(127);
    // Quiet: the test's own output stays readable.
    const int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        if (null != keepFd)
            close(null);
    }
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}

void StopChild(pid_t& pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 50; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            pid = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    pid = -1;
}

bool Exited(pid_t pid) {
    return waitpid(pid, nullptr, WNOHANG) == pid;
}
} // namespace

XServer::~XServer() {
    Stop();
}

bool XServer::Start() {
    if (!StartXvfb())
        return false;
    setenv("DISPLAY", m_display.c_str(), 1);
    return StartWindowManager();
}

void XServer::Stop() {
    StopChild(m_windowManager);
    StopChild(m_xvfb);
}

bool XServer::StartXvfb() {
    // Xvfb picks a free display and writes its number to the pipe.
    int fds[2];
    if (pipe(fds) != 0) {
        m_error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    m_xvfb = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x1024x24",
                    "-nolisten", "tcp", "-noreset"},
                   fds[1]);
    close(fds[1]);
    std::string number;
    pollfd wait{fds[0], POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kStartSeconds);
    while (std::chrono::steady_clock::now() < deadline && number.find('\n') == std::string::npos) {
        if (poll(&wait, 1, 100) <= 0)
            continue;
        char buffer[16];
        const ssize_t got = read(fds[0], buffer, sizeof buffer);
        if (got <= 0)
            break; // Xvfb ended without a display
        number.append(buffer, static_cast<size_t>(got));
    }
    close(fds[0]);
    if (m_xvfb < 0 || number.find('\n') == std::string::npos) {
        m_error = "Xvfb did not start (is the package xvfb installed?)";
        Stop();
        return false;
    }
    m_display = ":" + number.substr(0, number.find('\n'));
    return true;
}

bool XServer::StartWindowManager() {
    m_windowManager = Spawn({"openbox", "--sm-disable"});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kStartSeconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (m_windowManager < 0 || Exited(m_windowManager)) {
            m_windowManager = -1;
            break;
        }
        if (WindowManagerRuns())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    m_error = "the window manager did not start (is the package openbox installed?)";
    Stop();
    return false;
}

bool XServer::WindowManagerRuns() const {
    // An EWMH window manager names its check window on the root window.
    ::Display* display = XOpenDisplay(m_display.c_str());
    if (!display)
        return false;
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    bool runs = false;
    if (check != None) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW,
                               &type, &format, &count, &after, &data) == Success) {
            runs = type == XA_WINDOW && count == 1;
            if (data)
                XFree(data);
        }
    }
    XCloseDisplay(display);
    return runs;
}
