// Matrix products and inverses of CMatrix4 beside a plain-double baseline
// (the same arithmetic on double[16], Gauss-Jordan with partial pivoting for
// the inverse), at 1k, 10k and 100k matrices. Each benchmark times both in
// the same iteration and reports the ratio CMatrix4 / baseline.
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include "objectmodel/matrix4.h"

namespace {

using Plain = std::array<double, 16>;
using Clock = std::chrono::steady_clock;

std::vector<Plain> MakeInputs(size_t count)
{
    std::mt19937 random(12345);
    std::uniform_real_distribution<double> element(-10.0, 10.0);
    std::vector<Plain> result(count);
    for (Plain& m : result) {
        for (double& e : m) {
            e = element(random);
        }
    }
    return result;
}

CMatrix4 ToMatrix(const Plain& p)
{
    CMatrix4 m;
    for (int i = 0; i < 16; ++i) {
        m.Elements()[i] = p[i];
    }
    return m;
}

Plain PlainProduct(const Plain& a, const Plain& b)
{
    Plain result{};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) {
                sum += a[r * 4 + k] * b[k * 4 + c];
            }
            result[r * 4 + c] = sum;
        }
    }
    return result;
}

Plain PlainInverse(Plain a)
{
    Plain inverse{};
    for (int i = 0; i < 4; ++i) {
        inverse[i * 4 + i] = 1.0;
    }
    for (int column = 0; column < 4; ++column) {
        int pivot = column;
        for (int r = column + 1; r < 4; ++r) {
            if (std::fabs(a[r * 4 + column]) > std::fabs(a[pivot * 4 + column])) {
                pivot = r;
            }
        }
        for (int c = 0; c < 4; ++c) {
            std::swap(a[column * 4 + c], a[pivot * 4 + c]);
            std::swap(inverse[column * 4 + c], inverse[pivot * 4 + c]);
        }
        double scale = 1.0 / a[column * 4 + column];
        for (int c = 0; c < 4; ++c) {
            a[column * 4 + c] *= scale;
            inverse[column * 4 + c] *= scale;
        }
        for (int r = 0; r < 4; ++r) {
            if (r == column) {
                continue;
            }
            double factor = a[r * 4 + column];
            for (int c = 0; c < 4; ++c) {
                a[r * 4 + c] -= factor * a[column * 4 + c];
                inverse[r * 4 + c] -= factor * inverse[column * 4 + c];
            }
        }
    }
    return inverse;
}

double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

template <class MatrixWork, class PlainWork>
void RunBesideBaseline(benchmark::State& state, MatrixWork matrixWork, PlainWork plainWork)
{
    const size_t count = static_cast<size_t>(state.range(0));
    const std::vector<Plain> plain = MakeInputs(count);
    std::vector<CMatrix4> matrices;
    matrices.reserve(count);
    for (const Plain& p : plain) {
        matrices.push_back(ToMatrix(p));
    }
    double matrixSeconds = 0.0;
    double baselineSeconds = 0.0;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        matrixWork(matrices);
        Clock::time_point middle = Clock::now();
        plainWork(plain);
        Clock::time_point end = Clock::now();
        matrixSeconds += Seconds(middle - start);
        baselineSeconds += Seconds(end - middle);
        state.SetIterationTime(Seconds(middle - start));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * count));
    state.counters["ratio_to_plain"] = baselineSeconds > 0.0 ? matrixSeconds / baselineSeconds : 0.0;
}

void BM_MatrixProduct(benchmark::State& state)
{
    RunBesideBaseline(
        state,
        [](const std::vector<CMatrix4>& matrices) {
            CMatrix4 accumulated;
            for (const CMatrix4& m : matrices) {
                CMatrix4 product = accumulated * m;
                benchmark::DoNotOptimize(product);
            }
        },
        [](const std::vector<Plain>& matrices) {
            Plain accumulated{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
            for (const Plain& m : matrices) {
                Plain product = PlainProduct(accumulated, m);
                benchmark::DoNotOptimize(product);
            }
        });
}

void BM_MatrixInverse(benchmark::State& state)
{
    RunBesideBaseline(
        state,
        [](const std::vector<CMatrix4>& matrices) {
            for (const CMatrix4& m : matrices) {
                CMatrix4 inverse = m.Inverse();
                benchmark::DoNotOptimize(inverse);
            }
        },
        [](const std::vector<Plain>& matrices) {
            for (const Plain& m : matrices) {
                Plain inverse = PlainInverse(m);
                benchmark::DoNotOptimize(inverse);
            }
        });
}

BENCHMARK(BM_MatrixProduct)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime();
BENCHMARK(BM_MatrixInverse)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime();

} // namespace
