#pragma once
// What the detail list builders share: their column headers and the project they list.
#include "analysis/tool_window.h"
#include "host/vbide.h"

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

} // namespace analysis
