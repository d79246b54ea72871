// The Search tab: the tree of projects and modules with hits, the list of a node's hits, and
// the jump from a hit to its line in a code pane. Host errors propagate to the caller.
#pragma once
#include "analysis/tool_window.h"
#include "host/vbide.h"
#include "shared/bas_quillbox.h"

namespace find {

/// Index of the Search tab's tree and list in the tool window's control arrays.
inline constexpr int kSearchIndex = 3;

/// Fills the Search tab's (emptied) tree: a node per project, a child per module with hits.
void BuildFindTree(analysis::ToolWindow &window, const host::VBE &vbe, const shared::BasQuillbox &shared);

/// Fills the Search tab's list with the hits of the tree's selected node.
void ShowFindList(analysis::ToolWindow &window, const host::VBE &vbe, const shared::BasQuillbox &shared,
                  bool createColumns);

/// Selects the line of the list's selected hit in its module's code pane and shows the pane.
void SelectFindLine(analysis::ToolWindow &window, const host::VBE &vbe);

} // namespace find
