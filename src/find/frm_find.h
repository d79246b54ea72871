#pragma once
// frmFind: the Find dialog. Loaded on first use and then only hidden, so the history of
// search strings, the options and the target stay between searches.
#include "controls/control_array.h"
#include "controls/form.h"
#include "controls/image_combo.h"
#include "controls/image_list.h"
#include "controls/standard_controls.h"
#include "find/search.h"

#include <functional>

namespace find {

class FrmFind : public controls::Form {
public:
    /// `images`: the shared image list the target list shows (not owned).
    explicit FrmFind(controls::ImageList *images = nullptr);
    ~FrmFind() override;

    controls::Label Label1;
    controls::ComboBox cboFindString;
    controls::Label Label2;
    controls::ImageCombo imgcboTarget;
    controls::ControlArray<controls::CheckBox> chkCriteria;
    controls::CommandButton cmdFind;
    controls::CommandButton cmdCancel;

    /// What a search with hits hands them to (the tool window's SetFindResult).
    std::function<void()> onFound;

    /// Rebuilds the target list from the projects loaded in the host.
    void RefreshProject();

    void Form_Load();
    void cmdFind_Click();
    void cmdCancel_Click();
    void Form_QueryUnload(bool &cancel, int unloadMode);

private:
    void AddProjectComponents(const host::Ptr<host::VBProject> &project);
    void AddTargetItem(const QString &key, const QString &text, const QString &image, const QString &projectName);
    void AddFindHistory();
    bool RunSearch();

    controls::ImageList *m_images;
    std::vector<host::Subscription> m_subscriptions;
};

} // namespace find
