// The shared image sets of menu items: tool-bar sets and loose-image sets,
// each image with its shaded and greyed copies.
#include "host/menulook/new_menu_icons.h"

#include <algorithm>

#include "host/menulook/menu_colors.h"
#include "host/menulook/menu_drawing.h"
#include "host/menulook/menu_library.h"
#include "host/menulook/new_menu.h"
#include "platform/kernel/resource.h"

namespace {

constexpr UINT kListFlags = ILC_COLORDDB | ILC_MASK;
constexpr int kListGrowth = 10;
// Tint of the greyed copies.
constexpr int kGreyWeight = 110;
constexpr int kGreyLighten = 115;

HBITMAP MakeBitmap(const ImagePixels& image)
{
    return CreateBitmap(image.width, image.height, 1, 32, image.bgra.data());
}

// A copy of the icon's colour bitmap with every pixel passed through
// `pixel`, and the icon's mask; false when the icon cannot be read.
bool DerivedBitmaps(HICON icon, COLORREF (*pixel)(COLORREF), ScopedObject& colour, ScopedObject& mask)
{
    ICONINFO info{};
    if (icon == nullptr || GetIconInfo(icon, &info) == FALSE) {
        return false;
    }
    colour.Reset(info.hbmColor);
    mask.Reset(info.hbmMask);
    ImagePixels image;
    if (!ReadBitmapImage(static_cast<HBITMAP>(colour.Get()), image)) {
        return false;
    }
    for (size_t i = 0; i + 3 < image.bgra.size(); i += 4) {
        const COLORREF c = RGB(image.bgra[i + 2], image.bgra[i + 1], image.bgra[i]);
        const COLORREF d = pixel(c);
        image.bgra[i] = GetBValue(d);
        image.bgra[i + 1] = GetGValue(d);
        image.bgra[i + 2] = GetRValue(d);
    }
    colour.Reset(MakeBitmap(image));
    return colour.Get() != nullptr;
}

COLORREF Shaded(COLORREF c) { return DarkenColorBy(CNewMenu::GetIconShadeAmount(), c); }

COLORREF GreyBase()
{
    const int code = CNewMenu::GetMenuDrawMode();
    if (code == 2 || code == 3) {
        return GetMenuFaceColor();
    }
    if (code >= 8 && code <= 11) {
        return GetMenuTextColor();
    }
    return GetMenuBarBkColor(nullptr);
}

COLORREF Greyed(COLORREF c)
{
    const COLORREF tint = LightenColor(kGreyLighten, GreyBase());
    const int g = (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
    auto mix = [&](int ch) { return (kGreyWeight * g + (255 - kGreyWeight) * ch) >> 8; };
    return RGB(mix(GetRValue(tint)), mix(GetGValue(tint)), mix(GetBValue(tint)));
}

} // namespace

// Reference holder ------------------------------------------------------------------------

void CNewMenuIcons::Ref::AddRef(CNewMenuIcons* icons)
{
    if (icons != nullptr) {
        icons->AddRef();
    }
}

void CNewMenuIcons::Ref::Release(CNewMenuIcons* icons)
{
    if (icons != nullptr) {
        icons->Release();
    }
}

// Sets ----------------------------------------------------------------------------------------

CNewMenuIcons::CNewMenuIcons() = default;

CNewMenuIcons::~CNewMenuIcons() { DestroyList(); }

std::vector<CNewMenuIcons*>& CNewMenuIcons::GlobalList()
{
    MenuLibraryState& state = MenuLibrary();
    if (!state.iconSets) {
        state.iconSets = std::make_unique<std::vector<CNewMenuIcons*>>();
        state.iconSets->reserve(10);
    }
    return *state.iconSets;
}

size_t CNewMenuIcons::GlobalCount() { return MenuLibrary().iconSets ? MenuLibrary().iconSets->size() : 0; }

int CNewMenuIcons::AddRef() { return ++m_references; }

int CNewMenuIcons::Release()
{
    if (--m_references > 0) {
        return m_references;
    }
    if (MenuLibrary().iconSets) {
        auto& list = *MenuLibrary().iconSets;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    delete this;
    return 0;
}

void CNewMenuIcons::CreateList(int width, int height)
{
    DestroyList();
    m_list = ImageList_Create(width, height, kListFlags, 0, kListGrowth);
}

void CNewMenuIcons::DestroyList()
{
    if (m_list != nullptr) {
        ImageList_Destroy(m_list);
        m_list = nullptr;
    }
}

BOOL CNewMenuIcons::GetIconSize(int* width, int* height) const
{
    *width = 0;
    *height = 0;
    return m_list != nullptr ? ImageList_GetIconSize(m_list, width, height) : FALSE;
}

SIZE CNewMenuIcons::GetIconSize() const
{
    int w = 0;
    int h = 0;
    GetIconSize(&w, &h);
    return SIZE{w, h};
}

int CNewMenuIcons::FindIndex(UINT commandId) const
{
    for (size_t i = m_commandIds.size(); i-- > 0;) {
        if (m_commandIds[i] == commandId) {
            return static_cast<int>(3 * i);
        }
    }
    return -1;
}

ImagePixels CNewMenuIcons::Image(int32_t index) const { return ImageListPixels(m_list, index); }

BOOL CNewMenuIcons::LoadBitmap(int width, int height, UINT resourceId, HMODULE module)
{
    ScopedObject bitmap(LoadBitmapResource24(resourceId, module, &m_colorCount));
    if (bitmap.Get() == nullptr) {
        return FALSE;
    }
    CreateList(width, height);
    if (m_list == nullptr) {
        return FALSE;
    }
    COLORREF mask = m_transparent;
    if (mask == static_cast<COLORREF>(-1) || mask == kDefaultColor) {
        mask = GetSysColor(COLOR_3DFACE);
    }
    return ImageList_AddMasked(m_list, static_cast<HBITMAP>(bitmap.Get()), mask) >= 0 ? TRUE : FALSE;
}

BOOL CNewMenuIcons::Reload()
{
    int w = 0;
    int h = 0;
    if (m_resourceId == 0 || !GetIconSize(&w, &h)) {
        return FALSE;
    }
    if (!LoadBitmap(w, h, m_resourceId, m_module)) {
        return FALSE;
    }
    Rebuild();
    return TRUE;
}

BOOL CNewMenuIcons::SetBitmap(HBITMAP bitmap, int width, int height, const UINT* ids, COLORREF transparent)
{
    if (bitmap == nullptr || width < 1 || height < 1) {
        return FALSE;
    }
    m_colorCount = 0;
    m_transparent = transparent;
    CreateList(width, height);
    ImagePixels pixels;
    if (m_list == nullptr || !ReadBitmapImage(bitmap, pixels)) {
        return FALSE;
    }
    ScopedObject copy(MakeBitmap(pixels));
    ImageList_AddMasked(m_list, static_cast<HBITMAP>(copy.Get()), transparent);
    bool any = false;
    for (const UINT* id = ids; id != nullptr && *id != 0; ++id) {
        m_commandIds.push_back(*id);
        any = true;
    }
    Rebuild();
    return any ? TRUE : FALSE;
}

BOOL CNewMenuIcons::SetToolBarData(const WORD* description, COLORREF transparent)
{
    if (description == nullptr) {
        return FALSE;
    }
    m_transparent = transparent;
    if (!LoadBitmap(description[1], description[2], description[0], nullptr)) {
        return FALSE;
    }
    m_resourceId = description[0];
    bool any = false;
    for (const WORD* id = description + 3; *id != 0; ++id) {
        m_commandIds.push_back(*id);
        any = true;
    }
    Rebuild();
    return any ? TRUE : FALSE;
}

BOOL CNewMenuIcons::LoadToolBar(UINT resourceId, HMODULE module)
{
    m_resourceId = resourceId;
    m_module = module;
    auto bytes = FindResourceBytes(module, kResourceToolbar, static_cast<WORD>(resourceId));
    if (!bytes && module != nullptr) {
        bytes = FindResourceBytes(nullptr, kResourceToolbar, static_cast<WORD>(resourceId));
    }
    if (!bytes) {
        return FALSE;
    }
    const auto toolBar = DecodeToolbarTemplate(*bytes);
    if (!toolBar || toolBar->width < 1 || toolBar->height < 1) {
        return FALSE;
    }
    if (!LoadBitmap(toolBar->width, toolBar->height, resourceId, module)) {
        return FALSE;
    }
    m_fromToolBar = true;
    m_commandIds.clear();
    for (WORD id : toolBar->items) {
        if (id != 0) {
            m_commandIds.push_back(id);
        }
    }
    Rebuild();
    return TRUE;
}

BOOL CNewMenuIcons::MatchIds(ULONG_PTR key, int width, int height, const UINT* ids) const
{
    if (key != m_key) {
        return FALSE;
    }
    const SIZE size = GetIconSize();
    if (size.cx != width || size.cy != height) {
        return FALSE;
    }
    for (size_t i = 0; i < m_commandIds.size(); ++i) {
        if (ids == nullptr || ids[i] == 0 || ids[i] != m_commandIds[i]) {
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CNewMenuIcons::MatchToolBarData(const WORD* description, COLORREF transparent) const
{
    if (description == nullptr || transparent != m_transparent || description[0] == 0 ||
        description[0] != m_resourceId) {
        return FALSE;
    }
    std::vector<UINT> ids;
    for (const WORD* id = description + 3; *id != 0; ++id) {
        ids.push_back(*id);
    }
    ids.push_back(0);
    return MatchIds(m_key, description[1], description[2], ids.data());
}

BOOL CNewMenuIcons::MatchResource(UINT resourceId, HMODULE module) const
{
    return module == m_module && resourceId != 0 && resourceId == m_resourceId ? TRUE : FALSE;
}

int CNewMenuIcons::AddDerived(HICON icon, int index, COLORREF (*pixel)(COLORREF))
{
    ScopedObject colour;
    ScopedObject mask;
    if (m_list == nullptr || !DerivedBitmaps(icon, pixel, colour, mask)) {
        return -1;
    }
    auto* c = static_cast<HBITMAP>(colour.Get());
    auto* m = static_cast<HBITMAP>(mask.Get());
    if (index == -1) {
        return ImageList_Add(m_list, c, m);
    }
    return ImageList_Replace(m_list, index, c, m) != FALSE ? index : -1;
}

int CNewMenuIcons::AddShadedImage(HICON icon, int index) { return AddDerived(icon, index, &Shaded); }

int CNewMenuIcons::AddGreyedImage(HICON icon, int index) { return AddDerived(icon, index, &Greyed); }

void CNewMenuIcons::Rebuild()
{
    if (m_list == nullptr) {
        return;
    }
    HIMAGELIST old = m_list;
    const int n = ImageList_GetImageCount(old);
    int w = 0;
    int h = 0;
    ImageList_GetIconSize(old, &w, &h);
    m_list = ImageList_Create(w, h, kListFlags, 0, kListGrowth);
    for (int i = 0; i < n; ++i) {
        HICON icon = ImageList_GetIcon(old, i, ILD_NORMAL);
        if (icon == nullptr) {
            continue;
        }
        ImageList_AddIcon(m_list, icon);
        AddShadedImage(icon, -1);
        AddGreyedImage(icon, -1);
        DestroyIcon(icon);
    }
    ImageList_Destroy(old);
}

// Loose images ------------------------------------------------------------------------------

bool CNewMenuBitmaps::TakeSize(int width, int height)
{
    if (m_list != nullptr) {
        const SIZE size = GetIconSize();
        return size.cx == width && size.cy == height;
    }
    CreateList(width, height);
    return m_list != nullptr;
}

int CNewMenuBitmaps::AddWithCopies(HBITMAP bitmap, COLORREF transparent, UINT id)
{
    m_colors.push_back(transparent);
    m_commandIds.push_back(id);
    const int index = transparent == static_cast<COLORREF>(-1) ? ImageList_Add(m_list, bitmap, nullptr)
                                                               : ImageList_AddMasked(m_list, bitmap, transparent);
    if (index < 0) {
        m_colors.pop_back();
        m_commandIds.pop_back();
        return -1;
    }
    HICON icon = ImageList_GetIcon(m_list, index, ILD_NORMAL);
    AddShadedImage(icon, -1);
    AddGreyedImage(icon, -1);
    if (icon != nullptr) {
        DestroyIcon(icon);
    }
    return index;
}

int CNewMenuBitmaps::AddResourceBitmap(UINT resourceId, COLORREF transparent)
{
    for (size_t k = 0; k < m_commandIds.size(); ++k) {
        if (m_commandIds[k] == resourceId) {
            return static_cast<int>(3 * k);
        }
    }
    int colors = 0;
    ScopedObject bitmap(LoadBitmapResource24(resourceId & 0xFFFF, nullptr, &colors));
    BITMAP info{};
    if (bitmap.Get() == nullptr || GetObjectA(bitmap.Get(), sizeof info, &info) == 0 ||
        !TakeSize(info.bmWidth, info.bmHeight)) {
        return -1;
    }
    return AddWithCopies(static_cast<HBITMAP>(bitmap.Get()), transparent, resourceId);
}

int CNewMenuBitmaps::AddBitmap(HBITMAP bitmap, COLORREF transparent)
{
    BITMAP info{};
    ImagePixels pixels;
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0 || !ReadBitmapImage(bitmap, pixels)) {
        return -1;
    }
    // Equal pixels share their place.
    for (int i = 0; i < ImageCount(); i += 3) {
        const ImagePixels held = Image(i);
        if (held.width == pixels.width && held.height == pixels.height && held.bgra == pixels.bgra &&
            m_colors[static_cast<size_t>(i / 3)] == transparent) {
            return i;
        }
    }
    if (!TakeSize(info.bmWidth, info.bmHeight)) {
        return -1;
    }
    ScopedObject copy(MakeBitmap(pixels));
    return AddWithCopies(static_cast<HBITMAP>(copy.Get()), transparent, 0);
}

int CNewMenuBitmaps::AddIcon(HICON icon, UINT commandId)
{
    ICONINFO info{};
    if (icon == nullptr || GetIconInfo(icon, &info) == FALSE) {
        return -1;
    }
    BITMAP bm{};
    const bool sized = GetObjectA(info.hbmColor, sizeof bm, &bm) != 0;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    if (!sized || !TakeSize(bm.bmWidth, bm.bmHeight)) {
        return -1;
    }
    if (commandId != 0) {
        for (size_t k = 0; k < m_commandIds.size(); ++k) {
            if (m_commandIds[k] == commandId) {
                const int at = static_cast<int>(3 * k);
                ImageList_ReplaceIcon(m_list, at, icon);
                AddShadedImage(icon, at + 1);
                AddGreyedImage(icon, at + 2);
                return at;
            }
        }
    }
    m_colors.push_back(static_cast<COLORREF>(-1));
    m_commandIds.push_back(commandId);
    const int index = ImageList_AddIcon(m_list, icon);
    if (index < 0) {
        m_colors.pop_back();
        m_commandIds.pop_back();
        return -1;
    }
    AddShadedImage(icon, -1);
    AddGreyedImage(icon, -1);
    return index;
}

int CNewMenuBitmaps::AddImageOfList(HIMAGELIST list, int index)
{
    HICON icon = ImageList_GetIcon(list, index, ILD_NORMAL);
    if (icon == nullptr) {
        return -1;
    }
    const int at = AddIcon(icon, 0);
    DestroyIcon(icon);
    return at;
}

void CNewMenuBitmaps::Refresh()
{
    for (size_t k = 0; k < m_commandIds.size(); ++k) {
        const int at = static_cast<int>(3 * k);
        HICON icon = ImageList_GetIcon(m_list, at, ILD_NORMAL);
        if (icon == nullptr) {
            continue;
        }
        AddShadedImage(icon, at + 1);
        AddGreyedImage(icon, at + 2);
        DestroyIcon(icon);
    }
}

BOOL CNewMenuBitmaps::Reload()
{
    Refresh();
    return TRUE;
}
