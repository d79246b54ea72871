#include "frontend/console.h"

#include <QDir>
#include <cstdio>
#include <unistd.h>

namespace frontend {

namespace {
void writeLine(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fputc('\n', stream);
}
} // namespace

Console Console::standard()
{
    Console console{[](const QString &text) { writeLine(stdout, text); },
                    [](const QString &text) { writeLine(stderr, text); }};
    if (isatty(fileno(stderr)))
        console.progress = [](const QString &text) {
            const QByteArray bytes = "\r" + text.toUtf8() + "\x1b[K";
            std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
            std::fflush(stderr);
        };
    return console;
}

void printDiagnostics(const Console &console, const ide::Ide &ide, std::size_t from)
{
    const auto &all = ide.diagnostics();
    for (std::size_t k = from; k < all.size(); ++k) {
        const auto &d = all[k];
        console.err(d.line > 0 ? QStringLiteral("%1:%2: %3").arg(d.file).arg(d.line).arg(d.message)
                               : QStringLiteral("%1: %2").arg(d.file, d.message));
    }
}

QString relativePath(const QString &baseDir, const QString &path)
{
    // Windows paths and relative ones, as a project file names them, are shown as they are.
    if (baseDir.isEmpty() || !QDir::isAbsolutePath(path))
        return path;
    return QDir(baseDir).relativeFilePath(path);
}

} // namespace frontend
