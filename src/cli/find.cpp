// `tessary find`: the Find dialog's search over the loaded projects, printed as grep prints
// matches. The search is the add-in's; only the file positions come from the stand-in IDE.
#include "cli/commands.h"

#include "analysis/source_text.h"
#include "cli/explore_session.h"
#include "cli/module_files.h"
#include "find/search.h"
#include "frontend/json.h"
#include "shared/bas_quillbox.h"

#include <QFileInfo>
#include <QHash>
#include <charconv>

namespace cli {

namespace {

int findUsage(const frontend::Console &console, const QString &error)
{
    console.err(QStringLiteral("tessary: %1\n"
                               "usage: tessary find [--encoding NAME] [--json] [--word] [--case] [--pattern] "
                               "[--project NAME] FILE.vbp|FILE.vbg TEXT")
                    .arg(error));
    return frontend::ExitUsage;
}

/// Where a hit stands in its module's file.
struct FilePosition {
    QString file;
    int line = 0;
    int column = 0;
};

FilePosition filePosition(const host::Ptr<host::CodeModule> &module, const QString &file, const shared::FindResult &hit)
{
    return {file, fileLineOf(module, hit.Line), hit.Column};
}

void appendNumber(QString &to, int n)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    to += QLatin1StringView(digits, end - digits);
}

} // namespace

int runFind(const QStringList &rawArgs, const frontend::Console &console)
{
    QStringList rest;
    QString projectName;
    bool projectGiven = false;
    for (int i = 0; i < rawArgs.size(); ++i) {
        if (rawArgs[i] == QLatin1String("--project")) {
            if (i + 1 >= rawArgs.size())
                return findUsage(console, QStringLiteral("--project needs a project name"));
            projectName = rawArgs[++i];
            projectGiven = true;
        } else {
            rest << rawArgs[i];
        }
    }
    ExploreArgs args;
    QString error;
    const QStringList switches{QStringLiteral("--word"), QStringLiteral("--case"), QStringLiteral("--pattern")};
    if (!parseExploreArgs(rest, switches, args, error))
        return findUsage(console, error);
    if (args.positional.size() != 2)
        return findUsage(console, QStringLiteral("find takes FILE and TEXT"));
    find::FindOptions options;
    options.wholeWord = args.flags.contains(QLatin1String("--word"));
    options.matchCase = args.flags.contains(QLatin1String("--case"));
    options.patternSearch = args.flags.contains(QLatin1String("--pattern"));
    if (options.matchCase && options.patternSearch)
        return findUsage(console, QStringLiteral("--case and --pattern cannot be combined: the IDE searches patterns "
                                                 "without regard to case"));
    const QString text = args.positional[1];
    if (text.trimmed().isEmpty())
        return findUsage(console, QStringLiteral("the search text is empty"));
    const bool relative = QFileInfo(args.positional[0]).isRelative();
    // Only modules whose files may hold the text are built; problems in the code of the others
    // (a missing End Sub, ...) are for `dump` and `inspect` to report.
    if (!options.patternSearch)
        args.passByText = analysis::trimmedSpaces(text).toString();

    return withSession(
        args, console,
        [&](frontend::Session &session) {
            const auto vbe = session.ide->vbe();
            const auto projects = vbe->vbProjects();
            if (projectGiven)
                requireProject(*vbe, projectName);
            shared::BasQuillbox &results = shared::basQuillbox();
            const auto target = projectGiven ? find::FindTarget::project(projectName) : find::FindTarget::allProjects();
            if (!find::RunSearch(vbe, text, target, options, results))
                return int(frontend::ExitNothingLoaded);
            frontend::Json all = frontend::Json::array();
            QString lines;
            // Hits come module by module: each module is looked up once, among its project's
            // components listed once (a look-up by name reads them one by one).
            QHash<QString, QHash<QString, host::Ptr<host::VBComponent>>> componentsOf;
            host::Ptr<host::VBComponent> component;
            host::Ptr<host::CodeModule> module;
            QString file;
            const shared::FindResult *previous = nullptr;
            for (const shared::FindResult &hit : results.gFindResults) {
                if (!previous || previous->ModuleName != hit.ModuleName || previous->ProjectName != hit.ProjectName) {
                    auto listed = componentsOf.find(hit.ProjectName);
                    if (listed == componentsOf.end()) {
                        listed = componentsOf.insert(hit.ProjectName, {});
                        const auto components = projects->item(hit.ProjectName)->vbComponents();
                        for (int k = components->count(); k >= 1; --k) // the first of a name wins
                            listed->insert(components->item(k)->name(), components->item(k));
                    }
                    component = listed->value(hit.ModuleName);
                    if (!component) // not the name the search recorded: as the host looks it up
                        component = projects->item(hit.ProjectName)->vbComponents()->item(hit.ModuleName);
                    module = component->codeModule();
                    file = moduleFile(*component, relative);
                }
                previous = &hit;
                const FilePosition at = filePosition(module, file, hit);
                if (args.json) {
                    all.push(frontend::Json::object()
                                 .set("project", hit.ProjectName)
                                 .set("module", hit.ModuleName)
                                 .set("procedure", hit.ProcName)
                                 .set("file", at.file)
                                 .set("paneLine", hit.Line)
                                 .set("fileLine", at.line)
                                 .set("column", at.column)
                                 .set("text", hit.LineText));
                } else {
                    // Appended, not arg()-ed: a '%1' in a file name would take the next argument.
                    if (!lines.isEmpty())
                        lines += QLatin1Char('\n');
                    lines += at.file;
                    lines += QLatin1Char(':');
                    appendNumber(lines, at.line);
                    lines += QLatin1Char(':');
                    appendNumber(lines, at.column);
                    lines += QLatin1String(": ");
                    lines += hit.LineText;
                }
            }
            console.out(args.json ? all.dump() : lines);
            return int(frontend::ExitLoaded);
        },
        frontend::ExitUsage);
}

} // namespace cli
