// The seams between the document and the rest of the program: what the
// document asks of the application (class factories, the file-type
// handlers, the registered system variables, the command table) and where
// it sends what the user should see (view updates, document events, the
// status-bar prompt). The application shell implements both; tests and the
// file fuzzer use small fakes, so the document runs without any window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "iaddin.h"
#include "ihost.h"
#include "platform/com/connpoint.h"
#include "platform/com/unknwn.h"
#include "platform/com/variant.h"

// One registration of a file extension by an add-in: the handler class is
// made through the add-in's class factory (the host's own for a null
// add-in); `value` is the add-in's own word for the type.
struct FileTypeHandler {
    std::string description;
    std::string extension;
    IAddin* addin = nullptr;
    IID handler{};
    uint32_t flags = 0;
    int32_t value = 0;
};
constexpr uint32_t kFileTypeOpens = 0x1;
constexpr uint32_t kFileTypeSaves = 0x2;

// One entry of the application's command table: the owning add-in's record
// index, the add-in's own number for the command, the class its factory
// makes the command object from, the toggle (checked) state and the
// presets; the texts that add-ins give the command live here too.
struct CommandTableEntry {
    int32_t addinIndex = -1;
    uint32_t addinCommandId = 0;
    GUID handlerClass{};
    uint32_t toggle = 0;
    // The names a typed line may start the command by (empty: none).
    std::string name;
    std::string shortName;
    // The tool tip and the status-bar prompt of the command's window id.
    std::string toolTip;
    std::string statusText;
    // Presets: parallel lists of variable index, value and flag word.
    std::vector<uint32_t> presetVariables;
    std::vector<VARIANT> presetValues;
    std::vector<uint32_t> presetFlags;
};
// Preset flag bits.
constexpr uint32_t kPresetOnStart = 0x1;
constexpr uint32_t kPresetOnToggleOff = 0x2;
constexpr uint32_t kPresetEnabled = 0x10;
constexpr uint32_t kPresetFromVariable = 0x10000000;

// A root handler class registered by an add-in.
struct RootHandlerClass {
    IAddin* addin = nullptr;
    GUID classId{};
    uint32_t mask = 0;
};

class IDocumentServices {
public:
    // The host's own factory for CLSID_HostObjectFactory, else the loaded
    // add-in's, else null. No reference is added.
    virtual IClassFactory* GetClassFactoryForClsid(const CLSID& clsid) = 0;
    // The host's own factory for null, else the add-in's, else null.
    virtual IClassFactory* GetClassFactoryForAddin(IAddin* addin) = 0;
    virtual const std::vector<FileTypeHandler>& GetFileTypeHandlers() = 0;
    virtual int32_t GetVariableCount() = 0;
    // The application's current value of a registered variable.
    virtual VARIANT GetVariableValue(int32_t index) = 0;
    // -1 when no variable has that name.
    virtual int32_t FindVariable(const char* name) = 0;
    // Null for an index outside the table.
    virtual const CommandTableEntry* GetCommandEntry(int32_t index) = 0;
    // The add-in of a record and its class factory; null outside the records
    // and for a record without one.
    virtual IAddin* GetAddin(int32_t addinIndex) = 0;
    virtual IClassFactory* GetAddinClassFactory(int32_t addinIndex) = 0;
    // The number of add-in records. Without a count of its own, a table
    // ends at the first record that has neither an add-in nor a factory.
    virtual int32_t GetAddinCount()
    {
        int32_t count = 0;
        while (GetAddin(count) != nullptr || GetAddinClassFactory(count) != nullptr) {
            ++count;
        }
        return count;
    }
    virtual const std::vector<RootHandlerClass>& GetRootHandlerClasses() = 0;
    // May be null in tests.
    virtual IHostApplication* GetHostApplication() = 0;
    // The command-table index of an add-in's command, made when missing;
    // -1 for an add-in that is not loaded.
    virtual int32_t GetHostCommand(IAddin* addin, uint32_t addinCommandId) = 0;
    // A text of the language table's STATIC section, else the fallback.
    virtual std::string GetStaticText(int32_t id, const char* fallback) = 0;

protected:
    ~IDocumentServices() = default;
};

// The root level's input handler (the document's selection handler).
class IRootEventHandler {
public:
    virtual HRESULT OnEvent(LONG code, void* value, LONG final, LONG kind, LONG* result) = 0;
    // The ids of the records selected at the root, in order.
    virtual std::vector<uintptr_t> GetSelection() = 0;
    // While a grip is dragged, typed points go to the root.
    virtual bool IsDraggingGrip() = 0;

protected:
    ~IRootEventHandler() = default;
};

class IDocumentOutput {
public:
    // Redraws every view of the document now.
    virtual void UpdateAllViews() = 0;
    // Calls every sink advised on the document's event connection point.
    virtual void FireDocumentEvent(int32_t eventId) = 0;
    // The prompt pane's text, with markCount characters from markFirst
    // marked (none when markCount is 0); and the command-line text.
    virtual void SetPrompt(const std::string& text, size_t markFirst, size_t markCount) = 0;
    virtual void SetCommandLineText(const std::string& text) = 0;
    // The modifier kind from the keys held now: 1 plain, 2 Ctrl, 4 Shift.
    virtual int32_t GetModifierKind() = 0;
    // Whether the document has a view; input at the root level needs one.
    virtual bool HasView() = 0;
    // Toolbar button state of a host command: 4 enabled, 6 enabled and checked.
    virtual void UpdateCommandButtons(int32_t hostCommandIndex, int32_t state) = 0;
    virtual void RefreshCommandStates(BOOL full) = 0;
    // The snap engine forgets its candidates and recent points.
    virtual void RefreshSnap() = 0;

    // The document's event connection points, which the program's output
    // keeps: the main point (event group -1), and an add-in's point (group
    // = the add-in's record index, -1 for an add-in that is not loaded),
    // made on the first request. AddRef'ed; a null point and E_NOTIMPL
    // where the output keeps no event source.
    virtual HRESULT GetEventConnectionPoint(IConnectionPoint** point)
    {
        *point = nullptr;
        return E_NOTIMPL;
    }
    virtual HRESULT GetAddinConnectionPoint(IAddin* addin, IConnectionPoint** point)
    {
        (void)addin;
        *point = nullptr;
        return E_NOTIMPL;
    }
    // The document became the active one: the toolbar controls that
    // add-ins placed take it up.
    virtual void DocumentActivated(IHostDocument* document) { (void)document; }

protected:
    ~IDocumentOutput() = default;
};
