// Rich edit character and paragraph formats as the format messages read
// and set them: the default format, the selection's (with the mask of what
// every selected character shares), the pending format of an empty
// selection, and the paragraphs a selection touches.
#include <algorithm>
#include <cstring>

#include "platform/controls/richedit_state.h"
#include "platform/controls/richedit_window.h"
#include "platform/gdi/gdi.h"

namespace nuvex::controls {

namespace {

constexpr DWORD kFormatMaskKnown = CFM_EFFECTS | CFM_SIZE | CFM_FACE | CFM_CHARSET;

void FillFontFields(RichEditState& s, CHARFORMATA& out)
{
    LOGFONTA logical{};
    HGDIOBJ base = s.font != nullptr ? static_cast<HGDIOBJ>(s.font) : GetStockObject(DEFAULT_GUI_FONT);
    GetObjectA(base, sizeof(logical), &logical);
    out.yHeight = std::abs(logical.lfHeight) * kTwipsPerPixel;
    out.bCharSet = logical.lfCharSet;
    out.bPitchAndFamily = logical.lfPitchAndFamily;
    std::memcpy(out.szFaceName, logical.lfFaceName, sizeof(out.szFaceName));
    out.szFaceName[sizeof(out.szFaceName) - 1] = 0;
}

void FillCharFormat(RichEditState& s, const RichCharFormat& format, DWORD mask, CHARFORMATA& out)
{
    out.dwMask = mask;
    out.dwEffects = format.effects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT | CFE_PROTECTED |
                                      CFE_AUTOCOLOR);
    out.crTextColor = (format.effects & CFE_AUTOCOLOR) != 0 ? GetSysColor(COLOR_WINDOWTEXT) : format.color;
    out.yOffset = 0;
    FillFontFields(s, out);
}

} // namespace

LRESULT GetCharFormatMessage(RichEditState& s, WPARAM which, CHARFORMATA* out)
{
    if (out == nullptr || out->cbSize < sizeof(CHARFORMATA)) {
        return 0;
    }
    if (which == SCF_DEFAULT) {
        FillCharFormat(s, s.defaultFormat, kFormatMaskKnown, *out);
        return kFormatMaskKnown;
    }
    const RichRange range = s.Selection();
    if (range.Empty()) {
        FillCharFormat(s, s.InsertionFormat(), kFormatMaskKnown, *out);
        return kFormatMaskKnown;
    }
    // Over a range, the mask keeps the properties every character shares.
    const RichCharFormat& first = s.text.FormatAt(range.min);
    DWORD mask = kFormatMaskKnown;
    for (LONG i = range.min + 1; i < range.max; ++i) {
        const RichCharFormat& other = s.text.FormatAt(i);
        const DWORD differing = first.effects ^ other.effects;
        mask &= ~(differing & (CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_PROTECTED));
        if ((differing & CFE_AUTOCOLOR) != 0 || ((first.effects & CFE_AUTOCOLOR) == 0 && first.color != other.color)) {
            mask &= ~CFM_COLOR;
        }
    }
    FillCharFormat(s, first, mask, *out);
    return mask;
}

LRESULT SetCharFormatMessage(RichEditState& s, WPARAM which, const CHARFORMATA* format)
{
    if (format == nullptr || format->cbSize < sizeof(CHARFORMATA)) {
        return 0;
    }
    auto apply = [format](RichCharFormat& target) { ApplyCharFormat(target, *format); };
    if (which == SCF_DEFAULT) {
        apply(s.defaultFormat);
    } else if ((which & SCF_ALL) != 0) {
        apply(s.defaultFormat);
        s.text.ChangeFormats({0, s.text.Length()}, apply);
        if (s.insertFormat) {
            apply(*s.insertFormat);
        }
    } else {
        RichRange range = s.Selection();
        if (range.Empty() && (which & SCF_WORD) != 0) {
            range = s.text.WordAt(range.min);
        }
        if (range.Empty()) {
            // Only what comes next changes: nothing shown repaints.
            RichCharFormat pending = s.InsertionFormat();
            apply(pending);
            s.insertFormat = pending;
        } else {
            s.text.ChangeFormats(range, apply);
            richedit::InvalidateRows(s, s.text.RowOf(range.min), s.text.RowOf(range.max));
        }
        return 1;
    }
    InvalidateRect(s.hwnd, nullptr, TRUE);
    return 1;
}

LRESULT SetParaFormatMessage(RichEditState& s, const PARAFORMAT* format)
{
    if (format == nullptr || format->cbSize < sizeof(PARAFORMAT)) {
        return 0;
    }
    const RichRange range = s.Selection();
    const LONG lastRow = s.text.RowOf(range.max);
    const LONG from = s.text.RowStart(s.text.RowOf(range.min));
    const LONG to = std::min(s.text.Length(), s.text.RowStart(lastRow) + s.text.RowLength(lastRow) + 1);
    auto apply = [format](RichCharFormat& target) { ApplyParaFormat(target, *format); };
    s.text.ChangeFormats({from, to}, apply);
    if (to == s.text.Length()) {
        // The last paragraph's format is also what new text at the end takes.
        apply(s.defaultFormat);
    }
    if (s.insertFormat) {
        apply(*s.insertFormat);
    }
    richedit::InvalidateRows(s, s.text.RowOf(range.min), lastRow);
    return 1;
}

LRESULT GetParaFormatMessage(RichEditState& s, PARAFORMAT* out)
{
    if (out == nullptr || out->cbSize < sizeof(PARAFORMAT)) {
        return 0;
    }
    const LONG start = s.text.RowStart(s.text.RowOf(s.Selection().min));
    const RichCharFormat& format = start < s.text.Length() ? s.text.FormatAt(start) : s.defaultFormat;
    out->dwMask = PFM_ALIGNMENT | PFM_STARTINDENT | PFM_RIGHTINDENT | PFM_OFFSET;
    out->wNumbering = 0;
    out->dxStartIndent = format.startIndent;
    out->dxRightIndent = format.rightIndent;
    out->dxOffset = format.offset;
    out->wAlignment = format.alignment;
    out->cTabCount = 0;
    return out->dwMask;
}

} // namespace nuvex::controls
