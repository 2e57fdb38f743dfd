// The rich edit's editing: replacing the selection with the checks a
// person's edit must pass (read-only, the limit, protected text), the
// clipboard, undo and redo, and the Delete and Backspace keys.
#include "platform/controls/richedit_window.h"

namespace nuvex::controls::richedit {

bool ReplaceSelection(RichEditState& s, std::string_view raw, EditCheck check, RichText::Record record, UINT msg,
                      WPARAM wParam, LPARAM lParam)
{
    const std::string text = NormalizeBreaks(raw);
    const RichRange range = s.Selection();
    HWND hwnd = s.hwnd;
    if (check == EditCheck::Person) {
        if ((Style(s) & ES_READONLY) != 0) {
            return false;
        }
        const LONG after = s.text.Length() - (range.max - range.min) + static_cast<LONG>(text.size());
        if (!text.empty() && after > s.limit) {
            NotifyCommand(s, EN_MAXTEXT);
            return false;
        }
        if (s.text.TouchesProtected(range)) {
            if ((s.eventMask & ENM_PROTECTED) == 0) {
                return false;
            }
            ENPROTECTED info{};
            info.msg = msg;
            info.wParam = wParam;
            info.lParam = lParam;
            info.chrg = {range.min, range.max};
            const LRESULT refused = NotifyParent(s, info.nmhdr, EN_PROTECTED);
            if (!Alive(hwnd, &s) || refused != 0) {
                return false;
            }
        }
    }
    const RichCharFormat format = s.InsertionFormat();
    s.text.Replace(range, text, format, record);
    const LONG caret = range.min + static_cast<LONG>(text.size());
    s.anchor = s.caret = caret;
    s.insertFormat.reset();
    if (!Changed(s, range.min)) {
        return false;
    }
    if ((s.eventMask & ENM_SELCHANGE) != 0) {
        // The selection moved with the edit.
        SELCHANGE change{};
        change.chrg = {caret, caret};
        change.seltyp = SEL_EMPTY;
        NotifyParent(s, change.nmhdr, EN_SELCHANGE);
        return Alive(hwnd, &s);
    }
    return true;
}

bool CopySelection(RichEditState& s)
{
    const RichRange range = s.Selection();
    if (range.Empty()) {
        return false;
    }
    ClipboardSetText(ExternalText(s.text, range));
    return true;
}

bool Cut(RichEditState& s)
{
    if (s.Selection().Empty()) {
        return false;
    }
    // A refused cut leaves the clipboard as it was.
    const std::string text = ExternalText(s.text, s.Selection());
    if (!ReplaceSelection(s, "", EditCheck::Person, RichText::Record::Step, WM_CUT, 0, 0)) {
        return false;
    }
    ClipboardSetText(text);
    return true;
}

bool Paste(RichEditState& s)
{
    const std::optional<std::string> text = ClipboardGetText();
    if (!text) {
        return false;
    }
    return ReplaceSelection(s, *text, EditCheck::Person, RichText::Record::Step, WM_PASTE, 0, 0);
}

bool ApplyUndo(RichEditState& s, UndoStep step)
{
    const LONG selected = s.Selection().min;
    const std::optional<RichRange> restored = step == UndoStep::Redo ? s.text.Redo() : s.text.Undo();
    if (!restored) {
        return false;
    }
    s.anchor = restored->min;
    s.caret = restored->max;
    s.insertFormat.reset();
    // The old selection's rows repaint too, wherever they were.
    return Changed(s, std::min(selected, restored->min));
}

bool DeleteKey(RichEditState& s, int key)
{
    const LONG anchor = s.anchor;
    const LONG caret = s.caret;
    RichRange range = s.Selection();
    if (range.Empty()) {
        if (key == VK_BACK) {
            if (range.min == 0) {
                return false;
            }
            range.min -= 1;
        } else {
            if (range.max >= s.text.Length()) {
                return false;
            }
            range.max += 1;
        }
        s.anchor = range.min;
        s.caret = range.max;
    }
    HWND hwnd = s.hwnd;
    if (!ReplaceSelection(s, "", EditCheck::Person, RichText::Record::Step, WM_KEYDOWN, static_cast<WPARAM>(key),
                          0)) {
        if (Alive(hwnd, &s) && s.anchor == range.min && s.caret == range.max) {
            // Refused: the selection is what it was before the key.
            s.anchor = anchor;
            s.caret = caret;
        }
        return false;
    }
    return true;
}

} // namespace nuvex::controls::richedit
