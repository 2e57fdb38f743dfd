// A test's program folder with the milling add-in.
#include "addins/milling/core/tests/desktop/strimo_program_support.h"

#include <filesystem>
#include <vector>

#include "addins/milling/core/strimo_ids.h"
#include "host/document/nuvex_doc.h"
#include "host/view/nuvex_view.h"
#include "platform/controls/commctrl.h"
#include "platform/framework/doctemplate.h"
#include "platform/display/sdl/sdl_display.h"
#include "platform/user/winuser.h"
#include "host/app/nuvex_app.h"
#include "host/app/tests/program_folder_support.h"
#include "host/menulook/new_menu.h"
#include "platform/user/menu.h"

std::string AddStrimoFiles(const TestProgramFolder& folder, StrimoModulePlace place)
{
    namespace fs = std::filesystem;
    const fs::path built = NUVEX_TEST_BIN_DIR;
    const auto copy = [&](const fs::path& from, const fs::path& to) {
        fs::create_directories((folder.Path() / to).parent_path());
        fs::copy_file(built / from, folder.Path() / to, fs::copy_options::overwrite_existing);
    };
    folder.AddEntityComponent();
    copy("PostProc/yelk.so", "PostProc/yelk.so");
    for (const char* data : {"Language/strimo.txt", "Toolstore/toolstore.dat", "Toolstore/poststore.dat",
                             "samples/sample_part.nvx", "samples/sample_part.nc"})
        copy(data, data);
    const fs::path module = place == StrimoModulePlace::AddIns ? "AddIns/strimo.so" : "Modules/strimo.so";
    copy("AddIns/strimo.so", module);
    return (folder.Path() / module).string();
}

std::string MenuItemText(HMENU menu, int position)
{
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    if (menu == nullptr || !::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info) ||
        (info.fType & MFT_SEPARATOR) != 0)
        return {};
    if ((info.fType & MFT_OWNERDRAW) != 0) {
        const auto* item = reinterpret_cast<const CNewMenuItemData*>(info.dwItemData);
        return item != nullptr ? item->text : std::string();
    }
    char text[256] = {};
    ::GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

void ReleaseStrimoRecord(CNuvexApp& app)
{
    const int index = app.FindAddinByClsid(CLSID_StrimoAddin);
    if (index < 0)
        return;
    CAddinRecord& record = app.AddinRecords()[static_cast<size_t>(index)];
    if (record.addin != nullptr)
        record.addin->Release();
    if (record.classFactory != nullptr)
        record.classFactory->Release();
    record.addin = nullptr;
    record.classFactory = nullptr;
}

std::string WindowText(HWND window)
{
    char text[512] = {};
    if (window != nullptr)
        ::GetWindowTextA(window, text, sizeof text);
    return text;
}

HWND FindVisibleControl(HWND root, int id, const char* className)
{
    struct Search {
        int id;
        const char* className;
        HWND found;
    } search{id, className, nullptr};
    ::EnumChildWindows(
        root,
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (::GetDlgCtrlID(window) != s->id || !::IsWindowVisible(window))
                return TRUE;
            if (s->className != nullptr) {
                char name[64] = {};
                ::GetClassNameA(window, name, sizeof name);
                if (std::string(name) != s->className)
                    return TRUE;
            }
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FileDialog()
{
    HWND active = ::GetActiveWindow();
    return active != nullptr && ::GetDlgItem(active, kFileNameEdit) != nullptr ? active : nullptr;
}

uint64_t ShownChecksum(HWND top, RECT region)
{
    std::vector<uint32_t> pixels;
    int width = 0;
    int height = 0;
    RECT frame{};
    if (!SdlReadShownPixels(top, &pixels, &width, &height) || !::GetWindowRect(top, &frame))
        return 0;
    uint64_t checksum = 1469598103934665603ull;
    for (int y = region.top; y < region.bottom; ++y) {
        for (int x = region.left; x < region.right; ++x) {
            const int px = x - frame.left;
            const int py = y - frame.top;
            if (px < 0 || py < 0 || px >= width || py >= height)
                continue;
            checksum = (checksum ^ (pixels[static_cast<size_t>(py) * static_cast<size_t>(width) +
                                           static_cast<size_t>(px)] &
                                    0xFFFFFF)) *
                       1099511628211ull;
        }
    }
    return checksum;
}

CNuvexDoc* DocumentAt(CNuvexApp& app, const std::filesystem::path& path)
{
    for (POSITION templates = app.GetFirstDocTemplatePosition(); templates != nullptr;) {
        CDocTemplate* drawings = app.GetNextDocTemplate(templates);
        for (POSITION documents = drawings->GetFirstDocPosition(); documents != nullptr;) {
            auto* document = dynamic_cast<CNuvexDoc*>(drawings->GetNextDoc(documents));
            if (document != nullptr && std::filesystem::path(static_cast<const char*>(document->GetPathName())) == path)
                return document;
        }
    }
    return nullptr;
}

CNuvexView* FirstView(CNuvexDoc* document)
{
    if (document == nullptr)
        return nullptr;
    POSITION position = document->GetFirstViewPosition();
    return dynamic_cast<CNuvexView*>(document->GetNextView(position));
}

HWND FindPageTab(HWND root, const std::string& page, RECT* tab)
{
    struct Search {
        std::string page;
        RECT* tab;
        HWND found;
    } search{page, tab, nullptr};
    ::EnumChildWindows(
        root,
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            char name[64] = {};
            ::GetClassNameA(window, name, sizeof name);
            if (std::string(name) != WC_TABCONTROLA || !::IsWindowVisible(window))
                return TRUE;
            const auto count = static_cast<int>(::SendMessageA(window, TCM_GETITEMCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                char text[64] = {};
                TCITEMA item{};
                item.mask = TCIF_TEXT;
                item.pszText = text;
                item.cchTextMax = sizeof text;
                ::SendMessageA(window, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
                if (s->page != text)
                    continue;
                ::SendMessageA(window, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s->tab));
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND DroppedList()
{
    struct Search {
        HWND found;
    } search{nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            char name[64] = {};
            ::GetClassNameA(window, name, sizeof name);
            if (std::string(name) == "ComboLBox" && ::IsWindowVisible(window)) {
                reinterpret_cast<Search*>(param)->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}
