// IAddin and IAddinCommand: the two interfaces every add-in implements for
// the host. IAddin is the add-in object itself (context menu, connection,
// help); IAddinCommand is each command object and pane object (create, one
// input event at a time). Operations stand in table order; an implementing
// class lists them after the IUnknown ones and adds its virtual destructor
// last.
#pragma once

#include "iids.h"
#include "platform/com/unknwn.h"

struct IHostApplication;
struct IHostDocument;

struct IAddin : IUnknown {
    // Called for every loaded add-in while a view builds its context menu;
    // the add-in appends its items through the host. Result ignored.
    virtual HRESULT STDMETHODCALLTYPE OnContextMenu(IHostApplication* host) = 0;
    // Called once at start-up; the add-in registers its commands, menus,
    // panes, variables and sinks. The host pointer is lent.
    virtual HRESULT STDMETHODCALLTYPE Connect(IHostApplication* host) = 0;
    // Help for one of the add-in's own commands.
    virtual HRESULT STDMETHODCALLTYPE Help(LONG commandNumber, LONG reserved) = 0;

protected:
    ~IAddin() = default;
};

struct IAddinCommand : IUnknown {
    // Called once after the object is made. The document is lent. The
    // context is 0 for a command level, the toolbar control's own scripting
    // object for a handler bound to a toolbar control (hence pointer-sized),
    // and the page's tree or text control object (ITreeControl*,
    // IRichEditControl*) for a pane object.
    virtual HRESULT STDMETHODCALLTYPE Create(IHostDocument* document, LONG commandNumber, LONG_PTR context) = 0;
    // One input event. `result` arrives as 0x10000000 (not handled) and the
    // object leaves the command result bits in it; `final` is 1 for a
    // committed input and 0 for a tentative one; `kind` is the modifier
    // table (1 plain, 2 Ctrl, 4 Shift) or 0.
    virtual HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void* value, LONG final, LONG kind, LONG* result) = 0;

protected:
    ~IAddinCommand() = default;
};
