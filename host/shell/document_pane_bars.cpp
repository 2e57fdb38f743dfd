// A document's pane pages through the pane bars of its first view's frame.
#include "host/shell/document_pane_bars.h"

#include "host/document/nuvex_doc.h"
#include "host/shell/docking_pane_bar.h"
#include "platform/framework/framewnd.h"
#include "platform/framework/view.h"

namespace {

template <class T>
HRESULT Fail(T* out, T value)
{
    if (out != nullptr) {
        *out = value;
    }
    return E_FAIL;
}

} // namespace

CDockingPaneBar* CDocumentPaneBars::BarOf(LONG group) const
{
    POSITION position = m_document.GetFirstViewPosition();
    CView* view = position != nullptr ? m_document.GetNextView(position) : nullptr;
    CFrameWnd* frame = view != nullptr ? view->GetParentFrame() : nullptr;
    if (frame == nullptr || group < 0) {
        return nullptr;
    }
    const std::vector<CDockingPaneBar*> bars = CDockingPaneBar::BarsOf(*frame);
    return static_cast<size_t>(group) < bars.size() ? bars[static_cast<size_t>(group)] : nullptr;
}

HRESULT CDocumentPaneBars::ShowPane(LONG group, LONG item)
{
    CDockingPaneBar* bar = BarOf(group);
    if (bar == nullptr || item < 0 || static_cast<size_t>(item) >= bar->Pages().size()) {
        return E_FAIL;
    }
    bar->Dialog().SelectPage(item);
    if (CFrameWnd* frame = bar->GetParentFrame(); frame != nullptr && !bar->IsWindowVisible()) {
        frame->ShowControlBar(bar, TRUE, FALSE);
    }
    return S_OK;
}

HRESULT CDocumentPaneBars::GetActivePane(LONG group, LONG* item)
{
    CDockingPaneBar* bar = BarOf(group);
    if (bar == nullptr) {
        return Fail<LONG>(item, -1);
    }
    if (item != nullptr) {
        *item = bar->Dialog().SelectedPage();
    }
    return S_OK;
}

HRESULT CDocumentPaneBars::GetPaneObject(LONG group, LONG item, IUnknown** object)
{
    CDockingPaneBar* bar = BarOf(group);
    if (bar == nullptr || item < 0 || static_cast<size_t>(item) >= bar->Pages().size()) {
        return Fail<IUnknown*>(object, nullptr);
    }
    IAddinCommand* handler = bar->Pages()[static_cast<size_t>(item)].handler.Get();
    if (handler == nullptr) {
        return Fail<IUnknown*>(object, nullptr);
    }
    if (object != nullptr) {
        *object = handler;
    }
    return S_OK;
}

HRESULT CDocumentPaneBars::CreateControlPanel(LONG group, LONG item, IControlPanel** panel)
{
    CDockingPaneBar* bar = BarOf(group);
    CControlPanel* made = bar != nullptr ? bar->Dialog().CreateControlPanel(item) : nullptr;
    if (made == nullptr) {
        return Fail<IControlPanel*>(panel, nullptr);
    }
    if (panel != nullptr) {
        *panel = made;
    }
    return S_OK;
}
