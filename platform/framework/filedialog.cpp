// CFileDialog over GetOpenFileName and GetSaveFileName.
#include "platform/framework/filedialog.h"

#include <algorithm>
#include <cstdio>

#include "platform/framework/app.h"

IMPLEMENT_DYNAMIC(CFileDialog, CCmdTarget)

CFileDialog::CFileDialog(BOOL openFileDialog, LPCSTR defaultExtension, LPCSTR fileName, DWORD flags,
                         LPCSTR filter, CWnd* parent)
    : m_open(openFileDialog)
{
    if (filter != nullptr) {
        // "|" separates the texts; the end is marked by an empty text.
        m_filter = filter;
        std::replace(m_filter.begin(), m_filter.end(), '|', '\0');
        m_filter.push_back('\0');
        m_filter.push_back('\0');
    }
    if (defaultExtension != nullptr) {
        m_defaultExtension = defaultExtension[0] == '.' ? defaultExtension + 1 : defaultExtension;
    }
    if (fileName != nullptr) {
        snprintf(m_file, sizeof m_file, "%s", fileName);
    }
    m_ofn.lStructSize = sizeof m_ofn;
    CWnd* owner = parent != nullptr ? parent : AfxGetMainWnd();
    m_ofn.hwndOwner = owner != nullptr ? owner->m_hWnd : nullptr;
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.data();
    m_ofn.nFilterIndex = 1;
    m_ofn.lpstrFile = m_file;
    m_ofn.nMaxFile = sizeof m_file;
    m_ofn.lpstrFileTitle = m_title;
    m_ofn.nMaxFileTitle = sizeof m_title;
    m_ofn.lpstrDefExt = m_defaultExtension.empty() ? nullptr : m_defaultExtension.c_str();
    m_ofn.Flags = flags | OFN_EXPLORER;
}

INT_PTR CFileDialog::DoModal()
{
    const BOOL chosen = m_open ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    return chosen ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const { return CString(m_file); }

CString CFileDialog::GetFileName() const
{
    const CString path = GetPathName();
    const int slash = std::max(path.ReverseFind('/'), path.ReverseFind('\\'));
    return path.Mid(slash + 1);
}

CString CFileDialog::GetFileExt() const
{
    const CString name = GetFileName();
    const int dot = name.ReverseFind('.');
    return dot >= 0 ? name.Mid(dot + 1) : CString();
}

CString CFileDialog::GetFileTitle() const
{
    const CString name = GetFileName();
    const int dot = name.ReverseFind('.');
    return dot >= 0 ? name.Left(dot) : name;
}

CString CFileDialog::GetFolderPath() const
{
    const CString path = GetPathName();
    const int slash = std::max(path.ReverseFind('/'), path.ReverseFind('\\'));
    return slash >= 0 ? path.Left(slash) : CString();
}
