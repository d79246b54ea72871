#include "ide/shell/shell_impl.h"

#include <QDir>
#include <QUuid>
#include <utility>

namespace ide {

using host::Error;
using host::Ptr;
namespace err = host::err;

// ---- add-ins ------------------------------------------------------------------

AddInImpl::AddInImpl(std::weak_ptr<AddinsImpl> addins, std::weak_ptr<VBEImpl> vbe, QString progId,
                     QString description, std::function<Ptr<host::AddinInstance>()> factory)
    : m_addins(std::move(addins)), m_vbe(std::move(vbe)), m_progId(std::move(progId)),
      m_guid(QUuid::createUuidV5(QUuid(), m_progId).toString().toUpper()), m_description(std::move(description)),
      m_factory(std::move(factory))
{
}

void AddInImpl::setConnect(bool connect)
{
    if (connect)
        connectWith(host::ConnectMode::AfterStartup);
    else
        disconnectWith(host::DisconnectMode::UserClosed);
}

void AddInImpl::connectWith(host::ConnectMode mode)
{
    if (m_connected)
        return;
    auto vbe = m_vbe.lock();
    if (!vbe || !m_factory)
        throw Error(err::ObjectNotSet);
    if (!m_instance)
        m_instance = m_factory();
    if (!m_instance)
        throw Error(429, QStringLiteral("ActiveX コンポーネントはオブジェクトを作成できません。 (%1)").arg(m_progId));
    // The flag is set before OnConnection runs, as the add-in manager does.
    m_connected = true;
    auto instance = m_instance;
    instance->onConnection(vbe, mode, shared_from_this());
    vbe->windowList();   // keep the IDE alive through the call
}

void AddInImpl::disconnectWith(host::DisconnectMode mode)
{
    if (!m_connected)
        return;
    m_connected = false;
    auto instance = std::move(m_instance);
    m_instance = nullptr;
    if (instance)
        instance->onDisconnection(mode);
}

Ptr<host::VBE> AddInImpl::vbe() const { return m_vbe.lock(); }

Ptr<host::Addins> AddInImpl::collection() const { return m_addins.lock(); }

Ptr<host::AddIn> AddinsImpl::item(int index) const
{
    if (index < 1 || index > int(m_items.size()))
        throw Error(err::SubscriptOutOfRange);
    return m_items[std::size_t(index - 1)];
}

Ptr<host::AddIn> AddinsImpl::item(const QString &progId) const
{
    for (const auto &a : m_items) {
        if (a->progId().compare(progId, Qt::CaseInsensitive) == 0)
            return a;
    }
    throw Error(err::SubscriptOutOfRange);
}

// ---- VBE ----------------------------------------------------------------------

VBEImpl::VBEImpl(std::shared_ptr<IdeState> state) : m_state(std::move(state)) {}

void VBEImpl::init()
{
    m_state->vbe = weak_from_this();
    m_projects = std::make_shared<ProjectsImpl>(m_state);
    m_windows = std::make_shared<WindowsImpl>(m_state);
    m_commandBars = std::make_shared<CommandBarsImpl>();
    m_events = std::make_shared<EventsImpl>();
    m_events->reportHandlerError = [state = std::weak_ptr<IdeState>(m_state)](const QString &message) {
        if (auto s = state.lock())
            s->diagnostics.push_back({QStringLiteral("(add-in)"), 0, QStringLiteral("An event handler failed: ") + message});
    };
    m_addins = std::make_shared<AddinsImpl>();
    m_codePanes = std::make_shared<CodePanesImpl>(weak_from_this());

    m_mainWindow = m_windows->add(QString(), host::WindowType::MainWindow);
    m_mainWindow->setVisible(true);
    m_windows->add(QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄ"), host::WindowType::ProjectWindow)->setVisible(true);
    m_windows->add(QStringLiteral("ﾌﾟﾛﾊﾟﾃｨ"), host::WindowType::PropertyWindow)->setVisible(true);
    m_windows->add(QStringLiteral("ｲﾐﾃﾞｨｴｲﾄ"), host::WindowType::Immediate)->setVisible(true);
    m_windows->add(QStringLiteral("ﾂｰﾙﾎﾞｯｸｽ"), host::WindowType::Toolbox)->setVisible(true);
    buildCommandBars();
    updateCaptions();
}

QString VBEImpl::fullName() const { return QStringLiteral("C:\\Program Files\\Microsoft Visual Studio\\VB98\\VB6.EXE"); }

void VBEImpl::buildCommandBars()
{
    using CT = host::ControlType;
    struct Item {
        const char *caption;
        const char *command;
    };
    struct Menu {
        const char *name;
        const char *local;
        std::vector<Item> items;
    };
    // The Japanese IDE's captions; "%1" stands for the active project's name.
    const std::vector<Menu> menus = {
        {"File", "ﾌｧｲﾙ(&F)",
         {{"新しいﾌﾟﾛｼﾞｪｸﾄ(&N)...", "NewProject"},
          {"ﾌﾟﾛｼﾞｪｸﾄを開く(&O)...", "OpenProject"},
          {"ﾌﾟﾛｼﾞｪｸﾄの追加(&D)...", "AddProject"},
          {"ﾌﾟﾛｼﾞｪｸﾄの削除(&R)", "RemoveProject"},
          {"ﾌﾟﾛｼﾞｪｸﾄの上書き保存(&V)", "SaveProject"},
          {"%1.exe の作成(&K)...", "MakeProject"},
          {"終了(&X)", "Exit"}}},
        {"Edit", "編集(&E)",
         {{"元に戻す(&U)", "Undo"},
          {"切り取り(&T)", "Cut"},
          {"ｺﾋﾟｰ(&C)", "Copy"},
          {"貼り付け(&P)", "Paste"},
          {"検索(&F)...", "Find"},
          {"置換(&E)...", "Replace"}}},
        {"View", "表示(&V)",
         {{"ｺｰﾄﾞ(&C)", "ViewCode"},
          {"ｵﾌﾞｼﾞｪｸﾄ(&J)", "ViewObject"},
          {"ｲﾐﾃﾞｨｴｲﾄ ｳｨﾝﾄﾞｳ(&I)", "ViewImmediate"},
          {"ﾌﾟﾛｼﾞｪｸﾄ ｴｸｽﾌﾟﾛｰﾗ(&P)", "ViewProjectExplorer"},
          {"ﾌﾟﾛﾊﾟﾃｨ ｳｨﾝﾄﾞｳ(&W)", "ViewProperties"},
          {"ﾂｰﾙﾎﾞｯｸｽ(&X)", "ViewToolbox"}}},
        {"Project", "ﾌﾟﾛｼﾞｪｸﾄ(&P)",
         {{"ﾌｫｰﾑの追加(&F)", "AddForm"},
          {"標準ﾓｼﾞｭｰﾙの追加(&M)", "AddModule"},
          {"ｸﾗｽ ﾓｼﾞｭｰﾙの追加(&C)", "AddClass"},
          {"ﾌｧｲﾙの追加(&A)...", "AddFile"},
          {"参照設定(&N)...", "References"},
          {"ｺﾝﾎﾟｰﾈﾝﾄ(&O)...", "Components"},
          {"%1 のﾌﾟﾛﾊﾟﾃｨ(&E)...", "ProjectProperties"}}},
        {"Format", "書式(&O)", {{"ｺﾝﾄﾛｰﾙのﾛｯｸ(&L)", "LockControls"}}},
        {"Debug", "ﾃﾞﾊﾞｯｸﾞ(&D)", {{"ｽﾃｯﾌﾟ ｲﾝ(&I)", "StepInto"}, {"ｳｫｯﾁ式の追加(&A)...", "AddWatch"}}},
        {"Run", "実行(&R)", {{"開始(&S)", "Start"}, {"終了(&E)", "End"}}},
        {"Tools", "ﾂｰﾙ(&T)", {{"ﾌﾟﾛｼｰｼﾞｬの追加(&P)...", "AddProcedure"}, {"ｵﾌﾟｼｮﾝ(&O)...", "Options"}}},
        {"Add-Ins", "ｱﾄﾞｲﾝ(&A)",
         {{"ﾋﾞｼﾞｭｱﾙ ﾃﾞｰﾀ ﾏﾈｰｼﾞｬ(&V)...", "VisualDataManager"}, {"ｱﾄﾞｲﾝ ﾏﾈｰｼﾞｬ(&A)...", "AddInManager"}}},
        {"Window", "ｳｨﾝﾄﾞｳ(&W)",
         {{"分割(&P)", "Split"},
          {"上下に並べて表示(&H)", "TileHorizontally"},
          {"左右に並べて表示(&V)", "TileVertically"},
          {"重ねて表示(&C)", "Cascade"},
          {"ｱｲｺﾝの整列(&A)", "ArrangeIcons"}}},
        {"Help", "ﾍﾙﾌﾟ(&H)", {{"目次(&C)...", "HelpContents"}, {"ﾊﾞｰｼﾞｮﾝ情報(&A)...", "About"}}},
    };

    auto menuBar = m_commandBars->addBar(m_state, QStringLiteral("Menu Bar"), QStringLiteral("ﾒﾆｭｰ ﾊﾞｰ"));
    for (const auto &menu : menus) {
        const QString name = QString::fromUtf8(menu.name);
        const QString local = QString::fromUtf8(menu.local);
        auto popup = menuBar->controlList()->addCommand(local, QString(), CT::Popup);
        auto bar = m_commandBars->addBar(m_state, name, local);
        for (const auto &item : menu.items) {
            const QString caption = QString::fromUtf8(item.caption);
            const QString command = QString::fromUtf8(item.command);
            bar->controlList()->addCommand(caption, command);
        }
        // The menu bar's popup and the named bar are one menu: share the controls.
        popup->popupControls = bar->controlList();
    }
    m_commandBars->addBar(m_state, QStringLiteral("Standard"), QStringLiteral("標準"));
    m_commandBars->addBar(m_state, QStringLiteral("Edit"), QStringLiteral("編集"));
    m_commandBars->addBar(m_state, QStringLiteral("Debug"), QStringLiteral("ﾃﾞﾊﾞｯｸﾞ"));
    m_commandBars->addBar(m_state, QStringLiteral("Form Editor"), QStringLiteral("ﾌｫｰﾑ ｴﾃﾞｨﾀ"));
    auto codeWindow = m_commandBars->addBar(m_state, QStringLiteral("Code Window"), QStringLiteral("ｺｰﾄﾞ ｳｨﾝﾄﾞｳ"));
    for (auto [caption, command] : {std::pair{"切り取り(&T)", "Cut"}, std::pair{"ｺﾋﾟｰ(&C)", "Copy"},
                                    std::pair{"貼り付け(&P)", "Paste"}, std::pair{"定義(&D)", "Definition"},
                                    std::pair{"ｵﾌﾞｼﾞｪｸﾄ ﾌﾞﾗｳｻﾞ(&O)", "ObjectBrowser"}})
        codeWindow->controlList()->addCommand(QString::fromUtf8(caption), QString::fromUtf8(command));
    auto projectWindow =
        m_commandBars->addBar(m_state, QStringLiteral("Project Window"), QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄ ｳｨﾝﾄﾞｳ"));
    for (auto [caption, command] : {std::pair{"ｺｰﾄﾞの表示(&C)", "ViewCode"},
                                    std::pair{"ｵﾌﾞｼﾞｪｸﾄの表示(&B)", "ViewObject"}})
        projectWindow->controlList()->addCommand(QString::fromUtf8(caption), QString::fromUtf8(command));
}

void VBEImpl::updateCaptions()
{
    auto project = m_activeProject.lock();
    const QString name = project ? project->name() : QStringLiteral("Project1");
    std::function<void(const Ptr<CommandBarControlsImpl> &)> walk = [&](const Ptr<CommandBarControlsImpl> &controls) {
        for (const auto &c : controls->items()) {
            if (!c->captionTemplate.isEmpty()) {
                const QString tmpl = c->captionTemplate;
                c->setCaption(tmpl.arg(name));
                c->captionTemplate = tmpl;
            }
        }
    };
    for (const auto &bar : m_commandBars->items())
        walk(bar->controlList());
    m_mainWindow->setCaption(QStringLiteral("%1 - Microsoft Visual Basic [ﾃﾞｻﾞｲﾝ]").arg(name));
}

Ptr<host::VBProject> VBEImpl::activeVBProject() const
{
    if (auto p = m_activeProject.lock(); p && !p->liveness()->removed)
        return p;
    return nullptr;
}

void VBEImpl::setActiveProject(const Ptr<ProjectImpl> &project)
{
    m_activeProject = project;
    updateCaptions();
    m_state->notify();
}

Ptr<host::CodePane> VBEImpl::activeCodePane() const { return m_activePane.lock(); }

void VBEImpl::setActiveCodePane(const Ptr<host::CodePane> &pane)
{
    auto impl = std::dynamic_pointer_cast<CodePaneImpl>(pane);
    if (pane && !impl)
        throw Error(err::InvalidCall);
    m_activePane = impl;
    if (impl) {
        if (auto module = impl->codeModule()) {
            auto component = std::dynamic_pointer_cast<ComponentImpl>(module->parent());
            if (component) {
                m_selected = component;
                if (auto project = component->project(); project && project != m_activeProject.lock())
                    setActiveProject(project);
            }
        }
    }
    m_state->notify();
}

Ptr<host::Window> VBEImpl::activeWindow() const
{
    if (auto w = m_windows->active())
        return w;
    return m_mainWindow;
}

void VBEImpl::paneOpened(const Ptr<CodePaneImpl> &pane)
{
    if (std::find(m_panes.begin(), m_panes.end(), pane) == m_panes.end())
        m_panes.push_back(pane);
}

void VBEImpl::paneClosed(const CodePaneImpl *pane)
{
    std::erase_if(m_panes, [pane](const Ptr<CodePaneImpl> &p) { return p.get() == pane; });
    if (m_activePane.lock().get() == pane)
        m_activePane = m_panes.empty() ? std::weak_ptr<CodePaneImpl>() : m_panes.back();
}

void VBEImpl::forgetProject(const ProjectImpl *project)
{
    std::vector<Ptr<WindowImpl>> doomed;
    for (const auto &w : m_windows->items()) {
        auto component = w->component.lock();
        if (component && component->project().get() == project)
            doomed.push_back(w);
    }
    for (const auto &w : doomed)
        m_windows->removeWindow(w);
    if (auto s = m_selected.lock()) {
        auto c = std::dynamic_pointer_cast<ComponentImpl>(s);
        if (c && c->project().get() == project)
            m_selected.reset();
    }
    if (m_activeProject.lock().get() == project)
        setActiveProject(m_projects->items().empty() ? nullptr : m_projects->items().front());
}

void VBEImpl::runCommand(const QString &commandId)
{
    m_state->executedCommands.push_back(commandId);
    // Commands the stand-in carries out itself; the rest are the front end's dialogs.
    if (commandId == QLatin1String("AddModule") || commandId == QLatin1String("AddClass") ||
        commandId == QLatin1String("AddForm")) {
        if (auto project = m_activeProject.lock()) {
            const auto type = commandId == QLatin1String("AddModule")  ? host::ComponentType::StdModule
                              : commandId == QLatin1String("AddClass") ? host::ComponentType::ClassModule
                                                                       : host::ComponentType::VBForm;
            project->components()->add(type);
        }
    } else if (commandId == QLatin1String("RemoveProject")) {
        if (auto project = m_activeProject.lock())
            m_projects->remove(project);
    } else if (commandId == QLatin1String("ViewImmediate")) {
        m_windows->item(QStringLiteral("ｲﾐﾃﾞｨｴｲﾄ"))->setFocus();
    } else if (commandId == QLatin1String("TileHorizontally") || commandId == QLatin1String("TileVertically") ||
               commandId == QLatin1String("Cascade") || commandId == QLatin1String("ArrangeIcons")) {
        m_state->arrangement = commandId;
    } else {
        openCommandDialog(commandId);
    }
    if (m_state->commandHandler)
        m_state->commandHandler(commandId);
    m_state->notify();
}

// ---- Ide ----------------------------------------------------------------------

Ide::Ide(std::shared_ptr<files::FileSystem> fileSystem) : m_state(std::make_shared<IdeState>())
{
    m_state->fileSystem = fileSystem ? std::move(fileSystem) : std::make_shared<files::DiskFileSystem>();
    m_vbe = std::make_shared<VBEImpl>(m_state);
    m_vbe->init();
}

Ide::~Ide() { shutDown(); }

void Ide::shutDown()
{
    if (std::exchange(m_shutDown, true))
        return;
    for (const auto &addIn : m_vbe->addinList()->items()) {
        try {
            addIn->disconnectWith(host::DisconnectMode::HostShutdown);
        } catch (const Error &) {
        }
    }
}

Ptr<host::VBE> Ide::vbe() const { return m_vbe; }

std::vector<Ptr<host::VBProject>> Ide::load(const QString &path)
{
    QString absolute = path;
    if (!absolute.startsWith(QLatin1Char('/')) && std::dynamic_pointer_cast<files::DiskFileSystem>(m_state->fileSystem))
        absolute = QDir::current().absoluteFilePath(path);
    return m_vbe->projectList()->load(QDir::cleanPath(absolute));
}

const std::vector<files::Diagnostic> &Ide::diagnostics() const { return m_state->diagnostics; }
void Ide::clearDiagnostics() { m_state->diagnostics.clear(); }
void Ide::setCodePage(files::CodePage codePage) { m_state->codePage = codePage; }

void Ide::setLoadThreads(int threads) { m_state->loadThreads = threads; }
void Ide::setCodeOnDemand(const QString &text) { m_state->passByText = text; }

files::CodePage Ide::codePageOf(const Ptr<host::VBProject> &project) const
{
    auto impl = std::dynamic_pointer_cast<ProjectImpl>(project);
    return impl ? impl->codePage() : files::CodePage::Auto;
}

void Ide::registerAddIn(const QString &progId, const QString &description,
                        std::function<Ptr<host::AddinInstance>()> factory)
{
    m_vbe->addinList()->append(std::make_shared<AddInImpl>(m_vbe->addinList(), m_vbe, progId, description,
                                                           std::move(factory)));
}

void Ide::registerDocument(const QString &progId, std::function<Ptr<host::ComObject>()> factory)
{
    m_state->documentFactories.insert(progId, std::move(factory));
}

void Ide::setCommandHandler(CommandHandler handler) { m_state->commandHandler = std::move(handler); }
const QStringList &Ide::executedCommands() const { return m_state->executedCommands; }
const QStringList &Ide::commandsRun() const { return m_state->commandsRun; }

void Ide::setClipboardImageProvider(std::function<host::Picture()> provider) { m_state->clipboardImage = std::move(provider); }
void Ide::failOn(const QString &call, int number) { m_state->faults.insert(call, number); }
void Ide::clearFaults() { m_state->faults.clear(); }

Ptr<host::ComObject> Ide::documentOf(const Ptr<host::Window> &window) const
{
    auto impl = std::dynamic_pointer_cast<WindowImpl>(window);
    return impl ? impl->document : nullptr;
}

void Ide::setCountOfVisibleLines(const Ptr<host::CodePane> &pane, int lines)
{
    if (auto impl = std::dynamic_pointer_cast<CodePaneImpl>(pane))
        impl->setCountOfVisibleLines(lines);
}

void Ide::removeCommandBar(const QString &name) { m_vbe->commandBarList()->removeBar(name); }

host::Signal<> &Ide::changed() { return m_state->changed; }

} // namespace ide
