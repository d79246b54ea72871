// Where a module's lines stand in its file, for output that editors jump to.
#pragma once

#include "host/vbide.h"

#include <QString>

namespace cli {

/// The module's first file, relative to the current folder when `relative`; empty without one.
QString moduleFile(const host::VBComponent &component, bool relative);
/// Pane line to file line (attribute lines are in the file, not in the pane); 0 for no line.
int fileLineOf(const host::Ptr<host::CodeModule> &module, int paneLine);

} // namespace cli
