// `tessary dump` end to end, as a fresh process, beside `iconv` decoding the same module files:
// the generated 500,000-line cp932 project, and a real one named by TESSARY_BENCH_VBP.
#include "bench_projects.h"

#include <benchmark/benchmark.h>

namespace {

using namespace bench;

void dumpVersusIconv(benchmark::State &state, const ProjectOnDisk &p)
{
    const QByteArray dump = tessaryCommand() + " dump --encoding " + encodingName(p.codePage) + " " + quoted(p.vbp);
    QByteArray floor = iconvCommand(p);
    floor.chop(int(qstrlen(" > /dev/null"))); // read through the pipe, as the dump is
    sideBySide(state, dump, floor, "iconv", p.moduleBytes);
}

void BM_DumpGenerated(benchmark::State &state) { dumpVersusIconv(state, generatedProject()); }

void BM_DumpReal(benchmark::State &state)
{
    if (const auto p = realProject())
        dumpVersusIconv(state, *p);
    else
        state.SkipWithError("TESSARY_BENCH_VBP is not set");
}

} // namespace

BENCHMARK(BM_DumpGenerated)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_DumpReal)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

BENCHMARK_MAIN();
