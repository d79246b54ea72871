// The desktop IDE on the bundled example group: the tool window mirrors the add-in's
// models, user input reaches them, and the IDE's windows, menus and commands show up.
#include "gui/addin_manager.h"
#include "gui/app.h"
#include "gui/bindings.h"
#include "gui/code_view.h"
#include "gui/form_view.h"
#include "gui/main_window.h"
#include "gui/qt_platform.h"
#include "gui/units.h"
#include "gui_test_support.h"
#include "ide_window_fixture.h"

#include "about/frm_about.h"
#include "controls/standard_controls.h"
#include "frontend/session.h"
#include "docmain/doc_main.h"
#include "shared/bas_quillbox.h"

#include <QDir>
#include <QDockWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace controls;
using gui::MainWindow;

namespace {

using gui_test::kGroup;

/// "depth text [+] [hidden]" per row, in display order, as the view shows them (a row
/// counts as hidden where its parent shows its children).
void widgetShape(QTreeView *tree, const QModelIndex &parent, bool parentShows, int depth, QStringList &out)
{
    const QAbstractItemModel *m = tree->model();
    for (int row = 0; row < m->rowCount(parent); ++row) {
        const QModelIndex index = m->index(row, 0, parent);
        const bool hidden = tree->isRowHidden(row, parent);
        out << QStringLiteral("%1%2%3%4")
                   .arg(QString(depth, QLatin1Char(' ')), index.data().toString(),
                        tree->isExpanded(index) ? QStringLiteral(" +") : QString(),
                        hidden && parentShows ? QStringLiteral(" hidden") : QString());
        widgetShape(tree, index, parentShows && !hidden && tree->isExpanded(index), depth + 1, out);
    }
}

QStringList widgetShape(QTreeView *tree)
{
    QStringList out;
    widgetShape(tree, {}, true, 0, out);
    return out;
}

void modelShape(const Node *node, int depth, QStringList &out)
{
    const bool hidden = !node->visible() && (!node->parent() || (node->parent()->visible() && node->parent()->expanded()));
    out << QStringLiteral("%1%2%3%4")
               .arg(QString(depth, QLatin1Char(' ')), node->text(), node->expanded() ? QStringLiteral(" +") : QString(),
                    hidden ? QStringLiteral(" hidden") : QString());
    for (const Node *child : node->childList())
        modelShape(child, depth + 1, out);
}

QStringList modelShape(const TreeView &tree)
{
    QStringList out;
    for (const Node *root : tree.rootNodes())
        modelShape(root, 0, out);
    return out;
}

class MainWindowTest : public gui_test::IdeWindowTest {
protected:
    QTreeView *treeWidget(int index) { return qobject_cast<QTreeView *>(view()->widgetFor(doc().tvwProject(index))); }
    gui::TreeBinding *treeBinding(int index)
    {
        return dynamic_cast<gui::TreeBinding *>(view()->bindingFor(doc().tvwProject(index)));
    }
    host::Ptr<host::VBComponent> component(const QString &project, const QString &name)
    {
        return session.ide->vbe()->vbProjects()->item(project)->vbComponents()->item(name);
    }
};

TEST_F(MainWindowTest, ToolWindowIsDockedAtTheRightWithTheProjectTree)
{
    QDockWidget *dock = window->toolWindowDock();
    ASSERT_NE(dock, nullptr);
    EXPECT_EQ(window->dockWidgetArea(dock), Qt::RightDockWidgetArea);
    EXPECT_EQ(dock->windowTitle(), QStringLiteral("Tessary"));
    EXPECT_TRUE(dock->isVisible());

    QTreeView *tree = treeWidget(0);
    ASSERT_NE(tree, nullptr);
    EXPECT_TRUE(tree->isVisible());
    QStringList roots;
    for (int i = 0; i < tree->model()->rowCount(); ++i)
        roots << tree->model()->index(i, 0).data().toString();
    EXPECT_EQ(roots, (QStringList{QStringLiteral("GaugeLib"), QStringLiteral("Stock")}));
    EXPECT_EQ(widgetShape(tree), modelShape(doc().tvwProject(0)));
    // The other tabs' trees exist but are hidden, as the model has them.
    for (int i = 1; i < 4; ++i)
        EXPECT_FALSE(treeWidget(i)->isVisible()) << i;
}

TEST_F(MainWindowTest, ExpandingAndClickingInTheWidgetReachTheModel)
{
    TreeView &model = doc().tvwProject(0);
    gui::TreeBinding *binding = treeBinding(0);
    QTreeView *tree = treeWidget(0);
    Node *folder = model.nodes().find(QStringLiteral("Stock_Cls"));
    ASSERT_NE(folder, nullptr);
    ASSERT_FALSE(folder->expanded());

    tree->expand(binding->indexOf(folder)); // what the plus sign does
    EXPECT_TRUE(folder->expanded());
    settle();

    Node *node = model.nodes().find(QStringLiteral("Stock_clsOrder"));
    const QModelIndex item = binding->indexOf(node);
    ASSERT_TRUE(item.isValid());
    tree->scrollTo(item);
    gui_test::click(tree->viewport(), tree->visualRect(item).center());
    settle();

    EXPECT_EQ(model.selectedItem(), node);
    EXPECT_EQ(doc().staMain.panels()(4)->text(), QStringLiteral("clsOrder"));
    EXPECT_EQ(doc().staMain.panels()(3)->text(), QStringLiteral("Stock"));
    EXPECT_EQ(tree->currentIndex(), binding->indexOf(node));
    EXPECT_TRUE(tree->selectionModel()->isSelected(binding->indexOf(node)));
    EXPECT_EQ(widgetShape(tree), modelShape(model));
}

TEST_F(MainWindowTest, TreeFollowsNodesAddedRemovedAndHiddenByTheModel)
{
    TreeView &model = doc().tvwProject(0);
    model.nodes().add(QStringLiteral("Stock_Cls"), Relationship::Child, QStringLiteral("Stock_clsNew"),
                      QStringLiteral("clsNew"), QStringLiteral("CLASS"));
    model.nodes().find(QStringLiteral("Stock_Cls"))->setExpanded(true);
    model.nodes().find(QStringLiteral("GaugeLib_References"))->setVisible(false);
    model.nodes().remove(QStringLiteral("Stock_frmAbout"));
    settle();
    const QStringList shape = widgetShape(treeWidget(0));
    EXPECT_EQ(shape, modelShape(model));
    EXPECT_TRUE(shape.contains(QStringLiteral("  clsNew")));
    EXPECT_TRUE(shape.contains(QStringLiteral(" 参照ﾗｲﾌﾞﾗﾘ hidden")));
    EXPECT_FALSE(shape.contains(QStringLiteral("  frmAbout")));

    // Icons come from the model's image keys: an expanded folder shows its expanded image.
    gui::TreeBinding *binding = treeBinding(0);
    Node *folder = model.nodes().find(QStringLiteral("Stock_Cls"));
    const QString key = folder->expandedImage().isEmpty() ? folder->image() : folder->expandedImage();
    EXPECT_EQ(binding->indexOf(folder)
                  .data(Qt::DecorationRole)
                  .value<QIcon>()
                  .pixmap(16, 16)
                  .toImage()
                  .convertToFormat(QImage::Format_ARGB32),
              gui::toImage(model.imageList()->picture(key)).convertToFormat(QImage::Format_ARGB32));
}

TEST_F(MainWindowTest, ToolbarButtonsFollowTheModelAndClicksReachIt)
{
    auto *binding = dynamic_cast<gui::ToolbarBinding *>(view()->bindingFor(doc().tbrMain(0)));
    ASSERT_NE(binding, nullptr);
    Buttons &buttons = doc().tbrMain(0).buttons();
    auto widgetOf = [&](const char *key) { return binding->button(buttons(QString::fromLatin1(key))->index()); };

    // Initial state: PROC and DOWN pressed; DOWN, UP and SAVE disabled; tool tips from the model.
    EXPECT_TRUE(widgetOf("PROC")->isChecked());
    EXPECT_FALSE(widgetOf("CTRL")->isChecked());
    for (const char *key : {"DOWN", "UP", "SAVE"})
        EXPECT_FALSE(widgetOf(key)->isEnabled()) << key;
    EXPECT_TRUE(widgetOf("REFRESH")->isEnabled());
    EXPECT_EQ(widgetOf("REFRESH")->toolTip(), QStringLiteral("最新の情報に更新"));
    EXPECT_FALSE(widgetOf("REFRESH")->icon().isNull());
    EXPECT_EQ(binding->button(4), nullptr); // the separator

    buttons(QStringLiteral("REFRESH"))->setEnabled(false);
    EXPECT_FALSE(widgetOf("REFRESH")->isEnabled());

    widgetOf("CTRL")->click();
    EXPECT_EQ(buttons(QStringLiteral("CTRL"))->value(), ButtonValue::Pressed);
    EXPECT_EQ(buttons(QStringLiteral("PROC"))->value(), ButtonValue::Unpressed);
    EXPECT_TRUE(widgetOf("CTRL")->isChecked());
    EXPECT_FALSE(widgetOf("PROC")->isChecked());
}

TEST_F(MainWindowTest, TabSwitchedThroughTheModelShowsThatTabsTree)
{
    auto *strip = dynamic_cast<gui::TabStripBinding *>(view()->bindingFor(doc().tbsProject));
    ASSERT_NE(strip, nullptr);
    QStringList captions;
    for (int i = 0; i < strip->tabBar()->count(); ++i)
        captions << strip->tabBar()->tabText(i);
    EXPECT_EQ(captions, (QStringList{QStringLiteral("General"), QStringLiteral("Relative"), QStringLiteral("Optimize"),
                                     QStringLiteral("Search")}));

    doc().tbsProject.setSelectedItem(doc().tbsProject.tabs()(3));
    settle();
    EXPECT_EQ(doc().mintCurrentTab, 3);
    EXPECT_EQ(strip->tabBar()->currentIndex(), 2);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(treeWidget(i)->isVisible(), i == 2) << i;

    // And the user's click on a tab goes through the model.
    const QRect second = strip->tabBar()->tabRect(1);
    gui_test::click(strip->tabBar(), second.center());
    settle();
    EXPECT_EQ(doc().mintCurrentTab, 2);
    EXPECT_EQ(strip->tabBar()->currentIndex(), 1);
    EXPECT_TRUE(treeWidget(1)->isVisible());
}

TEST_F(MainWindowTest, EveryWidgetSitsAtItsModelGeometry)
{
    auto check = [&] {
        for (Control *c : doc().userDocument.controls()) {
            QWidget *w = view()->widgetFor(*c);
            if (!w)
                continue;
            EXPECT_EQ(w->geometry(), gui::twipsToPixels(QRect(c->left(), c->top(), c->width(), c->height()), w))
                << c->name().toStdString() << c->index();
            EXPECT_EQ(w->isVisibleTo(w->parentWidget()), c->visible()) << c->name().toStdString() << c->index();
        }
    };
    check();
    // A resize of the dock's view resizes the document, which lays its controls out again.
    view()->resize(500, 420);
    settle();
    EXPECT_EQ(doc().userDocument.scaleWidth(), gui::pixelsToTwipsX(500, view()));
    EXPECT_EQ(doc().userDocument.scaleHeight(), gui::pixelsToTwipsY(420, view()));
    EXPECT_EQ(doc().lvwDetail(0).left() + doc().lvwDetail(0).width(), doc().userDocument.scaleWidth());
    check();
}

TEST_F(MainWindowTest, DraggingTheSplitterMovesItInTheModel)
{
    QWidget *bar = view()->widgetFor(doc().picSplit);
    ASSERT_NE(bar, nullptr);
    const int before = doc().picSplit.left();
    gui_test::mouse(bar, QEvent::MouseButtonPress, QPoint(1, 10), Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(doc().mblnSplitDrag);
    // The model moves the bar by half the pointer's offset in twips.
    gui_test::mouse(bar, QEvent::MouseMove, QPoint(41, 10), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(doc().picSplit.left(), before + gui::pixelsToTwipsX(41, bar) / 2);
    gui_test::mouse(bar, QEvent::MouseButtonRelease, QPoint(1, 10), Qt::LeftButton, Qt::NoButton);
    settle();
    EXPECT_FALSE(doc().mblnSplitDrag);
    EXPECT_EQ(doc().tbsProject.width(), doc().picSplit.left());
    EXPECT_EQ(doc().lvwDetail(0).left(), doc().picSplit.left() + doc().picSplit.width());
    EXPECT_EQ(bar->geometry(), gui::twipsToPixels(QRect(doc().picSplit.left(), doc().picSplit.top(),
                                                        doc().picSplit.width(), doc().picSplit.height()),
                                                  bar));
    EXPECT_EQ(view()->widgetFor(doc().lvwDetail(0))->x(), gui::twipsToPixelsX(doc().lvwDetail(0).left(), bar));
}

TEST_F(MainWindowTest, StatusAndProgressFollowTheModel)
{
    doc().SetProgress(0, 10);
    doc().SetProgress(4, 0);
    auto *progress = qobject_cast<QProgressBar *>(view()->widgetFor(doc().prgMain));
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->maximum(), 10);
    EXPECT_EQ(progress->value(), 4);
    doc().SetProgress(0, 0);
    EXPECT_FALSE(progress->isVisible());
}

TEST_F(MainWindowTest, CodeViewMirrorsTheCodePaneSelectionBothWays)
{
    auto pane = component(QStringLiteral("Stock"), QStringLiteral("clsOrder"))->codeModule()->codePane();
    pane->show();
    settle();
    gui::CodeView *code = window->codeViewFor(pane);
    ASSERT_NE(code, nullptr);
    auto module = pane->codeModule();
    EXPECT_EQ(code->toPlainText(),
              module->lines(1, module->countOfLines()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    EXPECT_EQ(window->mdiArea()->activeSubWindow()->widget(), code);

    auto position = [&](int line, int column) { return code->document()->findBlockByNumber(line - 1).position() + column - 1; };
    pane->setSelection(3, 2, 5, 4);
    settle();
    EXPECT_EQ(code->textCursor().selectionStart(), position(3, 2));
    EXPECT_EQ(code->textCursor().selectionEnd(), position(5, 4));

    // The user selects backwards within a line long enough; the pane holds it in order.
    int line = 1;
    while (code->document()->findBlockByNumber(line - 1).length() < 8)
        ++line;
    QTextCursor cursor = code->textCursor();
    cursor.setPosition(position(line, 7));
    cursor.setPosition(position(line, 2), QTextCursor::KeepAnchor);
    code->setTextCursor(cursor);
    int sl = 0, sc = 0, el = 0, ec = 0;
    pane->getSelection(sl, sc, el, ec);
    EXPECT_EQ((std::vector<int>{sl, sc, el, ec}), (std::vector<int>{line, 2, line, 7}));
    settle(); // the backwards selection survives the sync
    EXPECT_EQ(code->textCursor().anchor(), position(line, 7));
    EXPECT_EQ(code->textCursor().position(), position(line, 2));

    // The pane's top line scrolls the view.
    code->resize(400, 60);
    pane->setTopLine(10);
    settle();
    EXPECT_EQ(code->verticalScrollBar()->value(), std::min(9, code->verticalScrollBar()->maximum()));
}

TEST_F(MainWindowTest, ClickingLowInATallCodeViewDoesNotScrollIt)
{
    auto pane = component(QStringLiteral("Stock"), QStringLiteral("frmOrder"))->codeModule()->codePane();
    pane->show();
    settle();
    gui::CodeView *code = window->codeViewFor(pane);
    ASSERT_NE(code, nullptr);
    window->subWindowFor(pane->window())->resize(600, 1200);
    settle();
    const int shown = code->viewport()->height() / code->fontMetrics().lineSpacing();
    ASSERT_GT(shown, 36);
    ASSERT_GT(pane->codeModule()->countOfLines(), 36); // past the 30 lines a pane assumes
    EXPECT_EQ(pane->countOfVisibleLines(), shown);
    QTextCursor cursor = code->textCursor();
    cursor.setPosition(code->document()->findBlockByNumber(35).position());
    code->setTextCursor(cursor);
    settle();
    EXPECT_EQ(pane->topLine(), 1);
    EXPECT_EQ(code->verticalScrollBar()->value(), 0);
}

TEST_F(MainWindowTest, CodeWindowMenuHoldsTheAddInsCommand)
{
    auto pane = component(QStringLiteral("Stock"), QStringLiteral("basMain"))->codeModule()->codePane();
    pane->show();
    settle();
    gui::CodeView *code = window->codeViewFor(pane);
    ASSERT_NE(code, nullptr);
    QMenu menu;
    code->fillContextMenu(menu);
    QStringList texts;
    for (QAction *a : menu.actions())
        texts << a->text();
    auto bar = session.ide->vbe()->commandBars()->item(QStringLiteral("Code Window"))->controls();
    QStringList captions;
    for (int i = 1; i <= bar->count(); ++i)
        captions << bar->item(i)->caption();
    EXPECT_EQ(texts, captions);
    EXPECT_TRUE(texts.contains(QStringLiteral("ﾃｷｽﾄ ｴﾃﾞｨﾀで表示")));

    menu.actions().front()->trigger(); // "Cut", a built-in command
    QCoreApplication::processEvents();
    EXPECT_EQ(session.ide->executedCommands().last(), QStringLiteral("Cut"));
}

TEST_F(MainWindowTest, MenuBarIsTheIdesMenuBarCommandBar)
{
    auto controlsOf = [&](const QString &bar) { return session.ide->vbe()->commandBars()->item(bar)->controls(); };
    auto menuBar = controlsOf(QStringLiteral("Menu Bar"));
    QStringList captions;
    for (int i = 1; i <= menuBar->count(); ++i)
        captions << menuBar->item(i)->caption();
    QStringList titles;
    for (QAction *a : window->menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, captions);

    auto actionsOf = [&](const QString &title) {
        for (QAction *a : window->menuBar()->actions()) {
            if (a->text() == title)
                return a->menu()->actions();
        }
        return QList<QAction *>();
    };
    QStringList addIns;
    QAction *tessary = nullptr;
    for (QAction *a : actionsOf(QStringLiteral("ｱﾄﾞｲﾝ(&A)"))) {
        addIns << a->text();
        if (a->text() == QStringLiteral("Tessary"))
            tessary = a;
    }
    ASSERT_NE(tessary, nullptr) << addIns.join(QLatin1Char('|')).toStdString();
    // The face the add-in pasted is drawn as the item's icon.
    EXPECT_EQ(tessary->icon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32),
              gui::toImage(about::resourceBitmap(QStringLiteral("APPLICATION"))).convertToFormat(QImage::Format_ARGB32));

    // A command added to a menu appears; choosing an item runs its command.
    auto tools = controlsOf(QStringLiteral("Tools"));
    tools->add(host::ControlType::Button)->setCaption(QStringLiteral("Extra"));
    settle();
    QStringList toolTexts;
    for (QAction *a : actionsOf(QStringLiteral("ﾂｰﾙ(&T)")))
        toolTexts << a->text();
    EXPECT_EQ(toolTexts.last(), QStringLiteral("Extra"));

    for (QAction *a : actionsOf(QStringLiteral("ｳｨﾝﾄﾞｳ(&W)"))) {
        if (a->text() == QStringLiteral("重ねて表示(&C)"))
            a->trigger();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(session.ide->executedCommands().last(), QStringLiteral("Cascade"));
}

TEST_F(MainWindowTest, WindowCommandsArrangeTheCodeWindows)
{
    for (const char *name : {"basMain", "basUtil"})
        component(QStringLiteral("Stock"), QString::fromLatin1(name))->codeModule()->codePane()->show();
    settle();
    const QList<QMdiSubWindow *> subs = window->mdiArea()->subWindowList();
    ASSERT_EQ(subs.size(), 2);
    const QRect area = window->mdiArea()->viewport()->rect();
    struct Case {
        const char *command;
        QRect first;
        QRect second;
    };
    const Case cases[] = {
        {"TileHorizontally", QRect(0, 0, area.width(), area.height() / 2),
         QRect(0, area.height() / 2, area.width(), area.height() / 2)},
        {"TileVertically", QRect(0, 0, area.width() / 2, area.height()),
         QRect(area.width() / 2, 0, area.width() / 2, area.height())},
    };
    for (const Case &c : cases) {
        window->runCommand(QString::fromLatin1(c.command));
        EXPECT_EQ(subs[0]->geometry(), c.first) << c.command;
        EXPECT_EQ(subs[1]->geometry(), c.second) << c.command;
    }
    // Through the IDE's own menu, as the add-in's toolbar runs it.
    auto windowMenu = session.ide->vbe()->commandBars()->item(QStringLiteral("Window"))->controls();
    windowMenu->item(QStringLiteral("上下に並べて表示(&H)"))->execute();
    EXPECT_EQ(subs[1]->geometry(), cases[0].second);
}

TEST_F(MainWindowTest, ClosingASubwindowClosesTheIdesWindow)
{
    auto pane = component(QStringLiteral("Stock"), QStringLiteral("basMain"))->codeModule()->codePane();
    pane->show();
    settle();
    auto codeWindow = pane->window();
    QMdiSubWindow *sub = window->subWindowFor(codeWindow);
    ASSERT_NE(sub, nullptr);
    sub->close();
    settle();
    EXPECT_FALSE(codeWindow->visible());
    EXPECT_EQ(window->subWindowFor(codeWindow), nullptr);
    EXPECT_TRUE(window->mdiArea()->subWindowList().isEmpty());
}

TEST_F(MainWindowTest, DesignerWindowListsTheDesignersControls)
{
    auto form = component(QStringLiteral("Stock"), QStringLiteral("frmAbout"));
    auto designerWindow = form->designerWindow();
    settle();
    QMdiSubWindow *sub = window->subWindowFor(designerWindow);
    ASSERT_NE(sub, nullptr);
    auto *tree = qobject_cast<QTreeWidget *>(sub->widget());
    ASSERT_NE(tree, nullptr);
    QStringList expected;
    auto controls = form->designer()->containedVBControls();
    for (int i = 1; i <= controls->count(); ++i) {
        auto c = controls->item(i);
        expected << (c->index() >= 0 ? QStringLiteral("%1(%2) %3").arg(c->name()).arg(c->index()).arg(c->className())
                                     : QStringLiteral("%1 %2").arg(c->name(), c->className()));
    }
    QStringList shown;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        shown << tree->topLevelItem(i)->text(0) + QLatin1Char(' ') + tree->topLevelItem(i)->text(1);
    EXPECT_FALSE(expected.isEmpty());
    EXPECT_EQ(shown, expected);
}

TEST_F(MainWindowTest, ProjectWindowListsProjectsAndOpensCode)
{
    QTreeWidget *projects = window->projectTree();
    QStringList roots;
    for (int i = 0; i < projects->topLevelItemCount(); ++i)
        roots << projects->topLevelItem(i)->text(0);
    EXPECT_EQ(roots, (QStringList{QStringLiteral("Stock (Stock.vbp)"), QStringLiteral("GaugeLib (Gauge.vbp)")}));

    QTreeWidgetItem *target = nullptr;
    for (QTreeWidgetItemIterator it(projects); *it; ++it) {
        if ((*it)->text(0) == QStringLiteral("basUtil (basUtil.bas)"))
            target = *it;
    }
    ASSERT_NE(target, nullptr);
    projects->scrollToItem(target);
    gui_test::doubleClick(projects->viewport(), projects->visualItemRect(target).center());
    settle();
    auto pane = component(QStringLiteral("Stock"), QStringLiteral("basUtil"))->codeModule()->codePane();
    EXPECT_TRUE(pane->window()->visible());
    EXPECT_NE(window->codeViewFor(pane), nullptr);
    EXPECT_EQ(session.ide->vbe()->selectedVBComponent()->name(), QStringLiteral("basUtil"));
}

TEST_F(MainWindowTest, ImmediateWindowMirrorsTheIdeAndTakesSentKeys)
{
    session.ide->setImmediateText(QStringLiteral("? 1 + 1\n 2\n"));
    settle();
    EXPECT_EQ(window->immediateView()->toPlainText(), QStringLiteral("? 1 + 1\n 2\n"));
    window->immediateView()->appendPlainText(QStringLiteral("more"));
    EXPECT_EQ(session.ide->immediateText(), window->immediateView()->toPlainText());

    // What the add-in's "clear" command sends once the Immediate window has the focus.
    session.ide->vbe()->windows()->item(QStringLiteral("ｲﾐﾃﾞｨｴｲﾄ"))->setFocus();
    for (const char *keys : {"^({Home})", "^(+({End}))", "{Del}"})
        platform.sendKeys(QString::fromLatin1(keys), true);
    EXPECT_EQ(session.ide->immediateText(), QString());
    EXPECT_EQ(platform.sentKeys().size(), 3);
}

TEST_F(MainWindowTest, ClosingTheToolWindowHidesItAndTheAddInsCommandShowsItAgain)
{
    QDockWidget *dock = window->toolWindowDock();
    dock->close(); // what the title bar's close button does
    EXPECT_FALSE(session.toolWindow->visible());
    settle();
    EXPECT_FALSE(dock->isVisible());

    auto addIns = session.ide->vbe()->commandBars()->item(QStringLiteral("Add-Ins"))->controls();
    addIns->item(QStringLiteral("Tessary"))->execute();
    settle();
    EXPECT_TRUE(session.toolWindow->visible());
    EXPECT_TRUE(window->toolWindowDock()->isVisible());
}

TEST_F(MainWindowTest, AddInManagerDisconnectsAndReconnectsTheAddIn)
{
    auto addins = session.ide->vbe()->addins();
    gui::AddInManagerDialog dialog(addins);
    ASSERT_EQ(dialog.list()->topLevelItemCount(), addins->count());
    QTreeWidgetItem *row = dialog.list()->topLevelItem(0);
    EXPECT_EQ(row->checkState(0), Qt::Checked);

    row->setCheckState(0, Qt::Unchecked);
    dialog.apply();
    settle();
    EXPECT_FALSE(addins->item(1)->connect());
    EXPECT_FALSE(session.toolWindow->visible());

    row->setCheckState(0, Qt::Checked);
    dialog.apply();
    settle();
    EXPECT_TRUE(addins->item(1)->connect());
    // The new connection made a new tool window; the dock shown is its.
    ASSERT_NE(window->toolWindowDock(), nullptr);
    EXPECT_TRUE(window->toolWindowDock()->isVisible());
    auto reconnected = std::dynamic_pointer_cast<docmain::DocMain>(shared::basQuillbox().gDocMain);
    ASSERT_NE(reconnected, nullptr);
    EXPECT_NE(reconnected, session.doc);
    EXPECT_EQ(&window->toolWindowView()->form(), &reconnected->userDocument);
    auto *tree = qobject_cast<QTreeView *>(window->toolWindowView()->widgetFor(reconnected->tvwProject(0)));
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(widgetShape(tree), modelShape(reconnected->tvwProject(0)));
    EXPECT_EQ(tree->model()->rowCount(), 2);
}

TEST(DiagnosticsTest, LoadProblemsGoToTheImmediateWindow)
{
    gui_test::app();
    QTemporaryDir dir;
    QFile vbp(dir.filePath(QStringLiteral("Broken.vbp")));
    ASSERT_TRUE(vbp.open(QIODevice::WriteOnly));
    vbp.write("Type=Exe\r\nModule=Missing; Missing.bas\r\nName=\"Broken\"\r\n");
    vbp.close();
    gui::QtPlatform platform(false);
    ScopedPlatform scoped(platform);
    frontend::Session session = frontend::openSession(vbp.fileName(), ide::files::CodePage::Auto);
    ASSERT_FALSE(session.ide->diagnostics().empty());
    MainWindow window(session, platform);
    window.reportDiagnostics();
    window.syncNow();
    const QString shown = window.immediateView()->toPlainText();
    for (const auto &d : session.ide->diagnostics())
        EXPECT_TRUE(shown.contains(d.message)) << d.message.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("Missing.bas"))) << shown.toStdString();
}

TEST(ScreenshotTest, WritesThePngAfterTheActions)
{
    gui_test::app();
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("shot.png"));
    gui::Options options;
    QString error;
    ASSERT_TRUE(gui::parseOptions({QStringLiteral("--screenshot"), png, kGroup, QStringLiteral("--expand"),
                                   QStringLiteral("Stock_Cls"), QStringLiteral("--click"),
                                   QStringLiteral("Stock_clsOrder")},
                                  options, error))
        << error.toStdString();
    EXPECT_EQ(options.file, kGroup);
    ASSERT_EQ(options.actions.size(), 2u);
    ASSERT_EQ(gui::takeScreenshot(options, error), 0) << error.toStdString();
    const QImage image(png);
    EXPECT_EQ(image.size(), QSize(1280, 800));
}

TEST(ScreenshotTest, DrawsEveryVisibleFormOverTheWindow)
{
    gui_test::app();
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("shot.png"));
    controls::Form shown(QStringLiteral("frmShown"));
    shown.setBackColor(0x00FF00);
    shown.move(0, 0, 3000, 2000);
    controls::CommandButton cmdClose(QStringLiteral("cmdClose"));
    cmdClose.move(0, 0, 600, 300);
    cmdClose.setContainer(&shown);
    auto closing = cmdClose.click.connect([&] { shown.hide(); });
    controls::Form hidden(QStringLiteral("frmHidden"));
    hidden.setBackColor(0x0000FF);
    hidden.load();
    shown.show(true);

    gui::Options options;
    QString error;
    ASSERT_TRUE(gui::parseOptions({QStringLiteral("--screenshot"), png, kGroup}, options, error));
    ASSERT_EQ(gui::takeScreenshot(options, error), 0) << error.toStdString();
    // The form sits in the middle, its caption bar above its client area.
    QImage image(png);
    const QPoint middle = image.rect().center() + QPoint(0, 20);
    EXPECT_EQ(QColor(image.pixel(middle)), QColor(Qt::green));

    // The same actions as tessary ui: the button hides the form, and the shot shows none.
    options = gui::Options();
    ASSERT_TRUE(gui::parseOptions({QStringLiteral("--screenshot"), png, kGroup, QStringLiteral("--form"),
                                   QStringLiteral("frmShown"), QStringLiteral("--press"), QStringLiteral("cmdClose")},
                                  options, error));
    ASSERT_EQ(gui::takeScreenshot(options, error), 0) << error.toStdString();
    image = QImage(png);
    EXPECT_NE(QColor(image.pixel(middle)), QColor(Qt::green));
    EXPECT_NE(QColor(image.pixel(middle)), QColor(Qt::red));
}

TEST(ScreenshotTest, FailsOnAnActionThatCannotRun)
{
    gui_test::app();
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("shot.png"));
    gui::Options options;
    QString error;
    ASSERT_TRUE(gui::parseOptions({QStringLiteral("--screenshot=") + png, kGroup, QStringLiteral("--click"),
                                   QStringLiteral("NoSuchKey")},
                                  options, error));
    // Naming something that does not exist is a usage error, as in `tessary ui`.
    EXPECT_EQ(gui::takeScreenshot(options, error), 2);
    EXPECT_TRUE(error.contains(QStringLiteral("NoSuchKey"))) << error.toStdString();
    EXPECT_FALSE(QFile::exists(png));

    // A file that loads no project is no screenshot either.
    options.file = dir.filePath(QStringLiteral("missing.vbp"));
    options.actions.clear();
    EXPECT_EQ(gui::takeScreenshot(options, error), 1);
    EXPECT_TRUE(error.contains(QStringLiteral("missing.vbp"))) << error.toStdString();
    EXPECT_FALSE(QFile::exists(png));
}

TEST(OptionsTest, ParsesTheCommandLine)
{
    struct Case {
        QStringList args;
        bool ok;
        QString file;
        QString screenshot;
        int actions;
    };
    const Case cases[] = {
        {{}, true, {}, {}, 0},
        {{QStringLiteral("a.vbp")}, true, QStringLiteral("a.vbp"), {}, 0},
        {{QStringLiteral("--encoding"), QStringLiteral("cp1252"), QStringLiteral("a.vbp")}, true,
         QStringLiteral("a.vbp"), {}, 0},
        {{QStringLiteral("--encoding=nonsense"), QStringLiteral("a.vbp")}, false, {}, {}, 0},
        {{QStringLiteral("a.vbp"), QStringLiteral("--tab"), QStringLiteral("2")}, false, {}, {}, 0},
        {{QStringLiteral("a.vbp"), QStringLiteral("--bogus")}, false, {}, {}, 0},
        {{QStringLiteral("--screenshot"), QStringLiteral("s.png"), QStringLiteral("a.vbg"), QStringLiteral("--tab"),
          QStringLiteral("2"), QStringLiteral("--resize"), QStringLiteral("9000"), QStringLiteral("7000")},
         true, QStringLiteral("a.vbg"), QStringLiteral("s.png"), 2},
        {{QStringLiteral("--screenshot"), QStringLiteral("s.png"), QStringLiteral("a.vbg"), QStringLiteral("--split")},
         false, {}, {}, 0},
        {{QStringLiteral("--screenshot")}, false, {}, {}, 0},
    };
    for (const Case &c : cases) {
        gui::Options options;
        QString error;
        const bool ok = gui::parseOptions(c.args, options, error);
        EXPECT_EQ(ok, c.ok) << c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(error.isEmpty(), ok) << c.args.join(QLatin1Char(' ')).toStdString();
        if (!ok || !c.ok)
            continue;
        EXPECT_EQ(options.file, c.file);
        EXPECT_EQ(options.screenshot, c.screenshot);
        EXPECT_EQ(int(options.actions.size()), c.actions);
    }
}

} // namespace
