// The program's start-up to its first painted frame, headless, in a program
// folder with the entity component: with an empty drawing, and with a
// drawing of 100 000 of the component's lines named on the command line;
// in the same run the load of that drawing and one repaint of its view
// alone, without the rest of the start-up. The overhead counter is
// start-up minus load and repaint, whose goal is at most 0.3 s.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "host/app/nuvex_app.h"
#include "host/document/nuvex_doc.h"
#include "host/shell/document_output.h"
#include "host/view/nuvex_view.h"
#include "ientitycomponent.h"
#include "objectmodel/byte_io.h"
#include "objectmodel/entity_record.h"
#include "platform/framework/framewnd.h"
#include "platform/framework/ids.h"
#include "platform/kernel/classobject.h"
#include "platform/kernel/module.h"
#include "platform/kernel/registry.h"
#include "platform/user/inspect.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kLines = 100000;
constexpr size_t kLineBytes = 48;
constexpr const char* kEntityModule = NUVEX_BENCH_BIN_DIR "/AddIns/entities.so";

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// A program folder with the entity component and the drawing, named in a
// registry of its own.
class BenchFolder {
public:
    BenchFolder()
    {
        m_path = std::filesystem::temp_directory_path() / ("nuvex-startup-bench-" + std::to_string(getpid()));
        std::filesystem::remove_all(m_path);
        for (const char* folder : {"Language", "AddIns", "AddInsCfg", "config"}) {
            std::filesystem::create_directories(m_path / folder);
        }
        std::filesystem::copy_file(kEntityModule, m_path / "AddIns" / "entities.so");
        setenv("NUVEX_CONFIG_DIR", (m_path / "config").c_str(), 1);
        HKEY key = nullptr;
        const std::string name = std::string("CLSID\\") + kProgramFolderClassKey;
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, name.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
            ERROR_SUCCESS) {
            const std::string folder = m_path.string();
            RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                           static_cast<DWORD>(folder.size() + 1));
            RegCloseKey(key);
        }
    }
    ~BenchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string Drawing() const { return (m_path / "lines.nvx").string(); }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// Writes `count` of the component's lines at random places as a drawing.
bool WriteLines(CAddinHost& host, const std::string& path, size_t count)
{
    IClassFactory* factory = host.GetClassFactoryForClsid(CLSID_EntityComponent);
    if (factory == nullptr) {
        return false;
    }
    CProgramDocument document(host);
    std::mt19937 random(4711);
    std::uniform_real_distribution<double> coordinate(-500.0, 500.0);
    std::uniform_real_distribution<double> offset(-20.0, 20.0);
    for (size_t i = 0; i < count; ++i) {
        const double x = coordinate(random);
        const double y = coordinate(random) * 0.5;
        BYTE bytes[kLineBytes];
        ByteWriter writer(bytes, sizeof bytes);
        for (double value : {x, y, 0.0, x + offset(random), y + offset(random), 0.0}) {
            writer.WriteF64(value);
        }
        ComPtr<IObjectBase> line;
        if (FAILED(factory->CreateInstance(nullptr, IID_ILineEntity, line.ReceiveVoid())) ||
            FAILED(line->Load(kLineBytes, bytes))) {
            return false;
        }
        document.AddObject(new CEntityRecord(static_cast<IUnknown*>(line.Get())));
    }
    return document.OnSaveDocument(path.c_str()) != FALSE;
}

// A plain frame with one view of a document, as a program without the
// rest of the start-up shows it.
class CBenchFrame : public CFrameWnd {
protected:
    void PostNcDestroy() override {}
};

struct Timings {
    double startupEmpty = 0.0;
    double startupLines = 0.0;
    double loadAndRepaint = 0.0;
};

// Start-up of the program with `arguments`, to its first painted frame.
double StartUp(const std::vector<const char*>& arguments)
{
    ResetWindowSystem(1920, 1080);
    CNuvexApp app;
    app.SetCommandLine(static_cast<int>(arguments.size()), arguments.data());
    const Clock::time_point start = Clock::now();
    const BOOL started = app.InitInstance();
    if (CNuvexDoc* document = app.GetActiveDocument()) {
        POSITION position = document->GetFirstViewPosition();
        if (CView* view = document->GetNextView(position)) {
            view->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        }
    }
    const double seconds = Seconds(Clock::now() - start);
    app.CloseAllDocuments(TRUE);
    if (app.m_pMainWnd != nullptr) {
        app.m_pMainWnd->DestroyWindow();
    }
    app.SetMainFrame(nullptr);
    app.ExitInstance();
    return started ? seconds : -1.0;
}

// The drawing's load and one repaint of a view of it, alone.
double LoadAndRepaint(CAddinHost& host, const std::string& path)
{
    ResetWindowSystem(1920, 1080);
    auto* document = new CProgramDocument(host);
    CBenchFrame frame;
    const Clock::time_point start = Clock::now();
    const BOOL loaded = document->OnOpenDocument(path.c_str());
    frame.Create(nullptr, "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 1920, 1080), nullptr, nullptr);
    CNuvexDoc* previous = CNuvexView::SetDocumentForNewViews(document);
    auto* view = static_cast<CNuvexView*>(CNuvexView::CreateObject());
    CNuvexView::SetDocumentForNewViews(previous);
    view->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &frame, AFX_IDW_PANE_FIRST);
    frame.RecalcLayout();
    view->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const double seconds = Seconds(Clock::now() - start);
    frame.DestroyWindow();
    delete document;
    return loaded ? seconds : -1.0;
}

void BM_StartupToFirstPaintedFrame(benchmark::State& state)
{
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    setenv("GALLIUM_DRIVER", "llvmpipe", 1);
    setenv("NUVEX_DISPLAY", "headless", 1);
    BenchFolder folder;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::string drawing = folder.Drawing();
    {
        // The component's objects, through a host that found it.
        CAddinHost host;
        std::filesystem::current_path(folder.Path());
        host.SetProgramFolder(folder.Path().string());
        host.LoadAddins();
        if (!WriteLines(host, drawing, kLines)) {
            state.SkipWithError("the entity component cannot make the drawing");
            return;
        }
    }
    CAddinHost loader;
    loader.LoadAddins();
    std::filesystem::current_path(previous);
    Timings best{1e9, 1e9, 1e9};
    for (auto _ : state) {
        const double empty = StartUp({});
        const double lines = StartUp({drawing.c_str()});
        std::filesystem::current_path(folder.Path());
        const double alone = LoadAndRepaint(loader, drawing);
        std::filesystem::current_path(previous);
        if (empty < 0.0 || lines < 0.0 || alone < 0.0) {
            state.SkipWithError("the program or the drawing did not start");
            return;
        }
        best.startupEmpty = std::min(best.startupEmpty, empty);
        best.startupLines = std::min(best.startupLines, lines);
        best.loadAndRepaint = std::min(best.loadAndRepaint, alone);
        state.SetIterationTime(lines);
    }
    state.counters["startup_empty_s"] = best.startupEmpty;
    state.counters["startup_100k_s"] = best.startupLines;
    state.counters["load_repaint_100k_s"] = best.loadAndRepaint;
    state.counters["overhead_s"] = best.startupLines - best.loadAndRepaint;
    std::filesystem::current_path(previous);
}

BENCHMARK(BM_StartupToFirstPaintedFrame)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
