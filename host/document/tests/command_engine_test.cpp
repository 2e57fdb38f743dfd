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
