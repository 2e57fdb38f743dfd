// The program with the milling add-in: a test's program folder holding the
// built add-in module, the postprocessor plug-in, the entity component and
// the add-in's shipped data (language file, tool store, machine store and
// the sample part), as the program folder of a real run holds them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/base/types.h"

class CNuvexApp;
class CNuvexDoc;
class CNuvexView;
class TestProgramFolder;

// What a program folder of the milling add-in holds.
enum class StrimoModulePlace {
    AddIns, // the program loads and connects it at start-up
    Aside,  // "Modules/strimo.so": a test loads it itself
};

// Fills `folder` with the add-in's files; the path of the add-in module.
std::string AddStrimoFiles(const TestProgramFolder& folder, StrimoModulePlace place);

// The text of a menu item: its own, or for an owner-drawn item the text of
// its item record; "" for a separator or outside the menu.
std::string MenuItemText(HMENU menu, int position);

// At the end of a test's run: the add-in object and its class factory that
// the program's record of the add-in holds are released (the program keeps
// them until the process ends), so that what they made is freed.
void ReleaseStrimoRecord(CNuvexApp& app);

// Helpers of the tests that drive the program's windows.

// The name field of the file dialogs.
inline constexpr int kFileNameEdit = 1152;

inline POINT Centre(RECT rect) { return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

std::string WindowText(HWND window);

// The first visible window below `root` with control id `id` (and, when
// given, of window class `className`), or null.
HWND FindVisibleControl(HWND root, int id, const char* className = nullptr);

// The file dialog while it is up (the active window holding the name
// field), else null.
HWND FileDialog();

// A checksum of what the X server shows of `region` (screen); 0 when
// nothing is shown.
uint64_t ShownChecksum(HWND top, RECT region);

// The visible drop-down list of a combo box, or null.
HWND DroppedList();

// The open document saved at `path`, or null.
CNuvexDoc* DocumentAt(CNuvexApp& app, const std::filesystem::path& path);
CNuvexView* FirstView(CNuvexDoc* document);

// The page tab named `page` of a visible tab control below `root`: the tab
// control, and the tab's rectangle in its client coordinates; null when
// there is none.
HWND FindPageTab(HWND root, const std::string& page, RECT* tab);
