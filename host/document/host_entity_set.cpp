// CHostEntitySet: selection at the root level and the add-in's root handler.
#include "host/document/host_entity_set.h"

#include <algorithm>

#include "host/document/command_engine.h"
#include "host/document/nuvex_doc.h"
#include "host/document/host_entity.h"
#include "iselection.h"
#include "objectmodel/entity_record.h"
#include "objectmodel/interface_holder.h"
#include "objectmodel/point_list.h"
#include "objectmodel/selection_set_object.h"

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
    m_matchPoints.clear();
    m_matchSelection.clear();
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
        if (m_gripDrag) {
            // Points moved in place go back to where the drag started.
            for (size_t k = 0; k < m_matchPoints.size(); ++k) {
                const auto i = static_cast<size_t>(m_matchSelection[k]);
                IUnknown* selected = nullptr;
                IUnknown* copied = nullptr;
                m_selection[i]->GetObject(&selected);
                m_copies[i]->GetObject(&copied);
                ComPtr<IEntityBase> entity;
                if (selected != nullptr && selected == copied &&
                    SUCCEEDED(selected->QueryInterface(IID_IEntityBase, entity.ReceiveVoid()))) {
                    CVector3 start = m_gripPoint;
                    entity->MoveGripPoint(static_cast<uint32_t>(m_matchPoints[k]), &start, TRUE);
                }
            }
        }
        ClearSelection();
        host->RemoveTemporaries(1, 0, 0);
        m_hover = false;
        m_gripDrag = false;
        *result = command_result::kEnd;
        Forward(kCancel, value, 1, kind, result);
        break;
    case kPickA:
    case kPickB: {
        m_hover = false;
        ISelectionSet* picked = value != nullptr ? *static_cast<ISelectionSet**>(value) : nullptr;
        uintptr_t first = 0;
        IUnknown* firstObject = nullptr;
        ComPtr<IUnknown> marker;
        if (picked != nullptr && SUCCEEDED(picked->GetAt(0, &first)) && first != 0 &&
            SUCCEEDED(reinterpret_cast<IEntityRecord*>(first)->GetObject(&firstObject)) && firstObject != nullptr &&
            SUCCEEDED(firstObject->QueryInterface(IID_IHostEntity, marker.ReceiveVoid())) && marker) {
            GripPick(marker.Get(), final);
        } else {
            SelectionPick(code, value, final, kind, modifier);
        }
        break;
    }
    case kSettingsChanged: {
        // The document's current colour, attributes and group go to every
        // selected record and to its copy.
        IIdGroup* group = m_document.GetCurrentGroup();
        auto apply = [this, group](IEntityRecord* record) {
            CInterfaceHolder holder(record);
            holder.AssignCollectionB(&m_document.CurrentColour());
            holder.AssignAttributeSet(&m_document.CurrentAttributes());
            if (group != nullptr) {
                holder.SetIdGroup(group);
            }
        };
        for (IEntityRecord* record : m_selection) {
            apply(record);
        }
        for (auto& copy : m_copies) {
            apply(copy.Get());
        }
        m_document.Output().UpdateAllViews();
        break;
    }
    case kModelPoint:
        if (m_gripDrag) {
            GripPoint(value, final, kind, modifier, result);
        }
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
        ShowGrips();
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
    // With no registered handler class the selection works on its own; a
    // handler that cannot be made or fails ends the event.
    if (!m_document.Services().GetRootHandlerClasses().empty()) {
        if (!EnsureHandler()) {
            return;
        }
        if (FAILED(m_handler->Create(host, code, 0))) {
            m_handler.Reset();
            return;
        }
        LONG localResult = command_result::kNotHandled;
        Forward(code, value, 1, kind, &localResult);
        if (!m_handler) {
            return;
        }
    }
    ShowGrips();
}

void CHostEntitySet::ShowGrips()
{
    IHostDocument* host = m_document.GetHostDocument();
    for (IEntityRecord* record : m_selection) {
        IUnknown* object = nullptr;
        ComPtr<IEntityBase> entity;
        if (FAILED(record->GetObject(&object)) || object == nullptr ||
            FAILED(object->QueryInterface(IID_IEntityBase, entity.ReceiveVoid()))) {
            continue;
        }
        auto points = ComPtr<CPointList>::Share(new CPointList());
        if (FAILED(entity->GetGripPoints(points.Get()))) {
            continue;
        }
        for (int32_t j = 0; j < points->GetCount(); ++j) {
            auto marker = ComPtr<IEntityRecord>::Share(
                new CEntityRecord(static_cast<IPoint3*>(new CHostEntity(points->GetAt(j)))));
            marker->AddFlags(kGripMarkerFlags);
            host->AddTemporary(marker.Get(), 1, 0, 0);
        }
    }
}

void CHostEntitySet::FindGripMatches(IUnknown* marker)
{
    ComPtr<IPoint3> point;
    if (FAILED(marker->QueryInterface(IID_IPoint3, point.ReceiveVoid()))) {
        return;
    }
    point->GetPosition(&m_gripPoint);
    m_matchPoints.clear();
    m_matchSelection.clear();
    for (size_t i = 0; i < m_selection.size(); ++i) {
        IUnknown* object = nullptr;
        ComPtr<IEntityBase> entity;
        if (FAILED(m_selection[i]->GetObject(&object)) || object == nullptr ||
            FAILED(object->QueryInterface(IID_IEntityBase, entity.ReceiveVoid()))) {
            continue;
        }
        auto points = ComPtr<CPointList>::Share(new CPointList());
        if (FAILED(entity->GetGripPoints(points.Get()))) {
            continue;
        }
        for (int32_t j = 0; j < points->GetCount(); ++j) {
            if (points->GetAt(j) == m_gripPoint) {
                m_matchPoints.push_back(j);
                m_matchSelection.push_back(static_cast<int32_t>(i));
            }
        }
    }
}

void CHostEntitySet::GripPick(IUnknown* marker, LONG final)
{
    IHostDocument* host = m_document.GetHostDocument();
    m_hover = true;
    host->RemoveTemporaries(1, 0, 0);
    if (final == 0) {
        ComPtr<IPoint3> point;
        if (SUCCEEDED(marker->QueryInterface(IID_IPoint3, point.ReceiveVoid()))) {
            point->GetPosition(&m_gripPoint);
        }
        host->SetReferencePoint(&m_gripPoint);
        ShowGrips();
        return;
    }
    m_gripDrag = true;
    FindGripMatches(marker);
    for (int32_t i : m_matchSelection) {
        m_selection[static_cast<size_t>(i)]->AddFlags(kGripDragFlags);
    }
    host->SetInputKinds(command_event::kModelPoint, 1);
}

namespace {

struct EventValueRecord {
    double value;
    uint16_t flags;
    uint8_t padding[6];
};

// A copy of an entity object, or null when it offers none.
ComPtr<IEntityBase> CloneEntity(IUnknown* object)
{
    ComPtr<IObjectBase> base;
    ComPtr<IEntityBase> entity;
    IObjectBase* copy = nullptr;
    if (object == nullptr || FAILED(object->QueryInterface(IID_IObjectBase, base.ReceiveVoid())) ||
        FAILED(base->Clone(&copy)) || copy == nullptr) {
        return entity;
    }
    auto held = ComPtr<IObjectBase>::Share(copy);
    if (FAILED(held->QueryInterface(IID_IEntityBase, entity.ReceiveVoid()))) {
        entity.Reset();
    }
    return entity;
}

} // namespace

void CHostEntitySet::GripPoint(void* value, LONG final, LONG kind, int32_t modifier, LONG* result)
{
    if (value == nullptr) {
        return;
    }
    IHostDocument* host = m_document.GetHostDocument();
    const auto* records = static_cast<const EventValueRecord*>(value);
    CVector3 target(records[0].value, records[1].value, records[2].value);
    if (final == 0) {
        for (size_t k = 0; k < m_matchPoints.size(); ++k) {
            const auto i = static_cast<size_t>(m_matchSelection[k]);
            IUnknown* object = nullptr;
            m_selection[i]->GetObject(&object);
            if (ComPtr<IEntityBase> copy = CloneEntity(object)) {
                m_copies[i]->SetObject(copy.Get());
                copy->MoveGripPoint(static_cast<uint32_t>(m_matchPoints[k]), &target, FALSE);
            } else if (ComPtr<IEntityBase> entity; object != nullptr &&
                       SUCCEEDED(object->QueryInterface(IID_IEntityBase, entity.ReceiveVoid()))) {
                entity->MoveGripPoint(static_cast<uint32_t>(m_matchPoints[k]), &target, FALSE);
            }
        }
        return;
    }
    m_hover = true;
    m_gripDrag = false;
    for (size_t k = 0; k < m_matchPoints.size(); ++k) {
        const auto i = static_cast<size_t>(m_matchSelection[k]);
        IEntityRecord* old = m_selection[i];
        IUnknown* object = nullptr;
        if (FAILED(old->GetObject(&object)) || object == nullptr) {
            continue;
        }
        uint32_t flags = 0;
        old->GetFlags(&flags);
        ComPtr<IEntityBase> copy = (flags & kHolderKeepsObject) == 0 ? CloneEntity(object) : ComPtr<IEntityBase>();
        if (copy) {
            // The moved object goes into a new record, so that undo can put
            // the old one back.
            auto replacement = ComPtr<IEntityRecord>::Share(new CEntityRecord(old, FALSE, TRUE));
            copy->MoveGripPoint(static_cast<uint32_t>(m_matchPoints[k]), &target, TRUE);
            replacement->SetObject(copy.Get());
            host->AddObject(replacement.Get());
            old->ClearFlags(kSelectionFlags);
            host->RemoveObject(old);
            m_selection[i] = replacement.Get();
            m_copies[i] = ComPtr<IEntityRecord>::Share(new CEntityRecord(replacement.Get(), FALSE, TRUE));
        } else if (ComPtr<IEntityBase> entity; SUCCEEDED(object->QueryInterface(IID_IEntityBase, entity.ReceiveVoid()))) {
            entity->MoveGripPoint(static_cast<uint32_t>(m_matchPoints[k]), &target, TRUE);
            old->ClearFlags(kSelectionFlags);
        }
    }
    host->SetInputKinds(command_event::kPickB, modifier);
    *result = command_result::kCommit | command_result::kPassSelection;
    host->RemoveTemporaries(1, 0, 0);
    ShowGrips();
    if (m_handler) {
        CSelectionSetObject selection;
        for (IEntityRecord* record : m_selection) {
            selection.Add(ObjectIdOf(record));
        }
        ISelectionSet* pointer = &selection;
        Forward(command_event::kModelPoint, &pointer, 1, kind, result);
    }
}
