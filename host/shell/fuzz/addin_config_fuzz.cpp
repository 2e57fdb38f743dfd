// Fuzz target for the add-in configuration reader and the registry key
// name parser: any bytes give a class id or none, without reading past the
// input; an id read back from its written form is the same id.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "host/shell/addin_config.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const std::optional<CLSID> id = ReadAddinConfig(text)) {
        const std::optional<CLSID> again = ReadAddinConfig(FormatAddinConfig(*id));
        if (!again || !(*again == *id)) {
            __builtin_trap();
        }
    }
    ParseClsidText(text);
    return 0;
}
