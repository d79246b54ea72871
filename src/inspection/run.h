#pragma once
// The run of the inspection over one module: the twelve steps, each a stop test, a step on
// progress bar 0 and the chosen checks, every check under the error prompt.
#include "inspection/check.h"
#include "inspection/check_items.h"

#include <array>

namespace inspection {

/// Which of the thirteen items (chkItem index) a run wants.
using WantedItems = std::array<bool, kCheckItemCount>;
/// Every item wanted.
WantedItems allItems();

/// Runs the chosen checks on module i in the twelve-step order (Option Explicit, variable
/// types, unused variables, unused locals, string functions, scope, unused procedures,
/// empty procedures, ByRef, return types, unused Declares, Debug.Print). Sets the entry's
/// OptionExplicit to True first. Returns false when a stop request ended it (checked
/// before each step, not after the last).
bool RunModuleChecks(CheckContext &context, const host::Ptr<host::VBProject> &project,
                     const host::Ptr<host::VBComponent> &component, int i, const WantedItems &wanted);

} // namespace inspection
