// The document's data model: a fresh document, reset, the object flag
// table and the copy of the system variables.
#include <gtest/gtest.h>

#include "host/document/host_document.h"
#include "host/document/tests/document_test_support.h"

namespace {

VARIANT MakeDouble(double value)
{
    VARIANT v{};
    v.vt = VT_R8;
    v.dblVal = value;
    return v;
}

VARIANT MakeByte(BYTE value)
{
    VARIANT v{};
    v.vt = VT_UI1;
    v.bVal = value;
    return v;
}

TEST(NuvexDocTest, AFreshDocumentIsEmptyAtTheRootLevel)
{
    DocumentFixture fixture;
    CNuvexDoc& document = fixture.document;
    EXPECT_EQ(document.GetObjectCount(), 0u);
    EXPECT_EQ(document.GetUndoStepCount(), 0u);
    EXPECT_EQ(document.GetUndoPosition(), 0);
    EXPECT_EQ(document.GetCurrentLevel(), 0);
    ASSERT_EQ(document.GetLevelCount(), 1u);
    const CommandLevel& root = document.Level(0);
    EXPECT_EQ(root.commandIndex, -1);
    EXPECT_FALSE(root.command);
    for (size_t table = 0; table < 3; ++table) {
        EXPECT_EQ(root.inputKinds[table], kRootInputKinds);
        EXPECT_EQ(root.options[table], kRootOptions);
    }
    EXPECT_EQ(root.promptLabels, "\t\t\t\t\t\t");
    EXPECT_EQ(document.GetLastStartedCommand(), -1);
    EXPECT_FALSE(document.IsModified());
    EXPECT_FALSE(document.HasFile());
}

TEST(NuvexDocTest, ResetReleasesEveryObjectOnceAndKeepsTheVariables)
{
    DocumentFixture fixture;
    fixture.services.variables.push_back({"Snap", MakeDouble(1.5)});
    CNuvexDoc& document = fixture.document;
    document.SyncSystemVariables();
    bool listed = false;
    bool shown = false;
    document.AddObject(MakeHolder(static_cast<IObjectBase*>(new TestObject("a", &listed))));
    auto shownObject = ComPtr<TestObject>::Share(new TestObject("b", &shown));
    document.AddCommandObject(static_cast<IObjectBase*>(shownObject.Get()), kNoOwner, kNoOwner);
    document.FindObjectFlagEntry(7, TRUE);
    document.PushLevel(0, nullptr);

    document.ResetDocument();
    EXPECT_TRUE(listed);
    EXPECT_FALSE(shown); // the test still holds its own reference
    shownObject.Reset();
    EXPECT_TRUE(shown);
    EXPECT_EQ(document.GetObjectCount(), 0u);
    EXPECT_TRUE(document.GetCommandObjects().empty());
    EXPECT_TRUE(document.ObjectFlagTable().empty());
    EXPECT_EQ(document.GetLevelCount(), 1u);
    EXPECT_EQ(document.GetCurrentLevel(), 0);
    EXPECT_EQ(document.GetVariableCount(), 1);
}

TEST(NuvexDocTest, ObjectFlagEntriesBelongToTheAddinOfTheRunningCommand)
{
    DocumentFixture fixture;
    // Command 0 belongs to add-in 3 and command 1 to add-in 5. Command
    // index 0 is a real command like any other.
    fixture.services.commands = {Command(3, 100), Command(5, 200)};
    CNuvexDoc& document = fixture.document;

    const int32_t atRoot = document.FindObjectFlagEntry(42, TRUE);
    document.PushLevel(0, nullptr);
    EXPECT_EQ(document.FindObjectFlagEntry(42, FALSE), -1);
    const int32_t first = document.FindObjectFlagEntry(42, TRUE);
    EXPECT_EQ(document.FindObjectFlagEntry(42, TRUE), first);
    document.PushLevel(1, nullptr);
    EXPECT_EQ(document.FindObjectFlagEntry(42, FALSE), -1);
    const int32_t second = document.FindObjectFlagEntry(42, TRUE);

    EXPECT_NE(atRoot, first);
    EXPECT_NE(first, second);
    const auto& table = document.ObjectFlagTable();
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[static_cast<size_t>(atRoot)].owner, -1);
    EXPECT_EQ(table[static_cast<size_t>(first)].owner, 3);
    EXPECT_EQ(table[static_cast<size_t>(second)].owner, 5);
}

TEST(NuvexDocTest, VariablesAreCopiedAndKeepTheirType)
{
    DocumentFixture fixture;
    fixture.services.variables.push_back({"Scale", MakeDouble(2.0)});
    CNuvexDoc document(fixture.services, fixture.output);
    ASSERT_EQ(document.GetVariableCount(), 1);
    // Registered after the document was opened: copied on the next sync
    // with the application's value of that moment.
    fixture.services.variables.push_back({"Mode", MakeByte(4)});
    document.SyncSystemVariables();
    fixture.services.variables[1].second.bVal = 9;
    ASSERT_EQ(document.GetVariableCount(), 2);
    VARIANT value{};
    ASSERT_EQ(document.GetVariable(1, &value), S_OK);
    EXPECT_EQ(value.bVal, 4);
    EXPECT_EQ(document.GetVariableFlags(1), 1u);

    IHostDocument* host = document.GetHostDocument();
    EXPECT_EQ(host->SetVariable(0, MakeByte(1)), E_FAIL);
    EXPECT_EQ(host->SetVariable(2, MakeDouble(1.0)), E_FAIL);
    EXPECT_EQ(host->SetVariable(-1, MakeDouble(1.0)), E_FAIL);
    ASSERT_EQ(host->GetVariable(0, &value), S_OK);
    EXPECT_DOUBLE_EQ(value.dblVal, 2.0);
    EXPECT_EQ(host->SetVariableByName("Scale", MakeDouble(7.25)), S_OK);
    ASSERT_EQ(host->GetVariableByName("Scale", &value), S_OK);
    EXPECT_DOUBLE_EQ(value.dblVal, 7.25);
    EXPECT_EQ(host->GetVariableByName("Missing", &value), E_FAIL);
}

TEST(NuvexDocTest, TemporariesAreRemovedByLevelByOwnerOrByHavingNeither)
{
    DocumentFixture fixture;
    fixture.services.commands = {Command(0, 1)};
    CNuvexDoc& document = fixture.document;
    IHostDocument* host = document.GetHostDocument();
    auto a = ComPtr<TestObject>::Share(new TestObject("a"));
    auto b = ComPtr<TestObject>::Share(new TestObject("b"));
    auto c = ComPtr<TestObject>::Share(new TestObject("c"));
    document.PushLevel(0, nullptr);
    host->AddTemporary(static_cast<IObjectBase*>(a.Get()), 1, 0, 0);
    host->AddTemporary(static_cast<IObjectBase*>(b.Get()), 0, 1, 77);
    host->AddTemporary(static_cast<IObjectBase*>(c.Get()), 0, 0, 0);
    LONG count = 0;
    host->GetTemporaryCount(&count);
    EXPECT_EQ(count, 3);

    host->RemoveTemporaries(0, 0, 0);
    host->GetTemporaryCount(&count);
    EXPECT_EQ(count, 2);
    host->RemoveTemporaries(0, 1, 78);
    host->GetTemporaryCount(&count);
    EXPECT_EQ(count, 2);
    host->RemoveTemporaries(0, 1, 77);
    host->RemoveTemporaries(1, 0, 0);
    host->GetTemporaryCount(&count);
    EXPECT_EQ(count, 0);
}

} // namespace
