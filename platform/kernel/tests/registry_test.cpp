// The registry stand-in: values kept across the file, its text form, atomic
// rewrites, isolation through NUVEX_CONFIG_DIR and damaged files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "platform/kernel/registry.h"
#include "platform/kernel/tests/kernel_test_support.h"

namespace {

// Closes a key handle at the end of a scope.
class Key {
public:
    Key() = default;
    ~Key()
    {
        if (m_key != nullptr) {
            RegCloseKey(m_key);
        }
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY* Receive() { return &m_key; }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

std::string QueryText(HKEY key, const char* name)
{
    char buffer[256] = {};
    DWORD size = sizeof buffer;
    DWORD type = REG_NONE;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return "<none>";
    }
    return std::string(buffer, size - 1);
}

LONG SetText(HKEY key, const char* name, const std::string& text)
{
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
}

LONG SetNumber(HKEY key, const char* name, DWORD number)
{
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
}

ino_t InodeOf(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

} // namespace

using Registry = IsolatedRegistry;

TEST_F(Registry, ValuesOfEveryTypeSurviveTheFile)
{
    {
        Key key;
        DWORD disposition = 0;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Local AppWizard-Generated Applications\\nuvex", 0,
                                  nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key.Receive(),
                                  &disposition),
                  ERROR_SUCCESS);
        EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
        EXPECT_EQ(SetText(key.Get(), nullptr, "default text"), ERROR_SUCCESS);
        EXPECT_EQ(SetText(key.Get(), "Folder", "C:\\nuvex \"quoted\"\nsecond line \x01\xE9"), ERROR_SUCCESS);
        EXPECT_EQ(SetNumber(key.Get(), "Count", 0xDEADBEEF), ERROR_SUCCESS);
        const BYTE bytes[] = {0x00, 0x0A, 0xFF, 0x22};
        EXPECT_EQ(RegSetValueExA(key.Get(), "Layout", 0, REG_BINARY, bytes, sizeof bytes), ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExA(key.Get(), "Empty", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
    }
    // A fresh read of the file, as another process would see it.
    const RegistryTree tree = LoadRegistryFile(RegistryFile());
    const RegistryKey* app = tree.Root(RegistryRoot::CurrentUser).Find("software");
    ASSERT_NE(app, nullptr);
    app = app->Find("LOCAL APPWIZARD-GENERATED APPLICATIONS");
    ASSERT_NE(app, nullptr);
    app = app->Find("nuvex");
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(app->values.at("").text, "default text");
    EXPECT_EQ(app->values.at("folder").text, "C:\\nuvex \"quoted\"\nsecond line \x01\xE9");
    EXPECT_EQ(app->values.at("Count").number, 0xDEADBEEFu);
    EXPECT_EQ(app->values.at("Layout").bytes, (std::vector<uint8_t>{0x00, 0x0A, 0xFF, 0x22}));
    EXPECT_TRUE(app->values.at("Empty").bytes.empty());

    Key key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "software\\local appwizard-generated applications\\NUVEX", 0, KEY_READ,
                            key.Receive()),
              ERROR_SUCCESS);
    EXPECT_EQ(QueryText(key.Get(), ""), "default text");
    DWORD number = 0;
    DWORD size = sizeof number;
    DWORD type = REG_NONE;
    ASSERT_EQ(RegQueryValueExA(key.Get(), "count", nullptr, &type, reinterpret_cast<LPBYTE>(&number), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(number, 0xDEADBEEFu);
}

TEST_F(Registry, TextFormIsStable)
{
    RegistryTree tree;
    RegistryKey& server = tree.Root(RegistryRoot::ClassesRoot).Child("CLSID").Child("{7114BE18-DC1C-402D-A3FF-3F275F3367AD}");
    server.values[""].text = "strimo Module";
    server.Child("InprocServer32").values[""].text = "/opt/nuvex/AddIns/strimo.so";
    RegistryKey& odd = tree.Root(RegistryRoot::LocalMachine).Child("100% ]odd[");
    odd.values["n"].type = REG_DWORD;
    odd.values["n"].number = 42;
    odd.values["b"].type = REG_BINARY;
    odd.values["b"].bytes = {1, 0xAB};

    const std::string kExpected =
        "# nuvex registry 1\n"
        "[HKEY_CLASSES_ROOT]\n"
        "[HKEY_CLASSES_ROOT\\CLSID]\n"
        "[HKEY_CLASSES_ROOT\\CLSID\\{7114BE18-DC1C-402D-A3FF-3F275F3367AD}]\n"
        "@=sz:\"strimo Module\"\n"
        "[HKEY_CLASSES_ROOT\\CLSID\\{7114BE18-DC1C-402D-A3FF-3F275F3367AD}\\InprocServer32]\n"
        "@=sz:\"/opt/nuvex/AddIns/strimo.so\"\n"
        "[HKEY_LOCAL_MACHINE]\n"
        "[HKEY_LOCAL_MACHINE\\100%25 %5dodd[]\n"
        "\"b\"=binary:01ab\n"
        "\"n\"=dword:0000002a\n";
    const std::string text = WriteRegistryText(tree);
    EXPECT_EQ(text, kExpected);
    EXPECT_EQ(WriteRegistryText(ReadRegistryText(text)), kExpected);
}

TEST_F(Registry, EveryChangeReplacesTheFileWhole)
{
    Key key;
    ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, "CLSID\\{A}", key.Receive()), ERROR_SUCCESS);
    const ino_t first = InodeOf(RegistryFile());
    ASSERT_NE(first, 0u);
    ASSERT_EQ(SetText(key.Get(), nullptr, "one"), ERROR_SUCCESS);
    const ino_t second = InodeOf(RegistryFile());
    EXPECT_NE(second, first) << "the file must be renamed into place, not rewritten in place";
    // Nothing but the file itself is left in the folder.
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(m_config.Path())) {
        EXPECT_EQ(entry.path().filename(), "registry");
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST_F(Registry, ChangeThatCannotBeWrittenIsNotKept)
{
    {
        Key key;
        ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Kept", key.Receive()), ERROR_SUCCESS);
        ASSERT_EQ(SetText(key.Get(), "v", "before"), ERROR_SUCCESS);
    }
    const std::string saved = RegistryText();
    // A folder in the file's place: the rename over it fails.
    std::filesystem::remove(RegistryFile());
    std::filesystem::create_directory(RegistryFile());
    Key lost;
    EXPECT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Lost", lost.Receive()), ERROR_CANTWRITE);
    EXPECT_EQ(lost.Get(), nullptr);
    EXPECT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Lost", lost.Receive()), ERROR_FILE_NOT_FOUND);
    std::filesystem::remove(RegistryFile());
    m_config.Write("registry", saved);
    Key key;
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Kept", key.Receive()), ERROR_SUCCESS);
    EXPECT_EQ(QueryText(key.Get(), "v"), "before");
}

TEST_F(Registry, ConfigFolderIsolatesAndOtherWritersAreSeen)
{
    TempFolder other;
    {
        Key key;
        ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, "Here", key.Receive()), ERROR_SUCCESS);
    }
    {
        ScopedEnvironment moved("NUVEX_CONFIG_DIR", other.Path());
        Key key;
        EXPECT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "Here", key.Receive()), ERROR_FILE_NOT_FOUND);
        // Another process writes that folder's file.
        other.Write("registry", "[HKEY_LOCAL_MACHINE\\There]\n@=sz:\"x\"\n");
        EXPECT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "There", key.Receive()), ERROR_SUCCESS);
        EXPECT_EQ(QueryText(key.Get(), nullptr), "x");
    }
    Key key;
    EXPECT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "Here", key.Receive()), ERROR_SUCCESS);
}

TEST(RegistryPath, FollowsTheEnvironment)
{
    struct Case {
        const char* name;
        const char* configDir;
        const char* xdg;
        const char* home;
        const char* expected;
    };
    const Case kCases[] = {
        {"config_dir_wins", "/tmp/c", "/x", "/h", "/tmp/c/registry"},
        {"xdg_config_home", nullptr, "/x", "/h", "/x/nuvex/registry"},
        {"relative_xdg_ignored", nullptr, "x", "/h", "/h/.config/nuvex/registry"},
        {"home_default", nullptr, nullptr, "/h", "/h/.config/nuvex/registry"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        ScopedEnvironment home("HOME", c.home);
        ScopedEnvironment xdg("XDG_CONFIG_HOME", c.xdg != nullptr ? c.xdg : "");
        ScopedEnvironment dir("NUVEX_CONFIG_DIR", c.configDir != nullptr ? c.configDir : "");
        EXPECT_EQ(RegistryFilePath(), c.expected);
    }
}

TEST_F(Registry, DamagedLinesAreSkipped)
{
    m_config.Write("registry",
                   "# nuvex registry 1\r\n"
                   "\"orphan\"=sz:\"before any key\"\n"
                   "[HKEY_CURRENT_USER\\Good]\r\n"
                   "\"text\"=sz:\"kept\"\r\n"
                   "\"unterminated\"=sz:\"no end\n"
                   "\"badescape\"=sz:\"\\q\"\n"
                   "\"short\"=dword:123\n"
                   "\"nothex\"=dword:0000zz00\n"
                   "\"odd\"=binary:abc\n"
                   "\"unknown\"=qword:0000000000000001\n"
                   "garbage without equals\n"
                   "\"\"=sz:\"empty name\"\n"
                   "\"number\"=dword:0000000a\n"
                   "[HKEY_NOWHERE\\Lost]\n"
                   "\"lost\"=sz:\"under a bad root\"\n"
                   "[HKEY_CURRENT_USER\\Bad%zzEscape]\n"
                   "\"lost2\"=sz:\"under a bad header\"\n"
                   "[HKEY_CURRENT_USER\\Good\\\\Child]\n"
                   "[HKEY_CURRENT_USER\\Good\\Child]\n"
                   "@=sz:\"child\"\n"
                   "\"trailing\"=sz:\"x\" junk\n"
                   "\"lastline\"=sz:\"no newline\""
                   "\0\"after nul\"=sz:\"y\"");
    // The NUL above ends the C string; a real NUL byte goes in below.
    {
        std::ofstream file(RegistryFile(), std::ios::binary | std::ios::app);
        file.write("\n\0\xff[\n", 5);
        // A key deeper than any the functions make.
        file << "[HKEY_CURRENT_USER";
        for (size_t i = 0; i <= kMaxRegistryKeyDepth; ++i) {
            file << "\\Deep";
        }
        file << "]\n\"lost3\"=sz:\"too deep\"\n";
    }
    const RegistryTree tree = LoadRegistryFile(RegistryFile());
    const RegistryKey& user = tree.Root(RegistryRoot::CurrentUser);
    ASSERT_EQ(user.children.size(), 1u) << WriteRegistryText(tree);
    const RegistryKey* good = user.Find("Good");
    ASSERT_NE(good, nullptr);
    std::vector<std::string> names;
    for (const auto& [name, value] : good->values) {
        names.push_back(name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"number", "text"}));
    EXPECT_EQ(good->values.at("text").text, "kept");
    EXPECT_EQ(good->values.at("number").number, 10u);
    const RegistryKey* child = good->Find("Child");
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->values.size(), 2u);
    EXPECT_EQ(child->values.at("lastline").text, "no newline");
    EXPECT_TRUE(tree.Root(RegistryRoot::ClassesRoot).children.empty());
    EXPECT_TRUE(tree.Root(RegistryRoot::LocalMachine).children.empty());

    // The functions work on what could be read, and the next write leaves a
    // clean file.
    Key key;
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Good", key.Receive()), ERROR_SUCCESS);
    EXPECT_EQ(QueryText(key.Get(), "text"), "kept");
    ASSERT_EQ(SetText(key.Get(), "new", "v"), ERROR_SUCCESS);
    EXPECT_EQ(RegistryText().find("garbage"), std::string::npos);
    EXPECT_NE(RegistryText().find("\"new\"=sz:\"v\""), std::string::npos);
}

TEST_F(Registry, EnumerationAndSizes)
{
    for (const char* name : {"{b}", "{A}", "{c}"}) {
        Key key;
        ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, (std::string("CLSID\\") + name).c_str(), key.Receive()),
                  ERROR_SUCCESS);
    }
    Key clsid;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID", 0, KEY_READ, clsid.Receive()), ERROR_SUCCESS);
    std::vector<std::string> names;
    char name[261];
    for (DWORD index = 0;; ++index) {
        DWORD size = sizeof name;
        const LONG result = RegEnumKeyExA(clsid.Get(), index, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) {
            break;
        }
        ASSERT_EQ(result, ERROR_SUCCESS);
        EXPECT_EQ(size, std::strlen(name));
        names.push_back(name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"{A}", "{b}", "{c}"}));
    DWORD tiny = 3; // "{A}" needs 4 with its terminator
    EXPECT_EQ(RegEnumKeyExA(clsid.Get(), 0, name, &tiny, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);

    ASSERT_EQ(SetText(clsid.Get(), "v", "12345"), ERROR_SUCCESS);
    DWORD size = 0;
    DWORD type = REG_NONE;
    ASSERT_EQ(RegQueryValueExA(clsid.Get(), "v", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 6u);
    char small[5];
    size = sizeof small;
    EXPECT_EQ(RegQueryValueExA(clsid.Get(), "v", nullptr, &type, reinterpret_cast<LPBYTE>(small), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(RegQueryValueExA(clsid.Get(), "missing", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
    const DWORD number = 1;
    EXPECT_EQ(RegSetValueExA(clsid.Get(), "n", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 2),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueExA(clsid.Get(), "n", 0, 7 /* multi-string */, reinterpret_cast<const BYTE*>("a\0"), 3),
              ERROR_INVALID_PARAMETER);

    // Values by index: the default value (empty name) first, then by name.
    ASSERT_EQ(SetText(clsid.Get(), nullptr, "default"), ERROR_SUCCESS);
    std::vector<std::pair<std::string, DWORD>> values;
    for (DWORD index = 0;; ++index) {
        char valueName[64];
        DWORD nameSize = sizeof valueName;
        DWORD valueType = REG_NONE;
        const LONG result =
            RegEnumValueA(clsid.Get(), index, valueName, &nameSize, nullptr, &valueType, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) {
            break;
        }
        ASSERT_EQ(result, ERROR_SUCCESS);
        values.emplace_back(valueName, valueType);
    }
    EXPECT_EQ(values, (std::vector<std::pair<std::string, DWORD>>{{"", REG_SZ}, {"v", REG_SZ}}));

    // The default text of a sub-key, set and read in one call each.
    ASSERT_EQ(RegSetValueA(clsid.Get(), "{A}\\InprocServer32", REG_SZ, "/x/strimo.so", 0), ERROR_SUCCESS);
    char value[520];
    LONG valueSize = sizeof value;
    ASSERT_EQ(RegQueryValueA(clsid.Get(), "{a}\\inprocserver32", value, &valueSize), ERROR_SUCCESS);
    EXPECT_STREQ(value, "/x/strimo.so");
    EXPECT_EQ(valueSize, 13);
    valueSize = sizeof value;
    ASSERT_EQ(RegQueryValueA(clsid.Get(), "{b}", value, &valueSize), ERROR_SUCCESS);
    EXPECT_STREQ(value, "");
    valueSize = sizeof value;
    EXPECT_EQ(RegQueryValueA(clsid.Get(), "{z}", value, &valueSize), ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, DeletingKeys)
{
    Key server;
    ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, "CLSID\\{X}\\InprocServer32", server.Receive()), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CLASSES_ROOT, "CLSID\\{X}"), ERROR_ACCESS_DENIED) << "a key with sub-keys stays";
    EXPECT_EQ(RegDeleteKeyA(HKEY_CLASSES_ROOT, "CLSID\\{Y}"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CLASSES_ROOT, ""), ERROR_ACCESS_DENIED) << "a root stays";
    ASSERT_EQ(RegDeleteKeyA(HKEY_CLASSES_ROOT, "CLSID\\{X}\\InprocServer32"), ERROR_SUCCESS);
    EXPECT_EQ(SetText(server.Get(), nullptr, "x"), ERROR_KEY_DELETED);
    ASSERT_EQ(RegDeleteKeyA(HKEY_CLASSES_ROOT, "CLSID\\{X}"), ERROR_SUCCESS);
    Key gone;
    EXPECT_EQ(RegOpenKeyA(HKEY_CLASSES_ROOT, "CLSID\\{X}", gone.Receive()), ERROR_FILE_NOT_FOUND);

    Key values;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "V", values.Receive()), ERROR_SUCCESS);
    ASSERT_EQ(SetText(values.Get(), "a", "1"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueA(values.Get(), "A"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueA(values.Get(), "a"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCloseKey(reinterpret_cast<HKEY>(&values)), ERROR_INVALID_HANDLE);

    std::string deep;
    for (size_t i = 0; i <= kMaxRegistryKeyDepth; ++i) {
        deep += "k\\";
    }
    Key tooDeep;
    EXPECT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, deep.c_str(), tooDeep.Receive()), ERROR_INVALID_PARAMETER);
}

TEST_F(Registry, TwoProcessesWritingLoseNothing)
{
    constexpr int kWritesEach = 40;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    const char* who = child == 0 ? "child" : "parent";
    bool ok = true;
    for (int i = 0; i < kWritesEach; ++i) {
        const std::string name = std::string(who) + std::to_string(i);
        Key key;
        ok = ok && RegCreateKeyA(HKEY_CURRENT_USER, "Shared", key.Receive()) == ERROR_SUCCESS &&
             SetNumber(key.Get(), name.c_str(), static_cast<DWORD>(i)) == ERROR_SUCCESS;
    }
    if (child == 0) {
        std::_Exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    Key key;
    ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Shared", key.Receive()), ERROR_SUCCESS);
    int values = 0;
    char name[64];
    for (DWORD index = 0;; ++index) {
        DWORD size = sizeof name;
        if (RegEnumValueA(key.Get(), index, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            break;
        }
        ++values;
    }
    EXPECT_EQ(values, 2 * kWritesEach);
}
