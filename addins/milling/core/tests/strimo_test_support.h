// Fixtures of the milling add-in's tests: a host application that records
// every call an add-in makes (answering like the host would), the host's
// document with services that reach the add-in's class factory and the
// built entity component, and a program folder with the shipped resources
// and the built plug-ins; scripted answers to file dialogs and message
// boxes.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "addins/milling/core/class_factory.h"
#include "addins/milling/core/milling_addin.h"
#include "addins/milling/core/milling_job.h"
#include "addins/milling/features/documentmoveentities.h"
#include "host/document/tests/document_test_support.h"
#include "host/shell/connection_point.h"
#include "icontrols.h"
#include "ihost.h"
#include "platform/user/commdlg.h"

// A toolbar that logs its images and buttons into the host's log.
class RecordingToolbar final : public IToolbarControl {
public:
    explicit RecordingToolbar(std::vector<std::string>& log) : m_log(log) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Reserved3() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Reserved4(LONG_PTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Reserved5(LONG_PTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetButtonState(IAddin*, LONG, LONG) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Reserved7(LONG_PTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE AddBitmap(LONG count, HBITMAP bitmap, LONG* firstImage) override;
    HRESULT STDMETHODCALLTYPE Reserved9(LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR,
                                        LONG_PTR) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reserved10(LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reserved11(LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE AddButtonControl(IAddin*, LONG, const char*, LONG, DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE AddButton(IAddin* addin, LONG commandId, LONG image, BYTE state, BYTE style,
                                        const char* text) override;
    HRESULT STDMETHODCALLTYPE Reserved14(LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reserved15(LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR, LONG_PTR) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reserved16(LONG_PTR, LONG_PTR, LONG_PTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE AddEditControl(IAddin*, LONG, const char*, LONG, DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE AddComboBoxControl(IAddin*, LONG, const char*, LONG, LONG, DWORD) override
    {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE AddStaticControl(IAddin*, LONG, const char*, LONG, DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE AddSpinControl(IAddin*, LONG, const char*, LONG, DWORD) override { return S_OK; }

private:
    std::vector<std::string>& m_log;
    LONG m_images = 0;
};

// An IHostApplication that logs each call as one line, "Operation arg ...",
// and answers as the host would: pane groups and pages are kept (so a
// second Connect finds them), variables get the next index, menus and
// toolbars are tokens, and the event point is the host's own.
class RecordingHost final : public IHostApplication {
public:
    RecordingHost();
    ~RecordingHost();
    RecordingHost(const RecordingHost&) = delete;
    RecordingHost& operator=(const RecordingHost&) = delete;

    std::vector<std::string> log;
    std::string programFolder;
    std::string chosenLanguage = "EN";
    IAddin* addin = nullptr; // what GetAddin answers for the module's class id
    ComPtr<CConnectionPointContainer> events;

    struct Group {
        std::string name;
        std::vector<std::string> pages;
    };
    std::vector<Group> groups;
    std::vector<std::string> variables;
    RecordingToolbar toolbar{log};

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE RegisterEventHandlerClass(IAddin* addin, GUID classId, LONG eventMask) override;
    HRESULT STDMETHODCALLTYPE GetViewContextMenu(HMENU* menu) override;
    HRESULT STDMETHODCALLTYPE GetProgressControl(CProgressCtrl** control) override;
    HRESULT STDMETHODCALLTYPE RegisterFileType(const char*, const char*, LONG, GUID, LONG) override;
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
    HRESULT STDMETHODCALLTYPE SetCommandPresets(IAddin*, LONG, LONG, VARIANT*, VARIANT*, uint32_t*) override;
    HRESULT STDMETHODCALLTYPE FindVariable(const char* name, LONG* index) override;
    HRESULT STDMETHODCALLTYPE GetVariableName(LONG index, const char** name) override;
    HRESULT STDMETHODCALLTYPE GetVariableCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE RegisterVariable(const char* name, VARIANT value, LONG* index) override;
    HRESULT STDMETHODCALLTYPE Reserved22(LONG_PTR, LONG_PTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Reserved23(LONG_PTR, LONG_PTR) override { return S_OK; }
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
    HRESULT STDMETHODCALLTYPE AddAccelerator(IAddin*, LONG, BYTE, WORD) override;
    HRESULT STDMETHODCALLTYPE InsertMenuItem(HMENU, LONG, IAddin*, LONG, LONG, const char*) override;
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
    HRESULT STDMETHODCALLTYPE GetAddinConnectionPoint(IAddin*, IConnectionPoint**) override;
    HRESULT STDMETHODCALLTYPE GetEventConnectionPoint(IConnectionPoint** point) override;
    HRESULT STDMETHODCALLTYPE GetActiveDocument(IHostDocument** document) override;
    HRESULT STDMETHODCALLTYPE GetAddinClassFactory(CLSID classId, IClassFactory** factory) override;
    HRESULT STDMETHODCALLTYPE AddToolbar(const char* name, IToolbarControl** toolbar) override;
    HRESULT STDMETHODCALLTYPE FindToolbar(const char* name, IToolbarControl** toolbar) override;
    HRESULT STDMETHODCALLTYPE GetToolbar(LONG index, IToolbarControl** toolbar) override;
    HRESULT STDMETHODCALLTYPE GetToolbarCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE RegisterCommandClass(IAddin* addin, LONG commandId, GUID classId) override;
    HRESULT STDMETHODCALLTYPE GetToolbarCommandControl(IAddin*, LONG, IUnknown**) override;

private:
    void Log(const std::string& line) { log.push_back(line); }
    std::string AddinName(IAddin* candidate) const;
};

// The host's document services, reaching the add-in's class factory for
// the module's class id and the registered entity component for its own.
class StrimoServices final : public TestServices {
public:
    StrimoServices();
    ~StrimoServices();
    IClassFactory* GetClassFactoryForClsid(const CLSID& clsid) override;
    IHostApplication* GetHostApplication() override { return host; }
    // The add-in record 0 is the milling add-in with the module's factory.
    IClassFactory* GetAddinClassFactory(int32_t addinIndex) override
    {
        return addinIndex == 0 ? strimoFactory.Get() : nullptr;
    }

    IHostApplication* host = nullptr;
    ComPtr<IClassFactory> strimoFactory;
    ComPtr<IClassFactory> entityFactory;
};

// A registry of its own in a fresh folder while it lives.
class ScopedRegistry {
public:
    ScopedRegistry();
    ~ScopedRegistry();
    ScopedRegistry(const ScopedRegistry&) = delete;
    ScopedRegistry& operator=(const ScopedRegistry&) = delete;

private:
    TempFolder m_folder;
    std::string m_old;
    bool m_hadOld = false;
};

// Every test gets a registry of its own with the entity component
// registered, a program folder with the shipped language file, tool store
// and machine store, the add-in object connected to a recording host and
// the postprocessor plug-in loaded, and a document of the host.
class StrimoTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a file under the program folder.
    void WriteProgramFile(const std::string& relative, const std::string& text) const;
    std::string ProgramFile(const std::string& relative) const { return m_folder.Path() + "/" + relative; }
    // A new document of the host on the same services.
    std::unique_ptr<CNuvexDoc> NewDocument();

    TempFolder m_folder;
    std::unique_ptr<ScopedRegistry> m_registry;
    HMODULE m_entities = nullptr;
    RecordingHost m_host;
    // The add-in object, held for the test; m_addin borrows it.
    ComPtr<CMillingAddin> m_addinReference;
    CMillingAddin* m_addin = nullptr;
    StrimoServices m_services;
    TestOutput m_output;
    std::unique_ptr<CNuvexDoc> m_document;
};

// A pocket of a square outline with a square island, and a contour of a
// square, made through the features' own computation.
std::unique_ptr<CMillingFeature> MakeSquarePocket(double size, double islandSize, CMoveEntityFactory* factory);
std::unique_ptr<CMillingFeature> MakeSquareContour(double size, CMoveEntityFactory* factory);

// The line and arc entities of a document, in its order, with the ids of
// the records that hold them.
struct DrawnEntity {
    uintptr_t id = 0;
    CMoveEntityView view;
};
std::vector<DrawnEntity> DrawnEntities(IHostDocument* document);

// The source tree's path of a file.
std::string SourcePath(const std::string& relative);
std::string ReadText(const std::string& path);

// Answers every file dialog with `path` (or cancels with an empty one) and
// every message box with OK, recording what was asked.
class DialogAnswers {
public:
    explicit DialogAnswers(std::string path) : m_path(std::move(path))
    {
        SetDialogAnswerHook([this](const DialogRequest& request) -> std::optional<DialogAnswer> {
            requests.push_back(request);
            DialogAnswer answer;
            if (request.kind != DialogRequestKind::MessageBox) {
                answer.button = m_path.empty() ? IDCANCEL : IDOK;
                answer.path = m_path;
            }
            return answer;
        });
    }
    ~DialogAnswers() { SetDialogAnswerHook(nullptr); }
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const DialogRequest& request : requests)
            if (request.kind == DialogRequestKind::MessageBox)
                texts.push_back(request.text);
        return texts;
    }
    std::vector<DialogRequest> requests;

private:
    std::string m_path;
};
