#pragma once
// A form model (a dialog, or the tool window's user document) rendered as a widget: every
// control on it, and on its containers, gets its binding.
#include "gui/control_binding.h"

#include <QDialog>
#include <QHash>
#include <functional>
#include <memory>
#include <vector>

namespace controls {
class Container;
class Form;
} // namespace controls

namespace gui {

class FormView : public QWidget, public ChildHost {
    Q_OBJECT
public:
    explicit FormView(controls::Form &form, QWidget *parent = nullptr);
    ~FormView() override;

    controls::Form &form() const { return m_form; }
    QWidget *childParent() const override { return m_surface; }
    /// The widget that renders `control`; null for controls without one.
    QWidget *widgetFor(const controls::Control &control) const;
    ControlBinding *bindingFor(const controls::Control &control) const;
    /// Runs every pending rebuild now (tests, screenshots).
    void flush();

    /// Called with the view's new size in twips when it is resized (not when the model
    /// resized it); the tool window passes it on to the document.
    std::function<void(int widthTwips, int heightTwips)> onResize;

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void build(controls::Container &container, ChildHost *host);
    void formChanged(controls::Property property);
    void placeSurface();

    controls::Form &m_form;
    QWidget *m_surface;
    std::vector<std::unique_ptr<ControlBinding>> m_bindings;
    QHash<const controls::Control *, ControlBinding *> m_byControl;
    host::Subscription m_formSubscription;
};

/// A form shown modally: runs until the form hides or unloads; the close box asks the form
/// (QueryUnload may keep it open).
class FormDialog : public QDialog {
    Q_OBJECT
public:
    explicit FormDialog(controls::Form &form, QWidget *parent = nullptr);
    FormView *view() const { return m_view; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    controls::Form &m_form;
    FormView *m_view;
    host::Subscription m_subscription;
};

} // namespace gui
