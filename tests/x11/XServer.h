#pragma once
// A private X server for tests of input that goes through the platform: Xvfb
// with a window manager (openbox), so windows get frames and focus as on a
// desktop. Both run as children that die with the test program, even when it
// is killed; the destructor stops them.

#include <string>
#include <sys/types.h>

class XServer {
public:
    XServer() = default;
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // Starts Xvfb on a free display and the window manager on it, and sets
    // DISPLAY. False with Error() when either cannot start.
    bool Start();
    void Stop();

    std::string Display() const { return m_display; }
    std::string Error() const { return m_error; }

private:
    bool StartXvfb();
    bool StartWindowManager();
    bool WindowManagerRuns() const;

    pid_t m_xvfb = -1;
    pid_t m_windowManager = -1;
    std::string m_display;
    std::string m_error;
};
