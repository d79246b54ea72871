// Loading module text through the stand-in IDE: decode + split + index of a generated
// 500,000-line cp932 project, in memory and from disk, beside `iconv` decoding the same files.
// Set TESSARY_BENCH_PROJECT to a .vbp to measure a real project from disk as well.
//
// `load_bench --load PATH.vbp` loads one project and prints its module bytes, the bytes the
// loaded modules hold and the process's peak RSS; the benchmarks run it as a fresh process,
// as every command and the desktop IDE start.
#include "generated_code.h"
#include "ide/files/encoding.h"
#include "ide/files/file_system.h"
#include "ide/shell/ide.h"
#include "ide/shell/impl.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <sys/resource.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Corpus {
    std::shared_ptr<ide::files::MemoryFileSystem> fs = std::make_shared<ide::files::MemoryFileSystem>();
    std::vector<std::pair<QString, QByteArray>> files; // module file name, bytes
    QByteArray vbp;
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
            const QString file = QStringLiteral("Module%1.bas").arg(m);
            out.fs->add(QStringLiteral("/bench/") + file, bytes);
            out.files.emplace_back(file, bytes);
            vbp += QStringLiteral("Module=Module%1; Module%1.bas\r\n").arg(m);
        }
        out.vbp = vbp.toLatin1();
        out.fs->add(QStringLiteral("/bench/Bench.vbp"), out.vbp);
        return out;
    }();
    return c;
}

/// Bytes the loaded projects' code modules hold, and their module files' bytes.
struct Held {
    qint64 held = 0;
    qint64 moduleBytes = 0;
    qint64 lines = 0;
    QStringList files;
};

Held heldBy(const std::vector<host::Ptr<host::VBProject>> &projects)
{
    Held out;
    for (const auto &project : projects) {
        auto components = project->vbComponents();
        for (int k = 1; k <= components->count(); ++k) {
            auto component = components->item(k);
            std::shared_ptr<host::CodeModule> module;
            if (!host::resumeNext([&] { module = component->codeModule(); }))
                continue;
            auto impl = std::dynamic_pointer_cast<ide::CodeModuleImpl>(module);
            if (!impl)
                continue;
            out.held += qint64(impl->code().memoryUsage());
            out.lines += impl->countOfLines();
            const QString file = component->fileNames(1);
            out.moduleBytes += QFileInfo(file).size();
            out.files << file;
        }
    }
    return out;
}

/// The generated project written to a temporary folder, once.
const QString &generatedOnDisk()
{
    static QTemporaryDir dir;
    static const QString vbp = [] {
        const Corpus &c = corpus();
        for (const auto &[name, bytes] : c.files) {
            QFile f(dir.filePath(name));
            if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
                std::abort();
        }
        QFile f(dir.filePath(QStringLiteral("Bench.vbp")));
        if (!f.open(QIODevice::WriteOnly))
            std::abort();
        f.write(c.vbp);
        return dir.filePath(QStringLiteral("Bench.vbp"));
    }();
    return vbp;
}

QByteArray quoted(const QString &path)
{
    return "'" + QFile::encodeName(path).replace("'", "'\\''") + "'";
}

/// Runs a shell command, returning its standard output.
QByteArray run(const QByteArray &command)
{
    FILE *pipe = popen(command.constData(), "r");
    if (!pipe)
        return {};
    QByteArray out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, qsizetype(n));
    return pclose(pipe) == 0 ? out : QByteArray();
}

struct ProjectOnDisk {
    QString vbp;
    QStringList files; // module files, for iconv
    qint64 moduleBytes = 0;
    qint64 lines = 0;
    ide::files::CodePage codePage = ide::files::CodePage::Cp932;
};

ProjectOnDisk generatedProject()
{
    ProjectOnDisk p;
    p.vbp = generatedOnDisk();
    const Corpus &c = corpus();
    for (const auto &file : c.files)
        p.files << QFileInfo(p.vbp).dir().filePath(file.first);
    p.moduleBytes = c.bytes;
    p.lines = c.lines;
    return p;
}

std::optional<ProjectOnDisk> realProject()
{
    static const std::optional<ProjectOnDisk> project = []() -> std::optional<ProjectOnDisk> {
        const char *path = std::getenv("TESSARY_BENCH_PROJECT");
        if (!path || !*path)
            return std::nullopt;
        ProjectOnDisk p;
        p.vbp = QString::fromLocal8Bit(path);
        p.codePage = ide::files::CodePage::Cp1252;
        ide::Ide ide;
        ide.setCodePage(p.codePage);
        const Held held = heldBy(ide.load(p.vbp));
        p.files = held.files;
        p.moduleBytes = held.moduleBytes;
        p.lines = held.lines;
        return p;
    }();
    return project;
}

QByteArray iconvName(ide::files::CodePage cp)
{
    return cp == ide::files::CodePage::Cp932 ? "CP932" : "CP1252";
}

QByteArray iconvCommand(const ProjectOnDisk &p)
{
    QByteArray command = "iconv -f " + iconvName(p.codePage) + " -t UTF-8";
    for (const QString &file : p.files)
        command += ' ' + quoted(file);
    return command + " > /dev/null";
}

/// User and system time of the finished child processes so far.
double childCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

/// Wall and CPU seconds of one run of a command: on a busy machine the CPU time is the
/// steadier figure.
struct Timing {
    double wall = 0;
    double cpu = 0;
};

Timing timeOf(const QByteArray &command, QByteArray *output = nullptr)
{
    const double cpu = childCpuSeconds();
    const Clock::time_point start = Clock::now();
    const QByteArray out = run(command);
    Timing t{std::chrono::duration<double>(Clock::now() - start).count(), 0};
    t.cpu = childCpuSeconds() - cpu; // the shell's share included, as for iconv
    if (output)
        *output = out;
    return t;
}

/// Median wall and CPU times of five runs of `iconv` over the project's files.
Timing iconvTiming(const ProjectOnDisk &p)
{
    std::vector<double> wall, cpu;
    for (int k = 0; k < 5; ++k) {
        const Timing t = timeOf(iconvCommand(p));
        wall.push_back(t.wall);
        cpu.push_back(t.cpu);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[2], cpu[2]};
}

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
/// process of ours: the whole cost a command pays, page faults and all.
void endToEnd(benchmark::State &state, const ProjectOnDisk &p)
{
    const Timing iconv = iconvTiming(p);
    const QByteArray self = quoted(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")));
    const QByteArray command = self + " --load " + quoted(p.vbp) + " " + QByteArray::number(int(p.codePage));
    double seconds = 0, cpu = 0;
    QByteArray report;
    for (auto _ : state) {
        const Timing t = timeOf(command, &report);
        state.SetIterationTime(t.wall);
        seconds += t.wall;
        cpu += t.cpu;
    }
    const QList<QByteArray> fields = report.trimmed().split(' ');
    if (fields.size() != 3) {
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
    state.counters["held_per_byte"] = fields[1].toDouble() / double(p.moduleBytes);
    state.counters["peak_MB"] = fields[2].toDouble() / 1e3;
    state.counters["peak_per_byte"] = fields[2].toDouble() * 1e3 / double(p.moduleBytes);
}

void BM_EndToEndGenerated(benchmark::State &state) { endToEnd(state, generatedProject()); }

void BM_EndToEndReal(benchmark::State &state)
{
    if (const auto p = realProject())
        endToEnd(state, *p);
    else
        state.SkipWithError("TESSARY_BENCH_PROJECT is not set");
}

/// The --load mode: prints module bytes, bytes held and peak RSS in kB.
int loadOnly(const char *path, int codePage)
{
    ide::Ide ide;
    ide.setCodePage(ide::files::CodePage(codePage));
    const auto projects = ide.load(QString::fromLocal8Bit(path));
    if (projects.empty())
        return 1;
    const Held held = heldBy(projects);
    long peak = 0;
    if (FILE *status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status))
            if (std::sscanf(line, "VmHWM: %ld kB", &peak) == 1)
                break;
        std::fclose(status);
    }
    std::printf("%lld %lld %ld\n", static_cast<long long>(held.moduleBytes),
                static_cast<long long>(held.held), peak);
    return 0;
}

} // namespace

BENCHMARK(BM_LoadProjectCp932)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadProjectGuessed)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_EndToEndGenerated)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_EndToEndReal)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

int main(int argc, char **argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--load") == 0)
        return loadOnly(argv[2], std::atoi(argv[3]));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
