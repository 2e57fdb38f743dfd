// The add-in manager: finding the modules of "AddIns", learning their class
// ids from their configuration files or from the registration they write
// themselves, creating and connecting them, and writing the configuration
// files back at exit.
#include <cstdio>
#include <cstring>
#include <memory>
#include <type_traits>

#include "host/shell/addin_config.h"
#include "host/shell/addin_host.h"
#include "host/shell/host_application.h"
#include "host/shell/registry_keys.h"
#include "platform/kernel/classobject.h"
#include "platform/kernel/filefind.h"
#include "platform/kernel/files.h"
#include "platform/kernel/module.h"
#include "platform/kernel/path.h"
#include "platform/kernel/registry.h"

namespace {

constexpr const char* kAddinPattern = "AddIns\\*.dll";
constexpr const char* kAddinFolder = "AddIns\\";
constexpr const char* kServerKey = "InprocServer32";
constexpr const char* kRegisterExport = "DllRegisterServer";
// In-process, local and remote servers.
constexpr DWORD kClassContext = 0x15;
constexpr DWORD kServerPathSize = 520;
// A configuration file longer than this holds no id the host wrote.
constexpr size_t kMaxConfigBytes = 4096;

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<FILE, FileCloser>;

struct FindCloser {
    void operator()(HANDLE find) const { FindClose(find); }
};

// The file's first bytes, enough for the words the host reads; nothing
// when it cannot be opened.
std::optional<std::string> ReadConfigFile(const std::string& path)
{
    FileHandle file(OpenCFile(path.c_str(), "r"));
    if (!file) {
        return std::nullopt;
    }
    std::string text(kMaxConfigBytes, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), file.get()));
    return text;
}

// The module's title: its file name without the extension.
std::string TitleOf(const char* fileName)
{
    std::string title(fileName);
    const size_t dot = title.rfind('.');
    if (dot != std::string::npos && dot > 0) {
        title.erase(dot);
    }
    return title;
}

// Asks COM for the record's class object and, when there is one, for its
// add-in object.
void ObtainClassObject(CAddinRecord& record)
{
    IClassFactory* factory = nullptr;
    if (FAILED(CoGetClassObject(record.classId, kClassContext, nullptr, IID_IClassFactory,
                                reinterpret_cast<void**>(&factory))) ||
        factory == nullptr) {
        record.classFactory = nullptr;
        return;
    }
    record.classFactory = factory;
    record.classObjectFlag = 1;
    record.classIdKnownFlag = 1;
    IAddin* addin = nullptr;
    if (FAILED(factory->CreateInstance(nullptr, IID_IAddin, reinterpret_cast<void**>(&addin)))) {
        addin = nullptr;
    }
    record.addin = addin;
}

// Loads the module for its registration and unloads it again; a module that
// does not load or exports no registration is left as it is.
void RegisterModule(const CAddinRecord& record)
{
    HMODULE module = LoadLibraryA(record.modulePath.c_str());
    if (module == nullptr) {
        return;
    }
    using RegisterFunction = HRESULT (*)();
    if (auto registerServer = reinterpret_cast<RegisterFunction>(GetProcAddress(module, kRegisterExport))) {
        registerServer();
    }
    FreeLibrary(module);
}

} // namespace

BOOL CAddinHost::LoadAddins()
{
    // 1. Discovery: a record per module, its class object from its file.
    bool allFound = true;
    WIN32_FIND_DATAA found{};
    if (HANDLE find = FindFirstFileA(kAddinPattern, &found); find != INVALID_HANDLE_VALUE) {
        std::unique_ptr<std::remove_pointer_t<HANDLE>, FindCloser> finder(find);
        do {
            CAddinRecord record;
            char fullPath[MAX_PATH] = {};
            const std::string relative = std::string(kAddinFolder) + found.cFileName;
            const DWORD length = GetFullPathNameA(relative.c_str(), sizeof fullPath, fullPath, nullptr);
            record.modulePath = length > 0 && length < sizeof fullPath ? std::string(fullPath) : relative;
            record.moduleTitle = TitleOf(found.cFileName);
            if (const std::optional<std::string> text = ReadConfigFile(AddinConfigPath(record.moduleTitle))) {
                if (const std::optional<CLSID> classId = ReadAddinConfig(*text)) {
                    // Kept even when COM cannot use it: it is written back.
                    record.classId = *classId;
                    ObtainClassObject(record);
                }
            }
            if (record.classObjectFlag == 0) {
                RegisterModule(record);
                allFound = false;
            }
            m_addins.push_back(std::move(record));
        } while (FindNextFileA(finder.get(), &found));
    }

    // 2. Registry pass: a class whose in-process server is one of the
    // modules not yet known gives it its class id; the first key wins.
    if (!allFound) {
        const BOOL opened = ForEachClassKey([this](HKEY classes, std::string_view name) {
            HKEY server = nullptr;
            const std::string serverKey = std::string(name) + "\\" + kServerKey;
            if (RegOpenKeyExA(classes, serverKey.c_str(), 0, KEY_READ, &server) != ERROR_SUCCESS) {
                return KeyWalk::Continue;
            }
            const OpenedKey serverHandle(server);
            char path[kServerPathSize] = {};
            DWORD type = 0;
            DWORD size = sizeof path - 1;
            if (RegQueryValueExA(serverHandle.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(path), &size) !=
                ERROR_SUCCESS) {
                return KeyWalk::Continue;
            }
            for (CAddinRecord& record : m_addins) {
                if (record.excludedFlag != 0 || record.classIdKnownFlag != 0 || record.classObjectFlag != 0) {
                    continue;
                }
                if (record.modulePath == path || EqualsIgnoringCase(record.modulePath, path)) {
                    record.classId = ParseClsidText(name.empty() ? name : name.substr(1));
                    record.classIdKnownFlag = 1;
                }
            }
            return KeyWalk::Continue;
        });
        if (!opened) {
            return FALSE;
        }
    }

    // 3. Retry: the records whose id the registry gave.
    for (CAddinRecord& record : m_addins) {
        if (record.excludedFlag == 0 && record.classIdKnownFlag == 1 && record.classObjectFlag == 0) {
            ObtainClassObject(record);
        }
    }
    return TRUE;
}

void CAddinHost::ConnectAddins()
{
    IHostApplication* host = GetHostApplication();
    for (const CAddinRecord& record : m_addins) {
        if (record.addin != nullptr) {
            // What the add-in registers while it connects is its own (file
            // types name only their handler class).
            m_connectingAddin = record.addin;
            record.addin->Connect(host);
            m_connectingAddin = nullptr;
        }
    }
}

void CAddinHost::SaveAddinConfigs()
{
    for (const CAddinRecord& record : m_addins) {
        // Written beside the old file and put in its place, so that a
        // failed write keeps the old one.
        const std::string path = AddinConfigPath(record.moduleTitle);
        const std::string written = path + ".new";
        FileHandle file(OpenCFile(written.c_str(), "w"));
        if (!file) {
            continue;
        }
        const std::string text = FormatAddinConfig(record.classId);
        const bool complete = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
        const bool closed = std::fclose(file.release()) == 0;
        if (!complete || !closed || std::rename(NativePath(written).c_str(), NativePath(path).c_str()) != 0) {
            std::remove(NativePath(written).c_str());
        }
    }
}

int CAddinHost::FindAddinByInterface(IAddin* addin) const
{
    if (addin == nullptr) {
        return -1;
    }
    for (size_t i = 0; i < m_addins.size(); ++i) {
        if (m_addins[i].addin == addin) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int CAddinHost::FindAddinByClsid(const GUID& classId) const
{
    for (size_t i = 0; i < m_addins.size(); ++i) {
        if (m_addins[i].classId == classId) {
            return static_cast<int>(i);
        }
    }
    return -1;
}
