// A small add-in module for the program's tests, built as a real shared
// library and copied into a test program folder under any name. Its class
// id is derived from its file name's first letter, so that two copies are
// two add-ins. It registers itself with the file name upper-cased (the
// host finds it again by its path ignoring case), and its add-in object
// records what it saw of the host at Connect: the variables, the language
// and a command (number 7, typed name "testcmd", short "tc") with its
// class, started by F5. Its command objects record their events and answer the start with
// a result the test sets (the preview requests of every paint are not
// logged). It opens files "*.tpt" through a handler class that records the
// file's name, and on request adds a "Workshop" pane group with a
// "Properties" page. Its command takes typed values and pairs of values
// (logged with them), and it has a "Testing" toolbar with the command's
// button and a "&Testing" menu with the command's owner-drawn item; the
// command's status text is "Runs the test command" and its tooltip "Test
// command". The log is read through the module's exports.
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "iaddin.h"
#include "icontrols.h"
#include "ihost.h"
#include "platform/gdi/gdi.h"
#include "platform/kernel/classobject.h"
#include "platform/kernel/module.h"
#include "platform/kernel/registry.h"
#include "platform/user/keyboard.h"
#include "platform/user/winuser.h"

#define TEST_ADDIN_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr GUID kBaseClassId = {0x5e1f0a10, 0x2b3c, 0x4d5e, {0x8f, 0x90, 0xa1, 0xb2, 0xc3, 0xd4, 0xe5, 0x00}};
constexpr GUID kCommandClass = {0x5e1f0a11, 0x2b3c, 0x4d5e, {0x8f, 0x90, 0xa1, 0xb2, 0xc3, 0xd4, 0xe5, 0xf6}};
constexpr GUID kFileClass = {0x5e1f0a12, 0x2b3c, 0x4d5e, {0x8f, 0x90, 0xa1, 0xb2, 0xc3, 0xd4, 0xe5, 0xf6}};
constexpr LONG kCommandNumber = 7;
constexpr LONG kControlPanelPage = 4;
constexpr LONG kDrawEvent = 0x8000;
constexpr LONG kValueEvent = 0x40;
constexpr LONG kTwoValuesEvent = 0x80;
// The command takes a typed value and two typed values, with and without
// Ctrl and Shift.
constexpr uint32_t kCommandInputKinds = 0x40 | 0x80;
constexpr LONG kAllInputTables = 7;
constexpr BYTE kButtonEnabled = 4;
constexpr int kImageWidth = 16;
constexpr int kImageHeight = 15;

std::vector<std::string> g_log;
LONG g_startAnswer = 0;
bool g_workshop = false;

std::string ModulePath()
{
    char path[4096] = {};
    GetModuleFileNameA(GetModuleHandleFromAddress(reinterpret_cast<const void*>(&ModulePath)), path, sizeof path);
    return path;
}

std::string FileNameOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

GUID OwnClassId()
{
    GUID id = kBaseClassId;
    const std::string name = FileNameOf(ModulePath());
    id.Data4[7] = name.empty() ? 0 : static_cast<uint8_t>(std::tolower(static_cast<unsigned char>(name[0])));
    return id;
}

std::string Title() { return FileNameOf(ModulePath()); }

// The reference count and interfaces of the add-in's command objects.
class CCountedCommand : public IAddinCommand {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IAddinCommand) {
            *out = static_cast<IAddinCommand*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG count = --m_references;
        if (count == 0) {
            OnReleased();
            delete this;
        }
        return count;
    }

protected:
    virtual void OnReleased() {}
    virtual ~CCountedCommand() = default;

private:
    ULONG m_references = 0;
};

class CTestCommand final : public CCountedCommand {
public:
    HRESULT STDMETHODCALLTYPE Create(IHostDocument* document, LONG commandNumber, LONG_PTR context) override
    {
        LONG objects = -1;
        if (document != nullptr) {
            document->GetObjectCount(&objects);
        }
        g_log.push_back(Title() + " create " + std::to_string(commandNumber) + " " + std::to_string(context) +
                        " objects " + std::to_string(objects));
        m_document = document;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void* value, LONG final, LONG, LONG* result) override
    {
        // The preview is asked for at every paint; it is no input.
        if (event == kDrawEvent) {
            return S_OK;
        }
        std::string entry = Title() + " event " + std::to_string(event);
        if ((event == 0x1 || event == 0x2001) && value != nullptr) {
            entry += " number " + std::to_string(*static_cast<uint32_t*>(value));
        }
        if (event == kValueEvent && value != nullptr) {
            entry += " value " + Number(*static_cast<double*>(value));
        }
        if (event == kTwoValuesEvent && value != nullptr) {
            const auto* values = static_cast<double*>(value);
            entry += " values " + Number(values[0]) + " " + Number(values[1]);
        }
        entry += " final " + std::to_string(final);
        g_log.push_back(entry);
        if (event == 0x1) {
            if (m_document != nullptr) {
                m_document->SetInputKinds(kCommandInputKinds, kAllInputTables);
            }
            *result = g_startAnswer;
        } else if (event == kValueEvent || event == kTwoValuesEvent) {
            // The level stays for more input.
            *result = 0;
        } else if (event == 0x10) {
            *result = 0x4;
        }
        return S_OK;
    }

protected:
    void OnReleased() override { g_log.push_back(Title() + " command released"); }

private:
    static std::string Number(double value)
    {
        char text[32] = {};
        std::snprintf(text, sizeof text, "%g", value);
        return text;
    }
    IHostDocument* m_document = nullptr;
};

// Opens the add-in's "tpt" files: it records the file's name.
class CTestFileHandler final : public CCountedCommand {
public:
    HRESULT STDMETHODCALLTYPE Create(IHostDocument*, LONG, LONG_PTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void* value, LONG, LONG, LONG*) override
    {
        const std::string path = value != nullptr ? static_cast<const char*>(value) : "";
        g_log.push_back(Title() + " file " + std::to_string(event) + " " + FileNameOf(path));
        return S_OK;
    }

};

class CTestAddin final : public IAddin {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IAddin) {
            *out = static_cast<IAddin*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // One static object per module: the host never releases it.
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE OnContextMenu(IHostApplication*) override
    {
        g_log.push_back(Title() + " context menu");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Connect(IHostApplication* host) override
    {
        LONG count = -1;
        LONG zView = -1;
        char chosen[64] = {};
        char fallback[64] = {};
        host->GetVariableCount(&count);
        host->FindVariable("ZViewDirection", &zView);
        host->GetLanguage(chosen, fallback);
        g_log.push_back(Title() + " connect variables " + std::to_string(count) + " ZViewDirection " +
                        std::to_string(zView) + " language " + chosen + " " + fallback);
        host->RegisterCommandClass(this, kCommandNumber, kCommandClass);
        host->SetCommandTexts(this, kCommandNumber, "testcmd", "tc");
        host->SetCommandStatusTexts(this, kCommandNumber, "Runs the test command", "Test command");
        AddToolbarAndMenu(host);
        // F5 starts the command (where the program has a frame).
        host->AddAccelerator(this, kCommandNumber, FVIRTKEY, VK_F5);
        VARIANT flag;
        VariantInit(&flag);
        flag.vt = VT_UI1;
        flag.bVal = 1;
        host->RegisterVariable("TestFlag", flag, nullptr);
        // Files "*.tpt" are opened by the add-in.
        host->RegisterFileType("Test parts (*.tpt)", "tpt", 1, kFileClass, 0);
        if (g_workshop) {
            // The pane group with the page the host fills as its properties page.
            LONG group = -1;
            LONG page = -1;
            host->AddPaneGroup("Workshop", 0x311, &group);
            host->AddPaneItem(group, "Properties", kControlPanelPage, nullptr, 0, &page);
        }
        return S_OK;
    }
    // The "Testing" toolbar with the command's button (a plain blue
    // square) and the "&Testing" menu with its owner-drawn item.
    void AddToolbarAndMenu(IHostApplication* host)
    {
        IToolbarControl* toolbar = nullptr;
        if (SUCCEEDED(host->AddToolbar("Testing", &toolbar)) && toolbar != nullptr) {
            std::vector<uint32_t> pixels(static_cast<size_t>(kImageWidth * kImageHeight), 0x00FFFFFF);
            for (int y = 3; y < kImageHeight - 3; ++y) {
                for (int x = 3; x < kImageWidth - 3; ++x) {
                    pixels[static_cast<size_t>(y * kImageWidth + x)] = 0x002040C0;
                }
            }
            HBITMAP image = CreateBitmap(kImageWidth, kImageHeight, 1, 32, pixels.data());
            LONG first = 0;
            toolbar->AddBitmap(1, image, &first);
            toolbar->AddButton(this, kCommandNumber, first, kButtonEnabled, 0, "testcmd");
        }
        HMENU main = nullptr;
        LONG position = -1;
        HMENU popup = nullptr;
        if (SUCCEEDED(host->GetMainMenu(&main)) && SUCCEEDED(host->InsertPopupMenu(main, -1, "&Testing")) &&
            SUCCEEDED(host->FindMenuPosition(main, "&Testing", &position)) &&
            SUCCEEDED(host->GetSubMenu(main, position, &popup))) {
            host->AddMenuItem(popup, this, kCommandNumber, 0, "Test command", nullptr);
        }
    }
    HRESULT STDMETHODCALLTYPE Help(LONG commandNumber, LONG reserved) override
    {
        g_log.push_back(Title() + " help " + std::to_string(commandNumber) + " " + std::to_string(reserved));
        return S_OK;
    }
};

CTestAddin g_addin;

class CTestFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        *out = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        if (iid == IID_IAddin) {
            *out = static_cast<IAddin*>(&g_addin);
            return S_OK;
        }
        if (iid == kFileClass) {
            auto* handler = new CTestFileHandler();
            handler->AddRef();
            *out = static_cast<IAddinCommand*>(handler);
            return S_OK;
        }
        if (iid == kCommandClass) {
            auto* command = new CTestCommand();
            command->AddRef();
            *out = static_cast<IAddinCommand*>(command);
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

CTestFactory g_factory;

} // namespace

TEST_ADDIN_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    *out = nullptr;
    if (clsid != OwnClassId()) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return g_factory.QueryInterface(iid, out);
}

TEST_ADDIN_EXPORT HRESULT DllCanUnloadNow() { return S_FALSE; }

TEST_ADDIN_EXPORT HRESULT DllRegisterServer()
{
    g_log.push_back(Title() + " register");
    // The file name upper-cased: the host compares paths ignoring case.
    std::string path = ModulePath();
    const size_t slash = path.find_last_of('/');
    for (size_t i = slash == std::string::npos ? 0 : slash + 1; i < path.size(); ++i) {
        path[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(path[i])));
    }
    const std::string key = "CLSID\\" + GuidToText(OwnClassId(), GuidCase::Upper) + "\\InprocServer32";
    HKEY created = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                        &created, nullptr) != ERROR_SUCCESS) {
        return E_FAIL;
    }
    const LONG status = RegSetValueExA(created, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                                       static_cast<DWORD>(path.size() + 1));
    RegCloseKey(created);
    return status == ERROR_SUCCESS ? S_OK : E_FAIL;
}

// The test's side: the log, its reset, the start answer and the class ids.
TEST_ADDIN_EXPORT const std::vector<std::string>* TestAddinLog() { return &g_log; }
TEST_ADDIN_EXPORT void TestAddinReset()
{
    g_log.clear();
    g_startAnswer = 0;
}
TEST_ADDIN_EXPORT void TestAddinSetStartAnswer(LONG answer) { g_startAnswer = answer; }
// Whether Connect adds the "Workshop" pane group with its "Properties" page.
TEST_ADDIN_EXPORT void TestAddinSetWorkshop(int on) { g_workshop = on != 0; }
TEST_ADDIN_EXPORT void TestAddinClassId(GUID* id) { *id = OwnClassId(); }
TEST_ADDIN_EXPORT IAddin* TestAddinObject() { return &g_addin; }
