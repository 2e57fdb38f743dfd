// The "Static" class: text with its alignments, filled and framed
// rectangles, etched lines, bitmaps, icons and owner-drawn statics.
#include "platform/controls/control_support.h"

namespace nuvex::controls {
namespace {

struct StaticState {
    HFONT font = nullptr;
    HBITMAP bitmap = nullptr;
    HICON icon = nullptr;
};

DWORD TypeOf(HWND hwnd) { return StyleOf(hwnd) & SS_TYPEMASK; }

SIZE IconSize(HICON icon)
{
    SIZE size{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
    ICONINFO info{};
    if (icon != nullptr && GetIconInfo(icon, &info)) {
        BITMAP bm{};
        if (info.hbmColor != nullptr && GetObjectA(info.hbmColor, sizeof(bm), &bm) != 0) {
            size = {bm.bmWidth, bm.bmHeight};
        }
        if (info.hbmColor != nullptr) {
            DeleteObject(info.hbmColor);
        }
        if (info.hbmMask != nullptr) {
            DeleteObject(info.hbmMask);
        }
    }
    return size;
}

SIZE ImageSize(HWND hwnd, StaticState* s)
{
    if (TypeOf(hwnd) == SS_BITMAP && s->bitmap != nullptr) {
        BITMAP bm{};
        GetObjectA(s->bitmap, sizeof(bm), &bm);
        return {bm.bmWidth, bm.bmHeight};
    }
    if (TypeOf(hwnd) == SS_ICON && s->icon != nullptr) {
        return IconSize(s->icon);
    }
    return {0, 0};
}

// An image static takes the size of its image unless it centres it.
void FitToImage(HWND hwnd, StaticState* s)
{
    if ((StyleOf(hwnd) & (SS_CENTERIMAGE | SS_REALSIZEIMAGE)) != 0) {
        return;
    }
    const SIZE size = ImageSize(hwnd, s);
    if (size.cx > 0 && size.cy > 0) {
        SetWindowPos(hwnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

UINT TextFormat(DWORD style)
{
    UINT format = DT_EXPANDTABS;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER: format |= DT_CENTER | DT_WORDBREAK; break;
    case SS_RIGHT: format |= DT_RIGHT | DT_WORDBREAK; break;
    case SS_SIMPLE: format |= DT_LEFT | DT_SINGLELINE; break;
    case SS_LEFTNOWORDWRAP: format |= DT_LEFT; break;
    default: format |= DT_LEFT | DT_WORDBREAK; break;
    }
    if ((style & SS_NOPREFIX) != 0) {
        format |= DT_NOPREFIX;
    }
    if ((style & SS_CENTERIMAGE) != 0) {
        format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
    }
    if ((style & SS_ENDELLIPSIS) != 0) {
        format |= DT_END_ELLIPSIS;
    }
    return format;
}

void Paint(HWND hwnd, StaticState* s, HDC dc)
{
    SavedDC saved(dc);
    RECT rc{};
    GetClientRect(hwnd, &rc);
    const DWORD style = StyleOf(hwnd);
    const DWORD type = style & SS_TYPEMASK;
    SelectObject(dc, DrawingFont(s->font));
    switch (type) {
    case SS_BLACKRECT: FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME)); return;
    case SS_GRAYRECT: FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNSHADOW)); return;
    case SS_WHITERECT: FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNHIGHLIGHT)); return;
    case SS_BLACKFRAME: FrameRect(dc, &rc, GetSysColorBrush(COLOR_WINDOWFRAME)); return;
    case SS_GRAYFRAME: FrameRect(dc, &rc, GetSysColorBrush(COLOR_BTNSHADOW)); return;
    case SS_WHITEFRAME: FrameRect(dc, &rc, GetSysColorBrush(COLOR_BTNHIGHLIGHT)); return;
    case SS_ETCHEDHORZ: DrawEdge(dc, &rc, EDGE_ETCHED, BF_TOP); return;
    case SS_ETCHEDVERT: DrawEdge(dc, &rc, EDGE_ETCHED, BF_LEFT); return;
    case SS_ETCHEDFRAME: DrawEdge(dc, &rc, EDGE_ETCHED, BF_RECT); return;
    case SS_OWNERDRAW:
        SendDrawItem(hwnd, ODT_STATIC, 0, ODA_DRAWENTIRE, IsWindowEnabled(hwnd) ? 0 : ODS_DISABLED, dc, rc, 0);
        return;
    default: break;
    }
    HBRUSH background = ControlColors(hwnd, dc, WM_CTLCOLORSTATIC);
    FillRect(dc, &rc, background);
    if ((style & SS_SUNKEN) != 0) {
        DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    }
    if (type == SS_BITMAP || type == SS_ICON) {
        const SIZE size = ImageSize(hwnd, s);
        int x = rc.left;
        int y = rc.top;
        if ((style & SS_CENTERIMAGE) != 0) {
            x += (Width(rc) - size.cx) / 2;
            y += (Height(rc) - size.cy) / 2;
        }
        if (type == SS_BITMAP && s->bitmap != nullptr) {
            const MemoryDC memory(dc);
            const SelectedObject bitmap(memory.Get(), s->bitmap);
            BitBlt(dc, x, y, size.cx, size.cy, memory.Get(), 0, 0, SRCCOPY);
        } else if (type == SS_ICON && s->icon != nullptr) {
            DrawIconEx(dc, x, y, s->icon, size.cx, size.cy, 0, nullptr, DI_NORMAL);
        }
        return;
    }
    char text[1024] = {};
    const int length = GetWindowTextA(hwnd, text, sizeof(text));
    if (length == 0) {
        return;
    }
    SetBkMode(dc, TRANSPARENT);
    if (!IsWindowEnabled(hwnd)) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }
    DrawTextA(dc, text, length, &rc, TextFormat(style));
}

LRESULT HandleStatic(HWND hwnd, StaticState& state, UINT msg, WPARAM wParam, LPARAM lParam)
{
    StaticState* s = &state;
    if (msg == WM_NCCREATE) {
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    const DWORD type = TypeOf(hwnd);
    switch (msg) {
    case WM_NCDESTROY:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_NCHITTEST:
        // Without SS_NOTIFY a static lets the mouse through to its parent.
        if ((StyleOf(hwnd) & SS_NOTIFY) == 0) {
            return HTTRANSPARENT;
        }
        return HTCLIENT;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintWith(hwnd, wParam, [&](HDC dc) { Paint(hwnd, s, dc); });
    case WM_SETFONT:
        s->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam) != 0) {
            InvalidateRect(hwnd, nullptr, TRUE);
        }
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_SETTEXT: {
        const LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return r;
    }
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        if ((StyleOf(hwnd) & SS_NOTIFY) != 0) {
            NotifyCommand(hwnd, wParam != 0 ? STN_ENABLE : STN_DISABLE);
        }
        return 0;
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_LBUTTONDOWN:
        if ((StyleOf(hwnd) & SS_NOTIFY) != 0) {
            NotifyCommand(hwnd, STN_CLICKED);
        }
        return 0;
    case WM_LBUTTONDBLCLK:
        if ((StyleOf(hwnd) & SS_NOTIFY) != 0) {
            NotifyCommand(hwnd, STN_DBLCLK);
        }
        return 0;
    case STM_GETICON: return reinterpret_cast<LRESULT>(s->icon);
    case STM_SETICON: {
        if (type != SS_ICON) {
            return 0;
        }
        const auto previous = reinterpret_cast<LRESULT>(s->icon);
        s->icon = reinterpret_cast<HICON>(wParam);
        FitToImage(hwnd, s);
        InvalidateRect(hwnd, nullptr, TRUE);
        return previous;
    }
    case STM_GETIMAGE:
        if (wParam == IMAGE_BITMAP) {
            return reinterpret_cast<LRESULT>(s->bitmap);
        }
        if (wParam == IMAGE_ICON) {
            return reinterpret_cast<LRESULT>(s->icon);
        }
        return 0;
    case STM_SETIMAGE: {
        LRESULT previous = 0;
        if (wParam == IMAGE_BITMAP && type == SS_BITMAP) {
            previous = reinterpret_cast<LRESULT>(s->bitmap);
            s->bitmap = reinterpret_cast<HBITMAP>(lParam);
        } else if (wParam == IMAGE_ICON && type == SS_ICON) {
            previous = reinterpret_cast<LRESULT>(s->icon);
            s->icon = reinterpret_cast<HICON>(lParam);
        } else {
            return 0;
        }
        FitToImage(hwnd, s);
        InvalidateRect(hwnd, nullptr, TRUE);
        return previous;
    }
    default: break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

void RegisterStaticClass()
{
    RegisterControlClass("Static", StatefulProc<StaticState, HandleStatic>,
                         CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, nullptr);
}

} // namespace nuvex::controls
