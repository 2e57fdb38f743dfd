// Test support for GUI tests on a virtual X server: finding a program on the
// search path, starting Xvfb for the length of a test, and a pointer and
// keyboard that send input through the X server's test extension (or, when
// its library is missing, through SDL's event queue, which the sdl back-end
// reads the same way).
#pragma once

#include <functional>
#include <string>

#include "platform/base/types.h"

namespace nuvex::testing {

// The full path of `name` in one of the folders of PATH; "" when none.
std::string FindProgram(const char* name);

// A virtual X server for the length of a test.
class VirtualServer {
public:
    explicit VirtualServer(std::string program);
    ~VirtualServer();
    VirtualServer(const VirtualServer&) = delete;
    VirtualServer& operator=(const VirtualServer&) = delete;

    // Starts it on a free display (a 1024x768 screen of 24 bits) and
    // returns its name (":N"), or "" when it did not start.
    std::string Start();

private:
    std::string m_program;
    int m_pid = -1;
};

// Mouse and keyboard of a person at the X server. Points are screen points;
// `target` is the top-level window under the point (used only by the SDL
// fallback, which needs the SDL window the event belongs to).
class Pointer {
public:
    explicit Pointer(const std::string& display);
    ~Pointer();
    Pointer(const Pointer&) = delete;
    Pointer& operator=(const Pointer&) = delete;

    // True when the input goes through the X test extension.
    bool ThroughX() const { return m_display != nullptr; }

    void Move(HWND target, POINT screen);
    // `button`: 1 left, 2 middle, 3 right.
    void Press(HWND target, POINT screen, int button = 1);
    void Release(HWND target, POINT screen, int button = 1);
    // Move, press and release.
    void Click(HWND target, POINT screen, int button = 1);
    // Positive `notches` turn the wheel away from the person (up).
    void Wheel(HWND target, POINT screen, int notches);
    // A key of a US keyboard by its virtual-key code ('A'-'Z', '0'-'9',
    // VK_RETURN, VK_ESCAPE, VK_TAB, VK_BACK, VK_SPACE, arrows, VK_HOME,
    // VK_END, VK_PRIOR, VK_NEXT, VK_INSERT, VK_DELETE, VK_SHIFT,
    // VK_CONTROL, VK_MENU, VK_F1-VK_F12); false for any other key.
    bool KeyDown(HWND target, int virtualKey);
    bool KeyUp(HWND target, int virtualKey);
    // Down and up. Also VK_OEM_PERIOD, VK_OEM_MINUS and VK_OEM_2 ("/").
    bool Key(HWND target, int virtualKey);
    // Each character of `text` as a person types it on a US keyboard (Shift
    // for capitals and "_"): letters, digits, ".", "-", "_", "/" and blanks;
    // false at the first other character.
    bool Type(HWND target, const std::string& text);

private:
    void Flush();
    void PushSdlButton(HWND target, POINT screen, int button, bool down);
    bool SendKey(HWND target, int virtualKey, bool down);

    void* m_x11 = nullptr;
    void* m_xtst = nullptr;
    void* m_display = nullptr;
    int (*m_flush)(void*) = nullptr;
    int (*m_close)(void*) = nullptr;
    unsigned char (*m_keycode)(void*, unsigned long) = nullptr;
    int (*m_motion)(void*, int, int, int, unsigned long) = nullptr;
    int (*m_button)(void*, unsigned, int, unsigned long) = nullptr;
    int (*m_key)(void*, unsigned, int, unsigned long) = nullptr;
};

// Runs the message loop until `done` answers true or `milliseconds` have
// passed, waiting for messages in between; answers `done()` at the end.
bool PumpMessagesUntil(const std::function<bool()>& done, int milliseconds);

} // namespace nuvex::testing
