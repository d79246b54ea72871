#pragma once
// What the analysis needs of the tool window: its state, its lists and trees, and its row and
// status services. docMain implements it; the analysis never includes docmain.
#include "controls/list_view.h"
#include "controls/tree_view.h"
#include "host/vbide.h"

#include <QString>
#include <QStringList>

namespace analysis {

class ToolWindow {
public:
    virtual ~ToolWindow() = default;

    /// 1-based tab shown, the project and node tag whose list is shown.
    virtual int currentTab() const = 0;
    virtual QString currentProject() const = 0;
    virtual QString currentTag() const = 0;
    /// Tree and list of tab `index` + 1 (0 General, 1 Relative, 2 Optimize, 3 Search).
    virtual controls::TreeView &tree(int index) = 0;
    virtual controls::ListView &list(int index) = 0;
    /// Whether a button of the explorer toolbar ("PROC", "CTRL", "UP", "DOWN") is down.
    virtual bool buttonDown(const QString &key) const = 0;

    /// Adds a row to the current tab's list; `subItems` are columns 2, 3, ...
    virtual void AddDetailItem(const QString &key, const QStringList &subItems, const QString &text,
                               const QString &image) = 0;
    virtual void RestoreColumnWidths() = 0;
    virtual void SetStatusMessage(int intPanel, const QString &strMessage) = 0;
    virtual void SetProgress(int intProgress, int intMaxValue) = 0;
    /// The project's root and folder nodes in the current tab's tree.
    virtual void BuildProjectTree(const host::Ptr<host::VBProject> &objProject) = 0;
    /// A node in the current tab's tree for the component, or for every component of the
    /// project when it is null.
    virtual void FindComponent(const host::Ptr<host::VBProject> &objProject,
                               const host::Ptr<host::VBComponent> &objVBComponent) = 0;
};

} // namespace analysis
