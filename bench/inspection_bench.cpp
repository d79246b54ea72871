// The checks of the inspection over every module of a project, one check at a time and all
// thirteen in the run's order, through the stand-in IDE: a generated 500,000-line project and,
// when TESSARY_BENCH_VBP names one, a real project. Each check searches every member name
// through CodeModule.Find. Then `tessary inspect --format sarif` end to end, on the real
// project and on the examples.
#include "cli/commands.h"
#include "controls/platform.h"
#include "generated_code.h"
#include "ide/files/file_system.h"
#include "ide/shell/ide.h"
#include "inspection/check.h"
#include "inspection/run.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <sys/resource.h>
#include <cstdlib>
#include <functional>

namespace {

using CheckFunction = std::function<void(inspection::CheckContext &, const host::Ptr<host::VBProject> &,
                                         const host::Ptr<host::VBComponent> &, int)>;

struct Loaded {
    std::unique_ptr<ide::Ide> ide;
    host::Ptr<host::VBProject> project;
    std::vector<host::Ptr<host::VBComponent>> components;
    qint64 lines = 0;
};

std::unique_ptr<Loaded> load(std::shared_ptr<ide::files::FileSystem> fs, const QString &path)
{
    auto loaded = std::make_unique<Loaded>();
    loaded->ide = std::make_unique<ide::Ide>(std::move(fs));
    loaded->ide->load(path);
    if (loaded->ide->vbe()->vbProjects()->count() == 0)
        return loaded;
    loaded->project = loaded->ide->vbe()->vbProjects()->item(1);
    const auto components = loaded->project->vbComponents();
    for (int k = 1; k <= components->count(); ++k) {
        const auto component = components->item(k);
        if (component->type() == host::ComponentType::ResFile ||
            component->type() == host::ComponentType::RelatedDocument)
            continue;
        loaded->components.push_back(component);
        loaded->lines += component->codeModule()->countOfLines();
    }
    return loaded;
}

Loaded &generated()
{
    static const std::unique_ptr<Loaded> loaded = load(bench::makeProjectFiles(), QStringLiteral("/bench/Bench.vbp"));
    return *loaded;
}

Loaded *real()
{
    const char *path = std::getenv("TESSARY_BENCH_VBP");
    if (!path || !*path || !QFile::exists(QString::fromLocal8Bit(path)))
        return nullptr;
    static const std::unique_ptr<Loaded> loaded = load(nullptr, QString::fromLocal8Bit(path));
    return loaded.get();
}

void runCheck(benchmark::State &state, Loaded *loaded, const CheckFunction &check)
{
    if (!loaded || !loaded->project) {
        state.SkipWithError("TESSARY_BENCH_VBP names no project that loads");
        return;
    }
    std::vector<shared::AnalizeResult> results(loaded->components.size());
    inspection::CheckContext context(results);
    for (auto _ : state) {
        results.assign(loaded->components.size(), shared::AnalizeResult());
        for (std::size_t i = 0; i < loaded->components.size(); ++i)
            inspection::runChecked(context, [&] { check(context, loaded->project, loaded->components[i], int(i)); });
    }
    int findings = 0;
    for (const shared::AnalizeResult &r : results)
        findings += r.total();
    state.counters["modules"] = double(loaded->components.size());
    state.counters["lines"] = double(loaded->lines);
    state.counters["findings"] = findings;
}

const CheckFunction kUnusedProcedures = [](auto &c, const auto &p, const auto &m, int i) {
    inspection::CheckUnusedProcedures(c, p, m, i);
};
const CheckFunction kUnusedDeclares = [](auto &c, const auto &p, const auto &m, int i) {
    inspection::CheckUnusedDeclares(c, p, m, i);
};
const CheckFunction kUnusedVariables = [](auto &c, const auto &p, const auto &m, int i) {
    inspection::CheckUnusedVariables(c, p, m, i, true, true);
};
const CheckFunction kUnusedLocals = [](auto &c, const auto &, const auto &m, int i) {
    inspection::CheckUnusedLocalVariables(c, m, i);
};

void BM_UnusedProceduresGenerated(benchmark::State &s) { runCheck(s, &generated(), kUnusedProcedures); }
void BM_UnusedDeclaresGenerated(benchmark::State &s) { runCheck(s, &generated(), kUnusedDeclares); }
void BM_UnusedVariablesGenerated(benchmark::State &s) { runCheck(s, &generated(), kUnusedVariables); }
void BM_UnusedLocalVariablesGenerated(benchmark::State &s) { runCheck(s, &generated(), kUnusedLocals); }
void BM_UnusedProceduresReal(benchmark::State &s) { runCheck(s, real(), kUnusedProcedures); }
void BM_UnusedDeclaresReal(benchmark::State &s) { runCheck(s, real(), kUnusedDeclares); }
void BM_UnusedVariablesReal(benchmark::State &s) { runCheck(s, real(), kUnusedVariables); }
void BM_UnusedLocalVariablesReal(benchmark::State &s) { runCheck(s, real(), kUnusedLocals); }

} // namespace

BENCHMARK(BM_UnusedProceduresGenerated)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_UnusedDeclaresGenerated)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_UnusedVariablesGenerated)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_UnusedLocalVariablesGenerated)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_UnusedProceduresReal)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_UnusedDeclaresReal)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_UnusedVariablesReal)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_UnusedLocalVariablesReal)->Unit(benchmark::kMillisecond)->Iterations(1);

namespace {

/// The peak resident memory of the process so far.
double maxResidentMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

using ModuleCheck = void (*)(inspection::CheckContext &, const host::Ptr<host::VBComponent> &, int);

template <ModuleCheck check>
const CheckFunction moduleCheck = [](auto &c, const auto &, const auto &m, int i) { check(c, m, i); };

/// All thirteen items on every module, as one run of the dialog does it.
const CheckFunction kAllChecks = [](auto &c, const auto &p, const auto &m, int i) {
    inspection::RunModuleChecks(c, p, m, i, inspection::allItems());
};

/// `tessary inspect --format sarif FILE`: load, run, report.
void inspectSarif(benchmark::State &state, const QString &file)
{
    if (file.isEmpty() || !QFile::exists(file)) {
        state.SkipWithError("no project file");
        return;
    }
    qint64 bytes = 0;
    const frontend::Console console{[&](const QString &t) { bytes += t.size(); }, [](const QString &) {}};
    for (auto _ : state) {
        bytes = 0;
        if (cli::run({QStringLiteral("inspect"), QStringLiteral("--format"), QStringLiteral("sarif"), file}, console) != 0)
            state.SkipWithError("tessary inspect failed");
    }
    state.counters["outputChars"] = double(bytes);
    state.counters["maxRssMiB"] = maxResidentMiB();
}

const bool registered = [] {
    const struct {
        const char *name;
        CheckFunction check;
    } checks[] = {
        {"OptionExplicit", moduleCheck<inspection::CheckOptionExplicit>},
        {"ModuleVariableTypes", moduleCheck<inspection::CheckModuleVariableTypes>},
        {"LocalVariableTypes", moduleCheck<inspection::CheckLocalVariableTypes>},
        {"StringFunctions", moduleCheck<inspection::CheckStringFunctions>},
        {"ProcedureScope", moduleCheck<inspection::CheckProcedureScope>},
        {"EmptyProcedures", moduleCheck<inspection::CheckEmptyProcedures>},
        {"ByRefDeclare2", moduleCheck<inspection::CheckByRefDeclare2>},
        {"ReturnTypes", moduleCheck<inspection::CheckReturnTypes>},
        {"DebugPrint", moduleCheck<inspection::CheckDebugPrint>},
        {"AllThirteenChecks", kAllChecks},
    };
    for (const auto &c : checks) {
        const CheckFunction check = c.check;
        const bool all = std::string(c.name) == "AllThirteenChecks";
        benchmark::RegisterBenchmark((std::string("BM_") + c.name + "Generated").c_str(),
                                     [check, all](benchmark::State &s) {
                                         runCheck(s, &generated(), check);
                                         if (all)
                                             s.counters["maxRssMiB"] = maxResidentMiB();
                                     })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
        benchmark::RegisterBenchmark((std::string("BM_") + c.name + "Real").c_str(),
                                     [check](benchmark::State &s) { runCheck(s, real(), check); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1);
    }
    benchmark::RegisterBenchmark("BM_InspectSarifReal", [](benchmark::State &s) {
        inspectSarif(s, QString::fromLocal8Bit(std::getenv("TESSARY_BENCH_VBP")));
    })->Unit(benchmark::kMillisecond)->Iterations(1);
    benchmark::RegisterBenchmark("BM_InspectSarifExamples", [](benchmark::State &s) {
        inspectSarif(s, QStringLiteral(TESSARY_SOURCE_DIR "/examples/Tessary.vbg"));
    })->Unit(benchmark::kMillisecond)->Iterations(3);
    return true;
}();

} // namespace

BENCHMARK_MAIN();
