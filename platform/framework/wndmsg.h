// The window-message entries of message maps (ON_WM_ and the reflected
// forms) and the framework's own message numbers. Each entry names the
// message it handles and the way its parameters are cracked (its AfxSig);
// CWnd::OnWndMsg does the cracking.
#pragma once

#include "platform/framework/msgmap.h"
#include "platform/user/winuser.h"

// Messages the framework sends among its own windows.
constexpr UINT WM_SIZEPARENT = 0x0361;        // lParam: AFX_SIZEPARENTPARAMS*
constexpr UINT WM_SETMESSAGESTRING = 0x0362;  // wParam: string id, or lParam: text
constexpr UINT WM_IDLEUPDATECMDUI = 0x0363;   // wParam: disable items without handlers
constexpr UINT WM_INITIALUPDATE = 0x0364;     // sent to views after their frame is made
constexpr UINT WM_COMMANDHELP = 0x0365;
constexpr UINT WM_HELPHITTEST = 0x0366;
constexpr UINT WM_EXITHELPMODE = 0x0367;
constexpr UINT WM_RECALCPARENT = 0x0368;      // a bar asks its frame to lay out again
constexpr UINT WM_SIZECHILD = 0x0369;
constexpr UINT WM_KICKIDLE = 0x036A;
constexpr UINT WM_QUERYCENTERWND = 0x036B;
constexpr UINT WM_DISABLEMODAL = 0x036C;
constexpr UINT WM_FLOATSTATUS = 0x036D;
constexpr UINT WM_ACTIVATETOPLEVEL = 0x036E;
constexpr UINT WM_POPMESSAGESTRING = 0x0375;
// A notification a parent reflects back to the control that sent it arrives
// at the control as WM_REFLECT_BASE + the message.
constexpr UINT WM_REFLECT_BASE = 0xBC00;

// The colour messages of controls, in order of their CTLCOLOR_ kinds; an
// ON_WM_CTLCOLOR entry receives all of them.
namespace framework_messages {
constexpr UINT kCtlColorFirst = 0x0132; // message box
constexpr UINT kCtlColorLast = 0x0138;  // static
// The table's slot for ON_WM_CTLCOLOR entries.
constexpr UINT kCtlColor = 0x0019;
} // namespace framework_messages
constexpr UINT CTLCOLOR_MSGBOX = 0;
constexpr UINT CTLCOLOR_EDIT = 1;
constexpr UINT CTLCOLOR_LISTBOX = 2;
constexpr UINT CTLCOLOR_BTN = 3;
constexpr UINT CTLCOLOR_DLG = 4;
constexpr UINT CTLCOLOR_SCROLLBAR = 5;
constexpr UINT CTLCOLOR_STATIC = 6;

// How a window message's parameters become the handler's arguments.
enum AfxWindowSig : UINT {
    AfxSig_vv = AfxSig_windowFirst,  // void ()
    AfxSig_bv,                       // BOOL ()
    AfxSig_is,                       // int (CREATESTRUCTA*)             WM_CREATE
    AfxSig_bs,                       // BOOL (CREATESTRUCTA*)            WM_NCCREATE
    AfxSig_vwii,                     // void (UINT type, int cx, int cy) WM_SIZE
    AfxSig_vii,                      // void (int x, int y)              WM_MOVE
    AfxSig_bD,                       // BOOL (CDC*)                      WM_ERASEBKGND
    AfxSig_vwp,                      // void (UINT flags, CPoint)        mouse messages
    AfxSig_lp,                       // LRESULT (CPoint screen)          WM_NCHITTEST
    AfxSig_bwsp,                     // BOOL (UINT flags, short delta, CPoint screen) WM_MOUSEWHEEL
    AfxSig_vwww,                     // void (UINT key, UINT repeat, UINT flags) key messages
    AfxSig_vt,                       // void (UINT_PTR id)               WM_TIMER
    AfxSig_vW,                       // void (CWnd*)                     focus, capture
    AfxSig_bWww,                     // BOOL (CWnd*, UINT hit, UINT message) WM_SETCURSOR
    AfxSig_iWww,                     // int (CWnd* top, UINT hit, UINT message) WM_MOUSEACTIVATE
    AfxSig_vwWb,                     // void (UINT state, CWnd* other, BOOL minimized) WM_ACTIVATE
    AfxSig_vbh,                      // void (BOOL active, DWORD thread) WM_ACTIVATEAPP
    AfxSig_vMwb,                     // void (CMenu*, UINT index, BOOL system) WM_INITMENUPOPUP
    AfxSig_vM,                       // void (CMenu*)                    WM_INITMENU
    AfxSig_vwwh,                     // void (UINT item, UINT flags, HMENU) WM_MENUSELECT
    AfxSig_lwwM,                     // LRESULT (UINT char, UINT flags, CMenu*) WM_MENUCHAR
    AfxSig_vOWNER,                   // void (int id, DRAWITEMSTRUCT*)   WM_DRAWITEM
    AfxSig_vMEASURE,                 // void (int id, MEASUREITEMSTRUCT*) WM_MEASUREITEM
    AfxSig_vwwS,                     // void (UINT code, UINT pos, CScrollBar*) WM_HSCROLL, WM_VSCROLL
    AfxSig_hDWw,                     // HBRUSH (CDC*, CWnd*, UINT kind)  the WM_CTLCOLOR messages
    AfxSig_vbw,                      // void (BOOL show, UINT status)    WM_SHOWWINDOW
    AfxSig_vPOS,                     // void (WINDOWPOS*)                WM_WINDOWPOSCHANGING/CHANGED
    AfxSig_vMMI,                     // void (MINMAXINFO*)               WM_GETMINMAXINFO
    AfxSig_vWp,                      // void (CWnd*, CPoint screen)      WM_CONTEXTMENU
    AfxSig_bHELPINFO,                // BOOL (HELPINFO*)                 WM_HELP
    AfxSig_vws,                      // void (UINT flags, LPCSTR section) WM_SETTINGCHANGE
    AfxSig_vb,                       // void (BOOL)                      WM_ENABLE, menu loop
    AfxSig_bb,                       // BOOL (BOOL)                      WM_NCACTIVATE
    AfxSig_wv,                       // UINT ()                          WM_GETDLGCODE
    AfxSig_vwl,                      // void (UINT, LPARAM)              WM_SYSCOMMAND, WM_PARENTNOTIFY
    AfxSig_vCALC,                    // void (BOOL, NCCALCSIZE_PARAMS*)  WM_NCCALCSIZE
    AfxSig_vbWW,                     // void (BOOL activate, CWnd* activated, CWnd* deactivated) WM_MDIACTIVATE
    AfxSig_hDw,                      // HBRUSH (CDC*, UINT kind)         ON_WM_CTLCOLOR_REFLECT
    AfxSig_vOWNERreflect,            // void (DRAWITEMSTRUCT*)           ON_WM_DRAWITEM_REFLECT
    AfxSig_vMEASUREreflect,          // void (MEASUREITEMSTRUCT*)        ON_WM_MEASUREITEM_REFLECT
    AfxSig_vww,                      // void (UINT code, UINT pos)       ON_WM_H/VSCROLL_REFLECT
};

#define NUVEX_WM_ENTRY(message, sig, type, Base, fn) \
    NUVEX_MSGMAP_ENTRY(message, 0, 0, 0, static_cast<AfxSig>(sig), nullptr, \
                       NUVEX_MSGMAP_HANDLER(type, afx_window_handlers::Base, fn))

#define ON_WM_CREATE() NUVEX_WM_ENTRY(WM_CREATE, AfxSig_is, int (ThisClass::*)(CREATESTRUCTA*), IntCreate, OnCreate)
#define ON_WM_NCCREATE() \
    NUVEX_WM_ENTRY(WM_NCCREATE, AfxSig_bs, BOOL (ThisClass::*)(CREATESTRUCTA*), BoolCreate, OnNcCreate)
// Handlers without arguments share the command handlers' type.
#define NUVEX_WM_VOID(message, fn)                                             \
    NUVEX_MSGMAP_ENTRY(message, 0, 0, 0, static_cast<AfxSig>(AfxSig_vv), nullptr, \
                       NUVEX_MSGMAP_HANDLER(void (ThisClass::*)(), AfxCmdHandler, fn))
#define ON_WM_DESTROY() NUVEX_WM_VOID(WM_DESTROY, OnDestroy)
#define ON_WM_NCDESTROY() NUVEX_WM_VOID(WM_NCDESTROY, OnNcDestroy)
#define ON_WM_PAINT() NUVEX_WM_VOID(WM_PAINT, OnPaint)
#define ON_WM_NCPAINT() NUVEX_WM_VOID(WM_NCPAINT, OnNcPaint)
#define ON_WM_CLOSE() NUVEX_WM_VOID(WM_CLOSE, OnClose)
#define ON_WM_CANCELMODE() NUVEX_WM_VOID(WM_CANCELMODE, OnCancelMode)
#define ON_WM_SYSCOLORCHANGE() NUVEX_WM_VOID(WM_SYSCOLORCHANGE, OnSysColorChange)
#define ON_WM_CHILDACTIVATE() NUVEX_WM_VOID(0x0022, OnChildActivate)
#define ON_WM_SIZE() NUVEX_WM_ENTRY(WM_SIZE, AfxSig_vwii, void (ThisClass::*)(UINT, int, int), SizeHandler, OnSize)
#define ON_WM_MOVE() NUVEX_WM_ENTRY(WM_MOVE, AfxSig_vii, void (ThisClass::*)(int, int), MoveHandler, OnMove)
#define ON_WM_ERASEBKGND() \
    NUVEX_WM_ENTRY(WM_ERASEBKGND, AfxSig_bD, BOOL (ThisClass::*)(CDC*), BoolDC, OnEraseBkgnd)
#define NUVEX_WM_MOUSE(message, fn) \
    NUVEX_WM_ENTRY(message, AfxSig_vwp, void (ThisClass::*)(UINT, CPoint), FlagsPoint, fn)
#define ON_WM_MOUSEMOVE() NUVEX_WM_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() NUVEX_WM_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() NUVEX_WM_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() NUVEX_WM_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() NUVEX_WM_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() NUVEX_WM_MOUSE(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() NUVEX_WM_MOUSE(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() NUVEX_WM_MOUSE(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() NUVEX_WM_MOUSE(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK() NUVEX_WM_MOUSE(WM_MBUTTONDBLCLK, OnMButtonDblClk)
// Non-client mouse messages: the hit-test code, then the screen point.
#define ON_WM_NCMOUSEMOVE() NUVEX_WM_MOUSE(WM_NCMOUSEMOVE, OnNcMouseMove)
#define ON_WM_NCLBUTTONDOWN() NUVEX_WM_MOUSE(WM_NCLBUTTONDOWN, OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() NUVEX_WM_MOUSE(WM_NCLBUTTONUP, OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() NUVEX_WM_MOUSE(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() NUVEX_WM_MOUSE(WM_NCRBUTTONDOWN, OnNcRButtonDown)
#define ON_WM_NCHITTEST() NUVEX_WM_ENTRY(WM_NCHITTEST, AfxSig_lp, LRESULT (ThisClass::*)(CPoint), HitTest, OnNcHitTest)
#define ON_WM_MOUSEWHEEL() \
    NUVEX_WM_ENTRY(WM_MOUSEWHEEL, AfxSig_bwsp, BOOL (ThisClass::*)(UINT, short, CPoint), Wheel, OnMouseWheel)
#define NUVEX_WM_KEY(message, fn) NUVEX_WM_ENTRY(message, AfxSig_vwww, void (ThisClass::*)(UINT, UINT, UINT), Key, fn)
#define ON_WM_KEYDOWN() NUVEX_WM_KEY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() NUVEX_WM_KEY(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR() NUVEX_WM_KEY(WM_CHAR, OnChar)
#define ON_WM_SYSKEYDOWN() NUVEX_WM_KEY(WM_SYSKEYDOWN, OnSysKeyDown)
#define ON_WM_SYSKEYUP() NUVEX_WM_KEY(WM_SYSKEYUP, OnSysKeyUp)
#define ON_WM_SYSCHAR() NUVEX_WM_KEY(WM_SYSCHAR, OnSysChar)
#define ON_WM_TIMER() NUVEX_WM_ENTRY(WM_TIMER, AfxSig_vt, void (ThisClass::*)(UINT_PTR), Timer, OnTimer)
#define ON_WM_SETFOCUS() NUVEX_WM_ENTRY(WM_SETFOCUS, AfxSig_vW, void (ThisClass::*)(CWnd*), Window, OnSetFocus)
#define ON_WM_KILLFOCUS() NUVEX_WM_ENTRY(WM_KILLFOCUS, AfxSig_vW, void (ThisClass::*)(CWnd*), Window, OnKillFocus)
#define ON_WM_CAPTURECHANGED() \
    NUVEX_WM_ENTRY(WM_CAPTURECHANGED, AfxSig_vW, void (ThisClass::*)(CWnd*), Window, OnCaptureChanged)
#define ON_WM_SETCURSOR() \
    NUVEX_WM_ENTRY(WM_SETCURSOR, AfxSig_bWww, BOOL (ThisClass::*)(CWnd*, UINT, UINT), SetCursor, OnSetCursor)
#define ON_WM_MOUSEACTIVATE()                                                                        \
    NUVEX_WM_ENTRY(WM_MOUSEACTIVATE, AfxSig_iWww, int (ThisClass::*)(CWnd*, UINT, UINT), MouseActivate, \
                   OnMouseActivate)
#define ON_WM_ACTIVATE() \
    NUVEX_WM_ENTRY(WM_ACTIVATE, AfxSig_vwWb, void (ThisClass::*)(UINT, CWnd*, BOOL), Activate, OnActivate)
#define ON_WM_ACTIVATEAPP() \
    NUVEX_WM_ENTRY(WM_ACTIVATEAPP, AfxSig_vbh, void (ThisClass::*)(BOOL, DWORD), ActivateApp, OnActivateApp)
#define ON_WM_INITMENUPOPUP()                                                                        \
    NUVEX_WM_ENTRY(WM_INITMENUPOPUP, AfxSig_vMwb, void (ThisClass::*)(CMenu*, UINT, BOOL), InitMenuPopup, \
                   OnInitMenuPopup)
#define ON_WM_INITMENU() NUVEX_WM_ENTRY(WM_INITMENU, AfxSig_vM, void (ThisClass::*)(CMenu*), InitMenu, OnInitMenu)
#define ON_WM_MENUSELECT() \
    NUVEX_WM_ENTRY(WM_MENUSELECT, AfxSig_vwwh, void (ThisClass::*)(UINT, UINT, HMENU), MenuSelect, OnMenuSelect)
#define ON_WM_MENUCHAR() \
    NUVEX_WM_ENTRY(WM_MENUCHAR, AfxSig_lwwM, LRESULT (ThisClass::*)(UINT, UINT, CMenu*), MenuChar, OnMenuChar)
#define ON_WM_DRAWITEM() \
    NUVEX_WM_ENTRY(WM_DRAWITEM, AfxSig_vOWNER, void (ThisClass::*)(int, DRAWITEMSTRUCT*), DrawItem, OnDrawItem)
#define ON_WM_MEASUREITEM()                                                                          \
    NUVEX_WM_ENTRY(WM_MEASUREITEM, AfxSig_vMEASURE, void (ThisClass::*)(int, MEASUREITEMSTRUCT*), MeasureItem, \
                   OnMeasureItem)
#define ON_WM_HSCROLL() \
    NUVEX_WM_ENTRY(WM_HSCROLL, AfxSig_vwwS, void (ThisClass::*)(UINT, UINT, CScrollBar*), Scroll, OnHScroll)
#define ON_WM_VSCROLL() \
    NUVEX_WM_ENTRY(WM_VSCROLL, AfxSig_vwwS, void (ThisClass::*)(UINT, UINT, CScrollBar*), Scroll, OnVScroll)
#define ON_WM_CTLCOLOR()                                                                             \
    NUVEX_WM_ENTRY(framework_messages::kCtlColor, AfxSig_hDWw, HBRUSH (ThisClass::*)(CDC*, CWnd*, UINT), \
                   CtlColor, OnCtlColor)
#define ON_WM_SHOWWINDOW() \
    NUVEX_WM_ENTRY(WM_SHOWWINDOW, AfxSig_vbw, void (ThisClass::*)(BOOL, UINT), ShowWindow, OnShowWindow)
#define ON_WM_WINDOWPOSCHANGING()                                                                    \
    NUVEX_WM_ENTRY(WM_WINDOWPOSCHANGING, AfxSig_vPOS, void (ThisClass::*)(WINDOWPOS*), WindowPos,       \
                   OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED()                                                                     \
    NUVEX_WM_ENTRY(WM_WINDOWPOSCHANGED, AfxSig_vPOS, void (ThisClass::*)(WINDOWPOS*), WindowPos,        \
                   OnWindowPosChanged)
#define ON_WM_GETMINMAXINFO() \
    NUVEX_WM_ENTRY(WM_GETMINMAXINFO, AfxSig_vMMI, void (ThisClass::*)(MINMAXINFO*), MinMax, OnGetMinMaxInfo)
#define ON_WM_CONTEXTMENU() \
    NUVEX_WM_ENTRY(WM_CONTEXTMENU, AfxSig_vWp, void (ThisClass::*)(CWnd*, CPoint), ContextMenu, OnContextMenu)
#define ON_WM_HELPINFO() NUVEX_WM_ENTRY(WM_HELP, AfxSig_bHELPINFO, BOOL (ThisClass::*)(HELPINFO*), HelpInfo, OnHelpInfo)
#define ON_WM_SETTINGCHANGE() \
    NUVEX_WM_ENTRY(WM_SETTINGCHANGE, AfxSig_vws, void (ThisClass::*)(UINT, LPCSTR), SettingChange, OnSettingChange)
#define ON_WM_ENABLE() NUVEX_WM_ENTRY(WM_ENABLE, AfxSig_vb, void (ThisClass::*)(BOOL), Bool, OnEnable)
#define ON_WM_ENTERMENULOOP() \
    NUVEX_WM_ENTRY(WM_ENTERMENULOOP, AfxSig_vb, void (ThisClass::*)(BOOL), Bool, OnEnterMenuLoop)
#define ON_WM_EXITMENULOOP() NUVEX_WM_ENTRY(WM_EXITMENULOOP, AfxSig_vb, void (ThisClass::*)(BOOL), Bool, OnExitMenuLoop)
#define ON_WM_NCACTIVATE() NUVEX_WM_ENTRY(WM_NCACTIVATE, AfxSig_bb, BOOL (ThisClass::*)(BOOL), BoolBool, OnNcActivate)
#define ON_WM_GETDLGCODE() NUVEX_WM_ENTRY(WM_GETDLGCODE, AfxSig_wv, UINT (ThisClass::*)(), UintVoid, OnGetDlgCode)
#define ON_WM_SYSCOMMAND() \
    NUVEX_WM_ENTRY(WM_SYSCOMMAND, AfxSig_vwl, void (ThisClass::*)(UINT, LPARAM), UintLparam, OnSysCommand)
#define ON_WM_PARENTNOTIFY() \
    NUVEX_WM_ENTRY(WM_PARENTNOTIFY, AfxSig_vwl, void (ThisClass::*)(UINT, LPARAM), UintLparam, OnParentNotify)
#define ON_WM_NCCALCSIZE()                                                                           \
    NUVEX_WM_ENTRY(WM_NCCALCSIZE, AfxSig_vCALC, void (ThisClass::*)(BOOL, NCCALCSIZE_PARAMS*), NcCalcSize, \
                   OnNcCalcSize)
#define ON_WM_MDIACTIVATE()                                                                          \
    NUVEX_WM_ENTRY(0x0222, AfxSig_vbWW, void (ThisClass::*)(BOOL, CWnd*, CWnd*), MdiActivate, OnMDIActivate)

// Reflected notifications: the control's own handlers for what it told its
// parent. The _EX forms answer whether the parent should still see it.
#define ON_NOTIFY_REFLECT(code, memberFxn)                                                         \
    NUVEX_MSGMAP_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, static_cast<WORD>(code), 0, 0, AfxSig_notify, nullptr, \
                       NUVEX_MSGMAP_HANDLER(void (ThisClass::*)(NMHDR*, LRESULT*), AfxNotifyHandler, memberFxn))
#define ON_NOTIFY_REFLECT_EX(code, memberFxn)                                                      \
    NUVEX_MSGMAP_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, static_cast<WORD>(code), 0, 0, AfxSig_notifyEx, nullptr, \
                       NUVEX_MSGMAP_HANDLER(BOOL (ThisClass::*)(NMHDR*, LRESULT*), AfxNotifyExHandler, memberFxn))
#define ON_CONTROL_REFLECT(code, memberFxn)                                                        \
    NUVEX_MSGMAP_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, AfxSig_cmd, nullptr,               \
                       NUVEX_MSGMAP_HANDLER(void (ThisClass::*)(), AfxCmdHandler, memberFxn))
#define ON_CONTROL_REFLECT_EX(code, memberFxn)                                                     \
    NUVEX_MSGMAP_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, static_cast<AfxSig>(AfxSig_bv), nullptr, \
                       NUVEX_MSGMAP_HANDLER(BOOL (ThisClass::*)(), afx_window_handlers::BoolVoid, memberFxn))
#define ON_WM_CTLCOLOR_REFLECT()                                                                   \
    NUVEX_WM_ENTRY(WM_REFLECT_BASE + framework_messages::kCtlColor, AfxSig_hDw, HBRUSH (ThisClass::*)(CDC*, UINT), \
                   CtlColorReflect, CtlColor)
#define ON_WM_DRAWITEM_REFLECT()                                                                   \
    NUVEX_WM_ENTRY(WM_REFLECT_BASE + WM_DRAWITEM, AfxSig_vOWNERreflect, void (ThisClass::*)(DRAWITEMSTRUCT*), \
                   DrawItemReflect, DrawItem)
#define ON_WM_MEASUREITEM_REFLECT()                                                                \
    NUVEX_WM_ENTRY(WM_REFLECT_BASE + WM_MEASUREITEM, AfxSig_vMEASUREreflect,                         \
                   void (ThisClass::*)(MEASUREITEMSTRUCT*), MeasureItemReflect, MeasureItem)
#define ON_WM_HSCROLL_REFLECT() \
    NUVEX_WM_ENTRY(WM_REFLECT_BASE + WM_HSCROLL, AfxSig_vww, void (ThisClass::*)(UINT, UINT), ScrollReflect, HScroll)
#define ON_WM_VSCROLL_REFLECT() \
    NUVEX_WM_ENTRY(WM_REFLECT_BASE + WM_VSCROLL, AfxSig_vww, void (ThisClass::*)(UINT, UINT), ScrollReflect, VScroll)
