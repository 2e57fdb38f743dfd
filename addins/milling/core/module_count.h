// The module-wide object count that DllCanUnloadNow tests: raised and
// lowered by the class factory's references and locks and by every
// command, pane, handler and job object (the add-in object does not count).
// Everything runs on the host's user-interface thread, so it is a plain
// integer.
#pragma once

#include <cstdint>

int32_t ModuleObjectCount();
void RaiseModuleObjectCount();
void LowerModuleObjectCount();
