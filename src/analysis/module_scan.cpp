#include "analysis/module_scan.h"

#include "analysis/list_builder.h"
#include "analysis/source_text.h"

namespace analysis {

using controls::ColumnAlignment;
using host::resumeNext;

namespace {

/// The Option statements of the declarations section, in this order whatever the module's.
QString optionsText(const host::CodeModule &module)
{
    QString options;
    for (const char *option : {"Option Base", "Option Compare", "Option Explicit", "Option Private"}) {
        const QString text = QLatin1String(option);
        FoundLines found;
        resumeNext([&] { found = findInDeclarations(module, text); });
        if (!found)
            continue;
        // Only the first match is looked at: a commented-out option hides a real one below.
        bool comment = false;
        resumeNext([&] { comment = isCommentLine(trimmedLine(module, found.line)); });
        if (comment)
            continue;
        if (!options.isEmpty())
            options += QLatin1Char(',');
        options += text;
    }
    return options;
}

/// Procedures and properties; a property counts once for all its accessors.
int procedureCount(const host::CodeModule &module)
{
    int count = 0;
    host::Ptr<host::Members> members;
    int n = 0;
    resumeNext([&] { members = module.members(); });
    if (!members)
        return 0;
    resumeNext([&] { n = members->count(); });
    for (int j = 1; j <= n; ++j) {
        resumeNext([&] {
            const host::MemberType type = members->item(j)->type();
            if (type == host::MemberType::Method || type == host::MemberType::Property)
                ++count;
        });
    }
    return count;
}

struct AccessorKind {
    host::ProcKind kind;
    const char *suffix;
    const char *text;
};
constexpr AccessorKind kAccessors[] = {
    {host::ProcKind::Get, "_Get", "Property Get"},
    {host::ProcKind::Let, "_Let", "Property Let"},
    {host::ProcKind::Set, "_Set", "Property Set"},
};

} // namespace

void ShowModuleList(ToolWindow &window, const host::VBE &vbe, bool createColumns)
{
    if (createColumns) {
        addColumns(window.list(window.currentTab() - 1), {{"Module"},
                                                          {"Procedure", ColumnAlignment::Right},
                                                          {"Line", ColumnAlignment::Right},
                                                          {"Declarations"}});
        window.RestoreColumnWidths();
    }
    forEachFolderComponent(window, vbe, [&](const host::Ptr<host::VBComponent> &component, const QString &image) {
        const host::Ptr<host::CodeModule> module = component->codeModule();
        const QString options = optionsText(*module);
        const int procedures = procedureCount(*module);
        int lines = 0;
        resumeNext([&] { lines = module->countOfLines(); });
        const QString name = module->name();
        window.AddDetailItem(name, {QString::number(procedures), QString::number(lines), options}, name, image);
    });
}

void ShowProcedureList(ToolWindow &window, const host::VBE &vbe, const QString &componentName, bool createColumns)
{
    if (createColumns) {
        addColumns(window.list(0), {{"Procedure"},
                                    {"Type"},
                                    {"Scope"},
                                    {"Start", ColumnAlignment::Right},
                                    {"Line", ColumnAlignment::Right}});
        window.RestoreColumnWidths();
    }
    const host::Ptr<host::VBProject> project = currentProjectOf(window, vbe);
    if (!project)
        return;
    host::Ptr<host::CodeModule> module;
    host::Ptr<host::Members> members;
    int m = 0, d = 0;
    if (!resumeNext([&] {
            module = project->vbComponents()->item(componentName)->codeModule();
            members = module->members();
            m = members->count();
        }))
        return;
    resumeNext([&] { d = module->countOfDeclarationLines(); });

    window.SetStatusMessage(1, QStringLiteral("ﾓｼﾞｭｰﾙを解析中 ..."));
    window.SetProgress(0, m);
    for (int j = 1; j <= m; ++j) {
        host::Ptr<host::Member> member;
        QString name, scope;
        host::MemberType type{};
        resumeNext([&] {
            member = members->item(j);
            name = member->name();
        });
        if (member) {
            resumeNext([&] { scope = scopeWord(member->scope()); });
            resumeNext([&] { type = member->type(); });
        }
        if (type == host::MemberType::Method) {
            QString kindText, image;
            int start = 0, count = 0;
            resumeNext([&] { start = module->procStartLine(name, host::ProcKind::Proc); });
            if (start <= d) {
                resumeNext([&] {
                    if (const FoundLines found = findInDeclarations(*module, name)) {
                        start = found.line;
                        count = found.lastLine - found.line + 1;
                    }
                });
                kindText = QStringLiteral("DLL/Win32API");
                image = QStringLiteral("LIBRARY");
            } else {
                resumeNext([&] { count = module->procCountLines(name, host::ProcKind::Proc); });
                // The searches run to the end of the module, not whole word: the first line
                // that reads like the declaration wins, and becomes the start shown.
                for (const char *word : {"Sub", "Function"}) {
                    resumeNext([&] {
                        const QString keyword = QLatin1String(word);
                        if (const FoundLines found = findFrom(*module, keyword + QLatin1Char(' ') + name, start)) {
                            kindText = keyword;
                            start = found.line;
                        }
                    });
                    if (!kindText.isEmpty())
                        break;
                }
                image = QStringLiteral("METHOD");
            }
            resumeNext([&] {
                window.AddDetailItem(name, {kindText, scope, QString::number(start), QString::number(count)}, name,
                                     image);
            });
        } else if (type == host::MemberType::Property) {
            for (const AccessorKind &accessor : kAccessors) {
                int start = 0, count = 0;
                if (!resumeNext([&] { start = module->procStartLine(name, accessor.kind); }) || start <= d)
                    continue;
                resumeNext([&] { count = module->procCountLines(name, accessor.kind); });
                resumeNext([&] {
                    window.AddDetailItem(name + QLatin1String(accessor.suffix),
                                         {QLatin1String(accessor.text), scope, QString::number(start),
                                          QString::number(count)},
                                         name, QStringLiteral("PROPERTY"));
                });
            }
        }
        window.SetProgress(j, 0);
    }
}

} // namespace analysis
