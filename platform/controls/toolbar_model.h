// The toolbar's model shared by its files: buttons, added bitmaps, the
// toolbar's state, and the steps the message table, the input and the
// painting call on each other.
#pragma once

#include <string>
#include <vector>

#include "platform/controls/common_control_support.h"

namespace nuvex::controls::toolbar {

constexpr SIZE kDefaultBitmap{16, 15};
constexpr int kButtonExtra = 7;        // a button is this much larger than its image
constexpr int kSeparatorWidth = 8;     // a separator without its own width
constexpr int kArrowWidth = 12;        // the drop-down arrow part (TBSTYLE_EX_DRAWDDARROWS)
constexpr int kDividerHeight = 2;      // the etched line above the buttons (without CCS_NODIVIDER)
constexpr int kTextGap = 2;            // between image and text
constexpr size_t kMaxButtonsPerCall = 0x10000;
constexpr COLORREF kClassicFace = RGB(192, 192, 192); // background of classic button bitmaps
constexpr WPARAM kClicked = 0;         // BN_CLICKED

struct Button {
    int image = 0;
    int id = 0;
    BYTE state = 0;
    BYTE style = 0;
    DWORD_PTR data = 0;
    std::string text;
    int width = 0; // from TBBUTTONINFO's cx; 0: the usual width
};

struct AddedBitmap {
    HINSTANCE instance;
    UINT_PTR id;
    int first;
    int count;
};

struct Toolbar {
    std::vector<Button> buttons;
    std::vector<std::string> strings;
    std::vector<AddedBitmap> bitmaps;
    SIZE bitmapSize = kDefaultBitmap;
    SIZE buttonSize{0, 0}; // 0: from the bitmap size and the texts
    HIMAGELIST own = nullptr; // made for TB_ADDBITMAP
    HIMAGELIST images = nullptr;
    HIMAGELIST hotImages = nullptr;
    HIMAGELIST disabledImages = nullptr;
    DWORD exStyle = 0;
    int indent = 0;
    HWND notify = nullptr; // null: the parent
    HWND tooltip = nullptr;
    bool ownTooltip = false;
    int hot = -1;
    int pressed = -1;   // button held down by the mouse
    COLORSCHEME scheme{sizeof(COLORSCHEME), CLR_DEFAULT, CLR_DEFAULT};
    HFONT font = nullptr;
    bool placing = false;
};

inline HWND NotifyWindow(HWND hwnd, const Toolbar& tb) { return tb.notify != nullptr ? tb.notify : GetParent(hwnd); }
inline bool IsSeparator(const Button& b) { return (b.style & BTNS_SEP) != 0; }
inline bool IsHidden(const Button& b) { return (b.state & TBSTATE_HIDDEN) != 0; }
inline HIMAGELIST ImagesOf(const Toolbar& tb) { return tb.images != nullptr ? tb.images : tb.own; }
inline void Redraw(HWND hwnd) { InvalidateRect(hwnd, nullptr, TRUE); }

// Layout (toolbar.cpp).
SIZE ButtonSize(const Toolbar& tb, DWORD style);
// Whether `b` shows a separate drop-down arrow part.
bool HasArrow(const Toolbar& tb, const Button& b);
struct Layout {
    std::vector<RECT> rects; // empty rectangles for hidden buttons
    int rows = 0;
    SIZE extent{0, 0};       // right and bottom of the buttons
};
Layout LayoutButtons(HWND hwnd, const Toolbar& tb);
// The index of the button with command `id`, or -1.
int IndexOfCommand(const Toolbar& tb, WPARAM id);
// The button under client point `pt`, or -1; `onSeparator` tells whether
// it is a separator.
int ButtonAt(HWND hwnd, const Toolbar& tb, POINT pt, bool* onSeparator = nullptr);
// Keeps one tooltip tool per button, over the button's rectangle.
void SyncTools(HWND hwnd, Toolbar& tb);
// The buttons changed place: the tools follow and the bar repaints.
void Changed(HWND hwnd, Toolbar& tb);
// Follows the parent's top (or bottom) edge at its full width, as tall as the rows.
void AutoSize(HWND hwnd, Toolbar& tb);

// Buttons, bitmaps and strings (toolbar.cpp).
Button FromRecord(const Toolbar& tb, const TBBUTTON& record);
void ToRecord(const Toolbar& tb, const Button& b, TBBUTTON& out);
int AddBitmap(Toolbar& tb, int count, const TBADDBITMAP* add);
BOOL ReplaceBitmap(Toolbar& tb, const TBREPLACEBITMAP* replace);
int AddStrings(Toolbar& tb, HINSTANCE instance, LPARAM lParam);
enum class Bit : uint8_t { Clear, Set };
inline Bit BitOf(bool on) { return on ? Bit::Set : Bit::Clear; }
void SetState(Toolbar& tb, int index, BYTE bit, Bit value);
// Checks `index` and unchecks the other buttons of its group (the run of
// neighbouring group buttons).
void CheckInGroup(Toolbar& tb, int index);

// Mouse (toolbar_input.cpp): every mouse message is relayed to the tooltip
// first, then handled.
LRESULT OnMouseMessage(HWND hwnd, Toolbar& tb, const Message& m);
// The capture went elsewhere: a pressed button comes up.
LRESULT OnCaptureChanged(HWND hwnd, Toolbar& tb, const Message& m);

// Painting (toolbar_paint.cpp), with NM_CUSTOMDRAW to the notify window.
void Paint(HWND hwnd, Toolbar& tb, HDC dc);

} // namespace nuvex::controls::toolbar
