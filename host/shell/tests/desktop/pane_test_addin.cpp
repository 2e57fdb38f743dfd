// The pane test add-in: a pane group with a tree page, a text page and a
// control-panel page; pane objects that fill the tree and the text when a
// view of a document first shows them; and a command that puts a panel
// with an edit and an "Apply" button on the panel page and hears what the
// user does there. What its objects hear goes into a log the test reads.
#include "host/shell/tests/desktop/pane_test_addin.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "icontrols.h"
#include "ihost.h"
#include "objectmodel/com_object.h"
#include "platform/controls/commctrl.h"
#include "platform/controls/controls.h"
#include "platform/kernel/classobject.h"

#define PANE_TEST_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::vector<std::string>& Log()
{
    static std::vector<std::string> log;
    return log;
}

// The pane group's index, as Connect got it.
LONG g_group = -1;

class CTreePane final : public CCountedObject<IAddinCommand, IID_IAddinCommand> {
public:
    HRESULT STDMETHODCALLTYPE Create(IHostDocument*, LONG, LONG_PTR context) override
    {
        auto* tree = reinterpret_cast<ITreeControl*>(context);
        if (tree == nullptr) {
            Log().push_back("tree pane without a tree");
            return S_OK;
        }
        HTREEITEM root = nullptr;
        HTREEITEM phase = nullptr;
        tree->InsertItem("Milling 2.5D", TVI_ROOT, TVI_LAST, &root);
        tree->InsertItem("Phase 1", root, TVI_LAST, &phase);
        tree->InsertItem("Pocket 1", phase, TVI_LAST, nullptr);
        tree->Expand(root, TVE_EXPAND);
        tree->Expand(phase, TVE_EXPAND);
        Log().push_back("tree filled");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void* value, LONG, LONG, LONG* result) override
    {
        if (event == 0x2000000 && value != nullptr) {
            Log().push_back("tree event " + std::to_string(static_cast<const TreeEventRecord*>(value)->code));
        }
        *result = 0;
        return S_OK;
    }
};

class CTextPane final : public CCountedObject<IAddinCommand, IID_IAddinCommand> {
public:
    HRESULT STDMETHODCALLTYPE Create(IHostDocument*, LONG, LONG_PTR context) override
    {
        auto* text = reinterpret_cast<IRichEditControl*>(context);
        if (text == nullptr) {
            Log().push_back("text pane without a text");
            return S_OK;
        }
        LONG line = 0;
        text->AppendLine(0, &line);
        text->AppendToLine(line, "G0 X0 Y0", FALSE);
        text->AppendToLine(line, "G1 X10 F200", FALSE);
        Log().push_back("text filled");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnEvent(LONG, void*, LONG, LONG, LONG* result) override
    {
        *result = 0;
        return S_OK;
    }
};

// Fills the panel page in Create; every control change reaches it as
// event 0x1000000 with the control ID in the low word.
class CPanelCommand final : public CCountedObject<IAddinCommand, IID_IAddinCommand> {
public:
    HRESULT STDMETHODCALLTYPE Create(IHostDocument* document, LONG, LONG_PTR) override
    {
        if (document == nullptr || FAILED(document->CreateControlPanel(g_group, kPaneTestPanelPage, &m_panel)) ||
            m_panel == nullptr) {
            Log().push_back("no panel");
            return S_OK;
        }
        const RECT title{6, 6, 180, 28};
        const RECT label{6, 36, 60, 56};
        const RECT edit{64, 34, 170, 56};
        const RECT apply{6, 66, 90, 90};
        m_panel->AddTitle("Pocket", WS_VISIBLE, &title, 100, nullptr);
        m_panel->AddStatic("Z Top", WS_VISIBLE, &label, 103, nullptr);
        m_panel->AddEdit("", WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, &edit, kPaneTestEditId, nullptr);
        m_panel->AddButton("Apply", WS_VISIBLE | BS_PUSHBUTTON, &apply, kPaneTestApplyId, nullptr);
        m_panel->SetOwner(this);
        m_panel->ShowAll();
        document->ShowPane(g_group, kPaneTestPanelPage);
        Log().push_back("panel made");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void* value, LONG, LONG, LONG* result) override
    {
        *result = 0;
        if (event != 0x1000000 || value == nullptr || m_panel == nullptr) {
            return S_OK;
        }
        const auto word = static_cast<DWORD>(*static_cast<LONG*>(value));
        std::string entry = "panel " + std::to_string(LOWORD(word)) + " " + std::to_string(HIWORD(word));
        if (LOWORD(word) == kPaneTestApplyId) {
            IUnknown* control = nullptr;
            ComPtr<IEditControl> edit;
            if (SUCCEEDED(m_panel->GetControl(kPaneTestEditId, &control)) &&
                SUCCEEDED(control->QueryInterface(IID_IEditControl, edit.ReceiveVoid()))) {
                char text[kControlTextBufferSize] = {};
                edit->GetText(text);
                entry += " text " + std::string(text);
            }
        }
        Log().push_back(entry);
        return S_OK;
    }

private:
    // Lent by the host.
    IControlPanel* m_panel = nullptr;
};

class CPaneTestAddin final : public CCountedObject<IAddin, IID_IAddin> {
public:
    HRESULT STDMETHODCALLTYPE OnContextMenu(IHostApplication*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Connect(IHostApplication* host) override
    {
        if (host == nullptr) {
            return E_POINTER;
        }
        host->AddPaneGroup(kPaneTestGroupName, kPaneTestGroupFlags, &g_group);
        host->AddPaneItem(g_group, "Tree", 0x1, this, kPaneTestTreeCommand, nullptr);
        host->AddPaneItem(g_group, "Text", 0x2, this, kPaneTestTextCommand, nullptr);
        host->AddPaneItem(g_group, "Panel", 0x4, nullptr, 0, nullptr);
        host->RegisterCommandClass(this, kPaneTestTreeCommand, CLSID_PaneTestTree);
        host->RegisterCommandClass(this, kPaneTestTextCommand, CLSID_PaneTestText);
        host->RegisterCommandClass(this, kPaneTestPanelCommand, CLSID_PaneTestPanelCommand);
        Log().push_back("connected");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Help(LONG, LONG) override { return S_OK; }
};

template <class Object>
HRESULT Make(REFIID iid, void** out)
{
    auto* object = new (std::nothrow) Object();
    if (object == nullptr) {
        return E_OUTOFMEMORY;
    }
    object->AddRef();
    // The host asks with the class id in the place of the interface id.
    *out = static_cast<IUnknown*>(object);
    (void)iid;
    return S_OK;
}

class CPaneTestFactory final : public CModuleClassFactory {
public:
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        if (iid == CLSID_PaneTestAddin || iid == IID_IAddin) {
            return Make<CPaneTestAddin>(iid, out);
        }
        if (iid == CLSID_PaneTestTree) {
            return Make<CTreePane>(iid, out);
        }
        if (iid == CLSID_PaneTestText) {
            return Make<CTextPane>(iid, out);
        }
        if (iid == CLSID_PaneTestPanelCommand) {
            return Make<CPanelCommand>(iid, out);
        }
        return E_NOINTERFACE;
    }
};

CPaneTestFactory g_factory;


} // namespace

PANE_TEST_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (out == nullptr) {
        return E_POINTER;
    }
    *out = nullptr;
    if (clsid != CLSID_PaneTestAddin) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return g_factory.QueryInterface(iid, out);
}

PANE_TEST_EXPORT HRESULT DllCanUnloadNow() { return S_FALSE; }

PANE_TEST_EXPORT HRESULT DllRegisterServer()
{
    return RegisterInprocServer(CLSID_PaneTestAddin, reinterpret_cast<const void*>(&DllRegisterServer));
}

PANE_TEST_EXPORT HRESULT DllUnregisterServer() { return UnregisterInprocServer(CLSID_PaneTestAddin); }

PANE_TEST_EXPORT int PaneTestAddinLog(char* buffer, int size)
{
    std::string joined;
    for (const std::string& entry : Log()) {
        joined += entry + "\n";
    }
    if (buffer == nullptr || size <= 0) {
        return static_cast<int>(joined.size());
    }
    const size_t kept = std::min(joined.size(), static_cast<size_t>(size - 1));
    std::memcpy(buffer, joined.data(), kept);
    buffer[kept] = '\0';
    return static_cast<int>(kept);
}
