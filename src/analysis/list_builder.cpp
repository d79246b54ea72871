#include "analysis/list_builder.h"

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

} // namespace analysis
