// Undo and redo: sequences that must bring the document back to the same
// file bytes, the history's ends, discarded redo steps and change entries.
#include <gtest/gtest.h>

#include "host/document/tests/document_test_support.h"

namespace {

// The document as file bytes, the way to compare whole states.
std::string Bytes(CNuvexDoc& document, const TempFolder& folder)
{
    const std::string path = folder.File("state.nvx");
    const BOOL modified = document.IsModified();
    EXPECT_TRUE(document.OnSaveDocument(path.c_str()));
    document.SetModifiedFlag(modified);
    return ReadFileBytes(path);
}

IEntityRecord* Add(CNuvexDoc& document, const std::string& bytes, bool* destroyed = nullptr)
{
    IEntityRecord* holder = MakeHolder(static_cast<IObjectBase*>(new TestObject(bytes, destroyed)));
    document.AddObject(holder);
    return holder;
}

TestObject* ObjectAt(CNuvexDoc& document, size_t index)
{
    IUnknown* held = nullptr;
    document.GetObjectAt(index)->GetObject(&held);
    return static_cast<TestObject*>(static_cast<IObjectBase*>(held));
}

TEST(UndoTest, UndoAndRedoReturnTheDocumentToItsEarlierBytes)
{
    DocumentFixture fixture;
    TempFolder folder;
    CNuvexDoc& document = fixture.document;
    Add(document, "base");
    document.CommitUndoStep();
    const std::string before = Bytes(document, folder);

    // One command: two objects added, the first one removed, the second
    // one changed.
    Add(document, "one");
    Add(document, "two");
    document.RemoveObjectAt(0);
    document.ModifyObjectAt(1);
    ObjectAt(document, 1)->SetBytes("two, changed");
    document.CommitUndoStep();
    const std::string after = Bytes(document, folder);
    ASSERT_NE(before, after);
    EXPECT_EQ(document.GetUndoStepCount(), 2u);

    fixture.output.log.clear();
    document.OnEditUndo();
    EXPECT_EQ(Bytes(document, folder), before);
    document.OnEditRedo();
    EXPECT_EQ(Bytes(document, folder), after);
    document.OnEditUndo();
    EXPECT_EQ(Bytes(document, folder), before);
    document.OnEditUndo();
    EXPECT_EQ(Bytes(document, folder), I32(0));
    document.OnEditRedo();
    document.OnEditRedo();
    EXPECT_EQ(Bytes(document, folder), after);
    // Every undo and redo fires the event and redraws, after the root's
    // selection handler was cancelled.
    std::vector<std::string> events;
    for (size_t i = 0; i + 1 < fixture.output.log.size(); ++i) {
        if (fixture.output.log[i] == "event 2") {
            EXPECT_EQ(fixture.output.log[i + 1], "update");
            events.push_back(fixture.output.log[i]);
        }
    }
    EXPECT_EQ(events.size(), 6u);
}

TEST(UndoTest, TheEndsOfTheHistoryDoNothing)
{
    DocumentFixture fixture;
    CNuvexDoc& document = fixture.document;
    document.OnEditUndo();
    document.OnEditRedo();
    document.CommitUndoStep();
    EXPECT_TRUE(fixture.output.log.empty());
    EXPECT_EQ(document.GetUndoStepCount(), 0u);
    EXPECT_FALSE(document.IsModified());

    Add(document, "a");
    document.CommitUndoStep();
    EXPECT_TRUE(document.IsModified());
    document.OnEditRedo();
    EXPECT_EQ(document.GetUndoPosition(), 1);
    EXPECT_EQ(fixture.output.log, (std::vector<std::string>{"event 2"}));
}

TEST(UndoTest, ACommitAfterUndoDiscardsTheRedoStepsAndReleasesTheirHolders)
{
    DocumentFixture fixture;
    CNuvexDoc& document = fixture.document;
    bool undoneGone = false;
    Add(document, "undone", &undoneGone);
    document.CommitUndoStep();
    document.OnEditUndo();
    EXPECT_EQ(document.GetObjectCount(), 0u);
    EXPECT_FALSE(undoneGone);

    Add(document, "new");
    document.CommitUndoStep();
    EXPECT_TRUE(undoneGone);
    EXPECT_EQ(document.GetUndoStepCount(), 1u);
    document.OnEditRedo();
    EXPECT_EQ(document.GetObjectCount(), 1u);
    EXPECT_EQ(ObjectAt(document, 0)->Bytes(), "new");
}

TEST(UndoTest, AChangeEntrySwapsContentsAndLeavesTheHoldersInPlace)
{
    DocumentFixture fixture;
    CNuvexDoc& document = fixture.document;
    IEntityRecord* holder = Add(document, "old");
    document.CommitUndoStep();
    document.ModifyObjectAt(0);
    ObjectAt(document, 0)->SetBytes("new");
    document.CommitUndoStep();

    const char* kExpected[] = {"old", "new", "old"};
    for (int step = 0; step < 3; ++step) {
        SCOPED_TRACE(step);
        if (step == 1) {
            document.OnEditRedo();
        } else {
            document.OnEditUndo();
        }
        ASSERT_EQ(document.GetObjectCount(), 1u);
        EXPECT_EQ(document.GetObjectAt(0), holder);
        EXPECT_EQ(ObjectAt(document, 0)->Bytes(), kExpected[step]);
    }
}

TEST(UndoTest, ChangesMarkedToStayOutOfTheHistoryRecordNothing)
{
    DocumentFixture fixture;
    CNuvexDoc& document = fixture.document;
    IEntityRecord* holder = MakeHolder(static_cast<IObjectBase*>(new TestObject("x")));
    holder->SetFlags(kHolderNoUndo);
    IHostDocument* host = document.GetHostDocument();
    host->AddObject(holder);
    host->RemoveObject(holder);
    EXPECT_EQ(document.GetPendingUndoCount(), 0u);
    EXPECT_EQ(document.GetObjectCount(), 0u);
}

// A link answering a fixed word to its first flag query.
class VetoLink : public IRecordLink {
public:
    explicit VetoLink(uint32_t answer) : m_answer(answer) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_count; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_count; }
    HRESULT STDMETHODCALLTYPE QueryFlagsA(IEntityRecord*, uint32_t argument, uint32_t* flags) override
    {
        m_argument = argument;
        *flags = m_answer;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryFlagsB(IEntityRecord*, uint32_t, uint32_t* flags) override
    {
        *flags = 0x1;
        return S_OK;
    }
    uint32_t m_argument = 0;

private:
    uint32_t m_answer;
    ULONG m_count = 1;
};

TEST(UndoTest, ALinkAnsweringBitOneKeepsTheRecord)
{
    const struct {
        uint32_t answer;
        size_t remaining;
    } cases[] = {{0x0, 0u}, {0x2, 0u}, {0x1, 1u}, {0x3, 1u}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        DocumentFixture fixture;
        VetoLink link(c.answer);
        IEntityRecord* holder = MakeHolder(static_cast<IObjectBase*>(new TestObject("x")));
        IHostDocument* host = fixture.document.GetHostDocument();
        host->AddObject(holder);
        holder->AddLink(&link);
        host->RemoveObject(holder);
        EXPECT_EQ(link.m_argument, 1u);
        EXPECT_EQ(fixture.document.GetObjectCount(), c.remaining);
        holder->RemoveAllLinks();
    }
}

} // namespace
