// Rich edit painting checked in pixels: each run in its own colour, the
// background colour, and the selection's highlight.
#include "platform/controls/tests/richedit_support.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace nuvex::controls::testing {
namespace {

// A rectangle of the parent's surface and how many pixels in it have each
// colour asked about.
class PixelBox {
public:
    PixelBox(HWND top, RECT box) : m_surface(GetWindowSurface(top)), m_box(box) {}
    int Count(COLORREF colour) const
    {
        int count = 0;
        for (LONG y = std::max<LONG>(m_box.top, 0); y < std::min<LONG>(m_box.bottom, m_surface.height); ++y) {
            for (LONG x = std::max<LONG>(m_box.left, 0); x < std::min<LONG>(m_box.right, m_surface.width); ++x) {
                const uint32_t bgra =
                    m_surface.pixels[static_cast<size_t>(y) * static_cast<size_t>(m_surface.stride) +
                                     static_cast<size_t>(x)];
                const COLORREF pixel = RGB(static_cast<BYTE>((bgra >> 16) & 0xFF),
                                           static_cast<BYTE>((bgra >> 8) & 0xFF), static_cast<BYTE>(bgra & 0xFF));
                count += pixel == colour ? 1 : 0;
            }
        }
        return count;
    }

private:
    GdiSurface m_surface;
    RECT m_box;
};

class RichEditPixels : public RichEditTest {
protected:
    // The box of characters [from, to) of one row, in the parent's pixels
    // (the parent is a border-less popup, so its client is its surface).
    // The text needs a second row, whose top gives the row height.
    RECT BoxOf(LONG from, LONG to) const
    {
        POINT a{};
        POINT b{};
        POINT first{};
        POINT second{};
        SendMessageA(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&a), from);
        SendMessageA(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&b), to);
        SendMessageA(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&first), 0);
        SendMessageA(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&second), SendMessageA(edit, EM_LINEINDEX, 1, 0));
        EXPECT_GT(second.y, first.y) << "the text needs two rows";
        MapWindowPoints(edit, parent, &a, 1);
        MapWindowPoints(edit, parent, &b, 1);
        return RECT{a.x, a.y, b.x, a.y + (second.y - first.y)};
    }
};

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 160, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kPaper = RGB(255, 255, 224);

TEST_F(RichEditPixels, RunsInTheirColoursOnTheBackground)
{
    SetText("RED GREEN BLUE\r\nnext");
    SetFormat(0, 3, CFM_COLOR, 0, kRed);
    SetFormat(4, 9, CFM_COLOR | CFM_BOLD, CFE_BOLD, kGreen);
    SetFormat(10, 14, CFM_COLOR, 0, kBlue);
    Select(15, 15);
    EXPECT_EQ(SendMessageA(edit, EM_SETBKGNDCOLOR, 0, kPaper), static_cast<LRESULT>(GetSysColor(COLOR_WINDOW)));
    UpdateWindow(parent);

    struct RunCase {
        const char* name;
        LONG from;
        LONG to;
        COLORREF colour;
    };
    const RunCase kRuns[] = {
        {"red", 0, 3, kRed},
        {"green_bold", 4, 9, kGreen},
        {"blue", 10, 14, kBlue},
    };
    for (const RunCase& c : kRuns) {
        SCOPED_TRACE(c.name);
        const PixelBox box(parent, BoxOf(c.from, c.to));
        EXPECT_GT(box.Count(c.colour), 10);
        EXPECT_GT(box.Count(kPaper), 0);
        for (const RunCase& other : kRuns) {
            if (other.colour != c.colour) {
                EXPECT_EQ(box.Count(other.colour), 0) << other.name;
            }
        }
    }
    // The untouched row keeps the window text colour.
    EXPECT_GT(PixelBox(parent, BoxOf(15, 19)).Count(GetSysColor(COLOR_WINDOWTEXT)), 5);

    // Bold glyphs carry more ink than the same text without it.
    const int boldInk = PixelBox(parent, BoxOf(4, 9)).Count(kGreen);
    SetFormat(4, 9, CFM_BOLD, 0);
    Select(15, 15);
    UpdateWindow(parent);
    EXPECT_LT(PixelBox(parent, BoxOf(4, 9)).Count(kGreen), boldInk);

    // The system colour comes back on request, and the previous colour is answered.
    EXPECT_EQ(SendMessageA(edit, EM_SETBKGNDCOLOR, 1, 0), static_cast<LRESULT>(kPaper));
    UpdateWindow(parent);
    EXPECT_EQ(PixelBox(parent, BoxOf(0, 3)).Count(kPaper), 0);
}

TEST_F(RichEditPixels, SelectionIsHighlightedWhileFocused)
{
    SetText("RED GREEN\r\nnext");
    SetFormat(0, 3, CFM_COLOR, 0, kRed);
    Select(0, 3);
    UpdateWindow(parent);
    // Without the focus the selection is not shown.
    EXPECT_EQ(PixelBox(parent, BoxOf(0, 3)).Count(GetSysColor(COLOR_HIGHLIGHT)), 0);
    SetFocus(edit);
    UpdateWindow(parent);
    const PixelBox box(parent, BoxOf(0, 3));
    EXPECT_GT(box.Count(GetSysColor(COLOR_HIGHLIGHT)), 10);
    EXPECT_GT(box.Count(GetSysColor(COLOR_HIGHLIGHTTEXT)), 5);
    EXPECT_EQ(box.Count(kRed), 0);
    // Hidden selection shows the text's own colour again.
    SendMessageA(edit, EM_HIDESELECTION, TRUE, 0);
    UpdateWindow(parent);
    EXPECT_EQ(PixelBox(parent, BoxOf(0, 3)).Count(GetSysColor(COLOR_HIGHLIGHT)), 0);
    EXPECT_GT(PixelBox(parent, BoxOf(0, 3)).Count(kRed), 10);
}

// The rows below the visible ones cost no paint: text appended or styled
// there leaves nothing to repaint, and a change on a visible row repaints
// that row's band only.
TEST_F(RichEditPixels, OnlyChangedVisibleRowsRepaint)
{
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "row " + std::to_string(i) + "\r\n";
    text += "last";
    SetText(text.c_str());
    UpdateWindow(parent);
    RECT update{};
    ASSERT_FALSE(GetUpdateRect(edit, &update, FALSE));

    struct ChangeCase {
        const char* name;
        std::function<void()> change;
        bool repaints;
    };
    const LONG end = static_cast<LONG>(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0));
    const LONG row2 = static_cast<LONG>(SendMessageA(edit, EM_LINEINDEX, 2, 0));
    const ChangeCase kCases[] = {
        {"append_below", [&] { Select(end, end); SendMessageA(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("\r\nmore")); }, false},
        {"style_below", [&] { SetFormat(end - 3, end, CFM_COLOR, 0, kRed); }, false},
        {"caret_moves_unfocused", [&] { Select(row2, row2); }, false},
        {"style_row_2", [&] { SetFormat(row2, row2 + 3, CFM_COLOR, 0, kBlue); }, true},
    };
    for (const ChangeCase& c : kCases) {
        SCOPED_TRACE(c.name);
        Select(end, end);
        UpdateWindow(parent);
        c.change();
        update = RECT{};
        EXPECT_EQ(GetUpdateRect(edit, &update, FALSE) != FALSE, c.repaints);
        if (c.repaints) {
            // One row's band: it starts below row 0 and is one row high.
            POINT top{};
            SendMessageA(edit, EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&top), row2);
            EXPECT_EQ(update.top, top.y);
            EXPECT_EQ(update.bottom - update.top, (top.y - 2) / 2);
        }
        UpdateWindow(parent);
    }
}

// Whatever repainted in parts, the pixels are those of a full repaint:
// edits, styles and selections on visible rows and beyond.
TEST_F(RichEditPixels, PartialRepaintsMatchAFullOne)
{
    SetText("alpha\r\nbeta\r\ngamma\r\ndelta\r\nepsilon");
    SetFocus(edit);
    UpdateWindow(parent);
    const std::function<void()> kSteps[] = {
        [&] { SetFormat(6, 10, CFM_COLOR, 0, kGreen); },
        [&] { Select(2, 14); },
        [&] { Select(20, 20); },
        [&] { SendMessageA(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("X\r\nY")); },
        [&] { SendMessageA(edit, EM_UNDO, 0, 0); },
        [&] { SendMessageA(edit, EM_HIDESELECTION, TRUE, 0); },
        [&] { Select(0, 3); },
        [&] { SendMessageA(edit, EM_HIDESELECTION, FALSE, 0); },
        [&] { SendMessageA(edit, WM_KEYDOWN, VK_DOWN, 0); },
    };
    int step = 0;
    for (const auto& change : kSteps) {
        SCOPED_TRACE(step++);
        change();
        UpdateWindow(parent);
        const GdiSurface parts = GetWindowSurface(parent);
        const std::vector<uint32_t> partial(parts.pixels,
                                            parts.pixels + static_cast<size_t>(parts.stride) *
                                                               static_cast<size_t>(parts.height));
        InvalidateRect(edit, nullptr, TRUE);
        UpdateWindow(parent);
        const GdiSurface whole = GetWindowSurface(parent);
        EXPECT_TRUE(std::equal(partial.begin(), partial.end(), whole.pixels));
    }
}

} // namespace
} // namespace nuvex::controls::testing
