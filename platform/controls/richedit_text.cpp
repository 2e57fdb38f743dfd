// The rich edit control's text: characters with formats, rows, replacement
// with undo and redo, protection and search.
#include "platform/controls/richedit_text.h"

#include <algorithm>
#include <cctype>

namespace nuvex::controls {

void ApplyCharFormat(RichCharFormat& target, const CHARFORMATA& format)
{
    const DWORD mask = format.dwMask;
    constexpr DWORD kEffectBits = CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT | CFE_PROTECTED;
    const DWORD effectMask = mask & kEffectBits; // CFM_ and CFE_ bits coincide for these
    target.effects = (target.effects & ~effectMask) | (format.dwEffects & effectMask);
    if ((mask & CFM_COLOR) != 0) {
        if ((format.dwEffects & CFE_AUTOCOLOR) != 0) {
            target.effects |= CFE_AUTOCOLOR;
        } else {
            target.effects &= ~CFE_AUTOCOLOR;
            target.color = format.crTextColor & 0x00FFFFFFu;
        }
    }
}

void ApplyParaFormat(RichCharFormat& target, const PARAFORMAT& format)
{
    const DWORD mask = format.dwMask;
    if ((mask & PFM_ALIGNMENT) != 0 && format.wAlignment >= PFA_LEFT && format.wAlignment <= PFA_CENTER) {
        target.alignment = format.wAlignment;
    }
    if ((mask & PFM_STARTINDENT) != 0) {
        target.startIndent = format.dxStartIndent;
    } else if ((mask & PFM_OFFSETINDENT) != 0) {
        target.startIndent += format.dxStartIndent;
    }
    if ((mask & PFM_RIGHTINDENT) != 0) {
        target.rightIndent = format.dxRightIndent;
    }
    if ((mask & PFM_OFFSET) != 0) {
        target.offset = format.dxOffset;
    }
}

std::string NormalizeBreaks(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out.push_back(kBreak);
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else if (c == '\n') {
            out.push_back(kBreak);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

LONG RichText::RowLength(LONG row) const
{
    const LONG start = RowStart(row);
    const LONG end = row + 1 < RowCount() ? RowStart(row + 1) - 1 : Length();
    return end - start;
}

LONG RichText::RowOf(LONG position) const
{
    position = std::clamp<LONG>(position, 0, Length());
    auto it = std::upper_bound(m_rowStarts.begin(), m_rowStarts.end(), position);
    return static_cast<LONG>(it - m_rowStarts.begin()) - 1;
}

void RichText::ApplyEdit(LONG position, LONG removeCount, const std::string& text,
                         const std::vector<RichCharFormat>& formats)
{
    const auto at = static_cast<size_t>(position);
    m_text.replace(at, static_cast<size_t>(removeCount), text);
    m_formats.erase(m_formats.begin() + position, m_formats.begin() + position + removeCount);
    m_formats.insert(m_formats.begin() + position, formats.begin(), formats.end());

    // Only the rows from the edit on change: the starts that followed a
    // removed break go, later ones move, and each inserted break adds one.
    // Appending row after row stays cheap this way.
    const LONG delta = static_cast<LONG>(text.size()) - removeCount;
    auto first = std::upper_bound(m_rowStarts.begin(), m_rowStarts.end(), position);
    auto last = std::upper_bound(first, m_rowStarts.end(), position + removeCount);
    first = m_rowStarts.erase(first, last);
    for (auto it = first; it != m_rowStarts.end(); ++it) {
        *it += delta;
    }
    std::vector<LONG> added;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == kBreak) {
            added.push_back(position + static_cast<LONG>(i) + 1);
        }
    }
    m_rowStarts.insert(first, added.begin(), added.end());
}

void RichText::Replace(RichRange range, std::string_view text, const RichCharFormat& format, Record record)
{
    const LONG a = std::clamp<LONG>(std::min(range.min, range.max), 0, Length());
    const LONG b = std::clamp<LONG>(std::max(range.min, range.max), 0, Length());
    if (record == Record::None) {
        // Nothing to keep for undo: the removed text is not copied, so
        // emptying a long text costs no more than the edit itself.
        if (a == b && text.empty()) {
            return;
        }
        ApplyEdit(a, b - a, std::string(text), std::vector<RichCharFormat>(text.size(), format));
        EmptyUndo();
        return;
    }
    Edit edit;
    edit.position = a;
    edit.removed = m_text.substr(static_cast<size_t>(a), static_cast<size_t>(b - a));
    edit.removedFormats.assign(m_formats.begin() + a, m_formats.begin() + b);
    edit.inserted = std::string(text);
    edit.insertedFormats.assign(text.size(), format);
    if (edit.removed.empty() && edit.inserted.empty()) {
        return;
    }
    ApplyEdit(a, b - a, edit.inserted, edit.insertedFormats);

    m_redo.clear();
    const bool joins = record == Record::Typing && m_typingOpen && !m_undo.empty() && edit.removed.empty() &&
                       m_undo.back().removed.empty() &&
                       m_undo.back().position + static_cast<LONG>(m_undo.back().inserted.size()) == a;
    if (joins) {
        m_undo.back().inserted += edit.inserted;
        m_undo.back().insertedFormats.insert(m_undo.back().insertedFormats.end(), edit.insertedFormats.begin(),
                                             edit.insertedFormats.end());
    } else {
        m_undo.push_back(std::move(edit));
        if (m_undo.size() > m_undoLimit) {
            m_undo.erase(m_undo.begin());
        }
    }
    m_typingOpen = record == Record::Typing;
}

bool RichText::TouchesProtected(RichRange range) const
{
    const LONG a = std::clamp<LONG>(std::min(range.min, range.max), 0, Length());
    const LONG b = std::clamp<LONG>(std::max(range.min, range.max), 0, Length());
    if (a < b) {
        for (LONG i = a; i < b; ++i) {
            if (FormatAt(i).Protected()) {
                return true;
            }
        }
        return false;
    }
    const bool hasBefore = a > 0;
    const bool hasAfter = a < Length();
    if (!hasBefore && !hasAfter) {
        return false;
    }
    return (!hasBefore || FormatAt(a - 1).Protected()) && (!hasAfter || FormatAt(a).Protected());
}

std::optional<RichRange> RichText::Undo()
{
    if (m_undo.empty()) {
        return std::nullopt;
    }
    Edit edit = std::move(m_undo.back());
    m_undo.pop_back();
    ApplyEdit(edit.position, static_cast<LONG>(edit.inserted.size()), edit.removed, edit.removedFormats);
    const RichRange restored{edit.position, edit.position + static_cast<LONG>(edit.removed.size())};
    m_redo.push_back(std::move(edit));
    m_typingOpen = false;
    return restored;
}

std::optional<RichRange> RichText::Redo()
{
    if (m_redo.empty()) {
        return std::nullopt;
    }
    Edit edit = std::move(m_redo.back());
    m_redo.pop_back();
    ApplyEdit(edit.position, static_cast<LONG>(edit.removed.size()), edit.inserted, edit.insertedFormats);
    const RichRange restored{edit.position, edit.position + static_cast<LONG>(edit.inserted.size())};
    m_undo.push_back(std::move(edit));
    m_typingOpen = false;
    return restored;
}

void RichText::EmptyUndo()
{
    m_undo.clear();
    m_redo.clear();
    m_typingOpen = false;
}

void RichText::SetUndoLimit(size_t limit)
{
    m_undoLimit = limit;
    if (m_undo.size() > limit) {
        m_undo.erase(m_undo.begin(), m_undo.begin() + static_cast<std::ptrdiff_t>(m_undo.size() - limit));
    }
    if (limit == 0) {
        m_redo.clear();
    }
}

namespace {

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }

bool SameChar(char a, char b, bool matchCase)
{
    if (matchCase) {
        return a == b;
    }
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

} // namespace

std::optional<RichRange> RichText::Find(std::string_view what, RichRange range, WPARAM flags) const
{
    const std::string pattern = NormalizeBreaks(what);
    const LONG n = static_cast<LONG>(pattern.size());
    if (n == 0) {
        return std::nullopt;
    }
    const bool down = (flags & FR_DOWN) != 0;
    const bool matchCase = (flags & FR_MATCHCASE) != 0;
    const bool wholeWord = (flags & FR_WHOLEWORD) != 0;
    LONG from = std::clamp<LONG>(range.min, 0, Length());
    LONG to = range.max < 0 ? (down ? Length() : 0) : std::clamp<LONG>(range.max, 0, Length());
    // Backwards searches run from cpMin towards cpMax.
    const LONG lo = down ? from : std::min(from, to);
    const LONG hi = down ? to : std::max(from, to);

    auto matchesAt = [&](LONG at) {
        for (LONG k = 0; k < n; ++k) {
            if (!SameChar(m_text[static_cast<size_t>(at + k)], pattern[static_cast<size_t>(k)], matchCase)) {
                return false;
            }
        }
        if (wholeWord) {
            if (at > 0 && IsWordChar(m_text[static_cast<size_t>(at - 1)])) {
                return false;
            }
            if (at + n < Length() && IsWordChar(m_text[static_cast<size_t>(at + n)])) {
                return false;
            }
        }
        return true;
    };
    if (hi - lo < n) {
        return std::nullopt;
    }
    if (down) {
        for (LONG at = lo; at + n <= hi; ++at) {
            if (matchesAt(at)) {
                return RichRange{at, at + n};
            }
        }
    } else {
        for (LONG at = hi - n; at >= lo; --at) {
            if (matchesAt(at)) {
                return RichRange{at, at + n};
            }
        }
    }
    return std::nullopt;
}

RichRange RichText::WordAt(LONG position) const
{
    position = std::clamp<LONG>(position, 0, Length());
    if (position == Length() || !IsWordChar(m_text[static_cast<size_t>(position)])) {
        return {position, std::min(position + 1, Length())};
    }
    LONG a = position;
    LONG b = position;
    while (a > 0 && IsWordChar(m_text[static_cast<size_t>(a - 1)])) {
        --a;
    }
    while (b < Length() && IsWordChar(m_text[static_cast<size_t>(b)])) {
        ++b;
    }
    return {a, b};
}

} // namespace nuvex::controls
