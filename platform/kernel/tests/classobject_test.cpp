// Class objects through the registry into a module exporting
// DllGetClassObject, and class ids as text.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>

#include "platform/com/unknwn.h"
#include "platform/kernel/classobject.h"
#include "platform/kernel/filefind.h"
#include "platform/kernel/files.h"
#include "platform/kernel/module.h"
#include "platform/kernel/registry.h"
#include "platform/kernel/tests/kernel_test_support.h"

namespace {

constexpr CLSID kTestClass = {0x5A1F3C2E, 0x8B44, 0x4D0A, {0x9E, 0x61, 0x27, 0x3C, 0x10, 0xB5, 0xD4, 0x07}};
constexpr CLSID kOtherClass = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};
const std::string kModuleFolder = KERNEL_TEST_MODULE_DIR;

// Lets the test module register itself, as the host does for a module whose
// class id it could not use.
HRESULT RegisterTestModule()
{
    HMODULE module = LoadLibraryA((kModuleFolder + "\\KernelTestModule.dll").c_str());
    if (module == nullptr) {
        return E_FAIL;
    }
    using Entry = HRESULT (*)();
    auto entry = reinterpret_cast<Entry>(GetProcAddress(module, "DllRegisterServer"));
    const HRESULT result = entry != nullptr ? entry() : E_FAIL;
    FreeLibrary(module);
    return result;
}

void SetServer(REFCLSID clsid, const std::string& path)
{
    const std::string key = "CLSID\\" + GuidToText(clsid, GuidCase::Lower) + "\\InprocServer32";
    ASSERT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, path.c_str(), 0), ERROR_SUCCESS);
}

} // namespace

using ClassObject = IsolatedRegistry;

TEST_F(ClassObject, FoundThroughTheRegistryAfterSelfRegistration)
{
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(CoGetClassObject(kTestClass, CLSCTX_SERVER, nullptr, IID_IClassFactory, factory.ReceiveVoid()),
              REGDB_E_CLASSNOTREG);
    EXPECT_FALSE(factory);

    ASSERT_EQ(RegisterTestModule(), S_OK);
    char path[520];
    LONG size = sizeof path;
    ASSERT_EQ(RegQueryValueA(HKEY_CLASSES_ROOT, ("CLSID\\" + GuidToText(kTestClass) + "\\InprocServer32").c_str(),
                             path, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::string(path), kModuleFolder + "/KernelTestModule.so");

    ASSERT_EQ(CoGetClassObject(kTestClass, CLSCTX_SERVER, nullptr, IID_IClassFactory, factory.ReceiveVoid()), S_OK);
    ASSERT_TRUE(factory);
    ComPtr<IUnknown> object;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, object.ReceiveVoid()), S_OK);
    EXPECT_TRUE(object);
    // A context without the in-process server finds nothing.
    ComPtr<IClassFactory> none;
    EXPECT_EQ(CoGetClassObject(kTestClass, CLSCTX_LOCAL_SERVER, nullptr, IID_IClassFactory, none.ReceiveVoid()),
              REGDB_E_CLASSNOTREG);
}

TEST_F(ClassObject, FailuresOfTheServer)
{
    struct Case {
        const char* name;
        CLSID clsid;
        std::string server;
        HRESULT expected;
    };
    const Case kCases[] = {
        {"module_missing", kOtherClass, kModuleFolder + "\\Missing.dll", CO_E_DLLNOTFOUND},
        {"not_a_server", kOtherClass, kModuleFolder + "\\PlainModule.dll", CO_E_ERRORINDLL},
        {"server_refuses_class", kOtherClass, kModuleFolder + "\\KernelTestModule.dll", CLASS_E_CLASSNOTAVAILABLE},
        {"empty_path", kOtherClass, "", REGDB_E_CLASSNOTREG},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        SetServer(c.clsid, c.server);
        void* out = &out; // must stay untouched
        EXPECT_EQ(CoGetClassObject(c.clsid, CLSCTX_SERVER, nullptr, IID_IClassFactory, &out), c.expected);
        EXPECT_EQ(out, &out);
    }
    EXPECT_EQ(CoGetClassObject(kOtherClass, CLSCTX_SERVER, nullptr, IID_IClassFactory, nullptr), E_INVALIDARG);
}

TEST(ClassIdText, RoundTripAndRejects)
{
    LPOLESTR text = nullptr;
    ASSERT_EQ(StringFromCLSID(kTestClass, &text), S_OK);
    EXPECT_STREQ(text, "{5A1F3C2E-8B44-4D0A-9E61-273C10B5D407}");
    CLSID parsed = GUID_NULL;
    EXPECT_EQ(CLSIDFromString(text, &parsed), S_OK);
    EXPECT_EQ(parsed, kTestClass);
    CoTaskMemFree(text);

    EXPECT_EQ(CLSIDFromString("{5a1f3c2e-8b44-4d0a-9e61-273c10b5d407}", &parsed), S_OK);
    EXPECT_EQ(parsed, kTestClass);
    for (const char* bad : {"", "5A1F3C2E-8B44-4D0A-9E61-273C10B5D407", "{5A1F3C2E-8B44-4D0A-9E61-273C10B5D407",
                            "{5A1F3C2E-8B44-4D0A-9E61-273C10B5D407} ", "{ZA1F3C2E-8B44-4D0A-9E61-273C10B5D407}"}) {
        SCOPED_TRACE(bad);
        CLSID untouched = kOtherClass;
        EXPECT_EQ(CLSIDFromString(bad, &untouched), CO_E_CLASSSTRING);
        EXPECT_EQ(untouched, kOtherClass);
    }
    EXPECT_EQ(CLSIDFromString(nullptr, &parsed), E_INVALIDARG);
}

// The host finds a server's class id by comparing the registered server path
// with the path its file search gave; both must be the same text.
TEST_F(ClassObject, RegisteredPathIsTheFileSearchPath)
{
    char old[4096];
    ASSERT_NE(::getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(::chdir((kModuleFolder + "/..").c_str()), 0);
    WIN32_FIND_DATAA found{};
    HANDLE find = FindFirstFileA("kernel_modules\\Kernel*.dll", &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    FindClose(find);
    char path[MAX_PATH + 1];
    ASSERT_GT(GetFullPathNameA((std::string("kernel_modules\\") + found.cFileName).c_str(), sizeof path, path, nullptr),
              0u);
    HMODULE module = LoadLibraryA(path);
    ASSERT_EQ(::chdir(old), 0);
    ASSERT_NE(module, nullptr);
    using Entry = HRESULT (*)();
    auto registerServer = reinterpret_cast<Entry>(GetProcAddress(module, "DllRegisterServer"));
    ASSERT_NE(registerServer, nullptr);
    ASSERT_EQ(registerServer(), S_OK);
    FreeLibrary(module);

    char registered[520];
    LONG size = sizeof registered;
    ASSERT_EQ(RegQueryValueA(HKEY_CLASSES_ROOT, ("CLSID\\" + GuidToText(kTestClass) + "\\InprocServer32").c_str(),
                             registered, &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(registered, path);
}
