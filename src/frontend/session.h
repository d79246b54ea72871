#pragma once
// A stand-in IDE with the add-in registered and connected through its add-in list, as
// the IDE's start leaves it. Both front ends start this way.
#include "ide/shell/ide.h"

#include <memory>

namespace docmain {
class DocMain;
}

namespace frontend {

struct Session {
    std::unique_ptr<ide::Ide> ide;
    host::Ptr<host::Window> toolWindow;
    std::shared_ptr<docmain::DocMain> doc;
};

/// Registers the add-in and its tool window with a new IDE, so its add-in manager can
/// load it.
void registerAddIn(ide::Ide &ide);

/// Loads `file` (may be empty), then connects the add-in: its tool window lists every
/// loaded project. The platform in use (controls::platform()) is the session's. Files are
/// read from disk unless `fileSystem` is given; `passByText` as Ide::setCodeOnDemand.
Session openSession(const QString &file, ide::files::CodePage codePage,
                    std::shared_ptr<ide::files::FileSystem> fileSystem = nullptr, const QString &passByText = {});

} // namespace frontend
