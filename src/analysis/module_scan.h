#pragma once
// The module list of a folder and the procedure list of a module.
#include "analysis/tool_window.h"
#include "host/vbide.h"

namespace analysis {

/// One row per module of the folder whose tag is shown (`currentTag`) in the current
/// project: procedure count, line count and the Option statements of its declarations.
void ShowModuleList(ToolWindow &window, const host::VBE &vbe, bool createColumns);
/// One row per procedure of `componentName`, one per property accessor.
void ShowProcedureList(ToolWindow &window, const host::VBE &vbe, const QString &componentName,
                       bool createColumns);

} // namespace analysis
