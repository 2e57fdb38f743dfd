// CNewMenuIcons: one shared set of menu item images in an image list.
// Every image takes three consecutive places (the image, a shaded copy and
// a greyed copy), so an item's image index names the first of three. A set
// made from a tool-bar resource keeps the tool bar's command ids in button
// order: the button at order k has its images at 3k, 3k + 1 and 3k + 2.
// CNewMenuBitmaps holds loose images added one at a time, each with its
// own transparent colour. Sets live in the library's process-wide list
// while item records hold references to them, so that menus showing the
// same tool bar share its images; the last Release takes a set out of the
// list and deletes it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/base/types.h"
#include "platform/controls/commctrl.h"
#include "platform/kernel/resource_records.h"

class CNewMenuIcons {
public:
    CNewMenuIcons();
    virtual ~CNewMenuIcons();
    CNewMenuIcons(const CNewMenuIcons&) = delete;
    CNewMenuIcons& operator=(const CNewMenuIcons&) = delete;

    // Holds one reference for its lifetime.
    class Ref {
    public:
        explicit Ref(CNewMenuIcons* icons) : m_icons(icons) { AddRef(m_icons); }
        ~Ref() { Release(m_icons); }
        Ref(const Ref&) = delete;
        Ref& operator=(const Ref&) = delete;
        CNewMenuIcons* Get() const { return m_icons; }

    private:
        static void AddRef(CNewMenuIcons* icons);
        static void Release(CNewMenuIcons* icons);
        CNewMenuIcons* m_icons;
    };

    // The index of the last image of the command, -1 when absent.
    virtual int FindIndex(UINT commandId) const;
    // Loads the set's resource again at the list's size and rebuilds it.
    virtual BOOL Reload();
    // The images of a bitmap cut at width x height, one per id of the
    // zero-terminated list; FALSE for a null bitmap or no id.
    virtual BOOL SetBitmap(HBITMAP bitmap, int width, int height, const UINT* ids, COLORREF transparent);
    // A description of 16-bit words: bitmap resource id, image width,
    // image height, then command ids ending with 0.
    virtual BOOL SetToolBarData(const WORD* description, COLORREF transparent);
    // The tool-bar resource (RT_TOOLBAR) of that id and its bitmap.
    virtual BOOL LoadToolBar(UINT resourceId, HMODULE module);
    virtual BOOL MatchIds(ULONG_PTR key, int width, int height, const UINT* ids) const;
    virtual BOOL MatchToolBarData(const WORD* description, COLORREF transparent) const;
    virtual BOOL MatchResource(UINT resourceId, HMODULE module) const;
    virtual BOOL LoadBitmap(int width, int height, UINT resourceId, HMODULE module);
    // The shaded (darkened) and greyed copies of an icon: index -1
    // appends, else replaces; the index written, -1 on failure.
    virtual int AddShadedImage(HICON icon, int index);
    virtual int AddGreyedImage(HICON icon, int index);
    // Every base image followed by its shaded and greyed copies.
    virtual void Rebuild();

    BOOL GetIconSize(int* width, int* height) const;
    SIZE GetIconSize() const;
    int AddRef();
    int Release();
    void SetName(UINT resourceId) { m_resourceId = resourceId; }

    // Sets in the library's list now.
    static size_t GlobalCount();
    static std::vector<CNewMenuIcons*>& GlobalList();

    HIMAGELIST ImageList() const { return m_list; }
    const std::vector<UINT>& CommandIds() const { return m_commandIds; }
    int32_t IndexOfCommand(UINT commandId) const { return FindIndex(commandId); }
    int32_t ImageCount() const { return m_list != nullptr ? ImageList_GetImageCount(m_list) : 0; }
    // The pixels of one place, for tests and copies.
    ImagePixels Image(int32_t index) const;
    LONG Width() const { return GetIconSize().cx; }
    LONG Height() const { return GetIconSize().cy; }
    COLORREF TransparentColor() const { return m_transparent; }
    void SetTransparentColor(COLORREF colour) { m_transparent = colour; }
    UINT ResourceId() const { return m_resourceId; }
    HMODULE ResourceModule() const { return m_module; }
    bool FromToolBar() const { return m_fromToolBar; }
    virtual bool IsBitmapSet() const { return false; }

protected:
    // Makes the list anew at width x height (flags ILC_COLORDDB|ILC_MASK).
    void CreateList(int width, int height);
    void DestroyList();
    int AddDerived(HICON icon, int index, COLORREF (*pixel)(COLORREF));

    UINT m_resourceId = 0;
    HMODULE m_module = nullptr;
    ULONG_PTR m_key = 0;
    int m_colorCount = 0;
    COLORREF m_transparent = static_cast<COLORREF>(-1);
    HIMAGELIST m_list = nullptr;
    std::vector<UINT> m_commandIds;
    int m_references = 0;
    bool m_fromToolBar = false;
};

class CNewMenuBitmaps : public CNewMenuIcons {
public:
    // Renews the shaded and greyed copies of every entry.
    BOOL Reload() override;
    void Refresh();
    // A bitmap resource: 3 x its position when already held.
    int AddResourceBitmap(UINT resourceId, COLORREF transparent);
    int AddBitmap(HBITMAP bitmap, COLORREF transparent);
    int AddIcon(HICON icon, UINT commandId = 0);
    // A copy of an image of a list.
    int AddImageOfList(HIMAGELIST list, int index);
    bool IsBitmapSet() const override { return true; }

private:
    // Checks the size against the list's or creates the list.
    bool TakeSize(int width, int height);
    int AddWithCopies(HBITMAP bitmap, COLORREF transparent, UINT id);
    std::vector<COLORREF> m_colors;
};
