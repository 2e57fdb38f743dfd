// CGLWnd: the one OpenGL child window of the program, which the painting
// view takes over as its own child. It owns no data: its paint asks its
// parent view to draw the scene into it, and every mouse and keyboard
// message it gets goes to the parent view unchanged, so that the view's
// handlers serve both windows.
#pragma once

#include "platform/framework/wnd.h"

class CGLWnd;

// What the OpenGL window needs of the view it belongs to.
class IGLWindowOwner {
public:
    // Draws the scene into the window, now (inside the window's paint).
    virtual void PaintGLWindow(CGLWnd& window) = 0;
    // The window moved to another view: the next WM_PAINT of this one is
    // swallowed, so that it does not paint over the moved window.
    virtual void SkipNextPaint() = 0;

protected:
    ~IGLWindowOwner() = default;
};

class CGLWnd : public CWnd {
    DECLARE_DYNCREATE(CGLWnd)
public:
    CGLWnd() = default;

    // The view the window belongs to now; null when it has none.
    IGLWindowOwner* GetOwnerView() const;

    // The program's window, null until a view's paint creates it.
    static CGLWnd* Shared();
    // Makes view the parent of the shared window, creating it when there is
    // none, and fits it to the client rectangle without repainting. The
    // view it leaves swallows its next paint. Null when the window cannot
    // be created: the view then has nothing to draw into.
    static CGLWnd* TakeOver(CWnd& view, const RECT& client);
    // When the shared window exists: makes view its parent if needed and
    // fits it to the new client rectangle without repainting.
    static void FollowResize(CWnd& view, const RECT& client);
    // A view that goes: the shared window goes with it when the view is its
    // parent; the next paint of another view makes a new one.
    static void ReleaseFrom(CWnd& view);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
};
