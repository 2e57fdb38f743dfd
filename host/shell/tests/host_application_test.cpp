// The application's host object: pane groups and their pages, the
// reference count its owner keeps, and its event connection point.
#include <gtest/gtest.h>

#include "host/document/tests/document_test_support.h"
#include "host/shell/host_application.h"
#include "host/shell/tests/recording_sink.h"

namespace {

class HostApplicationTest : public ::testing::Test {
protected:
    TestServices services;
    // Sinks outlive the application, which releases them.
    std::vector<std::string> log;
    RecordingSink sink{log, "sink"};
    CHostApplication application{services};
};

TEST_F(HostApplicationTest, PaneGroupsAndItemsAreFoundByNameAndIndex)
{
    LONG features = -5;
    LONG other = -5;
    ASSERT_EQ(application.AddPaneGroup("Features", 0x311, &features), S_OK);
    ASSERT_EQ(application.AddPaneGroup("Features", 0x2, &other), S_OK);
    EXPECT_EQ(features, 0);
    EXPECT_EQ(other, 1);
    LONG index = -5;
    EXPECT_EQ(application.FindPaneGroup("Features", &index), S_OK);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(application.FindPaneGroup("Tools", &index), E_FAIL);
    EXPECT_EQ(index, -1);
    LONG count = 0;
    EXPECT_EQ(application.GetPaneGroupCount(&count), S_OK);
    EXPECT_EQ(count, 2);
    char name[32] = {};
    EXPECT_EQ(application.GetPaneGroupName(0, name), S_OK);
    EXPECT_STREQ(name, "Features");
    EXPECT_EQ(application.GetPaneGroupName(2, name), E_FAIL);
    EXPECT_EQ(application.GetPaneGroupName(-1, name), E_FAIL);

    LONG tree = -5;
    LONG text = -5;
    ASSERT_EQ(application.AddPaneItem(0, "Tree", 0x1, services.fakeAddin, 40, &tree), S_OK);
    ASSERT_EQ(application.AddPaneItem(0, "Text", 0x2, nullptr, 41, &text), S_OK);
    EXPECT_EQ(tree, 0);
    EXPECT_EQ(text, 1);
    EXPECT_EQ(application.AddPaneItem(2, "Lost", 0x1, nullptr, 0, nullptr), E_FAIL);
    EXPECT_EQ(application.FindPaneItem(0, "Text", &index), S_OK);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(application.FindPaneItem(0, "None", &index), E_FAIL);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(application.FindPaneItem(7, "Text", &index), E_FAIL);
    EXPECT_EQ(index, -1);

    const std::vector<PaneGroup>& groups = application.PaneGroups();
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].flags, 0x311u);
    ASSERT_EQ(groups[0].items.size(), 2u);
    // The add-in's command got an entry of the command table; no add-in, no command.
    ASSERT_EQ(services.commands.size(), 1u);
    EXPECT_EQ(services.commands[0].addinCommandId, 40u);
    EXPECT_EQ(groups[0].items[0].commandIndex, 0);
    EXPECT_EQ(groups[0].items[1].commandIndex, -1);
    EXPECT_EQ(groups[0].items[1].flags, 0x2u);
}

TEST_F(HostApplicationTest, ReleasingEveryReferenceOfCallersLeavesTheOwnersOne)
{
    IUnknown* unknown = nullptr;
    ASSERT_EQ(application.QueryInterface(IID_IHostApplication, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(application.Release(), 1u);
    EXPECT_EQ(application.Release(), 1u);
    EXPECT_EQ(CHostApplication::FromInterface(&application), &application);
    EXPECT_EQ(CHostApplication::FromInterface(nullptr), nullptr);
}

TEST_F(HostApplicationTest, SinksOnTheEventPointHearTheDocumentEvents)
{
    IConnectionPoint* point = nullptr;
    ASSERT_EQ(application.GetEventConnectionPoint(&point), S_OK);
    ASSERT_NE(point, nullptr);
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
    point->Release();

    TestOutput output;
    CNuvexDoc document(services, output);
    sink.names = {{document.GetHostDocument(), "(object)"}};
    EXPECT_EQ(application.FireDocumentEvent(kEventDocumentActivated, document.GetHostDocument()), S_OK);
    EXPECT_EQ(log, (std::vector<std::string>{"sink 6 (object)"}));

    // An add-in's own point is another point, not called for these events.
    IConnectionPoint* addinPoint = nullptr;
    ASSERT_EQ(application.GetAddinConnectionPoint(services.fakeAddin, &addinPoint), S_OK);
    EXPECT_NE(addinPoint, point);
    EXPECT_EQ(static_cast<CConnectionPoint*>(addinPoint)->EventGroup(), 0);
    addinPoint->Release();
    EXPECT_EQ(application.EventSource().GetCount(), 2u);
}

} // namespace
