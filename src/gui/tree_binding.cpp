// TreeView rendered by a QTreeWidget.
#include "controls/tree_view.h"
#include "gui/bindings.h"
#include "gui/units.h"
#include "gui/user_operation.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTreeWidget>

namespace gui {

using namespace controls;

namespace {

constexpr int kNodeRole = Qt::UserRole + 1;

/// Clicks select through the model, never through the widget's own selection logic.
class TreeWidget : public QTreeWidget {
public:
    TreeWidget(TreeBinding *binding, QWidget *parent) : QTreeWidget(parent), m_binding(binding) {}

protected:
    // The branch indicator lies in the indentation left of the item's text rectangle.
    bool onBranch(QTreeWidgetItem *item, const QPoint &pos) const
    {
        const QRect r = visualItemRect(item);
        return pos.x() < r.left() && pos.x() >= r.left() - indentation() && item->childCount() > 0;
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        const QPoint pos = event->position().toPoint();
        QTreeWidgetItem *item = itemAt(pos);
        setFocus(Qt::MouseFocusReason);
        if (!item)
            return;
        if (onBranch(item, pos)) {
            QTreeWidget::mousePressEvent(event);
            return;
        }
        if (event->button() == Qt::LeftButton && visualItemRect(item).left() <= pos.x())
            m_binding->userClick(item);
    }

    void mouseMoveEvent(QMouseEvent *event) override
    {
        // A drag would select rows behind the model's back.
        if (event->buttons() == Qt::NoButton)
            QTreeWidget::mouseMoveEvent(event);
    }

    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        const QPoint pos = event->position().toPoint();
        QTreeWidgetItem *item = itemAt(pos);
        if (!item)
            return;
        if (onBranch(item, pos)) {
            QTreeWidget::mouseDoubleClickEvent(event);
            return;
        }
        if (event->button() == Qt::LeftButton)
            m_binding->userDoubleClick(item);
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        if (m_binding->userKey(event))
            return;
        QTreeWidgetItem *before = currentItem();
        QTreeWidget::keyPressEvent(event);
        QTreeWidgetItem *after = currentItem();
        if (after && after != before)
            m_binding->userClick(after);
    }

private:
    TreeBinding *m_binding; // owns this widget's model side
};

} // namespace

TreeBinding::TreeBinding(TreeView &tree, ChildHost *host)
    : ControlBinding(tree, new TreeWidget(this, host->childParent()), host), m_tree(tree)
{
    QTreeWidget *w = treeWidget();
    w->setHeaderHidden(true);
    w->setColumnCount(1);
    w->setSelectionMode(QAbstractItemView::SingleSelection);
    w->setUniformRowHeights(true);
    w->setExpandsOnDoubleClick(false);
    w->setDragEnabled(false);
    w->setAutoScroll(false);
    w->setIconSize(QSize(16, 16));
    w->header()->setStretchLastSection(false);
    w->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(w, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *item) { userExpand(item, true); });
    connect(w, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem *item) { userExpand(item, false); });
    connect(w, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *item, int) { userCheck(item); });
    keep(tree.nodeChanged.connect([this](const NodeChange &change) { nodeChanged(change); }));
    forwardMouse(w->viewport());
    syncAll();
    applyStyle();
}

QTreeWidget *TreeBinding::treeWidget() const { return static_cast<QTreeWidget *>(widget()); }

QTreeWidgetItem *TreeBinding::itemOf(const Node *node) const { return m_stale ? nullptr : m_items.value(node); }

Node *TreeBinding::nodeOf(const QTreeWidgetItem *item) const
{
    return item ? reinterpret_cast<Node *>(item->data(0, kNodeRole).value<quintptr>()) : nullptr;
}

void TreeBinding::applyColors()
{
    QPalette p = widget()->palette();
    p.setColor(QPalette::Base, toQColor(m_tree.backColor()));
    p.setColor(QPalette::Text, toQColor(m_tree.foreColor()));
    widget()->setPalette(p);
}

void TreeBinding::applyStyle()
{
    QTreeWidget *w = treeWidget();
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

void TreeBinding::propertyChanged(const char *property)
{
    ControlBinding::propertyChanged(property);
    const QByteArrayView p(property);
    SyncGuard guard(m_syncing);
    if (p == "SelectedItem") {
        if (!m_stale)
            syncSelection();
    } else if (p == "ImageList" || p == "Checkboxes") {
        scheduleRebuild();
        m_stale = true;
    } else if (p == "Style" || p == "LineStyle" || p == "Indentation" || p == "BorderStyle" || p == "Appearance"
               || p == "HotTracking") {
        applyStyle();
        if (p == "Style") {
            m_stale = true;
            scheduleRebuild();
        }
    }
}

void TreeBinding::forget(Node *node)
{
    if (QTreeWidgetItem *item = m_items.take(node))
        item->setData(0, kNodeRole, QVariant::fromValue<quintptr>(0));
    for (Node *child : node->childList())
        forget(child);
}

void TreeBinding::nodeChanged(const NodeChange &change)
{
    using Kind = NodeChange::Kind;
    SyncGuard guard(m_syncing);
    switch (change.kind) {
    case Kind::Added:
    case Kind::Reordered:
        m_stale = true;
        scheduleRebuild();
        return;
    case Kind::Removing:
        // The rows stay until the rebuild, but they no longer lead to the node.
        forget(change.node);
        m_stale = true;
        scheduleRebuild();
        return;
    case Kind::Cleared:
        for (QTreeWidgetItem *item : std::as_const(m_items))
            item->setData(0, kNodeRole, QVariant::fromValue<quintptr>(0));
        m_items.clear();
        m_stale = true;
        scheduleRebuild();
        return;
    case Kind::Property:
        break;
    }
    if (m_stale)
        return;
    Node *node = change.node;
    QTreeWidgetItem *item = m_items.value(node);
    if (!item)
        return;
    const QByteArrayView p(change.property ? change.property : "");
    if (p == "Expanded") {
        item->setExpanded(node->expanded());
        item->setIcon(0, nodeIcon(node));
        refreshHidden(node);
    } else if (p == "Visible") {
        refreshHidden(node->parent());
    } else if (p == "EnsureVisible") {
        treeWidget()->scrollToItem(item);
    } else if (p == "Selected") {
        item->setIcon(0, nodeIcon(node));
    } else {
        writeItem(item, node);
    }
}

QIcon TreeBinding::nodeIcon(const Node *node)
{
    const int style = int(m_tree.style());
    if (style % 2 == 0)
        return QIcon(); // a style without pictures
    QString key = node->image();
    if (node->selected() && !node->selectedImage().isEmpty())
        key = node->selectedImage();
    else if (node->expanded() && !node->expandedImage().isEmpty())
        key = node->expandedImage();
    if (key.isEmpty())
        return QIcon();
    auto it = m_icons.constFind(key);
    if (it != m_icons.constEnd())
        return *it;
    const QIcon icon = imageIcon(m_tree.imageList(), key);
    m_icons.insert(key, icon);
    return icon;
}

void TreeBinding::writeItem(QTreeWidgetItem *item, const Node *node)
{
    item->setText(0, node->text());
    item->setIcon(0, nodeIcon(node));
    QFont font = item->font(0);
    if (font.bold() != node->bold()) {
        font.setBold(node->bold());
        item->setFont(0, font);
    }
    if (node->foreColor() != vbWindowText)
        item->setForeground(0, toQColor(node->foreColor()));
    else
        item->setData(0, Qt::ForegroundRole, QVariant());
    if (node->backColor() != vbWindowBackground)
        item->setBackground(0, toQColor(node->backColor()));
    else
        item->setData(0, Qt::BackgroundRole, QVariant());
    if (m_tree.checkboxes())
        item->setCheckState(0, node->checked() ? Qt::Checked : Qt::Unchecked);
}

QTreeWidgetItem *TreeBinding::makeItem(Node *node)
{
    auto *item = new QTreeWidgetItem;
    item->setData(0, kNodeRole, QVariant::fromValue(reinterpret_cast<quintptr>(node)));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | (m_tree.checkboxes() ? Qt::ItemIsUserCheckable : Qt::NoItemFlags));
    writeItem(item, node);
    m_items.insert(node, item);
    QList<QTreeWidgetItem *> children;
    children.reserve(int(node->childList().size()));
    for (Node *child : node->childList())
        children.append(makeItem(child));
    item->addChildren(children);
    return item;
}

void TreeBinding::refreshHidden(const Node *parent)
{
    const std::vector<Node *> &level = parent ? parent->childList() : m_tree.rootNodes();
    // A child is hidden by its own mark only when its parent shows its children.
    const bool parentShows = !parent || (parent->visible() && parent->expanded());
    for (Node *child : level) {
        QTreeWidgetItem *item = m_items.value(child);
        if (item && parentShows)
            item->setHidden(!child->visible());
        if (!child->childList().empty())
            refreshHidden(child);
    }
}

void TreeBinding::syncSelection()
{
    QTreeWidget *w = treeWidget();
    Node *selected = m_tree.selectedItem();
    QTreeWidgetItem *item = selected ? m_items.value(selected) : nullptr;
    if (w->currentItem() == item && (!item || item->isSelected()))
        return;
    w->clearSelection();
    if (item) {
        w->setCurrentItem(item);
        item->setSelected(true);
    } else {
        w->setCurrentItem(nullptr);
    }
}

void TreeBinding::rebuild()
{
    SyncGuard guard(m_syncing);
    QTreeWidget *w = treeWidget();
    m_stale = false;
    m_icons.clear();
    const bool updates = w->updatesEnabled();
    w->setUpdatesEnabled(false);
    w->clear();
    m_items.clear();
    QList<QTreeWidgetItem *> roots;
    for (Node *root : m_tree.rootNodes())
        roots.append(makeItem(root));
    w->addTopLevelItems(roots);
    for (auto it = m_items.constBegin(); it != m_items.constEnd(); ++it) {
        if (it.key()->expanded())
            it.value()->setExpanded(true);
    }
    refreshHidden(nullptr);
    syncSelection();
    w->setUpdatesEnabled(updates);
}

void TreeBinding::userClick(QTreeWidgetItem *item)
{
    Node *node = nodeOf(item);
    if (!node)
        return;
    userOperation([&] { m_tree.clickNode(node); });
    if (!m_stale) {
        SyncGuard guard(m_syncing);
        syncSelection();
    }
}

void TreeBinding::userDoubleClick(QTreeWidgetItem *item)
{
    Node *node = nodeOf(item);
    if (!node)
        return;
    userOperation([&] { m_tree.doubleClickNode(node); });
}

void TreeBinding::userExpand(QTreeWidgetItem *item, bool expanded)
{
    if (m_syncing)
        return;
    Node *node = nodeOf(item);
    if (!node)
        return;
    userOperation([&] {
        if (expanded)
            m_tree.expandNode(node);
        else
            m_tree.collapseNode(node);
    });
    // The model may have said no; the row shows what it says.
    node = nodeOf(item);
    if (node && !m_stale && item->isExpanded() != node->expanded()) {
        SyncGuard guard(m_syncing);
        item->setExpanded(node->expanded());
    }
}

void TreeBinding::userCheck(QTreeWidgetItem *item)
{
    if (m_syncing || !m_tree.checkboxes())
        return;
    Node *node = nodeOf(item);
    if (!node)
        return;
    const bool checked = item->checkState(0) == Qt::Checked;
    if (checked == node->checked())
        return;
    userOperation([&] { m_tree.checkNode(node, checked); });
    node = nodeOf(item);
    if (node && !m_stale) {
        SyncGuard guard(m_syncing);
        item->setCheckState(0, node->checked() ? Qt::Checked : Qt::Unchecked);
    }
}

bool TreeBinding::userKey(QKeyEvent *event)
{
    const int code = vbKeyCode(event->key());
    if (code == 0)
        return false;
    int result = code;
    userOperation([&] { result = m_tree.pressKey(code, vbShift(event->modifiers())); });
    return result == 0;
}

} // namespace gui
