// A small in-process server for the module and class-object tests: one
// class, its factory, the four server exports and one plain export.
#include <cstring>
#include <string>

#include "platform/com/unknwn.h"
#include "platform/kernel/module.h"
#include "platform/kernel/registry.h"

#define TEST_MODULE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr CLSID kTestClass = {0x5A1F3C2E, 0x8B44, 0x4D0A, {0x9E, 0x61, 0x27, 0x3C, 0x10, 0xB5, 0xD4, 0x07}};
int g_objectCount = 0;

class TestObject : public IUnknown {
public:
    TestObject() { ++g_objectCount; }
    virtual ~TestObject() { --g_objectCount; }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid != IID_IUnknown) {
            return E_NOINTERFACE;
        }
        *out = this;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_count; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        if (--m_count == 0) {
            delete this;
            return 0;
        }
        return m_count;
    }

private:
    ULONG m_count = 0;
};

class TestFactory : public IClassFactory {
public:
    TestFactory() { ++g_objectCount; }
    virtual ~TestFactory() { --g_objectCount; }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid != IID_IUnknown && iid != IID_IClassFactory) {
            return E_NOINTERFACE;
        }
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_count; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        if (--m_count == 0) {
            delete this;
            return 0;
        }
        return m_count;
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        auto* object = new TestObject();
        const HRESULT result = object->QueryInterface(iid, out);
        if (FAILED(result)) {
            delete object;
        }
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    ULONG m_count = 0;
};

const std::string kKeyName = "CLSID\\" + GuidToText(kTestClass);

} // namespace

TEST_MODULE_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (clsid != kTestClass) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    auto* factory = new TestFactory();
    const HRESULT result = factory->QueryInterface(iid, out);
    if (FAILED(result)) {
        delete factory;
        *out = nullptr;
        return E_INVALIDARG;
    }
    return S_OK;
}

TEST_MODULE_EXPORT HRESULT DllCanUnloadNow() { return g_objectCount == 0 ? S_OK : S_FALSE; }

// Registers the module under its own path, as found by its ".DLL" name.
TEST_MODULE_EXPORT HRESULT DllRegisterServer()
{
    HKEY classKey = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, kKeyName.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &classKey, nullptr) != ERROR_SUCCESS) {
        return E_UNEXPECTED;
    }
    const char kTitle[] = "kernel test Module";
    RegSetValueExA(classKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kTitle), sizeof kTitle);
    HKEY serverKey = nullptr;
    HRESULT result = E_UNEXPECTED;
    if (RegCreateKeyExA(classKey, "InprocServer32", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &serverKey, nullptr) == ERROR_SUCCESS) {
        char path[261] = {};
        HMODULE self = GetModuleHandleA("KERNELTESTMODULE.DLL");
        const DWORD length = self != nullptr ? GetModuleFileNameA(self, path, sizeof path) : 0;
        if (length > 0 && length < sizeof path &&
            RegSetValueExA(serverKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path), length + 1) ==
                ERROR_SUCCESS) {
            result = S_OK;
        }
        RegCloseKey(serverKey);
    }
    RegCloseKey(classKey);
    return result;
}

TEST_MODULE_EXPORT HRESULT DllUnregisterServer()
{
    if (RegDeleteKeyA(HKEY_CLASSES_ROOT, (kKeyName + "\\InprocServer32").c_str()) != ERROR_SUCCESS ||
        RegDeleteKeyA(HKEY_CLASSES_ROOT, kKeyName.c_str()) != ERROR_SUCCESS) {
        return E_UNEXPECTED;
    }
    return S_OK;
}

TEST_MODULE_EXPORT int KernelTestAnswer() { return 42; }
