#pragma once
#include "frontend/json.h"
#include "ide/shell/ide.h"

namespace cli {

using frontend::Json;

/// The host view of every loaded project, with the IDE's diagnostics. File names are
/// given relative to `baseDir` when it is not empty.
Json dumpIde(const ide::Ide &ide, bool withLines, const QString &baseDir = {});

} // namespace cli
