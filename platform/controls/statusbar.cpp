// The status bar ("msctls_statusbar32"): parts with text (left, centred
// and right-aligned pieces split by tabs), borders, icons and owner-drawn
// parts, the simple mode, its place along the bottom of the parent and
// the size grip.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/controls/common_control_support.h"
#include "platform/user/menu.h"

namespace nuvex::controls {
namespace {

constexpr int kBorderHorizontal = 0; // left of the first part
constexpr int kBorderVertical = 2;   // above and below the parts
constexpr int kBorderBetween = 2;    // between parts
constexpr int kTextInset = 3;        // text from a part's left edge
constexpr int kMaxParts = 256;
constexpr int kSizeBottomRight = 8;  // WM_SYSCOMMAND SC_SIZE corner code

struct Part {
    int right = -1; // -1: to the right edge
    std::string text;
    WPARAM type = 0; // SBT_* flags
    LPARAM ownerData = 0;
    HICON icon = nullptr;
    std::string tip;
};

struct StatusBar {
    std::vector<Part> parts{Part{}};
    bool simple = false;
    Part simplePart;
    int minHeight = 0;
    HFONT font = nullptr;
    COLORREF background = CLR_DEFAULT;
    bool placing = false;
};

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)); }

int BarHeight(StatusBar& bar)
{
    return std::max(bar.minHeight, LineHeight(bar.font) + 4) + 2 * kBorderVertical;
}

int GripSize() { return GetSystemMetrics(SM_CXVSCROLL); }

bool ShowsGrip(HWND hwnd)
{
    if ((StyleOf(hwnd) & SBARS_SIZEGRIP) == 0) {
        return false;
    }
    HWND top = GetAncestor(hwnd, GA_ROOT);
    return top == nullptr || !IsZoomed(top);
}

// Follows the parent: the bottom (or top) edge at its full width.
void Place(HWND hwnd, StatusBar& bar)
{
    const DWORD style = StyleOf(hwnd);
    HWND parent = GetParent(hwnd);
    if ((style & CCS_NORESIZE) != 0 || parent == nullptr || bar.placing) {
        return;
    }
    bar.placing = true;
    const int height = BarHeight(bar);
    if ((style & CCS_NOPARENTALIGN) != 0) {
        RECT r{};
        GetWindowRect(hwnd, &r);
        SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        RECT client{};
        GetClientRect(parent, &client);
        const bool top = (style & CCS_BOTTOM) == CCS_TOP;
        SetWindowPos(hwnd, nullptr, 0, top ? 0 : client.bottom - height, client.right, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    bar.placing = false;
}

Part* PartAt(StatusBar& bar, int index)
{
    if (bar.simple && index == static_cast<int>(SB_SIMPLEID)) {
        return &bar.simplePart;
    }
    if (index < 0 || index >= static_cast<int>(bar.parts.size())) {
        return nullptr;
    }
    return &bar.parts[static_cast<size_t>(index)];
}

bool PartRect(HWND hwnd, StatusBar& bar, int index, RECT* out)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    if (bar.simple) {
        *out = RECT{kBorderHorizontal, kBorderVertical, client.right, client.bottom - kBorderVertical};
        return index == 0 || index == static_cast<int>(SB_SIMPLEID);
    }
    if (index < 0 || index >= static_cast<int>(bar.parts.size())) {
        return false;
    }
    int left = kBorderHorizontal;
    for (int i = 0; i <= index; ++i) {
        const int edge = bar.parts[static_cast<size_t>(i)].right;
        const int right = edge < 0 ? client.right : std::max(edge, left);
        if (i == index) {
            *out = RECT{left, kBorderVertical, right, client.bottom - kBorderVertical};
            return true;
        }
        left = right + kBorderBetween;
    }
    return false;
}

LRESULT TextResult(const Part& part)
{
    if ((part.type & SBT_OWNERDRAW) != 0) {
        return part.ownerData;
    }
    return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(std::min<size_t>(part.text.size(), 0xFFFF)),
                                         static_cast<WORD>(part.type)));
}

void Redraw(HWND hwnd) { InvalidateRect(hwnd, nullptr, TRUE); }

void DrawPartText(HDC dc, const std::string& text, RECT box)
{
    // Up to three pieces: left, then centred after a tab, then right after a second.
    std::string pieces[3];
    int piece = 0;
    for (char c : text) {
        if (c == '\t' && piece < 2) {
            ++piece;
        } else {
            pieces[piece] += c;
        }
    }
    const UINT align[3] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    for (int i = 0; i < 3; ++i) {
        if (!pieces[i].empty()) {
            DrawTextA(dc, pieces[i].c_str(), static_cast<int>(pieces[i].size()), &box,
                      align[i] | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
    }
}

void PaintPart(HWND hwnd, StatusBar& bar, HDC dc, const Part& part, int index, RECT r)
{
    if ((part.type & SBT_NOBORDERS) == 0) {
        RECT edge = r;
        DrawEdge(dc, &edge, (part.type & SBT_POPOUT) != 0 ? BDR_RAISEDOUTER : BDR_SUNKENOUTER, BF_RECT);
    }
    if ((part.type & SBT_OWNERDRAW) != 0) {
        DRAWITEMSTRUCT draw{};
        draw.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
        draw.itemID = static_cast<UINT>(index);
        draw.hwndItem = hwnd;
        draw.hDC = dc;
        draw.rcItem = r;
        InflateRect(&draw.rcItem, -1, -1);
        draw.itemData = static_cast<ULONG_PTR>(part.ownerData);
        SendMessageA(GetParent(hwnd), WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
        return;
    }
    RECT box = r;
    box.left += kTextInset;
    box.right -= kTextInset;
    if (part.icon != nullptr) {
        const int size = GetSystemMetrics(SM_CXSMICON);
        DrawIconEx(dc, box.left, (r.top + r.bottom - size) / 2, part.icon, size, size, 0, nullptr, DI_NORMAL);
        box.left += size + 1;
    }
    (void)bar;
    DrawPartText(dc, part.text, box);
}

void Paint(HWND hwnd, StatusBar& bar, HDC dc)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    FillSolidRect(dc, &client, bar.background != CLR_DEFAULT ? bar.background : GetSysColor(COLOR_BTNFACE));
    const SelectedObject font(dc, ControlFont(bar.font));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    if (bar.simple) {
        RECT r{};
        PartRect(hwnd, bar, 0, &r);
        PaintPart(hwnd, bar, dc, bar.simplePart, static_cast<int>(SB_SIMPLEID), r);
    } else {
        for (size_t i = 0; i < bar.parts.size(); ++i) {
            RECT r{};
            if (PartRect(hwnd, bar, static_cast<int>(i), &r)) {
                PaintPart(hwnd, bar, dc, bar.parts[i], static_cast<int>(i), r);
            }
        }
    }
    if (ShowsGrip(hwnd)) {
        // Three diagonal ridges in the bottom-right corner.
        const int size = GripSize();
        HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
        HPEN dark = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
        {
            const SelectedObject pen(dc, dark);
            for (int step = 3; step < size; step += 4) {
                SelectObject(dc, dark);
                MoveToEx(dc, client.right - 1, client.bottom - step - 1, nullptr);
                LineTo(dc, client.right - step - 1, client.bottom - 1);
                SelectObject(dc, light);
                MoveToEx(dc, client.right - 1, client.bottom - step - 2, nullptr);
                LineTo(dc, client.right - step - 2, client.bottom - 1);
            }
        }
        DeleteObject(light);
        DeleteObject(dark);
    }
}

int PartAtPoint(HWND hwnd, StatusBar& bar, POINT pt)
{
    if (bar.simple) {
        return static_cast<int>(SB_SIMPLEID);
    }
    for (size_t i = 0; i < bar.parts.size(); ++i) {
        RECT r{};
        if (PartRect(hwnd, bar, static_cast<int>(i), &r) && pt.x >= r.left && pt.x < r.right) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void NotifyMouse(HWND hwnd, StatusBar& bar, UINT code, LPARAM lParam)
{
    NMMOUSE nm{};
    nm.pt = PointOf(lParam);
    const int part = PartAtPoint(hwnd, bar, nm.pt);
    nm.dwItemSpec = static_cast<DWORD_PTR>(static_cast<intptr_t>(part));
    SendNotify(hwnd, code, &nm.hdr);
}

LRESULT HandleBar(HWND hwnd, StatusBar& bar, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case SB_SETTEXTA: {
        Part* part = PartAt(bar, static_cast<int>(wParam & 0xFF));
        if (part == nullptr) {
            return FALSE;
        }
        part->type = wParam & 0xFF00;
        if ((part->type & SBT_OWNERDRAW) != 0) {
            part->ownerData = lParam;
            part->text.clear();
        } else {
            part->text = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
        }
        Redraw(hwnd);
        return TRUE;
    }
    case SB_GETTEXTA: {
        Part* part = PartAt(bar, static_cast<int>(wParam));
        if (part == nullptr) {
            return 0;
        }
        // The caller sized its buffer by SB_GETTEXTLENGTH.
        if (lParam != 0 && (part->type & SBT_OWNERDRAW) == 0) {
            CopyOut(part->text, reinterpret_cast<LPSTR>(lParam), static_cast<int>(part->text.size()) + 1);
        }
        return TextResult(*part);
    }
    case SB_GETTEXTLENGTHA: {
        Part* part = PartAt(bar, static_cast<int>(wParam));
        return part == nullptr ? 0 : MAKELONG(static_cast<WORD>(part->text.size()), static_cast<WORD>(part->type));
    }
    case SB_SETPARTS: {
        const int count = static_cast<int>(wParam);
        const auto* edges = reinterpret_cast<const int*>(lParam);
        if (count < 1 || count > kMaxParts || edges == nullptr) {
            return FALSE;
        }
        bar.parts.resize(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            bar.parts[static_cast<size_t>(i)].right = edges[i];
        }
        Redraw(hwnd);
        return TRUE;
    }
    case SB_GETPARTS: {
        auto* edges = reinterpret_cast<int*>(lParam);
        const int count = static_cast<int>(bar.parts.size());
        if (edges != nullptr) {
            const int copy = std::min(count, static_cast<int>(std::min<WPARAM>(wParam, kMaxParts)));
            for (int i = 0; i < copy; ++i) {
                edges[i] = bar.parts[static_cast<size_t>(i)].right;
            }
        }
        return count;
    }
    case SB_GETBORDERS: {
        auto* borders = reinterpret_cast<int*>(lParam);
        if (borders == nullptr) {
            return FALSE;
        }
        borders[0] = kBorderHorizontal;
        borders[1] = kBorderVertical;
        borders[2] = kBorderBetween;
        return TRUE;
    }
    case SB_SETMINHEIGHT:
        bar.minHeight = static_cast<int>(wParam);
        return 0;
    case SB_SIMPLE:
        bar.simple = wParam != 0;
        Redraw(hwnd);
        return 0;
    case SB_ISSIMPLE: return bar.simple ? TRUE : FALSE;
    case SB_GETRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        return rect != nullptr && PartRect(hwnd, bar, static_cast<int>(wParam), rect) ? TRUE : FALSE;
    }
    case SB_SETICON: {
        Part* part = static_cast<int>(wParam) == -1 ? &bar.simplePart : PartAt(bar, static_cast<int>(wParam));
        if (part == nullptr) {
            return FALSE;
        }
        part->icon = reinterpret_cast<HICON>(lParam);
        Redraw(hwnd);
        return TRUE;
    }
    case SB_GETICON: {
        Part* part = static_cast<int>(wParam) == -1 ? &bar.simplePart : PartAt(bar, static_cast<int>(wParam));
        return part == nullptr ? 0 : reinterpret_cast<LRESULT>(part->icon);
    }
    case SB_SETTIPTEXTA: {
        Part* part = PartAt(bar, static_cast<int>(wParam));
        if (part != nullptr) {
            part->tip = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
        }
        return 0;
    }
    case SB_GETTIPTEXTA: {
        Part* part = PartAt(bar, LOWORD(wParam));
        if (part != nullptr) {
            CopyOut(part->tip, reinterpret_cast<LPSTR>(lParam), HIWORD(wParam));
        }
        return 0;
    }
    case SB_SETBKCOLOR: {
        const COLORREF old = std::exchange(bar.background, static_cast<COLORREF>(lParam));
        Redraw(hwnd);
        return static_cast<LRESULT>(old);
    }

    case WM_SETTEXT:
        bar.parts.front().text = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
        bar.parts.front().type = 0;
        Redraw(hwnd);
        return TRUE;
    case WM_GETTEXT:
        return CopyOut(bar.parts.front().text, reinterpret_cast<LPSTR>(lParam), static_cast<int>(wParam));
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(bar.parts.front().text.size());
    case WM_SETFONT:
        bar.font = reinterpret_cast<HFONT>(wParam);
        if (lParam != 0) {
            Redraw(hwnd);
        }
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(bar.font);
    case WM_CREATE: Place(hwnd, bar); return 0;
    case WM_SIZE:
        // The parent passes its own WM_SIZE on; the bar follows the parent's edge.
        Place(hwnd, bar);
        Redraw(hwnd);
        return 0;
    case WM_NCHITTEST: {
        if (ShowsGrip(hwnd)) {
            POINT pt = PointOf(lParam);
            ScreenToClient(hwnd, &pt);
            RECT client{};
            GetClientRect(hwnd, &client);
            if (pt.x >= client.right - GripSize() && pt.x < client.right && pt.y >= 0 && pt.y < client.bottom) {
                return HTBOTTOMRIGHT;
            }
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    case WM_NCLBUTTONDOWN:
        if (wParam == static_cast<WPARAM>(HTBOTTOMRIGHT)) {
            // The grip sizes the top-level window, not the bar.
            SendMessageA(GetAncestor(hwnd, GA_ROOT), WM_SYSCOMMAND, SC_SIZE + kSizeBottomRight, lParam);
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_LBUTTONUP: NotifyMouse(hwnd, bar, NM_CLICK, lParam); return 0;
    case WM_LBUTTONDBLCLK: NotifyMouse(hwnd, bar, NM_DBLCLK, lParam); return 0;
    case WM_RBUTTONUP: NotifyMouse(hwnd, bar, NM_RCLICK, lParam); return 0;
    case WM_ERASEBKGND: return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(hwnd, &ps);
        if (dc != nullptr) {
            Paint(hwnd, bar, dc);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace

LRESULT StatusBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return StatefulProc<StatusBar, HandleBar>(hwnd, msg, wParam, lParam);
}

} // namespace nuvex::controls
