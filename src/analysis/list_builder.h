#pragma once
// What the detail list builders share: their column headers and the project they list.
#include "analysis/tool_window.h"
#include "host/vbide.h"

#include <functional>
#include <initializer_list>

namespace analysis {

struct Column {
    const char *text;
    controls::ColumnAlignment alignment = controls::ColumnAlignment::Left;
};

/// Appends the columns with the list's default width.
void addColumns(controls::ListView &list, std::initializer_list<Column> columns);

/// The tool window's current project; null when the host no longer has it.
host::Ptr<host::VBProject> currentProjectOf(const ToolWindow &window, const host::VBE &vbe);

/// Runs `row` for each component of the current project that belongs to the folder shown
/// (`currentTag`), with its kind's image, reporting progress over all components. A host
/// error skips the component.
void forEachFolderComponent(ToolWindow &window, const host::VBE &vbe,
                            const std::function<void(const host::Ptr<host::VBComponent> &, const QString &image)> &row);

} // namespace analysis
