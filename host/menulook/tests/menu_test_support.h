// Fixtures of the menu-look tests: a fresh window system with the library
// started, an owner window that routes the owner-draw messages of menus to
// CNewMenu, a tool bar resource with coloured images, and capturing a
// popup menu's pixels while its loop runs.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "host/menulook/new_menu.h"
#include "platform/gdi/surface.h"
#include "platform/kernel/resource.h"
#include "platform/user/inspect.h"
#include "platform/user/winuser.h"

// Command ids of the fixture's tool bar (resource 900): New, Open, Save,
// Cut and Print, with a separator between Save and Cut.
inline constexpr UINT kToolBarId = 900;
inline constexpr UINT kCmdNew = 57600;
inline constexpr UINT kCmdOpen = 57601;
inline constexpr UINT kCmdSave = 57603;
inline constexpr UINT kCmdCut = 57635;
inline constexpr UINT kCmdPrint = 57607;

// The tool bar resource and its bitmap, registered for the test program.
class FixtureResources {
public:
    FixtureResources();
    ~FixtureResources();
    FixtureResources(const FixtureResources&) = delete;
    FixtureResources& operator=(const FixtureResources&) = delete;

private:
    std::vector<uint8_t> m_toolBar;
    std::vector<uint8_t> m_bitmap;
    ResourceEntry m_entries[2];
};

// A copy of a window's pixels.
struct CapturedPixels {
    std::vector<uint32_t> pixels;
    int width = 0;
    int height = 0;
    GdiSurface Surface()
    {
        return GdiSurface{pixels.data(), width, height, width};
    }
    bool Empty() const { return pixels.empty(); }
};
CapturedPixels CaptureWindow(HWND window);

// A window whose procedure routes WM_MEASUREITEM, WM_DRAWITEM,
// WM_INITMENUPOPUP and WM_MENUCHAR to the menu library.
HWND CreateMenuOwnerWindow(const RECT& rect);

class MenuLookTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Fresh screen colours and caches for a style code.
    void UseStyle(int code);

    std::unique_ptr<FixtureResources> m_resources;
};

// Runs the popup at (x, y) owned by `owner`; `steps` run one per idle turn
// of the loop (mouse moves, keys, captures); after the last the loop ends.
void RunPopup(HMENU menu, HWND owner, POINT at, std::vector<std::function<void()>> steps);
// The first visible popup-menu window, or null.
HWND FindPopupWindow(int level = 0);
