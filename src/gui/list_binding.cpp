// ListView rendered by a QTreeWidget with column headers.
#include "controls/list_view.h"
#include "gui/bindings.h"
#include "gui/units.h"
#include "gui/user_operation.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTreeWidget>

namespace gui {

using namespace controls;

namespace {

constexpr int kItemRole = Qt::UserRole + 1;

class ListWidget : public QTreeWidget {
public:
    ListWidget(ListBinding *binding, QWidget *parent) : QTreeWidget(parent), m_binding(binding) {}

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        setFocus(Qt::MouseFocusReason);
        QTreeWidgetItem *row = itemAt(event->position().toPoint());
        if (row && event->button() == Qt::LeftButton)
            m_binding->userClick(row);
    }

    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (event->buttons() == Qt::NoButton)
            QTreeWidget::mouseMoveEvent(event);
    }

    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            m_binding->userDoubleClick();
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
    ListBinding *m_binding; // owns this widget's model side
};

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

Qt::Alignment alignmentOf(ColumnAlignment alignment)
{
    switch (alignment) {
    case ColumnAlignment::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case ColumnAlignment::Center: return Qt::AlignHCenter | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

} // namespace

ListBinding::ListBinding(ListView &list, ChildHost *host)
    : ControlBinding(list, new ListWidget(this, host->childParent()), host), m_list(list)
{
    QTreeWidget *w = treeWidget();
    w->setRootIsDecorated(false);
    w->setItemsExpandable(false);
    w->setUniformRowHeights(true);
    w->setSelectionMode(QAbstractItemView::SingleSelection);
    w->setDragEnabled(false);
    w->setAutoScroll(false);
    w->setAllColumnsShowFocus(true);
    w->setIconSize(QSize(16, 16));
    w->setItemDelegate(new GridDelegate(w));
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
    keep(list.itemChanged.connect([this](const ListItemChange &change) { itemChanged(change); }));
    forwardMouse(w->viewport());
    syncAll();
}

QTreeWidget *ListBinding::treeWidget() const { return static_cast<QTreeWidget *>(widget()); }

QTreeWidgetItem *ListBinding::itemOf(const ListItem *item) const { return m_stale ? nullptr : m_rows.value(item); }

ListItem *ListBinding::listItemOf(const QTreeWidgetItem *row) const
{
    return row ? reinterpret_cast<ListItem *>(row->data(0, kItemRole).value<quintptr>()) : nullptr;
}

void ListBinding::applyColors()
{
    QPalette p = widget()->palette();
    p.setColor(QPalette::Base, toQColor(m_list.backColor()));
    p.setColor(QPalette::Text, toQColor(m_list.foreColor()));
    widget()->setPalette(p);
}

QString ListBinding::columnSignature() const
{
    QString s;
    for (const ColumnHeader *c : m_list.columnHeaders())
        s += c->text() + QChar(1) + QString::number(int(c->alignment())) + QChar(2);
    return s;
}

void ListBinding::applyColumnWidths()
{
    SyncGuard guard(m_syncing);
    QHeaderView *header = treeWidget()->header();
    int i = 0;
    for (const ColumnHeader *c : m_list.columnHeaders()) {
        const int px = twipsToPixelsX(c->width(), widget());
        if (header->sectionSize(i) != px)
            header->resizeSection(i, px);
        ++i;
    }
}

void ListBinding::applyOptions()
{
    QTreeWidget *w = treeWidget();
    w->setHeaderHidden(m_list.view() != ListViewView::Report || m_list.hideColumnHeaders());
    w->setSelectionBehavior(m_list.fullRowSelect() ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    w->setFrameShape(m_list.borderStyle() == BorderStyle::FixedSingle ? QFrame::StyledPanel : QFrame::NoFrame);
    static_cast<GridDelegate *>(w->itemDelegate())->grid = m_list.gridLines() && m_list.view() == ListViewView::Report;
    w->viewport()->update();
}

void ListBinding::propertyChanged(const char *property)
{
    ControlBinding::propertyChanged(property);
    const QByteArrayView p(property);
    SyncGuard guard(m_syncing);
    if (p == "ColumnHeaders") {
        if (columnSignature() == m_columns && !m_stale) {
            applyColumnWidths();
        } else {
            m_stale = true;
            scheduleRebuild();
        }
    } else if (p == "SelectedItem") {
        if (!m_stale)
            syncSelection();
    } else if (p == "View" || p == "SmallIcons" || p == "Icons") {
        applyOptions();
        m_stale = true;
        scheduleRebuild();
    } else if (p == "FullRowSelect" || p == "GridLines" || p == "HideColumnHeaders" || p == "BorderStyle") {
        applyOptions();
        if (!m_stale)
            syncSelection();
    }
}

void ListBinding::itemChanged(const ListItemChange &change)
{
    using Kind = ListItemChange::Kind;
    if (m_rebuilding)
        return;
    SyncGuard guard(m_syncing);
    switch (change.kind) {
    case Kind::Added:
    case Kind::Reordered:
        m_stale = true;
        scheduleRebuild();
        return;
    case Kind::Removing:
        if (QTreeWidgetItem *row = m_rows.take(change.item))
            row->setData(0, kItemRole, QVariant::fromValue<quintptr>(0));
        m_stale = true;
        scheduleRebuild();
        return;
    case Kind::Cleared:
        for (QTreeWidgetItem *row : std::as_const(m_rows))
            row->setData(0, kItemRole, QVariant::fromValue<quintptr>(0));
        m_rows.clear();
        m_stale = true;
        scheduleRebuild();
        return;
    case Kind::Property:
        break;
    }
    if (m_stale)
        return;
    QTreeWidgetItem *row = m_rows.value(change.item);
    if (!row)
        return;
    const QByteArrayView p(change.property ? change.property : "");
    if (p == "Selected") {
        syncSelection();
    } else if (p == "EnsureVisible") {
        treeWidget()->scrollToItem(row);
    } else if (p == "Text" || p == "SubItems") {
        // The list keeps sorted lists in order on the next read; a new text may move the row.
        if (m_list.sorted()) {
            m_stale = true;
            scheduleRebuild();
        } else {
            writeRow(row, change.item);
        }
    } else {
        writeRow(row, change.item);
    }
}

void ListBinding::writeRow(QTreeWidgetItem *row, const ListItem *item)
{
    const int columns = std::max(1, m_list.columnHeaders().count());
    for (int c = 0; c < columns; ++c) {
        row->setText(c, item->columnText(c));
        if (c > 0 && c <= m_list.columnHeaders().count())
            row->setTextAlignment(c, (alignmentOf(m_list.columnHeaders()(c + 1)->alignment())));
    }
    const bool large = m_list.view() == ListViewView::Icon;
    const QString key = large ? item->icon() : item->smallIcon();
    QIcon icon;
    if (!key.isEmpty()) {
        auto it = m_icons.constFind(key);
        if (it != m_icons.constEnd()) {
            icon = *it;
        } else {
            icon = imageIcon(large ? m_list.icons() : m_list.smallIcons(), key);
            m_icons.insert(key, icon);
        }
    }
    row->setIcon(0, icon);
    QColor fore = toQColor(item->foreColor());
    if (item->ghosted())
        fore = toQColor(vbGrayText);
    for (int c = 0; c < columns; ++c) {
        if (fore != QColor(Qt::black))
            row->setForeground(c, fore);
        else
            row->setData(c, Qt::ForegroundRole, QVariant());
        QFont font = row->font(c);
        if (font.bold() != item->bold()) {
            font.setBold(item->bold());
            row->setFont(c, font);
        }
    }
}

void ListBinding::syncSelection()
{
    QTreeWidget *w = treeWidget();
    QItemSelectionModel *selection = w->selectionModel();
    const auto flags = QItemSelectionModel::Select
                       | (m_list.fullRowSelect() ? QItemSelectionModel::Rows : QItemSelectionModel::NoUpdate);
    selection->clearSelection();
    for (auto it = m_rows.constBegin(); it != m_rows.constEnd(); ++it) {
        if (it.key()->selected())
            selection->select(w->indexFromItem(it.value(), 0), flags);
    }
    ListItem *current = m_list.selectedItem();
    QTreeWidgetItem *row = current ? m_rows.value(current) : nullptr;
    selection->setCurrentIndex(row ? w->indexFromItem(row, 0) : QModelIndex(), QItemSelectionModel::NoUpdate);
}

void ListBinding::rebuild()
{
    SyncGuard guard(m_syncing);
    QTreeWidget *w = treeWidget();
    m_rebuilding = true;
    m_stale = false;
    m_icons.clear();
    const bool updates = w->updatesEnabled();
    w->setUpdatesEnabled(false);
    w->clear();
    m_rows.clear();
    const int count = m_list.columnHeaders().count();
    w->setColumnCount(std::max(1, count));
    QStringList labels;
    for (const ColumnHeader *c : m_list.columnHeaders())
        labels << c->text();
    if (labels.isEmpty())
        labels << QString();
    w->setHeaderLabels(labels);
    QTreeWidgetItem *header = w->headerItem();
    int i = 0;
    for (const ColumnHeader *c : m_list.columnHeaders())
        header->setTextAlignment(i++, (alignmentOf(c->alignment())));
    m_columns = columnSignature();
    applyColumnWidths();
    // A report without columns shows a bare header across the list.
    w->header()->setStretchLastSection(count == 0);
    applyOptions();

    QList<QTreeWidgetItem *> rows;
    rows.reserve(m_list.listItems().count());
    for (ListItem *item : m_list.listItems()) {
        auto *row = new QTreeWidgetItem;
        row->setData(0, kItemRole, QVariant::fromValue(reinterpret_cast<quintptr>(item)));
        writeRow(row, item);
        m_rows.insert(item, row);
        rows.append(row);
    }
    w->addTopLevelItems(rows);
    syncSelection();
    m_rebuilding = false;
    w->setUpdatesEnabled(updates);
}

void ListBinding::userClick(QTreeWidgetItem *row)
{
    ListItem *item = listItemOf(row);
    if (!item)
        return;
    userOperation([&] { m_list.clickItem(item); });
    if (!m_stale) {
        SyncGuard guard(m_syncing);
        syncSelection();
    }
}

void ListBinding::userDoubleClick()
{
    userOperation([&] { m_list.doubleClick(); });
}

bool ListBinding::userKey(QKeyEvent *event)
{
    const int code = vbKeyCode(event->key());
    if (code == 0)
        return false;
    int result = code;
    userOperation([&] { result = m_list.pressKey(code, vbShift(event->modifiers())); });
    return result == 0;
}

} // namespace gui
