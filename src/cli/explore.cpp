// `tessary tree`, `procs` and `calls`: the explorer's tree and lists, read off the tool window
// after the same clicks a user makes, so nothing here analyses code itself.
#include "cli/commands.h"

#include "analysis/source_text.h"
#include "cli/explore_session.h"
#include "cli/ui_view.h"
#include "controls/platform.h"
#include "docmain/doc_main.h"
#include "frontend/options.h"
#include "frontend/session.h"
#include "frontend/ui_actions.h"

#include <functional>

namespace cli {

using frontend::Console;
using frontend::Json;

namespace {

int exploreUsage(const Console &console, const QString &error)
{
    console.err(QStringLiteral("tessary: %1\n"
                               "usage: tessary tree [--encoding NAME] [--json] FILE.vbp|FILE.vbg\n"
                               "       tessary procs [--encoding NAME] [--json] FILE.vbp|FILE.vbg [MODULE]\n"
                               "       tessary calls [--encoding NAME] [--json] FILE.vbp|FILE.vbg PROJECT "
                               "[--callers|--callees] [PROC]")
                    .arg(error));
    return frontend::ExitUsage;
}

/// One user action; a failure names the action, as `tessary ui` does.
void act(frontend::Session &session, const char *name, const QStringList &args)
{
    const frontend::UiAction action{QLatin1String(name), args, {}};
    try {
        frontend::applyUiAction(session, action);
    } catch (const host::Error &e) {
        throw host::Error(e.number(), QStringLiteral("%1: %2").arg(frontend::actionText(action), e.description()));
    }
}

void printTree(const controls::Node *node, int depth, QStringList &out)
{
    out << QString(depth * 2, QLatin1Char(' ')) + node->text();
    for (const controls::Node *child : node->childList())
        printTree(child, depth + 1, out);
}

/// Terminal columns a text takes: East Asian wide characters take two, half-width katakana one.
qsizetype displayWidth(const QString &text)
{
    qsizetype width = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool wide = (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF) || (u >= 0xAC00 && u <= 0xD7A3)
            || (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFF60)
            || (u >= 0xFFE0 && u <= 0xFFE6);
        width += c.isLowSurrogate() ? 0 : wide ? 2 : 1;
    }
    return width;
}

QString padded(const QString &cell, qsizetype width, bool right)
{
    const QString fill(std::max<qsizetype>(0, width - displayWidth(cell)), QLatin1Char(' '));
    return right ? fill + cell : cell + fill;
}

/// A list as a table: a header line, then a row a line, columns padded to their widest
/// cell, numbers right-aligned as the list shows them.
QStringList tableLines(const controls::ListView &list, const QString &indent)
{
    const int columns = list.columnHeaders().count();
    std::vector<QStringList> cells;
    QStringList header;
    for (const controls::ColumnHeader *c : list.columnHeaders())
        header << c->text();
    cells.push_back(header);
    for (const controls::ListItem *item : list.listItems()) {
        QStringList row{item->text()};
        for (int s = 1; s < columns; ++s)
            row << item->subItem(s);
        cells.push_back(row);
    }
    std::vector<qsizetype> width(size_t(columns), 0);
    for (const QStringList &row : cells)
        for (int c = 0; c < columns; ++c)
            width[size_t(c)] = std::max(width[size_t(c)], displayWidth(row.value(c)));
    QStringList lines;
    for (const QStringList &row : cells) {
        QStringList cellsOut;
        for (int c = 0; c < columns; ++c) {
            const bool right = list.columnHeaders()(c + 1)->alignment() == controls::ColumnAlignment::Right;
            cellsOut << padded(row.value(c), width[size_t(c)], right);
        }
        lines << indent + cellsOut.join(QStringLiteral("  ")).trimmed();
    }
    return lines;
}

/// The components (project, name) with code, in tree order, or those named by `wanted`
/// ("Module" or "Project.Module").
std::vector<std::pair<QString, QString>> modulesNamed(const frontend::Session &session, const QString &wanted)
{
    std::vector<std::pair<QString, QString>> found;
    auto projects = session.ide->vbe()->vbProjects();
    for (int p = 1; p <= projects->count(); ++p) {
        auto project = projects->item(p);
        auto components = project->vbComponents();
        for (int c = 1; c <= components->count(); ++c) {
            auto component = components->item(c);
            if (!analysis::componentKind(component->type()))
                continue;
            const QString name = component->name();
            if (wanted.isEmpty() || wanted == name || wanted == project->name() + QLatin1Char('.') + name)
                found.emplace_back(project->name(), name);
        }
    }
    return found;
}

} // namespace

int runTree(const QStringList &rawArgs, const Console &console)
{
    ExploreArgs args;
    QString error;
    if (!parseExploreArgs(rawArgs, {}, args, error) || args.positional.size() > 1)
        return exploreUsage(console, error.isEmpty() ? QStringLiteral("one file only") : error);
    return withSession(args, console, [&](frontend::Session &session) {
        const controls::TreeView &tree = session.doc->tvwProject(0);
        if (args.json) {
            Json nodes = Json::array();
            for (const controls::Node *node : tree.rootNodes())
                nodes.push(nodeJson(node));
            console.out(Json::object().set("nodes", nodes).dump());
        } else {
            QStringList lines;
            for (const controls::Node *node : tree.rootNodes())
                printTree(node, 0, lines);
            console.out(lines.join(QLatin1Char('\n')));
        }
        return int(frontend::ExitLoaded);
    });
}

int runProcs(const QStringList &rawArgs, const Console &console)
{
    ExploreArgs args;
    QString error;
    if (!parseExploreArgs(rawArgs, {}, args, error) || args.positional.size() > 2)
        return exploreUsage(console, error.isEmpty() ? QStringLiteral("too many arguments") : error);
    const QString wanted = args.positional.value(1);
    return withSession(args, console, [&](frontend::Session &session) {
        const auto modules = modulesNamed(session, wanted);
        if (modules.empty() && !wanted.isEmpty())
            throw host::Error(host::err::ElementNotFound, QStringLiteral("no module named %1").arg(wanted));
        Json all = Json::array();
        QStringList lines;
        for (const auto &[project, module] : modules) {
            // The procedure list is what a click on the module shows with "PROC" down.
            if (!session.doc->buttonDown(QStringLiteral("PROC")))
                act(session, "button", {QStringLiteral("PROC")});
            act(session, "click", {project + QLatin1Char('_') + module});
            const controls::ListView &list = session.doc->lvwDetail(0);
            if (args.json) {
                all.push(Json::object().set("project", project).set("module", module).set("list", listJson(list)));
            } else {
                lines << QStringLiteral("%1.%2").arg(project, module);
                if (list.columnHeaders().count() > 0)
                    lines << tableLines(list, QStringLiteral("  "));
            }
        }
        console.out(args.json ? all.dump() : lines.join(QLatin1Char('\n')));
        return int(frontend::ExitLoaded);
    });
}

int runCalls(const QStringList &rawArgs, const Console &console)
{
    ExploreArgs args;
    QString error;
    if (!parseExploreArgs(rawArgs, {QStringLiteral("--callers"), QStringLiteral("--callees")}, args, error))
        return exploreUsage(console, error);
    if (args.positional.size() < 2 || args.positional.size() > 3)
        return exploreUsage(console, QStringLiteral("calls takes FILE, PROJECT and at most one PROC"));
    if (args.flags.size() > 1)
        return exploreUsage(console, QStringLiteral("--callers or --callees, not both"));
    const QString projectName = args.positional[1];
    const QString wanted = args.positional.value(2);
    const bool callers = args.flags.contains(QLatin1String("--callers"));
    return withSession(args, console, [&](frontend::Session &session) {
        docmain::DocMain &doc = *session.doc;
        act(session, "tab", {QStringLiteral("2")});
        act(session, "project", {projectName});
        act(session, "button", {QStringLiteral("DEPENDENCY")});
        act(session, "button", {callers ? QStringLiteral("UP") : QStringLiteral("DOWN")});
        // Procedure nodes are the keyed nodes three levels down: project, folder, module.
        std::vector<const controls::Node *> procedures;
        std::function<void(const controls::Node *, int)> walk = [&](const controls::Node *node, int depth) {
            if (depth == 3 && !node->key().isEmpty() && node->visible()) {
                const QString module = node->parent() ? node->parent()->text() : QString();
                if (wanted.isEmpty() || wanted == node->text() || wanted == module + QLatin1Char('.') + node->text())
                    procedures.push_back(node);
                return;
            }
            for (const controls::Node *child : node->childList())
                walk(child, depth + 1);
        };
        for (const controls::Node *root : doc.tvwProject(1).rootNodes())
            if (root->text() == projectName)
                walk(root, 0);
        if (procedures.empty() && !wanted.isEmpty())
            throw host::Error(host::err::ElementNotFound,
                              QStringLiteral("no procedure named %1 in %2").arg(wanted, projectName));
        Json all = Json::array();
        QStringList lines;
        for (const controls::Node *node : procedures) {
            const QString module = node->parent()->text();
            act(session, "click", {node->key()});
            const controls::ListView &list = doc.lvwDetail(1);
            if (args.json) {
                all.push(Json::object()
                             .set("module", module)
                             .set("procedure", node->text())
                             .set("direction", callers ? "callers" : "callees")
                             .set("list", listJson(list)));
            } else {
                lines << QStringLiteral("%1.%2").arg(module, node->text());
                if (list.listItems().count() > 0)
                    lines << tableLines(list, QStringLiteral("  "));
            }
        }
        console.out(args.json ? all.dump() : lines.join(QLatin1Char('\n')));
        return int(frontend::ExitLoaded);
    });
}

} // namespace cli
