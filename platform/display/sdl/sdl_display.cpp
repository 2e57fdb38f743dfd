// The sdl display back-end (see sdl_display.h).
#include "platform/display/sdl/sdl_display.h"

#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

#include "platform/display/headless/headless_display.h"
#include "platform/kernel/resource.h"
#include "platform/user/display_backend.h"
#include "platform/user/input.h"
#include "platform/user/inspect.h"
#include "platform/user/winuser.h"

namespace {

// Virtual keys of SDL's key codes on a US keyboard.
int VirtualKeyOf(SDL_Keycode key)
{
    if (key >= SDLK_a && key <= SDLK_z) {
        return 'A' + (key - SDLK_a);
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return '0' + (key - SDLK_0);
    }
    if (key >= SDLK_F1 && key <= SDLK_F12) {
        return VK_F1 + (key - SDLK_F1);
    }
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) {
        return VK_NUMPAD0 + 1 + (key - SDLK_KP_1);
    }
    switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_HOME: return VK_HOME;
    case SDLK_END: return VK_END;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT: return VK_MENU;
    case SDLK_CAPSLOCK: return VK_CAPITAL;
    case SDLK_PAUSE: return VK_PAUSE;
    case SDLK_KP_0: return VK_NUMPAD0;
    case SDLK_KP_MULTIPLY: return VK_MULTIPLY;
    case SDLK_KP_PLUS: return VK_ADD;
    case SDLK_KP_MINUS: return VK_SUBTRACT;
    case SDLK_KP_PERIOD: return VK_DECIMAL;
    case SDLK_KP_DIVIDE: return VK_DIVIDE;
    case SDLK_SEMICOLON: return VK_OEM_1;
    case SDLK_EQUALS: return VK_OEM_PLUS;
    case SDLK_COMMA: return VK_OEM_COMMA;
    case SDLK_MINUS: return VK_OEM_MINUS;
    case SDLK_PERIOD: return VK_OEM_PERIOD;
    case SDLK_SLASH: return VK_OEM_2;
    case SDLK_BACKQUOTE: return VK_OEM_3;
    case SDLK_LEFTBRACKET: return VK_OEM_4;
    case SDLK_BACKSLASH: return VK_OEM_5;
    case SDLK_RIGHTBRACKET: return VK_OEM_6;
    case SDLK_QUOTE: return VK_OEM_7;
    default: return 0;
    }
}

SDL_SystemCursor SystemCursorOf(WORD id)
{
    switch (id) {
    case 32513: return SDL_SYSTEM_CURSOR_IBEAM;
    case 32514: return SDL_SYSTEM_CURSOR_WAIT;
    case 32515: return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case 32642: return SDL_SYSTEM_CURSOR_SIZENWSE;
    case 32643: return SDL_SYSTEM_CURSOR_SIZENESW;
    case 32644: return SDL_SYSTEM_CURSOR_SIZEWE;
    case 32645: return SDL_SYSTEM_CURSOR_SIZENS;
    case 32646: return SDL_SYSTEM_CURSOR_SIZEALL;
    case 32648: return SDL_SYSTEM_CURSOR_NO;
    case 32649: return SDL_SYSTEM_CURSOR_HAND;
    default: return SDL_SYSTEM_CURSOR_ARROW;
    }
}

// The byte of a UTF-8 text as an 8-bit (Latin-1) character; 0 when the
// text is not one such character.
int Latin1Of(const char* utf8)
{
    const auto* b = reinterpret_cast<const unsigned char*>(utf8);
    if (b[0] != 0 && b[0] < 0x80 && b[1] == 0) {
        return b[0];
    }
    if ((b[0] == 0xC2 || b[0] == 0xC3) && (b[1] & 0xC0) == 0x80 && b[2] == 0) {
        return ((b[0] & 0x03) << 6) | (b[1] & 0x3F);
    }
    return 0;
}

class SdlDisplay final : public DisplayBackend {
public:
    ~SdlDisplay() override
    {
        for (auto& [hwnd, shown] : m_windows) {
            SDL_DestroyWindow(shown.window);
        }
        for (auto& [cursor, sdl] : m_cursors) {
            SDL_FreeCursor(sdl);
        }
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    }

    bool Open()
    {
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
        SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
        SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
        // Interrupt and terminate signals keep ending the program as they
        // do without a display; SDL would only queue a quit event for them.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
            std::fprintf(stderr, "sdl display: cannot open the display: %s\n", SDL_GetError());
            return false;
        }
        SDL_StartTextInput();
        return true;
    }

    void Present() override
    {
        std::vector<HWND> tops;
        EnumWindows(
            [](HWND hwnd, LPARAM param) {
                reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&tops));
        // Windows that are gone lose their SDL window.
        for (auto it = m_windows.begin(); it != m_windows.end();) {
            if (IsWindow(it->first) == FALSE) {
                SDL_DestroyWindow(it->second.window);
                it = m_windows.erase(it);
                m_focusMayBeLost = true;
            } else {
                ++it;
            }
        }
        // Bottom first, so that the window on top is raised last.
        for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
            Show(*it);
        }
        RestoreKeyboardFocus();
        UpdateCursor();
    }

    bool WaitForInput(int timeoutMs) override
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
        for (;;) {
            int wait = -1;
            if (timeoutMs >= 0) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now());
                wait = static_cast<int>(std::max<int64_t>(left.count(), 0));
            }
            SDL_Event event;
            if (SDL_WaitEventTimeout(&event, wait == -1 ? 1000 : wait) == 0) {
                if (wait != -1) {
                    return false;
                }
                continue;
            }
            bool injected = Handle(event);
            while (SDL_PollEvent(&event) != 0) {
                injected = Handle(event) || injected;
            }
            if (injected) {
                return true;
            }
            if (m_repaint) {
                m_repaint = false;
                Present();
            }
            if (wait == 0) {
                return false;
            }
        }
    }

    bool WaitUntilShown(HWND hwnd, int timeoutMs)
    {
        Present();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < deadline) {
            auto it = m_windows.find(hwnd);
            if (it != m_windows.end() && it->second.exposed) {
                return true;
            }
            SDL_Event event;
            if (SDL_WaitEventTimeout(&event, 20) != 0) {
                Handle(event);
            }
        }
        return false;
    }

    uint32_t WindowId(HWND hwnd) const
    {
        auto it = m_windows.find(hwnd);
        return it == m_windows.end() ? 0 : SDL_GetWindowID(it->second.window);
    }

    bool ReadShown(HWND hwnd, std::vector<uint32_t>* pixels, int* width, int* height)
    {
        auto it = m_windows.find(hwnd);
        if (it == m_windows.end()) {
            return false;
        }
        SDL_Surface* surface = SDL_GetWindowSurface(it->second.window);
        if (surface == nullptr) {
            return false;
        }
        *width = surface->w;
        *height = surface->h;
        pixels->assign(static_cast<size_t>(surface->w) * surface->h, 0);
        return SDL_ConvertPixels(surface->w, surface->h, surface->format->format, surface->pixels, surface->pitch,
                                 SDL_PIXELFORMAT_ARGB8888, pixels->data(), surface->w * 4) == 0;
    }

private:
    struct Shown {
        SDL_Window* window = nullptr;
        RECT rect{};
        bool visible = false;
        bool exposed = false;
    };

    void Show(HWND hwnd)
    {
        RECT rect{};
        GetWindowRect(hwnd, &rect);
        const int width = rect.right - rect.left;
        const int height = rect.bottom - rect.top;
        const bool visible = IsWindowVisible(hwnd) != FALSE && width > 0 && height > 0;
        auto it = m_windows.find(hwnd);
        if (!visible) {
            if (it != m_windows.end() && it->second.visible) {
                SDL_HideWindow(it->second.window);
                it->second.visible = false;
                it->second.exposed = false;
                m_focusMayBeLost = true;
            }
            return;
        }
        if (it == m_windows.end()) {
            char title[256]{};
            GetWindowTextA(hwnd, title, sizeof(title));
            Uint32 flags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN;
            const auto style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
            const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_EXSTYLE));
            if ((style & WS_POPUP) != 0 && (exStyle & WS_EX_TOOLWINDOW) != 0) {
                flags |= SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR;
            }
            SDL_Window* window = SDL_CreateWindow(title, rect.left, rect.top, width, height, flags);
            if (window == nullptr) {
                return;
            }
            Shown shown;
            shown.window = window;
            shown.rect = rect;
            it = m_windows.emplace(hwnd, shown).first;
            m_byId[SDL_GetWindowID(window)] = hwnd;
        }
        Shown& shown = it->second;
        if (shown.rect.left != rect.left || shown.rect.top != rect.top) {
            SDL_SetWindowPosition(shown.window, rect.left, rect.top);
        }
        if (shown.rect.right - shown.rect.left != width || shown.rect.bottom - shown.rect.top != height) {
            SDL_SetWindowSize(shown.window, width, height);
        }
        shown.rect = rect;
        if (!shown.visible) {
            SDL_ShowWindow(shown.window);
            shown.visible = true;
        }
        if (GetForegroundWindow() == hwnd) {
            SDL_RaiseWindow(shown.window);
        }
        const GdiSurface pixels = GetWindowSurface(hwnd);
        SDL_Surface* target = SDL_GetWindowSurface(shown.window);
        if (pixels.pixels == nullptr || target == nullptr) {
            return;
        }
        const int w = std::min(pixels.width, target->w);
        const int h = std::min(pixels.height, target->h);
        SDL_ConvertPixels(w, h, SDL_PIXELFORMAT_ARGB8888, pixels.pixels, pixels.stride * 4, target->format->format,
                          target->pixels, target->pitch);
        SDL_UpdateWindowSurface(shown.window);
    }

    // An X server without a window manager hands the keyboard to each window
    // SDL shows, and to no window once that one is hidden or gone (a popup
    // menu, a drop-down list): the keys typed next would be lost. So once a
    // window went away the foreground window takes the keyboard back.
    void RestoreKeyboardFocus()
    {
        if (!m_focusMayBeLost) {
            return;
        }
        const auto it = m_windows.find(GetForegroundWindow());
        if (it == m_windows.end() || !it->second.visible) {
            return;
        }
        SDL_SetWindowInputFocus(it->second.window);
        m_focusMayBeLost = false;
    }

    void UpdateCursor()
    {
        HCURSOR cursor = GetCursor();
        if (cursor == m_cursor) {
            return;
        }
        m_cursor = cursor;
        auto it = m_cursors.find(cursor);
        if (it == m_cursors.end()) {
            it = m_cursors.emplace(cursor, MakeCursor(cursor)).first;
        }
        if (it->second != nullptr) {
            SDL_SetCursor(it->second);
        }
        SDL_ShowCursor(cursor != nullptr ? SDL_ENABLE : SDL_DISABLE);
    }

    static SDL_Cursor* MakeCursor(HCURSOR cursor)
    {
        HINSTANCE instance = nullptr;
        WORD id = 0;
        if (!GetCursorSource(cursor, &instance, &id)) {
            return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
        }
        if (instance == nullptr) {
            return SDL_CreateSystemCursor(SystemCursorOf(id));
        }
        auto bytes = FindResourceBytes(instance, kResourceCursor, id);
        auto image = bytes ? DecodeCursor(*bytes) : std::nullopt;
        if (!image) {
            return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
        }
        // The resource rows run bottom-up.
        const int w = image->image.width;
        const int h = image->image.height;
        SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
        if (surface == nullptr) {
            return nullptr;
        }
        for (int y = 0; y < h; ++y) {
            std::memcpy(static_cast<uint8_t*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch,
                        image->image.bgra.data() + static_cast<size_t>(h - 1 - y) * w * 4, static_cast<size_t>(w) * 4);
        }
        SDL_Cursor* made = SDL_CreateColorCursor(surface, image->hotSpotX, image->hotSpotY);
        SDL_FreeSurface(surface);
        return made;
    }

    POINT ScreenPoint(Uint32 windowId, int x, int y) const
    {
        auto it = m_byId.find(windowId);
        if (it == m_byId.end()) {
            return POINT{x, y};
        }
        auto shown = m_windows.find(it->second);
        if (shown == m_windows.end()) {
            return POINT{x, y};
        }
        return POINT{shown->second.rect.left + x, shown->second.rect.top + y};
    }

    static MouseButton ButtonOf(Uint8 button)
    {
        switch (button) {
        case SDL_BUTTON_RIGHT: return MouseButton::Right;
        case SDL_BUTTON_MIDDLE: return MouseButton::Middle;
        default: return MouseButton::Left;
        }
    }

    // Turns an SDL event into input; true when input was injected.
    bool Handle(const SDL_Event& event)
    {
        switch (event.type) {
        case SDL_MOUSEMOTION:
            InjectMouseMove(ScreenPoint(event.motion.windowID, event.motion.x, event.motion.y));
            return true;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (event.button.button != SDL_BUTTON_LEFT && event.button.button != SDL_BUTTON_RIGHT &&
                event.button.button != SDL_BUTTON_MIDDLE) {
                return false;
            }
            InjectMouseMove(ScreenPoint(event.button.windowID, event.button.x, event.button.y));
            InjectMouseButton(ButtonOf(event.button.button),
                              event.type == SDL_MOUSEBUTTONDOWN ? KeyAction::Down : KeyAction::Up);
            return true;
        case SDL_MOUSEWHEEL:
            if (event.wheel.y == 0) {
                return false;
            }
            InjectMouseWheel((event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1) * event.wheel.y * WHEEL_DELTA);
            return true;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const int vk = VirtualKeyOf(event.key.keysym.sym);
            if (vk == 0) {
                return false;
            }
            InjectKey(vk, event.type == SDL_KEYDOWN ? KeyAction::Down : KeyAction::Up);
            return true;
        }
        case SDL_TEXTINPUT: {
            // Keys of the US layout type their own characters; other
            // characters arrive as text only.
            const int c = Latin1Of(event.text.text);
            if (c < 0x80) {
                return false;
            }
            HWND focus = GetFocus();
            if (focus == nullptr) {
                return false;
            }
            PostMessageA(focus, WM_CHAR, static_cast<WPARAM>(c), 1);
            return true;
        }
        case SDL_WINDOWEVENT: {
            auto it = m_byId.find(event.window.windowID);
            if (it == m_byId.end()) {
                return false;
            }
            auto shown = m_windows.find(it->second);
            switch (event.window.event) {
            case SDL_WINDOWEVENT_SHOWN:
            case SDL_WINDOWEVENT_EXPOSED:
                if (shown != m_windows.end()) {
                    shown->second.exposed = true;
                }
                m_repaint = true;
                return false;
            case SDL_WINDOWEVENT_CLOSE:
                PostMessageA(it->second, WM_SYSCOMMAND, SC_CLOSE, 0);
                return true;
            default:
                return false;
            }
        }
        default:
            return false;
        }
    }

    std::map<HWND, Shown> m_windows;
    std::map<Uint32, HWND> m_byId;
    std::map<HCURSOR, SDL_Cursor*> m_cursors;
    HCURSOR m_cursor = nullptr;
    // A window was hidden or went away since the keyboard was last given back.
    bool m_focusMayBeLost = false;
    bool m_repaint = false;
};

std::shared_ptr<SdlDisplay>& Instance()
{
    static std::shared_ptr<SdlDisplay> instance;
    return instance;
}

std::shared_ptr<DisplayBackend> ChooseDisplay()
{
    if (HeadlessDisplayChosen()) {
        return nullptr;
    }
    auto display = std::make_shared<SdlDisplay>();
    if (!display->Open()) {
        return nullptr;
    }
    Instance() = display;
    return display;
}

// The window system asks the environment the first time a loop waits.
const bool kRegistered = [] {
    RegisterDisplayBackendFactory(ChooseDisplay);
    return true;
}();

} // namespace

bool StartSdlDisplay()
{
    (void)kRegistered;
    if (Instance()) {
        return true;
    }
    auto display = std::make_shared<SdlDisplay>();
    if (!display->Open()) {
        return false;
    }
    Instance() = display;
    SetDisplayBackend(display);
    return true;
}

void StopSdlDisplay()
{
    if (Instance()) {
        SetDisplayBackend(nullptr);
        Instance().reset();
    }
}

bool SdlWaitUntilShown(HWND topLevel, int timeoutMs)
{
    return Instance() ? Instance()->WaitUntilShown(topLevel, timeoutMs) : false;
}

uint32_t SdlWindowId(HWND topLevel) { return Instance() ? Instance()->WindowId(topLevel) : 0; }

bool SdlReadShownPixels(HWND topLevel, std::vector<uint32_t>* pixels, int* width, int* height)
{
    return Instance() && pixels != nullptr && width != nullptr && height != nullptr &&
           Instance()->ReadShown(topLevel, pixels, width, height);
}

bool SdlSetClipboardText(const std::string& text)
{
    return Instance() && SDL_SetClipboardText(text.c_str()) == 0;
}

std::string SdlGetClipboardText()
{
    if (!Instance() || SDL_HasClipboardText() == SDL_FALSE) {
        return {};
    }
    char* text = SDL_GetClipboardText();
    std::string out = text != nullptr ? text : "";
    SDL_free(text);
    return out;
}
