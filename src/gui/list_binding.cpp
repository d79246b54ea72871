// ListView rendered by a QTreeView with column headers over a ListModel.
#include "controls/list_view.h"
#include "gui/bindings.h"
#include "gui/units.h"
#include "gui/user_operation.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace gui {

using namespace controls;

namespace {

/// Draws the grid lines of a list with GridLines on.
class GridDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    bool grid = false;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        if (!grid)
            return;
        painter->save();
        painter->setPen(QColor(192, 192, 192));
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->restore();
    }
};

} // namespace

ListBinding::ListBinding(ListView &list, ChildHost *host)
    : ControlBinding(list, new ItemView(this, host->childParent()), host), m_list(list),
      m_model(new ListModel(list, this))
{
    QTreeView *w = treeView();
    w->setRootIsDecorated(false);
    w->setItemsExpandable(false);
    w->setAllColumnsShowFocus(true);
    w->setItemDelegate(new GridDelegate(w));
    w->setModel(m_model);
    QHeaderView *header = w->header();
    header->setStretchLastSection(false);
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->setSortIndicatorShown(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setMinimumSectionSize(0);
    connect(header, &QHeaderView::sectionClicked, this, [this](int logical) {
        if (logical < 0 || logical >= m_list.columnHeaders().count())
            return;
        userOperation([&] { m_list.clickColumn(m_list.columnHeaders()(logical + 1)); });
    });
    connect(header, &QHeaderView::sectionResized, this, [this](int logical, int, int size) {
        if (m_syncing || logical < 0 || logical >= m_list.columnHeaders().count())
            return;
        userOperation([&] { m_list.columnHeaders()(logical + 1)->setWidth(pixelsToTwipsX(size, widget())); });
    });
    m_model->onViewProperty = [this](ListItem *item, Property p) { viewProperty(item, p); };
    m_model->onSortPending = [this] { scheduleSort(); };
    forwardMouse(w->viewport());
    syncAll();
}

QTreeView *ListBinding::treeView() const { return static_cast<QTreeView *>(widget()); }

QModelIndex ListBinding::indexOf(const ListItem *item) const { return m_model->indexOf(item); }

ListItem *ListBinding::listItemOf(const QModelIndex &index) const { return m_model->listItemOf(index); }

void ListBinding::applyColors()
{
    QPalette p = widget()->palette();
    p.setColor(QPalette::Base, toQColor(m_list.backColor()));
    p.setColor(QPalette::Text, toQColor(m_list.foreColor()));
    widget()->setPalette(p);
}

void ListBinding::applyColumnWidths()
{
    SyncGuard guard(m_syncing);
    QHeaderView *header = treeView()->header();
    int i = 0;
    for (const ColumnHeader *c : m_list.columnHeaders()) {
        const int px = twipsToPixelsX(c->width(), widget());
        if (header->sectionSize(i) != px)
            header->resizeSection(i, px);
        ++i;
    }
    // A report without columns shows a bare header across the list.
    header->setStretchLastSection(m_list.columnHeaders().count() == 0);
}

void ListBinding::applyOptions()
{
    QTreeView *w = treeView();
    w->setHeaderHidden(m_list.view() != ListViewView::Report || m_list.hideColumnHeaders());
    w->setSelectionBehavior(m_list.fullRowSelect() ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    w->setFrameShape(m_list.borderStyle() == BorderStyle::FixedSingle ? QFrame::StyledPanel : QFrame::NoFrame);
    static_cast<GridDelegate *>(w->itemDelegate())->grid = m_list.gridLines() && m_list.view() == ListViewView::Report;
    w->viewport()->update();
}

void ListBinding::propertyChanged(Property property)
{
    ControlBinding::propertyChanged(property);
    const Property p = property;
    SyncGuard guard(m_syncing);
    if (p == Property::ColumnHeaders) {
        m_model->columnsChanged();
        applyColumnWidths();
    } else if (p == Property::SelectedItem) {
        // The items report their own Selected; only the current row is left.
        treeView()->selectionModel()->setCurrentIndex(indexOf(m_list.selectedItem()), QItemSelectionModel::NoUpdate);
    } else if (p == Property::MultiSelect) {
        syncSelection();
    } else if (p == Property::View || p == Property::SmallIcons || p == Property::Icons) {
        applyOptions();
        m_model->refreshAll();
    } else if (p == Property::FullRowSelect || p == Property::GridLines || p == Property::HideColumnHeaders
               || p == Property::BorderStyle) {
        applyOptions();
        syncSelection();
    } else if (p == Property::Sorted || p == Property::SortKey || p == Property::SortOrder) {
        if (m_list.listItems().sortPending())
            scheduleSort();
    }
}

void ListBinding::viewProperty(ListItem *item, Property property)
{
    SyncGuard guard(m_syncing);
    const QModelIndex index = indexOf(item);
    if (property == Property::EnsureVisible) {
        treeView()->scrollTo(index);
        return;
    }
    const auto flags = m_list.fullRowSelect() ? QItemSelectionModel::Rows : QItemSelectionModel::NoUpdate;
    treeView()->selectionModel()->select(
        index, (item->selected() ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) | flags);
}

void ListBinding::syncSelection()
{
    QItemSelectionModel *selection = treeView()->selectionModel();
    const auto rows = m_list.fullRowSelect() ? QItemSelectionModel::Rows : QItemSelectionModel::NoUpdate;
    ListItem *current = m_list.selectedItem();
    if (m_list.multiSelect()) {
        // Several rows may be selected: read them all (option changes only, not per click).
        QItemSelection selected;
        const ListItems &items = m_list.listItems();
        for (int row = 0; row < items.count(); ++row) {
            if (items.itemAtRow(row)->selected())
                selected.select(m_model->index(row, 0), m_model->index(row, 0));
        }
        selection->select(selected, QItemSelectionModel::ClearAndSelect | rows);
    } else if (current && current->selected()) {
        selection->select(indexOf(current), QItemSelectionModel::ClearAndSelect | rows);
    } else {
        selection->clearSelection();
    }
    selection->setCurrentIndex(indexOf(current), QItemSelectionModel::NoUpdate);
}

void ListBinding::scheduleSort()
{
    if (m_sortPending)
        return;
    m_sortPending = true;
    whenIdle(this, [this] {
        m_sortPending = false;
        m_list.listItems().sortNow();
    });
}

void ListBinding::flush()
{
    ControlBinding::flush();
    if (m_sortPending && !inUserOperation()) {
        m_sortPending = false;
        m_list.listItems().sortNow();
    }
}

void ListBinding::rebuild()
{
    SyncGuard guard(m_syncing);
    m_model->resetAll();
    m_model->columnsChanged();
    applyColumnWidths();
    applyOptions();
    syncSelection();
}

void ListBinding::userClick(const QModelIndex &index)
{
    ListItem *item = listItemOf(index);
    if (!item)
        return;
    userOperation([&] { m_list.clickItem(item); });
    SyncGuard guard(m_syncing);
    syncSelection();
}

void ListBinding::userDoubleClick(const QModelIndex &)
{
    userOperation([&] { m_list.doubleClick(); });
}

bool ListBinding::userKey(QKeyEvent *event)
{
    return sendKeyDown(event, [this](int code, int shift) { return m_list.pressKey(code, shift); });
}

} // namespace gui
