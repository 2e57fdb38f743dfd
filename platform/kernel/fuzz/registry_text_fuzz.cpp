// The registry file reader on any bytes: it never fails, and what it keeps
// is written and read back unchanged.
#include <cstdint>
#include <string_view>

#include "platform/kernel/registry_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const RegistryTree tree = ReadRegistryText(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string written = WriteRegistryText(tree);
    if (WriteRegistryText(ReadRegistryText(written)) != written) {
        __builtin_trap();
    }
    return 0;
}
