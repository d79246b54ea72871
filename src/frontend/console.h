#pragma once
// Where a front end writes its output and how it reports what could not be loaded.
#include "ide/shell/ide.h"

#include <QString>
#include <functional>

namespace frontend {

/// Exit status of both programs, as grep has it.
enum ExitCode { ExitLoaded = 0, ExitNothingLoaded = 1, ExitUsage = 2 };

/// One line (the newline is added) to standard output or standard error; tests collect
/// the lines instead.
struct Console {
    std::function<void(const QString &)> out;
    std::function<void(const QString &)> err;
    /// Replaces the progress line of a long run in place; empty text clears it. Unset unless
    /// standard error is a terminal.
    std::function<void(const QString &)> progress = {};

    /// UTF-8 to the process's stdout and stderr.
    static Console standard();
};

/// "file:line: message" per load diagnostic (no line part when the line is unknown), from the
/// `from`th on.
void printDiagnostics(const Console &console, const ide::Ide &ide, std::size_t from = 0);

/// An absolute `path` relative to `baseDir` (with '/'), so output does not depend on where
/// the examples sit on this machine; other paths, or any when `baseDir` is empty, unchanged.
QString relativePath(const QString &baseDir, const QString &path);

} // namespace frontend
