// The module's exports and class factory, through the built strimo.so as
// the host loads it, with a registry of its own per test.
#include <gtest/gtest.h>

#include <string>

#include "addins/milling/core/class_factory.h"
#include "addins/milling/core/strimo_ids.h"
#include "iaddin.h"
#include "platform/kernel/module.h"
#include "platform/kernel/registry.h"
#include "addins/milling/core/tests/strimo_test_support.h"

namespace {

using GetClassObjectFunction = HRESULT (*)(REFCLSID, REFIID, void**);
using PlainFunction = HRESULT (*)();

class StrimoModuleTest : public ::testing::Test {
protected:
    ScopedRegistry m_registry;
    void SetUp() override
    {
        m_module = LoadLibraryA((std::string(NUVEX_TEST_BIN_DIR) + "/AddIns/strimo.so").c_str());
        ASSERT_NE(m_module, nullptr);
        getClassObject = reinterpret_cast<GetClassObjectFunction>(GetProcAddress(m_module, "DllGetClassObject"));
        canUnloadNow = reinterpret_cast<PlainFunction>(GetProcAddress(m_module, "DllCanUnloadNow"));
        registerServer = reinterpret_cast<PlainFunction>(GetProcAddress(m_module, "DllRegisterServer"));
        unregisterServer = reinterpret_cast<PlainFunction>(GetProcAddress(m_module, "DllUnregisterServer"));
        ASSERT_NE(getClassObject, nullptr);
        ASSERT_NE(canUnloadNow, nullptr);
        ASSERT_NE(registerServer, nullptr);
        ASSERT_NE(unregisterServer, nullptr);
    }
    void TearDown() override
    {
        if (m_module != nullptr)
            FreeLibrary(m_module);
    }

    IClassFactory* Factory()
    {
        IClassFactory* factory = nullptr;
        EXPECT_EQ(getClassObject(CLSID_StrimoAddin, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
        return factory;
    }

    std::string DefaultValue(const std::string& key)
    {
        char value[4096] = {};
        LONG size = sizeof value;
        if (RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), value, &size) != ERROR_SUCCESS)
            return "(missing)";
        return value;
    }

    GetClassObjectFunction getClassObject = nullptr;
    PlainFunction canUnloadNow = nullptr;
    PlainFunction registerServer = nullptr;
    PlainFunction unregisterServer = nullptr;

private:
    HMODULE m_module = nullptr;
};

const char kServerKey[] = "CLSID\\{7114BE18-DC1C-402D-A3FF-3F275F3367AD}";

TEST_F(StrimoModuleTest, ClassObjectIsOnlyForTheModulesClassId)
{
    void* out = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(getClassObject(CLSID_NcFileCommand, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, reinterpret_cast<void*>(0x1234));
    EXPECT_EQ(getClassObject(CLSID_StrimoAddin, IID_IAddin, &out), E_INVALIDARG);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(canUnloadNow(), S_OK) << "a refused factory must not keep the module";
}

// Each row: the GUID the host asks with, and whether the module builds that
// class yet. Every built class answers its own GUID, IUnknown and its
// interface; the others answer E_NOINTERFACE with a null object.
TEST_F(StrimoModuleTest, CreationTableChoosesTheClassByGuid)
{
    struct Row {
        const char* name;
        const GUID* id;
        const IID* interfaceId; // what the object also answers
        bool built;
    };
    const Row rows[] = {
        {"transfer", &CLSID_TransferCommand, &IID_IAddinCommand, true},
        {"simulation", &CLSID_SimulationCommand, &IID_IAddinCommand, true},
        {"machine settings", &CLSID_PostprocessorSettingsCommand, &IID_IAddinCommand, true},
        {"tool store", &CLSID_ToolStoreCommand, &IID_IAddinCommand, true},
        {"nc file", &CLSID_NcFileCommand, &IID_IAddinCommand, true},
        {"contour", &CLSID_ContourMillingCommand, &IID_IAddinCommand, true},
        {"pocket", &CLSID_PocketMillingCommand, &IID_IAddinCommand, true},
        {"curve", &CLSID_CurveMillingCommand, &IID_IAddinCommand, true},
        {"add operation", &CLSID_AddOperationCommand, &IID_IAddinCommand, true},
        {"selection info", &CLSID_SelectionInfoHandler, &IID_IAddinCommand, true},
        {"job", &IID_IMillingJob, &IID_IObjectBase, true},
        {"nc code pane", &CLSID_NcCodePane, &IID_IAddinCommand, true},
        {"features pane", &CLSID_FeaturesPane, &IID_IAddinCommand, true},
        {"add-in", &IID_IAddin, &IID_IAddin, true},
    };
    IClassFactory* factory = Factory();
    ASSERT_NE(factory, nullptr);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        IUnknown* object = reinterpret_cast<IUnknown*>(0x1);
        const HRESULT made = factory->CreateInstance(nullptr, *row.id, reinterpret_cast<void**>(&object));
        if (!row.built) {
            EXPECT_EQ(made, E_NOINTERFACE);
            EXPECT_EQ(object, nullptr);
            continue;
        }
        ASSERT_EQ(made, S_OK);
        ASSERT_NE(object, nullptr);
        IUnknown* again = nullptr;
        EXPECT_EQ(object->QueryInterface(*row.interfaceId, reinterpret_cast<void**>(&again)), S_OK);
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(again->Release(), 1u);
        EXPECT_EQ(object->Release(), 0u);
    }
    factory->Release();
    EXPECT_EQ(canUnloadNow(), S_OK);
}

TEST_F(StrimoModuleTest, CreateInstanceRefusesAggregationAndUnknownGuids)
{
    IClassFactory* factory = Factory();
    ASSERT_NE(factory, nullptr);
    void* out = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(factory->CreateInstance(reinterpret_cast<IUnknown*>(factory), IID_IMillingJob, &out),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    IUnknown* unknown = nullptr;
    EXPECT_EQ(factory->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(factory->QueryInterface(IID_IAddin, &out), E_NOINTERFACE);
    unknown->Release();
    factory->Release();
}

// The module stays loaded while a factory reference, a lock or an object
// of the table other than the add-in object is held.
TEST_F(StrimoModuleTest, CanUnloadNowCountsFactoriesLocksAndObjects)
{
    EXPECT_EQ(canUnloadNow(), S_OK);
    IClassFactory* factory = Factory();
    ASSERT_NE(factory, nullptr);
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    factory->LockServer(TRUE);
    factory->LockServer(TRUE);
    IUnknown* addin = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IAddin, reinterpret_cast<void**>(&addin)), S_OK);
    IUnknown* job = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IMillingJob, reinterpret_cast<void**>(&job)), S_OK);
    factory->LockServer(FALSE);
    factory->LockServer(FALSE);
    EXPECT_EQ(canUnloadNow(), S_FALSE) << "the factory and the job are held";
    factory->Release();
    EXPECT_EQ(canUnloadNow(), S_FALSE) << "the job is held";
    job->Release();
    EXPECT_EQ(canUnloadNow(), S_OK) << "the add-in object does not count";
    addin->Release();
}

TEST_F(StrimoModuleTest, RegistrationWritesAndRemovesTheServerKeys)
{
    ASSERT_EQ(registerServer(), S_OK);
    EXPECT_EQ(DefaultValue(kServerKey), "strimo Module");
    const std::string server = DefaultValue(std::string(kServerKey) + "\\InprocServer32");
    EXPECT_NE(server.find("/AddIns/strimo.so"), std::string::npos) << server;
    EXPECT_EQ(unregisterServer(), S_OK);
    EXPECT_EQ(DefaultValue(kServerKey), "(missing)");
    EXPECT_EQ(unregisterServer(), E_UNEXPECTED);
}

TEST_F(StrimoModuleTest, UnregisteringAPartialRegistrationFailsAndKeepsTheClassKey)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, kServerKey, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(unregisterServer(), E_UNEXPECTED);
    HKEY opened = nullptr;
    EXPECT_EQ(RegOpenKeyA(HKEY_CLASSES_ROOT, kServerKey, &opened), ERROR_SUCCESS);
    if (opened != nullptr)
        RegCloseKey(opened);
}

} // namespace
