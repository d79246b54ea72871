#include "ide/shell/shell_impl.h"

#include "ide/files/project_sources.h"

namespace ide {

using host::Error;
using host::Ptr;
namespace err = host::err;

namespace {
template <class T>
Ptr<T> at(const std::vector<Ptr<T>> &items, int index)
{
    if (index < 1 || index > int(items.size()))
        throw Error(err::SubscriptOutOfRange);
    return items[std::size_t(index - 1)];
}
} // namespace

// ---- properties ---------------------------------------------------------------

void PropertiesImpl::set(const QString &name, const QVariant &value)
{
    // Loading sets every property of every control: names of another length are passed over
    // without the case-insensitive compare.
    for (auto &p : m_items) {
        if (p->name().size() == name.size() && p->name().compare(name, Qt::CaseInsensitive) == 0) {
            p = std::make_shared<PropertyImpl>(p->name(), value);
            return;
        }
    }
    m_items.push_back(std::make_shared<PropertyImpl>(name, value));
}

Ptr<host::Property> PropertiesImpl::item(int index) const { return at(m_items, index); }

Ptr<host::Property> PropertiesImpl::item(const QString &name) const
{
    for (const auto &p : m_items) {
        if (p->name().compare(name, Qt::CaseInsensitive) == 0)
            return p;
    }
    throw Error(err::SubscriptOutOfRange);
}

// ---- designers ----------------------------------------------------------------

ControlImpl::ControlImpl(const files::ControlNode &node, std::weak_ptr<ControlImpl> container)
    : m_name(node.name), m_index(node.index), m_progId(node.progId), m_values(node.properties),
      m_container(std::move(container))
{
}

Ptr<host::Properties> ControlImpl::properties() const
{
    // Most loads never read a control's properties: the collection is built on first use.
    if (!m_properties) {
        auto properties = std::make_shared<PropertiesImpl>();
        properties->set(QStringLiteral("Name"), m_name);
        for (const auto &[key, value] : std::as_const(m_values))
            properties->set(key, value);
        m_values = {};
        m_properties = std::move(properties);
    }
    return m_properties;
}

QString ControlImpl::className() const
{
    const int dot = m_progId.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? m_progId : m_progId.mid(dot + 1);
}

Ptr<host::VBControls> ControlImpl::containedVBControls() const { return std::make_shared<ControlsImpl>(children); }

Ptr<host::VBControl> ControlsImpl::item(int index) const { return at(m_items, index); }

Ptr<host::VBControl> ControlsImpl::item(const QString &name) const
{
    for (const auto &c : m_items) {
        if (c->name().compare(name, Qt::CaseInsensitive) == 0)
            return c;
    }
    throw Error(err::SubscriptOutOfRange);
}

namespace {
void buildControls(const files::ControlNode &node, const Ptr<ControlImpl> &container,
                   std::vector<Ptr<ControlImpl>> &direct, std::vector<Ptr<ControlImpl>> &all)
{
    for (const auto &child : node.children) {
        auto control = std::make_shared<ControlImpl>(child, container);
        direct.push_back(control);
        all.push_back(control);
        buildControls(child, control, control->children, all);
    }
}
} // namespace

FormImpl::FormImpl(const files::ControlNode &root) { buildControls(root, nullptr, m_top, m_all); }

Ptr<host::VBControls> FormImpl::vbControls() const { return std::make_shared<ControlsImpl>(m_all); }
Ptr<host::VBControls> FormImpl::containedVBControls() const { return std::make_shared<ControlsImpl>(m_top); }

// ---- members ------------------------------------------------------------------

MembersImpl::MembersImpl(const code::ModuleCode &code)
{
    m_items.reserve(code.members().size());
    for (const auto &m : code.members())
        m_items.push_back(std::make_shared<MemberImpl>(m));
}

Ptr<host::Member> MembersImpl::item(int index) const { return at(m_items, index); }

Ptr<host::Member> MembersImpl::item(const QString &name) const
{
    for (const auto &m : m_items) {
        if (m->name().compare(name, Qt::CaseInsensitive) == 0)
            return m;
    }
    throw Error(err::SubscriptOutOfRange);
}

// ---- code module --------------------------------------------------------------

CodeModuleImpl::CodeModuleImpl(std::weak_ptr<ComponentImpl> component, std::shared_ptr<IdeState> state,
                               std::shared_ptr<Liveness> liveness, code::ModuleCode code,
                               std::shared_ptr<PendingCode> pending)
    : m_component(std::move(component)), m_state(std::move(state)), m_liveness(std::move(liveness)),
      m_code(std::move(code)), m_pending(std::move(pending))
{
}

void CodeModuleImpl::buildPending(const QByteArray &bytes) const
{
    const std::shared_ptr<PendingCode> pending = std::move(m_pending);
    auto &diagnostics = m_state->diagnostics;
    if (pending->isFile(bytes)) {
        m_code = buildCode(files::decodeMixed(bytes, pending->codePage), pending->codeFirstFileLine);
    } else {
        // Read as a load would read it now; its name and designer stay those of the load.
        diagnostics.push_back({pending->path, 0, QStringLiteral("Changed since the project was loaded: its code is "
                                                                "read as the file is now")});
        const files::MixedLines lines = files::decodeMixedLines(bytes, pending->codePage, pending->path, diagnostics);
        m_code = buildCode(lines, files::parseModule(lines, pending->path, diagnostics).codeFirstFileLine);
    }
    for (const auto &d : m_code.diagnostics())
        diagnostics.push_back({pending->path, d.fileLine, d.message});
}

const code::ModuleCode &CodeModuleImpl::code() const
{
    if (m_pending) {
        QByteArray bytes;
        QString error;
        if (m_state->fileSystem->readInto(m_pending->path, bytes, &error)) {
            buildPending(bytes);
        } else {
            m_state->diagnostics.push_back(
                {m_pending->path, 0, QStringLiteral("The file could not be read again for its code: %1").arg(error)});
            m_pending.reset();
        }
    }
    return m_code;
}

void CodeModuleImpl::check(const char *call) const
{
    m_liveness->check();
    m_state->seam(call);
}

Ptr<host::VBComponent> CodeModuleImpl::parent() const
{
    m_liveness->check();
    return m_component.lock();
}

QString CodeModuleImpl::name() const
{
    auto c = m_component.lock();
    return c ? c->name() : QString();
}

int CodeModuleImpl::countOfLines() const
{
    check("CodeModule.CountOfLines");
    return code().countOfLines();
}

int CodeModuleImpl::countOfDeclarationLines() const
{
    check("CodeModule.CountOfDeclarationLines");
    return code().countOfDeclarationLines();
}

QString CodeModuleImpl::lines(int startLine, int count) const
{
    check("CodeModule.Lines");
    return code().lines(startLine, count);
}

int CodeModuleImpl::procStartLine(const QString &procName, host::ProcKind kind) const
{
    check("CodeModule.ProcStartLine");
    return code().procStartLine(procName, kind);
}

int CodeModuleImpl::procBodyLine(const QString &procName, host::ProcKind kind) const
{
    check("CodeModule.ProcBodyLine");
    return code().procBodyLine(procName, kind);
}

int CodeModuleImpl::procCountLines(const QString &procName, host::ProcKind kind) const
{
    check("CodeModule.ProcCountLines");
    return code().procCountLines(procName, kind);
}

QString CodeModuleImpl::procOfLine(int line, host::ProcKind &kind) const
{
    check("CodeModule.ProcOfLine");
    return code().procOfLine(line, kind);
}

bool CodeModuleImpl::find(const QString &target, int &startLine, int &startCol, int &endLine, int &endCol,
                          bool wholeWord, bool matchCase, bool patternSearch) const
{
    check("CodeModule.Find");
    if (m_pending) {
        // A module not built yet whose file cannot hold the text stays unbuilt.
        if (!patternSearch && target == m_pending->absentText)
            return false;
        QByteArray bytes;
        if (m_state->fileSystem->readInto(m_pending->path, bytes, nullptr) && m_pending->isFile(bytes)
            && !mayHold(bytes, m_pending->codePage, target, patternSearch))
            return false;
    }
    return code().find(target, startLine, startCol, endLine, endCol, wholeWord, matchCase, patternSearch);
}

Ptr<host::Members> CodeModuleImpl::members() const
{
    check("CodeModule.Members");
    if (!m_members)
        m_members = std::make_shared<MembersImpl>(code());
    return m_members;
}

Ptr<host::CodePane> CodeModuleImpl::codePane() const
{
    check("CodeModule.CodePane");
    if (!m_pane)
        m_pane = std::make_shared<CodePaneImpl>(std::const_pointer_cast<CodeModuleImpl>(shared_from_this()), m_state);
    return m_pane;
}

// ---- components ---------------------------------------------------------------

ComponentImpl::ComponentImpl(std::weak_ptr<ProjectImpl> project, std::shared_ptr<IdeState> state,
                             std::shared_ptr<Liveness> liveness)
    : m_project(std::move(project)), m_state(std::move(state)), m_liveness(std::move(liveness))
{
}

void ComponentImpl::init(Data data)
{
    m_name = data.name;
    m_type = data.type;
    m_fileNames = data.fileNames;
    m_designerId = data.designerId;
    using CT = host::ComponentType;
    const bool codeless = m_type == CT::ResFile || m_type == CT::RelatedDocument;
    if (!codeless)
        m_codeModule = std::make_shared<CodeModuleImpl>(weak_from_this(), m_state, m_liveness, std::move(data.code),
                                                        std::move(data.pending));
    if (data.hasDesigner) {
        m_hasDesigner = true;
        m_designerValues = data.root.properties;
        if (m_type != CT::ActiveXDesigner)
            m_designerRoot = std::move(data.root);
    }
}

const Ptr<FormImpl> &ComponentImpl::form() const
{
    if (m_hasDesigner && !m_designer) {
        m_designer = std::make_shared<FormImpl>(m_designerRoot);
        m_designerRoot = {};
    }
    return m_designer;
}

QString ComponentImpl::name() const
{
    m_liveness->check();
    return m_name;
}

host::ComponentType ComponentImpl::type() const
{
    m_liveness->check();
    return m_type;
}

Ptr<host::VBComponents> ComponentImpl::collection() const
{
    m_liveness->check();
    auto p = m_project.lock();
    return p ? p->components() : nullptr;
}

Ptr<host::CodeModule> ComponentImpl::codeModule() const
{
    m_liveness->check();
    m_state->seam("VBComponent.CodeModule");
    if (!m_codeModule)
        throw Error(err::ObjectNotSet);
    return m_codeModule;
}

Ptr<host::VBForm> ComponentImpl::designer() const
{
    m_liveness->check();
    return form();
}

QString ComponentImpl::designerID() const { return m_designerId; }

Ptr<host::Properties> ComponentImpl::properties() const
{
    m_liveness->check();
    m_state->seam("VBComponent.Properties");
    if (!m_properties) {
        // Built on first use, as a control's are.
        auto properties = std::make_shared<PropertiesImpl>();
        properties->set(QStringLiteral("Name"), m_name);
        if (m_hasDesigner) {
            for (const auto &[key, value] : std::as_const(m_designerValues))
                properties->set(key, value);
            if (m_type == host::ComponentType::VBForm) {
                // Only written when True; the IDE knows the default.
                bool mdiChild = false;
                for (const auto &[key, value] : std::as_const(m_designerValues)) {
                    if (key.compare(QLatin1String("MDIChild"), Qt::CaseInsensitive) == 0)
                        mdiChild = value.toBool();
                }
                properties->set(QStringLiteral("MDIChild"), mdiChild);
            }
            m_designerValues = {};
        }
        m_properties = std::move(properties);
    }
    return m_properties;
}

int ComponentImpl::fileCount() const { return int(m_fileNames.size()); }

QString ComponentImpl::fileNames(int index) const
{
    if (index < 1 || index > m_fileNames.size())
        throw Error(err::SubscriptOutOfRange);
    return m_fileNames[index - 1];
}

bool ComponentImpl::hasOpenDesigner() const
{
    auto w = m_designerWindow.lock();
    return w && w->visible();
}

QString ComponentImpl::projectName() const
{
    auto p = m_project.lock();
    return p ? p->name() : QString();
}

Ptr<host::Window> ComponentImpl::designerWindow()
{
    m_liveness->check();
    m_state->seam("VBComponent.DesignerWindow");
    if (!form())
        throw Error(err::ObjectNotSet);
    auto vbe = m_state->vbe.lock();
    auto window = m_designerWindow.lock();
    if (!window && vbe) {
        static const char *kinds[] = {"", "", "", "UserForm", "", "Form", "MDIForm", "PropertyPage",
                                      "UserControl", "UserDocument", "", "ActiveX Designer"};
        const QString caption = QStringLiteral("%1 - %2 (%3)").arg(projectName(), m_name,
                                                                   QLatin1String(kinds[int(m_type)]));
        window = vbe->windowList()->add(caption, host::WindowType::Designer);
        window->component = weak_from_this();
        m_designerWindow = window;
    }
    if (window) {
        window->setVisible(true);
        window->setFocus();
    }
    return window;
}

void ComponentImpl::activate()
{
    m_liveness->check();
    if (auto vbe = m_state->vbe.lock())
        vbe->setSelectedComponent(shared_from_this());
    m_state->notify();
}

int ComponentsImpl::count() const
{
    m_liveness->check();
    m_state->seam("VBComponents.Count");
    return int(m_items.size());
}

Ptr<host::VBComponent> ComponentsImpl::item(int index) const
{
    m_liveness->check();
    m_state->seam("VBComponents.Item");
    return at(m_items, index);
}

Ptr<host::VBComponent> ComponentsImpl::item(const QString &name) const
{
    m_liveness->check();
    m_state->seam("VBComponents.Item");
    for (const auto &c : m_items) {
        if (c->name().compare(name, Qt::CaseInsensitive) == 0)
            return c;
    }
    throw Error(err::SubscriptOutOfRange);
}

Ptr<host::VBProject> ComponentsImpl::parent() const { return m_project.lock(); }

Ptr<host::VBComponent> ComponentsImpl::add(host::ComponentType type)
{
    m_liveness->check();
    using CT = host::ComponentType;
    QString base;
    QString text;
    bool designer = false;
    switch (type) {
    case CT::StdModule: base = QStringLiteral("Module"); break;
    case CT::ClassModule: base = QStringLiteral("Class"); break;
    case CT::VBForm: base = QStringLiteral("Form"); designer = true; break;
    case CT::VBMDIForm: base = QStringLiteral("MDIForm"); designer = true; break;
    case CT::PropPage: base = QStringLiteral("PropertyPage"); designer = true; break;
    case CT::UserControl: base = QStringLiteral("UserControl"); designer = true; break;
    case CT::DocObject: base = QStringLiteral("UserDocument"); designer = true; break;
    default: throw Error(err::InvalidCall);
    }
    QString name;
    for (int n = 1;; ++n) {
        name = base + QString::number(n);
        const bool taken = std::any_of(m_items.begin(), m_items.end(), [&](const Ptr<ComponentImpl> &c) {
            return c->name().compare(name, Qt::CaseInsensitive) == 0;
        });
        if (!taken)
            break;
    }
    auto component = std::make_shared<ComponentImpl>(m_project, m_state, m_liveness);
    ComponentImpl::Data data;
    data.name = name;
    data.type = type;
    data.hasDesigner = designer;
    data.root.name = name;
    data.code = code::ModuleCode({QStringLiteral("Attribute VB_Name = \"%1\"").arg(name)}, 1);
    component->init(std::move(data));
    m_items.push_back(component);
    if (auto vbe = m_state->vbe.lock())
        vbe->eventHub()->componentAdded(m_project.lock(), component);
    m_state->notify();
    return component;
}

void ComponentsImpl::remove(const Ptr<host::VBComponent> &component)
{
    m_liveness->check();
    auto it = std::find_if(m_items.begin(), m_items.end(),
                           [&](const Ptr<ComponentImpl> &c) { return c.get() == component.get(); });
    if (it == m_items.end())
        throw Error(err::SubscriptOutOfRange);
    auto keep = *it;
    if (auto vbe = m_state->vbe.lock())
        vbe->eventHub()->componentRemoved(m_project.lock(), keep);
    m_items.erase(std::find(m_items.begin(), m_items.end(), keep));
    m_state->notify();
}

// ---- references ---------------------------------------------------------------

int ReferencesImpl::count() const
{
    m_liveness->check();
    return int(m_items.size());
}

Ptr<host::Reference> ReferencesImpl::item(int index) const
{
    m_liveness->check();
    return at(m_items, index);
}

Ptr<host::Reference> ReferencesImpl::item(const QString &name) const
{
    m_liveness->check();
    for (const auto &r : m_items) {
        if (r->name().compare(name, Qt::CaseInsensitive) == 0)
            return r;
    }
    throw Error(err::SubscriptOutOfRange);
}

Ptr<host::VBProject> ReferencesImpl::parent() const { return m_project.lock(); }

// ---- projects -----------------------------------------------------------------

ProjectImpl::ProjectImpl(std::shared_ptr<IdeState> state) : m_state(std::move(state)) {}

void ProjectImpl::init(Data data)
{
    d = std::move(data);
    m_components = std::make_shared<ComponentsImpl>(weak_from_this(), m_state, m_liveness);
    m_references = std::make_shared<ReferencesImpl>(weak_from_this(), m_liveness);
}

QString ProjectImpl::name() const
{
    m_liveness->check();
    return d.name;
}

host::ProjectType ProjectImpl::type() const
{
    m_liveness->check();
    return d.type;
}

QString ProjectImpl::fileName() const
{
    m_liveness->check();
    return d.fileName;
}

QString ProjectImpl::buildFileName() const
{
    m_liveness->check();
    return d.buildFileName;
}

QString ProjectImpl::description() const
{
    m_liveness->check();
    return d.description;
}

QString ProjectImpl::helpFile() const
{
    m_liveness->check();
    return d.helpFile;
}

long ProjectImpl::helpContextID() const
{
    m_liveness->check();
    return d.helpContextId;
}

Ptr<host::VBComponents> ProjectImpl::vbComponents() const
{
    m_liveness->check();
    m_state->seam("VBProject.VBComponents");
    return m_components;
}

Ptr<host::References> ProjectImpl::references() const
{
    m_liveness->check();
    m_state->seam("VBProject.References");
    return m_references;
}

Ptr<host::VBProjects> ProjectImpl::collection() const
{
    auto vbe = m_state->vbe.lock();
    return vbe ? vbe->projectList() : nullptr;
}

Ptr<host::VBE> ProjectImpl::vbe() const { return m_state->vbe.lock(); }

Ptr<host::VBProject> ProjectsImpl::item(int index) const
{
    m_state->seam("VBProjects.Item");
    return at(m_items, index);
}

Ptr<host::VBProject> ProjectsImpl::item(const QString &name) const
{
    m_state->seam("VBProjects.Item");
    for (const auto &p : m_items) {
        if (p->name().compare(name, Qt::CaseInsensitive) == 0)
            return p;
    }
    throw Error(err::SubscriptOutOfRange);
}

Ptr<host::VBProject> ProjectsImpl::startProject() const
{
    if (auto p = m_start.lock())
        return p;
    return m_items.empty() ? nullptr : m_items.front();
}

} // namespace ide
