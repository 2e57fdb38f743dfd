// CImageStripWindow: a small borderless popup beside the mouse cursor that
// shows a row of bitmaps, one per object-snap kind the cursor catches. It
// has the tooltip class's look and, like a tooltip, never takes the focus
// or the mouse from the view under it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/framework/gdiobj.h"
#include "platform/framework/wnd.h"

// The glyph bitmaps in the order the snap kinds are tested.
inline constexpr UINT kEndPointGlyph = 138;
inline constexpr UINT kMidPointGlyph = 139;
inline constexpr UINT kCentreGlyph = 143;
inline constexpr UINT kIntersectionGlyph = 140;
inline constexpr UINT kNearestGlyph = 142;
// The strip stands this far right of and below the cursor.
inline constexpr int kSnapGlyphOffset = 20;
// Its background: red 255, green 255, blue 231.
inline constexpr COLORREF kSnapGlyphBackground = 0x00E7FFFF;

class CImageStripWindow : public CWnd {
public:
    CImageStripWindow() = default;
    ~CImageStripWindow() override;
    CImageStripWindow(const CImageStripWindow&) = delete;
    CImageStripWindow& operator=(const CImageStripWindow&) = delete;

    // A popup of the tooltip class owned by `parent`, with `style` added.
    BOOL Create(CWnd* parent, DWORD style);
    // The bitmap resource appended; FALSE when it cannot be loaded.
    BOOL AddBitmap(UINT resourceId);
    void RemoveAllBitmaps();
    size_t GetBitmapCount() const { return m_bitmaps.size(); }
    // Stores the screen position and fits the window to the bitmaps there.
    void MoveTo(int x, int y);
    // Width 2 + the bitmaps' widths, height 2 + the tallest; placed topmost
    // without activation. Without bitmaps nothing changes.
    void FitToBitmaps();

protected:
    // A request to show the window without bitmaps is ignored: the
    // notification is not passed on, and the window stays hidden.
    void OnShowWindow(BOOL show, UINT status);
    void OnWindowPosChanging(WINDOWPOS* pos);
    void OnPaint();

    DECLARE_MESSAGE_MAP()

private:
    std::vector<std::unique_ptr<CBitmap>> m_bitmaps;
    int m_x = 0;
    int m_y = 0;
};

// The glyphs of the snap kinds in `kind` (1 end point, 8 mid point, 0x10
// centre, 2 intersection, 4 nearest), in the order they are tested.
std::vector<UINT> SnapGlyphsOfKind(uint32_t kind);

// Fills the strip with the glyphs of `kind`, places it beside the cursor
// (screen coordinates) and shows it without activation; kind 0 empties and
// hides it. TRUE when the strip is shown.
BOOL ShowSnapGlyphStrip(CImageStripWindow& strip, uint32_t kind, POINT cursorScreen);
