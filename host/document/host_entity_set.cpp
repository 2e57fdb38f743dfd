// CHostEntitySet: selection at the root level and the add-in's root handler.
#include "host/document/host_entity_set.h"

#include <algorithm>

#include "host/document/command_engine.h"
#include "host/document/nuvex_doc.h"
#include "iselection.h"
#include "objectmodel/entity_record.h"

CHostEntitySet::~CHostEntitySet() { ClearSelection(); }

std::vector<uintptr_t> CHostEntitySet::GetSelection()
{
    std::vector<uintptr_t> ids;
    ids.reserve(m_selection.size());
    for (IEntityRecord* record : m_selection) {
        ids.push_back(ObjectIdOf(record));
    }
    return ids;
}

void CHostEntitySet::ClearSelection()
{
    for (IEntityRecord* record : m_selection) {
        record->ClearFlags(kSelectionFlags);
    }
    m_selection.clear();
    m_copies.clear();
}

int32_t CHostEntitySet::IndexOf(IEntityRecord* record) const
{
    auto it = std::find(m_selection.begin(), m_selection.end(), record);
    return it == m_selection.end() ? -1 : static_cast<int32_t>(it - m_selection.begin());
}

void CHostEntitySet::Select(IEntityRecord* record)
{
    m_selection.push_back(record);
    m_copies.push_back(ComPtr<IEntityRecord>::Share(new CEntityRecord(record, FALSE, TRUE)));
}

void CHostEntitySet::Deselect(int32_t index)
{
    if (index < 0 || static_cast<size_t>(index) >= m_selection.size()) {
        return;
    }
    m_selection[static_cast<size_t>(index)]->ClearFlags(kSelectionFlags);
    m_selection.erase(m_selection.begin() + index);
    m_copies.erase(m_copies.begin() + index);
}

bool CHostEntitySet::EnsureHandler()
{
    if (m_handler) {
        return true;
    }
    // Only the first registration counts; with none there is no handler
    // and the selection works on its own.
    const std::vector<RootHandlerClass>& classes = m_document.Services().GetRootHandlerClasses();
    if (classes.empty()) {
        return false;
    }
    IClassFactory* factory = m_document.Services().GetClassFactoryForAddin(classes.front().addin);
    if (factory == nullptr) {
        return false;
    }
    ComPtr<IAddinCommand> handler;
    if (FAILED(factory->CreateInstance(nullptr, classes.front().classId, handler.ReceiveVoid())) || !handler) {
        return false;
    }
    m_handler = std::move(handler);
    return true;
}

void CHostEntitySet::Forward(LONG code, void* value, LONG final, LONG kind, LONG* result)
{
    if (!m_handler) {
        return;
    }
    ComPtr<IAddinCommand> handler = m_handler;
    if (FAILED(handler->OnEvent(code, value, final, kind, result))) {
        // A released handler is never called again; the next final pick
        // makes a new one.
        m_handler.Reset();
    }
}

HRESULT CHostEntitySet::OnEvent(LONG code, void* value, LONG final, LONG kind, LONG* result)
{
    using namespace command_event;
    if (result == nullptr) {
        return E_POINTER;
    }
    *result = 0;
    const int32_t modifier = (kind & 0x2) != 0 ? 2 : (kind & 0x4) != 0 ? 4 : 1;
    IHostDocument* host = m_document.GetHostDocument();
    switch (code) {
    case kStart:
        m_hover = false;
        m_gripDrag = false;
        ClearSelection();
        host->RemoveTemporaries(1, 0, 0);
        host->SetInputKinds(kPickB, 3);
        break;
    case kCancel:
        ClearSelection();
        host->RemoveTemporaries(1, 0, 0);
        m_hover = false;
        m_gripDrag = false;
        *result = command_result::kEnd;
        Forward(kCancel, value, 1, kind, result);
        break;
    case kPickA:
    case kPickB:
        m_hover = false;
        SelectionPick(code, value, final, kind, modifier);
        break;
    default:
        break;
    }
    return S_OK;
}

void CHostEntitySet::SelectionPick(LONG code, void* value, LONG final, LONG kind, int32_t modifier)
{
    IHostDocument* host = m_document.GetHostDocument();
    ISelectionSet* picked = value != nullptr ? *static_cast<ISelectionSet**>(value) : nullptr;
    std::vector<IEntityRecord*> records;
    if (picked != nullptr) {
        uint32_t count = 0;
        picked->GetCount(&count);
        for (uint32_t i = 0; i < count; ++i) {
            uintptr_t id = 0;
            if (SUCCEEDED(picked->GetAt(static_cast<int32_t>(i), &id)) && id != 0) {
                records.push_back(reinterpret_cast<IEntityRecord*>(id));
            }
        }
    }
    host->RemoveTemporaries(1, 0, 0);
    const bool ctrl = modifier == 2;
    if (final == 0) {
        for (IEntityRecord* record : records) {
            IUnknown* object = nullptr;
            if (FAILED(record->GetObject(&object)) || object == nullptr) {
                continue;
            }
            auto preview = ComPtr<IEntityRecord>::Share(new CEntityRecord(record, FALSE, TRUE));
            preview->AddFlags(ctrl && IndexOf(record) >= 0 ? kPreviewDeselect : kPreviewSelect);
            preview->AddFlags(kPreviewMarker);
            host->AddTemporary(preview.Get(), 1, 0, 0);
        }
        return;
    }
    if (!ctrl) {
        ClearSelection();
    }
    for (IEntityRecord* record : records) {
        const int32_t index = IndexOf(record);
        if (index >= 0) {
            Deselect(index);
        } else {
            Select(record);
        }
    }
    if (!EnsureHandler()) {
        return;
    }
    if (FAILED(m_handler->Create(host, code, 0))) {
        m_handler.Reset();
        return;
    }
    LONG localResult = command_result::kNotHandled;
    Forward(code, value, 1, kind, &localResult);
}
