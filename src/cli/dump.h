#pragma once
#include "cli/json.h"
#include "ide/shell/ide.h"

namespace cli {

/// The host view of every loaded project, with the IDE's diagnostics.
Json dumpIde(const ide::Ide &ide, bool withLines);

} // namespace cli
