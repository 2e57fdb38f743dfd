// The view's context menu and its command routing. A right click rebuilds
// the menu: accept, cancel, repeat, undo, redo, the two zooms, whatever each
// add-in appends, and the properties item; the view's commands then turn
// those items, the items commands put into the document popup menu and the
// add-in command ids 10000-19999 into calls of the command engine.
#pragma once

#include <cstdint>

#include "host/menulook/new_menu.h"
#include "platform/base/types.h"

class CNuvexDoc;

// Command ids of the view.
inline constexpr UINT kCommandAccept = 40000;
inline constexpr UINT kCommandCancel = 32773;
inline constexpr UINT kCommandRepeat = 40001;
inline constexpr UINT kCommandUndo = 57643;
inline constexpr UINT kCommandRedo = 57644;
inline constexpr UINT kCommandZoomAll = 32777;
inline constexpr UINT kCommandZoomWindow = 32778;
inline constexpr UINT kCommandZoomAllKey = 32779;
inline constexpr UINT kCommandZoomWindowKey = 32780;
inline constexpr UINT kCommandProperties = 40002;
inline constexpr UINT kFirstAddinCommand = 10000;
inline constexpr UINT kEndAddinCommands = 20000;
// The panel-control event and the control id that "Accept" sends.
inline constexpr LONG kEventPanelControl = 0x1000000;
inline constexpr LONG kAcceptControlId = 1000;
inline constexpr LONG kEventPopupItem = 0x8000000;
// The tool bar whose images the menu's items take.
inline constexpr UINT kContextMenuToolBar = 128;

class IViewCommandSite {
public:
    // The view window and its rectangle in screen coordinates.
    virtual HWND GetViewWindow() = 0;
    virtual RECT GetViewScreenRect() = 0;
    // Brings the application's properties page to the front.
    virtual void ShowPropertiesPane() = 0;

protected:
    ~IViewCommandSite() = default;
};

// Destroys the menu's previous contents and builds it anew; the add-ins of
// the document's application append their items through the host.
void BuildViewContextMenu(CNuvexDoc& document, CNewMenu& menu);

// The right click: the menu built and shown at the view's top-left corner,
// owned by the view; the choice arrives as WM_COMMAND.
void ShowViewContextMenu(CNuvexDoc& document, CNewMenu& menu, IViewCommandSite& site);

// The view's command hook, before the class library's routing (which the
// caller runs for every command afterwards). TRUE when the command was
// one of the view's.
BOOL RouteViewCommand(CNuvexDoc& document, IViewCommandSite& site, WPARAM wParam, LPARAM lParam);
