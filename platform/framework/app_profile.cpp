// CWinApp's profile settings in the registry stand-in, and the recent-file
// list kept there. Settings live under
// HKEY_CURRENT_USER\Software\<registry key>\<application name>\<section>.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/framework/app.h"
#include "platform/framework/cmdui.h"
#include "platform/framework/ids.h"
#include "platform/framework/menu.h"
#include "platform/kernel/registry.h"

namespace {

constexpr const char* kRecentFileSection = "Recent File List";
constexpr const char* kRecentFileEntry = "File%d";
// The text of the list's only item while the list is empty.
constexpr const char* kEmptyRecentFileText = "Recent File";

} // namespace

void CWinApp::SetRegistryKey(LPCSTR key)
{
    m_registryKey = key != nullptr ? key : "";
    m_pszRegistryKey = m_registryKey.IsEmpty() ? nullptr : m_registryKey.GetString();
    // The profile is named after the application.
    m_pszProfileName = m_pszAppName;
}

HKEY CWinApp::GetAppRegistryKey()
{
    if (m_pszRegistryKey == nullptr) {
        return nullptr;
    }
    const std::string path = std::string("Software\\") + m_pszRegistryKey + "\\" +
                             (m_pszProfileName != nullptr ? m_pszProfileName : "");
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, &disposition) != ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
}

HKEY CWinApp::GetSectionKey(LPCSTR section)
{
    HKEY app = GetAppRegistryKey();
    if (app == nullptr || section == nullptr) {
        if (app != nullptr) {
            RegCloseKey(app);
        }
        return nullptr;
    }
    HKEY key = nullptr;
    DWORD disposition = 0;
    const LONG status = RegCreateKeyExA(app, section, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                        &key, &disposition);
    RegCloseKey(app);
    return status == ERROR_SUCCESS ? key : nullptr;
}

UINT CWinApp::GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue)
{
    HKEY key = GetSectionKey(section);
    if (key == nullptr) {
        return static_cast<UINT>(defaultValue);
    }
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof value;
    const LONG status = RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) {
        return static_cast<UINT>(defaultValue);
    }
    return value;
}

CString CWinApp::GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue)
{
    const CString fallback = defaultValue != nullptr ? defaultValue : "";
    HKEY key = GetSectionKey(section);
    if (key == nullptr) {
        return fallback;
    }
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size);
    CString value = fallback;
    if (status == ERROR_SUCCESS && type == REG_SZ) {
        std::string text(size, '\0');
        status = RegQueryValueExA(key, entry, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
        if (status == ERROR_SUCCESS) {
            text.resize(std::min<size_t>(size, text.size()));
            while (!text.empty() && text.back() == '\0') {
                text.pop_back();
            }
            value = text;
        }
    }
    RegCloseKey(key);
    return value;
}

BOOL CWinApp::GetProfileBinary(LPCSTR section, LPCSTR entry, std::vector<BYTE>& bytes)
{
    bytes.clear();
    HKEY key = GetSectionKey(section);
    if (key == nullptr) {
        return FALSE;
    }
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size);
    if (status == ERROR_SUCCESS && type == REG_BINARY) {
        bytes.resize(size);
        status = RegQueryValueExA(key, entry, nullptr, &type, bytes.data(), &size);
        bytes.resize(status == ERROR_SUCCESS ? size : 0);
    }
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_BINARY ? TRUE : FALSE;
}

BOOL CWinApp::WriteProfileInt(LPCSTR section, LPCSTR entry, int value)
{
    HKEY key = GetSectionKey(section);
    if (key == nullptr) {
        return FALSE;
    }
    const auto number = static_cast<DWORD>(value);
    const LONG status =
        RegSetValueExA(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? TRUE : FALSE;
}

BOOL CWinApp::WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value)
{
    if (section == nullptr) {
        return FALSE;
    }
    if (entry == nullptr) {
        // The whole section goes.
        HKEY app = GetAppRegistryKey();
        if (app == nullptr) {
            return FALSE;
        }
        const LONG status = RegDeleteKeyA(app, section);
        RegCloseKey(app);
        return status == ERROR_SUCCESS ? TRUE : FALSE;
    }
    HKEY key = GetSectionKey(section);
    if (key == nullptr) {
        return FALSE;
    }
    LONG status = ERROR_SUCCESS;
    if (value == nullptr) {
        status = RegDeleteValueA(key, entry);
    } else {
        status = RegSetValueExA(key, entry, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                static_cast<DWORD>(strlen(value) + 1));
    }
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? TRUE : FALSE;
}

BOOL CWinApp::WriteProfileBinary(LPCSTR section, LPCSTR entry, const BYTE* data, UINT size)
{
    HKEY key = GetSectionKey(section);
    if (key == nullptr) {
        return FALSE;
    }
    const LONG status = RegSetValueExA(key, entry, 0, REG_BINARY, data, size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? TRUE : FALSE;
}

void CWinApp::LoadStdProfileSettings(UINT maxMru)
{
    if (maxMru == 0) {
        return;
    }
    m_recentFiles = std::make_unique<CRecentFileList>(0, kRecentFileSection, kRecentFileEntry,
                                                      static_cast<int>(std::min<UINT>(maxMru, 16)));
    m_pRecentFileList = m_recentFiles.get();
    m_pRecentFileList->ReadList(*this);
}

void CWinApp::SaveStdProfileSettings()
{
    if (m_pRecentFileList != nullptr) {
        m_pRecentFileList->WriteList(*this);
    }
}

// CRecentFileList ----------------------------------------------------------------------

CRecentFileList::CRecentFileList(UINT start, LPCSTR section, LPCSTR entryFormat, int size, int maxDisplayLength)
    : m_start(start),
      m_section(section != nullptr ? section : ""),
      m_entryFormat(entryFormat != nullptr ? entryFormat : kRecentFileEntry),
      m_size(size > 0 ? size : 1),
      m_maxDisplayLength(maxDisplayLength)
{
}

CString CRecentFileList::operator[](int index) const
{
    if (index < 0 || index >= GetCount()) {
        return CString();
    }
    return m_files[static_cast<size_t>(index)];
}

void CRecentFileList::Add(LPCSTR pathName)
{
    if (pathName == nullptr || *pathName == '\0') {
        return;
    }
    const CString path = pathName;
    for (size_t i = 0; i < m_files.size(); ++i) {
        if (m_files[i] == path) {
            m_files.erase(m_files.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    m_files.insert(m_files.begin(), path);
    if (static_cast<int>(m_files.size()) > m_size) {
        m_files.resize(static_cast<size_t>(m_size));
    }
}

void CRecentFileList::Remove(int index)
{
    if (index >= 0 && index < GetCount()) {
        m_files.erase(m_files.begin() + index);
    }
}

BOOL CRecentFileList::GetDisplayName(CString& name, int index) const
{
    if (index < 0 || index >= GetCount()) {
        name.Empty();
        return FALSE;
    }
    const CString& path = m_files[static_cast<size_t>(index)];
    const int slash = std::max(path.ReverseFind('/'), path.ReverseFind('\\'));
    name = path.Mid(slash + 1);
    if (name.GetLength() > m_maxDisplayLength && m_maxDisplayLength > 3) {
        name = CString("...") + name.Right(m_maxDisplayLength - 3);
    }
    return TRUE;
}

void CRecentFileList::UpdateMenu(CCmdUI* cmdUI)
{
    CMenu* menu = cmdUI->m_pMenu;
    if (menu == nullptr) {
        cmdUI->Enable(GetCount() > 0 ? TRUE : FALSE);
        return;
    }
    // 1. Remove the list's items shown before (all ids of the range).
    for (int i = 0; i < m_size; ++i) {
        menu->DeleteMenu(ID_FILE_MRU_FILE1 + static_cast<UINT>(i), MF_BYCOMMAND);
    }
    // 2. An empty list shows one disabled item.
    if (GetCount() == 0) {
        menu->InsertMenu(cmdUI->m_nIndex, MF_BYPOSITION | MF_STRING | MF_GRAYED, ID_FILE_MRU_FILE1,
                         kEmptyRecentFileText);
        cmdUI->m_nIndexMax = menu->GetMenuItemCount();
        cmdUI->m_bEnableChanged = TRUE;
        return;
    }
    // 3. One item per file, "&1 name", at the first item's place.
    for (int i = 0; i < GetCount(); ++i) {
        CString name;
        GetDisplayName(name, i);
        CString text;
        text.Format("&%d %s", (i + 1 + static_cast<int>(m_start)) % 10, name.GetString());
        menu->InsertMenu(cmdUI->m_nIndex + static_cast<UINT>(i), MF_BYPOSITION | MF_STRING,
                         ID_FILE_MRU_FILE1 + static_cast<UINT>(i), text);
    }
    // The loop that updates the menu goes on after the inserted items.
    cmdUI->m_nIndex += static_cast<UINT>(GetCount() - 1);
    cmdUI->m_nIndexMax = menu->GetMenuItemCount();
    cmdUI->m_bEnableChanged = TRUE;
}

void CRecentFileList::ReadList(CWinApp& app)
{
    m_files.clear();
    for (int i = 0; i < m_size; ++i) {
        CString entry;
        entry.Format(m_entryFormat, i + 1);
        const CString path = app.GetProfileString(m_section, entry);
        if (!path.IsEmpty()) {
            m_files.push_back(path);
        }
    }
}

void CRecentFileList::WriteList(CWinApp& app)
{
    if (app.m_pszRegistryKey == nullptr) {
        return;
    }
    for (int i = 0; i < m_size; ++i) {
        CString entry;
        entry.Format(m_entryFormat, i + 1);
        app.WriteProfileString(m_section, entry, i < GetCount() ? m_files[static_cast<size_t>(i)].GetString() : nullptr);
    }
}
