#pragma once
// ListView (MSComctlLib 6), report view first: column headers, keyed items with sub-items,
// selection and the control's own sorting by one column's text.
#include "controls/control.h"
#include "controls/image_list.h"
#include "controls/item_list.h"

namespace controls {

class ListView;

/// ListViewConstants (lvwIcon ... lvwReport).
enum class ListViewView { Icon = 0, SmallIcon = 1, List = 2, Report = 3 };
/// ListColumnAlignmentConstants.
enum class ColumnAlignment { Left = 0, Right = 1, Center = 2 };
/// ListSortOrderConstants.
enum class SortOrder { Ascending = 0, Descending = 1 };

/// Default width of a column added without one (twips).
inline constexpr int kDefaultColumnWidth = 1440;

class ColumnHeader : public KeyedItem {
public:
    ListView &listView() const { return *m_view; }
    const QString &text() const { return m_text; }
    void setText(const QString &text);
    /// Twips.
    int width() const { return m_width; }
    /// Negative widths become 0.
    void setWidth(int twips);
    /// The first column is always drawn left-aligned and reads Left.
    ColumnAlignment alignment() const;
    void setAlignment(ColumnAlignment alignment);
    const QString &tag() const { return m_tag; }
    void setTag(const QString &tag);
    const QString &icon() const { return m_icon; }
    void setIcon(const QString &icon);
    /// The sub-item the column shows: 0 for the item's text, n for SubItems(n).
    int subItemIndex() const { return index() - 1; }

private:
    friend class ColumnHeaders;
    void changed();
    ListView *m_view = nullptr; // not owned
    QString m_text;
    int m_width = kDefaultColumnWidth;
    ColumnAlignment m_alignment = ColumnAlignment::Left;
    QString m_tag;
    QString m_icon;
};

class ColumnHeaders {
public:
    explicit ColumnHeaders(ListView &view) : m_view(view) {}

    /// Add([Index], [Key], [Text], [Width], [Alignment], [Icon]): index 0 appends, a
    /// negative width takes the default.
    ColumnHeader *add(int index = 0, const QString &key = {}, const QString &text = {}, int width = -1,
                      ColumnAlignment alignment = ColumnAlignment::Left, const QString &icon = {});
    int count() const { return m_items.count(); }
    ColumnHeader *item(const ItemRef &ref) const { return m_items.item(ref); }
    ColumnHeader *operator()(const ItemRef &ref) const { return item(ref); }
    ColumnHeader *find(const QString &key) const { return m_items.find(key); }
    void remove(const ItemRef &ref);
    void clear();
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    ListView &m_view;
    ItemList<ColumnHeader> m_items;
};

class ListItem : public KeyedItem {
public:
    ListView &listView() const { return *m_view; }
    /// 1-based position in the list's current (sorted) order.
    int index() const;
    void setKey(const QString &key);
    const QString &text() const { return m_text; }
    void setText(const QString &text);
    const QString &tag() const { return m_tag; }
    void setTag(const QString &tag);
    /// Image keys of the Icons / SmallIcons image lists; 35601 for a key they lack.
    const QString &icon() const { return m_icon; }
    void setIcon(const QString &icon);
    const QString &smallIcon() const { return m_smallIcon; }
    void setSmallIcon(const QString &icon);
    bool selected() const { return m_selected; }
    /// No ItemClick event. Without MultiSelect the previous selection is dropped.
    void setSelected(bool selected);
    bool ghosted() const { return m_ghosted; }
    void setGhosted(bool ghosted);
    bool bold() const { return m_bold; }
    void setBold(bool bold);
    OleColor foreColor() const { return m_foreColor; }
    void setForeColor(OleColor color);

    /// SubItems(i), 1 <= i < ColumnHeaders.Count; 380 outside. Unset ones read empty.
    QString subItem(int i) const;
    void setSubItem(int i, const QString &text);
    /// Column text without range check: 0 is the text, n SubItems(n) (empty if never set).
    QString columnText(int subItemIndex) const;

    /// Asks the renderer to scroll the item into view; always true.
    bool ensureVisible();

private:
    friend class ListItems;
    friend class ListView;
    void changed(Property property);
    ListView *m_view = nullptr; // not owned
    QString m_text;
    QString m_tag;
    QString m_icon;
    QString m_smallIcon;
    QStringList m_subItems;
    OleColor m_foreColor = vbWindowText;
    bool m_selected = false;
    bool m_ghosted = false;
    bool m_bold = false;
};

/// What changed in a list's items, for renderers.
struct ListItemChange {
    using Kind = ItemChange;
    Kind kind;
    /// The item added (Added), about to be removed (Removing) or changed (Property).
    ListItem *item = nullptr;
    /// Adding, Added, Removing, Removed, Property: the 0-based row in the order as it stands.
    int row = -1;
    Property property{};
};

/// The ListItems collection, 1-based in display order. While the list is Sorted, items
/// are kept in order of the sort column (sorting happens when the order is next read, or
/// when the renderer is idle, so filling 40,000 rows costs one sort).
class ListItems {
public:
    explicit ListItems(ListView &view) : m_view(view) {}

    /// Add([Index], [Key], [Text], [Icon], [SmallIcon]): index 0 appends. 35600 for a bad
    /// index, 35602/35603 for the key, 35601 for an unknown image; nothing is added then.
    /// While the list is Sorted the item takes its place in sort order whatever the index.
    ListItem *add(int index = 0, const QString &key = {}, const QString &text = {},
                  const QString &icon = {}, const QString &smallIcon = {});
    int count() const { return m_items.count(); }
    /// By index (35600) or key (35601).
    ListItem *item(const ItemRef &ref) const;
    ListItem *operator()(const ItemRef &ref) const { return item(ref); }
    ListItem *find(const QString &key) const { return m_items.find(key); }
    void remove(const ItemRef &ref);
    void clear();

    ItemList<ListItem>::const_iterator begin() const;
    ItemList<ListItem>::const_iterator end() const;

    // For renderers, which must read the order as it stands: a read above may sort first.
    /// The item in 0-based `row`, without sorting first.
    ListItem *itemAtRow(int row) const { return m_items.storage()[std::size_t(row)].get(); }
    /// The 0-based row of `item`, without sorting first; -1 once it is removed.
    static int rowOf(const ListItem *item) { return item->KeyedItem::index() - 1; }
    /// True while items wait to be put in sort order (the next read sorts them).
    bool sortPending() const;
    /// Puts waiting items in sort order now.
    void sortNow() const { ensureSorted(); }

private:
    friend class ListItem;
    friend class ListView;
    void ensureSorted() const;
    void markUnsorted() const { m_fullResort = true; }

    ListView &m_view;
    mutable ItemList<ListItem> m_items;
    mutable std::size_t m_sortedCount = 0; // leading items known to be in order
    mutable bool m_fullResort = false;
    mutable bool m_sorting = false;
};

class ListView : public Control {
public:
    explicit ListView(const QString &name = {});
    ~ListView() override;
    QString className() const override { return QStringLiteral("ListView"); }

    ColumnHeaders &columnHeaders() { return m_columns; }
    const ColumnHeaders &columnHeaders() const { return m_columns; }
    ListItems &listItems() { return m_items; }
    const ListItems &listItems() const { return m_items; }

    ListItem *selectedItem() const { return m_selected; }
    /// No ItemClick event; nullptr clears the selection.
    void setSelectedItem(ListItem *item);

    ListViewView view() const { return m_view; }
    void setView(ListViewView view);
    bool sorted() const { return m_sorted; }
    /// True sorts now and keeps the items in order from then on.
    void setSorted(bool sorted);
    /// 0-based column: 0 sorts by the text, n by SubItems(n). Negative raises 380.
    int sortKey() const { return m_sortKey; }
    void setSortKey(int column);
    SortOrder sortOrder() const { return m_sortOrder; }
    void setSortOrder(SortOrder order);
    bool fullRowSelect() const { return m_fullRowSelect; }
    void setFullRowSelect(bool fullRow);
    bool gridLines() const { return m_gridLines; }
    void setGridLines(bool gridLines);
    LabelEdit labelEdit() const { return m_labelEdit; }
    void setLabelEdit(LabelEdit edit);
    bool hideSelection() const { return m_hideSelection; }
    void setHideSelection(bool hide);
    bool hideColumnHeaders() const { return m_hideColumnHeaders; }
    void setHideColumnHeaders(bool hide);
    bool multiSelect() const { return m_multiSelect; }
    void setMultiSelect(bool multi);
    bool hotTracking() const { return m_hotTracking; }
    void setHotTracking(bool hotTracking);
    BorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(BorderStyle style);
    Appearance appearance() const { return m_appearance; }
    void setAppearance(Appearance appearance);

    ImageList *icons() const { return m_icons.get(); }
    void setIcons(ImageList *list);
    ImageList *smallIcons() const { return m_smallIcons.get(); }
    void setSmallIcons(ImageList *list);
    ImageList *columnHeaderIcons() const { return m_columnHeaderIcons.get(); }
    void setColumnHeaderIcons(ImageList *list);

    void copyPropertiesFrom(const Control &other) override;

    // User operations.
    /// Raises ColumnClick (the control does not sort by itself).
    void clickColumn(ColumnHeader *column);
    /// Selects the item and raises ItemClick, then Click. Ignored while disabled.
    void clickItem(ListItem *item);
    /// Raises DblClick.
    void doubleClick();
    /// Raises KeyDown; returns the key code as the handlers left it.
    int pressKey(int keyCode, int shift = 0);

    host::Signal<ColumnHeader *> columnClick;
    host::Signal<ListItem *> itemClick;
    /// Items added, removed, changed or reordered, for renderers.
    host::Signal<const ListItemChange &> itemChanged;

private:
    friend class ColumnHeaders;
    friend class ColumnHeader;
    friend class ListItems;
    friend class ListItem;

    ColumnHeaders m_columns{*this};
    ListItems m_items{*this};
    ListItem *m_selected = nullptr;
    ListViewView m_view = ListViewView::Icon;
    bool m_sorted = false;
    int m_sortKey = 0;
    SortOrder m_sortOrder = SortOrder::Ascending;
    bool m_fullRowSelect = false;
    bool m_gridLines = false;
    LabelEdit m_labelEdit = LabelEdit::Automatic;
    bool m_hideSelection = true;
    bool m_hideColumnHeaders = false;
    bool m_multiSelect = false;
    bool m_hotTracking = false;
    BorderStyle m_borderStyle = BorderStyle::FixedSingle;
    Appearance m_appearance = Appearance::ThreeD;
    ImageListBinding m_icons;
    ImageListBinding m_smallIcons;
    ImageListBinding m_columnHeaderIcons;
};

} // namespace controls
