// The tab control ("SysTabControl32"): tabs with text, image and data in
// one or more rows at the top (or, with TCS_BOTTOM, the bottom), the
// selected tab, hit-testing, TCM_ADJUSTRECT between the window and its
// display area, and TCN_SELCHANGING/TCN_SELCHANGE on clicks and keys.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/controls/common_control_support.h"

namespace nuvex::controls {
namespace {

constexpr int kPaddingX = 6;       // pixels left and right of a tab's label
constexpr int kPaddingY = 3;       // pixels above and below it
constexpr int kEdge = 2;           // the raised edge around tabs and the display area
constexpr int kSelectedGrow = 2;   // the selected tab stands out by this much
constexpr int kDisplayMargin = 2;  // between the edge and the display area
constexpr int kImageGap = 3;
constexpr LRESULT kWantArrows = 0x0001;

struct Tab {
    std::string text;
    int image = -1;
    LPARAM lParam = 0;
    DWORD state = 0;
};

struct TabControl {
    std::vector<Tab> tabs;
    int selected = -1;
    int focus = -1;
    HIMAGELIST images = nullptr;
    HFONT font = nullptr;
    SIZE fixedSize{0, 0}; // TCM_SETITEMSIZE
    SIZE padding{kPaddingX, kPaddingY};
    int minWidth = -1;
    bool pressed = false;
};

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE)); }

int TabHeight(TabControl& tc)
{
    if (tc.fixedSize.cy > 0) {
        return tc.fixedSize.cy;
    }
    int cy = 0;
    int cx = 0;
    int imageHeight = 0;
    if (tc.images != nullptr && ImageList_GetIconSize(tc.images, &cx, &cy)) {
        imageHeight = cy;
    }
    return std::max(LineHeight(tc.font), imageHeight) + 2 * tc.padding.cy + 1;
}

int TabWidth(HWND hwnd, TabControl& tc, const Tab& tab)
{
    if ((StyleOf(hwnd) & TCS_FIXEDWIDTH) != 0 && tc.fixedSize.cx > 0) {
        return tc.fixedSize.cx;
    }
    int width = TextWidth(tc.font, tab.text) + 2 * tc.padding.cx;
    int cx = 0;
    int cy = 0;
    if (tab.image >= 0 && tc.images != nullptr && ImageList_GetIconSize(tc.images, &cx, &cy)) {
        width += cx + kImageGap;
    }
    return std::max(width, tc.minWidth >= 0 ? tc.minWidth : 0);
}

// The tabs' rectangles (client coordinates) and the number of rows.
struct Layout {
    std::vector<RECT> tabs;
    int rows = 0;
};

Layout LayoutTabs(HWND hwnd, TabControl& tc)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    const bool multiline = (StyleOf(hwnd) & TCS_MULTILINE) != 0;
    const bool bottom = (StyleOf(hwnd) & TCS_BOTTOM) != 0;
    const int height = TabHeight(tc);
    Layout layout;
    layout.rows = tc.tabs.empty() ? 0 : 1;
    int x = kEdge;
    int row = 0;
    std::vector<int> rowOf;
    for (const Tab& tab : tc.tabs) {
        const int width = TabWidth(hwnd, tc, tab);
        if (multiline && x > kEdge && x + width > client.right - kEdge) {
            ++row;
            x = kEdge;
        }
        layout.tabs.push_back(RECT{x, 0, x + width, 0});
        rowOf.push_back(row);
        x += width;
    }
    layout.rows = tc.tabs.empty() ? 0 : row + 1;
    for (size_t i = 0; i < layout.tabs.size(); ++i) {
        // Row 0 touches the display area; further rows stack away from it.
        const int offset = kEdge + (layout.rows - 1 - rowOf[i]) * height;
        if (bottom) {
            layout.tabs[i].top = client.bottom - offset - height;
            layout.tabs[i].bottom = client.bottom - offset;
        } else {
            layout.tabs[i].top = offset;
            layout.tabs[i].bottom = offset + height;
        }
    }
    return layout;
}

// Window rectangle <-> display area.
void AdjustRect(HWND hwnd, TabControl& tc, BOOL larger, RECT* rect)
{
    const Layout layout = LayoutTabs(hwnd, tc);
    const int band = layout.rows * TabHeight(tc) + kEdge;
    const bool bottom = (StyleOf(hwnd) & TCS_BOTTOM) != 0;
    const int inset = kEdge + kDisplayMargin;
    const int sign = larger ? -1 : 1;
    rect->left += sign * inset;
    rect->right -= sign * inset;
    if (bottom) {
        rect->top += sign * inset;
        rect->bottom -= sign * (band + kDisplayMargin);
    } else {
        rect->top += sign * (band + kDisplayMargin);
        rect->bottom -= sign * inset;
    }
}

int HitTest(HWND hwnd, TabControl& tc, TCHITTESTINFO* info)
{
    if (info == nullptr) {
        return -1;
    }
    const Layout layout = LayoutTabs(hwnd, tc);
    for (size_t i = 0; i < layout.tabs.size(); ++i) {
        if (PtInRect(&layout.tabs[i], info->pt)) {
            info->flags = TCHT_ONITEMLABEL;
            int cx = 0;
            int cy = 0;
            if (tc.tabs[i].image >= 0 && tc.images != nullptr && ImageList_GetIconSize(tc.images, &cx, &cy) &&
                info->pt.x < layout.tabs[i].left + tc.padding.cx + cx) {
                info->flags = TCHT_ONITEMICON;
            }
            return static_cast<int>(i);
        }
    }
    info->flags = TCHT_NOWHERE;
    return -1;
}

void Redraw(HWND hwnd) { InvalidateRect(hwnd, nullptr, TRUE); }

// A person's choice of tab `index`: the parent may refuse it.
void ChooseByPerson(HWND hwnd, TabControl& tc, int index)
{
    if (index < 0 || index >= static_cast<int>(tc.tabs.size()) || index == tc.selected) {
        return;
    }
    if (SendSimpleNotify(hwnd, TCN_SELCHANGING) != 0 || !IsWindow(hwnd)) {
        return;
    }
    TabControl* live = StateOf<TabControl>(hwnd);
    if (live == nullptr || index >= static_cast<int>(live->tabs.size())) {
        return;
    }
    live->selected = index;
    live->focus = index;
    Redraw(hwnd);
    SendSimpleNotify(hwnd, TCN_SELCHANGE);
}

void Paint(HWND hwnd, TabControl& tc, HDC dc)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    FillSolidRect(dc, &client, GetSysColor(COLOR_BTNFACE));
    RECT display = client;
    AdjustRect(hwnd, tc, FALSE, &display);
    InflateRect(&display, kDisplayMargin, kDisplayMargin);
    DrawEdge(dc, &display, EDGE_RAISED, BF_RECT);
    const Layout layout = LayoutTabs(hwnd, tc);
    const SelectedObject font(dc, ControlFont(tc.font));
    SetBkMode(dc, TRANSPARENT);
    const bool bottom = (StyleOf(hwnd) & TCS_BOTTOM) != 0;
    for (size_t i = 0; i < layout.tabs.size(); ++i) {
        RECT r = layout.tabs[i];
        if (static_cast<int>(i) == tc.selected) {
            InflateRect(&r, kSelectedGrow, 0);
            if (bottom) {
                r.bottom += kSelectedGrow;
                r.top -= kEdge;
            } else {
                r.top -= kSelectedGrow;
                r.bottom += kEdge;
            }
            FillSolidRect(dc, &r, GetSysColor(COLOR_BTNFACE));
        }
        DrawEdge(dc, &r, EDGE_RAISED, bottom ? (BF_LEFT | BF_RIGHT | BF_BOTTOM) : (BF_LEFT | BF_TOP | BF_RIGHT));
        RECT text = layout.tabs[i];
        text.left += tc.padding.cx;
        int cx = 0;
        int cy = 0;
        if (tc.tabs[i].image >= 0 && tc.images != nullptr && ImageList_GetIconSize(tc.images, &cx, &cy)) {
            ImageList_Draw(tc.images, tc.tabs[i].image, dc, text.left, (text.top + text.bottom - cy) / 2,
                           ILD_TRANSPARENT);
            text.left += cx + kImageGap;
        }
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        DrawTextA(dc, tc.tabs[i].text.c_str(), static_cast<int>(tc.tabs[i].text.size()), &text,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        if (static_cast<int>(i) == tc.focus && GetFocus() == hwnd) {
            RECT focus = layout.tabs[i];
            InflateRect(&focus, -kEdge, -kEdge);
            DrawFocusRect(dc, &focus);
        }
    }
}

bool ApplyItem(Tab& tab, const TCITEMA& item)
{
    if ((item.mask & TCIF_TEXT) != 0) {
        tab.text = item.pszText != nullptr && item.pszText != LPSTR_TEXTCALLBACKA ? item.pszText : "";
    }
    if ((item.mask & TCIF_IMAGE) != 0) {
        tab.image = item.iImage;
    }
    if ((item.mask & TCIF_PARAM) != 0) {
        tab.lParam = item.lParam;
    }
    if ((item.mask & TCIF_STATE) != 0) {
        tab.state = (tab.state & ~item.dwStateMask) | (item.dwState & item.dwStateMask);
    }
    return true;
}

LRESULT HandleTab(HWND hwnd, TabControl& tc, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const int count = static_cast<int>(tc.tabs.size());
    const int index = static_cast<int>(static_cast<intptr_t>(wParam));
    const bool valid = index >= 0 && index < count;
    switch (msg) {
    case TCM_GETITEMCOUNT: return count;
    case TCM_INSERTITEMA: {
        const auto* item = reinterpret_cast<const TCITEMA*>(lParam);
        if (item == nullptr || index < 0) {
            return -1;
        }
        const int at = std::min(index, count);
        Tab tab;
        ApplyItem(tab, *item);
        tc.tabs.insert(tc.tabs.begin() + at, tab);
        if (tc.selected < 0) {
            tc.selected = 0;
            tc.focus = 0;
        } else if (at <= tc.selected) {
            ++tc.selected;
            ++tc.focus;
        }
        Redraw(hwnd);
        return at;
    }
    case TCM_SETITEMA: {
        const auto* item = reinterpret_cast<const TCITEMA*>(lParam);
        if (item == nullptr || !valid) {
            return FALSE;
        }
        ApplyItem(tc.tabs[static_cast<size_t>(index)], *item);
        Redraw(hwnd);
        return TRUE;
    }
    case TCM_GETITEMA: {
        auto* item = reinterpret_cast<TCITEMA*>(lParam);
        if (item == nullptr || !valid) {
            return FALSE;
        }
        const Tab& tab = tc.tabs[static_cast<size_t>(index)];
        if ((item->mask & TCIF_TEXT) != 0) {
            CopyOut(tab.text, item->pszText, item->cchTextMax);
        }
        if ((item->mask & TCIF_IMAGE) != 0) {
            item->iImage = tab.image;
        }
        if ((item->mask & TCIF_PARAM) != 0) {
            item->lParam = tab.lParam;
        }
        if ((item->mask & TCIF_STATE) != 0) {
            item->dwState = tab.state & item->dwStateMask;
        }
        return TRUE;
    }
    case TCM_DELETEITEM:
        if (!valid) {
            return FALSE;
        }
        tc.tabs.erase(tc.tabs.begin() + index);
        if (index == tc.selected) {
            tc.selected = -1;
        } else if (index < tc.selected) {
            --tc.selected;
        }
        if (tc.focus >= static_cast<int>(tc.tabs.size()) || index == tc.focus) {
            tc.focus = tc.selected;
        } else if (index < tc.focus) {
            --tc.focus;
        }
        Redraw(hwnd);
        return TRUE;
    case TCM_DELETEALLITEMS:
        tc.tabs.clear();
        tc.selected = -1;
        tc.focus = -1;
        Redraw(hwnd);
        return TRUE;
    case TCM_GETITEMRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (rect == nullptr || !valid) {
            return FALSE;
        }
        *rect = LayoutTabs(hwnd, tc).tabs[static_cast<size_t>(index)];
        return TRUE;
    }
    case TCM_GETCURSEL: return tc.selected;
    case TCM_SETCURSEL: {
        if (!valid) {
            return -1;
        }
        const int old = tc.selected;
        tc.selected = index;
        tc.focus = index;
        Redraw(hwnd);
        return old;
    }
    case TCM_GETCURFOCUS: return tc.focus;
    case TCM_SETCURFOCUS:
        if (valid) {
            // Without buttons the focus and the selection are one.
            if ((StyleOf(hwnd) & TCS_BUTTONS) == 0) {
                ChooseByPerson(hwnd, tc, index);
            } else {
                tc.focus = index;
                Redraw(hwnd);
            }
        }
        return 0;
    case TCM_HITTEST: return HitTest(hwnd, tc, reinterpret_cast<TCHITTESTINFO*>(lParam));
    case TCM_ADJUSTRECT:
        if (lParam != 0) {
            AdjustRect(hwnd, tc, static_cast<BOOL>(wParam), reinterpret_cast<RECT*>(lParam));
        }
        return 0;
    case TCM_GETIMAGELIST: return reinterpret_cast<LRESULT>(tc.images);
    case TCM_SETIMAGELIST: {
        HIMAGELIST old = std::exchange(tc.images, reinterpret_cast<HIMAGELIST>(lParam));
        Redraw(hwnd);
        return reinterpret_cast<LRESULT>(old);
    }
    case TCM_REMOVEIMAGE:
        if (tc.images != nullptr && ImageList_Remove(tc.images, index)) {
            for (Tab& tab : tc.tabs) {
                if (tab.image == index) {
                    tab.image = -1;
                } else if (tab.image > index) {
                    --tab.image;
                }
            }
            Redraw(hwnd);
        }
        return 0;
    case TCM_SETITEMSIZE: {
        const int oldWidth = TabWidth(hwnd, tc, count > 0 ? tc.tabs.front() : Tab{});
        const int oldHeight = TabHeight(tc);
        tc.fixedSize = SIZE{LOWORD(static_cast<uintptr_t>(lParam)), HIWORD(static_cast<uintptr_t>(lParam))};
        Redraw(hwnd);
        return MAKELRESULT(static_cast<WORD>(oldWidth), static_cast<WORD>(oldHeight));
    }
    case TCM_SETPADDING:
        tc.padding = SIZE{LOWORD(static_cast<uintptr_t>(lParam)), HIWORD(static_cast<uintptr_t>(lParam))};
        Redraw(hwnd);
        return 0;
    case TCM_SETMINTABWIDTH: return std::exchange(tc.minWidth, static_cast<int>(lParam));
    case TCM_GETROWCOUNT: return LayoutTabs(hwnd, tc).rows;
    case TCM_SETITEMEXTRA: return count == 0 ? TRUE : FALSE;
    case TCM_GETTOOLTIPS: return 0;

    case WM_SETFONT:
        tc.font = reinterpret_cast<HFONT>(wParam);
        if (lParam != 0) {
            Redraw(hwnd);
        }
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(tc.font);
    case WM_GETDLGCODE: return kWantArrows;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        TCHITTESTINFO hit{PointOf(lParam), 0};
        const int tab = HitTest(hwnd, tc, &hit);
        if ((StyleOf(hwnd) & TCS_FOCUSNEVER) == 0 && GetFocus() != hwnd) {
            SetFocus(hwnd);
            if (!IsWindow(hwnd)) {
                return 0;
            }
        }
        tc.pressed = true;
        ChooseByPerson(hwnd, tc, tab);
        return 0;
    }
    case WM_LBUTTONUP:
        if (std::exchange(tc.pressed, false)) {
            SendSimpleNotify(hwnd, NM_CLICK);
        }
        return 0;
    case WM_RBUTTONUP: SendSimpleNotify(hwnd, NM_RCLICK); return 0;
    case WM_KEYDOWN: {
        NMTCKEYDOWN key{};
        key.wVKey = static_cast<WORD>(wParam);
        SendNotify(hwnd, TCN_KEYDOWN, &key.hdr);
        if (!IsWindow(hwnd)) {
            return 0;
        }
        if (wParam == VK_LEFT || wParam == VK_RIGHT) {
            const int from = tc.selected < 0 ? 0 : tc.selected;
            ChooseByPerson(hwnd, tc, std::clamp(from + (wParam == VK_LEFT ? -1 : 1), 0, count - 1));
        } else if (wParam == VK_HOME || wParam == VK_END) {
            ChooseByPerson(hwnd, tc, wParam == VK_HOME ? 0 : count - 1);
        }
        return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Redraw(hwnd); return 0;
    case WM_SIZE: Redraw(hwnd); return 0;
    case WM_ERASEBKGND: return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(hwnd, &ps);
        if (dc != nullptr) {
            Paint(hwnd, tc, dc);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

} // namespace

LRESULT TabControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return StatefulProc<TabControl, HandleTab>(hwnd, msg, wParam, lParam);
}

} // namespace nuvex::controls
