// The Optimize tab: opening the inspection dialog, and the report of its last run.
#include "docmain/doc_main.h"

#include "inspection/report.h"
#include "shared/bas_quillbox.h"

namespace docmain {

void DocMain::ShowOptimizeDialog()
{
    auto &bas = shared::basQuillbox();
    bas.gAnalizeCount = 0;
    bas.gAnalizeModules.clear();
    bas.gAnalizeResults.clear();
    if (!m_frmOptimize) {
        m_frmOptimize = std::make_unique<inspection::FrmOptimize>(mobjImageList);
        m_frmOptimize->onAnalized = [this] { SetAnalizeResult(); };
    }
    m_frmOptimize->show(false, &userDocument);
    m_frmOptimize->RefreshProject();
}

void DocMain::SetAnalizeResult()
{
    shared::trapped([&] {
        controls::TreeView &tree = tvwProject(inspection::kOptimizeIndex);
        tree.nodes().clear();
        lvwDetail(inspection::kOptimizeIndex).listItems().clear();
        inspection::BuildAnalizeTree(*this, shared::basQuillbox());
        tbsProject.setSelectedItem(tbsProject.tabs()(TabOptimize));
        tbsProject_Click();
        if (tree.nodes().count() > 0) {
            tree.setSelectedItem(tree.nodes()(1));
            tvwProject_NodeClick(inspection::kOptimizeIndex, tree.selectedItem());
        }
    });
}

void DocMain::ShowAnalizeReport(bool createColumns)
{
    inspection::ShowAnalizeReport(*this, shared::basQuillbox(), createColumns);
}

} // namespace docmain
