#pragma once
#include "frontend/json.h"
#include "ide/shell/ide.h"

namespace cli {

using frontend::Json;

/// Writes the host view of every loaded project, with the IDE's diagnostics, as it goes.
/// File names are given relative to `baseDir` when it is not empty.
void dumpIde(const ide::Ide &ide, bool withLines, const QString &baseDir, frontend::JsonWriter &out);

} // namespace cli
