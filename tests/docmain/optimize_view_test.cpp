// The Optimize tab: the report tree and lists built from the shared inspection results, and
// the OPTIMIZE button that opens the inspection dialog and hands its results to the tab.
#include "support/tool_window.h"

#include <gtest/gtest.h>

using shared::AnalizeItem;
using shared::AnalizeModule;
using shared::AnalizeResult;
using shared::FindingList;
using testing_support::columnLines;
using testing_support::nodeLines;
using testing_support::OpenToolWindow;
using testing_support::rowLines;
using testing_support::TestProject;

namespace {

std::unique_ptr<ide::Ide> twoProjects()
{
    auto files = std::make_shared<ide::files::MemoryFileSystem>();
    TestProject(QStringLiteral("Alpha"))
        .module(QStringLiteral("Module1"), QStringLiteral("Option Explicit\nPrivate mCount As Long\nSub Main()\nEnd Sub\n"))
        .form(QStringLiteral("Form1"), QStringLiteral("Private Sub Form_Load()\nEnd Sub\n"))
        .writeTo(*files);
    TestProject(QStringLiteral("Beta"))
        .form(QStringLiteral("Form1"), QStringLiteral("Option Explicit\n"))
        .writeTo(*files);
    auto ide = std::make_unique<ide::Ide>(files);
    ide->load(QStringLiteral("/project/Alpha/Alpha.vbp"));
    ide->load(QStringLiteral("/project/Beta/Beta.vbp"));
    return ide;
}

struct OptimizeTab : OpenToolWindow {
    OptimizeTab() : OpenToolWindow(twoProjects()) {}

    /// One module's entry in the shared results.
    AnalizeResult &add(const QString &project, const QString &module, const QString &type)
    {
        auto &bas = shared::basQuillbox();
        bas.gAnalizeModules.push_back({project, module, type});
        AnalizeResult result;
        result.ProjectName = project;
        result.ModuleName = module;
        result.ComponentType = type;
        bas.gAnalizeResults.push_back(result);
        bas.gAnalizeCount = int(bas.gAnalizeResults.size());
        return bas.gAnalizeResults.back();
    }
    static void append(AnalizeResult &result, FindingList list, const AnalizeItem &item)
    {
        auto &l = result.list(list);
        l.items.push_back(item);
        l.count = int(l.items.size());
    }
    /// Alpha.Module1 with three findings and no Option Explicit, Alpha.Form1 clean, Beta.Form1
    /// with one finding, and a component of a type the report has no image for.
    void standardResults()
    {
        AnalizeResult &module1 = add(QStringLiteral("Alpha"), QStringLiteral("Module1"), QStringLiteral("StdModule"));
        module1.OptionExplicit = false;
        append(module1, FindingList::UnusedModuleVariable, {QStringLiteral("mCount"), 2, QStringLiteral("mCount")});
        append(module1, FindingList::UnusedDeclare, {QStringLiteral("GetDC"), 1, QStringLiteral("GetDC")});
        add(QStringLiteral("Alpha"), QStringLiteral("Form1"), QStringLiteral("VBForm"));
        AnalizeResult &beta = add(QStringLiteral("Beta"), QStringLiteral("Form1"), QStringLiteral("VBForm"));
        append(beta, FindingList::StringFunction, {QStringLiteral("Form_Load"), 3, QStringLiteral("Left")});
        add(QStringLiteral("Beta"), QStringLiteral("Odd"), QStringLiteral("Unknown"));
    }
    controls::TreeView &tree() { return doc->tvwProject(2); }
    controls::ListView &list() { return doc->lvwDetail(2); }
    void click(const QString &key)
    {
        controls::Node *node = tree().nodes()(key);
        tree().setSelectedItem(node);
        doc->tvwProject_NodeClick(2, node);
    }
};

} // namespace

TEST(OptimizeTabTree, OneNodePerProjectAndModuleAndTheFirstProjectShown)
{
    OptimizeTab w;
    w.standardResults();
    w.doc->SetAnalizeResult();
    EXPECT_EQ(w.doc->mintCurrentTab, docmain::TabOptimize);
    // Beta's first module has the name of Alpha's last one and still gets its own node.
    EXPECT_EQ(nodeLines(w.tree()), (QStringList{
                                       "Alpha|Alpha|ANLZ_PROJECT|PROJECT|",
                                       "Alpha_Module1|Module1|ANLZ_Alpha|STD|Alpha",
                                       "Alpha_Form1|Form1|ANLZ_Alpha|FORM|Alpha",
                                       "Beta|Beta|ANLZ_PROJECT|PROJECT|",
                                       "Beta_Form1|Form1|ANLZ_Beta|FORM|Beta",
                                       "Beta_Odd|Odd|ANLZ_Beta||Beta",
                                   }));
    EXPECT_EQ(w.tree().selectedItem()->key(), QStringLiteral("Alpha"));
    EXPECT_EQ(columnLines(w.list()), (QStringList{"Module", "Result"}));
    EXPECT_EQ(rowLines(w.list()), (QStringList{
                                      "Form1|FORM|エラーは検出されませんでした",
                                      "Module1|STD|3件のエラーが検出されました",
                                  }));
}

TEST(OptimizeTabTree, NoResultsLeaveTheTreeEmptyAndNothingSelected)
{
    OptimizeTab w;
    w.doc->SetAnalizeResult();
    EXPECT_EQ(w.tree().nodes().count(), 0);
    EXPECT_EQ(w.list().listItems().count(), 0);
}

TEST(OptimizeTabList, AModuleShowsOneRowPerFindingSortedByLocation)
{
    OptimizeTab w;
    w.standardResults();
    w.doc->SetAnalizeResult();
    w.click(QStringLiteral("Alpha_Module1"));
    EXPECT_EQ(columnLines(w.list()), (QStringList{"Locatioｎ", "Result"}));
    EXPECT_EQ(rowLines(w.list()), (QStringList{
                                      "Declarations|INFORMATION|Option Explicit が宣言されていません",
                                      "GetDC|EXCLAMATION|外部関数 GetDC は未使用です",
                                      "mCount|EXCLAMATION|モジュール変数 mCount は未使用です",
                                  }));
    w.click(QStringLiteral("Alpha_Form1"));
    EXPECT_EQ(rowLines(w.list()), (QStringList{"\uFF0D|APPLICATION|エラーは検出されませんでした"}));
    w.click(QStringLiteral("Beta_Form1"));
    EXPECT_EQ(rowLines(w.list()),
              (QStringList{"Form_Load|EXCLAMATION|Leftは内部処理形式StringのVariant型を返します。Left$の使用を検討してください"}));
}

TEST(OptimizeTabList, ModuleToModuleKeepsTheColumnsAndProjectToModuleRebuildsThem)
{
    OptimizeTab w;
    w.standardResults();
    w.doc->SetAnalizeResult();
    w.click(QStringLiteral("Alpha_Module1"));
    w.list().columnHeaders()(1)->setWidth(2222);
    w.click(QStringLiteral("Alpha_Form1"));
    EXPECT_EQ(w.list().columnHeaders()(1)->width(), 2222);
    w.click(QStringLiteral("Beta"));
    EXPECT_EQ(columnLines(w.list()), (QStringList{"Module", "Result"}));
    EXPECT_EQ(rowLines(w.list()), (QStringList{
                                      "Form1|FORM|1件のエラーが検出されました",
                                      "Odd||エラーは検出されませんでした",
                                  }));
    // Back to a module: the findings layout comes back with the width it was left with.
    w.click(QStringLiteral("Beta_Form1"));
    EXPECT_EQ(w.list().columnHeaders()(1)->width(), 2222);
}

TEST(OptimizeTabList, DoubleClickOnASummaryRowShowsThatModule)
{
    OptimizeTab w;
    w.standardResults();
    w.doc->SetAnalizeResult();
    w.list().setSelectedItem(w.list().listItems()(QStringLiteral("Module1")));
    w.doc->lvwDetail_DblClick(2);
    EXPECT_EQ(w.tree().selectedItem()->key(), QStringLiteral("Alpha_Module1"));
    EXPECT_EQ(w.list().listItems().count(), 3);
}

TEST(OptimizeButton, EmptiesTheLastResultsAndOpensTheDialogOverAllModules)
{
    OptimizeTab w;
    w.standardResults();
    w.doc->SetAnalizeResult();
    w.doc->tbrMain_ButtonClick(0, w.doc->tbrMain(0).buttons()(QStringLiteral("OPTIMIZE")));
    EXPECT_EQ(shared::basQuillbox().gAnalizeCount, 0);
    EXPECT_TRUE(shared::basQuillbox().gAnalizeResults.empty());
    // The old tree stays, its list is empty on the next click.
    w.click(QStringLiteral("Alpha_Module1"));
    EXPECT_EQ(w.list().listItems().count(), 0);

    inspection::FrmOptimize *dialog = w.doc->frmOptimize();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->visible());
    EXPECT_EQ(dialog->tvwProject.nodes().count(), 8); // 2 projects, 3 folders, 3 modules
    // Only the unused-code items, which this tab's data does not depend on beyond.
    dialog->cmdClear.press();
    for (int item : {3, 4, 7, 8, 9})
        dialog->chkItem(item).setValue(controls::vbChecked);
    dialog->cmdOK.press();
    EXPECT_FALSE(dialog->visible());
    EXPECT_EQ(shared::basQuillbox().gAnalizeCount, 3);
    EXPECT_EQ(w.doc->mintCurrentTab, docmain::TabOptimize);
    EXPECT_EQ(rowLines(w.list()), (QStringList{
                                      "Form1|FORM|エラーは検出されませんでした",
                                      "Module1|STD|1件のエラーが検出されました",
                                  }));
    w.click(QStringLiteral("Alpha_Module1"));
    EXPECT_EQ(rowLines(w.list()), (QStringList{"mCount|EXCLAMATION|モジュール変数 mCount は未使用です"}));
}
