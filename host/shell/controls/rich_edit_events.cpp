// Line-control events to the sinks of the active document's event point.
#include "host/shell/controls/rich_edit_events.h"

#include "host/shell/connection_point.h"
#include "ihost.h"
#include "platform/framework/dispatch.h"

namespace {

// Fires on the container of the document's event point, which holds the
// document's sinks.
void FireOnDocument(IHostDocument* document, DISPID dispid, const char* types,
                    std::initializer_list<EventArgument> arguments)
{
    if (document == nullptr) {
        return;
    }
    IConnectionPoint* point = nullptr;
    if (FAILED(document->GetEventConnectionPoint(&point)) || point == nullptr) {
        return;
    }
    ComPtr<IConnectionPoint> held = ComPtr<IConnectionPoint>::Adopt(point);
    IConnectionPointContainer* container = nullptr;
    if (FAILED(point->GetConnectionPointContainer(&container)) || container == nullptr) {
        return;
    }
    ComPtr<IConnectionPointContainer> heldContainer = ComPtr<IConnectionPointContainer>::Adopt(container);
    // The host's points all belong to its own containers.
    static_cast<CConnectionPointContainer*>(container)->FireEvent(dispid, types, arguments);
}

} // namespace

IHostDocument* CActiveDocumentLineEvents::ActiveDocument()
{
    IHostApplication* application = m_services.GetHostApplication();
    IHostDocument* document = nullptr;
    if (application == nullptr || FAILED(application->GetActiveDocument(&document))) {
        return nullptr;
    }
    return document;
}

bool CActiveDocumentLineEvents::HasActiveDocument() { return ActiveDocument() != nullptr; }

void CActiveDocumentLineEvents::LineCreated(LONG id)
{
    FireOnDocument(ActiveDocument(), kEventLineCreated, VTS_I4, {EventArgument(id)});
}

void CActiveDocumentLineEvents::RowsChanged(const std::vector<LineRowChange>& changes)
{
    // The arrays live for the call.
    std::vector<LONG> ids;
    std::vector<LONG> firstRows;
    std::vector<LONG> changedRows;
    std::vector<LONG> deltas;
    for (const LineRowChange& change : changes) {
        ids.push_back(change.id);
        firstRows.push_back(change.firstRow);
        changedRows.push_back(change.changedRows);
        deltas.push_back(change.rowDelta);
    }
    FireOnDocument(ActiveDocument(), kEventLineRowsChanged, VTS_I4 VTS_PI4 VTS_PI4 VTS_PI4 VTS_PI4,
                   {EventArgument(static_cast<LONG>(changes.size())), EventArgument(ids.data()),
                    EventArgument(firstRows.data()), EventArgument(changedRows.data()), EventArgument(deltas.data())});
}

void CActiveDocumentLineEvents::TextChanged() { FireOnDocument(ActiveDocument(), kEventLineTextChanged, VTS_NONE, {}); }
