// File search patterns, the current directory and text-mode reading.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "platform/kernel/errors.h"
#include "platform/kernel/filefind.h"
#include "platform/kernel/files.h"
#include "platform/kernel/tests/kernel_test_support.h"

namespace {

struct FindResult {
    std::vector<std::string> names;
    DWORD error = 0;
};

FindResult FindAll(const std::string& pattern)
{
    FindResult result;
    WIN32_FIND_DATAA data{};
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        result.error = GetLastError();
        return result;
    }
    do {
        result.names.push_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(find));
    return result;
}

// Runs a test inside a folder and returns to the old one afterwards.
class InFolder {
public:
    explicit InFolder(const std::string& path)
    {
        char old[4096];
        m_old = ::getcwd(old, sizeof old) != nullptr ? old : "/";
        EXPECT_EQ(::chdir(path.c_str()), 0);
    }
    ~InFolder() { EXPECT_EQ(::chdir(m_old.c_str()), 0); }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;

private:
    std::string m_old;
};

} // namespace

TEST(FileFind, PatternsInTheSystemsForm)
{
    TempFolder folder;
    for (const char* name : {"PostProc/yelk.so", "PostProc/Other.SO", "PostProc/notes.txt", "PostProc/yelk.dll.bak",
                             "PostProc/.hidden.so", "PostProc/noext", "AddIns/strimo.so", "AddIns/a.so", "AddIns/ab.so"}) {
        folder.Write(name, "x");
    }
    std::filesystem::create_directory(folder / "PostProc/sub.so");
    InFolder inside(folder.Path());

    struct Case {
        std::string pattern;
        std::vector<std::string> names;
        DWORD error;
    };
    const Case kCases[] = {
        {"PostProc\\*.dll", {".hidden.so", "Other.SO", "sub.so", "yelk.so"}, 0},
        {"postproc\\*.DLL", {".hidden.so", "Other.SO", "sub.so", "yelk.so"}, 0},
        {"PostProc/yelk.dll", {"yelk.so"}, 0},
        {"PostProc\\*.txt", {"notes.txt"}, 0},
        {"PostProc\\*.bak", {"yelk.dll.bak"}, 0},
        {"AddIns\\?.dll", {"a.so"}, 0},
        {"AddIns\\a*.dll", {"a.so", "ab.so"}, 0},
        {"AddIns\\*", {"a.so", "ab.so", "strimo.so"}, 0},
        {"PostProc\\*.*", {".hidden.so", "Other.SO", "noext", "notes.txt", "sub.so", "yelk.dll.bak", "yelk.so"}, 0},
        {"AddIns\\*.exe", {}, ERROR_FILE_NOT_FOUND},
        {"Missing\\*.dll", {}, ERROR_PATH_NOT_FOUND},
        {folder.Path() + "\\AddIns\\s*.dll", {"strimo.so"}, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.pattern);
        const FindResult result = FindAll(c.pattern);
        EXPECT_EQ(result.names, c.names);
        EXPECT_EQ(result.error, c.error);
    }

    WIN32_FIND_DATAA data{};
    HANDLE find = FindFirstFileA("PostProc\\sub.dll", &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);
    FindClose(find);
    find = FindFirstFileA("PostProc\\yelk.dll", &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.nFileSizeLow, 1u);
    EXPECT_EQ(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_TRUE(FindClose(find));
    EXPECT_FALSE(FindClose(find)) << "a closed search is no longer a handle";
    EXPECT_FALSE(FindNextFileA(find, &data));
}

TEST(Files, CurrentDirectoryInTheSystemsForm)
{
    TempFolder folder;
    std::filesystem::create_directories(folder / "Program Files/Nuvex");
    char old[4096];
    ASSERT_NE(::getcwd(old, sizeof old), nullptr);
    InFolder restore(old);

    const std::string written = folder.Path() + "\\program files\\NUVEX";
    ASSERT_TRUE(SetCurrentDirectoryA(written.c_str()));
    const std::string expected = std::filesystem::canonical(folder / "Program Files/Nuvex").string();
    char buffer[4096];
    EXPECT_EQ(GetCurrentDirectoryA(sizeof buffer, buffer), expected.size());
    EXPECT_EQ(std::string(buffer), expected);
    char small[4];
    EXPECT_EQ(GetCurrentDirectoryA(sizeof small, small), expected.size() + 1) << "the size needed, terminator counted";
    EXPECT_FALSE(SetCurrentDirectoryA((folder.Path() + "\\missing").c_str()));

    LPSTR filePart = nullptr;
    ASSERT_EQ(GetFullPathNameA("AddIns\\..\\AddIns\\.\\strimo.dll", sizeof buffer, buffer, &filePart),
              expected.size() + std::strlen("/AddIns/strimo.dll"));
    EXPECT_EQ(std::string(buffer), expected + "/AddIns/strimo.dll");
    ASSERT_NE(filePart, nullptr);
    EXPECT_STREQ(filePart, "strimo.dll");
}

TEST(Files, TextModeReadsCrLfLineEnds)
{
    TempFolder folder;
    folder.Write("AddInsCfg/strimo.cfg", "ADDIN_CLSID {X}\r\nline two\r\n\rlone\r");
    char word[64] = {};
    char line[64] = {};
    FILE* file = OpenCFile((folder.Path() + "\\AddInsCfg\\strimo.cfg").c_str(), "r");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fscanf(file, "%63s", word), 1);
    EXPECT_STREQ(word, "ADDIN_CLSID");
    ASSERT_EQ(std::fscanf(file, " %63[^\n]", line), 1);
    EXPECT_STREQ(line, "{X}");
    EXPECT_EQ(std::fgetc(file), '\n');
    ASSERT_NE(std::fgets(line, sizeof line, file), nullptr);
    EXPECT_STREQ(line, "line two\n");
    ASSERT_NE(std::fgets(line, sizeof line, file), nullptr);
    EXPECT_STREQ(line, "\rlone\r") << "a CR not before a LF stays";
    std::fclose(file);

    file = OpenCFile((folder / "AddInsCfg/strimo.cfg").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    ASSERT_NE(std::fgets(line, sizeof line, file), nullptr);
    EXPECT_STREQ(line, "ADDIN_CLSID {X}\r\n") << "binary mode keeps every byte";
    std::fclose(file);

    file = OpenCFile((folder.Path() + "\\out.nc").c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fprintf(file, "%s\n", "G0 X1");
    std::fclose(file);
    EXPECT_TRUE(std::filesystem::exists(folder / "out.nc"));
    EXPECT_TRUE(DeleteFileA((folder.Path() + "\\out.nc").c_str()));
    EXPECT_FALSE(DeleteFileA((folder.Path() + "\\out.nc").c_str()));
    EXPECT_EQ(OpenCFile((folder.Path() + "\\missing.txt").c_str(), "r"), nullptr);
}
