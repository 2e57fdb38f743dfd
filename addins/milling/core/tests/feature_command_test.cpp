// The operation and feature commands through the host's real command
// engine and document: started from the command table, fed picks, panel
// clicks and Enter on the empty command line, ended into undo steps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <sstream>

#include "addins/milling/core/command_events.h"
#include "addins/milling/core/feature_parameters.h"
#include "addins/milling/core/milling_feature_command.h"
#include "addins/milling/core/nc_file_command.h"
#include "addins/milling/core/tests/fake_panel.h"
#include "addins/milling/core/tests/strimo_test_support.h"
#include "addins/milling/features/documentmoveentities.h"
#include "host/document/document_panes.h"
#include "ientityrecord.h"
#include "objectmodel/selection_set_object.h"

namespace {

class FeatureCommandTest : public StrimoTest {
protected:
    void SetUp() override
    {
        StrimoTest::SetUp();
        struct Entry {
            long number;
            const GUID* id;
        };
        const Entry entries[] = {{kCommandAddOperation, &CLSID_AddOperationCommand},
                                 {kCommandPocketMilling, &CLSID_PocketMillingCommand},
                                 {kCommandContourMilling, &CLSID_ContourMillingCommand},
                                 {kCommandCurveMilling, &CLSID_CurveMillingCommand},
                                 {kCommandSaveNcFile, &CLSID_NcFileCommand},
                                 {kCommandOpenNcFile, &CLSID_NcFileCommand}};
        for (const Entry& entry : entries)
            m_services.commands.push_back(Command(0, static_cast<uint32_t>(entry.number), *entry.id));
    }

    IHostDocument* Host() { return m_document->GetHostDocument(); }

    int32_t CommandIndex(long number)
    {
        for (size_t i = 0; i < m_services.commands.size(); ++i)
            if (m_services.commands[i].addinCommandId == static_cast<uint32_t>(number))
                return static_cast<int32_t>(i);
        return -1;
    }

    // An event into the running command, closed as the main frame closes it.
    LONG Send(LONG code, void* value, LONG final = 1, LONG kind = 1)
    {
        LONG result = 0x10000000;
        m_document->SendCommandEvent(code, value, final, kind, &result);
        m_document->EndCommandLevel(code, result, TRUE);
        return result;
    }
    // Enter on the empty command line.
    LONG Enter() { return Send(kEventAccept, nullptr); }
    LONG Click(LONG control)
    {
        uint32_t value = static_cast<uint32_t>(control);
        return Send(kEventControl, &value);
    }
    LONG Pick(const std::vector<uintptr_t>& ids, LONG final = 1, LONG kind = 1)
    {
        CSelectionSetObject set;
        for (uintptr_t id : ids)
            set.Add(id);
        ISelectionSet* pointer = &set;
        return Send(kEventPick, &pointer, final, kind);
    }

    // The four sides of a rectangle as line entities of the document; their
    // holders' ids.
    std::vector<uintptr_t> AddRectangle(double x0, double y0, double x1, double y1)
    {
        CDocumentMoveEntityFactory factory(Host());
        const CMovePoint corners[] = {{x0, y0, 0}, {x1, y0, 0}, {x1, y1, 0}, {x0, y1, 0}};
        std::vector<uintptr_t> ids;
        for (int i = 0; i < 4; ++i) {
            ComPtr<IEntityBase> line = factory.CreateLine(corners[i], corners[(i + 1) % 4]);
            EXPECT_TRUE(line);
            IEntityRecord* holder = MakeHolder(line.Get());
            EXPECT_EQ(Host()->AddObject(holder), S_OK);
            ids.push_back(reinterpret_cast<uintptr_t>(holder));
        }
        return ids;
    }

    CMillingFeatureCommandBase* FeatureCommand()
    {
        return static_cast<CMillingFeatureCommandBase*>(m_document->GetActiveCommandObject());
    }

    uint32_t InputKinds(LONG table)
    {
        uint32_t kinds = 0;
        Host()->GetInputKinds(&kinds, table);
        return kinds;
    }

    // The panel a test's fake pane pages hand out.
    FakePanel m_panel;
};

// The whole run of a pocket: without an operation the command starts "Add
// Milling 2.5D Operation" as its child, which Enter accepts; picks of a
// boundary and an island compute the pocket; Enter hands it to the
// operation. (The job's holder is kept out of undo, so the drawing's undo
// steps never take a job back.)
TEST_F(FeatureCommandTest, APocketRunsFromOperationToAcceptedFeature)
{
    const std::vector<uintptr_t> outline = AddRectangle(0, 0, 60, 40);
    const std::vector<uintptr_t> island = AddRectangle(25, 15, 35, 25);
    m_document->StartCommand(CommandIndex(kCommandPocketMilling), 1);
    ASSERT_EQ(m_document->GetLevelCount(), 3u) << "the operation command runs as the pocket's child";
    Enter();
    ASSERT_EQ(m_document->GetLevelCount(), 2u);
    CMillingJob* job = FindMillingJob(Host());
    ASSERT_EQ(job->GetOperationCount(), 1);
    EXPECT_EQ(job->GetActiveOperation(), 0);
    EXPECT_EQ(job->GetOperation(0)->m_postprocessor, m_addin->Postprocessors().at(0))
        << "the store's current machine";

    CMillingFeatureCommandBase* command = FeatureCommand();
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->Tool(), ToolChoice::Chosen) << "the first mill of the store";
    EXPECT_EQ(command->Parameters().tool.name, "Flat end mill 3 mm");
    std::vector<uintptr_t> all = outline;
    all.insert(all.end(), island.begin(), island.end());
    EXPECT_EQ(Pick(all), 0);
    EXPECT_EQ(command->Picked().GetCount(), 8);
    EXPECT_EQ(command->Computations(), 1);
    ASSERT_NE(command->Feature(), nullptr);
    const size_t moves = command->Feature()->Moves().size();
    EXPECT_GT(moves, 0u);

    Enter();
    EXPECT_EQ(m_document->GetLevelCount(), 1u);
    ASSERT_EQ(job->GetOperation(0)->GetFeatureCount(), 1u);
    const CMillingFeature& feature = *job->GetOperation(0)->GetFeature(0);
    EXPECT_EQ(feature.m_name, "Phase 1");
    EXPECT_EQ(feature.GetType(), 0);
    EXPECT_EQ(feature.Moves().size(), moves);
    EXPECT_EQ(feature.m_params.tool.name, "Flat end mill 3 mm");
}

TEST_F(FeatureCommandTest, WhenTheOperationCommandIsCancelledTheFeatureCommandEndsToo)
{
    m_document->StartCommand(CommandIndex(kCommandContourMilling), 1);
    ASSERT_EQ(m_document->GetLevelCount(), 3u);
    Send(kEventCancel, nullptr);
    EXPECT_EQ(m_document->GetLevelCount(), 1u);
    EXPECT_EQ(FindMillingJob(Host())->GetOperationCount(), 0);
}

// Clicking a picked curve again unpicks it; with something picked, Shift
// picks add; the toolpath is recomputed from what is left.
TEST_F(FeatureCommandTest, PicksToggleAndChangeTheInputKinds)
{
    FindMillingJob(Host())->AddOperation(
        std::make_unique<CMillingOperation>(m_addin->Postprocessors().at(0), "", CMovePoint{}, false), true);
    const std::vector<uintptr_t> square = AddRectangle(0, 0, 30, 30);
    m_document->StartCommand(CommandIndex(kCommandContourMilling), 1);
    ASSERT_EQ(m_document->GetLevelCount(), 2u) << "an active operation: no child command";
    CMillingFeatureCommandBase* command = FeatureCommand();
    struct Step {
        const char* name;
        std::vector<uintptr_t> picks;
        LONG final;
        int picked;
        uint32_t plain, ctrl, shift;
        bool hasMoves;
    };
    const Step steps[] = {
        {"hover", {square[0]}, 0, 0, kInputPickToggle, kInputPickToggle, kInputPickToggle, false},
        {"pick the square", square, 1, 4, kInputPickToggle, kInputPickToggle, kInputPickAdd, true},
        {"unpick a side", {square[1]}, 1, 3, kInputPickToggle, kInputPickToggle, kInputPickAdd, false},
        {"pick it again", {square[1]}, 1, 4, kInputPickToggle, kInputPickToggle, kInputPickAdd, true},
        {"unpick all", square, 1, 0, kInputPickToggle, kInputPickToggle, kInputPickToggle, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        EXPECT_EQ(Pick(step.picks, step.final), 0);
        EXPECT_EQ(command->Picked().GetCount(), step.picked);
        EXPECT_EQ(InputKinds(kTablePlain), step.plain);
        EXPECT_EQ(InputKinds(kTableCtrl), step.ctrl);
        EXPECT_EQ(InputKinds(kTableShift), step.shift);
        EXPECT_EQ(!command->Feature()->Moves().empty(), step.hasMoves);
    }
}

// "Ok" accepts like Enter; accepting before any pick adds nothing, says
// so and leaves the command running.
TEST_F(FeatureCommandTest, OkAcceptsAndAnEmptyFeatureIsNotAdded)
{
    CMillingJob* job = FindMillingJob(Host());
    job->AddOperation(std::make_unique<CMillingOperation>(m_addin->Postprocessors().at(0), "", CMovePoint{}, false),
                      true);
    DialogAnswers answers("");
    m_document->StartCommand(CommandIndex(kCommandPocketMilling), 1);
    EXPECT_EQ(Click(kControlOk), 0);
    EXPECT_EQ(Enter(), 0);
    EXPECT_EQ(m_document->GetLevelCount(), 2u);
    EXPECT_EQ(job->GetOperation(0)->GetFeatureCount(), 0u);
    ASSERT_EQ(answers.Messages().size(), 2u);
    EXPECT_NE(answers.Messages()[0].find("Nothing is picked"), std::string::npos) << answers.Messages()[0];
    EXPECT_EQ(Click(kControlCancel), kResultEnd);
    EXPECT_EQ(m_document->GetLevelCount(), 1u);

    const std::vector<uintptr_t> square = AddRectangle(0, 0, 30, 30);
    m_document->StartCommand(CommandIndex(kCommandCurveMilling), 1);
    Pick(square);
    EXPECT_EQ(Click(kControlOk), kResultCommit);
    ASSERT_EQ(job->GetOperation(0)->GetFeatureCount(), 1u);
    EXPECT_EQ(job->GetOperation(0)->GetFeature(0)->GetType(), 1) << "the curve feature is stored as a contour";

    m_document->StartCommand(CommandIndex(kCommandPocketMilling), 1);
    EXPECT_EQ(Click(kControlCancel), kResultEnd);
    EXPECT_EQ(m_document->GetLevelCount(), 1u);
}

// The document's pane pages as a frame would give them, handing out one fake
// panel, so that a test can choose tools in the Name list.
class FakePanes final : public IDocumentPanes {
public:
    explicit FakePanes(FakePanel& panel) : m_panel(panel) {}
    HRESULT ShowPane(LONG, LONG) override { return S_OK; }
    HRESULT GetActivePane(LONG, LONG* item) override
    {
        *item = 0;
        return S_OK;
    }
    HRESULT GetPaneObject(LONG, LONG, IUnknown** object) override
    {
        *object = nullptr;
        return E_FAIL;
    }
    HRESULT CreateControlPanel(LONG, LONG, IControlPanel** out) override
    {
        *out = &m_panel;
        return S_OK;
    }

private:
    FakePanel& m_panel;
};

// A pocket whose tool fits nowhere in the picked outline: the command keeps
// running with the toolpath's error on the prompt, refuses to accept it and
// says why; a smaller tool and "Recalculate" make the toolpath, which is
// then accepted.
TEST_F(FeatureCommandTest, AToolpathThatCannotBeMadeIsShownAndNeverAccepted)
{
    constexpr LONG kToolNames = 211;
    constexpr LONG kRecalculate = 206;
    // The panel outlives the document, which may still hold the command.
    FakePanel& panel = m_panel;
    m_document->SetPanes(std::make_unique<FakePanes>(panel));
    CMillingJob* job = FindMillingJob(Host());
    job->AddOperation(std::make_unique<CMillingOperation>(m_addin->Postprocessors().at(0), "", CMovePoint{}, false),
                      true);
    // An 8 x 8 pocket: a 10 mm mill cannot go in, a 6 mm mill can.
    const std::vector<uintptr_t> square = AddRectangle(0, 0, 8, 8);
    DialogAnswers answers("");
    m_document->StartCommand(CommandIndex(kCommandPocketMilling), 1);
    ASSERT_EQ(m_document->GetLevelCount(), 2u);
    CMillingFeatureCommandBase* command = FeatureCommand();
    FakeControl* names = panel.Find(kToolNames);
    ASSERT_NE(names, nullptr);
    const auto choose = [&](const std::string& tool) {
        const auto found = std::find(names->items.begin(), names->items.end(), tool);
        EXPECT_NE(found, names->items.end()) << tool;
        names->selection = static_cast<int>(found - names->items.begin());
        uint32_t value = static_cast<uint32_t>(kToolNames) | (kNotifySelectionChange << 16);
        return Send(kEventControl, &value);
    };
    const std::string noToolpath = FeatureErrorMessage(FeatureError::NoToolpath);
    struct Step {
        const char* name;
        std::function<LONG()> act;
        LONG result;
        size_t levels;
        bool hasMoves;
        // The text the prompt holds, and the text the latest message box
        // holds (empty: no new box).
        std::string prompt;
        std::string told;
    };
    const Step steps[] = {
        {"choose the big mill", [&] { return choose("Flat end mill 10 mm"); }, 0, 2, false, "Select object", ""},
        {"pick the square", [&] { return Pick(square); }, 0, 2, false, "no toolpath: " + noToolpath, ""},
        {"Enter", [&] { return Enter(); }, 0, 2, false, noToolpath, noToolpath},
        {"Ok", [&] { return Click(kControlOk); }, 0, 2, false, noToolpath, noToolpath},
        {"choose the smaller mill", [&] { return choose("Flat end mill 6 mm"); }, 0, 2, false, noToolpath, ""},
        {"Recalculate", [&] { return Click(kRecalculate); }, 0, 2, true, "Select object :", ""},
        {"Enter", [&] { return Enter(); }, kResultCommit, 1, true, "", ""},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        const size_t told = answers.Messages().size();
        EXPECT_EQ(step.act(), step.result);
        EXPECT_EQ(m_document->GetLevelCount(), step.levels);
        if (step.levels == 2) {
            ASSERT_NE(command->Feature(), nullptr);
            EXPECT_EQ(!command->Feature()->Moves().empty(), step.hasMoves);
            EXPECT_EQ(command->ToolpathError().has_value(), !step.hasMoves && command->Computations() > 0);
            if (command->ToolpathError()) {
                EXPECT_EQ(command->ToolpathError()->code, FeatureError::NoToolpath);
            }
            EXPECT_NE(m_output.prompt.find(step.prompt), std::string::npos) << m_output.prompt;
        }
        if (step.told.empty()) {
            EXPECT_EQ(answers.Messages().size(), told);
        } else {
            ASSERT_EQ(answers.Messages().size(), told + 1);
            EXPECT_NE(answers.Messages().back().find(step.told), std::string::npos) << answers.Messages().back();
        }
    }
    ASSERT_EQ(job->GetOperation(0)->GetFeatureCount(), 1u);
    const CMillingFeature& accepted = *job->GetOperation(0)->GetFeature(0);
    EXPECT_EQ(accepted.m_params.tool.name, "Flat end mill 6 mm");
    EXPECT_FALSE(accepted.Moves().empty());
}

// Events a command does not handle are answered 0, never "not handled".
TEST_F(FeatureCommandTest, UnhandledEventsAreAnsweredWithZero)
{
    FindMillingJob(Host())->AddOperation(std::make_unique<CMillingOperation>(CMovePoint{}, false), true);
    for (long number : {kCommandPocketMilling, kCommandAddOperation}) {
        SCOPED_TRACE(number);
        m_document->StartCommand(CommandIndex(number), 1);
        IAddinCommand* command = m_document->GetActiveCommandObject();
        ASSERT_NE(command, nullptr);
        for (LONG event : {0x40L, 0x80L, 0x800L, 0x20L, 0x2000000L}) {
            LONG result = 0x10000000;
            double value[3] = {};
            EXPECT_EQ(command->OnEvent(event, value, 1, 1, &result), S_OK);
            EXPECT_EQ(result, 0) << event;
        }
        m_document->CancelCommand();
    }
}

// The checks before a toolpath is computed: both groups must hold.
TEST(FeatureParameters, BothTheLevelsAndTheMotionMustHold)
{
    const auto params = [](double top, double bottom, double safe, double engage, double feed, double spindle,
                           double vertical) {
        CMillingParams p;
        p.zTop = top;
        p.zBottom = bottom;
        p.zSafePlane = safe;
        p.zEngage = engage;
        p.tool.feedSpeed = feed;
        p.tool.spindleSpeed = spindle;
        p.tool.plungeSpeed = 100;
        p.tool.radialStep = 40;
        p.tool.verticalStep = vertical;
        return p;
    };
    struct Row {
        const char* name;
        CMillingParams p;
        ToolChoice tool;
        bool valid;
    };
    const Row rows[] = {
        {"all good", params(0, -5, 50, 5, 500, 12000, 1), ToolChoice::Chosen, true},
        {"no tool", params(0, -5, 50, 5, 500, 12000, 1), ToolChoice::None, false},
        {"top below bottom", params(-5, 0, 50, 5, 500, 12000, 1), ToolChoice::Chosen, false},
        {"engage above the safe plane", params(0, -5, 4, 5, 500, 12000, 1), ToolChoice::Chosen, false},
        {"negative engage", params(0, -5, 50, -1, 500, 12000, 1), ToolChoice::Chosen, false},
        {"zero feed", params(0, -5, 50, 5, 0, 12000, 1), ToolChoice::Chosen, false},
        {"zero spindle speed", params(0, -5, 50, 5, 500, 0, 1), ToolChoice::Chosen, false},
        {"zero step over several levels", params(0, -5, 50, 5, 500, 12000, 0), ToolChoice::Chosen, false},
        {"zero step on one level", params(-2, -2, 50, 5, 500, 12000, 0), ToolChoice::Chosen, true},
        {"engage exactly to the safe plane", params(0, -5, 5, 5, 500, 12000, 1), ToolChoice::Chosen, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(MillingParametersValid(row.p, row.tool), row.valid);
    }
    CMillingParams noRadial = params(0, -5, 50, 5, 500, 12000, 1);
    noRadial.tool.radialStep = 0;
    EXPECT_FALSE(MillingParametersValid(noRadial, ToolChoice::Chosen));
}

// A store of drills only leaves the command without a tool: picks compute
// nothing.
TEST_F(FeatureCommandTest, AStoreOfDrillsOnlyNeverComputes)
{
    WriteProgramFile("Toolstore/toolstore.dat", "1\nDrill 5\n2 5 80 50 0 118 3000 100 100 100 5\n");
    FindMillingJob(Host())->AddOperation(std::make_unique<CMillingOperation>(CMovePoint{}, false), true);
    const std::vector<uintptr_t> square = AddRectangle(0, 0, 30, 30);
    m_document->StartCommand(CommandIndex(kCommandPocketMilling), 1);
    CMillingFeatureCommandBase* command = FeatureCommand();
    EXPECT_EQ(command->Tool(), ToolChoice::None);
    Pick(square);
    EXPECT_EQ(command->Computations(), 0);
    EXPECT_TRUE(command->Feature()->Moves().empty());
}

// Save NC File of the accepted pocket through the engine, then the
// program read back through the plug-in draws the same moves.
TEST_F(FeatureCommandTest, TheAcceptedPocketSavesAsAnNcProgram)
{
    const std::vector<uintptr_t> outline = AddRectangle(0, 0, 50, 30);
    CMillingJob* job = FindMillingJob(Host());
    job->AddOperation(std::make_unique<CMillingOperation>(m_addin->Postprocessors().at(0), "", CMovePoint{}, false),
                      true);
    m_document->StartCommand(CommandIndex(kCommandPocketMilling), 1);
    Pick(outline);
    Enter();
    ASSERT_EQ(job->GetOperation(0)->GetFeatureCount(), 1u);
    const std::string path = m_folder.Path() + "/pocket.nc";
    const NcFileResult saved = SaveNcProgram(*job, path);
    ASSERT_EQ(saved.status, NcFileStatus::Ok);
    EXPECT_GT(saved.linesRead, 10);
}

// Save and Open NC File started from the command table do all their work
// on the start event and leave nothing running, whatever came of it, so the
// drawing can be closed or saved right after.
TEST_F(FeatureCommandTest, TheNcFileCommandsLeaveNothingRunningOnceTheFileIsDone)
{
    CMillingJob* job = FindMillingJob(Host());
    auto operation = std::make_unique<CMillingOperation>(m_addin->Postprocessors().at(0), "", CMovePoint{}, false);
    operation->AddFeature(MakeSquarePocket(40, 12, nullptr));
    job->AddOperation(std::move(operation), true);
    const std::string saved = m_folder.Path() + "/saved.nc";
    struct Row {
        const char* name;
        long command;
        std::string path;
        size_t messages;
    };
    const Row rows[] = {
        {"saved", kCommandSaveNcFile, saved, 0},
        {"save cancelled", kCommandSaveNcFile, "", 0},
        {"save into a missing folder", kCommandSaveNcFile, m_folder.Path() + "/none/x.nc", 1},
        {"the saved program opened", kCommandOpenNcFile, saved, 0},
        {"a missing file opened", kCommandOpenNcFile, m_folder.Path() + "/none.nc", 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        DialogAnswers answers(row.path);
        m_document->StartCommand(CommandIndex(row.command), 1);
        EXPECT_EQ(answers.requests.size() - answers.Messages().size(), 1u) << "one file dialog";
        EXPECT_EQ(answers.Messages().size(), row.messages);
        EXPECT_EQ(m_document->GetLevelCount(), 1u);
        EXPECT_FALSE(m_document->IsCommandActive());
    }
    EXPECT_NE(ReadText(saved).find("G01"), std::string::npos);
    EXPECT_FALSE(DrawnEntities(Host()).empty()) << "the opened program is drawn";
}

} // namespace

namespace {

double Length2D(double x, double y) { return std::hypot(x, y); }

// The exact plane distance from (px, py) to a move: to the nearest point of
// its line, or of its arc where the point's direction from the arc's centre
// falls in the sweep and to the nearer end otherwise.
double PlaneDistance(const CMove& move, double px, double py)
{
    const double sx = move.start.x, sy = move.start.y, ex = move.end.x, ey = move.end.y;
    const double toEnds = std::min(Length2D(px - sx, py - sy), Length2D(px - ex, py - ey));
    if (!IsArcMove(move.flag)) {
        const double dx = ex - sx, dy = ey - sy;
        const double squared = dx * dx + dy * dy;
        if (!(squared > 0.0))
            return toEnds;
        const double t = std::clamp(((px - sx) * dx + (py - sy) * dy) / squared, 0.0, 1.0);
        return Length2D(px - (sx + t * dx), py - (sy + t * dy));
    }
    const double cx = move.centre.x, cy = move.centre.y;
    const double fromCentre = Length2D(px - cx, py - cy);
    if (!(fromCentre > 0.0))
        return move.radius;
    const double twoPi = 2.0 * std::acos(-1.0);
    auto angle = [&](double x, double y) { return std::atan2(y - cy, x - cx); };
    auto sweep = [&](double from, double to) {
        double a = move.flag == kMoveArcCounterClockwise ? to - from : from - to;
        while (a < 0.0)
            a += twoPi;
        return a;
    };
    const double a0 = angle(sx, sy);
    double full = sweep(a0, angle(ex, ey));
    if (!(full > 0.0))
        full = twoPi;
    if (sweep(a0, angle(px, py)) <= full)
        return std::fabs(fromCentre - move.radius);
    return toEnds;
}

} // namespace

// The shipped sample part picked as a box round its pocket picks the
// pocket's outline, both islands and the rapids drawn between them; the
// pocket's feed moves keep the tool's radius from the round island.
TEST_F(FeatureCommandTest, TheSamplePocketPickedByBoxKeepsClearOfItsIslands)
{
    ASSERT_TRUE(m_document->OnOpenDocument(SourcePath("resources/samples/sample_part.nvx").c_str()));
    // What a box from (18, 13) to (102, 67) picks: the entities lying wholly
    // inside it.
    auto inside = [](const CMovePoint& p) { return p.x > 18 && p.x < 102 && p.y > 13 && p.y < 67; };
    std::vector<uintptr_t> boxed;
    for (const DrawnEntity& drawn : DrawnEntities(Host()))
        if (inside(drawn.view.start) && inside(drawn.view.end))
            boxed.push_back(drawn.id);
    ASSERT_GE(boxed.size(), 14u) << "pocket 8, round island 2, square island 4";

    m_document->StartCommand(CommandIndex(kCommandPocketMilling), 1);
    Enter();
    CMillingFeatureCommandBase* command = FeatureCommand();
    ASSERT_NE(command, nullptr);
    Pick(boxed);
    ASSERT_NE(command->Feature(), nullptr);
    const CMillingFeature& feature = *command->Feature();
    ASSERT_FALSE(feature.Moves().empty());
    const double radius = feature.m_params.tool.diameter / 2.0;
    size_t cutting = 0;
    for (size_t i = 0; i < feature.Moves().size(); ++i) {
        const CMove& move = feature.Moves()[i];
        if (move.flag == kMoveRapid)
            continue;
        ++cutting;
        EXPECT_GE(PlaneDistance(move, 45, 40) - 8.0, radius - 1e-6)
            << "move " << i << " from (" << move.start.x << ", " << move.start.y << ") to (" << move.end.x << ", "
            << move.end.y << ") cuts into the round island";
    }
    EXPECT_GT(cutting, 0u);
}

namespace {

// The exact plane distance from (px, py) to the rectangle's outline, inside
// or outside it.
double OutlineDistance(double px, double py, double x0, double y0, double x1, double y1)
{
    const double dx = std::max({x0 - px, 0.0, px - x1});
    const double dy = std::max({y0 - py, 0.0, py - y1});
    if (dx > 0.0 || dy > 0.0)
        return Length2D(dx, dy);
    return std::min({px - x0, x1 - px, py - y0, y1 - py});
}

// The lines of an NC program without their leading block numbers.
std::vector<std::string> WithoutBlockNumbers(const std::vector<std::string>& lines)
{
    std::vector<std::string> bare;
    for (const std::string& line : lines) {
        size_t at = 0;
        if (!line.empty() && line[0] == 'N') {
            at = line.find_first_not_of("0123456789", 1);
            at = at != std::string::npos && line[at] == ' ' ? at + 1 : 0;
        }
        bare.push_back(line.substr(at));
    }
    return bare;
}

} // namespace

// The shipped sample part pocketed with the 6 mm mill (picked by a box) and
// contoured with the 10 mm mill on the outside of its plate (its four sides
// picked one by one, "Outside" checked), each recalculated after the mill
// was chosen, in one operation: the job holds both features, the contour's
// feed moves keep exactly the tool's radius from the plate, and the NC
// program holds the blocks of both, the contour's after the pocket's.
TEST_F(FeatureCommandTest, TheSamplePartPocketedAndContouredWritesBothFeatures)
{
    constexpr LONG kOutsideCheck = 217;
    constexpr LONG kRecalculate = 206;
    constexpr LONG kToolNames = 211;
    constexpr double kPlateWidth = 120.0;
    constexpr double kPlateHeight = 80.0;
    FakePanel& panel = m_panel;
    m_document->SetPanes(std::make_unique<FakePanes>(panel));
    ASSERT_TRUE(m_document->OnOpenDocument(SourcePath("resources/samples/sample_part.nvx").c_str()));
    CMillingJob* job = FindMillingJob(Host());
    job->AddOperation(std::make_unique<CMillingOperation>(m_addin->Postprocessors().at(0), "", CMovePoint{}, false),
                      true);
    auto inPocketBox = [](const CMovePoint& p) { return p.x > 18 && p.x < 102 && p.y > 13 && p.y < 67; };
    // A side lies on one of the plate's four edges (the vertical moves
    // drawn at its corner do not).
    auto onOneSide = [&](const CMovePoint& a, const CMovePoint& b) {
        if (Length2D(a.x - b.x, a.y - b.y) < 1e-9)
            return false;
        for (double x : {0.0, kPlateWidth})
            if (std::fabs(a.x - x) < 1e-9 && std::fabs(b.x - x) < 1e-9)
                return true;
        for (double y : {0.0, kPlateHeight})
            if (std::fabs(a.y - y) < 1e-9 && std::fabs(b.y - y) < 1e-9)
                return true;
        return false;
    };
    std::vector<uintptr_t> pocket;
    std::vector<uintptr_t> sides;
    for (const DrawnEntity& drawn : DrawnEntities(Host())) {
        if (inPocketBox(drawn.view.start) && inPocketBox(drawn.view.end))
            pocket.push_back(drawn.id);
        else if (!drawn.view.arc && onOneSide(drawn.view.start, drawn.view.end))
            sides.push_back(drawn.id);
    }
    ASSERT_EQ(sides.size(), 4u) << "the plate's outline";

    // A mill chosen from the panel's tool list.
    const auto choose = [&](const std::string& tool) {
        FakeControl* names = panel.Find(kToolNames);
        ASSERT_NE(names, nullptr);
        const auto found = std::find(names->items.begin(), names->items.end(), tool);
        ASSERT_NE(found, names->items.end()) << tool;
        names->selection = static_cast<int>(found - names->items.begin());
        uint32_t value = static_cast<uint32_t>(kToolNames) | (kNotifySelectionChange << 16);
        Send(kEventControl, &value);
    };

    m_document->StartCommand(CommandIndex(kCommandPocketMilling), 1);
    CMillingFeatureCommandBase* pocketing = FeatureCommand();
    ASSERT_NE(pocketing, nullptr);
    Pick(pocket);
    choose("Flat end mill 6 mm");
    Click(kRecalculate);
    ASSERT_FALSE(pocketing->ToolpathError().has_value()) << FeatureErrorText(*pocketing->ToolpathError());
    ASSERT_EQ(Enter(), kResultCommit);
    // The next command's panel is a new one.
    panel.controls.clear();
    m_document->StartCommand(CommandIndex(kCommandContourMilling), 1);
    CMillingFeatureCommandBase* contour = FeatureCommand();
    ASSERT_NE(contour, nullptr);
    for (uintptr_t side : sides)
        Pick({side});
    FakeControl* outside = panel.Find(kOutsideCheck);
    ASSERT_NE(outside, nullptr);
    outside->SetCheck(1);
    choose("Flat end mill 10 mm");
    Click(kRecalculate);
    ASSERT_FALSE(contour->ToolpathError().has_value()) << FeatureErrorText(*contour->ToolpathError());
    ASSERT_EQ(Enter(), kResultCommit);

    ASSERT_EQ(job->GetOperationCount(), 1);
    const CMillingOperation& operation = *job->GetOperation(0);
    ASSERT_EQ(operation.GetFeatureCount(), 2u);
    EXPECT_EQ(operation.GetFeature(0)->GetType(), 0) << "the pocket";
    const CMillingFeature& accepted = *operation.GetFeature(1);
    EXPECT_EQ(accepted.GetType(), 1) << "the contour";
    const double radius = accepted.m_params.tool.diameter / 2.0;
    size_t cutting = 0;
    for (size_t i = 0; i < accepted.Moves().size(); ++i) {
        const CMove& move = accepted.Moves()[i];
        if (!IsFeedMove(move.flag) || (std::fabs(move.start.x - move.end.x) < 1e-9 &&
                                       std::fabs(move.start.y - move.end.y) < 1e-9))
            continue; // rapids and plunges
        ++cutting;
        for (const CMovePoint& p : {move.start, move.end})
            EXPECT_NEAR(OutlineDistance(p.x, p.y, 0, 0, kPlateWidth, kPlateHeight), radius, 1e-6)
                << "move " << i << " at (" << p.x << ", " << p.y << ")";
    }
    EXPECT_GE(cutting, 8u) << "four sides and four corners";

    const std::string path = m_folder.Path() + "/pocket_and_contour.nc";
    ASSERT_EQ(SaveNcProgram(*job, path).status, NcFileStatus::Ok);
    // The program is the pocket's blocks without its program end, then the
    // contour's, numbered on from the pocket's.
    std::vector<std::string> pocketLines;
    std::vector<std::string> contourLines;
    ASSERT_TRUE(job->WriteFeatureNcCode(pocketLines, 0, 0).ok);
    ASSERT_TRUE(job->WriteFeatureNcCode(contourLines, 0, 1).ok);
    ASSERT_FALSE(pocketLines.empty());
    ASSERT_EQ(pocketLines.back(), "M30");
    pocketLines.pop_back();
    std::vector<std::string> expected = WithoutBlockNumbers(pocketLines);
    for (const std::string& line : WithoutBlockNumbers(contourLines))
        expected.push_back(line);
    std::vector<std::string> written;
    std::istringstream program(ReadText(path));
    for (std::string line; std::getline(program, line);)
        written.push_back(line);
    EXPECT_EQ(WithoutBlockNumbers(written), expected);
    EXPECT_NE(std::find(contourLines.begin(), contourLines.end(), "N4 X120"), contourLines.end())
        << "the cut along the plate's lower side";
}
