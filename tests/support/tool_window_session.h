#pragma once
// A stand-in IDE with its projects and the tool window created and filled as on connection,
// headless: what the tests of the tool window and the analysis start from. Header only: the
// programs that use it link the tool window.
#include "controls/platform.h"
#include "docmain/doc_main.h"
#include "ide/shell/ide.h"
#include "shared/bas_quillbox.h"

#include <memory>

namespace testing_support {

struct ToolWindowSession {
    controls::HeadlessPlatform platform;
    controls::ScopedPlatform scoped{platform};
    std::unique_ptr<ide::Ide> ide;
    std::shared_ptr<docmain::DocMain> doc;

    explicit ToolWindowSession(std::unique_ptr<ide::Ide> loaded) : ide(std::move(loaded))
    {
        shared::resetBasQuillbox();
        shared::basQuillbox().gVBInstance = ide->vbe();
        doc = docmain::createDocument();
        doc->FindNewProject(true);
    }
    ~ToolWindowSession() { shared::resetBasQuillbox(); }
    host::Ptr<host::VBProject> project(const QString &name) const { return ide->vbe()->vbProjects()->item(name); }
};

} // namespace testing_support
