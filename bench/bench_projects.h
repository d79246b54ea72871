#pragma once
// The projects the end-to-end benchmarks run over, on disk, and the timing of child processes:
// the generated 500,000-line cp932 project, and a real one named by TESSARY_BENCH_VBP (or
// TESSARY_BENCH_PROJECT), with `iconv` decoding the same files as the floor.
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
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <sys/resource.h>

namespace bench {

using Clock = std::chrono::steady_clock;

struct Corpus {
    std::shared_ptr<ide::files::MemoryFileSystem> fs = std::make_shared<ide::files::MemoryFileSystem>();
    std::vector<std::pair<QString, QByteArray>> files; // module file name, bytes
    QByteArray vbp;
    qint64 bytes = 0;
    qint64 lines = 0;
};

inline const Corpus &corpus()
{
    static const Corpus c = [] {
        Corpus out;
        std::mt19937 random(7);
        const QStringList names = makeNames(random);
        QString vbp = QStringLiteral("Type=Exe\r\nName=\"Bench\"\r\n");
        for (int m = 0; m < kModules; ++m) {
            QStringList lines = makeModule(random, names, m);
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

inline Held heldBy(const std::vector<host::Ptr<host::VBProject>> &projects)
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
inline const QString &generatedOnDisk()
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

inline QByteArray quoted(const QString &path)
{
    return "'" + QFile::encodeName(path).replace("'", "'\\''") + "'";
}

/// Runs a shell command, returning its standard output.
inline QByteArray run(const QByteArray &command)
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

inline ProjectOnDisk generatedProject()
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

inline std::optional<ProjectOnDisk> realProject()
{
    static const std::optional<ProjectOnDisk> project = []() -> std::optional<ProjectOnDisk> {
        const char *path = std::getenv("TESSARY_BENCH_VBP");
        if (!path || !*path)
            path = std::getenv("TESSARY_BENCH_PROJECT");
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

inline QByteArray iconvName(ide::files::CodePage cp)
{
    return cp == ide::files::CodePage::Cp932 ? "CP932" : "CP1252";
}

inline QByteArray iconvCommand(const ProjectOnDisk &p)
{
    QByteArray command = "iconv -f " + iconvName(p.codePage) + " -t UTF-8";
    for (const QString &file : p.files)
        command += ' ' + quoted(file);
    return command + " > /dev/null";
}

/// User and system time of the finished child processes so far.
inline double childCpuSeconds()
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

inline Timing timeOf(const QByteArray &command, QByteArray *output = nullptr)
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
inline Timing iconvTiming(const ProjectOnDisk &p)
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

/// `--encoding NAME` for the command line tool.
inline QByteArray encodingName(ide::files::CodePage cp)
{
    return cp == ide::files::CodePage::Cp932 ? "cp932" : "cp1252";
}

/// Lines of a command's output.
inline qint64 lineCount(const QByteArray &output)
{
    return output.count('\n') + (output.isEmpty() || output.endsWith('\n') ? 0 : 1);
}

/// Runs `ours` once per iteration beside the median of five runs of `floor` over the same
/// files (both reading their output through a pipe), and reports both and their ratio in wall
/// and CPU time (the steadier figure on a busy machine).
inline void sideBySide(benchmark::State &state, const QByteArray &ours, const QByteArray &floor,
                       const char *floorName, qint64 bytes)
{
    QByteArray floorOutput, ourOutput;
    std::vector<double> wall, cpu;
    for (int k = 0; k < 5; ++k) {
        const Timing t = timeOf(floor, &floorOutput);
        wall.push_back(t.wall);
        cpu.push_back(t.cpu);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    double seconds = 0, cpuSeconds = 0;
    for (auto _ : state) {
        const Timing t = timeOf(ours, &ourOutput);
        state.SetIterationTime(t.wall);
        seconds += t.wall;
        cpuSeconds += t.cpu;
    }
    if (ourOutput.isEmpty()) {
        state.SkipWithError("the command printed nothing");
        return;
    }
    const double n = double(state.iterations());
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["MB"] = double(bytes) / 1e6;
    state.counters["out_lines"] = double(lineCount(ourOutput));
    state.counters[std::string(floorName) + "_lines"] = double(lineCount(floorOutput));
    state.counters["cpu_ms"] = cpuSeconds / n * 1e3;
    state.counters[std::string(floorName) + "_ms"] = wall[2] * 1e3;
    state.counters[std::string(floorName) + "_cpu_ms"] = cpu[2] * 1e3;
    state.counters[std::string("x_") + floorName] = seconds / n / wall[2];
    state.counters[std::string("x_") + floorName + "_cpu"] = cpuSeconds / n / cpu[2];
}

#ifdef TESSARY_CLI
/// The built `tessary` tool, or the one TESSARY_BENCH_CLI names (to compare two builds).
inline QByteArray tessaryCommand()
{
    const char *other = std::getenv("TESSARY_BENCH_CLI");
    return quoted(other && *other ? QString::fromLocal8Bit(other) : QStringLiteral(TESSARY_CLI));
}
#endif

} // namespace bench
