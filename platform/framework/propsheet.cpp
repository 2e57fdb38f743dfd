// Property sheets and pages: the sheet is a dialog built in code around the
// largest page; pages are child dialogs made from their templates when they
// are first shown.
#include "platform/framework/propsheet.h"

#include <algorithm>

#include "platform/controls/controls.h"
#include "platform/kernel/resource.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CDialog)

namespace {

constexpr SHORT kMargin = 7;
constexpr SHORT kButtonWidth = 50;
constexpr SHORT kButtonHeight = 14;
constexpr SHORT kButtonGap = 4;

std::optional<DialogTemplate> LoadTemplate(LPCSTR name)
{
    if (!UserIsIntName(name)) {
        return std::nullopt;
    }
    auto bytes = FindResourceBytes(nullptr, kResourceDialog,
                                   static_cast<WORD>(reinterpret_cast<uintptr_t>(name)));
    if (!bytes) {
        return std::nullopt;
    }
    return DecodeDialogTemplate(*bytes);
}

} // namespace

CPropertyPage::CPropertyPage(UINT templateId, UINT captionId, UINT, UINT) : CDialog(templateId)
{
    if (captionId != 0) {
        m_strCaption.LoadString(captionId);
    }
}

CPropertyPage::CPropertyPage(LPCSTR templateName, UINT captionId) : CDialog(templateName)
{
    if (captionId != 0) {
        m_strCaption.LoadString(captionId);
    }
}

BOOL CPropertyPage::CreatePage(CPropertySheet* sheet)
{
    m_pSheet = sheet;
    std::optional<DialogTemplate> page = LoadTemplate(m_lpszTemplateName);
    if (!page) {
        return FALSE;
    }
    if (m_strCaption.IsEmpty()) {
        m_strCaption = page->caption.c_str();
    }
    // A page is a borderless child of the sheet, shown when active.
    page->style = (page->style & ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME)) | WS_CHILD |
                  DS_CONTROL;
    page->caption.clear();
    if (!CreateIndirect(*page, sheet)) {
        return FALSE;
    }
    const CRect area = sheet->PageRect();
    SetWindowPos(nullptr, area.left, area.top, area.Width(), area.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

BOOL CPropertyPage::OnSetActive()
{
    if (!m_filled) {
        m_filled = true;
        return UpdateData(FALSE);
    }
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() { return UpdateData(TRUE); }

BOOL CPropertyPage::OnApply()
{
    OnOK();
    m_bModified = FALSE;
    return TRUE;
}

void CPropertyPage::OnOK() {}

void CPropertyPage::OnCancel() {}

void CPropertyPage::OnReset() { OnCancel(); }

BEGIN_MESSAGE_MAP(CPropertySheet, CDialog)
    ON_COMMAND(ID_APPLY_NOW, OnApplyNow)
END_MESSAGE_MAP()

CPropertySheet::CPropertySheet(UINT captionId, CWnd* parent, UINT selectPage)
    : m_active(static_cast<int>(selectPage))
{
    m_pParentWnd = parent;
    m_strCaption.LoadString(captionId);
}

CPropertySheet::CPropertySheet(LPCSTR caption, CWnd* parent, UINT selectPage)
    : m_strCaption(caption != nullptr ? caption : ""), m_active(static_cast<int>(selectPage))
{
    m_pParentWnd = parent;
}

void CPropertySheet::AddPage(CPropertyPage* page)
{
    if (page == nullptr) {
        return;
    }
    m_pages.push_back(page);
    if (m_hWnd != nullptr && m_pages.size() == 1) {
        SetActivePage(0);
    }
}

void CPropertySheet::RemovePage(int index)
{
    if (index < 0 || index >= GetPageCount()) {
        return;
    }
    CPropertyPage* page = m_pages[static_cast<size_t>(index)];
    if (page->m_hWnd != nullptr) {
        page->DestroyWindow();
    }
    m_pages.erase(m_pages.begin() + index);
    if (m_active >= GetPageCount()) {
        m_active = std::max(0, GetPageCount() - 1);
    }
}

CPropertyPage* CPropertySheet::GetPage(int index) const
{
    return index >= 0 && index < GetPageCount() ? m_pages[static_cast<size_t>(index)] : nullptr;
}

CPropertyPage* CPropertySheet::GetActivePage() const { return GetPage(m_active); }

int CPropertySheet::GetPageIndex(const CPropertyPage* page) const
{
    for (int i = 0; i < GetPageCount(); ++i) {
        if (m_pages[static_cast<size_t>(i)] == page) {
            return i;
        }
    }
    return -1;
}

CRect CPropertySheet::PageRect() const
{
    CRect area(kMargin, kMargin, kMargin + m_pageSize.cx, kMargin + m_pageSize.cy);
    if (m_hWnd != nullptr) {
        ::MapDialogRect(m_hWnd, &area);
    }
    return area;
}

BOOL CPropertySheet::SetActivePage(int index)
{
    CPropertyPage* next = GetPage(index);
    if (next == nullptr) {
        return FALSE;
    }
    if (m_hWnd == nullptr) {
        m_active = index;
        return TRUE;
    }
    CPropertyPage* current = GetActivePage();
    if (current != nullptr && current != next && current->m_hWnd != nullptr) {
        if (!current->OnKillActive()) {
            return FALSE;
        }
        current->ShowWindow(SW_HIDE);
    }
    if (next->m_hWnd == nullptr && !next->CreatePage(this)) {
        return FALSE;
    }
    m_active = index;
    next->OnSetActive();
    next->ShowWindow(SW_SHOW);
    return TRUE;
}

INT_PTR CPropertySheet::DoModal()
{
    // The sheet's size follows the largest page.
    m_pageSize = CSize(0, 0);
    for (CPropertyPage* page : m_pages) {
        if (std::optional<DialogTemplate> pageTemplate = LoadTemplate(page->m_lpszTemplateName)) {
            m_pageSize.cx = std::max<LONG>(m_pageSize.cx, pageTemplate->cx);
            m_pageSize.cy = std::max<LONG>(m_pageSize.cy, pageTemplate->cy);
        }
    }
    const SHORT width = static_cast<SHORT>(std::max<LONG>(m_pageSize.cx, 3 * kButtonWidth + 2 * kButtonGap) + 2 * kMargin);
    const SHORT buttonsTop = static_cast<SHORT>(kMargin + m_pageSize.cy + kMargin);
    DialogTemplate sheet;
    sheet.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    sheet.fontPointSize = 8;
    sheet.fontFace = "MS Shell Dlg";
    sheet.cx = width;
    sheet.cy = static_cast<SHORT>(buttonsTop + kButtonHeight + kMargin);
    sheet.caption = m_strCaption.GetString();
    struct Button {
        int id;
        const char* text;
        DWORD style;
    };
    const Button buttons[] = {{IDOK, "OK", BS_DEFPUSHBUTTON | WS_GROUP}, {IDCANCEL, "Cancel", BS_PUSHBUTTON},
                              {static_cast<int>(ID_APPLY_NOW), "&Apply", BS_PUSHBUTTON}};
    SHORT x = static_cast<SHORT>(width - kMargin - 3 * kButtonWidth - 2 * kButtonGap);
    for (const Button& button : buttons) {
        DialogItemTemplate item;
        item.className = "Button";
        item.id = button.id;
        item.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | button.style;
        item.x = x;
        item.y = buttonsTop;
        item.cx = kButtonWidth;
        item.cy = kButtonHeight;
        item.text = button.text;
        sheet.items.push_back(item);
        x = static_cast<SHORT>(x + kButtonWidth + kButtonGap);
    }
    InitModalIndirect(sheet);
    return CDialog::DoModal();
}

BOOL CPropertySheet::OnInitDialog()
{
    CDialog::OnInitDialog();
    const int first = m_active;
    m_active = -1;
    if (!SetActivePage(first >= 0 && first < GetPageCount() ? first : 0)) {
        m_active = first;
    }
    return TRUE;
}

BOOL CPropertySheet::ApplyPages()
{
    CPropertyPage* active = GetActivePage();
    if (active != nullptr && active->m_hWnd != nullptr && !active->OnKillActive()) {
        return FALSE;
    }
    for (CPropertyPage* page : m_pages) {
        if (page->m_hWnd != nullptr && !page->OnApply()) {
            SetActivePage(page);
            return FALSE;
        }
    }
    return TRUE;
}

void CPropertySheet::OnOK()
{
    if (!ApplyPages()) {
        return;
    }
    EndDialog(IDOK);
}

void CPropertySheet::OnCancel()
{
    for (CPropertyPage* page : m_pages) {
        if (page->m_hWnd != nullptr) {
            page->OnCancel();
        }
    }
    EndDialog(IDCANCEL);
}

void CPropertySheet::OnApplyNow() { ApplyPages(); }
