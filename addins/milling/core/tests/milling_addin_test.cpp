// CMillingAddin: what Connect registers with the host, in order; help
// topics; the context menu; the postprocessor plug-ins.
#include <gtest/gtest.h>

#include <filesystem>

#include "addins/milling/core/tests/strimo_test_support.h"
#include "platform/kernel/help.h"

namespace {

class MillingAddinTest : public StrimoTest {};

// Every registration Connect makes, as the recording host logs it.
TEST_F(MillingAddinTest, ConnectRegistersEverythingInOrder)
{
    const std::string nc = "{F214E8B5-DCC5-4963-B5A9-14B8C422FDAC}";
    const std::vector<std::string> expected = {
        "GetProgramFolder",
        "FindPaneGroup \"Workshop\"",
        "AddPaneGroup \"Workshop\" 785",
        "AddPaneItem 0 \"Features\" 1 addin 500",
        "RegisterCommandClass addin 500 {8AE25581-CB62-4D05-A3F9-125893922C21}",
        "FindPaneItem 0 \"Properties\"",
        "AddPaneItem 0 \"Properties\" 4 null 0",
        "FindPaneItem 0 \"NC code\"",
        "AddPaneItem 0 \"NC code\" 2 addin 501",
        "RegisterCommandClass addin 501 {AB8D8C57-A236-47B9-96B3-110F97DA836E}",
        "GetMainMenu",
        "FindMenuPosition menu1 \"&Tools\"",
        "InsertPopupMenu menu1 3 \"&Milling\"",
        "GetSubMenu menu1 3",
        "RegisterVariable \"Show/hide tool\" type 17 value 1",
        "RegisterVariable \"Toggle wireframe/shaded tool\" type 17 value 1",
        "AddToolbar \"Manufacturing\"",
        "AddBitmap 1 bitmap",
        "AddButton addin 5 0 4 0 \"Add Milling 2.5D Operation\"",
        "SetCommandTexts addin 5 \"op\" \"operation\"",
        "SetCommandStatusTexts addin 5 \"Adds a milling operation with its machine, origin and Z direction\" "
        "\"Add Milling 2.5D Operation\"",
        "RegisterCommandClass addin 5 {630A1FF1-8932-4035-8286-1259302AEC13}",
        "AddMenuItem menu13 addin 5 0 \"Add Milling 2.5D Operation\"",
        "AddBitmap 1 bitmap",
        "AddButton addin 208 1 4 0 \"Toolstore\"",
        "SetCommandTexts addin 208 \"ts\" \"toolstore\"",
        "SetCommandStatusTexts addin 208 \"Edits the tools of the tool store\" \"Toolstore\"",
        "RegisterCommandClass addin 208 {74A4177A-05E4-479B-99D4-914AE5455442}",
        "AddMenuItem menu13 addin 208 0 \"Toolstore\"",
        "AddBitmap 1 bitmap",
        "AddButton addin 210 2 4 0 \"Machine postprocesor settings...\"",
        "SetCommandTexts addin 210 \"ma\" \"machines\"",
        "SetCommandStatusTexts addin 210 \"Edits the list of machines and their NC settings\" "
        "\"Machine postprocessor settings\"",
        "RegisterCommandClass addin 210 {94108AA3-D006-487A-97A9-DD86D6655661}",
        "AddMenuItem menu13 addin 210 0 \"Machine postprocesor settings...\"",
        "AddBitmap 1 bitmap",
        "AddButton addin 0 3 4 0 \"Open NC File\"",
        "SetCommandTexts addin 0 \"onc\" \"opennc\"",
        "SetCommandStatusTexts addin 0 \"Reads an NC program and draws its tool moves\" \"Open NC File\"",
        "RegisterCommandClass addin 0 " + nc,
        "AddMenuItem menu13 addin 0 0 \"Open NC File\"",
        "AddMenuSeparator menu13 addin 0 2048 \"\"",
        "AddButton null 0 0 4 1 \"\"",
        "AddBitmap 1 bitmap",
        "AddButton addin 102 4 4 0 \"Add a contour milling operation\"",
        "SetCommandTexts addin 102 \"co\" \"contour\"",
        "SetCommandStatusTexts addin 102 \"Mills along picked closed contours\" \"Contour milling\"",
        "RegisterCommandClass addin 102 {65709C4B-FD32-45AE-A823-E69D670BB3AE}",
        "AddMenuItem menu13 addin 102 0 \"Add a contour milling operation\"",
        "AddBitmap 1 bitmap",
        "AddButton addin 103 5 4 0 \"Add a pocket milling operation\"",
        "SetCommandTexts addin 103 \"po\" \"pocket\"",
        "SetCommandStatusTexts addin 103 \"Clears the area inside picked closed contours, leaving islands\" "
        "\"Pocket milling\"",
        "RegisterCommandClass addin 103 {FF02C3EB-D852-4DCF-B32C-38969967E28C}",
        "AddMenuItem menu13 addin 103 0 \"Add a pocket milling operation\"",
        "AddMenuSeparator menu13 addin 0 2048 \"\"",
        "AddButton null 0 0 4 1 \"\"",
        "AddBitmap 1 bitmap",
        "AddButton addin 200 6 4 0 \"Simulate current phase\"",
        "SetCommandTexts addin 200 \"sim\" \"simulate\"",
        "SetCommandStatusTexts addin 200 \"Runs the tool along the active operation's toolpath\" "
        "\"Simulate current phase\"",
        "RegisterCommandClass addin 200 {D76FA7D4-2A38-477E-B7B7-2C3E889506E3}",
        "AddMenuItem menu13 addin 200 0 \"Simulate current phase\"",
        "AddBitmap 1 bitmap",
        "AddButton addin 1 7 4 0 \"Save NC File\"",
        "SetCommandTexts addin 1 \"snc\" \"savenc\"",
        "SetCommandStatusTexts addin 1 \"Writes the NC program of the active operation to a file\" "
        "\"Save NC File\"",
        "RegisterCommandClass addin 1 " + nc,
        "AddMenuItem menu13 addin 1 0 \"Save NC File\"",
        "RegisterEventHandlerClass addin {734061D6-EB40-43CC-A12A-7C9B6FAC0872} 131076",
        "GetEventConnectionPoint",
    };
    ASSERT_EQ(m_host.log.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(m_host.log[i], expected[i]) << "call " << i;
    EXPECT_EQ(m_addin->PaneGroup(), 0);
    EXPECT_EQ(m_addin->FeaturesPage(), 0);
    EXPECT_EQ(m_addin->PropertiesPage(), 1);
    EXPECT_EQ(m_addin->ShowToolVariable(), 25);
    EXPECT_EQ(m_addin->ShadedToolVariable(), 26);
    EXPECT_EQ(StrimoProgramFolder(), m_folder.Path());
    EXPECT_EQ(m_host.events->Find(IID_IDispatch, kMainEventGroup)->SinkCount(), 1u);
}

TEST_F(MillingAddinTest, ASecondConnectReusesTheGroupAndPagesAndRegistersTheRestAgain)
{
    m_host.log.clear();
    ASSERT_EQ(m_addin->Connect(&m_host), S_OK);
    const auto count = [&](const std::string& prefix) {
        size_t n = 0;
        for (const std::string& line : m_host.log)
            n += line.rfind(prefix, 0) == 0 ? 1 : 0;
        return n;
    };
    EXPECT_EQ(count("AddPaneGroup"), 0u);
    EXPECT_EQ(count("AddPaneItem 0 \"Features\""), 1u) << "the features page is added each time";
    EXPECT_EQ(count("AddPaneItem 0 \"Properties\""), 0u);
    EXPECT_EQ(count("AddPaneItem 0 \"NC code\""), 0u);
    EXPECT_EQ(count("RegisterVariable"), 2u);
    EXPECT_EQ(count("AddMenuItem"), 8u);
    EXPECT_EQ(m_host.events->Find(IID_IDispatch, kMainEventGroup)->SinkCount(), 2u);
    EXPECT_EQ(m_addin->Postprocessors().size(), 1u) << "the plug-ins load once";
}

TEST_F(MillingAddinTest, TheEventSinkAnswersTheViewEventAndNothingElse)
{
    EXPECT_EQ(m_host.events->FireEvent(0, "\x4D", {static_cast<IUnknown**>(nullptr)}), S_OK);
}

TEST_F(MillingAddinTest, PostprocessorsAreFoundByTheirExactName)
{
    ASSERT_EQ(m_addin->Postprocessors().size(), 1u);
    EXPECT_EQ(m_addin->FindPostprocessor("Power Control CNC"), m_addin->Postprocessors()[0]);
    EXPECT_EQ(m_addin->FindPostprocessor("power control cnc"), nullptr);
    EXPECT_EQ(m_addin->FindPostprocessor("Siemens 3Axis Milling"), nullptr) << "yelk announces one dialect";
    EXPECT_EQ(m_addin->FindPostprocessor(""), nullptr);
}

// A plug-in folder holding a library without the two exports: the library
// stays loaded and gives no postprocessor.
TEST_F(MillingAddinTest, APluginWithoutTheExportsGivesNothing)
{
    TempFolder plugins;
    std::filesystem::create_symlink(std::string(NUVEX_TEST_BIN_DIR) + "/AddIns/entities.so",
                                    plugins.Path() + "/aaa_not_a_postprocessor.so");
    std::filesystem::create_symlink(std::string(NUVEX_TEST_BIN_DIR) + "/PostProc/yelk.so",
                                    plugins.Path() + "/yelk.so");
    const ComPtr<CMillingAddin> fresh = ComPtr<CMillingAddin>::Share(new CMillingAddin());
    fresh->LoadPostprocessorsFrom(plugins.Path());
    EXPECT_EQ(fresh->Postprocessors().size(), 1u);
    fresh->LoadPostprocessorsFrom(plugins.Path());
    EXPECT_EQ(fresh->Postprocessors().size(), 1u) << "later loads do nothing";
}

TEST_F(MillingAddinTest, HelpOpensTheTopicOfEachCommand)
{
    struct Row {
        long command;
        const char* path; // empty: nothing opens
    };
    const Row rows[] = {
        {5, "help\\EN\\nuvex.chm::/khtml/operation.htm"},
        {100, "help\\EN\\nuvex.chm::/khtml/curve_feature.htm"},
        {102, "help\\EN\\nuvex.chm::/khtml/contour_feature.htm"},
        {103, "help\\EN\\nuvex.chm::/khtml/pocket_feature.htm"},
        {200, "help\\EN\\nuvex.chm::/khtml/simulation.htm"},
        {208, "help\\EN\\nuvex.chm::/khtml/toolstore.htm"},
        {210, "help\\EN\\nuvex.chm::/khtml/postprocessor.htm"},
        {0, ""},
        {1, ""},
        {999, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        std::vector<std::string> requests;
        ScopedHelpRecorder recorder([&](const HelpRequest& request) { requests.push_back(request.requested); });
        EXPECT_EQ(m_addin->Help(row.command, 0x10000000), S_OK);
        if (row.path[0] == '\0') {
            EXPECT_TRUE(requests.empty());
        } else {
            ASSERT_EQ(requests.size(), 1u);
            EXPECT_EQ(requests[0], row.path);
        }
    }
}

TEST_F(MillingAddinTest, ContextMenuAddsContourAndPocketEachTime)
{
    for (int round = 0; round < 2; ++round) {
        m_host.log.clear();
        EXPECT_EQ(m_addin->OnContextMenu(&m_host), S_OK);
        const std::vector<std::string> expected = {
            "GetViewContextMenu",
            "RegisterCommandClass addin 102 {65709C4B-FD32-45AE-A823-E69D670BB3AE}",
            "AddMenuItem menu90 addin 102 0 \"Add a contour milling operation\"",
            "RegisterCommandClass addin 103 {FF02C3EB-D852-4DCF-B32C-38969967E28C}",
            "AddMenuItem menu90 addin 103 0 \"Add a pocket milling operation\"",
        };
        EXPECT_EQ(m_host.log, expected);
    }
}

TEST_F(MillingAddinTest, TheAddinAnswersOnlyItsInterfaces)
{
    void* out = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(m_addin->QueryInterface(IID_IAddinCommand, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(CMillingAddin::FromHost(&m_host), m_addin);
    EXPECT_EQ(CMillingAddin::FromInterface(reinterpret_cast<IAddin*>(&m_host)), nullptr);
}

} // namespace
