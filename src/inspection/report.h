#pragma once
// The Optimize tab: the tree of inspected projects and modules, and the report list of the
// selected node (modules with their totals, or one module's findings). Reads only the
// shared inspection results, never source code.
#include "analysis/tool_window.h"
#include "shared/bas_quillbox.h"

namespace inspection {

/// Index of the Optimize tab's tree and list in the tool window's control arrays.
inline constexpr int kOptimizeIndex = 2;

/// The image key of a component type name ("VBForm" -> "FORM"); "" for other names.
QString ComponentTypeImageKey(const QString &componentType);

/// The summary cell of a module's total.
QString totalText(int total);

/// Fills the Optimize tab's (emptied) tree: a node per project, a child per module.
void BuildAnalizeTree(analysis::ToolWindow &window, const shared::BasQuillbox &shared);

/// Fills the Optimize tab's list for the tree's selected node.
void ShowAnalizeReport(analysis::ToolWindow &window, const shared::BasQuillbox &shared, bool createColumns);

} // namespace inspection
