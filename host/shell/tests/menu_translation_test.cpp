// Menu translation from the language table: an in-memory menu translated in
// two languages whose tables have gaps (the chosen language wins, English
// fills in, a text missing from both leaves the item alone), popups missing
// from the menu, the "&Toolbars" submenu captioned by position and kept, and
// items that keep their ids, states and submenus; plain menus and the menu
// look's owner-drawn ones alike.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/menulook/new_menu.h"
#include "host/shell/language_table.h"
#include "host/shell/menu_translation.h"
#include "platform/user/menu.h"

namespace {

constexpr const char* kTable =
    "EN MENU 0 &File\n"
    "EN MENU 2 &View\n"
    "EN MENU 5 &Help\n"
    "EN MENU 21 &Toolbars\n"
    "EN MENUITEM 57600 &New\tCtrl+N\n"
    "EN MENUITEM 57601 &Open...\tCtrl+O\n"
    "EN MENUITEM 59393 &Status Bar\n"
    "EN MENUITEM 57664 &About nuvex...\n"
    "DE MENU 0 &Datei\n"
    "DE MENU 2 &Ansicht\n"
    "DE MENU 21 &Symbolleisten\n"
    "DE MENUITEM 57600 &Neu\tStrg+N\n"
    "DE MENUITEM 59393 Status&leiste\n"
    "DE MENUITEM 57648 &Neues Fenster\n";

std::string Text(HMENU menu, UINT position) { return GetMenuItemCaption(menu, position); }

// The main frame's own menu: no "&Edit" and no "&Window" popups, and a
// "&Tools" popup whose item has no text in either language.
struct FrameMenu {
    HMENU bar = ::CreateMenu();
    HMENU file = ::CreatePopupMenu();
    HMENU view = ::CreatePopupMenu();
    HMENU toolbars = ::CreatePopupMenu();
    HMENU tools = ::CreatePopupMenu();
    HMENU help = ::CreatePopupMenu();
    HMENU other = ::CreatePopupMenu();

    FrameMenu()
    {
        ::AppendMenuA(file, MF_STRING, 57600, "&New\tCtrl+N");
        ::AppendMenuA(file, MF_STRING | MF_GRAYED, 57601, "&Open...\tCtrl+O");
        ::AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(file, MF_STRING, 57665, "E&xit");
        ::AppendMenuA(toolbars, MF_STRING, 59392, "&Standard");
        ::AppendMenuA(view, MF_POPUP, reinterpret_cast<UINT_PTR>(toolbars), "&Toolbars");
        ::AppendMenuA(view, MF_STRING | MF_CHECKED, 59393, "&Status Bar");
        ::AppendMenuA(tools, MF_STRING, 32771, "&Options...");
        ::AppendMenuA(help, MF_STRING, 57664, "&About nuvex...");
        // Not a standard popup: its items are not translated even where the
        // table has their ids.
        ::AppendMenuA(other, MF_STRING, 57600, "Other new");
        ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
        ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(view), "&View");
        ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(tools), "&Tools");
        ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(other), "&Milling");
        ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "&Help");
    }
    // (A menu the menu look took over goes with it.)
    ~FrameMenu()
    {
        if (::IsMenu(bar)) {
            ::DestroyMenu(bar);
        }
    }
};

struct Expected {
    std::vector<std::string> captions;
    std::vector<std::string> fileItems;
    std::string toolbars;
    std::string statusBar;
};

TEST(MenuTranslation, TheChosenLanguageWinsEnglishFillsItsGapsAndMissingTextsLeaveItemsAlone)
{
    struct Case {
        const char* language;
        Expected expected;
    };
    const Case cases[] = {
        {"DE",
         {{"&Datei", "&Ansicht", "&Tools", "&Milling", "&Help"},
          {"&Neu\tStrg+N", "&Open...\tCtrl+O", "", "E&xit"},
          "&Symbolleisten",
          "Status&leiste"}},
        {"EN",
         {{"&File", "&View", "&Tools", "&Milling", "&Help"},
          {"&New\tCtrl+N", "&Open...\tCtrl+O", "", "E&xit"},
          "&Toolbars",
          "&Status Bar"}},
    };
    for (const bool ownerDrawn : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.language);
            SCOPED_TRACE(ownerDrawn ? "owner-drawn" : "plain");
            CLanguageTable texts;
            texts.SetChosenLanguage(c.language);
            texts.Merge(kTable);
            FrameMenu menu;
            // The menu look takes the menu over as the drawings' template does
            // (and destroys it before the plain owner would).
            CNewMenu look(nullptr);
            if (ownerDrawn) {
                ASSERT_TRUE(look.LoadMenu(menu.bar));
                ASSERT_NE(dynamic_cast<CNewMenu*>(CMenu::FromHandlePermanent(menu.file)), nullptr);
            }
            ApplyMenuLanguage(texts, menu.bar);

            std::vector<std::string> captions;
            for (int i = 0; i < ::GetMenuItemCount(menu.bar); ++i) {
                captions.push_back(Text(menu.bar, static_cast<UINT>(i)));
            }
            EXPECT_EQ(captions, c.expected.captions);
            std::vector<std::string> fileItems;
            for (int i = 0; i < ::GetMenuItemCount(menu.file); ++i) {
                fileItems.push_back(Text(menu.file, static_cast<UINT>(i)));
            }
            EXPECT_EQ(fileItems, c.expected.fileItems);
            EXPECT_EQ(Text(menu.view, 0), c.expected.toolbars);
            EXPECT_EQ(Text(menu.view, 1), c.expected.statusBar);
            EXPECT_EQ(Text(menu.other, 0), "Other new");

            // Popups stay the same submenus, items keep their ids and states.
            EXPECT_EQ(::GetSubMenu(menu.bar, 0), menu.file);
            EXPECT_EQ(::GetSubMenu(menu.view, 0), menu.toolbars);
            EXPECT_EQ(Text(menu.toolbars, 0), "&Standard");
            EXPECT_EQ(::GetMenuItemID(menu.file, 0), 57600u);
            EXPECT_NE(::GetMenuState(menu.file, 1, MF_BYPOSITION) & MF_GRAYED, 0u);
            EXPECT_NE(::GetMenuState(menu.view, 1, MF_BYPOSITION) & MF_CHECKED, 0u);
        }
    }
}

TEST(MenuTranslation, PopupsAreFoundByTheirEnglishCaptionsOnly)
{
    CLanguageTable texts;
    texts.SetChosenLanguage("DE");
    texts.Merge(kTable);
    FrameMenu menu;
    ApplyMenuLanguage(texts, menu.bar);
    // Once translated, the popups are no longer found: a second pass
    // changes nothing, even with another table.
    CLanguageTable other;
    other.Merge("EN MENU 0 &Files\nEN MENUITEM 57600 New drawing\n");
    ApplyMenuLanguage(other, menu.bar);
    EXPECT_EQ(Text(menu.bar, 0), "&Datei");
    EXPECT_EQ(Text(menu.file, 0), "&Neu\tStrg+N");
    // A null menu is left alone.
    ApplyMenuLanguage(texts, nullptr);
}

} // namespace
