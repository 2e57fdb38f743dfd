// The tree view's mouse and keys: focus, clicks, double clicks, right
// clicks, drags and caret moves, with their notifications in the order a
// person's input produces them.
#include <algorithm>
#include <cstdlib>

#include "platform/controls/tree_model.h"

namespace nuvex::controls::tree {
namespace {

constexpr int kDragDistance = 4; // pixels a pressed mouse moves before a drag starts

POINT ScreenPoint(HWND hwnd, POINT client)
{
    ClientToScreen(hwnd, &client);
    return client;
}

} // namespace

void OnButtonDown(HWND hwnd, Tree& tree, LPARAM lParam, Button button)
{
    const bool right = button == Button::Right;
    tree.editPending = 0;
    KillTimer(hwnd, kEditTimer);
    const bool hadFocus = GetFocus() == hwnd;
    if (GetFocus() != hwnd) {
        SetFocus(hwnd);
        if (!IsWindow(hwnd)) {
            return;
        }
    }
    TVHITTESTINFO hit{PointOf(lParam), 0, nullptr};
    HitTest(hwnd, tree, &hit);
    if (!right && (hit.flags & TVHT_ONITEMBUTTON) != 0) {
        Expand(hwnd, tree, IdOf(hit.hItem), TVE_TOGGLE, By::Person);
        return;
    }
    tree.pressed = (hit.flags & TVHT_ONITEM) != 0 ? IdOf(hit.hItem) : 0;
    tree.pressedWasCaret = hadFocus && tree.pressed != 0 && tree.pressed == tree.caret && (hit.flags & TVHT_ONITEMLABEL) != 0;
    tree.leftDown = !right;
    tree.rightDown = right;
    tree.downAt = hit.pt;
    SetCapture(hwnd);
}

void OnMouseMove(HWND hwnd, Tree& tree, LPARAM lParam)
{
    const POINT pt = PointOf(lParam);
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
    if ((tree.leftDown || tree.rightDown) && tree.pressed != 0 && (style & TVS_DISABLEDRAGDROP) == 0 &&
        (std::abs(pt.x - tree.downAt.x) >= kDragDistance || std::abs(pt.y - tree.downAt.y) >= kDragDistance)) {
        const UINT code = tree.leftDown ? TVN_BEGINDRAGA : TVN_BEGINRDRAGA;
        const uintptr_t item = tree.pressed;
        tree.pressed = 0;
        tree.leftDown = tree.rightDown = false;
        if (GetCapture() == hwnd) {
            ReleaseCapture();
        }
        NotifyTree(hwnd, tree, code, 0, 0, item, tree.downAt);
        return;
    }
    if ((style & TVS_TRACKSELECT) != 0) {
        TVHITTESTINFO hit{pt, 0, nullptr};
        HitTest(hwnd, tree, &hit);
        const uintptr_t hot = (hit.flags & TVHT_ONITEM) != 0 ? IdOf(hit.hItem) : 0;
        if (hot != tree.hot) {
            tree.hot = hot;
            Redraw(hwnd);
        }
    }
}

void OnButtonUp(HWND hwnd, Tree& tree, LPARAM lParam, Button button)
{
    const bool right = button == Button::Right;
    if ((right && !tree.rightDown) || (!right && !tree.leftDown)) {
        return;
    }
    tree.leftDown = tree.rightDown = false;
    const uintptr_t pressed = tree.pressed;
    tree.pressed = 0;
    if (GetCapture() == hwnd) {
        ReleaseCapture();
    }
    const POINT pt = PointOf(lParam);
    if (right) {
        if (SendSimpleNotify(hwnd, NM_RCLICK) == 0 && IsWindow(hwnd)) {
            const POINT screen = ScreenPoint(hwnd, pt);
            SendMessageA(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd),
                         MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
        }
        return;
    }
    if (SendSimpleNotify(hwnd, NM_CLICK) != 0 || !IsWindow(hwnd)) {
        return;
    }
    TVHITTESTINFO hit{pt, 0, nullptr};
    HitTest(hwnd, tree, &hit);
    if (pressed != 0 && (hit.flags & TVHT_ONITEM) != 0 && IdOf(hit.hItem) == pressed) {
        Select(hwnd, tree, pressed, TVC_BYMOUSE);
        // A second click on the label of the item that has the caret edits
        // it, unless a double click follows.
        const auto style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
        if (IsWindow(hwnd) && (style & TVS_EDITLABELS) != 0 && tree.pressedWasCaret && tree.caret == pressed &&
            (hit.flags & TVHT_ONITEMLABEL) != 0) {
            ArmLabelEdit(hwnd, tree, pressed);
        }
    }
}

void OnKeyDown(HWND hwnd, Tree& tree, WPARAM key)
{
    NMTVKEYDOWN nm{};
    nm.wVKey = static_cast<WORD>(key);
    SendNotify(hwnd, TVN_KEYDOWN, &nm.hdr);
    if (!IsWindow(hwnd)) {
        return;
    }
    const std::vector<Row> rows = VisibleRows(tree);
    if (rows.empty()) {
        return;
    }
    const int row = RowOf(rows, tree.caret);
    RECT client{};
    GetClientRect(hwnd, &client);
    const int page = std::max(1, client.bottom / std::max(1, ItemHeight(tree)));
    auto moveTo = [&](int target) {
        target = std::clamp(target, 0, static_cast<int>(rows.size()) - 1);
        Select(hwnd, tree, rows[target].id, TVC_BYKEYBOARD);
    };
    Item* caret = Find(tree, tree.caret);
    switch (key) {
    case VK_UP: moveTo(row < 0 ? 0 : row - 1); break;
    case VK_DOWN: moveTo(row < 0 ? 0 : row + 1); break;
    case VK_HOME: moveTo(0); break;
    case VK_END: moveTo(static_cast<int>(rows.size()) - 1); break;
    case VK_PRIOR: moveTo(row < 0 ? 0 : row - page + 1); break;
    case VK_NEXT: moveTo(row < 0 ? 0 : row + page - 1); break;
    case VK_LEFT:
        if (caret == nullptr) {
            moveTo(0);
        } else if (IsExpanded(*caret) && HasChildren(*caret)) {
            Expand(hwnd, tree, caret->id, TVE_COLLAPSE, By::Person);
        } else if (caret->parent != 0) {
            Select(hwnd, tree, caret->parent, TVC_BYKEYBOARD);
        }
        break;
    case VK_RIGHT:
        if (caret == nullptr) {
            moveTo(0);
        } else if (!IsExpanded(*caret) && HasChildren(*caret)) {
            Expand(hwnd, tree, caret->id, TVE_EXPAND, By::Person);
        } else if (!caret->children.empty()) {
            Select(hwnd, tree, caret->children.front(), TVC_BYKEYBOARD);
        }
        break;
    case VK_ADD:
        if (caret != nullptr) {
            Expand(hwnd, tree, caret->id, TVE_EXPAND, By::Person);
        }
        break;
    case VK_SUBTRACT:
        if (caret != nullptr) {
            Expand(hwnd, tree, caret->id, TVE_COLLAPSE, By::Person);
        }
        break;
    case VK_RETURN: SendSimpleNotify(hwnd, NM_RETURN); break;
    default: break;
    }
}

void OnDoubleClick(HWND hwnd, Tree& tree, LPARAM lParam)
{
    tree.editPending = 0;
    KillTimer(hwnd, kEditTimer);
    if (SendSimpleNotify(hwnd, NM_DBLCLK) != 0 || !IsWindow(hwnd)) {
        return;
    }
    TVHITTESTINFO hit{PointOf(lParam), 0, nullptr};
    HitTest(hwnd, tree, &hit);
    if ((hit.flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON)) != 0) {
        Expand(hwnd, tree, IdOf(hit.hItem), TVE_TOGGLE, By::Person);
    }
}

} // namespace nuvex::controls::tree
