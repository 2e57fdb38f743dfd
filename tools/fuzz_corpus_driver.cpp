// Replays a fuzz target's seed corpus (a folder of files, or single files) as
// an ordinary test, so that every build checks the inputs the fuzzer keeps.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

int RunFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // An empty vector's data() may be null; the fuzzer never passes null.
    static const uint8_t kEmpty = 0;
    LLVMFuzzerTestOneInput(bytes.empty() ? &kEmpty : bytes.data(), bytes.size());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    int failures = 0;
    int files = 0;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path arg(argv[i]);
        if (std::filesystem::is_directory(arg)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(arg)) {
                if (entry.is_regular_file()) {
                    failures += RunFile(entry.path());
                    ++files;
                }
            }
        } else {
            failures += RunFile(arg);
            ++files;
        }
    }
    std::printf("%d corpus files replayed\n", files);
    if (files == 0) {
        std::fprintf(stderr, "no corpus files found\n");
        return 1;
    }
    return failures == 0 ? 0 : 1;
}
