// Rich edit layout and painting: fonts per character effects, the x of
// every character of a row, hit-testing, and drawing the visible rows with
// their colours, the selection and the caret through the text functions of
// the drawing layer.
#include "platform/controls/richedit_state.h"
#include "platform/gdi/dc_guards.h"

#include <algorithm>

#include "platform/gdi/gdi.h"

namespace nuvex::controls {

namespace {

constexpr DWORD kGlyphEffects = CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT;
constexpr int kTabColumns = 8;

int VariantIndex(DWORD effects)
{
    return static_cast<int>(effects & kGlyphEffects);
}

// A DC of the window for measuring; released when it goes.
class MeasureDC {
public:
    explicit MeasureDC(HWND hwnd) : m_hwnd(hwnd), m_dc(GetDC(hwnd)) {}
    ~MeasureDC()
    {
        if (m_dc != nullptr) {
            ReleaseDC(m_hwnd, m_dc);
        }
    }
    MeasureDC(const MeasureDC&) = delete;
    MeasureDC& operator=(const MeasureDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

int TabWidth(HDC dc)
{
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    return std::max<int>(1, metrics.tmAveCharWidth * kTabColumns);
}

} // namespace

COLORREF RichEditState::Background() const
{
    return systemBackground ? GetSysColor(COLOR_WINDOW) : background;
}

RichCharFormat RichEditState::InsertionFormat() const
{
    if (insertFormat) {
        return *insertFormat;
    }
    const RichRange selection = Selection();
    if (!selection.Empty()) {
        return text.FormatAt(selection.min);
    }
    if (selection.min > 0) {
        return text.FormatAt(selection.min - 1);
    }
    if (text.Length() > 0) {
        return text.FormatAt(0);
    }
    return defaultFormat;
}

HFONT VariantFont(RichEditState& s, DWORD effects)
{
    const int index = VariantIndex(effects);
    HFONT& slot = s.variants[static_cast<size_t>(index)];
    if (slot == nullptr) {
        HGDIOBJ base = s.font != nullptr ? static_cast<HGDIOBJ>(s.font) : GetStockObject(DEFAULT_GUI_FONT);
        LOGFONTA logical{};
        GetObjectA(base, sizeof(logical), &logical);
        if ((effects & CFE_BOLD) != 0) {
            logical.lfWeight = FW_BOLD;
        }
        logical.lfItalic = (effects & CFE_ITALIC) != 0 ? 1 : logical.lfItalic;
        logical.lfUnderline = (effects & CFE_UNDERLINE) != 0 ? 1 : logical.lfUnderline;
        logical.lfStrikeOut = (effects & CFE_STRIKEOUT) != 0 ? 1 : logical.lfStrikeOut;
        slot = CreateFontIndirectA(&logical);
    }
    return slot;
}

void FreeFonts(RichEditState& s)
{
    s.rowHeight = 0;
    for (HFONT& font : s.variants) {
        if (font != nullptr) {
            DeleteObject(font);
            font = nullptr;
        }
    }
}

int RowHeight(RichEditState& s, HDC dc)
{
    if (s.rowHeight == 0) {
        const SelectedObject font(dc, VariantFont(s, 0));
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        s.rowHeight = std::max<int>(1, metrics.tmHeight);
    }
    return s.rowHeight;
}

int RowHeight(RichEditState& s)
{
    if (s.rowHeight == 0) {
        MeasureDC dc(s.hwnd);
        return RowHeight(s, dc.Get());
    }
    return s.rowHeight;
}

RECT RowsBand(RichEditState& s, LONG first, LONG last)
{
    RECT client{};
    GetClientRect(s.hwnd, &client);
    if (last >= 0 && last < first) {
        return RECT{0, 0, 0, 0};
    }
    const int height = RowHeight(s);
    // The top margin belongs to the first visible row, so that a band from
    // above the visible rows covers all of it.
    const LONG top = first <= s.firstRow ? 0 : kRichEditMargin + (first - s.firstRow) * height;
    const LONG bottom = last < 0 ? client.bottom : kRichEditMargin + (last + 1 - s.firstRow) * height;
    RECT band{client.left, std::max(top, client.top), client.right, std::min(bottom, client.bottom)};
    if (band.top >= band.bottom) {
        return RECT{0, 0, 0, 0};
    }
    return band;
}

std::vector<int> RowPositions(RichEditState& s, HDC dc, LONG row)
{
    const RichText& text = s.text;
    const LONG start = text.RowStart(row);
    const LONG length = text.RowLength(row);
    std::vector<int> xs(static_cast<size_t>(length) + 1, 0);
    int x = 0;
    {
        const SelectedObject font(dc, VariantFont(s, 0));
        const int tab = TabWidth(dc);
        LONG i = 0;
        while (i < length) {
            const char c = text.Text()[static_cast<size_t>(start + i)];
            if (c == '\t') {
                x = (x / tab + 1) * tab;
                xs[static_cast<size_t>(i) + 1] = x;
                ++i;
                continue;
            }
            // One run: characters of the same glyph effects up to a tab.
            const DWORD key = text.FormatAt(start + i).effects & kGlyphEffects;
            LONG j = i;
            while (j < length && text.Text()[static_cast<size_t>(start + j)] != '\t' &&
                   (text.FormatAt(start + j).effects & kGlyphEffects) == key) {
                ++j;
            }
            SelectObject(dc, VariantFont(s, key));
            std::vector<INT> partial(static_cast<size_t>(j - i), 0);
            SIZE size{};
            GetTextExtentExPointA(dc, text.Text().data() + start + i, static_cast<int>(j - i), 0, nullptr,
                                  partial.data(), &size);
            for (LONG k = i; k < j; ++k) {
                xs[static_cast<size_t>(k) + 1] = x + partial[static_cast<size_t>(k - i)];
            }
            x = xs[static_cast<size_t>(j)];
            i = j;
        }
    }

    // Alignment and indents come from the paragraph of the row's first
    // character (or its break, for an empty row).
    const RichCharFormat& paragraph =
        start < text.Length() ? text.FormatAt(start) : (start > 0 ? text.FormatAt(start - 1) : s.defaultFormat);
    RECT client{};
    GetClientRect(s.hwnd, &client);
    const int left = kRichEditMargin + paragraph.startIndent / kTwipsPerPixel;
    const int right = client.right - kRichEditMargin - paragraph.rightIndent / kTwipsPerPixel;
    int origin = left;
    if (paragraph.alignment == PFA_RIGHT) {
        origin = std::max(left, right - x);
    } else if (paragraph.alignment == PFA_CENTER) {
        origin = std::max(left, left + (right - left - x) / 2);
    }
    for (int& value : xs) {
        value += origin - s.xScroll;
    }
    return xs;
}

LONG VisibleRows(RichEditState& s)
{
    RECT client{};
    GetClientRect(s.hwnd, &client);
    return std::max<LONG>(1, (client.bottom - client.top - kRichEditMargin) / RowHeight(s));
}

LONG PositionFromPoint(RichEditState& s, POINT client)
{
    MeasureDC dc(s.hwnd);
    const int height = RowHeight(s, dc.Get());
    const int offset = client.y - kRichEditMargin;
    LONG row = s.firstRow + (offset < 0 ? -1 : offset / height);
    row = std::clamp<LONG>(row, 0, s.text.RowCount() - 1);
    return PositionInRow(s, row, client.x);
}

LONG PositionInRow(RichEditState& s, LONG row, int x)
{
    MeasureDC dc(s.hwnd);
    const std::vector<int> xs = RowPositions(s, dc.Get(), row);
    LONG best = 0;
    for (size_t i = 0; i < xs.size(); ++i) {
        if (std::abs(xs[i] - x) < std::abs(xs[static_cast<size_t>(best)] - x)) {
            best = static_cast<LONG>(i);
        }
    }
    return s.text.RowStart(row) + best;
}

POINT PointFromPosition(RichEditState& s, LONG position)
{
    MeasureDC dc(s.hwnd);
    const LONG row = s.text.RowOf(position);
    const std::vector<int> xs = RowPositions(s, dc.Get(), row);
    const int height = RowHeight(s, dc.Get());
    return {xs[static_cast<size_t>(position - s.text.RowStart(row))],
            kRichEditMargin + static_cast<int>(row - s.firstRow) * height};
}

void PaintRichEdit(RichEditState& s, HDC dc, const RECT& area)
{
    RECT client{};
    GetClientRect(s.hwnd, &client);
    RECT paper{};
    if (IntersectRect(&paper, &client, &area) == FALSE) {
        return;
    }
    FillSolidRect(dc, &paper, s.Background());
    const DWORD style = static_cast<DWORD>(GetWindowLongA(s.hwnd, GWL_STYLE));
    const bool showSelection = !s.selectionHidden && (s.focused || (style & ES_NOHIDESEL) != 0);
    const RichRange selection = s.Selection();
    const int height = RowHeight(s, dc);
    const RichText& text = s.text;
    SetBkMode(dc, TRANSPARENT);
    const SelectedObject font(dc, VariantFont(s, 0));

    // Only the rows that meet the area: those above and below it keep
    // their pixels.
    const LONG skipped = std::max<LONG>(0, (paper.top - kRichEditMargin) / height);
    for (LONG row = s.firstRow + skipped; row < text.RowCount(); ++row) {
        const int y = kRichEditMargin + static_cast<int>(row - s.firstRow) * height;
        if (y >= paper.bottom) {
            break;
        }
        const LONG start = text.RowStart(row);
        const LONG length = text.RowLength(row);
        const std::vector<int> xs = RowPositions(s, dc, row);
        s.widest = std::max(s.widest, xs.back() - xs.front());
        if (showSelection && !selection.Empty()) {
            // The break of a selected row shows as a little block after it.
            const LONG a = std::clamp<LONG>(selection.min - start, 0, length);
            const LONG b = std::clamp<LONG>(selection.max - start, 0, length);
            const bool breakSelected = start + length < text.Length() && selection.min <= start + length &&
                                       selection.max > start + length;
            int right = xs[static_cast<size_t>(b)];
            if (breakSelected) {
                right += height / 3;
            }
            if (a < b || breakSelected) {
                const RECT band{xs[static_cast<size_t>(a)], y, right, y + height};
                FillSolidRect(dc, &band, GetSysColor(COLOR_HIGHLIGHT));
            }
        }
        LONG i = 0;
        while (i < length) {
            const LONG at = start + i;
            const RichCharFormat& format = text.FormatAt(at);
            const bool selected = showSelection && at >= selection.min && at < selection.max;
            LONG j = i + 1;
            while (j < length) {
                const RichCharFormat& next = text.FormatAt(start + j);
                const bool nextSelected = showSelection && start + j >= selection.min && start + j < selection.max;
                if (next.effects != format.effects || next.color != format.color || nextSelected != selected) {
                    break;
                }
                ++j;
            }
            COLORREF colour = (format.effects & CFE_AUTOCOLOR) != 0 ? GetSysColor(COLOR_WINDOWTEXT) : format.color;
            if (selected) {
                colour = GetSysColor(COLOR_HIGHLIGHTTEXT);
            }
            SelectObject(dc, VariantFont(s, format.effects));
            SetTextColor(dc, colour);
            // Tabs are drawn as the gap they leave.
            for (LONG k = i; k < j;) {
                if (text.Text()[static_cast<size_t>(start + k)] == '\t') {
                    ++k;
                    continue;
                }
                LONG end = k;
                while (end < j && text.Text()[static_cast<size_t>(start + end)] != '\t') {
                    ++end;
                }
                TextOutA(dc, xs[static_cast<size_t>(k)], y, text.Text().data() + start + k,
                         static_cast<int>(end - k));
                k = end;
            }
            i = j;
        }
        if (s.focused && selection.Empty() && text.RowOf(selection.min) == row) {
            const int x = xs[static_cast<size_t>(selection.min - start)];
            const RECT caret{x, y, x + 1, y + height};
            FillSolidRect(dc, &caret, GetSysColor(COLOR_WINDOWTEXT));
        }
    }
}

std::string ExternalText(const RichText& text, RichRange range)
{
    std::string out;
    const LONG a = std::clamp<LONG>(range.min, 0, text.Length());
    const LONG b = std::clamp<LONG>(range.max, a, text.Length());
    for (LONG i = a; i < b; ++i) {
        const char c = text.Text()[static_cast<size_t>(i)];
        if (c == kBreak) {
            out += "\r\n";
        } else {
            out.push_back(c);
        }
    }
    return out;
}

} // namespace nuvex::controls
