// The Search tab: the tree and lists built from the shared hits, and the jump to a hit's line.
#include "find/search.h"
#include "support/tool_window.h"

#include <gtest/gtest.h>

using testing_support::columnLines;
using testing_support::nodeLines;
using testing_support::OpenToolWindow;
using testing_support::rowLines;
using testing_support::TestProject;

namespace {

const char *const kForm1 = R"vb(Option Explicit
Private mCount As Long

Private Sub Form_Load()
    mCount = 0
End Sub

Public Property Get Count() As Long
    Count = mCount
End Property
)vb";

std::unique_ptr<ide::Ide> twoProjects()
{
    auto files = std::make_shared<ide::files::MemoryFileSystem>();
    TestProject(QStringLiteral("Alpha"))
        .module(QStringLiteral("Module1"), QStringLiteral("Public mCount As Long\nSub Reset()\n    mCount = 0\nEnd Sub\n"))
        .form(QStringLiteral("Form1"), QString::fromUtf8(kForm1))
        .writeTo(*files);
    TestProject(QStringLiteral("Beta")).form(QStringLiteral("Form1"), QString::fromUtf8(kForm1), {}, true).writeTo(*files);
    auto ide = std::make_unique<ide::Ide>(files);
    ide->load(QStringLiteral("/project/Alpha/Alpha.vbp"));
    ide->load(QStringLiteral("/project/Beta/Beta.vbp"));
    return ide;
}

struct SearchTab : OpenToolWindow {
    SearchTab() : OpenToolWindow(twoProjects()) {}

    void search(const QString &text)
    {
        ASSERT_TRUE(find::RunSearch(ide->vbe(), text, find::FindTarget::allProjects(), {}, shared::basQuillbox()));
        doc->SetFindResult();
    }
    controls::TreeView &tree() { return doc->tvwProject(3); }
    controls::ListView &list() { return doc->lvwDetail(3); }
    void click(const QString &key)
    {
        controls::Node *node = tree().nodes()(key);
        tree().setSelectedItem(node);
        doc->tvwProject_NodeClick(3, node);
    }
    void selectRow(int index) { list().setSelectedItem(list().listItems()(index)); }
};

TEST(SearchTabTree, OneNodePerProjectAndPerModuleWithHits)
{
    SearchTab w;
    w.search(QStringLiteral("mCount"));
    EXPECT_EQ(w.doc->mintCurrentTab, docmain::TabSearch);
    // Beta's first module has the name of Alpha's last one and still gets its own node.
    EXPECT_EQ(nodeLines(w.tree()), (QStringList{
                                       "Alpha|Alpha|FIND_PROJECT|PROJECT|",
                                       "Alpha_Module1|Module1|FIND_Alpha|STD|Alpha",
                                       "Alpha_Form1|Form1|FIND_Alpha|FORM|Alpha",
                                       "Beta|Beta|FIND_PROJECT|PROJECT|",
                                       "Beta_Form1|Form1|FIND_Beta|MDICHILD|Beta",
                                   }));
    EXPECT_TRUE(w.tree().nodes()(QStringLiteral("Alpha"))->expanded());
    // Children sorted by text.
    EXPECT_EQ(w.tree().nodes()(QStringLiteral("Alpha"))->child()->text(), QStringLiteral("Form1"));
}

TEST(SearchTabList, TheProjectLayoutListsEveryModuleSortedByModule)
{
    SearchTab w;
    w.search(QStringLiteral("mCount"));
    EXPECT_EQ(w.tree().selectedItem()->key(), QStringLiteral("Alpha"));
    EXPECT_EQ(columnLines(w.list()), (QStringList{"Procedure", "Module", "Description", "Line>"}));
    EXPECT_EQ(rowLines(w.list()), (QStringList{
                                      "(Declarations)|DECLARE|Form1|Private mCount As Long|2",
                                      "Form_Load|METHOD|Form1|    mCount = 0|5",
                                      "Count|PROPERTY|Form1|    Count = mCount|9",
                                      "(Declarations)|DECLARE|Module1|Public mCount As Long|1",
                                      "Reset|METHOD|Module1|    mCount = 0|3",
                                  }));
}

TEST(SearchTabList, TheModuleLayoutSortsByProcedure)
{
    SearchTab w;
    w.search(QStringLiteral("mCount"));
    w.click(QStringLiteral("Beta_Form1"));
    EXPECT_EQ(columnLines(w.list()), (QStringList{"Procedure", "Description", "Line>"}));
    EXPECT_EQ(rowLines(w.list()), (QStringList{
                                      "(Declarations)|DECLARE|Private mCount As Long|2",
                                      "Count|PROPERTY|    Count = mCount|9",
                                      "Form_Load|METHOD|    mCount = 0|5",
                                  }));
    EXPECT_EQ(w.platform.messages().size(), 0);
}

TEST(SearchTabJump, ADoubleClickSelectsTheHitLineInItsCodePane)
{
    SearchTab w;
    w.search(QStringLiteral("mCount"));
    w.click(QStringLiteral("Alpha_Module1"));
    w.selectRow(2);   // Reset, line 3
    w.doc->lvwDetail_DblClick(3);
    int startLine = 0, startCol = 0, endLine = 0, endCol = 0;
    w.component(QStringLiteral("Module1"))->codeModule()->codePane()->getSelection(startLine, startCol, endLine, endCol);
    EXPECT_EQ((std::vector<int>{startLine, startCol, endLine}), (std::vector<int>{3, 1, 3}));
    EXPECT_EQ(endCol, QStringLiteral("    mCount = 0").size() + 1);   // the host clips 2 * length + 1
    EXPECT_EQ(w.platform.messages().size(), 0);

    // From the project layout the row names the module.
    w.click(QStringLiteral("Alpha"));
    w.selectRow(2);   // Form_Load in Form1, line 5
    w.doc->lvwDetail_DblClick(3);
    w.component(QStringLiteral("Form1"))->codeModule()->codePane()->getSelection(startLine, startCol, endLine, endCol);
    EXPECT_EQ(startLine, 5);
}

TEST(SearchTabJump, AModuleRemovedAfterTheSearchIsReported)
{
    SearchTab w;
    w.search(QStringLiteral("mCount"));
    w.click(QStringLiteral("Alpha_Module1"));
    const auto components = w.project(QStringLiteral("Alpha"))->vbComponents();
    components->remove(components->item(QStringLiteral("Module1")));
    w.selectRow(1);
    w.doc->lvwDetail_DblClick(3);
    EXPECT_EQ(w.platform.messages().size(), 1);
}

TEST(SearchTabTree, NoHitsLeaveAnEmptyTreeAndNoList)
{
    SearchTab w;
    w.search(QStringLiteral("mCount"));
    shared::basQuillbox().gFindCount = 0;
    shared::basQuillbox().gFindResults.clear();
    w.doc->SetFindResult();
    EXPECT_EQ(w.tree().nodes().count(), 0);
    EXPECT_EQ(w.list().columnHeaders().count(), 0);
}

} // namespace
