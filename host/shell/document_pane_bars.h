// CDocumentPaneBars: a document's pane pages as the docking pane bars of its
// first view's frame show them, one bar per pane group in group order. A
// view gives one to its document when it makes the bars.
#pragma once

#include "host/document/document_panes.h"

class CNuvexDoc;
class CDockingPaneBar;
class CPaneGroupDialog;

class CDocumentPaneBars final : public IDocumentPanes {
public:
    explicit CDocumentPaneBars(CNuvexDoc& document) : m_document(document) {}

    // Selects the page and shows its bar. E_FAIL without a view, a bar for
    // the group or such a page.
    HRESULT ShowPane(LONG group, LONG item) override;
    // The group's selected page; E_FAIL and -1 without a view or bar.
    HRESULT GetActivePane(LONG group, LONG* item) override;
    // The page's pane object (not AddRef'ed); E_FAIL and null when none.
    HRESULT GetPaneObject(LONG group, LONG item, IUnknown** object) override;
    // A new panel on a control-panel page, lent to the caller; E_FAIL and
    // null without a view, on another kind of page, or in a group without
    // tabs.
    HRESULT CreateControlPanel(LONG group, LONG item, IControlPanel** panel) override;

private:
    // The bar of `group` on the first view's frame, or null.
    CDockingPaneBar* BarOf(LONG group) const;

    CNuvexDoc& m_document;
};
