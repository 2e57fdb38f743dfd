// The commands' panels through fake controls: what Add Milling 2.5D
// Operation shows and does with its edits, origin picking, "Inverted Z",
// the triad and its machine list; what the feature commands show, their
// tool choices and checks.
#include <gtest/gtest.h>

#include <cmath>

#include "addins/milling/core/add_operation_command.h"
#include "addins/milling/core/command_events.h"
#include "addins/milling/core/milling_feature_command.h"
#include "addins/milling/core/tests/fake_panel.h"
#include "addins/milling/core/tests/strimo_test_support.h"
#include "platform/user/commdlg.h"

namespace {

class CommandPanelTest : public StrimoTest {
protected:
    void SetUp() override
    {
        StrimoTest::SetUp();
        m_panelDocument = std::make_unique<PanelDocument>(m_document->GetHostDocument());
    }
    void TearDown() override
    {
        ReleaseCommands();
        m_panelDocument.reset();
        StrimoTest::TearDown();
    }
    // The commands go before the panel they were given.
    void ReleaseCommands()
    {
        for (IAddinCommand* command : m_commands)
            command->Release();
        m_commands.clear();
    }

    template <class Command>
    Command* Make(const GUID& id, long number)
    {
        IAddinCommand* object = nullptr;
        EXPECT_EQ(m_services.strimoFactory->CreateInstance(nullptr, id, reinterpret_cast<void**>(&object)), S_OK);
        m_commands.push_back(object);
        EXPECT_EQ(object->Create(m_panelDocument.get(), number, 0), S_OK);
        return static_cast<Command*>(object);
    }

    LONG Event(IAddinCommand* command, LONG code, void* value, LONG final = 1)
    {
        LONG result = 0x10000000;
        EXPECT_EQ(command->OnEvent(code, value, final, 1, &result), S_OK);
        return result;
    }
    LONG Control(IAddinCommand* command, LONG id, unsigned code = kNotifyClick)
    {
        uint32_t value = static_cast<uint32_t>(id) | (code << 16);
        return Event(command, kEventControl, &value);
    }
    LONG Point(IAddinCommand* command, double x, double y, double z, LONG final)
    {
        EventCoordinate point[3];
        point[0].value = x;
        point[1].value = y;
        point[2].value = z;
        return Event(command, kEventPoint, point, final);
    }
    FakeControl& Control(LONG id)
    {
        FakeControl* control = Panel().Find(id);
        EXPECT_NE(control, nullptr) << id;
        static FakeControl none(FakeControlKind::Other, -1, "", 0, RECT{});
        return control != nullptr ? *control : none;
    }
    FakePanel& Panel() { return m_panelDocument->panel; }
    uint32_t RootInputKinds()
    {
        uint32_t kinds = 0;
        m_document->GetHostDocument()->GetInputKinds(&kinds, kTablePlain);
        return kinds;
    }

    std::unique_ptr<PanelDocument> m_panelDocument;
    std::vector<IAddinCommand*> m_commands;
};

constexpr LONG kMachineList = 105;
constexpr LONG kPick = 106;
constexpr LONG kInverted = 107;
constexpr LONG kEditX = 108;
constexpr LONG kEditY = 109;
constexpr LONG kEditZ = 110;

TEST_F(CommandPanelTest, AddOperationShowsTheOriginAndTheStoresCurrentMachine)
{
    Make<CAddOperationCommand>(CLSID_AddOperationCommand, kCommandAddOperation);
    EXPECT_EQ(m_panelDocument->log, (std::vector<std::string>{"CreateControlPanel 0 1", "ShowPane 0 1"}));
    EXPECT_TRUE(Panel().shown);
    EXPECT_NE(Panel().owner, nullptr);
    ASSERT_EQ(Panel().controls.size(), 15u);
    EXPECT_EQ(Control(111).text, "Add operation");
    EXPECT_EQ(Control(1000).text, "OK");
    EXPECT_NE(Control(112).bitmap, nullptr);
    for (LONG id : {kEditX, kEditY, kEditZ})
        EXPECT_EQ(Control(id).text, "0.000") << id;
    EXPECT_EQ(Control(kMachineList).items,
              (std::vector<std::string>{"Power Control CNC", "Siemens 3Axis Milling"}));
    EXPECT_EQ(Control(kMachineList).selection, 0);
    EXPECT_EQ(Control(kInverted).check, 0);
}

// "Pick Origin >" lets the point follow the cursor in the edits; the click
// fixes it and gives the edits and "Ok" back.
TEST_F(CommandPanelTest, PickingTheOriginFollowsTheCursorUntilTheClick)
{
    auto* command = Make<CAddOperationCommand>(CLSID_AddOperationCommand, kCommandAddOperation);
    EXPECT_EQ(Control(command, kPick), 0);
    EXPECT_TRUE(command->Picking());
    EXPECT_EQ(RootInputKinds(), kInputClickedPoint);
    EXPECT_FALSE(Control(kEditX).enabled);
    EXPECT_FALSE(Control(1000).enabled);
    EXPECT_TRUE(Control(kPick).pushed);

    EXPECT_EQ(Point(command, 1.25, -2, 3, 0), 0);
    EXPECT_EQ(Control(kEditX).text, "1.250");
    EXPECT_EQ(Control(kEditY).text, "-2.000");
    EXPECT_EQ(command->Origin().x, 0.0) << "moving does not set the origin";
    EXPECT_EQ(Panel().notificationsOff, 0) << "notifications are back on";

    EXPECT_EQ(Point(command, 10, 20, 0.5, 1), 0);
    EXPECT_EQ(command->Origin().x, 10.0);
    EXPECT_EQ(command->Origin().y, 20.0);
    EXPECT_EQ(command->Origin().z, 0.5);
    EXPECT_FALSE(command->Picking());
    EXPECT_EQ(RootInputKinds(), 0u);
    EXPECT_TRUE(Control(kEditX).enabled);
    EXPECT_TRUE(Control(1000).enabled);
    EXPECT_FALSE(Control(kPick).pushed);
}

// Typing in an edit moves the origin at once; text that is no number puts
// the coordinate at 0.
TEST_F(CommandPanelTest, TypedCoordinatesMoveTheOrigin)
{
    auto* command = Make<CAddOperationCommand>(CLSID_AddOperationCommand, kCommandAddOperation);
    struct Row {
        LONG edit;
        const char* text;
        double x, y, z;
    };
    const Row rows[] = {
        {kEditX, "12.5", 12.5, 0, 0},
        {kEditY, "-3", 12.5, -3, 0},
        {kEditZ, "7e-1", 12.5, -3, 0.7},
        {kEditX, "abc", 0, -3, 0.7},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        m_panelDocument->log.clear();
        Control(row.edit).text = row.text;
        EXPECT_EQ(Control(command, row.edit, kNotifyEditChange), 0);
        EXPECT_EQ(command->Origin().x, row.x);
        EXPECT_EQ(command->Origin().y, row.y);
        EXPECT_DOUBLE_EQ(command->Origin().z, row.z);
        EXPECT_EQ(m_panelDocument->log, std::vector<std::string>{"Redraw"});
    }
    Control(kEditX).text = "99";
    EXPECT_EQ(Control(command, kEditX, kNotifyClick), 0);
    EXPECT_EQ(command->Origin().x, 0.0) << "only a change of the text counts";
}

// The triad: three arrows of five strokes at the origin, 50 pixels long
// whatever the zoom; "Inverted Z" turns the Z arrow down.
TEST_F(CommandPanelTest, TheTriadFollowsTheOriginAndInvertedZ)
{
    auto* command = Make<CAddOperationCommand>(CLSID_AddOperationCommand, kCommandAddOperation);
    Control(kEditX).text = "5";
    Control(command, kEditX, kNotifyEditChange);
    for (bool inverted : {false, true}) {
        SCOPED_TRACE(inverted);
        if (inverted)
            EXPECT_EQ(Control(command, kInverted), 0);
        EXPECT_EQ(command->InvertedZ(), inverted);
        RecordingContext context;
        context.scale = 2.0;
        IGraphicsContext* pointer = &context;
        EXPECT_EQ(Event(command, kEventDraw, &pointer), 0);
        ASSERT_EQ(context.lines.size(), 15u);
        for (const RecordingContext::Line& line : context.lines)
            EXPECT_EQ(line.colour, 0x80FF80u);
        // The shafts run from the tips (50 px at 2 px per unit, counted
        // twice: 12.5 units) to the origin.
        EXPECT_DOUBLE_EQ(context.lines[0].from[0], 5.0 + 12.5);
        EXPECT_DOUBLE_EQ(context.lines[0].to[0], 5.0);
        EXPECT_DOUBLE_EQ(context.lines[10].from[2], inverted ? -12.5 : 12.5);
    }
}

// "Ok" makes the chosen machine the store's current one on disk; Enter
// only in memory. A machine no loaded plug-in offers gives an operation
// without one, and the person is told.
TEST_F(CommandPanelTest, TheChosenMachineBecomesCurrentAndTheOperationsOwn)
{
    MessageAnswers answers;
    const std::vector<std::string>& told = answers.messages;
    const std::string store = ProgramFile("Toolstore/poststore.dat");
    CMillingJob* job = FindMillingJob(m_document->GetHostDocument());

    auto* first = Make<CAddOperationCommand>(CLSID_AddOperationCommand, kCommandAddOperation);
    Control(kMachineList).selection = 1;
    EXPECT_EQ(Control(first, 1000), 0x12);
    CPostprocessorList onDisk;
    onDisk.Load(store.c_str());
    EXPECT_EQ(onDisk.GetCurrent(), 1);
    ASSERT_EQ(job->GetOperationCount(), 1);
    EXPECT_EQ(job->GetOperation(0)->m_postprocessor, nullptr);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("No loaded postprocessor is named Siemens 3Axis Milling"), std::string::npos);

    ReleaseCommands();
    m_panelDocument = std::make_unique<PanelDocument>(m_document->GetHostDocument());
    auto* second = Make<CAddOperationCommand>(CLSID_AddOperationCommand, kCommandAddOperation);
    EXPECT_EQ(Control(kMachineList).selection, 1) << "the store's current machine";
    Control(kMachineList).selection = 0;
    EXPECT_EQ(Event(second, kEventAccept, nullptr), 0x12);
    onDisk.Load(store.c_str());
    EXPECT_EQ(onDisk.GetCurrent(), 1) << "Enter leaves the file as it was";
    ASSERT_EQ(job->GetOperationCount(), 2);
    EXPECT_EQ(job->GetOperation(1)->m_postprocessor, m_addin->Postprocessors().at(0));
    EXPECT_EQ(job->GetActiveOperation(), 1);
    EXPECT_EQ(m_panelDocument->log.back(), "ShowPane 0 0") << "the Features page after Enter";
}

TEST_F(CommandPanelTest, WithoutPluginsAnOperationHasNoMachineAndThePersonIsTold)
{
    MessageAnswers answers;
    const std::vector<std::string>& told = answers.messages;
    const ComPtr<CMillingAddin> bare = ComPtr<CMillingAddin>::Share(new CMillingAddin());
    bare->LoadPostprocessorsFrom(m_folder.Path() + "/none");
    m_host.addin = bare.Get();
    auto* command = Make<CAddOperationCommand>(CLSID_AddOperationCommand, kCommandAddOperation);
    EXPECT_EQ(Event(command, kEventAccept, nullptr), 0x12);
    m_host.addin = m_addin;
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("No postprocessor plug-in is loaded"), std::string::npos);
    EXPECT_EQ(FindMillingJob(m_document->GetHostDocument())->GetOperationCount(), 1);
}

constexpr LONG kToolNames = 211;
constexpr LONG kSpindle = 207;
constexpr LONG kFeed = 208;
constexpr LONG kPlunge = 209;
constexpr LONG kRadial = 205;
constexpr LONG kVertical = 202;
constexpr LONG kRecalculate = 206;

TEST_F(CommandPanelTest, ThePocketPanelShowsItsTitleParametersAndMills)
{
    Make<CPocketMillingCommand>(CLSID_PocketMillingCommand, kCommandPocketMilling);
    EXPECT_EQ(Control(217).text, "Pocket milling");
    EXPECT_EQ(Control(217).kind, FakeControlKind::Title);
    EXPECT_NE(Control(218).bitmap, nullptr);
    const std::pair<LONG, const char*> shown[] = {{200, "0.000"}, {201, "0.000"}, {203, "50.000"},
                                                  {204, "5.000"}, {210, "0.000"}, {kSpindle, "18000.000"},
                                                  {kFeed, "450.000"}, {kPlunge, "150.000"}, {kRadial, "40.000"},
                                                  {kVertical, "1.000"}};
    for (const auto& [id, text] : shown)
        EXPECT_EQ(Control(id).text, text) << id;
    EXPECT_EQ(Control(kToolNames).items.size(), 4u) << "the mills, not the drill";
    EXPECT_EQ(Control(kToolNames).selection, 0);
    EXPECT_EQ(Control(kRecalculate).rect.top, 398);
    EXPECT_EQ(Panel().Find(217)->kind, FakeControlKind::Title);
}

TEST_F(CommandPanelTest, TheContourPanelHasOutsideAndNoRadialStep)
{
    Make<CContourMillingCommand>(CLSID_ContourMillingCommand, kCommandContourMilling);
    EXPECT_EQ(Control(218).text, "Contour milling");
    EXPECT_EQ(Control(217).kind, FakeControlKind::Button) << "the Outside check box";
    EXPECT_EQ(Panel().Find(kRadial), nullptr);
    EXPECT_EQ(Control(kVertical).rect.top, 360);
    EXPECT_EQ(Control(kRecalculate).rect.top, 387);
}

// A choice that finds no tool empties and disables the tool's fields; a
// later choice that finds one fills them and makes them editable again.
TEST_F(CommandPanelTest, ToolChoicesFillAndEnableTheToolsFields)
{
    auto* command = Make<CPocketMillingCommand>(CLSID_PocketMillingCommand, kCommandPocketMilling);
    FakeControl& names = Control(kToolNames);
    names.items[1] = "A tool no longer in the store";
    names.selection = 1;
    EXPECT_EQ(Control(command, kToolNames, kNotifySelectionChange), 0);
    EXPECT_EQ(command->Tool(), ToolChoice::None);
    for (LONG id : {kSpindle, kFeed, kPlunge, kRadial, kVertical}) {
        EXPECT_EQ(Control(id).text, "") << id;
        EXPECT_FALSE(Control(id).enabled) << id;
    }
    names.selection = 2;
    EXPECT_EQ(Control(command, kToolNames, kNotifySelectionChange), 0);
    EXPECT_EQ(command->Tool(), ToolChoice::Chosen);
    EXPECT_EQ(command->Parameters().tool.name, "Flat end mill 10 mm");
    for (LONG id : {kSpindle, kFeed, kPlunge, kRadial, kVertical})
        EXPECT_TRUE(Control(id).enabled) << id;
    EXPECT_EQ(Control(kSpindle).text, "8000.000");
}

// The read-back: a field whose text is no number keeps its value; a zero
// feed stops the toolpath from being computed, "Recalculate" computes once
// it is fixed.
TEST_F(CommandPanelTest, TheReadBackKeepsUnreadableFieldsAndRecalculateComputes)
{
    FindMillingJob(m_document->GetHostDocument())
        ->AddOperation(std::make_unique<CMillingOperation>(m_addin->Postprocessors().at(0), "", CMovePoint{},
                                                           false),
                       true);
    auto* command = Make<CPocketMillingCommand>(CLSID_PocketMillingCommand, kCommandPocketMilling);
    Control(201).text = "-4";
    Control(200).text = "deep";
    Control(kFeed).text = "0";
    EXPECT_EQ(Control(command, kRecalculate), 0);
    EXPECT_EQ(command->Computations(), 0);
    EXPECT_EQ(command->Parameters().zBottom, -4.0);
    EXPECT_EQ(command->Parameters().zTop, 0.0) << "kept";
    EXPECT_EQ(m_panelDocument->log.back(), "Redraw");
    Control(kFeed).text = "300";
    EXPECT_EQ(Control(command, kRecalculate), 0);
    EXPECT_EQ(command->Computations(), 1);
    EXPECT_EQ(command->Parameters().tool.feedSpeed, 300.0);
}

TEST_F(CommandPanelTest, ThePanelGoesWithTheCommand)
{
    ComPtr<IAddinCommand> command;
    ASSERT_EQ(m_services.strimoFactory->CreateInstance(nullptr, CLSID_CurveMillingCommand, command.ReceiveVoid()),
              S_OK);
    command->Create(m_panelDocument.get(), kCommandCurveMilling, 0);
    EXPECT_EQ(Control(218).text, "Curve milling");
    EXPECT_FALSE(Panel().destroyed);
    command.Reset();
    EXPECT_TRUE(Panel().destroyed);
}

} // namespace
