// Fixtures of the menu-look tests.
#include "host/menulook/tests/menu_test_support.h"

#include <cstring>

#include "host/menulook/menu_colors.h"
#include "host/menulook/menu_drawing.h"
#include "host/menulook/menu_library.h"
#include "platform/gdi/gdi.h"
#include "platform/user/menu.h"

namespace {

// Five 16 x 15 images: a coloured square with a dark frame on the button
// face colour, which the tool bar takes as transparent.
ImagePixels ToolBarStrip()
{
    const uint32_t colours[] = {0xFF2E7D32, 0xFF1565C0, 0xFFEF6C00, 0xFFC62828, 0xFF6A1B9A};
    ImagePixels strip;
    strip.width = 16 * 5;
    strip.height = 15;
    strip.bgra.resize(static_cast<size_t>(strip.width) * 15 * 4);
    const COLORREF face = GetSysColor(COLOR_3DFACE);
    for (LONG y = 0; y < 15; ++y) {
        for (LONG x = 0; x < strip.width; ++x) {
            const int image = x / 16;
            const int ix = x % 16;
            uint32_t p = 0xFF000000u | (static_cast<uint32_t>(GetRValue(face)) << 16) |
                         (static_cast<uint32_t>(GetGValue(face)) << 8) | GetBValue(face);
            const bool inside = ix >= 2 && ix <= 13 && y >= 2 && y <= 12;
            const bool edge = inside && (ix == 2 || ix == 13 || y == 2 || y == 12);
            if (edge) {
                p = 0xFF202020;
            } else if (inside) {
                p = colours[image];
            }
            uint8_t* out = &strip.bgra[(static_cast<size_t>(y) * static_cast<size_t>(strip.width) +
                                        static_cast<size_t>(x)) * 4];
            std::memcpy(out, &p, 4);
        }
    }
    return strip;
}

LRESULT OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MEASUREITEM: {
        if (MeasureNewMenuItem(hwnd, wParam, lParam)) {
            return TRUE;
        }
        break;
    }
    case WM_DRAWITEM:
        if (DrawNewMenuItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam))) {
            return TRUE;
        }
        break;
    case WM_INITMENUPOPUP:
        OnMenuInitPopup(hwnd, CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_MENUCHAR:
        if (LRESULT answer = HookMenuPopup(LOWORD(wParam), HIWORD(wParam),
                                           CMenu::FromHandle(reinterpret_cast<HMENU>(lParam)))) {
            return answer;
        }
        break;
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(hwnd, &client);
        FillSolidRect(reinterpret_cast<HDC>(wParam), &client, RGB(255, 255, 255));
        return TRUE;
    }
    default: break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace

FixtureResources::FixtureResources()
{
    ToolbarTemplate toolBar;
    toolBar.width = 16;
    toolBar.height = 15;
    toolBar.items = {static_cast<WORD>(kCmdNew), static_cast<WORD>(kCmdOpen), static_cast<WORD>(kCmdSave), 0,
                     static_cast<WORD>(kCmdCut), static_cast<WORD>(kCmdPrint)};
    m_toolBar = EncodeToolbarTemplate(toolBar);
    m_bitmap = EncodeBitmap(ToolBarStrip());
    m_entries[0] = {kResourceToolbar, static_cast<WORD>(kToolBarId), m_toolBar.data(),
                    static_cast<DWORD>(m_toolBar.size())};
    m_entries[1] = {kResourceBitmap, static_cast<WORD>(kToolBarId), m_bitmap.data(), static_cast<DWORD>(m_bitmap.size())};
    RegisterModuleResources(reinterpret_cast<const void*>(&ToolBarStrip), m_entries, 2);
}

FixtureResources::~FixtureResources() { UnregisterModuleResources(m_entries); }

CapturedPixels CaptureWindow(HWND window)
{
    CapturedPixels captured;
    const GdiSurface surface = GetWindowSurface(window);
    if (surface.pixels == nullptr) {
        return captured;
    }
    captured.width = surface.width;
    captured.height = surface.height;
    captured.pixels.resize(static_cast<size_t>(surface.width) * static_cast<size_t>(surface.height));
    for (int y = 0; y < surface.height; ++y) {
        std::memcpy(&captured.pixels[static_cast<size_t>(y) * static_cast<size_t>(surface.width)],
                    surface.pixels + static_cast<size_t>(y) * static_cast<size_t>(surface.stride),
                    static_cast<size_t>(surface.width) * 4);
    }
    return captured;
}

HWND CreateMenuOwnerWindow(const RECT& rect)
{
    WNDCLASSA wc{};
    if (GetClassInfoA(nullptr, "MenuLookOwner", &wc) == FALSE) {
        wc.lpfnWndProc = &OwnerProc;
        wc.lpszClassName = "MenuLookOwner";
        RegisterClassA(&wc);
    }
    HWND window = CreateWindowExA(0, "MenuLookOwner", "Owner", WS_POPUP | WS_VISIBLE, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
    UpdateWindow(window);
    return window;
}

void MenuLookTest::SetUp()
{
    ResetWindowSystem();
    CNewMenu::InitLibrary();
    ResetScreenColorDepth();
    ForgetMenuBackgroundBrushes();
    MenuLibrary().lastMessagePos = 0;
    m_resources = std::make_unique<FixtureResources>();
}

void MenuLookTest::TearDown()
{
    SetIdleScript(nullptr);
    CNewMenu::SetMenuDrawMode(8);
    m_resources.reset();
    ResetWindowSystem();
}

void MenuLookTest::UseStyle(int code)
{
    CNewMenu::SetMenuDrawMode(code);
    ForgetMenuBackgroundBrushes();
    CNewMenu::RefreshMenuCaches();
}

HWND FindPopupWindow(int level)
{
    struct Search {
        int wanted;
        int seen = 0;
        HWND found = nullptr;
    } search{level};
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            char name[20] = {};
            GetClassNameA(hwnd, name, static_cast<int>(sizeof name));
            if (std::strcmp(name, "#32768") == 0 && IsWindowVisible(hwnd) != FALSE) {
                if (s->seen++ == s->wanted) {
                    s->found = hwnd;
                    return FALSE;
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void RunPopup(HMENU menu, HWND owner, POINT at, std::vector<std::function<void()>> steps)
{
    size_t next = 0;
    SetIdleScript([&]() {
        if (next >= steps.size()) {
            return false;
        }
        steps[next++]();
        return true;
    });
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, owner, nullptr);
    SetIdleScript(nullptr);
}
