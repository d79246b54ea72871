#pragma once
// The commands of `tessary`: argument handling, the run, the printed result.
#include "frontend/console.h"

#include <QStringList>

namespace cli {

/// Runs `tessary ARGS...` (without the program name) and returns its exit status
/// (frontend::ExitCode).
int run(QStringList args, const frontend::Console &console);

/// `dump [--encoding NAME] [--lines] FILE`.
int runDump(const QStringList &args, const frontend::Console &console);
/// `ui [--encoding NAME] FILE [ACTION...]`.
int runUi(const QStringList &args, const frontend::Console &console);

/// `tree [--encoding NAME] [--json] FILE`: the General tab's tree.
int runTree(const QStringList &args, const frontend::Console &console);
/// `procs [--encoding NAME] [--json] FILE [MODULE]`: the procedure list of each module.
int runProcs(const QStringList &args, const frontend::Console &console);
/// `calls [--encoding NAME] [--json] FILE PROJECT [--callers|--callees] [PROC]`: the Relative
/// tab's lists after the call analysis.
int runCalls(const QStringList &args, const frontend::Console &console);

/// `find [--encoding NAME] [--json] [--word] [--case] [--pattern] [--project NAME] FILE TEXT`:
/// the Find dialog's search, a hit a line as `file:line:column: text`. Exit 0 with hits, 1
/// without, 2 on errors.
int runFind(const QStringList &args, const frontend::Console &console);

/// `inspect [--encoding NAME] [--checks LIST] [--project NAME] [--format json] FILE`: the
/// code inspection over every module (or one project's) with the chosen check items (all by
/// default), its report printed. Exit 0 after a run, 1 when nothing loaded, 2 on usage
/// errors or when a check failed (the report is printed all the same).
int runInspect(const QStringList &args, const frontend::Console &console);

} // namespace cli
