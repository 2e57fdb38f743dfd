// The US keyboard layout (virtual keys, scan codes, names) and accelerator
// tables.
#include "platform/user/keyboard.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/user/menu.h"
#include "platform/user/window_system.h"

namespace nuvex::user {
namespace {

struct KeyRow {
    int vk;
    int scan;
    const char* name;
};

// Keys that are not letters or digits; letters and digits follow their rows.
constexpr KeyRow kKeys[] = {
    {VK_ESCAPE, 1, "Esc"},         {VK_OEM_MINUS, 12, "-"},    {VK_OEM_PLUS, 13, "="},
    {VK_BACK, 14, "Backspace"},    {VK_TAB, 15, "Tab"},        {VK_OEM_4, 26, "["},
    {VK_OEM_6, 27, "]"},           {VK_RETURN, 28, "Enter"},   {VK_CONTROL, 29, "Ctrl"},
    {VK_OEM_1, 39, ";"},           {VK_OEM_7, 40, "'"},        {VK_OEM_3, 41, "`"},
    {VK_SHIFT, 42, "Shift"},       {VK_OEM_5, 43, "\\"},       {VK_OEM_COMMA, 51, ","},
    {VK_OEM_PERIOD, 52, "."},      {VK_OEM_2, 53, "/"},        {VK_MULTIPLY, 55, "Num *"},
    {VK_MENU, 56, "Alt"},          {VK_SPACE, 57, "Space"},    {VK_CAPITAL, 58, "Caps Lock"},
    {VK_NUMLOCK, 69, "Num Lock"},  {VK_SCROLL, 70, "Scroll Lock"}, {VK_HOME, 71, "Home"},
    {VK_UP, 72, "Up"},             {VK_PRIOR, 73, "Page Up"},  {VK_SUBTRACT, 74, "Num -"},
    {VK_LEFT, 75, "Left"},         {VK_RIGHT, 77, "Right"},    {VK_ADD, 78, "Num +"},
    {VK_END, 79, "End"},           {VK_DOWN, 80, "Down"},      {VK_NEXT, 81, "Page Down"},
    {VK_INSERT, 82, "Insert"},     {VK_DELETE, 83, "Delete"},  {0x7A, 87, "F11"},
    {VK_F12, 88, "F12"},
};

const char* const kLetterRows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
constexpr int kRowStart[] = {16, 30, 44};

std::string NameOfScan(int scan)
{
    for (const KeyRow& row : kKeys) {
        if (row.scan == scan) {
            return row.name;
        }
    }
    if (scan >= 2 && scan <= 11) {
        return std::string(1, scan == 11 ? '0' : static_cast<char>('1' + scan - 2));
    }
    if (scan >= 59 && scan <= 68) {
        return std::string("F").append(std::to_string(scan - 58));
    }
    for (int row = 0; row < 3; ++row) {
        const int length = static_cast<int>(std::strlen(kLetterRows[row]));
        if (scan >= kRowStart[row] && scan < kRowStart[row] + length) {
            return std::string(1, kLetterRows[row][scan - kRowStart[row]]);
        }
    }
    return {};
}

int VirtualKeyOfScan(int scan)
{
    for (int vk = 1; vk < 256; ++vk) {
        if (ScanCodeOf(vk) == scan) {
            return vk;
        }
    }
    return 0;
}

struct AcceleratorTable {
    std::vector<ACCEL> entries;
};

std::map<uintptr_t, std::unique_ptr<AcceleratorTable>>& Tables()
{
    // Accelerator tables belong to the modules that load them, not to one
    // window system, so they outlive ResetWindowSystem.
    static std::map<uintptr_t, std::unique_ptr<AcceleratorTable>> tables;
    return tables;
}
uintptr_t g_nextTable = 0xACC0010;

AcceleratorTable* FindTable(HACCEL table)
{
    auto& tables = Tables();
    auto it = tables.find(reinterpret_cast<uintptr_t>(table));
    return it == tables.end() ? nullptr : it->second.get();
}

bool Down(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

} // namespace

int ScanCodeOf(int vk)
{
    if (vk >= 'A' && vk <= 'Z') {
        for (int row = 0; row < 3; ++row) {
            if (const char* at = std::strchr(kLetterRows[row], vk)) {
                return kRowStart[row] + static_cast<int>(at - kLetterRows[row]);
            }
        }
    }
    if (vk >= '1' && vk <= '9') {
        return 2 + (vk - '1');
    }
    if (vk == '0') {
        return 11;
    }
    if (vk >= VK_F1 && vk <= VK_F10) {
        return 59 + (vk - VK_F1);
    }
    for (const KeyRow& row : kKeys) {
        if (row.vk == vk) {
            return row.scan;
        }
    }
    return 0;
}

} // namespace nuvex::user

using namespace nuvex::user;

UINT MapVirtualKeyA(UINT code, UINT mapType)
{
    switch (mapType) {
    case MAPVK_VK_TO_VSC: return static_cast<UINT>(ScanCodeOf(static_cast<int>(code)));
    case MAPVK_VSC_TO_VK: return static_cast<UINT>(VirtualKeyOfScan(static_cast<int>(code)));
    case MAPVK_VK_TO_CHAR: {
        const int vk = static_cast<int>(code);
        if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9') || vk == VK_SPACE) {
            return static_cast<UINT>(vk);
        }
        const std::string name = NameOfScan(ScanCodeOf(vk));
        return name.size() == 1 ? static_cast<UINT>(static_cast<unsigned char>(name[0])) : 0u;
    }
    default: return 0;
    }
}

int GetKeyNameTextA(LONG lParam, LPSTR buffer, int size)
{
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    const std::string name = NameOfScan((lParam >> 16) & 0xFF);
    const int n = std::min(static_cast<int>(name.size()), size - 1);
    std::memcpy(buffer, name.data(), static_cast<size_t>(n));
    buffer[n] = '\0';
    return n;
}

HACCEL CreateAcceleratorTableA(const ACCEL* entries, int count)
{
    if (entries == nullptr || count <= 0) {
        return nullptr;
    }
    auto table = std::make_unique<AcceleratorTable>();
    table->entries.assign(entries, entries + count);
    const uintptr_t handle = g_nextTable;
    g_nextTable += 4;
    Tables()[handle] = std::move(table);
    return reinterpret_cast<HACCEL>(handle);
}

BOOL DestroyAcceleratorTable(HACCEL table) { return Tables().erase(reinterpret_cast<uintptr_t>(table)) != 0 ? TRUE : FALSE; }

int CopyAcceleratorTableA(HACCEL table, ACCEL* out, int count)
{
    AcceleratorTable* t = FindTable(table);
    if (t == nullptr) {
        return 0;
    }
    const int size = static_cast<int>(t->entries.size());
    if (out == nullptr) {
        return size;
    }
    const int n = std::clamp(count, 0, size);
    std::copy_n(t->entries.begin(), n, out);
    return n;
}

int TranslateAcceleratorA(HWND hwnd, HACCEL table, MSG* msg)
{
    AcceleratorTable* t = FindTable(table);
    if (t == nullptr || msg == nullptr || W(hwnd) == nullptr) {
        return 0;
    }
    const UINT m = msg->message;
    const bool keyDown = m == WM_KEYDOWN || m == WM_SYSKEYDOWN;
    const bool character = m == WM_CHAR || m == WM_SYSCHAR;
    if (!keyDown && !character) {
        return 0;
    }
    const bool shift = Down(VK_SHIFT);
    const bool control = Down(VK_CONTROL);
    const bool alt = Down(VK_MENU);
    for (const ACCEL& entry : t->entries) {
        const bool virtualKey = (entry.fVirt & FVIRTKEY) != 0;
        if (virtualKey != keyDown || entry.key != (msg->wParam & 0xFFFF)) {
            continue;
        }
        if (virtualKey && (((entry.fVirt & FSHIFT) != 0) != shift || ((entry.fVirt & FCONTROL) != 0) != control)) {
            continue;
        }
        if (((entry.fVirt & FALT) != 0) != alt) {
            continue;
        }
        // A command grayed in the window's menu is swallowed.
        if (HMENU menu = GetMenu(hwnd)) {
            Send(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
            const UINT state = GetMenuState(menu, entry.cmd, MF_BYCOMMAND);
            if (state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) != 0) {
                return 1;
            }
        }
        Send(hwnd, WM_COMMAND, MAKEWPARAM(entry.cmd, 1), 0);
        return 1;
    }
    return 0;
}
