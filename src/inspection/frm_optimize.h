#pragma once
// frmOptimize: the code inspection dialog. Three pages (check items, modules, progress),
// the run over the chosen modules and the stop button. Created once and then only hidden,
// so the check boxes keep their states between runs.
#include "controls/control_array.h"
#include "controls/form.h"
#include "controls/image_list.h"
#include "controls/progress_bar.h"
#include "controls/standard_controls.h"
#include "controls/tree_view.h"
#include "inspection/check.h"
#include "inspection/run.h"

#include <functional>

namespace inspection {

class FrmOptimize : public controls::Form, public CheckContext {
public:
    /// `images`: the shared image list the module tree shows (not owned).
    explicit FrmOptimize(controls::ImageList *images = nullptr);
    ~FrmOptimize() override;

    controls::ControlArray<controls::PictureBox> picContainer;
    controls::Frame fraCheckItem;
    controls::ControlArray<controls::CheckBox> chkItem;
    controls::Label Label1;
    controls::Frame Frame1;
    controls::TreeView tvwProject;
    controls::Label Label2;
    controls::ControlArray<controls::CommandButton> cmdExpand;
    controls::CommandButton cmdStop;
    controls::ControlArray<controls::ProgressBar> prgAnalize;
    controls::Label lblCheck;
    controls::Label lblModule;
    controls::CommandButton cmdPrev;
    controls::CommandButton cmdNext;
    controls::CommandButton cmdCheck;
    controls::CommandButton cmdClear;
    controls::CommandButton cmdOK;
    controls::CommandButton cmdCancel;

    /// What a run that inspected modules hands them to (the tool window's SetAnalizeResult).
    std::function<void()> onAnalized;

    /// blnStop: the stop request of the current run.
    bool blnStop() const { return stopRequested(); }

    /// Rebuilds the module tree from all loaded projects and checks every node.
    void RefreshProject();
    /// Adds the node of one component under the folder of its type in project `strProjectName`.
    void AddComponent(const QString &strProjectName, const host::Ptr<host::VBComponent> &objComponent);
    /// Runs the chosen checks over the chosen modules; the number of modules inspected
    /// (0 when none was chosen or the run was stopped).
    int RunInspection();
    /// The chosen check items as the check boxes hold them.
    WantedItems wantedItems() const;

    // CheckContext: the run's label and progress bars.
    void setCheckTitle(const QString &title) override;
    void SetCheckProgress(int index, int value, int max) override;

    void Form_Load();
    void Form_QueryUnload(bool &cancel, int unloadMode);
    void cmdOK_Click();
    void cmdStop_Click();
    void cmdPrev_Click();
    void cmdNext_Click();
    void cmdCheck_Click();
    void cmdClear_Click();
    void cmdExpand_Click(int index);
    void cmdCancel_Click();
    void tvwProject_NodeCheck(controls::Node *node);

    /// Sets every node's check box.
    void SetAllNodesChecked(bool checked);

private:
    void ArrangePages();
    void AddProjectNode(const host::Ptr<host::VBProject> &project);
    void AddProjectComponents(const host::Ptr<host::VBProject> &project);
    void showPage(int index, bool show);
    /// Shows page 0 (check items) or 1 (modules) with the buttons that go with it.
    void turnPage(int page);
    /// 全選択 / 全選択解除 on the page shown: the check items or the module tree.
    void checkShownPage(bool checked);
    void setDescendantsChecked(controls::Node *node, bool checked);

    controls::ImageList *m_images; // not owned
    std::vector<host::Subscription> m_subscriptions;
};

} // namespace inspection
