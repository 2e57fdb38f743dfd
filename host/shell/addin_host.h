// CAddinHost: what the program keeps for its add-ins for the whole run:
// the program folder, the language table, the add-in records, the command
// table of host command ids 10000-19999, the registered system variables
// with the command states they drive, the root handler classes, the file
// types, the host class factory and the host application object that add-ins
// receive. The program's application object derives from it; tests make
// one without any window.
//
// It answers the documents' questions (IDocumentServices) from these
// tables. What needs the window side (the active document, the toolbars,
// the command line) goes to the main frame once the program has one.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/document/document_services.h"
#include "host/document/host_class_factory.h"
#include "host/shell/language_table.h"
#include "platform/com/variant.h"

class CHostApplication;
class CImageStripWindow;
class CMainFrame;
class CNuvexDoc;
class IToolbarHostedControl;

// A control that a toolbar holds for an add-in command: the program's list
// of them is searched by command (IHostApplication::GetToolbarCommandControl)
// and told which document is active.
struct ToolbarControlRecord {
    IToolbarHostedControl* control = nullptr;
    int32_t commandIndex = -1;
};

// One module found in "AddIns". Records are kept in the order the file
// search returns the modules; a record's index is its add-in index. The add-in
// and its class factory are never released: modules stay loaded until the
// process ends.
struct CAddinRecord {
    std::string modulePath;
    std::string moduleTitle;
    IAddin* addin = nullptr;
    IClassFactory* classFactory = nullptr;
    uint32_t reserved = 0;
    // 1 once the class object was obtained.
    uint32_t classObjectFlag = 0;
    // A record with this set is passed over by the registry pass and the
    // retry; nothing sets it in this program.
    uint32_t excludedFlag = 0;
    CLSID classId{};
    // 1 once the class id was confirmed (its class object obtained from the
    // configuration file's id, or the id found in the registry).
    uint32_t classIdKnownFlag = 0;
};

// The command table's entry: add-in index, the add-in's own command number,
// handler class, checked state, presets and texts.
using CAddinCommandEntry = CommandTableEntry;

// A registered system variable: its unique name, its default (whose type
// tag later writes must carry) and the commands whose presets name it.
struct SystemVariable {
    std::string name;
    VARIANT defaultValue{};
    std::vector<int32_t> dependentCommands;
};

// Command button states of the toolbars.
inline constexpr int kButtonStateEnabled = 4;
inline constexpr int kButtonStateChecked = 5;
inline constexpr int kButtonStatePressed = 6;

// Preset flag bits that drive the button state.
inline constexpr uint32_t kPresetCheckCondition = 0x4;
inline constexpr uint32_t kPresetUncheckCondition = 0x8;
inline constexpr uint32_t kPresetComparesEqual = 0x20;

// The class key whose default value names the program folder.
inline constexpr const char* kProgramFolderClassKey = "{F9FED389-5818-4c2c-8E24-FF076D4424CD}";
inline constexpr size_t kProgramFolderSize = 2048;

class CAddinHost : public IDocumentServices {
public:
    CAddinHost();
    virtual ~CAddinHost();
    CAddinHost(const CAddinHost&) = delete;
    CAddinHost& operator=(const CAddinHost&) = delete;

    // Program folder and language --------------------------------------------------------
    // The default value of the program's class key among the registered
    // classes; FALSE, with the folder left empty, when there is none.
    BOOL FindProgramFolder();
    // The folder the program runs in: the key's, else the executable's,
    // which is then written back under the key.
    void UseProgramFolder();
    const std::string& ProgramFolder() const { return m_programFolder; }
    void SetProgramFolder(std::string folder) { m_programFolder = std::move(folder); }
    // The chosen language from "Language\language.txt" (its first word,
    // upper-cased; "EN" without one), then the language table "nuvex.txt".
    void LoadLanguageChoice();
    // Writes the key of the language chosen for the next start into
    // "Language\language.txt" (the key and a line end); FALSE, with the old
    // file kept, when it cannot be written or the key is empty.
    BOOL SaveLanguageChoice(const std::string& key);
    CLanguageTable& LanguageTable() { return m_language; }

    // Add-in manager -------------------------------------------------------------------
    // Finds the modules of "AddIns", learns or registers their class ids and
    // creates them. FALSE only when the registry pass is needed and the
    // "CLSID" key cannot be opened. No failure is shown.
    BOOL LoadAddins();
    // Connect on every record that has an add-in, in record order.
    void ConnectAddins();
    // Rewrites each record's configuration file with the class id it holds.
    void SaveAddinConfigs();
    int FindAddinByInterface(IAddin* addin) const;
    // The add-in whose Connect runs now, or null.
    IAddin* ConnectingAddin() const { return m_connectingAddin; }
    int FindAddinByClsid(const GUID& classId) const;
    std::vector<CAddinRecord>& AddinRecords() { return m_addins; }

    // Command table --------------------------------------------------------------------
    // The entry of (add-in, command number), or -1.
    int FindHostCommand(IAddin* addin, LONG commandNumber) const;
    // That entry, made (with empty texts) when missing; -1 for an add-in
    // that is not loaded, and the table does not grow.
    int32_t GetHostCommand(IAddin* addin, uint32_t commandNumber) override;
    // Null outside the table.
    CAddinCommandEntry* CommandEntry(int32_t index);
    size_t CommandCount() const { return m_commands.size(); }

    // System variables and command states ------------------------------------------------
    // The 25 built-in variables, through the host application object.
    void RegisterSystemVariables();
    int FindSystemVariable(const char* name) const;
    std::vector<SystemVariable>& SystemVariables() { return m_variables; }
    // Re-evaluates the command states: of the commands that depend on
    // variables the active document changed (clearing their marks), or with
    // `all` (or no active document) of every variable's commands; each
    // command once. Then the main window repaints.
    void RefreshCommandStates(BOOL all);
    void UpdateCommandState(int commandIndex);
    // The state of command commandIndex's buttons on every toolbar of the
    // main frame (4 enabled, 5 checked, 6 pressed); nothing for a negative
    // index or without a frame.
    void SetCommandButtonState(int commandIndex, int state);
    // Same type tag and equal value, for the 8-, 16- and 32-bit integers
    // and the two floating types; FALSE for every other type.
    static BOOL CompareVariants(const VARIANT& a, const VARIANT& b);

    // Other tables --------------------------------------------------------------------------
    std::vector<RootHandlerClass>& RootHandlerClasses() { return m_rootHandlers; }
    std::vector<FileTypeHandler>& FileTypes() { return m_fileTypes; }
    CHostClassFactory& HostClassFactory() { return m_hostFactory; }
    // The host application object; null after DestroyHostApplication.
    CHostApplication* HostApplication() { return m_application.get(); }
    // At exit: the host application object goes (add-ins stay loaded).
    void DestroyHostApplication();
    // The menu that add-ins extend as the main menu (the document type's).
    HMENU GetMainMenu() const { return m_mainMenu; }
    void SetMainMenu(HMENU menu) { m_mainMenu = menu; }

    // The decision the save-changes dialog leaves for the closing check:
    // non-zero lets the program close. 0 at first.
    int SaveAllResult() const { return m_saveAllResult; }
    void SetSaveAllResult(int result) { m_saveAllResult = result; }

    // Toolbar controls ------------------------------------------------------------------------
    // The toolbar that made a control lists it here and takes it off again.
    void AddToolbarControl(IToolbarHostedControl* control, int32_t commandIndex);
    void RemoveToolbarControl(IToolbarHostedControl* control);
    const std::vector<ToolbarControlRecord>& ToolbarControls() const { return m_toolbarControls; }
    // Every toolbar control takes up the document (that became active), or
    // lets go of the one that closes.
    void BindToolbarControls(IHostDocument* document);
    void ReleaseToolbarControls(IHostDocument* document);

    // Window side ----------------------------------------------------------------------------
    void SetMainFrame(CMainFrame* frame) { m_mainFrame = frame; }
    CMainFrame* GetMainFrame() const { return m_mainFrame; }
    // The snap glyph strip owned by the main frame, made the first time it
    // is needed; null without a main frame.
    CImageStripWindow* SnapGlyphStrip();
    // The main frame's active frame's document, or null.
    CNuvexDoc* GetActiveDocument() const;

    // IDocumentServices
    IClassFactory* GetClassFactoryForClsid(const CLSID& clsid) override;
    IClassFactory* GetClassFactoryForAddin(IAddin* addin) override;
    const std::vector<FileTypeHandler>& GetFileTypeHandlers() override { return m_fileTypes; }
    int32_t GetVariableCount() override { return static_cast<int32_t>(m_variables.size()); }
    VARIANT GetVariableValue(int32_t index) override;
    int32_t FindVariable(const char* name) override { return FindSystemVariable(name); }
    const CommandTableEntry* GetCommandEntry(int32_t index) override { return CommandEntry(index); }
    IAddin* GetAddin(int32_t addinIndex) override;
    IClassFactory* GetAddinClassFactory(int32_t addinIndex) override;
    int32_t GetAddinCount() override { return static_cast<int32_t>(m_addins.size()); }
    const std::vector<RootHandlerClass>& GetRootHandlerClasses() override { return m_rootHandlers; }
    IHostApplication* GetHostApplication() override;
    std::string GetStaticText(int32_t id, const char* fallback) override;

private:
    // The value a command state reads: the active document's, else the
    // registered default.
    VARIANT VariableValueForState(int32_t index) const;

    std::string m_programFolder;
    CLanguageTable m_language;
    std::vector<CAddinRecord> m_addins;
    std::vector<CAddinCommandEntry> m_commands;
    std::vector<SystemVariable> m_variables;
    std::vector<RootHandlerClass> m_rootHandlers;
    std::vector<FileTypeHandler> m_fileTypes;
    CHostClassFactory m_hostFactory;
    std::unique_ptr<CHostApplication> m_application;
    HMENU m_mainMenu = nullptr;
    CMainFrame* m_mainFrame = nullptr;
    int m_saveAllResult = 0;
    IAddin* m_connectingAddin = nullptr;
    std::unique_ptr<CImageStripWindow> m_snapStrip;
    std::vector<ToolbarControlRecord> m_toolbarControls;
};
