// The framework wrappers of the common controls.
#include "platform/framework/commonctrls.h"

#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/framework/dc.h"
#include "platform/kernel/module.h"
#include "platform/kernel/resource.h"
#include "platform/kernel/resource_records.h"

IMPLEMENT_DYNCREATE(CImageList, CObject)
IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)
IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolBarCtrl, CWnd)
IMPLEMENT_DYNAMIC(CStatusBarCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

namespace {

template <class T>
LRESULT Send(const CWnd* wnd, UINT msg, WPARAM wParam, T lParam)
{
    if constexpr (std::is_pointer_v<T>) {
        return wnd->SendMessage(msg, wParam, reinterpret_cast<LPARAM>(lParam));
    } else {
        return wnd->SendMessage(msg, wParam, static_cast<LPARAM>(lParam));
    }
}

struct ImageListMaps {
    std::unordered_map<HIMAGELIST, CImageList*> permanent;
    std::unordered_map<HIMAGELIST, std::unique_ptr<CImageList>> temporary;
};
ImageListMaps& Maps()
{
    static ImageListMaps maps;
    return maps;
}

HBITMAP BitmapOf(CBitmap* bitmap) { return bitmap != nullptr ? static_cast<HBITMAP>(*bitmap) : nullptr; }

} // namespace

// CImageList -------------------------------------------------------------------------

CImageList::~CImageList() { DeleteImageList(); }

CImageList* CImageList::FromHandle(HIMAGELIST list)
{
    if (list == nullptr) {
        return nullptr;
    }
    if (CImageList* known = FromHandlePermanent(list)) {
        return known;
    }
    auto& temporary = Maps().temporary;
    auto it = temporary.find(list);
    if (it == temporary.end()) {
        auto wrapper = std::make_unique<CImageList>();
        wrapper->m_hImageList = list;
        it = temporary.emplace(list, std::move(wrapper)).first;
    }
    return it->second.get();
}

CImageList* CImageList::FromHandlePermanent(HIMAGELIST list)
{
    auto it = Maps().permanent.find(list);
    return it == Maps().permanent.end() ? nullptr : it->second;
}

void CImageList::DeleteTempMap()
{
    auto temporary = std::move(Maps().temporary);
    Maps().temporary.clear();
    for (auto& [handle, wrapper] : temporary) {
        wrapper->m_hImageList = nullptr; // the list belongs to someone else
    }
}

BOOL CImageList::Attach(HIMAGELIST list)
{
    if (list == nullptr || m_hImageList != nullptr) {
        return FALSE;
    }
    m_hImageList = list;
    Maps().permanent[list] = this;
    if (auto it = Maps().temporary.find(list); it != Maps().temporary.end()) {
        it->second->m_hImageList = nullptr;
        Maps().temporary.erase(it);
    }
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST list = m_hImageList;
    if (list != nullptr) {
        auto it = Maps().permanent.find(list);
        if (it != Maps().permanent.end() && it->second == this) {
            Maps().permanent.erase(it);
        }
    }
    m_hImageList = nullptr;
    return list;
}

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow)
{
    return Attach(ImageList_Create(cx, cy, flags, initial, grow));
}

BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF mask)
{
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(bitmapId)) {
        return FALSE;
    }
    BITMAP info{};
    bitmap.GetBitmap(&info);
    if (!Create(cx, info.bmHeight, ILC_COLOR32 | ILC_MASK, 0, grow)) {
        return FALSE;
    }
    if (ImageList_AddMasked(m_hImageList, bitmap, mask) < 0) {
        DeleteImageList();
        return FALSE;
    }
    return TRUE;
}

BOOL CImageList::DeleteImageList()
{
    HIMAGELIST list = Detach();
    return list != nullptr && ImageList_Destroy(list);
}

int CImageList::GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
BOOL CImageList::SetImageCount(UINT count) { return ImageList_SetImageCount(m_hImageList, count); }
int CImageList::Add(CBitmap* image, CBitmap* mask) { return ImageList_Add(m_hImageList, BitmapOf(image), BitmapOf(mask)); }
int CImageList::Add(CBitmap* image, COLORREF mask) { return ImageList_AddMasked(m_hImageList, BitmapOf(image), mask); }
int CImageList::Add(HICON icon) { return ImageList_AddIcon(m_hImageList, icon); }
BOOL CImageList::Replace(int index, CBitmap* image, CBitmap* mask)
{
    return ImageList_Replace(m_hImageList, index, BitmapOf(image), BitmapOf(mask));
}
int CImageList::Replace(int index, HICON icon) { return ImageList_ReplaceIcon(m_hImageList, index, icon); }
BOOL CImageList::Remove(int index) { return ImageList_Remove(m_hImageList, index); }
COLORREF CImageList::SetBkColor(COLORREF colour) { return ImageList_SetBkColor(m_hImageList, colour); }
COLORREF CImageList::GetBkColor() const { return ImageList_GetBkColor(m_hImageList); }
BOOL CImageList::SetOverlayImage(int image, int overlay) { return ImageList_SetOverlayImage(m_hImageList, image, overlay); }
BOOL CImageList::Draw(CDC* dc, int image, POINT at, UINT style)
{
    return dc != nullptr && ImageList_Draw(m_hImageList, image, dc->GetSafeHdc(), at.x, at.y, style);
}
BOOL CImageList::DrawIndirect(CDC* dc, int image, POINT at, SIZE size, POINT origin, UINT style, COLORREF background,
                              COLORREF foreground)
{
    // Only whole images from their top-left are drawn.
    if (dc == nullptr || origin.x != 0 || origin.y != 0) {
        return FALSE;
    }
    return ImageList_DrawEx(m_hImageList, image, dc->GetSafeHdc(), at.x, at.y, size.cx, size.cy, background,
                            foreground, style);
}
HICON CImageList::ExtractIcon(int image) { return ImageList_GetIcon(m_hImageList, image, ILD_NORMAL); }
BOOL CImageList::GetImageInfo(int image, IMAGEINFO* info) const { return ImageList_GetImageInfo(m_hImageList, image, info); }

// CTreeCtrl ---------------------------------------------------------------------------

BOOL CTreeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(WC_TREEVIEWA, nullptr, style, rect, parent, id);
}

BOOL CTreeCtrl::CreateEx(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::CreateEx(exStyle, WC_TREEVIEWA, nullptr, style | WS_CHILD, rect, parent, id);
}

HTREEITEM CTreeCtrl::InsertItem(const TVINSERTSTRUCTA* insert)
{
    return reinterpret_cast<HTREEITEM>(Send(this, TVM_INSERTITEMA, 0, insert));
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR text, HTREEITEM parent, HTREEITEM after)
{
    return InsertItem(TVIF_TEXT, text, 0, 0, 0, 0, 0, parent, after);
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR text, int image, int selectedImage, HTREEITEM parent, HTREEITEM after)
{
    return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, text, image, selectedImage, 0, 0, 0, parent, after);
}

HTREEITEM CTreeCtrl::InsertItem(UINT mask, LPCSTR text, int image, int selectedImage, UINT state, UINT stateMask,
                                LPARAM data, HTREEITEM parent, HTREEITEM after)
{
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = mask;
    insert.item.pszText = const_cast<LPSTR>(text);
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    insert.item.state = state;
    insert.item.stateMask = stateMask;
    insert.item.lParam = data;
    return InsertItem(&insert);
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM item) { return static_cast<BOOL>(Send(this, TVM_DELETEITEM, 0, item)); }
BOOL CTreeCtrl::DeleteAllItems() { return static_cast<BOOL>(Send(this, TVM_DELETEITEM, 0, TVI_ROOT)); }
BOOL CTreeCtrl::Expand(HTREEITEM item, UINT code) { return static_cast<BOOL>(Send(this, TVM_EXPAND, code, item)); }
BOOL CTreeCtrl::GetItem(TVITEMA* item) const { return static_cast<BOOL>(Send(this, TVM_GETITEMA, 0, item)); }
BOOL CTreeCtrl::SetItem(TVITEMA* item) { return static_cast<BOOL>(Send(this, TVM_SETITEMA, 0, item)); }

CString CTreeCtrl::GetItemText(HTREEITEM item) const
{
    // Grow the buffer until the text fits.
    for (int size = 256; size <= (1 << 20); size *= 4) {
        std::vector<char> buffer(static_cast<size_t>(size), '\0');
        TVITEMA get{};
        get.mask = TVIF_TEXT;
        get.hItem = item;
        get.pszText = buffer.data();
        get.cchTextMax = size;
        if (!GetItem(&get)) {
            return CString();
        }
        if (std::strlen(buffer.data()) < static_cast<size_t>(size) - 1) {
            return CString(buffer.data());
        }
    }
    return CString();
}

BOOL CTreeCtrl::SetItemText(HTREEITEM item, LPCSTR text)
{
    TVITEMA set{};
    set.mask = TVIF_TEXT;
    set.hItem = item;
    set.pszText = const_cast<LPSTR>(text);
    return SetItem(&set);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const
{
    TVITEMA get{};
    get.mask = TVIF_PARAM;
    get.hItem = item;
    return GetItem(&get) ? static_cast<DWORD_PTR>(get.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data)
{
    TVITEMA set{};
    set.mask = TVIF_PARAM;
    set.hItem = item;
    set.lParam = static_cast<LPARAM>(data);
    return SetItem(&set);
}

UINT CTreeCtrl::GetItemState(HTREEITEM item, UINT mask) const
{
    return static_cast<UINT>(SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), mask));
}

BOOL CTreeCtrl::SetItemState(HTREEITEM item, UINT state, UINT mask)
{
    TVITEMA set{};
    set.mask = TVIF_STATE;
    set.hItem = item;
    set.state = state;
    set.stateMask = mask;
    return SetItem(&set);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM item, int& image, int& selectedImage) const
{
    TVITEMA get{};
    get.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    get.hItem = item;
    if (!GetItem(&get)) {
        return FALSE;
    }
    image = get.iImage;
    selectedImage = get.iSelectedImage;
    return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM item, int image, int selectedImage)
{
    TVITEMA set{};
    set.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    set.hItem = item;
    set.iImage = image;
    set.iSelectedImage = selectedImage;
    return SetItem(&set);
}

BOOL CTreeCtrl::GetCheck(HTREEITEM item) const
{
    return ((GetItemState(item, TVIS_STATEIMAGEMASK) >> 12) - 1) != 0 ? TRUE : FALSE;
}

BOOL CTreeCtrl::SetCheck(HTREEITEM item, BOOL checked)
{
    return SetItemState(item, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1), TVIS_STATEIMAGEMASK);
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM item) const
{
    TVITEMA get{};
    get.mask = TVIF_CHILDREN;
    get.hItem = item;
    return GetItem(&get) && get.cChildren != 0 ? TRUE : FALSE;
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM item, UINT code) const
{
    return reinterpret_cast<HTREEITEM>(Send(this, TVM_GETNEXTITEM, code, item));
}

BOOL CTreeCtrl::Select(HTREEITEM item, UINT code) { return static_cast<BOOL>(Send(this, TVM_SELECTITEM, code, item)); }

HTREEITEM CTreeCtrl::HitTest(CPoint point, UINT* flags) const
{
    TVHITTESTINFO info{point, 0, nullptr};
    HTREEITEM item = HitTest(&info);
    if (flags != nullptr) {
        *flags = info.flags;
    }
    return item;
}

HTREEITEM CTreeCtrl::HitTest(TVHITTESTINFO* info) const
{
    return reinterpret_cast<HTREEITEM>(Send(this, TVM_HITTEST, 0, info));
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const
{
    if (rect == nullptr) {
        return FALSE;
    }
    std::memcpy(rect, &item, sizeof(item));
    return static_cast<BOOL>(Send(this, TVM_GETITEMRECT, static_cast<WPARAM>(textOnly), rect));
}

UINT CTreeCtrl::GetCount() const { return static_cast<UINT>(SendMessage(TVM_GETCOUNT)); }
UINT CTreeCtrl::GetVisibleCount() const { return static_cast<UINT>(SendMessage(TVM_GETVISIBLECOUNT)); }
UINT CTreeCtrl::GetIndent() const { return static_cast<UINT>(SendMessage(TVM_GETINDENT)); }
void CTreeCtrl::SetIndent(UINT indent) { SendMessage(TVM_SETINDENT, indent); }
int CTreeCtrl::GetItemHeight() const { return static_cast<int>(SendMessage(TVM_GETITEMHEIGHT)); }
int CTreeCtrl::SetItemHeight(int height) { return static_cast<int>(SendMessage(TVM_SETITEMHEIGHT, static_cast<WPARAM>(height))); }

CImageList* CTreeCtrl::GetImageList(int which) const
{
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(TVM_GETIMAGELIST, static_cast<WPARAM>(which))));
}

CImageList* CTreeCtrl::SetImageList(CImageList* list, int which)
{
    HIMAGELIST handle = list != nullptr ? list->GetSafeHandle() : nullptr;
    return CImageList::FromHandle(
        reinterpret_cast<HIMAGELIST>(Send(this, TVM_SETIMAGELIST, static_cast<WPARAM>(which), handle)));
}

BOOL CTreeCtrl::EnsureVisible(HTREEITEM item) { return static_cast<BOOL>(Send(this, TVM_ENSUREVISIBLE, 0, item)); }
BOOL CTreeCtrl::SortChildren(HTREEITEM item) { return static_cast<BOOL>(Send(this, TVM_SORTCHILDREN, 0, item)); }
COLORREF CTreeCtrl::SetBkColor(COLORREF colour) { return static_cast<COLORREF>(SendMessage(TVM_SETBKCOLOR, 0, colour)); }
COLORREF CTreeCtrl::SetTextColor(COLORREF colour) { return static_cast<COLORREF>(SendMessage(TVM_SETTEXTCOLOR, 0, colour)); }

CTreeCtrl::~CTreeCtrl() { m_labelEditor.m_hWnd = nullptr; }

CEdit* CTreeCtrl::LabelEditor(HWND editor)
{
    // The tree makes and destroys its editor itself: the object only lends
    // its members to the handle, outside the handle maps.
    m_labelEditor.m_hWnd = editor;
    return editor != nullptr ? &m_labelEditor : nullptr;
}

CEdit* CTreeCtrl::EditLabel(HTREEITEM item)
{
    return LabelEditor(reinterpret_cast<HWND>(SendMessage(TVM_EDITLABEL, 0, reinterpret_cast<LPARAM>(item))));
}

CEdit* CTreeCtrl::GetEditControl() { return LabelEditor(reinterpret_cast<HWND>(SendMessage(TVM_GETEDITCONTROL))); }

BOOL CTreeCtrl::EndEditLabelNow(BOOL cancel)
{
    return static_cast<BOOL>(SendMessage(TVM_ENDEDITLABELNOW, static_cast<WPARAM>(cancel)));
}

// CTabCtrl -----------------------------------------------------------------------------

BOOL CTabCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(WC_TABCONTROLA, nullptr, style, rect, parent, id);
}

int CTabCtrl::GetItemCount() const { return static_cast<int>(SendMessage(TCM_GETITEMCOUNT)); }
BOOL CTabCtrl::GetItem(int index, TCITEMA* item) const { return static_cast<BOOL>(Send(this, TCM_GETITEMA, static_cast<WPARAM>(index), item)); }
BOOL CTabCtrl::SetItem(int index, TCITEMA* item) { return static_cast<BOOL>(Send(this, TCM_SETITEMA, static_cast<WPARAM>(index), item)); }
LONG CTabCtrl::InsertItem(int index, TCITEMA* item)
{
    return static_cast<LONG>(Send(this, TCM_INSERTITEMA, static_cast<WPARAM>(index), item));
}
LONG CTabCtrl::InsertItem(int index, LPCSTR text)
{
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPSTR>(text);
    return InsertItem(index, &item);
}
LONG CTabCtrl::InsertItem(int index, LPCSTR text, int image)
{
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<LPSTR>(text);
    item.iImage = image;
    return InsertItem(index, &item);
}
BOOL CTabCtrl::DeleteItem(int index) { return static_cast<BOOL>(SendMessage(TCM_DELETEITEM, static_cast<WPARAM>(index))); }
BOOL CTabCtrl::DeleteAllItems() { return static_cast<BOOL>(SendMessage(TCM_DELETEALLITEMS)); }
int CTabCtrl::GetCurSel() const { return static_cast<int>(SendMessage(TCM_GETCURSEL)); }
int CTabCtrl::SetCurSel(int index) { return static_cast<int>(SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(index))); }
int CTabCtrl::GetCurFocus() const { return static_cast<int>(SendMessage(TCM_GETCURFOCUS)); }
void CTabCtrl::SetCurFocus(int index) { SendMessage(TCM_SETCURFOCUS, static_cast<WPARAM>(index)); }
BOOL CTabCtrl::GetItemRect(int index, LPRECT rect) const { return static_cast<BOOL>(Send(this, TCM_GETITEMRECT, static_cast<WPARAM>(index), rect)); }
int CTabCtrl::HitTest(TCHITTESTINFO* info) const { return static_cast<int>(Send(this, TCM_HITTEST, 0, info)); }
void CTabCtrl::AdjustRect(BOOL larger, LPRECT rect) { Send(this, TCM_ADJUSTRECT, static_cast<WPARAM>(larger), rect); }
CImageList* CTabCtrl::GetImageList() const { return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(TCM_GETIMAGELIST))); }
CImageList* CTabCtrl::SetImageList(CImageList* list)
{
    HIMAGELIST handle = list != nullptr ? list->GetSafeHandle() : nullptr;
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(Send(this, TCM_SETIMAGELIST, 0, handle)));
}
CSize CTabCtrl::SetItemSize(CSize size)
{
    const auto old = static_cast<DWORD>(SendMessage(TCM_SETITEMSIZE, 0, MAKELPARAM(static_cast<WORD>(size.cx), static_cast<WORD>(size.cy))));
    return CSize(LOWORD(old), HIWORD(old));
}
void CTabCtrl::SetPadding(CSize padding) { SendMessage(TCM_SETPADDING, 0, MAKELPARAM(static_cast<WORD>(padding.cx), static_cast<WORD>(padding.cy))); }
int CTabCtrl::GetRowCount() const { return static_cast<int>(SendMessage(TCM_GETROWCOUNT)); }
int CTabCtrl::SetMinTabWidth(int width) { return static_cast<int>(SendMessage(TCM_SETMINTABWIDTH, 0, width)); }

// CToolBarCtrl -------------------------------------------------------------------------

BOOL CToolBarCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (!CWnd::Create(TOOLBARCLASSNAMEA, nullptr, style, rect, parent, id)) {
        return FALSE;
    }
    SetButtonStructSize(static_cast<int>(sizeof(TBBUTTON)));
    return TRUE;
}

void CToolBarCtrl::SetButtonStructSize(int size) { SendMessage(TB_BUTTONSTRUCTSIZE, static_cast<WPARAM>(size)); }
BOOL CToolBarCtrl::AddButtons(int count, const TBBUTTON* buttons)
{
    return count >= 0 && static_cast<BOOL>(Send(this, TB_ADDBUTTONSA, static_cast<WPARAM>(count), buttons));
}
BOOL CToolBarCtrl::InsertButton(int index, const TBBUTTON* button) { return static_cast<BOOL>(Send(this, TB_INSERTBUTTONA, static_cast<WPARAM>(index), button)); }
BOOL CToolBarCtrl::DeleteButton(int index) { return static_cast<BOOL>(SendMessage(TB_DELETEBUTTON, static_cast<WPARAM>(index))); }
BOOL CToolBarCtrl::GetButton(int index, TBBUTTON* button) const { return static_cast<BOOL>(Send(this, TB_GETBUTTON, static_cast<WPARAM>(index), button)); }
int CToolBarCtrl::GetButtonCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }
int CToolBarCtrl::CommandToIndex(UINT id) const { return static_cast<int>(SendMessage(TB_COMMANDTOINDEX, id)); }
BOOL CToolBarCtrl::EnableButton(int id, BOOL enable) { return static_cast<BOOL>(SendMessage(TB_ENABLEBUTTON, static_cast<WPARAM>(id), MAKELPARAM(enable ? 1 : 0, 0))); }
BOOL CToolBarCtrl::CheckButton(int id, BOOL check) { return static_cast<BOOL>(SendMessage(TB_CHECKBUTTON, static_cast<WPARAM>(id), MAKELPARAM(check ? 1 : 0, 0))); }
BOOL CToolBarCtrl::PressButton(int id, BOOL press) { return static_cast<BOOL>(SendMessage(TB_PRESSBUTTON, static_cast<WPARAM>(id), MAKELPARAM(press ? 1 : 0, 0))); }
BOOL CToolBarCtrl::HideButton(int id, BOOL hide) { return static_cast<BOOL>(SendMessage(TB_HIDEBUTTON, static_cast<WPARAM>(id), MAKELPARAM(hide ? 1 : 0, 0))); }
BOOL CToolBarCtrl::Indeterminate(int id, BOOL indeterminate) { return static_cast<BOOL>(SendMessage(TB_INDETERMINATE, static_cast<WPARAM>(id), MAKELPARAM(indeterminate ? 1 : 0, 0))); }
BOOL CToolBarCtrl::IsButtonEnabled(int id) const { return SendMessage(TB_ISBUTTONENABLED, static_cast<WPARAM>(id)) != 0; }
BOOL CToolBarCtrl::IsButtonChecked(int id) const { return SendMessage(TB_ISBUTTONCHECKED, static_cast<WPARAM>(id)) != 0; }
BOOL CToolBarCtrl::IsButtonPressed(int id) const { return SendMessage(TB_ISBUTTONPRESSED, static_cast<WPARAM>(id)) != 0; }
BOOL CToolBarCtrl::IsButtonHidden(int id) const { return SendMessage(TB_ISBUTTONHIDDEN, static_cast<WPARAM>(id)) != 0; }
BOOL CToolBarCtrl::IsButtonIndeterminate(int id) const { return SendMessage(TB_ISBUTTONINDETERMINATE, static_cast<WPARAM>(id)) != 0; }
BOOL CToolBarCtrl::SetState(int id, UINT state) { return static_cast<BOOL>(SendMessage(TB_SETSTATE, static_cast<WPARAM>(id), MAKELPARAM(static_cast<WORD>(state), 0))); }
int CToolBarCtrl::GetState(int id) const { return static_cast<int>(SendMessage(TB_GETSTATE, static_cast<WPARAM>(id))); }

int CToolBarCtrl::AddBitmap(int count, UINT bitmapId)
{
    // The running program's resources.
    HINSTANCE program = GetModuleHandleA(nullptr);
    TBADDBITMAP add{program, bitmapId};
    return static_cast<int>(Send(this, TB_ADDBITMAP, static_cast<WPARAM>(count), &add));
}

int CToolBarCtrl::AddBitmap(int count, CBitmap* bitmap)
{
    TBADDBITMAP add{nullptr, reinterpret_cast<UINT_PTR>(BitmapOf(bitmap))};
    return static_cast<int>(Send(this, TB_ADDBITMAP, static_cast<WPARAM>(count), &add));
}

BOOL CToolBarCtrl::ReplaceBitmap(TBREPLACEBITMAP* replace) { return static_cast<BOOL>(Send(this, TB_REPLACEBITMAP, 0, replace)); }
int CToolBarCtrl::AddString(UINT stringId)
{
    return static_cast<int>(SendMessage(TB_ADDSTRINGA, reinterpret_cast<WPARAM>(GetModuleHandleA(nullptr)), stringId));
}
int CToolBarCtrl::AddStrings(LPCSTR strings) { return static_cast<int>(Send(this, TB_ADDSTRINGA, 0, strings)); }
BOOL CToolBarCtrl::GetItemRect(int index, LPRECT rect) const { return static_cast<BOOL>(Send(this, TB_GETITEMRECT, static_cast<WPARAM>(index), rect)); }
BOOL CToolBarCtrl::GetRect(int id, LPRECT rect) const { return static_cast<BOOL>(Send(this, TB_GETRECT, static_cast<WPARAM>(id), rect)); }
BOOL CToolBarCtrl::SetButtonSize(CSize size) { return static_cast<BOOL>(SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(static_cast<WORD>(size.cx), static_cast<WORD>(size.cy)))); }
CSize CToolBarCtrl::GetButtonSize() const
{
    const auto size = static_cast<DWORD>(SendMessage(TB_GETBUTTONSIZE));
    return CSize(LOWORD(size), HIWORD(size));
}
BOOL CToolBarCtrl::SetBitmapSize(CSize size) { return static_cast<BOOL>(SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(static_cast<WORD>(size.cx), static_cast<WORD>(size.cy)))); }
void CToolBarCtrl::AutoSize() { SendMessage(TB_AUTOSIZE); }
CToolTipCtrl* CToolBarCtrl::GetToolTips() const
{
    CWnd* tips = CWnd::FromHandlePermanent(reinterpret_cast<HWND>(SendMessage(TB_GETTOOLTIPS)));
    return tips != nullptr && tips->IsKindOf(RUNTIME_CLASS(CToolTipCtrl)) ? static_cast<CToolTipCtrl*>(tips) : nullptr;
}
void CToolBarCtrl::SetToolTips(CToolTipCtrl* tips) { SendMessage(TB_SETTOOLTIPS, reinterpret_cast<WPARAM>(tips != nullptr ? tips->GetSafeHwnd() : nullptr)); }
void CToolBarCtrl::SetOwner(CWnd* owner)
{
    SendMessage(TB_SETPARENT, reinterpret_cast<WPARAM>(owner != nullptr ? owner->GetSafeHwnd() : nullptr));
    CWnd::SetOwner(owner);
}
CImageList* CToolBarCtrl::SetImageList(CImageList* list)
{
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(Send(this, TB_SETIMAGELIST, 0, list != nullptr ? list->GetSafeHandle() : nullptr)));
}
CImageList* CToolBarCtrl::GetImageList() const { return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(TB_GETIMAGELIST))); }
CImageList* CToolBarCtrl::SetHotImageList(CImageList* list)
{
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(Send(this, TB_SETHOTIMAGELIST, 0, list != nullptr ? list->GetSafeHandle() : nullptr)));
}
CImageList* CToolBarCtrl::SetDisabledImageList(CImageList* list)
{
    return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(Send(this, TB_SETDISABLEDIMAGELIST, 0, list != nullptr ? list->GetSafeHandle() : nullptr)));
}
DWORD CToolBarCtrl::SetExtendedStyle(DWORD style) { return static_cast<DWORD>(SendMessage(TB_SETEXTENDEDSTYLE, 0, style)); }
DWORD CToolBarCtrl::GetExtendedStyle() const { return static_cast<DWORD>(SendMessage(TB_GETEXTENDEDSTYLE)); }
int CToolBarCtrl::GetButtonInfo(int id, TBBUTTONINFOA* info) const { return static_cast<int>(Send(this, TB_GETBUTTONINFOA, static_cast<WPARAM>(id), info)); }
BOOL CToolBarCtrl::SetButtonInfo(int id, TBBUTTONINFOA* info) { return static_cast<BOOL>(Send(this, TB_SETBUTTONINFOA, static_cast<WPARAM>(id), info)); }
int CToolBarCtrl::HitTest(LPPOINT point) const { return static_cast<int>(Send(this, TB_HITTEST, 0, point)); }
int CToolBarCtrl::GetHotItem() const { return static_cast<int>(SendMessage(TB_GETHOTITEM)); }
int CToolBarCtrl::SetHotItem(int index) { return static_cast<int>(SendMessage(TB_SETHOTITEM, static_cast<WPARAM>(index))); }
BOOL CToolBarCtrl::GetMaxSize(SIZE* size) const { return static_cast<BOOL>(Send(this, TB_GETMAXSIZE, 0, size)); }
BOOL CToolBarCtrl::SetIndent(int indent) { return static_cast<BOOL>(SendMessage(TB_SETINDENT, static_cast<WPARAM>(indent))); }
BOOL CToolBarCtrl::SetCmdID(int index, UINT id) { return static_cast<BOOL>(SendMessage(TB_SETCMDID, static_cast<WPARAM>(index), id)); }
int CToolBarCtrl::GetRows() const { return static_cast<int>(SendMessage(TB_GETROWS)); }
BOOL CToolBarCtrl::GetColorScheme(COLORSCHEME* scheme) const { return static_cast<BOOL>(Send(this, TB_GETCOLORSCHEME, 0, scheme)); }
void CToolBarCtrl::SetColorScheme(const COLORSCHEME* scheme) { Send(this, TB_SETCOLORSCHEME, 0, scheme); }

// CStatusBarCtrl -------------------------------------------------------------------------

BOOL CStatusBarCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(STATUSCLASSNAMEA, nullptr, style, rect, parent, id);
}

BOOL CStatusBarCtrl::SetText(LPCSTR text, int pane, int type)
{
    return static_cast<BOOL>(Send(this, SB_SETTEXTA, static_cast<WPARAM>(pane | type), text));
}

CString CStatusBarCtrl::GetText(int pane, int* type) const
{
    const int length = GetTextLength(pane, type);
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    Send(this, SB_GETTEXTA, static_cast<WPARAM>(pane), buffer.data());
    return CString(buffer.data());
}

int CStatusBarCtrl::GetTextLength(int pane, int* type) const
{
    const auto result = static_cast<DWORD>(SendMessage(SB_GETTEXTLENGTHA, static_cast<WPARAM>(pane)));
    if (type != nullptr) {
        *type = HIWORD(result);
    }
    return LOWORD(result);
}

BOOL CStatusBarCtrl::SetParts(int count, const int* rightEdges) { return static_cast<BOOL>(Send(this, SB_SETPARTS, static_cast<WPARAM>(count), rightEdges)); }
int CStatusBarCtrl::GetParts(int count, int* rightEdges) const { return static_cast<int>(Send(this, SB_GETPARTS, static_cast<WPARAM>(count), rightEdges)); }
BOOL CStatusBarCtrl::GetBorders(int* borders) const { return static_cast<BOOL>(Send(this, SB_GETBORDERS, 0, borders)); }
BOOL CStatusBarCtrl::GetBorders(int& horizontal, int& vertical, int& spacing) const
{
    int borders[3] = {};
    const BOOL done = GetBorders(borders);
    horizontal = borders[0];
    vertical = borders[1];
    spacing = borders[2];
    return done;
}
void CStatusBarCtrl::SetMinHeight(int height) { SendMessage(SB_SETMINHEIGHT, static_cast<WPARAM>(height)); }
BOOL CStatusBarCtrl::SetSimple(BOOL simple) { return static_cast<BOOL>(SendMessage(SB_SIMPLE, static_cast<WPARAM>(simple))); }
BOOL CStatusBarCtrl::IsSimple() const { return static_cast<BOOL>(SendMessage(SB_ISSIMPLE)); }
BOOL CStatusBarCtrl::GetRect(int pane, LPRECT rect) const { return static_cast<BOOL>(Send(this, SB_GETRECT, static_cast<WPARAM>(pane), rect)); }
BOOL CStatusBarCtrl::SetIcon(int pane, HICON icon) { return static_cast<BOOL>(Send(this, SB_SETICON, static_cast<WPARAM>(pane), icon)); }
HICON CStatusBarCtrl::GetIcon(int pane) const { return reinterpret_cast<HICON>(SendMessage(SB_GETICON, static_cast<WPARAM>(pane))); }
void CStatusBarCtrl::SetTipText(int pane, LPCSTR text) { Send(this, SB_SETTIPTEXTA, static_cast<WPARAM>(pane), text); }
CString CStatusBarCtrl::GetTipText(int pane) const
{
    char buffer[256] = {};
    Send(this, SB_GETTIPTEXTA, MAKEWPARAM(static_cast<WORD>(pane), static_cast<WORD>(sizeof(buffer))), buffer);
    return CString(buffer);
}
COLORREF CStatusBarCtrl::SetBkColor(COLORREF colour) { return static_cast<COLORREF>(SendMessage(SB_SETBKCOLOR, 0, colour)); }

// CToolTipCtrl ------------------------------------------------------------------------------

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style)
{
    return CWnd::CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, parent != nullptr ? parent->GetSafeHwnd() : nullptr, nullptr,
                          nullptr);
}

void CToolTipCtrl::FillTool(TTTOOLINFOA& info, CWnd* wnd, UINT_PTR id) const
{
    info = TTTOOLINFOA{};
    info.cbSize = sizeof(info);
    if (wnd == nullptr) {
        return;
    }
    if (id == 0) {
        info.uFlags = TTF_IDISHWND;
        info.uId = reinterpret_cast<UINT_PTR>(wnd->GetSafeHwnd());
        info.hwnd = ::GetParent(wnd->GetSafeHwnd());
    } else {
        info.hwnd = wnd->GetSafeHwnd();
        info.uId = id;
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, LPCSTR text, LPCRECT rect, UINT_PTR id)
{
    if (wnd == nullptr || (rect == nullptr && id != 0)) {
        return FALSE;
    }
    TTTOOLINFOA info{};
    FillTool(info, wnd, rect == nullptr ? 0 : id);
    if (rect != nullptr) {
        info.rect = *rect;
    } else {
        info.uFlags |= TTF_SUBCLASS;
    }
    info.lpszText = const_cast<LPSTR>(text);
    return static_cast<BOOL>(Send(this, TTM_ADDTOOLA, 0, &info));
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, UINT textId, LPCRECT rect, UINT_PTR id)
{
    if (wnd == nullptr || (rect == nullptr && id != 0)) {
        return FALSE;
    }
    TTTOOLINFOA info{};
    FillTool(info, wnd, rect == nullptr ? 0 : id);
    if (rect != nullptr) {
        info.rect = *rect;
    } else {
        info.uFlags |= TTF_SUBCLASS;
    }
    info.hinst = GetModuleHandleA(nullptr);
    info.lpszText = const_cast<LPSTR>(UserIntName(static_cast<WORD>(textId)));
    return static_cast<BOOL>(Send(this, TTM_ADDTOOLA, 0, &info));
}

void CToolTipCtrl::DelTool(CWnd* wnd, UINT_PTR id)
{
    TTTOOLINFOA info{};
    FillTool(info, wnd, id);
    Send(this, TTM_DELTOOLA, 0, &info);
}

void CToolTipCtrl::Activate(BOOL activate) { SendMessage(TTM_ACTIVATE, static_cast<WPARAM>(activate)); }
void CToolTipCtrl::SetDelayTime(UINT ms) { SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, MAKELPARAM(static_cast<WORD>(ms), 0)); }
void CToolTipCtrl::SetDelayTime(DWORD which, int ms) { SendMessage(TTM_SETDELAYTIME, which, MAKELPARAM(static_cast<WORD>(ms), 0)); }
int CToolTipCtrl::GetDelayTime(DWORD which) const { return static_cast<int>(SendMessage(TTM_GETDELAYTIME, which)); }
void CToolTipCtrl::RelayEvent(MSG* msg) { Send(this, TTM_RELAYEVENT, 0, msg); }

void CToolTipCtrl::UpdateTipText(LPCSTR text, CWnd* wnd, UINT_PTR id)
{
    TTTOOLINFOA info{};
    FillTool(info, wnd, id);
    info.lpszText = const_cast<LPSTR>(text);
    Send(this, TTM_UPDATETIPTEXTA, 0, &info);
}

void CToolTipCtrl::GetText(CString& text, CWnd* wnd, UINT_PTR id) const
{
    TTTOOLINFOA info{};
    FillTool(info, wnd, id);
    std::vector<char> buffer(1024, '\0');
    info.lpszText = buffer.data();
    Send(this, TTM_GETTEXTA, buffer.size(), &info);
    text = CString(buffer.data());
}

int CToolTipCtrl::GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }

BOOL CToolTipCtrl::GetToolInfo(TTTOOLINFOA& info, CWnd* wnd, UINT_PTR id) const
{
    FillTool(info, wnd, id);
    return static_cast<BOOL>(Send(this, TTM_GETTOOLINFOA, 0, &info));
}

void CToolTipCtrl::SetToolInfo(TTTOOLINFOA* info) { Send(this, TTM_SETTOOLINFOA, 0, info); }

void CToolTipCtrl::SetToolRect(CWnd* wnd, UINT_PTR id, LPCRECT rect)
{
    if (rect == nullptr) {
        return;
    }
    TTTOOLINFOA info{};
    FillTool(info, wnd, id);
    info.rect = *rect;
    Send(this, TTM_NEWTOOLRECTA, 0, &info);
}

BOOL CToolTipCtrl::HitTest(CWnd* wnd, CPoint point, TTTOOLINFOA* info) const
{
    if (wnd == nullptr) {
        return FALSE;
    }
    TTHITTESTINFOA hit{};
    hit.hwnd = wnd->GetSafeHwnd();
    hit.pt = point;
    hit.ti.cbSize = sizeof(hit.ti);
    if (!Send(this, TTM_HITTESTA, 0, &hit)) {
        return FALSE;
    }
    if (info != nullptr) {
        *info = hit.ti;
    }
    return TRUE;
}

void CToolTipCtrl::Pop() { SendMessage(TTM_POP); }
void CToolTipCtrl::Update() { SendMessage(TTM_UPDATE); }
int CToolTipCtrl::SetMaxTipWidth(int width) { return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, width)); }
void CToolTipCtrl::SetTipBkColor(COLORREF colour) { SendMessage(TTM_SETTIPBKCOLOR, colour); }
void CToolTipCtrl::SetTipTextColor(COLORREF colour) { SendMessage(TTM_SETTIPTEXTCOLOR, colour); }
void CToolTipCtrl::SetMargin(LPRECT rect) { Send(this, TTM_SETMARGIN, 0, rect); }
void CToolTipCtrl::GetMargin(LPRECT rect) const { Send(this, TTM_GETMARGIN, 0, rect); }
