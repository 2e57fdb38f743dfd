// CHostApplication: the application's IHostApplication, through which
// add-ins register their pane groups and pages, their commands' classes,
// texts, presets, accelerators and menu entries, system variables, root
// handler classes and file types, find the other add-ins, the program
// folder and the active document, and reach the application's event
// source. One exists per run; the add-in host creates it and deletes it at
// exit. Add-ins borrow it: no AddRef/Release pair of theirs, balanced or
// not, destroys it.
//
// The application keeps the tables (CAddinHost); this object keeps the
// event source, the pane groups and the popup menus it made. Made over
// the documents' services alone (the views' tests), it keeps the pane
// groups and the event source, and the operations on the program's tables
// and frame answer E_FAIL. The toolbars' scripting objects are not offered
// yet (E_NOTIMPL).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/shell/connection_point.h"
#include "ihost.h"

class CAddinHost;
class CNewMenu;
class IDocumentServices;

// Application events (dispatch ids), each with the document's IHostDocument.
inline constexpr DISPID kEventViewInitialUpdate = 0;
inline constexpr DISPID kEventDocumentActivated = 6;
inline constexpr DISPID kEventDocumentDeactivated = 7;

// Pane group flag word: the side the bar docks at when it is made (the
// first of these bits set; left when none), the tab control, and the sides
// it may dock at.
inline constexpr uint32_t kPaneDockLeft = 0x1;
inline constexpr uint32_t kPaneDockRight = 0x2;
inline constexpr uint32_t kPaneDockTop = 0x4;
inline constexpr uint32_t kPaneDockBottom = 0x8;
inline constexpr uint32_t kPaneHasTabs = 0x10;
inline constexpr uint32_t kPaneMayDockLeft = 0x100;
inline constexpr uint32_t kPaneMayDockRight = 0x200;
inline constexpr uint32_t kPaneMayDockTop = 0x400;
inline constexpr uint32_t kPaneMayDockBottom = 0x800;

// Page flag word: the kind of page.
inline constexpr uint32_t kPageTree = 0x1;
inline constexpr uint32_t kPageText = 0x2;
inline constexpr uint32_t kPageControlPanels = 0x4;

struct PaneItem {
    std::string name;
    uint32_t flags = 0;
    // Index into the command table; -1: the page has no command.
    int32_t commandIndex = -1;
};

struct PaneGroup {
    uint32_t flags = 0;
    std::string name;
    std::vector<PaneItem> items;
};

class CHostApplication final : public IHostApplication {
public:
    // The program's object: `host` keeps the tables and outlives it.
    explicit CHostApplication(CAddinHost& host);
    // Without the program's tables: `services` finds add-ins and
    // command-table entries; it outlives the object.
    explicit CHostApplication(IDocumentServices& services);
    ~CHostApplication();
    CHostApplication(const CHostApplication&) = delete;
    CHostApplication& operator=(const CHostApplication&) = delete;

    // The application object behind an IHostApplication, or null when it
    // is another implementation (or null).
    static CHostApplication* FromInterface(IHostApplication* application);

    // Fires an application event with the document's IHostDocument.
    HRESULT FireDocumentEvent(DISPID dispid, IHostDocument* document);
    CConnectionPointContainer& EventSource() { return *m_events.Get(); }
    const std::vector<PaneGroup>& PaneGroups() const { return m_paneGroups; }

    // IUnknown. The count starts with the owner's reference.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IHostApplication
    HRESULT STDMETHODCALLTYPE RegisterEventHandlerClass(IAddin* addin, GUID classId, LONG eventMask) override;
    HRESULT STDMETHODCALLTYPE GetViewContextMenu(HMENU* menu) override;
    HRESULT STDMETHODCALLTYPE GetProgressControl(CProgressCtrl** control) override;
    HRESULT STDMETHODCALLTYPE RegisterFileType(const char* description, const char* extension, LONG flags,
                                               GUID classId, LONG value) override;
    HRESULT STDMETHODCALLTYPE FocusCommandLine() override;
    HRESULT STDMETHODCALLTYPE GetLanguage(char* chosen, char* fallback) override;
    HRESULT STDMETHODCALLTYPE GetPaneGroupCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE GetPaneGroupName(LONG group, char* name) override;
    HRESULT STDMETHODCALLTYPE FindPaneGroup(const char* name, LONG* index) override;
    HRESULT STDMETHODCALLTYPE AddPaneGroup(const char* name, LONG flags, LONG* index) override;
    HRESULT STDMETHODCALLTYPE FindPaneItem(LONG group, const char* name, LONG* index) override;
    HRESULT STDMETHODCALLTYPE AddPaneItem(LONG group, const char* name, LONG flags, IAddin* addin, LONG commandId,
                                          LONG* index) override;
    HRESULT STDMETHODCALLTYPE GetAddin(CLSID classId, IAddin** addin) override;
    HRESULT STDMETHODCALLTYPE GetProgramFolder(char* folder) override;
    HRESULT STDMETHODCALLTYPE SetCommandPresets(IAddin* addin, LONG commandId, LONG count, VARIANT* variables,
                                               VARIANT* values, uint32_t* flags) override;
    HRESULT STDMETHODCALLTYPE FindVariable(const char* name, LONG* index) override;
    HRESULT STDMETHODCALLTYPE GetVariableName(LONG index, const char** name) override;
    HRESULT STDMETHODCALLTYPE GetVariableCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE RegisterVariable(const char* name, VARIANT value, LONG* index) override;
    HRESULT STDMETHODCALLTYPE Reserved22(LONG_PTR, LONG_PTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Reserved23(LONG_PTR, LONG_PTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved24(LONG_PTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Reserved25(LONG_PTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Reserved26(LONG_PTR, LONG_PTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Reserved27() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Reserved28(LONG_PTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Reserved29(LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetCommandTexts(IAddin* addin, LONG commandId, const char* commandName,
                                              const char* shortName) override;
    HRESULT STDMETHODCALLTYPE SetCommandStatusTexts(IAddin* addin, LONG commandId, const char* statusText,
                                                    const char* toolTip) override;
    HRESULT STDMETHODCALLTYPE AddAccelerator(IAddin* addin, LONG commandId, BYTE virtFlags, WORD key) override;
    HRESULT STDMETHODCALLTYPE InsertMenuItem(HMENU menu, LONG position, IAddin* addin, LONG commandId, LONG flags,
                                             const char* text) override;
    HRESULT STDMETHODCALLTYPE AddMenuItem(HMENU menu, IAddin* addin, LONG commandId, LONG flags, const char* text,
                                          HBITMAP bitmap) override;
    HRESULT STDMETHODCALLTYPE AddMenuSeparator(HMENU menu, IAddin* addin, LONG commandId, LONG flags,
                                               const char* text) override;
    HRESULT STDMETHODCALLTYPE Reserved36(LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMenuItemCount(HMENU menu, LONG* count) override;
    HRESULT STDMETHODCALLTYPE InsertPopupMenu(HMENU parent, LONG position, const char* text) override;
    HRESULT STDMETHODCALLTYPE FindMenuPosition(HMENU menu, const char* text, LONG* position) override;
    HRESULT STDMETHODCALLTYPE GetSubMenu(HMENU menu, LONG position, HMENU* subMenu) override;
    HRESULT STDMETHODCALLTYPE GetMainMenu(HMENU* menu) override;
    HRESULT STDMETHODCALLTYPE GetDefaultMenu(HMENU* menu) override;
    HRESULT STDMETHODCALLTYPE GetAddinConnectionPoint(IAddin* addin, IConnectionPoint** point) override;
    HRESULT STDMETHODCALLTYPE GetEventConnectionPoint(IConnectionPoint** point) override;
    HRESULT STDMETHODCALLTYPE GetActiveDocument(IHostDocument** document) override;
    HRESULT STDMETHODCALLTYPE GetAddinClassFactory(CLSID classId, IClassFactory** factory) override;
    HRESULT STDMETHODCALLTYPE AddToolbar(const char* name, IToolbarControl** toolbar) override;
    HRESULT STDMETHODCALLTYPE FindToolbar(const char* name, IToolbarControl** toolbar) override;
    HRESULT STDMETHODCALLTYPE GetToolbar(LONG index, IToolbarControl** toolbar) override;
    HRESULT STDMETHODCALLTYPE GetToolbarCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE RegisterCommandClass(IAddin* addin, LONG commandId, GUID classId) override;
    HRESULT STDMETHODCALLTYPE GetToolbarCommandControl(IAddin* addin, LONG commandId, IUnknown** control) override;

private:
    // The index of a loaded add-in in the add-in records, or -1.
    int32_t AddinIndexOf(IAddin* addin);
    // The command-table entry of an add-in's command, made when missing;
    // -1 for an add-in that is not loaded or without the program's tables.
    int32_t CommandIndexOf(IAddin* addin, LONG commandId);
    // The menu id of an add-in's command: 10000 + its entry; 0 for a null
    // add-in; nothing (the call fails) for an add-in that is not loaded.
    bool MenuIdOf(IAddin* addin, LONG commandId, UINT_PTR* id);
    // The owner-drawn menu object behind a handle (one of the popups this
    // object made, or the active view's context menu), or null.
    CNewMenu* MenuObjectOf(HMENU menu);
    // A variable named by index or by name (VT_BYREF | VT_I1); -1 when it
    // names none.
    int32_t VariableIndexOf(const VARIANT& name);

    IDocumentServices& m_services;
    CAddinHost* m_host = nullptr;
    // The owner's reference is always counted: no caller's Release takes it.
    ULONG m_references = 1;
    ComPtr<CConnectionPointContainer> m_events;
    std::vector<PaneGroup> m_paneGroups;
    std::vector<std::unique_ptr<CNewMenu>> m_popups;
};
