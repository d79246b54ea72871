// Reactions to the user: tab switches and node clicks.
#include "docmain/doc_main.h"

#include "shared/bas_quillbox.h"

namespace docmain {

using namespace controls;

void DocMain::tbsProject_Click()
{
    shared::trapped([&] {
        controls::Tab *selected = tbsProject.selectedItem();
        if (!selected)
            return;
        const int t = selected->index();
        if (t != mintCurrentTab) {
            for (int i = 0; i < mintTabCount; ++i) {
                tvwProject(i).setVisible(false);
                tvwProject(i).setEnabled(false);
                lvwDetail(i).setVisible(false);
                lvwDetail(i).setEnabled(false);
            }
            for (Control *c : std::initializer_list<Control *>{&tvwProject(t - 1), &lvwDetail(t - 1)}) {
                c->setVisible(true);
                c->setEnabled(true);
                c->zOrder();
            }
            Buttons &buttons = tbrMain(0).buttons();
            const bool general = t == TabGeneral;
            const bool relative = t == TabRelative;
            buttons(QStringLiteral("PROC"))->setEnabled(general);
            buttons(QStringLiteral("CTRL"))->setEnabled(general);
            buttons(QStringLiteral("UP"))->setEnabled(relative);
            buttons(QStringLiteral("DOWN"))->setEnabled(relative);
            mintCurrentTab = t;
        }
        TreeView &tree = currentTree();
        if (tree.nodes().count() > 0) {
            if (mstrCurrentProject.isEmpty())
                mstrCurrentProject = tree.nodes()(1)->text();
            SetStatusMessage(3, mstrCurrentProject);
            if (Node *node = tree.selectedItem())
                SetStatusMessage(4, node->text());
            SetStatusMessage(5, QStringLiteral("項目数：%1").arg(currentList().listItems().count()));
        } else {
            SetStatusMessage(0, QString());
        }
    });
}

void DocMain::tvwProject_NodeClick(int index, Node *node)
{
    // The list builders come with the analysis; until then a click selects and reports.
    shared::trapped([&] {
        if (!node)
            return;
        if (index != TabSearch - 1)
            mstrCurrentProject = projectOfKey(node->key());
        SetStatusMessage(3, mstrCurrentProject);
        SetStatusMessage(4, node->text());
        SetStatusMessage(5, QStringLiteral("項目数：%1").arg(lvwDetail(index).listItems().count()));
    });
}

} // namespace docmain
