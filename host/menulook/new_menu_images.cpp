// Menu item images: tool bars applied to a menu, images found in or added
// to the shared sets, check-mark images, colour swatches, and the rate-
// limited refresh of every set after a colour change.
#include "host/menulook/new_menu_images.h"

#include <algorithm>

#include "host/menulook/menu_drawing.h"
#include "host/menulook/menu_library.h"
#include "platform/framework/commonctrls.h"
#include "platform/kernel/resource.h"
#include "platform/kernel/tickcount.h"

namespace {

// Refreshes come at most this often.
constexpr DWORD kRefreshIntervalMs = 2000;

template <typename Try>
CNewMenuIcons* OfferToBitmapSets(Try attempt, int* at)
{
    for (CNewMenuIcons* set : CNewMenuIcons::GlobalList()) {
        if (!set->IsBitmapSet()) {
            continue;
        }
        const int index = attempt(static_cast<CNewMenuBitmaps&>(*set));
        if (index >= 0) {
            *at = index;
            return set;
        }
    }
    auto* set = new CNewMenuBitmaps();
    const int index = attempt(*set);
    if (index < 0) {
        delete set;
        *at = -1;
        return nullptr;
    }
    CNewMenuIcons::GlobalList().push_back(set);
    *at = index;
    return set;
}

} // namespace

MenuImage CNewMenuImages::FromList(CNewMenu& menu, CImageList* list, int index)
{
    MenuImage image;
    if (list != nullptr) {
        image.icons = AddIconToGlobalList(menu, list->GetSafeHandle(), index, &image.index);
    }
    return image;
}

MenuImage CNewMenuImages::FromBitmap(CNewMenu& menu, CBitmap* bitmap)
{
    MenuImage image;
    int32_t index = -1;
    image.icons = AddBitmapToGlobalList(menu, bitmap != nullptr ? static_cast<HBITMAP>(*bitmap) : nullptr, &index);
    image.index = index;
    return image;
}

CNewMenuIcons* CNewMenuImages::FindOrLoadToolBarIcons(UINT toolBarId, HMODULE module)
{
    for (CNewMenuIcons* set : CNewMenuIcons::GlobalList()) {
        if (set->FromToolBar() && set->MatchResource(toolBarId, module)) {
            return set;
        }
    }
    auto* set = new CNewMenuIcons();
    if (!set->LoadToolBar(toolBarId, module)) {
        delete set;
        return nullptr;
    }
    CNewMenuIcons::GlobalList().push_back(set);
    return set;
}

CNewMenuIcons* CNewMenuImages::AddIconToGlobalList(CNewMenu&, HIMAGELIST list, int index, int* at)
{
    *at = -1;
    HICON icon = list != nullptr ? ImageList_GetIcon(list, index, ILD_NORMAL) : nullptr;
    if (icon == nullptr) {
        return nullptr;
    }
    CNewMenuIcons* set = OfferToBitmapSets([&](CNewMenuBitmaps& s) { return s.AddIcon(icon, 0); }, at);
    DestroyIcon(icon);
    return set;
}

CNewMenuIcons* CNewMenuImages::FindBitmapsInGlobalList(CNewMenu& menu, UINT resourceId, int* at)
{
    *at = -1;
    const COLORREF transparent = menu.GetBitmapBackground();
    return OfferToBitmapSets([&](CNewMenuBitmaps& s) { return s.AddResourceBitmap(resourceId, transparent); }, at);
}

CNewMenuIcons* CNewMenuImages::AddBitmapToGlobalList(CNewMenu&, HBITMAP bitmap, int32_t* at)
{
    *at = -1;
    if (bitmap == nullptr) {
        return nullptr;
    }
    int index = -1;
    // Copies keep their own pixels: no colour of a bitmap handed in is
    // taken as transparent.
    CNewMenuIcons* set =
        OfferToBitmapSets([&](CNewMenuBitmaps& s) { return s.AddBitmap(bitmap, static_cast<COLORREF>(-1)); }, &index);
    *at = index;
    return set;
}

// Tool bars ---------------------------------------------------------------------------------------

BOOL CNewMenu::ApplyToolBarIcons(CNewMenuIcons* icons)
{
    if (icons == nullptr) {
        return FALSE;
    }
    // Held while applied, so that a tool bar no item uses does not stay listed.
    CNewMenuIcons::Ref hold(icons);
    const std::vector<UINT> ids = icons->CommandIds();
    for (size_t i = ids.size(); i-- > 0;) {
        int at = -1;
        if (FindMenuItemOwner(ids[i], &at) == nullptr) {
            continue; // the tool bar's other commands are not this menu's
        }
        ModifyODMenu(nullptr, ids[i], icons, static_cast<int32_t>(3 * i));
    }
    return TRUE;
}

BOOL CNewMenu::LoadToolBar(UINT toolBarId, HMODULE module)
{
    return ApplyToolBarIcons(CNewMenuImages::FindOrLoadToolBarIcons(toolBarId, module));
}

BOOL CNewMenu::LoadToolBars(const UINT* ids, int count, HMODULE module)
{
    BOOL all = TRUE;
    for (int i = 0; i < count; ++i) {
        all = LoadToolBar(ids[i], module) && all;
    }
    return all;
}

BOOL CNewMenu::LoadToolBar(const WORD* description, COLORREF transparent)
{
    if (description == nullptr) {
        return FALSE;
    }
    if (transparent == static_cast<COLORREF>(-1)) {
        transparent = GetBitmapBackground();
    }
    for (CNewMenuIcons* set : CNewMenuIcons::GlobalList()) {
        if (!set->IsBitmapSet() && set->MatchToolBarData(description, transparent)) {
            return ApplyToolBarIcons(set);
        }
    }
    auto* set = new CNewMenuIcons();
    if (!set->SetToolBarData(description, transparent)) {
        delete set;
        return FALSE;
    }
    CNewMenuIcons::GlobalList().push_back(set);
    return ApplyToolBarIcons(set);
}

BOOL CNewMenu::LoadToolBar(UINT toolBarId, UINT bitmapId, COLORREF transparent, HMODULE module)
{
    auto bytes = FindResourceBytes(module, kResourceToolbar, static_cast<WORD>(toolBarId));
    if (!bytes) {
        bytes = FindResourceBytes(nullptr, kResourceToolbar, static_cast<WORD>(toolBarId));
    }
    if (!bytes) {
        return FALSE;
    }
    const auto toolBar = DecodeToolbarTemplate(*bytes);
    if (!toolBar) {
        return FALSE;
    }
    std::vector<WORD> description{static_cast<WORD>(bitmapId), static_cast<WORD>(toolBar->width),
                                  static_cast<WORD>(toolBar->height)};
    for (WORD id : toolBar->items) {
        if (id != 0) {
            description.push_back(id);
        }
    }
    description.push_back(0);
    return LoadToolBar(description.data(), transparent);
}

BOOL CNewMenu::LoadToolBar(HBITMAP bitmap, int width, int height, const UINT* ids, COLORREF transparent)
{
    if (transparent == static_cast<COLORREF>(-1)) {
        transparent = GetBitmapBackground();
    }
    for (CNewMenuIcons* set : CNewMenuIcons::GlobalList()) {
        // As the sets keep no bitmap as their key, only a null handle
        // matches a listed set.
        if (!set->IsBitmapSet() && set->MatchIds(reinterpret_cast<ULONG_PTR>(bitmap), width, height, ids)) {
            return ApplyToolBarIcons(set);
        }
    }
    auto* set = new CNewMenuIcons();
    if (!set->SetBitmap(bitmap, width, height, ids, transparent)) {
        delete set;
        return FALSE;
    }
    CNewMenuIcons::GlobalList().push_back(set);
    return ApplyToolBarIcons(set);
}

BOOL CNewMenu::IsCommandInToolBar(UINT toolBarId, UINT commandId)
{
    auto bytes = FindResourceBytes(nullptr, kResourceToolbar, static_cast<WORD>(toolBarId));
    if (!bytes) {
        return FALSE;
    }
    const auto toolBar = DecodeToolbarTemplate(*bytes);
    if (!toolBar) {
        return FALSE;
    }
    return std::find(toolBar->items.begin(), toolBar->items.end(), static_cast<WORD>(commandId)) !=
                   toolBar->items.end() &&
                   commandId != 0
               ? TRUE
               : FALSE;
}

CNewMenuIcons* CNewMenu::IconsForResource(UINT resourceId, UINT commandId, int* index)
{
    *index = -1;
    if (IsCommandInToolBar(resourceId, commandId)) {
        CNewMenuIcons* icons = CNewMenuImages::FindOrLoadToolBarIcons(resourceId, nullptr);
        if (icons != nullptr) {
            *index = icons->FindIndex(commandId);
            return *index >= 0 ? icons : nullptr;
        }
    }
    return CNewMenuImages::FindBitmapsInGlobalList(*this, resourceId, index);
}

// Check images -------------------------------------------------------------------------------------

BOOL CNewMenu::AddCheckImage(HIMAGELIST list, UINT resourceId)
{
    if (m_iconResources) {
        return FALSE; // icon resources are not kept on this platform
    }
    int colors = 0;
    ScopedObject bitmap(LoadBitmapResource24(resourceId, nullptr, &colors));
    if (bitmap.Get() == nullptr) {
        return FALSE;
    }
    return ImageList_AddMasked(list, static_cast<HBITMAP>(bitmap.Get()), GetBitmapBackground()) >= 0 ? TRUE : FALSE;
}

BOOL CNewMenu::SetCheckImages(UINT checkId, UINT selectedCheckId)
{
    if (checkId < 1 || selectedCheckId < 1) {
        return FALSE;
    }
    m_checkImageId = static_cast<int>(checkId);
    m_selectedCheckImageId = static_cast<int>(selectedCheckId);
    if (m_checkImages != nullptr && !m_checkImagesShared) {
        ImageList_Destroy(m_checkImages);
    }
    m_checkImagesShared = FALSE;
    m_checkImages = ImageList_Create(m_iconWidth, m_iconHeight, ILC_MASK, 2, 1);
    if (m_checkImages == nullptr || !AddCheckImage(m_checkImages, checkId) ||
        !AddCheckImage(m_checkImages, selectedCheckId)) {
        if (m_checkImages != nullptr) {
            ImageList_Destroy(m_checkImages);
        }
        m_checkImages = nullptr;
        return FALSE;
    }
    return TRUE;
}

// Colour swatch ---------------------------------------------------------------------------------------

BOOL CNewMenu::ModifyODMenu(const char* text, UINT commandId, COLORREF fill, COLORREF border, int hatch)
{
    ScopedWindowDC screen(nullptr);
    HDC memory = CreateCompatibleDC(screen.Get());
    ScopedObject bitmap(CreateCompatibleBitmap(screen.Get(), m_iconWidth, m_iconHeight));
    {
        ScopedSelect picture(memory, bitmap.Get());
        ScopedSelect pen(memory, CreatePen(PS_SOLID, 1, border), ScopedSelect::Owns::Yes);
        ScopedSelect brush(memory, hatch == -1 ? CreateSolidBrush(fill) : CreateHatchBrush(hatch, fill),
                           ScopedSelect::Owns::Yes);
        Rectangle(memory, 0, 0, m_iconWidth, m_iconHeight);
    }
    DeleteDC(memory);
    CImageList list;
    list.Create(m_iconWidth, m_iconHeight, ILC_COLORDDB | ILC_MASK, 1, 1);
    ImageList_AddMasked(list.GetSafeHandle(), static_cast<HBITMAP>(bitmap.Get()), GetBitmapBackground());
    return ModifyODMenu(text, commandId, &list, 0);
}

// Refresh ------------------------------------------------------------------------------------------------

void CNewMenu::RefreshMenuCaches()
{
    MenuLibraryState& state = MenuLibrary();
    const DWORD now = GetTickCount();
    if (state.cacheRefreshed && now - state.lastCacheRefresh <= kRefreshIntervalMs) {
        return;
    }
    state.cacheRefreshed = true;
    state.lastCacheRefresh = now;
    for (CNewMenuIcons* set : CNewMenuIcons::GlobalList()) {
        // Tool-bar sets load their pictures again; loose sets renew the copies.
        set->Reload();
    }
}
