// The close prompt and the save dialog on the platform's dialogs.
#include "host/view/platform_save_prompts.h"

#include <cstring>
#include <vector>

#include "platform/user/commdlg.h"
#include "platform/user/winuser.h"

namespace {

constexpr size_t kMaxPath = 4096;

} // namespace

PromptAnswer CPlatformSavePrompts::ShowMessage(const std::string& text, PromptButtons buttons)
{
    const UINT type = buttons == PromptButtons::Ok ? MB_OK | MB_ICONEXCLAMATION : MB_YESNOCANCEL | MB_ICONQUESTION;
    switch (MessageBoxA(m_owner, text.c_str(), m_caption.c_str(), type)) {
    case IDOK:
        return PromptAnswer::Ok;
    case IDYES:
        return PromptAnswer::Yes;
    case IDNO:
        return PromptAnswer::No;
    default:
        // A box that could not be shown counts as cancelled.
        return PromptAnswer::Cancel;
    }
}

bool CPlatformSavePrompts::AskSaveFileName(std::string& path, bool saveAs)
{
    std::vector<char> file(kMaxPath, '\0');
    std::strncpy(file.data(), path.c_str(), kMaxPath - 1);
    // "Drawings (*.nvx)", "*.nvx", then the terminating empty text.
    std::string filter = "Drawings (*." + m_extension + ")";
    filter.push_back('\0');
    filter += "*." + m_extension;
    filter.push_back('\0');
    filter.push_back('\0');
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = saveAs ? "Save As" : "Save Copy As";
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
    ofn.lpstrDefExt = m_extension.c_str();
    if (!GetSaveFileNameA(&ofn)) {
        return false;
    }
    path = file.data();
    return true;
}

void CPlatformSavePrompts::SetWaitCursor(bool on)
{
    if (on) {
        m_previousCursor = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    } else {
        SetCursor(m_previousCursor);
        m_previousCursor = nullptr;
    }
}
