#include "frontend/session.h"

#include "connect/connect.h"
#include "controls/platform.h"
#include "docmain/doc_main.h"
#include "shared/bas_quillbox.h"

#include <QStringDecoder>

namespace frontend {

namespace {
QByteArray codecName(ide::files::CodePage page)
{
    switch (page) {
    case ide::files::CodePage::Cp1252: return "windows-1252";
    case ide::files::CodePage::Cp1251: return "windows-1251";
    case ide::files::CodePage::Utf8: return "UTF-8";
    default: return "windows-31j";
    }
}
} // namespace

void registerAddIn(ide::Ide &ide)
{
    ide.registerDocument(QString::fromLatin1(docmain::kDocumentProgId),
                         [] { return std::static_pointer_cast<host::ComObject>(docmain::createDocument()); });
    ide.registerAddIn(QString::fromLatin1(addin::kConnectProgId), QString::fromUtf8(addin::kAddInDescription),
                      [] { return addin::createConnect(); });
    ide.setClipboardImageProvider([] { return controls::platform().clipboardImage(); });
}

Session openSession(const QString &file, ide::files::CodePage codePage,
                    std::shared_ptr<ide::files::FileSystem> fileSystem, const QString &passByText)
{
    Session s;
    s.ide = std::make_unique<ide::Ide>(std::move(fileSystem));
    s.ide->setCodePage(codePage);
    s.ide->setCodeOnDemand(passByText);
    registerAddIn(*s.ide);
    if (!file.isEmpty())
        s.ide->load(file);
    // The machine's ANSI code page is the one its projects were written in.
    if (auto start = s.ide->vbe()->vbProjects()->startProject())
        controls::platform().setAnsiCodePage(codecName(s.ide->codePageOf(start)));
    // Keystrokes the add-in sends go into this IDE's key handling.
    if (auto *headless = dynamic_cast<controls::HeadlessPlatform *>(&controls::platform()))
        headless->setKeyHandler(s.ide->keyHandler());
    shared::resetBasQuillbox();
    auto addIn = s.ide->vbe()->addins()->item(QString::fromLatin1(addin::kConnectProgId));
    addIn->setConnect(true);
    auto &q = shared::basQuillbox();
    s.toolWindow = q.gToolWindow;
    s.doc = q.gDocMain;
    return s;
}

} // namespace frontend
