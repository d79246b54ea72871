#pragma once
// The platform services on the desktop: Qt message boxes, dialogs, clipboard, cursor and
// shell. In record mode (screenshots) nothing blocks: message boxes and dialogs are
// recorded and answered as the headless platform does.
#include "controls/platform.h"

#include <QMessageBox>
#include <QStringList>
#include <functional>

class QWidget;

namespace gui {

class QtPlatform : public controls::HeadlessPlatform {
public:
    /// `interactive` false: record mode.
    explicit QtPlatform(bool interactive = true);
    ~QtPlatform() override;

    bool interactive() const { return m_interactive; }
    /// The window that owns message boxes and dialogs.
    void setParentWidget(QWidget *parent) { m_parent = parent; }
    /// Where SendKeys delivers: the widget of the IDE window that has the focus.
    void setKeyTarget(std::function<QWidget *()> target) { m_keyTarget = std::move(target); }

    int msgBox(const QString &prompt, int buttons = controls::vbOKOnly, const QString &title = {}) override;
    void doEvents() override;
    controls::MousePointer screenMousePointer() const override { return m_pointer; }
    void setScreenMousePointer(controls::MousePointer pointer) override;
    int screenWidth() const override;
    int screenHeight() const override;
    QString getOpenFileName(const QString &filter, const QString &title, const QString &initialDir) override;
    void clearClipboard() override;
    void setClipboardText(const QString &text) override;
    QString clipboardText() const override;
    void setClipboardImage(const host::Picture &image) override;
    host::Picture clipboardImage() const override;
    bool shellExecute(const QString &path, const QString &verb = QStringLiteral("open"),
                      const QString &directory = {}) override;
    void lockWindowUpdate(const controls::Control *control) override;
    void sendKeys(const QString &keys, bool wait) override;
    void showHelpKeyword(const QString &word) override;
    void shellAbout(const QString &title, const QString &extraText) override;
    void showModal(controls::Form &form) override;

    /// Finds the widget that renders a control (set by the main window) for LockWindowUpdate.
    void setWidgetFinder(std::function<QWidget *(const controls::Control *)> finder) { m_widgetFinder = std::move(finder); }

private:
    bool m_interactive;
    QWidget *m_parent = nullptr; // not owned
    controls::MousePointer m_pointer = controls::MousePointer::Default;
    bool m_overrideCursor = false;
    std::function<QWidget *()> m_keyTarget;
    std::function<QWidget *(const controls::Control *)> m_widgetFinder;
    QWidget *m_locked = nullptr; // not owned
};

/// The Qt buttons of a MsgBox style (vbOKOnly ... vbRetryCancel), in VB's order.
QList<QMessageBox::StandardButton> messageButtons(int vbButtons);
/// The Qt icon of a MsgBox style's icon bits.
QMessageBox::Icon messageIcon(int vbButtons);
/// The VB answer (vbOK, vbYes, ...) of a Qt button; vbCancel for anything else.
int messageAnswer(QMessageBox::StandardButton button);
/// A Windows filter ("Projects\0*.vbp;*.vbg\0All\0*.*\0") as Qt name filters
/// ("Projects (*.vbp *.vbg)", "All (*)").
QStringList qtNameFilters(const QString &windowsFilter);

} // namespace gui
