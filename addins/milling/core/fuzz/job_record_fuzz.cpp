// Fuzz target: the milling job's record reader. Any block must be refused
// whole or read whole; a read record writes a record of the size it
// reports, which reads back and writes the same bytes again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "addins/milling/core/job_record.h"
#include "addins/milling/core/milling_operation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    JobRecordContent content;
    const JobRecordStatus status = ReadJobRecord(data, size, nullptr, content);
    if (!status.ok()) {
        if (!content.operations.empty() || content.activeOperation != -1)
            std::abort();
        return 0;
    }
    const std::vector<uint8_t> written = WriteJobRecord(content.activeOperation, content.operations);
    if (written.size() != JobRecordSize(content.operations))
        std::abort();
    JobRecordContent again;
    if (!ReadJobRecord(written.data(), written.size(), nullptr, again).ok())
        std::abort();
    if (WriteJobRecord(again.activeOperation, again.operations) != written)
        std::abort();
    return 0;
}
