// Fuzz target: the tool store reader. Any text must load whole or not at
// all; a loaded store writes a text that loads into the same text again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "addins/milling/core/tool_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CToolList list;
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (list.Parse(text).status != ToolStoreStatus::Ok) {
        if (!list.empty())
            std::abort();
        return 0;
    }
    std::string written;
    if (list.Format(written) != ToolStoreStatus::Ok)
        return 0; // names the format cannot hold are refused at saving
    CToolList again;
    if (again.Parse(written).status != ToolStoreStatus::Ok || again.size() != list.size())
        std::abort();
    std::string rewritten;
    if (again.Format(rewritten) != ToolStoreStatus::Ok || rewritten != written)
        std::abort();
    return 0;
}
