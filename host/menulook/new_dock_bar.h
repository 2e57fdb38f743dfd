// CNewDockBar: the dock bar a menu-look frame puts on each enabled side;
// it paints the menu background behind its bars and keeps a docked
// CNewMenuBar on a row of its own. CNewDialogBar: a dialog bar with the
// gripper, borders and background of the current style code.
#pragma once

#include "platform/framework/docking.h"

class CNewDockBar : public CDockBar {
    DECLARE_DYNCREATE(CNewDockBar)
public:
    // Moves bars that share a row with a menu bar onto the next row; TRUE
    // when one moved.
    BOOL SeparateMenuBarRows();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    BOOL EraseBackground(HDC dc);
};

class CNewDialogBar : public CDialogBar {
    DECLARE_DYNAMIC(CNewDialogBar)
public:
    virtual void DoPaint(HDC dc);
    virtual void DrawBorders(HDC dc, CRect& rect);
    virtual void DrawGripper(HDC dc, const CRect& rect);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void EraseBackground(HDC dc);
};
