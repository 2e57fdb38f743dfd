// The add-in host without a window: the command table, the system variables
// registered through the host application object, presets and the checked
// state they give a command, and the class factories by class id.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/shell/addin_host.h"
#include "host/shell/host_application.h"

namespace {

constexpr GUID kFirstClassId = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x01}};
constexpr GUID kSecondClassId = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x02}};

// Only compared, never called.
IAddin* const kAddinA = reinterpret_cast<IAddin*>(0x1000);
IAddin* const kAddinB = reinterpret_cast<IAddin*>(0x2000);
IAddin* const kUnknownAddin = reinterpret_cast<IAddin*>(0x3000);
IClassFactory* const kFactoryA = reinterpret_cast<IClassFactory*>(0x1100);

VARIANT Value(VARTYPE type, double number)
{
    VARIANT value;
    VariantInit(&value);
    value.vt = type;
    switch (type) {
    case VT_R8:
        value.dblVal = number;
        break;
    case VT_R4:
        value.fltVal = static_cast<float>(number);
        break;
    case VT_I2:
    case VT_UI2:
        value.iVal = static_cast<SHORT>(number);
        break;
    case VT_I4:
    case VT_UI4:
        value.lVal = static_cast<LONG>(number);
        break;
    default:
        value.bVal = static_cast<BYTE>(number);
        break;
    }
    return value;
}

VARIANT ByName(const char* name)
{
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BYREF | VT_I1;
    value.pcVal = const_cast<char*>(name);
    return value;
}

class AddinHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CAddinRecord a;
        a.moduleTitle = "a";
        a.addin = kAddinA;
        a.classFactory = kFactoryA;
        a.classId = kFirstClassId;
        CAddinRecord b;
        b.moduleTitle = "b";
        b.addin = kAddinB;
        b.classId = kSecondClassId;
        host.AddinRecords() = {a, b};
    }
    CHostApplication& App() { return *host.HostApplication(); }

    CAddinHost host;
};

TEST_F(AddinHostTest, EachAddinCommandGetsOneEntryAndAnUnknownAddinNone)
{
    EXPECT_EQ(host.GetHostCommand(kAddinA, 5), 0);
    EXPECT_EQ(host.GetHostCommand(kAddinB, 5), 1);
    EXPECT_EQ(host.GetHostCommand(kAddinA, 5), 0);
    EXPECT_EQ(host.GetHostCommand(kUnknownAddin, 5), -1);
    EXPECT_EQ(host.GetHostCommand(nullptr, 5), -1);
    EXPECT_EQ(host.CommandCount(), 2u);
    EXPECT_EQ(host.FindHostCommand(kAddinB, 5), 1);
    EXPECT_EQ(host.FindHostCommand(kAddinB, 6), -1);
    const CAddinCommandEntry* entry = host.CommandEntry(1);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->addinIndex, 1);
    EXPECT_EQ(entry->addinCommandId, 5u);
    EXPECT_TRUE(entry->handlerClass == GUID{});
    EXPECT_TRUE(entry->name.empty() && entry->shortName.empty() && entry->toolTip.empty() &&
                entry->statusText.empty());
    EXPECT_EQ(host.CommandEntry(2), nullptr);
    EXPECT_EQ(host.CommandEntry(-1), nullptr);
}

TEST_F(AddinHostTest, AddinsAreFoundByInterfaceAndByClassIdAndFactoriesByClassId)
{
    EXPECT_EQ(host.FindAddinByInterface(kAddinB), 1);
    EXPECT_EQ(host.FindAddinByInterface(kUnknownAddin), -1);
    EXPECT_EQ(host.FindAddinByClsid(kSecondClassId), 1);
    EXPECT_EQ(host.FindAddinByClsid(GUID{}), -1);
    // The host's own factory whether or not add-ins are loaded.
    EXPECT_EQ(host.GetClassFactoryForClsid(CLSID_HostObjectFactory), &host.HostClassFactory());
    EXPECT_EQ(host.GetClassFactoryForClsid(kFirstClassId), kFactoryA);
    EXPECT_EQ(host.GetClassFactoryForClsid(kSecondClassId), nullptr);
    EXPECT_EQ(host.GetClassFactoryForAddin(nullptr), &host.HostClassFactory());
    EXPECT_EQ(host.GetClassFactoryForAddin(kAddinA), kFactoryA);
    EXPECT_EQ(host.GetClassFactoryForAddin(kUnknownAddin), nullptr);
    EXPECT_EQ(host.GetAddinCount(), 2);
}

TEST_F(AddinHostTest, TheBuiltInVariablesAreRegisteredInTheirOrderWithTheirDefaults)
{
    host.RegisterSystemVariables();
    ASSERT_EQ(host.SystemVariables().size(), 25u);
    EXPECT_EQ(host.FindSystemVariable("XSketchPlaneOrigin"), 0);
    EXPECT_EQ(host.FindSystemVariable("ZViewDirection"), 14);
    EXPECT_EQ(host.FindSystemVariable("OsnapNearest"), 24);
    EXPECT_EQ(host.FindSystemVariable("zviewdirection"), -1);
    const VARIANT z = host.GetVariableValue(14);
    EXPECT_EQ(z.vt, VT_R8);
    EXPECT_DOUBLE_EQ(z.dblVal, -1.0);
    EXPECT_EQ(host.GetVariableValue(1).vt, VT_I2);
    EXPECT_EQ(host.GetVariableValue(10).dblVal, 1.0);
    EXPECT_EQ(host.GetVariableValue(15).dblVal, 1.0);
    EXPECT_EQ(host.GetVariableValue(18).vt, VT_UI1);
    EXPECT_EQ(host.GetVariableValue(18).bVal, 1);
    EXPECT_EQ(host.GetVariableValue(25).vt, VT_EMPTY);
}

TEST_F(AddinHostTest, ATakenNameGetsANumber)
{
    LONG first = -1;
    LONG second = -1;
    LONG third = -1;
    ASSERT_EQ(App().RegisterVariable("Depth", Value(VT_R8, 1.0), &first), S_OK);
    ASSERT_EQ(App().RegisterVariable("Depth", Value(VT_R8, 2.0), &second), S_OK);
    ASSERT_EQ(App().RegisterVariable("Depth", Value(VT_I4, 3.0), &third), S_OK);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(third, 2);
    const char* name = nullptr;
    ASSERT_EQ(App().GetVariableName(1, &name), S_OK);
    EXPECT_STREQ(name, "Depth1");
    ASSERT_EQ(App().GetVariableName(2, &name), S_OK);
    EXPECT_STREQ(name, "Depth2");
    EXPECT_EQ(App().GetVariableName(3, &name), E_FAIL);
    EXPECT_EQ(App().GetVariableName(-1, &name), E_FAIL);
    LONG index = 99;
    EXPECT_EQ(App().FindVariable("Depth2", &index), S_OK);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(App().FindVariable("Width", &index), E_FAIL);
    EXPECT_EQ(index, 2);
    LONG count = 0;
    EXPECT_EQ(App().GetVariableCount(&count), S_OK);
    EXPECT_EQ(count, 3);
}

TEST(CompareVariants, SameTagAndValueByType)
{
    struct Row {
        const char* name;
        VARIANT a;
        VARIANT b;
        BOOL equal;
    };
    VARIANT text1 = ByName("x");
    VARIANT text2 = ByName("x");
    const Row rows[] = {
        {"bytes", Value(VT_UI1, 1), Value(VT_UI1, 1), TRUE},
        {"bytes_differ", Value(VT_UI1, 1), Value(VT_UI1, 0), FALSE},
        {"byte_against_short", Value(VT_UI1, 1), Value(VT_I2, 1), FALSE},
        {"shorts", Value(VT_I2, -3), Value(VT_I2, -3), TRUE},
        {"longs", Value(VT_I4, 70000), Value(VT_I4, 70000), TRUE},
        {"doubles", Value(VT_R8, 0.5), Value(VT_R8, 0.5), TRUE},
        {"doubles_differ_slightly", Value(VT_R8, 0.5), Value(VT_R8, 0.5000001), FALSE},
        {"floats", Value(VT_R4, 0.25), Value(VT_R4, 0.25), TRUE},
        {"texts_are_never_equal", text1, text2, FALSE},
        {"empty", Value(VT_EMPTY, 0), Value(VT_EMPTY, 0), FALSE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CAddinHost::CompareVariants(row.a, row.b), row.equal);
    }
}

class CommandPresetTest : public AddinHostTest {
protected:
    void SetUp() override
    {
        AddinHostTest::SetUp();
        host.RegisterSystemVariables();
        // 25 and 26: a switch of the add-in and a second one to compare with.
        App().RegisterVariable("Mode", Value(VT_UI1, 1), nullptr);
        App().RegisterVariable("OtherMode", Value(VT_UI1, 1), nullptr);
    }
    HRESULT Presets(std::vector<VARIANT> variables, std::vector<VARIANT> values, std::vector<uint32_t> flags)
    {
        return App().SetCommandPresets(kAddinA, 3, static_cast<LONG>(variables.size()), variables.data(),
                                       values.data(), flags.data());
    }
    const CAddinCommandEntry& Entry() { return *host.CommandEntry(host.FindHostCommand(kAddinA, 3)); }
};

TEST_F(CommandPresetTest, PresetsNameVariablesByIndexOrByNameAndRegisterTheirCommand)
{
    ASSERT_EQ(Presets({Value(VT_I4, 25), ByName("OtherMode")}, {Value(VT_UI1, 0), ByName("Mode")},
                      {kPresetOnStart | kPresetEnabled, kPresetOnStart | kPresetFromVariable}),
              S_OK);
    const CAddinCommandEntry& entry = Entry();
    ASSERT_EQ(entry.presetVariables.size(), 2u);
    EXPECT_EQ(entry.presetVariables[0], 25u);
    EXPECT_EQ(entry.presetVariables[1], 26u);
    EXPECT_EQ(entry.presetValues[0].vt, VT_UI1);
    // A reference to a variable is kept as its index.
    EXPECT_EQ(entry.presetValues[1].vt, VT_I4);
    EXPECT_EQ(entry.presetValues[1].lVal, 25);
    const int32_t command = host.FindHostCommand(kAddinA, 3);
    EXPECT_EQ(host.SystemVariables()[25].dependentCommands, std::vector<int32_t>{command});
    EXPECT_EQ(host.SystemVariables()[26].dependentCommands, std::vector<int32_t>{command});
    // Setting them again names the command once.
    ASSERT_EQ(Presets({Value(VT_I4, 25)}, {Value(VT_UI1, 0)}, {kPresetOnStart}), S_OK);
    EXPECT_EQ(host.SystemVariables()[25].dependentCommands.size(), 1u);
    EXPECT_EQ(Entry().presetVariables.size(), 1u);
}

TEST_F(CommandPresetTest, OneInvalidVariableLeavesTheCommandWithoutPresets)
{
    ASSERT_EQ(Presets({Value(VT_I4, 25)}, {Value(VT_UI1, 0)}, {kPresetOnStart}), S_OK);
    EXPECT_EQ(Presets({Value(VT_I4, 25), Value(VT_I4, 99)}, {Value(VT_UI1, 0), Value(VT_UI1, 0)},
                      {kPresetOnStart, kPresetOnStart}),
              E_FAIL);
    EXPECT_TRUE(Entry().presetVariables.empty() && Entry().presetValues.empty() && Entry().presetFlags.empty());
    EXPECT_EQ(Presets({ByName("Missing")}, {Value(VT_UI1, 0)}, {kPresetOnStart}), E_FAIL);
    EXPECT_EQ(Presets({Value(VT_I4, 25)}, {ByName("Missing")}, {kPresetFromVariable}), E_FAIL);
    EXPECT_TRUE(Entry().presetVariables.empty());
    EXPECT_EQ(Presets({}, {}, {}), S_OK);
    EXPECT_EQ(App().SetCommandPresets(kUnknownAddin, 3, 0, nullptr, nullptr, nullptr), E_FAIL);
}

TEST_F(CommandPresetTest, ConditionsGiveTheCheckedStateFromTheRegisteredDefaults)
{
    struct Row {
        const char* name;
        std::vector<VARIANT> variables;
        std::vector<VARIANT> values;
        std::vector<uint32_t> flags;
        uint32_t checkedBefore;
        uint32_t checkedAfter;
    };
    const uint32_t check = kPresetCheckCondition | kPresetComparesEqual;
    const uint32_t uncheck = kPresetUncheckCondition | kPresetComparesEqual;
    const Row rows[] = {
        {"all_check_conditions_hold", {Value(VT_I4, 25), Value(VT_I4, 18)}, {Value(VT_UI1, 1), Value(VT_UI1, 1)},
         {check, check}, 0, 1},
        {"one_check_condition_fails", {Value(VT_I4, 25), Value(VT_I4, 18)}, {Value(VT_UI1, 1), Value(VT_UI1, 0)},
         {check, check}, 1, 0},
        {"another_type_never_holds", {Value(VT_I4, 25)}, {Value(VT_I2, 1)}, {check}, 1, 0},
        {"against_another_variable", {Value(VT_I4, 25)}, {ByName("OtherMode")}, {check | kPresetFromVariable}, 0, 1},
        {"a_holding_uncheck_condition_unchecks", {Value(VT_I4, 25)}, {Value(VT_UI1, 1)}, {uncheck}, 1, 0},
        {"a_failing_uncheck_condition_leaves_it", {Value(VT_I4, 25)}, {Value(VT_UI1, 0)}, {uncheck}, 1, 1},
        {"presets_without_conditions_leave_it", {Value(VT_I4, 25)}, {Value(VT_UI1, 0)}, {kPresetOnStart}, 1, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<VARIANT> variables = row.variables;
        std::vector<VARIANT> values = row.values;
        std::vector<uint32_t> flags = row.flags;
        ASSERT_EQ(Presets(variables, values, flags), S_OK);
        host.CommandEntry(host.FindHostCommand(kAddinA, 3))->toggle = row.checkedBefore;
        host.RefreshCommandStates(TRUE);
        EXPECT_EQ(Entry().toggle, row.checkedAfter);
    }
}

} // namespace
