// Keyboard layout, accelerator tables and the key helpers: virtual keys,
// scan codes and key names of a US keyboard.
#pragma once

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/user/winuser.h"

// ACCEL flags.
constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FNOINVERT = 0x02;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

// One accelerator: 6 bytes, as the accelerator resources store them.
struct ACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
};
static_assert(sizeof(ACCEL) == 6);

// Null for no entries.
NUVEX_PLATFORM_API HACCEL CreateAcceleratorTableA(const ACCEL* entries, int count);
NUVEX_PLATFORM_API BOOL DestroyAcceleratorTable(HACCEL table);
// With a null `out`, the number of entries; else copies up to `count`
// entries and returns how many it copied.
NUVEX_PLATFORM_API int CopyAcceleratorTableA(HACCEL table, ACCEL* out, int count);
// When `msg` (a key-down or character message) matches an entry, sends
// WM_COMMAND (id, 1) to `hwnd` and returns non-zero; a command that is
// grayed in the window's menu is swallowed without WM_COMMAND.
NUVEX_PLATFORM_API int TranslateAcceleratorA(HWND hwnd, HACCEL table, MSG* msg);

constexpr UINT MAPVK_VK_TO_VSC = 0;
constexpr UINT MAPVK_VSC_TO_VK = 1;
constexpr UINT MAPVK_VK_TO_CHAR = 2;
// Scan code of a key, key of a scan code, or the character a key types
// unshifted (letters in upper case); 0 when there is none.
NUVEX_PLATFORM_API UINT MapVirtualKeyA(UINT code, UINT mapType);
// The key's name ("Ctrl", "F3", "A", "Page Up", ...) from the scan code in
// bits 16-23 of a key message's lParam; returns the characters copied.
NUVEX_PLATFORM_API int GetKeyNameTextA(LONG lParam, LPSTR buffer, int size);

namespace nuvex::user {
int ScanCodeOf(int virtualKey);
} // namespace nuvex::user
