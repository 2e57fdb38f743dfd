// CMainFrame: the toolbars add-ins add, their show/hide commands and the
// scripting objects of all the frame's toolbars.
#include <cstdio>
#include <cstring>
#include <string>

#include "host/shell/addin_host.h"
#include "host/shell/main_frame.h"
#include "host/shell/menu_translation.h"
#include "host/shell/toolbar_object.h"
#include "platform/controls/commctrl.h"
#include "platform/user/menu.h"

namespace {

constexpr DWORD kAddinToolbarStyle = 0x50402834;
constexpr LONG kViewMenuText = 2;

std::string MenuString(HMENU menu, int position)
{
    char text[256] = {};
    ::GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

// The popup of `menu` captioned `caption`, or null.
HMENU FindPopup(HMENU menu, const std::string& caption)
{
    const int count = menu != nullptr ? ::GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; ++i) {
        if (MenuString(menu, i) == caption) {
            return ::GetSubMenu(menu, i);
        }
    }
    return nullptr;
}

} // namespace

void CMainFrame::ReleaseToolbarObject::operator()(CToolbarObject* object) const
{
    if (object != nullptr) {
        object->Release();
    }
}

CToolbarObject* CMainFrame::ToolbarObject(size_t index)
{
    if (index >= m_toolbars.size()) {
        return nullptr;
    }
    while (m_toolbarObjects.size() <= index) {
        m_toolbarObjects.emplace_back(new CToolbarObject(m_host, *m_toolbars[m_toolbarObjects.size()]));
    }
    return m_toolbarObjects[index].get();
}

CToolbarObject* CMainFrame::FindToolbarObject(const char* name)
{
    for (size_t i = 0; name != nullptr && i < m_toolbars.size(); ++i) {
        CString text;
        if (m_toolbars[i]->GetSafeHwnd() != nullptr) {
            m_toolbars[i]->GetWindowText(text);
        }
        if (std::strcmp(static_cast<const char*>(text), name) == 0) {
            return ToolbarObject(i);
        }
    }
    return nullptr;
}

CMainFrame::AddedToolbar CMainFrame::AddAddinToolbar(const char* name)
{
    AddedToolbar added;
    if (GetSafeHwnd() == nullptr || name == nullptr) {
        return added;
    }
    // Window texts stay unique: a second "Name" becomes "Name1", a third
    // "Name2".
    std::string text = name;
    for (int counter = 1; FindToolbarObject(text.c_str()) != nullptr; ++counter) {
        char numbered[512] = {};
        std::snprintf(numbered, sizeof numbered, "%s%d", name, counter);
        text = numbered;
    }
    const UINT id = kFirstToolbarCommandId + static_cast<UINT>(m_toolbars.size());
    auto toolbar = std::make_unique<CMainToolBar>();
    if (!toolbar->CreateEx(this, TBSTYLE_FLAT, kAddinToolbarStyle, CRect(0, 0, 0, 0), id)) {
        return added;
    }
    toolbar->SetWindowText(text.c_str());
    toolbar->EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(toolbar.get(), AFX_IDW_DOCKBAR_TOP);
    m_toolbars.push_back(std::move(toolbar));
    added.object = ToolbarObject(m_toolbars.size() - 1);

    // Its show/hide item under View > Toolbars.
    CLanguageTable& language = m_host.LanguageTable();
    HMENU view = FindPopup(m_host.GetMainMenu(), language.GetMenuText(kViewMenuText, "&View"));
    HMENU toolbars = FindPopup(view, language.GetMenuText(kToolbarsMenuText, "&Toolbars"));
    added.listed = toolbars != nullptr && ::AppendMenuA(toolbars, MF_STRING, id, text.c_str()) != FALSE;
    DelayRecalcLayout(TRUE);
    return added;
}

BOOL CMainFrame::ToggleAddinToolbar(UINT id)
{
    if (id <= kFirstToolbarCommandId || id >= kFirstToolbarCommandId + m_toolbars.size()) {
        return FALSE;
    }
    CMainToolBar* toolbar = m_toolbars[id - kFirstToolbarCommandId].get();
    if (toolbar->GetSafeHwnd() == nullptr) {
        return FALSE;
    }
    ShowControlBar(toolbar, toolbar->IsWindowVisible() ? FALSE : TRUE, FALSE);
    return TRUE;
}
