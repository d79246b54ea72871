// What a click, a header click, a double click or Enter in the tool window leads to.
#include "support/tool_window.h"

#include <gtest/gtest.h>

using namespace controls;
using docmain::DocMain;
using testing_support::columnLines;
using testing_support::OpenToolWindow;
using testing_support::rowLines;
using testing_support::TestProject;

namespace {

const char *const kModule1 = R"vb(Option Explicit
Private Declare Function GetTickCount Lib "kernel32" () As Long

Public Sub Alpha()
End Sub

Private Function Beta() As Long
End Function

Sub Gamma()
End Sub






Friend Sub Delta()
End Sub
)vb";

const char *const kFormControls = R"vb(   Begin VB.TextBox Text1 
      Index           =   0
      TabIndex        =   0
   End
   Begin VB.TextBox Text1 
      Index           =   1
      TabIndex        =   1
   End
   Begin VB.CommandButton Command1 
      TabIndex        =   2
   End
)vb";

std::unique_ptr<ide::Ide> twoProjects()
{
    auto files = std::make_shared<ide::files::MemoryFileSystem>();
    TestProject(QStringLiteral("Project1"))
        .module(QStringLiteral("Module1"), QString::fromUtf8(kModule1))
        .module(QStringLiteral("Module2"), QStringLiteral("Sub Only()\nEnd Sub\n"))
        .form(QStringLiteral("Form1"), QStringLiteral("Private Sub Form_Load()\nEnd Sub\n"), QString::fromUtf8(kFormControls))
        .form(QStringLiteral("Form2"), QString())
        .writeTo(*files);
    TestProject(QStringLiteral("Project2"), QStringLiteral("OleDll")).module(QStringLiteral("Util"), QString()).writeTo(*files);
    files->add(QStringLiteral("/project/Group.vbg"),
               "VBGROUP 5.0\r\nStartupProject=Project1/Project1.vbp\r\nProject=Project2/Project2.vbp\r\n");
    auto ide = std::make_unique<ide::Ide>(files);
    ide->setCodePage(ide::files::CodePage::Cp932);
    ide->load(QStringLiteral("/project/Group.vbg"));
    for (const auto &d : ide->diagnostics())
        ADD_FAILURE() << "load diagnostic: " << d.file.toStdString() << ": " << d.message.toStdString();
    return ide;
}

struct Explorer : OpenToolWindow {
    Explorer() : OpenToolWindow(twoProjects()) {}
    DocMain &d() { return *doc; }
    Node *node(const QString &key, int tree = 0) { return doc->tvwProject(tree).nodes()(key); }
    void click(const QString &key, int tree = 0) { doc->tvwProject(tree).clickNode(node(key, tree)); }
    ListView &list(int i = 0) { return doc->lvwDetail(i); }
    QStringList status() const
    {
        QStringList texts;
        for (const Panel *p : doc->staMain.panels())
            texts << p->text();
        return texts;
    }
    /// Switches the General list mode as the toolbar does: the next click rebuilds the columns.
    void mode(const char *button)
    {
        doc->tbrMain(0).click(QString::fromLatin1(button));
        doc->mstrCurrentTag.clear();
    }
    void selectRow(const QString &text, int i = 0)
    {
        for (ListItem *item : list(i).listItems()) {
            if (item->text() == text) {
                item->setSelected(true);
                return;
            }
        }
        ADD_FAILURE() << "no row " << text.toStdString();
    }
    /// Module and line of the active code pane's caret.
    QString caret() const
    {
        const auto pane = ide->vbe()->activeCodePane();
        if (!pane)
            return {};
        int line = 0, col = 0, endLine = 0, endCol = 0;
        pane->getSelection(line, col, endLine, endCol);
        return QStringLiteral("%1:%2:%3").arg(pane->codeModule()->name()).arg(line).arg(col);
    }
};

} // namespace

TEST(DocMainController, NodeClickChoosesTheListByTagAndToolbar)
{
    Explorer e;
    e.click(QStringLiteral("Project1"));
    EXPECT_EQ(e.d().mstrCurrentTag, QStringLiteral("Project"));
    EXPECT_EQ(columnLines(e.list()), (QStringList{"Property", "Value"}));
    EXPECT_EQ(e.list().listItems().count(), 6);
    EXPECT_EQ(e.status(), (QStringList{"", "", "Project1", "Project1", "項目数：6"}));
    EXPECT_TRUE(e.list().listItems()(1)->selected());
    EXPECT_FALSE(e.list().hideSelection());
    EXPECT_TRUE(e.list().sorted());
    EXPECT_EQ(e.d().imgcboProject.selectedItem()->key(), QStringLiteral("Project1"));
    // The list was drawn once, and everything is back to normal.
    EXPECT_EQ(e.platform.lockWindowUpdateCount(), 2);
    EXPECT_EQ(e.platform.lockedWindow(), nullptr);
    EXPECT_GE(e.platform.doEventsCount(), 1);
    EXPECT_EQ(e.platform.screenMousePointer(), MousePointer::Default);
    EXPECT_EQ(e.list().mousePointer(), MousePointer::Default);
    EXPECT_EQ(e.d().tvwProject(0).mousePointer(), MousePointer::Default);

    e.click(QStringLiteral("Project2_References"));
    EXPECT_EQ(columnLines(e.list()), (QStringList{"Reference", "Description", "FullPath", "GUID"}));
    EXPECT_EQ(e.d().mstrCurrentProject, QStringLiteral("Project2"));
    EXPECT_EQ(e.d().imgcboProject.selectedItem()->key(), QStringLiteral("Project2"));

    e.click(QStringLiteral("Project1_Std"));
    EXPECT_EQ(rowLines(e.list()), (QStringList{"Module1|STD|5|19|Option Explicit", "Module2|STD|1|2|"}));
    e.click(QStringLiteral("Project1_Module1"));
    // Sorted by the list itself, by name.
    QStringList names;
    for (const ListItem *item : e.list().listItems())
        names << item->text();
    EXPECT_EQ(names, (QStringList{"Alpha", "Beta", "Delta", "Gamma", "GetTickCount"}));
    EXPECT_EQ(e.status(), (QStringList{"", "", "Project1", "Module1", "項目数：5"}));

    e.mode("CTRL");
    e.click(QStringLiteral("Project1_VBForm"));
    EXPECT_EQ(rowLines(e.list()), (QStringList{"Form1|FORM|3", "Form2|FORM|0"}));
    e.click(QStringLiteral("Project1_Form1"));
    EXPECT_EQ(columnLines(e.list()), (QStringList{"Control", "Class", "TabIndex>", "Parent"}));
    EXPECT_EQ(e.list().listItems().count(), 3);
    EXPECT_TRUE(e.platform.messages().isEmpty());
}

TEST(DocMainController, ColumnsSurviveNodesOfTheSameKind)
{
    Explorer e;
    e.click(QStringLiteral("Project1_Module1"));
    e.list().columnHeaders()(1)->setWidth(2222);
    // Another module: same tag, the columns (and the width the user set) stay.
    e.click(QStringLiteral("Project1_Module2"));
    EXPECT_EQ(e.list().columnHeaders()(1)->width(), 2222);
    EXPECT_EQ(rowLines(e.list()), (QStringList{"Only|METHOD|Sub|Public|1|2"}));
    // A folder rebuilds the columns; coming back restores the procedure list's widths.
    e.click(QStringLiteral("Project1_Std"));
    EXPECT_EQ(columnLines(e.list()), (QStringList{"Module", "Procedure>", "Line>", "Declarations"}));
    EXPECT_EQ(e.list().columnHeaders()(1)->width(), kDefaultColumnWidth);
    e.click(QStringLiteral("Project1_Module1"));
    EXPECT_EQ(e.list().columnHeaders()(1)->width(), 2222);
}

TEST(DocMainController, HeaderClicksSortTextAndNumbers)
{
    Explorer e;
    e.click(QStringLiteral("Project1_Module1"));
    ListView &list = e.list();
    auto column = [&](int c) {
        QStringList cells;
        for (const ListItem *item : list.listItems())
            cells << item->columnText(c);
        return cells;
    };
    // The list is already in name order: the first header click turns it round.
    list.clickColumn(list.columnHeaders()(1));
    EXPECT_EQ(column(0), (QStringList{"GetTickCount", "Gamma", "Delta", "Beta", "Alpha"}));
    list.clickColumn(list.columnHeaders()(1));
    EXPECT_EQ(column(0), (QStringList{"Alpha", "Beta", "Delta", "Gamma", "GetTickCount"}));

    // "Start" is right-aligned: numbers, so 7 comes before 10 and 18.
    list.clickColumn(list.columnHeaders()(4));
    EXPECT_FALSE(list.sorted());
    EXPECT_EQ(column(3), (QStringList{"2", "4", "7", "10", "18"}));
    EXPECT_EQ(column(0), (QStringList{"GetTickCount", "Alpha", "Beta", "Gamma", "Delta"}));
    // Rows keep their keys, images and cells.
    const ListItem *first = list.listItems()(1);
    EXPECT_EQ(first->key(), QStringLiteral("GetTickCount"));
    EXPECT_EQ(first->smallIcon(), QStringLiteral("LIBRARY"));
    EXPECT_EQ(first->subItem(1), QStringLiteral("DLL/Win32API"));
    list.clickColumn(list.columnHeaders()(4));
    EXPECT_EQ(column(3), (QStringList{"18", "10", "7", "4", "2"}));

    // Another header starts ascending again, by text.
    list.clickColumn(list.columnHeaders()(3));
    EXPECT_TRUE(list.sorted());
    EXPECT_EQ(list.sortKey(), 2);
    EXPECT_EQ(list.sortOrder(), SortOrder::Ascending);
    EXPECT_EQ(column(2).first(), QStringLiteral("Friend"));
}

TEST(DocMainController, DoubleClickAndEnterOpenTheCode)
{
    Explorer e;
    e.click(QStringLiteral("Project1_Module1"));
    e.selectRow(QStringLiteral("Beta"));
    e.list().doubleClick();
    EXPECT_EQ(e.caret(), QStringLiteral("Module1:7:1"));
    // Enter does the same; a Public Sub declared without the keyword is found too.
    e.selectRow(QStringLiteral("Gamma"));
    EXPECT_EQ(e.list().pressKey(13), 13);
    EXPECT_EQ(e.caret(), QStringLiteral("Module1:10:1"));
    e.selectRow(QStringLiteral("GetTickCount"));
    e.list().pressKey(13);
    EXPECT_EQ(e.caret(), QStringLiteral("Module1:2:1"));
    e.selectRow(QStringLiteral("Delta"));
    e.list().doubleClick();
    EXPECT_EQ(e.caret(), QStringLiteral("Module1:18:1"));
    // Other keys do nothing.
    e.selectRow(QStringLiteral("Alpha"));
    e.list().pressKey(40);
    EXPECT_EQ(e.caret(), QStringLiteral("Module1:18:1"));

    // A folder's module list opens the module's code pane.
    e.click(QStringLiteral("Project1_Std"));
    e.selectRow(QStringLiteral("Module2"));
    e.list().doubleClick();
    EXPECT_EQ(e.ide->vbe()->activeCodePane()->codeModule()->name(), QStringLiteral("Module2"));

    // Project and reference lists do nothing.
    e.click(QStringLiteral("Project1"));
    e.list().doubleClick();
    EXPECT_EQ(e.ide->vbe()->activeCodePane()->codeModule()->name(), QStringLiteral("Module2"));
    EXPECT_TRUE(e.platform.messages().isEmpty());
}

TEST(DocMainController, DoubleClickOpensDesignersAndSelectsControls)
{
    Explorer e;
    e.mode("CTRL");
    e.click(QStringLiteral("Project1_VBForm"));
    e.selectRow(QStringLiteral("Form1"));
    e.list().doubleClick();
    EXPECT_TRUE(e.component(QStringLiteral("Form1"))->hasOpenDesigner());
    EXPECT_FALSE(e.component(QStringLiteral("Form2"))->hasOpenDesigner());

    e.click(QStringLiteral("Project1_Form1"));
    const auto controls = e.component(QStringLiteral("Form1"))->designer()->vbControls();
    auto selection = [&] {
        QStringList selected;
        for (int i = 1; i <= controls->count(); ++i) {
            if (controls->item(i)->inSelection())
                selected << controls->item(i)->name() + QString::number(controls->item(i)->index());
        }
        return selected;
    };
    e.selectRow(QStringLiteral("Text1(1)"));
    e.list().doubleClick();
    EXPECT_EQ(selection(), QStringList{"Text11"});
    e.selectRow(QStringLiteral("Command1"));
    e.list().pressKey(13);
    EXPECT_EQ(selection(), QStringList{"Command1-1"});
    EXPECT_TRUE(e.platform.messages().isEmpty());
}

TEST(DocMainController, ProjectBoxTabsAndRelativeTab)
{
    Explorer e;
    e.click(QStringLiteral("Project1_Module1"));
    ComboItem *p2 = e.d().imgcboProject.comboItems().find(QStringLiteral("Project2"));
    ASSERT_NE(p2, nullptr);
    e.d().imgcboProject.chooseItem(p2);
    EXPECT_EQ(e.d().tvwProject(0).selectedItem()->key(), QStringLiteral("Project2"));
    EXPECT_EQ(rowLines(e.list()).last(), QStringLiteral("Type|PROJECT|ActiveX DLL"));
    EXPECT_EQ(e.status()[2], QStringLiteral("Project2"));

    // The tab already shown: only the status panels are refreshed.
    e.d().SetStatusMessage(4, QStringLiteral("stale"));
    e.d().tbsProject.clickTab(1);
    EXPECT_EQ(e.status(), (QStringList{"", "", "Project2", "Project2", "項目数：6"}));
    EXPECT_EQ(e.list().listItems().count(), 6);

    // Relative tab: a project node empties the list, keeping its widths for the next time.
    e.d().tbsProject.clickTab(2);
    TreeView &calls = e.d().tvwProject(1);
    Node *root = calls.nodes().add({}, Relationship::Last, QStringLiteral("Project2"), QStringLiteral("Project2"));
    root->setTag(QStringLiteral("Project"));
    calls.nodes().add(root, Relationship::Child, QStringLiteral("Project2_Std"), QStringLiteral("標準ﾓｼﾞｭｰﾙ"))
        ->setTag(QStringLiteral("_Std"));
    ListView &relative = e.list(1);
    e.d().mstrCurrentTag = QStringLiteral("Project2_Util");
    relative.columnHeaders().add(0, QString(), QStringLiteral("Procedure"), 999);
    relative.listItems().add(0, QString(), QStringLiteral("Only"));
    e.click(QStringLiteral("Project2"), 1);
    EXPECT_EQ(relative.columnHeaders().count(), 0);
    EXPECT_EQ(relative.listItems().count(), 0);
    EXPECT_EQ(e.d().ColumnWidthTable[7], std::vector<int>{999});
    // A folder node fills nothing.
    e.click(QStringLiteral("Project2_Std"), 1);
    EXPECT_EQ(relative.listItems().count(), 0);
    EXPECT_EQ(e.d().mstrCurrentProject, QStringLiteral("Project2"));
}

TEST(DocMainController, OptimizeDoubleClickDrillsDownToTheModule)
{
    Explorer e;
    e.d().tbsProject.clickTab(3);
    TreeView &tree = e.d().tvwProject(2);
    Node *project = tree.nodes().add({}, Relationship::Last, QStringLiteral("Project1"), QStringLiteral("Project1"));
    project->setTag(QStringLiteral("ANLZ_Project1"));
    Node *module = tree.nodes().add(project, Relationship::Child, QStringLiteral("Project1_Module1"), QStringLiteral("Module1"));
    module->setTag(QStringLiteral("Module1"));
    tree.clickNode(project);
    ListView &list = e.list(2);
    list.columnHeaders().add(0, QString(), QStringLiteral("Module"));
    list.listItems().add(0, QStringLiteral("Module1"), QStringLiteral("Module1"))->setSelected(true);
    list.doubleClick();
    EXPECT_EQ(tree.selectedItem(), module);
    EXPECT_EQ(e.d().mstrCurrentTag, QStringLiteral("Module1"));
    EXPECT_EQ(e.status()[3], QStringLiteral("Module1"));
}

TEST(DocMainController, HelpWordBoxKeepsAHistoryAndLooksTheWordUp)
{
    Explorer e;
    ComboBox &box = e.d().cboHelpWord;
    box.pressKey(13);   // empty: nothing
    box.typeText(QStringLiteral("Len"));
    box.pressKey(40);   // not Enter: nothing
    EXPECT_TRUE(e.platform.helpKeywords().isEmpty());
    box.pressKey(13);
    box.typeText(QStringLiteral("Mid$"));
    box.pressKey(13);
    box.typeText(QStringLiteral("Len"));
    box.pressKey(13);
    EXPECT_EQ(box.items(), (QStringList{"Len", "Mid$"}));
    EXPECT_EQ(box.text(), QStringLiteral("Len"));
    EXPECT_EQ(e.platform.helpKeywords(), (QStringList{"Len", "Mid$", "Len"}));
}

TEST(DocMainController, AHostFailureIsReportedAndTheWindowRecovers)
{
    Explorer e;
    e.ide->failOn(QStringLiteral("VBProjects.Item"), 9);
    e.click(QStringLiteral("Project1"));
    ASSERT_EQ(e.platform.messages().size(), 1);
    EXPECT_EQ(e.platform.messages()[0].buttons, vbExclamation);
    EXPECT_EQ(e.platform.lockedWindow(), nullptr);
    EXPECT_EQ(e.platform.screenMousePointer(), MousePointer::Default);
    EXPECT_EQ(e.list().mousePointer(), MousePointer::Default);

    // The module a row names is gone from the host: the double click reports it.
    e.ide->clearFaults();
    e.click(QStringLiteral("Project1_Std"));
    e.selectRow(QStringLiteral("Module2"));
    e.ide->failOn(QStringLiteral("VBProjects.Item"), 9);
    e.list().doubleClick();
    EXPECT_EQ(e.platform.messages().size(), 2);
}
