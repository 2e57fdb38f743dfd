// CAddinHost: construction, the program folder, the language choice and
// the answers to the documents.
#include "host/shell/addin_host.h"

#include <cctype>
#include <cstdio>
#include <memory>

#include "host/document/nuvex_doc.h"
#include "host/shell/controls/document_binding.h"
#include "host/shell/host_application.h"
#include "host/shell/main_frame.h"
#include "host/shell/registry_keys.h"
#include "host/shell/snap_glyph_strip.h"
#include "platform/kernel/files.h"
#include "platform/kernel/module.h"
#include "platform/kernel/path.h"
#include "platform/kernel/registry.h"

namespace {

constexpr const char* kClassesKey = "CLSID";
constexpr const char* kLanguageChoiceFile = "Language\\language.txt";
constexpr const char* kHostLanguageTable = "nuvex.txt";
struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};

} // namespace

CAddinHost::CAddinHost() : m_application(std::make_unique<CHostApplication>(*this))
{
    m_language.SetDefaultLanguage(kDefaultLanguage);
    m_language.SetChosenLanguage(kDefaultLanguage);
}

CAddinHost::~CAddinHost() = default;

void CAddinHost::DestroyHostApplication() { m_application.reset(); }

BOOL CAddinHost::FindProgramFolder()
{
    BOOL found = FALSE;
    ForEachClassKey([this, &found](HKEY classes, std::string_view name) {
        // The names compare case-sensitively, as the key is written.
        if (name != kProgramFolderClassKey) {
            return KeyWalk::Continue;
        }
        HKEY opened = nullptr;
        if (RegOpenKeyExA(classes, std::string(name).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
            return KeyWalk::Continue;
        }
        const OpenedKey entry(opened);
        char folder[kProgramFolderSize] = {};
        DWORD type = 0;
        DWORD size = sizeof folder - 1;
        if (RegQueryValueExA(entry.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(folder), &size) !=
                ERROR_SUCCESS ||
            type != REG_SZ) {
            return KeyWalk::Continue;
        }
        m_programFolder.assign(folder);
        found = TRUE;
        return KeyWalk::Stop;
    });
    return found;
}

void CAddinHost::UseProgramFolder()
{
    if (!FindProgramFolder()) {
        // No installation names the folder: the program's own, remembered
        // for the next start.
        m_programFolder = ProgramFolderOfExecutable();
        HKEY created = nullptr;
        const std::string keyName = std::string(kClassesKey) + "\\" + kProgramFolderClassKey;
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, keyName.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                            nullptr, &created, nullptr) == ERROR_SUCCESS) {
            OpenedKey key(created);
            RegSetValueExA(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(m_programFolder.c_str()),
                           static_cast<DWORD>(m_programFolder.size() + 1));
        }
    }
    // A folder that cannot be entered leaves the current directory as it is.
    if (!m_programFolder.empty()) {
        SetCurrentDirectoryA(m_programFolder.c_str());
    }
}

void CAddinHost::LoadLanguageChoice()
{
    m_language.SetChosenLanguage(m_language.DefaultLanguage());
    if (std::unique_ptr<FILE, FileCloser> file{OpenCFile(kLanguageChoiceFile, "r")}) {
        // The first word, as long as a language key can sensibly be.
        char word[64] = {};
        if (std::fscanf(file.get(), "%63s", word) == 1 && word[0] != '\0') {
            std::string chosen(word);
            for (char& c : chosen) {
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            }
            m_language.SetChosenLanguage(chosen);
        }
    }
    m_language.Load(kHostLanguageTable, TRUE);
}

BOOL CAddinHost::SaveLanguageChoice(const std::string& key)
{
    if (key.empty()) {
        return FALSE;
    }
    // Written beside the old file and put in its place, so that a failed
    // write keeps the old choice.
    const std::string written = std::string(kLanguageChoiceFile) + ".new";
    std::unique_ptr<FILE, FileCloser> file{OpenCFile(written.c_str(), "w")};
    if (!file) {
        return FALSE;
    }
    const std::string text = key + "\n";
    const bool complete = std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
    const bool closed = std::fclose(file.release()) == 0;
    if (!complete || !closed || std::rename(NativePath(written).c_str(), NativePath(kLanguageChoiceFile).c_str()) != 0) {
        std::remove(NativePath(written).c_str());
        return FALSE;
    }
    return TRUE;
}

CImageStripWindow* CAddinHost::SnapGlyphStrip()
{
    HWND frame = m_mainFrame != nullptr ? m_mainFrame->GetSafeHwnd() : nullptr;
    if (frame == nullptr) {
        return nullptr;
    }
    // A strip of an earlier main frame went with its window.
    if (m_snapStrip && (!::IsWindow(m_snapStrip->GetSafeHwnd()) || ::GetWindow(m_snapStrip->GetSafeHwnd(), GW_OWNER) != frame)) {
        m_snapStrip.reset();
    }
    if (!m_snapStrip) {
        auto strip = std::make_unique<CImageStripWindow>();
        if (!strip->Create(m_mainFrame, 0)) {
            return nullptr;
        }
        m_snapStrip = std::move(strip);
    }
    return m_snapStrip.get();
}

CNuvexDoc* CAddinHost::GetActiveDocument() const
{
    return m_mainFrame != nullptr ? m_mainFrame->GetActiveNuvexDocument() : nullptr;
}

void CAddinHost::AddToolbarControl(IToolbarHostedControl* control, int32_t commandIndex)
{
    m_toolbarControls.push_back(ToolbarControlRecord{control, commandIndex});
}

void CAddinHost::RemoveToolbarControl(IToolbarHostedControl* control)
{
    std::erase_if(m_toolbarControls, [control](const ToolbarControlRecord& record) { return record.control == control; });
}

void CAddinHost::BindToolbarControls(IHostDocument* document)
{
    // A control's binding may call back into the program; walk a copy.
    const std::vector<ToolbarControlRecord> controls = m_toolbarControls;
    for (const ToolbarControlRecord& record : controls) {
        record.control->SetDocument(document);
    }
}

void CAddinHost::ReleaseToolbarControls(IHostDocument* document)
{
    const std::vector<ToolbarControlRecord> controls = m_toolbarControls;
    for (const ToolbarControlRecord& record : controls) {
        record.control->ReleaseDocument(document);
    }
}

IClassFactory* CAddinHost::GetClassFactoryForClsid(const CLSID& clsid)
{
    if (clsid == CLSID_HostObjectFactory) {
        return &m_hostFactory;
    }
    const int index = FindAddinByClsid(clsid);
    return index >= 0 ? m_addins[static_cast<size_t>(index)].classFactory : nullptr;
}

IClassFactory* CAddinHost::GetClassFactoryForAddin(IAddin* addin)
{
    if (addin == nullptr) {
        return &m_hostFactory;
    }
    const int index = FindAddinByInterface(addin);
    return index >= 0 ? m_addins[static_cast<size_t>(index)].classFactory : nullptr;
}

VARIANT CAddinHost::GetVariableValue(int32_t index)
{
    if (index < 0 || static_cast<size_t>(index) >= m_variables.size()) {
        VARIANT empty;
        VariantInit(&empty);
        return empty;
    }
    return m_variables[static_cast<size_t>(index)].defaultValue;
}

IAddin* CAddinHost::GetAddin(int32_t addinIndex)
{
    if (addinIndex < 0 || static_cast<size_t>(addinIndex) >= m_addins.size()) {
        return nullptr;
    }
    return m_addins[static_cast<size_t>(addinIndex)].addin;
}

IClassFactory* CAddinHost::GetAddinClassFactory(int32_t addinIndex)
{
    if (addinIndex < 0 || static_cast<size_t>(addinIndex) >= m_addins.size()) {
        return nullptr;
    }
    return m_addins[static_cast<size_t>(addinIndex)].classFactory;
}

IHostApplication* CAddinHost::GetHostApplication() { return m_application.get(); }

std::string CAddinHost::GetStaticText(int32_t id, const char* fallback)
{
    return m_language.GetStaticText(id, fallback);
}
