// CPropertySheet and CPropertyPage: a dialog that shows one of several
// pages (child dialogs made from their own templates) with OK, Cancel and
// Apply. A page leaves only when its data passes (OnKillActive); OK and
// Apply give every page that was shown the chance to take its data. The
// sheet has no tab strip of its own here: the program (or the person,
// through the sheet's commands) moves between pages with SetActivePage.
#pragma once

#include <vector>

#include "platform/base/api.h"
#include "platform/base/types.h"
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
    virtual void OnOK();
    virtual void OnCancel();
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
    BOOL OnInitDialog() override;
    // The pages' area in the sheet's client coordinates.
    CRect PageRect() const;

protected:
    void OnOK() override;
    void OnCancel() override;
    void OnApplyNow();
    // Every shown page takes its data; FALSE when one refused (it is then
    // the active page).
    BOOL ApplyPages();

    CString m_strCaption;
    std::vector<CPropertyPage*> m_pages;
    int m_active = 0;
    CSize m_pageSize;  // in dialog units

    DECLARE_MESSAGE_MAP()
};
