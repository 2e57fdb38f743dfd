// CPropertySheet and CPropertyPage: a dialog that shows one of several
// pages (child dialogs made from their own templates) under a tab strip
// with one tab per page, and, when run modally, OK, Cancel and Apply below.
// A page leaves only when its data passes (OnKillActive), whether the
// person clicks a tab or the program calls SetActivePage; OK and Apply give
// every page that was shown the chance to take its data.
#pragma once

#include <vector>

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/framework/commonctrls.h"
#include "platform/framework/dialog.h"

class CPropertySheet;

class NUVEX_PLATFORM_API CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    explicit CPropertyPage(UINT templateId, UINT captionId = 0, UINT headerTitleId = 0, UINT headerSubTitleId = 0);
    explicit CPropertyPage(LPCSTR templateName, UINT captionId = 0);

    // The page is about to show: its controls are filled the first time.
    virtual BOOL OnSetActive();
    // The page is about to leave: FALSE (data refused) keeps it.
    virtual BOOL OnKillActive();
    // OK or Apply: TRUE when the page took its data.
    virtual BOOL OnApply();
    void OnOK() override;
    void OnCancel() override;
    virtual void OnReset();
    void SetModified(BOOL changed = TRUE) { m_bModified = changed; }
    BOOL IsModified() const { return m_bModified; }
    CString GetCaption() const { return m_strCaption; }
    CPropertySheet* GetSheet() const { return m_pSheet; }

protected:
    friend class CPropertySheet;
    // Made as a child of the sheet from the page's template.
    BOOL CreatePage(CPropertySheet* sheet);

    CString m_strCaption;
    CPropertySheet* m_pSheet = nullptr;
    BOOL m_bModified = FALSE;
    bool m_filled = false;
};

// The command ids of the sheet's buttons.
constexpr UINT ID_APPLY_NOW = 0x3021;
constexpr UINT ID_WIZBACK = 0x3023;
constexpr UINT ID_WIZNEXT = 0x3024;
// The control id of the sheet's tab strip.
constexpr UINT AFX_IDC_TAB_CONTROL = 0x3020;

// The sheet's tab strip. The pages lie under it (it is made before them), so
// its display area lets the mouse through to them.
class NUVEX_PLATFORM_API CPropertySheetTabs : public CTabCtrl {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class NUVEX_PLATFORM_API CPropertySheet : public CDialog {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    explicit CPropertySheet(UINT captionId, CWnd* parent = nullptr, UINT selectPage = 0);
    explicit CPropertySheet(LPCSTR caption, CWnd* parent = nullptr, UINT selectPage = 0);

    void AddPage(CPropertyPage* page);
    void RemovePage(int index);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int index) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const { return m_active; }
    int GetPageIndex(const CPropertyPage* page) const;
    // FALSE when the active page refuses to leave or `index` is not a page.
    BOOL SetActivePage(int index);
    BOOL SetActivePage(CPropertyPage* page) { return SetActivePage(GetPageIndex(page)); }
    void SetTitle(LPCSTR title) { m_strCaption = title; }

    INT_PTR DoModal() override;
    // Modeless: the sheet shows its pages and tabs without OK, Cancel and
    // Apply; a style of -1 takes a visible popup with a caption and a
    // system menu.
    BOOL Create(CWnd* parent = nullptr, DWORD style = static_cast<DWORD>(-1), DWORD exStyle = 0);
    BOOL OnInitDialog() override;
    // The pages' area in the sheet's client coordinates.
    CRect PageRect() const;
    CTabCtrl* GetTabControl() { return m_tabs.m_hWnd != nullptr ? &m_tabs : nullptr; }

protected:
    void OnOK() override;
    void OnCancel() override;
    void OnApplyNow();
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // The sheet's template around the largest page, with or without the
    // buttons below it.
    enum class SheetButtons : uint8_t { None, Shown };
    DialogTemplate BuildTemplate(DWORD style, DWORD exStyle, SheetButtons withButtons);
    // Places the tab strip around the page size and the buttons below it,
    // and fits the sheet around them.
    void LayoutSheet();
    // Hides the active page and shows page `index` (made when first shown),
    // with its OnSetActive; the tab strip follows.
    BOOL ShowPage(int index);
    // Adds the tab of page `index`, named by its caption.
    void InsertTab(int index);
    // Every shown page takes its data; FALSE when one refused (it is then
    // the active page).
    BOOL ApplyPages();

    CString m_strCaption;
    std::vector<CPropertyPage*> m_pages;
    int m_active = 0;
    CSize m_pageSize;  // in dialog units
    CRect m_pageRect;  // in pixels, once the sheet is laid out
    CPropertySheetTabs m_tabs;

    DECLARE_MESSAGE_MAP()
};
