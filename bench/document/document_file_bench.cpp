// Saving and loading documents of many small objects, each beside a plain
// buffered write or read of the same number of bytes. The goal: save and
// load take no more than three times the plain write and read.
//
// The save and load benchmarks also time a plain write or read of their own
// file's bytes in every iteration and report the ratio as a counter
// ("save/plain_write", "load/plain_read"). Both sides of the ratio are
// thread CPU times, and each side is its fastest iteration, so that other
// work on a busy machine skews it as little as possible.
#include <benchmark/benchmark.h>

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "host/document/document_services.h"
#include "host/document/host_class_factory.h"
#include "host/document/nuvex_doc.h"
#include "ientity.h"
#include "objectmodel/com_object.h"
#include "objectmodel/entity_record.h"

namespace {

constexpr CLSID kBenchClsid = {0x0be0c401, 0x1111, 0x2222, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr IID kBenchIid = {0x0be0c402, 0x1111, 0x2222, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr uint32_t kObjectBytes = 24;

// A small object: a point's worth of data.
class SmallObject : public CCountedObject<IObjectBase, IID_IObjectBase> {
public:
    HRESULT STDMETHODCALLTYPE Clone(IObjectBase** copy) override
    {
        *copy = new SmallObject(*this);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Load(uint32_t size, const BYTE* data) override
    {
        if (size != kObjectBytes) {
            return E_FAIL;
        }
        std::memcpy(m_data, data, kObjectBytes);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetSize(uint32_t* size) override
    {
        *size = kObjectBytes;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Save(BYTE* buffer) override
    {
        std::memcpy(buffer, m_data, kObjectBytes);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHostDocument(IHostDocument*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetClassIds(CLSID* factory, IID* iid) override
    {
        *factory = kBenchClsid;
        *iid = kBenchIid;
        return S_OK;
    }

private:
    BYTE m_data[kObjectBytes] = {};
};

class BenchFactory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override
    {
        *out = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, void** out) override
    {
        auto* object = new SmallObject();
        object->AddRef();
        *out = static_cast<IObjectBase*>(object);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
    virtual ~BenchFactory() = default;
};

class BenchServices : public IDocumentServices {
public:
    IClassFactory* GetClassFactoryForClsid(const CLSID& clsid) override
    {
        return clsid == kBenchClsid ? static_cast<IClassFactory*>(&m_factory) : &m_host;
    }
    IClassFactory* GetClassFactoryForAddin(IAddin*) override { return &m_host; }
    const std::vector<FileTypeHandler>& GetFileTypeHandlers() override { return m_types; }
    int32_t GetVariableCount() override { return 0; }
    VARIANT GetVariableValue(int32_t) override { return VARIANT{}; }
    int32_t FindVariable(const char*) override { return -1; }
    const CommandTableEntry* GetCommandEntry(int32_t) override { return nullptr; }
    IAddin* GetAddin(int32_t) override { return nullptr; }
    IClassFactory* GetAddinClassFactory(int32_t) override { return nullptr; }
    const std::vector<RootHandlerClass>& GetRootHandlerClasses() override { return m_handlers; }
    IHostApplication* GetHostApplication() override { return nullptr; }
    int32_t GetHostCommand(IAddin*, uint32_t) override { return -1; }
    std::string GetStaticText(int32_t, const char* fallback) override { return fallback; }

private:
    BenchFactory m_factory;
    CHostClassFactory m_host;
    std::vector<FileTypeHandler> m_types;
    std::vector<RootHandlerClass> m_handlers;
};

class BenchOutput : public IDocumentOutput {
public:
    void UpdateAllViews() override {}
    void FireDocumentEvent(int32_t) override {}
    void SetPrompt(const std::string&, size_t, size_t) override {}
    void SetCommandLineText(const std::string&) override {}
    int32_t GetModifierKind() override { return 1; }
    bool HasView() override { return false; }
    void UpdateCommandButtons(int32_t, int32_t) override {}
    void RefreshCommandStates(BOOL) override {}
    void RefreshSnap() override {}
};

std::string BenchPath(const char* name)
{
    return std::string(P_tmpdir) + "/nuvex_bench_" + std::to_string(::getpid()) + "_" + name;
}

void FillDocument(CNuvexDoc& document, int64_t count)
{
    for (int64_t i = 0; i < count; ++i) {
        document.AddObject(new CEntityRecord(static_cast<IObjectBase*>(new SmallObject())));
    }
}

constexpr double kNoTimeYet = 1e30;

double ThreadCpuSeconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The bytes of path written again through one buffered stream, or read
// into a buffer that is already there; CPU seconds taken.
double PlainWriteSeconds(const std::vector<char>& data, const std::string& path)
{
    const double start = ThreadCpuSeconds();
    FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(data.data(), 1, data.size(), file);
    std::fclose(file);
    return ThreadCpuSeconds() - start;
}

double PlainReadSeconds(const std::string& path, std::vector<char>& data)
{
    const double start = ThreadCpuSeconds();
    FILE* file = std::fopen(path.c_str(), "rb");
    benchmark::DoNotOptimize(std::fread(data.data(), 1, data.size(), file));
    std::fclose(file);
    return ThreadCpuSeconds() - start;
}

size_t FileSize(const std::string& path)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fclose(file);
    return static_cast<size_t>(size);
}

void BM_SaveDocument(benchmark::State& state)
{
    BenchServices services;
    BenchOutput output;
    CNuvexDoc document(services, output);
    FillDocument(document, state.range(0));
    const std::string path = BenchPath("save.nvx");
    const std::string plainPath = BenchPath("save_plain.bin");
    document.OnSaveDocument(path.c_str());
    const std::vector<char> plain(FileSize(path), 'x');
    double saveSeconds = kNoTimeYet;
    double plainSeconds = kNoTimeYet;
    for (auto _ : state) {
        const double start = ThreadCpuSeconds();
        benchmark::DoNotOptimize(document.OnSaveDocument(path.c_str()));
        saveSeconds = std::min(saveSeconds, ThreadCpuSeconds() - start);
        state.PauseTiming();
        plainSeconds = std::min(plainSeconds, PlainWriteSeconds(plain, plainPath));
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * FileSize(path)));
    state.counters["save/plain_write"] = saveSeconds / plainSeconds;
    std::remove(path.c_str());
    std::remove(plainPath.c_str());
}

// The baseline: the same number of bytes through one buffered stream.
void BM_PlainWrite(benchmark::State& state)
{
    const size_t bytes = 4 + static_cast<size_t>(state.range(0)) * (kObjectBytes + 40);
    std::vector<char> data(bytes, 'x');
    const std::string path = BenchPath("plain.bin");
    for (auto _ : state) {
        FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(data.data(), 1, data.size(), file);
        std::fclose(file);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    std::remove(path.c_str());
}

void BM_LoadDocument(benchmark::State& state)
{
    BenchServices services;
    BenchOutput output;
    const std::string path = BenchPath("load.nvx");
    {
        CNuvexDoc source(services, output);
        FillDocument(source, state.range(0));
        source.OnSaveDocument(path.c_str());
    }
    std::vector<char> plain(FileSize(path));
    double loadSeconds = kNoTimeYet;
    double plainSeconds = kNoTimeYet;
    // Each load opens the file into a new document, as opening a file does;
    // making and destroying the document is not timed.
    for (auto _ : state) {
        state.PauseTiming();
        auto document = std::make_unique<CNuvexDoc>(services, output);
        plainSeconds = std::min(plainSeconds, PlainReadSeconds(path, plain));
        state.ResumeTiming();
        const double start = ThreadCpuSeconds();
        benchmark::DoNotOptimize(document->OnOpenDocument(path.c_str()));
        loadSeconds = std::min(loadSeconds, ThreadCpuSeconds() - start);
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * FileSize(path)));
    state.counters["load/plain_read"] = loadSeconds / plainSeconds;
    std::remove(path.c_str());
}

void BM_PlainRead(benchmark::State& state)
{
    const size_t bytes = 4 + static_cast<size_t>(state.range(0)) * (kObjectBytes + 40);
    const std::string path = BenchPath("plainread.bin");
    {
        std::vector<char> data(bytes, 'x');
        FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(data.data(), 1, data.size(), file);
        std::fclose(file);
    }
    std::vector<char> data(bytes);
    for (auto _ : state) {
        FILE* file = std::fopen(path.c_str(), "rb");
        benchmark::DoNotOptimize(std::fread(data.data(), 1, data.size(), file));
        std::fclose(file);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    std::remove(path.c_str());
}

BENCHMARK(BM_SaveDocument)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWrite)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDocument)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainRead)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace
