// The edit control's painting: the background in the parent's colours,
// the visible lines clipped to the format rectangle, the selection in the
// highlight colours and the caret.
#include "platform/controls/edit_model.h"

namespace nuvex::controls::edit {

void Paint(HWND hwnd, EditState& s, HDC dc)
{
    SavedDC saved(dc);
    RECT rc{};
    GetClientRect(hwnd, &rc);
    SelectObject(dc, DrawingFont(s.font));
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    HBRUSH background = ControlColors(hwnd, dc, (IsReadOnly(hwnd) || !enabled) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
    FillRect(dc, &rc, background);
    const COLORREF textColor = enabled ? GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT);
    const RECT fr = FormatRect(hwnd, s);
    IntersectClipRect(dc, fr.left, fr.top, fr.right, fr.bottom);
    SetBkMode(dc, TRANSPARENT);
    const bool showSelection = (s.focused || (StyleOf(hwnd) & ES_NOHIDESEL) != 0) && s.anchor != s.caret;
    const auto lines = SplitLines(s.text, BreaksOf(hwnd));
    const int lineHeight = LineHeight(s);
    const int visible = VisibleLines(hwnd, s) + 1;
    for (int i = s.firstLine; i < static_cast<int>(lines.size()) && i < s.firstLine + visible; ++i) {
        const Line& line = lines[static_cast<size_t>(i)];
        const std::string shown = Shown(hwnd, s, line);
        const int x0 = fr.left + LineOffsetX(hwnd, s, shown) - s.scrollX;
        const int y = fr.top + (i - s.firstLine) * lineHeight;
        size_t a = line.length;
        size_t b = line.length;
        if (showSelection) {
            a = std::clamp(SelStart(s), line.start, line.start + line.length) - line.start;
            b = std::clamp(SelEnd(s), line.start, line.start + line.length) - line.start;
        }
        SetTextColor(dc, textColor);
        TextOutA(dc, x0, y, shown.data(), static_cast<int>(shown.size()));
        if (b > a) {
            const int xa = x0 + TextWidth(s.font, shown.data(), static_cast<int>(a));
            const int xb = x0 + TextWidth(s.font, shown.data(), static_cast<int>(b));
            RECT sel{xa, y, xb, y + lineHeight};
            FillSolidRect(dc, &sel, GetSysColor(COLOR_HIGHLIGHT));
            SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
            TextOutA(dc, xa, y, shown.data() + a, static_cast<int>(b - a));
        }
    }
    if (s.focused) {
        const POINT p = PointOf(hwnd, s, s.caret);
        RECT caret{p.x, p.y, p.x + 1, p.y + lineHeight};
        FillSolidRect(dc, &caret, textColor);
    }
}

} // namespace nuvex::controls::edit
