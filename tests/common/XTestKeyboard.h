#pragma once
// Key presses and mouse clicks sent through the X server with the XTEST
// extension, so they reach the program exactly as a user's do: keys to the
// focused window, with the modifiers and keypad flags the X server and Qt's
// xcb platform give them; clicks where the pointer is.

#include <vector>

using KeySymbol = unsigned long; // an X KeySym (XK_KP_Add, XK_Control_L...)

class XTestKeyboard {
public:
    XTestKeyboard(); // on $DISPLAY
    ~XTestKeyboard();
    XTestKeyboard(const XTestKeyboard&) = delete;
    XTestKeyboard& operator=(const XTestKeyboard&) = delete;

    bool IsOpen() const { return m_display != nullptr; }
    // Holds `held` down in order, presses and releases `key`, lets `held` go.
    // False when a key has no key code on the server's keyboard.
    bool Chord(const std::vector<KeySymbol>& held, KeySymbol key);
    // Moves the pointer to (x, y) on the screen and clicks `button` (1 left,
    // 2 middle, 3 right) there.
    bool Click(int x, int y, unsigned button);
    // The pointer to (x, y) on the screen; `button` pressed or let go there.
    bool MoveTo(int x, int y);
    bool Button(unsigned button, bool down);

private:
    struct _XDisplay* m_display = nullptr;
};
