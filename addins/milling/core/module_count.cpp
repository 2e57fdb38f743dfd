// The module-wide object count.
#include "addins/milling/core/module_count.h"

namespace {
int32_t g_moduleObjectCount = 0;
}

int32_t ModuleObjectCount() { return g_moduleObjectCount; }
void RaiseModuleObjectCount() { ++g_moduleObjectCount; }
void LowerModuleObjectCount() { --g_moduleObjectCount; }
