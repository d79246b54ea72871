#pragma once
// The controls of a folder's designers (counts) and of one designer (one row per control).
#include "analysis/tool_window.h"
#include "host/vbide.h"

namespace analysis {

/// One row per module of the folder shown (`currentTag`): how many controls its designer holds.
void ShowControlCounts(ToolWindow &window, const host::VBE &vbe, bool createColumns);
/// One row per control of the designer of `componentName`: class, tab index and container.
void ShowControlList(ToolWindow &window, const host::VBE &vbe, const QString &componentName,
                     bool createColumns);

/// How a control is shown in the control list: "Text1" or, for array element 2, "Text1(2)".
QString controlCaption(const QString &name, int index);

} // namespace analysis
