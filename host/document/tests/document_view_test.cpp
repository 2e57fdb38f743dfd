// What the document asks of its views: the closing of an event resets the
// input state of the view it came from (or of the first view), typed input
// gives the view the focus back, a view's activation rebuilds the panes
// and buttons; and the prompt's point rule for a tracking distance, and the
// two flag queries over a record's links.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/document/command_engine.h"
#include "host/document/tests/document_test_support.h"
#include "platform/framework/view.h"

namespace {

using namespace command_event;
using namespace command_result;

constexpr GUID kCommandClass = {0xd0c0ffee, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};

// A view of the document that records what the document asks of it.
class RecordingView : public CView, public IDocumentView {
public:
    explicit RecordingView(std::vector<std::string>& log) : m_log(log) {}
    void OnDraw(CDC*) override {}
    IHostView* GetHostView() override { return nullptr; }
    HWND GetViewWindow() override { return nullptr; }
    void ClearZoomWindow() override { m_log.push_back("view zoom window off"); }
    void FinishCommandEvent(BOOL refreshModifiers) override
    {
        m_log.push_back(std::string("view box off") + (refreshModifiers ? ", modifiers" : ""));
    }
    void TakeFocusAfterTypedInput() override { m_log.push_back("view focus"); }
    CNewMenu* GetContextMenu() override { return nullptr; }

private:
    std::vector<std::string>& m_log;
};

// A command that answers every event with the answer the test sets.
class AnsweringCommand : public CCountedObject<IAddinCommand, IID_IAddinCommand> {
public:
    explicit AnsweringCommand(LONG& answer) : m_answer(answer) {}
    HRESULT STDMETHODCALLTYPE Create(IHostDocument*, LONG, LONG_PTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void*, LONG, LONG, LONG* result) override
    {
        if (event != kSecondStart) {
            *result = m_answer;
        }
        return S_OK;
    }

private:
    LONG& m_answer;
};

class DocumentViewTest : public ::testing::Test {
protected:
    DocumentViewTest()
    {
        fixture.services.addinFactory.maker = [this](const IID& iid) -> IUnknown* {
            return iid == kCommandClass ? static_cast<IAddinCommand*>(new AnsweringCommand(answer)) : nullptr;
        };
        fixture.services.commands.push_back(Command(0, 100, kCommandClass));
        fixture.services.commands.push_back(Command(0, 101, kCommandClass));
        // The document is the fixture's: losing its last view must not delete it.
        document.m_bAutoDelete = FALSE;
        document.AddView(&view);
    }
    ~DocumentViewTest() override { document.RemoveView(&view); }
    // The log's entries about the view.
    std::vector<std::string> ViewLog() const
    {
        std::vector<std::string> entries;
        for (const std::string& entry : log) {
            if (entry.rfind("view ", 0) == 0) {
                entries.push_back(entry);
            }
        }
        return entries;
    }
    void StartCommand()
    {
        answer = 0;
        document.StartCommand(0, 1);
        log.clear();
    }

    DocumentFixture fixture;
    CNuvexDoc& document = fixture.document;
    std::vector<std::string>& log = fixture.output.log;
    RecordingView view{log};
    LONG answer = 0;
};

TEST_F(DocumentViewTest, AnEventClosedWithoutAViewLeavesZoomWindowModeAndEndingResetsTheBox)
{
    StartCommand();
    struct Row {
        const char* name;
        LONG result;
        bool fromView;
        std::vector<std::string> expected;
    };
    const Row rows[] = {
        {"kept_without_a_view", 0, false, {"view zoom window off"}},
        {"kept_from_the_view", 0, true, {}},
        {"not_handled_from_the_view", kNotHandled, true, {}},
        {"handed_on_without_a_view", kPassSelection, false, {"view zoom window off", "view box off, modifiers"}},
        {"ended_from_the_view", kEnd, true, {"view box off, modifiers"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (document.GetLevelCount() < 2) {
            StartCommand();
        }
        log.clear();
        document.EndCommandLevel(kModelPoint, row.result, row.fromView ? &view : nullptr, TRUE);
        EXPECT_EQ(ViewLog(), row.expected);
    }
    // Without refresh the feedback stays as it is.
    StartCommand();
    document.EndCommandLevel(kModelPoint, kEnd, &view, FALSE);
    EXPECT_EQ(ViewLog(), std::vector<std::string>{"view box off"});
}

TEST_F(DocumentViewTest, TypedInputThatWasTakenGivesTheViewTheFocusBack)
{
    StartCommand();
    document.Level(document.GetCurrentLevel()).inputKinds = {kValue, kValue, kValue};
    document.ProcessTypedInput("not a value", TRUE);
    EXPECT_TRUE(ViewLog().empty() || ViewLog().back() != "view focus");
    log.clear();
    document.ProcessTypedInput("12.5", TRUE);
    ASSERT_FALSE(ViewLog().empty());
    EXPECT_EQ(ViewLog().back(), "view focus");
    EXPECT_EQ(fixture.output.commandLine, "");
}

TEST_F(DocumentViewTest, ActivationShowsTheDocumentsLineAndButtonsAndTakesUpNewVariables)
{
    StartCommand();
    document.ProcessTypedInput("3,4", FALSE);
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_R8;
    fixture.services.variables.push_back({"Later", value});
    log.clear();
    document.OnViewActivated(TRUE, &view, nullptr);
    const std::vector<std::string> expected = {"line 3,4", "button 0 6", "button 1 4", "states 1"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(document.GetVariableCount(), static_cast<int32_t>(fixture.services.variables.size()));
    log.clear();
    document.OnViewActivated(FALSE, nullptr, &view);
    EXPECT_EQ(log, std::vector<std::string>{"states 0"});
    log.clear();
    // Another view becoming active refreshes nothing here.
    document.OnViewActivated(FALSE, &view, &view);
    EXPECT_TRUE(log.empty());
}

TEST_F(DocumentViewTest, ANumberMarksThePointWhenATrackingLineGivesItsDirection)
{
    StartCommand();
    document.Level(document.GetCurrentLevel()).inputKinds = {0x2, 0x2, 0x2};
    document.ProcessTypedInput("12", FALSE);
    EXPECT_EQ(fixture.output.prompt, "Point :");
    EXPECT_EQ(fixture.output.mark, "");
    document.SnapEngine().AddTrackingLine(CVector3(0.0, 0.0, 0.0), CVector3(1.0, 0.0, 0.0), 0);
    ASSERT_FALSE(document.SnapEngine().TrackingLines().empty());
    document.SnapEngine().TrackingLines().back().hit = 4;
    ASSERT_NE(document.SnapEngine().FindTrackingDirection(), nullptr);
    document.ProcessTypedInput("12", FALSE);
    EXPECT_EQ(fixture.output.mark, "Point");
    // A level that asks for a value takes the number as the value.
    document.Level(document.GetCurrentLevel()).inputKinds = {0x42, 0x42, 0x42};
    document.ProcessTypedInput("12", FALSE);
    EXPECT_EQ(fixture.output.prompt, "Point / Value :");
    EXPECT_EQ(fixture.output.mark, "Value");
}

TEST_F(DocumentViewTest, TheNamedAccessorsReachTheCurrentLevelsWords)
{
    StartCommand();
    EXPECT_EQ(document.GetActiveCommandId(), 0);
    document.GetInputFlagsA(1) = 0x2;
    document.GetInputFlagsA(2) = 0x40;
    document.GetInputFlagsA(4) = 0x80;
    document.GetInputFlagsB(2) = 0x11;
    const CommandLevel& level = document.Level(document.GetCurrentLevel());
    EXPECT_EQ(level.inputKinds[static_cast<size_t>(ModifierTable::Plain)], 0x2u);
    EXPECT_EQ(level.inputKinds[static_cast<size_t>(ModifierTable::Ctrl)], 0x40u);
    EXPECT_EQ(level.inputKinds[static_cast<size_t>(ModifierTable::Shift)], 0x80u);
    EXPECT_EQ(level.options[static_cast<size_t>(ModifierTable::Ctrl)], 0x11u);
    // Ctrl wins when both bits are given.
    EXPECT_EQ(document.GetInputFlagsA(6), 0x40u);
    EXPECT_DOUBLE_EQ(document.GetDocumentXYPlane().GetNormalValue().z.GetValue(), 1.0);
    EXPECT_EQ(document.GetFirstDocumentView(), &view);
}

// A link that answers its two flag queries with fixed words.
class FlagLink : public IRecordLink {
public:
    FlagLink(uint32_t first, uint32_t second) : m_first(first), m_second(second) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryFlagsA(IEntityRecord*, uint32_t argument, uint32_t* flags) override
    {
        arguments.push_back(argument);
        *flags = m_first;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryFlagsB(IEntityRecord*, uint32_t argument, uint32_t* flags) override
    {
        arguments.push_back(100 + argument);
        *flags = m_second;
        return m_second == 0 ? S_FALSE : S_OK;
    }
    std::vector<uint32_t> arguments;

private:
    uint32_t m_first;
    uint32_t m_second;
};

TEST(PartFlags, EachQueryIsOredOverTheRecordsLinks)
{
    FlagLink a(0x1, 0x10);
    FlagLink b(0x4, 0x20);
    FlagLink c(0x8, 0);
    const ComPtr<IEntityRecord> record =
        ComPtr<IEntityRecord>::Share(MakeHolder(static_cast<IObjectBase*>(new TestObject("x"))));
    IEntityRecord* holder = record.Get();
    for (FlagLink* link : {&a, &b, &c}) {
        holder->AddLink(link);
    }
    EXPECT_EQ(CollectPartFlagsA(holder, 3), 0xDu);
    EXPECT_EQ(CollectPartFlagsB(holder, 4), 0x30u);
    EXPECT_EQ(a.arguments, (std::vector<uint32_t>{3, 104}));
    EXPECT_EQ(CollectPartFlagsA(nullptr, 3), 0u);
    holder->RemoveAllLinks();
    EXPECT_EQ(CollectPartFlagsA(holder, 3), 0u);
}

} // namespace
