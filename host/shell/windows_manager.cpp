// CWindowsManager: the list of modified document windows, its drawing, and
// the Save, No and Cancel decisions.
#include "host/shell/windows_manager.h"

#include <string>

#include "host/document/nuvex_doc.h"
#include "host/shell/addin_host.h"
#include "platform/framework/ddx.h"
#include "platform/framework/mdi.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/gdiframe.h"
#include "platform/gdi/gditext.h"
#include "platform/user/commdlg.h"
#include "platform/user/dialog.h"
#include "platform/user/winuser.h"

namespace {

// Titles are read as at most this many characters.
constexpr int kTitleSize = 256;
// Room between an item's icon and its text.
constexpr int kIconGap = 4;
constexpr int kIconLeft = 2;
constexpr const char* kCaption = "nuvex";

// A drawing's command still runs.
bool HasActiveCommand(CDocument* document)
{
    auto* drawing = dynamic_cast<CNuvexDoc*>(document);
    return drawing != nullptr && drawing->IsCommandActive();
}

// The document was read from or written to a file: it saves under its name.
bool HasFile(CDocument* document)
{
    if (auto* drawing = dynamic_cast<CNuvexDoc*>(document)) {
        return drawing->HasFile() != FALSE;
    }
    return !document->GetPathName().IsEmpty();
}

} // namespace

IMPLEMENT_DYNAMIC(CWindowsManager, CDialog)

BEGIN_MESSAGE_MAP(CWindowsManager, CDialog)
    ON_WM_DRAWITEM()
    ON_COMMAND(kWindowsManagerSave, OnSave)
    ON_COMMAND(kWindowsManagerNo, OnNo)
END_MESSAGE_MAP()

CWindowsManager::CWindowsManager(CWnd* parent, CAddinHost& host, CMDIFrameWnd* frame)
    : CDialog(kWindowsManagerDialog, parent), m_app(&host), m_frame(frame)
{
}

void CWindowsManager::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, kWindowsManagerList, m_list);
    DDX_Control(dx, kWindowsManagerLabel, m_label);
    DDX_Control(dx, kWindowsManagerSave, m_saveButton);
    DDX_Control(dx, kWindowsManagerNo, m_noButton);
    DDX_Control(dx, IDCANCEL, m_cancelButton);
}

BOOL CWindowsManager::OnInitDialog()
{
    CDialog::OnInitDialog();
    CLanguageTable& texts = m_app->LanguageTable();
    m_label.SetWindowText(texts.GetStaticText(kTextSaveChangesLabel, kDefaultSaveChangesLabel));
    m_saveButton.SetWindowText(texts.GetStaticText(kTextSaveButton, kDefaultSaveButton));
    m_noButton.SetWindowText(texts.GetStaticText(kTextNoButton, kDefaultNoButton));
    m_cancelButton.SetWindowText(texts.GetStaticText(kTextCancelButton, kDefaultCancelButton));
    FillList();
    SelectFirst();
    return TRUE;
}

void CWindowsManager::FillList()
{
    m_list.SetRedraw(FALSE);
    m_list.ResetContent();
    if (m_frame != nullptr && m_frame->m_hWndMDIClient != nullptr) {
        for (HWND child = ::GetWindow(m_frame->m_hWndMDIClient, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            auto* childFrame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(child));
            CDocument* document = childFrame != nullptr ? childFrame->GetActiveDocument() : nullptr;
            if (document == nullptr || !document->IsModified()) {
                continue;
            }
            char title[kTitleSize] = {};
            ::GetWindowTextA(child, title, kTitleSize);
            const int index = m_list.AddString(title);
            if (index >= 0) {
                m_list.SetItemData(index, reinterpret_cast<DWORD_PTR>(child));
            }
        }
    }
    if (m_list.GetCount() == 0) {
        m_app->SetSaveAllResult(TRUE);
        EndDialog(IDOK);
        return;
    }
    m_list.SetRedraw(TRUE);
}

void CWindowsManager::SelectFirst()
{
    if (m_list.GetCount() <= 0) {
        return;
    }
    m_list.SetRedraw(FALSE);
    m_list.SetSel(-1, FALSE);
    m_list.SetSel(0, TRUE);
    m_list.SetRedraw(TRUE);
}

CDocument* CWindowsManager::DocumentOfItem(int index) const
{
    const auto child = reinterpret_cast<HWND>(m_list.GetItemData(index));
    if (child == nullptr || !::IsWindow(child)) {
        return nullptr;
    }
    auto* childFrame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(child));
    return childFrame != nullptr ? childFrame->GetActiveDocument() : nullptr;
}

void CWindowsManager::OnSave()
{
    // Every listed document is saved, first to last (two windows of one
    // document save it once: the second finds it saved). A document that
    // cannot be saved, or whose file dialog is cancelled, keeps the program
    // running; the others are still saved.
    bool allSaved = true;
    const int count = m_list.GetCount();
    for (int i = 0; i < count; ++i) {
        m_document = DocumentOfItem(i);
        if (m_document == nullptr) {
            continue;
        }
        if (HasActiveCommand(m_document)) {
            ::MessageBoxA(m_hWnd, kSaveActiveCommandWarning, kCaption, MB_OK);
        }
        if (!m_document->IsModified()) {
            continue;
        }
        const CString path = m_document->GetPathName();
        const BOOL saved = HasFile(m_document) ? m_document->DoSave(path.GetString(), TRUE)
                                               : m_document->DoSave(nullptr, TRUE);
        if (!saved || m_document->IsModified()) {
            allSaved = false;
        }
    }
    m_document = nullptr;
    m_app->SetSaveAllResult(allSaved ? TRUE : FALSE);
    EndDialog(allSaved ? IDOK : IDCANCEL);
}

void CWindowsManager::OnNo()
{
    m_app->SetSaveAllResult(TRUE);
    const int count = m_list.GetCount();
    for (int i = 0; i < count; ++i) {
        if (CDocument* document = DocumentOfItem(i)) {
            document->SetModifiedFlag(FALSE);
        }
    }
    EndDialog(IDOK);
}

void CWindowsManager::OnCancel()
{
    m_app->SetSaveAllResult(FALSE);
    CDialog::OnCancel();
}

void CWindowsManager::OnDrawItem(int id, DRAWITEMSTRUCT* item)
{
    if (id != kWindowsManagerList || item == nullptr) {
        CDialog::OnDrawItem(id, item);
        return;
    }
    if (static_cast<int>(item->itemID) < 0 || static_cast<int>(item->itemID) >= m_list.GetCount()) {
        return;
    }
    HDC dc = item->hDC;
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    HBRUSH brush = ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    const COLORREF textColour = ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    if ((item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) != 0) {
        ::FillRect(dc, &item->rcItem, brush);
    }
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(dc, textColour);
    CString text;
    m_list.GetText(static_cast<int>(item->itemID), text);
    const int height = item->rcItem.bottom - item->rcItem.top;
    RECT textRect = item->rcItem;
    textRect.left += height + kIconGap;
    ::DrawTextA(dc, text.GetString(), -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    const auto child = reinterpret_cast<HWND>(item->itemData);
    if (child != nullptr && ::IsWindow(child)) {
        if (auto icon = reinterpret_cast<HICON>(::GetClassLongPtrA(child, GCLP_HICONSM))) {
            ::DrawIconEx(dc, item->rcItem.left + kIconLeft, item->rcItem.top, icon, height, height, 0, nullptr,
                         DI_NORMAL);
        }
    }
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
    if ((item->itemAction & ODA_FOCUS) != 0) {
        ::DrawFocusRect(dc, &item->rcItem);
    }
}
