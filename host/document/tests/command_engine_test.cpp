// The command engine driven by a scripted fake add-in: each test starts,
// nests, cancels or ends commands and compares the exact sequence of
// events, answers and host calls.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>

#include "host/document/command_engine.h"
#include "host/document/tests/document_test_support.h"
#include "iselection.h"

namespace {

using namespace command_event;
using namespace command_result;

std::string Hex(LONG value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(value));
    return text;
}

// What a scripted command does on one event: its answer and an optional
// action run before it answers.
struct Step {
    LONG answer = kNotHandled;
    std::function<void(IHostDocument*, void*)> action;
};

// A command object that logs every call into the shared log and answers
// by its script; events without a script row stay unhandled.
class ScriptedCommand : public CCountedObject<IAddinCommand, IID_IAddinCommand> {
public:
    ScriptedCommand(std::string name, std::vector<std::string>& log, std::map<LONG, Step> script)
        : m_name(std::move(name)), m_log(log), m_script(std::move(script))
    {
    }
    ~ScriptedCommand() override { m_log.push_back(m_name + " released"); }
    HRESULT STDMETHODCALLTYPE Create(IHostDocument* document, LONG number, LONG_PTR) override
    {
        m_document = document;
        m_log.push_back(m_name + " create " + std::to_string(number));
        if (auto it = m_script.find(0); it != m_script.end() && it->second.action) {
            it->second.action(document, nullptr);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnEvent(LONG event, void* value, LONG, LONG, LONG* result) override
    {
        m_log.push_back(m_name + " " + Hex(event));
        auto it = m_script.find(event);
        if (it != m_script.end()) {
            if (it->second.action) {
                it->second.action(m_document, value);
            }
            *result = it->second.answer;
        }
        return S_OK;
    }

private:
    std::string m_name;
    std::vector<std::string>& m_log;
    std::map<LONG, Step> m_script;
    IHostDocument* m_document = nullptr;
};

class RecordingRoot : public IRootEventHandler {
public:
    explicit RecordingRoot(std::vector<std::string>& log) : m_log(log) {}
    HRESULT OnEvent(LONG code, void*, LONG, LONG, LONG* result) override
    {
        m_log.push_back("root " + Hex(code));
        // The selection handler ends its own work on a cancel.
        if (code == kCancel) {
            *result = kEnd;
        }
        return S_OK;
    }
    std::vector<uintptr_t> GetSelection() override { return selection; }
    bool IsDraggingGrip() override { return false; }
    std::vector<uintptr_t> selection;

private:
    std::vector<std::string>& m_log;
};

GUID ClassOf(int n) { return GUID{0xc0de0000u + static_cast<uint32_t>(n), 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}}; }

// A document whose add-in makes scripted commands: command table entry i
// is the add-in's command 100 + i with handler class ClassOf(i).
class CommandEngineTest : public ::testing::Test {
protected:
    CommandEngineTest()
    {
        fixture.services.addinFactory.maker = [this](const IID& iid) -> IUnknown* {
            for (size_t i = 0; i < scripts.size(); ++i) {
                if (iid == ClassOf(static_cast<int>(i))) {
                    return new ScriptedCommand(std::string(1, static_cast<char>('A' + i)), log, scripts[i]);
                }
            }
            return nullptr;
        };
        fixture.document.SetRootHandler(&root);
    }

    // Registers a command and returns its host command index.
    int32_t AddCommand(std::map<LONG, Step> script)
    {
        const auto index = static_cast<int32_t>(scripts.size());
        scripts.push_back(std::move(script));
        fixture.services.commands.push_back(Command(0, 100 + static_cast<uint32_t>(index), ClassOf(index)));
        return index;
    }

    // The log without the view and button bookkeeping, for tests about
    // the order of events.
    std::vector<std::string> Events() const
    {
        std::vector<std::string> events;
        for (const std::string& line : log) {
            if (line.rfind("update", 0) != 0 && line.rfind("states", 0) != 0 && line.rfind("button", 0) != 0 &&
                line.rfind("snap", 0) != 0) {
                events.push_back(line);
            }
        }
        return events;
    }

    DocumentFixture fixture;
    std::vector<std::string>& log = fixture.output.log;
    RecordingRoot root{log};
    std::vector<std::map<LONG, Step>> scripts;
    CNuvexDoc& document = fixture.document;
};

TEST_F(CommandEngineTest, AStartedCommandRunsItsStartStepsAndCancelsTheRoot)
{
    const int32_t a = AddCommand({{kStart, {0, {}}}});
    document.StartCommand(a, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"A create 100", "button 0 6", "A 1", "update", "states 0", "snap",
                                             "root 10", "button 0 6", "A 2001", "states 0", "update"}));
    EXPECT_EQ(document.GetLevelCount(), 2u);
    EXPECT_TRUE(document.IsCommandActive());
    EXPECT_EQ(document.GetLastStartedCommand(), a);
}

TEST_F(CommandEngineTest, AClickAnsweredWithCommitMakesOneUndoStepAndResumesTheRoot)
{
    auto addObject = [](IHostDocument* host, void*) {
        host->AddObject(MakeHolder(static_cast<IObjectBase*>(new TestObject("p"))));
    };
    const int32_t a = AddCommand({{kStart, {0, {}}}, {kModelPoint, {kCommit, addObject}}});
    document.StartCommand(a, 1);
    log.clear();
    LONG result = kNotHandled;
    document.SendCommandEvent(kModelPoint, nullptr, 1, 1, &result);
    document.EndCommandLevel(kModelPoint, result, TRUE);
    EXPECT_EQ(log, (std::vector<std::string>{"A 200002", "update", "event 2", "states 0", "button 0 4", "snap",
                                             "A released", "root 1", "line ", "update"}));
    EXPECT_EQ(document.GetLevelCount(), 1u);
    EXPECT_EQ(document.GetUndoStepCount(), 1u);
    EXPECT_EQ(document.GetObjectCount(), 1u);
    EXPECT_FALSE(document.IsCommandActive());
}

TEST_F(CommandEngineTest, ARefusedStartLeavesNoLevelAndTheSecondStepReachesTheRoot)
{
    const int32_t a = AddCommand({});
    document.StartCommand(a, 1);
    EXPECT_EQ(Events(), (std::vector<std::string>{"A create 100", "A 1", "A released", "root 2001"}));
    EXPECT_EQ(document.GetLevelCount(), 1u);
    EXPECT_EQ(document.GetLastStartedCommand(), a);
}

// A command that finishes on its start event (a file written, a one-shot
// dialog) leaves nothing running, so closing the document is not refused;
// one that keeps its level stays the running command.
TEST_F(CommandEngineTest, OnlyACommandThatKeepsItsLevelStaysActiveAfterItsStart)
{
    struct Row {
        const char* name;
        LONG answer;
        size_t levels;
        bool active;
    };
    const Row rows[] = {
        {"committed on start", kCommit, 1, false},
        {"ended on start", kEnd, 1, false},
        {"a one-shot dialog ended as a nested level", kNested | kCommit, 1, false},
        {"refused", kNotHandled, 1, false},
        {"waiting for input", 0, 2, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const int32_t a = AddCommand({{kStart, {row.answer, {}}}, {kCancel, {kEnd, {}}}});
        document.StartCommand(a, 1);
        EXPECT_EQ(document.GetLevelCount(), row.levels);
        EXPECT_EQ(document.IsCommandActive() != FALSE, row.active);
        if (document.GetLevelCount() > 1) {
            document.CancelCommand();
        }
        EXPECT_FALSE(document.IsCommandActive());
    }
}

TEST_F(CommandEngineTest, ACommandWithoutAnObjectStartsNothing)
{
    const int32_t a = AddCommand({});
    fixture.services.commands[static_cast<size_t>(a)].handlerClass = GUID{};
    document.StartCommand(a, 1);
    EXPECT_EQ(Events(), (std::vector<std::string>{"root 2001"}));
    EXPECT_EQ(document.GetLevelCount(), 1u);
    document.StartCommand(kMaxHostCommand, 1);
    EXPECT_EQ(document.GetLastStartedCommand(), a);
}

TEST_F(CommandEngineTest, StartingAnotherCommandCancelsTheRunningOneAndTheRootFirst)
{
    const int32_t a = AddCommand({{kStart, {0, {}}}});
    const int32_t b = AddCommand({{kStart, {0, {}}}});
    document.StartCommand(a, 1);
    log.clear();
    document.StartCommand(b, 1);
    EXPECT_EQ(Events(), (std::vector<std::string>{"B create 101", "B 1", "A 10", "root 10", "A released", "B 2001"}));
    ASSERT_EQ(document.GetLevelCount(), 2u);
    EXPECT_EQ(document.Level(1).commandIndex, b);
}

TEST_F(CommandEngineTest, ANestedCommandEndsIntoItsParentWhichCanEndInTurn)
{
    const int32_t a = AddCommand({{kStart, {0, {}}}, {kChildEnded, {kEnd, {}}}});
    const int32_t b = AddCommand({{kStart, {kNested, {}}}, {kAccept, {kEnd, {}}}});
    document.StartCommand(a, 1);
    document.StartCommand(b, 1);
    EXPECT_EQ(document.GetLevelCount(), 3u);
    log.clear();
    LONG result = kNotHandled;
    document.SendCommandEvent(kAccept, nullptr, 1, 0, &result);
    document.EndCommandLevel(kAccept, result, TRUE);
    EXPECT_EQ(Events(), (std::vector<std::string>{"B 100", "B released", "A 400", "A released", "root 1", "line ",
                                                  "line "}));
    EXPECT_EQ(document.GetLevelCount(), 1u);
}

TEST_F(CommandEngineTest, ANestedStartTellsTheParent)
{
    const int32_t a = AddCommand({{kStart, {0, {}}}});
    const int32_t b = AddCommand({{kStart, {kNested, {}}}});
    document.StartCommand(a, 1);
    log.clear();
    document.StartCommand(b, 1);
    EXPECT_EQ(Events(), (std::vector<std::string>{"B create 101", "B 1", "A 200", "B 2001"}));
    EXPECT_EQ(document.GetLevelCount(), 3u);
}

TEST_F(CommandEngineTest, PressingTheRunningCommandAgainCancelsItAndAppliesTheToggleOffPresets)
{
    VARIANT zero{};
    zero.vt = VT_I4;
    VARIANT one = zero;
    one.lVal = 1;
    VARIANT two = zero;
    two.lVal = 2;
    fixture.services.variables.push_back({"Ortho", zero});
    document.SyncSystemVariables();
    const int32_t a = AddCommand({{kStart, {0, {}}}, {kCancel, {kEnd, {}}}});
    CommandTableEntry& entry = fixture.services.commands[static_cast<size_t>(a)];
    entry.presetVariables = {0, 0};
    entry.presetValues = {one, two};
    entry.presetFlags = {kPresetOnStart | kPresetEnabled, kPresetOnToggleOff | kPresetEnabled};

    VARIANT value{};
    document.StartCommand(a, 1);
    document.GetVariable(0, &value);
    EXPECT_EQ(value.lVal, 1);
    log.clear();
    document.StartCommand(a, 0);
    EXPECT_EQ(Events(), (std::vector<std::string>{"A 10", "A released", "root 1", "line "}));
    document.GetVariable(0, &value);
    EXPECT_EQ(value.lVal, 2);
}

TEST_F(CommandEngineTest, RepeatingTheRunningCommandReplacesIt)
{
    const int32_t a = AddCommand({{kStart, {0, {}}}});
    document.StartCommand(a, 1);
    log.clear();
    document.StartCommand(a, 1);
    EXPECT_EQ(Events(), (std::vector<std::string>{"A create 100", "A 1", "A 10", "root 10", "A released", "A 2001"}));
    EXPECT_EQ(document.GetLevelCount(), 2u);
}

TEST_F(CommandEngineTest, AStartAnsweredWithPassSelectionReceivesTheRootSelectionAsAPick)
{
    std::vector<uintptr_t> received;
    auto acceptPicks = [](IHostDocument* host, void*) { host->SetInputKinds(kPickB, 7); };
    auto takePick = [&received](IHostDocument*, void* value) {
        ISelectionSet* set = *static_cast<ISelectionSet**>(value);
        uint32_t count = 0;
        set->GetCount(&count);
        for (uint32_t i = 0; i < count; ++i) {
            uintptr_t id = 0;
            set->GetAt(static_cast<int32_t>(i), &id);
            received.push_back(id);
        }
    };
    root.selection = {0x1234, 0x5678};
    const int32_t a = AddCommand({{0, {0, acceptPicks}}, {kStart, {kPassSelection, {}}}, {kPickB, {0, takePick}}});
    document.StartCommand(a, 1);
    EXPECT_EQ(Events(), (std::vector<std::string>{"A create 100", "A 1", "root 10", "A 20004", "line ", "A 2001"}));
    EXPECT_EQ(received, (std::vector<uintptr_t>{0x1234, 0x5678}));
    EXPECT_EQ(document.GetLevelCount(), 2u);
}

TEST_F(CommandEngineTest, TheHostDocumentClosesANamedCommand)
{
    const int32_t a = AddCommand({{kStart, {0, {}}}, {kAccept, {kCommit, {}}}});
    IHostDocument* host = document.GetHostDocument();
    IAddin* addin = fixture.services.fakeAddin;
    EXPECT_EQ(host->AcceptCommand(addin, 100), E_FAIL);
    EXPECT_EQ(host->StartAddinCommand(addin, 100), S_OK);
    EXPECT_EQ(document.GetLevelCount(), 2u);
    log.clear();
    EXPECT_EQ(host->AcceptCommand(addin, 100), S_OK);
    EXPECT_EQ(Events(), (std::vector<std::string>{"A 100", "A released", "root 1"}));
    EXPECT_EQ(document.GetLevelCount(), 1u);
    EXPECT_EQ(host->CancelCommand(addin, 100), E_FAIL);
    EXPECT_EQ(host->AcceptCommand(addin, 999), E_FAIL);
    (void)a;
}

TEST_F(CommandEngineTest, WithoutAViewTheRootAnswersNothing)
{
    fixture.output.hasView = false;
    LONG result = kNotHandled;
    EXPECT_EQ(document.SendCommandEvent(kPickB, nullptr, 1, 1, &result), E_FAIL);
    EXPECT_EQ(result, kNotHandled);
}

} // namespace

namespace {

// A typed line at a level with the given plain input kinds: the events
// that reach the command and the values they carry.
class TypedLineTest : public CommandEngineTest {
protected:
    // Starts a command that accepts kinds and records its typed events.
    void StartAccepting(uint32_t kinds)
    {
        auto accept = [kinds](IHostDocument* host, void*) { host->SetInputKinds(kinds, 7); };
        auto record = [this](LONG code) {
            return Step{0, [this, code](IHostDocument*, void* value) { Record(code, value); }};
        };
        AddCommand({{0, {0, accept}},
                    {kStart, {0, {}}},
                    {kValue, record(kValue)},
                    {kTwoValues, record(kTwoValues)},
                    {kAngle, record(kAngle)},
                    {kTypedPoint, record(kTypedPoint)},
                    {kModelPoint, record(kModelPoint)},
                    {kCancel, {kEnd, {}}}});
        document.StartCommand(0, 1);
        log.clear();
        values.clear();
    }
    void Record(LONG code, void* value)
    {
        const size_t count = code == kValue || code == kAngle ? 1 : code == kTwoValues || code == kTypedPoint ? 2 : 3;
        const auto* doubles = static_cast<const double*>(value);
        // Points come as 16-byte records whose first member is the value.
        const size_t stride = code == kTypedPoint || code == kModelPoint ? 2 : 1;
        for (size_t i = 0; i < count; ++i) {
            values.push_back(doubles[i * stride]);
        }
    }
    std::vector<double> values;
};

struct TypedLineCase {
    const char* name;
    uint32_t kinds;
    const char* line;
    const char* event; // empty: nothing reaches the command
    std::vector<double> values;
};

TEST_F(TypedLineTest, EachLineBecomesTheFirstAcceptedForm)
{
    const TypedLineCase kCases[] = {
        {"two_coordinates_first", 0x100002 | 0x200002, "3,4", "A 100002", {3.0, 4.0}},
        {"model_point_gets_z_0", 0x200002, "1,2", "A 200002", {1.0, 2.0, 0.0}},
        {"model_point", 0x200002, "1,2,3", "A 200002", {1.0, 2.0, 3.0}},
        {"three_coordinates_not_two", 0x100002, "1,2,3", "", {}},
        {"value_before_tracking", 0x200002 | 0x40, "12.5", "A 40", {12.5}},
        {"two_values", 0x80, "2;3", "A 80", {2.0, 3.0}},
        {"angle", 0x800, "  <-30.5", "A 800", {-30.5}},
        {"blank_after_angle_sign", 0x800, "< 45", "", {}},
        {"lone_sign_is_no_value", 0x40, "-", "", {}},
        {"lone_point_is_no_value", 0x40, "+.", "", {}},
        {"command_name_inside_a_command", 0x40, "LINE", "", {}},
    };
    for (const TypedLineCase& c : kCases) {
        SCOPED_TRACE(c.name);
        scripts.clear();
        fixture.services.commands.clear();
        fixture.services.commands.push_back(Command(0, 100, ClassOf(0)));
        fixture.services.commands[0].name = "LINE";
        document.StartCommand(0, 0); // cancels the previous case's command
        StartAccepting(c.kinds);
        document.ProcessTypedInput(c.line, TRUE);
        const std::vector<std::string> events = Events();
        if (std::string(c.event).empty()) {
            EXPECT_TRUE(events.empty());
            EXPECT_EQ(document.GetCommandLineText(), c.line);
        } else {
            ASSERT_FALSE(events.empty());
            EXPECT_EQ(events[0], c.event);
            EXPECT_EQ(values, c.values);
            EXPECT_EQ(document.GetCommandLineText(), "");
        }
    }
}

TEST_F(CommandEngineTest, AnEmptyLineCancelsInsideACommandAndRepeatsAtTheRoot)
{
    document.ProcessTypedInput("", TRUE);
    EXPECT_TRUE(Events().empty());

    const int32_t a = AddCommand({{kStart, {0, {}}}, {kCancel, {kEnd, {}}}});
    fixture.services.commands[static_cast<size_t>(a)].name = "CIRCLE";
    fixture.services.commands[static_cast<size_t>(a)].shortName = "C";
    document.ProcessTypedInput("  C", TRUE);
    EXPECT_EQ(document.GetLevelCount(), 2u);
    log.clear();
    document.ProcessTypedInput("", TRUE);
    EXPECT_EQ(Events(), (std::vector<std::string>{"A 10", "A released", "root 1", "line "}));
    log.clear();
    document.ProcessTypedInput("", TRUE);
    EXPECT_EQ(Events(), (std::vector<std::string>{"A create 100", "A 1", "root 10", "A 2001"}));
    EXPECT_EQ(document.GetLevelCount(), 2u);
    document.ProcessTypedInput("", TRUE);
    log.clear();
    document.ProcessTypedInput("SQUARE", TRUE);
    EXPECT_TRUE(Events().empty());
    EXPECT_EQ(document.GetLevelCount(), 1u);
}

struct PromptCase {
    const char* name;
    uint32_t kinds;
    const char* line;
    const char* prompt;
    const char* mark;
};

TEST_F(CommandEngineTest, ThePromptShowsTheAcceptedInputsAndMarksTheOneTheLineFits)
{
    document.BuildPrompt();
    EXPECT_EQ(fixture.output.prompt, "Command :");
    const PromptCase kCases[] = {
        {"point_and_value", 0x2 | 0x40, "", "Point / Value :", ""},
        {"value_marked", 0x2 | 0x40, "12", "Point / Value :", "Value"},
        {"point_marked", 0x200002 | 0x40, "1,2,3", "Point / Value :", "Point"},
        {"picking_only", 0x10004, "anything", "Select object :", "Select object"},
        {"point_and_pick_b", 0x2 | 0x20004, "1,2", "Point / Select object :", ""},
        {"point_and_pick_a", 0x2 | 0x10004, "", "Point / Select object :", "Select object"},
        {"all_values", 0x40 | 0x80 | 0x800, "<5", "Value / Two Values / Angle :", "Angle"},
    };
    const int32_t a = AddCommand({{kStart, {0, {}}}});
    document.StartCommand(a, 1);
    IHostDocument* host = document.GetHostDocument();
    for (const PromptCase& c : kCases) {
        SCOPED_TRACE(c.name);
        host->SetInputKinds(c.kinds, 7);
        document.ProcessTypedInput(c.line, FALSE);
        EXPECT_EQ(fixture.output.prompt, c.prompt);
        EXPECT_EQ(fixture.output.mark, c.mark);
    }
    host->SetInputKinds(0x2 | 0x40, 7);
    host->SetPrompt(0x40, "Radius");
    document.ProcessTypedInput("3", FALSE);
    EXPECT_EQ(fixture.output.prompt, "Point / Radius :");
    EXPECT_EQ(fixture.output.mark, "Radius");
    host->SetPrompt(0x12345, "Ignored");
    EXPECT_EQ(fixture.output.prompt, "Point / Radius :");
}

} // namespace

namespace {

TEST_F(TypedLineTest, ANumberOnATrackingLineBecomesAPointOnTheCursorsSide)
{
    struct Case {
        const char* name;
        double cursorX;
        std::vector<double> point;
    };
    const Case kCases[] = {
        {"cursor_behind", -5.0, {-2.0, 0.0, 0.0}},
        {"cursor_ahead", 7.0, {4.0, 0.0, 0.0}},
    };
    StartAccepting(0x200002);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        CSnapEngine& engine = document.SnapEngine();
        engine.Refresh();
        engine.AddTrackingLine(CVector3(1.0, 0.0, 0.0), CVector3(1.0, 0.0, 0.0), 0);
        engine.TrackingLines()[3].hit = 4;
        engine.SetResult(4, CVector3(c.cursorX, 0.0, 0.0));
        values.clear();
        document.ProcessTypedInput("3", TRUE);
        EXPECT_EQ(values, c.point);
        // The level kept running, so the point became a tracking point.
        EXPECT_EQ(engine.TrackingLines().size(), 7u);
    }
}

} // namespace
