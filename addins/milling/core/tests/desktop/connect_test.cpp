// The milling add-in connected to the running program's own host objects:
// the program started headless with the add-in module in its folder, its
// CHostApplication receiving every registration. One test lets the
// program's start-up connect the module; the other loads the module itself,
// puts it among the add-in records and connects it through a recorder that
// logs each call on its way to the real application object and the answer
// that comes back. Both read what the host keeps afterwards: the pane group
// and its pages, the Milling menu, the command table's entries, the
// variables, the selection handler class and the event sink.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "addins/milling/core/strimo_ids.h"
#include "addins/milling/core/tests/desktop/strimo_program_support.h"
#include "host/app/nuvex_app.h"
#include "host/app/tests/program_folder_support.h"
#include "host/shell/host_application.h"
#include "host/shell/main_frame.h"
#include "host/shell/toolbar_object.h"
#include "icontrols.h"
#include "platform/kernel/classobject.h"
#include "platform/kernel/module.h"
#include "platform/user/menu.h"

namespace {

std::string Text(const char* text) { return text == nullptr ? "(null)" : "\"" + std::string(text) + "\""; }

std::string ResultText(HRESULT result)
{
    switch (result) {
    case S_OK:
        return "";
    case E_NOTIMPL:
        return " -> E_NOTIMPL";
    case E_FAIL:
        return " -> E_FAIL";
    default: {
        char text[32] = {};
        std::snprintf(text, sizeof text, " -> 0x%08X", static_cast<unsigned>(result));
        return text;
    }
    }
}

// Logs what an add-in asks of a toolbar and passes it on.
class RecordingToolbar final : public IToolbarControl {
public:
    RecordingToolbar(IToolbarControl* real, std::vector<std::string>& log) : m_real(real), m_log(log) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IToolbarControl) {
            *out = static_cast<IToolbarControl*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Reserved3() override { return m_real->Reserved3(); }
    HRESULT STDMETHODCALLTYPE Reserved4(LONG_PTR a) override { return m_real->Reserved4(a); }
    HRESULT STDMETHODCALLTYPE Reserved5(LONG_PTR a) override { return m_real->Reserved5(a); }
    HRESULT STDMETHODCALLTYPE SetButtonState(IAddin* addin, LONG command, LONG state) override
    {
        return m_real->SetButtonState(addin, command, state);
    }
    HRESULT STDMETHODCALLTYPE Reserved7(LONG_PTR a) override { return m_real->Reserved7(a); }
    HRESULT STDMETHODCALLTYPE AddBitmap(LONG count, HBITMAP bitmap, LONG* firstImage) override
    {
        const HRESULT result = m_real->AddBitmap(count, bitmap, firstImage);
        m_log.push_back("AddBitmap " + std::to_string(count) + (bitmap != nullptr ? " bitmap" : " null") +
                        ResultText(result));
        return result;
    }
    HRESULT STDMETHODCALLTYPE Reserved9(LONG_PTR a, LONG_PTR b, LONG_PTR c, LONG_PTR d, LONG_PTR e, LONG_PTR f,
                                        LONG_PTR g, LONG_PTR h) override
    {
        return m_real->Reserved9(a, b, c, d, e, f, g, h);
    }
    HRESULT STDMETHODCALLTYPE Reserved10(LONG_PTR a, LONG_PTR b, LONG_PTR c, LONG_PTR d, LONG_PTR e, LONG_PTR f,
                                         LONG_PTR g) override
    {
        return m_real->Reserved10(a, b, c, d, e, f, g);
    }
    HRESULT STDMETHODCALLTYPE Reserved11(LONG_PTR a, LONG_PTR b, LONG_PTR c, LONG_PTR d, LONG_PTR e, LONG_PTR f,
                                         LONG_PTR g) override
    {
        return m_real->Reserved11(a, b, c, d, e, f, g);
    }
    HRESULT STDMETHODCALLTYPE AddButtonControl(IAddin* addin, LONG command, const char* text, LONG width,
                                               DWORD style) override
    {
        return m_real->AddButtonControl(addin, command, text, width, style);
    }
    HRESULT STDMETHODCALLTYPE AddButton(IAddin* addin, LONG command, LONG image, BYTE state, BYTE style,
                                        const char* text) override
    {
        const HRESULT result = m_real->AddButton(addin, command, image, state, style, text);
        m_log.push_back("AddButton " + std::string(addin != nullptr ? "addin" : "null") + " " +
                        std::to_string(command) + " " + std::to_string(image) + " " + std::to_string(state) + " " +
                        std::to_string(style) + " " + Text(text) + ResultText(result));
        return result;
    }
    HRESULT STDMETHODCALLTYPE Reserved14(LONG_PTR a, LONG_PTR b, LONG_PTR c, LONG_PTR d, LONG_PTR e,
                                         LONG_PTR f) override
    {
        return m_real->Reserved14(a, b, c, d, e, f);
    }
    HRESULT STDMETHODCALLTYPE Reserved15(LONG_PTR a, LONG_PTR b, LONG_PTR c, LONG_PTR d, LONG_PTR e,
                                         LONG_PTR f) override
    {
        return m_real->Reserved15(a, b, c, d, e, f);
    }
    HRESULT STDMETHODCALLTYPE Reserved16(LONG_PTR a, LONG_PTR b, LONG_PTR c) override
    {
        return m_real->Reserved16(a, b, c);
    }
    HRESULT STDMETHODCALLTYPE AddEditControl(IAddin* addin, LONG command, const char* text, LONG width,
                                             DWORD style) override
    {
        return m_real->AddEditControl(addin, command, text, width, style);
    }
    HRESULT STDMETHODCALLTYPE AddComboBoxControl(IAddin* addin, LONG command, const char* text, LONG width,
                                                 LONG dropHeight, DWORD style) override
    {
        return m_real->AddComboBoxControl(addin, command, text, width, dropHeight, style);
    }
    HRESULT STDMETHODCALLTYPE AddStaticControl(IAddin* addin, LONG command, const char* text, LONG width,
                                               DWORD style) override
    {
        return m_real->AddStaticControl(addin, command, text, width, style);
    }
    HRESULT STDMETHODCALLTYPE AddSpinControl(IAddin* addin, LONG command, const char* text, LONG width,
                                             DWORD style) override
    {
        return m_real->AddSpinControl(addin, command, text, width, style);
    }

private:
    IToolbarControl* m_real;
    std::vector<std::string>& m_log;
};

// Logs each registration an add-in makes, "Operation arguments", with what
// the real application object answered when it was not S_OK (and the index
// it gave, " = n"), and passes every call on unchanged. Menus are named by
// their first appearance (menu1, menu2, ...).
class RecordingApplication final : public IHostApplication {
public:
    explicit RecordingApplication(IHostApplication* real) : m_real(real) {}
    std::vector<std::string> log;
    IAddin* addin = nullptr;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IHostApplication) {
            *out = static_cast<IHostApplication*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE RegisterEventHandlerClass(IAddin* a, GUID classId, LONG eventMask) override
    {
        return Log(m_real->RegisterEventHandlerClass(a, classId, eventMask),
                   "RegisterEventHandlerClass " + Name(a) + " " + ClassIdText(classId) + " " +
                       std::to_string(eventMask));
    }
    HRESULT STDMETHODCALLTYPE GetViewContextMenu(HMENU* menu) override
    {
        const HRESULT result = m_real->GetViewContextMenu(menu);
        return Log(result, "GetViewContextMenu = " + Menu(SUCCEEDED(result) ? *menu : nullptr));
    }
    HRESULT STDMETHODCALLTYPE GetProgressControl(CProgressCtrl** control) override
    {
        return Log(m_real->GetProgressControl(control), "GetProgressControl");
    }
    HRESULT STDMETHODCALLTYPE RegisterFileType(const char* description, const char* extension, LONG flags,
                                               GUID classId, LONG value) override
    {
        return Log(m_real->RegisterFileType(description, extension, flags, classId, value),
                   "RegisterFileType " + Text(extension));
    }
    HRESULT STDMETHODCALLTYPE FocusCommandLine() override { return m_real->FocusCommandLine(); }
    HRESULT STDMETHODCALLTYPE GetLanguage(char* chosen, char* fallback) override
    {
        return m_real->GetLanguage(chosen, fallback);
    }
    HRESULT STDMETHODCALLTYPE GetPaneGroupCount(LONG* count) override { return m_real->GetPaneGroupCount(count); }
    HRESULT STDMETHODCALLTYPE GetPaneGroupName(LONG group, char* name) override
    {
        return m_real->GetPaneGroupName(group, name);
    }
    HRESULT STDMETHODCALLTYPE FindPaneGroup(const char* name, LONG* index) override
    {
        return LogIndex(m_real->FindPaneGroup(name, index), "FindPaneGroup " + Text(name), index);
    }
    HRESULT STDMETHODCALLTYPE AddPaneGroup(const char* name, LONG flags, LONG* index) override
    {
        return LogIndex(m_real->AddPaneGroup(name, flags, index),
                        "AddPaneGroup " + Text(name) + " " + std::to_string(flags), index);
    }
    HRESULT STDMETHODCALLTYPE FindPaneItem(LONG group, const char* name, LONG* index) override
    {
        return LogIndex(m_real->FindPaneItem(group, name, index),
                        "FindPaneItem " + std::to_string(group) + " " + Text(name), index);
    }
    HRESULT STDMETHODCALLTYPE AddPaneItem(LONG group, const char* name, LONG flags, IAddin* a, LONG command,
                                          LONG* index) override
    {
        return LogIndex(m_real->AddPaneItem(group, name, flags, a, command, index),
                        "AddPaneItem " + std::to_string(group) + " " + Text(name) + " " + std::to_string(flags) +
                            " " + Name(a) + " " + std::to_string(command),
                        index);
    }
    HRESULT STDMETHODCALLTYPE GetAddin(CLSID classId, IAddin** out) override { return m_real->GetAddin(classId, out); }
    HRESULT STDMETHODCALLTYPE GetProgramFolder(char* folder) override
    {
        return Log(m_real->GetProgramFolder(folder), "GetProgramFolder");
    }
    HRESULT STDMETHODCALLTYPE SetCommandPresets(IAddin* a, LONG command, LONG count, VARIANT* variables,
                                               VARIANT* values, uint32_t* flags) override
    {
        return Log(m_real->SetCommandPresets(a, command, count, variables, values, flags),
                   "SetCommandPresets " + Name(a) + " " + std::to_string(command));
    }
    HRESULT STDMETHODCALLTYPE FindVariable(const char* name, LONG* index) override
    {
        return m_real->FindVariable(name, index);
    }
    HRESULT STDMETHODCALLTYPE GetVariableName(LONG index, const char** name) override
    {
        return m_real->GetVariableName(index, name);
    }
    HRESULT STDMETHODCALLTYPE GetVariableCount(LONG* count) override { return m_real->GetVariableCount(count); }
    HRESULT STDMETHODCALLTYPE RegisterVariable(const char* name, VARIANT value, LONG* index) override
    {
        return LogIndex(m_real->RegisterVariable(name, value, index),
                        "RegisterVariable " + Text(name) + " type " + std::to_string(value.vt) + " value " +
                            std::to_string(value.bVal),
                        index);
    }
    HRESULT STDMETHODCALLTYPE Reserved22(LONG_PTR a, LONG_PTR b) override { return m_real->Reserved22(a, b); }
    HRESULT STDMETHODCALLTYPE Reserved23(LONG_PTR a, LONG_PTR b) override { return m_real->Reserved23(a, b); }
    HRESULT STDMETHODCALLTYPE Reserved24(LONG_PTR a) override { return m_real->Reserved24(a); }
    HRESULT STDMETHODCALLTYPE Reserved25(LONG_PTR a) override { return m_real->Reserved25(a); }
    HRESULT STDMETHODCALLTYPE Reserved26(LONG_PTR a, LONG_PTR b) override { return m_real->Reserved26(a, b); }
    HRESULT STDMETHODCALLTYPE Reserved27() override { return m_real->Reserved27(); }
    HRESULT STDMETHODCALLTYPE Reserved28(LONG_PTR a) override { return m_real->Reserved28(a); }
    HRESULT STDMETHODCALLTYPE Reserved29(LONG_PTR a, LONG_PTR b, LONG_PTR c, LONG_PTR d) override
    {
        return m_real->Reserved29(a, b, c, d);
    }
    HRESULT STDMETHODCALLTYPE SetCommandTexts(IAddin* a, LONG command, const char* name,
                                              const char* shortName) override
    {
        return Log(m_real->SetCommandTexts(a, command, name, shortName),
                   "SetCommandTexts " + Name(a) + " " + std::to_string(command) + " " + Text(name) + " " +
                       Text(shortName));
    }
    HRESULT STDMETHODCALLTYPE SetCommandStatusTexts(IAddin* a, LONG command, const char* status,
                                                    const char* toolTip) override
    {
        return Log(m_real->SetCommandStatusTexts(a, command, status, toolTip),
                   "SetCommandStatusTexts " + Name(a) + " " + std::to_string(command) + " " + Text(status) + " " +
                       Text(toolTip));
    }
    HRESULT STDMETHODCALLTYPE AddAccelerator(IAddin* a, LONG command, BYTE virtFlags, WORD key) override
    {
        return Log(m_real->AddAccelerator(a, command, virtFlags, key),
                   "AddAccelerator " + Name(a) + " " + std::to_string(command));
    }
    HRESULT STDMETHODCALLTYPE InsertMenuItem(HMENU menu, LONG position, IAddin* a, LONG command, LONG flags,
                                             const char* text) override
    {
        return Log(m_real->InsertMenuItem(menu, position, a, command, flags, text),
                   "InsertMenuItem " + Menu(menu) + " " + std::to_string(position) + " " + Name(a) + " " +
                       std::to_string(command) + " " + std::to_string(flags) + " " + Text(text));
    }
    HRESULT STDMETHODCALLTYPE AddMenuItem(HMENU menu, IAddin* a, LONG command, LONG flags, const char* text,
                                          HBITMAP bitmap) override
    {
        return Log(m_real->AddMenuItem(menu, a, command, flags, text, bitmap),
                   "AddMenuItem " + Menu(menu) + " " + Name(a) + " " + std::to_string(command) + " " +
                       std::to_string(flags) + " " + Text(text) + (bitmap != nullptr ? " bitmap" : ""));
    }
    HRESULT STDMETHODCALLTYPE AddMenuSeparator(HMENU menu, IAddin* a, LONG command, LONG flags,
                                               const char* text) override
    {
        return Log(m_real->AddMenuSeparator(menu, a, command, flags, text),
                   "AddMenuSeparator " + Menu(menu) + " " + Name(a) + " " + std::to_string(command) + " " +
                       std::to_string(flags) + " " + Text(text));
    }
    HRESULT STDMETHODCALLTYPE Reserved36(LONG_PTR a, LONG_PTR b, LONG_PTR c, LONG_PTR d, LONG_PTR e,
                                         LONG_PTR f) override
    {
        return m_real->Reserved36(a, b, c, d, e, f);
    }
    HRESULT STDMETHODCALLTYPE GetMenuItemCount(HMENU menu, LONG* count) override
    {
        return m_real->GetMenuItemCount(menu, count);
    }
    HRESULT STDMETHODCALLTYPE InsertPopupMenu(HMENU parent, LONG position, const char* text) override
    {
        return Log(m_real->InsertPopupMenu(parent, position, text),
                   "InsertPopupMenu " + Menu(parent) + " " + std::to_string(position) + " " + Text(text));
    }
    HRESULT STDMETHODCALLTYPE FindMenuPosition(HMENU menu, const char* text, LONG* position) override
    {
        return LogIndex(m_real->FindMenuPosition(menu, text, position),
                        "FindMenuPosition " + Menu(menu) + " " + Text(text), position);
    }
    HRESULT STDMETHODCALLTYPE GetSubMenu(HMENU menu, LONG position, HMENU* subMenu) override
    {
        const HRESULT result = m_real->GetSubMenu(menu, position, subMenu);
        return Log(result, "GetSubMenu " + Menu(menu) + " " + std::to_string(position) + " = " +
                               Menu(SUCCEEDED(result) ? *subMenu : nullptr));
    }
    HRESULT STDMETHODCALLTYPE GetMainMenu(HMENU* menu) override
    {
        const HRESULT result = m_real->GetMainMenu(menu);
        return Log(result, "GetMainMenu = " + Menu(SUCCEEDED(result) ? *menu : nullptr));
    }
    HRESULT STDMETHODCALLTYPE GetDefaultMenu(HMENU* menu) override { return m_real->GetDefaultMenu(menu); }
    HRESULT STDMETHODCALLTYPE GetAddinConnectionPoint(IAddin* a, IConnectionPoint** point) override
    {
        return Log(m_real->GetAddinConnectionPoint(a, point), "GetAddinConnectionPoint " + Name(a));
    }
    HRESULT STDMETHODCALLTYPE GetEventConnectionPoint(IConnectionPoint** point) override
    {
        return Log(m_real->GetEventConnectionPoint(point), "GetEventConnectionPoint");
    }
    HRESULT STDMETHODCALLTYPE GetActiveDocument(IHostDocument** document) override
    {
        return m_real->GetActiveDocument(document);
    }
    HRESULT STDMETHODCALLTYPE GetAddinClassFactory(CLSID classId, IClassFactory** factory) override
    {
        return m_real->GetAddinClassFactory(classId, factory);
    }
    HRESULT STDMETHODCALLTYPE AddToolbar(const char* name, IToolbarControl** toolbar) override
    {
        const HRESULT result = m_real->AddToolbar(name, toolbar);
        Log(result, "AddToolbar " + Text(name));
        if (SUCCEEDED(result) && toolbar != nullptr && *toolbar != nullptr) {
            m_toolbars.push_back(std::make_unique<RecordingToolbar>(*toolbar, log));
            *toolbar = m_toolbars.back().get();
        }
        return result;
    }
    HRESULT STDMETHODCALLTYPE FindToolbar(const char* name, IToolbarControl** toolbar) override
    {
        return Log(m_real->FindToolbar(name, toolbar), "FindToolbar " + Text(name));
    }
    HRESULT STDMETHODCALLTYPE GetToolbar(LONG index, IToolbarControl** toolbar) override
    {
        return m_real->GetToolbar(index, toolbar);
    }
    HRESULT STDMETHODCALLTYPE GetToolbarCount(LONG* count) override { return m_real->GetToolbarCount(count); }
    HRESULT STDMETHODCALLTYPE RegisterCommandClass(IAddin* a, LONG command, GUID classId) override
    {
        return Log(m_real->RegisterCommandClass(a, command, classId),
                   "RegisterCommandClass " + Name(a) + " " + std::to_string(command) + " " + ClassIdText(classId));
    }
    HRESULT STDMETHODCALLTYPE GetToolbarCommandControl(IAddin* a, LONG command, IUnknown** control) override
    {
        return m_real->GetToolbarCommandControl(a, command, control);
    }

private:
    HRESULT Log(HRESULT result, const std::string& line)
    {
        log.push_back(line + ResultText(result));
        return result;
    }
    HRESULT LogIndex(HRESULT result, const std::string& line, const LONG* index)
    {
        return Log(result, SUCCEEDED(result) && index != nullptr ? line + " = " + std::to_string(*index) : line);
    }
    std::string Name(IAddin* a) const { return a == nullptr ? "null" : a == addin ? "addin" : "other"; }
    std::string Menu(HMENU menu)
    {
        if (menu == nullptr)
            return "null";
        for (size_t i = 0; i < m_menus.size(); ++i)
            if (m_menus[i] == menu)
                return "menu" + std::to_string(i + 1);
        m_menus.push_back(menu);
        return "menu" + std::to_string(m_menus.size());
    }

    IHostApplication* m_real;
    std::vector<HMENU> m_menus;
    std::vector<std::unique_ptr<RecordingToolbar>> m_toolbars;
};

// One command as the add-in registers it, in its order.
struct ExpectedCommand {
    long number;
    GUID classId;
    const char* name;
    const char* shortName;
    const char* statusText;
    const char* toolTip;
    const char* menuText;
    bool separatorAfter;
};

const ExpectedCommand kCommands[] = {
    {kCommandAddOperation, CLSID_AddOperationCommand, "op", "operation",
     "Adds a milling operation with its machine, origin and Z direction", "Add Milling 2.5D Operation",
     "Add Milling 2.5D Operation", false},
    {kCommandToolStore, CLSID_ToolStoreCommand, "ts", "toolstore", "Edits the tools of the tool store", "Toolstore",
     "Toolstore", false},
    {kCommandMachineSettings, CLSID_PostprocessorSettingsCommand, "ma", "machines",
     "Edits the list of machines and their NC settings", "Machine postprocessor settings",
     "Machine postprocesor settings...", false},
    {kCommandOpenNcFile, CLSID_NcFileCommand, "onc", "opennc", "Reads an NC program and draws its tool moves",
     "Open NC File", "Open NC File", true},
    {kCommandContourMilling, CLSID_ContourMillingCommand, "co", "contour", "Mills along picked closed contours",
     "Contour milling", "Add a contour milling operation", false},
    {kCommandPocketMilling, CLSID_PocketMillingCommand, "po", "pocket",
     "Clears the area inside picked closed contours, leaving islands", "Pocket milling",
     "Add a pocket milling operation", true},
    {kCommandSimulation, CLSID_SimulationCommand, "sim", "simulate",
     "Runs the tool along the active operation's toolpath", "Simulate current phase", "Simulate current phase",
     false},
    {kCommandSaveNcFile, CLSID_NcFileCommand, "snc", "savenc",
     "Writes the NC program of the active operation to a file", "Save NC File", "Save NC File", false},
};

// The pane group flags the add-in asks for: dock left, tabs, may dock left
// and right.
constexpr uint32_t kWorkshopFlags = 0x311;
// The built-in variables come first.
constexpr size_t kHostVariables = 25;

// What the program's host keeps of the add-in once it is connected.
void ExpectRegisteredWithTheHost(CNuvexApp& app, IAddin* addin, size_t sinksBefore)
{
    const int addinIndex = app.FindAddinByInterface(addin);
    ASSERT_GE(addinIndex, 0);
    CHostApplication* application = app.HostApplication();

    // The pane group with its three pages; the commands of the tree and
    // text pages are the add-in's panes.
    const PaneGroup* workshop = nullptr;
    for (const PaneGroup& group : application->PaneGroups())
        if (group.name == "Workshop")
            workshop = &group;
    ASSERT_NE(workshop, nullptr);
    EXPECT_EQ(workshop->flags, kWorkshopFlags);
    ASSERT_EQ(workshop->items.size(), 3u);
    const struct {
        const char* name;
        uint32_t flags;
        long command; // -1: no command
        GUID classId;
    } pages[] = {{"Features", kPageTree, kPaneFeatures, CLSID_FeaturesPane},
                 {"Properties", kPageControlPanels, -1, {}},
                 {"NC code", kPageText, kPaneNcCode, CLSID_NcCodePane}};
    for (size_t i = 0; i < std::size(pages); ++i) {
        SCOPED_TRACE(pages[i].name);
        const PaneItem& item = workshop->items[i];
        EXPECT_EQ(item.name, pages[i].name);
        EXPECT_EQ(item.flags, pages[i].flags);
        if (pages[i].command < 0) {
            EXPECT_EQ(item.commandIndex, -1);
            continue;
        }
        EXPECT_EQ(item.commandIndex, app.FindHostCommand(addin, pages[i].command));
        const CAddinCommandEntry* entry = app.CommandEntry(item.commandIndex);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->handlerClass, pages[i].classId);
    }

    // The command table: each command with its class and texts.
    for (const ExpectedCommand& command : kCommands) {
        SCOPED_TRACE(command.menuText);
        const int index = app.FindHostCommand(addin, command.number);
        ASSERT_GE(index, 0);
        const CAddinCommandEntry* entry = app.CommandEntry(index);
        EXPECT_EQ(entry->addinIndex, addinIndex);
        EXPECT_EQ(entry->addinCommandId, static_cast<uint32_t>(command.number));
        EXPECT_EQ(entry->handlerClass, command.classId);
        EXPECT_EQ(entry->name, command.name);
        EXPECT_EQ(entry->shortName, command.shortName);
        EXPECT_EQ(entry->statusText, command.statusText);
        EXPECT_EQ(entry->toolTip, command.toolTip);
    }

    // The Milling menu stands where Tools stood, its items in order, each
    // starting its command's table entry.
    HMENU menu = app.GetMainMenu();
    ASSERT_NE(menu, nullptr);
    int milling = -1;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
        if (MenuItemText(menu, i) == "&Milling")
            milling = i;
    ASSERT_GE(milling, 0) << "no Milling menu";
    EXPECT_EQ(MenuItemText(menu, milling + 1), "&Tools");
    HMENU popup = ::GetSubMenu(menu, milling);
    ASSERT_NE(popup, nullptr);
    std::vector<std::string> items;
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
        if ((::GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) != 0)
            items.push_back("-");
        else
            items.push_back(MenuItemText(popup, i) + " " + std::to_string(::GetMenuItemID(popup, i)));
    }
    std::vector<std::string> expectedItems;
    for (const ExpectedCommand& command : kCommands) {
        expectedItems.push_back(std::string(command.menuText) + " " +
                                std::to_string(10000 + app.FindHostCommand(addin, command.number)));
        if (command.separatorAfter)
            expectedItems.push_back("-");
    }
    EXPECT_EQ(items, expectedItems);

    // Its variables follow the host's own, on by default.
    std::vector<SystemVariable>& variables = app.SystemVariables();
    ASSERT_EQ(variables.size(), kHostVariables + 2);
    EXPECT_EQ(variables[kHostVariables].name, "Show/hide tool");
    EXPECT_EQ(variables[kHostVariables + 1].name, "Toggle wireframe/shaded tool");
    for (size_t i = kHostVariables; i < variables.size(); ++i) {
        EXPECT_EQ(variables[i].defaultValue.vt, VT_UI1);
        EXPECT_EQ(variables[i].defaultValue.bVal, 1);
    }

    // The selection handler takes root-level picks of curves.
    bool handler = false;
    for (const RootHandlerClass& root : app.RootHandlerClasses())
        handler = handler || (root.addin == addin && root.classId == CLSID_SelectionInfoHandler && root.mask == 0x20004);
    EXPECT_TRUE(handler);

    // Its event sink hears the application's events.
    EXPECT_EQ(application->EventSource().Find(IID_IDispatch, kMainEventGroup)->SinkCount(), sinksBefore + 1);
}

size_t ApplicationSinks(CNuvexApp& app)
{
    return app.HostApplication()->EventSource().Find(IID_IDispatch, kMainEventGroup)->SinkCount();
}

// The start-up finds the module in AddIns and connects it with the rest.
TEST(StrimoInTheProgram, TheStartUpConnectsTheAddinToTheHost)
{
    TestProgramFolder folder;
    AddStrimoFiles(folder, StrimoModulePlace::AddIns);
    RunningProgram program;
    ASSERT_TRUE(program.Start());
    CNuvexApp& app = program.App();
    const int index = app.FindAddinByClsid(CLSID_StrimoAddin);
    ASSERT_GE(index, 0) << "the add-in was not loaded";
    IAddin* addin = app.AddinRecords()[static_cast<size_t>(index)].addin;
    ASSERT_NE(addin, nullptr);
    // The entity component advises no sink of its own.
    ExpectRegisteredWithTheHost(app, addin, 0);
    EXPECT_TRUE(program.messages.empty()) << program.messages.front();
    program.Stop();
    ReleaseStrimoRecord(app);
}

// The add-in's Connect call by call, as the program's application object
// receives and answers it.
TEST(StrimoInTheProgram, ConnectRegistersEverythingWithTheRealHostInOrder)
{
    TestProgramFolder folder;
    const std::string module = AddStrimoFiles(folder, StrimoModulePlace::Aside);
    RunningProgram program;
    ASSERT_TRUE(program.Start());
    CNuvexApp& app = program.App();
    ASSERT_LT(app.FindAddinByClsid(CLSID_StrimoAddin), 0) << "the module lies outside AddIns";

    HMODULE library = LoadLibraryA(module.c_str());
    ASSERT_NE(library, nullptr);
    using GetClassObject = HRESULT (*)(REFCLSID, REFIID, void**);
    auto getClassObject = reinterpret_cast<GetClassObject>(GetProcAddress(library, "DllGetClassObject"));
    ASSERT_NE(getClassObject, nullptr);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(getClassObject(CLSID_StrimoAddin, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    IAddin* addin = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IAddin, reinterpret_cast<void**>(&addin)), S_OK);
    // As the add-in manager keeps a module it found.
    CAddinRecord record;
    record.modulePath = module;
    record.moduleTitle = "strimo";
    record.addin = addin;
    record.classFactory = factory;
    record.classObjectFlag = 1;
    record.classId = CLSID_StrimoAddin;
    record.classIdKnownFlag = 1;
    app.AddinRecords().push_back(record);

    const size_t sinks = ApplicationSinks(app);
    RecordingApplication host(app.HostApplication());
    host.addin = addin;
    ASSERT_EQ(addin->Connect(&host), S_OK);

    const auto id = [](const GUID& classId) { return ClassIdText(classId); };
    std::vector<std::string> expected = {
        "GetProgramFolder",
        "FindPaneGroup \"Workshop\" -> E_FAIL",
        "AddPaneGroup \"Workshop\" 785 = 0",
        "AddPaneItem 0 \"Features\" 1 addin 500 = 0",
        "RegisterCommandClass addin 500 " + id(CLSID_FeaturesPane),
        "FindPaneItem 0 \"Properties\" -> E_FAIL",
        "AddPaneItem 0 \"Properties\" 4 null 0 = 1",
        "FindPaneItem 0 \"NC code\" -> E_FAIL",
        "AddPaneItem 0 \"NC code\" 2 addin 501 = 2",
        "RegisterCommandClass addin 501 " + id(CLSID_NcCodePane),
        "GetMainMenu = menu1",
        "FindMenuPosition menu1 \"&Tools\" = 3",
        "InsertPopupMenu menu1 3 \"&Milling\"",
        "GetSubMenu menu1 3 = menu2",
        "RegisterVariable \"Show/hide tool\" type 17 value 1 = 25",
        "RegisterVariable \"Toggle wireframe/shaded tool\" type 17 value 1 = 26",
        "AddToolbar \"Manufacturing\"",
    };
    // Each command's image and button on the toolbar, then its texts, class
    // and menu item; a separator on both after the group's last.
    int image = 0;
    for (const ExpectedCommand& command : kCommands) {
        const std::string number = std::to_string(command.number);
        expected.push_back("AddBitmap 1 bitmap");
        expected.push_back("AddButton addin " + number + " " + std::to_string(image++) + " 4 0 " +
                           Text(command.menuText));
        expected.push_back("SetCommandTexts addin " + number + " " + Text(command.name) + " " +
                           Text(command.shortName));
        expected.push_back("SetCommandStatusTexts addin " + number + " " + Text(command.statusText) + " " +
                           Text(command.toolTip));
        expected.push_back("RegisterCommandClass addin " + number + " " + id(command.classId));
        expected.push_back("AddMenuItem menu2 addin " + number + " 0 " + Text(command.menuText) + " bitmap");
        if (command.separatorAfter) {
            expected.push_back("AddMenuSeparator menu2 addin 0 2048 \"\"");
            expected.push_back("AddButton null 0 0 4 1 \"\"");
        }
    }
    expected.push_back("RegisterEventHandlerClass addin " + id(CLSID_SelectionInfoHandler) + " 131076");
    expected.push_back("GetEventConnectionPoint");
    EXPECT_EQ(host.log, expected);

    // The add-in's own toolbar: a button of each command, in order, with a
    // separator where the menu has one.
    IToolbarControl* found = nullptr;
    ASSERT_EQ(app.HostApplication()->FindToolbar("Manufacturing", &found), S_OK);
    CMainFrame* frame = app.GetMainFrame();
    ASSERT_NE(frame, nullptr);
    CToolbarObject* toolbar = nullptr;
    for (size_t i = 0; frame->ToolbarObject(i) != nullptr; ++i) {
        if (frame->ToolbarObject(i) == found) {
            toolbar = frame->ToolbarObject(i);
        }
    }
    ASSERT_NE(toolbar, nullptr);
    std::vector<UINT> buttons;
    for (int i = 0; i < toolbar->Toolbar().GetCount(); ++i) {
        buttons.push_back(toolbar->Toolbar().GetItemID(i));
    }
    std::vector<UINT> expectedButtons;
    for (const ExpectedCommand& command : kCommands) {
        expectedButtons.push_back(10000u + static_cast<UINT>(app.FindHostCommand(addin, command.number)));
        if (command.separatorAfter)
            expectedButtons.push_back(0u);
    }
    EXPECT_EQ(buttons, expectedButtons);
    EXPECT_EQ(toolbar->ImageCount(), static_cast<int>(std::size(kCommands)));

    ExpectRegisteredWithTheHost(app, addin, sinks);
    EXPECT_TRUE(program.messages.empty()) << program.messages.front();
    program.Stop();
    ReleaseStrimoRecord(app);
}

} // namespace
