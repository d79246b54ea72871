#include "support/error_number.h"
#include "controls/list_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using testing_support::errorNumber;
using namespace controls;

namespace {
QStringList rows(const ListView &list)
{
    QStringList result;
    for (const ListItem *item : list.listItems()) {
        QString row = item->text();
        for (int i = 1; i < list.columnHeaders().count(); ++i)
            row += "|" + item->subItem(i);
        result << row;
    }
    return result;
}

void addColumns(ListView &list, const QStringList &names)
{
    for (const QString &name : names)
        list.columnHeaders().add(0, {}, name);
}

void addRow(ListView &list, const QString &key, const QStringList &cells)
{
    ListItem *item = list.listItems().add(0, key, cells.value(0));
    for (int i = 1; i < cells.size(); ++i)
        item->setSubItem(i, cells[i]);
}

} // namespace

TEST(ListView, ColumnHeadersKeepWidthAlignmentAndOrder)
{
    ListView list;
    list.columnHeaders().add(0, "name", "Procedure");
    list.columnHeaders().add(0, "line", "Line", 800, ColumnAlignment::Right);
    list.columnHeaders().add(2, "type", "Type", 1000, ColumnAlignment::Center);
    QStringList seen;
    for (const ColumnHeader *c : list.columnHeaders())
        seen << QStringLiteral("%1 %2 %3 %4").arg(c->index()).arg(c->text()).arg(c->width()).arg(int(c->alignment()));
    EXPECT_EQ(seen, (QStringList{"1 Procedure 1440 0", "2 Type 1000 2", "3 Line 800 1"}));

    // The first column reads left-aligned whatever it was given.
    list.columnHeaders().add(1, {}, "First", -1, ColumnAlignment::Right);
    EXPECT_EQ(list.columnHeaders().item(1)->alignment(), ColumnAlignment::Left);
    list.columnHeaders().item("line")->setWidth(-5);
    EXPECT_EQ(list.columnHeaders().item("line")->width(), 0);
    EXPECT_EQ(errorNumber([&] { list.columnHeaders().add(9); }), 35600);
    EXPECT_EQ(errorNumber([&] { list.columnHeaders().add(0, "name"); }), 35602);
    EXPECT_EQ(errorNumber([&] { list.columnHeaders().item("nope"); }), 35601);
    list.columnHeaders().remove("type");
    EXPECT_EQ(list.columnHeaders().item("line")->index(), 3);
    list.columnHeaders().clear();
    EXPECT_EQ(list.columnHeaders().count(), 0);
}

TEST(ListView, SubItemsAreBoundByTheColumns)
{
    ListView list;
    ListItem *item = list.listItems().add(0, "r", "row");
    EXPECT_EQ(errorNumber([&] { item->setSubItem(1, "x"); }), 380); // no columns yet
    addColumns(list, {"A", "B", "C"});
    struct Case {
        int index;
        int number;
    };
    for (const Case &c : {Case{0, 380}, Case{1, 0}, Case{2, 0}, Case{3, 380}, Case{-1, 380}}) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(errorNumber([&] { item->setSubItem(c.index, "v"); }), c.number);
        EXPECT_EQ(errorNumber([&] { item->subItem(c.index); }), c.number);
    }
    item->setSubItem(2, "two");
    EXPECT_EQ(item->subItem(1), "v");
    EXPECT_EQ(item->subItem(2), "two");
    EXPECT_EQ(item->columnText(7), QString());
}

TEST(ListView, ItemsByIndexAndKey)
{
    ListView list;
    addColumns(list, {"A"});
    list.listItems().add(0, "k1", "one");
    list.listItems().add(0, {}, "no key");
    list.listItems().add(1, "k0", "zero");
    EXPECT_EQ(rows(list), (QStringList{"zero", "one", "no key"}));
    EXPECT_EQ(list.listItems().item("k1")->index(), 2);
    EXPECT_EQ(list.listItems().item(3)->text(), "no key");
    const struct {
        const char *what;
        std::function<void()> statement;
        int number;
    } cases[] = {
        {"duplicate key", [&] { list.listItems().add(0, "k1", "again"); }, 35602},
        {"numeric key", [&] { list.listItems().add(0, "42", "answer"); }, 35603},
        {"index past end", [&] { list.listItems().add(5, "k9", "late"); }, 35600},
        {"unknown key", [&] { list.listItems().item("k9"); }, 35601},
        {"index 0", [&] { list.listItems().item(0); }, 35600},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(errorNumber(c.statement), c.number);
    }
    EXPECT_EQ(list.listItems().count(), 3);
    list.listItems().remove("k0");
    EXPECT_EQ(list.listItems().item("k1")->index(), 1);
    EXPECT_NO_THROW(list.listItems().add(0, "k0", "zero again"));
}

TEST(ListView, SmallIconsAreCheckedAgainstTheBoundImageList)
{
    ListView list;
    ImageList images;
    images.listImages().add(0, "METHOD", host::Picture(QByteArray("any bytes")));
    list.listItems().add(0, {}, "before binding", {}, "ANYTHING");
    list.setSmallIcons(&images);
    EXPECT_EQ(errorNumber([&] { list.listItems().add(0, {}, "bad", {}, "PROPERTY"); }), 35601);
    EXPECT_EQ(list.listItems().count(), 1);
    ListItem *item = list.listItems().add(0, {}, "good", {}, "METHOD");
    EXPECT_EQ(item->smallIcon(), "METHOD");
    EXPECT_EQ(errorNumber([&] { item->setSmallIcon("DECLARE"); }), 35601);
}

TEST(ListView, SortedListOrdersByTheSortColumn)
{
    struct Case {
        int sortKey;
        SortOrder order;
        QStringList expected;
    };
    const Case cases[] = {
        {0, SortOrder::Ascending, {"alpha|9|x", "Beta|10|y", "beta|2|z", "gamma|1|x"}},
        {0, SortOrder::Descending, {"gamma|1|x", "Beta|10|y", "beta|2|z", "alpha|9|x"}},
        // Text order, not numeric: "10" before "2".
        {1, SortOrder::Ascending, {"gamma|1|x", "Beta|10|y", "beta|2|z", "alpha|9|x"}},
        {2, SortOrder::Ascending, {"gamma|1|x", "alpha|9|x", "Beta|10|y", "beta|2|z"}},
        {2, SortOrder::Descending, {"beta|2|z", "Beta|10|y", "gamma|1|x", "alpha|9|x"}},
        {5, SortOrder::Ascending, {"gamma|1|x", "Beta|10|y", "alpha|9|x", "beta|2|z"}},
    };
    for (const Case &c : cases) {
        ListView list;
        addColumns(list, {"Name", "Count", "Kind"});
        // Sorting switched on before the rows come, sub-items set after each Add.
        list.setSorted(true);
        list.setSortKey(c.sortKey);
        list.setSortOrder(c.order);
        addRow(list, "g", {"gamma", "1", "x"});
        addRow(list, "B", {"Beta", "10", "y"});
        addRow(list, "a", {"alpha", "9", "x"});
        addRow(list, "b", {"beta", "2", "z"});
        SCOPED_TRACE(c.sortKey);
        EXPECT_EQ(rows(list), c.expected);
    }
}

TEST(ListView, UnsortedListKeepsAddOrderAndSortingLaterReorders)
{
    ListView list;
    addColumns(list, {"Name"});
    for (const char *t : {"c", "A", "b"})
        list.listItems().add(0, {}, t);
    EXPECT_EQ(rows(list), (QStringList{"c", "A", "b"}));
    list.setSorted(true);
    EXPECT_EQ(rows(list), (QStringList{"A", "b", "c"}));
    list.listItems().item(1)->setText("z");
    EXPECT_EQ(rows(list), (QStringList{"b", "c", "z"}));
    list.setSorted(false);
    list.listItems().add(1, {}, "first");
    EXPECT_EQ(rows(list), (QStringList{"first", "b", "c", "z"}));
}

TEST(ListView, FortyThousandKeyedRowsStaySortedAndFindable)
{
    constexpr int kRows = 40000;
    ListView list;
    addColumns(list, {"Procedure", "Module"});
    list.setSorted(true);
    std::mt19937 random(7);
    QList<std::pair<QString, QString>> expected; // (text, key) in add order
    for (int i = 0; i < kRows; ++i) {
        const QString text = QStringLiteral("Proc%1").arg(random() % 5000);
        const QString key = QStringLiteral("k%1").arg(i);
        ListItem *item = list.listItems().add(0, key, text);
        item->setSubItem(1, QStringLiteral("Module%1").arg(i % 37));
        expected.append({text, key});
    }
    std::stable_sort(expected.begin(), expected.end(),
                     [](const auto &a, const auto &b) { return compareText(a.first, b.first) < 0; });
    ASSERT_EQ(list.listItems().count(), kRows);
    int position = 0;
    bool inOrder = true;
    for (const ListItem *item : list.listItems()) {
        inOrder = inOrder && item->key() == expected[position].second && item->index() == position + 1;
        ++position;
    }
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(list.listItems().item("k39999")->subItem(1), QStringLiteral("Module%1").arg(39999 % 37));
    EXPECT_EQ(list.listItems().item(1)->key(), expected.front().second);
    list.listItems().remove("k123");
    EXPECT_EQ(list.listItems().count(), kRows - 1);
    EXPECT_EQ(list.listItems().find("k123"), nullptr);
}

TEST(ListView, SelectionAndUserEvents)
{
    ListView list;
    addColumns(list, {"A"});
    ListItem *one = list.listItems().add(0, "one", "One");
    ListItem *two = list.listItems().add(0, "two", "Two");
    QStringList log;
    auto s1 = list.itemClick.connect([&](ListItem *i) { log << "ItemClick " + i->key(); });
    auto s2 = list.click.connect([&] { log << "Click"; });
    auto s3 = list.columnClick.connect([&](ColumnHeader *c) { log << "ColumnClick " + c->text(); });
    auto s4 = list.dblClick.connect([&] { log << "DblClick"; });
    auto s5 = list.keyDown.connect([&](int &code, int shift) {
        log << QStringLiteral("KeyDown %1 %2").arg(code).arg(shift);
        code = 0;
    });

    one->setSelected(true); // no event
    EXPECT_EQ(list.selectedItem(), one);
    list.clickItem(two);
    EXPECT_FALSE(one->selected());
    EXPECT_TRUE(two->selected());
    list.clickColumn(list.columnHeaders().item(1));
    list.doubleClick();
    EXPECT_EQ(list.pressKey(vbKeyReturn), 0);
    EXPECT_EQ(log, (QStringList{"ItemClick two", "Click", "ColumnClick A", "DblClick", "KeyDown 13 0"}));

    list.listItems().remove("two");
    EXPECT_EQ(list.selectedItem(), nullptr);
    one->setSelected(true);
    list.listItems().clear();
    EXPECT_EQ(list.selectedItem(), nullptr);
}

TEST(ListView, MultiSelectKeepsSeveralSelected)
{
    ListView list;
    list.setMultiSelect(true);
    ListItem *a = list.listItems().add(0, {}, "a");
    ListItem *b = list.listItems().add(0, {}, "b");
    a->setSelected(true);
    b->setSelected(true);
    EXPECT_TRUE(a->selected());
    EXPECT_TRUE(b->selected());
    list.setMultiSelect(false);
    EXPECT_FALSE(a->selected());
    EXPECT_TRUE(b->selected());
}

TEST(ListView, ItemChangesAreReportedAroundEachChangeAndSortingWaitsForAReadOrARenderer)
{
    ListView list;
    addColumns(list, {"Name"});
    list.setSorted(true);
    QStringList log;
    auto s = list.itemChanged.connect([&](const ListItemChange &c) {
        static const char *kinds[] = {"Adding",   "Added",    "Removing",   "Removed",  "Clearing",
                                      "Cleared",  "Property", "Reordering", "Reordered"};
        QString entry = QStringLiteral("%1 %2").arg(QLatin1String(kinds[static_cast<int>(c.kind)])).arg(c.row);
        if (c.item)
            entry += " " + c.item->text();
        if (c.kind == ListItemChange::Kind::Property)
            entry += QStringLiteral(" ") + QLatin1String(propertyName(c.property));
        // A renderer reads the count on each side of the change.
        entry += QStringLiteral(" n=%1").arg(list.listItems().count());
        log << entry;
    });
    addRow(list, "b", {"beta"});
    addRow(list, "a", {"alpha"});
    // Added at the end, in the order as it stands; the sort waits.
    EXPECT_TRUE(list.listItems().sortPending());
    EXPECT_EQ(ListItems::rowOf(list.listItems().find("a")), 1);
    EXPECT_EQ(list.listItems().itemAtRow(1)->text(), "alpha");
    list.listItems().sortNow();
    EXPECT_FALSE(list.listItems().sortPending());
    list.listItems().find("b")->setText("aardvark");
    EXPECT_TRUE(list.listItems().sortPending());
    list.listItems().remove("b"); // a read by key: no sort needed
    list.listItems().clear();
    EXPECT_EQ(log, (QStringList{"Adding 0 n=0", "Added 0 beta n=1", "Adding 1 n=1", "Added 1 alpha n=2",
                                "Reordering -1 n=2", "Reordered -1 n=2", "Property 1 aardvark Text n=2",
                                "Removing 1 aardvark n=2", "Removed 1 n=1", "Clearing -1 n=1", "Cleared -1 n=0"}));
}
