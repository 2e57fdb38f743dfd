// The application's IHostApplication: pane groups and pages, and the
// application's event source.
#include "host/shell/host_application.h"

#include <cstring>

#include "host/document/document_services.h"
#include "platform/framework/dispatch.h"

namespace {

// Add-in records are looked through up to the first index that has neither
// an add-in nor a class factory.
constexpr int32_t kMaxAddinRecords = 4096;

} // namespace

CHostApplication::CHostApplication(IDocumentServices& services)
    : m_services(services), m_events(new CConnectionPointContainer())
{
    m_events->AddRef();
    m_events->AddConnectionPoint(IID_IDispatch, kMainEventGroup);
}

CHostApplication::~CHostApplication() { m_events->Release(); }

CHostApplication* CHostApplication::FromInterface(IHostApplication* application)
{
    return dynamic_cast<CHostApplication*>(application);
}

HRESULT CHostApplication::FireDocumentEvent(DISPID dispid, IHostDocument* document)
{
    IUnknown* argument = document;
    return m_events->FireEvent(dispid, VTS_PUNKNOWN, {&argument});
}

HRESULT CHostApplication::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    if (iid == IID_IUnknown || iid == IID_IHostApplication) {
        *out = static_cast<IHostApplication*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG CHostApplication::AddRef() { return ++m_references; }

ULONG CHostApplication::Release()
{
    // The owner's reference keeps the object: it deletes it itself.
    if (m_references > 1) {
        --m_references;
    }
    return m_references;
}

int32_t CHostApplication::AddinIndexOf(IAddin* addin)
{
    if (addin == nullptr) {
        return -1;
    }
    for (int32_t index = 0; index < kMaxAddinRecords; ++index) {
        IAddin* record = m_services.GetAddin(index);
        if (record == addin) {
            return index;
        }
        if (record == nullptr && m_services.GetAddinClassFactory(index) == nullptr) {
            break;
        }
    }
    return -1;
}

// Pane groups --------------------------------------------------------------------------

HRESULT CHostApplication::GetPaneGroupCount(LONG* count)
{
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = static_cast<LONG>(m_paneGroups.size());
    return S_OK;
}

HRESULT CHostApplication::GetPaneGroupName(LONG group, char* name)
{
    if (group < 0 || static_cast<size_t>(group) >= m_paneGroups.size() || name == nullptr) {
        return E_FAIL;
    }
    const std::string& text = m_paneGroups[static_cast<size_t>(group)].name;
    std::memcpy(name, text.c_str(), text.size() + 1);
    return S_OK;
}

HRESULT CHostApplication::FindPaneGroup(const char* name, LONG* index)
{
    if (index == nullptr) {
        return E_POINTER;
    }
    for (size_t i = 0; name != nullptr && i < m_paneGroups.size(); ++i) {
        if (m_paneGroups[i].name == name) {
            *index = static_cast<LONG>(i);
            return S_OK;
        }
    }
    *index = -1;
    return E_FAIL;
}

HRESULT CHostApplication::AddPaneGroup(const char* name, LONG flags, LONG* index)
{
    PaneGroup group;
    group.flags = static_cast<uint32_t>(flags);
    group.name = name != nullptr ? name : "";
    m_paneGroups.push_back(std::move(group));
    if (index != nullptr) {
        *index = static_cast<LONG>(m_paneGroups.size()) - 1;
    }
    return S_OK;
}

HRESULT CHostApplication::FindPaneItem(LONG group, const char* name, LONG* index)
{
    if (index == nullptr) {
        return E_POINTER;
    }
    if (group >= 0 && static_cast<size_t>(group) < m_paneGroups.size() && name != nullptr) {
        const std::vector<PaneItem>& items = m_paneGroups[static_cast<size_t>(group)].items;
        for (size_t i = 0; i < items.size(); ++i) {
            if (items[i].name == name) {
                *index = static_cast<LONG>(i);
                return S_OK;
            }
        }
    }
    *index = -1;
    return E_FAIL;
}

HRESULT CHostApplication::AddPaneItem(LONG group, const char* name, LONG flags, IAddin* addin, LONG commandId,
                                      LONG* index)
{
    if (group < 0 || static_cast<size_t>(group) >= m_paneGroups.size()) {
        return E_FAIL;
    }
    PaneItem item;
    item.name = name != nullptr ? name : "";
    item.flags = static_cast<uint32_t>(flags);
    item.commandIndex = addin != nullptr ? m_services.GetHostCommand(addin, static_cast<uint32_t>(commandId)) : -1;
    std::vector<PaneItem>& items = m_paneGroups[static_cast<size_t>(group)].items;
    items.push_back(std::move(item));
    if (index != nullptr) {
        *index = static_cast<LONG>(items.size()) - 1;
    }
    return S_OK;
}

// Event connection points ----------------------------------------------------------------

HRESULT CHostApplication::GetAddinConnectionPoint(IAddin* addin, IConnectionPoint** point)
{
    if (point == nullptr) {
        return E_POINTER;
    }
    const int32_t group = AddinIndexOf(addin);
    CConnectionPoint* found = m_events->Find(IID_IDispatch, group);
    if (found == nullptr) {
        found = m_events->AddConnectionPoint(IID_IDispatch, group);
    }
    found->AddRef();
    *point = found;
    return S_OK;
}

HRESULT CHostApplication::GetEventConnectionPoint(IConnectionPoint** point)
{
    if (point == nullptr) {
        return E_POINTER;
    }
    CConnectionPoint* main = m_events->Find(IID_IDispatch, kMainEventGroup);
    if (main != nullptr) {
        main->AddRef();
    }
    *point = main;
    return S_OK;
}

// Operations of the main frame, the menus, the toolbars and the other
// application tables: not offered by this object yet.

HRESULT CHostApplication::RegisterEventHandlerClass(IAddin*, GUID, LONG) { return E_NOTIMPL; }
HRESULT CHostApplication::GetViewContextMenu(HMENU*) { return E_NOTIMPL; }
HRESULT CHostApplication::GetProgressControl(CProgressCtrl**) { return E_NOTIMPL; }
HRESULT CHostApplication::RegisterFileType(const char*, const char*, LONG, GUID, LONG) { return E_NOTIMPL; }
HRESULT CHostApplication::FocusCommandLine() { return E_NOTIMPL; }
HRESULT CHostApplication::GetLanguage(char*, char*) { return E_NOTIMPL; }
HRESULT CHostApplication::GetAddin(CLSID, IAddin**) { return E_NOTIMPL; }
HRESULT CHostApplication::GetProgramFolder(char*) { return E_NOTIMPL; }
HRESULT CHostApplication::SetCommandPresets(IAddin*, LONG, LONG, VARIANT*, VARIANT*, uint32_t*) { return E_NOTIMPL; }
HRESULT CHostApplication::FindVariable(const char*, LONG*) { return E_NOTIMPL; }
HRESULT CHostApplication::GetVariableName(LONG, const char**) { return E_NOTIMPL; }
HRESULT CHostApplication::GetVariableCount(LONG*) { return E_NOTIMPL; }
HRESULT CHostApplication::RegisterVariable(const char*, VARIANT, LONG*) { return E_NOTIMPL; }
HRESULT CHostApplication::SetCommandTexts(IAddin*, LONG, const char*, const char*) { return E_NOTIMPL; }
HRESULT CHostApplication::SetCommandStatusTexts(IAddin*, LONG, const char*, const char*) { return E_NOTIMPL; }
HRESULT CHostApplication::AddAccelerator(IAddin*, LONG, BYTE, WORD) { return E_NOTIMPL; }
HRESULT CHostApplication::InsertMenuItem(HMENU, LONG, IAddin*, LONG, LONG, const char*) { return E_NOTIMPL; }
HRESULT CHostApplication::AddMenuItem(HMENU, IAddin*, LONG, LONG, const char*, HBITMAP) { return E_NOTIMPL; }
HRESULT CHostApplication::AddMenuSeparator(HMENU, IAddin*, LONG, LONG, const char*) { return E_NOTIMPL; }
HRESULT CHostApplication::GetMenuItemCount(HMENU, LONG*) { return E_NOTIMPL; }
HRESULT CHostApplication::InsertPopupMenu(HMENU, LONG, const char*) { return E_NOTIMPL; }
HRESULT CHostApplication::FindMenuPosition(HMENU, const char*, LONG*) { return E_NOTIMPL; }
HRESULT CHostApplication::GetSubMenu(HMENU, LONG, HMENU*) { return E_NOTIMPL; }
HRESULT CHostApplication::GetMainMenu(HMENU*) { return E_NOTIMPL; }
HRESULT CHostApplication::GetDefaultMenu(HMENU*) { return E_NOTIMPL; }
HRESULT CHostApplication::GetActiveDocument(IHostDocument**) { return E_NOTIMPL; }
HRESULT CHostApplication::GetAddinClassFactory(CLSID, IClassFactory**) { return E_NOTIMPL; }
HRESULT CHostApplication::AddToolbar(const char*, IToolbarControl**) { return E_NOTIMPL; }
HRESULT CHostApplication::FindToolbar(const char*, IToolbarControl**) { return E_NOTIMPL; }
HRESULT CHostApplication::GetToolbar(LONG, IToolbarControl**) { return E_NOTIMPL; }
HRESULT CHostApplication::GetToolbarCount(LONG*) { return E_NOTIMPL; }
HRESULT CHostApplication::RegisterCommandClass(IAddin*, LONG, GUID) { return E_NOTIMPL; }
HRESULT CHostApplication::GetToolbarCommandControl(IAddin*, LONG, IUnknown**) { return E_NOTIMPL; }
