// The MDI client window: it keeps the active child (a window property),
// creates, activates, destroys, maximises, cascades and tiles its children,
// and puts menus on its frame.
#include <vector>

#include "platform/framework/mdi.h"

const char* const kMdiClientClass = "MDIClient";

namespace {

constexpr const char* kActiveProperty = "NuvexMdiActive";
constexpr int kCascadeStep = 20;

HWND ActiveOf(HWND client)
{
    HWND active = static_cast<HWND>(GetPropA(client, kActiveProperty));
    // A child destroyed without the client's knowledge is no longer active.
    if (active != nullptr && (!IsWindow(active) || GetParent(active) != client)) {
        RemovePropA(client, kActiveProperty);
        return nullptr;
    }
    return active;
}

std::vector<HWND> ChildrenOf(HWND client, HWND except = nullptr)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(client, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (child != except) {
            children.push_back(child);
        }
    }
    return children;
}

// Makes `child` the active child: the old one and the new one hear of it
// (wParam: the one losing, lParam: the one gaining activation).
void Activate(HWND client, HWND child)
{
    HWND old = ActiveOf(client);
    if (old == child) {
        return;
    }
    if (child != nullptr) {
        SetPropA(client, kActiveProperty, child);
    } else {
        RemovePropA(client, kActiveProperty);
    }
    if (old != nullptr) {
        SendMessageA(old, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(child));
    }
    if (child != nullptr) {
        SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        SendMessageA(child, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(child));
        if (GetFocus() == nullptr || !IsChild(child, GetFocus())) {
            SetFocus(child);
        }
    }
}

// The child that Ctrl+F6 reaches from `from`: the one just below it in the
// client's order, or for "previous" the bottom one.
HWND Neighbour(HWND client, HWND from, bool previous)
{
    std::vector<HWND> children = ChildrenOf(client);
    if (children.empty()) {
        return nullptr;
    }
    if (previous) {
        return children.back();
    }
    for (size_t i = 0; i < children.size(); ++i) {
        if (children[i] == from) {
            return children[(i + 1) % children.size()];
        }
    }
    return children.front();
}

void Cascade(HWND client)
{
    RECT area{};
    GetClientRect(client, &area);
    std::vector<HWND> children = ChildrenOf(client);
    const int width = (area.right - area.left) * 3 / 4;
    const int height = (area.bottom - area.top) * 3 / 4;
    int offset = 0;
    // Bottom-most first, so the active child ends on top at the far end.
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        ShowWindow(*it, SW_RESTORE);
        SetWindowPos(*it, nullptr, offset, offset, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        offset += kCascadeStep;
    }
}

void Tile(HWND client, UINT flags)
{
    RECT area{};
    GetClientRect(client, &area);
    std::vector<HWND> children = ChildrenOf(client);
    if (children.empty()) {
        return;
    }
    const int count = static_cast<int>(children.size());
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    for (int i = 0; i < count; ++i) {
        ShowWindow(children[static_cast<size_t>(i)], SW_RESTORE);
        if ((flags & MDITILE_HORIZONTAL) != 0) {
            SetWindowPos(children[static_cast<size_t>(i)], nullptr, 0, i * height / count, width, height / count,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        } else {
            SetWindowPos(children[static_cast<size_t>(i)], nullptr, i * width / count, 0, width / count, height,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

LRESULT MdiClientProc(HWND client, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MDICREATE: {
        const auto* create = reinterpret_cast<const MDICREATESTRUCTA*>(lParam);
        if (create == nullptr) {
            return 0;
        }
        HWND child = CreateWindowExA(WS_EX_MDICHILD, create->szClass, create->szTitle,
                                     create->style | WS_CHILD | WS_CLIPSIBLINGS, create->x, create->y, create->cx,
                                     create->cy, client, nullptr, nullptr, reinterpret_cast<LPVOID>(create->lParam));
        if (child != nullptr) {
            ShowWindow(child, SW_SHOW);
            Activate(client, child);
        }
        return reinterpret_cast<LRESULT>(child);
    }
    case WM_MDIDESTROY: {
        HWND child = reinterpret_cast<HWND>(wParam);
        if (child == nullptr || GetParent(child) != client) {
            return 0;
        }
        if (ActiveOf(client) == child) {
            // The next child takes over before this one goes.
            std::vector<HWND> others = ChildrenOf(client, child);
            Activate(client, others.empty() ? nullptr : others.front());
        }
        DestroyWindow(child);
        return 0;
    }
    case WM_MDIACTIVATE: {
        HWND child = reinterpret_cast<HWND>(wParam);
        if (child != nullptr && GetParent(child) == client) {
            Activate(client, child);
        }
        return 0;
    }
    case WM_MDIGETACTIVE: {
        HWND active = ActiveOf(client);
        if (lParam != 0) {
            *reinterpret_cast<BOOL*>(lParam) = active != nullptr && IsZoomed(active) ? TRUE : FALSE;
        }
        return reinterpret_cast<LRESULT>(active);
    }
    case WM_MDINEXT: {
        HWND from = wParam != 0 ? reinterpret_cast<HWND>(wParam) : ActiveOf(client);
        HWND next = Neighbour(client, from, lParam != 0);
        if (next != nullptr && next != from) {
            Activate(client, next);
            // Going forward sends the child that was active to the back.
            if (lParam == 0 && from != nullptr) {
                SetWindowPos(from, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            }
        }
        return 0;
    }
    case WM_MDIMAXIMIZE:
        ShowWindow(reinterpret_cast<HWND>(wParam), SW_MAXIMIZE);
        return 0;
    case WM_MDIRESTORE:
        ShowWindow(reinterpret_cast<HWND>(wParam), SW_RESTORE);
        return 0;
    case WM_MDICASCADE:
        Cascade(client);
        return TRUE;
    case WM_MDITILE:
        Tile(client, static_cast<UINT>(wParam));
        return TRUE;
    case WM_MDIICONARRANGE:
        return 0;
    case WM_MDISETMENU: {
        HWND frame = GetParent(client);
        HMENU old = GetMenu(frame);
        if (wParam != 0 && reinterpret_cast<HMENU>(wParam) != old) {
            SetMenu(frame, reinterpret_cast<HMENU>(wParam));
        }
        return reinterpret_cast<LRESULT>(old);
    }
    case WM_MDIREFRESHMENU:
        DrawMenuBar(GetParent(client));
        return reinterpret_cast<LRESULT>(GetMenu(GetParent(client)));
    case WM_SIZE:
        // A maximised child keeps filling the client as the frame's bars
        // are laid out around it, its borders just outside as when it was
        // maximised.
        for (HWND child : ChildrenOf(client)) {
            if (IsZoomed(child)) {
                const int border = GetSystemMetrics(SM_CXFRAME);
                SetWindowPos(child, nullptr, -border, -border, LOWORD(lParam) + 2 * border,
                             HIWORD(lParam) + 2 * border, SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
        break;
    case WM_SETFOCUS:
        // The client itself takes no keys: the focus goes on to the active
        // child, whose frame hands it to its view.
        if (HWND active = ActiveOf(client); active != nullptr && IsWindowVisible(active)) {
            SetFocus(active);
            return 0;
        }
        break;
    case WM_DESTROY:
        RemovePropA(client, kActiveProperty);
        break;
    default:
        break;
    }
    return DefWindowProcA(client, message, wParam, lParam);
}

} // namespace

void AfxRegisterMdiClientClass()
{
    WNDCLASSA existing{};
    if (GetClassInfoA(nullptr, kMdiClientClass, &existing)) {
        return;
    }
    WNDCLASSA wc{};
    wc.lpfnWndProc = &MdiClientProc;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_APPWORKSPACE);
    wc.lpszClassName = kMdiClientClass;
    RegisterClassA(&wc);
}
