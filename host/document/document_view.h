// IDocumentView: what the document asks of one of its views while it runs
// commands: the view's host object and window for add-ins, the input state
// that an event's closing resets, the keyboard focus after typed input and
// the context menu that add-ins fill. (The pane pages of the view's frame
// are IDocumentPanes.)
// The document finds its views through the framework's view list; a view
// that is not a document view is passed over.
#pragma once

#include "ihost.h"
#include "platform/base/types.h"

class CNewMenu;

class IDocumentView {
public:
    virtual IHostView* GetHostView() = 0;
    virtual HWND GetViewWindow() = 0;
    // The closing of an event sent without a view leaves zoom-window mode.
    virtual void ClearZoomWindow() = 0;
    // The closing of an event that ended, committed or handed on a level:
    // no box has its first corner any more; with `refreshModifiers` the
    // view recomputes its feedback from the keys held now.
    virtual void FinishCommandEvent(BOOL refreshModifiers) = 0;
    // Typed input was taken: the view takes the keyboard focus, becomes
    // the active window and recomputes its feedback from the keys.
    virtual void TakeFocusAfterTypedInput() = 0;
    // The view's context menu, which add-ins fill while it is built.
    virtual CNewMenu* GetContextMenu() = 0;

protected:
    ~IDocumentView() = default;
};
