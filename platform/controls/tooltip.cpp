// Tooltips ("tooltips_class32"): tools (a rectangle of a window, or a
// whole window), the mouse messages relayed to the control (or seen by
// subclassing the tool's window), the tip shown after the initial delay on
// the window system's clock, hidden after the auto-pop delay or when the
// mouse leaves, and its text asked for with TTN_NEEDTEXT.
#include <algorithm>
#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/controls/common_control_support.h"
#include "platform/kernel/resource.h"

namespace nuvex::controls {
namespace {

constexpr UINT kDefaultInitialMs = 500;
constexpr UINT kPollMs = 100;               // how often a shown tip checks where the mouse is
constexpr int kBelowCursor = 20;            // the tip's top below the cursor's hot spot
constexpr size_t kClassicTextSize = 80;     // TTM_GETTEXT's buffer when its size is not given
constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kPopTimer = 2;
constexpr UINT_PTR kPollTimer = 3;
// A TTTOOLINFOA of a caller that does not know lParam and lpReserved.
constexpr UINT kSmallestToolInfo = static_cast<UINT>(offsetof(TTTOOLINFOA, lParam));

struct Tool {
    UINT flags = 0;
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    RECT rect{};
    HINSTANCE instance = nullptr;
    std::string text;
    bool callback = false;
    UINT resourceId = 0; // text from the instance's string table when not 0
    LPARAM lParam = 0;
};

struct ToolTip {
    std::vector<Tool> tools;
    bool active = true;
    int current = -1;     // the tool under the mouse
    bool shown = false;
    bool suppressed = false; // a click hid the tip; it waits until the mouse leaves the tool
    UINT initialMs = kDefaultInitialMs;
    UINT reshowMs = kDefaultInitialMs / 5;
    UINT autoPopMs = kDefaultInitialMs * 10;
    int maxWidth = -1;
    COLORREF background = CLR_NONE;
    COLORREF textColour = CLR_NONE;
    RECT margin{2, 2, 2, 2};
    HFONT font = nullptr;
    bool tracking = false;
    POINT trackAt{};
};

// Windows whose mouse messages are relayed to tooltips (TTF_SUBCLASS).
struct Relay {
    WNDPROC previous = nullptr;
    std::vector<HWND> tips;
};
std::unordered_map<HWND, Relay>& Relays()
{
    static std::unordered_map<HWND, Relay> relays;
    return relays;
}

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK; }

LRESULT RelayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto it = Relays().find(hwnd);
    if (it == Relays().end()) {
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    WNDPROC previous = it->second.previous;
    if (IsMouseMessage(msg)) {
        const std::vector<HWND> tips = it->second.tips;
        MSG relayed{hwnd, msg, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
        for (HWND tip : tips) {
            if (IsWindow(tip)) {
                SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
            }
        }
    }
    if (msg == WM_NCDESTROY) {
        Relays().erase(hwnd);
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    }
    return CallWindowProcA(previous, hwnd, msg, wParam, lParam);
}

HWND ToolWindow(const Tool& tool) { return (tool.flags & TTF_IDISHWND) != 0 ? reinterpret_cast<HWND>(tool.id) : tool.hwnd; }

void Subclass(HWND tip, const Tool& tool)
{
    HWND window = ToolWindow(tool);
    if (!IsWindow(window)) {
        return;
    }
    auto [it, added] = Relays().try_emplace(window);
    if (added) {
        it->second.previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RelayProc)));
    }
    if (std::find(it->second.tips.begin(), it->second.tips.end(), tip) == it->second.tips.end()) {
        it->second.tips.push_back(tip);
    }
}

void Unsubclass(HWND tip, HWND window)
{
    auto it = Relays().find(window);
    if (it == Relays().end()) {
        return;
    }
    auto& tips = it->second.tips;
    tips.erase(std::remove(tips.begin(), tips.end(), tip), tips.end());
    if (tips.empty() && GetWindowLongPtrA(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&RelayProc)) {
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(it->second.previous));
        Relays().erase(it);
    }
}

void ReadTool(Tool& tool, const TTTOOLINFOA& info)
{
    tool.flags = info.uFlags;
    tool.hwnd = info.hwnd;
    tool.id = info.uId;
    tool.rect = info.rect;
    tool.instance = info.hinst;
    tool.callback = info.lpszText == LPSTR_TEXTCALLBACKA;
    tool.resourceId = 0;
    tool.text.clear();
    if (!tool.callback && info.lpszText != nullptr) {
        if (info.hinst != nullptr && UserIsIntName(info.lpszText)) {
            tool.resourceId = static_cast<UINT>(reinterpret_cast<uintptr_t>(info.lpszText));
        } else {
            tool.text = info.lpszText;
        }
    }
    tool.lParam = info.cbSize >= sizeof(TTTOOLINFOA) ? info.lParam : 0;
}

void WriteTool(const Tool& tool, TTTOOLINFOA& info)
{
    info.uFlags = tool.flags;
    info.hwnd = tool.hwnd;
    info.uId = tool.id;
    info.rect = tool.rect;
    info.hinst = tool.instance;
    if (tool.callback) {
        info.lpszText = LPSTR_TEXTCALLBACKA;
    }
    if (info.cbSize >= sizeof(TTTOOLINFOA)) {
        info.lParam = tool.lParam;
    }
}

bool SizeAccepted(const TTTOOLINFOA* info)
{
    return info != nullptr && info->cbSize >= kSmallestToolInfo && info->cbSize <= sizeof(TTTOOLINFOA) + 64;
}

int FindTool(const ToolTip& tt, HWND hwnd, UINT_PTR id)
{
    for (size_t i = 0; i < tt.tools.size(); ++i) {
        if (tt.tools[i].hwnd == hwnd && tt.tools[i].id == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// The tool at `pt` of window `hwnd` (client coordinates).
int ToolAt(const ToolTip& tt, HWND hwnd, POINT pt)
{
    for (size_t i = 0; i < tt.tools.size(); ++i) {
        const Tool& tool = tt.tools[i];
        if ((tool.flags & TTF_IDISHWND) != 0) {
            if (reinterpret_cast<HWND>(tool.id) == hwnd) {
                return static_cast<int>(i);
            }
        } else if (tool.hwnd == hwnd && PtInRect(&tool.rect, pt)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Where the cursor is now, as the tool under it.
int ToolUnderCursor(const ToolTip& tt)
{
    POINT screen{};
    GetCursorPos(&screen);
    HWND under = WindowFromPoint(screen);
    if (under == nullptr) {
        return -1;
    }
    POINT client = screen;
    ScreenToClient(under, &client);
    return ToolAt(tt, under, client);
}

std::string TextOf(HWND hwnd, ToolTip& tt, int index)
{
    Tool& tool = tt.tools[static_cast<size_t>(index)];
    if (tool.resourceId != 0) {
        char buffer[512] = {};
        LoadStringA(tool.instance, tool.resourceId, buffer, static_cast<int>(sizeof(buffer)));
        return buffer;
    }
    if (!tool.callback) {
        return tool.text;
    }
    NMTTDISPINFOA nm{};
    nm.hdr.hwndFrom = hwnd;
    nm.hdr.idFrom = tool.id;
    nm.hdr.code = TTN_NEEDTEXTA;
    nm.lpszText = nm.szText;
    nm.uFlags = tool.flags;
    nm.lParam = tool.lParam;
    const HWND target = tool.hwnd;
    SendMessageA(target, WM_NOTIFY, tool.id, reinterpret_cast<LPARAM>(&nm));
    nm.szText[sizeof(nm.szText) - 1] = '\0';
    std::string text;
    if (nm.hinst != nullptr && nm.lpszText != nullptr && UserIsIntName(nm.lpszText)) {
        char buffer[512] = {};
        LoadStringA(nm.hinst, static_cast<UINT>(reinterpret_cast<uintptr_t>(nm.lpszText)), buffer,
                    static_cast<int>(sizeof(buffer)));
        text = buffer;
    } else if (nm.lpszText != nullptr && nm.lpszText != LPSTR_TEXTCALLBACKA && !UserIsIntName(nm.lpszText)) {
        text = nm.lpszText;
    }
    // The handler may have removed the tool or the tip meanwhile.
    ToolTip* live = IsWindow(hwnd) ? StateOf<ToolTip>(hwnd) : nullptr;
    if (live != nullptr && (nm.uFlags & TTF_DI_SETITEM) != 0 && index < static_cast<int>(live->tools.size())) {
        live->tools[static_cast<size_t>(index)].callback = false;
        live->tools[static_cast<size_t>(index)].text = text;
    }
    return text;
}

void Hide(HWND hwnd, ToolTip& tt)
{
    KillTimer(hwnd, kShowTimer);
    KillTimer(hwnd, kPopTimer);
    KillTimer(hwnd, kPollTimer);
    if (!tt.shown) {
        return;
    }
    tt.shown = false;
    ShowWindow(hwnd, SW_HIDE);
    if (tt.current >= 0 && tt.current < static_cast<int>(tt.tools.size())) {
        const Tool& tool = tt.tools[static_cast<size_t>(tt.current)];
        NMHDR header{hwnd, tool.id, TTN_POP};
        SendMessageA(tool.hwnd, WM_NOTIFY, tool.id, reinterpret_cast<LPARAM>(&header));
    }
}

SIZE TipSize(HWND hwnd, ToolTip& tt, const std::string& text)
{
    HDC dc = GetDC(hwnd);
    RECT box{0, 0, tt.maxWidth >= 0 ? tt.maxWidth : 10000, 0};
    {
        const SelectedObject font(dc, ControlFont(tt.font));
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &box,
                  DT_CALCRECT | DT_NOPREFIX | (tt.maxWidth >= 0 ? DT_WORDBREAK : DT_SINGLELINE));
    }
    ReleaseDC(hwnd, dc);
    return SIZE{box.right + tt.margin.left + tt.margin.right + 2, box.bottom + tt.margin.top + tt.margin.bottom + 2};
}

// Shows the tip of the current tool at `at` (screen), when it has text.
void Show(HWND hwnd, ToolTip& tt, POINT at)
{
    if (tt.current < 0 || tt.current >= static_cast<int>(tt.tools.size())) {
        return;
    }
    const int index = tt.current;
    const std::string text = TextOf(hwnd, tt, index);
    if (!IsWindow(hwnd) || StateOf<ToolTip>(hwnd) != &tt || text.empty()) {
        return;
    }
    SetWindowTextA(hwnd, text.c_str());
    const SIZE size = TipSize(hwnd, tt, text);
    const Tool& tool = tt.tools[static_cast<size_t>(index)];
    NMHDR header{hwnd, tool.id, TTN_SHOW};
    const LRESULT placed = SendMessageA(tool.hwnd, WM_NOTIFY, tool.id, reinterpret_cast<LPARAM>(&header));
    if (!IsWindow(hwnd)) {
        return;
    }
    tt.shown = true;
    UINT flags = SWP_NOACTIVATE | SWP_SHOWWINDOW;
    if (placed != 0) {
        flags |= SWP_NOMOVE; // the owner placed the tip itself
    }
    const int x = std::clamp<int>(at.x, 0, std::max(0, GetSystemMetrics(SM_CXSCREEN) - size.cx));
    const int y = std::clamp<int>(at.y, 0, std::max(0, GetSystemMetrics(SM_CYSCREEN) - size.cy));
    SetWindowPos(hwnd, HWND_TOPMOST, x, y, size.cx, size.cy, flags);
    InvalidateRect(hwnd, nullptr, TRUE);
    if (!tt.tracking) {
        SetTimer(hwnd, kPopTimer, tt.autoPopMs, nullptr);
        SetTimer(hwnd, kPollTimer, kPollMs, nullptr);
    }
}

bool OwnerActive(HWND hwnd, const Tool& tool)
{
    if ((GetWindowLongPtrA(hwnd, GWL_STYLE) & TTS_ALWAYSTIP) != 0) {
        return true;
    }
    HWND active = GetActiveWindow();
    return active != nullptr && GetAncestor(ToolWindow(tool), GA_ROOT) == active;
}

void OnShowTimer(HWND hwnd, ToolTip& tt)
{
    KillTimer(hwnd, kShowTimer);
    if (!tt.active || tt.current < 0 || ToolUnderCursor(tt) != tt.current ||
        !OwnerActive(hwnd, tt.tools[static_cast<size_t>(tt.current)])) {
        return;
    }
    POINT at{};
    GetCursorPos(&at);
    at.y += kBelowCursor;
    Show(hwnd, tt, at);
}

void Relay(HWND hwnd, ToolTip& tt, const MSG* msg)
{
    if (msg == nullptr || !tt.active || tt.tracking) {
        return;
    }
    if (msg->message == WM_LBUTTONDOWN || msg->message == WM_RBUTTONDOWN || msg->message == WM_MBUTTONDOWN) {
        Hide(hwnd, tt);
        tt.suppressed = tt.current >= 0;
        return;
    }
    if (msg->message != WM_MOUSEMOVE) {
        return;
    }
    const int tool = ToolAt(tt, msg->hwnd, PointOf(msg->lParam));
    if (tool == tt.current) {
        return;
    }
    const bool wasShown = tt.shown;
    Hide(hwnd, tt);
    if (!IsWindow(hwnd)) {
        return;
    }
    tt.current = tool;
    tt.suppressed = false;
    if (tool >= 0) {
        SetTimer(hwnd, kShowTimer, wasShown ? tt.reshowMs : tt.initialMs, nullptr);
    }
}

void SetDelay(ToolTip& tt, WPARAM which, LPARAM value)
{
    const int ms = static_cast<SHORT>(LOWORD(static_cast<uintptr_t>(value)));
    const UINT chosen = ms < 0 ? kDefaultInitialMs : static_cast<UINT>(ms);
    switch (which) {
    case TTDT_AUTOMATIC:
        tt.initialMs = chosen;
        tt.reshowMs = chosen / 5;
        tt.autoPopMs = chosen * 10;
        break;
    case TTDT_INITIAL: tt.initialMs = chosen; break;
    case TTDT_RESHOW: tt.reshowMs = ms < 0 ? kDefaultInitialMs / 5 : chosen; break;
    case TTDT_AUTOPOP: tt.autoPopMs = ms < 0 ? kDefaultInitialMs * 10 : chosen; break;
    default: break;
    }
}

void Paint(HWND hwnd, ToolTip& tt, HDC dc)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    FillSolidRect(dc, &client, tt.background != CLR_NONE ? tt.background : GetSysColor(COLOR_INFOBK));
    FrameRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    char text[1024] = {};
    GetWindowTextA(hwnd, text, static_cast<int>(sizeof(text)));
    const SelectedObject font(dc, ControlFont(tt.font));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, tt.textColour != CLR_NONE ? tt.textColour : GetSysColor(COLOR_INFOTEXT));
    RECT box{client.left + 1 + tt.margin.left, client.top + 1 + tt.margin.top, client.right - 1 - tt.margin.right,
             client.bottom - 1 - tt.margin.bottom};
    DrawTextA(dc, text, -1, &box, DT_NOPREFIX | (tt.maxWidth >= 0 ? DT_WORDBREAK : DT_SINGLELINE));
}

LRESULT HandleTip(HWND hwnd, ToolTip& tt, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* info = reinterpret_cast<TTTOOLINFOA*>(lParam);
    switch (msg) {
    case TTM_ADDTOOLA: {
        if (!SizeAccepted(info)) {
            return FALSE;
        }
        Tool tool;
        ReadTool(tool, *info);
        tt.tools.push_back(tool);
        if ((tool.flags & TTF_SUBCLASS) != 0) {
            Subclass(hwnd, tool);
        }
        return TRUE;
    }
    case TTM_DELTOOLA: {
        if (!SizeAccepted(info)) {
            return 0;
        }
        const int index = FindTool(tt, info->hwnd, info->uId);
        if (index < 0) {
            return 0;
        }
        if (index == tt.current) {
            Hide(hwnd, tt);
            tt.current = -1;
        } else if (index < tt.current) {
            --tt.current;
        }
        const Tool gone = tt.tools[static_cast<size_t>(index)];
        tt.tools.erase(tt.tools.begin() + index);
        if ((gone.flags & TTF_SUBCLASS) != 0) {
            Unsubclass(hwnd, ToolWindow(gone));
        }
        return 0;
    }
    case TTM_NEWTOOLRECTA: {
        const int index = SizeAccepted(info) ? FindTool(tt, info->hwnd, info->uId) : -1;
        if (index >= 0) {
            tt.tools[static_cast<size_t>(index)].rect = info->rect;
        }
        return 0;
    }
    case TTM_GETTOOLINFOA: {
        const int index = SizeAccepted(info) ? FindTool(tt, info->hwnd, info->uId) : -1;
        if (index < 0) {
            return FALSE;
        }
        WriteTool(tt.tools[static_cast<size_t>(index)], *info);
        return TRUE;
    }
    case TTM_SETTOOLINFOA: {
        const int index = SizeAccepted(info) ? FindTool(tt, info->hwnd, info->uId) : -1;
        if (index >= 0) {
            ReadTool(tt.tools[static_cast<size_t>(index)], *info);
        }
        return 0;
    }
    case TTM_UPDATETIPTEXTA: {
        const int index = SizeAccepted(info) ? FindTool(tt, info->hwnd, info->uId) : -1;
        if (index >= 0) {
            Tool& tool = tt.tools[static_cast<size_t>(index)];
            tool.callback = info->lpszText == LPSTR_TEXTCALLBACKA;
            tool.resourceId = 0;
            tool.text.clear();
            if (!tool.callback && info->lpszText != nullptr) {
                if (info->hinst != nullptr && UserIsIntName(info->lpszText)) {
                    tool.instance = info->hinst;
                    tool.resourceId = static_cast<UINT>(reinterpret_cast<uintptr_t>(info->lpszText));
                } else {
                    tool.text = info->lpszText;
                }
            }
            if (tt.shown && index == tt.current) {
                const std::string text = TextOf(hwnd, tt, index);
                if (IsWindow(hwnd)) {
                    SetWindowTextA(hwnd, text.c_str());
                    InvalidateRect(hwnd, nullptr, TRUE);
                }
            }
        }
        return 0;
    }
    case TTM_GETTEXTA: {
        const int index = SizeAccepted(info) ? FindTool(tt, info->hwnd, info->uId) : -1;
        if (index < 0 || info->lpszText == nullptr || info->lpszText == LPSTR_TEXTCALLBACKA) {
            return 0;
        }
        // The caller's buffer holds wParam characters, or the classic 80.
        const size_t size = wParam != 0 ? wParam : kClassicTextSize;
        const std::string text = TextOf(hwnd, tt, index);
        return CopyOut(text, info->lpszText, static_cast<int>(std::min<size_t>(size, 0x7FFFFFFF)));
    }
    case TTM_GETTOOLCOUNT: return static_cast<LRESULT>(tt.tools.size());
    case TTM_ENUMTOOLSA: {
        if (!SizeAccepted(info) || wParam >= tt.tools.size()) {
            return FALSE;
        }
        WriteTool(tt.tools[wParam], *info);
        return TRUE;
    }
    case TTM_GETCURRENTTOOLA:
        if (!tt.shown || tt.current < 0) {
            return FALSE;
        }
        if (SizeAccepted(info)) {
            WriteTool(tt.tools[static_cast<size_t>(tt.current)], *info);
        }
        return TRUE;
    case TTM_HITTESTA: {
        auto* hit = reinterpret_cast<TTHITTESTINFOA*>(lParam);
        if (hit == nullptr) {
            return FALSE;
        }
        const int index = ToolAt(tt, hit->hwnd, hit->pt);
        if (index < 0) {
            return FALSE;
        }
        if (SizeAccepted(&hit->ti)) {
            WriteTool(tt.tools[static_cast<size_t>(index)], hit->ti);
        }
        return TRUE;
    }
    case TTM_WINDOWFROMPOINT: {
        const auto* pt = reinterpret_cast<const POINT*>(lParam);
        return pt == nullptr ? 0 : reinterpret_cast<LRESULT>(WindowFromPoint(*pt));
    }
    case TTM_RELAYEVENT: Relay(hwnd, tt, reinterpret_cast<const MSG*>(lParam)); return 0;
    case TTM_ACTIVATE:
        tt.active = wParam != 0;
        if (!tt.active) {
            Hide(hwnd, tt);
        }
        return 0;
    case TTM_SETDELAYTIME: SetDelay(tt, wParam, lParam); return 0;
    case TTM_GETDELAYTIME:
        switch (wParam) {
        case TTDT_INITIAL:
        case TTDT_AUTOMATIC: return tt.initialMs;
        case TTDT_RESHOW: return tt.reshowMs;
        case TTDT_AUTOPOP: return tt.autoPopMs;
        default: return -1;
        }
    case TTM_SETTIPBKCOLOR: tt.background = static_cast<COLORREF>(wParam); return 0;
    case TTM_SETTIPTEXTCOLOR: tt.textColour = static_cast<COLORREF>(wParam); return 0;
    case TTM_GETTIPBKCOLOR: return tt.background != CLR_NONE ? tt.background : GetSysColor(COLOR_INFOBK);
    case TTM_GETTIPTEXTCOLOR: return tt.textColour != CLR_NONE ? tt.textColour : GetSysColor(COLOR_INFOTEXT);
    case TTM_SETMAXTIPWIDTH: return std::exchange(tt.maxWidth, static_cast<int>(lParam));
    case TTM_GETMAXTIPWIDTH: return tt.maxWidth;
    case TTM_SETMARGIN:
        if (lParam != 0) {
            tt.margin = *reinterpret_cast<const RECT*>(lParam);
        }
        return 0;
    case TTM_GETMARGIN:
        if (lParam != 0) {
            *reinterpret_cast<RECT*>(lParam) = tt.margin;
        }
        return 0;
    case TTM_POP: Hide(hwnd, tt); return 0;
    case TTM_UPDATE:
        if (tt.shown) {
            InvalidateRect(hwnd, nullptr, TRUE);
        }
        return 0;
    case TTM_TRACKACTIVATE: {
        if (wParam == 0) {
            Hide(hwnd, tt);
            tt.tracking = false;
            return 0;
        }
        const int index = SizeAccepted(info) ? FindTool(tt, info->hwnd, info->uId) : -1;
        if (index >= 0) {
            Hide(hwnd, tt);
            tt.current = index;
            tt.tracking = true;
            Show(hwnd, tt, tt.trackAt);
        }
        return 0;
    }
    case TTM_TRACKPOSITION:
        tt.trackAt = PointOf(lParam);
        if (tt.tracking && tt.shown) {
            SetWindowPos(hwnd, nullptr, tt.trackAt.x, tt.trackAt.y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return 0;

    case WM_TIMER:
        if (wParam == kShowTimer) {
            OnShowTimer(hwnd, tt);
        } else if (wParam == kPopTimer) {
            Hide(hwnd, tt);
            if (IsWindow(hwnd)) {
                tt.suppressed = true;
            }
        } else if (wParam == kPollTimer) {
            if (ToolUnderCursor(tt) != tt.current) {
                Hide(hwnd, tt);
                if (IsWindow(hwnd)) {
                    tt.current = -1;
                }
            }
        }
        return 0;
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_SETFONT: tt.font = reinterpret_cast<HFONT>(wParam); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(tt.font);
    case WM_ERASEBKGND: return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(hwnd, &ps);
        if (dc != nullptr) {
            Paint(hwnd, tt, dc);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        for (const Tool& tool : tt.tools) {
            if ((tool.flags & TTF_SUBCLASS) != 0) {
                Unsubclass(hwnd, ToolWindow(tool));
            }
        }
        return 0;
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace

LRESULT ToolTipProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        // A tip is a top-level window that never takes the activation.
        SetWindowLongPtrA(hwnd, GWL_EXSTYLE, GetWindowLongPtrA(hwnd, GWL_EXSTYLE) | WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    }
    return StatefulProc<ToolTip, HandleTip>(hwnd, msg, wParam, lParam);
}

} // namespace nuvex::controls
