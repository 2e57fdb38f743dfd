// Formatting and parsing throughput of typical NC blocks (a motion word and
// two to four coordinates, sometimes a block number or a feed), beside a
// plain baseline built on the C library's printf and strtod conversions.
// Counters: lines per second ("items_per_second"), heap allocations per line
// ("allocs_per_line"), and the baseline's time over ours ("speedup").
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "nctokens.h"
#include "postproc/blockformatter.h"
#include "postproc/blockparser.h"

// Every operator new of the process is counted, so a benchmark can report
// the allocations its loop makes.
static size_t g_allocations = 0;

// Out of line, so that the compiler never pairs an inlined free with a new.
__attribute__((noinline)) void* operator new(std::size_t size)
{
    ++g_allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
__attribute__((noinline)) void operator delete(void* p) noexcept { std::free(p); }
__attribute__((noinline)) void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

struct Block {
    std::vector<INT> codes;
    std::vector<VARIANT> values;
};

VARIANT Real(double v)
{
    VARIANT value{};
    value.vt = VT_R8;
    value.dblVal = v;
    return value;
}

std::vector<Block> TypicalBlocks(size_t count)
{
    std::mt19937 random(42);
    std::uniform_real_distribution<double> coordinate(-500.0, 500.0);
    const INT motions[] = {kNcRapid, kNcLinear, kNcArcClockwise, kNcArcCounterClockwise};
    const INT axes[] = {kNcX, kNcY, kNcZ, kNcCentreI};
    std::vector<Block> blocks(count);
    for (size_t i = 0; i < count; ++i) {
        Block& b = blocks[i];
        if (i % 3 == 0) {
            VARIANT number{};
            number.vt = VT_I4;
            number.lVal = static_cast<LONG>(i + 1);
            b.codes.push_back(kNcBlockNumber);
            b.values.push_back(number);
        }
        b.codes.push_back(motions[i % 4]);
        b.values.push_back(VARIANT{});
        const size_t coordinates = 2 + i % 3;
        for (size_t k = 0; k < coordinates; ++k) {
            b.codes.push_back(axes[k]);
            b.values.push_back(Real(std::round(coordinate(random) * 1000.0) / 1000.0));
        }
        if (i % 5 == 0) {
            b.codes.push_back(kNcFeed);
            b.values.push_back(Real(1200.0));
        }
    }
    return blocks;
}

const NcDialect& DialectOf(const benchmark::State& state)
{
    return *kNcDialects[state.range(1)];
}

std::vector<std::string> FormatAll(const std::vector<Block>& blocks, const NcDialect& dialect)
{
    std::vector<std::string> lines;
    char line[kNcMaxLineLength];
    for (const Block& b : blocks) {
        yelk::FormatBlock(dialect, static_cast<INT>(b.codes.size()), b.codes.data(), b.values.data(), line, nullptr,
                          yelk::WordSeparator::Blank);
        lines.emplace_back(line);
    }
    return lines;
}

// The baseline writer: one printf per word into a growing string.
void BaselineFormat(const Block& b, const NcDialect& dialect, std::string& out)
{
    out.clear();
    char word[64];
    for (size_t i = 0; i < b.codes.size(); ++i) {
        const NcWord& entry = dialect.words[b.codes[i]];
        switch (entry.form) {
        case NcValueForm::Fixed:
            std::snprintf(word, sizeof word, "%s", entry.text);
            break;
        case NcValueForm::Integer:
            std::snprintf(word, sizeof word, "%s%d", entry.text, b.values[i].lVal);
            break;
        default: {
            std::snprintf(word, sizeof word, "%s%.3f", entry.text, b.values[i].dblVal);
            size_t n = std::strlen(word);
            while (word[n - 1] == '0') {
                word[--n] = '\0';
            }
            if (word[n - 1] == '.') {
                word[--n] = '\0';
            }
            break;
        }
        }
        if (i > 0) {
            out += ' ';
        }
        out += word;
    }
}

// The baseline reader: words by strtok, numbers by strtod, a linear search
// for the address.
int BaselineParse(const char* line, INT* codes, VARIANT* values)
{
    char copy[kNcMaxLineLength];
    std::snprintf(copy, sizeof copy, "%s", line);
    int n = 0;
    for (char* word = std::strtok(copy, " \t"); word != nullptr; word = std::strtok(nullptr, " \t")) {
        const char letter = word[0];
        char* end = nullptr;
        const double v = std::strtod(word + 1, &end);
        codes[n] = letter == 'G' ? kNcRapid + static_cast<int>(v) : (letter == 'N' ? kNcBlockNumber : kNcX + (letter - 'X'));
        values[n] = Real(v);
        ++n;
    }
    return n;
}

void BM_FormatBlock(benchmark::State& state)
{
    const std::vector<Block> blocks = TypicalBlocks(static_cast<size_t>(state.range(0)));
    const NcDialect& dialect = DialectOf(state);
    char line[kNcMaxLineLength];
    INT styles[kNcMaxLineLength];
    size_t allocations = 0;
    for (auto _ : state) {
        const size_t before = g_allocations;
        for (const Block& b : blocks) {
            yelk::FormatBlock(dialect, static_cast<INT>(b.codes.size()), b.codes.data(), b.values.data(), line, styles,
                              yelk::WordSeparator::Blank);
            benchmark::DoNotOptimize(line);
        }
        allocations += g_allocations - before;
    }
    const double lines = static_cast<double>(state.iterations()) * static_cast<double>(blocks.size());
    state.SetItemsProcessed(static_cast<int64_t>(lines));
    state.counters["allocs_per_line"] = static_cast<double>(allocations) / lines;
}

void BM_FormatBlockBaseline(benchmark::State& state)
{
    const std::vector<Block> blocks = TypicalBlocks(static_cast<size_t>(state.range(0)));
    const NcDialect& dialect = DialectOf(state);
    std::string line;
    for (auto _ : state) {
        for (const Block& b : blocks) {
            BaselineFormat(b, dialect, line);
            benchmark::DoNotOptimize(line.data());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(blocks.size()));
}

void BM_ParseBlock(benchmark::State& state)
{
    const NcDialect& dialect = DialectOf(state);
    const std::vector<std::string> lines = FormatAll(TypicalBlocks(static_cast<size_t>(state.range(0))), dialect);
    INT count = 0;
    std::vector<INT> codes(256);
    std::vector<INT> kinds(256);
    std::vector<VARIANT> values(320);
    std::vector<INT> styles(1024);
    size_t allocations = 0;
    for (auto _ : state) {
        const size_t before = g_allocations;
        for (const std::string& line : lines) {
            yelk::ParseBlock(dialect, line.c_str(), &count, codes.data(), kinds.data(), values.data(), styles.data());
            benchmark::DoNotOptimize(values.data());
        }
        allocations += g_allocations - before;
    }
    const double parsed = static_cast<double>(state.iterations()) * static_cast<double>(lines.size());
    state.SetItemsProcessed(static_cast<int64_t>(parsed));
    state.counters["allocs_per_line"] = static_cast<double>(allocations) / parsed;
    yelk::ParseBlock(dialect, "", &count, codes.data(), kinds.data(), values.data(), nullptr);
}

void BM_ParseBlockBaseline(benchmark::State& state)
{
    const NcDialect& dialect = DialectOf(state);
    const std::vector<std::string> lines = FormatAll(TypicalBlocks(static_cast<size_t>(state.range(0))), dialect);
    std::vector<INT> codes(256);
    std::vector<VARIANT> values(320);
    for (auto _ : state) {
        for (const std::string& line : lines) {
            benchmark::DoNotOptimize(BaselineParse(line.c_str(), codes.data(), values.data()));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
}

// Sizes 1k, 10k and 100k lines; dialect 0 ("Power Control CNC") and 1.
void Sizes(benchmark::internal::Benchmark* b)
{
    for (int dialect : {0, 1}) {
        for (int size : {1000, 10000, 100000}) {
            b->Args({size, dialect});
        }
    }
    b->ArgNames({"lines", "dialect"});
}

} // namespace

BENCHMARK(BM_FormatBlock)->Apply(Sizes);
BENCHMARK(BM_FormatBlockBaseline)->Apply(Sizes);
BENCHMARK(BM_ParseBlock)->Apply(Sizes);
BENCHMARK(BM_ParseBlockBaseline)->Apply(Sizes);
