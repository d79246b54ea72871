#include "analysis/list_builder.h"

#include "analysis/source_text.h"

namespace analysis {

void addColumns(controls::ListView &list, std::initializer_list<Column> columns)
{
    for (const Column &column : columns)
        list.columnHeaders().add(0, QString(), QString::fromUtf8(column.text), -1, column.alignment);
}

host::Ptr<host::VBProject> currentProjectOf(const ToolWindow &window, const host::VBE &vbe)
{
    host::Ptr<host::VBProject> project;
    host::resumeNext([&] { project = vbe.vbProjects()->item(window.currentProject()); });
    return project;
}

void forEachFolderComponent(ToolWindow &window, const host::VBE &vbe,
                            const std::function<void(const host::Ptr<host::VBComponent> &, const QString &image)> &row)
{
    const host::Ptr<host::VBProject> project = currentProjectOf(window, vbe);
    if (!project)
        return;
    host::Ptr<host::VBComponents> components;
    int n = 0;
    host::resumeNext([&] {
        components = project->vbComponents();
        n = components->count();
    });
    if (n == 0)
        return;
    const QString tag = window.currentTag();
    window.SetProgress(0, n);
    for (int i = 1; i <= n; ++i) {
        host::resumeNext([&] {
            const host::Ptr<host::VBComponent> component = components->item(i);
            const ComponentKind *kind = componentKind(component->type());
            if (kind && tag == QLatin1String(kind->folderSuffix))
                row(component, componentImage(component));
        });
        window.SetProgress(i, 0);
    }
}

} // namespace analysis
