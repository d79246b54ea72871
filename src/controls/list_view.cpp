#include "controls/list_view.h"

#include <algorithm>

namespace controls {

// ---- ColumnHeader ----------------------------------------------------------------------

void ColumnHeader::changed()
{
    m_view->notify(Property::ColumnHeaders);
}

void ColumnHeader::setText(const QString &text)
{
    if (assign(m_text, text))
        changed();
}

void ColumnHeader::setWidth(int twips)
{
    twips = std::max(0, twips);
    if (assign(m_width, twips))
        changed();
}

ColumnAlignment ColumnHeader::alignment() const
{
    return index() == 1 ? ColumnAlignment::Left : m_alignment;
}

void ColumnHeader::setAlignment(ColumnAlignment alignment)
{
    const int value = static_cast<int>(alignment);
    if (value < 0 || value > 2)
        throw controlError(err::InvalidPropertyValue);
    if (assign(m_alignment, alignment))
        changed();
}

void ColumnHeader::setTag(const QString &tag)
{
    m_tag = tag;
}

void ColumnHeader::setIcon(const QString &icon)
{
    m_view->m_columnHeaderIcons.checkImage(icon);
    if (assign(m_icon, icon))
        changed();
}

// ---- ColumnHeaders ---------------------------------------------------------------------

ColumnHeader *ColumnHeaders::add(int index, const QString &key, const QString &text, int width,
                                 ColumnAlignment alignment, const QString &icon)
{
    const int position = m_items.insertPosition(index);
    m_items.checkNewKey(key);
    const int align = static_cast<int>(alignment);
    if (align < 0 || align > 2)
        throw controlError(err::InvalidPropertyValue);
    m_view.m_columnHeaderIcons.checkImage(icon);
    auto column = std::make_unique<ColumnHeader>();
    column->m_view = &m_view;
    column->m_text = text;
    column->m_width = width < 0 ? kDefaultColumnWidth : width;
    column->m_alignment = alignment;
    column->m_icon = icon;
    ColumnHeader *added = m_items.insert(position, key, std::move(column));
    m_view.notify(Property::ColumnHeaders);
    return added;
}

void ColumnHeaders::remove(const ItemRef &ref)
{
    m_items.take(m_items.item(ref));
    m_view.notify(Property::ColumnHeaders);
}

void ColumnHeaders::clear()
{
    if (m_items.isEmpty())
        return;
    m_items.clear();
    m_view.notify(Property::ColumnHeaders);
}

// ---- ListItem --------------------------------------------------------------------------

void ListItem::changed(Property property)
{
    m_view->itemChanged.raise(ListItemChange{ListItemChange::Kind::Property, this, ListItems::rowOf(this), property});
}

int ListItem::index() const
{
    if (KeyedItem::index() == 0)
        return 0;
    m_view->m_items.ensureSorted();
    return KeyedItem::index();
}

void ListItem::setKey(const QString &key)
{
    if (KeyedItem::index() == 0)
        throw controlError(err::ElementNotFound);
    m_view->m_items.m_items.setKey(this, key);
    changed(Property::Key);
}

void ListItem::setText(const QString &text)
{
    if (!assign(m_text, text))
        return;
    if (m_view->m_sorted && m_view->m_sortKey == 0)
        m_view->m_items.markUnsorted();
    changed(Property::Text);
}

void ListItem::setTag(const QString &tag)
{
    m_tag = tag;
}

void ListItem::setIcon(const QString &icon)
{
    m_view->m_icons.checkImage(icon);
    if (assign(m_icon, icon))
        changed(Property::Icon);
}

void ListItem::setSmallIcon(const QString &icon)
{
    m_view->m_smallIcons.checkImage(icon);
    if (assign(m_smallIcon, icon))
        changed(Property::SmallIcon);
}

void ListItem::setSelected(bool selected)
{
    if (selected) {
        m_view->setSelectedItem(this);
        return;
    }
    if (!m_selected)
        return;
    m_selected = false;
    if (m_view->m_selected == this) {
        m_view->m_selected = nullptr;
        m_view->notify(Property::SelectedItem);
    }
    changed(Property::Selected);
}

void ListItem::setGhosted(bool ghosted)
{
    if (assign(m_ghosted, ghosted))
        changed(Property::Ghosted);
}

void ListItem::setBold(bool bold)
{
    if (assign(m_bold, bold))
        changed(Property::Bold);
}

void ListItem::setForeColor(OleColor color)
{
    if (assign(m_foreColor, color))
        changed(Property::ForeColor);
}

QString ListItem::subItem(int i) const
{
    if (i < 1 || i >= m_view->m_columns.count())
        throw controlError(err::InvalidPropertyValue);
    return columnText(i);
}

void ListItem::setSubItem(int i, const QString &text)
{
    if (i < 1 || i >= m_view->m_columns.count())
        throw controlError(err::InvalidPropertyValue);
    if (m_subItems.size() < i)
        m_subItems.resize(i);
    if (m_subItems[i - 1] == text)
        return;
    m_subItems[i - 1] = text;
    if (m_view->m_sorted && m_view->m_sortKey == i)
        m_view->m_items.markUnsorted();
    changed(Property::SubItems);
}

QString ListItem::columnText(int subItemIndex) const
{
    if (subItemIndex == 0)
        return m_text;
    if (subItemIndex < 0 || subItemIndex > m_subItems.size())
        return {};
    return m_subItems[subItemIndex - 1];
}

bool ListItem::ensureVisible()
{
    changed(Property::EnsureVisible);
    return true;
}

// ---- ListItems -------------------------------------------------------------------------

ListItem *ListItems::add(int index, const QString &key, const QString &text, const QString &icon,
                         const QString &smallIcon)
{
    int position = m_items.insertPosition(index);
    m_items.checkNewKey(key);
    m_view.m_icons.checkImage(icon);
    m_view.m_smallIcons.checkImage(smallIcon);
    // A sorted list places the item on its next read; keep the unsorted tail contiguous.
    if (m_view.m_sorted)
        position = m_items.count() + 1;
    else
        m_sortedCount = 0;
    m_view.itemChanged.raise(ListItemChange{ListItemChange::Kind::Adding, nullptr, position - 1});
    auto item = std::make_unique<ListItem>();
    item->m_view = &m_view;
    item->m_text = text;
    item->m_icon = icon;
    item->m_smallIcon = smallIcon;
    ListItem *added = m_items.insert(position, key, std::move(item));
    m_view.itemChanged.raise(ListItemChange{ListItemChange::Kind::Added, added, position - 1});
    return added;
}

ListItem *ListItems::item(const ItemRef &ref) const
{
    if (ref.isKey())
        return m_items.item(ref);
    ensureSorted();
    return m_items.item(ref);
}

ItemList<ListItem>::const_iterator ListItems::begin() const
{
    ensureSorted();
    return m_items.begin();
}

ItemList<ListItem>::const_iterator ListItems::end() const
{
    return m_items.end();
}

void ListItems::remove(const ItemRef &ref)
{
    ListItem *item = this->item(ref);
    const int row = rowOf(item);
    m_view.itemChanged.raise(ListItemChange{ListItemChange::Kind::Removing, item, row});
    if (static_cast<std::size_t>(row) < m_sortedCount)
        --m_sortedCount;
    const bool wasSelected = m_view.m_selected == item;
    m_items.take(item);
    m_view.itemChanged.raise(ListItemChange{ListItemChange::Kind::Removed, nullptr, row});
    if (wasSelected) {
        m_view.m_selected = nullptr;
        m_view.notify(Property::SelectedItem);
    }
}

void ListItems::clear()
{
    m_view.itemChanged.raise(ListItemChange{ListItemChange::Kind::Clearing});
    m_items.clear();
    m_sortedCount = 0;
    m_fullResort = false;
    m_view.itemChanged.raise(ListItemChange{ListItemChange::Kind::Cleared});
    if (m_view.m_selected) {
        m_view.m_selected = nullptr;
        m_view.notify(Property::SelectedItem);
    }
}

bool ListItems::sortPending() const
{
    return m_view.m_sorted && (m_fullResort || m_sortedCount != m_items.storage().size());
}

void ListItems::ensureSorted() const
{
    if (m_sorting || !sortPending())
        return;
    auto &items = m_items.storage();
    m_sorting = true;
    m_view.itemChanged.raise(ListItemChange{ListItemChange::Kind::Reordering});
    const int column = m_view.m_sortKey;
    const bool descending = m_view.m_sortOrder == SortOrder::Descending;
    auto less = [column, descending](const std::unique_ptr<ListItem> &a, const std::unique_ptr<ListItem> &b) {
        const int c = compareText(a->columnText(column), b->columnText(column));
        return descending ? c > 0 : c < 0;
    };
    if (m_fullResort || m_sortedCount > items.size()) {
        std::stable_sort(items.begin(), items.end(), less);
    } else {
        const auto middle = items.begin() + static_cast<std::ptrdiff_t>(m_sortedCount);
        std::stable_sort(middle, items.end(), less);
        std::inplace_merge(items.begin(), middle, items.end(), less);
    }
    m_items.renumber();
    m_sortedCount = items.size();
    m_fullResort = false;
    m_view.itemChanged.raise(ListItemChange{ListItemChange::Kind::Reordered});
    m_sorting = false;
}

// ---- ListView --------------------------------------------------------------------------

ListView::ListView(const QString &name) : Control(name)
{
    setBackColor(vbWindowBackground);
    setForeColor(vbWindowText);
}

ListView::~ListView() = default;

void ListView::setSelectedItem(ListItem *item)
{
    if (item && (&item->listView() != this || item->KeyedItem::index() == 0))
        throw controlError(err::ElementNotFound);
    if (m_selected == item && (!item || item->m_selected))
        return;
    if (!m_multiSelect) {
        if (m_selected && m_selected != item) {
            m_selected->m_selected = false;
            m_selected->changed(Property::Selected);
        }
    }
    m_selected = item;
    if (item && !item->m_selected) {
        item->m_selected = true;
        item->changed(Property::Selected);
    }
    notify(Property::SelectedItem);
}

void ListView::setView(ListViewView view)
{
    if (assign(m_view, view))
        notify(Property::View);
}

void ListView::setSorted(bool sorted)
{
    const bool was = m_sorted;
    m_sorted = sorted;
    if (sorted)
        m_items.markUnsorted();
    if (was != sorted)
        notify(Property::Sorted);
}

void ListView::setSortKey(int column)
{
    if (column < 0)
        throw controlError(err::InvalidPropertyValue);
    if (!assign(m_sortKey, column))
        return;
    m_items.markUnsorted();
    notify(Property::SortKey);
}

void ListView::setSortOrder(SortOrder order)
{
    if (!assign(m_sortOrder, order))
        return;
    m_items.markUnsorted();
    notify(Property::SortOrder);
}

void ListView::setFullRowSelect(bool fullRow)
{
    if (assign(m_fullRowSelect, fullRow))
        notify(Property::FullRowSelect);
}

void ListView::setGridLines(bool gridLines)
{
    if (assign(m_gridLines, gridLines))
        notify(Property::GridLines);
}

void ListView::setLabelEdit(LabelEdit edit)
{
    if (assign(m_labelEdit, edit))
        notify(Property::LabelEdit);
}

void ListView::setHideSelection(bool hide)
{
    if (assign(m_hideSelection, hide))
        notify(Property::HideSelection);
}

void ListView::setHideColumnHeaders(bool hide)
{
    if (assign(m_hideColumnHeaders, hide))
        notify(Property::HideColumnHeaders);
}

void ListView::setMultiSelect(bool multi)
{
    if (!assign(m_multiSelect, multi))
        return;
    if (!multi) {
        for (ListItem *item : m_items) {
            if (item->m_selected && item != m_selected) {
                item->m_selected = false;
                item->changed(Property::Selected);
            }
        }
    }
    notify(Property::MultiSelect);
}

void ListView::setHotTracking(bool hotTracking)
{
    if (assign(m_hotTracking, hotTracking))
        notify(Property::HotTracking);
}

void ListView::setBorderStyle(BorderStyle style)
{
    if (assign(m_borderStyle, style))
        notify(Property::BorderStyle);
}

void ListView::setAppearance(Appearance appearance)
{
    if (assign(m_appearance, appearance))
        notify(Property::Appearance);
}

void ListView::setIcons(ImageList *list)
{
    m_icons.set(list);
    notify(Property::Icons);
}

void ListView::setSmallIcons(ImageList *list)
{
    m_smallIcons.set(list);
    notify(Property::SmallIcons);
}

void ListView::setColumnHeaderIcons(ImageList *list)
{
    m_columnHeaderIcons.set(list);
    notify(Property::ColumnHeaderIcons);
}

void ListView::copyPropertiesFrom(const Control &other)
{
    Control::copyPropertiesFrom(other);
    const auto *list = dynamic_cast<const ListView *>(&other);
    if (!list)
        return;
    m_view = list->m_view;
    m_sorted = list->m_sorted;
    m_sortKey = list->m_sortKey;
    m_sortOrder = list->m_sortOrder;
    m_fullRowSelect = list->m_fullRowSelect;
    m_gridLines = list->m_gridLines;
    m_labelEdit = list->m_labelEdit;
    m_hideSelection = list->m_hideSelection;
    m_hideColumnHeaders = list->m_hideColumnHeaders;
    m_multiSelect = list->m_multiSelect;
    m_hotTracking = list->m_hotTracking;
    m_borderStyle = list->m_borderStyle;
    m_appearance = list->m_appearance;
    m_icons = list->m_icons;
    m_smallIcons = list->m_smallIcons;
    m_columnHeaderIcons = list->m_columnHeaderIcons;
}

void ListView::clickColumn(ColumnHeader *column)
{
    if (!enabled() || !column)
        return;
    columnClick.raise(column);
}

void ListView::clickItem(ListItem *item)
{
    if (!enabled() || !item)
        return;
    setSelectedItem(item);
    itemClick.raise(item);
    click.raise();
}

void ListView::doubleClick()
{
    if (!enabled())
        return;
    dblClick.raise();
}

int ListView::pressKey(int keyCode, int shift)
{
    if (!enabled())
        return keyCode;
    keyDown.raise(keyCode, shift);
    return keyCode;
}

} // namespace controls
