// CFileDialog: the platform's open and save file dialogs with the class
// library's arguments (a filter text with "|" separators, a default
// extension and name, OFN_ flags).
#pragma once

#include <string>

#include "platform/base/api.h"
#include "platform/base/types.h"
#include "platform/framework/cstring.h"
#include "platform/framework/wnd.h"
#include "platform/user/commdlg.h"

class NUVEX_PLATFORM_API CFileDialog : public CCmdTarget {
    DECLARE_DYNAMIC(CFileDialog)
public:
    // `filter`: "Drawings (*.nvx)|*.nvx|All Files (*.*)|*.*||".
    CFileDialog(BOOL openFileDialog, LPCSTR defaultExtension = nullptr, LPCSTR fileName = nullptr,
                DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR filter = nullptr,
                CWnd* parent = nullptr);

    // IDOK with the chosen path, IDCANCEL when cancelled or refused.
    virtual INT_PTR DoModal();
    CString GetPathName() const;
    // The name with its extension, without the folder.
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    CString GetFolderPath() const;
    BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0 ? TRUE : FALSE; }

    OPENFILENAMEA m_ofn{};

private:
    BOOL m_open;
    std::string m_filter;       // "\0"-separated pairs ending in an empty text
    std::string m_defaultExtension;
    char m_file[4096] = {0};
    char m_title[512] = {0};
};
