// Fuzz target for the language table reader: any text merges into a table
// (as the chosen language and as the default one) without reading past the
// input, and every look-up afterwards gives a terminated text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "host/shell/language_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CLanguageTable table;
    table.SetChosenLanguage("DE");
    table.Merge(text);
    table.Merge(text);
    for (size_t section = 0; section < kLanguageSectionCount; ++section) {
        for (LONG id = -1; id < 4; ++id) {
            const char* found = table.GetText(static_cast<LanguageSection>(section), id, "default");
            if (std::strlen(found) > size + 7) {
                __builtin_trap();
            }
        }
    }
    table.GetLNameKey(table.GetLNameText("EN", ""), "");
    return 0;
}
