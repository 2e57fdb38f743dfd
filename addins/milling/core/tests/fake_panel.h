// Panel fakes for the commands' panel tests: a control that plays edit,
// button, combo box and static and keeps what a person would see, a panel
// that makes them, and a host document that hands out such a panel (and
// records the panes shown and redraws) while everything else goes to the
// host's real document.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "icontrols.h"
#include "ientity.h"
#include "ihost.h"
#include "objectmodel/vector3.h"

enum class FakeControlKind { Title, Static, Edit, ComboBox, Button, Other };

class FakeControl final : public IEditControl, public IButtonControl, public IComboBoxControl, public IStaticControl {
public:
    FakeControl(FakeControlKind kind, LONG id, std::string text, DWORD style, RECT rect)
        : kind(kind), id(id), text(std::move(text)), style(style), rect(rect)
    {
    }
    virtual ~FakeControl() = default;

    FakeControlKind kind;
    LONG id;
    std::string text;
    DWORD style;
    RECT rect;
    bool enabled = true;
    int check = 0;
    bool pushed = false;
    std::vector<std::string> items;
    int selection = -1;
    HBITMAP bitmap = nullptr;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IControlBase || iid == IID_IEditControl)
            *out = static_cast<IEditControl*>(this);
        else if (iid == IID_IButtonControl)
            *out = static_cast<IButtonControl*>(this);
        else if (iid == IID_IComboBoxControl)
            *out = static_cast<IComboBoxControl*>(this);
        else if (iid == IID_IStaticControl)
            *out = static_cast<IStaticControl*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE Enable(BOOL enable) override
    {
        enabled = enable != FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetText(char* buffer) override
    {
        const std::string shown = text.substr(0, kControlTextBufferSize - 1);
        std::copy(shown.begin(), shown.end(), buffer);
        buffer[shown.size()] = '\0';
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetText(const char* value) override
    {
        text = value != nullptr ? value : "";
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCheck(int* value) override
    {
        *value = check;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetCheck(int value) override
    {
        check = value;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetState(UINT* state) override
    {
        *state = pushed ? 4 : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetState(BOOL highlight) override
    {
        pushed = highlight != FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE AddString(const char* value, int* index) override
    {
        items.emplace_back(value);
        if (index != nullptr)
            *index = static_cast<int>(items.size()) - 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE InsertString(int index, const char* value, int* result) override
    {
        const size_t at = index < 0 || static_cast<size_t>(index) > items.size() ? items.size() : static_cast<size_t>(index);
        items.insert(items.begin() + static_cast<std::ptrdiff_t>(at), value);
        if (result != nullptr)
            *result = static_cast<int>(at);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ResetContent() override
    {
        items.clear();
        selection = -1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCount(int* count) override
    {
        *count = static_cast<int>(items.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCurSel(int* index) override
    {
        *index = selection;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetCurSel(int index) override
    {
        if (index < 0 || static_cast<size_t>(index) >= items.size()) {
            selection = -1;
            return E_FAIL;
        }
        selection = index;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetLBText(int index, char* buffer, int* length) override
    {
        if (index < 0 || static_cast<size_t>(index) >= items.size())
            return E_FAIL;
        const std::string& item = items[static_cast<size_t>(index)];
        std::copy(item.begin(), item.end(), buffer);
        buffer[item.size()] = '\0';
        if (length != nullptr)
            *length = static_cast<int>(item.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE FindStringExact(int, const char* value, int* index) override
    {
        *index = -1;
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i] == value) {
                *index = static_cast<int>(i);
                break;
            }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetBitmap(HBITMAP value) override
    {
        bitmap = value;
        return S_OK;
    }

    // The slots the commands do not use.
    HRESULT STDMETHODCALLTYPE GetCommandObject(IHostDocument*, IAddinCommand**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Redraw(const RECT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ModifyStyle(DWORD, DWORD, UINT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ModifyStyleEx(DWORD, DWORD, UINT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDocument(IHostDocument*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDocument(IHostDocument**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetFocus() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetButtonStyle(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetButtonStyle(UINT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIcon(HICON*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetIcon(HICON) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBitmap(HBITMAP*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteString(UINT, int*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindString(int, const char*, int*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SelectString(int, const char*, int*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTopIndex(int*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTopIndex(int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetEditSel(DWORD*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetEditSel(int, int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetLineCount(int*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSel(int*, int*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSel(int, int, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetLine(int, char*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFirstVisibleLine(int*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineFromChar(int, int*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineIndex(int, int*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineLength(int, int*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineScroll(int, int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ReplaceSel(const char*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetReadOnly(BOOL, BOOL*) override { return E_NOTIMPL; }
};

class FakePanel final : public IControlPanel {
public:
    std::vector<std::unique_ptr<FakeControl>> controls;
    IAddinCommand* owner = nullptr;
    bool shown = false;
    bool destroyed = false;
    int notificationsOff = 0; // how deep EnableNotify(FALSE) calls nest now
    // Controls of other kinds (a rich edit) a test puts under an id.
    std::map<LONG, IUnknown*> others;

    FakeControl* Find(LONG id) const
    {
        for (const auto& control : controls)
            if (control->id == id)
                return control.get();
        return nullptr;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IControlPanel) {
            *out = static_cast<IControlPanel*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE Layout() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableNotify(BOOL on) override
    {
        notificationsOff += on ? -1 : 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE AddTitle(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index) override
    {
        return Add(FakeControlKind::Title, text, style, rect, id, index);
    }
    HRESULT STDMETHODCALLTYPE GetControl(LONG id, IUnknown** out) override
    {
        if (const auto other = others.find(id); other != others.end()) {
            *out = other->second;
            return S_OK;
        }
        FakeControl* control = Find(id);
        if (control == nullptr)
            return E_FAIL;
        *out = static_cast<IEditControl*>(control);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetOwner(IAddinCommand** out) override
    {
        *out = owner;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetOwner(IAddinCommand* value) override
    {
        owner = value;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE AddSpin(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index) override
    {
        return Add(FakeControlKind::Other, text, style, rect, id, index);
    }
    HRESULT STDMETHODCALLTYPE AddListBox(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index) override
    {
        return Add(FakeControlKind::Other, text, style, rect, id, index);
    }
    HRESULT STDMETHODCALLTYPE AddStatic(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index) override
    {
        return Add(FakeControlKind::Static, text, style, rect, id, index);
    }
    HRESULT STDMETHODCALLTYPE AddEdit(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index) override
    {
        return Add(FakeControlKind::Edit, text, style, rect, id, index);
    }
    HRESULT STDMETHODCALLTYPE AddComboBox(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index) override
    {
        return Add(FakeControlKind::ComboBox, text, style, rect, id, index);
    }
    HRESULT STDMETHODCALLTYPE AddButton(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index) override
    {
        return Add(FakeControlKind::Button, text, style, rect, id, index);
    }
    HRESULT STDMETHODCALLTYPE RemoveAll() override
    {
        controls.clear();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ShowAll() override
    {
        shown = true;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE HideAll() override
    {
        shown = false;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Destroy() override
    {
        destroyed = true;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE AddSlider(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index) override
    {
        return Add(FakeControlKind::Other, text, style, rect, id, index);
    }
    HRESULT STDMETHODCALLTYPE AddRichEdit(const char* text, DWORD style, const RECT* rect, LONG id, LONG* index) override
    {
        return Add(FakeControlKind::Other, text, style, rect, id, index);
    }
    virtual ~FakePanel() = default;

private:
    HRESULT Add(FakeControlKind kind, const char* text, DWORD style, const RECT* rect, LONG id, LONG* index)
    {
        controls.push_back(std::make_unique<FakeControl>(kind, id, text != nullptr ? text : "", style, *rect));
        if (index != nullptr)
            *index = static_cast<LONG>(controls.size()) - 1;
        return S_OK;
    }
};

// The Features pane's tree: items with their text, parent, bold state and
// expansion, kept in insertion order.
class FakeTree final : public ITreeControl {
public:
    struct Item {
        std::string text;
        HTREEITEM parent;
        bool bold = false;
        bool expanded = false;
        bool deleted = false;
    };
    std::vector<Item> items; // item k has the handle k + 1
    // What HitTest answers for any point, and where the tree's client
    // origin lies on the screen.
    UINT hitFlags = 0;
    HTREEITEM hitItem = nullptr;
    POINT screenOrigin{};

    Item& At(HTREEITEM item) { return items.at(reinterpret_cast<uintptr_t>(item) - 1); }
    // The texts of the living children of `parent`, in order.
    std::vector<std::string> Children(HTREEITEM parent) const
    {
        std::vector<std::string> texts;
        for (const Item& item : items)
            if (!item.deleted && item.parent == parent)
                texts.push_back(item.text);
        return texts;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = iid == IID_IUnknown || iid == IID_ITreeControl ? static_cast<ITreeControl*>(this) : nullptr;
        return *out != nullptr ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE SetItemState(HTREEITEM item, UINT state, UINT mask) override
    {
        if ((mask & 0x10) != 0)
            At(item).bold = (state & 0x10) != 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Expand(HTREEITEM item, UINT) override
    {
        At(item).expanded = true;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DeleteItem(HTREEITEM item) override
    {
        At(item).deleted = true;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE InsertItem(const char* text, HTREEITEM parent, HTREEITEM, HTREEITEM* item) override
    {
        items.push_back({text, parent});
        *item = reinterpret_cast<HTREEITEM>(items.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCommandObject(IHostDocument*, IAddinCommand**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Enable(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Redraw(const RECT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ModifyStyle(DWORD, DWORD, UINT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ModifyStyleEx(DWORD, DWORD, UINT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDocument(IHostDocument*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDocument(IHostDocument**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unadvise(IUnknown*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ClientToScreen(LONG x, LONG y, LONG* screenX, LONG* screenY) override
    {
        *screenX = x + screenOrigin.x;
        *screenY = y + screenOrigin.y;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE HitTest(LONG, LONG, UINT* flags, HTREEITEM* item) override
    {
        *flags = hitFlags;
        *item = hitItem;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetItemState(HTREEITEM, UINT, UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCheck(HTREEITEM, BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetCheck(HTREEITEM, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetItemText(HTREEITEM item, const char* text) override
    {
        At(item).text = text;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reserved19(LONG_PTR, LONG_PTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SelectItem(HTREEITEM) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSelectedItem(HTREEITEM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteAllItems() override { return E_NOTIMPL; }
    virtual ~FakeTree() = default;
};

// The NC code pane's text control: its rows, default format and the
// formats set on ranges, in order.
class FakeRichEdit final : public IRichEditControl {
public:
    struct RangeFormat {
        LONG start;
        LONG end;
        CHARFORMAT format;
    };
    std::vector<std::string> rows;
    CHARFORMAT format{};
    std::vector<RangeFormat> ranges;
    int refills = 0;
    // Every row format set, in order.
    std::vector<std::pair<LONG, CHARFORMAT>> rowFormats;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = iid == IID_IUnknown || iid == IID_IRichEditControl ? static_cast<IRichEditControl*>(this) : nullptr;
        return *out != nullptr ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetRowCount(LONG* count) override
    {
        *count = static_cast<LONG>(rows.size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DeleteRowRange(LONG first, LONG count, BOOL) override
    {
        if (count < 1)
            return E_FAIL;
        rows.erase(rows.begin() + first, rows.begin() + first + count);
        ranges.clear();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetDefaultCharFormat(CHARFORMAT* value) override
    {
        format = *value;
        ++refills;
        return S_OK;
    }
    // Every line break of the text starts a row, as in the control.
    HRESULT STDMETHODCALLTYPE AppendText(const char* text, BOOL) override
    {
        const std::string all = text;
        size_t from = 0;
        for (size_t at = all.find('\n'); at != std::string::npos; at = all.find('\n', from)) {
            rows.push_back(all.substr(from, at - from));
            from = at + 1;
        }
        rows.push_back(all.substr(from));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetRangeFormat(LONG start, LONG end, CHARFORMAT* value) override
    {
        ranges.push_back({start, end, *value});
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCommandObject(IHostDocument*, IAddinCommand**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Enable(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Redraw(const RECT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ModifyStyle(DWORD, DWORD, UINT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ModifyStyleEx(DWORD, DWORD, UINT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetDocument(IHostDocument*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDocument(IHostDocument**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved10(LONG_PTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reserved11(LONG_PTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineFromRow(LONG, LONG*, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetLineStartRow(LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetLineRowCount(LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetLineIndex(LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetLineId(LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetLineFlags(LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetLineFlags(LONG, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteRows(LONG, LONG, LONG, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InsertRows(LONG, LONG, const char*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ReplaceLineRow(LONG, LONG, const char*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AppendToLine(LONG, const char*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SplitLine(LONG, LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteLine(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InsertLine(LONG, LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AppendLine(LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetLineCount(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCaretRow(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetRowFormat(LONG row, CHARFORMAT* value) override
    {
        rowFormats.emplace_back(row, *value);
        return row >= 0 && static_cast<size_t>(row) < rows.size() ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE InsertRow(LONG, const char*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ReplaceRow(LONG, const char*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ReplaceRange(LONG, LONG, const char*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRow(LONG, char*, LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetFirstVisibleRow(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RowIndex(LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RowFromChar(LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RowLength(LONG, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineScroll(LONG, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSel(LONG*, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSelText(char*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSelectionType(WORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clear() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSel(LONG, LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ReplaceSel(const char*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE HideSelection(BOOL, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCharFormat(LONG, CHARFORMAT*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDefaultCharFormat(CHARFORMAT*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSelectionCharFormat(CHARFORMAT*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetParaFormat(PARAFORMAT*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSelectionCharFormat(CHARFORMAT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetWordCharFormat(CHARFORMAT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetParaFormat(PARAFORMAT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Undo() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CanUndo(BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EmptyUndoBuffer() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindText(DWORD, FINDTEXTEX*, LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTextLength(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetBackgroundColor(BOOL, COLORREF, COLORREF*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Copy() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Cut() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Paste() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CanPaste(UINT, BOOL*) override { return E_NOTIMPL; }
    virtual ~FakeRichEdit() = default;
};

// A graphics context that keeps the lines drawn and the colours and
// styles set, in order.
class RecordingContext final : public IGraphicsContext {
public:
    struct Line {
        double from[3];
        double to[3];
        uint32_t colour;
    };
    double scale = 1.0;
    uint32_t colour = 0;
    std::vector<Line> lines;
    std::vector<std::string> calls;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IGraphicsContext) {
            *out = static_cast<IGraphicsContext*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetScale(double* value) override
    {
        *value = scale;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetColor(uint32_t value) override
    {
        colour = value;
        calls.push_back("colour " + std::to_string(value));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetLineStyle(uint32_t style, uint32_t factor) override
    {
        calls.push_back("style " + std::to_string(style) + " " + std::to_string(factor));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetLineWidth(int32_t width) override
    {
        calls.push_back("width " + std::to_string(width));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DrawLine(IVector3* from, IVector3* to) override;
    HRESULT STDMETHODCALLTYPE PushMatrix(IMatrix4*, int32_t) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE PopMatrix() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetColor(uint32_t*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetLineStyle(uint32_t*, uint32_t*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetLineWidth(int32_t*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetFont(const LOGFONTA*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetColorFromAttributes(IAttributeSet*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetLineAttributes(IAttributeSet*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DrawRectangle(IVector3*, IVector3*, int32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DrawPolylineSet(IPolylineSet*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DrawInfiniteLine(IVector3*, IVector3*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DrawString(const char*, IVector3*, IVector3*, IVector3*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE StringToPolylines(const char*, IPolylineSet*, BOOL, uint32_t*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DrawEllipse(IVector3*, IVector3*, IVector3*, IReal*, IReal*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ReservedA(uint32_t, uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ReservedB(uint32_t, uint32_t, uint32_t) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DrawArc(IVector3*, IVector3*, IVector3*, IVector3*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MoveTo(IVector3*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LineTo(IVector3*) override { return E_NOTIMPL; }
    virtual ~RecordingContext() = default;
};

inline HRESULT RecordingContext::DrawLine(IVector3* from, IVector3* to)
{
    const CVector3 a(from);
    const CVector3 b(to);
    lines.push_back({{a.x.GetValue(), a.y.GetValue(), a.z.GetValue()}, {b.x.GetValue(), b.y.GetValue(), b.z.GetValue()},
                     colour});
    calls.push_back("line");
    return S_OK;
}

// The host's document with a fake panel: CreateControlPanel hands out
// `panel`, ShowPane and Redraw are logged, everything else is the real
// document's.
class PanelDocument final : public IHostDocument {
public:
    explicit PanelDocument(IHostDocument* inner) : m_inner(inner) {}
    virtual ~PanelDocument() = default;

    FakePanel panel;
    std::vector<std::string> log;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override { return m_inner->QueryInterface(iid, out); }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateControlPanel(LONG group, LONG item, IControlPanel** out) override
    {
        log.push_back("CreateControlPanel " + std::to_string(group) + " " + std::to_string(item));
        *out = &panel;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ShowPane(LONG group, LONG item) override
    {
        log.push_back("ShowPane " + std::to_string(group) + " " + std::to_string(item));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Redraw() override
    {
        log.push_back("Redraw");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DestroyPopupMenu() override { return m_inner->DestroyPopupMenu(); }
    // The popup menu calls are logged too: "TrackPopupMenu flags x y",
    // "AddPopupMenuItem flags id text", "CreatePopupMenu".
    HRESULT STDMETHODCALLTYPE TrackPopupMenu(LONG flags, LONG x, LONG y) override
    {
        log.push_back("TrackPopupMenu " + std::to_string(flags) + " " + std::to_string(x) + " " + std::to_string(y));
        return m_inner->TrackPopupMenu(flags, x, y);
    }
    HRESULT STDMETHODCALLTYPE AddPopupMenuItem(IAddinCommand* owner, LONG flags, LONG itemId, const char* text) override
    {
        log.push_back("AddPopupMenuItem " + std::to_string(flags) + " " + std::to_string(itemId) + " " + text);
        return m_inner->AddPopupMenuItem(owner, flags, itemId, text);
    }
    HRESULT STDMETHODCALLTYPE CreatePopupMenu() override
    {
        log.push_back("CreatePopupMenu");
        return m_inner->CreatePopupMenu();
    }
    HRESULT STDMETHODCALLTYPE HitsTrackingLine(IVector3* first, IVector3* second, LONG* hit) override { return m_inner->HitsTrackingLine(first, second, hit); }
    HRESULT STDMETHODCALLTYPE NotifySettingsChanged() override { return m_inner->NotifySettingsChanged(); }
    HRESULT STDMETHODCALLTYPE GetActiveObject(IUnknown** object) override { return m_inner->GetActiveObject(object); }
    HRESULT STDMETHODCALLTYPE SetActiveObject(IUnknown* object) override { return m_inner->SetActiveObject(object); }
    HRESULT STDMETHODCALLTYPE RefreshSnap() override { return m_inner->RefreshSnap(); }
    HRESULT STDMETHODCALLTYPE AddTrackingPoint(IVector3* point) override { return m_inner->AddTrackingPoint(point); }
    HRESULT STDMETHODCALLTYPE SetPrompt(LONG kind, const char* text) override { return m_inner->SetPrompt(kind, text); }
    HRESULT STDMETHODCALLTYPE SendEvent(LONG event, void* value, LONG final, LONG kind) override { return m_inner->SendEvent(event, value, final, kind); }
    HRESULT STDMETHODCALLTYPE EndLevel(LONG result) override { return m_inner->EndLevel(result); }
    HRESULT STDMETHODCALLTYPE GetActivePane(LONG group, LONG* item) override { return m_inner->GetActivePane(group, item); }
    HRESULT STDMETHODCALLTYPE GetPaneObject(LONG group, LONG item, IUnknown** object) override { return m_inner->GetPaneObject(group, item, object); }
    HRESULT STDMETHODCALLTYPE GetFileIndex(LONG objectIndex, LONG* fileIndex) override { return m_inner->GetFileIndex(objectIndex, fileIndex); }
    HRESULT STDMETHODCALLTYPE GetObjectCount(LONG* count) override { return m_inner->GetObjectCount(count); }
    HRESULT STDMETHODCALLTYPE GetObject(LONG index, IEntityRecord** holder) override { return m_inner->GetObject(index, holder); }
    HRESULT STDMETHODCALLTYPE AddObject(IEntityRecord* holder) override { return m_inner->AddObject(holder); }
    HRESULT STDMETHODCALLTYPE RemoveObjectAt(LONG index) override { return m_inner->RemoveObjectAt(index); }
    HRESULT STDMETHODCALLTYPE RemoveObject(IEntityRecord* holder) override { return m_inner->RemoveObject(holder); }
    HRESULT STDMETHODCALLTYPE ModifyObjectAt(LONG index) override { return m_inner->ModifyObjectAt(index); }
    HRESULT STDMETHODCALLTYPE ModifyObject(IEntityRecord* holder) override { return m_inner->ModifyObject(holder); }
    HRESULT STDMETHODCALLTYPE RemoveAllObjects() override { return m_inner->RemoveAllObjects(); }
    HRESULT STDMETHODCALLTYPE GetDocumentWord(uint32_t* word) override { return m_inner->GetDocumentWord(word); }
    HRESULT STDMETHODCALLTYPE SetReferencePoint(IVector3* point) override { return m_inner->SetReferencePoint(point); }
    HRESULT STDMETHODCALLTYPE ClearFilterIds(LONG flags, LONG kind) override { return m_inner->ClearFilterIds(flags, kind); }
    HRESULT STDMETHODCALLTYPE RemoveFilterId(LONG flags, LONG kind, uintptr_t id) override { return m_inner->RemoveFilterId(flags, kind, id); }
    HRESULT STDMETHODCALLTYPE AddFilterId(LONG flags, LONG kind, uintptr_t id) override { return m_inner->AddFilterId(flags, kind, id); }
    HRESULT STDMETHODCALLTYPE ClearFilterGuids(LONG flags, LONG kind) override { return m_inner->ClearFilterGuids(flags, kind); }
    HRESULT STDMETHODCALLTYPE RemoveFilterGuid(LONG flags, LONG kind, GUID id) override { return m_inner->RemoveFilterGuid(flags, kind, id); }
    HRESULT STDMETHODCALLTYPE AddFilterGuid(LONG flags, LONG kind, GUID id) override { return m_inner->AddFilterGuid(flags, kind, id); }
    HRESULT STDMETHODCALLTYPE ClearFilterFlags(LONG flags, LONG kind, uint32_t bits) override { return m_inner->ClearFilterFlags(flags, kind, bits); }
    HRESULT STDMETHODCALLTYPE AddFilterFlags(LONG flags, LONG kind, uint32_t bits) override { return m_inner->AddFilterFlags(flags, kind, bits); }
    HRESULT STDMETHODCALLTYPE SetFilterFlags(LONG flags, LONG kind, uint32_t value) override { return m_inner->SetFilterFlags(flags, kind, value); }
    HRESULT STDMETHODCALLTYPE GetFilterFlags(LONG flags, LONG kind, uint32_t* value) override { return m_inner->GetFilterFlags(flags, kind, value); }
    HRESULT STDMETHODCALLTYPE AcceptCommand(IAddin* addin, LONG commandId) override { return m_inner->AcceptCommand(addin, commandId); }
    HRESULT STDMETHODCALLTYPE CancelCommand(IAddin* addin, LONG commandId) override { return m_inner->CancelCommand(addin, commandId); }
    HRESULT STDMETHODCALLTYPE StartAddinCommand(IAddin* addin, LONG commandId) override { return m_inner->StartAddinCommand(addin, commandId); }
    HRESULT STDMETHODCALLTYPE CreateObject(CLSID classId, IID iid, void** object) override { return m_inner->CreateObject(classId, iid, object); }
    HRESULT STDMETHODCALLTYPE HasView() override { return m_inner->HasView(); }
    HRESULT STDMETHODCALLTYPE HasView2() override { return m_inner->HasView2(); }
    HRESULT STDMETHODCALLTYPE SetVariable(LONG index, VARIANT value) override { return m_inner->SetVariable(index, value); }
    HRESULT STDMETHODCALLTYPE GetVariable(LONG index, VARIANT* value) override { return m_inner->GetVariable(index, value); }
    HRESULT STDMETHODCALLTYPE SetVariableByName(const char* name, VARIANT value) override { return m_inner->SetVariableByName(name, value); }
    HRESULT STDMETHODCALLTYPE GetVariableByName(const char* name, VARIANT* value) override { return m_inner->GetVariableByName(name, value); }
    HRESULT STDMETHODCALLTYPE GetRootSelection(ISelectionSet* set) override { return m_inner->GetRootSelection(set); }
    HRESULT STDMETHODCALLTYPE PickAtRoot(void* picked) override { return m_inner->PickAtRoot(picked); }
    HRESULT STDMETHODCALLTYPE CreateNamedCollection(const char* name, ICollectionC** collection) override { return m_inner->CreateNamedCollection(name, collection); }
    HRESULT STDMETHODCALLTYPE FindNamedCollection(const char* name, ICollectionC** collection) override { return m_inner->FindNamedCollection(name, collection); }
    HRESULT STDMETHODCALLTYPE SetCoordinateSystem(ICoordinateSystem* source) override { return m_inner->SetCoordinateSystem(source); }
    HRESULT STDMETHODCALLTYPE GetCoordinateSystem(ICoordinateSystem* target) override { return m_inner->GetCoordinateSystem(target); }
    HRESULT STDMETHODCALLTYPE SetWorkPlane(IPlane* plane) override { return m_inner->SetWorkPlane(plane); }
    HRESULT STDMETHODCALLTYPE GetWorkPlane(IPlaneEx* target) override { return m_inner->GetWorkPlane(target); }
    HRESULT STDMETHODCALLTYPE ClearOptions(uint32_t bits, LONG tableMask) override { return m_inner->ClearOptions(bits, tableMask); }
    HRESULT STDMETHODCALLTYPE AddOptions(uint32_t bits, LONG tableMask) override { return m_inner->AddOptions(bits, tableMask); }
    HRESULT STDMETHODCALLTYPE SetOptions(uint32_t value, LONG tableMask) override { return m_inner->SetOptions(value, tableMask); }
    HRESULT STDMETHODCALLTYPE GetOptions(uint32_t* value, LONG tableMask) override { return m_inner->GetOptions(value, tableMask); }
    HRESULT STDMETHODCALLTYPE ClearInputKinds(uint32_t bits, LONG tableMask) override { return m_inner->ClearInputKinds(bits, tableMask); }
    HRESULT STDMETHODCALLTYPE AddInputKinds(uint32_t bits, LONG tableMask) override { return m_inner->AddInputKinds(bits, tableMask); }
    HRESULT STDMETHODCALLTYPE SetInputKinds(uint32_t kinds, LONG tableMask) override { return m_inner->SetInputKinds(kinds, tableMask); }
    HRESULT STDMETHODCALLTYPE GetInputKinds(uint32_t* kinds, LONG tableMask) override { return m_inner->GetInputKinds(kinds, tableMask); }
    HRESULT STDMETHODCALLTYPE GetAttributes(IAttributeSet** set) override { return m_inner->GetAttributes(set); }
    HRESULT STDMETHODCALLTYPE SetAttributes(IAttributeSet* source) override { return m_inner->SetAttributes(source); }
    HRESULT STDMETHODCALLTYPE GetSettings(ICollectionB** settings) override { return m_inner->GetSettings(settings); }
    HRESULT STDMETHODCALLTYPE SetSettings(ICollectionB* source) override { return m_inner->SetSettings(source); }
    HRESULT STDMETHODCALLTYPE ClearObjectFlags(uint32_t key, uint32_t bits, LONG inTable, LONG inTemporaries) override { return m_inner->ClearObjectFlags(key, bits, inTable, inTemporaries); }
    HRESULT STDMETHODCALLTYPE AddObjectFlags(uint32_t key, uint32_t bits, LONG inTable, LONG inTemporaries) override { return m_inner->AddObjectFlags(key, bits, inTable, inTemporaries); }
    HRESULT STDMETHODCALLTYPE SetObjectFlags(uint32_t key, uint16_t value, LONG inTable, LONG inTemporaries) override { return m_inner->SetObjectFlags(key, value, inTable, inTemporaries); }
    HRESULT STDMETHODCALLTYPE GetObjectFlags(uint32_t key, uint32_t* value) override { return m_inner->GetObjectFlags(key, value); }
    HRESULT STDMETHODCALLTYPE GetTemporaryCount(LONG* count) override { return m_inner->GetTemporaryCount(count); }
    HRESULT STDMETHODCALLTYPE GetTemporary(LONG index, IUnknown** object) override { return m_inner->GetTemporary(index, object); }
    HRESULT STDMETHODCALLTYPE AddTemporary(IUnknown* object, LONG byLevel, LONG byOwner, uint32_t ownerKey) override { return m_inner->AddTemporary(object, byLevel, byOwner, ownerKey); }
    HRESULT STDMETHODCALLTYPE RemoveTemporaryAt(LONG index) override { return m_inner->RemoveTemporaryAt(index); }
    HRESULT STDMETHODCALLTYPE RemoveTemporary(IUnknown* object) override { return m_inner->RemoveTemporary(object); }
    HRESULT STDMETHODCALLTYPE RemoveTemporaries(LONG byLevel, LONG byOwner, uint32_t ownerKey) override { return m_inner->RemoveTemporaries(byLevel, byOwner, ownerKey); }
    HRESULT STDMETHODCALLTYPE ClearTemporaries() override { return m_inner->ClearTemporaries(); }
    HRESULT STDMETHODCALLTYPE GetAddinConnectionPoint(IAddin* addin, IConnectionPoint** point) override { return m_inner->GetAddinConnectionPoint(addin, point); }
    HRESULT STDMETHODCALLTYPE GetEventConnectionPoint(IConnectionPoint** point) override { return m_inner->GetEventConnectionPoint(point); }
    HRESULT STDMETHODCALLTYPE GetFirstView(IHostView** view) override { return m_inner->GetFirstView(view); }
    HRESULT STDMETHODCALLTYPE GetApplication(IHostApplication** application) override { return m_inner->GetApplication(application); }

private:
    IHostDocument* m_inner;
};
