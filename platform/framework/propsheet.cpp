// Property sheets and pages: the sheet is a dialog built in code around the
// largest page, with a tab strip over the pages; pages are child dialogs
// made from their templates when they are first shown.
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
    if (m_tabs.m_hWnd != nullptr) {
        InsertTab(GetPageCount() - 1);
    }
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
    if (m_tabs.m_hWnd != nullptr) {
        m_tabs.DeleteItem(index);
    }
    const bool wasActive = index == m_active;
    if (index < m_active || m_active >= GetPageCount()) {
        m_active = std::max(0, m_active - 1);
    }
    if (m_hWnd != nullptr && wasActive && GetPageCount() > 0) {
        ShowPage(m_active);
    } else if (m_tabs.m_hWnd != nullptr && GetPageCount() > 0) {
        m_tabs.SetCurSel(m_active);
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
    if (!m_pageRect.IsRectEmpty()) {
        return m_pageRect;
    }
    CRect area(kMargin, kMargin, kMargin + m_pageSize.cx, kMargin + m_pageSize.cy);
    if (m_hWnd != nullptr) {
        ::MapDialogRect(m_hWnd, &area);
    }
    return area;
}

LRESULT CPropertySheetTabs::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCHITTEST) {
        CRect display;
        GetClientRect(&display);
        AdjustRect(FALSE, &display);
        CPoint at(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        ScreenToClient(&at);
        if (display.PtInRect(at)) {
            return HTTRANSPARENT;
        }
    }
    return CTabCtrl::WindowProc(message, wParam, lParam);
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
    if (current != nullptr && current != next && current->m_hWnd != nullptr && !current->OnKillActive()) {
        return FALSE;
    }
    return ShowPage(index);
}

void CPropertySheet::InsertTab(int index)
{
    CPropertyPage* page = GetPage(index);
    if (page->m_strCaption.IsEmpty()) {
        if (std::optional<DialogTemplate> pageTemplate = LoadTemplate(page->m_lpszTemplateName)) {
            page->m_strCaption = pageTemplate->caption.c_str();
        }
    }
    m_tabs.InsertItem(index, page->m_strCaption);
}

BOOL CPropertySheet::ShowPage(int index)
{
    CPropertyPage* next = GetPage(index);
    if (next == nullptr) {
        return FALSE;
    }
    CPropertyPage* current = GetActivePage();
    if (next->m_hWnd == nullptr && !next->CreatePage(this)) {
        return FALSE;
    }
    if (current != nullptr && current != next && current->m_hWnd != nullptr) {
        current->ShowWindow(SW_HIDE);
    }
    m_active = index;
    if (m_tabs.m_hWnd != nullptr && m_tabs.GetCurSel() != index) {
        m_tabs.SetCurSel(index);
    }
    next->OnSetActive();
    next->ShowWindow(SW_SHOW);
    return TRUE;
}

BOOL CPropertySheet::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header != nullptr && m_tabs.m_hWnd != nullptr && header->hwndFrom == m_tabs.m_hWnd) {
        if (header->code == TCN_SELCHANGING) {
            // The tab stays when the page refuses its data.
            CPropertyPage* current = GetActivePage();
            *result = current != nullptr && current->m_hWnd != nullptr && !current->OnKillActive() ? TRUE : FALSE;
            return TRUE;
        }
        if (header->code == TCN_SELCHANGE) {
            ShowPage(m_tabs.GetCurSel());
            *result = 0;
            return TRUE;
        }
    }
    return CDialog::OnNotify(wParam, lParam, result);
}

DialogTemplate CPropertySheet::BuildTemplate(DWORD style, DWORD exStyle, SheetButtons withButtons)
{
    const bool buttons = withButtons == SheetButtons::Shown;
    // The sheet's size follows the largest page; OnInitDialog fits it to
    // the tab strip around that size.
    m_pageSize = CSize(0, 0);
    m_pageRect.SetRectEmpty();
    for (CPropertyPage* page : m_pages) {
        if (std::optional<DialogTemplate> pageTemplate = LoadTemplate(page->m_lpszTemplateName)) {
            m_pageSize.cx = std::max<LONG>(m_pageSize.cx, pageTemplate->cx);
            m_pageSize.cy = std::max<LONG>(m_pageSize.cy, pageTemplate->cy);
        }
    }
    const SHORT width = static_cast<SHORT>(std::max<LONG>(m_pageSize.cx, 3 * kButtonWidth + 2 * kButtonGap) + 2 * kMargin);
    const SHORT buttonsTop = static_cast<SHORT>(kMargin + m_pageSize.cy + kMargin);
    DialogTemplate sheet;
    sheet.style = style | DS_SETFONT;
    sheet.exStyle = exStyle;
    sheet.fontPointSize = 8;
    sheet.fontFace = "MS Shell Dlg";
    sheet.cx = width;
    sheet.cy = static_cast<SHORT>(buttonsTop + (buttons ? kButtonHeight + kMargin : 0));
    sheet.caption = m_strCaption.GetString();
    if (!buttons) {
        return sheet;
    }
    struct Button {
        int id;
        const char* text;
        DWORD style;
    };
    const Button kButtons[] = {{IDOK, "OK", BS_DEFPUSHBUTTON | WS_GROUP}, {IDCANCEL, "Cancel", BS_PUSHBUTTON},
                               {static_cast<int>(ID_APPLY_NOW), "&Apply", BS_PUSHBUTTON}};
    SHORT x = static_cast<SHORT>(width - kMargin - 3 * kButtonWidth - 2 * kButtonGap);
    for (const Button& button : kButtons) {
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
    return sheet;
}

INT_PTR CPropertySheet::DoModal()
{
    InitModalIndirect(BuildTemplate(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, SheetButtons::Shown));
    return CDialog::DoModal();
}

BOOL CPropertySheet::Create(CWnd* parent, DWORD style, DWORD exStyle)
{
    if (style == static_cast<DWORD>(-1)) {
        style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE;
    }
    return CreateIndirect(BuildTemplate(style, exStyle, SheetButtons::None), parent);
}

void CPropertySheet::LayoutSheet()
{
    CRect margin(0, 0, kMargin, kMargin);
    ::MapDialogRect(m_hWnd, &margin);
    CRect page(0, 0, m_pageSize.cx, m_pageSize.cy);
    ::MapDialogRect(m_hWnd, &page);
    // The strip's window rectangle is the page area grown by the tabs and
    // the frame, with its corner at the margin.
    CRect strip(margin.right, margin.bottom, margin.right + page.Width(), margin.bottom + page.Height());
    m_tabs.AdjustRect(TRUE, &strip);
    strip.OffsetRect(margin.right - strip.left, margin.bottom - strip.top);
    m_tabs.SetWindowPos(nullptr, strip.left, strip.top, strip.Width(), strip.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    m_pageRect = strip;
    m_tabs.AdjustRect(FALSE, &m_pageRect);
    int right = strip.right;
    int bottom = strip.bottom;
    // OK, Cancel and Apply keep their order and size, right-aligned below
    // the strip.
    std::vector<HWND> buttons;
    int buttonsWidth = 0;
    for (const UINT id : {static_cast<UINT>(IDOK), static_cast<UINT>(IDCANCEL), ID_APPLY_NOW}) {
        if (HWND button = ::GetDlgItem(m_hWnd, static_cast<int>(id))) {
            RECT r{};
            ::GetWindowRect(button, &r);
            buttonsWidth += (r.right - r.left) + (buttons.empty() ? 0 : margin.right / 2);
            buttons.push_back(button);
        }
    }
    if (!buttons.empty()) {
        right = std::max<int>(right, margin.right + buttonsWidth);
        int x = right - buttonsWidth;
        const int y = strip.bottom + margin.bottom;
        for (HWND button : buttons) {
            RECT r{};
            ::GetWindowRect(button, &r);
            ::SetWindowPos(button, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            x += (r.right - r.left) + margin.right / 2;
            bottom = std::max<int>(bottom, y + (r.bottom - r.top));
        }
    }
    CRect frame(0, 0, right + margin.right, bottom + margin.bottom);
    ::AdjustWindowRectEx(&frame, GetStyle(), FALSE, GetExStyle());
    SetWindowPos(nullptr, 0, 0, frame.Width(), frame.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CPropertySheet::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The strip comes first (in tab order too) and lies above the pages,
    // which are made later: it paints first and the pages paint over its
    // display area.
    m_tabs.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, CRect(0, 0, 100, 100), this,
                  AFX_IDC_TAB_CONTROL);
    ::SetWindowPos(m_tabs.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m_tabs.SendMessage(WM_SETFONT, static_cast<WPARAM>(SendMessage(WM_GETFONT)), FALSE);
    for (int i = 0; i < GetPageCount(); ++i) {
        InsertTab(i);
    }
    LayoutSheet();
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
