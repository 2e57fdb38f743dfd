#include "platform/framework/tests/demo/every_control_dialog.h"

#include <cstdint>
#include <cstring>

#include "platform/controls/commctrl.h"
#include "platform/controls/controls.h"
#include "platform/controls/richedit.h"
#include "platform/gdi/gdi.h"
#include "platform/user/winuser.h"

namespace demo {

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr int kImageSide = 16;

// Pixels in 32-bit BGRA, rows top-down.
uint32_t Bgra(BYTE red, BYTE green, BYTE blue) { return 0xFF000000u | (red << 16) | (green << 8) | blue; }

HBITMAP BitmapOf(const std::vector<uint32_t>& pixels, int width, int height)
{
    return CreateBitmap(width, height, 1, 32, pixels.data());
}

// Distance check against a disc centred in the image square.
bool InDisc(int x, int y, double radius)
{
    const double dx = x + 0.5 - kImageSide / 2.0;
    const double dy = y + 0.5 - kImageSide / 2.0;
    return dx * dx + dy * dy <= radius * radius;
}

DialogItemTemplate Item(const char* className, const char* text, DWORD style, int id, SHORT x, SHORT y, SHORT cx,
                        SHORT cy)
{
    DialogItemTemplate item;
    item.className = className;
    item.text = text;
    item.style = kChild | style;
    item.id = id;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    return item;
}

} // namespace

HBITMAP MakeHouseBitmap()
{
    std::vector<uint32_t> pixels(kImageSide * kImageSide, Bgra(255, 255, 255));
    for (int y = 0; y < kImageSide; ++y) {
        for (int x = 0; x < kImageSide; ++x) {
            uint32_t& pixel = pixels[static_cast<size_t>(y) * kImageSide + x];
            const bool roof = y < 7 && x >= 7 - y && x <= 8 + y;
            const bool wall = y >= 7 && y < 15 && x >= 2 && x < 14;
            const bool door = y >= 10 && y < 15 && x >= 6 && x < 9;
            if (roof) {
                pixel = Bgra(190, 30, 30);
            } else if (door) {
                pixel = Bgra(90, 50, 10);
            } else if (wall) {
                pixel = Bgra(230, 200, 120);
            } else if (y == 15) {
                pixel = Bgra(40, 150, 40);
            }
        }
    }
    return BitmapOf(pixels, kImageSide, kImageSide);
}

HICON MakeFaceIcon()
{
    std::vector<uint32_t> colour(kImageSide * kImageSide, Bgra(0, 0, 0));
    // Mask rows are 16 bits (two bytes); a set bit is transparent.
    std::vector<BYTE> mask(2 * kImageSide, 0);
    for (int y = 0; y < kImageSide; ++y) {
        for (int x = 0; x < kImageSide; ++x) {
            if (!InDisc(x, y, 7.5)) {
                mask[static_cast<size_t>(y) * 2 + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
                continue;
            }
            const bool eye = y == 5 && (x == 5 || x == 10);
            const bool mouth = y == 10 && x >= 5 && x <= 10;
            const bool rim = !InDisc(x, y, 6.5);
            colour[static_cast<size_t>(y) * kImageSide + x] =
                eye || mouth || rim ? Bgra(60, 40, 0) : Bgra(255, 220, 0);
        }
    }
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = BitmapOf(colour, kImageSide, kImageSide);
    info.hbmMask = CreateBitmap(kImageSide, kImageSide, 1, 1, mask.data());
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return icon;
}

DialogTemplate EveryControlTemplate()
{
    DialogTemplate t;
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    t.fontPointSize = 8;
    t.fontFace = "MS Sans Serif";
    t.caption = "Every Control";
    t.cx = 344;
    t.cy = 258;
    auto& items = t.items;
    // Buttons.
    items.push_back(Item("Button", "Buttons", BS_GROUPBOX, kGroupBoxId, 7, 4, 112, 104));
    items.push_back(Item("Button", "&Push", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, kPushButtonId, 14, 16, 46, 14));
    items.push_back(Item("Button", "&Default", BS_DEFPUSHBUTTON | WS_TABSTOP, kDefaultButtonId, 66, 16, 46, 14));
    items.push_back(Item("Button", "&Check", BS_AUTOCHECKBOX | WS_TABSTOP, kCheckBoxId, 14, 36, 46, 10));
    items.push_back(Item("Button", "&Three", BS_AUTO3STATE | WS_TABSTOP, kThreeStateId, 66, 36, 46, 10));
    items.push_back(Item("Button", "Radio &A", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, kRadioAId, 14, 50, 46, 10));
    items.push_back(Item("Button", "Radio &B", BS_AUTORADIOBUTTON, kRadioBId, 66, 50, 46, 10));
    items.push_back(Item("Button", "Owner", BS_OWNERDRAW | WS_GROUP | WS_TABSTOP, kOwnerDrawId, 14, 66, 46, 14));
    items.push_back(Item("Button", "", BS_PUSHBUTTON | BS_BITMAP | WS_TABSTOP, kBitmapButtonId, 66, 66, 21, 14));
    items.push_back(Item("Button", "", BS_PUSHBUTTON | BS_ICON | WS_TABSTOP, kIconButtonId, 91, 66, 21, 14));
    items.push_back(Item("Button", "To&ggle", BS_AUTOCHECKBOX | BS_PUSHLIKE | WS_TABSTOP, kPushLikeId, 14, 86, 98, 14));
    // Statics.
    items.push_back(Item("Static", "Static text", SS_LEFT, kStaticTextId, 7, 116, 62, 8));
    items.push_back(Item("Static", "", SS_BITMAP, kStaticBitmapId, 76, 112, 16, 16));
    items.push_back(Item("Static", "", SS_ICON, kStaticIconId, 100, 112, 16, 16));
    // Edits.
    items.push_back(
        Item("Edit", "Single line", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, kSingleEditId, 7, 132, 112, 13));
    items.push_back(Item("Edit", "First line\r\nSecond line\r\nThird line",
                         ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP, kMultiEditId, 7, 150,
                         112, 38));
    items.push_back(Item("RichEdit20A", "", ES_MULTILINE | ES_AUTOVSCROLL | WS_BORDER | WS_TABSTOP, kRichEditId, 7,
                         193, 112, 42));
    // Lists.
    items.push_back(Item("ComboBox", "", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, kDropDownId, 126, 4,
                         86, 70));
    items.push_back(Item("ComboBox", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kDropListId, 126, 22, 86, 70));
    items.push_back(
        Item("ListBox", "", LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP, kListBoxId, 126, 40, 86, 46));
    // Scrolling and ranges.
    items.push_back(Item("ScrollBar", "", SBS_HORZ, kHorzScrollId, 126, 90, 86, 10));
    items.push_back(Item("ScrollBar", "", SBS_VERT, kVertScrollId, 216, 4, 10, 96));
    items.push_back(Item("msctls_trackbar32", "", TBS_AUTOTICKS | WS_TABSTOP, kTrackbarId, 126, 104, 100, 18));
    items.push_back(Item("Edit", "5", ES_NUMBER | WS_BORDER | WS_TABSTOP, kBuddyEditId, 126, 126, 44, 13));
    items.push_back(Item("msctls_updown32", "", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS,
                         kUpDownId, 170, 126, 10, 13));
    items.push_back(Item("msctls_progress32", "", 0, kProgressId, 126, 144, 100, 10));
    items.push_back(Item("SysTreeView32", "",
                         TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP,
                         kTreeViewId, 126, 158, 100, 77));
    // Tabs and bars.
    items.push_back(Item("SysTabControl32", "", WS_TABSTOP, kTabId, 232, 4, 105, 60));
    items.push_back(Item("ToolbarWindow32", "", TBSTYLE_FLAT | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER,
                         kToolbarId, 232, 70, 105, 26));
    items.push_back(Item("msctls_statusbar32", "", SBARS_SIZEGRIP, kStatusId, 0, 0, 0, 0));
    items.push_back(Item("Button", "OK", BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, IDOK, 232, 200, 50, 14));
    items.push_back(Item("Button", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, 287, 200, 50, 14));
    return t;
}

std::vector<int> EveryControlIds()
{
    std::vector<int> ids;
    for (const DialogItemTemplate& item : EveryControlTemplate().items) {
        ids.push_back(item.id);
    }
    return ids;
}

CEveryControlDialog::CEveryControlDialog() = default;

CEveryControlDialog::~CEveryControlDialog()
{
    if (m_bitmap != nullptr) {
        DeleteObject(m_bitmap);
    }
    if (m_toolImages != nullptr) {
        DeleteObject(m_toolImages);
    }
    if (m_icon != nullptr) {
        DestroyIcon(m_icon);
    }
}

BOOL CEveryControlDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND dialog = GetSafeHwnd();
    auto send = [dialog](int id, UINT message, WPARAM wParam, LPARAM lParam) {
        return SendDlgItemMessageA(dialog, id, message, wParam, lParam);
    };
    m_bitmap = MakeHouseBitmap();
    m_icon = MakeFaceIcon();

    send(kCheckBoxId, BM_SETCHECK, BST_CHECKED, 0);
    send(kThreeStateId, BM_SETCHECK, BST_INDETERMINATE, 0);
    send(kRadioAId, BM_SETCHECK, BST_CHECKED, 0);
    send(kPushLikeId, BM_SETCHECK, BST_CHECKED, 0);
    send(kBitmapButtonId, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_bitmap));
    send(kIconButtonId, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(m_icon));
    send(kStaticBitmapId, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_bitmap));
    send(kStaticIconId, STM_SETICON, reinterpret_cast<WPARAM>(m_icon), 0);

    // Rich edit: a plain line, a bold red word and a blue line on a pale background.
    HWND rich = ::GetDlgItem(dialog, kRichEditId);
    SendMessageA(rich, EM_SETBKGNDCOLOR, 0, RGB(255, 255, 230));
    auto append = [rich](const char* text, DWORD effects, COLORREF colour) {
        SendMessageA(rich, EM_SETSEL, -1, -1);
        CHARFORMATA format{};
        format.cbSize = sizeof(format);
        format.dwMask = CFM_BOLD | CFM_COLOR;
        format.dwEffects = effects;
        format.crTextColor = colour;
        SendMessageA(rich, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        SendMessageA(rich, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
    };
    append("Rich edit with ", 0, RGB(0, 0, 0));
    append("bold red", CFE_BOLD, RGB(200, 0, 0));
    append(" text\r\n", 0, RGB(0, 0, 0));
    append("and a blue line", 0, RGB(0, 0, 200));

    for (const char* text : {"Alpha", "Beta", "Gamma", "Delta"}) {
        send(kDropDownId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        send(kDropListId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    send(kDropDownId, CB_SETCURSEL, 0, 0);
    send(kDropListId, CB_SETCURSEL, 2, 0);
    for (const char* text : {"Roughing", "Finishing", "Drilling", "Chamfering", "Engraving", "Facing"}) {
        send(kListBoxId, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    send(kListBoxId, LB_SETCURSEL, 1, 0);

    SCROLLINFO scroll{};
    scroll.cbSize = sizeof(scroll);
    scroll.fMask = SIF_ALL;
    scroll.nMin = 0;
    scroll.nMax = 100;
    scroll.nPage = 20;
    scroll.nPos = 30;
    send(kHorzScrollId, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&scroll));
    scroll.nPos = 60;
    send(kVertScrollId, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&scroll));
    send(kTrackbarId, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
    send(kTrackbarId, TBM_SETPOS, TRUE, 4);
    send(kUpDownId, UDM_SETRANGE32, 0, 99);
    send(kUpDownId, UDM_SETPOS32, 0, 5);
    send(kProgressId, PBM_SETPOS, 60, 0);

    HWND tree = ::GetDlgItem(dialog, kTreeViewId);
    auto insert = [tree](const char* text, HTREEITEM parent) {
        TVINSERTSTRUCTA insert{};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = const_cast<char*>(text);
        return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    };
    HTREEITEM part = insert("Part", TVI_ROOT);
    insert("Pocket", part);
    HTREEITEM contour = insert("Contour", part);
    insert("Drilling", TVI_ROOT);
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(part));
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(contour));

    int index = 0;
    for (const char* text : {"First", "Second", "Third"}) {
        TCITEMA tab{};
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<char*>(text);
        send(kTabId, TCM_INSERTITEMA, index++, reinterpret_cast<LPARAM>(&tab));
    }

    // Toolbar: three image buttons and a text button.
    m_toolImages = ::CreateBitmap(3 * kImageSide, kImageSide, 1, 32, nullptr);
    {
        HDC memory = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(memory, m_toolImages);
        RECT all{0, 0, 3 * kImageSide, kImageSide};
        HBRUSH grey = CreateSolidBrush(RGB(192, 192, 192));
        FillRect(memory, &all, grey);
        DeleteObject(grey);
        const COLORREF colours[] = {RGB(220, 40, 40), RGB(40, 170, 60), RGB(40, 80, 220)};
        for (int i = 0; i < 3; ++i) {
            HBRUSH brush = CreateSolidBrush(colours[i]);
            HGDIOBJ oldBrush = SelectObject(memory, brush);
            Ellipse(memory, i * kImageSide + 2, 2, i * kImageSide + 14, 14);
            SelectObject(memory, oldBrush);
            DeleteObject(brush);
        }
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    send(kToolbarId, TB_SETBITMAPSIZE, 0, MAKELPARAM(kImageSide, kImageSide));
    TBADDBITMAP images{nullptr, reinterpret_cast<UINT_PTR>(m_toolImages)};
    send(kToolbarId, TB_ADDBITMAP, 3, reinterpret_cast<LPARAM>(&images));
    TBBUTTON buttons[5]{};
    for (int i = 0; i < 3; ++i) {
        buttons[i].iBitmap = i;
        buttons[i].idCommand = 2010 + i;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_BUTTON;
    }
    buttons[1].fsState |= TBSTATE_CHECKED;
    buttons[1].fsStyle = BTNS_CHECK;
    buttons[3].fsStyle = BTNS_SEP;
    buttons[4].iBitmap = -2; // no image
    buttons[4].idCommand = 2014;
    buttons[4].fsState = TBSTATE_ENABLED;
    buttons[4].fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
    buttons[4].iString = reinterpret_cast<INT_PTR>("Go");
    send(kToolbarId, TB_ADDBUTTONSA, 5, reinterpret_cast<LPARAM>(buttons));

    const int parts[] = {120, 240, -1};
    send(kStatusId, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
    send(kStatusId, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("Status bar"));
    send(kStatusId, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>("Second pane"));
    send(kStatusId, SB_SETTEXTA, 2, reinterpret_cast<LPARAM>("Third"));
    return TRUE;
}

LRESULT CEveryControlDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM && wParam == static_cast<WPARAM>(kOwnerDrawId)) {
        // The owner-drawn button: a green face with its text, pushed in when selected.
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        RECT rect = draw->rcItem;
        HBRUSH face = CreateSolidBrush(RGB(200, 235, 200));
        FillRect(draw->hDC, &rect, face);
        DeleteObject(face);
        DrawEdge(draw->hDC, &rect, (draw->itemState & ODS_SELECTED) != 0 ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        SetBkMode(draw->hDC, TRANSPARENT);
        DrawTextA(draw->hDC, "Owner", -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return TRUE;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

} // namespace demo
