// The root-level selection handler: plain and Ctrl picks, hover previews,
// cancel, and the add-in's root handler with its failures.
#include <gtest/gtest.h>

#include "host/document/command_engine.h"
#include "host/document/host_entity_set.h"
#include "host/document/tests/document_test_support.h"
#include "objectmodel/collection_b.h"
#include "objectmodel/entity_record.h"
#include "objectmodel/interface_holder.h"
#include "objectmodel/selection_set_object.h"

namespace {

using namespace command_event;

// A root handler of the fake add-in that logs its calls; it can be told
// to fail its events.
class LoggingHandler : public CCountedObject<IAddinCommand, IID_IAddinCommand> {
public:
    LoggingHandler(std::vector<std::string>& log, bool failEvents) : m_log(log), m_failEvents(failEvents) {}
    ~LoggingHandler() override { m_log.push_back("released"); }
    HRESULT STDMETHODCALLTYPE Create(IHostDocument*, LONG number, LONG_PTR) override
    {
        m_log.push_back("create " + std::to_string(number));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void*, LONG, LONG, LONG*) override
    {
        m_log.push_back("event " + std::to_string(event));
        return m_failEvents ? E_FAIL : S_OK;
    }

private:
    std::vector<std::string>& m_log;
    bool m_failEvents;
};

class HostEntitySetTest : public ::testing::Test {
protected:
    HostEntitySetTest()
    {
        for (const char* name : {"a", "b", "c"}) {
            IEntityRecord* record = MakeHolder(static_cast<IObjectBase*>(new TestObject(name)));
            document.AddObject(record);
            records.push_back(record);
        }
    }

    // A pick of the given records with a modifier kind; returns the answer.
    LONG Pick(std::initializer_list<IEntityRecord*> picked, LONG final, LONG kind)
    {
        CSelectionSetObject set;
        for (IEntityRecord* record : picked) {
            set.Add(ObjectIdOf(record));
        }
        ISelectionSet* pointer = &set;
        LONG result = command_result::kNotHandled;
        handler.OnEvent(kPickB, &pointer, final, kind, &result);
        return result;
    }

    std::vector<uintptr_t> Ids(std::initializer_list<IEntityRecord*> list)
    {
        std::vector<uintptr_t> ids;
        for (IEntityRecord* record : list) {
            ids.push_back(ObjectIdOf(record));
        }
        return ids;
    }

    void RegisterHandler(bool failEvents)
    {
        const GUID kHandlerClass = {0xabcd, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
        fixture.services.rootHandlers.push_back({fixture.services.fakeAddin, kHandlerClass, 0});
        fixture.services.addinFactory.maker = [this, failEvents, kHandlerClass](const IID& iid) -> IUnknown* {
            return iid == kHandlerClass ? new LoggingHandler(handlerLog, failEvents) : nullptr;
        };
    }

    // Outlives the document, whose end releases the handler.
    std::vector<std::string> handlerLog;
    DocumentFixture fixture;
    CNuvexDoc& document = fixture.document;
    CHostEntitySet& handler = document.SelectionHandler();
    std::vector<IEntityRecord*> records;
};

TEST_F(HostEntitySetTest, PlainPicksSelectAndCtrlPicksToggle)
{
    IEntityRecord* a = records[0];
    IEntityRecord* b = records[1];
    IEntityRecord* c = records[2];
    struct PickStep {
        const char* name;
        std::initializer_list<IEntityRecord*> picked;
        LONG kind;
        std::vector<uintptr_t> selection;
    };
    const PickStep kSteps[] = {
        {"plain_selects", {a}, 1, Ids({a})},
        {"plain_replaces", {b, c}, 1, Ids({b, c})},
        {"ctrl_adds", {a}, 2, Ids({b, c, a})},
        {"ctrl_removes", {c}, 2, Ids({b, a})},
        {"empty_ctrl_keeps", {}, 2, Ids({b, a})},
        {"empty_plain_clears", {}, 1, {}},
    };
    for (const PickStep& step : kSteps) {
        SCOPED_TRACE(step.name);
        EXPECT_EQ(Pick(step.picked, 1, step.kind), 0);
        EXPECT_EQ(handler.GetSelection(), step.selection);
    }
}

TEST_F(HostEntitySetTest, HoverPreviewsWhatAClickWouldDo)
{
    Pick({records[0]}, 1, 1);
    Pick({records[0], records[1]}, 0, 2);
    const auto& shown = document.GetCommandObjects();
    ASSERT_EQ(shown.size(), 2u);
    const uint32_t kExpected[] = {kPreviewDeselect | kPreviewMarker, kPreviewSelect | kPreviewMarker};
    for (size_t i = 0; i < shown.size(); ++i) {
        ComPtr<IEntityRecord> preview;
        ASSERT_EQ(shown[i].object->QueryInterface(IID_IEntityRecord, preview.ReceiveVoid()), S_OK);
        uint32_t flags = 0;
        preview->GetFlags(&flags);
        EXPECT_EQ(flags, kExpected[i]);
    }
    // A hover changes no selection; the next event drops the previews.
    EXPECT_EQ(handler.GetSelection(), Ids({records[0]}));
    Pick({}, 0, 1);
    EXPECT_TRUE(document.GetCommandObjects().empty());
}

TEST_F(HostEntitySetTest, CancelAnswersEndAndClearsTheSelection)
{
    Pick({records[0], records[1]}, 1, 1);
    LONG result = command_result::kNotHandled;
    handler.OnEvent(kCancel, nullptr, 1, 0, &result);
    EXPECT_EQ(result, command_result::kEnd);
    EXPECT_TRUE(handler.GetSelection().empty());
}

TEST_F(HostEntitySetTest, WithoutARegisteredHandlerTheSelectionWorksAlone)
{
    Pick({records[0]}, 1, 1);
    EXPECT_EQ(handler.GetHandler(), nullptr);
    EXPECT_EQ(handler.GetSelection(), Ids({records[0]}));
}

TEST_F(HostEntitySetTest, TheRegisteredHandlerIsMadeOnceAndGetsEveryFinalPick)
{
    RegisterHandler(false);
    Pick({records[0]}, 0, 1);
    EXPECT_TRUE(handlerLog.empty());
    Pick({records[0]}, 1, 1);
    Pick({records[1]}, 1, 1);
    LONG result = 0;
    handler.OnEvent(kCancel, nullptr, 1, 0, &result);
    EXPECT_EQ(handlerLog, (std::vector<std::string>{"create 131076", "event 131076", "create 131076",
                                                    "event 131076", "event 16"}));
}

TEST_F(HostEntitySetTest, AFailingHandlerIsReleasedAndNeverCalledAgain)
{
    RegisterHandler(true);
    Pick({records[0]}, 1, 1);
    EXPECT_EQ(handler.GetHandler(), nullptr);
    LONG result = 0;
    handler.OnEvent(kCancel, nullptr, 1, 0, &result);
    EXPECT_EQ(handlerLog, (std::vector<std::string>{"create 131076", "event 131076", "released"}));
    // The next final pick makes a new one.
    Pick({records[1]}, 1, 1);
    EXPECT_EQ(handlerLog.size(), 6u);
}

TEST_F(HostEntitySetTest, TheEndOfACommandResetsTheRoot)
{
    Pick({records[0]}, 1, 1);
    LONG result = 0;
    handler.OnEvent(kStart, nullptr, 1, 0, &result);
    EXPECT_TRUE(handler.GetSelection().empty());
    uint32_t kinds = 0;
    document.GetHostDocument()->GetInputKinds(&kinds, 2);
    EXPECT_EQ(kinds, static_cast<uint32_t>(kPickB));
}

} // namespace

namespace {

TEST_F(HostEntitySetTest, TheChangeBroadcastGivesTheSelectionTheCurrentColour)
{
    Pick({records[1]}, 1, 1);
    CCollectionB colour(0x00ff00, 0);
    document.GetHostDocument()->SetSettings(&colour);
    for (size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(i);
        int32_t children = 0;
        records[i]->GetChildCount(&children);
        if (i != 1) {
            EXPECT_EQ(children, 0);
            continue;
        }
        // The colour and the document's attributes were attached.
        EXPECT_EQ(children, 2);
        ICollectionB* attached = CInterfaceHolder(records[i]).FindCollectionB();
        ASSERT_NE(attached, nullptr);
        uint32_t value = 0;
        attached->GetValue(&value);
        EXPECT_EQ(value, 0x00ff00u);
    }
}

} // namespace
