// Subclassing popup-menu windows ("#32768") that show a CNewMenu, so that
// the current painter draws their frame, background and shadow; and the
// per-dialog handler that gives dialogs owner-drawn system menus.
//
// Window procedure precedence of a subclassed popup (every message reads
// the previous procedure from the "OldMenuProc" property first):
//   1. Without a record the message goes to the previous procedure.
//   2. The messages of the table below are handled; each says whether the
//      previous procedure still runs.
//   3. Everything else goes to the previous procedure.
#include <cstring>
#include <map>
#include <memory>

#include "host/menulook/menu_colors.h"
#include "host/menulook/menu_drawing.h"
#include "host/menulook/menu_library.h"
#include "platform/kernel/errors.h"
#include "host/menulook/menu_painter.h"
#include "platform/gdi/dc_guards.h"

namespace {

constexpr char kOldProcProperty[] = "OldMenuProc";
constexpr char kHandlerProperty[] = "CNewMenuTempHandler";
constexpr char kPopupClass[] = "#32768";
constexpr char kDialogClass[] = "#32770";

std::map<HWND, std::unique_ptr<CMenuWindowRecord>>& WindowMap()
{
    static std::map<HWND, std::unique_ptr<CMenuWindowRecord>> map;
    return map;
}

CMenuLookPainter* Painter() { return MenuLibrary().currentPainter; }

bool ClassIs(HWND window, const char* name)
{
    char buffer[20] = {};
    const int n = GetClassNameA(window, buffer, static_cast<int>(sizeof buffer));
    return n == static_cast<int>(std::strlen(name)) && std::strcmp(buffer, name) == 0;
}

WNDPROC OldProc(HWND window) { return reinterpret_cast<WNDPROC>(GetPropA(window, kOldProcProperty)); }

LRESULT CallOld(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC old = OldProc(window);
    return old != nullptr ? CallWindowProcA(old, window, message, wParam, lParam)
                          : DefWindowProcA(window, message, wParam, lParam);
}

LRESULT OnNcPaint(HWND window, CMenuWindowRecord& record, WPARAM wParam, LPARAM lParam, bool* callPrevious)
{
    CMenuLookPainter* painter = Painter();
    LRESULT result = 0;
    // 1. Keep the update region while the frame is not painted.
    if (!record.framePainted && reinterpret_cast<HRGN>(wParam) != record.savedRegion) {
        if (record.savedRegion != reinterpret_cast<HRGN>(1) && record.savedRegion != nullptr) {
            DeleteObject(record.savedRegion);
        }
        record.savedRegion = reinterpret_cast<HRGN>(1);
        if (wParam != 1 && wParam != 0) {
            HRGN copy = CreateRectRgn(0, 0, 1, 1);
            CombineRgn(copy, reinterpret_cast<HRGN>(wParam), nullptr, RGN_COPY);
            record.savedRegion = copy;
        }
    }
    // 2. While printing the previous procedure does not paint.
    if ((record.flags & kRecordPrinting) != 0) {
        *callPrevious = false;
    }
    // 3. The frame around the system's painting.
    if (record.framePainted && painter != nullptr && painter->HasOwnFrame()) {
        ScopedWindowDC dc(window, ScopedWindowDC::Kind::Window);
        if (dc.Get() != nullptr && painter->DrawFrame(window, dc.Get(), FALSE)) {
            RECT frame{};
            if (painter->GetFrameRect(window, &frame)) {
                InflateRect(&frame, -1, -1);
                HRGN region = CreateRectRgnIndirect(&frame);
                if (*callPrevious) {
                    result = CallOld(window, WM_NCPAINT, reinterpret_cast<WPARAM>(region), lParam);
                }
                *callPrevious = false;
                DeleteObject(region);
            }
            painter->DrawFrame(window, dc.Get(), TRUE);
        }
    }
    // 4. The screen under the window, before the system paints over it.
    if (painter != nullptr && painter->HasOwnFrame() && *callPrevious) {
        RECT frame{};
        GetWindowRect(window, &frame);
        if (record.background == nullptr) {
            record.position = POINT{frame.left, frame.top};
        }
    }
    return result;
}

LRESULT OnPrint(HWND window, CMenuWindowRecord& record, WPARAM wParam, LPARAM lParam)
{
    CMenuLookPainter* painter = Painter();
    record.flags |= kRecordPrinting;
    RECT frame{};
    GetWindowRect(window, &frame);
    const int w = frame.right - frame.left;
    const int h = frame.bottom - frame.top;
    HDC target = reinterpret_cast<HDC>(wParam);
    // Made in this order, undone in the reverse: the bitmap leaves the
    // context, goes, and then the context goes.
    const MemoryDC memoryDC(target);
    HDC memory = memoryDC.Get();
    const ScopedObject bitmap(CreateCompatibleBitmap(target, w, h));
    const SelectedObject selected(memory, bitmap.Get());
    LRESULT result = 0;
    painter->DrawFrame(window, memory, FALSE);
    RECT inner{};
    if (painter->GetFrameRect(window, &inner)) {
        OffsetRect(&inner, -frame.left, -frame.top);
        InflateRect(&inner, -1, -1);
        IntersectClipRect(memory, inner.left, inner.top, inner.right, inner.bottom);
        result = CallOld(window, WM_PRINT, reinterpret_cast<WPARAM>(memory), lParam & ~static_cast<LPARAM>(PRF_CLIENT));
        BitBlt(target, 0, 0, w, h, memory, 0, 0, SRCCOPY);
        RECT client{};
        GetClientRect(window, &client);
        SelectClipRgn(memory, nullptr);
        IntersectClipRect(memory, client.left, client.top, client.right, client.bottom);
        SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0);
        SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), lParam);
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        BitBlt(target, origin.x - frame.left, origin.y - frame.top, client.right, client.bottom - 1, memory, 0, 0,
               SRCCOPY);
    }
    record.flags &= ~kRecordPrinting;
    return result;
}

LRESULT MenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CMenuWindowRecord* record = FindMenuWindowRecord(window);
    CMenuLookPainter* painter = Painter();
    if (record == nullptr || painter == nullptr) {
        return CallOld(window, message, wParam, lParam);
    }
    bool callPrevious = true;
    LRESULT result = 0;
    switch (message) {
    case WM_NCCALCSIZE:
        if (record->active && painter->OnNcCalcSize(window, reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam))) {
            callPrevious = false;
        }
        break;
    case WM_ERASEBKGND:
        if (record->active) {
            if (painter->HasOwnFrame() && (record->flags & kRecordPrinting) == 0 && !record->framePainted) {
                record->framePainted = TRUE;
                SendMessageA(window, WM_NCPAINT, 1, 0);
            }
            if (painter->EraseBackground(window, reinterpret_cast<HDC>(wParam))) {
                return 1;
            }
        }
        break;
    case WM_SHOWWINDOW:
        if (wParam == 0) {
            const LRESULT hidden = CallOld(window, message, wParam, lParam);
            CNewMenu::UnsubclassMenuWindow(window);
            return hidden;
        }
        break;
    case WM_WINDOWPOSCHANGING:
        painter->OnWindowPosChanging(window, reinterpret_cast<WINDOWPOS*>(lParam));
        [[fallthrough]];
    case WM_WINDOWPOSCHANGED: {
        const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (pos != nullptr && (pos->flags & SWP_NOMOVE) == 0) {
            if (record->position.x == 0 && record->position.y == 0) {
                record->position = POINT{pos->x, pos->y};
            } else if (record->position.x != pos->x || record->position.y != pos->y) {
                if ((pos->flags & SWP_NOSIZE) == 0 && message == WM_WINDOWPOSCHANGED) {
                    const LRESULT moved = CallOld(window, message, wParam, lParam);
                    CNewMenu::UnsubclassMenuWindow(window);
                    return moved;
                }
                record->position = POINT{pos->x, pos->y};
                record->ForgetBackground();
            }
        }
        break;
    }
    case WM_NCDESTROY: {
        const LRESULT destroyed = CallOld(window, message, wParam, lParam);
        CNewMenu::UnsubclassMenuWindow(window);
        return destroyed;
    }
    case WM_NCPAINT:
        if (record->active) {
            result = OnNcPaint(window, *record, wParam, lParam, &callPrevious);
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            record->flags |= kRecordEscape;
        }
        MenuLibrary().lastMessagePos = GetMessagePos();
        break;
    case WM_PRINT:
        if (record->active && painter->HasOwnFrame()) {
            return OnPrint(window, *record, wParam, lParam);
        }
        break;
    default: break;
    }
    if (callPrevious) {
        result = CallOld(window, message, wParam, lParam);
        // The system painted its frame: draw the look's frame over it.
        if (message == WM_NCPAINT && record->active && painter->HasOwnFrame()) {
            if (CMenuWindowRecord* still = FindMenuWindowRecord(window)) {
                ScopedWindowDC dc(window, ScopedWindowDC::Kind::Window);
                if (dc.Get() != nullptr) {
                    still->framePainted = TRUE;
                    painter->DrawFrame(window, dc.Get(), FALSE);
                }
            }
        }
    }
    return result;
}

// The per-dialog handler -----------------------------------------------------------------------------

class CNewMenuTempHandler {
public:
    explicit CNewMenuTempHandler(HWND dialog) : m_dialog(dialog), m_menu(nullptr)
    {
        m_previous = reinterpret_cast<WNDPROC>(GetWindowLongA(dialog, GWL_WNDPROC));
        SetPropA(dialog, kHandlerProperty, this);
        SetWindowLongA(dialog, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure));
    }
    CNewMenuTempHandler(const CNewMenuTempHandler&) = delete;
    CNewMenuTempHandler& operator=(const CNewMenuTempHandler&) = delete;

    static LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = static_cast<CNewMenuTempHandler*>(GetPropA(window, kHandlerProperty));
        if (self == nullptr) {
            return DefWindowProcA(window, message, wParam, lParam);
        }
        return self->Handle(message, wParam, lParam);
    }

private:
    LRESULT Previous(UINT message, WPARAM wParam, LPARAM lParam)
    {
        return CallWindowProcA(m_previous, m_dialog, message, wParam, lParam);
    }

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam)
    {
        switch (message) {
        case WM_INITMENUPOPUP: {
            const LRESULT result = Previous(message, wParam, lParam);
            OnMenuInitPopup(m_dialog, CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), LOWORD(lParam),
                            HIWORD(lParam));
            return result;
        }
        case WM_MENUCHAR:
            if (dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(lParam))) != nullptr) {
                return HookMenuPopup(LOWORD(wParam), HIWORD(wParam),
                                     CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(lParam)));
            }
            return Previous(message, wParam, lParam);
        case WM_INITDIALOG: {
            if ((MenuLibrary().optionWord & kOptionDialogSystemMenu) == 0) {
                return Previous(message, wParam, lParam);
            }
            const LRESULT result = Previous(message, wParam, lParam);
            HMENU system = GetSystemMenu(m_dialog, FALSE);
            if (IsMenu(system) != FALSE && CMenu::FromHandlePermanent(system) == nullptr) {
                m_menu = std::make_unique<CNewMenu>();
                m_menu->LoadMenu(system);
            }
            return result;
        }
        case WM_DESTROY: {
            const LRESULT result = Previous(message, wParam, lParam);
            SetWindowLongA(m_dialog, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(m_previous));
            RemovePropA(m_dialog, kHandlerProperty);
            if (m_menu) {
                m_menu->Detach();
            }
            delete this;
            return result;
        }
        case WM_DRAWITEM:
            if (m_menu && DrawNewMenuItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam))) {
                return 1;
            }
            return Previous(message, wParam, lParam);
        case WM_MEASUREITEM: {
            if (MeasureNewMenuItem(m_dialog, wParam, lParam)) {
                return 1;
            }
            return Previous(message, wParam, lParam);
        }
        default: return Previous(message, wParam, lParam);
        }
    }

    HWND m_dialog;
    WNDPROC m_previous = nullptr;
    std::unique_ptr<CNewMenu> m_menu;
};

} // namespace

CMenuWindowRecord* FindMenuWindowRecord(HWND window)
{
    auto& map = WindowMap();
    auto it = map.find(window);
    return it != map.end() ? it->second.get() : nullptr;
}

BOOL CNewMenu::SubclassMenuWindow(HWND window, BOOL onReuse)
{
    if (!ClassIs(window, kPopupClass)) {
        return FALSE;
    }
    MenuLibraryState& state = MenuLibrary();
    BOOL result = FALSE;
    if (FindMenuWindowRecord(window) == nullptr) {
        if (state.pendingMenu == nullptr) {
            state.pendingMenu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
        }
        if (dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(state.pendingMenu)) == nullptr) {
            return FALSE;
        }
        auto* old = reinterpret_cast<WNDPROC>(GetWindowLongA(window, GWL_WNDPROC));
        if (old == nullptr || GetPropA(window, kOldProcProperty) != nullptr) {
            return FALSE;
        }
        SetPropA(window, kOldProcProperty, reinterpret_cast<HANDLE>(old));
        if (GetPropA(window, kOldProcProperty) == reinterpret_cast<HANDLE>(old)) {
            GlobalAddAtomA(kOldProcProperty);
            auto record = std::make_unique<CMenuWindowRecord>();
            record->flags = onReuse ? kRecordOnReuse : 0;
            record->savedStyle = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
            record->savedExStyle = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
            record->SetMenu(state.pendingMenu);
            state.pendingMenu = nullptr;
            WindowMap()[window] = std::move(record);
            SetLastError(0);
            SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&MenuWindowProc));
            result = TRUE;
            if (state.currentPainter != nullptr) {
                state.currentPainter->OnSubclass(window);
            }
        }
    }
    CMenuWindowRecord* record = FindMenuWindowRecord(window);
    if (state.pendingMenu != nullptr && record != nullptr) {
        record->SetMenu(state.pendingMenu);
        state.pendingMenu = nullptr;
        if (state.currentPainter != nullptr) {
            state.currentPainter->OnSubclass(window);
        }
    }
    return result;
}

void CNewMenu::UnsubclassMenuWindow(HWND window)
{
    if (HANDLE old = GetPropA(window, kOldProcProperty)) {
        SetLastError(0);
        SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        RemovePropA(window, kOldProcProperty);
        GlobalDeleteAtom(GlobalFindAtomA(kOldProcProperty));
    }
    auto& map = WindowMap();
    auto it = map.find(window);
    if (it != map.end()) {
        if (CMenuLookPainter* painter = Painter()) {
            painter->OnUnsubclass(window);
        }
        map.erase(window);
    }
}

LRESULT MenuWindowHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && cwp != nullptr && (cwp->message == WM_CREATE || cwp->message == MN_REUSEPOPUP)) {
        const BOOL subclassed = CNewMenu::SubclassMenuWindow(cwp->hwnd, cwp->message == MN_REUSEPOPUP);
        if (!subclassed && (MenuLibrary().optionWord & kOptionDialogHandlers) != 0 && cwp->message == WM_CREATE &&
            ClassIs(cwp->hwnd, kDialogClass) && GetPropA(cwp->hwnd, kHandlerProperty) == nullptr) {
            new CNewMenuTempHandler(cwp->hwnd); // deletes itself at WM_DESTROY
        }
    }
    return CallNextHookEx(MenuLibrary().hook, code, wParam, lParam);
}
