#include "platform/display/sdl/tests/xserver_support.h"

#include <SDL.h>
#include <dlfcn.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "platform/display/sdl/sdl_display.h"
#include "platform/user/winuser.h"

// The X and SDL libraries keep some allocations until the process ends;
// every test program linking this support is told so here.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions()
{
    return "leak:libX11\nleak:libxcb\nleak:libSDL2\nleak:libdbus\nleak:libXi\nleak:libXcursor\nleak:libXext\n";
}

namespace nuvex::testing {

namespace {

// Time the X server gets to move the pointer before a button changes, so
// the window system sees the move first.
constexpr useconds_t kSettleMicroseconds = 50000;

struct KeyName {
    int virtualKey;
    unsigned long x11;
    SDL_Keycode sdl;
};

// The keys a test can press that are not letters, digits or function keys.
constexpr KeyName kKeys[] = {
    {VK_RETURN, 0xff0d, SDLK_RETURN},   {VK_ESCAPE, 0xff1b, SDLK_ESCAPE},   {VK_TAB, 0xff09, SDLK_TAB},
    {VK_BACK, 0xff08, SDLK_BACKSPACE},  {VK_SPACE, 0x0020, SDLK_SPACE},     {VK_LEFT, 0xff51, SDLK_LEFT},
    {VK_UP, 0xff52, SDLK_UP},           {VK_RIGHT, 0xff53, SDLK_RIGHT},     {VK_DOWN, 0xff54, SDLK_DOWN},
    {VK_HOME, 0xff50, SDLK_HOME},       {VK_END, 0xff57, SDLK_END},         {VK_PRIOR, 0xff55, SDLK_PAGEUP},
    {VK_NEXT, 0xff56, SDLK_PAGEDOWN},   {VK_INSERT, 0xff63, SDLK_INSERT},   {VK_DELETE, 0xffff, SDLK_DELETE},
    {VK_SHIFT, 0xffe1, SDLK_LSHIFT},    {VK_CONTROL, 0xffe3, SDLK_LCTRL},   {VK_MENU, 0xffe9, SDLK_LALT},
    {VK_OEM_PERIOD, 0x002e, SDLK_PERIOD}, {VK_OEM_MINUS, 0x002d, SDLK_MINUS}, {VK_OEM_2, 0x002f, SDLK_SLASH},
};

// A character of a text to type: its key and whether Shift is held (a US
// keyboard's layout).
struct TypedKey {
    int virtualKey = 0;
    bool shift = false;
};

bool KeyOfCharacter(char character, TypedKey* key)
{
    if (character >= 'a' && character <= 'z') {
        *key = {character - 'a' + 'A', false};
    } else if (character >= 'A' && character <= 'Z') {
        *key = {character, true};
    } else if (character >= '0' && character <= '9') {
        *key = {character, false};
    } else if (character == '.') {
        *key = {VK_OEM_PERIOD, false};
    } else if (character == '-') {
        *key = {VK_OEM_MINUS, false};
    } else if (character == '_') {
        *key = {VK_OEM_MINUS, true};
    } else if (character == '/') {
        *key = {VK_OEM_2, false};
    } else if (character == ' ') {
        *key = {VK_SPACE, false};
    } else {
        return false;
    }
    return true;
}

// The X keysym and SDL key code of a virtual key; false when it has none here.
bool KeyOf(int virtualKey, unsigned long* x11, SDL_Keycode* sdl)
{
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        *x11 = static_cast<unsigned long>('a' + (virtualKey - 'A'));
        *sdl = SDLK_a + (virtualKey - 'A');
        return true;
    }
    if (virtualKey >= '0' && virtualKey <= '9') {
        *x11 = static_cast<unsigned long>(virtualKey);
        *sdl = SDLK_0 + (virtualKey - '0');
        return true;
    }
    if (virtualKey >= VK_F1 && virtualKey <= VK_F1 + 11) {
        *x11 = 0xffbe + static_cast<unsigned long>(virtualKey - VK_F1);
        *sdl = SDLK_F1 + (virtualKey - VK_F1);
        return true;
    }
    for (const KeyName& key : kKeys) {
        if (key.virtualKey == virtualKey) {
            *x11 = key.x11;
            *sdl = key.sdl;
            return true;
        }
    }
    return false;
}

POINT WindowPoint(HWND target, POINT screen)
{
    RECT rect{};
    GetWindowRect(target, &rect);
    return POINT{screen.x - rect.left, screen.y - rect.top};
}

} // namespace

std::string FindProgram(const char* name)
{
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos) {
            end = folders.size();
        }
        const std::string candidate = folders.substr(start, end - start) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return {};
}

VirtualServer::VirtualServer(std::string program) : m_program(std::move(program)) {}

VirtualServer::~VirtualServer()
{
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
}

std::string VirtualServer::Start()
{
    int fds[2];
    if (pipe(fds) != 0) {
        return {};
    }
    m_pid = fork();
    if (m_pid == 0) {
        close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        if (freopen("/dev/null", "w", stderr) == nullptr) {
            _exit(127);
        }
        execl(m_program.c_str(), "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    if (m_pid < 0) {
        close(fds[0]);
        return {};
    }
    std::string number;
    pollfd wait{fds[0], POLLIN, 0};
    while (poll(&wait, 1, 10000) > 0) {
        char c = 0;
        if (read(fds[0], &c, 1) != 1 || c == '\n') {
            break;
        }
        number += c;
    }
    close(fds[0]);
    return number.empty() ? std::string() : ":" + number;
}

Pointer::Pointer(const std::string& display)
{
    m_x11 = dlopen("libX11.so.6", RTLD_NOW);
    m_xtst = dlopen("libXtst.so.6", RTLD_NOW);
    if (m_x11 == nullptr || m_xtst == nullptr) {
        return;
    }
    auto open = reinterpret_cast<void* (*)(const char*)>(dlsym(m_x11, "XOpenDisplay"));
    m_flush = reinterpret_cast<int (*)(void*)>(dlsym(m_x11, "XFlush"));
    m_close = reinterpret_cast<int (*)(void*)>(dlsym(m_x11, "XCloseDisplay"));
    m_keycode = reinterpret_cast<unsigned char (*)(void*, unsigned long)>(dlsym(m_x11, "XKeysymToKeycode"));
    m_motion =
        reinterpret_cast<int (*)(void*, int, int, int, unsigned long)>(dlsym(m_xtst, "XTestFakeMotionEvent"));
    m_button = reinterpret_cast<int (*)(void*, unsigned, int, unsigned long)>(dlsym(m_xtst, "XTestFakeButtonEvent"));
    m_key = reinterpret_cast<int (*)(void*, unsigned, int, unsigned long)>(dlsym(m_xtst, "XTestFakeKeyEvent"));
    if (open != nullptr && m_flush != nullptr && m_motion != nullptr && m_button != nullptr) {
        m_display = open(display.c_str());
    }
}

Pointer::~Pointer()
{
    if (m_display != nullptr && m_close != nullptr) {
        m_close(m_display);
    }
}

void Pointer::Flush()
{
    if (m_display != nullptr) {
        m_flush(m_display);
    }
}

void Pointer::Move(HWND target, POINT screen)
{
    if (m_display != nullptr) {
        m_motion(m_display, -1, screen.x, screen.y, 0);
        Flush();
        usleep(kSettleMicroseconds);
        return;
    }
    const POINT at = WindowPoint(target, screen);
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = SdlWindowId(target);
    event.motion.x = at.x;
    event.motion.y = at.y;
    SDL_PushEvent(&event);
}

void Pointer::PushSdlButton(HWND target, POINT screen, int button, bool down)
{
    const POINT at = WindowPoint(target, screen);
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = SdlWindowId(target);
    event.button.button = static_cast<Uint8>(button == 3 ? SDL_BUTTON_RIGHT
                                             : button == 2 ? SDL_BUTTON_MIDDLE
                                                           : SDL_BUTTON_LEFT);
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = at.x;
    event.button.y = at.y;
    SDL_PushEvent(&event);
}

void Pointer::Press(HWND target, POINT screen, int button)
{
    if (m_display != nullptr) {
        m_button(m_display, static_cast<unsigned>(button), 1, 0);
        Flush();
        return;
    }
    PushSdlButton(target, screen, button, true);
}

void Pointer::Release(HWND target, POINT screen, int button)
{
    if (m_display != nullptr) {
        m_button(m_display, static_cast<unsigned>(button), 0, 0);
        Flush();
        return;
    }
    PushSdlButton(target, screen, button, false);
}

void Pointer::Click(HWND target, POINT screen, int button)
{
    Move(target, screen);
    Press(target, screen, button);
    Release(target, screen, button);
}

void Pointer::Wheel(HWND target, POINT screen, int notches)
{
    Move(target, screen);
    if (m_display != nullptr) {
        // The X server's wheel is buttons 4 (up) and 5 (down), one click a notch.
        const unsigned button = notches > 0 ? 4 : 5;
        for (int i = 0; i < std::abs(notches); ++i) {
            m_button(m_display, button, 1, 0);
            m_button(m_display, button, 0, 0);
        }
        Flush();
        return;
    }
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.windowID = SdlWindowId(target);
    event.wheel.y = notches;
    event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    SDL_PushEvent(&event);
}

bool Pointer::SendKey(HWND target, int virtualKey, bool down)
{
    unsigned long keysym = 0;
    SDL_Keycode sdl = 0;
    if (!KeyOf(virtualKey, &keysym, &sdl)) {
        return false;
    }
    if (m_display != nullptr && m_key != nullptr && m_keycode != nullptr) {
        const unsigned char code = m_keycode(m_display, keysym);
        if (code == 0) {
            return false;
        }
        m_key(m_display, code, down ? 1 : 0, 0);
        Flush();
        return true;
    }
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = SdlWindowId(target);
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = sdl;
    event.key.keysym.scancode = SDL_GetScancodeFromKey(sdl);
    SDL_PushEvent(&event);
    return true;
}

bool Pointer::KeyDown(HWND target, int virtualKey) { return SendKey(target, virtualKey, true); }

bool Pointer::KeyUp(HWND target, int virtualKey) { return SendKey(target, virtualKey, false); }

bool Pointer::Key(HWND target, int virtualKey)
{
    return SendKey(target, virtualKey, true) && SendKey(target, virtualKey, false);
}

bool Pointer::Type(HWND target, const std::string& text)
{
    for (char character : text) {
        TypedKey key;
        if (!KeyOfCharacter(character, &key)) {
            return false;
        }
        if (key.shift && !KeyDown(target, VK_SHIFT)) {
            return false;
        }
        const bool typed = Key(target, key.virtualKey);
        if (key.shift) {
            KeyUp(target, VK_SHIFT);
        }
        if (!typed) {
            return false;
        }
    }
    return true;
}

bool PumpMessagesUntil(const std::function<bool()>& done, int milliseconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        MSG msg{};
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            WaitMessage();
        }
    }
    return done();
}

} // namespace nuvex::testing
