#pragma once
// The IDE's own state: windows, code panes, command bars, events and add-ins.
#include "ide/shell/impl.h"
#include "ide/shell/raw_text.h"
#include "ide/shell/send_keys.h"

namespace ide {

class WindowsImpl;

class WindowImpl : public host::Window, public std::enable_shared_from_this<WindowImpl> {
public:
    WindowImpl(std::weak_ptr<WindowsImpl> windows, std::shared_ptr<IdeState> state, QString caption,
               host::WindowType type)
        : m_windows(std::move(windows)), m_state(std::move(state)), m_caption(std::move(caption)), m_type(type) {}
    QString caption() const override { return m_caption; }
    host::WindowType type() const override { return m_type; }
    bool visible() const override { return m_visible; }
    void setVisible(bool visible) override;
    void setFocus() override;
    void close() override;
    host::Ptr<host::Windows> collection() const override;

    void setCaption(const QString &caption) { m_caption = caption; }
    /// The component a code or designer window shows.
    std::weak_ptr<ComponentImpl> component;
    host::Ptr<host::ComObject> document;   // tool windows: the add-in's document
    QString guidPosition;

private:
    std::weak_ptr<WindowsImpl> m_windows;
    std::shared_ptr<IdeState> m_state;
    QString m_caption;
    host::WindowType m_type;
    bool m_visible = false;
};

class WindowsImpl : public host::Windows, public std::enable_shared_from_this<WindowsImpl> {
public:
    explicit WindowsImpl(std::shared_ptr<IdeState> state) : m_state(std::move(state)) {}
    int count() const override { return int(m_items.size()); }
    host::Ptr<host::Window> item(int index) const override;
    host::Ptr<host::Window> item(const QString &caption) const override;
    host::Ptr<host::Window> createToolWindow(const host::Ptr<host::AddIn> &addIn, const QString &progId,
                                             const QString &caption, const QString &guidPosition,
                                             host::Ptr<host::ComObject> &docObj) override;

    host::Ptr<WindowImpl> add(const QString &caption, host::WindowType type);
    void removeWindow(const host::Ptr<WindowImpl> &window);
    const std::vector<host::Ptr<WindowImpl>> &items() const { return m_items; }
    host::Ptr<WindowImpl> active() const { return m_active.lock(); }
    void setActive(const host::Ptr<WindowImpl> &window) { m_active = window; }

private:
    std::shared_ptr<IdeState> m_state;
    std::vector<host::Ptr<WindowImpl>> m_items;
    std::weak_ptr<WindowImpl> m_active;
};

class CodePaneImpl : public host::CodePane, public std::enable_shared_from_this<CodePaneImpl> {
public:
    CodePaneImpl(std::weak_ptr<CodeModuleImpl> module, std::shared_ptr<IdeState> state)
        : m_module(std::move(module)), m_state(std::move(state)) {}
    host::Ptr<host::CodeModule> codeModule() const override { return m_module.lock(); }
    host::Ptr<host::Window> window() const override;
    void show() override;
    void getSelection(int &startLine, int &startCol, int &endLine, int &endCol) const override;
    void setSelection(int startLine, int startCol, int endLine, int endCol) override;
    int topLine() const override { return m_topLine; }
    void setTopLine(int line) override;
    int countOfVisibleLines() const override { return m_visibleLines; }

    /// The view's height in lines; a caret that was in view stays in view.
    void setCountOfVisibleLines(int lines);
    bool isOpen() const { return !m_window.expired(); }

private:
    std::weak_ptr<CodeModuleImpl> m_module;
    std::shared_ptr<IdeState> m_state;
    mutable std::weak_ptr<WindowImpl> m_window;
    int m_sl = 1, m_sc = 1, m_el = 1, m_ec = 1;
    int m_topLine = 1;
    int m_visibleLines = 30;
};

class CodePanesImpl : public host::CodePanes {
public:
    explicit CodePanesImpl(std::weak_ptr<VBEImpl> vbe) : m_vbe(std::move(vbe)) {}
    int count() const override;
    host::Ptr<host::CodePane> item(int index) const override;
    host::Ptr<host::CodePane> current() const override;

private:
    std::weak_ptr<VBEImpl> m_vbe;
};

// ---- command bars -------------------------------------------------------------

class CommandBarImpl;
class CommandBarControlsImpl;

class CommandBarControlImpl : public host::CommandBarControl,
                              public std::enable_shared_from_this<CommandBarControlImpl> {
public:
    CommandBarControlImpl(std::weak_ptr<CommandBarImpl> bar, std::weak_ptr<CommandBarControlsImpl> owner,
                          std::shared_ptr<IdeState> state, host::ControlType type)
        : m_bar(std::move(bar)), m_owner(std::move(owner)), m_state(std::move(state)), m_type(type) {}
    QString caption() const override { return m_caption; }
    void setCaption(const QString &caption) override;
    host::ControlType type() const override { return m_type; }
    bool enabled() const override { return m_enabled; }
    void setEnabled(bool enabled) override;
    bool visible() const override { return m_visible; }
    void setVisible(bool visible) override;
    QString tag() const override { return m_tag; }
    void setTag(const QString &tag) override { m_tag = tag; }
    int index() const override;
    host::Ptr<host::CommandBar> parent() const override;
    host::Ptr<host::CommandBarControls> controls() const override;
    void pasteFace() override;
    host::Picture face() const override { return m_face; }
    void deleteControl(bool temporary) override;
    void execute() override;

    /// Built-in command run by the default action; empty for add-in controls.
    QString commandId;
    /// Caption with "%1" for the active project's name, rebuilt when it changes.
    QString captionTemplate;
    host::Ptr<CommandBarControlsImpl> popupControls;

private:
    std::weak_ptr<CommandBarImpl> m_bar;
    std::weak_ptr<CommandBarControlsImpl> m_owner;
    std::shared_ptr<IdeState> m_state;
    host::ControlType m_type;
    QString m_caption;
    QString m_tag;
    bool m_enabled = true;
    bool m_visible = true;
    host::Picture m_face;
};

class CommandBarControlsImpl : public host::CommandBarControls,
                               public std::enable_shared_from_this<CommandBarControlsImpl> {
public:
    CommandBarControlsImpl(std::weak_ptr<CommandBarImpl> bar, std::shared_ptr<IdeState> state)
        : m_bar(std::move(bar)), m_state(std::move(state)) {}
    int count() const override { return int(m_items.size()); }
    host::Ptr<host::CommandBarControl> item(int index) const override;
    host::Ptr<host::CommandBarControl> item(const QString &caption) const override;
    host::Ptr<host::CommandBarControl> add(host::ControlType type, int id, const QVariant &parameter,
                                           int before, bool temporary) override;

    /// A built-in command.
    host::Ptr<CommandBarControlImpl> addCommand(const QString &caption, const QString &commandId,
                                                host::ControlType type = host::ControlType::Button);
    void removeControl(const CommandBarControlImpl *control);
    int indexOf(const CommandBarControlImpl *control) const;
    const std::vector<host::Ptr<CommandBarControlImpl>> &items() const { return m_items; }

private:
    std::weak_ptr<CommandBarImpl> m_bar;
    std::shared_ptr<IdeState> m_state;
    std::vector<host::Ptr<CommandBarControlImpl>> m_items;
};

class CommandBarImpl : public host::CommandBar, public std::enable_shared_from_this<CommandBarImpl> {
public:
    CommandBarImpl(QString name, QString nameLocal) : m_name(std::move(name)), m_nameLocal(std::move(nameLocal)) {}
    void init(std::shared_ptr<IdeState> state);
    QString name() const override { return m_name; }
    QString nameLocal() const override { return m_nameLocal; }
    host::Ptr<host::CommandBarControls> controls() const override { return m_controls; }
    bool visible() const override { return true; }
    host::Ptr<CommandBarControlsImpl> controlList() const { return m_controls; }

private:
    QString m_name;
    QString m_nameLocal;
    host::Ptr<CommandBarControlsImpl> m_controls;
};

class CommandBarsImpl : public host::CommandBars {
public:
    int count() const override { return int(m_items.size()); }
    host::Ptr<host::CommandBar> item(int index) const override;
    host::Ptr<host::CommandBar> item(const QString &name) const override;

    host::Ptr<CommandBarImpl> addBar(const std::shared_ptr<IdeState> &state, const QString &name,
                                     const QString &nameLocal);
    /// Drops a bar (tests use it for a host without "Add-Ins" or "Code Window").
    void removeBar(const QString &name);
    const std::vector<host::Ptr<CommandBarImpl>> &items() const { return m_items; }

private:
    std::vector<host::Ptr<CommandBarImpl>> m_items;
};

// ---- events -------------------------------------------------------------------

class EventsImpl : public host::Events {
public:
    host::Ptr<host::VBProjectsEvents> vbProjectsEvents() override;
    host::Ptr<host::VBComponentsEvents> vbComponentsEvents(const host::Ptr<host::VBProject> &project) override;
    host::Ptr<host::ReferencesEvents> referencesEvents(const host::Ptr<host::VBProject> &project) override;
    host::Ptr<host::VBControlsEvents> vbControlsEvents(const host::Ptr<host::VBProject> &project,
                                                       const host::Ptr<host::VBForm> &form) override;
    host::Ptr<host::CommandBarEvents> commandBarEvents(const host::Ptr<host::CommandBarControl> &control) override;

    void projectAdded(const host::Ptr<host::VBProject> &project);
    void projectRemoved(const host::Ptr<host::VBProject> &project);
    void componentAdded(const host::Ptr<host::VBProject> &project, const host::Ptr<host::VBComponent> &component);
    void componentRemoved(const host::Ptr<host::VBProject> &project, const host::Ptr<host::VBComponent> &component);
    /// Raises Click on every source of the control; returns CancelDefault.
    bool click(const host::Ptr<host::CommandBarControl> &control);

    /// Where an error an add-in's handler let escape is reported; the IDE carries on.
    std::function<void(const QString &)> reportHandlerError;

private:
    template <class F>
    void guarded(F &&raise);
    template <class T>
    struct Filtered {
        std::weak_ptr<host::VBProject> project;   // expired-null means all projects
        bool all = true;
        std::weak_ptr<T> source;
    };
    std::shared_ptr<host::VBProjectsEvents> m_projects;
    std::vector<Filtered<host::VBComponentsEvents>> m_components;
    std::vector<Filtered<host::ReferencesEvents>> m_references;
    std::vector<Filtered<host::VBControlsEvents>> m_controls;
    std::vector<std::pair<std::weak_ptr<host::CommandBarControl>, std::weak_ptr<host::CommandBarEvents>>> m_commands;
};

// ---- add-ins ------------------------------------------------------------------

class AddinsImpl;

class AddInImpl : public host::AddIn, public std::enable_shared_from_this<AddInImpl> {
public:
    AddInImpl(std::weak_ptr<AddinsImpl> addins, std::weak_ptr<VBEImpl> vbe, QString progId,
              QString description, std::function<host::Ptr<host::AddinInstance>()> factory);
    QString progId() const override { return m_progId; }
    QString guid() const override { return m_guid; }
    QString description() const override { return m_description; }
    bool connect() const override { return m_connected; }
    void setConnect(bool connect) override;
    host::Ptr<host::ComObject> object() const override { return m_instance; }
    host::Ptr<host::VBE> vbe() const override;
    host::Ptr<host::Addins> collection() const override;

    /// How the add-in manager connects: with a connect mode the setter cannot pass.
    void connectWith(host::ConnectMode mode);
    void disconnectWith(host::DisconnectMode mode);

private:
    std::weak_ptr<AddinsImpl> m_addins;
    std::weak_ptr<VBEImpl> m_vbe;
    QString m_progId;
    QString m_guid;
    QString m_description;
    std::function<host::Ptr<host::AddinInstance>()> m_factory;
    host::Ptr<host::AddinInstance> m_instance;
    bool m_connected = false;
};

class AddinsImpl : public host::Addins {
public:
    int count() const override { return int(m_items.size()); }
    host::Ptr<host::AddIn> item(int index) const override;
    host::Ptr<host::AddIn> item(const QString &progId) const override;
    void update() override {}
    void append(host::Ptr<AddInImpl> addIn) { m_items.push_back(std::move(addIn)); }
    const std::vector<host::Ptr<AddInImpl>> &items() const { return m_items; }

private:
    std::vector<host::Ptr<AddInImpl>> m_items;
};

// ---- VBE ----------------------------------------------------------------------

class VBEImpl : public host::VBE, public std::enable_shared_from_this<VBEImpl> {
public:
    explicit VBEImpl(std::shared_ptr<IdeState> state);
    void init();

    QString version() const override { return QStringLiteral("6.00"); }
    QString fullName() const override;
    host::Ptr<host::VBProjects> vbProjects() const override { return m_projects; }
    host::Ptr<host::VBProject> activeVBProject() const override;
    host::Ptr<host::VBComponent> selectedVBComponent() const override { return m_selected.lock(); }
    host::Ptr<host::CodePane> activeCodePane() const override;
    void setActiveCodePane(const host::Ptr<host::CodePane> &pane) override;
    host::Ptr<host::CodePanes> codePanes() const override { return m_codePanes; }
    host::Ptr<host::Window> activeWindow() const override;
    host::Ptr<host::Window> mainWindow() const override { return m_mainWindow; }
    host::Ptr<host::Windows> windows() const override { return m_windows; }
    host::Ptr<host::CommandBars> commandBars() const override { return m_commandBars; }
    host::Ptr<host::Events> events() const override { return m_events; }
    host::Ptr<host::Addins> addins() const override { return m_addins; }
    QString lastUsedPath() const override { return m_lastUsedPath; }

    host::Ptr<ProjectsImpl> projectList() const { return m_projects; }
    host::Ptr<WindowsImpl> windowList() const { return m_windows; }
    host::Ptr<CommandBarsImpl> commandBarList() const { return m_commandBars; }
    host::Ptr<EventsImpl> eventHub() const { return m_events; }
    host::Ptr<AddinsImpl> addinList() const { return m_addins; }
    const std::vector<host::Ptr<CodePaneImpl>> &openPanes() const { return m_panes; }

    void setActiveProject(const host::Ptr<ProjectImpl> &project);
    void setSelectedComponent(const host::Ptr<host::VBComponent> &component) { m_selected = component; }
    void setLastUsedPath(const QString &path) { m_lastUsedPath = path; }
    void paneOpened(const host::Ptr<CodePaneImpl> &pane);
    void paneClosed(const CodePaneImpl *pane);
    /// Called when a project goes away: closes its windows and panes.
    void forgetProject(const ProjectImpl *project);
    void runCommand(const QString &commandId);
    /// The stand-in's own key handling; false when the active window takes no keys here.
    bool handleKeys(const QString &keys);

private:
    void buildCommandBars();
    void openCommandDialog(const QString &commandId);
    void immediateKey(const KeyStroke &stroke);
    void updateCaptions();

    std::shared_ptr<IdeState> m_state;
    host::Ptr<ProjectsImpl> m_projects;
    host::Ptr<WindowsImpl> m_windows;
    host::Ptr<CommandBarsImpl> m_commandBars;
    host::Ptr<EventsImpl> m_events;
    host::Ptr<AddinsImpl> m_addins;
    host::Ptr<CodePanesImpl> m_codePanes;
    host::Ptr<WindowImpl> m_mainWindow;
    std::vector<host::Ptr<CodePaneImpl>> m_panes;   // open code panes, oldest first
    std::weak_ptr<CodePaneImpl> m_activePane;
    std::weak_ptr<ProjectImpl> m_activeProject;
    std::weak_ptr<host::VBComponent> m_selected;
    QString m_lastUsedPath;
};

} // namespace ide
