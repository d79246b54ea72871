// The Search tab: the hits of the last search as a tree and list, and the jump to a hit.
#include "docmain/doc_main.h"

#include "find/results.h"
#include "shared/bas_quillbox.h"

namespace docmain {

void DocMain::ShowFindDialog()
{
    if (!m_frmFind) {
        m_frmFind = std::make_unique<find::FrmFind>(mobjImageList);
        m_frmFind->onFound = [this] { SetFindResult(); };
    }
    m_frmFind->show(false, &userDocument);
    m_frmFind->RefreshProject();
}

void DocMain::SetFindResult()
{
    const BusyScope busy(*this);
    mstrCurrentTag.clear();
    for (int i = 0; i < mintTabCount; ++i) {
        tvwProject(i).setMousePointer(controls::MousePointer::Hourglass);
        lvwDetail(i).setMousePointer(controls::MousePointer::Hourglass);
    }
    struct Restore {
        DocMain &doc;
        ~Restore()
        {
            for (int i = 0; i < doc.mintTabCount; ++i) {
                doc.tvwProject(i).setMousePointer(controls::MousePointer::Default);
                doc.lvwDetail(i).setMousePointer(controls::MousePointer::Default);
            }
        }
    } restore{*this};
    controls::ListView &list = lvwDetail(find::kSearchIndex);
    controls::TreeView &tree = tvwProject(find::kSearchIndex);
    list.listItems().clear();
    list.columnHeaders().clear();
    tree.nodes().clear();
    find::BuildFindTree(*this, vbe(), shared::basQuillbox());
    tbsProject.setSelectedItem(tbsProject.tabs()(TabSearch));
    tbsProject_Click();
    if (tree.nodes().count() > 0) {
        controls::Node *first = tree.nodes()(1);
        tree.setSelectedItem(first);
        tvwProject_NodeClick(find::kSearchIndex, first);
    }
}

void DocMain::ShowFindList(bool createColumns)
{
    find::ShowFindList(*this, vbe(), shared::basQuillbox(), createColumns);
}

void DocMain::SelectFindLine() { find::SelectFindLine(*this, vbe()); }

} // namespace docmain
