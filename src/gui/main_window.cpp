#include "gui/main_window.h"

#include "controls/form.h"
#include "docmain/doc_main.h"
#include "gui/addin_manager.h"
#include "gui/code_view.h"
#include "gui/form_view.h"
#include "gui/qt_platform.h"
#include "gui/units.h"
#include "gui/user_operation.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>

namespace gui {

using host::Ptr;

namespace {

constexpr int kComponentRole = Qt::UserRole + 1;

/// A subwindow the IDE closes: the close box asks the IDE's window to close instead.
class IdeSubWindow : public QMdiSubWindow {
public:
    using QMdiSubWindow::QMdiSubWindow;
    std::function<void()> onClose;
    bool closing = false;

protected:
    void closeEvent(QCloseEvent *event) override
    {
        if (closing) {
            QMdiSubWindow::closeEvent(event);
            return;
        }
        event->ignore();
        if (onClose)
            onClose();
    }
};

/// Tells the IDE when the user closes a dock.
class DockCloseFilter : public QObject {
public:
    DockCloseFilter(std::function<void()> onClose, QObject *parent) : QObject(parent), m_onClose(std::move(onClose)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The IDE hides docks without a close event; a close is the user's (or close()'s).
        if (event->type() == QEvent::Close)
            m_onClose();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onClose;
};

struct FolderKind {
    host::ComponentType type;
    const char *folder;
    const char *image;
};

// The project window's folders, in its order; MDI forms share the forms' folder.
const std::vector<FolderKind> &folderKinds()
{
    using CT = host::ComponentType;
    static const std::vector<FolderKind> kinds = {
        {CT::VBForm, "ﾌｫｰﾑ", "FORM"},
        {CT::VBMDIForm, "ﾌｫｰﾑ", "MDIFORM"},
        {CT::StdModule, "標準ﾓｼﾞｭｰﾙ", "STD"},
        {CT::ClassModule, "ｸﾗｽ ﾓｼﾞｭｰﾙ", "CLASS"},
        {CT::UserControl, "ﾕｰｻﾞｰ ｺﾝﾄﾛｰﾙ", "USERCTRL"},
        {CT::PropPage, "ﾌﾟﾛﾊﾟﾃｨ ﾍﾟｰｼﾞ", "PROPPAGE"},
        {CT::DocObject, "ﾕｰｻﾞｰ ﾄﾞｷｭﾒﾝﾄ", "USERDOC"},
        {CT::ActiveXDesigner, "ﾃﾞｻﾞｲﾅ", "DESIGNER"},
        {CT::MSForm, "ﾃﾞｻﾞｲﾅ", "DESIGNER"},
        {CT::ResFile, "関連ﾄﾞｷｭﾒﾝﾄ", "VB"},
        {CT::RelatedDocument, "関連ﾄﾞｷｭﾒﾝﾄ", "VB"},
    };
    return kinds;
}

const FolderKind *folderKind(host::ComponentType type)
{
    for (const FolderKind &kind : folderKinds()) {
        if (kind.type == type)
            return &kind;
    }
    return nullptr;
}

QString fileNameOf(const Ptr<host::VBComponent> &component)
{
    QString name;
    host::resumeNext([&] {
        if (component->fileCount() > 0)
            name = component->fileNames(1);
    });
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QFileInfo(name).fileName();
}

void addDesignerControls(QTreeWidgetItem *parent, QTreeWidget *tree, const Ptr<host::VBControls> &controls)
{
    if (!controls)
        return;
    for (int i = 1; i <= controls->count(); ++i) {
        auto control = controls->item(i);
        auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        const QString name = control->index() >= 0 ? QStringLiteral("%1(%2)").arg(control->name()).arg(control->index())
                                                   : control->name();
        item->setText(0, name);
        item->setText(1, control->className());
        item->setIcon(0, resourceIcon(QStringLiteral("CONTROL")));
        addDesignerControls(item, tree, control->containedVBControls());
        item->setExpanded(true);
    }
}

} // namespace

MainWindow::MainWindow(frontend::Session &session, QtPlatform &platform, QWidget *parent)
    : QMainWindow(parent), m_session(session), m_platform(platform), m_mdi(new QMdiArea(this))
{
    setObjectName(QStringLiteral("tessaryIde"));
    setWindowIcon(resourceIcon(QStringLiteral("VB")));
    m_mdi->setBackground(toQColor(controls::vbApplicationWorkspace));
    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    setCorner(Qt::BottomRightCorner, Qt::RightDockWidgetArea);
    setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
    buildDocks();
    statusBar()->setSizeGripEnabled(true);

    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *sub) {
        if (m_syncing || !sub)
            return;
        for (const SubWindow &entry : m_windows) {
            if (entry.subWindow != sub)
                continue;
            auto vbe = m_session.ide->vbe();
            userOperation([&] {
                if (vbe->activeWindow() != entry.window)
                    entry.window->setFocus();
                if (entry.pane && vbe->activeCodePane() != entry.pane)
                    vbe->setActiveCodePane(entry.pane);
            });
            return;
        }
    });

    m_session.ide->setCommandHandler([this](const QString &id) { runCommand(id); });
    m_platform.setParentWidget(this);
    m_platform.setKeyTarget([this] { return keyTarget(); });
    m_platform.setWidgetFinder([this](const controls::Control *control) -> QWidget * {
        for (const ToolDock &tool : m_toolDocks) {
            if (QWidget *widget = control && tool.view ? tool.view->widgetFor(*control) : nullptr)
                return widget;
        }
        return nullptr;
    });
    m_changed = m_session.ide->changed().connect([this] { scheduleSync(); });
    // Add-in forms show and hide without the IDE noticing: look at them now and then.
    auto *formTimer = new QTimer(this);
    connect(formTimer, &QTimer::timeout, this, [this] {
        if (!inUserOperation())
            syncForms();
    });
    formTimer->start(100);
    syncNow();
}

MainWindow::~MainWindow()
{
    m_changed.reset();
    m_session.ide->setCommandHandler(nullptr);
    m_platform.setParentWidget(nullptr);
    m_platform.setKeyTarget(nullptr);
    m_platform.setWidgetFinder(nullptr);
    // The tool windows' bindings go before the documents they render.
    for (FormWindow &entry : m_formWindows)
        delete entry.dialog;
    m_formWindows.clear();
    delete m_commandDialog;
    for (ToolDock &tool : m_toolDocks)
        delete tool.dock;
    m_toolDocks.clear();
}

void MainWindow::buildDocks()
{
    auto vbe = m_session.ide->vbe();
    auto windowOfType = [&](host::WindowType type) -> Ptr<host::Window> {
        auto windows = vbe->windows();
        for (int i = 1; i <= windows->count(); ++i) {
            if (windows->item(i)->type() == type)
                return windows->item(i);
        }
        return nullptr;
    };

    // Project window.
    auto projectWindow = windowOfType(host::WindowType::ProjectWindow);
    m_projectDock = new QDockWidget(projectWindow ? projectWindow->caption() : QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄ"), this);
    m_projectDock->setObjectName(QStringLiteral("projectWindow"));
    m_projectTree = new QTreeWidget(m_projectDock);
    m_projectTree->setHeaderHidden(true);
    m_projectTree->setIconSize(QSize(16, 16));
    m_projectTree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_projectTree->setExpandsOnDoubleClick(false);
    m_projectDock->setWidget(m_projectTree);
    addDockWidget(Qt::LeftDockWidgetArea, m_projectDock);
    connect(m_projectTree, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item) { projectItemActivated(item); });
    connect(m_projectTree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (m_syncing)
            return;
        if (auto component = componentOf(item))
            userOperation([&] { component->activate(); });
    });
    connect(m_projectTree, &QTreeWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { projectContextMenu(pos); });
    if (projectWindow) {
        m_projectDock->installEventFilter(new DockCloseFilter(
            [projectWindow] { userOperation([&] { projectWindow->setVisible(false); }); }, m_projectDock));
    }

    // Immediate window.
    auto immediateWindow = windowOfType(host::WindowType::Immediate);
    m_immediateDock = new QDockWidget(immediateWindow ? immediateWindow->caption() : QStringLiteral("ｲﾐﾃﾞｨｴｲﾄ"), this);
    m_immediateDock->setObjectName(QStringLiteral("immediateWindow"));
    m_immediate = new QPlainTextEdit(m_immediateDock);
    m_immediate->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_immediate->setFont(toQFont(controls::Font{QStringLiteral("ＭＳ ゴシック"), 10}));
    m_immediateDock->setWidget(m_immediate);
    addDockWidget(Qt::BottomDockWidgetArea, m_immediateDock);
    connect(m_immediate, &QPlainTextEdit::textChanged, this, [this] {
        if (m_syncing)
            return;
        const QString text = m_immediate->toPlainText();
        if (text == m_session.ide->immediateText())
            return;
        m_syncing = true;
        userOperation([&] { m_session.ide->setImmediateText(text); });
        m_syncing = false;
    });
    if (immediateWindow) {
        m_immediateDock->installEventFilter(new DockCloseFilter(
            [immediateWindow] { userOperation([&] { immediateWindow->setVisible(false); }); }, m_immediateDock));
    }

    resizeDocks({m_projectDock}, {200}, Qt::Horizontal);
    resizeDocks({m_immediateDock}, {130}, Qt::Vertical);
}

const MainWindow::ToolDock *MainWindow::currentToolDock() const
{
    for (auto it = m_toolDocks.rbegin(); it != m_toolDocks.rend(); ++it) {
        if (it->dock && it->window->visible())
            return &*it;
    }
    return m_toolDocks.empty() ? nullptr : &m_toolDocks.back();
}

FormView *MainWindow::toolWindowView() const
{
    const ToolDock *tool = currentToolDock();
    return tool ? tool->view : nullptr;
}

QDockWidget *MainWindow::toolWindowDock() const
{
    const ToolDock *tool = currentToolDock();
    return tool ? tool->dock.data() : nullptr;
}

void MainWindow::fitToolWindow()
{
    const ToolDock *tool = currentToolDock();
    if (!tool || !tool->dock)
        return;
    const int width = twipsToPixelsX(tool->doc->userDocument.width(), tool->view);
    resizeDocks({tool->dock.data()}, {width}, Qt::Horizontal);
}

void MainWindow::syncToolWindows()
{
    auto windows = m_session.ide->vbe()->windows();
    for (int i = 1; i <= windows->count(); ++i) {
        auto window = windows->item(i);
        if (window->type() != host::WindowType::ToolWindow)
            continue;
        auto known = std::find_if(m_toolDocks.begin(), m_toolDocks.end(),
                                  [&](const ToolDock &tool) { return tool.window == window; });
        if (known == m_toolDocks.end()) {
            auto doc = std::dynamic_pointer_cast<docmain::DocMain>(m_session.ide->documentOf(window));
            if (!doc)
                continue;
            ToolDock tool{window, doc, new QDockWidget(window->caption(), this), nullptr};
            tool.dock->setObjectName(QStringLiteral("toolWindow%1").arg(m_toolDocks.size() + 1));
            tool.view = new FormView(doc->userDocument, tool.dock);
            tool.view->setObjectName(QStringLiteral("docMain"));
            tool.view->setMinimumSize(160, 120);
            tool.view->onResize = [doc](int w, int h) { doc->resize(w, h); };
            tool.dock->setWidget(tool.view);
            addDockWidget(Qt::RightDockWidgetArea, tool.dock);
            tool.dock->installEventFilter(
                new DockCloseFilter([window] { userOperation([&] { window->setVisible(false); }); }, tool.dock));
            m_toolDocks.push_back(std::move(tool));
            known = m_toolDocks.end() - 1;
        }
        QDockWidget *dock = known->dock;
        if (!dock)
            continue;
        if (dock->windowTitle() != window->caption())
            dock->setWindowTitle(window->caption());
        if (dock->isVisibleTo(this) != window->visible())
            dock->setVisible(window->visible());
    }
}

CodeView *MainWindow::codeViewFor(const Ptr<host::CodePane> &pane) const
{
    for (const SubWindow &entry : m_windows) {
        if (entry.pane && entry.pane == pane)
            return entry.codeView;
    }
    return nullptr;
}

QMdiSubWindow *MainWindow::subWindowFor(const Ptr<host::Window> &window) const
{
    for (const SubWindow &entry : m_windows) {
        if (entry.window == window)
            return entry.subWindow;
    }
    return nullptr;
}

void MainWindow::scheduleSync()
{
    if (m_syncPending)
        return;
    m_syncPending = true;
    whenIdle(this, [this] {
        if (m_syncPending)
            syncNow();
    });
}

void MainWindow::syncNow()
{
    m_syncPending = false;
    if (m_syncing)
        return;
    m_syncing = true;
    try {
        setWindowTitle(m_session.ide->vbe()->mainWindow()->caption());
        syncMenus();
        syncProjects();
        syncWindows();
        syncImmediate();
        syncDocks();
        syncCommandDialog();
        syncForms();
    } catch (const std::exception &e) {
        m_syncing = false;
        showException(e);
        return;
    }
    m_syncing = false;
    for (const ToolDock &tool : m_toolDocks) {
        if (tool.view)
            tool.view->flush();
    }
}

// ---- menus ----------------------------------------------------------------------------------

namespace {

void appendSignature(QString &s, const Ptr<host::CommandBarControls> &controls)
{
    if (!controls)
        return;
    for (int i = 1; i <= controls->count(); ++i) {
        auto c = controls->item(i);
        s += c->caption() + QChar(1) + QChar(c->enabled() ? u'1' : u'0') + QChar(c->visible() ? u'1' : u'0')
             + QChar(c->face().isNull() ? u'0' : u'1');
        if (c->type() == host::ControlType::Popup) {
            s += QChar(2);
            appendSignature(s, c->controls());
            s += QChar(3);
        }
        s += QChar(4);
    }
}

} // namespace

QString MainWindow::menuSignature() const
{
    QString s;
    appendSignature(s, m_session.ide->vbe()->commandBars()->item(QStringLiteral("Menu Bar"))->controls());
    return s;
}

void MainWindow::syncMenus()
{
    const QString signature = menuSignature();
    if (signature == m_menuSignature)
        return;
    m_menuSignature = signature;
    QMenuBar *bar = menuBar();
    for (QAction *action : bar->actions()) {
        if (QMenu *menu = action->menu())
            menu->deleteLater();
    }
    bar->clear();

    std::function<void(QWidget *, const Ptr<host::CommandBarControls> &)> fill =
        [&](QWidget *target, const Ptr<host::CommandBarControls> &controls) {
            for (int i = 1; i <= controls->count(); ++i) {
                auto control = controls->item(i);
                if (!control->visible())
                    continue;
                if (control->type() == host::ControlType::Popup && control->controls()) {
                    auto *menu = new QMenu(control->caption(), target);
                    menu->setEnabled(control->enabled());
                    fill(menu, control->controls());
                    if (auto *asBar = qobject_cast<QMenuBar *>(target))
                        asBar->addMenu(menu);
                    else
                        static_cast<QMenu *>(target)->addMenu(menu);
                    continue;
                }
                auto *action = new QAction(control->caption(), target);
                action->setEnabled(control->enabled());
                action->setIcon(toIcon(control->face()));
                std::weak_ptr<host::CommandBarControl> weak = control;
                // Run after the menu has closed: the command may rebuild this very menu.
                connect(action, &QAction::triggered, this, [this, weak] {
                    QTimer::singleShot(0, this, [weak] {
                        if (auto c = weak.lock())
                            userOperation([&] { c->execute(); });
                    });
                });
                target->addAction(action);
            }
        };
    fill(bar, m_session.ide->vbe()->commandBars()->item(QStringLiteral("Menu Bar"))->controls());
}

// ---- MDI windows ------------------------------------------------------------------------------

void MainWindow::syncWindows()
{
    auto vbe = m_session.ide->vbe();
    QHash<const host::Window *, Ptr<host::CodePane>> panes;
    auto codePanes = vbe->codePanes();
    for (int i = 1; i <= codePanes->count(); ++i) {
        auto pane = codePanes->item(i);
        if (auto window = pane->window())
            panes.insert(window.get(), pane);
    }

    std::vector<SubWindow> wanted;
    auto windows = vbe->windows();
    for (int i = 1; i <= windows->count(); ++i) {
        auto window = windows->item(i);
        if (!window->visible())
            continue;
        if (window->type() == host::WindowType::CodeWindow) {
            if (auto pane = panes.value(window.get()))
                wanted.push_back({window, pane, nullptr, nullptr, nullptr});
        } else if (window->type() == host::WindowType::Designer) {
            // The caption is "Project - Component (Kind)".
            auto projects = vbe->vbProjects();
            for (int p = 1; p <= projects->count(); ++p) {
                auto components = projects->item(p)->vbComponents();
                for (int c = 1; c <= components->count(); ++c) {
                    auto component = components->item(c);
                    const QString prefix =
                        QStringLiteral("%1 - %2 (").arg(projects->item(p)->name(), component->name());
                    if (component->hasOpenDesigner() && window->caption().startsWith(prefix))
                        wanted.push_back({window, nullptr, component, nullptr, nullptr});
                }
            }
        }
    }

    // Windows that went away.
    for (auto it = m_windows.begin(); it != m_windows.end();) {
        const bool keep = std::any_of(wanted.begin(), wanted.end(),
                                      [&](const SubWindow &w) { return w.window == it->window && w.pane == it->pane; });
        if (keep && it->subWindow) {
            ++it;
            continue;
        }
        if (auto *sub = static_cast<IdeSubWindow *>(it->subWindow.data())) {
            sub->closing = true;
            m_mdi->removeSubWindow(sub);
            sub->deleteLater();
        }
        it = m_windows.erase(it);
    }
    // New windows.
    for (SubWindow &entry : wanted) {
        const bool known = std::any_of(m_windows.begin(), m_windows.end(),
                                       [&](const SubWindow &w) { return w.window == entry.window; });
        if (!known)
            addSubWindow(std::move(entry));
    }
    for (SubWindow &entry : m_windows) {
        if (entry.subWindow && entry.subWindow->windowTitle() != entry.window->caption())
            entry.subWindow->setWindowTitle(entry.window->caption());
        if (entry.codeView)
            entry.codeView->syncFromModel();
    }
    if (auto active = vbe->activeWindow()) {
        for (const SubWindow &entry : m_windows) {
            if (entry.window == active && entry.subWindow && m_mdi->activeSubWindow() != entry.subWindow)
                m_mdi->setActiveSubWindow(entry.subWindow);
        }
        if (active->type() == host::WindowType::Immediate && m_immediateDock->isVisible())
            m_immediateDock->raise();
    }
}

void MainWindow::addSubWindow(SubWindow entry)
{
    auto vbe = m_session.ide->vbe();
    auto *sub = new IdeSubWindow;
    sub->setAttribute(Qt::WA_DeleteOnClose, false);
    QString image = QStringLiteral("VB");
    if (entry.pane) {
        entry.codeView = new CodeView(entry.pane, vbe);
        entry.codeView->onVisibleLinesChanged = [ide = m_session.ide.get(), pane = entry.pane](int lines) {
            ide->setCountOfVisibleLines(pane, lines);
        };
        sub->setWidget(entry.codeView);
        host::resumeNext([&] {
            if (const auto *kind = folderKind(entry.pane->codeModule()->parent()->type()))
                image = QString::fromLatin1(kind->image);
        });
    } else {
        auto *tree = new QTreeWidget;
        tree->setColumnCount(2);
        tree->setHeaderLabels({QStringLiteral("ｺﾝﾄﾛｰﾙ"), QStringLiteral("ｸﾗｽ")});
        tree->setIconSize(QSize(16, 16));
        userOperation([&] {
            if (auto designer = entry.designer->designer())
                addDesignerControls(nullptr, tree, designer->containedVBControls());
        });
        tree->resizeColumnToContents(0);
        sub->setWidget(tree);
        if (const auto *kind = folderKind(entry.designer->type()))
            image = QString::fromLatin1(kind->image);
    }
    sub->setWindowIcon(resourceIcon(image));
    sub->setWindowTitle(entry.window->caption());
    auto window = entry.window;
    sub->onClose = [window] { userOperation([&] { window->close(); }); };
    m_mdi->addSubWindow(sub);
    const QSize area = m_mdi->viewport()->size();
    sub->resize(std::max(320, area.width() * 3 / 4), std::max(200, area.height() * 3 / 4));
    sub->show();
    entry.subWindow = sub;
    m_windows.push_back(std::move(entry));
}

void MainWindow::arrange(Qt::Orientation orientation)
{
    QList<QMdiSubWindow *> list;
    for (QMdiSubWindow *sub : m_mdi->subWindowList()) {
        if (sub->isVisible() && !sub->isMinimized())
            list << sub;
    }
    if (list.isEmpty())
        return;
    const QRect area = m_mdi->viewport()->rect();
    const int n = int(list.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow *sub = list[i];
        sub->showNormal();
        if (orientation == Qt::Vertical)
            sub->setGeometry(0, area.height() * i / n, area.width(), area.height() / n);
        else
            sub->setGeometry(area.width() * i / n, 0, area.width() / n, area.height());
    }
}

void MainWindow::arrangeIcons()
{
    const QRect area = m_mdi->viewport()->rect();
    int x = 0;
    for (QMdiSubWindow *sub : m_mdi->subWindowList()) {
        if (!sub->isMinimized())
            continue;
        sub->move(x, area.height() - sub->height());
        x += sub->width();
    }
}

// ---- project window -----------------------------------------------------------------------------

Ptr<host::VBComponent> MainWindow::componentOf(QTreeWidgetItem *item) const
{
    if (!item)
        return nullptr;
    const int index = item->data(0, kComponentRole).toInt();
    if (index <= 0 || index > int(m_projectComponents.size()))
        return nullptr;
    return m_projectComponents[std::size_t(index - 1)];
}

void MainWindow::syncProjects()
{
    auto vbe = m_session.ide->vbe();
    auto projects = vbe->vbProjects();
    QString signature;
    for (int p = 1; p <= projects->count(); ++p) {
        auto project = projects->item(p);
        signature += project->name() + QChar(1);
        auto components = project->vbComponents();
        for (int c = 1; c <= components->count(); ++c) {
            auto component = components->item(c);
            signature += component->name() + QChar(2) + QString::number(int(component->type())) + QChar(3);
        }
        signature += QChar(4);
    }
    if (signature != m_projectSignature) {
        m_projectSignature = signature;
        m_projectTree->clear();
        m_projectComponents.clear();
        for (int p = 1; p <= projects->count(); ++p) {
            auto project = projects->item(p);
            auto *projectItem = new QTreeWidgetItem(m_projectTree);
            QString file = project->fileName();
            file.replace(QLatin1Char('\\'), QLatin1Char('/'));
            projectItem->setText(0, QStringLiteral("%1 (%2)").arg(project->name(), QFileInfo(file).fileName()));
            projectItem->setIcon(0, resourceIcon(QStringLiteral("PROJECT")));
            QHash<QString, QTreeWidgetItem *> folders;
            auto components = project->vbComponents();
            for (const FolderKind &kind : folderKinds()) {
                for (int c = 1; c <= components->count(); ++c) {
                    auto component = components->item(c);
                    if (component->type() != kind.type)
                        continue;
                    const QString folderName = QString::fromUtf8(kind.folder);
                    QTreeWidgetItem *folder = folders.value(folderName);
                    if (!folder) {
                        folder = new QTreeWidgetItem(projectItem);
                        folder->setText(0, folderName);
                        folder->setIcon(0, resourceIcon(QStringLiteral("FOLDER")));
                        folders.insert(folderName, folder);
                    }
                    auto *item = new QTreeWidgetItem(folder);
                    const QString file = fileNameOf(component);
                    item->setText(0, file.isEmpty() ? component->name()
                                                    : QStringLiteral("%1 (%2)").arg(component->name(), file));
                    item->setIcon(0, resourceIcon(QString::fromLatin1(kind.image)));
                    m_projectComponents.push_back(component);
                    item->setData(0, kComponentRole, int(m_projectComponents.size()));
                }
            }
        }
        m_projectTree->expandAll();
    }
    auto selected = vbe->selectedVBComponent();
    for (QTreeWidgetItemIterator it(m_projectTree); *it; ++it) {
        if (selected && componentOf(*it) == selected) {
            if (m_projectTree->currentItem() != *it)
                m_projectTree->setCurrentItem(*it);
            break;
        }
    }
}

void MainWindow::projectItemActivated(QTreeWidgetItem *item)
{
    auto component = componentOf(item);
    if (!component)
        return;
    userOperation([&] {
        component->activate();
        if (component->type() == host::ComponentType::ResFile
            || component->type() == host::ComponentType::RelatedDocument)
            return;
        component->codeModule()->codePane()->show();
    });
}

void MainWindow::projectContextMenu(const QPoint &pos)
{
    auto component = componentOf(m_projectTree->itemAt(pos));
    if (!component)
        return;
    QMenu menu(this);
    std::vector<std::pair<QAction *, Ptr<host::CommandBarControl>>> entries;
    userOperation([&] {
        component->activate();
        auto controls = m_session.ide->vbe()->commandBars()->item(QStringLiteral("Project Window"))->controls();
        for (int i = 1; i <= controls->count(); ++i) {
            auto control = controls->item(i);
            if (!control->visible())
                continue;
            QAction *action = menu.addAction(control->caption());
            action->setEnabled(control->enabled());
            entries.emplace_back(action, control);
        }
    });
    if (entries.empty())
        return;
    QAction *chosen = menu.exec(m_projectTree->viewport()->mapToGlobal(pos));
    for (const auto &[action, control] : entries) {
        if (action == chosen) {
            const auto run = control;
            userOperation([&] { run->execute(); });
        }
    }
}

// ---- Immediate and docks -----------------------------------------------------------------------

void MainWindow::syncImmediate()
{
    const QString text = m_session.ide->immediateText();
    if (m_immediate->toPlainText() != text) {
        m_immediate->setPlainText(text);
        m_immediate->moveCursor(QTextCursor::End);
    }
}

void MainWindow::syncDocks()
{
    auto windows = m_session.ide->vbe()->windows();
    for (int i = 1; i <= windows->count(); ++i) {
        auto window = windows->item(i);
        QDockWidget *dock = window->type() == host::WindowType::Immediate       ? m_immediateDock
                            : window->type() == host::WindowType::ProjectWindow ? m_projectDock
                                                                                : nullptr;
        if (dock && dock->isVisibleTo(this) != window->visible())
            dock->setVisible(window->visible());
    }
    syncToolWindows();
}

QWidget *MainWindow::keyTarget() const
{
    auto vbe = m_session.ide->vbe();
    auto active = vbe->activeWindow();
    if (!active)
        return nullptr;
    if (active->type() == host::WindowType::Immediate)
        return m_immediate;
    if (active->type() == host::WindowType::CodeWindow) {
        for (const SubWindow &entry : m_windows) {
            if (entry.window == active)
                return entry.codeView;
        }
    }
    return nullptr;
}

void MainWindow::reportDiagnostics(std::size_t first)
{
    const auto &diagnostics = m_session.ide->diagnostics();
    if (first >= diagnostics.size())
        return;
    QString text = m_session.ide->immediateText();
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    for (std::size_t i = first; i < diagnostics.size(); ++i) {
        const auto &d = diagnostics[i];
        text += d.line > 0 ? QStringLiteral("%1(%2): %3\n").arg(d.file).arg(d.line).arg(d.message)
                           : QStringLiteral("%1: %2\n").arg(d.file, d.message);
    }
    m_session.ide->setImmediateText(text);
}

// ---- dialogs ----------------------------------------------------------------------------------------

QWidget *MainWindow::ownerWidget(const controls::Form *owner) const
{
    for (const ToolDock &tool : m_toolDocks) {
        if (owner && tool.view && &tool.doc->userDocument == owner)
            return tool.view;
    }
    return const_cast<MainWindow *>(this);
}

FormDialog *MainWindow::formWindowFor(const controls::Form &form) const
{
    for (const FormWindow &entry : m_formWindows) {
        if (entry.form == &form && entry.dialog && entry.dialog->isVisible())
            return entry.dialog;
    }
    return nullptr;
}

void MainWindow::syncForms()
{
    std::erase_if(m_formWindows, [](const FormWindow &entry) { return !entry.dialog; });
    for (controls::Form *form : controls::forms()) {
        // Modal forms run in the platform's own dialog; documents sit in their docks.
        const bool document = std::any_of(m_toolDocks.begin(), m_toolDocks.end(), [&](const ToolDock &tool) {
            return &tool.doc->userDocument == form;
        });
        if (document || form->modal())
            continue;
        auto known = std::find_if(m_formWindows.begin(), m_formWindows.end(),
                                  [&](const FormWindow &entry) { return entry.form == form; });
        if (!form->visible()) {
            if (known != m_formWindows.end() && known->dialog->isVisible())
                known->dialog->hide();
            continue;
        }
        if (known == m_formWindows.end()) {
            // The owner keeps the dialog in front of it, as Show's OwnerForm does.
            auto *dialog = new FormDialog(*form, ownerWidget(form->owner()));
            dialog->setObjectName(form->name());
            m_formWindows.push_back({form, dialog});
            known = m_formWindows.end() - 1;
        }
        if (!known->dialog->isVisible())
            known->dialog->show();
        known->dialog->view()->flush();
    }
}

void MainWindow::syncCommandDialog()
{
    const auto &open = m_session.ide->commandDialog();
    // The add-in manager has its own dialog on the desktop.
    const bool own = open && open->command == QLatin1String("AddInManager") && m_platform.interactive();
    const QString shown = open && !own ? open->caption + QChar(0) + open->lines.join(QChar(0)) : QString();
    if (shown == m_commandDialogShown && (shown.isEmpty() || m_commandDialog))
        return;
    m_commandDialogShown = shown;
    delete m_commandDialog;
    if (shown.isEmpty())
        return;
    auto *dialog = new QDialog(this);
    dialog->setObjectName(QStringLiteral("ideCommandDialog"));
    dialog->setWindowTitle(open->caption);
    auto *layout = new QVBoxLayout(dialog);
    auto *list = new QListWidget(dialog);
    list->addItems(open->lines);
    list->setMinimumWidth(std::min(900, list->sizeHintForColumn(0) + 40));
    layout->addWidget(list);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, dialog);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    connect(dialog, &QDialog::finished, this, [this] {
        if (m_session.ide->commandDialog())
            userOperation([&] { m_session.ide->closeCommandDialog(); });
    });
    dialog->resize(dialog->sizeHint());
    m_commandDialog = dialog;
    dialog->show();
}

// ---- commands -------------------------------------------------------------------------------------

void MainWindow::openProjectFile(bool exclusive)
{
    if (!m_platform.interactive())
        return;
    auto vbe = m_session.ide->vbe();
    const QString caption = exclusive ? QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄを開く") : QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄの追加");
    const QString path =
        QFileDialog::getOpenFileName(this, caption, vbe->lastUsedPath(),
                                     QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄ ﾌｧｲﾙ (*.vbp *.vbg *.mak);;すべてのﾌｧｲﾙ (*)"));
    if (path.isEmpty())
        return;
    const std::size_t before = m_session.ide->diagnostics().size();
    userOperation([&] { vbe->vbProjects()->addFromFile(path, exclusive); });
    reportDiagnostics(before);
}

void MainWindow::showAddInManager()
{
    if (!m_platform.interactive())
        return;
    AddInManagerDialog dialog(m_session.ide->vbe()->addins(), this);
    dialog.exec();
    m_session.ide->closeCommandDialog();
}

void MainWindow::runCommand(const QString &id)
{
    auto vbe = m_session.ide->vbe();
    if (id == QLatin1String("OpenProject") || id == QLatin1String("AddProject")) {
        openProjectFile(id == QLatin1String("OpenProject"));
    } else if (id == QLatin1String("AddInManager")) {
        showAddInManager();
    } else if (id == QLatin1String("TileHorizontally") || id == QLatin1String("TileVertically")
               || id == QLatin1String("Cascade") || id == QLatin1String("ArrangeIcons")) {
        // The IDE's windows may have changed in the same handler; catch up before arranging.
        if (!m_syncing) {
            m_syncing = true;
            try {
                syncWindows();
            } catch (const std::exception &) {
            }
            m_syncing = false;
        }
        if (id == QLatin1String("TileHorizontally"))
            arrange(Qt::Vertical);
        else if (id == QLatin1String("TileVertically"))
            arrange(Qt::Horizontal);
        else if (id == QLatin1String("Cascade"))
            m_mdi->cascadeSubWindows();
        else
            arrangeIcons();
    } else if (id == QLatin1String("ViewImmediate")) {
        m_immediateDock->show();
        m_immediateDock->raise();
        m_immediate->setFocus();
    } else if (id == QLatin1String("ViewProjectExplorer")) {
        m_projectDock->show();
        m_projectDock->raise();
    } else if (id == QLatin1String("ViewCode")) {
        if (auto component = vbe->selectedVBComponent())
            component->codeModule()->codePane()->show();
    } else if (id == QLatin1String("ViewObject")) {
        if (auto component = vbe->selectedVBComponent(); component && component->designer())
            component->designerWindow();
    } else if (id == QLatin1String("Exit")) {
        QTimer::singleShot(0, this, &QWidget::close);
    } else if (id == QLatin1String("About")) {
        if (m_platform.interactive())
            QMessageBox::about(this, QStringLiteral("Microsoft Visual Basic"),
                               QStringLiteral("Microsoft Visual Basic 6.0 (Tessary stand-in)\n%1").arg(vbe->fullName()));
    } else if (const auto &dialog = m_session.ide->commandDialog(); dialog && dialog->command == id) {
        // The stand-in opened its own dialog; the next sync shows it.
        scheduleSync();
    } else {
        statusBar()->showMessage(QStringLiteral("%1: このｺﾏﾝﾄﾞはｽﾀﾝﾄﾞｲﾝ IDE にはありません").arg(id), 5000);
    }
}

} // namespace gui
