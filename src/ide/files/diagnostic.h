#pragma once
#include <QString>

namespace ide::files {

/// A problem found while loading: `line` is the 1-based file line, 0 for the whole file.
struct Diagnostic {
    QString file;
    int line = 0;
    QString message;
};

/// "Line N: message", the shape of VB6's own load logs.
inline QString formatDiagnostic(const Diagnostic &d)
{
    return QStringLiteral("%1: Line %2: %3").arg(d.file).arg(d.line).arg(d.message);
}

} // namespace ide::files
