// Finding or making the shared image set of an item's image: tool-bar
// resources, image list entries, bitmap resources and bitmaps. Before a
// new set is made every listed set is asked whether it holds the image
// already, so two menus showing the same tool bar share one set.
#pragma once

#include "host/menulook/new_menu.h"

// A set and the index of an image in it (null and -1: no image).
struct MenuImage {
    CNewMenuIcons* icons = nullptr;
    int index = -1;
};

class CNewMenuImages {
public:
    // The image of an image-list entry, or of a bitmap (null: none).
    static MenuImage FromList(CNewMenu& menu, CImageList* list, int index);
    static MenuImage FromBitmap(CNewMenu& menu, CBitmap* bitmap);

    // The set of the tool-bar resource, loaded and listed on first use;
    // null when it cannot be loaded.
    static CNewMenuIcons* FindOrLoadToolBarIcons(UINT toolBarId, HMODULE module);
    // The entry of an image list as an icon of a loose-image set; the set
    // and the index, null and -1 on failure.
    static CNewMenuIcons* AddIconToGlobalList(CNewMenu& menu, HIMAGELIST list, int index, int* at);
    // A bitmap resource (an icon resource with the menu's icon-resource flag).
    static CNewMenuIcons* FindBitmapsInGlobalList(CNewMenu& menu, UINT resourceId, int* at);
    // A copy of a bitmap; null and -1 for a null or unreadable bitmap.
    static CNewMenuIcons* AddBitmapToGlobalList(CNewMenu& menu, HBITMAP bitmap, int32_t* at);
};
