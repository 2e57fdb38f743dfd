// DrawText: formatted text in a rectangle. The steps, in order:
//  1. take the prefix characters out ('&x' underlines x, '&&' is '&'),
//  2. expand tabs, 3. split into lines (at line breaks, and at spaces
//  with word breaking), 4. shorten lines with an ellipsis,
//  5. place lines (vertical and horizontal alignment), 6. measure or draw.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/text.h"

using namespace gdi;

namespace {

constexpr int kTabChars = 8;
constexpr const char* kEllipsis = "...";

// One line to draw: its characters and the index (in them) of the character
// the prefix underlines, or -1.
struct Line {
    std::string text;
    int underline = -1;
};

// Step 1: strips prefixes; `marks` gets, per kept character, whether it is underlined.
std::string StripPrefixes(const std::string& text, UINT format, std::vector<bool>& marks)
{
    std::string out;
    marks.clear();
    const bool noPrefix = (format & DT_NOPREFIX) != 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!noPrefix && c == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                out += '&';
                marks.push_back(false);
                ++i;
                continue;
            }
            if (i + 1 < text.size()) {
                out += text[i + 1];
                marks.push_back(true);
                ++i;
                continue;
            }
            continue;  // a trailing '&' shows nothing
        }
        out += c;
        marks.push_back(false);
    }
    return out;
}

int Width(FontFace* face, const std::string& s, int extra)
{
    return RunWidth(face, s.data(), static_cast<int>(s.size()), nullptr, extra);
}

// Step 2: tabs become spaces up to the next tab stop (in pixels, by widths).
void ExpandTabs(Line& line, FontFace* face, int extra, int tabWidth)
{
    std::string out;
    int underline = -1;
    for (size_t i = 0; i < line.text.size(); ++i) {
        if (static_cast<int>(i) == line.underline) underline = static_cast<int>(out.size());
        if (line.text[i] != '\t') {
            out += line.text[i];
            continue;
        }
        const int x = Width(face, out, extra);
        const int next = (x / tabWidth + 1) * tabWidth;
        const int space = std::max(1, face->Advance(' ') + extra);
        do {
            out += ' ';
        } while (Width(face, out, extra) + space <= next);
    }
    line.text = out;
    line.underline = underline;
}

// Step 3: word breaking of one paragraph into lines no wider than `width`.
void BreakWords(const Line& paragraph, FontFace* face, int extra, int width, std::vector<Line>& lines)
{
    const std::string& s = paragraph.text;
    size_t start = 0;
    while (start <= s.size()) {
        size_t end = start;
        size_t lastBreak = std::string::npos;
        while (end < s.size()) {
            if (s[end] == ' ') lastBreak = end;
            if (Width(face, s.substr(start, end + 1 - start), extra) > width && end > start) break;
            ++end;
        }
        size_t cut = end;
        size_t next = end;
        if (end < s.size()) {
            if (s[end] == ' ') {
                cut = end;
                next = end + 1;
            } else if (lastBreak != std::string::npos && lastBreak >= start) {
                cut = lastBreak;
                next = lastBreak + 1;
            } else {
                // A word wider than the rectangle stays whole on its own line.
                while (end < s.size() && s[end] != ' ') ++end;
                cut = end;
                next = end < s.size() ? end + 1 : end;
            }
        }
        Line line;
        line.text = s.substr(start, cut - start);
        // Trailing spaces do not count.
        while (!line.text.empty() && line.text.back() == ' ') line.text.pop_back();
        if (paragraph.underline >= static_cast<int>(start) && paragraph.underline < static_cast<int>(cut)) {
            line.underline = paragraph.underline - static_cast<int>(start);
        }
        lines.push_back(line);
        if (next >= s.size()) break;
        start = next;
        while (start < s.size() && s[start] == ' ') ++start;
        if (start >= s.size()) break;
    }
}

// Step 4: cuts characters off the end until the text and the ellipsis fit.
void EndEllipsis(Line& line, FontFace* face, int extra, int width)
{
    if (Width(face, line.text, extra) <= width) return;
    std::string base = line.text;
    while (!base.empty() && Width(face, base + kEllipsis, extra) > width) base.pop_back();
    line.text = base + kEllipsis;
    if (line.underline >= static_cast<int>(base.size())) line.underline = -1;
}

}  // namespace

int DrawTextA(HDC handle, LPCSTR text, int length, RECT* rect, UINT format)
{
    Dc* dc = AsDc(handle);
    if (!dc || !rect || (!text && length != 0)) return 0;
    FontFace* face = CurrentFace(dc);
    if (!face) return 0;
    const std::string source = !text ? std::string() : (length < 0 ? std::string(text) : std::string(text, static_cast<size_t>(length)));
    const TEXTMETRICA& tm = face->Metrics();
    const int extra = dc->state.charExtra;
    const int lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
    const int rectWidth = rect->right - rect->left;

    // 1. Prefixes.
    std::vector<bool> marks;
    const std::string stripped = StripPrefixes(source, format, marks);

    // 3 (with 2 per paragraph). Paragraphs at line breaks unless single line.
    std::vector<Line> paragraphs;
    {
        Line current;
        for (size_t i = 0; i < stripped.size(); ++i) {
            const char c = stripped[i];
            const bool lineBreak = c == '\n' || c == '\r';
            if (lineBreak && !(format & DT_SINGLELINE)) {
                if (c == '\r' && i + 1 < stripped.size() && stripped[i + 1] == '\n') ++i;
                paragraphs.push_back(current);
                current = Line{};
                continue;
            }
            if (lineBreak) continue;  // single-line text drops its line breaks
            if (marks[i] && current.underline < 0) current.underline = static_cast<int>(current.text.size());
            current.text += c;
        }
        paragraphs.push_back(current);
    }
    int tabChars = kTabChars;
    if (format & DT_TABSTOP) tabChars = std::max(1, static_cast<int>((format >> 8) & 0xFF));
    const int tabWidth = std::max(1, tabChars * tm.tmAveCharWidth);
    std::vector<Line> lines;
    for (Line& p : paragraphs) {
        if (format & DT_EXPANDTABS) ExpandTabs(p, face, extra, tabWidth);
        if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE) && !(format & DT_CALCRECT && rectWidth <= 0)) {
            BreakWords(p, face, extra, std::max(rectWidth, 1), lines);
        } else {
            lines.push_back(p);
        }
    }
    // 4. Ellipses.
    if (format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) {
        for (Line& line : lines) EndEllipsis(line, face, extra, rectWidth);
    }

    // 5. Placement.
    int maxWidth = 0;
    for (const Line& line : lines) maxWidth = std::max(maxWidth, Width(face, line.text, extra));
    const int totalHeight = lineHeight * static_cast<int>(lines.size());
    int top = rect->top;
    const bool single = (format & DT_SINGLELINE) != 0;
    if (single && (format & DT_VCENTER)) top = rect->top + (rect->bottom - rect->top - totalHeight) / 2;
    if (single && (format & DT_BOTTOM)) top = rect->bottom - totalHeight;

    if (format & DT_CALCRECT) {
        rect->right = rect->left + maxWidth;
        rect->bottom = rect->top + totalHeight;
        return totalHeight;
    }

    // 6. Drawing.
    Target t;
    if (GetTarget(dc, t)) {
        RECT clip = RectToTarget(dc, *rect);
        RunPlacement placement;
        placement.align = TA_LEFT | TA_TOP;
        placement.charExtra = extra;
        placement.opaqueCell = dc->state.bkMode == OPAQUE;
        placement.clip = (format & DT_NOCLIP) ? nullptr : &clip;
        placement.color = dc->state.textColor;
        placement.background = dc->state.bkColor;
        const bool showUnderline = !(format & DT_HIDEPREFIX);
        const bool prefixOnly = (format & DT_PREFIXONLY) != 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            const Line& line = lines[i];
            const int width = Width(face, line.text, extra);
            int x = rect->left;
            if (format & DT_CENTER) x = rect->left + (rectWidth - width) / 2;
            if (format & DT_RIGHT) x = rect->right - width;
            const int y = top + lineHeight * static_cast<int>(i);
            const POINT origin = ToTarget(dc, x, y);
            if (!prefixOnly) {
                PaintRun(dc, t, face, origin.x, origin.y, line.text.data(), static_cast<int>(line.text.size()),
                         placement);
            }
            if (showUnderline && line.underline >= 0 && line.underline < static_cast<int>(line.text.size())) {
                const int before = RunWidth(face, line.text.data(), line.underline, nullptr, extra);
                const int charWidth = face->Advance(static_cast<uint8_t>(line.text[static_cast<size_t>(line.underline)]));
                const int underlineY = origin.y + tm.tmAscent + face->UnderlinePosition();
                RECT u{origin.x + before, underlineY, origin.x + before + charWidth, underlineY + 1};
                if (placement.clip) {
                    u.left = std::max(u.left, clip.left);
                    u.right = std::min(u.right, clip.right);
                    if (u.top < clip.top || u.top >= clip.bottom) u.right = u.left;
                }
                FillRectangle(t, u, SolidPaint(t, dc->state.textColor, R2_COPYPEN));
            }
        }
    }
    // The height drawn, measured from the rectangle's top when aligned to the middle or bottom.
    if (single && (format & (DT_VCENTER | DT_BOTTOM))) return top - rect->top + totalHeight;
    return totalHeight;
}
