// Loading modules by the system's names: ".dll" finds ".so", "\" separates
// folders, letter case does not matter, and only a module's own exports are
// found in it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/kernel/errors.h"
#include "platform/kernel/module.h"

namespace {

const std::string kModuleFolder = KERNEL_TEST_MODULE_DIR;
const std::string kModulePath = kModuleFolder + "/KernelTestModule.so";

std::string Backslashed(std::string path)
{
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

// Frees a module at the end of a scope.
class Loaded {
public:
    explicit Loaded(const std::string& name) : m_module(LoadLibraryA(name.c_str())) {}
    ~Loaded()
    {
        if (m_module != nullptr) {
            FreeLibrary(m_module);
        }
    }
    Loaded(const Loaded&) = delete;
    Loaded& operator=(const Loaded&) = delete;
    HMODULE Get() const { return m_module; }

private:
    HMODULE m_module;
};

} // namespace

TEST(Module, SystemNamesFindTheSharedLibrary)
{
    const std::string kNames[] = {
        kModulePath,
        kModuleFolder + "/KernelTestModule.dll",
        Backslashed(kModuleFolder) + "\\KernelTestModule.dll",
        kModuleFolder + "/KERNELTESTMODULE.DLL",
    };
    Loaded reference(kModulePath);
    ASSERT_NE(reference.Get(), nullptr);
    for (const std::string& name : kNames) {
        SCOPED_TRACE(name);
        Loaded module(name);
        EXPECT_EQ(module.Get(), reference.Get());
    }
    // Loaded now, so a bare name finds it without a folder.
    Loaded byTitle("kerneltestmodule.dll");
    EXPECT_EQ(byTitle.Get(), reference.Get());
    EXPECT_EQ(GetModuleHandleA("KERNELTESTMODULE.DLL"), reference.Get());
    EXPECT_EQ(GetModuleHandleA(kModulePath.c_str()), reference.Get());

    char path[512];
    const DWORD length = GetModuleFileNameA(reference.Get(), path, sizeof path);
    EXPECT_EQ(std::string(path, length), kModulePath);

    using Answer = int (*)();
    auto answer = reinterpret_cast<Answer>(GetProcAddress(reference.Get(), "KernelTestAnswer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
}

TEST(Module, MissingModulesAndExports)
{
    const char* kMissing[] = {"uxtheme.dll", "Msimg32.dll", "nowhere\\x.dll", ""};
    for (const char* name : kMissing) {
        SCOPED_TRACE(name);
        EXPECT_EQ(LoadLibraryA(name), nullptr);
    }
    EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
    EXPECT_EQ(GetModuleHandleA("kernel32.dll"), nullptr);

    Loaded module(kModulePath);
    ASSERT_NE(module.Get(), nullptr);
    EXPECT_EQ(GetProcAddress(module.Get(), "NoSuchExport"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    // The module links the platform library, but its exports are not the
    // module's own.
    EXPECT_EQ(GetProcAddress(module.Get(), "GetTickCount"), nullptr);
    EXPECT_EQ(GetProcAddress(module.Get(), reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(1))), nullptr);
}

TEST(Module, FreeingBalancesLoads)
{
    // A module that nothing else in the tests keeps loaded.
    const std::string plain = kModuleFolder + "/PlainModule.dll";
    HMODULE first = LoadLibraryA(plain.c_str());
    HMODULE second = LoadLibraryA(plain.c_str());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_NE(GetProcAddress(second, "PlainModuleValue"), nullptr) << "one load count is still held";
    EXPECT_TRUE(FreeLibrary(second));
    EXPECT_FALSE(FreeLibrary(second)) << "no load count left to free";
    EXPECT_EQ(GetProcAddress(second, "PlainModuleValue"), nullptr) << "an unloaded module's handle is refused";
    int local = 0;
    EXPECT_FALSE(FreeLibrary(reinterpret_cast<HMODULE>(&local)));
}

TEST(Module, ProgramFileNameAndTruncation)
{
    char expected[4096] = {};
    ASSERT_GT(::readlink("/proc/self/exe", expected, sizeof expected - 1), 0);
    char path[4096];
    EXPECT_EQ(GetModuleFileNameA(nullptr, path, sizeof path), std::strlen(expected));
    EXPECT_STREQ(path, expected);
    HMODULE self = GetModuleHandleA(nullptr);
    ASSERT_NE(self, nullptr);
    EXPECT_EQ(GetModuleHandleFromAddress(reinterpret_cast<const void*>(&Backslashed)), self);
    EXPECT_GT(GetModuleFileNameA(self, path, sizeof path), 0u);
    EXPECT_STREQ(path, expected);

    char small[8];
    EXPECT_EQ(GetModuleFileNameA(nullptr, small, sizeof small), sizeof small);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::string(small), std::string(expected, sizeof small - 1));
}

TEST(Module, RelativeNamesReportTheAbsolutePathFoundUnder)
{
    char old[4096];
    ASSERT_NE(::getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(::chdir((kModuleFolder + "/..").c_str()), 0);
    HMODULE module = LoadLibraryA("kernel_modules\\.\\KernelTestModule.dll");
    ASSERT_EQ(::chdir(old), 0);
    ASSERT_NE(module, nullptr);
    char path[512];
    const DWORD length = GetModuleFileNameA(module, path, sizeof path);
    EXPECT_EQ(std::string(path, length), kModulePath);
    FreeLibrary(module);
}
