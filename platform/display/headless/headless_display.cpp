// The headless back-end's input helpers and its choice at start-up.
#include "platform/display/headless/headless_display.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/user/inspect.h"
#include "platform/user/winuser.h"

namespace {

constexpr DWORD kDoubleClickPauseMs = 50;

struct KeyStroke {
    int vk = 0;
    bool shift = false;
};

// The key and Shift state that type `c` on a US keyboard; vk 0 for none.
KeyStroke StrokeFor(char c)
{
    const auto u = static_cast<unsigned char>(c);
    if (std::isalpha(u) != 0) {
        return {std::toupper(u), std::isupper(u) != 0};
    }
    if (std::isdigit(u) != 0) {
        return {c, false};
    }
    static const char* const kShiftedDigits = ")!@#$%^&*(";
    if (const char* at = std::strchr(kShiftedDigits, c); at != nullptr && c != '\0') {
        return {'0' + static_cast<int>(at - kShiftedDigits), true};
    }
    struct Row {
        char plain;
        char shifted;
        int vk;
    };
    static constexpr Row kRows[] = {
        {';', ':', VK_OEM_1},  {'=', '+', VK_OEM_PLUS},   {',', '<', VK_OEM_COMMA}, {'-', '_', VK_OEM_MINUS},
        {'.', '>', VK_OEM_PERIOD}, {'/', '?', VK_OEM_2}, {'`', '~', VK_OEM_3},     {'[', '{', VK_OEM_4},
        {'\\', '|', VK_OEM_5}, {']', '}', VK_OEM_6},     {'\'', '"', VK_OEM_7},
    };
    for (const Row& row : kRows) {
        if (c == row.plain) {
            return {row.vk, false};
        }
        if (c == row.shifted) {
            return {row.vk, true};
        }
    }
    switch (c) {
    case ' ': return {VK_SPACE, false};
    case '\n': return {VK_RETURN, false};
    case '\t': return {VK_TAB, false};
    case '\b': return {VK_BACK, false};
    default: return {};
    }
}

} // namespace

bool HeadlessDisplayChosen()
{
    const char* chosen = std::getenv("NUVEX_DISPLAY");
    if (chosen != nullptr && std::strcmp(chosen, "headless") == 0) {
        return true;
    }
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 == nullptr || x11[0] == '\0') && (wayland == nullptr || wayland[0] == '\0');
}

void HeadlessClick(POINT screen, MouseButton button)
{
    InjectMouseMove(screen);
    InjectMouseButton(button, KeyAction::Down);
    InjectMouseButton(button, KeyAction::Up);
}

void HeadlessDoubleClick(POINT screen)
{
    HeadlessClick(screen);
    AdvanceWindowSystemTime(kDoubleClickPauseMs);
    HeadlessClick(screen);
}

void HeadlessDrag(POINT from, POINT to, int steps, MouseButton button)
{
    steps = steps < 1 ? 1 : steps;
    InjectMouseMove(from);
    InjectMouseButton(button, KeyAction::Down);
    for (int i = 1; i <= steps; ++i) {
        InjectMouseMove(POINT{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
    }
    InjectMouseButton(button, KeyAction::Up);
}

void HeadlessPressKeys(std::initializer_list<int> chord)
{
    std::vector<int> keys(chord);
    for (int vk : keys) {
        InjectKey(vk, KeyAction::Down);
    }
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
        InjectKey(*it, KeyAction::Up);
    }
}

void HeadlessTypeText(std::string_view text)
{
    for (char c : text) {
        const KeyStroke stroke = StrokeFor(c);
        if (stroke.vk == 0) {
            continue;
        }
        if (stroke.shift) {
            HeadlessPressKeys({VK_SHIFT, stroke.vk});
        } else {
            HeadlessPressKeys({stroke.vk});
        }
    }
}
