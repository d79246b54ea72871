// The tool window headless: initial state, layout and splitter, project tree,
// status and progress, detail rows and column widths.
#include "frontend/session.h"
#include "controls/platform.h"
#include "docmain/doc_main.h"
#include "shared/bas_quillbox.h"
#include "support/test_project.h"
#include "support/tool_window.h"

#include <gtest/gtest.h>

using namespace controls;
using docmain::DocMain;
using host::Ptr;
using testing_support::TestProject;

namespace {

using Window = testing_support::OpenToolWindow;

/// The tree as "key|tag|image" lines, children indented, in display order.
QStringList treeLines(const TreeView &tree)
{
    QStringList lines;
    std::function<void(const Node *, int)> walk = [&](const Node *n, int depth) {
        lines << QString(depth * 2, QLatin1Char(' ')) + n->key() + QLatin1Char('|') + n->tag() + QLatin1Char('|') + n->image();
        for (const Node *c : n->childList())
            walk(c, depth + 1);
    };
    for (const Node *n : tree.rootNodes())
        walk(n, 0);
    return lines;
}

QStringList statusTexts(const DocMain &doc)
{
    QStringList texts;
    for (const Panel *p : doc.staMain.panels())
        texts << p->text();
    return texts;
}

} // namespace

TEST(DocMainShell, InitialStateAfterCreation)
{
    Window w(TestProject().module(QStringLiteral("Module1"), QString()).build());
    DocMain &doc = *w.doc;
    EXPECT_EQ(doc.mintTabCount, 4);
    EXPECT_EQ(doc.mintCurrentTab, 1);
    EXPECT_EQ(doc.tvwProject.count(), 4);
    EXPECT_EQ(doc.lvwDetail.count(), 4);
    EXPECT_TRUE(doc.tvwProject(0).visible());
    EXPECT_TRUE(doc.lvwDetail(0).visible());
    for (int i = 1; i < 4; ++i) {
        EXPECT_FALSE(doc.tvwProject(i).visible());
        EXPECT_FALSE(doc.lvwDetail(i).visible());
    }
    QStringList tabs;
    for (const controls::Tab *t : doc.tbsProject.tabs())
        tabs << t->caption();
    EXPECT_EQ(tabs, (QStringList{"General", "Relative", "Optimize", "Search"}));

    const Buttons &b = doc.tbrMain(0).buttons();
    EXPECT_EQ(b(QStringLiteral("PROC"))->value(), ButtonValue::Pressed);
    EXPECT_EQ(b(QStringLiteral("DOWN"))->value(), ButtonValue::Pressed);
    for (const char *key : {"DOWN", "UP", "SAVE"})
        EXPECT_FALSE(b(QString::fromLatin1(key))->enabled()) << key;
    EXPECT_EQ(b(4)->style(), ButtonStyle::Separator);
    EXPECT_EQ(b(4)->description(), QStringLiteral("区切り"));
    EXPECT_EQ(b(QStringLiteral("DOWN"))->toolTipText(), QStringLiteral("参照先"));
    EXPECT_EQ(doc.tbrMain(1).buttons().count(), 13);

    // 23 fixed images, then one per toolbar button key, toolbar 0 first.
    const ImageList &images = *doc.mobjImageList;
    EXPECT_EQ(images.listImages().count(), 23 + 12 + 13);
    EXPECT_EQ(images.listImages().item(1)->key(), QStringLiteral("APPLICATION"));
    EXPECT_EQ(images.listImages().item(23)->key(), QStringLiteral("CRITICAL"));
    EXPECT_EQ(images.listImages().item(24)->key(), QStringLiteral("REFRESH"));
    EXPECT_EQ(images.listImages().item(36)->key(), QStringLiteral("OPEN"));
    EXPECT_EQ(b(QStringLiteral("FIND"))->image(), QStringLiteral("FIND"));

    EXPECT_FALSE(doc.staMain.panels()(2)->visible());
    EXPECT_FALSE(doc.prgMain.visible());
    EXPECT_FALSE(doc.cbrMain.bands()(4)->visible());
    EXPECT_EQ(doc.cboHelpWord.toolTipText(), QStringLiteral("検索する語句を入力してEnterｷｰを押します"));
    EXPECT_EQ(shared::basQuillbox().gTempPath, w.platform.tempPath());
    EXPECT_TRUE(w.platform.messages().isEmpty());
}

TEST(DocMainShell, LayoutKeepsTheTreeColumnAndNeverAppliesNegativeSizes)
{
    Window w(TestProject().module(QStringLiteral("Module1"), QString()).build());
    DocMain &doc = *w.doc;
    doc.resize(9000, 7000);
    const int treeColumn = doc.tbsProject.width();
    EXPECT_EQ(doc.picSplit.left(), treeColumn);
    EXPECT_EQ(doc.lvwDetail(0).left(), treeColumn + doc.picSplit.width());
    EXPECT_EQ(doc.lvwDetail(0).width(), 9000 - doc.lvwDetail(0).left());
    EXPECT_EQ(doc.lvwDetail(0).height(), 7000 - doc.cbrMain.height() - doc.staMain.height());
    EXPECT_EQ(doc.tvwProject(2).top(), doc.tbsProject.clientTop() + 10);

    doc.resize(12000, 7000);
    EXPECT_EQ(doc.tbsProject.width(), treeColumn);
    EXPECT_EQ(doc.lvwDetail(3).width(), 12000 - doc.lvwDetail(3).left());

    const int height = doc.tbsProject.height();
    doc.resize(12000, 300);   // shorter than cool bar + status bar
    EXPECT_EQ(doc.tbsProject.height(), height);
    EXPECT_EQ(doc.lvwDetail(0).height(), height);
    EXPECT_TRUE(w.platform.messages().isEmpty());
}

TEST(DocMainShell, SplitterKeepsBothColumnsAboveTheirMinimum)
{
    Window w(TestProject().module(QStringLiteral("Module1"), QString()).build());
    DocMain &doc = *w.doc;
    doc.resize(9000, 6000);
    auto drag = [&](int dx) {
        doc.picSplit.mouseDown.raise(vbLeftButton, 0, 0, 0);
        EXPECT_TRUE(doc.mblnSplitDrag);
        EXPECT_EQ(doc.picSplit.backColor(), vbButtonShadow);
        doc.picSplit.mouseMove.raise(vbLeftButton, 0, 2 * dx, 0);
        doc.picSplit.mouseUp.raise(vbLeftButton, 0, 0, 0);
        EXPECT_FALSE(doc.mblnSplitDrag);
    };
    drag(-50000);
    EXPECT_EQ(doc.picSplit.left(), 2000);
    EXPECT_EQ(doc.tbsProject.width(), 2000);
    EXPECT_EQ(doc.tvwProject(1).width(), 2000 - (2 * doc.tvwProject(1).left() + 10));
    drag(+50000);
    EXPECT_EQ(9000 - (doc.picSplit.left() + doc.picSplit.width()), 1000);
    EXPECT_EQ(doc.lvwDetail(2).width(), 1000);
    drag(-1500);
    EXPECT_EQ(doc.picSplit.left(), 9000 - doc.picSplit.width() - 1000 - 1500);
    // A move without a press does nothing.
    const int left = doc.picSplit.left();
    doc.picSplit.mouseMove.raise(0, 0, 4000, 0);
    EXPECT_EQ(doc.picSplit.left(), left);
}

TEST(DocMainProjectTree, FoldersKeysTagsAndImagesForEveryComponentKind)
{
    auto fs = std::make_shared<ide::files::MemoryFileSystem>();
    TestProject(QStringLiteral("My_Proj"))
        .module(QStringLiteral("basB"), QString())
        .module(QStringLiteral("basA"), QString())
        .classModule(QStringLiteral("cls受注"), QString())
        .form(QStringLiteral("frmChild"), QString(), QString(), true)
        .form(QStringLiteral("frmPlain"), QString())
        .mdiForm(QStringLiteral("mdiMain"), QString())
        .userControl(QStringLiteral("ctlA"), QString())
        .propertyPage(QStringLiteral("ppgA"), QString())
        .userDocument(QStringLiteral("docA"), QString())
        .designer(QStringLiteral("dsrA"), QString())
        .relatedDoc(QStringLiteral("notes.txt"))
        .resFile(QStringLiteral("app.res"))
        .writeTo(*fs);
    TestProject(QStringLiteral("Another")).module(QStringLiteral("Module1"), QString()).writeTo(*fs);
    auto ide = std::make_unique<ide::Ide>(fs);
    ide->load(QStringLiteral("/project/My_Proj/My_Proj.vbp"));
    ide->load(QStringLiteral("/project/Another/Another.vbp"));
    ASSERT_TRUE(ide->diagnostics().empty()) << ide->diagnostics()[0].message.toStdString();
    Window w(std::move(ide));
    const QStringList expected = {
        "Another|Project|PROJECT",
        "  Another_References|Reference|FOLDER",
        "  Another_Std|_Std|FOLDER",
        "    Another_Module1|StdModule|STD",
        "My_Proj|Project|PROJECT",
        "  My_Proj_References|Reference|FOLDER",
        "  My_Proj_VBForm|_VBForm|FOLDER",
        "    My_Proj_frmChild|VBForm|MDICHILD",
        "    My_Proj_frmPlain|VBForm|FORM",
        "  My_Proj_VBMDIForm|_VBMDIForm|FOLDER",
        "    My_Proj_mdiMain|VBMDIForm|MDIFORM",
        "  My_Proj_Std|_Std|FOLDER",
        "    My_Proj_basA|StdModule|STD",
        "    My_Proj_basB|StdModule|STD",
        "  My_Proj_Cls|_Cls|FOLDER",
        "    My_Proj_cls受注|ClassModule|CLASS",
        "  My_Proj_UsrCtrl|_UsrCtrl|FOLDER",
        "    My_Proj_ctlA|UserControl|USERCTRL",
        "  My_Proj_PropPage|_PropPage|FOLDER",
        "    My_Proj_ppgA|PropPage|PROPPAGE",
        "  My_Proj_Doc|_Doc|FOLDER",
        "    My_Proj_docA|DocObject|USERDOC",
        "  My_Proj_ActiveX|_ActiveX|FOLDER",
        "    My_Proj_dsrA|ActiveXDesigner|DESIGNER",
    };
    EXPECT_EQ(treeLines(w.doc->tvwProject(0)), expected);
    const Node *folder = w.doc->tvwProject(0).nodes().find(QStringLiteral("My_Proj_Std"));
    EXPECT_EQ(folder->expandedImage(), QStringLiteral("FOLDOPEN"));
    EXPECT_TRUE(folder->sorted());
    EXPECT_TRUE(w.doc->tvwProject(0).nodes().find(QStringLiteral("My_Proj"))->expanded());
    EXPECT_EQ(docmain::DocMain::projectOfKey(QStringLiteral("My_Proj_basA")), QStringLiteral("My"));

    QStringList box;
    for (const ComboItem *item : w.doc->imgcboProject.comboItems())
        box << item->key();
    EXPECT_EQ(box, (QStringList{"My_Proj", "Another"}));
    EXPECT_EQ(w.doc->mstrCurrentProject, QStringLiteral("My_Proj"));
    EXPECT_EQ(w.doc->imgcboProject.selectedItem()->key(), QStringLiteral("My_Proj"));
    EXPECT_EQ(statusTexts(*w.doc), QStringList(5, QString()));
    EXPECT_FALSE(w.doc->prgMain.visible());
}

TEST(DocMainProjectTree, ProjectsAddedAndRemovedOneAtATime)
{
    auto fs = std::make_shared<ide::files::MemoryFileSystem>();
    TestProject(QStringLiteral("Alpha")).module(QStringLiteral("Module1"), QString()).writeTo(*fs);
    TestProject(QStringLiteral("Beta")).classModule(QStringLiteral("Class1"), QString()).writeTo(*fs);
    TestProject(QStringLiteral("Gamma")).module(QStringLiteral("Module1"), QString()).writeTo(*fs);
    auto ide = std::make_unique<ide::Ide>(fs);
    ide->load(QStringLiteral("/project/Alpha/Alpha.vbp"));
    Window w(std::move(ide));
    DocMain &doc = *w.doc;
    auto &q = shared::basQuillbox();
    q.gFindCount = 3;
    q.gFindResults.resize(3);
    q.gAnalizeCount = 1;
    q.gAnalizeResults.resize(1);

    // Nothing new: only the tab is selected again; the listed project is found by name
    // and not taken a second time.
    doc.tbsProject.clickTab(2);
    doc.FindNewProject(false);
    EXPECT_EQ(doc.mintCurrentTab, 1);
    EXPECT_EQ(doc.tvwProject(0).rootNodes().size(), 1u);
    EXPECT_EQ(doc.mcolProjects.size(), 1u);

    w.ide->vbe()->vbProjects()->addFromFile(QStringLiteral("/project/Beta/Beta.vbp"), false);
    doc.FindNewProject(false);
    EXPECT_EQ(doc.mcolProjects.size(), 2u);
    EXPECT_EQ(doc.mstrCurrentProject, QStringLiteral("Alpha"));   // not the only project: not chosen
    EXPECT_NE(doc.tvwProject(0).nodes().find(QStringLiteral("Beta_Class1")), nullptr);

    // A class added later gets its folder on the fly.
    auto alpha = w.project(QStringLiteral("Alpha"));
    auto added = alpha->vbComponents()->add(host::ComponentType::ClassModule);
    EXPECT_EQ(doc.tvwProject(0).nodes().find(QStringLiteral("Alpha_Cls")), nullptr);
    doc.AddComponent(QStringLiteral("Alpha"), added);
    EXPECT_EQ(doc.tvwProject(0).nodes().find(QStringLiteral("Alpha_Class1"))->parent()->key(), QStringLiteral("Alpha_Cls"));

    // A project the IDE has already dropped has no name to read: nothing is touched.
    doc.lvwDetail(3).columnHeaders().add(0, QString(), QStringLiteral("Module"));
    const auto loaded = w.ide->load(QStringLiteral("/project/Gamma/Gamma.vbp"));
    ASSERT_EQ(loaded.size(), 1u);
    auto gamma = loaded.front();
    w.ide->vbe()->vbProjects()->remove(gamma);
    doc.RemoveProject(gamma);
    EXPECT_EQ(doc.lvwDetail(3).columnHeaders().count(), 1);
    EXPECT_EQ(doc.mcolProjects.size(), 2u);

    // Removing another project keeps the chosen one's results.
    doc.RemoveProject(w.project(QStringLiteral("Beta")));
    EXPECT_EQ(doc.tvwProject(0).nodes().find(QStringLiteral("Beta")), nullptr);
    EXPECT_EQ(doc.imgcboProject.comboItems().count(), 1);
    EXPECT_EQ(doc.lvwDetail(3).columnHeaders().count(), 0);
    EXPECT_EQ(q.gFindCount, 3);
    // Removing the chosen one drops them.
    doc.lvwDetail(0).columnHeaders().add(0, QString(), QStringLiteral("Property"));
    doc.RemoveProject(alpha);
    EXPECT_TRUE(doc.tvwProject(0).rootNodes().empty());
    EXPECT_TRUE(doc.mcolProjects.empty());
    EXPECT_TRUE(doc.mstrCurrentProject.isEmpty());
    EXPECT_EQ(doc.lvwDetail(0).columnHeaders().count(), 0);
    EXPECT_EQ(q.gFindCount, 0);
    EXPECT_TRUE(q.gFindResults.empty());
    EXPECT_EQ(q.gAnalizeCount, 0);
    EXPECT_TRUE(q.gAnalizeResults.empty());
}

TEST(DocMainProjectTree, ReloadRebuildsEverything)
{
    Window w(TestProject().module(QStringLiteral("Module1"), QString()).build());
    DocMain &doc = *w.doc;
    doc.tvwProject(2).nodes().add(ItemRef(), Relationship::Last, QStringLiteral("Project1"), QStringLiteral("x"));
    doc.lvwDetail(1).columnHeaders().add(0, QString(), QStringLiteral("Procedure"));
    doc.mstrCurrentTag = QStringLiteral("Project");
    doc.FindNewProject(true);
    EXPECT_TRUE(doc.tvwProject(2).rootNodes().empty());
    EXPECT_EQ(doc.lvwDetail(1).columnHeaders().count(), 0);
    EXPECT_TRUE(doc.mstrCurrentTag.isEmpty());
    EXPECT_EQ(doc.tvwProject(0).rootNodes().size(), 1u);
    EXPECT_EQ(doc.imgcboProject.comboItems().count(), 1);
    // Again: the collection was emptied too, so the project is built anew, once.
    doc.FindNewProject(true);
    EXPECT_EQ(doc.tvwProject(0).nodes().count(), 4);   // root, references, folder, module
    EXPECT_EQ(doc.mcolProjects.size(), 1u);
}

TEST(DocMainStatus, PanelsAndProgressFollowTheirRules)
{
    Window w(TestProject().module(QStringLiteral("Module1"), QString()).build());
    DocMain &doc = *w.doc;
    doc.SetStatusMessage(3, QStringLiteral("P"));
    doc.SetStatusMessage(6, QStringLiteral("ignored"));
    doc.SetStatusMessage(-1, QStringLiteral("ignored"));
    EXPECT_EQ(statusTexts(doc), (QStringList{"", "", "P", "", ""}));
    doc.SetStatusMessage(0, QStringLiteral("not shown"));
    EXPECT_EQ(statusTexts(doc), QStringList(5, QString()));

    int pumped = 0;
    w.platform.setDoEventsHandler([&] { ++pumped; });
    doc.SetProgress(0, 3);
    EXPECT_TRUE(doc.prgMain.visible());
    EXPECT_TRUE(doc.staMain.panels()(2)->visible());
    const Panel *panel = doc.staMain.panels()(2);
    EXPECT_EQ(doc.prgMain.left(), panel->left() + 30);
    EXPECT_EQ(doc.prgMain.top(), doc.staMain.top() + 50);
    EXPECT_EQ(doc.prgMain.width(), panel->width() - 50);
    EXPECT_EQ(doc.prgMain.height(), doc.staMain.height() - 80);
    doc.SetProgress(2, 0);
    EXPECT_EQ(doc.prgMain.value(), 2);
    doc.SetProgress(5, 0);   // above the maximum: unchanged
    EXPECT_EQ(doc.prgMain.value(), 2);
    doc.SetProgress(2, 2);   // both given: nothing
    EXPECT_EQ(doc.prgMain.value(), 2);
    doc.SetProgress(0, 0);
    EXPECT_FALSE(doc.prgMain.visible());
    EXPECT_FALSE(doc.staMain.panels()(2)->visible());
    EXPECT_EQ(doc.prgMain.value(), 0);
    EXPECT_EQ(doc.prgMain.max(), 1);
    EXPECT_EQ(pumped, 6);   // once after every call, and once more while finishing

    // Counts past VB's 16-bit range are fine.
    doc.SetProgress(0, 40000);
    doc.SetProgress(39999, 0);
    EXPECT_EQ(doc.prgMain.value(), 39999);
}

TEST(DocMainDetailList, RowsAndColumnWidthsPerListKind)
{
    Window w(TestProject().module(QStringLiteral("Module1"), QString()).build());
    DocMain &doc = *w.doc;
    ListView &list = doc.lvwDetail(0);
    auto makeColumns = [&](int n) {
        list.columnHeaders().clear();
        for (int i = 1; i <= n; ++i)
            list.columnHeaders().add(0, QString(), QStringLiteral("C%1").arg(i));
        doc.RestoreColumnWidths();
    };
    auto widths = [&] {
        std::vector<int> result;
        for (const ColumnHeader *c : list.columnHeaders())
            result.push_back(c->width());
        return result;
    };

    list.columnHeaders().add(0, QString(), QStringLiteral("X"));
    list.columnHeaders().add(0, QString(), QStringLiteral("Y"));
    list.columnHeaders().add(0, QString(), QStringLiteral("Z"));
    doc.AddDetailItem(QStringLiteral("k1"), {QStringLiteral("a"), QStringLiteral("b")}, QString(), QString());
    EXPECT_EQ(list.listItems()(1)->text(), QStringLiteral("k1"));   // no text: the key shows
    EXPECT_TRUE(list.listItems()(1)->smallIcon().isEmpty());
    doc.AddDetailItem(QStringLiteral("k2"), {QStringLiteral("a"), QStringLiteral("b")}, QStringLiteral("T"), QStringLiteral("METHOD"));
    EXPECT_EQ(list.listItems()(2)->smallIcon(), QStringLiteral("METHOD"));
    EXPECT_EQ(list.listItems()(2)->subItem(2), QStringLiteral("b"));
    EXPECT_THROW(doc.AddDetailItem(QStringLiteral("k2"), {}, QString(), QString()), host::Error);

    // A module's procedure list (slot 5): first time default widths, later the saved ones.
    doc.mstrCurrentTag = QStringLiteral("StdModule");
    makeColumns(5);
    const auto defaults = widths();
    EXPECT_EQ(doc.columnWidthSlot(), 5);
    list.columnHeaders()(2)->setWidth(3333);
    doc.SaveColumnWidths();
    // A folder's module list (slot 3) keeps its own widths.
    doc.mstrCurrentTag = QStringLiteral("_Std");
    makeColumns(4);
    EXPECT_EQ(doc.columnWidthSlot(), 3);
    EXPECT_EQ(widths(), std::vector<int>(defaults.begin(), defaults.begin() + 4));
    list.columnHeaders()(1)->setWidth(1111);
    doc.SaveColumnWidths();
    doc.mstrCurrentTag = QStringLiteral("StdModule");
    makeColumns(5);
    EXPECT_EQ(widths()[1], 3333);
    EXPECT_EQ(widths()[0], defaults[0]);
    // Fewer stored widths than columns: the rest keep their default.
    doc.mstrCurrentTag = QStringLiteral("_Std");
    makeColumns(5);
    EXPECT_EQ(widths()[0], 1111);
    EXPECT_EQ(widths()[4], defaults[4]);

    // Slots by tag, tab and toolbar state.
    doc.tbrMain(0).click(QStringLiteral("CTRL"));
    EXPECT_EQ(doc.columnWidthSlot(), 4);
    doc.mstrCurrentTag = QStringLiteral("VBForm");
    EXPECT_EQ(doc.columnWidthSlot(), 6);
    doc.mstrCurrentTag = QStringLiteral("Reference");
    EXPECT_EQ(doc.columnWidthSlot(), 2);
    doc.mstrCurrentTag = QStringLiteral("Project");
    EXPECT_EQ(doc.columnWidthSlot(), 1);
    const std::vector<std::pair<int, QString>> tabs = {{2, "x"}, {3, "ANLZ_PROJECT"}, {3, "ANLZ_P"}, {4, "FIND_PROJECT"}, {4, "FIND_P"}};
    const std::vector<int> slots = {7, 11, 10, 9, 8};
    for (std::size_t i = 0; i < tabs.size(); ++i) {
        doc.mintCurrentTab = tabs[i].first;
        doc.mstrCurrentTag = tabs[i].second;
        EXPECT_EQ(doc.columnWidthSlot(), slots[i]) << i;
    }
}

TEST(DocMainTabs, SwitchingTabsShowsOnePairAndEnablesItsButtons)
{
    Window w(TestProject(QStringLiteral("P1")).module(QStringLiteral("Module1"), QString()).build());
    DocMain &doc = *w.doc;
    doc.tbsProject.clickTab(2);
    EXPECT_EQ(doc.mintCurrentTab, 2);
    EXPECT_TRUE(doc.tvwProject(1).visible());
    EXPECT_FALSE(doc.tvwProject(0).visible());
    const Buttons &b = doc.tbrMain(0).buttons();
    EXPECT_FALSE(b(QStringLiteral("PROC"))->enabled());
    EXPECT_TRUE(b(QStringLiteral("UP"))->enabled());
    EXPECT_EQ(statusTexts(doc), QStringList(5, QString()));   // the Relative tree is empty
    doc.tbsProject.clickTab(1);
    EXPECT_TRUE(b(QStringLiteral("PROC"))->enabled());
    EXPECT_FALSE(b(QStringLiteral("DOWN"))->enabled());
    EXPECT_EQ(statusTexts(doc), (QStringList{"", "", "P1", "", "項目数：0"}));
}
