// The pocket milling command's accept path against the bare toolpath
// computation, for a part of 10 000 line segments in a host document: a
// round boundary of 8 000 segments round four round islands of 500 each,
// all of them line entities of the entity component. (Teeth finer than the
// tool would measure the offset's hardest case rather than the command.)
//
// - BareToolpath: the pocket feature's computation from the picks (chaining
//   the picked curves, the toolpath and its move entities), what the
//   command calls.
// - CommandAcceptPath: what a person's pocket costs in the command: the
//   command made and started, the picks as one click (highlights, the
//   panel read back and checked, the same computation), the preview drawn
//   into a graphics context, Enter (the feature handed to the active
//   operation) and the operation's NC program as text.
//
// Each row reports the least processor time of one run ("ms"); the command's
// row also its share above the bare computation ("overhead_percent"; the
// goal is at most 20).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "addins/milling/core/class_factory.h"
#include "addins/milling/core/command_events.h"
#include "addins/milling/core/milling_addin.h"
#include "addins/milling/core/milling_job.h"
#include "addins/milling/core/strimo_ids.h"
#include "addins/milling/features/documentmoveentities.h"
#include "addins/milling/features/pocketfeature.h"
#include "host/document/tests/document_test_support.h"
#include "ientitycomponent.h"
#include "objectmodel/selection_set_object.h"
#include "platform/kernel/classobject.h"
#include "platform/kernel/module.h"

namespace {

constexpr int kBoundarySegments = 8000;
constexpr int kIslandSegments = 500;
constexpr double kBoundaryRadius = 60.0;
constexpr double kToothDepth = 0.0;
constexpr double kIslandRadius = 6.0;
constexpr double kIslandCentre = 25.0;
constexpr double kMinSeconds = 2.0;

double ProcessorSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// A graphics context that takes every call and draws nothing.
class NullContext final : public IGraphicsContext {
public:
    long calls = 0;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetColor(uint32_t*) override { return Call(); }
    HRESULT STDMETHODCALLTYPE GetLineStyle(uint32_t*, uint32_t*) override { return Call(); }
    HRESULT STDMETHODCALLTYPE GetLineWidth(int32_t*) override { return Call(); }
    HRESULT STDMETHODCALLTYPE SetFont(const LOGFONTA*) override { return Call(); }
    HRESULT STDMETHODCALLTYPE SetColor(uint32_t) override { return Call(); }
    HRESULT STDMETHODCALLTYPE SetColorFromAttributes(IAttributeSet*) override { return Call(); }
    HRESULT STDMETHODCALLTYPE SetLineStyle(uint32_t, uint32_t) override { return Call(); }
    HRESULT STDMETHODCALLTYPE SetLineWidth(int32_t) override { return Call(); }
    HRESULT STDMETHODCALLTYPE SetLineAttributes(IAttributeSet*) override { return Call(); }
    HRESULT STDMETHODCALLTYPE GetScale(double* scale) override
    {
        *scale = 1.0;
        return Call();
    }
    HRESULT STDMETHODCALLTYPE DrawRectangle(IVector3*, IVector3*, int32_t) override { return Call(); }
    HRESULT STDMETHODCALLTYPE PopMatrix() override { return Call(); }
    HRESULT STDMETHODCALLTYPE PushMatrix(IMatrix4*, int32_t) override { return Call(); }
    HRESULT STDMETHODCALLTYPE DrawPolylineSet(IPolylineSet*) override { return Call(); }
    HRESULT STDMETHODCALLTYPE DrawInfiniteLine(IVector3*, IVector3*) override { return Call(); }
    HRESULT STDMETHODCALLTYPE DrawString(const char*, IVector3*, IVector3*, IVector3*, BOOL) override { return Call(); }
    HRESULT STDMETHODCALLTYPE StringToPolylines(const char*, IPolylineSet*, BOOL, uint32_t*) override { return Call(); }
    HRESULT STDMETHODCALLTYPE DrawLine(IVector3*, IVector3*) override { return Call(); }
    HRESULT STDMETHODCALLTYPE DrawEllipse(IVector3*, IVector3*, IVector3*, IReal*, IReal*) override { return Call(); }
    HRESULT STDMETHODCALLTYPE ReservedA(uint32_t, uint32_t) override { return Call(); }
    HRESULT STDMETHODCALLTYPE ReservedB(uint32_t, uint32_t, uint32_t) override { return Call(); }
    HRESULT STDMETHODCALLTYPE DrawArc(IVector3*, IVector3*, IVector3*, IVector3*) override { return Call(); }
    HRESULT STDMETHODCALLTYPE MoveTo(IVector3*) override { return Call(); }
    HRESULT STDMETHODCALLTYPE LineTo(IVector3*) override { return Call(); }
    virtual ~NullContext() = default;

private:
    HRESULT Call()
    {
        ++calls;
        return S_OK;
    }
};

// The document services reaching the entity component and the add-in's
// factory.
class BenchServices final : public TestServices {
public:
    IClassFactory* GetClassFactoryForClsid(const CLSID& clsid) override
    {
        if (clsid == CLSID_EntityComponent) {
            if (entities == nullptr)
                CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                 reinterpret_cast<void**>(&entities));
            return entities;
        }
        if (clsid == CLSID_StrimoAddin)
            return strimo;
        return TestServices::GetClassFactoryForClsid(clsid);
    }
    IClassFactory* entities = nullptr;
    IClassFactory* strimo = nullptr;
};

// One document with the part and an operation, made once for the run.
struct Part {
    Part()
    {
        std::string config = (std::filesystem::temp_directory_path() / "nuvex-bench-XXXXXX").string();
        if (::mkdtemp(config.data()) != nullptr)
            ::setenv("NUVEX_CONFIG_DIR", config.c_str(), 1);
        const std::string bin = NUVEX_BENCH_BIN_DIR;
        HMODULE module = LoadLibraryA((bin + "/AddIns/entities.so").c_str());
        auto registerServer = reinterpret_cast<HRESULT (*)()>(GetProcAddress(module, "DllRegisterServer"));
        if (registerServer == nullptr || registerServer() != S_OK)
            std::abort();
        SetStrimoProgramFolder(bin);
        StrimoGetClassObject(CLSID_StrimoAddin, IID_IClassFactory, reinterpret_cast<void**>(&services.strimo));
        document = std::make_unique<CNuvexDoc>(services, output);
        host = document->GetHostDocument();
        addin = new CMillingAddin();
        addin->AddRef();
        addin->LoadPostprocessorsFrom(bin + "/PostProc");
        if (addin->Postprocessors().empty())
            std::abort();
        job = FindMillingJob(host);
        job->AddOperation(
            std::make_unique<CMillingOperation>(addin->Postprocessors()[0], "", CMovePoint{}, false), true);

        CDocumentMoveEntityFactory factory(host);
        const auto addLoop = [&](double cx, double cy, int segments, double radius, double tooth) {
            const auto at = [&](int k) {
                const double a = 2.0 * M_PI * k / segments;
                const double r = radius + ((k % 2) != 0 ? tooth : 0.0);
                return CMovePoint{cx + r * std::cos(a), cy + r * std::sin(a), 0.0};
            };
            for (int k = 0; k < segments; ++k) {
                ComPtr<IEntityBase> line = factory.CreateLine(at(k), at((k + 1) % segments));
                IEntityRecord* holder = MakeHolder(line.Get());
                host->AddObject(holder);
                picks.Add(reinterpret_cast<uintptr_t>(holder));
            }
        };
        addLoop(0, 0, kBoundarySegments, kBoundaryRadius, kToothDepth);
        for (double x : {-kIslandCentre, kIslandCentre})
            for (double y : {-kIslandCentre, kIslandCentre})
                addLoop(x, y, kIslandSegments, kIslandRadius, 0.0);

        // The parameters the command takes from its defaults and the tool
        // store's first mill.
        params.zSafePlane = 50.0;
        params.zEngage = 5.0;
        params.tool.diameter = 3.0;
        params.tool.radialStep = 40.0;
        params.tool.verticalStep = 1.0;
        params.tool.spindleSpeed = 18000.0;
        params.tool.feedSpeed = 450.0;
        params.tool.plungeSpeed = 150.0;
        params.tool.toolType = 1;
    }

    TestServices* Services() { return &services; }

    BenchServices services;
    TestOutput output;
    std::unique_ptr<CNuvexDoc> document;
    IHostDocument* host = nullptr;
    CMillingAddin* addin = nullptr;
    CMillingJob* job = nullptr;
    CSelectionSetObject picks;
    CMillingParams params;
};

Part& ThePart()
{
    static Part part;
    return part;
}

double g_bareSeconds = 0.0;

// The least processor time of one call of `run` over the row's runs (at
// least kMinSeconds of them).
template <class Run>
double LeastSeconds(benchmark::State& state, Run run)
{
    double least = 1e30;
    for (auto _ : state) {
        const double start = ProcessorSeconds();
        run();
        const double took = ProcessorSeconds() - start;
        least = std::min(least, took);
        state.SetIterationTime(took);
    }
    return least;
}

void BareToolpath(benchmark::State& state)
{
    Part& part = ThePart();
    CPocketFeature feature;
    const double least = LeastSeconds(state, [&]() {
        const Status status = feature.GenerateToolpath(&part.picks, part.params, part.host, nullptr);
        if (!status.ok())
            state.SkipWithError("the pocket was not computed");
    });
    g_bareSeconds = least;
    state.counters["ms"] = least * 1000.0;
    state.counters["moves"] = static_cast<double>(feature.Moves().size());
}

void CommandAcceptPath(benchmark::State& state)
{
    Part& part = ThePart();
    NullContext context;
    std::vector<std::string> lines;
    const double least = LeastSeconds(state, [&]() {
        IAddinCommand* command = nullptr;
        part.services.strimo->CreateInstance(nullptr, CLSID_PocketMillingCommand, reinterpret_cast<void**>(&command));
        command->Create(part.host, kCommandPocketMilling, 0);
        LONG result = 0;
        command->OnEvent(kEventStart, nullptr, 1, 1, &result);
        ISelectionSet* picks = &part.picks;
        command->OnEvent(kEventPick, &picks, 1, 1, &result);
        IGraphicsContext* pointer = &context;
        command->OnEvent(kEventDraw, &pointer, 1, 0, &result);
        command->OnEvent(kEventAccept, nullptr, 1, 1, &result);
        command->Release();
        if (!part.job->WriteNcCode(lines, -1, CMillingJob::Phases::Unnumbered).ok || lines.empty())
            state.SkipWithError("no NC program");
        part.job->GetOperation(0)->RemoveFeature(0);
        part.host->RemoveTemporaries(0, 0, 0);
    });
    state.counters["ms"] = least * 1000.0;
    state.counters["nc_lines"] = static_cast<double>(lines.size());
    if (g_bareSeconds > 0.0)
        state.counters["overhead_percent"] = (least / g_bareSeconds - 1.0) * 100.0;
}

} // namespace

BENCHMARK(BareToolpath)->Unit(benchmark::kMillisecond)->MinTime(kMinSeconds)->UseManualTime();
BENCHMARK(CommandAcceptPath)->Unit(benchmark::kMillisecond)->MinTime(kMinSeconds)->UseManualTime();
