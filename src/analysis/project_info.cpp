#include "analysis/project_info.h"

#include "analysis/list_builder.h"

#include <functional>

namespace analysis {

using host::resumeNext;

QString projectTypeText(host::ProjectType type)
{
    switch (type) {
    case host::ProjectType::StandardExe: return QStringLiteral("Standard Exe");
    case host::ProjectType::ActiveXExe: return QStringLiteral("ActiveX Exe");
    case host::ProjectType::ActiveXDll: return QStringLiteral("ActiveX DLL");
    case host::ProjectType::ActiveXControl: return QStringLiteral("ActiveX Control");
    }
    return {};
}

void ShowProjectProperties(ToolWindow &window, const host::VBE &vbe, const QString &projectName, bool createColumns)
{
    controls::ListView &list = window.list(0);
    if (createColumns) {
        addColumns(list, {{"Property"}, {"Value"}});
        window.RestoreColumnWidths();
    }
    const host::Ptr<host::VBProject> project = vbe.vbProjects()->item(projectName);
    using Value = std::function<QString(const host::VBProject &)>;
    const std::pair<const char *, Value> rows[] = {
        {"BuildFileName", [](const host::VBProject &p) { return p.buildFileName(); }},
        {"Description", [](const host::VBProject &p) { return p.description(); }},
        {"FileName", [](const host::VBProject &p) { return p.fileName(); }},
        {"HelpContextID", [](const host::VBProject &p) { return QString::number(p.helpContextID()); }},
        {"HelpFile", [](const host::VBProject &p) { return p.helpFile(); }},
        {"Type", [](const host::VBProject &p) { return projectTypeText(p.type()); }},
    };
    int r = 0;
    for (const auto &[text, value] : rows) {
        // Inserted at its position, so the rows keep this order until the list is sorted.
        controls::ListItem *item =
            list.listItems().add(++r, QString(), QString::fromUtf8(text), QString(), QStringLiteral("PROJECT"));
        item->setSubItem(1, value(*project));
    }
}

void ShowReferences(ToolWindow &window, const host::VBE &vbe, bool createColumns)
{
    if (createColumns) {
        addColumns(window.list(0), {{"Reference"}, {"Description"}, {"FullPath"}, {"GUID"}});
        window.RestoreColumnWidths();
    }
    const host::Ptr<host::VBProject> project = currentProjectOf(window, vbe);
    if (!project)
        return;
    host::Ptr<host::References> references;
    int count = 0;
    resumeNext([&] {
        references = project->references();
        count = references->count();
    });
    for (int i = 1; i <= count; ++i) {
        QString name, text, description, fullPath, guid;
        host::Ptr<host::Reference> reference;
        resumeNext([&] { reference = references->item(i); });
        if (!reference)
            continue;
        bool broken = false;
        resumeNext([&] { broken = reference->isBroken(); });
        if (broken)
            continue;
        resumeNext([&] { name = reference->name(); });
        resumeNext([&] {
            if (reference->builtIn())
                text = name + QStringLiteral(" (ﾋﾞﾙﾄｲﾝ)");
        });
        resumeNext([&] { description = reference->description(); });
        resumeNext([&] { fullPath = reference->fullPath(); });
        resumeNext([&] { guid = reference->guid(); });
        resumeNext([&] { window.AddDetailItem(name, {description, fullPath, guid}, text, QStringLiteral("LIBRARY")); });
    }
}

} // namespace analysis
