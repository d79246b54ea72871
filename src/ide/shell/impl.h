#pragma once
// Concrete objects of the stand-in IDE. Children keep weak references to their
// parents; the VBE owns everything through IdeState.
#include "host/vbide.h"
#include "ide/code/module_code.h"
#include "ide/files/encoding.h"
#include "ide/files/file_system.h"
#include "ide/files/module_file.h"
#include "ide/files/project_file.h"
#include "ide/shell/ide.h"

#include <QHash>
#include <QMap>
#include <map>
#include <optional>

namespace ide {

class VBEImpl;
class ProjectImpl;
class ComponentImpl;
class CodePaneImpl;
class WindowImpl;
class EventsImpl;
class CommandBarControlImpl;

struct IdeState {
    std::shared_ptr<files::FileSystem> fileSystem;
    files::CodePage codePage = files::CodePage::Auto;
    int loadThreads = 0; // 0: chosen from the machine and the project's size
    QString passByText; // Ide::setCodeOnDemand
    std::vector<files::Diagnostic> diagnostics;
    QHash<QString, std::function<host::Ptr<host::ComObject>()>> documentFactories;
    CommandHandler commandHandler;
    QStringList executedCommands;
    QStringList commandsRun;   // captions, as executedCommands holds ids
    QString immediateText;
    // The Immediate window's selection: the caret and the other end (equal: no selection).
    qsizetype immediateCursor = 0;
    qsizetype immediateAnchor = 0;
    std::optional<CommandDialog> commandDialog;
    QString arrangement;
    std::function<host::Picture()> clipboardImage;
    QHash<QString, int> faults;
    host::Signal<> changed;
    std::weak_ptr<VBEImpl> vbe;

    /// Throws the error a test asked for on this call.
    void seam(const char *call) const
    {
        if (faults.isEmpty())
            return;
        auto it = faults.constFind(QLatin1String(call));
        if (it != faults.constEnd())
            throw host::Error(it.value());
    }
    void notify() { changed.raise(); }
};

/// Marks the objects of a removed project: using them raises 91.
struct Liveness {
    bool removed = false;
    void check() const
    {
        if (removed)
            throw host::Error(host::err::ObjectNotSet);
    }
};

// ---- properties ---------------------------------------------------------------

class PropertyImpl : public host::Property {
public:
    PropertyImpl(QString name, QVariant value) : m_name(std::move(name)), m_value(std::move(value)) {}
    QString name() const override { return m_name; }
    QVariant value() const override { return m_value; }

private:
    QString m_name;
    QVariant m_value;
};

class PropertiesImpl : public host::Properties {
public:
    void set(const QString &name, const QVariant &value);
    int count() const override { return int(m_items.size()); }
    host::Ptr<host::Property> item(int index) const override;
    host::Ptr<host::Property> item(const QString &name) const override;

private:
    std::vector<host::Ptr<PropertyImpl>> m_items;
};

// ---- designers ----------------------------------------------------------------

class ControlsImpl;

class ControlImpl : public host::VBControl, public std::enable_shared_from_this<ControlImpl> {
public:
    ControlImpl(const files::ControlNode &node, std::weak_ptr<ControlImpl> container);
    QString name() const override { return m_name; }
    int index() const override { return m_index; }
    QString className() const override;
    QString progId() const override { return m_progId; }
    host::Ptr<host::Properties> properties() const override;
    host::Ptr<host::VBControls> containedVBControls() const override;
    host::Ptr<host::VBControl> container() const override { return m_container.lock(); }
    bool inSelection() const override { return m_inSelection; }
    void setInSelection(bool selected) override { m_inSelection = selected; }

    std::vector<host::Ptr<ControlImpl>> children;

private:
    QString m_name;
    int m_index;
    QString m_progId;
    // The values as read; the Properties collection is built from them when first asked for.
    mutable QList<QPair<QString, QVariant>> m_values;
    mutable host::Ptr<PropertiesImpl> m_properties;
    std::weak_ptr<ControlImpl> m_container;
    bool m_inSelection = false;
};

class ControlsImpl : public host::VBControls {
public:
    explicit ControlsImpl(std::vector<host::Ptr<ControlImpl>> items) : m_items(std::move(items)) {}
    int count() const override { return int(m_items.size()); }
    host::Ptr<host::VBControl> item(int index) const override;
    host::Ptr<host::VBControl> item(const QString &name) const override;

private:
    std::vector<host::Ptr<ControlImpl>> m_items;
};

class FormImpl : public host::VBForm {
public:
    /// Builds the control tree of a designer's top-level block.
    explicit FormImpl(const files::ControlNode &root);
    FormImpl() = default;
    host::Ptr<host::VBControls> vbControls() const override;
    host::Ptr<host::VBControls> containedVBControls() const override;

private:
    std::vector<host::Ptr<ControlImpl>> m_top;
    std::vector<host::Ptr<ControlImpl>> m_all;
};

// ---- code ---------------------------------------------------------------------

class MemberImpl : public host::Member {
public:
    explicit MemberImpl(code::MemberInfo info) : m_info(std::move(info)) {}
    QString name() const override { return m_info.name; }
    host::MemberType type() const override { return m_info.type; }
    host::Scope scope() const override { return m_info.scope; }
    bool isStatic() const override { return m_info.isStatic; }
    int codeLocation() const override { return m_info.codeLocation; }
    QString description() const override { return m_info.description; }

private:
    code::MemberInfo m_info;
};

class MembersImpl : public host::Members {
public:
    explicit MembersImpl(const code::ModuleCode &code);
    int count() const override { return int(m_items.size()); }
    host::Ptr<host::Member> item(int index) const override;
    host::Ptr<host::Member> item(const QString &name) const override;

private:
    std::vector<host::Ptr<MemberImpl>> m_items;
};

/// A module file whose code is built only when first asked for, from the file read again: what
/// decoding it reports was reported at load (files::skimModule), and its bytes could not hold
/// `absentText`.
struct PendingCode {
    QString path;
    files::CodePage codePage = files::CodePage::Cp1252;
    int codeFirstFileLine = 1;
    qsizetype size = 0;
    size_t fingerprint = 0; // of the bytes read at load
    QString absentText;

    /// Whether `bytes` are the file as the load read it.
    bool isFile(QByteArrayView bytes) const;
};

/// The code of a module's lines from `codeFirstFileLine` on.
code::ModuleCode buildCode(const files::MixedLines &lines, int codeFirstFileLine);
/// What tells a file's bytes from other bytes, near enough to notice a file changed.
size_t fingerprint(QByteArrayView bytes);

class CodeModuleImpl : public host::CodeModule, public std::enable_shared_from_this<CodeModuleImpl> {
public:
    CodeModuleImpl(std::weak_ptr<ComponentImpl> component, std::shared_ptr<IdeState> state,
                   std::shared_ptr<Liveness> liveness, code::ModuleCode code,
                   std::shared_ptr<PendingCode> pending = nullptr);
    host::Ptr<host::VBComponent> parent() const override;
    QString name() const override;
    int countOfLines() const override;
    int countOfDeclarationLines() const override;
    QString lines(int startLine, int count) const override;
    int procStartLine(const QString &procName, host::ProcKind kind) const override;
    int procBodyLine(const QString &procName, host::ProcKind kind) const override;
    int procCountLines(const QString &procName, host::ProcKind kind) const override;
    QString procOfLine(int line, host::ProcKind &kind) const override;
    bool find(const QString &target, int &startLine, int &startCol, int &endLine, int &endCol,
              bool wholeWord, bool matchCase, bool patternSearch) const override;
    host::Ptr<host::Members> members() const override;
    host::Ptr<host::CodePane> codePane() const override;

    /// The module's code, built now if it was left for later; its diagnostics then join the IDE's.
    const code::ModuleCode &code() const;

private:
    void check(const char *call) const;
    /// Builds the pending code from `bytes`, the file as it is now: as at load when unchanged.
    void buildPending(const QByteArray &bytes) const;
    std::weak_ptr<ComponentImpl> m_component;
    std::shared_ptr<IdeState> m_state;
    std::shared_ptr<Liveness> m_liveness;
    mutable code::ModuleCode m_code;
    mutable std::shared_ptr<PendingCode> m_pending;
    mutable host::Ptr<host::Members> m_members;
    mutable host::Ptr<CodePaneImpl> m_pane;
};

// ---- components ---------------------------------------------------------------

class ComponentsImpl;

class ComponentImpl : public host::VBComponent, public std::enable_shared_from_this<ComponentImpl> {
public:
    struct Data {
        QString name;
        host::ComponentType type = host::ComponentType::StdModule;
        QStringList fileNames;
        QString designerId;
        files::ControlNode root;
        bool hasDesigner = false;
        code::ModuleCode code;
        std::shared_ptr<PendingCode> pending; // instead of `code`, to be built when first asked for
    };
    ComponentImpl(std::weak_ptr<ProjectImpl> project, std::shared_ptr<IdeState> state,
                  std::shared_ptr<Liveness> liveness);
    void init(Data data);

    QString name() const override;
    host::ComponentType type() const override;
    host::Ptr<host::VBComponents> collection() const override;
    host::Ptr<host::CodeModule> codeModule() const override;
    host::Ptr<host::VBForm> designer() const override;
    QString designerID() const override;
    host::Ptr<host::Properties> properties() const override;
    int fileCount() const override;
    QString fileNames(int index) const override;
    bool hasOpenDesigner() const override;
    host::Ptr<host::Window> designerWindow() override;
    void activate() override;

    host::Ptr<ProjectImpl> project() const { return m_project.lock(); }
    /// Caption suffix of the component's windows.
    QString projectName() const;

private:
    std::weak_ptr<ProjectImpl> m_project;
    std::shared_ptr<IdeState> m_state;
    std::shared_ptr<Liveness> m_liveness;
    QString m_name;
    host::ComponentType m_type = host::ComponentType::StdModule;
    QStringList m_fileNames;
    QString m_designerId;
    host::Ptr<CodeModuleImpl> m_codeModule;
    /// The designer, made from m_designerRoot when first asked for (hasDesigner).
    const host::Ptr<FormImpl> &form() const;
    mutable host::Ptr<FormImpl> m_designer;
    mutable files::ControlNode m_designerRoot;
    // The designer's top-level values as read (hasDesigner), until properties() builds them.
    bool m_hasDesigner = false;
    mutable QList<QPair<QString, QVariant>> m_designerValues;
    mutable host::Ptr<PropertiesImpl> m_properties;
    std::weak_ptr<WindowImpl> m_designerWindow;
};

class ComponentsImpl : public host::VBComponents {
public:
    ComponentsImpl(std::weak_ptr<ProjectImpl> project, std::shared_ptr<IdeState> state,
                   std::shared_ptr<Liveness> liveness)
        : m_project(std::move(project)), m_state(std::move(state)), m_liveness(std::move(liveness)) {}
    int count() const override;
    host::Ptr<host::VBComponent> item(int index) const override;
    host::Ptr<host::VBComponent> item(const QString &name) const override;
    host::Ptr<host::VBProject> parent() const override;
    host::Ptr<host::VBComponent> add(host::ComponentType type) override;
    void remove(const host::Ptr<host::VBComponent> &component) override;

    void append(host::Ptr<ComponentImpl> component) { m_items.push_back(std::move(component)); }
    const std::vector<host::Ptr<ComponentImpl>> &items() const { return m_items; }

private:
    std::weak_ptr<ProjectImpl> m_project;
    std::shared_ptr<IdeState> m_state;
    std::shared_ptr<Liveness> m_liveness;
    std::vector<host::Ptr<ComponentImpl>> m_items;
};

// ---- references ---------------------------------------------------------------

class ReferenceImpl : public host::Reference {
public:
    struct Data {
        QString name, description, fullPath, guid;
        int major = 0, minor = 0;
        bool builtIn = false, isBroken = false;
        host::ReferenceKind kind = host::ReferenceKind::TypeLib;
    };
    explicit ReferenceImpl(Data data) : d(std::move(data)) {}
    QString name() const override { return d.name; }
    QString description() const override { return d.description; }
    QString fullPath() const override { return d.fullPath; }
    QString guid() const override { return d.guid; }
    int major() const override { return d.major; }
    int minor() const override { return d.minor; }
    bool builtIn() const override { return d.builtIn; }
    bool isBroken() const override { return d.isBroken; }
    host::ReferenceKind type() const override { return d.kind; }

private:
    Data d;
};

class ReferencesImpl : public host::References {
public:
    ReferencesImpl(std::weak_ptr<ProjectImpl> project, std::shared_ptr<Liveness> liveness)
        : m_project(std::move(project)), m_liveness(std::move(liveness)) {}
    int count() const override;
    host::Ptr<host::Reference> item(int index) const override;
    host::Ptr<host::Reference> item(const QString &name) const override;
    host::Ptr<host::VBProject> parent() const override;
    void append(host::Ptr<ReferenceImpl> reference) { m_items.push_back(std::move(reference)); }

private:
    std::weak_ptr<ProjectImpl> m_project;
    std::shared_ptr<Liveness> m_liveness;
    std::vector<host::Ptr<ReferenceImpl>> m_items;
};

// ---- projects -----------------------------------------------------------------

class ProjectImpl : public host::VBProject, public std::enable_shared_from_this<ProjectImpl> {
public:
    struct Data {
        QString name, fileName, buildFileName, description, helpFile;
        long helpContextId = 0;
        host::ProjectType type = host::ProjectType::StandardExe;
        files::CodePage codePage = files::CodePage::Cp1252;
        QString startup, title;
        QStringList objects; // `Object=` lines: the controls of the components dialog
    };
    ProjectImpl(std::shared_ptr<IdeState> state);
    void init(Data data);

    QString name() const override;
    host::ProjectType type() const override;
    QString fileName() const override;
    QString buildFileName() const override;
    QString description() const override;
    QString helpFile() const override;
    long helpContextID() const override;
    host::Ptr<host::VBComponents> vbComponents() const override;
    host::Ptr<host::References> references() const override;
    host::Ptr<host::VBProjects> collection() const override;
    host::Ptr<host::VBE> vbe() const override;

    host::Ptr<ComponentsImpl> components() const { return m_components; }
    host::Ptr<ReferencesImpl> referenceList() const { return m_references; }
    const std::shared_ptr<Liveness> &liveness() const { return m_liveness; }
    files::CodePage codePage() const { return d.codePage; }
    const Data &data() const { return d; }

private:
    std::shared_ptr<IdeState> m_state;
    std::shared_ptr<Liveness> m_liveness = std::make_shared<Liveness>();
    Data d;
    host::Ptr<ComponentsImpl> m_components;
    host::Ptr<ReferencesImpl> m_references;
};

class ProjectsImpl : public host::VBProjects, public std::enable_shared_from_this<ProjectsImpl> {
public:
    explicit ProjectsImpl(std::shared_ptr<IdeState> state) : m_state(std::move(state)) {}
    int count() const override { return int(m_items.size()); }
    host::Ptr<host::VBProject> item(int index) const override;
    host::Ptr<host::VBProject> item(const QString &name) const override;
    host::Ptr<host::VBProject> startProject() const override;
    QString fileName() const override { return m_groupFile; }
    std::vector<host::Ptr<host::VBProject>> addFromFile(const QString &fileName, bool exclusive) override;
    void remove(const host::Ptr<host::VBProject> &project) override;

    /// Loads without throwing; what went wrong is in the diagnostics.
    std::vector<host::Ptr<host::VBProject>> load(const QString &fileName);
    const std::vector<host::Ptr<ProjectImpl>> &items() const { return m_items; }
    void setStartProject(const host::Ptr<ProjectImpl> &project) { m_start = project; }

private:
    host::Ptr<ProjectImpl> loadProject(const QString &path);
    std::shared_ptr<IdeState> m_state;
    std::vector<host::Ptr<ProjectImpl>> m_items;
    std::weak_ptr<ProjectImpl> m_start;
    QString m_groupFile;
};

/// Builds a project from its .vbp; diagnostics go to the IDE state. Null when the
/// .vbp itself cannot be read.
host::Ptr<ProjectImpl> loadProjectFile(const std::shared_ptr<IdeState> &state, const QString &path);

} // namespace ide
