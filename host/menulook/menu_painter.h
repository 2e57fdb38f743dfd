// Menu-look painters: one per style code, registered at start-up. Each
// holds the three CNewMenu routines that measure and draw the items of its
// look, and draws the frame, background and soft shadow of the popup-menu
// windows the library subclassed (CMenuLookPainter for the classic,
// flat-bar and gradient looks, CMenuLookPainterEx for the column looks).
// Also the window record of a subclassed popup-menu window and the
// separate shadow-strip window class "ShadeWindow".
#pragma once

#include <memory>

#include "host/menulook/new_menu.h"

// Flags of a CMenuWindowRecord.
inline constexpr DWORD kRecordOnReuse = 0x1;      // subclassed on MN_REUSEPOPUP
inline constexpr DWORD kRecordStylesChanged = 0x2;
inline constexpr DWORD kRecordEscape = 0x4;
inline constexpr DWORD kRecordPrinting = 0x8;

// One subclassed popup-menu window.
struct CMenuWindowRecord {
    CMenuWindowRecord() = default;
    ~CMenuWindowRecord();
    CMenuWindowRecord(const CMenuWindowRecord&) = delete;
    CMenuWindowRecord& operator=(const CMenuWindowRecord&) = delete;
    // Active when every popup is drawn or the menu is a CNewMenu.
    void SetMenu(HMENU menu);
    void ForgetBackground();

    DWORD savedStyle = 0;
    DWORD savedExStyle = 0;
    POINT position{};
    DWORD flags = 0;
    BOOL framePainted = FALSE;
    HMENU menu = nullptr;
    HBITMAP background = nullptr; // the screen under the window
    HRGN savedRegion = reinterpret_cast<HRGN>(1);
    BOOL active = TRUE;
};

CMenuWindowRecord* FindMenuWindowRecord(HWND window);

class CMenuLookPainter {
public:
    CMenuLookPainter(int styleCode, DWORD frameFlag, MenuMeasureRoutine measure, MenuDrawRoutine draw,
                     MenuCommonRoutine common);
    virtual ~CMenuLookPainter() = default;
    CMenuLookPainter(const CMenuLookPainter&) = delete;
    CMenuLookPainter& operator=(const CMenuLookPainter&) = delete;

    virtual BOOL OnSubclass(HWND window);
    virtual BOOL OnUnsubclass(HWND window);
    virtual BOOL HasOwnFrame() const { return (m_frameFlag & 1) != 0; }
    virtual BOOL DrawFrame(HWND window, HDC dc, BOOL afterSystem);
    virtual BOOL EraseBackground(HWND window, HDC dc);
    virtual BOOL OnNcCalcSize(HWND window, NCCALCSIZE_PARAMS* params);
    virtual BOOL OnWindowPosChanging(HWND window, WINDOWPOS* pos);
    virtual BOOL GetFrameRect(HWND window, RECT* rect);

    // 1 when added, 0 when already registered.
    static BOOL Register(CMenuLookPainter* painter);
    // The painter of the code, taken out of the list (not deleted).
    static CMenuLookPainter* Unregister(int styleCode);
    static CMenuLookPainter* FindByStyle(int styleCode);

    int StyleCode() const { return m_styleCode; }
    MenuMeasureRoutine Measure() const { return m_measure; }
    MenuDrawRoutine Draw() const { return m_draw; }
    MenuCommonRoutine Common() const { return m_common; }

protected:
    // What drawing a frame needs; the record is null when the painter draws
    // no frame or the window has no record.
    struct FrameContext {
        CMenuWindowRecord* record = nullptr;
        int w = 0;
        int h = 0;
        RECT client{};
        bool contrast = false;
        bool shadow = false;
    };
    // Captures the background first.
    FrameContext BeginFrame(HWND window);
    // Copies the screen under the window once (the shadow blends over it).
    static void CaptureBackground(HWND window, CMenuWindowRecord& record);
    static void DrawPopupShadow(HWND window, HDC dc, const CMenuWindowRecord& record);
    // The client rectangle in window coordinates.
    static RECT ClientInWindow(HWND window);

    int m_styleCode;
    DWORD m_frameFlag;
    MenuMeasureRoutine m_measure;
    MenuDrawRoutine m_draw;
    MenuCommonRoutine m_common;
    SIZE m_frameInset{2, 2};
    SIZE m_farInset{5, 6};
};

class CMenuLookPainterEx : public CMenuLookPainter {
public:
    using CMenuLookPainter::CMenuLookPainter;
    BOOL DrawFrame(HWND window, HDC dc, BOOL afterSystem) override;
    BOOL EraseBackground(HWND window, HDC dc) override;

private:
    // Gives the edge shared with the opening bar item the item's colour.
    static void DrawJoint(HWND window, HDC dc, const CMenuWindowRecord& record);
};

// Four bands between two rectangles: top, bottom, left, and a right band
// starting one pixel inside the inner rectangle.
void FillFrameBands(HDC dc, const RECT& outer, const RECT& inner, COLORREF colour);

// Shadow strips ("ShadeWindow") ------------------------------------------------------------
BOOL RegisterShadeWindowClass();
// Two strips under and right of the rectangle (the owner's window
// rectangle when null); the second (right) window.
HWND CreateShadeWindows(HWND owner, const RECT* rect);
LRESULT ShadeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void DrawShadeStrip(HDC dc, const RECT& rect, COLORREF colour);
