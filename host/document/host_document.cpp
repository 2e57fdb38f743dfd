// CHostDocument: the IHostDocument operations, each forwarding to its
// document, its first view, its pane pages or the document's output. The
// operations on the command levels' filter, option and flag tables are in
// host_document_tables.cpp.
#include "host/document/host_document.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "host/document/command_engine.h"
#include "host/document/nuvex_doc.h"
#include "iselection.h"
#include "objectmodel/collection_c.h"
#include "objectmodel/entity_record.h"
#include "platform/user/keyboard.h"
#include "platform/user/menu.h"

namespace {

// Absolute, unitless: components of a unit normal that differ by less are
// taken as equal when the work X axis is chosen; a normal shorter than this
// has no direction.
constexpr double kWorkPlaneAxisTolerance = 1e-6;

} // namespace

HRESULT CHostDocument::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    if (iid == IID_IUnknown || iid == IID_IHostDocument) {
        *out = static_cast<IHostDocument*>(this);
    } else if (iid == IID_IDocumentFileIndex) {
        *out = static_cast<IDocumentFileIndex*>(this);
    } else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

// The document owns this object; the count only serves borrowers' balance.
ULONG CHostDocument::AddRef() { return m_references.Increment(); }

ULONG CHostDocument::Release()
{
    ULONG remaining = 0;
    // Never the last reference: the document deletes the object itself.
    (void)m_references.Decrement(&remaining);
    return remaining;
}

HRESULT CHostDocument::DestroyPopupMenu()
{
    if (m_document.m_popupMenu != nullptr) {
        ::DestroyMenu(m_document.m_popupMenu);
        m_document.m_popupMenu = nullptr;
    }
    m_document.m_popupItemIds.clear();
    m_document.m_popupItemOwners.clear();
    return S_OK;
}

HRESULT CHostDocument::TrackPopupMenu(LONG flags, LONG x, LONG y)
{
    IDocumentView* view = m_document.GetFirstDocumentView();
    if (view != nullptr && m_document.m_popupMenu != nullptr) {
        // The chosen item reaches the view as its position, which hands
        // it to the item's owner.
        ::TrackPopupMenu(m_document.m_popupMenu, static_cast<UINT>(flags), x, y, 0, view->GetViewWindow(), nullptr);
    }
    return S_OK;
}

HRESULT CHostDocument::AddPopupMenuItem(IAddinCommand* owner, LONG flags, LONG itemId, const char* text)
{
    m_document.m_popupItemIds.push_back(static_cast<uint32_t>(itemId));
    m_document.m_popupItemOwners.push_back(owner);
    if (m_document.m_popupMenu != nullptr) {
        ::AppendMenuA(m_document.m_popupMenu, static_cast<UINT>(flags), m_document.m_popupItemIds.size(),
                      text != nullptr ? text : "");
    }
    return S_OK;
}

HRESULT CHostDocument::CreatePopupMenu()
{
    DestroyPopupMenu();
    m_document.m_popupMenu = ::CreatePopupMenu();
    return S_OK;
}

HRESULT CHostDocument::HitsTrackingLine(IVector3* first, IVector3* second, LONG* hit)
{
    if (first == nullptr || second == nullptr || hit == nullptr) {
        return E_POINTER;
    }
    uint32_t active = 0;
    m_document.SnapEngine().QueryTrackingActive(&active);
    *hit = active != 0 ? 1 : 0;
    return S_OK;
}

HRESULT CHostDocument::NotifySettingsChanged()
{
    m_document.BroadcastChangeEvent();
    return S_OK;
}

HRESULT CHostDocument::GetActiveObject(IUnknown** object)
{
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = m_document.GetCurrentGroup();
    return S_OK;
}

HRESULT CHostDocument::SetActiveObject(IUnknown* object)
{
    // The active object is a group: it hears that it became current (and
    // the old one that it no longer is).
    ComPtr<IIdGroup> group;
    if (object != nullptr && (FAILED(object->QueryInterface(IID_IIdGroup, group.ReceiveVoid())) || !group)) {
        return E_NOINTERFACE;
    }
    m_document.SetCurrentGroup(group.Get());
    m_document.BroadcastChangeEvent();
    return S_OK;
}

HRESULT CHostDocument::RefreshSnap()
{
    m_document.SnapEngine().Refresh();
    return S_OK;
}

HRESULT CHostDocument::AddTrackingPoint(IVector3* point)
{
    if (point == nullptr) {
        return E_POINTER;
    }
    const CVector3 base(point);
    CCoordSystemObject& frame = m_document.UserFrame();
    CSnapEngine& engine = m_document.SnapEngine();
    engine.AddTrackingLine(base, frame.GetXAxisValue(), 0);
    engine.AddTrackingLine(base, frame.GetYAxisValue(), 0);
    engine.AddTrackingLine(base, frame.GetZAxisValue(), 0);
    return S_OK;
}

HRESULT CHostDocument::SetPrompt(LONG kind, const char* text)
{
    m_document.SetPromptLabel(static_cast<uint32_t>(kind), text);
    return S_OK;
}

HRESULT CHostDocument::SendEvent(LONG event, void* value, LONG final, LONG kind)
{
    LONG state = command_result::kNotHandled;
    m_document.SendCommandEvent(event, value, final, kind, &state);
    m_document.EndCommandLevel(event, state, TRUE);
    return S_OK;
}

HRESULT CHostDocument::EndLevel(LONG result)
{
    m_document.EndCommandLevel(0, result, TRUE);
    return S_OK;
}

HRESULT CHostDocument::ShowPane(LONG group, LONG item)
{
    IDocumentPanes* panes = m_document.Panes();
    return panes != nullptr ? panes->ShowPane(group, item) : E_FAIL;
}

HRESULT CHostDocument::GetActivePane(LONG group, LONG* item)
{
    if (IDocumentPanes* panes = m_document.Panes()) {
        return panes->GetActivePane(group, item);
    }
    if (item != nullptr) {
        *item = -1;
    }
    return E_FAIL;
}

HRESULT CHostDocument::GetPaneObject(LONG group, LONG item, IUnknown** object)
{
    if (IDocumentPanes* panes = m_document.Panes()) {
        return panes->GetPaneObject(group, item, object);
    }
    if (object != nullptr) {
        *object = nullptr;
    }
    return E_FAIL;
}

HRESULT CHostDocument::CreateControlPanel(LONG group, LONG item, IControlPanel** panel)
{
    if (IDocumentPanes* panes = m_document.Panes()) {
        return panes->CreateControlPanel(group, item, panel);
    }
    if (panel != nullptr) {
        *panel = nullptr;
    }
    return E_FAIL;
}

HRESULT CHostDocument::GetFileIndex(LONG objectIndex, LONG* fileIndex)
{
    if (fileIndex == nullptr) {
        return E_POINTER;
    }
    if (!m_document.IsSaving()) {
        *fileIndex = -1;
        return E_FAIL;
    }
    *fileIndex = m_document.FileIndexOfEntry(objectIndex);
    return S_OK;
}

HRESULT CHostDocument::GetObjectCount(LONG* count)
{
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = static_cast<LONG>(m_document.GetObjectCount());
    return S_OK;
}

HRESULT CHostDocument::GetObject(LONG index, IEntityRecord** holder)
{
    if (holder == nullptr) {
        return E_POINTER;
    }
    if (index < 0 || static_cast<size_t>(index) >= m_document.GetObjectCount()) {
        *holder = nullptr;
        return E_FAIL;
    }
    *holder = m_document.GetObjectAt(static_cast<size_t>(index));
    return S_OK;
}

HRESULT CHostDocument::AddObject(IEntityRecord* holder)
{
    if (holder == nullptr) {
        return E_FAIL;
    }
    m_document.AddObject(holder);
    return S_OK;
}

HRESULT CHostDocument::RemoveObjectAt(LONG index)
{
    if (index < 0 || static_cast<size_t>(index) >= m_document.GetObjectCount()) {
        return E_FAIL;
    }
    // A link may keep the record in the drawing.
    if (CollectPartFlagsA(m_document.GetObjectAt(static_cast<size_t>(index)), 1) & 0x1) {
        return S_OK;
    }
    m_document.RemoveObjectAt(index);
    return S_OK;
}

HRESULT CHostDocument::RemoveObject(IEntityRecord* holder)
{
    // A link may keep the record in the drawing.
    if (CollectPartFlagsA(holder, 1) & 0x1) {
        return S_OK;
    }
    for (size_t i = m_document.GetObjectCount(); i > 0; --i) {
        if (m_document.GetObjectAt(i - 1) == holder) {
            m_document.RemoveObjectAt(static_cast<int32_t>(i - 1));
        }
    }
    return S_OK;
}

HRESULT CHostDocument::ModifyObjectAt(LONG index)
{
    if (index < 0 || static_cast<size_t>(index) >= m_document.GetObjectCount()) {
        return E_FAIL;
    }
    // A locked record keeps its content; nothing is recorded for it.
    if (CollectPartFlagsA(m_document.GetObjectAt(static_cast<size_t>(index)), 2) & 0x1) {
        return S_OK;
    }
    m_document.ModifyObjectAt(index);
    return S_OK;
}

HRESULT CHostDocument::ModifyObject(IEntityRecord* holder)
{
    for (size_t i = 0; i < m_document.GetObjectCount(); ++i) {
        if (m_document.GetObjectAt(i) == holder) {
            m_document.ModifyObjectAt(static_cast<int32_t>(i));
        }
    }
    return S_OK;
}

HRESULT CHostDocument::RemoveAllObjects()
{
    while (m_document.GetObjectCount() > 0) {
        m_document.RemoveObjectAt(static_cast<int32_t>(m_document.GetObjectCount()) - 1);
    }
    return S_OK;
}

HRESULT CHostDocument::GetDocumentWord(uint32_t* word)
{
    if (word == nullptr) {
        return E_POINTER;
    }
    *word = m_document.m_documentWord;
    return S_OK;
}

HRESULT CHostDocument::SetReferencePoint(IVector3* point)
{
    if (point == nullptr) {
        return E_POINTER;
    }
    m_document.m_storedPoint.CopyFrom(point);
    m_document.m_pointSet = TRUE;
    return S_OK;
}

// The table index of an add-in command that already has an entry, or -1.
static int32_t FindCommand(CNuvexDoc& document, IAddin* addin, LONG commandId)
{
    IDocumentServices& services = document.Services();
    for (int32_t index = 0;; ++index) {
        const CommandTableEntry* entry = services.GetCommandEntry(index);
        if (entry == nullptr) {
            return -1;
        }
        if (services.GetAddin(entry->addinIndex) == addin && entry->addinCommandId == static_cast<uint32_t>(commandId)) {
            return index;
        }
    }
}

HRESULT CHostDocument::AcceptCommand(IAddin* addin, LONG commandId)
{
    const int32_t index = FindCommand(m_document, addin, commandId);
    const int32_t closed = index < 0 ? 0 : m_document.FinishCommandLevel(index);
    m_document.Output().UpdateAllViews();
    return closed == 0 ? E_FAIL : S_OK;
}

HRESULT CHostDocument::CancelCommand(IAddin* addin, LONG commandId)
{
    const int32_t index = FindCommand(m_document, addin, commandId);
    const int32_t closed = index < 0 ? 0 : m_document.CancelCommandLevel(index);
    m_document.Output().UpdateAllViews();
    return closed == 0 ? E_FAIL : S_OK;
}

HRESULT CHostDocument::StartAddinCommand(IAddin* addin, LONG commandId)
{
    const int32_t index = m_document.Services().GetHostCommand(addin, static_cast<uint32_t>(commandId));
    if (index < 0) {
        return E_FAIL;
    }
    const CommandTableEntry* entry = m_document.Services().GetCommandEntry(index);
    const bool toggles = index == m_document.Level(m_document.GetCurrentLevel()).commandIndex ||
                         (entry != nullptr && entry->toggle == 1);
    m_document.StartCommand(index, toggles ? 0 : 1);
    return S_OK;
}

HRESULT CHostDocument::Redraw()
{
    m_document.Redraw();
    return S_OK;
}

HRESULT CHostDocument::CreateObject(CLSID classId, IID iid, void** object)
{
    if (object == nullptr) {
        return E_POINTER;
    }
    IClassFactory* factory = m_document.Services().GetClassFactoryForClsid(classId);
    if (factory == nullptr) {
        *object = nullptr;
        return E_FAIL;
    }
    // The factory's own answer: a failed creation is not reported as one
    // that worked, and leaves no object behind.
    *object = nullptr;
    const HRESULT result = factory->CreateInstance(nullptr, iid, object);
    if (FAILED(result)) {
        *object = nullptr;
    }
    return result;
}

HRESULT CHostDocument::HasView() { return m_document.GetFirstViewPosition() != nullptr ? S_OK : E_FAIL; }

HRESULT CHostDocument::HasView2() { return HasView(); }

HRESULT CHostDocument::SetVariable(LONG index, VARIANT value) { return m_document.SetVariable(index, value); }

HRESULT CHostDocument::GetVariable(LONG index, VARIANT* value) { return m_document.GetVariable(index, value); }

HRESULT CHostDocument::SetVariableByName(const char* name, VARIANT value)
{
    if (name == nullptr) {
        return E_FAIL;
    }
    const int32_t index = m_document.Services().FindVariable(name);
    return index < 0 ? E_FAIL : m_document.SetVariable(index, value);
}

HRESULT CHostDocument::GetVariableByName(const char* name, VARIANT* value)
{
    if (name == nullptr) {
        return E_FAIL;
    }
    const int32_t index = m_document.Services().FindVariable(name);
    return index < 0 ? E_FAIL : m_document.GetVariable(index, value);
}

HRESULT CHostDocument::GetRootSelection(ISelectionSet* set)
{
    if (set == nullptr) {
        return E_POINTER;
    }
    set->RemoveAll();
    if (m_document.GetCurrentLevel() == 0) {
        for (uintptr_t id : m_document.m_passOnIds) {
            set->Add(id);
        }
    }
    return S_OK;
}

HRESULT CHostDocument::PickAtRoot(void* picked)
{
    const uint32_t rootWord = m_document.Level(0).inputKinds[static_cast<size_t>(ModifierTable::Plain)];
    if (m_document.GetCurrentLevel() != 0 || (rootWord & kInputPick) == 0 || HasView() != S_OK) {
        return S_OK;
    }
    LONG state = command_result::kNotHandled;
    m_document.SendCommandEvent(command_event::kPickB, &picked, 1, 0, &state);
    m_document.EndCommandLevel(command_event::kPickB, state, TRUE);
    m_document.Redraw();
    return S_OK;
}

HRESULT CHostDocument::CreateNamedCollection(const char* name, ICollectionC** collection)
{
    if (collection == nullptr) {
        return E_POINTER;
    }
    std::string candidate = name != nullptr ? name : "";
    if (name != nullptr) {
        ICollectionC* found = nullptr;
        for (int n = 1; SUCCEEDED(FindNamedCollection(candidate.c_str(), &found)); ++n) {
            candidate = std::string(name) + "_" + std::to_string(n);
        }
    }
    *collection = new CCollectionC(candidate.c_str());
    return S_OK;
}

HRESULT CHostDocument::FindNamedCollection(const char* name, ICollectionC** collection)
{
    if (collection == nullptr) {
        return E_POINTER;
    }
    *collection = nullptr;
    if (name == nullptr) {
        return E_FAIL;
    }
    for (size_t i = 0; i < m_document.GetObjectCount(); ++i) {
        IUnknown* held = nullptr;
        if (FAILED(m_document.GetObjectAt(i)->GetObject(&held)) || held == nullptr) {
            continue;
        }
        ComPtr<ICollectionC> named;
        if (FAILED(held->QueryInterface(IID_ICollectionC, named.ReceiveVoid())) || !named) {
            continue;
        }
        const char* text = nullptr;
        if (SUCCEEDED(named->GetText(&text)) && text != nullptr && std::strcmp(text, name) == 0) {
            *collection = named.Get();
            return S_OK;
        }
    }
    return E_FAIL;
}

HRESULT CHostDocument::SetCoordinateSystem(ICoordinateSystem* source)
{
    if (source == nullptr) {
        return E_POINTER;
    }
    return m_document.UserFrame().CopyFrom(source);
}

HRESULT CHostDocument::GetCoordinateSystem(ICoordinateSystem* target)
{
    if (target == nullptr) {
        return E_POINTER;
    }
    target->CopyFrom(&m_document.UserFrame());
    return S_OK;
}

HRESULT CHostDocument::SetWorkPlane(IPlane* plane)
{
    if (plane == nullptr) {
        return E_POINTER;
    }
    ComPtr<IPlaneEx> source;
    if (FAILED(plane->QueryInterface(IID_IPlaneEx, source.ReceiveVoid())) || !source) {
        return E_NOINTERFACE;
    }
    CVector3 origin;
    CVector3 normal;
    source->GetOrigin(&origin);
    source->GetNormal(&normal);
    if (normal.Length().GetValue() < kWorkPlaneAxisTolerance) {
        return E_INVALIDARG;
    }
    normal.Normalize();
    // The world axis least along the normal becomes the work X axis, made
    // perpendicular to the normal (a direction, so the plane's distance
    // from the world origin does not tilt it).
    const double nx = std::fabs(normal.x.GetValue());
    const double ny = std::fabs(normal.y.GetValue());
    const double nz = std::fabs(normal.z.GetValue());
    auto less = [](double a, double b) { return a < b - kWorkPlaneAxisTolerance; };
    CVector3 candidate;
    if (less(nx, ny)) {
        candidate = less(nx, nz) ? CVector3(1.0, 0.0, 0.0) : CVector3(0.0, 0.0, 1.0);
    } else {
        candidate = less(ny, nz) ? CVector3(0.0, 1.0, 0.0) : CVector3(0.0, 0.0, 1.0);
    }
    CVector3 xAxis = candidate - normal * candidate.Dot(normal);
    xAxis.Normalize();
    CCoordSystemObject frame;
    frame.SetOrigin(&origin);
    frame.SetZAxis(&normal);
    frame.SetXAxis(&xAxis);
    return m_document.UserFrame().CopyFrom(&frame);
}

HRESULT CHostDocument::GetWorkPlane(IPlaneEx* target)
{
    if (target == nullptr) {
        return E_POINTER;
    }
    CCoordSystemObject& frame = m_document.UserFrame();
    CVector3 origin(frame.GetOriginValue());
    CVector3 normal(frame.GetZAxisValue());
    target->SetOrigin(&origin);
    target->SetNormal(&normal);
    return S_OK;
}

HRESULT CHostDocument::GetAttributes(IAttributeSet** set)
{
    if (set == nullptr) {
        return E_POINTER;
    }
    *set = &m_document.CurrentAttributes();
    return S_OK;
}

HRESULT CHostDocument::SetAttributes(IAttributeSet* source)
{
    if (source == nullptr) {
        return E_POINTER;
    }
    CAttributeSet& own = m_document.CurrentAttributes();
    uint32_t value = 0;
    if (SUCCEEDED(source->GetLineStyle(&value))) {
        own.SetLineStyle(value);
    }
    if (SUCCEEDED(source->GetLineWidth(&value))) {
        own.SetLineWidth(value);
    }
    if (SUCCEEDED(source->GetStippleFactor(&value))) {
        own.SetStippleFactor(value);
    }
    uint8_t flags = 0;
    if (SUCCEEDED(source->GetFlags(&flags))) {
        own.ClearFlags(0xFF);
        own.SetFlags(flags);
    }
    m_document.BroadcastChangeEvent();
    return S_OK;
}

HRESULT CHostDocument::GetSettings(ICollectionB** settings)
{
    if (settings == nullptr) {
        return E_POINTER;
    }
    *settings = &m_document.CurrentColour();
    return S_OK;
}

HRESULT CHostDocument::SetSettings(ICollectionB* source)
{
    if (source == nullptr) {
        return E_POINTER;
    }
    uint32_t colour = 0;
    uint8_t kind = 0;
    if (SUCCEEDED(source->GetValue(&colour))) {
        m_document.CurrentColour().SetValue(colour);
    }
    if (SUCCEEDED(source->GetKind(&kind))) {
        m_document.CurrentColour().SetKind(kind);
    }
    m_document.BroadcastChangeEvent();
    return S_OK;
}

HRESULT CHostDocument::GetTemporaryCount(LONG* count)
{
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = static_cast<LONG>(m_document.CommandObjects().size());
    return S_OK;
}

HRESULT CHostDocument::GetTemporary(LONG index, IUnknown** object)
{
    if (object == nullptr) {
        return E_POINTER;
    }
    if (index < 0 || static_cast<size_t>(index) >= m_document.CommandObjects().size()) {
        *object = nullptr;
        return E_FAIL;
    }
    *object = m_document.CommandObjects()[static_cast<size_t>(index)].object.Get();
    return S_OK;
}

HRESULT CHostDocument::AddTemporary(IUnknown* object, LONG byLevel, LONG byOwner, uint32_t ownerKey)
{
    if (object == nullptr) {
        return E_FAIL;
    }
    const int32_t owner = byOwner ? m_document.FindObjectFlagEntry(ownerKey, TRUE) : kNoOwner;
    const int32_t level = byLevel ? m_document.Level(m_document.GetCurrentLevel()).commandIndex : kNoOwner;
    // The entry keeps the level's command index as its owner and the flag
    // entry beside it.
    m_document.AddCommandObject(object, level, owner);
    return S_OK;
}

HRESULT CHostDocument::RemoveTemporaryAt(LONG index)
{
    auto& list = m_document.CommandObjects();
    if (index >= 0 && static_cast<size_t>(index) < list.size()) {
        list.erase(list.begin() + index);
    }
    return S_OK;
}

HRESULT CHostDocument::RemoveTemporary(IUnknown* object)
{
    auto& list = m_document.CommandObjects();
    list.erase(std::remove_if(list.begin(), list.end(),
                              [object](const CommandObjectEntry& e) { return e.object.Get() == object; }),
               list.end());
    return S_OK;
}

HRESULT CHostDocument::RemoveTemporaries(LONG byLevel, LONG byOwner, uint32_t ownerKey)
{
    m_document.RemoveCommandObjects(byLevel != 0 ? CNuvexDoc::OfCommand::Current : CNuvexDoc::OfCommand::Any,
                                    byOwner != 0 ? CNuvexDoc::OfOwner::Key : CNuvexDoc::OfOwner::Any, ownerKey);
    return S_OK;
}

HRESULT CHostDocument::ClearTemporaries()
{
    std::vector<CommandObjectEntry> released;
    released.swap(m_document.CommandObjects());
    return S_OK;
}

HRESULT CHostDocument::GetAddinConnectionPoint(IAddin* addin, IConnectionPoint** point)
{
    if (point == nullptr) {
        return E_POINTER;
    }
    return m_document.Output().GetAddinConnectionPoint(addin, point);
}

HRESULT CHostDocument::GetEventConnectionPoint(IConnectionPoint** point)
{
    if (point == nullptr) {
        return E_POINTER;
    }
    return m_document.Output().GetEventConnectionPoint(point);
}

HRESULT CHostDocument::GetFirstView(IHostView** view)
{
    if (view == nullptr) {
        return E_POINTER;
    }
    if (IDocumentView* first = m_document.GetFirstDocumentView()) {
        *view = first->GetHostView();
    }
    return S_OK;
}

HRESULT CHostDocument::GetApplication(IHostApplication** application)
{
    if (application == nullptr) {
        return E_POINTER;
    }
    *application = m_document.Services().GetHostApplication();
    return S_OK;
}

HRESULT CHostDocument::GetFileIndexOf(IUnknown* object, int32_t* fileIndex)
{
    if (fileIndex == nullptr) {
        return E_POINTER;
    }
    *fileIndex = m_document.FileIndexOfObject(object);
    return *fileIndex < 0 ? E_FAIL : S_OK;
}

HRESULT CHostDocument::GetObjectByFileIndex(int32_t fileIndex, IUnknown** object)
{
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = m_document.ObjectOfFileIndex(fileIndex);
    return *object == nullptr ? E_FAIL : S_OK;
}
