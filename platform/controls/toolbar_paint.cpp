// The toolbar's painting: the face and divider, each button's edges,
// image, text and drop-down arrow in its state, with NM_CUSTOMDRAW asked
// before and after the bar and each button.
#include "platform/controls/toolbar_model.h"

namespace nuvex::controls::toolbar {
namespace {

UINT ItemState(HWND hwnd, Toolbar& tb, int index)
{
    const Button& b = tb.buttons[static_cast<size_t>(index)];
    UINT state = 0;
    if ((b.state & TBSTATE_CHECKED) != 0) {
        state |= CDIS_CHECKED;
    }
    if ((b.state & TBSTATE_ENABLED) == 0) {
        state |= CDIS_DISABLED;
    }
    if ((b.state & TBSTATE_INDETERMINATE) != 0) {
        state |= CDIS_INDETERMINATE;
    }
    if ((b.state & TBSTATE_PRESSED) != 0) {
        state |= CDIS_SELECTED;
    }
    if (index == tb.hot && (StyleOf(hwnd) & TBSTYLE_FLAT) != 0) {
        state |= CDIS_HOT;
    }
    return state;
}

void PaintButton(HWND hwnd, Toolbar& tb, HDC dc, int index, const RECT& r, UINT itemState)
{
    const Button& b = tb.buttons[static_cast<size_t>(index)];
    const bool flat = (StyleOf(hwnd) & TBSTYLE_FLAT) != 0;
    if (IsSeparator(b)) {
        if (flat) {
            const int x = (r.left + r.right) / 2 - 1;
            Draw3dRect(dc, x, r.top + 2, 2, r.bottom - r.top - 4, GetSysColor(COLOR_BTNSHADOW),
                       GetSysColor(COLOR_BTNHIGHLIGHT));
        }
        return;
    }
    RECT face = r;
    if (HasArrow(tb, b)) {
        face.right -= kArrowWidth;
    }
    const bool down = (itemState & (CDIS_SELECTED | CDIS_CHECKED)) != 0;
    if (down) {
        DrawEdge(dc, &face, flat ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
    } else if (!flat || (itemState & CDIS_HOT) != 0) {
        DrawEdge(dc, &face, flat ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
    }
    const int shift = (itemState & CDIS_SELECTED) != 0 ? 1 : 0;
    HIMAGELIST list = ImagesOf(tb);
    if ((itemState & CDIS_DISABLED) != 0 && tb.disabledImages != nullptr) {
        list = tb.disabledImages;
    } else if ((itemState & CDIS_HOT) != 0 && tb.hotImages != nullptr) {
        list = tb.hotImages;
    }
    const bool listStyle = (StyleOf(hwnd) & TBSTYLE_LIST) != 0;
    int imageX = (face.left + face.right - tb.bitmapSize.cx) / 2;
    int imageY = face.top + (face.bottom - face.top - tb.bitmapSize.cy) / 2;
    if (!b.text.empty()) {
        if (listStyle) {
            imageX = face.left + 3;
        } else {
            imageY = face.top + 3;
        }
    }
    if (list != nullptr && b.image >= 0) {
        const UINT blend = (itemState & CDIS_DISABLED) != 0 && list != tb.disabledImages ? ILD_BLEND50 : 0;
        ImageList_DrawEx(list, b.image, dc, imageX + shift, imageY + shift, 0, 0, CLR_NONE,
                         GetSysColor(COLOR_BTNFACE), ILD_TRANSPARENT | blend);
    }
    if (!b.text.empty()) {
        RECT text = face;
        if (listStyle) {
            text.left = imageX + tb.bitmapSize.cx + kTextGap;
        } else {
            text.top = imageY + tb.bitmapSize.cy + kTextGap;
        }
        OffsetRect(&text, shift, shift);
        SetTextColor(dc, GetSysColor((itemState & CDIS_DISABLED) != 0 ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
        DrawTextA(dc, b.text.c_str(), static_cast<int>(b.text.size()), &text,
                  (listStyle ? DT_LEFT : DT_CENTER) | DT_SINGLELINE | (listStyle ? DT_VCENTER : DT_TOP));
    }
    if ((b.style & BTNS_DROPDOWN) != 0) {
        // A small downward triangle in the arrow part (or at the face's right).
        const int cx = HasArrow(tb, b) ? r.right - kArrowWidth / 2 : face.right - 5;
        const int cy = (r.top + r.bottom) / 2;
        for (int row = 0; row < 3; ++row) {
            RECT line{cx - 2 + row, cy - 1 + row, cx + 3 - row, cy + row};
            FillSolidRect(dc, &line, GetSysColor(COLOR_BTNTEXT));
        }
        if (HasArrow(tb, b) && (down || !flat || (itemState & CDIS_HOT) != 0)) {
            RECT arrow{face.right, r.top, r.right, r.bottom};
            DrawEdge(dc, &arrow, flat ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
        }
    }
}

} // namespace

void Paint(HWND hwnd, Toolbar& tb, HDC dc)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    HWND target = NotifyWindow(hwnd, tb);
    NMTBCUSTOMDRAW cd{};
    cd.nmcd.dwDrawStage = CDDS_PREPAINT;
    cd.nmcd.hdc = dc;
    cd.nmcd.rc = client;
    cd.clrText = GetSysColor(COLOR_BTNTEXT);
    cd.clrBtnFace = GetSysColor(COLOR_BTNFACE);
    cd.clrBtnHighlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    cd.clrHighlightHotTrack = GetSysColor(COLOR_HIGHLIGHT);
    cd.nStringBkMode = TRANSPARENT;
    cd.nHLStringBkMode = OPAQUE;
    const LRESULT prepaint = SendNotify(hwnd, NM_CUSTOMDRAW, &cd.nmcd.hdr, target);
    if (!IsWindow(hwnd)) {
        return;
    }
    if ((prepaint & CDRF_SKIPDEFAULT) == 0 && (StyleOf(hwnd) & TBSTYLE_TRANSPARENT) == 0) {
        FillSolidRect(dc, &client, GetSysColor(COLOR_BTNFACE));
        if ((StyleOf(hwnd) & CCS_NODIVIDER) == 0) {
            Draw3dRect(dc, client.left, client.top, client.right - client.left, kDividerHeight,
                       GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        }
    }
    {
        const SelectedObject font(dc, ControlFont(tb.font));
        SetBkMode(dc, TRANSPARENT);
        const Layout layout = LayoutButtons(hwnd, tb);
        for (size_t i = 0; i < tb.buttons.size() && i < layout.rects.size(); ++i) {
            if (IsHidden(tb.buttons[i])) {
                continue;
            }
            const UINT itemState = ItemState(hwnd, tb, static_cast<int>(i));
            LRESULT item = CDRF_DODEFAULT;
            if ((prepaint & CDRF_NOTIFYITEMDRAW) != 0) {
                cd.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
                cd.nmcd.rc = layout.rects[i];
                cd.nmcd.dwItemSpec = static_cast<DWORD_PTR>(tb.buttons[i].id);
                cd.nmcd.uItemState = itemState;
                cd.nmcd.lItemlParam = static_cast<LPARAM>(tb.buttons[i].data);
                cd.rcText = layout.rects[i];
                item = SendNotify(hwnd, NM_CUSTOMDRAW, &cd.nmcd.hdr, target);
                if (!IsWindow(hwnd) || StateOf<Toolbar>(hwnd) != &tb || i >= tb.buttons.size()) {
                    return;
                }
            }
            if ((item & CDRF_SKIPDEFAULT) == 0) {
                PaintButton(hwnd, tb, dc, static_cast<int>(i), layout.rects[i], itemState);
            }
            if ((item & CDRF_NOTIFYPOSTPAINT) != 0) {
                cd.nmcd.dwDrawStage = CDDS_ITEMPOSTPAINT;
                SendNotify(hwnd, NM_CUSTOMDRAW, &cd.nmcd.hdr, target);
                if (!IsWindow(hwnd)) {
                    return;
                }
            }
        }
    }
    if ((prepaint & CDRF_NOTIFYPOSTPAINT) != 0) {
        cd.nmcd.dwDrawStage = CDDS_POSTPAINT;
        cd.nmcd.rc = client;
        cd.nmcd.dwItemSpec = 0;
        cd.nmcd.uItemState = 0;
        SendNotify(hwnd, NM_CUSTOMDRAW, &cd.nmcd.hdr, target);
    }
}

} // namespace nuvex::controls::toolbar
