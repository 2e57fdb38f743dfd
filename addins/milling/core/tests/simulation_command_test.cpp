// The simulation command through fake controls and a scripted tick count:
// its panel, choosing a feature fills the NC text, start and stop, the tool
// drawn at each step (its OpenGL calls recorded) while the rows passed turn
// red and bold, the shaded box, the speed field, help and the buttons that
// end it.
#include <gtest/gtest.h>

#include "addins/milling/core/command_events.h"
#include "addins/milling/core/milling_job.h"
#include "addins/milling/core/simulation_command.h"
#include "addins/milling/core/tests/fake_panel.h"
#include "addins/milling/core/tests/strimo_test_support.h"
#include "platform/gl/opengl.h"
#include "platform/kernel/help.h"
#include "platform/kernel/tickcount.h"
#include "platform/user/inspect.h"

namespace {

constexpr LONG kPhases = 100;
constexpr LONG kCancel = 102;
constexpr LONG kHelp = 103;
constexpr LONG kNcCode = 107;
constexpr LONG kShaded = 109;
constexpr LONG kStart = 110;
constexpr LONG kStop = 111;
constexpr LONG kSpeed = 121;

// Keeps the calls by name, with the translation's numbers.
class GlNames final : public CToolGl {
public:
    void Enable(unsigned) override { calls.push_back("Enable"); }
    void Disable(unsigned) override { calls.push_back("Disable"); }
    void PolygonMode(unsigned, unsigned mode) override { calls.push_back(mode == GL_LINE ? "Lines" : "Fill"); }
    void PushMatrix() override { calls.push_back("Push"); }
    void PopMatrix() override { calls.push_back("Pop"); }
    void Translated(double x, double y, double z) override
    {
        calls.push_back("Translate");
        positions.push_back({x, y, z});
    }
    void Color3d(double, double, double) override { calls.push_back("Color"); }
    void Begin(unsigned) override { calls.push_back("Begin"); }
    void End() override { calls.push_back("End"); }
    void Normal3d(double, double, double) override {}
    void Vertex3d(double, double, double) override { ++vertices; }

    std::vector<std::string> calls;
    std::vector<CMovePoint> positions;
    int vertices = 0;
};

class SimulationCommandTest : public StrimoTest {
protected:
    void SetUp() override
    {
        StrimoTest::SetUp();
        m_panelDocument = std::make_unique<PanelDocument>(m_document->GetHostDocument());
        m_panelDocument->panel.others[kNcCode] = static_cast<IRichEditControl*>(&m_ncCode);
        m_ticks = std::make_unique<ScopedTickSource>([this] { return m_now; });
    }
    void TearDown() override
    {
        if (m_command != nullptr)
            m_command->Release();
        m_ticks.reset();
        m_panelDocument.reset();
        StrimoTest::TearDown();
    }
    // A job of two operations with a contour each, the first one's machine
    // the shipped dialect.
    void MakeJob()
    {
        CMillingJob* job = FindMillingJob(m_document->GetHostDocument());
        ASSERT_NE(job, nullptr);
        auto first = std::make_unique<CMillingOperation>(m_addin->Postprocessors().at(0), "", CMovePoint{}, false);
        std::unique_ptr<CMillingFeature> contour = MakeSquareContour(20.0, nullptr);
        contour->m_name = "Outline";
        // A tool the store would accept: the solid is built from it.
        contour->m_params.tool.cutLength = 12.0;
        contour->m_params.tool.length = 40.0;
        first->AddFeature(std::move(contour));
        job->AddOperation(std::move(first), true);
        auto second = std::make_unique<CMillingOperation>(m_addin->Postprocessors().at(0), "", CMovePoint{}, false);
        std::unique_ptr<CMillingFeature> other = MakeSquareContour(40.0, nullptr);
        other->m_params.tool.cutLength = 12.0;
        other->m_params.tool.length = 40.0;
        second->AddFeature(std::move(other));
        job->AddOperation(std::move(second), false);
    }
    void MakeCommand()
    {
        IAddinCommand* object = nullptr;
        ASSERT_EQ(m_services.strimoFactory->CreateInstance(nullptr, CLSID_SimulationCommand,
                                                           reinterpret_cast<void**>(&object)),
                  S_OK);
        m_command = static_cast<CSimulationCommand*>(object);
        m_command->SetGl(&m_gl);
        ASSERT_EQ(m_command->Create(m_panelDocument.get(), kCommandSimulation, 0), S_OK);
    }
    LONG Event(LONG code, void* value = nullptr)
    {
        LONG result = 0x10000000;
        EXPECT_EQ(m_command->OnEvent(code, value, 1, 1, &result), S_OK);
        return result;
    }
    LONG Control(LONG id, unsigned code = kNotifyClick)
    {
        uint32_t value = static_cast<uint32_t>(id) | (code << 16);
        return Event(kEventControl, &value);
    }
    void Draw(DWORD now)
    {
        m_now = now;
        IGraphicsContext* context = &m_context;
        Event(kEventDraw, &context);
    }
    FakeControl& Field(LONG id)
    {
        FakeControl* control = m_panelDocument->panel.Find(id);
        EXPECT_NE(control, nullptr) << id;
        static FakeControl none(FakeControlKind::Other, -1, "", 0, RECT{});
        return control != nullptr ? *control : none;
    }
    size_t Redraws() const
    {
        return static_cast<size_t>(std::count(m_panelDocument->log.begin(), m_panelDocument->log.end(), "Redraw"));
    }

    std::unique_ptr<PanelDocument> m_panelDocument;
    FakeRichEdit m_ncCode;
    RecordingContext m_context;
    GlNames m_gl;
    DWORD m_now = 0;
    std::unique_ptr<ScopedTickSource> m_ticks;
    CSimulationCommand* m_command = nullptr;
};

// The panel offers every feature of every operation; nothing runs, and
// nothing is drawn, before one is chosen and started.
TEST_F(SimulationCommandTest, ThePanelOffersTheJobsFeatures)
{
    MakeJob();
    MakeCommand();
    EXPECT_EQ(m_command->FeatureCount(), 2u);
    EXPECT_EQ(Field(kPhases).items, (std::vector<std::string>{"Outline", "Phase 1"}));
    for (LONG id : {kSpeed, kShaded, kStart, kStop})
        EXPECT_FALSE(Field(id).enabled) << id;
    EXPECT_EQ(Field(kSpeed).text, "1");
    EXPECT_DOUBLE_EQ(m_command->Simulation().SpeedFactor(), 1.0);
    EXPECT_EQ(Field(104).text, "Simulate phase");
    EXPECT_EQ(Field(109).text, "Shaded tool");
    EXPECT_NE(Field(kStart).bitmap, nullptr);
    EXPECT_NE(Field(kStop).bitmap, nullptr);
    EXPECT_TRUE(m_panelDocument->panel.shown);
    EXPECT_EQ(m_panelDocument->panel.owner, m_command);

    EXPECT_EQ(Control(kStart), 0);
    Draw(0);
    EXPECT_FALSE(m_command->Simulation().Running()) << "no feature chosen";
    EXPECT_TRUE(m_gl.calls.empty());

    EXPECT_EQ(Event(kEventStart), 1);
    EXPECT_EQ(Event(16), 4);
    EXPECT_EQ(Control(kCancel), 4);
    EXPECT_EQ(Control(kControlOk), 2);
}

// Choosing a feature shows its program in black and the tool as a
// wireframe; started, each drawing steps the run and draws the tool where
// it is, the rows passed turn red and bold, and the view is asked to draw
// again; stopped, the tool stays where it is.
TEST_F(SimulationCommandTest, TheToolRunsAlongTheChosenFeature)
{
    MakeJob();
    MakeCommand();
    Field(kPhases).selection = 0;
    EXPECT_EQ(Control(kPhases, kNotifySelectionChange), 0);
    ASSERT_NE(m_command->ChosenFeature(), nullptr);
    EXPECT_EQ(m_command->ChosenFeature()->m_name, "Outline");
    for (LONG id : {kSpeed, kShaded, kStart, kStop})
        EXPECT_TRUE(Field(id).enabled) << id;
    EXPECT_EQ(Field(kShaded).check, 0);
    EXPECT_TRUE(m_command->Wireframe());
    ASSERT_GT(m_ncCode.rows.size(), 4u);
    EXPECT_EQ(m_ncCode.rows[0], "Phase 1");
    EXPECT_EQ(m_ncCode.rows.size(), m_command->Simulation().Lines().size() + 1);
    EXPECT_EQ(m_ncCode.format.crTextColor, 0u);
    EXPECT_EQ(m_ncCode.format.dwEffects & CFE_BOLD, 0u);

    EXPECT_EQ(Control(kStart), 0);
    EXPECT_TRUE(m_command->Simulation().Running());
    const size_t redrawsBefore = Redraws();
    Draw(1000);
    ASSERT_EQ(m_gl.positions.size(), 1u) << "the first step only reads the line, then the tool is drawn";
    const CMovePoint start = m_command->ChosenFeature()->Moves().front().start;
    EXPECT_DOUBLE_EQ(m_gl.positions[0].x, start.x);
    EXPECT_DOUBLE_EQ(m_gl.positions[0].y, start.y);
    EXPECT_DOUBLE_EQ(m_gl.positions[0].z, start.z);
    EXPECT_EQ(m_gl.calls.front(), "Enable");
    EXPECT_EQ(m_gl.calls[3], "Lines") << "a wireframe";
    EXPECT_TRUE(m_ncCode.rowFormats.empty());
    // The next frame is asked for from a timer, so the loop waits between
    // frames (a redraw asked for while drawing keeps a paint pending).
    EXPECT_EQ(Redraws(), redrawsBefore) << "a redraw asked for from inside the drawing";
    PumpUntilIdle();
    EXPECT_EQ(Redraws(), redrawsBefore) << "the next frame before its time";
    AdvanceWindowSystemTime(kSimulationFrameMs);
    PumpUntilIdle();
    EXPECT_EQ(Redraws(), redrawsBefore + 1);
    AdvanceWindowSystemTime(kSimulationFrameMs);
    PumpUntilIdle();
    EXPECT_EQ(Redraws(), redrawsBefore + 1) << "one frame a drawing";

    // Two seconds at the start speeds pass several lines.
    Draw(3000);
    ASSERT_EQ(m_gl.positions.size(), 2u);
    ASSERT_GE(m_ncCode.rowFormats.size(), 2u);
    for (size_t i = 0; i < m_ncCode.rowFormats.size(); ++i) {
        const auto& [row, format] = m_ncCode.rowFormats[i];
        EXPECT_EQ(row, static_cast<LONG>(i) + 1);
        EXPECT_EQ(format.crTextColor, 0x0000FFu);
        EXPECT_EQ(format.dwEffects, static_cast<DWORD>(CFE_BOLD | CFE_PROTECTED));
    }
    const CMovePoint there = m_command->Simulation().ToolPosition().value();
    EXPECT_DOUBLE_EQ(m_gl.positions[1].x, there.x);
    EXPECT_DOUBLE_EQ(m_gl.positions[1].y, there.y);

    // Ticked, the box shows the tool shaded.
    EXPECT_EQ(Control(kShaded), 0);
    EXPECT_FALSE(m_command->Wireframe());
    Draw(3100);
    EXPECT_EQ(m_command->Solid().GetMode(), 0);
    EXPECT_DOUBLE_EQ(m_command->Solid().GetDiameter(), 4.0) << "the feature's own tool";

    EXPECT_EQ(Control(kStop), 0);
    const long line = m_command->Simulation().LineIndex();
    const double t = m_command->Simulation().T();
    Draw(60000);
    EXPECT_EQ(m_command->Simulation().LineIndex(), line);
    EXPECT_DOUBLE_EQ(m_command->Simulation().T(), t);
    EXPECT_EQ(m_gl.positions.size(), 4u) << "stopped, the tool is still drawn";
}

// The speed field: a number sets the factor, text that is no number or a
// negative number keeps it.
TEST_F(SimulationCommandTest, TheSpeedField)
{
    MakeJob();
    MakeCommand();
    struct Row {
        const char* text;
        double factor;
    };
    const Row rows[] = {{"2.5", 2.5}, {"fast", 2.5}, {"-3", 2.5}, {"0.5x", 0.5}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        Field(kSpeed).text = row.text;
        Control(kSpeed, kNotifyEditChange);
        EXPECT_DOUBLE_EQ(m_command->Simulation().SpeedFactor(), row.factor);
    }
}

// Help opens the topic in the chosen language's folder.
TEST_F(SimulationCommandTest, HelpOpensTheTopicInTheLanguageFolder)
{
    MakeCommand();
    std::vector<std::string> requests;
    ScopedHelpRecorder recorder([&](const HelpRequest& request) { requests.push_back(request.requested); });
    Control(kHelp);
    EXPECT_EQ(requests, (std::vector<std::string>{"help\\EN\\nuvex.chm::/khtml/simulation.htm"}));
}

// A tool store without the run's tool draws no tool, but the run goes on.
TEST_F(SimulationCommandTest, NoToolInTheStoreDrawsNothing)
{
    WriteProgramFile("Toolstore/toolstore.dat", "0\n");
    MakeJob();
    MakeCommand();
    Field(kPhases).selection = 1;
    Control(kPhases, kNotifySelectionChange);
    Control(kStart);
    Draw(0);
    Draw(500);
    EXPECT_TRUE(m_gl.calls.empty());
    EXPECT_TRUE(m_command->Simulation().Running());
    EXPECT_FALSE(m_ncCode.rowFormats.empty());
}

} // namespace
