// Loading: decode + split + index of module text through the stand-in IDE, on a
// generated 500,000-line cp932 project held in memory (no disk in the figure).
#include "generated_code.h"
#include "ide/files/encoding.h"
#include "ide/files/file_system.h"
#include "ide/shell/ide.h"

#include <benchmark/benchmark.h>

namespace {

struct Corpus {
    std::shared_ptr<ide::files::MemoryFileSystem> fs = std::make_shared<ide::files::MemoryFileSystem>();
    qint64 bytes = 0;
    qint64 lines = 0;
};

const Corpus &corpus()
{
    static const Corpus c = [] {
        Corpus out;
        std::mt19937 random(7);
        const QStringList names = bench::makeNames(random);
        QString vbp = QStringLiteral("Type=Exe\r\nName=\"Bench\"\r\n");
        for (int m = 0; m < bench::kModules; ++m) {
            QStringList lines = bench::makeModule(random, names, m);
            // Japanese projects comment in Japanese: keep the decoder off its ASCII-only path.
            for (int i = 3; i < lines.size(); i += 25)
                lines[i] += QStringLiteral(" ' 受注ﾃﾞｰﾀを更新する");
            const QByteArray bytes = ide::files::encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"),
                                                        ide::files::CodePage::Cp932);
            out.bytes += bytes.size();
            out.lines += lines.size();
            out.fs->add(QStringLiteral("/bench/Module%1.bas").arg(m), bytes);
            vbp += QStringLiteral("Module=Module%1; Module%1.bas\r\n").arg(m);
        }
        out.fs->add(QStringLiteral("/bench/Bench.vbp"), vbp.toLatin1());
        return out;
    }();
    return c;
}

void loadProject(benchmark::State &state, ide::files::CodePage codePage)
{
    const Corpus &c = corpus();
    for (auto _ : state) {
        ide::Ide ide(c.fs);
        ide.setCodePage(codePage);
        auto projects = ide.load(QStringLiteral("/bench/Bench.vbp"));
        if (projects.empty() || projects.front()->vbComponents()->count() != bench::kModules)
            state.SkipWithError("project did not load");
        benchmark::DoNotOptimize(projects);
    }
    state.SetBytesProcessed(state.iterations() * c.bytes);
    state.counters["lines/s"] = benchmark::Counter(double(c.lines), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["MB"] = double(c.bytes) / 1e6;
}

void BM_LoadProjectCp932(benchmark::State &state) { loadProject(state, ide::files::CodePage::Cp932); }
void BM_LoadProjectGuessed(benchmark::State &state) { loadProject(state, ide::files::CodePage::Auto); }

} // namespace

BENCHMARK(BM_LoadProjectCp932)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadProjectGuessed)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
