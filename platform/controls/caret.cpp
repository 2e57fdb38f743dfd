// The caret: one per process, owned by a window. The controls draw it while
// they paint; these functions keep its owner, size, position and visibility.
#include "platform/controls/control_support.h"

namespace {

struct Caret {
    HWND owner = nullptr;
    int width = 0;
    int height = 0;
    POINT position{};
    int hideCount = 1; // a new caret starts hidden
};

Caret& TheCaret()
{
    static Caret caret;
    return caret;
}

constexpr UINT kCaretBlinkMs = 530;

} // namespace

BOOL CreateCaret(HWND hwnd, HBITMAP, int width, int height)
{
    if (!IsWindow(hwnd)) {
        return FALSE;
    }
    Caret& caret = TheCaret();
    caret = Caret{};
    caret.owner = hwnd;
    caret.width = width > 0 ? width : GetSystemMetrics(SM_CXBORDER);
    caret.height = height > 0 ? height : GetSystemMetrics(SM_CYBORDER);
    return TRUE;
}

BOOL DestroyCaret()
{
    Caret& caret = TheCaret();
    if (caret.owner == nullptr) {
        return FALSE;
    }
    caret = Caret{};
    return TRUE;
}

BOOL SetCaretPos(int x, int y)
{
    Caret& caret = TheCaret();
    if (caret.owner == nullptr) {
        return FALSE;
    }
    caret.position = {x, y};
    return TRUE;
}

BOOL GetCaretPos(POINT* point)
{
    if (point == nullptr) {
        return FALSE;
    }
    *point = TheCaret().position;
    return TRUE;
}

BOOL ShowCaret(HWND hwnd)
{
    Caret& caret = TheCaret();
    if (caret.owner == nullptr || (hwnd != nullptr && hwnd != caret.owner) || caret.hideCount == 0) {
        return FALSE;
    }
    --caret.hideCount;
    return TRUE;
}

BOOL HideCaret(HWND hwnd)
{
    Caret& caret = TheCaret();
    if (caret.owner == nullptr || (hwnd != nullptr && hwnd != caret.owner)) {
        return FALSE;
    }
    ++caret.hideCount;
    return TRUE;
}

UINT GetCaretBlinkTime() { return kCaretBlinkMs; }
