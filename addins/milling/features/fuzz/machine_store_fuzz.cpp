// Fuzz target: the machine store reader (poststore.dat). Any text must load
// as the complete entries before the first one that does not match the
// format; what loaded writes a file that loads whole into the same entries.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "addins/milling/features/postprocessorlist.h"

namespace {

// A file of this run's own, removed at the end.
struct TemporaryFile {
    std::string path;
    TemporaryFile()
    {
        char name[] = "/tmp/machine_store_fuzz_XXXXXX";
        const int fd = mkstemp(name);
        if (fd < 0)
            std::abort();
        close(fd);
        path = name;
    }
    ~TemporaryFile() { std::remove(path.c_str()); }
};

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "machine store: %s\n", what);
    std::abort();
}

bool SameEntries(const CPostprocessorList& a, const CPostprocessorList& b)
{
    if (a.GetCount() != b.GetCount())
        return false;
    for (int i = 0; i < a.GetCount(); ++i) {
        const CPostprocessorSettings &x = a[i], &y = b[i];
        if (x.name != y.name || x.modal != y.modal || x.separator != y.separator || x.current != y.current ||
            x.lineNumbers != y.lineNumbers)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TemporaryFile input, output;
    {
        FILE* file = std::fopen(input.path.c_str(), "wb");
        if (file == nullptr)
            std::abort();
        if (size > 0 && std::fwrite(data, 1, size, file) != size)
            std::abort();
        std::fclose(file);
    }
    CPostprocessorList list;
    const MachineStoreStatus status = list.Read(input.path.c_str());
    if (status == MachineStoreStatus::CannotOpen)
        Fail("the file written cannot be opened");
    for (const CPostprocessorSettings& entry : list.Entries())
        if (entry.name.size() > kMaxMachineNameLength || entry.name.find('\n') != std::string::npos)
            Fail("a name read that the store cannot hold");
    if (list.GetCurrent() < 0 || list.GetCurrent() > list.GetCount())
        Fail("the current entry lies outside the list");
    const MachineStoreStatus written = list.Write(output.path.c_str());
    if (written == MachineStoreStatus::UnsavableName) {
        // Only a name that ends in a carriage return (from CR CR LF) reads
        // but cannot be written back.
        for (const CPostprocessorSettings& entry : list.Entries())
            if (!entry.name.empty() && entry.name.back() == '\r')
                return 0;
        Fail("a name read is refused at writing");
    }
    if (written != MachineStoreStatus::Ok)
        Fail("what was read cannot be written");
    CPostprocessorList again;
    if (again.Read(output.path.c_str()) != MachineStoreStatus::Ok)
        Fail("what was written does not read whole");
    if (!SameEntries(list, again)) {
        for (const CPostprocessorList* l : {&list, &again})
            for (const CPostprocessorSettings& e : l->Entries())
                std::fprintf(stderr, "[%s] %d %d %d %d\n", e.name.c_str(), e.modal, e.separator, e.current,
                             e.lineNumbers);
        Fail("what was written reads as other entries");
    }
    return 0;
}
