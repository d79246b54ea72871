#pragma once
// A form (or a user document such as the tool window): the top-level container with its
// lifecycle events. Headless, "shown" is a state; a modal show goes through the platform.
#include "controls/control.h"

namespace controls {

class CommandButton;

/// FormBorderStyleConstants.
enum class FormBorderStyle {
    None = 0,
    FixedSingle = 1,
    Sizable = 2,
    FixedDialog = 3,
    FixedToolWindow = 4,
    SizableToolWindow = 5,
};

/// QueryUnloadConstants: why a form is being unloaded.
enum class UnloadMode { FormControlMenu = 0, FormCode = 1, AppWindows = 2, AppTaskManager = 3, FormMdiForm = 4, FormOwner = 5 };

/// A new form is not loaded and not visible.
class Form : public Container {
public:
    explicit Form(const QString &name = {});
    ~Form() override;
    QString className() const override { return QStringLiteral("Form"); }

    const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption);
    FormBorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(FormBorderStyle style);

    bool loaded() const { return m_loaded; }
    /// VB's Load statement: raises Load the first time.
    void load();
    /// Loads if needed and makes the form visible (Resize on the first show after a load);
    /// `modal` then hands the form to Platform::showModal, which returns once it is done.
    /// `owner` (not owned) is the form it stays in front of, as Show's OwnerForm argument.
    void show(bool modal = false, Form *owner = nullptr);
    /// The owner of the last show; nullptr when shown without one.
    Form *owner() const { return m_owner; }
    void hide();
    /// Shown with `modal` true and not hidden since.
    bool modal() const { return m_modal && visible(); }
    /// QueryUnload, then Unload; either may cancel (false is returned). An unloaded form is
    /// hidden and raises Load again on its next load.
    bool unload(UnloadMode mode = UnloadMode::FormCode);
    /// The user closes the window from its control menu (unload mode 0).
    bool userClose() { return unload(UnloadMode::FormControlMenu); }

    /// The user presses Enter / Esc: presses the Default / Cancel button, if any.
    void pressEnter();
    void pressEscape();
    /// The enabled, visible button marked Default (Cancel) among the form's controls and
    /// their containers' controls; nullptr when none.
    CommandButton *defaultButton() const;
    CommandButton *cancelButton() const;

    host::Signal<> loadEvent;
    host::Signal<> resize;
    /// Cancel (set true to keep the form), UnloadMode.
    host::Signal<bool &, int> queryUnload;
    /// Cancel.
    host::Signal<bool &> unloadEvent;

protected:
    QSize frameSize() const override;
    void sizeChanged() override;

private:
    CommandButton *findButton(bool wantDefault) const;

    QString m_caption;
    FormBorderStyle m_borderStyle = FormBorderStyle::Sizable;
    bool m_loaded = false;
    bool m_shownSinceLoad = false;
    bool m_modal = false;
    Form *m_owner = nullptr; // not owned
};

/// VB's Forms collection: every loaded form, in the order they were loaded.
const QList<Form *> &forms();

} // namespace controls
