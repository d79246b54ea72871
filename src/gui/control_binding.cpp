#include "gui/control_binding.h"

#include "gui/units.h"
#include "gui/user_operation.h"

#include <QMouseEvent>
#include <algorithm>

namespace gui {

using controls::Property;

// ---- ChildHost ----------------------------------------------------------------------------

QRect ChildHost::childRect(const ControlBinding &child) const
{
    const controls::Control &c = child.control();
    return twipsToPixels(QRect(c.left(), c.top(), c.width(), c.height()), childParent());
}

bool ChildHost::childShown(const ControlBinding &child) const { return child.control().visible(); }

void ChildHost::addChild(ControlBinding *child) { m_children.append(child); }

void ChildHost::removeChild(ControlBinding *child) { m_children.removeAll(child); }

void ChildHost::restack()
{
    QList<ControlBinding *> ordered = m_children;
    std::stable_sort(ordered.begin(), ordered.end(), [](const ControlBinding *a, const ControlBinding *b) {
        return a->control().zOrderValue() < b->control().zOrderValue();
    });
    for (ControlBinding *child : ordered) {
        if (child->widget())
            child->widget()->raise();
    }
}

void ChildHost::relayoutChildren()
{
    for (ControlBinding *child : m_children) {
        child->applyGeometry();
        child->applyVisible();
    }
}

// ---- ControlBinding -----------------------------------------------------------------------

ControlBinding::ControlBinding(controls::Control &control, QWidget *widget, ChildHost *host)
    : m_control(control), m_widget(widget), m_host(host)
{
    if (m_host)
        m_host->addChild(this);
    keep(control.changed.connect([this](Property property) { propertyChanged(property); }));
}

ControlBinding::~ControlBinding()
{
    if (m_host)
        m_host->removeChild(this);
}

void ControlBinding::syncAll()
{
    SyncGuard guard(m_syncing);
    applyGeometry();
    applyVisible();
    if (!m_widget)
        return;
    m_widget->setEnabled(m_control.enabled());
    m_widget->setToolTip(m_control.toolTipText());
    m_widget->setFont(toQFont(m_control.font()));
    if (m_control.mousePointer() == controls::MousePointer::Default)
        m_widget->unsetCursor();
    else
        m_widget->setCursor(cursorShape(m_control.mousePointer()));
    applyColors();
    if (inUserOperation()) {
        scheduleRebuild();
    } else {
        m_rebuildPending = false;
        rebuild();
    }
}

void ControlBinding::applyGeometry()
{
    if (!m_widget)
        return;
    const QRect rect = m_host ? m_host->childRect(*this)
                              : twipsToPixels(QRect(m_control.left(), m_control.top(), m_control.width(),
                                                    m_control.height()),
                                              m_widget);
    if (m_widget->geometry() != rect)
        m_widget->setGeometry(rect);
}

void ControlBinding::applyVisible()
{
    if (!m_widget)
        return;
    const bool shown = m_host ? m_host->childShown(*this) : m_control.visible();
    if (m_widget->isVisibleTo(m_widget->parentWidget()) != shown)
        m_widget->setVisible(shown);
}

void ControlBinding::applyColors()
{
    if (!m_widget)
        return;
    QPalette p = m_widget->palette();
    p.setColor(QPalette::Window, toQColor(m_control.backColor()));
    p.setColor(QPalette::WindowText, toQColor(m_control.foreColor()));
    m_widget->setPalette(p);
}

void ControlBinding::propertyChanged(Property property)
{
    if (!m_widget)
        return;
    const Property p = property;
    SyncGuard guard(m_syncing);
    if (p == Property::Left || p == Property::Top || p == Property::Width || p == Property::Height) {
        applyGeometry();
    } else if (p == Property::Visible) {
        applyVisible();
    } else if (p == Property::Enabled) {
        m_widget->setEnabled(m_control.enabled());
    } else if (p == Property::ZOrder) {
        if (m_host)
            m_host->restack();
    } else if (p == Property::ToolTipText) {
        m_widget->setToolTip(m_control.toolTipText());
    } else if (p == Property::MousePointer) {
        if (m_control.mousePointer() == controls::MousePointer::Default)
            m_widget->unsetCursor();
        else
            m_widget->setCursor(cursorShape(m_control.mousePointer()));
    } else if (p == Property::BackColor || p == Property::ForeColor) {
        applyColors();
    } else if (p == Property::Font) {
        m_widget->setFont(toQFont(m_control.font()));
    } else if (p == Property::Focus) {
        if (m_control.hasFocus() && !m_widget->hasFocus())
            m_widget->setFocus(Qt::OtherFocusReason);
    } else if (p == Property::Refresh || p == Property::Picture) {
        m_widget->update();
    } else if (p == Property::Properties) {
        syncAll();
    }
}

void ControlBinding::scheduleRebuild()
{
    if (m_rebuildPending)
        return;
    m_rebuildPending = true;
    whenIdle(this, [this] { runRebuild(); });
}

void ControlBinding::runRebuild()
{
    if (!m_rebuildPending)
        return;
    m_rebuildPending = false;
    rebuild();
}

void ControlBinding::flush()
{
    if (m_rebuildPending && !inUserOperation())
        runRebuild();
}

void ControlBinding::forwardMouse(QWidget *extra)
{
    for (QWidget *source : {m_widget.data(), extra}) {
        if (!source)
            continue;
        source->installEventFilter(this);
        m_mouseSources.emplace_back(source);
    }
}

bool ControlBinding::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseMove)
        return QObject::eventFilter(watched, event);
    auto *source = qobject_cast<QWidget *>(watched);
    if (!source || !m_widget || !m_control.enabled())
        return false;
    auto *mouse = static_cast<QMouseEvent *>(event);
    const QPoint at = source->mapTo(m_widget, mouse->position().toPoint());
    const int x = pixelsToTwipsX(at.x(), m_widget);
    const int y = pixelsToTwipsY(at.y(), m_widget);
    const int shift = vbShift(mouse->modifiers());
    controls::Control &c = m_control;
    if (type == QEvent::MouseButtonPress) {
        const int button = vbButtons(mouse->button());
        userOperation([&] { c.mouseDown.raise(button, shift, x, y); });
    } else if (type == QEvent::MouseMove) {
        const int buttons = vbButtons(mouse->buttons());
        userOperation([&] { c.mouseMove.raise(buttons, shift, x, y); });
    } else {
        const int button = vbButtons(mouse->button());
        const bool inside = m_widget && m_widget->rect().contains(at);
        const bool click = clickOnRelease() && mouse->button() == Qt::LeftButton && inside;
        userOperation([&] {
            c.mouseUp.raise(button, shift, x, y);
            if (click)
                c.click.raise();
        });
    }
    return false;
}

} // namespace gui
