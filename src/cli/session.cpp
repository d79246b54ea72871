#include "cli/session.h"

#include "docmain/doc_main.h"
#include "shared/bas_quillbox.h"

namespace cli {

Session openSession(const QString &file, ide::files::CodePage codePage)
{
    Session s;
    s.ide = std::make_unique<ide::Ide>();
    s.ide->setCodePage(codePage);
    s.ide->registerDocument(QString::fromLatin1(docmain::kDocumentProgId),
                            [] { return std::static_pointer_cast<host::ComObject>(docmain::createDocument()); });
    if (!file.isEmpty())
        s.ide->load(file);
    auto &q = shared::basQuillbox();
    q.gVBInstance = s.ide->vbe();
    host::Ptr<host::ComObject> doc;
    s.toolWindow = s.ide->vbe()->windows()->createToolWindow(nullptr, QString::fromLatin1(docmain::kDocumentProgId),
                                                             QStringLiteral("Tessary"),
                                                             QStringLiteral("{6D3C2A0E-5B8F-4E21-9A47-3F1C0B7D2E95}"), doc);
    s.doc = std::dynamic_pointer_cast<docmain::DocMain>(doc);
    q.gToolWindow = s.toolWindow;
    q.gDocMain = s.doc;
    s.toolWindow->setVisible(true);
    s.doc->FindNewProject(true);
    return s;
}

} // namespace cli
