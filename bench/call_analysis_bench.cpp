// The explorer on a project of realistic size, through the stand-in IDE and the headless
// tool window: the call analysis ("ﾌﾟﾛｼｰｼﾞｬ ｺｰﾙ") and a node click on the General tab, on a
// generated 500,000-line project with 20,000 procedures and, when TESSARY_BENCH_VBP names one,
// on a real project. Each reports its peak memory.
#include "analysis/call_references.h"
#include "controls/platform.h"
#include "docmain/doc_main.h"
#include "generated_code.h"
#include "ide/files/file_system.h"
#include "ide/shell/ide.h"
#include "shared/bas_quillbox.h"
#include "../tests/support/tool_window_session.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <cstdlib>

namespace {

/// Peak resident memory of the process so far, in MiB (Linux; 0 elsewhere).
double peakMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

std::unique_ptr<ide::Ide> loadProject(std::shared_ptr<ide::files::FileSystem> fs, const QString &path)
{
    auto ide = std::make_unique<ide::Ide>(std::move(fs));
    ide->load(path);
    return ide;
}

/// The stand-in IDE with the project and the tool window filled as on connection.
struct Session : testing_support::ToolWindowSession {
    Session(std::shared_ptr<ide::files::FileSystem> fs, const QString &path)
        : ToolWindowSession(loadProject(std::move(fs), path))
    {
    }
    bool loaded() const { return ide->vbe()->vbProjects()->count() > 0; }
};

void runCallAnalysis(benchmark::State &state, Session &session)
{
    if (!session.loaded()) {
        state.SkipWithError("project did not load");
        return;
    }
    docmain::DocMain &doc = *session.doc;
    for (auto _ : state)
        doc.tbrMain(0).click(QStringLiteral("DEPENDENCY"));
    controls::TreeView &tree = doc.tvwProject(1);
    int procedures = 0, entries = 0;
    for (const controls::Node *n : tree.nodes()) {
        if (n->key().isEmpty())
            ++entries;
        else if (n->parent() && n->parent()->parent() && n->parent()->parent()->parent())
            ++procedures;
    }
    state.counters["procedures"] = procedures;
    state.counters["callEntries"] = entries;
    state.counters["peakMiB"] = peakMiB();
}

/// The General tab: a click on the module with the most procedures, "PROC" down.
void runGeneralClick(benchmark::State &state, Session &session)
{
    if (!session.loaded()) {
        state.SkipWithError("project did not load");
        return;
    }
    docmain::DocMain &doc = *session.doc;
    doc.tbsProject.setSelectedItem(doc.tbsProject.tabs()(1));
    doc.tbsProject_Click();
    controls::TreeView &tree = doc.tvwProject(0);
    controls::Node *module = nullptr;
    int most = -1;
    for (controls::Node *n : tree.nodes()) {
        // Component nodes: two levels under the project root.
        if (!n->parent() || !n->parent()->parent() || n->parent()->parent()->parent())
            continue;
        int count = 0;
        host::resumeNext([&] {
            count = session.ide->vbe()->vbProjects()->item(1)->vbComponents()->item(n->text())->codeModule()->members()->count();
        });
        if (count > most) {
            most = count;
            module = n;
        }
    }
    if (!module) {
        state.SkipWithError("no module node");
        return;
    }
    for (auto _ : state) {
        doc.mstrCurrentTag.clear();
        tree.clickNode(module);
    }
    state.counters["rows"] = doc.lvwDetail(0).listItems().count();
    state.counters["members"] = most;
}

Session &generatedSession()
{
    static Session session(bench::makeProjectFiles(), QStringLiteral("/bench/Bench.vbp"));
    return session;
}

Session *realSession()
{
    const char *path = std::getenv("TESSARY_BENCH_VBP");
    if (!path || !*path || !QFile::exists(QString::fromLocal8Bit(path)))
        return nullptr;
    static Session session(nullptr, QString::fromLocal8Bit(path));
    return &session;
}

void BM_CallAnalysisGenerated(benchmark::State &state) { runCallAnalysis(state, generatedSession()); }
void BM_GeneralClickGenerated(benchmark::State &state) { runGeneralClick(state, generatedSession()); }

void BM_CallAnalysisReal(benchmark::State &state)
{
    Session *session = realSession();
    if (!session) {
        state.SkipWithError("TESSARY_BENCH_VBP names no project");
        return;
    }
    runCallAnalysis(state, *session);
}

void BM_GeneralClickReal(benchmark::State &state)
{
    Session *session = realSession();
    if (!session) {
        state.SkipWithError("TESSARY_BENCH_VBP names no project");
        return;
    }
    runGeneralClick(state, *session);
}

} // namespace

BENCHMARK(BM_CallAnalysisGenerated)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_GeneralClickGenerated)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CallAnalysisReal)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_GeneralClickReal)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
