#pragma once
// The stand-in VB6 IDE on the desktop: menus from the IDE's command bars, MDI code and
// designer windows, the Immediate window, the project window and the add-in's tool window.
#include "frontend/session.h"
#include "host/vbide.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <memory>

class QDialog;
class QDockWidget;
class QMdiArea;
class QMdiSubWindow;
class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace docmain {
class DocMain;
}

namespace controls {
class Form;
}

namespace gui {

class CodeView;
class FormDialog;
class FormView;
class QtPlatform;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    /// `session` and `platform` must outlive the window.
    MainWindow(frontend::Session &session, QtPlatform &platform, QWidget *parent = nullptr);
    ~MainWindow() override;

    frontend::Session &session() const { return m_session; }
    /// The tool window (the newest one shown, when an add-in was connected again).
    FormView *toolWindowView() const;
    QDockWidget *toolWindowDock() const;
    QDockWidget *immediateDock() const { return m_immediateDock; }
    QDockWidget *projectDock() const { return m_projectDock; }
    QMdiArea *mdiArea() const { return m_mdi; }
    QPlainTextEdit *immediateView() const { return m_immediate; }
    QTreeWidget *projectTree() const { return m_projectTree; }
    /// The view of an open code pane; null when the pane has no window shown.
    CodeView *codeViewFor(const host::Ptr<host::CodePane> &pane) const;
    /// The MDI subwindow that shows an IDE window; null when none does.
    QMdiSubWindow *subWindowFor(const host::Ptr<host::Window> &window) const;

    /// Brings every widget up to date with the IDE and the tool window now (tests, screenshots).
    void syncNow();
    /// What the IDE's built-in menu commands do on the desktop.
    void runCommand(const QString &commandId);
    /// Appends the IDE's load diagnostics from `first` on to the Immediate window.
    void reportDiagnostics(std::size_t first = 0);
    /// The window of a modeless add-in form (the Find dialog) while it is shown; null otherwise.
    FormDialog *formWindowFor(const controls::Form &form) const;
    /// The dialog of the IDE's last menu command (project properties, references, ...) while open.
    QDialog *commandDialogView() const { return m_commandDialog; }
    /// Gives the tool window dock its design width (the document's width).
    void fitToolWindow();

private:
    struct SubWindow {
        host::Ptr<host::Window> window;
        host::Ptr<host::CodePane> pane;       // code windows
        host::Ptr<host::VBComponent> designer; // designer windows
        QPointer<QMdiSubWindow> subWindow;
        CodeView *codeView = nullptr;          // owned by the subwindow
    };

    struct ToolDock {
        host::Ptr<host::Window> window;
        std::shared_ptr<docmain::DocMain> doc; // kept until its dock is gone
        QPointer<QDockWidget> dock;
        FormView *view = nullptr;              // owned by the dock
    };

    void buildDocks();
    void syncToolWindows();
    const ToolDock *currentToolDock() const;
    void scheduleSync();
    void syncMenus();
    void syncWindows();
    void syncProjects();
    void syncImmediate();
    void syncDocks();
    void syncForms();
    void syncCommandDialog();
    QWidget *ownerWidget(const controls::Form *owner) const;
    QString menuSignature() const;
    QWidget *keyTarget() const;
    void addSubWindow(SubWindow entry);
    void arrange(Qt::Orientation orientation);
    void arrangeIcons();
    void openProjectFile(bool exclusive);
    void showAddInManager();
    void projectItemActivated(QTreeWidgetItem *item);
    host::Ptr<host::VBComponent> componentOf(QTreeWidgetItem *item) const;
    void projectContextMenu(const QPoint &pos);

    frontend::Session &m_session;
    QtPlatform &m_platform;
    QMdiArea *m_mdi;
    std::vector<ToolDock> m_toolDocks;
    QDockWidget *m_immediateDock = nullptr;
    QPlainTextEdit *m_immediate = nullptr;
    QDockWidget *m_projectDock = nullptr;
    QTreeWidget *m_projectTree = nullptr;
    std::vector<SubWindow> m_windows;
    QString m_menuSignature;
    QString m_projectSignature;
    std::vector<host::Ptr<host::VBComponent>> m_projectComponents; // indexed by item data
    struct FormWindow {
        const controls::Form *form; // not owned
        QPointer<FormDialog> dialog;
    };
    std::vector<FormWindow> m_formWindows;
    QPointer<QDialog> m_commandDialog;
    QString m_commandDialogShown; // the caption and lines it shows
    host::Subscription m_changed;
    bool m_syncPending = false;
    bool m_syncing = false;
};

} // namespace gui
