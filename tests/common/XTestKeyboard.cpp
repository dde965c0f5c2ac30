#include "common/XTestKeyboard.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <cstdlib>
#include <vector>

XTestKeyboard::XTestKeyboard() {
    m_display = XOpenDisplay(nullptr);
    int event = 0, error = 0, major = 0, minor = 0;
    if (m_display && !XTestQueryExtension(m_display, &event, &error, &major, &minor)) {
        XCloseDisplay(m_display);
        m_display = nullptr;
    }
}

XTestKeyboard::~XTestKeyboard() {
    if (m_display)
        XCloseDisplay(m_display);
}

bool XTestKeyboard::Chord(const std::vector<KeySymbol>& held, KeySymbol key) {
    if (!m_display)
        return false;
    std::vector<KeyCode> codes;
    for (KeySymbol sym : held)
        codes.push_back(XKeysymToKeycode(m_display, sym));
    const KeyCode code = XKeysymToKeycode(m_display, key);
    for (KeyCode c : codes)
        if (c == 0)
            return false;
    if (code == 0)
        return false;
    for (KeyCode c : codes)
        XTestFakeKeyEvent(m_display, c, True, CurrentTime);
    XTestFakeKeyEvent(m_display, code, True, CurrentTime);
    XTestFakeKeyEvent(m_display, code, False, CurrentTime);
    for (auto c = codes.rbegin(); c != codes.rend(); ++c)
        XTestFakeKeyEvent(m_display, *c, False, CurrentTime);
    XSync(m_display, False);
    return true;
}

bool XTestKeyboard::Click(int x, int y, unsigned button) {
    return MoveTo(x, y) && Button(button, true) && Button(button, false);
}

bool XTestKeyboard::MoveTo(int x, int y) {
    if (!m_display)
        return false;
    XTestFakeMotionEvent(m_display, -1, x, y, CurrentTime);
    XSync(m_display, False);
    return true;
}

bool XTestKeyboard::Button(unsigned button, bool down) {
    if (!m_display)
        return false;
    XTestFakeButtonEvent(m_display, button, down ? True : False, CurrentTime);
    XSync(m_display, False);
    return true;
}
