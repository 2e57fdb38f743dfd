// IDocumentPanes: the pane pages of a document's first view's frame, as the
// document's IHostDocument offers them to add-ins (show a page, the page
// shown, a page's pane object, a control panel on a page). The shell
// implements it over the frame's docking pane bars and gives one to each
// document that gets a view; without one the document answers as a
// document without views.
#pragma once

#include "ihost.h"

class IDocumentPanes {
public:
    virtual ~IDocumentPanes() = default;
    virtual HRESULT ShowPane(LONG group, LONG item) = 0;
    virtual HRESULT GetActivePane(LONG group, LONG* item) = 0;
    virtual HRESULT GetPaneObject(LONG group, LONG item, IUnknown** object) = 0;
    virtual HRESULT CreateControlPanel(LONG group, LONG item, IControlPanel** panel) = 0;
};
