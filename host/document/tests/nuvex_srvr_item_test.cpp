// The drawing's server item: made once on request and gone with its
// document, its extent per aspect, its empty HIMETRIC picture, and what
// the embedded and a linked item store.
#include <gtest/gtest.h>

#include "host/document/nuvex_srvr_item.h"
#include "host/document/tests/document_test_support.h"
#include "platform/framework/archive.h"
#include "platform/framework/dc.h"
#include "platform/framework/gdiobj.h"
#include "platform/gdi/gdi.h"

namespace {

// A drawing that counts what runs its Serialize.
class CountingDoc : public CNuvexDoc {
public:
    using CNuvexDoc::CNuvexDoc;
    void Serialize(CArchive& archive) override
    {
        ++(archive.IsStoring() ? stores : loads);
    }
    int stores = 0;
    int loads = 0;
};

TEST(NuvexSrvrItemTest, TheEmbeddedItemIsMadeOnceAsTheDrawingsOwnItem)
{
    DocumentFixture fixture;
    COleServerItem* item = fixture.document.GetEmbeddedItem();
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->IsKindOf(RUNTIME_CLASS(CNuvexSrvrItem)));
    EXPECT_EQ(fixture.document.GetEmbeddedItem(), item);
    EXPECT_EQ(static_cast<CNuvexSrvrItem*>(item)->GetDocument(), &fixture.document);
    EXPECT_TRUE(item->m_bAutoDelete);
    EXPECT_FALSE(item->IsLinkedItem());
}

TEST(NuvexSrvrItemTest, OnlyTheContentAspectHasAnExtent)
{
    struct Case {
        const char* name;
        DWORD aspect;
        BOOL known;
    };
    const Case cases[] = {
        {"content", DVASPECT_CONTENT, TRUE},
        {"thumbnail", DVASPECT_THUMBNAIL, FALSE},
        {"icon", DVASPECT_ICON, FALSE},
        {"printed document", DVASPECT_DOCPRINT, FALSE},
    };
    DocumentFixture fixture;
    COleServerItem* item = fixture.document.GetEmbeddedItem();
    ASSERT_NE(item, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSize extent(7, 7);
        EXPECT_EQ(item->OnGetExtent(c.aspect, extent), c.known);
        EXPECT_EQ(extent, c.known ? CSize(3000, 3000) : CSize(7, 7));
    }
}

TEST(NuvexSrvrItemTest, TheItemDrawsAnEmptyThirtyMillimetreSquare)
{
    DocumentFixture fixture;
    COleServerItem* item = fixture.document.GetEmbeddedItem();
    ASSERT_NE(item, nullptr);
    constexpr int kSide = 24;
    constexpr COLORREF kPaper = RGB(12, 34, 56);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(kSide, kSide, 1, 32, nullptr));
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, kSide, kSide, kPaper);

    CSize size(3000, 3000);
    EXPECT_TRUE(item->OnDraw(&dc, size));
    EXPECT_EQ(dc.GetMapMode(), MM_HIMETRIC);
    // The HIMETRIC mapping has its own fixed extent; the item's extent
    // reaches a container through OnGetExtent.
    EXPECT_EQ(dc.GetWindowOrg(), CPoint(0, 0));
    // Nothing of the drawing is painted.
    dc.SetMapMode(MM_TEXT);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            ASSERT_EQ(dc.GetPixel(x, y), kPaper) << x << "," << y;
        }
    }
    dc.SelectObject(old);
}

TEST(NuvexSrvrItemTest, TheEmbeddedItemStoresAndLoadsItsDrawingALinkedItemNothing)
{
    TempFolder folder;
    TestServices services;
    TestOutput output;
    CountingDoc document(services, output);
    COleServerItem* embedded = document.GetEmbeddedItem();
    ASSERT_NE(embedded, nullptr);
    // Another item of the same drawing is a link to it; it goes with the
    // drawing too.
    auto* linked = new CNuvexSrvrItem(&document);
    EXPECT_TRUE(linked->IsLinkedItem());

    CFile file;
    ASSERT_TRUE(file.Open(folder.File("item.bin").c_str(), CFile::modeCreate | CFile::modeReadWrite));
    {
        CArchive store(&file, CArchive::store);
        embedded->Serialize(store);
        linked->Serialize(store);
    }
    {
        CArchive load(&file, CArchive::load);
        embedded->Serialize(load);
        linked->Serialize(load);
    }
    EXPECT_EQ(document.stores, 1);
    EXPECT_EQ(document.loads, 1);
}

} // namespace
