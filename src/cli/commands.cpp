#include "cli/commands.h"

#include "cli/dump.h"
#include "cli/explore_session.h"
#include "cli/ui_view.h"
#include "controls/platform.h"
#include "frontend/options.h"
#include "frontend/session.h"
#include "frontend/ui_actions.h"

#include <QFileInfo>

namespace cli {

using frontend::Console;

namespace {

int usage(const Console &console, const QString &error = {})
{
    if (!error.isEmpty())
        console.err(QStringLiteral("tessary: %1").arg(error));
    console.err(QStringLiteral("usage: tessary dump [--encoding NAME] [--lines] FILE.vbp|FILE.vbg\n"
                               "       tessary ui [--encoding NAME] FILE.vbp|FILE.vbg [ACTION...]\n"
                               "       tessary tree [--encoding NAME] [--json] FILE.vbp|FILE.vbg\n"
                               "       tessary procs [--encoding NAME] [--json] FILE.vbp|FILE.vbg [MODULE]\n"
                               "       tessary calls [--encoding NAME] [--json] FILE.vbp|FILE.vbg PROJECT "
                               "[--callers|--callees] [PROC]\n"
                               "       tessary find [--encoding NAME] [--json] [--word] [--case] [--pattern] "
                               "[--project NAME] FILE.vbp|FILE.vbg TEXT\n"
                               "       tessary inspect [--encoding NAME] [--checks LIST] [--project NAME] "
                               "[--format json] FILE.vbp|FILE.vbg\n") +
                frontend::actionsUsage());
    return frontend::ExitUsage;
}

} // namespace

int runUi(const QStringList &args, const Console &console)
{
    ide::files::CodePage codePage = ide::files::CodePage::Auto;
    QString file;
    QString error;
    int i = 0;
    for (; i < args.size(); ++i) {
        if (frontend::isEncodingOption(args[i])) {
            if (!frontend::takeEncoding(args, i, codePage, error))
                return usage(console, error);
        } else if (file.isEmpty() && !args[i].startsWith(QLatin1String("--"))) {
            file = args[i];
        } else {
            break;
        }
    }
    if (file.isEmpty())
        return usage(console);
    std::vector<frontend::UiAction> actions;
    if (!frontend::parseUiActions(args.mid(i), actions, error))
        return usage(console, error);
    controls::HeadlessPlatform platform;
    controls::ScopedPlatform scoped(platform);
    frontend::Session session = frontend::openSession(file, codePage);
    frontend::printDiagnostics(console, *session.ide);
    if (session.ide->vbe()->vbProjects()->count() == 0)
        return frontend::ExitNothingLoaded;
    for (const auto &action : actions) {
        try {
            frontend::applyUiAction(session, action);
        } catch (const host::Error &e) {
            console.err(QStringLiteral("tessary: %1: %2").arg(frontend::actionText(action), e.description()));
            return frontend::ExitUsage;
        }
    }
    QStringList messages;
    for (const auto &m : platform.messages())
        messages << m.prompt;
    console.out(uiState(session, messages).dump());
    closeForExit(std::move(session));
    return frontend::ExitLoaded;
}

int runDump(const QStringList &args, const Console &console)
{
    bool withLines = false;
    QString file;
    QString error;
    ide::files::CodePage codePage = ide::files::CodePage::Auto;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("--lines")) {
            withLines = true;
        } else if (frontend::isEncodingOption(a)) {
            if (!frontend::takeEncoding(args, i, codePage, error))
                return usage(console, error);
        } else if (a.startsWith(QLatin1String("--"))) {
            return usage(console, QStringLiteral("unknown option %1").arg(a));
        } else if (file.isEmpty()) {
            file = a;
        } else {
            return usage(console, QStringLiteral("one file only"));
        }
    }
    if (file.isEmpty())
        return usage(console);
    auto ide = std::make_unique<ide::Ide>();
    ide->setCodePage(codePage);
    ide->load(file);
    // Paths are shown from the named file's folder, whichever folder tessary runs in.
    frontend::JsonWriter out(console.out);
    dumpIde(*ide, withLines, QFileInfo(file).absolutePath(), out);
    frontend::printDiagnostics(console, *ide);
    const bool loaded = ide->vbe()->vbProjects()->count() > 0;
    closeForExit(std::move(ide));
    return loaded ? frontend::ExitLoaded : frontend::ExitNothingLoaded;
}

int run(QStringList args, const Console &console)
{
    if (args.isEmpty())
        return usage(console);
    const QString command = args.takeFirst();
    if (command == QLatin1String("dump"))
        return runDump(args, console);
    if (command == QLatin1String("ui"))
        return runUi(args, console);
    if (command == QLatin1String("tree"))
        return runTree(args, console);
    if (command == QLatin1String("procs"))
        return runProcs(args, console);
    if (command == QLatin1String("calls"))
        return runCalls(args, console);
    if (command == QLatin1String("find"))
        return runFind(args, console);
    if (command == QLatin1String("inspect"))
        return runInspect(args, console);
    return usage(console, QStringLiteral("unknown command '%1'").arg(command));
}

} // namespace cli
