#pragma once
// A stand-in IDE with the tool window open on the projects of one file, as the host
// start leaves it. Both front ends start this way.
#include "ide/shell/ide.h"

#include <memory>

namespace docmain {
class DocMain;
}

namespace cli {

struct Session {
    std::unique_ptr<ide::Ide> ide;
    host::Ptr<host::Window> toolWindow;
    std::shared_ptr<docmain::DocMain> doc;
};

/// Loads `file` (may be empty) and opens the tool window with every loaded project.
Session openSession(const QString &file, ide::files::CodePage codePage);

} // namespace cli
