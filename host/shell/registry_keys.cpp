// The walk over the registered classes.
#include "host/shell/registry_keys.h"

namespace {

constexpr const char* kClassesKey = "CLSID";
// Registry key names are at most this long.
constexpr DWORD kKeyNameSize = 261;

} // namespace

BOOL ForEachClassKey(const std::function<KeyWalk(HKEY classes, std::string_view name)>& visit)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kClassesKey, 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return FALSE;
    }
    const OpenedKey classes(opened);
    for (DWORD index = 0;; ++index) {
        char name[kKeyNameSize] = {};
        DWORD nameSize = sizeof name;
        if (RegEnumKeyExA(classes.get(), index, name, &nameSize, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            return TRUE;
        }
        if (visit(classes.get(), name) == KeyWalk::Stop) {
            return TRUE;
        }
    }
}
