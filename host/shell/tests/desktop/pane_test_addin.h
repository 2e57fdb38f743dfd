// The pane test add-in, a real add-in module that the desktop pane test
// loads through the registry stand-in: its class ids, its command numbers,
// and the export through which the test reads what its objects heard.
#pragma once

#include "platform/base/guid.h"

// The add-in object (the module's class).
inline constexpr CLSID CLSID_PaneTestAddin = {0x3f1c7a10, 0x55d2, 0x4b8e, {0x9a, 0x01, 0x6e, 0x2b, 0x7c, 0x11, 0x40, 0x01}};
// The pane objects of the tree and text pages and the command that fills
// the control-panel page.
inline constexpr CLSID CLSID_PaneTestTree = {0x3f1c7a10, 0x55d2, 0x4b8e, {0x9a, 0x01, 0x6e, 0x2b, 0x7c, 0x11, 0x40, 0x02}};
inline constexpr CLSID CLSID_PaneTestText = {0x3f1c7a10, 0x55d2, 0x4b8e, {0x9a, 0x01, 0x6e, 0x2b, 0x7c, 0x11, 0x40, 0x03}};
inline constexpr CLSID CLSID_PaneTestPanelCommand = {0x3f1c7a10, 0x55d2, 0x4b8e,
                                                     {0x9a, 0x01, 0x6e, 0x2b, 0x7c, 0x11, 0x40, 0x04}};

inline constexpr long kPaneTestTreeCommand = 1;
inline constexpr long kPaneTestTextCommand = 2;
inline constexpr long kPaneTestPanelCommand = 3;

// The group: docked at the left at first, with tabs, allowed on every side.
inline constexpr long kPaneTestGroupFlags = 0x1 | 0x10 | 0x100 | 0x200 | 0x400 | 0x800;
inline constexpr const char* kPaneTestGroupName = "Test panes";
// The pages in order.
inline constexpr long kPaneTestTreePage = 0;
inline constexpr long kPaneTestTextPage = 1;
inline constexpr long kPaneTestPanelPage = 2;
// The control IDs on the command's panel.
inline constexpr long kPaneTestEditId = 101;
inline constexpr long kPaneTestApplyId = 102;

// Copies what the module's objects heard, one entry per line, into the
// buffer (cut to its size, zero-terminated); answers the length.
using PaneTestLogFunction = int (*)(char* buffer, int size);
inline constexpr const char* kPaneTestLogExport = "PaneTestAddinLog";
