// The program with the milling add-in: a test's program folder holding the
// built add-in module, the postprocessor plug-in, the entity component and
// the add-in's shipped data (language file, tool store, machine store and
// the sample part), as the program folder of a real run holds them.
#pragma once

#include <string>

#include "platform/base/types.h"

class CNuvexApp;
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
