// The application's IHostApplication: its operations in table order, each
// on the add-in host's tables, the main frame or its own pane groups and
// event source.
#include "host/shell/host_application.h"

#include <algorithm>
#include <cstring>

#include "host/document/document_services.h"
#include "host/document/nuvex_doc.h"
#include "host/menulook/new_menu.h"
#include "host/shell/addin_host.h"
#include "host/shell/controls/document_binding.h"
#include "host/shell/main_frame.h"
#include "platform/framework/dispatch.h"

namespace {

// Add-in records are looked through up to the first index that has neither
// an add-in nor a class factory.
constexpr int32_t kMaxAddinRecords = 4096;
// A variable named by name travels as a char* by reference.
constexpr VARTYPE kVariableByName = VT_BYREF | VT_I1;
constexpr const char* kNumberedNameFormat = "%s%d";

void CopyText(const std::string& text, char* out) { std::memcpy(out, text.c_str(), text.size() + 1); }

} // namespace

CHostApplication::CHostApplication(CAddinHost& host) : CHostApplication(static_cast<IDocumentServices&>(host))
{
    m_host = &host;
}

CHostApplication::CHostApplication(IDocumentServices& services)
    : m_services(services), m_events(ComPtr<CConnectionPointContainer>::Share(new CConnectionPointContainer()))
{
    m_events->AddConnectionPoint(IID_IDispatch, kMainEventGroup);
}

CHostApplication::~CHostApplication() = default;

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
    if (m_host != nullptr) {
        return m_host->FindAddinByInterface(addin);
    }
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

int32_t CHostApplication::CommandIndexOf(IAddin* addin, LONG commandId)
{
    return m_services.GetHostCommand(addin, static_cast<uint32_t>(commandId));
}

bool CHostApplication::MenuIdOf(IAddin* addin, LONG commandId, UINT_PTR* id)
{
    if (addin == nullptr) {
        *id = 0;
        return true;
    }
    const int32_t index = CommandIndexOf(addin, commandId);
    if (index < 0) {
        return false;
    }
    *id = kFirstHostCommandId + static_cast<UINT_PTR>(index);
    return true;
}

CNewMenu* CHostApplication::MenuObjectOf(HMENU menu)
{
    for (const std::unique_ptr<CNewMenu>& popup : m_popups) {
        if (popup->GetSafeHmenu() == menu) {
            return popup.get();
        }
    }
    if (m_host != nullptr) {
        if (CNuvexDoc* document = m_host->GetActiveDocument()) {
            if (IDocumentView* view = document->GetFirstDocumentView()) {
                CNewMenu* contextMenu = view->GetContextMenu();
                if (contextMenu != nullptr && contextMenu->GetSafeHmenu() == menu) {
                    return contextMenu;
                }
            }
        }
    }
    return nullptr;
}

int32_t CHostApplication::VariableIndexOf(const VARIANT& name)
{
    const int32_t count = m_services.GetVariableCount();
    int32_t index = -1;
    if (name.vt == kVariableByName) {
        index = name.pcVal != nullptr ? m_services.FindVariable(name.pcVal) : -1;
    } else {
        index = name.lVal;
    }
    return index >= 0 && index < count ? index : -1;
}

// 3-8: root handlers, the view's menu, progress, file types, command line, language.

HRESULT CHostApplication::RegisterEventHandlerClass(IAddin* addin, GUID classId, LONG eventMask)
{
    if (m_host == nullptr) {
        return E_FAIL;
    }
    m_host->RootHandlerClasses().push_back(RootHandlerClass{addin, classId, static_cast<uint32_t>(eventMask)});
    return S_OK;
}

HRESULT CHostApplication::GetViewContextMenu(HMENU* menu)
{
    if (menu == nullptr) {
        return E_POINTER;
    }
    *menu = nullptr;
    CNuvexDoc* document = m_host != nullptr ? m_host->GetActiveDocument() : nullptr;
    IDocumentView* view = document != nullptr ? document->GetFirstDocumentView() : nullptr;
    if (view != nullptr && view->GetContextMenu() != nullptr) {
        *menu = view->GetContextMenu()->GetSafeHmenu();
    }
    return S_OK;
}

HRESULT CHostApplication::GetProgressControl(CProgressCtrl** control)
{
    if (control == nullptr) {
        return E_POINTER;
    }
    CMainFrame* frame = m_host != nullptr ? m_host->GetMainFrame() : nullptr;
    *control = frame != nullptr ? frame->ProgressControl() : nullptr;
    return S_OK;
}

HRESULT CHostApplication::RegisterFileType(const char* description, const char* extension, LONG flags, GUID classId,
                                           LONG value)
{
    if (m_host == nullptr) {
        return E_FAIL;
    }
    FileTypeHandler type;
    type.description = description != nullptr ? description : "";
    type.extension = extension != nullptr ? extension : "";
    type.flags = static_cast<uint32_t>(flags);
    type.handler = classId;
    type.value = value;
    // The add-in whose handler class opens or saves files of this type: the
    // one registering it as it connects.
    type.addin = m_host->ConnectingAddin();
    m_host->FileTypes().push_back(std::move(type));
    return S_OK;
}

HRESULT CHostApplication::FocusCommandLine()
{
    if (CMainFrame* frame = m_host != nullptr ? m_host->GetMainFrame() : nullptr) {
        frame->FocusCommandLine();
    }
    return S_OK;
}

HRESULT CHostApplication::GetLanguage(char* chosen, char* fallback)
{
    if (chosen == nullptr || fallback == nullptr) {
        return E_POINTER;
    }
    if (m_host == nullptr) {
        return E_FAIL;
    }
    CopyText(m_host->LanguageTable().ChosenLanguage(), chosen);
    CopyText(m_host->LanguageTable().DefaultLanguage(), fallback);
    return S_OK;
}

// 9-14: pane groups and their pages.

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
    CopyText(m_paneGroups[static_cast<size_t>(group)].name, name);
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
    item.commandIndex = addin != nullptr ? CommandIndexOf(addin, commandId) : -1;
    std::vector<PaneItem>& items = m_paneGroups[static_cast<size_t>(group)].items;
    items.push_back(std::move(item));
    if (index != nullptr) {
        *index = static_cast<LONG>(items.size()) - 1;
    }
    return S_OK;
}

// 15-21: add-ins, program folder, presets and variables.

HRESULT CHostApplication::GetAddin(CLSID classId, IAddin** addin)
{
    if (addin == nullptr) {
        return E_POINTER;
    }
    const int index = m_host != nullptr ? m_host->FindAddinByClsid(classId) : -1;
    *addin = index >= 0 ? m_host->AddinRecords()[static_cast<size_t>(index)].addin : nullptr;
    return *addin != nullptr ? S_OK : E_FAIL;
}

HRESULT CHostApplication::GetProgramFolder(char* folder)
{
    if (folder == nullptr) {
        return E_POINTER;
    }
    if (m_host == nullptr) {
        return E_FAIL;
    }
    CopyText(m_host->ProgramFolder(), folder);
    return S_OK;
}

HRESULT CHostApplication::SetCommandPresets(IAddin* addin, LONG commandId, LONG count, VARIANT* variables,
                                           VARIANT* values, uint32_t* flags)
{
    CAddinCommandEntry* entry = m_host != nullptr ? m_host->CommandEntry(CommandIndexOf(addin, commandId)) : nullptr;
    if (entry == nullptr) {
        return E_FAIL;
    }
    entry->presetVariables.clear();
    entry->presetValues.clear();
    entry->presetFlags.clear();
    if (count < 1) {
        return S_OK;
    }
    if (variables == nullptr || values == nullptr || flags == nullptr) {
        return E_POINTER;
    }
    // Read and checked first: an invalid variable leaves no half-filled block.
    std::vector<uint32_t> indexes;
    std::vector<VARIANT> stored;
    for (LONG i = 0; i < count; ++i) {
        const int32_t variable = VariableIndexOf(variables[i]);
        if (variable < 0) {
            return E_FAIL;
        }
        VARIANT value = values[i];
        if ((flags[i] & kPresetFromVariable) != 0) {
            const int32_t referenced = VariableIndexOf(values[i]);
            if (referenced < 0) {
                return E_FAIL;
            }
            VariantInit(&value);
            value.vt = VT_I4;
            value.lVal = referenced;
        }
        indexes.push_back(static_cast<uint32_t>(variable));
        stored.push_back(value);
    }
    entry->presetVariables = std::move(indexes);
    entry->presetValues = std::move(stored);
    entry->presetFlags.assign(flags, flags + count);
    const int32_t commandIndex = CommandIndexOf(addin, commandId);
    for (uint32_t variable : entry->presetVariables) {
        std::vector<int32_t>& dependents = m_host->SystemVariables()[variable].dependentCommands;
        if (std::find(dependents.begin(), dependents.end(), commandIndex) == dependents.end()) {
            dependents.push_back(commandIndex);
        }
    }
    return S_OK;
}

HRESULT CHostApplication::FindVariable(const char* name, LONG* index)
{
    if (index == nullptr) {
        return E_POINTER;
    }
    const int32_t found = name != nullptr ? m_services.FindVariable(name) : -1;
    if (found < 0) {
        return E_FAIL;
    }
    *index = found;
    return S_OK;
}

HRESULT CHostApplication::GetVariableName(LONG index, const char** name)
{
    if (name == nullptr) {
        return E_POINTER;
    }
    if (m_host == nullptr || index < 0 || static_cast<size_t>(index) >= m_host->SystemVariables().size()) {
        return E_FAIL;
    }
    *name = m_host->SystemVariables()[static_cast<size_t>(index)].name.c_str();
    return S_OK;
}

HRESULT CHostApplication::GetVariableCount(LONG* count)
{
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = m_services.GetVariableCount();
    return S_OK;
}

HRESULT CHostApplication::RegisterVariable(const char* name, VARIANT value, LONG* index)
{
    if (m_host == nullptr) {
        return E_FAIL;
    }
    CNuvexDoc* document = m_host->GetActiveDocument();
    // A name already taken gets a number: the name, then name1, name2, ...
    const std::string given = name != nullptr ? name : "";
    std::string candidate = given;
    for (int n = 1; m_host->FindSystemVariable(candidate.c_str()) >= 0; ++n) {
        CString numbered;
        numbered.Format(kNumberedNameFormat, given.c_str(), n);
        candidate = numbered.GetString();
    }
    m_host->SystemVariables().push_back(SystemVariable{candidate, value, {}});
    if (document != nullptr) {
        document->SyncSystemVariables();
    }
    if (index != nullptr) {
        *index = static_cast<LONG>(m_host->SystemVariables().size()) - 1;
    }
    return S_OK;
}

// 30-42: command texts, accelerators and menus.

HRESULT CHostApplication::SetCommandTexts(IAddin* addin, LONG commandId, const char* commandName,
                                          const char* shortName)
{
    CAddinCommandEntry* entry = m_host != nullptr ? m_host->CommandEntry(CommandIndexOf(addin, commandId)) : nullptr;
    if (entry == nullptr) {
        return E_FAIL;
    }
    if (commandName != nullptr) {
        entry->name = commandName;
    }
    if (shortName != nullptr) {
        entry->shortName = shortName;
    }
    return S_OK;
}

HRESULT CHostApplication::SetCommandStatusTexts(IAddin* addin, LONG commandId, const char* statusText,
                                                const char* toolTip)
{
    CAddinCommandEntry* entry = m_host != nullptr ? m_host->CommandEntry(CommandIndexOf(addin, commandId)) : nullptr;
    if (entry == nullptr) {
        return E_FAIL;
    }
    if (statusText != nullptr) {
        entry->statusText = statusText;
    }
    if (toolTip != nullptr) {
        entry->toolTip = toolTip;
    }
    return S_OK;
}

HRESULT CHostApplication::AddAccelerator(IAddin* addin, LONG commandId, BYTE virtFlags, WORD key)
{
    const int32_t index = m_host != nullptr ? CommandIndexOf(addin, commandId) : -1;
    CMainFrame* frame = m_host != nullptr ? m_host->GetMainFrame() : nullptr;
    if (index < 0 || frame == nullptr) {
        return E_FAIL;
    }
    return frame->AddAccelerator(virtFlags, key, static_cast<WORD>(kFirstHostCommandId + static_cast<UINT>(index)))
               ? S_OK
               : E_FAIL;
}

HRESULT CHostApplication::InsertMenuItem(HMENU menu, LONG position, IAddin* addin, LONG commandId, LONG flags,
                                         const char* text)
{
    UINT_PTR id = 0;
    if (menu == nullptr || !MenuIdOf(addin, commandId, &id)) {
        return E_FAIL;
    }
    const char* content = text != nullptr ? text : "";
    // The owner-drawn menus keep their item records in step themselves.
    CNewMenu* owner = MenuObjectOf(menu);
    BOOL done = FALSE;
    if (position < 0) {
        done = owner != nullptr ? owner->AppendItem(static_cast<UINT>(flags), id, content)
                                : ::AppendMenuA(menu, static_cast<UINT>(flags), id, content);
    } else {
        const UINT byPosition = static_cast<UINT>(flags) | MF_BYPOSITION;
        done = owner != nullptr ? owner->InsertItem(static_cast<UINT>(position), byPosition, id, content)
                                : ::InsertMenuA(menu, static_cast<UINT>(position), byPosition, id, content);
    }
    return done ? S_OK : E_FAIL;
}

HRESULT CHostApplication::AddMenuItem(HMENU menu, IAddin* addin, LONG commandId, LONG flags, const char* text,
                                      HBITMAP bitmap)
{
    UINT_PTR id = 0;
    if (menu == nullptr || !MenuIdOf(addin, commandId, &id)) {
        return E_FAIL;
    }
    // An owner-drawn item with its image where the menu is one of ours; a
    // plain item in any other menu.
    if (CNewMenu* owner = MenuObjectOf(menu)) {
        const BOOL done = bitmap != nullptr ? owner->AppendItem(static_cast<UINT>(flags), id, text, bitmap)
                                            : owner->AppendItem(static_cast<UINT>(flags), id, text);
        return done ? S_OK : E_FAIL;
    }
    return ::AppendMenuA(menu, static_cast<UINT>(flags), id, text != nullptr ? text : "") ? S_OK : E_FAIL;
}

HRESULT CHostApplication::AddMenuSeparator(HMENU menu, IAddin* addin, LONG commandId, LONG flags, const char* text)
{
    return AddMenuItem(menu, addin, commandId, flags, text, nullptr);
}

HRESULT CHostApplication::GetMenuItemCount(HMENU menu, LONG* count)
{
    if (count == nullptr) {
        return E_POINTER;
    }
    *count = ::GetMenuItemCount(menu);
    return S_OK;
}

HRESULT CHostApplication::InsertPopupMenu(HMENU parent, LONG position, const char* text)
{
    auto popup = std::make_unique<CNewMenu>(parent);
    if (parent == nullptr || !popup->CreatePopupMenu()) {
        return E_FAIL;
    }
    const auto handle = reinterpret_cast<UINT_PTR>(popup->GetSafeHmenu());
    const char* content = text != nullptr ? text : "";
    // In a menu of the menu look (the drawings' menu, which the menu bar
    // shows) the popup's item is owner-drawn like its neighbours.
    auto* owner = dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(parent));
    BOOL done = FALSE;
    if (owner != nullptr) {
        done = position < 0 ? owner->AppendItem(MF_POPUP, handle, content)
                            : owner->InsertItem(static_cast<UINT>(position), MF_BYPOSITION | MF_POPUP, handle, content);
    } else {
        done = position < 0 ? ::AppendMenuA(parent, MF_POPUP, handle, content)
                            : ::InsertMenuA(parent, static_cast<UINT>(position), MF_BYPOSITION | MF_POPUP, handle,
                                            content);
    }
    if (!done) {
        return E_FAIL;
    }
    m_popups.push_back(std::move(popup));
    return S_OK;
}

HRESULT CHostApplication::FindMenuPosition(HMENU menu, const char* text, LONG* position)
{
    if (position == nullptr) {
        return E_POINTER;
    }
    *position = -1;
    if (menu == nullptr) {
        return E_FAIL;
    }
    // Whatever menu is given, the position is the main menu's.
    HMENU mainMenu = m_host != nullptr ? m_host->GetMainMenu() : nullptr;
    const int count = mainMenu != nullptr ? ::GetMenuItemCount(mainMenu) : 0;
    for (int i = 0; text != nullptr && i < count; ++i) {
        if (GetMenuItemCaption(mainMenu, static_cast<UINT>(i)) == text) {
            *position = i;
            break;
        }
    }
    return S_OK;
}

HRESULT CHostApplication::GetSubMenu(HMENU menu, LONG position, HMENU* subMenu)
{
    if (subMenu == nullptr) {
        return E_POINTER;
    }
    *subMenu = menu != nullptr && position >= 0 ? ::GetSubMenu(menu, position) : nullptr;
    return *subMenu != nullptr ? S_OK : E_FAIL;
}

HRESULT CHostApplication::GetMainMenu(HMENU* menu)
{
    if (menu == nullptr) {
        return E_POINTER;
    }
    *menu = m_host != nullptr ? m_host->GetMainMenu() : nullptr;
    return S_OK;
}

HRESULT CHostApplication::GetDefaultMenu(HMENU* menu)
{
    if (menu == nullptr) {
        return E_POINTER;
    }
    CMainFrame* frame = m_host != nullptr ? m_host->GetMainFrame() : nullptr;
    *menu = frame != nullptr ? frame->m_hMenuDefault : nullptr;
    return S_OK;
}

// 43-46: event connection points, the active document, class factories.

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

HRESULT CHostApplication::GetActiveDocument(IHostDocument** document)
{
    if (document == nullptr) {
        return E_POINTER;
    }
    CNuvexDoc* active = m_host != nullptr ? m_host->GetActiveDocument() : nullptr;
    *document = active != nullptr ? active->GetHostDocument() : nullptr;
    return S_OK;
}

HRESULT CHostApplication::GetAddinClassFactory(CLSID classId, IClassFactory** factory)
{
    if (factory == nullptr) {
        return E_POINTER;
    }
    const int index = m_host != nullptr ? m_host->FindAddinByClsid(classId) : -1;
    if (index < 0) {
        return E_FAIL;
    }
    *factory = m_host->AddinRecords()[static_cast<size_t>(index)].classFactory;
    return S_OK;
}

// 47-52: toolbars and command classes.

HRESULT CHostApplication::AddToolbar(const char* name, IToolbarControl** toolbar)
{
    CMainFrame* frame = m_host != nullptr ? m_host->GetMainFrame() : nullptr;
    CToolbarObject* made = frame != nullptr ? frame->AddToolbar(name) : nullptr;
    if (toolbar != nullptr) {
        *toolbar = made;
    }
    return made != nullptr ? S_OK : E_FAIL;
}

HRESULT CHostApplication::FindToolbar(const char* name, IToolbarControl** toolbar)
{
    CMainFrame* frame = m_host != nullptr ? m_host->GetMainFrame() : nullptr;
    CToolbarObject* found = frame != nullptr ? frame->FindToolbar(name) : nullptr;
    if (toolbar != nullptr) {
        *toolbar = found;
    }
    return found != nullptr ? S_OK : E_FAIL;
}

HRESULT CHostApplication::GetToolbar(LONG index, IToolbarControl** toolbar)
{
    CMainFrame* frame = m_host != nullptr ? m_host->GetMainFrame() : nullptr;
    CToolbarObject* found = frame != nullptr && index >= 0 ? frame->ToolbarObject(static_cast<size_t>(index)) : nullptr;
    if (toolbar != nullptr) {
        *toolbar = found;
    }
    return found != nullptr ? S_OK : E_FAIL;
}

HRESULT CHostApplication::GetToolbarCount(LONG* count)
{
    if (count == nullptr) {
        return E_POINTER;
    }
    CMainFrame* frame = m_host != nullptr ? m_host->GetMainFrame() : nullptr;
    *count = frame != nullptr ? static_cast<LONG>(frame->Toolbars().size()) : 0;
    return S_OK;
}

HRESULT CHostApplication::RegisterCommandClass(IAddin* addin, LONG commandId, GUID classId)
{
    CAddinCommandEntry* entry = m_host != nullptr ? m_host->CommandEntry(CommandIndexOf(addin, commandId)) : nullptr;
    if (entry == nullptr) {
        return E_FAIL;
    }
    entry->handlerClass = classId;
    return S_OK;
}

HRESULT CHostApplication::GetToolbarCommandControl(IAddin* addin, LONG commandId, IUnknown** control)
{
    IUnknown* found = nullptr;
    const int index = m_host != nullptr ? m_host->FindHostCommand(addin, commandId) : -1;
    if (index >= 0) {
        for (const ToolbarControlRecord& record : m_host->ToolbarControls()) {
            if (record.commandIndex == index) {
                found = record.control->GetScriptingObject();
                break;
            }
        }
    }
    if (control != nullptr) {
        *control = found;
    }
    return found != nullptr ? S_OK : E_FAIL;
}
