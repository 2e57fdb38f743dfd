// The data behind one owner-drawn item: its image reference and its
// display text with the accelerator keys of a table.
#include <vector>

#include "host/menulook/new_menu.h"
#include "platform/framework/app.h"
#include "platform/framework/framewnd.h"
#include "platform/user/keyboard.h"

void CNewMenuItemData::SetIcons(CNewMenuIcons* icons, int32_t index)
{
    if (icons != nullptr) {
        icons->AddRef();
    }
    if (m_icons != nullptr) {
        m_icons->Release();
    }
    m_icons = icons;
    m_imageIndex = icons != nullptr && index >= 0 ? index : -1;
}

namespace {

// The main frame's default accelerators, for the table values -1 and -2.
HACCEL MainFrameAccelerators()
{
    CWnd* main = AfxGetMainWnd();
    auto* frame = main != nullptr ? dynamic_cast<CFrameWnd*>(main) : nullptr;
    return frame != nullptr ? frame->m_hAccelTable : nullptr;
}

std::string KeyText(const ACCEL& entry)
{
    std::string text;
    if ((entry.fVirt & FALT) != 0) {
        text += "Alt+";
    }
    if ((entry.fVirt & FCONTROL) != 0) {
        text += "Ctrl+";
    }
    if ((entry.fVirt & FSHIFT) != 0) {
        text += "Shift+";
    }
    if ((entry.fVirt & FVIRTKEY) != 0) {
        char name[64] = {};
        const UINT scan = MapVirtualKeyA(entry.key, MAPVK_VK_TO_VSC);
        GetKeyNameTextA(static_cast<LONG>(scan << 16), name, static_cast<int>(sizeof name));
        text += name;
    } else {
        text += static_cast<char>(entry.key & 0xFF);
    }
    return text;
}

} // namespace

std::string CNewMenuItemData::GetString(HACCEL table) const
{
    if ((flags & MF_POPUP) != 0) {
        table = nullptr;
    }
    std::string shown = text;
    const size_t tab = shown.find('\t');
    if (table != nullptr && tab == std::string::npos) {
        const auto value = reinterpret_cast<intptr_t>(table);
        if (value == -1 || value == -2) {
            table = MainFrameAccelerators();
        }
        if (table == nullptr) {
            return shown;
        }
        const int count = CopyAcceleratorTableA(table, nullptr, 0);
        if (count <= 0) {
            return shown;
        }
        std::vector<ACCEL> entries(static_cast<size_t>(count));
        const int copied = CopyAcceleratorTableA(table, entries.data(), count);
        std::string keys;
        for (int i = 0; i < copied; ++i) {
            if (entries[static_cast<size_t>(i)].cmd != static_cast<WORD>(commandId & 0xFFFF)) {
                continue;
            }
            if (!keys.empty()) {
                keys += ", ";
            }
            keys += KeyText(entries[static_cast<size_t>(i)]);
        }
        if (!keys.empty()) {
            shown += '\t';
            shown += keys;
        }
        return shown;
    }
    if (table == nullptr && tab != std::string::npos) {
        shown.resize(tab);
    }
    return shown;
}
