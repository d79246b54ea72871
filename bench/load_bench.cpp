// Loading module text through the stand-in IDE: decoding, splitting and building the modules
// of a generated 500,000-line cp932 project, in memory and from disk, beside `iconv` decoding
// the same files. Set TESSARY_BENCH_VBP (or TESSARY_BENCH_PROJECT) to a .vbp to measure a real
// project from disk as well.
//
// `load_bench --load PATH.vbp CODEPAGE [held|indexed]` loads one project in a fresh process, as
// every command and the desktop IDE start, and prints its peak RSS, or what the modules hold.
#include "bench_projects.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

using namespace bench;

void setRates(benchmark::State &state, qint64 bytes, qint64 lines)
{
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["lines/s"] = benchmark::Counter(double(lines), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["MB"] = double(bytes) / 1e6;
}

void loadProject(benchmark::State &state, ide::files::CodePage codePage)
{
    const Corpus &c = corpus();
    Held held;
    for (auto _ : state) {
        ide::Ide ide(c.fs);
        ide.setCodePage(codePage);
        auto projects = ide.load(QStringLiteral("/bench/Bench.vbp"));
        if (projects.empty() || projects.front()->vbComponents()->count() != bench::kModules)
            state.SkipWithError("project did not load");
        state.PauseTiming();
        held = heldBy(projects);
        state.ResumeTiming();
        benchmark::DoNotOptimize(projects);
    }
    setRates(state, c.bytes, c.lines);
    state.counters["held_per_byte"] = double(held.held) / double(c.bytes);
}

void BM_LoadProjectCp932(benchmark::State &state) { loadProject(state, ide::files::CodePage::Cp932); }
void BM_LoadProjectGuessed(benchmark::State &state) { loadProject(state, ide::files::CodePage::Auto); }

/// `iconv` over the module files, as a process, beside the same files loaded by a fresh
/// process of ours: the whole cost a command pays, page faults and all. The timed process only
/// loads, and ends as the command line tool does; what the modules hold is counted by another.
void endToEnd(benchmark::State &state, const ProjectOnDisk &p)
{
    const Timing iconv = iconvTiming(p);
    const QByteArray self = quoted(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")));
    const QByteArray command = self + " --load " + quoted(p.vbp) + " " + QByteArray::number(int(p.codePage));
    double seconds = 0, cpu = 0;
    QByteArray peak;
    for (auto _ : state) {
        const Timing t = timeOf(command, &peak);
        state.SetIterationTime(t.wall);
        seconds += t.wall;
        cpu += t.cpu;
    }
    const QList<QByteArray> held = run(command + " held").trimmed().split(' ');
    const QList<QByteArray> indexed = run(command + " indexed").trimmed().split(' ');
    if (peak.trimmed().isEmpty() || held.size() != 2 || indexed.size() != 2) {
        state.SkipWithError("the loading process failed");
        return;
    }
    setRates(state, p.moduleBytes, p.lines);
    const double perLoad = seconds / double(state.iterations());
    const double cpuPerLoad = cpu / double(state.iterations());
    state.counters["iconv_ms"] = iconv.wall * 1e3;
    state.counters["x_iconv"] = perLoad / iconv.wall;
    state.counters["cpu_ms"] = cpuPerLoad * 1e3;
    state.counters["iconv_cpu_ms"] = iconv.cpu * 1e3;
    state.counters["x_iconv_cpu"] = cpuPerLoad / iconv.cpu;
    state.counters["held_per_byte"] = held[1].toDouble() / double(p.moduleBytes);
    state.counters["held_indexed_per_byte"] = indexed[1].toDouble() / double(p.moduleBytes);
    state.counters["peak_MB"] = peak.trimmed().toDouble() / 1e3;
    state.counters["peak_per_byte"] = peak.trimmed().toDouble() * 1e3 / double(p.moduleBytes);
}

void BM_EndToEndGenerated(benchmark::State &state) { endToEnd(state, generatedProject()); }

void BM_EndToEndReal(benchmark::State &state)
{
    if (const auto p = realProject())
        endToEnd(state, *p);
    else
        state.SkipWithError("TESSARY_BENCH_PROJECT is not set");
}

/// The --load mode. Alone it loads, prints the peak RSS in kB and leaves the IDE as `tessary`
/// does at exit; with "held" it prints module bytes and the bytes the modules hold, with
/// "indexed" module bytes and what they hold once every module has its token index.
int loadOnly(const char *path, int codePage, const char *measure)
{
    auto ide = std::make_unique<ide::Ide>();
    ide->setCodePage(ide::files::CodePage(codePage));
    const auto projects = ide->load(QString::fromLocal8Bit(path));
    if (projects.empty())
        return 1;
    if (!measure) {
        long peak = 0;
        if (FILE *status = std::fopen("/proc/self/status", "r")) {
            char line[256];
            while (std::fgets(line, sizeof line, status))
                if (std::sscanf(line, "VmHWM: %ld kB", &peak) == 1)
                    break;
            std::fclose(status);
        }
        std::printf("%ld\n", peak);
        ide->shutDown();
        static auto *kept = ide.release(); // as the command line tool leaves it
        (void)kept;
        return 0;
    }
    if (std::strcmp(measure, "indexed") == 0) {
        for (const auto &project : projects) {
            auto components = project->vbComponents();
            for (int k = 1; k <= components->count(); ++k) {
                std::shared_ptr<host::CodeModule> module;
                if (!host::resumeNext([&] { module = components->item(k)->codeModule(); }))
                    continue;
                if (auto impl = std::dynamic_pointer_cast<ide::CodeModuleImpl>(module)) {
                    for (const char *target : {"Dim", "End"}) {
                        int a = 1, b = 1, c = -1, d = -1;
                        impl->code().find(QString::fromLatin1(target), a, b, c, d, true);
                    }
                }
            }
        }
    }
    const Held held = heldBy(projects);
    std::printf("%lld %lld\n", static_cast<long long>(held.moduleBytes), static_cast<long long>(held.held));
    return 0;
}

} // namespace

BENCHMARK(BM_LoadProjectCp932)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadProjectGuessed)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_EndToEndGenerated)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_EndToEndReal)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

int main(int argc, char **argv)
{
    if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "--load") == 0)
        return loadOnly(argv[2], std::atoi(argv[3]), argc == 5 ? argv[4] : nullptr);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
