// Window creation and destruction with their message sequences, the long
// values, text, properties and the parent/child/owner relations.
#include <algorithm>
#include <cstring>

#include "platform/user/window_system.h"

namespace nuvex::user {
namespace {

struct STYLESTRUCT {
    DWORD styleOld;
    DWORD styleNew;
};

// Z-order insertion of a new window among its siblings: children go below
// their older siblings (creation order is tab order), top-level windows on
// top of the non-topmost ones.
void InsertNew(Window* parent, Window* w)
{
    auto& list = parent->children;
    if (parent != System().Desktop()) {
        list.push_back(w);
        return;
    }
    auto at = list.begin();
    if ((w->exStyle & WS_EX_TOPMOST) == 0) {
        while (at != list.end() && ((*at)->exStyle & WS_EX_TOPMOST) != 0) {
            ++at;
        }
    }
    list.insert(at, w);
}

void Unlink(Window* w)
{
    if (w->parent != nullptr) {
        auto& list = w->parent->children;
        list.erase(std::remove(list.begin(), list.end(), w), list.end());
    }
}

std::string PropKey(LPCSTR name)
{
    if (UserIsIntName(name)) {
        auto atom = static_cast<ATOM>(reinterpret_cast<uintptr_t>(name));
        if (atom >= 0xC000) {
            auto& atoms = System().atoms;
            auto it = atoms.find(atom);
            return it != atoms.end() ? Lower(it->second.name) : std::string("#atom").append(std::to_string(atom));
        }
        return std::string("#").append(std::to_string(atom));
    }
    return Lower(name);
}

// WM_DESTROY to the window, then to its children, parent first.
void SendDestroy(HWND hwnd)
{
    Window* w = W(hwnd);
    if (w == nullptr) {
        return;
    }
    w->destroying = true;
    Send(hwnd, WM_DESTROY, 0, 0);
    w = W(hwnd);
    if (w == nullptr) {
        return;
    }
    std::vector<HWND> children;
    for (Window* child : w->children) {
        children.push_back(child->handle);
    }
    for (HWND child : children) {
        SendDestroy(child);
    }
}

// WM_NCDESTROY from the children up, then the window's state is freed.
void FreeWindow(HWND hwnd)
{
    Window* w = W(hwnd);
    if (w == nullptr) {
        return;
    }
    w->destroying = true;
    std::vector<HWND> children;
    for (Window* child : w->children) {
        children.push_back(child->handle);
    }
    for (HWND child : children) {
        FreeWindow(child);
    }
    Send(hwnd, WM_NCDESTROY, 0, 0);
    w = W(hwnd);
    if (w == nullptr) {
        return;
    }
    WindowSystem& system = System();
    KillWindowTimers(hwnd);
    if (system.focus == hwnd) {
        system.focus = nullptr;
    }
    if (system.capture == hwnd) {
        system.capture = nullptr;
    }
    if (system.active == hwnd) {
        system.active = nullptr;
    }
    if (system.locked == hwnd) {
        system.locked = nullptr;
    }
    for (auto it = system.dcs.begin(); it != system.dcs.end(); ++it) {
        if (it->second.hwnd == hwnd) {
            it->second.hwnd = nullptr; // the DC outlives the window; ReleaseDC frees it
        }
    }
    // Messages posted to the window die with it.
    auto& queue = system.queue;
    queue.erase(std::remove_if(queue.begin(), queue.end(), [hwnd](const MSG& m) { return m.hwnd == hwnd; }),
                queue.end());
    // Owned windows lose their owner (they were destroyed first).
    for (Window* top : system.Desktop()->children) {
        if (top->owner == w) {
            top->owner = nullptr;
        }
    }
    if (IsTopLevel(w) && (w->style & WS_CHILD) == 0 && w->menu != nullptr) {
        DestroyWindowMenu(w->menu);
    }
    if (w->systemMenu != nullptr) {
        DestroyWindowMenu(w->systemMenu);
    }
    Unlink(w);
    if (w->windowClass != nullptr) {
        --w->windowClass->windowCount;
    }
    system.Forget(hwnd);
}

MINMAXINFO DefaultMinMax()
{
    MINMAXINFO info{};
    const int frame = GetSystemMetrics(SM_CXFRAME);
    info.ptMaxSize = {GetSystemMetrics(SM_CXSCREEN) + 2 * frame, GetSystemMetrics(SM_CYSCREEN) + 2 * frame};
    info.ptMaxPosition = {-frame, -frame};
    info.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    info.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
    return info;
}

} // namespace


} // namespace nuvex::user

using namespace nuvex::user;

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parentHandle, HMENU menu, HINSTANCE instance, LPVOID param)
{
    WindowSystem& system = System();
    WindowClass* cls = system.FindClass(className);
    if (cls == nullptr) {
        return nullptr;
    }
    Window* parent = nullptr;
    Window* owner = nullptr;
    if ((style & WS_CHILD) != 0) {
        parent = W(parentHandle);
        if (parent == nullptr || parent->destroying) {
            return nullptr;
        }
    } else {
        parent = system.Desktop();
        if (parentHandle != nullptr && parentHandle != HWND_MESSAGE) {
            Window* given = W(parentHandle);
            if (given == nullptr) {
                return nullptr;
            }
            owner = TopLevelOf(given);
        }
    }
    const bool topLevel = parent == system.Desktop();
    const bool overlapped = topLevel && (style & WS_POPUP) == 0;
    if (overlapped) {
        // Overlapped windows always have a caption and clip their siblings.
        style |= WS_CLIPSIBLINGS | WS_CAPTION;
        exStyle |= WS_EX_WINDOWEDGE;
    }
    if (x == CW_USEDEFAULT) {
        x = 0;
        y = overlapped ? 0 : y;
    }
    if (width == CW_USEDEFAULT) {
        width = overlapped ? system.screenWidth * 3 / 4 : 0;
        height = overlapped ? system.screenHeight * 3 / 4 : 0;
    }
    if (y == CW_USEDEFAULT) {
        y = 0;
    }

    auto owned = std::make_unique<Window>();
    owned->handle = system.NewWindowHandle();
    owned->windowClass = cls;
    // A visible window made maximised takes its maximised place when it is
    // shown at the end of its creation: until then it is not maximised.
    owned->style = style & ~(WS_VISIBLE | ((style & WS_VISIBLE) != 0 ? WS_MAXIMIZE : 0));
    owned->exStyle = exStyle;
    owned->proc = cls->proc;
    owned->parent = parent;
    owned->owner = owner;
    owned->instance = instance;
    owned->extra.assign(static_cast<size_t>(cls->windowExtra), 0);
    if (topLevel) {
        owned->menu = menu;
    } else {
        owned->id = reinterpret_cast<LONG_PTR>(menu);
    }
    Window* w = system.Adopt(std::move(owned));
    HWND hwnd = w->handle;
    ++cls->windowCount;
    InsertNew(parent, w);

    if (topLevel && ((style & WS_THICKFRAME) != 0 || overlapped)) {
        MINMAXINFO info = DefaultMinMax();
        Send(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        if ((style & WS_THICKFRAME) != 0 || overlapped) {
            width = std::clamp(width, static_cast<int>(info.ptMinTrackSize.x),
                               std::max(static_cast<int>(info.ptMinTrackSize.x), static_cast<int>(info.ptMaxTrackSize.x)));
            height = std::clamp(height, static_cast<int>(info.ptMinTrackSize.y),
                                std::max(static_cast<int>(info.ptMinTrackSize.y), static_cast<int>(info.ptMaxTrackSize.y)));
        }
    }
    if ((w = W(hwnd)) == nullptr) {
        return nullptr;
    }
    width = std::max(width, 0);
    height = std::max(height, 0);
    w->rect = {x, y, x + width, y + height};
    w->normalRect = w->rect;
    w->client = {0, 0, width, height};
    ResizeSurface(w);

    CREATESTRUCTA cs{param, instance, menu, parentHandle, height, width, y, x, static_cast<LONG>(style),
                     windowName, className, exStyle};
    if (Send(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) == 0) {
        FreeWindow(hwnd);
        return nullptr;
    }
    if ((w = W(hwnd)) == nullptr) {
        return nullptr;
    }
    RECT calc = w->rect;
    Send(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&calc));
    if ((w = W(hwnd)) == nullptr) {
        return nullptr;
    }
    w->client = {calc.left - w->rect.left, calc.top - w->rect.top, calc.right - w->rect.left,
                 calc.bottom - w->rect.top};
    if (Send(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        if (W(hwnd) != nullptr) {
            SendDestroy(hwnd);
            FreeWindow(hwnd);
        }
        return nullptr;
    }
    if ((w = W(hwnd)) == nullptr) {
        return nullptr;
    }
    w->created = true;
    Send(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(Width(w->client)), static_cast<WORD>(Height(w->client))));
    if ((w = W(hwnd)) == nullptr) {
        return nullptr;
    }
    Send(hwnd, WM_MOVE, 0,
         MAKELPARAM(static_cast<WORD>(w->rect.left + w->client.left), static_cast<WORD>(w->rect.top + w->client.top)));
    if ((w = W(hwnd)) == nullptr) {
        return nullptr;
    }
    if ((style & WS_VISIBLE) != 0) {
        int command = SW_SHOW;
        if ((style & WS_MAXIMIZE) != 0) {
            command = SW_SHOWMAXIMIZED;
        } else if ((exStyle & WS_EX_NOACTIVATE) != 0) {
            command = SW_SHOWNA;
        }
        ShowWindow(hwnd, command);
    }
    return W(hwnd) != nullptr ? hwnd : nullptr;
}

BOOL DestroyWindow(HWND hwnd)
{
    WindowSystem& system = System();
    Window* w = W(hwnd);
    if (w == nullptr || w == system.Desktop() || w->destroying) {
        return FALSE;
    }
    w->destroying = true;
    // Owned windows go first.
    std::vector<HWND> owned;
    for (Window* top : system.Desktop()->children) {
        if (top->owner == w) {
            owned.push_back(top->handle);
        }
    }
    for (HWND o : owned) {
        DestroyWindow(o);
    }
    if ((w = W(hwnd)) == nullptr) {
        return TRUE;
    }
    if ((w->style & WS_VISIBLE) != 0) {
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if ((w = W(hwnd)) == nullptr) {
        return TRUE;
    }
    OnWindowHiddenOrGone(w, WindowLeaving::Destroyed);
    SendDestroy(hwnd);
    FreeWindow(hwnd);
    return TRUE;
}

BOOL IsWindow(HWND hwnd)
{
    Window* w = W(hwnd);
    return w != nullptr ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd)
{
    Window* w = W(hwnd);
    return w != nullptr && IsReallyVisible(w) ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd)
{
    Window* w = W(hwnd);
    return w != nullptr && (w->style & WS_DISABLED) == 0 ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable)
{
    Window* w = W(hwnd);
    if (w == nullptr) {
        return FALSE;
    }
    const BOOL wasDisabled = (w->style & WS_DISABLED) != 0 ? TRUE : FALSE;
    if ((enable != FALSE) == (wasDisabled == FALSE)) {
        return wasDisabled;
    }
    if (enable != FALSE) {
        w->style &= ~WS_DISABLED;
    } else {
        w->style |= WS_DISABLED;
        WindowSystem& system = System();
        if (system.focus == hwnd || IsChild(hwnd, system.focus)) {
            SetFocus(nullptr);
        }
        if (system.capture == hwnd) {
            ReleaseCapture();
        }
    }
    Send(hwnd, WM_ENABLE, enable != FALSE ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL IsChild(HWND parent, HWND hwnd)
{
    Window* p = W(parent);
    Window* w = W(hwnd);
    if (p == nullptr || w == nullptr) {
        return FALSE;
    }
    while (w != nullptr && !IsTopLevel(w) && w != System().Desktop()) {
        w = w->parent;
        if (w == p) {
            return TRUE;
        }
    }
    return FALSE;
}

BOOL IsIconic(HWND hwnd)
{
    Window* w = W(hwnd);
    return w != nullptr && (w->style & WS_MINIMIZE) != 0 ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hwnd)
{
    Window* w = W(hwnd);
    return w != nullptr && (w->style & WS_MAXIMIZE) != 0 ? TRUE : FALSE;
}

HWND GetDesktopWindow() { return System().Desktop()->handle; }

LONG_PTR GetWindowLongPtrA(HWND hwnd, int index)
{
    Window* w = W(hwnd);
    if (w == nullptr) {
        return 0;
    }
    switch (index) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(GetParent(hwnd));
    case GWLP_ID: return IsTopLevel(w) ? reinterpret_cast<LONG_PTR>(w->menu) : w->id;
    case GWL_STYLE: return static_cast<LONG>(w->style);
    case GWL_EXSTYLE: return static_cast<LONG>(w->exStyle);
    case GWLP_USERDATA: return w->userData;
    default: break;
    }
    if (index < 0) {
        return 0;
    }
    const size_t at = static_cast<size_t>(index);
    if (at + sizeof(LONG_PTR) <= w->extra.size()) {
        LONG_PTR value = 0;
        std::memcpy(&value, w->extra.data() + at, sizeof value);
        return value;
    }
    if (at + sizeof(LONG) <= w->extra.size()) {
        LONG value = 0;
        std::memcpy(&value, w->extra.data() + at, sizeof value);
        return value;
    }
    return 0;
}

LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value)
{
    Window* w = W(hwnd);
    if (w == nullptr || w == System().Desktop()) {
        return 0;
    }
    const LONG_PTR old = GetWindowLongPtrA(hwnd, index);
    switch (index) {
    case GWLP_WNDPROC:
        if (value != 0) {
            w->proc = reinterpret_cast<WNDPROC>(value);
        }
        return old;
    case GWLP_HINSTANCE: w->instance = reinterpret_cast<HINSTANCE>(value); return old;
    case GWLP_HWNDPARENT:
        if (IsTopLevel(w)) {
            Window* owner = W(reinterpret_cast<HWND>(value));
            w->owner = owner != nullptr ? TopLevelOf(owner) : nullptr;
        }
        return old;
    case GWLP_ID:
        if (IsTopLevel(w)) {
            w->menu = reinterpret_cast<HMENU>(value);
        } else {
            w->id = value;
        }
        return old;
    case GWL_STYLE:
    case GWL_EXSTYLE: {
        STYLESTRUCT change{static_cast<DWORD>(old), static_cast<DWORD>(value)};
        Send(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
        if ((w = W(hwnd)) == nullptr) {
            return old;
        }
        (index == GWL_STYLE ? w->style : w->exStyle) = change.styleNew;
        Send(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
        return old;
    }
    case GWLP_USERDATA: w->userData = value; return old;
    default: break;
    }
    if (index < 0) {
        return 0;
    }
    const size_t at = static_cast<size_t>(index);
    if (at + sizeof(LONG_PTR) <= w->extra.size()) {
        std::memcpy(w->extra.data() + at, &value, sizeof value);
        return old;
    }
    if (at + sizeof(LONG) <= w->extra.size()) {
        const LONG narrow = static_cast<LONG>(value);
        std::memcpy(w->extra.data() + at, &narrow, sizeof narrow);
        return old;
    }
    return 0;
}

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return proc != nullptr ? proc(hwnd, msg, wParam, lParam) : 0;
}

int GetDlgCtrlID(HWND hwnd)
{
    Window* w = W(hwnd);
    return w != nullptr && !IsTopLevel(w) ? static_cast<int>(w->id) : 0;
}

HWND GetDlgItem(HWND parent, int id)
{
    Window* p = W(parent);
    if (p == nullptr) {
        return nullptr;
    }
    for (Window* child : p->children) {
        if (static_cast<int>(child->id) == id) {
            return child->handle;
        }
    }
    return nullptr;
}

BOOL SetWindowTextA(HWND hwnd, LPCSTR text)
{
    if (W(hwnd) == nullptr) {
        return FALSE;
    }
    return Send(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0 ? TRUE : FALSE;
}

int GetWindowTextA(HWND hwnd, LPSTR buffer, int size)
{
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    buffer[0] = '\0';
    if (W(hwnd) == nullptr) {
        return 0;
    }
    return static_cast<int>(Send(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthA(HWND hwnd)
{
    if (W(hwnd) == nullptr) {
        return 0;
    }
    return static_cast<int>(Send(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetPropA(HWND hwnd, LPCSTR name, HANDLE data)
{
    Window* w = W(hwnd);
    if (w == nullptr || name == nullptr) {
        return FALSE;
    }
    std::string key = PropKey(name);
    for (auto& [k, v] : w->props) {
        if (k == key) {
            v = data;
            return TRUE;
        }
    }
    w->props.emplace_back(key, data);
    return TRUE;
}

HANDLE GetPropA(HWND hwnd, LPCSTR name)
{
    Window* w = W(hwnd);
    if (w == nullptr || name == nullptr) {
        return nullptr;
    }
    std::string key = PropKey(name);
    for (auto& [k, v] : w->props) {
        if (k == key) {
            return v;
        }
    }
    return nullptr;
}

HANDLE RemovePropA(HWND hwnd, LPCSTR name)
{
    Window* w = W(hwnd);
    if (w == nullptr || name == nullptr) {
        return nullptr;
    }
    std::string key = PropKey(name);
    for (auto it = w->props.begin(); it != w->props.end(); ++it) {
        if (it->first == key) {
            HANDLE data = it->second;
            w->props.erase(it);
            return data;
        }
    }
    return nullptr;
}

// Relations ---------------------------------------------------------------------

HWND GetParent(HWND hwnd)
{
    Window* w = W(hwnd);
    if (w == nullptr || w == System().Desktop()) {
        return nullptr;
    }
    if (!IsTopLevel(w)) {
        return w->parent->handle;
    }
    return (w->style & WS_POPUP) != 0 && w->owner != nullptr ? w->owner->handle : nullptr;
}

HWND SetParent(HWND hwnd, HWND newParentHandle)
{
    WindowSystem& system = System();
    Window* w = W(hwnd);
    if (w == nullptr || w == system.Desktop()) {
        return nullptr;
    }
    Window* newParent = newParentHandle != nullptr ? W(newParentHandle) : system.Desktop();
    if (newParent == nullptr || newParent == w || IsChild(hwnd, newParentHandle)) {
        return nullptr;
    }
    Window* oldParent = w->parent;
    const HWND oldHandle = oldParent->handle;
    if (newParent == oldParent) {
        return oldHandle;
    }
    const bool visible = IsReallyVisible(w);
    if (visible && oldParent != system.Desktop()) {
        InvalidateUncovered(oldParent, w, w->rect);
    }
    Unlink(w);
    w->parent = newParent;
    w->owner = nullptr;
    // The window keeps its coordinates, now in the new parent's client area,
    // and goes on top of its new siblings.
    newParent->children.insert(newParent->children.begin(), w);
    ResizeSurface(w);
    if (!IsTopLevel(w)) {
        w->pixels.clear();
        w->pixels.shrink_to_fit();
    }
    if (IsReallyVisible(w)) {
        InvalidateWhole(w, EraseBackground::Yes, WithFrame::Yes, WithChildren::Yes);
    }
    if (system.focus == hwnd || IsChild(hwnd, system.focus)) {
        // Focus stays with the window; its top-level window may change.
    }
    return oldHandle;
}

HWND GetAncestor(HWND hwnd, UINT kind)
{
    WindowSystem& system = System();
    Window* w = W(hwnd);
    if (w == nullptr || w == system.Desktop()) {
        return nullptr;
    }
    switch (kind) {
    case GA_PARENT: return w->parent->handle;
    case GA_ROOT: return TopLevelOf(w)->handle;
    case GA_ROOTOWNER: {
        Window* root = TopLevelOf(w);
        while (root->owner != nullptr) {
            root = root->owner;
        }
        return root->handle;
    }
    default: return nullptr;
    }
}

HWND GetWindow(HWND hwnd, UINT relation)
{
    Window* w = W(hwnd);
    if (w == nullptr) {
        return nullptr;
    }
    if (relation == GW_CHILD) {
        return w->children.empty() ? nullptr : w->children.front()->handle;
    }
    if (relation == GW_OWNER) {
        return w->owner != nullptr ? w->owner->handle : nullptr;
    }
    if (w->parent == nullptr) {
        return nullptr;
    }
    const auto& siblings = w->parent->children;
    auto it = std::find(siblings.begin(), siblings.end(), w);
    switch (relation) {
    case GW_HWNDFIRST: return siblings.front()->handle;
    case GW_HWNDLAST: return siblings.back()->handle;
    case GW_HWNDNEXT: return (it + 1) != siblings.end() ? (*(it + 1))->handle : nullptr;
    case GW_HWNDPREV: return it != siblings.begin() ? (*(it - 1))->handle : nullptr;
    default: return nullptr;
    }
}

HWND GetTopWindow(HWND hwnd)
{
    Window* w = hwnd != nullptr ? W(hwnd) : System().Desktop();
    if (w == nullptr || w->children.empty()) {
        return nullptr;
    }
    return w->children.front()->handle;
}

namespace {

bool EnumDescendants(Window* parent, WNDENUMPROC proc, LPARAM param)
{
    std::vector<HWND> children;
    for (Window* child : parent->children) {
        children.push_back(child->handle);
    }
    for (HWND child : children) {
        Window* c = W(child);
        if (c == nullptr) {
            continue;
        }
        if (proc(child, param) == FALSE) {
            return false;
        }
        if ((c = W(child)) != nullptr && !EnumDescendants(c, proc, param)) {
            return false;
        }
    }
    return true;
}

} // namespace

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM param)
{
    Window* p = parent != nullptr ? W(parent) : System().Desktop();
    if (p == nullptr || proc == nullptr) {
        return FALSE;
    }
    return EnumDescendants(p, proc, param) ? TRUE : FALSE;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM param)
{
    if (proc == nullptr) {
        return FALSE;
    }
    std::vector<HWND> tops;
    for (Window* top : System().Desktop()->children) {
        tops.push_back(top->handle);
    }
    for (HWND top : tops) {
        if (W(top) != nullptr && proc(top, param) == FALSE) {
            return FALSE;
        }
    }
    return TRUE;
}
