// CFeaturesPane: the tree it builds from a job (texts, order, the active
// operation bold, hidden features marked), the popup menus of a right click
// and the actions of their items, as tables against the job.
#include <gtest/gtest.h>

#include "addins/milling/core/features_pane.h"
#include "addins/milling/core/tests/fake_panel.h"
#include "addins/milling/core/tests/strimo_test_support.h"
#include "addins/milling/features/contourfeature.h"
#include "addins/milling/features/pocketfeature.h"
#include "platform/controls/commctrl.h"

namespace {

using Lines = std::vector<std::string>;

class FeaturesPaneTest : public StrimoTest {
protected:
    void SetUp() override
    {
        StrimoTest::SetUp();
        m_panelDocument = std::make_unique<PanelDocument>(m_document->GetHostDocument());
        m_job = FindMillingJob(m_document->GetHostDocument());
        ASSERT_NE(m_job, nullptr);
    }
    void TearDown() override
    {
        if (m_pane != nullptr)
            m_pane->Release();
        m_panelDocument.reset();
        StrimoTest::TearDown();
    }

    // Two operations as a drawing read from a file has them before its view
    // shows: "Roughing" with a pocket and a hidden contour, "Finishing"
    // (active) with a contour.
    void FillJob()
    {
        auto roughing = std::make_unique<CMillingOperation>(m_addin->Postprocessors().at(0), "Roughing",
                                                            CMovePoint{}, false);
        roughing->AddFeature(MakeSquarePocket(40, 10, nullptr));
        roughing->AddFeature(MakeSquareContour(20, nullptr));
        roughing->GetFeature(1)->m_hidden = 1;
        m_job->AddOperation(std::move(roughing), false);
        auto finishing = std::make_unique<CMillingOperation>(m_addin->Postprocessors().at(0), "Finishing",
                                                             CMovePoint{}, false);
        finishing->AddFeature(MakeSquareContour(30, nullptr));
        m_job->AddOperation(std::move(finishing), true);
    }

    // The pane as the host makes it for the page: through the class factory,
    // then Create with the page's tree.
    void MakePane()
    {
        IAddinCommand* pane = nullptr;
        ASSERT_EQ(m_services.strimoFactory->CreateInstance(nullptr, CLSID_FeaturesPane,
                                                           reinterpret_cast<void**>(&pane)),
                  S_OK);
        m_pane = pane;
        ASSERT_EQ(m_pane->Create(m_panelDocument.get(), kPaneFeatures, reinterpret_cast<LONG_PTR>(&m_tree)), S_OK);
    }

    HTREEITEM Root() const { return static_cast<CFeaturesPane*>(m_pane)->RootItem(); }
    HTREEITEM OperationItem(long i) const { return m_job->GetOperation(i)->m_treeItem; }
    HTREEITEM FeatureItem(long i, size_t j) const
    {
        const CMillingOperation* operation = m_job->GetOperation(i);
        return operation->FeatureTreeItem(operation->GetFeature(j));
    }

    // A right click on `item` with the hit flags; the log of the popup
    // calls it made.
    Lines RightClick(HTREEITEM item, UINT flags = TVHT_ONITEMLABEL)
    {
        m_tree.hitFlags = flags;
        m_tree.hitItem = item;
        POINT point{12, 34};
        TreeEventRecord record{&m_tree, kTreeEventRightClick, &point};
        m_panelDocument->log.clear();
        LONG result = 0x10000000;
        EXPECT_EQ(m_pane->OnEvent(0x2000000, &record, 1, 0, &result), S_OK);
        EXPECT_EQ(result, 0);
        return m_panelDocument->log;
    }
    Lines Choose(uint32_t item)
    {
        m_panelDocument->log.clear();
        LONG result = 0x10000000;
        EXPECT_EQ(m_pane->OnEvent(0x8000000, &item, 1, 0, &result), S_OK);
        EXPECT_EQ(result, 0);
        return m_panelDocument->log;
    }

    std::unique_ptr<PanelDocument> m_panelDocument;
    CMillingJob* m_job = nullptr;
    FakeTree m_tree;
    IAddinCommand* m_pane = nullptr;
};

TEST_F(FeaturesPaneTest, TheTreeShowsTheJobInOrderWithTheActiveOperationBold)
{
    FillJob();
    MakePane();
    ASSERT_NE(Root(), nullptr);
    EXPECT_EQ(m_tree.At(Root()).text, "Milling 2.5D");
    EXPECT_EQ(m_tree.At(Root()).parent, TVI_ROOT);
    EXPECT_EQ(m_tree.Children(Root()), (Lines{"Roughing", "Finishing"}));
    // A hidden feature reads " <Hidden>", the text Hide gives it, not the
    // "Phase" of the features' names.
    EXPECT_EQ(m_tree.Children(OperationItem(0)), (Lines{"Phase 1", "Phase 2 <Hidden>"}));
    EXPECT_EQ(m_tree.Children(OperationItem(1)), (Lines{"Phase 1"}));
    EXPECT_TRUE(m_tree.At(Root()).expanded);
    EXPECT_FALSE(m_tree.At(OperationItem(0)).bold);
    EXPECT_FALSE(m_tree.At(OperationItem(0)).expanded);
    EXPECT_TRUE(m_tree.At(OperationItem(1)).bold);
    EXPECT_TRUE(m_tree.At(OperationItem(1)).expanded);

    // The job knows the tree: what comes later gets its items from the job.
    m_job->GetOperation(0)->AddFeature(MakeSquareContour(5, nullptr));
    EXPECT_EQ(m_tree.Children(OperationItem(0)), (Lines{"Phase 1", "Phase 2 <Hidden>", "Phase 3"}));
    long operation = -2, feature = -2;
    EXPECT_TRUE(m_job->FindTreeItem(FeatureItem(0, 1), &operation, &feature));
    EXPECT_EQ(operation, 0);
    EXPECT_EQ(feature, 1);
}

TEST_F(FeaturesPaneTest, ANewDocumentShowsTheRootAlone)
{
    MakePane();
    EXPECT_EQ(m_tree.Children(TVI_ROOT), Lines{"Milling 2.5D"});
    EXPECT_TRUE(m_tree.Children(Root()).empty());
}

// What a right click offers, by the item under the mouse and the hit flags.
TEST_F(FeaturesPaneTest, ARightClickOffersTheItemsOfWhatWasHit)
{
    FillJob();
    MakePane();
    struct Case {
        const char* name;
        HTREEITEM item;
        UINT flags;
        Lines popup;
    };
    const Lines operationMenu = {"CreatePopupMenu", "AddPopupMenuItem 0 0 Set Active", "AddPopupMenuItem 2048 0 ",
                                 "AddPopupMenuItem 0 1 Delete", "TrackPopupMenu 0 112 234"};
    const Case cases[] = {
        {"operation label", OperationItem(0), TVHT_ONITEMLABEL, operationMenu},
        {"operation icon", OperationItem(1), TVHT_ONITEMICON, operationMenu},
        {"operation state icon", OperationItem(1), TVHT_ONITEMSTATEICON, operationMenu},
        {"visible feature", FeatureItem(0, 0), TVHT_ONITEMLABEL,
         {"CreatePopupMenu", "AddPopupMenuItem 0 101 Hide", "AddPopupMenuItem 2048 0 ",
          "AddPopupMenuItem 0 103 Delete", "TrackPopupMenu 0 112 234"}},
        {"hidden feature", FeatureItem(0, 1), TVHT_ONITEMLABEL,
         {"CreatePopupMenu", "AddPopupMenuItem 0 102 Show", "AddPopupMenuItem 2048 0 ",
          "AddPopupMenuItem 0 103 Delete", "TrackPopupMenu 0 112 234"}},
        {"root", Root(), TVHT_ONITEMLABEL, {}},
        {"beside the label", OperationItem(0), TVHT_ONITEMINDENT, {}},
        {"on the button", OperationItem(0), TVHT_ONITEMBUTTON, {}},
        {"no item", nullptr, TVHT_ONITEMLABEL, {}},
        {"an item the job does not know", reinterpret_cast<HTREEITEM>(999), TVHT_ONITEMLABEL, {}},
    };
    m_tree.screenOrigin = {100, 200};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RightClick(c.item, c.flags), c.popup);
    }
}

TEST_F(FeaturesPaneTest, SetActiveMovesTheBoldAndRefillsTheNcCode)
{
    FillJob();
    FakeRichEdit nc;
    m_job->SetNcCodeControl(&nc);
    MakePane();
    RightClick(OperationItem(0));
    EXPECT_EQ(Choose(kFeaturesItemSetActive), Lines{"Redraw"});
    EXPECT_EQ(m_job->GetActiveOperation(), 0);
    EXPECT_TRUE(m_tree.At(OperationItem(0)).bold);
    EXPECT_FALSE(m_tree.At(OperationItem(1)).bold);
    ASSERT_GE(nc.rows.size(), 2u);
    EXPECT_EQ(nc.rows[0], "Operation 1");
}

TEST_F(FeaturesPaneTest, HideAndShowRelabelTheFeature)
{
    FillJob();
    MakePane();
    RightClick(FeatureItem(1, 0));
    EXPECT_EQ(Choose(kFeaturesItemHide), Lines{"Redraw"});
    EXPECT_EQ(m_job->GetOperation(1)->GetFeature(0)->m_hidden, 1);
    EXPECT_EQ(m_tree.At(FeatureItem(1, 0)).text, "Phase 1 <Hidden>");
    // The menu follows the new state.
    EXPECT_EQ(RightClick(FeatureItem(1, 0)).at(1), "AddPopupMenuItem 0 102 Show");
    EXPECT_EQ(Choose(kFeaturesItemShow), Lines{"Redraw"});
    EXPECT_EQ(m_job->GetOperation(1)->GetFeature(0)->m_hidden, 0);
    EXPECT_EQ(m_tree.At(FeatureItem(1, 0)).text, "Phase 1");
}

TEST_F(FeaturesPaneTest, DeletingAFeatureRefillsTheActiveOperationsCode)
{
    FillJob();
    FakeRichEdit nc;
    m_job->SetNcCodeControl(&nc);
    MakePane();
    const int refills = nc.refills;
    // A feature of the operation that is not active: the pane still shows
    // the active operation's program.
    RightClick(FeatureItem(0, 0));
    EXPECT_EQ(Choose(kFeaturesItemDeleteFeature), Lines{"Redraw"});
    EXPECT_EQ(m_job->GetOperation(0)->GetFeatureCount(), 1u);
    EXPECT_EQ(m_tree.Children(OperationItem(0)), Lines{"Phase 2 <Hidden>"});
    EXPECT_EQ(nc.refills, refills + 1);
    ASSERT_FALSE(nc.rows.empty());
    EXPECT_EQ(nc.rows[0], "Operation 2");
    // A second choice without a new right click finds nothing to delete.
    EXPECT_EQ(Choose(kFeaturesItemDeleteFeature), Lines{});
    EXPECT_EQ(m_job->GetOperation(0)->GetFeatureCount(), 1u);
}

TEST_F(FeaturesPaneTest, DeletingTheOnlyOperationLeavesTheRootAlone)
{
    m_job->AddOperation(std::make_unique<CMillingOperation>(m_addin->Postprocessors().at(0), "Only", CMovePoint{}, false),
                        true);
    MakePane();
    RightClick(OperationItem(0));
    EXPECT_EQ(Choose(kFeaturesItemDeleteOperation), Lines{"Redraw"});
    EXPECT_EQ(m_job->GetOperationCount(), 0);
    EXPECT_EQ(m_job->GetActiveOperation(), -1);
    EXPECT_TRUE(m_tree.Children(Root()).empty());
    EXPECT_EQ(Choose(kFeaturesItemSetActive), Lines{});
}

TEST_F(FeaturesPaneTest, OtherEventsAndItemsDoNothing)
{
    FillJob();
    MakePane();
    LONG result = 0x10000000;
    EXPECT_EQ(m_pane->OnEvent(0x1, nullptr, 1, 0, &result), S_OK);
    EXPECT_EQ(result, 0);
    TreeSelectionChange change{nullptr, OperationItem(0)};
    TreeEventRecord record{&m_tree, kTreeEventSelectionChanged, &change};
    m_panelDocument->log.clear();
    EXPECT_EQ(m_pane->OnEvent(0x2000000, &record, 1, 0, &result), S_OK);
    EXPECT_TRUE(m_panelDocument->log.empty());
    RightClick(OperationItem(0));
    // A feature's item after an operation's menu, and an unknown item.
    EXPECT_EQ(Choose(kFeaturesItemHide), Lines{});
    EXPECT_EQ(Choose(77), Lines{});
    EXPECT_EQ(m_job->GetOperationCount(), 2);
}

} // namespace
