// A program folder of a test: in a test's configuration folder (which holds
// its registry), a folder with Language, AddIns and AddInsCfg, named there
// as the program folder, with the test add-in module copied in under the
// names a test gives; and the test add-in's exports reached through a
// module.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/view/tests/view_test_app.h"
#include "platform/base/guid.h"
#include "platform/base/types.h"

struct IAddin;

class TestProgramFolder {
public:
    // Makes the folders and the registry, which names the folder; the
    // current directory is remembered and restored at the end.
    TestProgramFolder();
    ~TestProgramFolder();
    TestProgramFolder(const TestProgramFolder&) = delete;
    TestProgramFolder& operator=(const TestProgramFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // A file of the folder with the given text (folders made as needed).
    void Write(const std::string& relative, const std::string& text) const;
    std::string Read(const std::string& relative) const;
    bool Exists(const std::string& relative) const;
    // The test add-in copied to AddIns/<name>.so; its path.
    std::string AddTestAddin(const std::string& name) const;
    // The entity component copied to AddIns/entities.so.
    void AddEntityComponent() const;

private:
    TestConfigFolder m_config{"nuvex-program-"};
    std::filesystem::path m_path;
    std::filesystem::path m_previousDirectory;
};

// The exports of a copy of the test add-in, through its module.
class TestAddinModule {
public:
    explicit TestAddinModule(const std::string& path);
    bool Loaded() const { return m_module != nullptr; }
    std::vector<std::string> Log() const;
    void Reset() const;
    void SetStartAnswer(LONG answer) const;
    // Whether the add-in adds its "Workshop" group at Connect (default not).
    void SetWorkshop(bool on) const;
    GUID ClassId() const;
    IAddin* Object() const;

private:
    HMODULE m_module = nullptr;
};

// The braced upper-case text of a class id.
std::string ClassIdText(const GUID& id);

class CNuvexApp;
class CMainFrame;
class CNuvexDoc;

// The program started headless in the current process with the given
// arguments: message boxes are answered with `messageAnswer` and their
// texts kept; the drawing's views render with the software OpenGL. It is
// stopped (documents closed, the main window destroyed, ExitInstance) when
// it goes, unless a test stopped it first.
class RunningProgram {
public:
    explicit RunningProgram(std::vector<std::string> arguments = {});
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    BOOL Start();
    // The program's message loop until its main window ends it; the
    // shut-down runs at its end. Its result.
    int Run();
    // Cancels every drawing's command (Esc), closes the documents without
    // saving, destroys the main window and runs the shut-down;
    // ExitInstance's result.
    int Stop();
    CNuvexApp& App() { return *m_app; }
    CMainFrame* Frame();
    CNuvexDoc* ActiveDocument();
    // The texts of the message boxes shown so far.
    std::vector<std::string> messages;
    int messageAnswer = 1;

private:
    void CloseWindows();

    std::unique_ptr<CNuvexApp> m_app;
    std::vector<std::string> m_arguments;
    bool m_stopped = false;
};

// What the program's idle time does for the bars of `frame`: their states
// and the menu bar's items brought up to date, the layout recalculated,
// with the queue run empty before and after.
void IdleUpdate(CMainFrame& frame);
