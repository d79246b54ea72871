#pragma once
// What the explorer commands share: their options and the headless session they run in.
#include "frontend/console.h"
#include "frontend/session.h"
#include "ide/files/encoding.h"

#include <QStringList>
#include <functional>
#include <memory>

namespace cli {

/// The options every explorer command takes, and the positional arguments left over.
struct ExploreArgs {
    ide::files::CodePage codePage = ide::files::CodePage::Auto;
    bool json = false;
    QStringList flags;      // the command's own switches that were given
    QStringList positional; // FILE first
    QString passByText; // code of modules that cannot hold it is built on demand (Ide::setCodeOnDemand)
};

/// Parses `args`: the encoding, --json, the command's own `switches`, positional arguments.
bool parseExploreArgs(const QStringList &args, const QStringList &switches, ExploreArgs &out, QString &error);

/// Throws 35601 "no project named NAME" unless a loaded project has exactly that name.
void requireProject(const host::VBE &vbe, const QString &name);

/// Ends a one-shot command's IDE as the process's exit would: connected add-ins hear that the
/// IDE is closing, but the memory of its projects is left for the system to take back at exit,
/// at once; freed piece by piece it took longer than reading a tenth of the files.
void closeForExit(frontend::Session &&session);
void closeForExit(std::unique_ptr<ide::Ide> ide);

/// Opens the session with a headless platform and runs `body` on it; the exit status is the
/// body's, or `nothingLoaded` when nothing loaded, or 2 when an action failed. Diagnostics of
/// code built while the body ran (passByText) follow its output. The session is closed for exit.
int withSession(const ExploreArgs &args, const frontend::Console &console,
                const std::function<int(frontend::Session &)> &body,
                int nothingLoaded = frontend::ExitNothingLoaded);

} // namespace cli
