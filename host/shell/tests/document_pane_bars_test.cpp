// A document's pane pages through its IHostDocument: nothing without a
// view; with one, the pages of the pane bars on the view's frame, by group
// and page index: showing a page, the page shown, a page's pane object and
// control panels on control-panel pages.
#include <gtest/gtest.h>

#include "host/shell/document_pane_bars.h"
#include "host/shell/tests/pane_bar_fixture.h"
#include "platform/framework/framewnd.h"
#include "platform/framework/view.h"

namespace {

constexpr GUID kPaneClass = {0x9a9e0002, 0x1234, 0x5678, {1, 1, 2, 3, 5, 8, 13, 21}};
constexpr UINT kPaneFirst = 0xE900;

class CPlainView : public CView {
public:
    void OnDraw(CDC*) override {}
};

class DocumentPaneBarsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem();
        document.services.commands.push_back(Command(0, 500, kPaneClass));
        document.services.addinFactory.maker = [&](const IID& iid) -> IUnknown* {
            if (iid != kPaneClass) {
                return nullptr;
            }
            pane = new RecordingCommand(log);
            return static_cast<IAddinCommand*>(pane);
        };
        host = document.document.GetHostDocument();
    }
    void TearDown() override
    {
        for (auto& bar : bars) {
            bar.reset();
        }
        // The view goes with its window.
        if (view != nullptr) {
            view->DestroyWindow();
        }
        // The frame, too, goes with its window.
        if (frame != nullptr) {
            frame->DestroyWindow();
        }
        AfxDeleteTempMaps();
        ResetWindowSystem();
    }
    // A frame with a view of the document and two groups: one with tabs
    // (a tree page with a pane object, a control-panel page), one without.
    void Views()
    {
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 600, 400)));
        // The document outlives its last view here: the fixture owns it.
        document.document.m_bAutoDelete = FALSE;
        view = new CPlainView;
        ASSERT_TRUE(view->Create(nullptr, "view", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), frame, kPaneFirst));
        document.document.AddView(view);
        document.document.SetPanes(std::make_unique<CDocumentPaneBars>(document.document));
        for (int group = 0; group < 2; ++group) {
            bars[group] = std::make_unique<CDockingPaneBar>(&document.document);
            bars[group]->AttachToFrame(*frame);
            if (group == 0) {
                bars[group]->AddTabControl();
                bars[group]->AddPage(Page("Features", kPageTree, 0));
                bars[group]->AddPage(Page("Parameters", kPageControlPanels));
            } else {
                bars[group]->AddPage(Page("Loose", kPageControlPanels));
            }
            ASSERT_TRUE(bars[group]->Create(frame, "group", kPaneBarStyle, 0));
        }
    }

    DocumentFixture document;
    IHostDocument* host = nullptr;
    std::vector<std::string> log;
    RecordingCommand* pane = nullptr;
    CFrameWnd* frame = nullptr;
    CPlainView* view = nullptr;
    std::unique_ptr<CDockingPaneBar> bars[2];
};

TEST_F(DocumentPaneBarsTest, WithoutAViewThereAreNoPanes)
{
    LONG item = 5;
    IUnknown* object = reinterpret_cast<IUnknown*>(0x1);
    IControlPanel* panel = reinterpret_cast<IControlPanel*>(0x1);
    EXPECT_EQ(host->ShowPane(0, 0), E_FAIL);
    EXPECT_EQ(host->GetActivePane(0, &item), E_FAIL);
    EXPECT_EQ(item, -1);
    EXPECT_EQ(host->GetPaneObject(0, 0, &object), E_FAIL);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(host->CreateControlPanel(0, 1, &panel), E_FAIL);
    EXPECT_EQ(panel, nullptr);
    // A document whose panes came from a view it no longer has answers the same.
    document.document.SetPanes(std::make_unique<CDocumentPaneBars>(document.document));
    EXPECT_EQ(host->GetActivePane(0, &item), E_FAIL);
    EXPECT_EQ(item, -1);
}

TEST_F(DocumentPaneBarsTest, PagesAreAddressedByGroupAndPage)
{
    Views();
    LONG item = -5;
    EXPECT_EQ(host->GetActivePane(0, &item), S_OK);
    EXPECT_EQ(item, 0);
    EXPECT_EQ(host->ShowPane(0, 1), S_OK);
    EXPECT_EQ(host->GetActivePane(0, &item), S_OK);
    EXPECT_EQ(item, 1);
    struct Case {
        const char* name;
        LONG group;
        LONG item;
    };
    const Case outside[] = {{"no such page", 0, 2}, {"negative page", 0, -1}, {"no such group", 2, 0}, {"negative group", -1, 0}};
    for (const Case& c : outside) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(host->ShowPane(c.group, c.item), E_FAIL);
    }

    IUnknown* object = nullptr;
    EXPECT_EQ(host->GetPaneObject(0, 0, &object), S_OK);
    EXPECT_EQ(object, static_cast<IUnknown*>(static_cast<IAddinCommand*>(pane)));
    EXPECT_EQ(host->GetPaneObject(0, 1, &object), E_FAIL);
    EXPECT_EQ(object, nullptr);

    IControlPanel* panel = nullptr;
    EXPECT_EQ(host->CreateControlPanel(0, 1, &panel), S_OK);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(bars[0]->Pages()[1].panels.size(), 1u);
    EXPECT_EQ(host->CreateControlPanel(0, 0, &panel), E_FAIL) << "a tree page";
    EXPECT_EQ(panel, nullptr);
    EXPECT_EQ(host->CreateControlPanel(1, 0, &panel), E_FAIL) << "a group without tabs";
    EXPECT_EQ(host->CreateControlPanel(0, 7, &panel), E_FAIL);
}

} // namespace
