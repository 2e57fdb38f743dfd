// The shared OpenGL window and its forwarding to the view that owns it.
#include "host/view/gl_wnd.h"

#include "platform/user/messages.h"

IMPLEMENT_DYNCREATE(CGLWnd, CWnd)

namespace {

CGLWnd* g_shared = nullptr;

// Messages that go to the parent view's handler of the same message. A
// quick second left click arrives as a double click; it goes on too, so
// that the view does not lose it.
constexpr UINT kForwarded[] = {
    WM_MOUSEMOVE, WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MOUSEWHEEL,  WM_LBUTTONDOWN,   WM_LBUTTONUP,
    WM_KEYDOWN,   WM_KEYUP,       WM_CHAR,      WM_RBUTTONDOWN, WM_RBUTTONDBLCLK, WM_LBUTTONDBLCLK,
};

bool IsForwarded(UINT message)
{
    for (UINT forwarded : kForwarded) {
        if (forwarded == message) {
            return true;
        }
    }
    return false;
}

} // namespace

IGLWindowOwner* CGLWnd::GetOwnerView() const
{
    if (m_hWnd == nullptr) {
        return nullptr;
    }
    return dynamic_cast<IGLWindowOwner*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
}

LRESULT CGLWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsForwarded(message)) {
        HWND parent = ::GetParent(m_hWnd);
        return parent != nullptr ? ::SendMessageA(parent, message, wParam, lParam) : 0;
    }
    if (message == WM_PAINT) {
        PAINTSTRUCT paint{};
        ::BeginPaint(m_hWnd, &paint);
        if (IGLWindowOwner* owner = GetOwnerView()) {
            owner->PaintGLWindow(*this);
        }
        ::EndPaint(m_hWnd, &paint);
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CGLWnd::PostNcDestroy()
{
    if (g_shared == this) {
        g_shared = nullptr;
    }
    CWnd::PostNcDestroy();
}

CGLWnd* CGLWnd::Shared()
{
    return g_shared;
}

CGLWnd* CGLWnd::TakeOver(CWnd& view, const RECT& client)
{
    if (g_shared != nullptr && ::IsWindow(g_shared->m_hWnd)) {
        HWND parent = ::GetParent(g_shared->m_hWnd);
        if (parent != view.m_hWnd) {
            if (IGLWindowOwner* previous = g_shared->GetOwnerView()) {
                previous->SkipNextPaint();
            }
            g_shared->SetParent(&view);
        }
        g_shared->MoveWindow(&client, FALSE);
        return g_shared;
    }
    auto* window = new CGLWnd();
    const RECT empty{0, 0, 0, 0};
    if (!window->Create(nullptr, "", WS_CHILD | WS_VISIBLE, empty, &view, 0)) {
        delete window;
        return nullptr;
    }
    g_shared = window;
    window->MoveWindow(&client, FALSE);
    return window;
}

void CGLWnd::FollowResize(CWnd& view, const RECT& client)
{
    if (g_shared == nullptr || !::IsWindow(g_shared->m_hWnd)) {
        return;
    }
    if (::GetParent(g_shared->m_hWnd) != view.m_hWnd) {
        g_shared->SetParent(&view);
    }
    g_shared->MoveWindow(&client, FALSE);
}

void CGLWnd::ReleaseFrom(CWnd& view)
{
    if (g_shared == nullptr || ::GetParent(g_shared->m_hWnd) != view.m_hWnd) {
        return;
    }
    CGLWnd* window = g_shared;
    g_shared = nullptr;
    window->DestroyWindow();
    delete window;
}
