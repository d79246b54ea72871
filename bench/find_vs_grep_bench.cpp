// `tessary find PROJECT WORD` end to end, as a fresh process (loading and decoding included),
// beside `grep -ni WORD` over the same module files: the generated 500,000-line cp932 project,
// and a real one named by TESSARY_BENCH_VBP. TESSARY_BENCH_WORD overrides the word.
#include "bench_projects.h"

#include <benchmark/benchmark.h>

namespace {

using namespace bench;

void findVersusGrep(benchmark::State &state, const ProjectOnDisk &p, const char *word)
{
    if (const char *w = std::getenv("TESSARY_BENCH_WORD"); w && *w)
        word = w;
    const QByteArray find = tessaryCommand() + " find --encoding " + encodingName(p.codePage) + " " + quoted(p.vbp)
        + " " + quoted(QString::fromLocal8Bit(word));
    // grep stops at the first hit when it writes to /dev/null: both are read through a pipe. In
    // the C locale grep reads cp932 text as bytes instead of calling its files binary.
    QByteArray grep = "LC_ALL=C grep -rni " + quoted(QString::fromLocal8Bit(word));
    for (const QString &file : p.files)
        grep += ' ' + quoted(file);
    sideBySide(state, find, grep, "grep", p.moduleBytes);
}

void BM_FindGenerated(benchmark::State &state) { findVersusGrep(state, generatedProject(), "Supplier"); }

void BM_FindReal(benchmark::State &state)
{
    if (const auto p = realProject())
        findVersusGrep(state, *p, "Bitmap");
    else
        state.SkipWithError("TESSARY_BENCH_VBP is not set");
}

} // namespace

BENCHMARK(BM_FindGenerated)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_FindReal)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

BENCHMARK_MAIN();
