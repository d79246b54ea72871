// CodeModule.Find over a generated 500,000-line project: the indexed whole-word search the
// add-in runs for every name in every module, the plain scan beside it, and module building.
#include "generated_code.h"
#include "ide/code/module_code.h"

#include <benchmark/benchmark.h>

#include <QSet>
#include <QString>
#include <QStringList>
#include <chrono>
#include <random>
#include <vector>

using ide::code::ModuleCode;

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

using namespace bench;

struct Project {
    QStringList names;
    std::vector<QStringList> sources;
    std::vector<ModuleCode> modules;
    qint64 lineCount = 0;
    qint64 charCount = 0;
};

const Project &project()
{
    static const Project p = [] {
        Project out;
        std::mt19937 random(20240601);
        out.names = makeNames(random);
        for (int m = 0; m < kModules; ++m) {
            out.sources.push_back(makeModule(random, out.names, m));
            for (const QString &line : out.sources.back())
                out.charCount += line.size() + 2;
            out.lineCount += out.sources.back().size();
        }
        for (const QStringList &source : out.sources)
            out.modules.emplace_back(source, 1);
        return out;
    }();
    return p;
}

/// (a) every name in every module, whole word, case-insensitive: the add-in's hot loop.
void BM_FindEveryNameEveryModule(benchmark::State &state)
{
    const Project &p = project();
    qint64 hits = 0, calls = 0;
    double seconds = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        hits = 0;
        calls = 0;
        for (const ModuleCode &m : p.modules) {
            for (const QString &name : p.names) {
                int sl = 1, sc = 1, el = -1, ec = -1;
                hits += m.find(name, sl, sc, el, ec, true, false, false);
                ++calls;
            }
        }
        benchmark::DoNotOptimize(hits);
        seconds += secondsSince(start);
    }
    state.counters["calls"] = double(calls);
    state.counters["hits"] = double(hits);
    state.counters["ns_per_call"] = seconds * 1e9 / double(calls * state.iterations());
}

/// Names every 1000th, so the subset has the same mix of hits and misses as the whole.
std::vector<QString> subset(const Project &p, int count)
{
    std::vector<QString> out;
    for (int k = 0; k < count; ++k)
        out.push_back(p.names[(k * (kNames / count) + 7) % kNames]);
    return out;
}

template <bool Indexed>
void findSubset(benchmark::State &state)
{
    const Project &p = project();
    const std::vector<QString> names = subset(p, int(state.range(0)));
    qint64 calls = 0, hits = 0;
    double seconds = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        calls = 0;
        hits = 0;
        for (const ModuleCode &m : p.modules) {
            for (const QString &name : names) {
                int sl = 1, sc = 1, el = -1, ec = -1;
                hits += Indexed ? m.find(name, sl, sc, el, ec, true, false, false)
                                : m.findByScan(name, sl, sc, el, ec, true, false, false);
                ++calls;
            }
        }
        benchmark::DoNotOptimize(hits);
        seconds += secondsSince(start);
    }
    const double perCall = seconds / double(calls * state.iterations());
    state.counters["calls"] = double(calls);
    state.counters["hits"] = double(hits);
    state.counters["us_per_call"] = perCall * 1e6;
    // What the full loop of (a) would take at this rate.
    state.counters["full_loop_s"] = perCall * double(kNames) * kModules;
}

/// (b) the same search by plain scan, on a subset.
void BM_FindByScanSubset(benchmark::State &state) { findSubset<false>(state); }
/// The indexed search on the same subset, for a per-call comparison.
void BM_FindIndexedSubset(benchmark::State &state) { findSubset<true>(state); }

/// (c) building every module of the project from its lines.
void BM_BuildProject(benchmark::State &state)
{
    const Project &p = project();
    size_t memory = 0;
    double seconds = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        std::vector<ModuleCode> built;
        built.reserve(p.sources.size());
        for (const QStringList &source : p.sources)
            built.emplace_back(source, 1);
        seconds += secondsSince(start);
        state.PauseTiming();
        memory = 0;
        for (const ModuleCode &m : built)
            memory += m.memoryUsage();
        benchmark::DoNotOptimize(built.data());
        built.clear();
        state.ResumeTiming();
    }
    const double perBuild = seconds / double(state.iterations());
    state.counters["Mlines_per_s"] = double(p.lineCount) / perBuild / 1e6;
    state.counters["MB_per_s"] = double(p.charCount) / perBuild / 1e6;
    state.counters["lines"] = double(p.lineCount);
    state.counters["text_MB"] = double(p.charCount) / 1e6;
    state.counters["held_MB"] = double(memory) / 1e6;
}

} // namespace

BENCHMARK(BM_FindEveryNameEveryModule)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FindIndexedSubset)->Arg(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindByScanSubset)->Arg(20)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_BuildProject)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
