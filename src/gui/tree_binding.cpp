// TreeView rendered by a QTreeView over a TreeModel.
#include "controls/tree_view.h"
#include "gui/bindings.h"
#include "gui/units.h"
#include "gui/user_operation.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace gui {

using namespace controls;

TreeBinding::TreeBinding(TreeView &tree, ChildHost *host)
    : ControlBinding(tree, new ItemView(this, host->childParent()), host), m_tree(tree),
      m_model(new TreeModel(tree, this))
{
    QTreeView *w = treeView();
    w->setHeaderHidden(true);
    w->setModel(m_model);
    w->header()->setStretchLastSection(false);
    w->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(w, &QTreeView::expanded, this, [this](const QModelIndex &index) { userExpand(index, true); });
    connect(w, &QTreeView::collapsed, this, [this](const QModelIndex &index) { userExpand(index, false); });
    m_model->onAdded = [this](Node *node) { nodeAdded(node); };
    m_model->onViewProperty = [this](Node *node, Property p) { viewProperty(node, p); };
    m_model->onCheck = [this](Node *node, bool checked) { userCheck(node, checked); };
    forwardMouse(w->viewport());
    syncAll();
    applyStyle();
}

QTreeView *TreeBinding::treeView() const { return static_cast<QTreeView *>(widget()); }

QModelIndex TreeBinding::indexOf(const Node *node) const { return m_model->indexOf(node); }

Node *TreeBinding::nodeOf(const QModelIndex &index) const { return m_model->nodeOf(index); }

void TreeBinding::applyColors()
{
    QPalette p = widget()->palette();
    p.setColor(QPalette::Base, toQColor(m_tree.backColor()));
    p.setColor(QPalette::Text, toQColor(m_tree.foreColor()));
    widget()->setPalette(p);
}

void TreeBinding::applyStyle()
{
    QTreeView *w = treeView();
    const int style = int(m_tree.style());
    const bool plusMinus = style == 2 || style == 3 || style == 6 || style == 7;
    w->setRootIsDecorated(plusMinus && m_tree.lineStyle() == TreeLineStyle::RootLines);
    w->setItemsExpandable(true);
    w->setIndentation(std::max(8, twipsToPixelsX(m_tree.indentation(), w)));
    w->setFrameShape(m_tree.borderStyle() == BorderStyle::FixedSingle || m_tree.appearance() == Appearance::ThreeD
                         ? QFrame::StyledPanel
                         : QFrame::NoFrame);
    w->setMouseTracking(m_tree.hotTracking());
}

void TreeBinding::propertyChanged(Property property)
{
    ControlBinding::propertyChanged(property);
    const Property p = property;
    SyncGuard guard(m_syncing);
    if (p == Property::SelectedItem) {
        syncSelection();
    } else if (p == Property::ImageList || p == Property::Checkboxes) {
        m_model->refreshAll();
    } else if (p == Property::Style || p == Property::LineStyle || p == Property::Indentation
               || p == Property::BorderStyle || p == Property::Appearance || p == Property::HotTracking) {
        applyStyle();
        if (p == Property::Style)
            m_model->refreshAll();
    }
}

void TreeBinding::viewProperty(Node *node, Property property)
{
    SyncGuard guard(m_syncing);
    if (property == Property::Expanded)
        syncExpanded(node);
    else if (property == Property::Visible)
        syncHidden(node);
    else if (property == Property::EnsureVisible)
        treeView()->scrollTo(indexOf(node));
}

void TreeBinding::nodeAdded(Node *node)
{
    // A parent expanded before it had children shows them as they come.
    if (node->parent()) {
        SyncGuard guard(m_syncing);
        syncExpanded(node->parent());
    }
}

void TreeBinding::syncExpanded(const Node *node)
{
    const QModelIndex index = indexOf(node);
    if (treeView()->isExpanded(index) != node->expanded())
        treeView()->setExpanded(index, node->expanded());
}

void TreeBinding::syncHidden(const Node *node)
{
    const QModelIndex parent = indexOf(node->parent());
    if (treeView()->isRowHidden(node->position(), parent) != node->hiddenMark())
        treeView()->setRowHidden(node->position(), parent, node->hiddenMark());
}

void TreeBinding::syncState(const std::vector<Node *> &level)
{
    for (const Node *node : level) {
        if (node->hiddenMark())
            syncHidden(node);
        if (node->childList().empty())
            continue;
        syncState(node->childList());
        if (node->expanded())
            syncExpanded(node);
    }
}

void TreeBinding::syncSelection()
{
    QItemSelectionModel *selection = treeView()->selectionModel();
    const QModelIndex index = indexOf(m_tree.selectedItem());
    if (treeView()->currentIndex() == index && (!index.isValid() || selection->isSelected(index)))
        return;
    if (index.isValid())
        selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    else
        selection->clear();
}

void TreeBinding::rebuild()
{
    SyncGuard guard(m_syncing);
    m_model->resetAll();
    applyStyle();
    syncState(m_tree.rootNodes());
    syncSelection();
}

void TreeBinding::userClick(const QModelIndex &index)
{
    Node *node = nodeOf(index);
    if (!node)
        return;
    userOperation([&] { m_tree.clickNode(node); });
    SyncGuard guard(m_syncing);
    syncSelection();
}

void TreeBinding::userDoubleClick(const QModelIndex &index)
{
    Node *node = nodeOf(index);
    if (!node)
        return;
    userOperation([&] { m_tree.doubleClickNode(node); });
}

void TreeBinding::userExpand(const QModelIndex &index, bool expanded)
{
    if (m_syncing)
        return;
    const QPersistentModelIndex row(index);
    Node *node = nodeOf(index);
    if (!node)
        return;
    userOperation([&] {
        if (expanded)
            m_tree.expandNode(node);
        else
            m_tree.collapseNode(node);
    });
    // The model may have said no; the row shows what it says. A handler may have removed it.
    if (!row.isValid())
        return;
    SyncGuard guard(m_syncing);
    syncExpanded(nodeOf(row));
}

void TreeBinding::userCheck(Node *node, bool checked)
{
    if (m_syncing || !m_tree.checkboxes() || checked == node->checked())
        return;
    userOperation([&] { m_tree.checkNode(node, checked); });
}

bool TreeBinding::userKey(QKeyEvent *event)
{
    return sendKeyDown(event, [this](int code, int shift) { return m_tree.pressKey(code, shift); });
}

} // namespace gui
