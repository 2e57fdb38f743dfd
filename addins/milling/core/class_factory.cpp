// CAddinClassFactory, the creation table, and the module's exports.
#include "addins/milling/core/class_factory.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "addins/milling/core/add_operation_command.h"
#include "addins/milling/core/features_pane.h"
#include "addins/milling/core/machine_settings_command.h"
#include "addins/milling/core/milling_addin.h"
#include "addins/milling/core/milling_feature_command.h"
#include "addins/milling/core/milling_job.h"
#include "addins/milling/core/module_count.h"
#include "addins/milling/core/selection_info.h"
#include "addins/milling/core/nc_code_pane.h"
#include "addins/milling/core/nc_file_command.h"
#include "addins/milling/core/simulation_command.h"
#include "addins/milling/core/strimo_ids.h"
#include "addins/milling/core/tool_store_command.h"
#include "addins/milling/core/transfer_command.h"
#include "platform/kernel/registry.h"

namespace {

template <class Object, class Interface>
IUnknown* Make()
{
    return static_cast<Interface*>(new (std::nothrow) Object());
}

// In the order the GUIDs are compared.
constexpr AddinClassEntry kClasses[] = {
    {&CLSID_TransferCommand, "CTransferCommand", &Make<CTransferCommand, IAddinCommand>},
    {&CLSID_SimulationCommand, "CSimulationCommand", &Make<CSimulationCommand, IAddinCommand>},
    {&CLSID_PostprocessorSettingsCommand, "CPostprocessorSettingsCommand",
     &Make<CPostprocessorSettingsCommand, IAddinCommand>},
    {&CLSID_ToolStoreCommand, "CToolStoreCommand", &Make<CToolStoreCommand, IAddinCommand>},
    {&CLSID_NcFileCommand, "CNcFileCommand", &Make<CNcFileCommand, IAddinCommand>},
    {&CLSID_ContourMillingCommand, "CContourMillingCommand", &Make<CContourMillingCommand, IAddinCommand>},
    {&CLSID_PocketMillingCommand, "CPocketMillingCommand", &Make<CPocketMillingCommand, IAddinCommand>},
    {&CLSID_CurveMillingCommand, "CCurveMillingCommand", &Make<CCurveMillingCommand, IAddinCommand>},
    {&CLSID_AddOperationCommand, "CAddOperationCommand", &Make<CAddOperationCommand, IAddinCommand>},
    {&CLSID_SelectionInfoHandler, "CSelectionInfoHandler", &Make<CSelectionInfo, IAddinCommand>},
    {&IID_IMillingJob, "CMillingJob", &Make<CMillingJob, IMillingJob>},
    {&CLSID_NcCodePane, "CNcCodePane", &Make<CNcCodePane, IAddinCommand>},
    {&CLSID_FeaturesPane, "CFeaturesPane", &Make<CFeaturesPane, IAddinCommand>},
    {&IID_IAddin, "CMillingAddin", &Make<CMillingAddin, IAddin>},
};

// "CLSID\{7114BE18-DC1C-402D-A3FF-3F275F3367AD}".
std::string ServerKeyName()
{
    const CLSID& id = CLSID_StrimoAddin;
    char key[64];
    std::snprintf(key, sizeof key, "CLSID\\{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(id.Data1), id.Data2, id.Data3, id.Data4[0], id.Data4[1], id.Data4[2],
                  id.Data4[3], id.Data4[4], id.Data4[5], id.Data4[6], id.Data4[7]);
    return key;
}

} // namespace

const AddinClassEntry* AddinClassTable(size_t& count)
{
    count = sizeof kClasses / sizeof kClasses[0];
    return kClasses;
}

HRESULT CAddinClassFactory::QueryInterface(REFIID iid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG CAddinClassFactory::AddRef()
{
    RaiseModuleObjectCount();
    return ++m_references;
}

ULONG CAddinClassFactory::Release()
{
    LowerModuleObjectCount();
    if (--m_references == 0) {
        delete this;
        return 0;
    }
    return m_references;
}

HRESULT CAddinClassFactory::CreateInstance(IUnknown* outer, REFIID id, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    if (outer != nullptr)
        return CLASS_E_NOAGGREGATION;
    *out = nullptr;
    for (const AddinClassEntry& entry : kClasses) {
        if (*entry.id != id)
            continue;
        if (entry.make == nullptr)
            return E_NOINTERFACE;
        IUnknown* made = entry.make();
        if (made == nullptr)
            return E_OUTOFMEMORY;
        // A new object has no reference yet: held here, it goes at the end
        // of this scope unless its query handed one out.
        const ComPtr<IUnknown> object = ComPtr<IUnknown>::Share(made);
        if (FAILED(object->QueryInterface(id, out))) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT CAddinClassFactory::LockServer(BOOL lock)
{
    if (lock)
        RaiseModuleObjectCount();
    else
        LowerModuleObjectCount();
    return S_OK;
}

HRESULT StrimoGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (clsid != CLSID_StrimoAddin)
        return CLASS_E_CLASSNOTAVAILABLE;
    if (out == nullptr)
        return E_POINTER;
    auto* made = new (std::nothrow) CAddinClassFactory();
    if (made == nullptr)
        return E_OUTOFMEMORY;
    // Held here, a factory nobody took goes again, and with it the count
    // the module keeps for it.
    const ComPtr<IClassFactory> factory = ComPtr<IClassFactory>::Share(made);
    if (FAILED(factory->QueryInterface(iid, out))) {
        *out = nullptr;
        return E_INVALIDARG;
    }
    return S_OK;
}

HRESULT StrimoCanUnloadNow() { return ModuleObjectCount() == 0 ? S_OK : S_FALSE; }

HRESULT StrimoRegisterServer(const char* modulePath)
{
    const std::string keyName = ServerKeyName();
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, keyName.c_str(), 0, const_cast<LPSTR>(""), REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return E_UNEXPECTED;
    static const char kDescription[] = "strimo Module";
    if (RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kDescription),
                       sizeof kDescription) != ERROR_SUCCESS) {
        RegCloseKey(key);
        return E_UNEXPECTED;
    }
    HKEY server = nullptr;
    if (RegCreateKeyExA(key, "InprocServer32", 0, const_cast<LPSTR>(""), REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &server, nullptr) != ERROR_SUCCESS) {
        RegCloseKey(key);
        return E_UNEXPECTED;
    }
    HRESULT answer = E_UNEXPECTED;
    if (modulePath != nullptr && modulePath[0] != '\0' &&
        RegSetValueExA(server, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(modulePath),
                       static_cast<DWORD>(std::strlen(modulePath) + 1)) == ERROR_SUCCESS)
        answer = S_OK;
    RegCloseKey(server);
    RegCloseKey(key);
    return answer;
}

HRESULT StrimoUnregisterServer()
{
    const std::string keyName = ServerKeyName();
    if (RegDeleteKeyA(HKEY_CLASSES_ROOT, (keyName + "\\InprocServer32").c_str()) != ERROR_SUCCESS)
        return E_UNEXPECTED;
    if (RegDeleteKeyA(HKEY_CLASSES_ROOT, keyName.c_str()) != ERROR_SUCCESS)
        return E_UNEXPECTED;
    return S_OK;
}
