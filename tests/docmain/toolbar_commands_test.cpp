// The two toolbars: the explorer's commands, the IDE's commands run by menu caption, and
// the window commands (arrangement, hiding code windows, the Immediate window, help word).
#include "about/frm_about.h"
#include "support/tool_window.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using testing_support::columnLines;
using testing_support::OpenToolWindow;
using testing_support::rowLines;
using testing_support::TestProject;

namespace {

const QString kExamples = QStringLiteral(TESSARY_SOURCE_DIR "/examples/");

const char *const kForm1 = R"vb(Option Explicit

Private Sub Command1_Click()
    Text1.Text = ""
End Sub
)vb";

const char *const kControls = R"vb(   Begin VB.CommandButton Command1
      Caption         =   "OK"
      TabIndex        =   0
   End
   Begin VB.TextBox Text1
      TabIndex        =   1
   End
)vb";

std::unique_ptr<ide::Ide> sample()
{
    return TestProject(QStringLiteral("Alpha"))
        .module(QStringLiteral("Module1"), QStringLiteral("Sub Main()\n    Helper\nEnd Sub\nSub Helper()\nEnd Sub\n"))
        .form(QStringLiteral("Form1"), QString::fromUtf8(kForm1), QString::fromUtf8(kControls))
        .vbpLine(QStringLiteral("Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX"))
        .build();
}

struct Toolbars : OpenToolWindow {
    explicit Toolbars(std::unique_ptr<ide::Ide> loaded = sample()) : OpenToolWindow(std::move(loaded))
    {
        platform.setKeyHandler(ide->keyHandler());
    }

    void click(const QString &key)
    {
        for (int t = 0; t <= 1; ++t) {
            if (doc->tbrMain(t).buttons().find(key)) {
                doc->tbrMain(t).click(key);
                return;
            }
        }
        FAIL() << "no button " << key.toStdString();
    }
    void clickNode(const QString &key, int tab = 0)
    {
        controls::Node *node = doc->tvwProject(tab).nodes().find(key);
        ASSERT_NE(node, nullptr) << key.toStdString();
        doc->tvwProject(tab).clickNode(node);
    }
    host::Ptr<host::Window> window(const QString &caption) const
    {
        return ide->vbe()->windows()->item(caption);
    }
    QStringList prompts() const
    {
        QStringList list;
        for (const auto &m : platform.messages())
            list << m.prompt;
        return list;
    }
};

// ---- explorer commands --------------------------------------------------------------------------

TEST(ExplorerCommands, RefreshGoesToTheGeneralTabAndReadsEveryProjectAgain)
{
    Toolbars t;
    t.doc->tbsProject.clickTab(docmain::TabRelative);
    t.doc->tvwProject(0).nodes().clear();
    t.click(QStringLiteral("REFRESH"));
    EXPECT_EQ(t.doc->mintCurrentTab, docmain::TabGeneral);
    EXPECT_NE(t.doc->tvwProject(0).nodes().find(QStringLiteral("Alpha_Module1")), nullptr);
}

TEST(ExplorerCommands, ProcAndCtrlRebuildTheListOfTheSelectedNodeInTheirMode)
{
    Toolbars t;
    t.clickNode(QStringLiteral("Alpha_Form1"));
    EXPECT_EQ(columnLines(t.doc->lvwDetail(0)).first(), QStringLiteral("Procedure"));
    t.click(QStringLiteral("CTRL"));
    EXPECT_EQ(columnLines(t.doc->lvwDetail(0)),
              (QStringList{"Control", "Class", "TabIndex>", "Parent"}));
    EXPECT_EQ(rowLines(t.doc->lvwDetail(0)).size(), 2);
    t.click(QStringLiteral("PROC"));
    EXPECT_EQ(columnLines(t.doc->lvwDetail(0)).first(), QStringLiteral("Procedure"));
    EXPECT_EQ(t.doc->mstrCurrentTag, QStringLiteral("VBForm"));
}

TEST(ExplorerCommands, ProcWithoutASelectedNodeDoesNothing)
{
    Toolbars t;
    t.doc->tvwProject(0).setSelectedItem(nullptr);
    t.doc->mstrCurrentTag = QStringLiteral("kept");
    t.click(QStringLiteral("CTRL"));
    EXPECT_EQ(t.doc->mstrCurrentTag, QStringLiteral("kept"));
    EXPECT_EQ(t.doc->lvwDetail(0).columnHeaders().count(), 0);
}

TEST(ExplorerCommands, UpAndDownShowCallersAndCalleesOfTheSelectedProcedure)
{
    Toolbars t;
    t.click(QStringLiteral("DEPENDENCY"));
    controls::TreeView &calls = t.doc->tvwProject(1);
    controls::Node *helper = nullptr;
    for (controls::Node *node : calls.nodes()) {
        if (node->text().startsWith(QLatin1String("Helper")))
            helper = node;
    }
    ASSERT_NE(helper, nullptr);
    calls.clickNode(helper);
    EXPECT_EQ(t.doc->lvwDetail(1).listItems().count(), 0);   // Helper calls nothing
    t.click(QStringLiteral("UP"));
    EXPECT_EQ(rowLines(t.doc->lvwDetail(1)).size(), 1);       // Main calls it
    EXPECT_TRUE(rowLines(t.doc->lvwDetail(1)).first().startsWith(QLatin1String("Main")));
}

TEST(ExplorerCommands, CopyPutsTheShownListOnTheClipboard)
{
    Toolbars t;
    t.clickNode(QStringLiteral("Alpha_Module1"));
    t.click(QStringLiteral("COPY"));
    const QStringList lines = t.platform.clipboardText().split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.first(), QStringLiteral("Procedure\tType\tScope\tStart\tLine\t"));
    EXPECT_EQ(lines.size(), 3);
}

TEST(ExplorerCommands, EditorShowsTheSelectionOfTheActiveCodePane)
{
    Toolbars t;
    QDir temp(QDir::tempPath() + QStringLiteral("/tessary-toolbar-test"));
    temp.removeRecursively();
    ASSERT_TRUE(temp.mkpath(QStringLiteral(".")));
    shared::basQuillbox().gTempPath = temp.path() + QLatin1Char('/');
    auto pane = t.component(QStringLiteral("Module1"))->codeModule()->codePane();
    pane->show();
    pane->setSelection(1, 1, 1, 9);
    t.click(QStringLiteral("EDITOR"));
    ASSERT_EQ(t.platform.shellCalls().size(), 1);
    QFile file(t.platform.shellCalls().first().path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("Sub Main\r\n"));
    temp.removeRecursively();
}

TEST(ExplorerCommands, AboutShowsTheVersionDialogModallyCentredWithTheMemoryFigures)
{
    Toolbars t;
    controls::MemoryStatus memory;
    memory.totalPhysical = 17179869184ull;   // 16 GiB: beyond any 32-bit counter
    memory.availablePhysical = 1234567;
    memory.totalPageFile = 2147483648ull;
    memory.availablePageFile = 999;
    memory.totalVirtual = 0x7FFE0000ull;
    memory.availableVirtual = 0;
    t.platform.setMemoryStatus(memory);
    t.platform.setScreenSize(15000, 12000);
    about::FrmAbout *shown = nullptr;
    t.platform.setModalHandler([&](controls::Form &form) { shown = dynamic_cast<about::FrmAbout *>(&form); });
    t.click(QStringLiteral("ABOUT"));
    ASSERT_EQ(shown, &t.doc->frmAbout());
    EXPECT_TRUE(shown->modal());
    EXPECT_EQ(shown->owner(), &t.doc->userDocument);
    EXPECT_EQ(shown->left(), (15000 - shown->width()) / 2);
    EXPECT_EQ(shown->top(), (12000 - shown->height()) / 2);
    QStringList figures;
    for (const auto &label : shown->lblInfo)
        figures << label.caption();
    EXPECT_EQ(figures, (QStringList{"17,179,869,184", "1,234,567", "2,147,483,648", "999", "2,147,352,576", "0"}));
    EXPECT_TRUE(shown->lblAppVer.caption().startsWith(QLatin1String("Tessary ")));
}

TEST(ExplorerCommands, SaveIsDisabledAndItsClickDoesNothing)
{
    Toolbars t;
    EXPECT_FALSE(t.doc->tbrMain(0).buttons()(QStringLiteral("SAVE"))->enabled());
    t.doc->tbrMain_ButtonClick(0, t.doc->tbrMain(0).buttons()(QStringLiteral("SAVE")));
    EXPECT_TRUE(t.platform.messages().isEmpty());
}

TEST(ExplorerCommands, AButtonClickedWhileARunIsInProgressIsRefusedWithAMessage)
{
    Toolbars t;
    bool clicked = false;
    t.platform.setDoEventsHandler([&] {
        if (clicked || !t.doc->busy())
            return;
        clicked = true;
        t.click(QStringLiteral("REFRESH"));
    });
    t.click(QStringLiteral("DEPENDENCY"));
    t.platform.setDoEventsHandler(nullptr);
    ASSERT_TRUE(clicked);
    ASSERT_EQ(t.prompts().size(), 1);
    EXPECT_TRUE(t.prompts().first().contains(QStringLiteral("処理の実行中")));
    EXPECT_EQ(t.platform.messages().first().buttons, controls::vbExclamation);
    EXPECT_FALSE(t.doc->busy());
    EXPECT_GT(t.doc->tvwProject(1).nodes().count(), 0);   // the run finished undisturbed
}

// ---- IDE commands ---------------------------------------------------------------------------------

TEST(IdeCommands, EachShortcutRunsTheMenuItemWhoseCaptionHoldsItsFragment)
{
    const std::vector<std::pair<const char *, const char *>> cases = {
        {"PRJPROP", "ProjectProperties"}, {"REFERENCE", "References"}, {"COMPONENT", "Components"},
        {"COMPILE", "MakeProject"},       {"ADDIN", "AddInManager"},   {"HORIZONTAL", "TileHorizontally"},
        {"VERTICAL", "TileVertically"},   {"TILE", "Cascade"},         {"ICON", "ArrangeIcons"}};
    for (const auto &[key, command] : cases) {
        Toolbars t;
        t.click(QString::fromLatin1(key));
        EXPECT_EQ(t.ide->executedCommands(), QStringList{QString::fromLatin1(command)}) << key;
        EXPECT_TRUE(t.platform.messages().isEmpty()) << key;
    }
}

TEST(IdeCommands, TheDialogsShowTheActiveProjectsData)
{
    Toolbars t;
    t.click(QStringLiteral("PRJPROP"));
    ASSERT_TRUE(t.ide->commandDialog());
    EXPECT_EQ(t.ide->commandDialog()->caption, QStringLiteral("Alpha - ﾌﾟﾛｼﾞｪｸﾄ ﾌﾟﾛﾊﾟﾃｨ"));
    EXPECT_TRUE(t.ide->commandDialog()->lines.contains(QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄ名: Alpha")));
    t.click(QStringLiteral("REFERENCE"));
    EXPECT_EQ(t.ide->commandDialog()->command, QStringLiteral("References"));
    EXPECT_FALSE(t.ide->commandDialog()->lines.isEmpty());
    t.click(QStringLiteral("COMPONENT"));
    EXPECT_EQ(t.ide->commandDialog()->lines,
              QStringList{QStringLiteral("[x] MSCOMCTL.OCX {831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0")});
    t.ide->closeCommandDialog();
    EXPECT_FALSE(t.ide->commandDialog());
}

TEST(IdeCommands, MakeSaysThereIsNoCompilerAndWritesNothing)
{
    Toolbars t;
    t.click(QStringLiteral("COMPILE"));
    ASSERT_TRUE(t.ide->commandDialog());
    EXPECT_TRUE(t.ide->commandDialog()->lines.first().contains(QStringLiteral("VB6 のｺﾝﾊﾟｲﾗがない")));
    EXPECT_TRUE(t.ide->commandDialog()->lines.first().contains(QStringLiteral("Alpha.exe")));
}

TEST(IdeCommands, AMissingBarOrCaptionDoesNothingAndSaysNothing)
{
    Toolbars t;
    t.ide->removeCommandBar(QStringLiteral("Project"));
    t.click(QStringLiteral("PRJPROP"));
    auto window = t.ide->vbe()->commandBars()->item(QStringLiteral("Window"))->controls();
    for (int i = 1; i <= window->count(); ++i)
        window->item(i)->setCaption(QStringLiteral("other %1").arg(i));
    t.click(QStringLiteral("TILE"));
    EXPECT_TRUE(t.ide->executedCommands().isEmpty());
    EXPECT_TRUE(t.platform.messages().isEmpty());
}

TEST(IdeCommands, TheFragmentMatchesACaptionInOtherLetterCaseAndOnlyTheFirst)
{
    Toolbars t;
    auto controls = t.ide->vbe()->commandBars()->item(QStringLiteral("Add-Ins"))->controls();
    controls->item(1)->setCaption(QStringLiteral("ｱﾄﾞｲﾝ ﾏﾈｰｼﾞｬ (FIRST)"));
    t.click(QStringLiteral("ADDIN"));
    EXPECT_EQ(t.ide->commandsRun(), QStringList{QStringLiteral("ｱﾄﾞｲﾝ ﾏﾈｰｼﾞｬ (FIRST)")});
}

TEST(IdeCommands, OpenAddsTheChosenProjectFilesInTheDialogsOrder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char *name : {"Second", "First"}) {
        QFile vbp(dir.filePath(QStringLiteral("%1.vbp").arg(QLatin1String(name))));
        ASSERT_TRUE(vbp.open(QIODevice::WriteOnly));
        vbp.write(QByteArray("Type=Exe\r\nName=\"") + name + "\"\r\n");
    }
    Toolbars t(std::make_unique<ide::Ide>());
    QStringList chosen = {dir.filePath(QStringLiteral("Second.vbp")), dir.filePath(QStringLiteral("gone.vbp")),
                          dir.filePath(QStringLiteral("First.vbp"))};
    t.platform.setOpenFileHandler([&](const controls::OpenFileRequest &) { return controls::openFileBuffer(chosen); });
    t.click(QStringLiteral("OPEN"));
    ASSERT_EQ(t.platform.openFileRequests().size(), 1);
    EXPECT_EQ(t.platform.openFileRequests().first().title, QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄの追加（複数選択可）"));
    EXPECT_TRUE(t.platform.openFileRequests().first().filter.contains(QStringLiteral("*.vbp;*.mak;*.vbg")));
    const auto projects = t.ide->vbe()->vbProjects();
    ASSERT_EQ(projects->count(), 2);   // the file that no longer exists is skipped
    EXPECT_EQ(projects->item(1)->name(), QStringLiteral("Second"));
    EXPECT_EQ(projects->item(2)->name(), QStringLiteral("First"));
    EXPECT_TRUE(t.platform.messages().isEmpty());

    chosen = {kExamples + QStringLiteral("Tessary.vbg")};
    t.click(QStringLiteral("OPEN"));
    EXPECT_EQ(projects->count(), 4);
}

TEST(IdeCommands, ACancelledOpenDialogChangesNothing)
{
    Toolbars t;
    t.click(QStringLiteral("OPEN"));
    EXPECT_EQ(t.platform.openFileRequests().size(), 1);
    EXPECT_EQ(t.ide->vbe()->vbProjects()->count(), 1);
    EXPECT_TRUE(t.platform.messages().isEmpty());
}

// ---- window commands --------------------------------------------------------------------------------

TEST(WindowCommands, TheArrangementsReachTheIde)
{
    Toolbars t;
    t.click(QStringLiteral("HORIZONTAL"));
    EXPECT_EQ(t.ide->arrangement(), QStringLiteral("TileHorizontally"));
    t.click(QStringLiteral("ICON"));
    EXPECT_EQ(t.ide->arrangement(), QStringLiteral("ArrangeIcons"));
}

TEST(WindowCommands, CloseHidesCodeAndDesignerWindowsOnly)
{
    Toolbars t;
    auto form = t.component(QStringLiteral("Form1"));
    form->codeModule()->codePane()->show();
    auto designer = form->designerWindow();
    designer->setVisible(true);
    t.click(QStringLiteral("CLOSE"));
    EXPECT_FALSE(form->codeModule()->codePane()->window()->visible());
    EXPECT_FALSE(designer->visible());
    EXPECT_TRUE(t.window(QStringLiteral("ｲﾐﾃﾞｨｴｲﾄ"))->visible());
    EXPECT_TRUE(t.window(QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄ"))->visible());
}

TEST(WindowCommands, WiperEmptiesTheImmediateWindowThroughItsKeys)
{
    Toolbars t;
    t.ide->setImmediateText(QStringLiteral("?1 + 1\n 2\n"));
    t.click(QStringLiteral("WIPER"));
    EXPECT_EQ(t.ide->immediateText(), QString());
    const QList<std::pair<QString, bool>> keys = {
        {QStringLiteral("^({Home})"), true}, {QStringLiteral("^(+({End}))"), true}, {QStringLiteral("{Del}"), true}};
    EXPECT_EQ(t.platform.sentKeys(), keys);
    EXPECT_EQ(t.ide->vbe()->activeWindow(), t.window(QStringLiteral("ｲﾐﾃﾞｨｴｲﾄ")));
}

TEST(WindowCommands, WiperLeavesAHiddenImmediateWindowAlone)
{
    Toolbars t;
    t.ide->setImmediateText(QStringLiteral("kept"));
    t.window(QStringLiteral("ｲﾐﾃﾞｨｴｲﾄ"))->setVisible(false);
    t.click(QStringLiteral("WIPER"));
    EXPECT_EQ(t.ide->immediateText(), QStringLiteral("kept"));
    EXPECT_TRUE(t.platform.sentKeys().isEmpty());
}

TEST(WindowCommands, MsdnShowsAndThenHidesTheHelpWordBand)
{
    Toolbars t;
    controls::Band *band = t.doc->cbrMain.bands()(4);
    EXPECT_FALSE(band->visible());
    t.click(QStringLiteral("MSDN"));
    EXPECT_TRUE(band->visible());
    EXPECT_TRUE(t.doc->cboHelpWord.visible());
    EXPECT_GT(t.doc->cbrMain.height(), 450);   // a row of its own
    t.click(QStringLiteral("MSDN"));
    EXPECT_FALSE(band->visible());
    EXPECT_FALSE(t.doc->cboHelpWord.visible());
}

} // namespace
