// CWnd: creation, subclassing, the framework's window procedure and the
// message-map dispatch of window messages, commands and notifications.
#include "platform/framework/wnd.h"

#include <set>
#include <string>
#include <vector>

#include "platform/framework/cmdui.h"
#include "platform/framework/dc.h"
#include "platform/framework/gdiobj.h"
#include "platform/framework/menu.h"

const char* const kAfxWnd = "AfxWnd";
const char* const kAfxFrameOrView = "AfxFrameOrView";

namespace {

// What the framework's procedure keeps while messages are dispatched.
struct WndState {
    // The message being dispatched (for Default) and the window being
    // created (attached at its first creation message).
    MSG current{};
    CWnd* creating = nullptr;
    HHOOK createHook = nullptr;
    int createDepth = 0;
};

WndState& State()
{
    static WndState state;
    return state;
}

// Restores the previous current message when a dispatch ends, so nested
// sends see their own message in Default.
class CurrentMessageScope {
public:
    CurrentMessageScope(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) : m_saved(State().current)
    {
        State().current = MSG{hwnd, message, wParam, lParam, 0, {0, 0}};
    }
    ~CurrentMessageScope() { State().current = m_saved; }
    CurrentMessageScope(const CurrentMessageScope&) = delete;
    CurrentMessageScope& operator=(const CurrentMessageScope&) = delete;

private:
    MSG m_saved;
};

WNDPROC ProcOf(HWND hwnd) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)); }

// Puts the framework's procedure in front of `hwnd`'s and returns the one it
// had (null when it already was the framework's).
WNDPROC InstallFrameworkProc(HWND hwnd)
{
    WNDPROC old = ProcOf(hwnd);
    if (old == &CWnd::AfxWndProc) {
        return nullptr;
    }
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::AfxWndProc));
    return old;
}

// Attaches the window being created at its first creation message, before
// its procedure sees it, so the object handles WM_NCCREATE and WM_CREATE.
LRESULT CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    WndState& state = State();
    if (code == HC_ACTION && state.creating != nullptr) {
        const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if ((cwp->message == WM_GETMINMAXINFO || cwp->message == WM_NCCREATE) &&
            CWnd::FromHandlePermanent(cwp->hwnd) == nullptr) {
            CWnd* wnd = state.creating;
            state.creating = nullptr;
            wnd->Attach(cwp->hwnd);
            wnd->SubclassWindow(nullptr);
        }
    }
    return CallNextHookEx(state.createHook, code, wParam, lParam);
}

// Registers `name` with the framework's procedure when the window system
// does not know it (a fresh window system forgets every class).
void EnsureClass(const char* name, UINT style, HCURSOR cursor, HBRUSH background, HICON icon)
{
    WNDCLASSA existing{};
    if (GetClassInfoA(nullptr, name, &existing)) {
        return;
    }
    WNDCLASSA wc{};
    wc.style = style;
    wc.lpfnWndProc = &CWnd::AfxWndProc;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

// A child control brought up to date by UpdateDialogControls.
class CControlCmdUI : public CCmdUI {
public:
    void Enable(BOOL on) override
    {
        CCmdUI::Enable(on);
        if (m_pOther != nullptr) {
            m_pOther->EnableWindow(on);
        }
    }
    void SetCheck(int check) override
    {
        constexpr UINT kButtonSetCheck = 0x00F1;
        if (m_pOther != nullptr) {
            m_pOther->SendMessage(kButtonSetCheck, static_cast<WPARAM>(check), 0);
        }
    }
    void SetText(const char* text) override
    {
        if (m_pOther != nullptr) {
            m_pOther->SetWindowText(text);
        }
    }
};

// Records whether a command is enabled, without changing anything.
class CTestCmdUI : public CCmdUI {
public:
    void Enable(BOOL on) override
    {
        CCmdUI::Enable(on);
        m_enabled = on;
    }
    BOOL m_enabled = TRUE;
};

} // namespace

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

CWnd::~CWnd()
{
    if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) {
        DestroyWindow();
    }
    Detach();
}

// Creation --------------------------------------------------------------------

LPCSTR CWnd::AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    static std::set<std::string> names;
    char name[96];
    snprintf(name, sizeof name, "Afx:%x:%p:%p:%p", classStyle, static_cast<void*>(cursor),
             static_cast<void*>(background), static_cast<void*>(icon));
    const std::string& stored = *names.insert(name).first;
    EnsureClass(stored.c_str(), classStyle, cursor, background, icon);
    return stored.c_str();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == nullptr) {
        EnsureClass(kAfxWnd, CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW), nullptr, nullptr);
        cs.lpszClass = kAfxWnd;
    } else if (std::string_view(cs.lpszClass) == kAfxFrameOrView) {
        EnsureClass(kAfxFrameOrView, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, LoadCursorA(nullptr, IDC_ARROW),
                    GetSysColorBrush(COLOR_WINDOW), nullptr);
    } else if (std::string_view(cs.lpszClass) == kAfxWnd) {
        EnsureClass(kAfxWnd, CS_DBLCLKS, LoadCursorA(nullptr, IDC_ARROW), nullptr, nullptr);
    }
    return TRUE;
}

BOOL CWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  void* context)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, context);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id, LPVOID param)
{
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent != nullptr ? parent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU idOrMenu, LPVOID param)
{
    if (m_hWnd != nullptr) {
        return FALSE;
    }
    CREATESTRUCTA cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = static_cast<LONG>(style);
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.hwndParent = parent;
    cs.hMenu = idOrMenu;
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    // 1. Hook the creation so the first creation message attaches this
    //    object (nested creations from WM_CREATE handlers stack).
    WndState& state = State();
    CWnd* const outer = state.creating;
    HookWindowCreate(this);
    // 2. Create; the window's messages reach WindowProc from the first.
    HWND hwnd = CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                                cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    // 3. Unhook when the outermost creation ends.
    const bool attachedHere = UnhookWindowCreate() != FALSE;
    state.creating = outer;
    if (hwnd == nullptr) {
        // A refused window went through WM_NCDESTROY, which detached this
        // object; one that never reached it is not attached.
        return FALSE;
    }
    if (!attachedHere && m_hWnd == nullptr) {
        Attach(hwnd);
        SubclassWindow(nullptr);
    }
    return m_hWnd == hwnd ? TRUE : FALSE;
}

void CWnd::HookWindowCreate(CWnd* wnd)
{
    WndState& state = State();
    state.creating = wnd;
    if (state.createDepth++ == 0) {
        state.createHook = SetWindowsHookExA(WH_CALLWNDPROC, &CreationHook, nullptr, 0);
    }
}

BOOL CWnd::UnhookWindowCreate()
{
    WndState& state = State();
    if (state.createDepth > 0 && --state.createDepth == 0) {
        UnhookWindowsHookEx(state.createHook);
        state.createHook = nullptr;
    }
    const BOOL attached = state.creating == nullptr ? TRUE : FALSE;
    state.creating = nullptr;
    return attached;
}

BOOL CWnd::SubclassWindow(HWND hwnd)
{
    // A null handle subclasses the window this object is attached to.
    if (hwnd != nullptr && !Attach(hwnd)) {
        return FALSE;
    }
    if (m_hWnd == nullptr) {
        return FALSE;
    }
    WNDPROC old = InstallFrameworkProc(m_hWnd);
    if (old != nullptr) {
        m_pfnSuper = old;
    }
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    if (parent == nullptr || parent->m_hWnd == nullptr) {
        return FALSE;
    }
    HWND item = ::GetDlgItem(parent->m_hWnd, static_cast<int>(id));
    return item != nullptr ? SubclassWindow(item) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (m_hWnd != nullptr && m_pfnSuper != nullptr) {
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
    m_pfnSuper = nullptr;
    return Detach();
}

BOOL CWnd::DestroyWindow()
{
    HWND hwnd = m_hWnd;
    if (hwnd == nullptr) {
        return FALSE;
    }
    // The framework's procedure detaches (and maybe deletes) the object at
    // WM_NCDESTROY, also when another procedure subclassed the window on
    // top of it and passes the message on; so after the destruction this
    // object is touched only while the handle map still holds it.
    const bool mapped = FromHandlePermanent(hwnd) == this;
    const BOOL destroyed = ::DestroyWindow(hwnd);
    if (mapped ? FromHandlePermanent(hwnd) == this : m_hWnd == hwnd) {
        Detach();
    }
    return destroyed;
}

void CWnd::PostNcDestroy() {}

// Dispatch --------------------------------------------------------------------

LRESULT CWnd::AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = FromHandlePermanent(hwnd);
    if (wnd == nullptr) {
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    LRESULT result = 0;
    {
        CurrentMessageScope scope(hwnd, message, wParam, lParam);
        result = wnd->WindowProc(message, wParam, lParam);
    }
    if (message == WM_NCDESTROY && FromHandlePermanent(hwnd) == wnd) {
        // The window is gone: the object lets go and may delete itself.
        wnd->m_pfnSuper = nullptr;
        wnd->Detach();
        wnd->PostNcDestroy();
    }
    return result;
}

const MSG* CWnd::GetCurrentMessage() { return &State().current; }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) {
        result = DefWindowProc(message, wParam, lParam);
    }
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != nullptr) {
        return CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    }
    return DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& msg = State().current;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

namespace {

bool IsCtlColor(UINT message)
{
    return message >= framework_messages::kCtlColorFirst && message <= framework_messages::kCtlColorLast;
}

// The control a notification message comes from, for reflection; null when
// it comes from no control (menus, window scroll bars).
HWND NotifyingControl(HWND parent, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsCtlColor(message) || message == WM_HSCROLL || message == WM_VSCROLL) {
        return reinterpret_cast<HWND>(lParam);
    }
    if (message == WM_DRAWITEM && wParam != 0) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
    }
    if (message == WM_MEASUREITEM && wParam != 0) {
        const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        return item->CtlType != ODT_MENU ? ::GetDlgItem(parent, static_cast<int>(item->CtlID)) : nullptr;
    }
    return nullptr;
}

} // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    LRESULT answer = 0;
    // 1. Commands and notifications go through command routing.
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) {
            return FALSE;
        }
        if (result != nullptr) {
            *result = 1;
        }
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        if (lParam == 0 || !OnNotify(wParam, lParam, &answer)) {
            return FALSE;
        }
        if (result != nullptr) {
            *result = answer;
        }
        return TRUE;
    }
    // 2. Notifications of controls are offered to the control first.
    if (HWND control = NotifyingControl(m_hWnd, message, wParam, lParam)) {
        if (ReflectLastMsg(control, message, wParam, lParam, &answer)) {
            if (result != nullptr) {
                *result = answer;
            }
            return TRUE;
        }
    }
    // 3. The map's own entry for the message.
    const UINT slot = IsCtlColor(message) ? framework_messages::kCtlColor : message;
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(slot, 0, 0);
    if (entry == nullptr) {
        return FALSE;
    }
    return DispatchWindowEntry(*entry, message, wParam, lParam, result);
}

BOOL CWnd::DispatchWindowEntry(const AFX_MSGMAP_ENTRY& entry, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT* result)
{
    namespace h = afx_window_handlers;
    const AfxHandler& handler = entry.handler;
    LRESULT answer = 0;
    const auto low = static_cast<UINT>(LOWORD(wParam));
    const auto high = static_cast<UINT>(HIWORD(wParam));
    const UINT message32 = message >= WM_REFLECT_BASE ? message - WM_REFLECT_BASE : message;
    switch (static_cast<UINT>(entry.nSig)) {
    case AfxSig_message:
        answer = (this->*std::get<AfxMessageHandler>(handler))(wParam, lParam);
        break;
    case AfxSig_vv:
        (this->*std::get<AfxCmdHandler>(handler))();
        break;
    case AfxSig_bv:
        answer = (this->*std::get<h::BoolVoid>(handler))();
        break;
    case AfxSig_is:
        answer = (this->*std::get<h::IntCreate>(handler))(reinterpret_cast<CREATESTRUCTA*>(lParam));
        break;
    case AfxSig_bs:
        answer = (this->*std::get<h::BoolCreate>(handler))(reinterpret_cast<CREATESTRUCTA*>(lParam));
        break;
    case AfxSig_vwii:
        (this->*std::get<h::SizeHandler>(handler))(static_cast<UINT>(wParam), static_cast<SHORT>(LOWORD(lParam)),
                                                   static_cast<SHORT>(HIWORD(lParam)));
        break;
    case AfxSig_vii:
        (this->*std::get<h::MoveHandler>(handler))(static_cast<SHORT>(LOWORD(lParam)),
                                                   static_cast<SHORT>(HIWORD(lParam)));
        break;
    case AfxSig_bD:
        answer = (this->*std::get<h::BoolDC>(handler))(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
        break;
    case AfxSig_vwp:
        (this->*std::get<h::FlagsPoint>(handler))(static_cast<UINT>(wParam), CPoint(lParam));
        break;
    case AfxSig_lp:
        answer = (this->*std::get<h::HitTest>(handler))(CPoint(lParam));
        break;
    case AfxSig_bwsp:
        answer = (this->*std::get<h::Wheel>(handler))(low, static_cast<short>(high), CPoint(lParam));
        break;
    case AfxSig_vwww:
        (this->*std::get<h::Key>(handler))(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_vt:
        (this->*std::get<h::Timer>(handler))(static_cast<UINT_PTR>(wParam));
        break;
    case AfxSig_vW:
        (this->*std::get<h::Window>(handler))(FromHandle(reinterpret_cast<HWND>(message == WM_CAPTURECHANGED ? lParam
                                                                                                     : wParam)));
        break;
    case AfxSig_bWww:
        answer = (this->*std::get<h::SetCursor>(handler))(FromHandle(reinterpret_cast<HWND>(wParam)),
                                                          LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_iWww:
        answer = (this->*std::get<h::MouseActivate>(handler))(FromHandle(reinterpret_cast<HWND>(wParam)),
                                                              LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_vwWb:
        (this->*std::get<h::Activate>(handler))(low, FromHandle(reinterpret_cast<HWND>(lParam)), high != 0);
        break;
    case AfxSig_vbh:
        (this->*std::get<h::ActivateApp>(handler))(wParam != 0, static_cast<DWORD>(lParam));
        break;
    case AfxSig_vMwb:
        (this->*std::get<h::InitMenuPopup>(handler))(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)),
                                                     LOWORD(lParam), HIWORD(lParam) != 0);
        break;
    case AfxSig_vM:
        (this->*std::get<h::InitMenu>(handler))(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)));
        break;
    case AfxSig_vwwh:
        (this->*std::get<h::MenuSelect>(handler))(low, high, reinterpret_cast<HMENU>(lParam));
        break;
    case AfxSig_lwwM:
        answer = (this->*std::get<h::MenuChar>(handler))(low, high, CMenu::FromHandle(reinterpret_cast<HMENU>(lParam)));
        break;
    case AfxSig_vOWNER:
        (this->*std::get<h::DrawItem>(handler))(static_cast<int>(wParam), reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        answer = TRUE;
        break;
    case AfxSig_vMEASURE:
        (this->*std::get<h::MeasureItem>(handler))(static_cast<int>(wParam),
                                                   reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        answer = TRUE;
        break;
    case AfxSig_vwwS:
        // The scroll bar control's object when it has one; window scroll
        // bars have none.
        (this->*std::get<h::Scroll>(handler))(low, high,
                                              reinterpret_cast<CScrollBar*>(
                                                  FromHandlePermanent(reinterpret_cast<HWND>(lParam))));
        break;
    case AfxSig_hDWw:
        answer = reinterpret_cast<LRESULT>((this->*std::get<h::CtlColor>(handler))(
            CDC::FromHandle(reinterpret_cast<HDC>(wParam)), FromHandle(reinterpret_cast<HWND>(lParam)),
            message32 - framework_messages::kCtlColorFirst));
        break;
    case AfxSig_vbw:
        (this->*std::get<h::ShowWindow>(handler))(wParam != 0, static_cast<UINT>(lParam));
        break;
    case AfxSig_vPOS:
        (this->*std::get<h::WindowPos>(handler))(reinterpret_cast<WINDOWPOS*>(lParam));
        break;
    case AfxSig_vMMI:
        (this->*std::get<h::MinMax>(handler))(reinterpret_cast<MINMAXINFO*>(lParam));
        break;
    case AfxSig_vWp:
        (this->*std::get<h::ContextMenu>(handler))(FromHandle(reinterpret_cast<HWND>(wParam)), CPoint(lParam));
        break;
    case AfxSig_bHELPINFO:
        answer = (this->*std::get<h::HelpInfo>(handler))(reinterpret_cast<HELPINFO*>(lParam));
        break;
    case AfxSig_vws:
        (this->*std::get<h::SettingChange>(handler))(static_cast<UINT>(wParam), reinterpret_cast<LPCSTR>(lParam));
        break;
    case AfxSig_vb:
        (this->*std::get<h::Bool>(handler))(wParam != 0);
        break;
    case AfxSig_bb:
        answer = (this->*std::get<h::BoolBool>(handler))(wParam != 0);
        break;
    case AfxSig_wv:
        answer = (this->*std::get<h::UintVoid>(handler))();
        break;
    case AfxSig_vwl:
        (this->*std::get<h::UintLparam>(handler))(static_cast<UINT>(wParam), lParam);
        break;
    case AfxSig_vCALC:
        (this->*std::get<h::NcCalcSize>(handler))(wParam != 0, reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam));
        break;
    case AfxSig_vbWW: {
        // wParam: the child losing activation, lParam: the one gaining it.
        HWND deactivated = reinterpret_cast<HWND>(wParam);
        HWND activated = reinterpret_cast<HWND>(lParam);
        (this->*std::get<h::MdiActivate>(handler))(activated == m_hWnd, FromHandle(activated),
                                                   FromHandle(deactivated));
        break;
    }
    case AfxSig_hDw: {
        HBRUSH brush = (this->*std::get<h::CtlColorReflect>(handler))(
            CDC::FromHandle(reinterpret_cast<HDC>(wParam)), message32 - framework_messages::kCtlColorFirst);
        if (brush == nullptr) {
            return FALSE;  // the parent chooses the colours
        }
        answer = reinterpret_cast<LRESULT>(brush);
        break;
    }
    case AfxSig_vOWNERreflect:
        (this->*std::get<h::DrawItemReflect>(handler))(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        answer = TRUE;
        break;
    case AfxSig_vMEASUREreflect:
        (this->*std::get<h::MeasureItemReflect>(handler))(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        answer = TRUE;
        break;
    case AfxSig_vww:
        (this->*std::get<h::ScrollReflect>(handler))(low, high);
        break;
    default:
        return FALSE;
    }
    if (result != nullptr) {
        *result = answer;
    }
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    int code = static_cast<int>(static_cast<short>(HIWORD(wParam)));
    if (control != nullptr) {
        // 1. A control's notification is the control's own business first.
        if (ReflectLastMsg(control, WM_COMMAND, wParam, lParam, nullptr)) {
            return TRUE;
        }
    } else {
        // 2. Menus and accelerators: a command whose item is disabled does
        //    nothing (codes 0 and 1 are both commands).
        code = CN_COMMAND;
        CTestCmdUI state;
        state.m_nID = id;
        OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.m_enabled) {
            return TRUE;
        }
    }
    return OnCmdMsg(id, code, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (ReflectLastMsg(header->hwndFrom, WM_NOTIFY, static_cast<WPARAM>(header->idFrom), lParam, result)) {
        return TRUE;
    }
    AFX_NOTIFY notify{result, header};
    const int code = static_cast<int>(MAKELONG(static_cast<WORD>(header->code), static_cast<WORD>(WM_NOTIFY)));
    return OnCmdMsg(static_cast<UINT>(header->idFrom), code, &notify, nullptr);
}

BOOL CWnd::ReflectLastMsg(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    CWnd* control = FromHandlePermanent(child);
    if (control == nullptr) {
        return FALSE;
    }
    return control->OnChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return ReflectChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND) {
        const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0);
        if (entry == nullptr) {
            return FALSE;
        }
        if (const auto* ex = std::get_if<afx_window_handlers::BoolVoid>(&entry->handler)) {
            return (this->**ex)();
        }
        if (const auto* plain = std::get_if<AfxCmdHandler>(&entry->handler)) {
            (this->**plain)();
            return TRUE;
        }
        return FALSE;
    }
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        const AFX_MSGMAP_ENTRY* entry =
            FindMessageEntry(WM_REFLECT_BASE + WM_NOTIFY, static_cast<WORD>(header->code), 0);
        if (entry == nullptr) {
            return FALSE;
        }
        LRESULT ignored = 0;
        LRESULT* answer = result != nullptr ? result : &ignored;
        if (const auto* ex = std::get_if<AfxNotifyExHandler>(&entry->handler)) {
            return (this->**ex)(header, answer);
        }
        if (const auto* plain = std::get_if<AfxNotifyHandler>(&entry->handler)) {
            (this->**plain)(header, answer);
            return TRUE;
        }
        return FALSE;
    }
    const UINT slot = IsCtlColor(message) ? framework_messages::kCtlColor : message;
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(WM_REFLECT_BASE + slot, 0, 0);
    if (entry == nullptr) {
        return FALSE;
    }
    return DispatchWindowEntry(*entry, WM_REFLECT_BASE + message, wParam, lParam, result);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg)
{
    for (HWND hwnd = msg->hwnd; hwnd != nullptr; hwnd = ::GetParent(hwnd)) {
        CWnd* wnd = FromHandlePermanent(hwnd);
        if (wnd != nullptr && wnd->PreTranslateMessage(msg)) {
            return TRUE;
        }
        if (hwnd == stop) {
            break;
        }
    }
    return FALSE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL deep) const
{
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::SendMessageA(child, message, wParam, lParam);
        if (deep && ::GetWindow(child, GW_CHILD) != nullptr) {
            CWnd::FromHandle(child)->SendMessageToDescendants(message, wParam, lParam, TRUE);
        }
    }
}

void CWnd::UpdateDialogControls(CCmdTarget* target, BOOL disableIfNoHandler)
{
    CControlCmdUI state;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        state.m_nID = static_cast<UINT>(::GetDlgCtrlID(child));
        state.m_pOther = FromHandle(child);
        state.DoUpdate(target, disableIfNoHandler);
    }
}
