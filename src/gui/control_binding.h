#pragma once
// A control model rendered by a Qt widget. The binding writes the widget from the model on
// the model's change signals and turns the widget's input into the control's user
// operations; it keeps no state of its own that the model does not hold.
#include "controls/control.h"
#include "host/signal.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <vector>

namespace gui {

class ControlBinding;

/// Something that holds rendered controls: the form surface, a picture box, a frame, the
/// cool bar. It decides where a child's widget goes and stacks the children by z-order.
class ChildHost {
public:
    virtual ~ChildHost() = default;
    /// The widget the children's widgets are placed on.
    virtual QWidget *childParent() const = 0;
    /// Where the child goes, in pixels of childParent(): its twips geometry by default.
    virtual QRect childRect(const ControlBinding &child) const;
    /// Whether the child is shown: its Visible by default.
    virtual bool childShown(const ControlBinding &child) const;

    void addChild(ControlBinding *child);
    void removeChild(ControlBinding *child);
    const QList<ControlBinding *> &children() const { return m_children; }
    /// Raises the children's widgets in ascending ZOrder (placement order breaks ties).
    void restack();
    /// Places and shows every child again (after the host's own layout changed).
    void relayoutChildren();

private:
    QList<ControlBinding *> m_children; // not owned
};

class ControlBinding : public QObject {
    Q_OBJECT
public:
    /// `widget` is owned by its Qt parent; `host` places it.
    ControlBinding(controls::Control &control, QWidget *widget, ChildHost *host);
    ~ControlBinding() override;

    controls::Control &control() const { return m_control; }
    QWidget *widget() const { return m_widget; }
    ChildHost *host() const { return m_host; }

    /// Writes every property from the model.
    void syncAll();
    /// Runs a pending rebuild now (tests, screenshots); does nothing during a user operation.
    virtual void flush();
    bool rebuildPending() const { return m_rebuildPending; }

    void applyGeometry();
    void applyVisible();

protected:
    /// A property of the control changed (its VB name).
    virtual void propertyChanged(controls::Property property);
    /// Writes the contents (items, nodes, buttons) from the model.
    virtual void rebuild() {}
    /// Colours of the widget: the window colours by default.
    virtual void applyColors();
    /// Raises Click on a left-button release for controls whose model has no click gesture.
    virtual bool clickOnRelease() const { return false; }
    /// Asks for rebuild() once the current user operation, if any, is over.
    void scheduleRebuild();
    /// Forwards the widget's (and `extra`'s) mouse events as MouseDown/MouseMove/MouseUp.
    void forwardMouse(QWidget *extra = nullptr);
    bool eventFilter(QObject *watched, QEvent *event) override;

    /// Keeps the model's signal connected for the binding's lifetime.
    void keep(host::Subscription subscription) { m_subscriptions.push_back(std::move(subscription)); }

    /// True while the binding writes the widget, so that the widget's signals are not
    /// taken for user input.
    bool m_syncing = false;

private:
    void runRebuild();

    controls::Control &m_control;
    QPointer<QWidget> m_widget;
    ChildHost *m_host; // not owned
    std::vector<host::Subscription> m_subscriptions;
    std::vector<QPointer<QWidget>> m_mouseSources;
    bool m_rebuildPending = false;
};

/// RAII for ControlBinding::m_syncing.
class SyncGuard {
public:
    explicit SyncGuard(bool &flag) : m_flag(flag), m_previous(flag) { m_flag = true; }
    ~SyncGuard() { m_flag = m_previous; }
    SyncGuard(const SyncGuard &) = delete;
    SyncGuard &operator=(const SyncGuard &) = delete;

private:
    bool &m_flag;
    bool m_previous;
};

} // namespace gui
