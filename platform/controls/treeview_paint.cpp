// The tree view's layout, hit-testing and painting: rows of the visible
// items with their lines, expand buttons, state images, images and labels.
#include <algorithm>

#include "platform/controls/tree_model.h"

namespace nuvex::controls::tree {
namespace {

constexpr int kLabelPadding = 2; // pixels left and right of a label's text
constexpr int kImageGap = 3;     // pixels between an image and the label
constexpr int kButtonSize = 9;   // the expand button's square

bool RootLines(HWND hwnd)
{
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
    return (style & TVS_LINESATROOT) != 0 && (style & (TVS_HASLINES | TVS_HASBUTTONS)) != 0;
}

} // namespace

HFONT BoldFont(Tree& tree)
{
    if (tree.boldFont == nullptr) {
        LOGFONTA font{};
        GetObjectA(ControlFont(tree.font), sizeof(font), &font);
        font.lfWeight = 700;
        tree.boldFont = CreateFontIndirectA(&font);
    }
    return tree.boldFont;
}

void DropBoldFont(Tree& tree)
{
    if (tree.boldFont != nullptr) {
        DeleteObject(tree.boldFont);
        tree.boldFont = nullptr;
    }
}

SIZE ImageSize(HIMAGELIST list)
{
    SIZE size{0, 0};
    int cx = 0;
    int cy = 0;
    if (list != nullptr && ImageList_GetIconSize(list, &cx, &cy)) {
        size = SIZE{cx, cy};
    }
    return size;
}

int ItemHeight(Tree& tree)
{
    if (tree.itemHeight > 0) {
        return tree.itemHeight;
    }
    const int images = std::max(ImageSize(tree.normalImages).cy, ImageSize(tree.stateImages).cy);
    return std::max(LineHeight(tree.font) + 3, images + 1);
}

RowLayout LayoutRow(HWND hwnd, Tree& tree, Item& item, int level, int rowIndex)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    const int height = ItemHeight(tree);
    const int top = (rowIndex - tree.firstVisible) * height;
    RowLayout l{};
    l.row = RECT{0, top, client.right, top + height};
    const int x = (level + (RootLines(hwnd) ? 1 : 0)) * tree.indent;
    if (x >= tree.indent) {
        l.button = RECT{x - tree.indent, top, x, top + height};
    }
    int left = x;
    const UINT stateIndex = (item.state & TVIS_STATEIMAGEMASK) >> 12;
    const SIZE stateSize = ImageSize(tree.stateImages);
    if (stateIndex != 0 && stateSize.cx > 0) {
        l.stateImage = RECT{left, top, left + stateSize.cx, top + height};
        left += stateSize.cx;
    } else {
        l.stateImage = RECT{left, top, left, top + height};
    }
    const SIZE imageSize = ImageSize(tree.normalImages);
    if (imageSize.cx > 0) {
        l.image = RECT{left, top, left + imageSize.cx, top + height};
        left += imageSize.cx + kImageGap;
    } else {
        l.image = RECT{left, top, left, top + height};
    }
    const HFONT font = (item.state & TVIS_BOLD) != 0 ? BoldFont(tree) : tree.font;
    const int textWidth = TextWidth(font, DisplayText(hwnd, item));
    l.label = RECT{left, top, left + textWidth + 2 * kLabelPadding, top + height};
    return l;
}

HTREEITEM HitTest(HWND hwnd, Tree& tree, TVHITTESTINFO* info)
{
    if (info == nullptr) {
        return nullptr;
    }
    info->hItem = nullptr;
    RECT client{};
    GetClientRect(hwnd, &client);
    const POINT pt = info->pt;
    UINT flags = 0;
    if (pt.x < client.left) {
        flags |= TVHT_TOLEFT;
    } else if (pt.x >= client.right) {
        flags |= TVHT_TORIGHT;
    }
    if (pt.y < client.top) {
        flags |= TVHT_ABOVE;
    } else if (pt.y >= client.bottom) {
        flags |= TVHT_BELOW;
    }
    if (flags != 0) {
        info->flags = flags;
        return nullptr;
    }
    const std::vector<Row> rows = VisibleRows(tree);
    const int row = tree.firstVisible + pt.y / std::max(1, ItemHeight(tree));
    if (row < 0 || row >= static_cast<int>(rows.size())) {
        info->flags = TVHT_NOWHERE;
        return nullptr;
    }
    Item& item = tree.items.at(rows[row].id);
    const RowLayout l = LayoutRow(hwnd, tree, item, rows[row].level, row);
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
    if (pt.x >= l.label.right) {
        flags = TVHT_ONITEMRIGHT;
    } else if (pt.x >= l.label.left) {
        flags = TVHT_ONITEMLABEL;
    } else if (pt.x >= l.image.left && l.image.right > l.image.left) {
        flags = TVHT_ONITEMICON;
    } else if (pt.x >= l.stateImage.left && l.stateImage.right > l.stateImage.left) {
        flags = TVHT_ONITEMSTATEICON;
    } else if (pt.x >= l.button.left && l.button.right > l.button.left && (style & TVS_HASBUTTONS) != 0 &&
               HasChildren(item)) {
        flags = TVHT_ONITEMBUTTON;
    } else {
        flags = TVHT_ONITEMINDENT;
    }
    info->flags = flags;
    info->hItem = Handle(item.id);
    return info->hItem;
}

// Painting ---------------------------------------------------------------------

namespace {

void PaintButton(HDC dc, const RECT& area, bool expanded)
{
    const int cx = (area.left + area.right) / 2;
    const int cy = (area.top + area.bottom) / 2;
    RECT box{cx - kButtonSize / 2, cy - kButtonSize / 2, cx + kButtonSize / 2 + 1, cy + kButtonSize / 2 + 1};
    FillSolidRect(dc, &box, GetSysColor(COLOR_WINDOW));
    FrameRect(dc, &box, GetSysColorBrush(COLOR_BTNSHADOW));
    RECT minus{box.left + 2, cy, box.right - 2, cy + 1};
    FillSolidRect(dc, &minus, GetSysColor(COLOR_WINDOWTEXT));
    if (!expanded) {
        RECT bar{cx, box.top + 2, cx + 1, box.bottom - 2};
        FillSolidRect(dc, &bar, GetSysColor(COLOR_WINDOWTEXT));
    }
}

} // namespace

void Paint(HWND hwnd, Tree& tree, HDC dc)
{
    RECT client{};
    GetClientRect(hwnd, &client);
    const COLORREF window = tree.background != CLR_NONE ? tree.background : GetSysColor(COLOR_WINDOW);
    const COLORREF windowText = tree.textColour != CLR_NONE ? tree.textColour : GetSysColor(COLOR_WINDOWTEXT);
    FillSolidRect(dc, &client, window);
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
    const std::vector<Row> rows = VisibleRows(tree);
    SetBkMode(dc, TRANSPARENT);
    const SelectedObject font(dc, ControlFont(tree.font));
    HPEN linePen = CreatePen(PS_DOT, 1, GetSysColor(COLOR_BTNSHADOW));
    {
        const SelectedObject pen(dc, linePen);
        const int height = ItemHeight(tree);
        for (int row = tree.firstVisible; row < static_cast<int>(rows.size()); ++row) {
            if ((row - tree.firstVisible) * height >= client.bottom) {
                break;
            }
            Item& item = tree.items.at(rows[row].id);
            const RowLayout l = LayoutRow(hwnd, tree, item, rows[row].level, row);
            const int midY = (l.row.top + l.row.bottom) / 2;
            if ((style & TVS_HASLINES) != 0 && l.button.right > l.button.left) {
                const int midX = (l.button.left + l.button.right) / 2;
                MoveToEx(dc, midX, l.row.top, nullptr);
                LineTo(dc, midX, l.row.bottom);
                MoveToEx(dc, midX, midY, nullptr);
                LineTo(dc, l.button.right, midY);
            }
            if ((style & TVS_HASBUTTONS) != 0 && l.button.right > l.button.left && HasChildren(item)) {
                PaintButton(dc, l.button, IsExpanded(item));
            }
            const UINT stateIndex = (item.state & TVIS_STATEIMAGEMASK) >> 12;
            if (stateIndex != 0 && tree.stateImages != nullptr) {
                ImageList_Draw(tree.stateImages, static_cast<int>(stateIndex), dc, l.stateImage.left,
                               l.row.top + (height - ImageSize(tree.stateImages).cy) / 2, ILD_TRANSPARENT);
            }
            const bool selected = (item.state & (TVIS_SELECTED | TVIS_DROPHILITED)) != 0;
            if (tree.normalImages != nullptr) {
                const int image = selected ? item.selectedImage : item.image;
                ImageList_Draw(tree.normalImages, image, dc, l.image.left,
                               l.row.top + (height - ImageSize(tree.normalImages).cy) / 2,
                               ILD_TRANSPARENT | (item.state & TVIS_OVERLAYMASK));
            }
            COLORREF text = windowText;
            const bool showSelection = tree.focused || (style & TVS_SHOWSELALWAYS) != 0 ||
                                       (item.state & TVIS_DROPHILITED) != 0;
            if (selected && showSelection) {
                const bool active = tree.focused || (item.state & TVIS_DROPHILITED) != 0;
                FillSolidRect(dc, &l.label, GetSysColor(active ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
                text = GetSysColor(active ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
            }
            SetTextColor(dc, text);
            SelectObject(dc, (item.state & TVIS_BOLD) != 0 ? BoldFont(tree) : ControlFont(tree.font));
            RECT textRect = l.label;
            textRect.left += kLabelPadding;
            const std::string label = DisplayText(hwnd, item);
            DrawTextA(dc, label.c_str(), static_cast<int>(label.size()), &textRect,
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            if (tree.focused && item.id == tree.caret) {
                DrawFocusRect(dc, &l.label);
            }
        }
    }
    DeleteObject(linePen);
}

} // namespace nuvex::controls::tree
