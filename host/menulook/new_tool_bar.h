// CNewToolBar: the framework's toolbar in the look of the current menu
// style. It paints its background, gripper, separators and buttons itself
// (through the custom-draw stages), keeps three image lists made from the
// toolbar bitmap (normal, faded, disabled), shows drop-down menus beside
// drop-down buttons and can hold child controls on separators.
#pragma once

#include "platform/framework/commonctrls.h"
#include "platform/framework/controlbar.h"

class CMenu;

class CNewToolBar : public CToolBar {
    DECLARE_DYNAMIC(CNewToolBar)
public:
    CNewToolBar() = default;
    ~CNewToolBar() override;

    BOOL LoadToolBar(UINT resourceId);
    BOOL LoadToolBar(LPCSTR resourceName);
    // The normal list from the bitmap resource (mask 0xFF000000: its
    // top-left pixel), the faded and the disabled lists from it.
    BOOL BuildImageLists(UINT resourceId, COLORREF mask);
    void RebuildFadedImages();
    int AddFadedImage(HICON icon, int index);

    COLORREF SetMaskColor(COLORREF colour);
    COLORREF GetMaskColor() const { return m_maskColor; }
    BOOL SetDropDown(UINT commandId);
    BOOL SetDropDownByIndex(int index);
    BOOL InsertControl(int index, CWnd* control, DWORD_PTR data);
    // Shows the menu beside the button of the command until it closes.
    void TrackDropDownMenu(UINT commandId, CMenu* menu);
    BOOL FilterMenuMessage(const MSG& msg);

    CSize CalcDynamicLayout(int length, DWORD mode) override;
    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    virtual void DrawBorders(HDC dc, CRect& rect);
    virtual void DrawGripper(HDC dc, const CRect& rect);
    virtual void OnBarStyleChange(DWORD oldStyle, DWORD newStyle);

    HIMAGELIST NormalImages() const { return m_normal; }
    HIMAGELIST FadedImages() const { return m_faded; }
    HIMAGELIST DisabledImages() const { return m_disabled; }
    int OpenDropDown() const { return m_openDropDown; }

    // The custom-draw answers and the button painting.
    LRESULT OnCustomDraw(NMTBCUSTOMDRAW* draw);
    void PaintButtonBack(HDC dc, const RECT& rect, UINT itemState, bool dropDown);
    void PaintButtonFace(HDC dc, const NMTBCUSTOMDRAW& draw, bool dropDown);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int OnCreate();
    void OnPaint();
    void EraseBackground(HDC dc);
    LRESULT OnAddBitmap(WPARAM count, const TBADDBITMAP* bitmap);
    LRESULT OnReplaceBitmap(const TBREPLACEBITMAP* replace);
    bool ApplicationActive() const;
    void SetImageListForState();
    HIMAGELIST MakeList() const;
    SIZE ImageSize() const;
    COLORREF DisabledTint() const;
    // Calls OnBarStyleChange when the bar style changed since last seen.
    void NoticeStyle();

    int m_openDropDown = -1;
    HIMAGELIST m_normal = nullptr;
    HIMAGELIST m_faded = nullptr;
    HIMAGELIST m_disabled = nullptr;
    DWORD m_reserved = 0;
    int m_layoutOrientation = 0; // 1 vertical, 2 horizontal while laying out
    COLORREF m_maskColor = 0xFF000000;
    DWORD m_seenStyle = 0;
};

LRESULT ToolBarMsgFilterHook(int code, WPARAM wParam, LPARAM lParam);
// The hot and pressed frame of the shaded looks' buttons.
void DrawHotButtonFrame(HDC dc, const RECT& rect, bool pressed);
