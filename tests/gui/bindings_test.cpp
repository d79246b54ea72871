// Each control model on a small form, rendered: the widget shows what the model holds and
// the widget's gestures arrive as the control's user operations.
#include "controls/controls.h"
#include "gui/bindings.h"
#include "gui/form_view.h"
#include "gui/qt_platform.h"
#include "gui/units.h"
#include "gui_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace controls;

namespace {

host::Picture swatch(QRgb color)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(color);
    return gui::toPicture(image);
}

class BindingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gui_test::app();
        form.move(0, 0, 9000, 8000);
        images.listImages().add(0, QStringLiteral("RED"), swatch(qRgb(255, 0, 0)));
        images.listImages().add(0, QStringLiteral("BLUE"), swatch(qRgb(0, 0, 255)));
        for (Control *c : std::initializer_list<Control *>{&list, &tree, &combo, &imageCombo, &check, &button, &label,
                                                           &status, &progress, &picture, &frame, &cool})
            c->setContainer(&form);
        inner.setContainer(&frame);
        toolbar.setContainer(&cool);
        list.move(0, 0, 4500, 3000);
        list.setView(ListViewView::Report);
        list.setSmallIcons(&images);
        list.setFullRowSelect(true);
        tree.move(4500, 0, 3000, 3000);
        tree.setImageList(&images);
        combo.move(0, 3000, 2000, 300);
        imageCombo.move(2000, 3000, 2000, 315);
        imageCombo.setImageList(&images);
        check.move(4000, 3000, 1500, 300);
        button.move(5500, 3000, 1500, 400);
        label.move(0, 3500, 2000, 300);
        picture.move(2000, 3500, 1500, 600);
        frame.move(0, 4200, 3000, 1500);
        inner.move(150, 300, 1200, 255);
        cool.move(3600, 4200, 5000, 0);
        toolbarBand = cool.bands().add(0, {}, {}, false, &toolbar);
        toolbarBand->setMinHeight(390);
        toolbarBand->setWidth(3000);
        toolbar.buttons().add(0, QStringLiteral("ONE"));
        progress.move(3600, 6000, 3000, 255);
        status.move(0, 7685, 9000, 315);
        status.panels().add(0, QStringLiteral("P1"), QStringLiteral("one"))->setWidth(3000);
        status.panels().add(0, QStringLiteral("P2"), QStringLiteral("two"))->setWidth(3000);
        view = std::make_unique<gui::FormView>(form);
        view->resize(600, 540);
        view->show();
    }
    void TearDown() override { view.reset(); }

    void flush()
    {
        QCoreApplication::processEvents();
        view->flush();
    }
    template <class W>
    W *widget(Control &c)
    {
        return qobject_cast<W *>(view->widgetFor(c));
    }
    /// The rows as the view gets them from its model.
    QStringList rows(QTreeView *w)
    {
        const QAbstractItemModel *m = w->model();
        QStringList out;
        for (int r = 0; r < m->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < m->columnCount(); ++c)
                cells << m->index(r, c).data().toString();
            out << cells.join(QLatin1Char('|'));
        }
        return out;
    }
    gui::ListBinding *listBinding() { return dynamic_cast<gui::ListBinding *>(view->bindingFor(list)); }
    gui::TreeBinding *treeBinding() { return dynamic_cast<gui::TreeBinding *>(view->bindingFor(tree)); }
    QRgb iconColor(const QModelIndex &index)
    {
        return index.data(Qt::DecorationRole).value<QIcon>().pixmap(16, 16).toImage().pixel(8, 8);
    }
    QStringList modelRows()
    {
        QStringList out;
        for (const ListItem *item : list.listItems()) {
            QStringList cells;
            for (int c = 0; c < list.columnHeaders().count(); ++c)
                cells << item->columnText(c);
            out << cells.join(QLatin1Char('|'));
        }
        return out;
    }
    void fillList()
    {
        list.columnHeaders().add(0, {}, QStringLiteral("Name"), 1500);
        list.columnHeaders().add(0, {}, QStringLiteral("Kind"), 1200, ColumnAlignment::Center);
        list.columnHeaders().add(0, {}, QStringLiteral("Lines"), 900, ColumnAlignment::Right);
        const char *data[][3] = {{"beta", "Sub", "12"}, {"alpha", "Function", "3"}, {"gamma", "Property", "40"}};
        for (const auto &row : data) {
            ListItem *item = list.listItems().add(0, {}, QString::fromUtf8(row[0]), {}, QStringLiteral("RED"));
            item->setSubItem(1, QString::fromUtf8(row[1]));
            item->setSubItem(2, QString::fromUtf8(row[2]));
        }
    }

    Form form{QStringLiteral("frmTest")};
    ImageList images{QStringLiteral("imgTest")};
    ListView list{QStringLiteral("lvwTest")};
    TreeView tree{QStringLiteral("tvwTest")};
    ComboBox combo{QStringLiteral("cboTest")};
    ImageCombo imageCombo{QStringLiteral("imgcboTest")};
    CheckBox check{QStringLiteral("chkTest")};
    CommandButton button{QStringLiteral("cmdTest")};
    Label label{QStringLiteral("lblTest")};
    StatusBar status{QStringLiteral("staTest")};
    ProgressBar progress{QStringLiteral("prgTest")};
    PictureBox picture{QStringLiteral("picTest")};
    Frame frame{QStringLiteral("fraTest")};
    Label inner{QStringLiteral("lblInner")};
    CoolBar cool{QStringLiteral("cbrTest")};
    Toolbar toolbar{QStringLiteral("tbrTest")};
    Band *toolbarBand = nullptr;
    std::unique_ptr<gui::FormView> view;
};

TEST_F(BindingsTest, ListShowsColumnsAndRowsInTheModelsOrder)
{
    fillList();
    list.setSortKey(2);
    list.setSortOrder(SortOrder::Descending);
    list.setSorted(true);
    flush();
    auto *w = widget<QTreeView>(list);
    ASSERT_NE(w, nullptr);
    QAbstractItemModel *m = w->model();
    QStringList headers;
    QList<int> widths;
    for (int c = 0; c < m->columnCount(); ++c) {
        headers << m->headerData(c, Qt::Horizontal).toString();
        widths << w->header()->sectionSize(c);
    }
    EXPECT_EQ(headers, (QStringList{QStringLiteral("Name"), QStringLiteral("Kind"), QStringLiteral("Lines")}));
    EXPECT_EQ(widths, (QList<int>{100, 80, 60}));
    EXPECT_EQ(rows(w), modelRows());
    // The list sorts by text, descending: "40" > "3" > "12".
    EXPECT_EQ(rows(w), (QStringList{QStringLiteral("gamma|Property|40"), QStringLiteral("alpha|Function|3"),
                                    QStringLiteral("beta|Sub|12")}));
    EXPECT_EQ(m->index(0, 2).data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask, int(Qt::AlignRight));
    EXPECT_EQ(m->index(0, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask, int(Qt::AlignHCenter));
    EXPECT_EQ(iconColor(m->index(0, 0)), qRgb(255, 0, 0));
    EXPECT_FALSE(m->index(0, 1).data(Qt::DecorationRole).isValid());

    list.setSelectedItem(list.listItems()(2));
    EXPECT_EQ(w->currentIndex().row(), 1);
    EXPECT_EQ(w->currentIndex().data().toString(), QStringLiteral("alpha"));
    EXPECT_TRUE(w->selectionModel()->isRowSelected(1, {}));
    EXPECT_FALSE(w->selectionModel()->isRowSelected(0, {}));
    list.listItems()(1)->setText(QStringLiteral("delta"));
    flush();
    EXPECT_EQ(rows(w), modelRows());
}

TEST_F(BindingsTest, ListGesturesReachTheModel)
{
    fillList();
    flush();
    auto *w = widget<QTreeView>(list);
    std::vector<int> columnClicks;
    std::vector<QString> itemClicks;
    int doubleClicks = 0;
    std::vector<int> keys;
    auto s1 = list.columnClick.connect([&](ColumnHeader *c) { columnClicks.push_back(c->index()); });
    auto s2 = list.itemClick.connect([&](ListItem *i) { itemClicks.push_back(i->text()); });
    auto s3 = list.dblClick.connect([&] { ++doubleClicks; });
    auto s4 = list.keyDown.connect([&](int &code, int) { keys.push_back(code); });

    Q_EMIT w->header()->sectionClicked(2);
    EXPECT_EQ(columnClicks, (std::vector<int>{3}));

    const QPoint second = w->visualRect(w->model()->index(1, 1)).center();
    gui_test::click(w->viewport(), second);
    EXPECT_EQ(itemClicks, (std::vector<QString>{QStringLiteral("alpha")}));
    EXPECT_EQ(list.selectedItem(), list.listItems()(2));
    gui_test::doubleClick(w->viewport(), second);
    EXPECT_EQ(doubleClicks, 1);

    gui_test::key(w, Qt::Key_Down);
    EXPECT_EQ(keys, (std::vector<int>{vbKeyDown}));
    EXPECT_EQ(list.selectedItem(), list.listItems()(3));
    EXPECT_EQ(w->currentIndex().row(), 2);
    EXPECT_TRUE(w->selectionModel()->isRowSelected(2, {}));
    EXPECT_FALSE(w->selectionModel()->isRowSelected(1, {}));

    // The user drags a column border: the model keeps the width, in twips.
    w->header()->resizeSection(0, 150);
    EXPECT_EQ(list.columnHeaders()(1)->width(), 2250);
}

TEST_F(BindingsTest, ListChangesReachTheViewAsRowSignals)
{
    fillList();
    flush();
    auto *w = widget<QTreeView>(list);
    QAbstractItemModel *m = w->model();
    QAbstractItemModelTester tester(m, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy inserted(m, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(m, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(m, &QAbstractItemModel::dataChanged);
    QSignalSpy reordered(m, &QAbstractItemModel::layoutChanged);
    QSignalSpy reset(m, &QAbstractItemModel::modelReset);

    ListItem *added = list.listItems().add(2, {}, QStringLiteral("inserted"));
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted[0][1].toInt(), 1);
    EXPECT_EQ(m->index(1, 0).data().toString(), QStringLiteral("inserted"));
    list.listItems().remove(1);
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(removed[0][1].toInt(), 0);
    EXPECT_EQ(rows(w), modelRows());

    // A property change repaints its row; a new small icon shows at once.
    added->setSmallIcon(QStringLiteral("BLUE"));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex().row(), 0);
    EXPECT_EQ(iconColor(m->index(0, 0)), qRgb(0, 0, 255));

    // Sorting moves the rows once the list is read (or the view is idle); the selection and
    // current row follow their item.
    list.setSelectedItem(added);
    list.setSorted(true);
    flush();
    EXPECT_EQ(reordered.count(), 1);
    EXPECT_EQ(rows(w), modelRows());
    EXPECT_EQ(listBinding()->listItemOf(w->currentIndex()), added);
    EXPECT_TRUE(w->selectionModel()->isRowSelected(added->index() - 1, {}));
    // Into a sorted list a row goes where the sort puts it.
    list.listItems().add(0, {}, QStringLiteral("aaa"));
    flush();
    EXPECT_EQ(m->index(0, 0).data().toString(), QStringLiteral("aaa"));
    EXPECT_EQ(listBinding()->listItemOf(w->currentIndex()), added);
    EXPECT_EQ(reset.count(), 0);

    list.listItems().clear();
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(m->rowCount(), 0);
    EXPECT_FALSE(w->currentIndex().isValid());
    list.columnHeaders().clear();
    flush();
    EXPECT_EQ(m->columnCount(), 1);
}

TEST_F(BindingsTest, ListOfAHundredThousandRowsIsShownWithoutCopies)
{
    list.columnHeaders().add(0, {}, QStringLiteral("Module"));
    list.columnHeaders().add(0, {}, QStringLiteral("Line"));
    flush();
    auto *w = widget<QTreeView>(list);
    QSignalSpy reset(w->model(), &QAbstractItemModel::modelReset);
    for (int r = 0; r < 100000; ++r)
        list.listItems().add(0, {}, QStringLiteral("m%1").arg(r))->setSubItem(1, QString::number(r));
    flush();
    EXPECT_EQ(reset.count(), 0);
    ASSERT_EQ(w->model()->rowCount(), 100000);
    EXPECT_EQ(w->model()->index(99999, 1).data().toString(), QStringLiteral("99999"));
    list.listItems()(100000)->setSelected(true);
    list.listItems()(100000)->ensureVisible();
    EXPECT_EQ(w->currentIndex().row(), 99999);
    EXPECT_TRUE(w->viewport()->rect().intersects(w->visualRect(w->currentIndex())));
    // Sorted descending by the line's text: "99999" comes first.
    list.setSortKey(1);
    list.setSortOrder(SortOrder::Descending);
    list.setSorted(true);
    flush();
    EXPECT_EQ(w->model()->index(0, 0).data().toString(), QStringLiteral("m99999"));
    EXPECT_EQ(w->currentIndex().row(), 0);
    EXPECT_EQ(reset.count(), 0);
}

TEST_F(BindingsTest, TreeShowsImagesByStateAndChecksReachTheModel)
{
    Node *root = tree.nodes().add({}, Relationship::Last, QStringLiteral("R"), QStringLiteral("root"), QStringLiteral("RED"),
                                  QStringLiteral("BLUE"));
    tree.nodes().add(QStringLiteral("R"), Relationship::Child, QStringLiteral("C"), QStringLiteral("child"),
                     QStringLiteral("RED"));
    flush();
    gui::TreeBinding *binding = treeBinding();
    EXPECT_EQ(iconColor(binding->indexOf(root)), qRgb(255, 0, 0));
    tree.setSelectedItem(root);
    EXPECT_EQ(iconColor(binding->indexOf(root)), qRgb(0, 0, 255)); // the selected image
    EXPECT_TRUE(binding->treeView()->selectionModel()->isSelected(binding->indexOf(root)));
    EXPECT_EQ(binding->treeView()->currentIndex(), binding->indexOf(root));

    tree.setCheckboxes(true);
    flush();
    EXPECT_TRUE(binding->indexOf(root).flags() & Qt::ItemIsUserCheckable);
    std::vector<QString> checked;
    auto s = tree.nodeCheck.connect([&](Node *n) { checked.push_back(n->key()); });
    binding->treeView()->model()->setData(binding->indexOf(root), Qt::Checked, Qt::CheckStateRole);
    EXPECT_TRUE(root->checked());
    EXPECT_EQ(binding->indexOf(root).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    EXPECT_EQ(checked, (std::vector<QString>{QStringLiteral("R")}));

    // A handler that swallows the key keeps the view from moving.
    auto swallow = tree.keyDown.connect([](int &code, int) { code = 0; });
    gui_test::key(binding->treeView(), Qt::Key_Down);
    EXPECT_EQ(tree.selectedItem(), root);
}

TEST_F(BindingsTest, TreeChangesReachTheViewAsRowSignals)
{
    Node *a = tree.nodes().add({}, Relationship::Last, QStringLiteral("a"), QStringLiteral("zeta"));
    Node *b = tree.nodes().add({}, Relationship::Last, QStringLiteral("b"), QStringLiteral("alpha"));
    flush();
    gui::TreeBinding *binding = treeBinding();
    QTreeView *w = binding->treeView();
    QAbstractItemModel *m = w->model();
    QAbstractItemModelTester tester(m, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy inserted(m, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(m, &QAbstractItemModel::modelReset);

    // A parent expanded before it has children shows them as they come.
    a->setExpanded(true);
    Node *c1 = tree.nodes().add(a, Relationship::Child, QStringLiteral("c1"), QStringLiteral("one"));
    Node *c2 = tree.nodes().add(a, Relationship::Child, QStringLiteral("c2"), QStringLiteral("two"));
    ASSERT_EQ(inserted.count(), 2);
    EXPECT_EQ(inserted[1][0].toModelIndex(), binding->indexOf(a));
    EXPECT_EQ(inserted[1][1].toInt(), 1);
    EXPECT_TRUE(w->isExpanded(binding->indexOf(a)));
    EXPECT_EQ(m->index(1, 0, binding->indexOf(a)).data().toString(), QStringLiteral("two"));

    // Sorting the roots moves "zeta" below "alpha" and keeps its expansion and the selection.
    tree.setSelectedItem(c2);
    tree.setSorted(true);
    EXPECT_EQ(m->index(0, 0).data().toString(), QStringLiteral("alpha"));
    EXPECT_EQ(binding->indexOf(a).row(), 1);
    EXPECT_TRUE(w->isExpanded(binding->indexOf(a)));
    EXPECT_EQ(w->currentIndex(), binding->indexOf(c2));

    c1->setVisible(false);
    EXPECT_TRUE(w->isRowHidden(0, binding->indexOf(a)));
    c1->setVisible(true);
    EXPECT_FALSE(w->isRowHidden(0, binding->indexOf(a)));

    // Removing the selected node selects its neighbour, in the view too.
    tree.nodes().remove(c2);
    EXPECT_EQ(m->rowCount(binding->indexOf(a)), 1);
    EXPECT_EQ(w->currentIndex(), binding->indexOf(c1));
    b->setText(QStringLiteral("beta"));
    EXPECT_EQ(binding->indexOf(b).data().toString(), QStringLiteral("beta"));

    // Gestures: the plus sign expands through the model, a click selects.
    a->setExpanded(false);
    w->expand(binding->indexOf(a));
    EXPECT_TRUE(a->expanded());
    gui_test::click(w->viewport(), w->visualRect(binding->indexOf(b)).center());
    EXPECT_EQ(tree.selectedItem(), b);
    EXPECT_EQ(reset.count(), 0);
    tree.nodes().clear();
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(m->rowCount(), 0);
}

TEST_F(BindingsTest, TreeNodesWithChildrenToLoadShowAPlusSignAndLoadOnExpansion)
{
    Node *entry = tree.nodes().add({}, Relationship::Last, QStringLiteral("e"), QStringLiteral("Callee"));
    entry->setChildrenToLoad(true);
    int requests = 0;
    auto loading = tree.loadChildrenRequested.connect([&](Node *n) {
        ++requests;
        tree.nodes().add(n, Relationship::Child, QString(), QStringLiteral("Deeper"));
    });
    flush();
    gui::TreeBinding *binding = treeBinding();
    QTreeView *w = binding->treeView();
    QAbstractItemModel *m = w->model();
    const QModelIndex index = binding->indexOf(entry);
    EXPECT_TRUE(m->hasChildren(index));
    EXPECT_EQ(m->rowCount(index), 0);
    EXPECT_EQ(requests, 0);

    w->expand(index); // the user opens it
    EXPECT_EQ(requests, 1);
    EXPECT_TRUE(entry->expanded());
    ASSERT_EQ(m->rowCount(index), 1);
    EXPECT_EQ(m->index(0, 0, index).data().toString(), QStringLiteral("Deeper"));
    EXPECT_FALSE(m->canFetchMore(index));
}

TEST_F(BindingsTest, ComboBoxTypingAndChoosingGoThroughTheModel)
{
    auto *w = widget<QComboBox>(combo);
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(w->isEditable());
    int changes = 0;
    std::vector<int> keysDown;
    std::vector<int> keysPressed;
    auto s1 = combo.change.connect([&] { ++changes; });
    auto s2 = combo.keyDown.connect([&](int &code, int) { keysDown.push_back(code); });
    auto s3 = combo.keyPress.connect([&](int &code) { keysPressed.push_back(code); });
    gui_test::key(w->lineEdit(), Qt::Key_A, QStringLiteral("a"));
    gui_test::key(w->lineEdit(), Qt::Key_B, QStringLiteral("b"));
    EXPECT_EQ(combo.text(), QStringLiteral("ab"));
    EXPECT_EQ(changes, 2);
    gui_test::key(w->lineEdit(), Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(keysDown, (std::vector<int>{'A', 'B', vbKeyReturn}));
    EXPECT_EQ(keysPressed, (std::vector<int>{vbKeyReturn}));
    EXPECT_EQ(w->count(), 0); // Enter adds nothing to the list by itself

    combo.addItem(QStringLiteral("Left"));
    combo.addItem(QStringLiteral("Mid"));
    EXPECT_EQ(w->count(), 2);
    Q_EMIT w->activated(1);
    EXPECT_EQ(combo.listIndex(), 1);
    EXPECT_EQ(combo.text(), QStringLiteral("Mid"));
    EXPECT_EQ(w->lineEdit()->text(), QStringLiteral("Mid"));
    combo.setText(QStringLiteral("free"));
    EXPECT_EQ(w->lineEdit()->text(), QStringLiteral("free"));
}

TEST_F(BindingsTest, ImageComboShowsIconsAndTheModelsSelection)
{
    imageCombo.comboItems().add(0, QStringLiteral("a"), QStringLiteral("Alpha"), QStringLiteral("RED"));
    imageCombo.comboItems().add(0, QStringLiteral("b"), QStringLiteral("Beta"), QStringLiteral("BLUE"));
    auto *w = widget<QComboBox>(imageCombo);
    flush();
    ASSERT_EQ(w->count(), 2);
    EXPECT_EQ(w->itemText(1), QStringLiteral("Beta"));
    EXPECT_FALSE(w->itemIcon(1).isNull());
    int clicks = 0;
    auto s = imageCombo.click.connect([&] { ++clicks; });
    Q_EMIT w->activated(1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(imageCombo.selectedItem()->key(), QStringLiteral("b"));
    imageCombo.setSelectedItem(imageCombo.comboItems()(1));
    EXPECT_EQ(w->currentIndex(), 0);
}

TEST_F(BindingsTest, ButtonsChecksAndLabelsMirrorTheirModels)
{
    int clicks = 0;
    auto s1 = button.click.connect([&] { ++clicks; });
    button.setCaption(QStringLiteral("&OK"));
    auto *push = widget<QPushButton>(button);
    EXPECT_EQ(push->text(), QStringLiteral("&OK"));
    push->click();
    EXPECT_EQ(clicks, 1);
    button.setEnabled(false);
    EXPECT_FALSE(push->isEnabled());

    auto *box = widget<QCheckBox>(check);
    box->click();
    EXPECT_EQ(check.value(), vbChecked);
    EXPECT_EQ(box->checkState(), Qt::Checked);
    check.setValue(vbGrayed);
    EXPECT_EQ(box->checkState(), Qt::PartiallyChecked);

    label.setCaption(QStringLiteral("&Name && Co"));
    EXPECT_EQ(widget<QLabel>(label)->text(), QStringLiteral("Name & Co"));
    // A control in a frame sits at its place inside the frame.
    EXPECT_EQ(view->widgetFor(inner)->parentWidget(), view->widgetFor(frame));
    EXPECT_EQ(view->widgetFor(inner)->pos(), QPoint(10, 20));
}

TEST_F(BindingsTest, StatusPanelsProgressAndPictureMouse)
{
    std::vector<QString> panels;
    auto s1 = status.panelClick.connect([&](Panel *p) { panels.push_back(p->key()); });
    QWidget *bar = view->widgetFor(status);
    gui_test::click(bar, QPoint(250, 10)); // panel 2 starts at 3000 twips = 200 px
    EXPECT_EQ(panels, (std::vector<QString>{QStringLiteral("P2")}));

    progress.setMax(50);
    progress.setValue(20);
    EXPECT_EQ(widget<QProgressBar>(progress)->maximum(), 50);
    EXPECT_EQ(widget<QProgressBar>(progress)->value(), 20);

    std::vector<std::vector<int>> downs;
    auto s2 = picture.mouseDown.connect(
        [&](int b, int shift, int x, int y) { downs.push_back({b, shift, x, y}); });
    gui_test::mouse(view->widgetFor(picture), QEvent::MouseButtonPress, QPoint(10, 4), Qt::RightButton, Qt::RightButton);
    EXPECT_EQ(downs, (std::vector<std::vector<int>>{{vbRightButton, 0, 150, 60}}));
}

TEST_F(BindingsTest, ZOrderStacksSiblings)
{
    label.move(2000, 3500, 1500, 600); // over the picture box
    auto stackIndex = [&](Control &c) { return view->childParent()->children().indexOf(view->widgetFor(c)); };
    label.zOrder(ZOrderPosition::SendToBack);
    EXPECT_LT(stackIndex(label), stackIndex(picture));
    label.zOrder();
    EXPECT_GT(stackIndex(label), stackIndex(picture));
}

TEST_F(BindingsTest, CoolBarPlacesItsChildrenInTheirBands)
{
    QWidget *strip = view->widgetFor(toolbar);
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->parentWidget(), view->widgetFor(cool));
    const QRect band = gui::twipsToPixels(toolbarBand->rect(), strip);
    EXPECT_GT(strip->x(), band.left());
    EXPECT_TRUE(band.contains(strip->geometry()));
    EXPECT_TRUE(strip->isVisibleTo(view.get()));
    toolbarBand->setVisible(false);
    EXPECT_FALSE(strip->isVisibleTo(view.get()));
    toolbarBand->setVisible(true);
    EXPECT_TRUE(strip->isVisibleTo(view.get()));
}

TEST(FormViewTest, EdgesDrawnOnTheFormArePainted)
{
    gui_test::app();
    Form form(QStringLiteral("frmEdges"));
    form.move(0, 0, 1500, 1200);
    gui::FormView view(form);
    view.resize(100, 80);
    form.drawEdge(QRect(10, 10, 40, 30), 5, 15); // EDGE_RAISED, BF_RECT
    const QImage image = view.grab().toImage();
    EXPECT_EQ(image.pixel(11, 11), qRgb(255, 255, 255)); // inner ring, top-left: highlight
    EXPECT_EQ(image.pixel(49, 39), qRgb(64, 64, 64));    // outer ring, bottom-right: dark shadow
}

TEST(FormDialogTest, FollowsTheFormAndAsksItBeforeClosing)
{
    gui_test::app();
    Form form(QStringLiteral("frmDialog"));
    form.setCaption(QStringLiteral("ﾀﾞｲｱﾛｸﾞ"));
    form.move(0, 0, 4500, 3000);
    form.show();
    gui::FormDialog dialog(form);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ﾀﾞｲｱﾛｸﾞ"));
    dialog.show();

    bool keepOpen = true;
    auto s = form.queryUnload.connect([&](bool &cancel, int) { cancel = keepOpen; });
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(form.visible());
    keepOpen = false;
    dialog.close();
    EXPECT_FALSE(form.loaded());
    EXPECT_FALSE(dialog.isVisible());

    form.show();
    dialog.show();
    form.hide();
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
