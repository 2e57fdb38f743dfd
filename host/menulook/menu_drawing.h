// Drawing helpers of the menu looks: bitmaps from resources, masks and
// tinted copies, monitor work areas, a popup placed beside a bar button,
// the shared menu background brushes, repainting one owner-drawn menu-bar
// item, text at a right angle with mnemonic underlines, an off-screen
// drawing context, and scoped selections of GDI objects.
#pragma once

#include <memory>
#include <string>

#include "platform/controls/commctrl.h"
#include "platform/framework/gdiobj.h"
#include "platform/framework/menu.h"
#include "platform/gdi/dc_guards.h"
#include "platform/kernel/resource_records.h"
#include "platform/gdi/gdi.h"
#include "platform/user/menu.h"
#include "platform/user/winuser.h"

// A GDI object deleted with the holder.
class ScopedObject {
public:
    explicit ScopedObject(HGDIOBJ object = nullptr) : m_object(object) {}
    ~ScopedObject() { Reset(); }
    ScopedObject(const ScopedObject&) = delete;
    ScopedObject& operator=(const ScopedObject&) = delete;
    void Reset(HGDIOBJ object = nullptr)
    {
        if (m_object != nullptr) {
            DeleteObject(m_object);
        }
        m_object = object;
    }
    HGDIOBJ Get() const { return m_object; }
    HGDIOBJ Release()
    {
        HGDIOBJ object = m_object;
        m_object = nullptr;
        return object;
    }

private:
    HGDIOBJ m_object;
};

// Selects an object into a DC for its lifetime (and deletes it afterwards
// when it owns it): the selection is put back first, then the object goes.
class ScopedSelect {
public:
    enum class Owns { No, Yes };
    ScopedSelect(HDC dc, HGDIOBJ object, Owns owns = Owns::No)
        : m_owned(owns == Owns::Yes ? object : nullptr), m_selected(dc, object)
    {
    }

private:
    // Declared in this order, so the selection ends before the object goes.
    ScopedObject m_owned;
    SelectedObject m_selected;
};

// A screen or window DC released with the holder.
class ScopedWindowDC {
public:
    enum class Kind { Client, Window };
    explicit ScopedWindowDC(HWND window, Kind kind = Kind::Client)
        : m_window(window), m_dc(kind == Kind::Window ? GetWindowDC(window) : GetDC(window))
    {
    }
    ~ScopedWindowDC()
    {
        if (m_dc != nullptr) {
            ReleaseDC(m_window, m_dc);
        }
    }
    ScopedWindowDC(const ScopedWindowDC&) = delete;
    ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

// A one-pixel frame of one colour round the rectangle.
void FrameSolid(HDC dc, const RECT& rect, COLORREF colour);

// The menu font of the non-client metrics (bold with `bold`, rotated by
// `escapement` tenths of a degree).
HFONT CreateMenuFont(bool bold = false, int escapement = 0);
LOGFONTA MenuLogFont();

// Bitmaps -------------------------------------------------------------------------------------
int GetBitmapColorCount(const BITMAPINFOHEADER& header);
// The bitmap resource as a bitmap of the screen's depth; its colour count
// in *colors (0 for a true-colour bitmap).
HBITMAP LoadBitmapResource24(UINT resourceId, HMODULE module, int* colors);
// Every pixel becomes its grey mixed with the colour; the new colour of
// pixel 0,0.
COLORREF TintBitmap(HBITMAP bitmap, int weight, COLORREF colour);
// A monochrome mask of the transparent pixels; those pixels of the source
// become black.
HBITMAP CreateMaskBitmap(HBITMAP bitmap, COLORREF transparent);
// The pixels of a bitmap, rows top-down, 32 bits each; false when the
// bitmap cannot be read.
bool ReadBitmapImage(HBITMAP bitmap, ImagePixels& image);
// The pixels of an image of an image list (empty when there is none).
ImagePixels ImageListPixels(HIMAGELIST list, int index);
// A true-colour copy of a bitmap; null for a null or unreadable one.
HBITMAP CopyBitmap(HBITMAP bitmap);
// The colour of pixel 0,0 (CLR_INVALID when unreadable).
COLORREF TopLeftPixel(HBITMAP bitmap);

// Monitors and popups -------------------------------------------------------------------------
RECT GetMonitorWorkArea(HWND window);
RECT GetMonitorWorkArea(const RECT& rect);

struct BarPopupPlacement {
    RECT button{}; // screen
    HWND owner = nullptr;
    BOOL vertical = FALSE;
};
// Shows the popup below, above or beside the button and runs its loop.
BOOL TrackBarPopupMenu(HMENU menu, UINT flags, const BarPopupPlacement& placement);

// Background brushes --------------------------------------------------------------------------
class CMenuBackgroundBrush : public CBrush {
public:
    CMenuBackgroundBrush(int kind, COLORREF first, COLORREF second);
    int Kind() const { return m_kind; }
    COLORREF First() const { return m_first; }
    COLORREF Second() const { return m_second; }

private:
    int m_kind;
    COLORREF m_first;
    COLORREF m_second;
};

inline constexpr int kBrushSolid = 2;
inline constexpr int kBrushGradient = 8;
inline constexpr int kBrushWarmGradient = 10;

// The shared background brush of the current style code, or null.
CMenuBackgroundBrush* GetMenuBackgroundBrush();
// Forgets every brush (the program ends, or a test changes colours).
void ForgetMenuBackgroundBrushes();
// Gives the menu (and the shared menus of the application's templates) the
// style's background brush.
void SetMenuBackground(HMENU menu);
// Sends the frame WM_DRAWITEM for one owner-drawn bar item; 1 when drawn.
BOOL RedrawMenuBarItem(HWND frame, HMENU menu, int position, UINT state);

// Text ------------------------------------------------------------------------------------------
// Text at the font's angle (0, 90, 180, 270 degrees) with mnemonic
// underlines; DT_CENTER places it by the angle inside the rectangle.
void DrawRotatedText(HDC dc, const char* text, int length, const RECT* rect, UINT format);

// Off-screen drawing in target coordinates, copied back when it goes.
class CNewMemDC {
public:
    CNewMemDC(const RECT& rect, HDC target);
    ~CNewMemDC();
    CNewMemDC(const CNewMemDC&) = delete;
    CNewMemDC& operator=(const CNewMemDC&) = delete;
    void SetNoCopy() { m_noCopy = TRUE; }
    HDC Get() const { return m_dc != nullptr ? m_dc : m_target; }

private:
    RECT m_rect;
    HDC m_target;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    BOOL m_noCopy = FALSE;
};
