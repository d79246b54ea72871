// The inspection dialog: its module tree, pages and buttons, and the run over the chosen
// modules (order of the checks, progress, stop, the error prompt, modules gone since the
// tree was built).
#include "inspection/frm_optimize.h"

#include "controls/platform.h"
#include "shared/bas_quillbox.h"
#include "support/test_project.h"

#include <gtest/gtest.h>

using controls::vbChecked;
using controls::vbUnchecked;
using inspection::FrmOptimize;
using testing_support::TestProject;

namespace {

TestProject project1()
{
    return TestProject(QStringLiteral("Project1"))
        .module(QStringLiteral("Module1"), QStringLiteral("Option Explicit\nPrivate mCount As Long\nSub Main()\nEnd Sub\n"))
        .classModule(QStringLiteral("Class1"), QStringLiteral("Option Explicit\nPrivate mName As String\n"))
        .form(QStringLiteral("Form1"), QStringLiteral("Option Explicit\nPrivate Sub Form_Load()\nEnd Sub\n"));
}

struct Dialog {
    controls::HeadlessPlatform platform;
    controls::ScopedPlatform scoped{platform};
    std::unique_ptr<ide::Ide> ide;
    std::unique_ptr<FrmOptimize> form;
    int analized = 0;

    explicit Dialog(std::unique_ptr<ide::Ide> loaded) : ide(std::move(loaded))
    {
        shared::resetBasQuillbox();
        shared::basQuillbox().gVBInstance = ide->vbe();
        form = std::make_unique<FrmOptimize>();
        form->onAnalized = [this] { ++analized; };
        form->show();
        form->RefreshProject();
    }
    explicit Dialog(const TestProject &project) : Dialog(project.build()) {}
    ~Dialog() { shared::resetBasQuillbox(); }

    controls::Node *node(const QString &key) const { return form->tvwProject.nodes()(key); }
    QStringList nodeLines() const
    {
        QStringList lines;
        for (const controls::Node *n : form->tvwProject.nodes())
            lines << QStringList{n->key(), n->text(), n->tag(), n->parent() ? n->parent()->key() : QString(),
                                 n->checked() ? QStringLiteral("x") : QString()}
                         .join(QLatin1Char('|'));
        return lines;
    }
    void onlyItems(std::initializer_list<int> items)
    {
        for (int i = 0; i < inspection::kCheckItemCount; ++i)
            form->chkItem(i).setValue(vbUnchecked);
        for (int i : items)
            form->chkItem(i).setValue(vbChecked);
    }
    /// Whatever the dialog's label and bars show at each yield of a run.
    std::vector<QString> watchTitles()
    {
        auto titles = std::make_shared<std::vector<QString>>();
        platform.setDoEventsHandler([this, titles] {
            QString title = form->lblCheck.caption();
            if (const qsizetype open = title.indexOf(QStringLiteral(" (")); open > 0)
                title.truncate(open);
            if (titles->empty() || titles->back() != title)
                titles->push_back(title);
        });
        m_titles = titles;
        return {};
    }
    std::vector<QString> titles() const { return m_titles ? *m_titles : std::vector<QString>{}; }

private:
    std::shared_ptr<std::vector<QString>> m_titles;
};

} // namespace

TEST(FrmOptimizeTree, ProjectsFoldersAndModulesAllChecked)
{
    Dialog d(project1());
    EXPECT_EQ(d.form->caption(), QStringLiteral("ｺｰﾄﾞ診断"));
    EXPECT_EQ(d.nodeLines(), (QStringList{
                                 "Project1|Project1|Project||x",
                                 "Project1_VBForm|ﾌｫｰﾑ|_VBForm|Project1|x",
                                 "Project1_Std|標準ﾓｼﾞｭｰﾙ|_Std|Project1|x",
                                 "Project1_Cls|ｸﾗｽ ﾓｼﾞｭｰﾙ|_Cls|Project1|x",
                                 "Project1_Module1|Module1|StdModule|Project1_Std|x",
                                 "Project1_Class1|Class1|ClassModule|Project1_Cls|x",
                                 "Project1_Form1|Form1|VBForm|Project1_VBForm|x",
                             }));
    EXPECT_TRUE(d.node(QStringLiteral("Project1"))->expanded());
}

TEST(FrmOptimizeTree, AProjectWithOnlyClassModulesHasOneFolder)
{
    Dialog d(TestProject(QStringLiteral("Lib"), QStringLiteral("OleDll"))
                 .classModule(QStringLiteral("A"), QString())
                 .classModule(QStringLiteral("B"), QString()));
    QStringList folders;
    for (const controls::Node *n : d.form->tvwProject.nodes())
        if (n->tag().startsWith(QLatin1Char('_')))
            folders << n->text();
    EXPECT_EQ(folders, QStringList{QStringLiteral("ｸﾗｽ ﾓｼﾞｭｰﾙ")});
}

TEST(FrmOptimizeTree, CheckingANodeChecksEverythingBelowIt)
{
    Dialog d(project1());
    d.form->cmdNext.press();
    d.form->cmdClear.press();
    auto &tree = d.form->tvwProject;
    tree.checkNode(d.node(QStringLiteral("Project1_Std")), true);
    EXPECT_TRUE(d.node(QStringLiteral("Project1_Module1"))->checked());
    EXPECT_FALSE(d.node(QStringLiteral("Project1_Class1"))->checked());
    tree.checkNode(d.node(QStringLiteral("Project1")), true);
    for (const controls::Node *n : tree.nodes())
        EXPECT_TRUE(n->checked()) << n->key().toStdString();
    tree.checkNode(d.node(QStringLiteral("Project1")), false);
    for (const controls::Node *n : tree.nodes())
        EXPECT_FALSE(n->checked()) << n->key().toStdString();
}

TEST(FrmOptimizePages, NextAndPreviousSwapThePagesAndTheButtonsActOnTheShownOne)
{
    Dialog d(project1());
    FrmOptimize &f = *d.form;
    EXPECT_TRUE(f.picContainer(0).visible());
    EXPECT_FALSE(f.picContainer(1).visible());
    EXPECT_FALSE(f.cmdPrev.enabled());
    EXPECT_FALSE(f.cmdExpand(0).visible());
    f.cmdClear.press();
    EXPECT_EQ(f.chkItem(12).value(), vbUnchecked);
    EXPECT_TRUE(d.node(QStringLiteral("Project1"))->checked());   // page 0: items only
    f.cmdNext.press();
    EXPECT_TRUE(f.picContainer(1).visible());
    EXPECT_FALSE(f.picContainer(0).visible());
    EXPECT_TRUE(f.cmdExpand(1).visible());
    f.cmdClear.press();
    EXPECT_FALSE(d.node(QStringLiteral("Project1_Form1"))->checked());
    f.cmdExpand(0).press();
    EXPECT_TRUE(d.node(QStringLiteral("Project1_Std"))->expanded());
    f.cmdExpand(1).press();
    EXPECT_FALSE(d.node(QStringLiteral("Project1_Std"))->expanded());
    EXPECT_EQ(f.tvwProject.selectedItem(), d.node(QStringLiteral("Project1")));
    f.cmdPrev.press();
    EXPECT_TRUE(f.picContainer(0).visible());
    EXPECT_FALSE(f.cmdExpand(0).visible());
    f.cmdCheck.press();
    EXPECT_EQ(f.chkItem(12).value(), vbChecked);
}

TEST(FrmOptimizePages, TheWindowsCloseBoxDoesNotCloseTheDialog)
{
    Dialog d(project1());
    EXPECT_FALSE(d.form->userClose());
    EXPECT_TRUE(d.form->visible());
    d.form->cmdCancel.press();
    EXPECT_FALSE(d.form->visible());
}

TEST(FrmOptimizeRun, NothingChosenReturnsAtOnce)
{
    Dialog d(project1());
    auto &bas = shared::basQuillbox();
    bas.gAnalizeModules = {{QStringLiteral("Old"), QStringLiteral("M"), QStringLiteral("StdModule")}};
    d.form->cmdNext.press();
    d.form->cmdClear.press();
    d.form->cmdOK.press();
    EXPECT_EQ(d.analized, 0);
    EXPECT_EQ(bas.gAnalizeCount, 0);
    EXPECT_EQ(bas.gAnalizeModules.size(), 1u);
    EXPECT_TRUE(d.form->visible());
    EXPECT_TRUE(d.form->cmdOK.enabled());
    EXPECT_TRUE(d.form->cmdPrev.enabled());
    EXPECT_FALSE(d.form->picContainer(2).visible());
}

TEST(FrmOptimizeRun, ChecksRunInTheFixedOrderForEveryModule)
{
    Dialog d(project1());
    d.watchTitles();
    d.form->cmdOK.press();
    const std::vector<QString> order = {
        "未使用プロシージャの検出", // the run's first label
        "Option Explicit宣言",
        "モジュール、パブリック変数の暗黙的な型宣言",
        "ローカル変数の暗黙的な型宣言",
        "未使用変数の検出",
        "未使用ローカル変数の検出",
        "文字列関数の戻り値の明示的型変換",
        "プロシージャのスコープ定義",
        "未使用プロシージャの検出",
        "空のプロシージャを検出",
        "ByRefの暗黙宣言を検出",
        "バリアント型の暗黙宣言を検出",
        "未使用の外部関数の検出",
        "コメント化されていないDebug.Print文の検出",
    };
    const std::vector<QString> titles = d.titles();
    ASSERT_EQ(titles.size(), 1 + 3 * (order.size() - 1));
    for (std::size_t k = 0; k < titles.size(); ++k) {
        const std::size_t expected = k == 0 ? 0 : 1 + (k - 1) % (order.size() - 1);
        EXPECT_EQ(titles[k], order[expected]) << k;
    }
    EXPECT_EQ(d.analized, 1);
    EXPECT_EQ(shared::basQuillbox().gAnalizeCount, 3);
    EXPECT_FALSE(d.form->visible());
}

TEST(FrmOptimizeRun, TheModuleLabelCountsTheChosenModulesAndBarsFollowTheSteps)
{
    Dialog d(project1());
    QStringList modules;
    int maxSteps = 0, maxMembers = 0;
    bool otherControlsEnabled = false;
    FrmOptimize &f = *d.form;
    d.platform.setDoEventsHandler([&] {
        if (modules.isEmpty() || modules.back() != f.lblModule.caption())
            modules << f.lblModule.caption();
        maxSteps = std::max(maxSteps, f.prgAnalize(0).max());
        maxMembers = std::max(maxMembers, f.prgAnalize(1).max());
        otherControlsEnabled = otherControlsEnabled || f.cmdOK.enabled() || f.cmdCancel.enabled() ||
                               f.cmdNext.enabled() || f.picContainer(0).enabled() || !f.cmdStop.enabled();
    });
    f.cmdOK.press();
    modules.removeAll(QString());
    // Tree order: per project its modules in the host's order.
    EXPECT_EQ(modules, (QStringList{"Project1.Module1 (1/3)", "Project1.Class1 (2/3)", "Project1.Form1 (3/3)"}));
    EXPECT_EQ(maxSteps, 12);
    EXPECT_EQ(maxMembers, 2);   // Module1: mCount and Main
    EXPECT_FALSE(otherControlsEnabled);
    EXPECT_FALSE(f.picContainer(2).visible());
}

TEST(FrmOptimizeRun, StoppingDuringTheThirdModuleKeepsTheDialogOpenWithoutResults)
{
    Dialog d(project1());
    FrmOptimize &f = *d.form;
    d.platform.setDoEventsHandler([&] {
        if (f.lblModule.caption().endsWith(QStringLiteral("(3/3)")) && f.cmdStop.enabled())
            f.cmdStop.press();
    });
    f.cmdOK.press();
    EXPECT_EQ(shared::basQuillbox().gAnalizeCount, 0);
    EXPECT_EQ(d.analized, 0);
    EXPECT_TRUE(f.visible());
    EXPECT_TRUE(f.cmdOK.enabled());
    EXPECT_TRUE(f.cmdCancel.enabled());
    EXPECT_TRUE(f.cmdNext.enabled());
    EXPECT_FALSE(f.cmdStop.enabled());
    EXPECT_FALSE(f.picContainer(2).visible());
    // The next run starts afresh.
    d.platform.setDoEventsHandler({});
    f.cmdOK.press();
    EXPECT_EQ(shared::basQuillbox().gAnalizeCount, 3);
}

TEST(FrmOptimizeRun, WithNoItemChosenEveryModuleStillGetsAnEntry)
{
    Dialog d(project1());
    d.onlyItems({});
    d.form->cmdOK.press();
    const auto &bas = shared::basQuillbox();
    ASSERT_EQ(bas.gAnalizeCount, 3);
    EXPECT_EQ(d.analized, 1);
    for (const shared::AnalizeResult &r : bas.gAnalizeResults) {
        EXPECT_TRUE(r.OptionExplicit);
        EXPECT_EQ(r.total(), 0);
        EXPECT_EQ(r.ProjectName, QStringLiteral("Project1"));
    }
    EXPECT_EQ(bas.gAnalizeResults[2].ModuleName, QStringLiteral("Form1"));
    EXPECT_EQ(bas.gAnalizeResults[2].ComponentType, QStringLiteral("VBForm"));
}

TEST(FrmOptimizeRun, AFailingCheckAsksAndNoGoesOnWithoutItsCount)
{
    Dialog d(project1());
    d.onlyItems({8});
    d.ide->failOn(QStringLiteral("CodeModule.Members"), 5);
    d.platform.queueAnswer(controls::vbNo);
    d.platform.queueAnswer(controls::vbNo);
    d.platform.queueAnswer(controls::vbNo);
    d.form->cmdOK.press();
    ASSERT_EQ(d.platform.messages().size(), 3);
    const controls::MessageRecord &prompt = d.platform.messages()[0];
    EXPECT_EQ(prompt.buttons, controls::vbYesNo | controls::vbExclamation);
    EXPECT_TRUE(prompt.prompt.startsWith(QStringLiteral("Err.Number:5, "))) << prompt.prompt.toStdString();
    EXPECT_TRUE(prompt.prompt.endsWith(QStringLiteral("\r\n内部エラーが発生しました。処理を中断しますか？")));
    EXPECT_EQ(shared::basQuillbox().gAnalizeCount, 3);
    EXPECT_EQ(shared::basQuillbox().gAnalizeResults[0].total(), 0);
}

TEST(FrmOptimizeRun, YesStopsTheRun)
{
    Dialog d(project1());
    d.onlyItems({8});
    d.ide->failOn(QStringLiteral("CodeModule.Members"), 5);
    d.platform.queueAnswer(controls::vbYes);
    d.form->cmdOK.press();
    EXPECT_EQ(d.platform.messages().size(), 1);
    EXPECT_EQ(shared::basQuillbox().gAnalizeCount, 0);
    EXPECT_TRUE(d.form->visible());
}

TEST(FrmOptimizeRun, AModuleRemovedOrAProjectUnloadedSinceTheTreeWasBuiltIsReportedNotFatal)
{
    Dialog d(project1());
    d.onlyItems({8});
    const auto project = d.ide->vbe()->vbProjects()->item(1);
    project->vbComponents()->remove(project->vbComponents()->item(QStringLiteral("Class1")));
    d.platform.queueAnswer(controls::vbNo);
    d.form->cmdOK.press();
    ASSERT_EQ(d.platform.messages().size(), 1);
    EXPECT_TRUE(d.platform.messages()[0].prompt.startsWith(QStringLiteral("Err.Number:9, ")));
    const auto &bas = shared::basQuillbox();
    ASSERT_EQ(bas.gAnalizeCount, 3);
    EXPECT_EQ(bas.gAnalizeResults[0].list(shared::FindingList::UnusedModuleVariable).count, 1);
    EXPECT_EQ(bas.gAnalizeResults[1].ModuleName, QStringLiteral("Class1"));
    EXPECT_EQ(bas.gAnalizeResults[1].total(), 0);

    d.form->show();
    d.form->RefreshProject();
    d.ide->vbe()->vbProjects()->remove(project);
    d.platform.clearMessages();
    d.platform.queueAnswer(controls::vbYes);
    d.form->cmdOK.press();
    EXPECT_EQ(d.platform.messages().size(), 1);
    EXPECT_EQ(bas.gAnalizeCount, 0);
}

TEST(FrmOptimizeRun, MoreFindingsThanASixteenBitCountHoldsAreAllKept)
{
    QString code = QStringLiteral("Option Explicit\n");
    constexpr int kVariables = 33000;
    for (int k = 0; k < kVariables; ++k)
        code += QStringLiteral("Private v%1 As Long\n").arg(k);
    Dialog d(TestProject().module(QStringLiteral("Big"), code));
    d.onlyItems({8});
    d.form->cmdOK.press();
    const auto &results = shared::basQuillbox().gAnalizeResults;
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].list(shared::FindingList::UnusedModuleVariable).count, kVariables);
    EXPECT_EQ(results[0].total(), kVariables);
}
