// Framework wrappers of the common controls: CImageList over an image list
// handle, and CTreeCtrl, CTabCtrl, CToolBarCtrl, CStatusBarCtrl and
// CToolTipCtrl, windows whose members send the controls' messages.
#pragma once

#include <memory>

#include "platform/controls/commctrl.h"
#include "platform/framework/ctrls.h"
#include "platform/framework/gdiobj.h"
#include "platform/framework/wnd.h"

class NUVEX_PLATFORM_API CImageList : public CObject {
    DECLARE_DYNCREATE(CImageList)
public:
    CImageList() = default;
    // Destroys the image list this object owns.
    ~CImageList() override;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST m_hImageList = nullptr;
    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }

    // The object attached to `list`, else a temporary one that lives until
    // DeleteTempMap.
    static CImageList* FromHandle(HIMAGELIST list);
    static CImageList* FromHandlePermanent(HIMAGELIST list);
    static void DeleteTempMap();
    BOOL Attach(HIMAGELIST list);
    HIMAGELIST Detach();

    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    // Images `cx` wide cut from the running program's bitmap resource `bitmapId`,
    // with `mask` as the transparent colour.
    BOOL Create(UINT bitmapId, int cx, int grow, COLORREF mask);
    BOOL DeleteImageList();

    int GetImageCount() const;
    BOOL SetImageCount(UINT count);
    int Add(CBitmap* image, CBitmap* mask);
    int Add(CBitmap* image, COLORREF mask);
    int Add(HICON icon);
    BOOL Replace(int index, CBitmap* image, CBitmap* mask);
    int Replace(int index, HICON icon);
    BOOL Remove(int index);
    COLORREF SetBkColor(COLORREF colour);
    COLORREF GetBkColor() const;
    BOOL SetOverlayImage(int image, int overlay);
    BOOL Draw(CDC* dc, int image, POINT at, UINT style);
    BOOL DrawIndirect(CDC* dc, int image, POINT at, SIZE size, POINT origin, UINT style = ILD_NORMAL,
                      COLORREF background = CLR_DEFAULT, COLORREF foreground = CLR_DEFAULT);
    HICON ExtractIcon(int image);
    BOOL GetImageInfo(int image, IMAGEINFO* info) const;
};

class NUVEX_PLATFORM_API CTreeCtrl : public CWnd {
    DECLARE_DYNAMIC(CTreeCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    BOOL CreateEx(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id);

    HTREEITEM InsertItem(const TVINSERTSTRUCTA* insert);
    HTREEITEM InsertItem(LPCSTR text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
    HTREEITEM InsertItem(LPCSTR text, int image, int selectedImage, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM after = TVI_LAST);
    HTREEITEM InsertItem(UINT mask, LPCSTR text, int image, int selectedImage, UINT state, UINT stateMask,
                         LPARAM data, HTREEITEM parent, HTREEITEM after);
    BOOL DeleteItem(HTREEITEM item);
    BOOL DeleteAllItems();
    BOOL Expand(HTREEITEM item, UINT code);
    BOOL GetItem(TVITEMA* item) const;
    BOOL SetItem(TVITEMA* item);
    CString GetItemText(HTREEITEM item) const;
    BOOL SetItemText(HTREEITEM item, LPCSTR text);
    DWORD_PTR GetItemData(HTREEITEM item) const;
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
    UINT GetItemState(HTREEITEM item, UINT mask) const;
    BOOL SetItemState(HTREEITEM item, UINT state, UINT mask);
    BOOL GetItemImage(HTREEITEM item, int& image, int& selectedImage) const;
    BOOL SetItemImage(HTREEITEM item, int image, int selectedImage);
    // The state image: 1 unchecked, 2 checked.
    BOOL GetCheck(HTREEITEM item) const;
    BOOL SetCheck(HTREEITEM item, BOOL checked = TRUE);
    BOOL ItemHasChildren(HTREEITEM item) const;

    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const;
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUS); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetFirstVisibleItem() const { return GetNextItem(nullptr, TVGN_FIRSTVISIBLE); }
    HTREEITEM GetNextVisibleItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXTVISIBLE); }
    HTREEITEM GetPrevVisibleItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUSVISIBLE); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetDropHilightItem() const { return GetNextItem(nullptr, TVGN_DROPHILITE); }
    BOOL Select(HTREEITEM item, UINT code);
    BOOL SelectItem(HTREEITEM item) { return Select(item, TVGN_CARET); }
    BOOL SelectDropTarget(HTREEITEM item) { return Select(item, TVGN_DROPHILITE); }
    BOOL SelectSetFirstVisible(HTREEITEM item) { return Select(item, TVGN_FIRSTVISIBLE); }

    HTREEITEM HitTest(CPoint point, UINT* flags = nullptr) const;
    HTREEITEM HitTest(TVHITTESTINFO* info) const;
    BOOL GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const;
    UINT GetCount() const;
    UINT GetVisibleCount() const;
    UINT GetIndent() const;
    void SetIndent(UINT indent);
    int GetItemHeight() const;
    int SetItemHeight(int height);
    CImageList* GetImageList(int which) const;
    CImageList* SetImageList(CImageList* list, int which);
    BOOL EnsureVisible(HTREEITEM item);
    BOOL SortChildren(HTREEITEM item);
    COLORREF SetBkColor(COLORREF colour);
    COLORREF SetTextColor(COLORREF colour);

    // Label editing in place: the edit control over the item's label, or
    // null when the parent refused (TVN_BEGINLABELEDIT). The object stands
    // for the edit control only while that edit lasts.
    CEdit* EditLabel(HTREEITEM item);
    CEdit* GetEditControl();
    // Ends the edit, keeping the text unless `cancel`.
    BOOL EndEditLabelNow(BOOL cancel);

    ~CTreeCtrl() override;

private:
    CEdit* LabelEditor(HWND editor);
    CEdit m_labelEditor; // borrows the tree's edit control, never owns it
};

class NUVEX_PLATFORM_API CTabCtrl : public CWnd {
    DECLARE_DYNAMIC(CTabCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    int GetItemCount() const;
    BOOL GetItem(int index, TCITEMA* item) const;
    BOOL SetItem(int index, TCITEMA* item);
    LONG InsertItem(int index, TCITEMA* item);
    LONG InsertItem(int index, LPCSTR text);
    LONG InsertItem(int index, LPCSTR text, int image);
    BOOL DeleteItem(int index);
    BOOL DeleteAllItems();
    int GetCurSel() const;
    int SetCurSel(int index);
    int GetCurFocus() const;
    void SetCurFocus(int index);
    BOOL GetItemRect(int index, LPRECT rect) const;
    int HitTest(TCHITTESTINFO* info) const;
    void AdjustRect(BOOL larger, LPRECT rect);
    CImageList* GetImageList() const;
    CImageList* SetImageList(CImageList* list);
    CSize SetItemSize(CSize size);
    void SetPadding(CSize padding);
    int GetRowCount() const;
    int SetMinTabWidth(int width);
};

class CToolTipCtrl;

class NUVEX_PLATFORM_API CToolBarCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolBarCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    void SetButtonStructSize(int size);
    BOOL AddButtons(int count, const TBBUTTON* buttons);
    BOOL InsertButton(int index, const TBBUTTON* button);
    BOOL DeleteButton(int index);
    BOOL GetButton(int index, TBBUTTON* button) const;
    int GetButtonCount() const;
    int CommandToIndex(UINT id) const;
    BOOL EnableButton(int id, BOOL enable = TRUE);
    BOOL CheckButton(int id, BOOL check = TRUE);
    BOOL PressButton(int id, BOOL press = TRUE);
    BOOL HideButton(int id, BOOL hide = TRUE);
    BOOL Indeterminate(int id, BOOL indeterminate = TRUE);
    BOOL IsButtonEnabled(int id) const;
    BOOL IsButtonChecked(int id) const;
    BOOL IsButtonPressed(int id) const;
    BOOL IsButtonHidden(int id) const;
    BOOL IsButtonIndeterminate(int id) const;
    BOOL SetState(int id, UINT state);
    int GetState(int id) const;
    // Images from the running program's bitmap resource, or from a bitmap.
    int AddBitmap(int count, UINT bitmapId);
    int AddBitmap(int count, CBitmap* bitmap);
    BOOL ReplaceBitmap(TBREPLACEBITMAP* replace);
    int AddString(UINT stringId);
    // Texts one after another, ended by an empty one.
    int AddStrings(LPCSTR strings);
    BOOL GetItemRect(int index, LPRECT rect) const;
    BOOL GetRect(int id, LPRECT rect) const;
    BOOL SetButtonSize(CSize size);
    CSize GetButtonSize() const;
    BOOL SetBitmapSize(CSize size);
    void AutoSize();
    // The tooltip control when a CToolTipCtrl object stands for it (the
    // one given to SetToolTips), else null.
    CToolTipCtrl* GetToolTips() const;
    void SetToolTips(CToolTipCtrl* tips);
    // The window that hears the toolbar's commands and notifications.
    void SetOwner(CWnd* owner);
    CImageList* SetImageList(CImageList* list);
    CImageList* GetImageList() const;
    CImageList* SetHotImageList(CImageList* list);
    CImageList* SetDisabledImageList(CImageList* list);
    DWORD SetExtendedStyle(DWORD style);
    DWORD GetExtendedStyle() const;
    int GetButtonInfo(int id, TBBUTTONINFOA* info) const;
    BOOL SetButtonInfo(int id, TBBUTTONINFOA* info);
    int HitTest(LPPOINT point) const;
    int GetHotItem() const;
    int SetHotItem(int index);
    BOOL GetMaxSize(SIZE* size) const;
    BOOL SetIndent(int indent);
    BOOL SetCmdID(int index, UINT id);
    int GetRows() const;
    BOOL GetColorScheme(COLORSCHEME* scheme) const;
    void SetColorScheme(const COLORSCHEME* scheme);
};

class NUVEX_PLATFORM_API CStatusBarCtrl : public CWnd {
    DECLARE_DYNAMIC(CStatusBarCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    BOOL SetText(LPCSTR text, int pane, int type);
    CString GetText(int pane, int* type = nullptr) const;
    int GetTextLength(int pane, int* type = nullptr) const;
    BOOL SetParts(int count, const int* rightEdges);
    int GetParts(int count, int* rightEdges) const;
    BOOL GetBorders(int* borders) const;
    BOOL GetBorders(int& horizontal, int& vertical, int& spacing) const;
    void SetMinHeight(int height);
    BOOL SetSimple(BOOL simple = TRUE);
    BOOL IsSimple() const;
    BOOL GetRect(int pane, LPRECT rect) const;
    BOOL SetIcon(int pane, HICON icon);
    HICON GetIcon(int pane) const;
    void SetTipText(int pane, LPCSTR text);
    CString GetTipText(int pane) const;
    COLORREF SetBkColor(COLORREF colour);
};

class NUVEX_PLATFORM_API CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    // A tip owned by `parent`'s window.
    BOOL Create(CWnd* parent, DWORD style = 0);

    // Without a rectangle and id the whole window is the tool (found by its
    // handle, its mouse messages seen by subclassing); otherwise the
    // rectangle of `wnd` with that id.
    BOOL AddTool(CWnd* wnd, LPCSTR text = LPSTR_TEXTCALLBACKA, LPCRECT rect = nullptr, UINT_PTR id = 0);
    BOOL AddTool(CWnd* wnd, UINT textId, LPCRECT rect = nullptr, UINT_PTR id = 0);
    void DelTool(CWnd* wnd, UINT_PTR id = 0);
    void Activate(BOOL activate);
    void SetDelayTime(UINT ms);
    void SetDelayTime(DWORD which, int ms);
    int GetDelayTime(DWORD which) const;
    void RelayEvent(MSG* msg);
    void UpdateTipText(LPCSTR text, CWnd* wnd, UINT_PTR id = 0);
    void GetText(CString& text, CWnd* wnd, UINT_PTR id = 0) const;
    int GetToolCount() const;
    BOOL GetToolInfo(TTTOOLINFOA& info, CWnd* wnd, UINT_PTR id = 0) const;
    void SetToolInfo(TTTOOLINFOA* info);
    void SetToolRect(CWnd* wnd, UINT_PTR id, LPCRECT rect);
    BOOL HitTest(CWnd* wnd, CPoint point, TTTOOLINFOA* info) const;
    void Pop();
    void Update();
    int SetMaxTipWidth(int width);
    void SetTipBkColor(COLORREF colour);
    void SetTipTextColor(COLORREF colour);
    void SetMargin(LPRECT rect);
    void GetMargin(LPRECT rect) const;

private:
    // The tool record for `wnd` and `id`, as AddTool made it.
    void FillTool(TTTOOLINFOA& info, CWnd* wnd, UINT_PTR id) const;
};
