// The snap glyph strip: its size from its bitmaps, an empty strip that is
// never shown, the glyphs of the snap kinds in their order of testing, its
// place beside the cursor without taking the focus, and what it looks like
// with every glyph, compared with its reviewed picture.
#include <gtest/gtest.h>

#include <vector>

#include "host/shell/snap_glyph_strip.h"
#include "platform/display/tests/reference_picture.h"
#include "platform/framework/wnd.h"
#include "platform/user/inspect.h"
#include "platform/user/winuser.h"

namespace {

class SnapGlyphStripTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetWindowSystem();
        ASSERT_TRUE(owner.CreateEx(0, nullptr, "view", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
        owner.SetFocus();
        ASSERT_TRUE(strip.Create(&owner, 0));
    }
    void TearDown() override
    {
        strip.DestroyWindow();
        owner.DestroyWindow();
        AfxDeleteTempMaps();
        ResetWindowSystem();
    }
    RECT Place() const
    {
        RECT rect{};
        ::GetWindowRect(strip.GetSafeHwnd(), &rect);
        return rect;
    }

    CWnd owner;
    CImageStripWindow strip;
};

TEST_F(SnapGlyphStripTest, TheGlyphsOfTheKindsFoundComeInTheirOrderOfTesting)
{
    struct Case {
        uint32_t kind;
        std::vector<UINT> glyphs;
    };
    const Case cases[] = {
        {0x0, {}},
        {0x1, {138}},
        {0x4, {142}},
        {0x1F, {138, 139, 143, 140, 142}},
        {0x2 | 0x8, {139, 140}},
        {0x100, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SnapGlyphsOfKind(c.kind), c.glyphs) << "kind " << c.kind;
    }
}

TEST_F(SnapGlyphStripTest, TheStripIsTwoPixelsWiderAndTallerThanItsGlyphs)
{
    // Empty: fitting changes nothing and it is never shown.
    const RECT before = Place();
    strip.MoveTo(40, 50);
    const RECT after = Place();
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    strip.ShowWindow(SW_SHOWNOACTIVATE);
    EXPECT_FALSE(::IsWindowVisible(strip.GetSafeHwnd()));
    EXPECT_FALSE(strip.AddBitmap(9999));
    EXPECT_EQ(strip.GetBitmapCount(), 0u);

    // Two glyphs of 16 x 15 pixels.
    ASSERT_TRUE(strip.AddBitmap(138));
    ASSERT_TRUE(strip.AddBitmap(139));
    strip.MoveTo(40, 50);
    const RECT two = Place();
    EXPECT_EQ(two.left, 40);
    EXPECT_EQ(two.top, 50);
    EXPECT_EQ(two.right - two.left, 34);
    EXPECT_EQ(two.bottom - two.top, 17);
}

TEST_F(SnapGlyphStripTest, ShowingItBesideTheCursorKeepsTheFocusAndKindZeroHidesIt)
{
    const POINT cursor = {100, 80};
    EXPECT_TRUE(ShowSnapGlyphStrip(strip, 0x1 | 0x10, cursor));
    EXPECT_TRUE(::IsWindowVisible(strip.GetSafeHwnd()));
    EXPECT_EQ(::GetFocus(), owner.GetSafeHwnd());
    const RECT place = Place();
    EXPECT_EQ(place.left, 120);
    EXPECT_EQ(place.top, 100);
    EXPECT_EQ(place.right - place.left, 34);
    EXPECT_EQ(strip.GetBitmapCount(), 2u);

    EXPECT_FALSE(ShowSnapGlyphStrip(strip, 0, cursor));
    EXPECT_FALSE(::IsWindowVisible(strip.GetSafeHwnd()));
    EXPECT_EQ(strip.GetBitmapCount(), 0u);
}

TEST_F(SnapGlyphStripTest, EveryGlyphOnThePaleYellowStrip)
{
    ASSERT_TRUE(ShowSnapGlyphStrip(strip, 0x1F, POINT{10, 10}));
    PumpUntilIdle();
    EXPECT_TRUE(MatchesReferencePicture(strip.GetSafeHwnd(), "host/shell/tests/pictures/snap_glyph_strip.png"));
}

} // namespace
