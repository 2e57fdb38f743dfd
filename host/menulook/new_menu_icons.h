// CNewMenuIcons: one shared set of menu item images. Every image takes three
// consecutive places (the image, a faded copy and a disabled copy), so an
// item's image index names the first of three. A set made from a tool-bar
// resource keeps the tool bar's command ids in button order: the button at
// order i has its image at index 3 i. Sets live in one process-wide list
// while menu item records hold references to them, so that menus showing
// the same tool bar share its images.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/base/types.h"
#include "platform/kernel/resource_records.h"

class CNewMenuIcons {
public:
    CNewMenuIcons(const CNewMenuIcons&) = delete;
    CNewMenuIcons& operator=(const CNewMenuIcons&) = delete;

    // Item records hold one reference each; the last Release takes the set
    // out of the list and deletes it.
    void AddRef() { ++m_references; }
    void Release();

    // The set of the tool-bar resource (id, module), loaded and listed on
    // first use; null when the tool bar or its bitmap cannot be loaded.
    static CNewMenuIcons* FindOrLoadToolBarIcons(UINT toolBarId, HMODULE module);
    // A listed set that holds a copy of the bitmap's pixels, made when
    // none does; the index of its first place in index. Null and -1 for a
    // null or unreadable bitmap.
    static CNewMenuIcons* AddBitmapToGlobalList(HBITMAP bitmap, int32_t* index);
    // Sets in the list now.
    static size_t GlobalCount();

    const std::vector<WORD>& CommandIds() const { return m_commandIds; }
    // The index of the command's image, -1 when the set has none.
    int32_t IndexOfCommand(UINT commandId) const;
    // The image at a place (image, faded or disabled copy).
    const ImagePixels& Image(int32_t index) const { return m_images[static_cast<size_t>(index)]; }
    int32_t ImageCount() const { return static_cast<int32_t>(m_images.size()); }
    LONG Width() const { return m_width; }
    LONG Height() const { return m_height; }

private:
    CNewMenuIcons() = default;
    ~CNewMenuIcons() = default;
    // Appends an image and its two copies; returns the index of the image.
    int32_t AddImage(ImagePixels image);

    int32_t m_references = 0;
    UINT m_toolBarId = 0;
    HMODULE m_module = nullptr;
    bool m_fromToolBar = false;
    std::vector<WORD> m_commandIds;
    std::vector<ImagePixels> m_images;
    LONG m_width = 0;
    LONG m_height = 0;
};

// Amount (0 to 255) by which the faded copy of an image is darkened.
inline constexpr int kIconShadeAmount = 50;
