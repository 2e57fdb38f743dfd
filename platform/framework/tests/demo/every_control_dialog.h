// A dialog holding one of every control the platform offers (button kinds,
// edits, statics with text, bitmap and icon, combo boxes, a list box,
// scroll bars, a trackbar, an up-down with its buddy, a progress bar, a
// tree, a tab control, a toolbar, a status bar and a rich edit), built from
// a template made in code and filled when it starts. Its screenshot is the
// picture a person compares the controls' look against.
#pragma once

#include <vector>

#include "platform/framework/dialog.h"

namespace demo {

// Control ids, one per control of the dialog.
enum EveryControlId : int {
    kGroupBoxId = 1100,
    kPushButtonId,
    kDefaultButtonId,
    kCheckBoxId,
    kThreeStateId,
    kRadioAId,
    kRadioBId,
    kOwnerDrawId,
    kBitmapButtonId,
    kIconButtonId,
    kPushLikeId,
    kStaticTextId = 1200,
    kStaticBitmapId,
    kStaticIconId,
    kSingleEditId = 1300,
    kMultiEditId,
    kRichEditId,
    kDropDownId = 1400,
    kDropListId,
    kListBoxId,
    kHorzScrollId = 1500,
    kVertScrollId,
    kTrackbarId = 1600,
    kBuddyEditId,
    kUpDownId,
    kProgressId = 1700,
    kTreeViewId = 1800,
    kTabId = 1900,
    kToolbarId = 2000,
    kStatusId = 2100,
};

// The template: a modal frame of 8-point text.
DialogTemplate EveryControlTemplate();
// The ids of every control the template holds, in its order.
std::vector<int> EveryControlIds();

class CEveryControlDialog : public CDialog {
public:
    CEveryControlDialog();
    ~CEveryControlDialog() override;
    BOOL OnInitDialog() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HBITMAP m_bitmap = nullptr;
    HBITMAP m_toolImages = nullptr;
    HICON m_icon = nullptr;
};

// A small picture (a house of 16 by 16 pixels) and an icon (a yellow
// smiling face of 16 by 16 pixels) for the image controls. The caller
// deletes them.
HBITMAP MakeHouseBitmap();
HICON MakeFaceIcon();

} // namespace demo
