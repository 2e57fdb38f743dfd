// Windows through the framework: creation through the framework's window
// procedure, the handle maps, subclassing, typed window-message handlers,
// command and notification routing with reflection to controls, disabled
// commands, pre-translation and the layout of bars through WM_SIZEPARENT.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/framework/cmdui.h"
#include "platform/framework/dc.h"
#include "platform/framework/menu.h"
#include "platform/framework/wnd.h"
#include "platform/user/inspect.h"

namespace {

using Log = std::vector<std::string>;

constexpr UINT kSave = 57603;
constexpr UINT kPrint = 57607;
constexpr UINT kButtonId = 1001;
constexpr UINT kTreeId = 1002;
constexpr UINT kButtonClicked = 0;
constexpr UINT kButtonFocus = 6;
constexpr int kTreeSelChanged = -402;
constexpr int kTreeClick = -2;

class WndTest : public ::testing::Test {
protected:
    void SetUp() override { ResetWindowSystem(); }
    void TearDown() override
    {
        AfxDeleteTempMaps();
        ResetWindowSystem();
    }
};

// A window that logs what its typed handlers receive.
class CLoggingWnd : public CWnd {
public:
    explicit CLoggingWnd(Log& log) : m_log(log) {}
    int m_refuseCreate = 0;
    bool m_disablePrint = false;
    bool m_eatKeys = false;

protected:
    int OnCreate(CREATESTRUCTA* cs)
    {
        m_log.push_back(std::string("OnCreate ") + (cs->lpszName != nullptr ? cs->lpszName : ""));
        if (m_refuseCreate != 0) {
            return -1;
        }
        return CWnd::OnCreate(cs);
    }
    void OnSize(UINT type, int cx, int cy)
    {
        m_log.push_back("OnSize " + std::to_string(type) + " " + std::to_string(cx) + "x" + std::to_string(cy));
        CWnd::OnSize(type, cx, cy);
    }
    void OnLButtonDown(UINT flags, CPoint point)
    {
        m_log.push_back("OnLButtonDown " + std::to_string(flags) + " " + std::to_string(point.x) + "," +
                        std::to_string(point.y));
    }
    void OnKeyDown(UINT key, UINT repeat, UINT) { m_log.push_back("OnKeyDown " + std::to_string(key) + " x" + std::to_string(repeat)); }
    void OnDestroy()
    {
        m_log.push_back("OnDestroy");
        CWnd::OnDestroy();
    }
    void OnSave() { m_log.push_back("OnSave"); }
    void OnPrint() { m_log.push_back("OnPrint"); }
    void OnUpdatePrint(CCmdUI* cmdUI) { cmdUI->Enable(!m_disablePrint); }
    void OnButtonClicked() { m_log.push_back("parent OnButtonClicked"); }
    void OnButtonFocus() { m_log.push_back("parent OnButtonFocus"); }
    void OnTreeSelChanged(NMHDR*, LRESULT* result)
    {
        m_log.push_back("parent OnTreeSelChanged");
        *result = 5;
    }
    void OnTreeClick(NMHDR*, LRESULT*) { m_log.push_back("parent OnTreeClick"); }
    LRESULT OnPing(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) * 2; }
    void PostNcDestroy() override { m_log.push_back("PostNcDestroy"); }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (m_eatKeys && msg->message == WM_KEYDOWN) {
            m_log.push_back("parent PreTranslate ate " + std::to_string(msg->wParam));
            return TRUE;
        }
        return FALSE;
    }

    Log& m_log;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLoggingWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_KEYDOWN()
    ON_WM_DESTROY()
    ON_COMMAND(kSave, OnSave)
    ON_COMMAND(kPrint, OnPrint)
    ON_UPDATE_COMMAND_UI(kPrint, OnUpdatePrint)
    ON_CONTROL(kButtonClicked, kButtonId, OnButtonClicked)
    ON_CONTROL(kButtonFocus, kButtonId, OnButtonFocus)
    ON_NOTIFY(kTreeSelChanged, kTreeId, OnTreeSelChanged)
    ON_NOTIFY(kTreeClick, kTreeId, OnTreeClick)
    ON_MESSAGE(WM_USER + 7, OnPing)
END_MESSAGE_MAP()

// A control that handles some of its own notifications: the click passes
// on to the parent as well (_EX answering FALSE), the tree click does not.
class CReflectingControl : public CWnd {
public:
    explicit CReflectingControl(Log& log) : m_log(log) {}

protected:
    BOOL OnClickedReflect()
    {
        m_log.push_back("control OnClicked");
        return FALSE;
    }
    void OnClickReflect(NMHDR* header, LRESULT* result)
    {
        m_log.push_back("control OnClick from " + std::to_string(header->idFrom));
        *result = 9;
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN) {
            m_log.push_back("control PreTranslate " + std::to_string(msg->wParam));
        }
        return FALSE;
    }

    Log& m_log;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingControl, CWnd)
    ON_CONTROL_REFLECT_EX(kButtonClicked, OnClickedReflect)
    ON_NOTIFY_REFLECT(kTreeClick, OnClickReflect)
END_MESSAGE_MAP()

Log* g_rawLog = nullptr;

LRESULT RawProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (g_rawLog != nullptr && (message == WM_LBUTTONDOWN || message == WM_USER + 1)) {
        g_rawLog->push_back("raw proc " + std::string(MessageName(message)));
        return 17;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND CreateRawWindow(HWND parent = nullptr, int id = 0)
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = &RawProc;
    wc.lpszClassName = "RawTestWindow";
    WNDCLASSA existing{};
    if (!GetClassInfoA(nullptr, wc.lpszClassName, &existing)) {
        RegisterClassA(&wc);
    }
    const DWORD style = parent != nullptr ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW;
    return CreateWindowExA(0, wc.lpszClassName, "raw", style, 0, 0, 100, 50, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
}

TEST_F(WndTest, CreationRunsThroughTheMapFromTheFirstMessageAndDestructionDetaches)
{
    Log log;
    CLoggingWnd wnd(log);
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "main", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200, nullptr, nullptr));
    HWND hwnd = wnd.m_hWnd;
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), &wnd);
    EXPECT_EQ(CWnd::FromHandle(hwnd), &wnd);
    CRect client;
    wnd.GetClientRect(&client);
    const Log created{"OnCreate main",
                      "OnSize 0 " + std::to_string(client.Width()) + "x" + std::to_string(client.Height())};
    EXPECT_EQ(log, created);

    log.clear();
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(log, (Log{"OnDestroy", "PostNcDestroy"}));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(WndTest, RefusedCreationFailsAndLeavesTheObjectDetached)
{
    Log log;
    CLoggingWnd wnd(log);
    wnd.m_refuseCreate = 1;
    EXPECT_FALSE(wnd.CreateEx(0, nullptr, "refused", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(log, (Log{"OnCreate refused", "OnDestroy", "PostNcDestroy"}));
}

// A window that makes a child window while it is being created.
class CParentWithChild : public CLoggingWnd {
public:
    using CLoggingWnd::CLoggingWnd;
    CWnd child;

protected:
    int OnCreate(CREATESTRUCTA* cs)
    {
        const int answer = CLoggingWnd::OnCreate(cs);
        child.Create(nullptr, "child", WS_VISIBLE, CRect(0, 0, 10, 10), this, 5);
        return answer;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CParentWithChild, CLoggingWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

TEST_F(WndTest, ChildCreatedInsideCreateHandlerGetsItsOwnObject)
{
    Log log;
    CParentWithChild parent(log);
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "outer", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    ASSERT_NE(parent.child.m_hWnd, nullptr);
    EXPECT_EQ(log.front(), "OnCreate outer");
    EXPECT_EQ(CWnd::FromHandlePermanent(parent.child.m_hWnd), &parent.child);
    EXPECT_EQ(parent.child.GetParent(), &parent);
    EXPECT_EQ(parent.GetDlgItem(5), &parent.child);
    EXPECT_EQ(parent.child.GetDlgCtrlID(), 5);
    EXPECT_EQ(parent.child.GetTopLevelParent(), &parent);
}

TEST_F(WndTest, TemporaryObjectsStandForUnattachedHandlesUntilIdle)
{
    HWND raw = CreateRawWindow();
    ASSERT_NE(raw, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(raw), nullptr);
    CWnd* temporary = CWnd::FromHandle(raw);
    ASSERT_NE(temporary, nullptr);
    EXPECT_EQ(temporary->m_hWnd, raw);
    EXPECT_EQ(CWnd::FromHandle(raw), temporary);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);

    // Clearing the temporary map never destroys the window.
    AfxDeleteTempMaps();
    EXPECT_TRUE(IsWindow(raw));

    // Attaching makes the object permanent; detaching gives the handle back.
    CWnd attached;
    ASSERT_TRUE(attached.Attach(raw));
    EXPECT_EQ(CWnd::FromHandle(raw), &attached);
    CWnd second;
    EXPECT_FALSE(second.Attach(raw));
    EXPECT_EQ(attached.Detach(), raw);
    EXPECT_EQ(CWnd::FromHandlePermanent(raw), nullptr);
    EXPECT_TRUE(IsWindow(raw));
}

TEST_F(WndTest, SubclassedWindowGivesUnhandledMessagesToItsOwnProcedure)
{
    Log log;
    g_rawLog = &log;
    HWND raw = CreateRawWindow();
    CLoggingWnd wnd(log);
    ASSERT_TRUE(wnd.SubclassWindow(raw));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(raw, GWLP_WNDPROC)), &CWnd::AfxWndProc);

    // The map's handler takes the click; the window's procedure never sees it.
    SendMessageA(raw, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
    // A message the map does not handle reaches the original procedure.
    EXPECT_EQ(SendMessageA(raw, WM_USER + 1, 0, 0), 17);
    // ON_MESSAGE handlers answer for the message.
    EXPECT_EQ(SendMessageA(raw, WM_USER + 7, 21, 0), 42);
    EXPECT_EQ(log, (Log{"OnLButtonDown 1 3,4", "raw proc WM_USER+1"}));

    log.clear();
    EXPECT_EQ(wnd.UnsubclassWindow(), raw);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(raw, GWLP_WNDPROC)), &RawProc);
    SendMessageA(raw, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
    EXPECT_EQ(log, (Log{"raw proc WM_LBUTTONDOWN"}));
    g_rawLog = nullptr;
    DestroyWindow(raw);
}

// A window object that deletes itself when its window is gone, and the
// procedure that another party put on top of the framework's.
class CSelfDeletingWnd : public CWnd {
public:
    explicit CSelfDeletingWnd(bool& deleted) : m_deleted(deleted) {}
    ~CSelfDeletingWnd() override { m_deleted = true; }

protected:
    void PostNcDestroy() override { delete this; }

private:
    bool& m_deleted;
};

WNDPROC g_underneath = nullptr;

LRESULT CALLBACK OnTopProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(g_underneath, hwnd, message, wParam, lParam);
}

TEST_F(WndTest, DestroyingAWindowSubclassedOverTheFrameworkLeavesTheDeletedObjectAlone)
{
    // Crash regression: the object deleted itself at WM_NCDESTROY while
    // DestroyWindow still read its handle afterwards.
    bool deleted = false;
    auto* wnd = new CSelfDeletingWnd(deleted);
    ASSERT_TRUE(wnd->CreateEx(0, nullptr, "window", WS_OVERLAPPEDWINDOW, 0, 0, 100, 50, nullptr, nullptr));
    HWND hwnd = wnd->m_hWnd;
    g_underneath = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OnTopProc)));
    EXPECT_TRUE(wnd->DestroyWindow());
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
    g_underneath = nullptr;
}

TEST_F(WndTest, SubclassDlgItemFindsTheChildById)
{
    Log log;
    CLoggingWnd parent(log);
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    HWND raw = CreateRawWindow(parent.m_hWnd, 77);
    CWnd control;
    EXPECT_FALSE(control.SubclassDlgItem(78, &parent));
    ASSERT_TRUE(control.SubclassDlgItem(77, &parent));
    EXPECT_EQ(control.m_hWnd, raw);
    EXPECT_EQ(parent.GetDescendantWindow(77, TRUE), &control);
}

// Commands and notifications: who handles what, in which order.
struct RoutingCase {
    const char* name;
    UINT message;
    int code;  // control notification code
    UINT id;
    bool fromControl;
    LRESULT expectedResult;
    Log expected;
};

TEST_F(WndTest, CommandsAndNotificationsAreReflectedToTheControlFirst)
{
    Log log;
    CLoggingWnd parent(log);
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    CReflectingControl button(log);
    ASSERT_TRUE(button.Create(nullptr, "button", WS_VISIBLE, CRect(0, 0, 50, 20), &parent, kButtonId));
    CReflectingControl tree(log);
    ASSERT_TRUE(tree.Create(nullptr, "tree", WS_VISIBLE, CRect(0, 30, 50, 80), &parent, kTreeId));

    const RoutingCase cases[] = {
        {"menu command", WM_COMMAND, 0, kSave, false, 1, {"OnSave"}},
        {"accelerator command", WM_COMMAND, 1, kSave, false, 1, {"OnSave"}},
        {"click seen by control then parent", WM_COMMAND, kButtonClicked, kButtonId, true, 1,
         {"control OnClicked", "parent OnButtonClicked"}},
        {"notification only the parent handles", WM_COMMAND, kButtonFocus, kButtonId, true, 1,
         {"parent OnButtonFocus"}},
        {"tree click kept by the control", WM_NOTIFY, kTreeClick, kTreeId, true, 9,
         {"control OnClick from 1002"}},
        {"tree selection handled by the parent", WM_NOTIFY, kTreeSelChanged, kTreeId, true, 5,
         {"parent OnTreeSelChanged"}},
        {"unknown command", WM_COMMAND, 0, 40000, false, 0, {}},
    };
    for (const RoutingCase& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        LRESULT result = 0;
        HWND control = c.id == kTreeId ? tree.m_hWnd : button.m_hWnd;
        if (c.message == WM_COMMAND) {
            result = parent.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(c.id), static_cast<WORD>(c.code)),
                                        c.fromControl ? reinterpret_cast<LPARAM>(control) : 0);
        } else {
            NMHDR header{control, c.id, static_cast<UINT>(c.code)};
            result = parent.SendMessage(WM_NOTIFY, c.id, reinterpret_cast<LPARAM>(&header));
        }
        EXPECT_EQ(log, c.expected);
        EXPECT_EQ(result, c.expectedResult);
    }
}

TEST_F(WndTest, MenuCommandWhoseItemIsDisabledDoesNothing)
{
    Log log;
    CLoggingWnd wnd(log);
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "main", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    log.clear();
    wnd.SendMessage(WM_COMMAND, kPrint, 0);
    wnd.m_disablePrint = true;
    wnd.SendMessage(WM_COMMAND, kPrint, 0);
    EXPECT_EQ(log, (Log{"OnPrint"}));
}

TEST_F(WndTest, PreTranslationWalksFromTheTargetUpToTheStopWindow)
{
    Log log;
    CLoggingWnd parent(log);
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    CReflectingControl control(log);
    ASSERT_TRUE(control.Create(nullptr, "control", WS_VISIBLE, CRect(0, 0, 50, 20), &parent, kButtonId));
    log.clear();

    MSG msg{control.m_hWnd, WM_KEYDOWN, VK_F2, 0, 0, {0, 0}};
    // Stopping at the control leaves the parent out.
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(control.m_hWnd, &msg));
    parent.m_eatKeys = true;
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(parent.m_hWnd, &msg));
    EXPECT_EQ(log, (Log{"control PreTranslate 113", "control PreTranslate 113", "parent PreTranslate ate 113"}));
}

// Bars that take a strip of the frame's free area through WM_SIZEPARENT.
class CStripBar : public CWnd {
public:
    CStripBar(bool top, int thickness) : m_top(top), m_thickness(thickness) {}

protected:
    LRESULT OnSizeParent(WPARAM, LPARAM lParam)
    {
        auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
        CRect rect(layout->rect);
        if (m_top) {
            rect.bottom = rect.top + m_thickness;
            layout->rect.top += m_thickness;
        } else {
            rect.top = rect.bottom - m_thickness;
            layout->rect.bottom -= m_thickness;
        }
        layout->sizeTotal.cy += m_thickness;
        AfxRepositionWindow(layout, m_hWnd, &rect);
        return 0;
    }

    bool m_top;
    int m_thickness;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CStripBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

CRect RectInParent(const CWnd& child)
{
    CRect rect;
    child.GetWindowRect(&rect);
    child.GetParent()->ScreenToClient(&rect);
    return rect;
}

TEST_F(WndTest, RepositionBarsGivesEachBarItsStripAndTheRestToTheLeftOverWindow)
{
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, "frame", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr));
    CStripBar top(true, 20);
    CStripBar bottom(false, 15);
    CWnd view;
    ASSERT_TRUE(top.Create(nullptr, "", WS_VISIBLE, CRect(0, 0, 1, 1), &frame, 0xE800));
    ASSERT_TRUE(bottom.Create(nullptr, "", WS_VISIBLE, CRect(0, 0, 1, 1), &frame, 0xE801));
    ASSERT_TRUE(view.Create(nullptr, "", WS_VISIBLE, CRect(0, 0, 1, 1), &frame, 0xE900));

    CRect free;
    frame.RepositionBars(0, 0xFFFF, 0xE900, CWnd::reposQuery, &free);
    EXPECT_EQ(free, CRect(0, 20, 400, 285));
    // Asking moved nothing.
    EXPECT_EQ(RectInParent(top), CRect(0, 0, 1, 1));

    frame.RepositionBars(0, 0xFFFF, 0xE900);
    EXPECT_EQ(RectInParent(top), CRect(0, 0, 400, 20));
    EXPECT_EQ(RectInParent(bottom), CRect(0, 285, 400, 300));
    EXPECT_EQ(RectInParent(view), CRect(0, 20, 400, 285));

    // Extra borders come off the left-over window's part.
    CRect borders(2, 3, 4, 5);
    frame.RepositionBars(0, 0xFFFF, 0xE900, CWnd::reposExtra, &borders);
    EXPECT_EQ(RectInParent(view), CRect(2, 23, 396, 280));
}

// Painting through CPaintDC in an OnPaint handler validates the window.
class CPaintingWnd : public CWnd {
public:
    int m_paints = 0;

protected:
    void OnPaint()
    {
        CPaintDC dc(this);
        ++m_paints;
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, RGB(10, 20, 30));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintingWnd, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

TEST_F(WndTest, PaintHandlerWithPaintDCPaintsOnceAndFillsTheClientArea)
{
    CPaintingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "painted", WS_POPUP | WS_VISIBLE, 0, 0, 40, 30, nullptr, nullptr));
    PumpUntilIdle();
    EXPECT_EQ(wnd.m_paints, 1);
    PumpUntilIdle();
    EXPECT_EQ(wnd.m_paints, 1);
    CClientDC dc(&wnd);
    EXPECT_EQ(dc.GetPixel(5, 5), RGB(10, 20, 30));
}

} // namespace
