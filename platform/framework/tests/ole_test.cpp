// The OLE server stand-ins: the embedded item made once on request and its
// extent, linked items, items deleted with their document, the in-place
// deactivation command reaching the document through a single-document
// frame, and the server's registry entries.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/framework/dc.h"
#include "platform/framework/doctemplate.h"
#include "platform/framework/ole.h"
#include "platform/framework/view.h"
#include "platform/kernel/registry.h"
#include "platform/user/inspect.h"

namespace {

constexpr UINT kCancelEditServer = 32769;
constexpr UINT kDocResource = 129;
int g_itemsDeleted = 0;

class CDrawingItem : public COleServerItem {
public:
    CDrawingItem(COleServerDoc* document, BOOL autoDelete) : COleServerItem(document, autoDelete) {}
    ~CDrawingItem() override { ++g_itemsDeleted; }

    BOOL OnGetExtent(DWORD aspect, CSize& size) override
    {
        if (aspect != DVASPECT_CONTENT) {
            return COleServerItem::OnGetExtent(aspect, size);
        }
        size = CSize(3000, 3000);
        return TRUE;
    }
    BOOL OnDraw(CDC* dc, CSize&) override
    {
        dc->SetMapMode(MM_HIMETRIC);
        dc->SetWindowOrg(0, 0);
        dc->SetWindowExt(3000, 3000);
        return TRUE;
    }
};

class CDrawingDoc : public COleServerDoc {
    DECLARE_DYNCREATE(CDrawingDoc)
public:
    CDrawingDoc() { EnableCompoundFile(); }
    COleServerItem* OnGetEmbeddedItem() override
    {
        ++m_itemsMade;
        return new CDrawingItem(this, TRUE);
    }
    int m_itemsMade = 0;
};

IMPLEMENT_DYNCREATE(CDrawingDoc, COleServerDoc)

class CDrawingView : public CView {
    DECLARE_DYNCREATE(CDrawingView)
public:
    void OnDraw(CDC*) override {}

protected:
    void OnCancelEditSrvr() { static_cast<COleServerDoc*>(GetDocument())->OnDeactivateUI(FALSE); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CDrawingView, CView)
BEGIN_MESSAGE_MAP(CDrawingView, CView)
    ON_COMMAND(kCancelEditServer, OnCancelEditSrvr)
END_MESSAGE_MAP()

class OleServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem();
        g_itemsDeleted = 0;
        m_configDir = std::filesystem::temp_directory_path() / ("nuvex-ole-" + std::to_string(getpid()));
        std::filesystem::create_directories(m_configDir);
        setenv("NUVEX_CONFIG_DIR", m_configDir.c_str(), 1);
    }
    void TearDown() override
    {
        AfxDeleteTempMaps();
        ResetWindowSystem();
        unsetenv("NUVEX_CONFIG_DIR");
        std::error_code ignored;
        std::filesystem::remove_all(m_configDir, ignored);
    }
    std::filesystem::path m_configDir;
};

TEST_F(OleServerTest, EmbeddedItemIsMadeOnceReportsItsExtentAndGoesWithTheDocument)
{
    auto* document = new CDrawingDoc;
    EXPECT_TRUE(document->IsCompoundFile());
    EXPECT_FALSE(document->IsEmbedded());
    COleServerItem* item = document->GetEmbeddedItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(document->GetEmbeddedItem(), item);
    EXPECT_EQ(document->m_itemsMade, 1);
    EXPECT_FALSE(item->IsLinkedItem());
    CSize extent;
    EXPECT_TRUE(item->OnGetExtent(DVASPECT_CONTENT, extent));
    EXPECT_EQ(extent, CSize(3000, 3000));
    EXPECT_FALSE(item->OnGetExtent(DVASPECT_ICON, extent));

    // Another item of the same document is a link; items that delete
    // themselves go with the document.
    auto* link = new CDrawingItem(document, TRUE);
    EXPECT_TRUE(link->IsLinkedItem());
    document->m_bAutoDelete = TRUE;
    document->OnCloseDocument();
    EXPECT_EQ(g_itemsDeleted, 2);
}

TEST_F(OleServerTest, CancelEditCommandDeactivatesInPlaceEditingOnlyWhenThereIsSome)
{
    CSingleDocTemplate docTemplate(kDocResource, RUNTIME_CLASS(CDrawingDoc), RUNTIME_CLASS(CFrameWnd),
                                   RUNTIME_CLASS(CDrawingView));
    auto* document = static_cast<CDrawingDoc*>(docTemplate.OpenDocumentFile(nullptr));
    ASSERT_NE(document, nullptr);
    POSITION position = document->GetFirstViewPosition();
    CView* view = document->GetNextView(position);
    CFrameWnd* frame = view->GetParentFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetActiveView(), view);

    // Not in place: the command is handled and nothing changes.
    EXPECT_EQ(frame->SendMessage(WM_COMMAND, kCancelEditServer, 0), 1);
    EXPECT_FALSE(document->IsInPlaceActive());

    // In place (a frame set by the program): its user interface goes.
    COleIPFrameWnd* inPlace = new COleIPFrameWnd;
    ASSERT_TRUE(inPlace->Create(nullptr, "in place", WS_POPUP | WS_VISIBLE, CRect(0, 0, 50, 50)));
    document->m_pInPlaceFrame = inPlace;
    EXPECT_TRUE(document->IsInPlaceActive());
    frame->SendMessage(WM_COMMAND, kCancelEditServer, 0);
    EXPECT_FALSE(inPlace->IsWindowVisible());
    document->m_pInPlaceFrame = nullptr;
    inPlace->DestroyWindow();
    frame->DestroyWindow();
}

TEST_F(OleServerTest, TemplateServerWritesTheClassIdAndProgramIdEntries)
{
    CMultiDocTemplate docTemplate(kDocResource, RUNTIME_CLASS(CDrawingDoc), RUNTIME_CLASS(CFrameWnd),
                                  RUNTIME_CLASS(CDrawingView));
    const CLSID clsid = *GuidFromText("{D33433DF-4AFA-45D5-B607-B69465F99C01}");
    COleTemplateServer server;
    server.ConnectTemplate(clsid, &docTemplate, FALSE);
    EXPECT_TRUE(AfxOleInit());
    ASSERT_TRUE(server.UpdateRegistry(OAT_INPLACE_SERVER));
    EXPECT_TRUE(COleTemplateServer::RegisterAll());

    auto read = [](const std::string& path) {
        char value[256] = {0};
        LONG size = sizeof value;
        return RegQueryValueA(HKEY_CLASSES_ROOT, path.c_str(), value, &size) == ERROR_SUCCESS ? std::string(value)
                                                                                             : std::string("<none>");
    };
    const std::string key = "CLSID\\{D33433DF-4AFA-45D5-B607-B69465F99C01}";
    EXPECT_EQ(read(key), "Test Document");
    EXPECT_EQ(read(key + "\\ProgID"), "Test.Document");
    EXPECT_EQ(read("Test.Document\\CLSID"), "{D33433DF-4AFA-45D5-B607-B69465F99C01}");
}

} // namespace
