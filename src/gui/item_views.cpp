#include "gui/item_views.h"

#include "controls/list_view.h"
#include "controls/tree_view.h"
#include "gui/units.h"
#include "gui/user_operation.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace gui {

using namespace controls;

namespace {

Qt::Alignment alignmentOf(ColumnAlignment alignment)
{
    switch (alignment) {
    case ColumnAlignment::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case ColumnAlignment::Center: return Qt::AlignHCenter | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

} // namespace

// ---- ItemModelAdapter -----------------------------------------------------------------------

void ItemModelAdapter::refreshAll()
{
    m_icons.clear();
    Q_EMIT layoutAboutToBeChanged();
    Q_EMIT layoutChanged();
}

void ItemModelAdapter::resetAll()
{
    beginResetModel();
    m_icons.clear();
    endResetModel();
}

QIcon ItemModelAdapter::icon(const ImageList *list, const QString &key) const
{
    if (key.isEmpty())
        return {};
    auto it = m_icons.constFind(key);
    if (it != m_icons.constEnd())
        return *it;
    const QIcon made = imageIcon(list, key);
    m_icons.insert(key, made);
    return made;
}

QVariant ItemModelAdapter::color(OleColor color, OleColor normal)
{
    return color == normal ? QVariant() : QVariant(toQColor(color));
}

QVariant ItemModelAdapter::boldFont(bool bold)
{
    if (!bold)
        return {};
    QFont font;
    font.setBold(true); // only the weight is set, so the view's font fills in the rest
    return font;
}

bool ItemModelAdapter::announce(ItemChange kind, const QModelIndex &parent, int row)
{
    switch (kind) {
    case ItemChange::Adding:
        beginInsertRows(parent, row, row);
        return true;
    case ItemChange::Added:
        endInsertRows();
        return true;
    case ItemChange::Removing:
        beginRemoveRows(parent, row, row);
        return true;
    case ItemChange::Removed:
        endRemoveRows();
        return true;
    case ItemChange::Clearing:
        beginResetModel();
        return true;
    case ItemChange::Cleared:
        endResetModel();
        return true;
    case ItemChange::Reordering:
        Q_EMIT layoutAboutToBeChanged(parent.isValid() ? QList<QPersistentModelIndex>{parent}
                                                       : QList<QPersistentModelIndex>{},
                                      QAbstractItemModel::VerticalSortHint);
        m_moving = persistentIndexList();
        return true;
    case ItemChange::Reordered: {
        QModelIndexList moved;
        moved.reserve(m_moving.size());
        for (const QModelIndex &index : std::as_const(m_moving))
            moved.append(createIndex(rowOf(index.internalPointer()), index.column(), index.internalPointer()));
        changePersistentIndexList(m_moving, moved);
        m_moving.clear();
        Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
        return true;
    }
    case ItemChange::Property:
        break;
    }
    return false;
}

// ---- TreeModel -------------------------------------------------------------------------------

TreeModel::TreeModel(TreeView &tree, QObject *parent) : ItemModelAdapter(parent), m_tree(tree)
{
    m_subscription = tree.nodeChanged.connect([this](const NodeChange &change) { nodeChanged(change); });
}

TreeModel::~TreeModel() = default;

Node *TreeModel::nodeOf(const QModelIndex &index) const
{
    return index.isValid() && index.model() == this ? static_cast<Node *>(index.internalPointer()) : nullptr;
}

QModelIndex TreeModel::indexOf(const Node *node) const
{
    return node ? createIndex(node->position(), 0, const_cast<Node *>(node)) : QModelIndex();
}

int TreeModel::rowOf(void *item) const { return static_cast<Node *>(item)->position(); }

QModelIndex TreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return {};
    const Node *p = nodeOf(parent);
    const std::vector<Node *> &level = p ? p->childList() : m_tree.rootNodes();
    if (std::size_t(row) >= level.size())
        return {};
    return createIndex(row, 0, level[std::size_t(row)]);
}

QModelIndex TreeModel::parent(const QModelIndex &child) const
{
    const Node *node = nodeOf(child);
    return node ? indexOf(node->parent()) : QModelIndex();
}

int TreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    const Node *p = nodeOf(parent);
    return p ? p->children() : int(m_tree.rootNodes().size());
}

int TreeModel::columnCount(const QModelIndex &) const { return 1; }

bool TreeModel::hasChildren(const QModelIndex &parent) const
{
    // A node whose children come when it is first opened shows its plus sign before.
    const Node *node = nodeOf(parent);
    return (node && node->childrenToLoad()) || rowCount(parent) > 0;
}

bool TreeModel::canFetchMore(const QModelIndex &parent) const
{
    const Node *node = nodeOf(parent);
    return node && node->childrenToLoad();
}

void TreeModel::fetchMore(const QModelIndex &parent)
{
    if (Node *node = nodeOf(parent))
        node->loadChildren();
}

QVariant TreeModel::data(const QModelIndex &index, int role) const
{
    const Node *node = nodeOf(index);
    if (!node)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return node->text();
    case Qt::DecorationRole: {
        if (int(m_tree.style()) % 2 == 0)
            return {}; // a style without pictures
        QString key = node->image();
        if (node->selected() && !node->selectedImage().isEmpty())
            key = node->selectedImage();
        else if (node->expanded() && !node->expandedImage().isEmpty())
            key = node->expandedImage();
        return icon(m_tree.imageList(), key);
    }
    case Qt::FontRole:
        return boldFont(node->bold());
    case Qt::ForegroundRole:
        return color(node->foreColor(), vbWindowText);
    case Qt::BackgroundRole:
        return color(node->backColor(), vbWindowBackground);
    case Qt::CheckStateRole:
        if (!m_tree.checkboxes())
            return {};
        return node->checked() ? Qt::Checked : Qt::Unchecked;
    default:
        return {};
    }
}

Qt::ItemFlags TreeModel::flags(const QModelIndex &index) const
{
    if (!nodeOf(index))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | (m_tree.checkboxes() ? Qt::ItemIsUserCheckable : Qt::NoItemFlags);
}

bool TreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    Node *node = nodeOf(index);
    if (!node || role != Qt::CheckStateRole || !onCheck)
        return false;
    onCheck(node, value.toInt() == Qt::Checked);
    return true;
}

void TreeModel::nodeChanged(const NodeChange &change)
{
    if (announce(change.kind, indexOf(change.parent), change.position)) {
        if (change.kind == ItemChange::Added && onAdded)
            onAdded(change.node);
        return;
    }
    const Property p = change.property;
    if (p == Property::Expanded || p == Property::Visible || p == Property::EnsureVisible) {
        if (onViewProperty)
            onViewProperty(change.node, p);
        if (p != Property::Expanded)
            return;
    }
    if (p == Property::Key || p == Property::Tag || p == Property::Sorted)
        return;
    const QModelIndex index = indexOf(change.node);
    Q_EMIT dataChanged(index, index);
}

// ---- ListModel -------------------------------------------------------------------------------

ListModel::ListModel(ListView &list, QObject *parent) : ItemModelAdapter(parent), m_list(list)
{
    m_subscription = list.itemChanged.connect([this](const ListItemChange &change) { itemChanged(change); });
    m_columns = std::max(1, list.columnHeaders().count());
}

ListModel::~ListModel() = default;

ListItem *ListModel::listItemOf(const QModelIndex &index) const
{
    return index.isValid() && index.model() == this ? static_cast<ListItem *>(index.internalPointer()) : nullptr;
}

QModelIndex ListModel::indexOf(const ListItem *item) const
{
    if (!item)
        return {};
    const int row = ListItems::rowOf(item);
    return row < 0 ? QModelIndex() : createIndex(row, 0, const_cast<ListItem *>(item));
}

int ListModel::rowOf(void *item) const { return ListItems::rowOf(static_cast<ListItem *>(item)); }

QModelIndex ListModel::index(int row, int column, const QModelIndex &parent) const
{
    if (parent.isValid() || row < 0 || column < 0 || row >= m_list.listItems().count() || column >= m_columns)
        return {};
    return createIndex(row, column, m_list.listItems().itemAtRow(row));
}

QModelIndex ListModel::parent(const QModelIndex &) const { return {}; }

int ListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_list.listItems().count();
}

int ListModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_columns; }

bool ListModel::hasChildren(const QModelIndex &parent) const { return !parent.isValid() && rowCount() > 0; }

QVariant ListModel::data(const QModelIndex &index, int role) const
{
    const ListItem *item = listItemOf(index);
    if (!item)
        return {};
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return item->columnText(column);
    case Qt::DecorationRole: {
        if (column != 0)
            return {};
        const bool large = m_list.view() == ListViewView::Icon;
        return icon(large ? m_list.icons() : m_list.smallIcons(), large ? item->icon() : item->smallIcon());
    }
    case Qt::TextAlignmentRole:
        if (column == 0 || column >= m_list.columnHeaders().count())
            return {};
        return QVariant::fromValue(alignmentOf(m_list.columnHeaders()(column + 1)->alignment()));
    case Qt::ForegroundRole:
        return item->ghosted() ? QVariant(toQColor(vbGrayText)) : color(item->foreColor(), vbWindowText);
    case Qt::FontRole:
        return boldFont(item->bold());
    default:
        return {};
    }
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_list.columnHeaders().count())
        return {};
    const ColumnHeader *column = m_list.columnHeaders()(section + 1);
    if (role == Qt::DisplayRole)
        return column->text();
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(alignmentOf(column->alignment()));
    return {};
}

Qt::ItemFlags ListModel::flags(const QModelIndex &index) const
{
    return listItemOf(index) ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}

void ListModel::columnsChanged()
{
    const int columns = std::max(1, m_list.columnHeaders().count());
    if (columns != m_columns) {
        beginResetModel();
        m_columns = columns;
        endResetModel();
        return;
    }
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, m_columns - 1);
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, m_columns - 1), {Qt::TextAlignmentRole});
}

void ListModel::itemChanged(const ListItemChange &change)
{
    if (announce(change.kind, {}, change.row)) {
        if (change.kind == ItemChange::Added && onSortPending && m_list.listItems().sortPending())
            onSortPending();
        return;
    }
    const Property p = change.property;
    if (p == Property::Selected || p == Property::EnsureVisible) {
        if (onViewProperty)
            onViewProperty(change.item, p);
        return;
    }
    if (p == Property::Key)
        return;
    Q_EMIT dataChanged(index(change.row, 0), index(change.row, m_columns - 1));
    if ((p == Property::Text || p == Property::SubItems) && onSortPending && m_list.listItems().sortPending())
        onSortPending();
}

bool sendKeyDown(QKeyEvent *event, const std::function<int(int, int)> &press)
{
    const int code = vbKeyCode(event->key());
    if (code == 0)
        return false;
    int result = code;
    userOperation([&] { result = press(code, vbShift(event->modifiers())); });
    return result == 0;
}

// ---- ItemView --------------------------------------------------------------------------------

ItemView::ItemView(ItemViewInput *input, QWidget *parent) : QTreeView(parent), m_input(input)
{
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setExpandsOnDoubleClick(false);
    setDragEnabled(false);
    setAutoScroll(false);
    setIconSize(QSize(16, 16));
}

// The branch indicator lies in the indentation left of the item's rectangle.
bool ItemView::onBranch(const QModelIndex &index, const QPoint &pos) const
{
    const QRect r = visualRect(index);
    return pos.x() < r.left() && pos.x() >= r.left() - indentation() && model()->hasChildren(index);
}

void ItemView::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const QModelIndex index = indexAt(pos);
    setFocus(Qt::MouseFocusReason);
    if (!index.isValid())
        return;
    if (onBranch(index, pos)) {
        QTreeView::mousePressEvent(event);
        return;
    }
    if (event->button() == Qt::LeftButton && visualRect(index).left() <= pos.x())
        m_input->userClick(index);
}

void ItemView::mouseMoveEvent(QMouseEvent *event)
{
    // A drag would select rows behind the model's back.
    if (event->buttons() == Qt::NoButton)
        QTreeView::mouseMoveEvent(event);
}

void ItemView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const QModelIndex index = indexAt(pos);
    if (index.isValid() && onBranch(index, pos)) {
        QTreeView::mouseDoubleClickEvent(event);
        return;
    }
    if (event->button() == Qt::LeftButton)
        m_input->userDoubleClick(index);
}

void ItemView::keyPressEvent(QKeyEvent *event)
{
    if (m_input->userKey(event))
        return;
    const QPersistentModelIndex before = currentIndex().siblingAtColumn(0);
    QTreeView::keyPressEvent(event);
    const QModelIndex after = currentIndex().siblingAtColumn(0);
    if (after.isValid() && after != before)
        m_input->userClick(after);
}

} // namespace gui
