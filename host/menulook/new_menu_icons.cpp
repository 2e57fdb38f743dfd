// The shared image sets of menu items and their process-wide list.
#include "host/menulook/new_menu_icons.h"

#include <algorithm>

#include "platform/gdi/gdi.h"
#include "platform/kernel/resource.h"

namespace {

// The list owns no reference: a set leaves it when its last holder goes.
std::vector<CNewMenuIcons*>& GlobalList()
{
    static std::vector<CNewMenuIcons*> list;
    return list;
}

ImagePixels Darkened(const ImagePixels& image, int amount)
{
    ImagePixels copy = image;
    for (size_t i = 0; i + 3 < copy.bgra.size(); i += 4) {
        for (size_t c = 0; c < 3; ++c) {
            copy.bgra[i + c] = static_cast<uint8_t>(copy.bgra[i + c] * (255 - amount) / 255);
        }
    }
    return copy;
}

// Grey by brightness, lightened toward the menu face.
ImagePixels Disabled(const ImagePixels& image)
{
    ImagePixels copy = image;
    for (size_t i = 0; i + 3 < copy.bgra.size(); i += 4) {
        const int grey = (copy.bgra[i] * 11 + copy.bgra[i + 1] * 59 + copy.bgra[i + 2] * 30) / 100;
        const auto light = static_cast<uint8_t>(128 + grey / 2);
        copy.bgra[i] = copy.bgra[i + 1] = copy.bgra[i + 2] = light;
    }
    return copy;
}

// The pixels of a bitmap, rows top-down, 32 bits per pixel.
bool ReadBitmap(HBITMAP bitmap, ImagePixels& image)
{
    BITMAP info{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0 || info.bmWidth < 1 || info.bmHeight < 1) {
        return false;
    }
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = info.bmWidth;
    header.bmiHeader.biHeight = -info.bmHeight;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    image.width = info.bmWidth;
    image.height = info.bmHeight;
    image.bgra.assign(static_cast<size_t>(info.bmWidth) * static_cast<size_t>(info.bmHeight) * 4, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    const int lines = GetDIBits(dc, bitmap, 0, static_cast<UINT>(info.bmHeight), image.bgra.data(), &header,
                                DIB_RGB_COLORS);
    DeleteDC(dc);
    return lines == info.bmHeight;
}

} // namespace

void CNewMenuIcons::Release()
{
    if (--m_references > 0) {
        return;
    }
    auto& list = GlobalList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    delete this;
}

size_t CNewMenuIcons::GlobalCount()
{
    return GlobalList().size();
}

int32_t CNewMenuIcons::AddImage(ImagePixels image)
{
    const auto index = static_cast<int32_t>(m_images.size());
    m_width = std::max(m_width, image.width);
    m_height = std::max(m_height, image.height);
    ImagePixels faded = Darkened(image, kIconShadeAmount);
    ImagePixels disabled = Disabled(image);
    m_images.push_back(std::move(image));
    m_images.push_back(std::move(faded));
    m_images.push_back(std::move(disabled));
    return index;
}

int32_t CNewMenuIcons::IndexOfCommand(UINT commandId) const
{
    for (size_t i = 0; i < m_commandIds.size(); ++i) {
        if (m_commandIds[i] == commandId) {
            return static_cast<int32_t>(3 * i);
        }
    }
    return -1;
}

CNewMenuIcons* CNewMenuIcons::FindOrLoadToolBarIcons(UINT toolBarId, HMODULE module)
{
    for (CNewMenuIcons* set : GlobalList()) {
        if (set->m_fromToolBar && set->m_toolBarId == toolBarId && set->m_module == module) {
            return set;
        }
    }
    const auto toolBarBytes = FindResourceBytes(module, kResourceToolbar, static_cast<WORD>(toolBarId));
    const auto bitmapBytes = FindResourceBytes(module, kResourceBitmap, static_cast<WORD>(toolBarId));
    if (!toolBarBytes || !bitmapBytes) {
        return nullptr;
    }
    const auto toolBar = DecodeToolbarTemplate(*toolBarBytes);
    const auto strip = DecodeBitmap(*bitmapBytes);
    if (!toolBar || !strip || toolBar->width < 1 || toolBar->height < 1) {
        return nullptr;
    }
    auto* set = new CNewMenuIcons();
    set->m_fromToolBar = true;
    set->m_toolBarId = toolBarId;
    set->m_module = module;
    // Buttons take the strip's images left to right; separators take none.
    size_t button = 0;
    for (WORD id : toolBar->items) {
        if (id == 0) {
            continue;
        }
        ImagePixels image;
        image.width = toolBar->width;
        image.height = toolBar->height;
        image.bgra.assign(static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4, 0);
        const LONG left = static_cast<LONG>(button) * toolBar->width;
        for (LONG y = 0; y < image.height && y < strip->height; ++y) {
            for (LONG x = 0; x < image.width && left + x < strip->width; ++x) {
                const size_t from = (static_cast<size_t>(y) * static_cast<size_t>(strip->width) +
                                     static_cast<size_t>(left + x)) * 4;
                const size_t to = (static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)) * 4;
                std::copy_n(strip->bgra.begin() + static_cast<std::ptrdiff_t>(from), 4,
                            image.bgra.begin() + static_cast<std::ptrdiff_t>(to));
            }
        }
        set->m_commandIds.push_back(id);
        set->AddImage(std::move(image));
        ++button;
    }
    GlobalList().push_back(set);
    return set;
}

CNewMenuIcons* CNewMenuIcons::AddBitmapToGlobalList(HBITMAP bitmap, int32_t* index)
{
    *index = -1;
    ImagePixels image;
    if (!ReadBitmap(bitmap, image)) {
        return nullptr;
    }
    // Loose bitmaps go into one set of their own kind; equal pixels share
    // their place.
    CNewMenuIcons* set = nullptr;
    for (CNewMenuIcons* candidate : GlobalList()) {
        if (!candidate->m_fromToolBar) {
            set = candidate;
            break;
        }
    }
    if (set == nullptr) {
        set = new CNewMenuIcons();
        GlobalList().push_back(set);
    }
    for (int32_t i = 0; i < set->ImageCount(); i += 3) {
        const ImagePixels& held = set->m_images[static_cast<size_t>(i)];
        if (held.width == image.width && held.height == image.height && held.bgra == image.bgra) {
            *index = i;
            return set;
        }
    }
    *index = set->AddImage(std::move(image));
    return set;
}
