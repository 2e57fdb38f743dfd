// The state of one rich edit window and the layout that painting, mouse
// hit-testing and scrolling share. Private to the controls family.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/controls/richedit_text.h"

namespace nuvex::controls {

// Pixels between the client edge and the text.
inline constexpr int kRichEditMargin = 2;
// Twips per pixel on the 96-dpi screen.
inline constexpr int kTwipsPerPixel = 15;

struct RichEditState {
    HWND hwnd = nullptr;
    RichText text;
    LONG anchor = 0; // the fixed end of the selection
    LONG caret = 0;  // the moving end
    // The format the next inserted text takes, set by a format change of an
    // empty selection and forgotten when the selection moves.
    std::optional<RichCharFormat> insertFormat;
    RichCharFormat defaultFormat;
    DWORD eventMask = ENM_NONE;
    bool systemBackground = true;
    COLORREF background = 0;
    bool selectionHidden = false; // EM_HIDESELECTION
    bool focused = false;
    bool modified = false;
    LONG limit = 32767;
    LONG firstRow = 0;
    int xScroll = 0;   // pixels scrolled to the left
    int preferredX = -1; // caret column kept while moving up and down
    bool dragging = false;
    // Made with WS_VSCROLL / WS_HSCROLL: those bars come and go with the need.
    bool verticalBar = false;
    bool horizontalBar = false;
    int widest = 0; // the widest row seen so far, in pixels (the sideways range)
    HFONT font = nullptr; // WM_SETFONT; null means the default GUI font
    // Variants of the font by the effects that change glyphs (bold, italic,
    // underline, strike-out); made when first needed.
    std::array<HFONT, 16> variants{};
    int rowHeight = 0; // of the font, in pixels; 0 until measured

    RichRange Selection() const { return {std::min(anchor, caret), std::max(anchor, caret)}; }
    COLORREF Background() const;
    // The format that text typed or inserted at the selection takes.
    RichCharFormat InsertionFormat() const;
};

// Layout ----------------------------------------------------------------------

HFONT VariantFont(RichEditState& s, DWORD effects);
void FreeFonts(RichEditState& s);
// The height of one text row in pixels, measured once per font.
int RowHeight(RichEditState& s, HDC dc);
int RowHeight(RichEditState& s);
// The client band that rows [first, last] take (`last` -1: down to the
// client's bottom edge), clipped to the client; empty when none of them is
// shown.
RECT RowsBand(RichEditState& s, LONG first, LONG last);
// The x of every character boundary of `row` (RowLength + 1 values), in
// client pixels, with alignment, indent and the horizontal scroll applied.
std::vector<int> RowPositions(RichEditState& s, HDC dc, LONG row);
// The character boundary nearest to a client point.
LONG PositionFromPoint(RichEditState& s, POINT client);
// The character boundary of `row` nearest to client column `x`.
LONG PositionInRow(RichEditState& s, LONG row, int x);
// The client point at the top of the caret position `position`.
POINT PointFromPosition(RichEditState& s, LONG position);
// How many whole rows the client area shows (at least 1).
LONG VisibleRows(RichEditState& s);
// Paints the rows that meet `area` (client coordinates) and the
// background under it.
void PaintRichEdit(RichEditState& s, HDC dc, const RECT& area);

// The format messages (EM_GETCHARFORMAT, EM_SETCHARFORMAT,
// EM_GETPARAFORMAT, EM_SETPARAFORMAT); records smaller than their full
// size are refused with 0.
LRESULT GetCharFormatMessage(RichEditState& s, WPARAM which, CHARFORMATA* out);
LRESULT SetCharFormatMessage(RichEditState& s, WPARAM which, const CHARFORMATA* format);
LRESULT GetParaFormatMessage(RichEditState& s, PARAFORMAT* out);
LRESULT SetParaFormatMessage(RichEditState& s, const PARAFORMAT* format);

// The text of [range) with breaks written as "\r\n".
std::string ExternalText(const RichText& text, RichRange range);

} // namespace nuvex::controls
