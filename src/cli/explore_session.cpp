#include "cli/explore_session.h"

#include "controls/platform.h"
#include "frontend/options.h"

namespace cli {

bool parseExploreArgs(const QStringList &args, const QStringList &switches, ExploreArgs &out, QString &error)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (frontend::isEncodingOption(a)) {
            if (!frontend::takeEncoding(args, i, out.codePage, error))
                return false;
        } else if (a == QLatin1String("--json")) {
            out.json = true;
        } else if (switches.contains(a)) {
            out.flags << a;
        } else if (a.startsWith(QLatin1String("--"))) {
            error = QStringLiteral("unknown option %1").arg(a);
            return false;
        } else {
            out.positional << a;
        }
    }
    if (out.positional.isEmpty())
        error = QStringLiteral("no project file named");
    return !out.positional.isEmpty();
}

void requireProject(const host::VBE &vbe, const QString &name)
{
    const auto projects = vbe.vbProjects();
    for (int i = 1; i <= projects->count(); ++i) {
        if (projects->item(i)->name() == name)
            return;
    }
    throw host::Error(host::err::ElementNotFound, QStringLiteral("no project named %1").arg(name));
}

namespace {

/// What closeForExit() keeps: reachable, so leak checkers do not count it, and never freed.
struct Parked {
    std::vector<frontend::Session> sessions;
    std::vector<std::unique_ptr<ide::Ide>> ides;
};

Parked &parked()
{
    static Parked *kept = new Parked;
    return *kept;
}

} // namespace

void closeForExit(frontend::Session &&session)
{
    if (session.ide)
        session.ide->shutDown();
    parked().sessions.push_back(std::move(session));
}

void closeForExit(std::unique_ptr<ide::Ide> ide)
{
    ide->shutDown();
    parked().ides.push_back(std::move(ide));
}

int withSession(const ExploreArgs &args, const frontend::Console &console,
                const std::function<int(frontend::Session &)> &body, int nothingLoaded)
{
    controls::HeadlessPlatform platform;
    controls::ScopedPlatform scoped(platform);
    frontend::Session session =
        frontend::openSession(args.positional.first(), args.codePage, nullptr, args.passByText);
    frontend::printDiagnostics(console, *session.ide);
    if (session.ide->vbe()->vbProjects()->count() == 0)
        return nothingLoaded;
    const std::size_t printed = session.ide->diagnostics().size();
    int status = frontend::ExitUsage;
    try {
        status = body(session);
    } catch (const host::Error &e) {
        console.err(QStringLiteral("tessary: %1").arg(e.description()));
    }
    frontend::printDiagnostics(console, *session.ide, printed);
    closeForExit(std::move(session));
    return status;
}

} // namespace cli
