// The milling add-in's panes in the running program (headless, software
// OpenGL), compared with their reviewed pictures: the sample part with a
// pocket's toolpath in the view beside the Features tree, and beside the
// NC code pane in its colours; then the simulation's shaded tool standing
// at the start of the toolpath in the view. Before each picture the test
// reads what the picture should show, so a wrong picture is not accepted
// by accident.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "addins/milling/core/strimo_ids.h"
#include "addins/milling/core/tests/desktop/strimo_program_support.h"
#include "addins/milling/core/tests/desktop/workshop_program_support.h"
#include "host/app/nuvex_app.h"
#include "host/app/tests/program_folder_support.h"
#include "host/document/nuvex_doc.h"
#include "host/shell/controls/control_panel.h"
#include "host/shell/controls/rich_edit_line_ctrl.h"
#include "host/shell/docking_pane_bar.h"
#include "host/shell/pane_group_dialog.h"
#include "host/shell/main_frame.h"
#include "platform/display/tests/reference_picture.h"
#include "platform/framework/commonctrls.h"
#include "platform/user/winuser.h"

namespace {

constexpr const char* kPictures = "addins/milling/core/tests/pictures/";
// The pane fills a slice per 10 ms of the loop: a pocket's program of a few
// hundred lines is filled well within this many steps.
constexpr int kFillSteps = 200;
// The simulation panel's controls.
constexpr int kPhaseList = 100;
constexpr int kShadedBox = 109;
constexpr int kStartButton = 110;

// A control of the properties page's panels by its id, or null.
HWND PanelControl(const WorkshopPanes& panes, int id)
{
    if (panes.bar == nullptr || panes.propertiesPage < 0)
        return nullptr;
    const PanePage& page = panes.bar->Pages()[static_cast<size_t>(panes.propertiesPage)];
    if (page.currentPanel == nullptr)
        return nullptr;
    for (size_t i = 0; i < page.currentPanel->GetControlCount(); ++i) {
        CWnd* control = page.currentPanel->GetControlWindow(i);
        if (control != nullptr && control->GetDlgCtrlID() == id)
            return control->GetSafeHwnd();
    }
    return nullptr;
}

// A button's click as its panel hears it.
void Click(HWND button)
{
    ::SendMessageA(::GetParent(button), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED),
                   reinterpret_cast<LPARAM>(button));
}

TEST(WorkshopPictures, TheToolpathBesideTheFeaturesTreeTheNcCodeAndTheShadedTool)
{
    TestProgramFolder folder;
    AddStrimoFiles(folder, StrimoModulePlace::AddIns);
    RunningProgram program({(folder.Path() / "samples/sample_part.nvx").string()});
    ASSERT_TRUE(program.Start());
    CNuvexApp& app = program.App();
    CNuvexDoc* document = program.ActiveDocument();
    ASSERT_NE(document, nullptr);
    HWND top = program.Frame()->GetSafeHwnd();
    {
        const std::string failed = AddSamplePocket(app, *document);
        ASSERT_TRUE(failed.empty()) << failed;
        PumpProgram(app, kFillSteps);
        const WorkshopPanes panes = FindWorkshop(app, *document);
        ASSERT_NE(panes.features, nullptr);
        ASSERT_NE(panes.ncCode, nullptr);

        const std::vector<std::string> tree = TreeLines(*panes.features);
        ASSERT_EQ(tree.size(), 3u);
        EXPECT_EQ(tree[0], "Milling 2.5D");
        EXPECT_EQ(tree[1].rfind("  Operation", 0), 0u) << tree[1];
        EXPECT_NE(tree[1].find("[bold]"), std::string::npos) << "the active operation is bold";
        EXPECT_EQ(tree[2], "    Phase 1");
        document->GetHostDocument()->ShowPane(panes.group, panes.featuresPage);
        PumpProgram(app, 2);
        EXPECT_TRUE(MatchesReferencePicture(top, std::string(kPictures) + "workshop_features.png"));

        const std::vector<std::string> rows = TextRows(*panes.ncCode);
        ASSERT_GT(rows.size(), 20u);
        EXPECT_EQ(rows[0], "Operation 1");
        EXPECT_EQ(rows[1], "Phase 1");
        EXPECT_EQ(rows.back(), "M30") << "the pane is filled to the program's end";
        document->GetHostDocument()->ShowPane(panes.group, panes.ncCodePage);
        PumpProgram(app, 2);
        EXPECT_TRUE(MatchesReferencePicture(top, std::string(kPictures) + "workshop_nc_code.png"));

        // The simulation of the pocket: the phase chosen, "Shaded tool"
        // ticked, started; the first step stands the tool at the start.
        const int simulate = StrimoCommandIndex(app, kCommandSimulation);
        ASSERT_GE(simulate, 0);
        ASSERT_TRUE(document->StartCommand(simulate, 1));
        PumpProgram(app, 2);
        HWND phases = PanelControl(panes, kPhaseList);
        ASSERT_NE(phases, nullptr);
        ::SendMessageA(phases, CB_SETCURSEL, 0, 0);
        ::SendMessageA(::GetParent(phases), WM_COMMAND, MAKEWPARAM(kPhaseList, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(phases));
        HWND shaded = PanelControl(panes, kShadedBox);
        ASSERT_NE(shaded, nullptr);
        ::SendMessageA(shaded, BM_SETCHECK, BST_CHECKED, 0);
        Click(shaded);
        Click(PanelControl(panes, kStartButton));
        PumpProgram(app, 1, 0);
        EXPECT_TRUE(MatchesReferencePicture(top, std::string(kPictures) + "simulation_shaded_tool.png"));
    }
    program.Stop();
    ReleaseStrimoRecord(app);
}

} // namespace
