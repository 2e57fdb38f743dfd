// A test's program folder and the test add-in's exports.
#include "host/app/tests/program_folder_support.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <sstream>

#include "host/app/nuvex_app.h"
#include "host/document/nuvex_doc.h"
#include "platform/framework/doctemplate.h"
#include "host/shell/addin_host.h"
#include "host/shell/main_frame.h"
#include "platform/framework/wnd.h"
#include "platform/user/commdlg.h"
#include "platform/user/inspect.h"
#include "platform/kernel/module.h"
#include "platform/kernel/registry.h"

namespace {

constexpr const char* kEntityModule = NUVEX_TEST_BIN_DIR "/AddIns/entities.so";

template <class Function>
Function Export(HMODULE module, const char* name)
{
    return module != nullptr ? reinterpret_cast<Function>(GetProcAddress(module, name)) : nullptr;
}

} // namespace

TestProgramFolder::TestProgramFolder() : m_path(m_config.Path() / "program")
{
    for (const char* folder : {"Language", "AddIns", "AddInsCfg", "help"}) {
        std::filesystem::create_directories(m_path / folder);
    }
    m_previousDirectory = std::filesystem::current_path();
    const std::string key = std::string("CLSID\\") + kProgramFolderClassKey;
    HKEY created = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                        &created, nullptr) == ERROR_SUCCESS) {
        const std::string folder = m_path.string();
        RegSetValueExA(created, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                       static_cast<DWORD>(folder.size() + 1));
        RegCloseKey(created);
    }
}

TestProgramFolder::~TestProgramFolder()
{
    std::error_code ignored;
    std::filesystem::current_path(m_previousDirectory, ignored);
}

void TestProgramFolder::Write(const std::string& relative, const std::string& text) const
{
    const std::filesystem::path file = m_path / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out << text;
}

std::string TestProgramFolder::Read(const std::string& relative) const
{
    std::ifstream in(m_path / relative, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool TestProgramFolder::Exists(const std::string& relative) const { return std::filesystem::exists(m_path / relative); }

std::string TestProgramFolder::AddTestAddin(const std::string& name) const
{
    const std::filesystem::path target = m_path / "AddIns" / (name + ".so");
    std::filesystem::copy_file(NUVEX_TEST_ADDIN_PATH, target, std::filesystem::copy_options::overwrite_existing);
    return target.string();
}

void TestProgramFolder::AddEntityComponent() const
{
    std::filesystem::copy_file(kEntityModule, m_path / "AddIns" / "entities.so",
                               std::filesystem::copy_options::overwrite_existing);
}

TestAddinModule::TestAddinModule(const std::string& path) : m_module(LoadLibraryA(path.c_str())) {}

std::vector<std::string> TestAddinModule::Log() const
{
    using LogFunction = const std::vector<std::string>* (*)();
    auto log = Export<LogFunction>(m_module, "TestAddinLog");
    return log != nullptr ? *log() : std::vector<std::string>{"(no test add-in)"};
}

void TestAddinModule::Reset() const
{
    if (auto reset = Export<void (*)()>(m_module, "TestAddinReset")) {
        reset();
    }
}

void TestAddinModule::SetStartAnswer(LONG answer) const
{
    if (auto set = Export<void (*)(LONG)>(m_module, "TestAddinSetStartAnswer")) {
        set(answer);
    }
}

void TestAddinModule::SetWorkshop(bool on) const
{
    if (auto set = Export<void (*)(int)>(m_module, "TestAddinSetWorkshop")) {
        set(on ? 1 : 0);
    }
}

GUID TestAddinModule::ClassId() const
{
    GUID id{};
    if (auto get = Export<void (*)(GUID*)>(m_module, "TestAddinClassId")) {
        get(&id);
    }
    return id;
}

IAddin* TestAddinModule::Object() const
{
    auto get = Export<IAddin* (*)()>(m_module, "TestAddinObject");
    return get != nullptr ? get() : nullptr;
}

std::string ClassIdText(const GUID& id) { return GuidToText(id, GuidCase::Upper); }

RunningProgram::RunningProgram(std::vector<std::string> arguments) : m_arguments(std::move(arguments))
{
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    setenv("GALLIUM_DRIVER", "llvmpipe", 1);
    setenv("LP_NUM_THREADS", "2", 0);
    ResetWindowSystem();
    SetDialogAnswerHook([this](const DialogRequest& request) -> std::optional<DialogAnswer> {
        messages.push_back(request.text);
        return DialogAnswer{messageAnswer, "", 0};
    });
    m_app = std::make_unique<CNuvexApp>();
    std::vector<const char*> argv;
    for (const std::string& argument : m_arguments) {
        argv.push_back(argument.c_str());
    }
    m_app->SetCommandLine(static_cast<int>(argv.size()), argv.data());
}

RunningProgram::~RunningProgram()
{
    Stop();
    m_app.reset();
    SetDialogAnswerHook(nullptr);
    AfxDeleteTempMaps();
    ResetWindowSystem();
}

BOOL RunningProgram::Start() { return m_app->InitInstance(); }

int RunningProgram::Run()
{
    const int result = m_app->Run();
    // The loop ran the shut-down; a loop that a test ended early leaves the
    // windows, which go now.
    CloseWindows();
    m_stopped = true;
    return result;
}

void RunningProgram::CloseWindows()
{
    // As a person would before leaving without saving: Esc in every
    // drawing, so that no command keeps it from closing, and its changes
    // given up.
    for (POSITION templates = m_app->GetFirstDocTemplatePosition(); templates != nullptr;) {
        CDocTemplate* drawings = m_app->GetNextDocTemplate(templates);
        for (POSITION documents = drawings->GetFirstDocPosition(); documents != nullptr;) {
            if (auto* document = dynamic_cast<CNuvexDoc*>(drawings->GetNextDoc(documents))) {
                document->CancelCommand();
                document->SetModifiedFlag(FALSE);
            }
        }
    }
    m_app->CloseAllDocuments(TRUE);
    // The frame, while it exists (a frame that closed is gone with its
    // window, and the host no longer names it).
    if (CMainFrame* frame = m_app->GetMainFrame(); frame != nullptr && frame->GetSafeHwnd() != nullptr) {
        frame->DestroyWindow();
    }
    m_app->m_pMainWnd = nullptr;
    m_app->SetMainFrame(nullptr);
}

int RunningProgram::Stop()
{
    if (m_stopped) {
        return 0;
    }
    m_stopped = true;
    CloseWindows();
    return m_app->ExitInstance();
}

CMainFrame* RunningProgram::Frame() { return m_app->GetMainFrame(); }

void IdleUpdate(CMainFrame& frame)
{
    PumpUntilIdle();
    frame.SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    frame.SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE);
    frame.RecalcLayout();
    PumpUntilIdle();
}

CNuvexDoc* RunningProgram::ActiveDocument() { return m_app->GetActiveDocument(); }
