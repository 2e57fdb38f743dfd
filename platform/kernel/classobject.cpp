// Class objects found through the registry, and class ids as text.
#include "platform/kernel/classobject.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/kernel/module.h"
#include "platform/kernel/registry.h"

HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, COSERVERINFO*, REFIID iid, void** out)
{
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    if ((context & CLSCTX_INPROC_SERVER) == 0) {
        return REGDB_E_CLASSNOTREG;
    }
    const std::string keyName = "CLSID\\" + GuidToText(clsid) + "\\InprocServer32";
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, keyName.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return REGDB_E_CLASSNOTREG;
    }
    DWORD type = REG_NONE;
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, nullptr, nullptr, &type, nullptr, &size);
    std::string server;
    if (status == ERROR_SUCCESS && type == REG_SZ && size > 1) {
        server.resize(size);
        status = RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<LPBYTE>(server.data()), &size);
        server.resize(status == ERROR_SUCCESS ? std::strlen(server.c_str()) : 0);
    }
    RegCloseKey(key);
    if (server.empty()) {
        return REGDB_E_CLASSNOTREG;
    }
    HMODULE module = LoadLibraryA(server.c_str());
    if (module == nullptr) {
        return CO_E_DLLNOTFOUND;
    }
    auto entry = reinterpret_cast<DllGetClassObjectFunction>(GetProcAddress(module, "DllGetClassObject"));
    if (entry == nullptr) {
        FreeLibrary(module);
        return CO_E_ERRORINDLL;
    }
    void* object = nullptr;
    const HRESULT result = entry(clsid, iid, &object);
    if (FAILED(result)) {
        FreeLibrary(module);
        return result;
    }
    // The module keeps the load count taken here: the object it gave out
    // lives in its code.
    *out = object;
    return result;
}

HRESULT CLSIDFromString(LPCOLESTR text, LPCLSID clsid)
{
    if (text == nullptr || clsid == nullptr) {
        return E_INVALIDARG;
    }
    const std::optional<GUID> parsed = GuidFromText(text);
    if (!parsed) {
        return CO_E_CLASSSTRING;
    }
    *clsid = *parsed;
    return S_OK;
}

HRESULT StringFromCLSID(REFCLSID clsid, LPOLESTR* text)
{
    if (text == nullptr) {
        return E_INVALIDARG;
    }
    const std::string value = GuidToText(clsid, GuidCase::Upper);
    auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc(value.size() + 1));
    if (copy == nullptr) {
        return E_OUTOFMEMORY;
    }
    std::memcpy(copy, value.c_str(), value.size() + 1);
    *text = copy;
    return S_OK;
}

void* CoTaskMemAlloc(size_t size) { return std::malloc(size == 0 ? 1 : size); }

void CoTaskMemFree(void* block) { std::free(block); }

HRESULT RegisterInprocServer(REFCLSID clsid, const void* addressInModule)
{
    char path[4096] = {};
    const DWORD length = GetModuleFileNameA(GetModuleHandleFromAddress(addressInModule), path, sizeof path);
    if (length == 0 || length >= sizeof path) {
        return E_FAIL;
    }
    HKEY key = nullptr;
    const std::string keyName = "CLSID\\" + GuidToText(clsid, GuidCase::Upper) + "\\InprocServer32";
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, keyName.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return E_FAIL;
    }
    const LONG status = RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path), length + 1);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? S_OK : E_FAIL;
}

HRESULT UnregisterInprocServer(REFCLSID clsid)
{
    const std::string keyName = "CLSID\\" + GuidToText(clsid, GuidCase::Upper);
    RegDeleteKeyA(HKEY_CLASSES_ROOT, (keyName + "\\InprocServer32").c_str());
    const LONG status = RegDeleteKeyA(HKEY_CLASSES_ROOT, keyName.c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ? S_OK : E_FAIL;
}
