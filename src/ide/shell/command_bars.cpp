#include "ide/shell/shell_impl.h"

namespace ide {

using host::Error;
using host::Ptr;
namespace err = host::err;

void CommandBarControlImpl::setCaption(const QString &caption)
{
    m_caption = caption;
    captionTemplate.clear();
    m_state->notify();
}

void CommandBarControlImpl::setEnabled(bool enabled)
{
    m_enabled = enabled;
    m_state->notify();
}

void CommandBarControlImpl::setVisible(bool visible)
{
    m_visible = visible;
    m_state->notify();
}

int CommandBarControlImpl::index() const
{
    auto owner = m_owner.lock();
    return owner ? owner->indexOf(this) : 0;
}

Ptr<host::CommandBar> CommandBarControlImpl::parent() const { return m_bar.lock(); }

Ptr<host::CommandBarControls> CommandBarControlImpl::controls() const { return popupControls; }

void CommandBarControlImpl::pasteFace()
{
    m_state->seam("CommandBarControl.PasteFace");
    host::Picture image = m_state->clipboardImage ? m_state->clipboardImage() : host::Picture();
    if (image.isNull())
        throw Error(err::InvalidCall, QStringLiteral("クリップボードにビットマップがありません。"));
    m_face = image;
    m_state->notify();
}

void CommandBarControlImpl::deleteControl(bool)
{
    m_state->seam("CommandBarControl.Delete");
    if (auto owner = m_owner.lock())
        owner->removeControl(this);
    m_state->notify();
}

void CommandBarControlImpl::execute()
{
    m_state->seam("CommandBarControl.Execute");
    if (!m_enabled)
        return;
    auto vbe = m_state->vbe.lock();
    if (!vbe)
        return;
    auto self = shared_from_this();   // a handler may delete the control
    const bool cancel = vbe->eventHub()->click(self);
    if (!cancel && !commandId.isEmpty()) {
        m_state->commandsRun.push_back(caption());
        vbe->runCommand(commandId);
    }
}

Ptr<host::CommandBarControl> CommandBarControlsImpl::item(int index) const
{
    if (index < 1 || index > int(m_items.size()))
        throw Error(err::InvalidCall);
    return m_items[std::size_t(index - 1)];
}

Ptr<host::CommandBarControl> CommandBarControlsImpl::item(const QString &caption) const
{
    auto plain = [](QString s) { return s.remove(QLatin1Char('&')); };
    const QString wanted = plain(caption);
    for (const auto &c : m_items) {
        if (plain(c->caption()).compare(wanted, Qt::CaseInsensitive) == 0)
            return c;
    }
    throw Error(err::InvalidCall);
}

Ptr<host::CommandBarControl> CommandBarControlsImpl::add(host::ControlType type, int, const QVariant &, int before,
                                                         bool)
{
    m_state->seam("CommandBarControls.Add");
    if (type != host::ControlType::Button && type != host::ControlType::Popup)
        throw Error(err::InvalidCall);
    if (before < 0 || before > int(m_items.size()) + 1)
        throw Error(err::InvalidCall);
    auto control = std::make_shared<CommandBarControlImpl>(m_bar, weak_from_this(), m_state, type);
    if (type == host::ControlType::Popup)
        control->popupControls = std::make_shared<CommandBarControlsImpl>(m_bar, m_state);
    if (before == 0)
        m_items.push_back(control);
    else
        m_items.insert(m_items.begin() + (before - 1), control);
    m_state->notify();
    return control;
}

Ptr<CommandBarControlImpl> CommandBarControlsImpl::addCommand(const QString &caption, const QString &commandId,
                                                              host::ControlType type)
{
    auto control = std::make_shared<CommandBarControlImpl>(m_bar, weak_from_this(), m_state, type);
    if (caption.contains(QLatin1String("%1")))
        control->captionTemplate = caption;
    control->setCaption(caption);
    if (caption.contains(QLatin1String("%1")))
        control->captionTemplate = caption;
    control->commandId = commandId;
    if (type == host::ControlType::Popup)
        control->popupControls = std::make_shared<CommandBarControlsImpl>(m_bar, m_state);
    m_items.push_back(control);
    return control;
}

void CommandBarControlsImpl::removeControl(const CommandBarControlImpl *control)
{
    std::erase_if(m_items, [control](const Ptr<CommandBarControlImpl> &c) { return c.get() == control; });
}

int CommandBarControlsImpl::indexOf(const CommandBarControlImpl *control) const
{
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].get() == control)
            return int(i) + 1;
    }
    return 0;
}

void CommandBarImpl::init(std::shared_ptr<IdeState> state)
{
    m_controls = std::make_shared<CommandBarControlsImpl>(weak_from_this(), std::move(state));
}

Ptr<host::CommandBar> CommandBarsImpl::item(int index) const
{
    if (index < 1 || index > int(m_items.size()))
        throw Error(err::InvalidCall);
    return m_items[std::size_t(index - 1)];
}

Ptr<host::CommandBar> CommandBarsImpl::item(const QString &name) const
{
    for (const auto &bar : m_items) {
        if (bar->name().compare(name, Qt::CaseInsensitive) == 0)
            return bar;
    }
    throw Error(err::InvalidCall);
}

Ptr<CommandBarImpl> CommandBarsImpl::addBar(const std::shared_ptr<IdeState> &state, const QString &name,
                                            const QString &nameLocal)
{
    auto bar = std::make_shared<CommandBarImpl>(name, nameLocal);
    bar->init(state);
    m_items.push_back(bar);
    return bar;
}

void CommandBarsImpl::removeBar(const QString &name)
{
    std::erase_if(m_items, [&](const Ptr<CommandBarImpl> &b) { return b->name() == name; });
}

// ---- events -------------------------------------------------------------------

namespace {
template <class T, class Filter, class Fn>
void raiseFiltered(std::vector<Filter> &sources, const Ptr<host::VBProject> &project, Fn fn)
{
    std::erase_if(sources, [](const Filter &f) { return f.source.expired(); });
    const auto snapshot = sources;
    for (const auto &f : snapshot) {
        auto source = f.source.lock();
        if (!source)
            continue;
        if (!f.all && f.project.lock() != project)
            continue;
        fn(*source);
    }
}
} // namespace

template <class F>
void EventsImpl::guarded(F &&raise)
{
    try {
        raise();
    } catch (const Error &e) {
        if (reportHandlerError)
            reportHandlerError(QStringLiteral("%1 (%2)").arg(e.description()).arg(e.number()));
    } catch (const std::exception &e) {
        if (reportHandlerError)
            reportHandlerError(QString::fromUtf8(e.what()));
    }
}

Ptr<host::VBProjectsEvents> EventsImpl::vbProjectsEvents()
{
    if (!m_projects)
        m_projects = std::make_shared<host::VBProjectsEvents>();
    return m_projects;
}

Ptr<host::VBComponentsEvents> EventsImpl::vbComponentsEvents(const Ptr<host::VBProject> &project)
{
    auto source = std::make_shared<host::VBComponentsEvents>();
    m_components.push_back({project, project == nullptr, source});
    return source;
}

Ptr<host::ReferencesEvents> EventsImpl::referencesEvents(const Ptr<host::VBProject> &project)
{
    auto source = std::make_shared<host::ReferencesEvents>();
    m_references.push_back({project, project == nullptr, source});
    return source;
}

Ptr<host::VBControlsEvents> EventsImpl::vbControlsEvents(const Ptr<host::VBProject> &project,
                                                         const Ptr<host::VBForm> &)
{
    auto source = std::make_shared<host::VBControlsEvents>();
    m_controls.push_back({project, project == nullptr, source});
    return source;
}

Ptr<host::CommandBarEvents> EventsImpl::commandBarEvents(const Ptr<host::CommandBarControl> &control)
{
    if (!control)
        throw Error(err::InvalidCall);
    auto source = std::make_shared<host::CommandBarEvents>();
    m_commands.emplace_back(control, source);
    return source;
}

void EventsImpl::projectAdded(const Ptr<host::VBProject> &project)
{
    if (m_projects)
        guarded([&] { m_projects->ItemAdded.raise(project); });
}

void EventsImpl::projectRemoved(const Ptr<host::VBProject> &project)
{
    if (m_projects)
        guarded([&] { m_projects->ItemRemoved.raise(project); });
}

void EventsImpl::componentAdded(const Ptr<host::VBProject> &project, const Ptr<host::VBComponent> &component)
{
    guarded([&] {
        raiseFiltered<host::VBComponentsEvents>(m_components, project,
                                                [&](host::VBComponentsEvents &e) { e.ItemAdded.raise(component); });
    });
}

void EventsImpl::componentRemoved(const Ptr<host::VBProject> &project, const Ptr<host::VBComponent> &component)
{
    guarded([&] {
        raiseFiltered<host::VBComponentsEvents>(m_components, project,
                                                [&](host::VBComponentsEvents &e) { e.ItemRemoved.raise(component); });
    });
}

bool EventsImpl::click(const Ptr<host::CommandBarControl> &control)
{
    std::erase_if(m_commands, [](const auto &entry) { return entry.first.expired() || entry.second.expired(); });
    bool handled = false;
    bool cancelDefault = false;
    const auto snapshot = m_commands;
    for (const auto &[target, weakSource] : snapshot) {
        if (target.lock() != control)
            continue;
        if (auto source = weakSource.lock())
            guarded([&] { source->Click.raise(control, handled, cancelDefault); });
    }
    return cancelDefault;
}

} // namespace ide
