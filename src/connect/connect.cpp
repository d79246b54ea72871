#include "connect/connect.h"

#include "about/frm_about.h"
#include "controls/platform.h"
#include "docmain/doc_main.h"
#include "shared/bas_quillbox.h"

namespace addin {

using host::Ptr;

Connect::Connect() = default;

Connect::~Connect() = default;

Ptr<host::AddinInstance> createConnect() { return std::make_shared<Connect>(); }

void Connect::createToolWindow(const Ptr<host::VBE> &vbe, const Ptr<host::AddIn> &addIn)
{
    auto &q = shared::basQuillbox();
    Ptr<host::ComObject> doc;
    q.gToolWindow = vbe->windows()->createToolWindow(addIn, QString::fromLatin1(docmain::kDocumentProgId),
                                                     QString::fromUtf8(kToolWindowCaption),
                                                     QString::fromLatin1(kGuidPosition), doc);
    q.gDocMain = std::dynamic_pointer_cast<docmain::DocMain>(doc);
}

void Connect::onConnection(const Ptr<host::VBE> &application, host::ConnectMode connectMode,
                           const Ptr<host::AddIn> &addInInst)
{
    auto &q = shared::basQuillbox();
    try {
        q.gVBInstance = application;
        Ptr<host::AddIn> addIn = addInInst;
        if (!addIn && connectMode == host::ConnectMode::External) {
            host::resumeNext([&] { addIn = application->addins()->item(QString::fromLatin1(kConnectProgId)); });
            if (addIn) {
                if (addIn->connect()) {
                    // Already running: only bring the window back.
                    if (!q.gToolWindow)
                        createToolWindow(addIn->vbe(), addIn);
                    q.gToolWindow->setVisible(true);
                    return;
                }
                addIn->setConnect(true);
            }
        }
        q.gAddInInstance = addIn;
        if (!addIn)
            return;
        m_addInMenuControl = AddToAddInCommandBar(QString::fromUtf8(kToolWindowCaption));
        m_codeWindowMenuControl = AddToCodeWindowMenu(QString::fromUtf8(kEditorCommandCaption));
        if (!q.gAddInInstance->connect())
            return;
        auto events = q.gVBInstance->events();
        if (m_addInMenuControl)
            setMenuHandler(events->commandBarEvents(m_addInMenuControl));
        if (m_codeWindowMenuControl)
            setContextMenuHandler(events->commandBarEvents(m_codeWindowMenuControl));
        setPrjHandler(events->vbProjectsEvents());
        setCmpHandler(events->vbComponentsEvents(nullptr));
        setCtlHandler(events->vbControlsEvents(nullptr, nullptr));
        setRefHandler(events->referencesEvents(nullptr));
        if (!q.gToolWindow)
            createToolWindow(addIn->vbe(), q.gAddInInstance);
        q.gToolWindow->setVisible(true);
        if (q.gDocMain)
            q.gDocMain->FindNewProject(true);
    } catch (const host::Error &e) {
        shared::showError(e);
    } catch (const std::exception &e) {
        shared::showError(e);
    }
}

void Connect::onDisconnection(host::DisconnectMode)
{
    auto &q = shared::basQuillbox();
    // Every step runs even when one before it failed, so that as much as possible is released.
    auto step = [](auto &&statement) { shared::trapped(statement); };
    step([&] { shared::DeleteTempFiles(); });
    step([&] { setPrjHandler(nullptr); });
    step([&] { setCmpHandler(nullptr); });
    step([&] { setCtlHandler(nullptr); });
    step([&] { setMenuHandler(nullptr); });
    step([&] { setRefHandler(nullptr); });
    step([&] { setContextMenuHandler(nullptr); });
    step([&] {
        if (q.gDocMain && q.gDocMain->frmAbout().loaded())
            q.gDocMain->frmAbout().unload();
    });
    step([&] {
        if (m_addInMenuControl)
            m_addInMenuControl->deleteControl();
    });
    m_addInMenuControl.reset();
    step([&] {
        if (m_codeWindowMenuControl)
            m_codeWindowMenuControl->deleteControl();
    });
    m_codeWindowMenuControl.reset();
    step([&] {
        if (q.gToolWindow)
            q.gToolWindow->setVisible(false);
    });
    q.gDocMain.reset();
    q.gToolWindow.reset();
    q.gAddInInstance.reset();
    q.gVBInstance.reset();
}

Ptr<host::CommandBarControl> Connect::addToCommandBar(const QString &barName, const QString &caption, bool withFace)
{
    Ptr<host::CommandBarControl> result;
    shared::trapped([&] {
        Ptr<host::CommandBar> bar;
        host::resumeNext([&] { bar = shared::basQuillbox().gVBInstance->commandBars()->item(barName); });
        if (!bar)
            return;
        auto controls = bar->controls();
        const int count = controls->count();
        for (int i = 1; i <= count; ++i) {
            auto control = controls->item(i);
            if (control->caption() == caption) {
                result = control;
                return;
            }
        }
        auto control = controls->add(host::ControlType::Button);
        control->setCaption(caption);
        result = control;
        if (withFace) {
            // The face is decoration: without it the command still works.
            auto &platform = controls::platform();
            platform.setClipboardImage(about::resourceBitmap(QStringLiteral("APPLICATION")));
            control->pasteFace();
        }
    });
    return result;
}

Ptr<host::CommandBarControl> Connect::AddToAddInCommandBar(const QString &sCaption)
{
    return addToCommandBar(QStringLiteral("Add-Ins"), sCaption, true);
}

Ptr<host::CommandBarControl> Connect::AddToCodeWindowMenu(const QString &sCaption)
{
    return addToCommandBar(QStringLiteral("Code Window"), sCaption, false);
}

void Connect::setMenuHandler(Ptr<host::CommandBarEvents> source)
{
    m_menuSubscriptions.clear();
    m_menuHandler = std::move(source);
    if (m_menuHandler)
        m_menuSubscriptions.push_back(m_menuHandler->Click.connect(
            [this](const Ptr<host::CommandBarControl> &c, bool &h, bool &cd) { MenuHandler_Click(c, h, cd); }));
}

void Connect::setContextMenuHandler(Ptr<host::CommandBarEvents> source)
{
    m_contextSubscriptions.clear();
    m_contextMenuHandler = std::move(source);
    if (m_contextMenuHandler)
        m_contextSubscriptions.push_back(m_contextMenuHandler->Click.connect(
            [this](const Ptr<host::CommandBarControl> &c, bool &h, bool &cd) { ContextMenuHandler_Click(c, h, cd); }));
}

void Connect::setRefHandler(Ptr<host::ReferencesEvents> source) { m_refHandler = std::move(source); }

void Connect::setPrjHandler(Ptr<host::VBProjectsEvents> source)
{
    m_prjSubscriptions.clear();
    m_prjHandler = std::move(source);
    if (m_prjHandler) {
        m_prjSubscriptions.push_back(
            m_prjHandler->ItemAdded.connect([this](const Ptr<host::VBProject> &p) { PrjHandler_ItemAdded(p); }));
        m_prjSubscriptions.push_back(
            m_prjHandler->ItemRemoved.connect([this](const Ptr<host::VBProject> &p) { PrjHandler_ItemRemoved(p); }));
    }
}

void Connect::setCmpHandler(Ptr<host::VBComponentsEvents> source)
{
    m_cmpSubscriptions.clear();
    m_cmpHandler = std::move(source);
    if (m_cmpHandler)
        m_cmpSubscriptions.push_back(
            m_cmpHandler->ItemAdded.connect([this](const Ptr<host::VBComponent> &c) { CmpHandler_ItemAdded(c); }));
}

void Connect::setCtlHandler(Ptr<host::VBControlsEvents> source) { m_ctlHandler = std::move(source); }

void Connect::MenuHandler_Click(const Ptr<host::CommandBarControl> &, bool &, bool &)
{
    if (auto &window = shared::basQuillbox().gToolWindow)
        window->setVisible(true);
}

void Connect::ContextMenuHandler_Click(const Ptr<host::CommandBarControl> &, bool &, bool &)
{
    if (auto &doc = shared::basQuillbox().gDocMain)
        doc->OpenEditor();
}

void Connect::PrjHandler_ItemAdded(const Ptr<host::VBProject> &)
{
    auto &q = shared::basQuillbox();
    if (q.gVBInstance)
        q.gVBInstance->mainWindow()->setFocus();
    controls::platform().doEvents();
    if (q.gDocMain)
        q.gDocMain->FindNewProject(false);
}

void Connect::PrjHandler_ItemRemoved(const Ptr<host::VBProject> &project)
{
    if (auto &doc = shared::basQuillbox().gDocMain)
        doc->RemoveProject(project);
}

void Connect::CmpHandler_ItemAdded(const Ptr<host::VBComponent> &)
{
    // New components reach the tree when the project is scanned again.
}

} // namespace addin
