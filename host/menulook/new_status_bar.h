// CNewStatusBar: the framework's status bar painted in the look of the
// current menu style: a flat background in the menu-bar colour (or the
// shared menu background brush), pane texts in the menu font with their
// icons, thin frames round the panes and a size grip by style code.
#pragma once

#include "platform/framework/controlbar.h"

class CNewStatusBar : public CStatusBar {
    DECLARE_DYNAMIC(CNewStatusBar)
public:
    // The pane's rectangle in client coordinates; the last pane ends three
    // edges after its text, or at the grip when it stretches.
    void GetPaneRect(int pane, RECT* rect);
    void DrawPanes(HDC dc);
    void DrawSizeGrip(HDC dc, const RECT& rect);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
};

// Dots stacked in a triangle in the bottom-right corner; a highlight
// square under each dot unless `highlight` is CLR_INVALID.
void DrawGripDots(HDC dc, const RECT& rect, COLORREF dot, COLORREF highlight);
// Diagonal shadow and highlight lines.
void DrawGripLines(HDC dc, const RECT& rect);
