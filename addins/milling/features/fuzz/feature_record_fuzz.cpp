// Fuzz target: the feature record reader of the contour and pocket features.
// Any bytes must be refused or read within their size; a record that reads
// saves to bytes that read back to the same record.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "addins/milling/features/contourfeature.h"
#include "addins/milling/features/pocketfeature.h"

namespace {

template <class Feature>
void LoadAndSaveBack(const uint8_t* data, size_t size)
{
    Feature feature;
    const Result<size_t> read = feature.Load(data, size, nullptr);
    if (!read.ok())
        return;
    if (read.value() > size)
        std::abort();
    const std::vector<uint8_t> saved = feature.SaveRecord();
    if (saved.size() != feature.GetSize())
        std::abort();
    Feature again;
    const Result<size_t> reread = again.Load(saved.data(), saved.size(), nullptr);
    if (!reread.ok() || reread.value() != saved.size() || again.SaveRecord() != saved)
        std::abort();
    if (again.Moves().size() != feature.Moves().size() || again.m_name != feature.m_name ||
        again.m_params.tool.name != feature.m_params.tool.name)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LoadAndSaveBack<CContourFeature>(data, size);
    LoadAndSaveBack<CPocketFeature>(data, size);
    return 0;
}
