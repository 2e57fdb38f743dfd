// A test's program folder with the milling add-in.
#include "addins/milling/core/tests/desktop/strimo_program_support.h"

#include <filesystem>

#include "addins/milling/core/strimo_ids.h"
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
