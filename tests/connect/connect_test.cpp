// The add-in's life cycle through the stand-in IDE: connection, menus, project events,
// the two commands, and cleanup on disconnection.
#include "about/frm_about.h"
#include "frontend/session.h"
#include "connect/connect.h"
#include "controls/platform.h"
#include "docmain/doc_main.h"
#include "shared/bas_quillbox.h"
#include "support/test_project.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using controls::HeadlessPlatform;
using controls::ScopedPlatform;
using host::Ptr;
using testing_support::TestProject;

namespace {

int countCaption(const Ptr<host::VBE> &vbe, const QString &bar, const QString &caption)
{
    auto controls = vbe->commandBars()->item(bar)->controls();
    int n = 0;
    for (int i = 1; i <= controls->count(); ++i)
        n += controls->item(i)->caption() == caption;
    return n;
}

Ptr<host::CommandBarControl> findCaption(const Ptr<host::VBE> &vbe, const QString &bar, const QString &caption)
{
    auto controls = vbe->commandBars()->item(bar)->controls();
    for (int i = 1; i <= controls->count(); ++i) {
        if (controls->item(i)->caption() == caption)
            return controls->item(i);
    }
    return nullptr;
}

struct Host {
    HeadlessPlatform platform;
    ScopedPlatform scoped{platform};
    QTemporaryDir temp;
    std::shared_ptr<ide::files::MemoryFileSystem> fs = std::make_shared<ide::files::MemoryFileSystem>();
    std::unique_ptr<ide::Ide> ide;
    Ptr<host::AddIn> addIn;

    Host()
    {
        platform.setTempPath(temp.path() + QLatin1Char('/'));
        shared::resetBasQuillbox();
        TestProject(QStringLiteral("Alpha"))
            .module(QStringLiteral("Module1"), QStringLiteral("Sub Main()\n    x = \"表示\"\n    y = 2\nEnd Sub\n"))
            .writeTo(*fs);
        TestProject(QStringLiteral("Beta")).classModule(QStringLiteral("Class1"), QString()).writeTo(*fs);
        ide = std::make_unique<ide::Ide>(fs);
        ide->setCodePage(ide::files::CodePage::Cp932);
        frontend::registerAddIn(*ide);
        ide->load(QStringLiteral("/project/Alpha/Alpha.vbp"));
        addIn = ide->vbe()->addins()->item(QString::fromLatin1(addin::kConnectProgId));
    }
    ~Host() { shared::resetBasQuillbox(); }
    Ptr<host::VBE> vbe() const { return ide->vbe(); }
    std::shared_ptr<docmain::DocMain> doc() const { return shared::basQuillbox().gDocMain; }
};

} // namespace

TEST(ConnectLifeCycle, ConnectBuildsMenusEventsAndWindowDisconnectUndoesThem)
{
    Host h;
    const QString tessary = QStringLiteral("Tessary");
    const QString editor = QStringLiteral("ﾃｷｽﾄ ｴﾃﾞｨﾀで表示");
    h.platform.setClipboardText(QStringLiteral("user's text"));
    h.addIn->setConnect(true);
    auto &q = shared::basQuillbox();
    ASSERT_NE(q.gDocMain, nullptr);
    EXPECT_EQ(q.gVBInstance, h.vbe());
    EXPECT_EQ(q.gAddInInstance, h.addIn);
    EXPECT_TRUE(q.gToolWindow->visible());
    EXPECT_EQ(q.gToolWindow->caption(), tessary);
    EXPECT_EQ(int(q.gToolWindow->type()), 15);
    EXPECT_EQ(countCaption(h.vbe(), QStringLiteral("Add-Ins"), tessary), 1);
    EXPECT_EQ(countCaption(h.vbe(), QStringLiteral("Code Window"), editor), 1);
    // The face came through the clipboard, which now holds the bitmap.
    EXPECT_FALSE(findCaption(h.vbe(), QStringLiteral("Add-Ins"), tessary)->face().isNull());
    EXPECT_FALSE(h.platform.clipboardImage().isNull());
    EXPECT_NE(q.gDocMain->tvwProject(0).nodes().find(QStringLiteral("Alpha_Module1")), nullptr);

    // Project events keep the tree in step; a new component does not.
    h.vbe()->vbProjects()->addFromFile(QStringLiteral("/project/Beta/Beta.vbp"), false);
    EXPECT_NE(q.gDocMain->tvwProject(0).nodes().find(QStringLiteral("Beta_Class1")), nullptr);
    h.vbe()->vbProjects()->item(QStringLiteral("Alpha"))->vbComponents()->add(host::ComponentType::StdModule);
    EXPECT_EQ(q.gDocMain->tvwProject(0).nodes().find(QStringLiteral("Alpha_Module2")), nullptr);
    h.vbe()->vbProjects()->remove(h.vbe()->vbProjects()->item(QStringLiteral("Beta")));
    EXPECT_EQ(q.gDocMain->tvwProject(0).nodes().find(QStringLiteral("Beta")), nullptr);
    EXPECT_NE(q.gDocMain->tvwProject(0).nodes().find(QStringLiteral("Alpha")), nullptr);

    // Closing the window and choosing the Add-Ins command shows it again, contents unchanged.
    const int nodes = q.gDocMain->tvwProject(0).nodes().count();
    q.gToolWindow->setVisible(false);
    findCaption(h.vbe(), QStringLiteral("Add-Ins"), tessary)->execute();
    EXPECT_TRUE(q.gToolWindow->visible());
    EXPECT_EQ(q.gDocMain->tvwProject(0).nodes().count(), nodes);

    // Disconnection: temp files gone, menus removed, window hidden, references released.
    auto window = q.gToolWindow;
    QFile stale(h.temp.filePath(QStringLiteral("QlxAB.txt")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    h.addIn->setConnect(false);
    EXPECT_FALSE(QFile::exists(stale.fileName()));
    EXPECT_EQ(countCaption(h.vbe(), QStringLiteral("Add-Ins"), tessary), 0);
    EXPECT_EQ(countCaption(h.vbe(), QStringLiteral("Code Window"), editor), 0);
    EXPECT_FALSE(window->visible());
    EXPECT_EQ(q.gDocMain, nullptr);
    EXPECT_EQ(q.gVBInstance, nullptr);
    // No subscription is left: loading a project now reaches nobody.
    EXPECT_EQ(h.vbe()->events()->vbProjectsEvents()->ItemAdded.handlerCount(), 0u);
    EXPECT_TRUE(h.platform.messages().isEmpty());
}

TEST(ConnectLifeCycle, ReconnectingLeavesOneCommandOfEach)
{
    Host h;
    h.addIn->setConnect(true);
    h.addIn->setConnect(false);
    h.addIn->setConnect(true);
    EXPECT_EQ(countCaption(h.vbe(), QStringLiteral("Add-Ins"), QStringLiteral("Tessary")), 1);
    EXPECT_EQ(countCaption(h.vbe(), QStringLiteral("Code Window"), QStringLiteral("ﾃｷｽﾄ ｴﾃﾞｨﾀで表示")), 1);
    // A command left behind by an earlier run is reused, not duplicated.
    auto &q = shared::basQuillbox();
    auto connect = std::dynamic_pointer_cast<addin::Connect>(h.addIn->object());
    ASSERT_NE(connect, nullptr);
    EXPECT_EQ(connect->AddToAddInCommandBar(QStringLiteral("Tessary")), connect->AddInMenuControl());
    EXPECT_NE(q.gDocMain, nullptr);
    EXPECT_EQ(q.gDocMain->mcolProjects.size(), 1u);
}

TEST(ConnectLifeCycle, MissingCommandBarsAndAClosedClipboardLoseNothing)
{
    Host h;
    h.ide->removeCommandBar(QStringLiteral("Code Window"));
    h.platform.setClipboardAvailable(false);
    h.addIn->setConnect(true);
    auto &q = shared::basQuillbox();
    EXPECT_NE(q.gDocMain, nullptr);
    EXPECT_TRUE(q.gToolWindow->visible());
    auto connect = std::dynamic_pointer_cast<addin::Connect>(h.addIn->object());
    EXPECT_EQ(connect->CodeWindowMenuControl(), nullptr);
    // The command exists without its face; the clipboard failure was reported once.
    ASSERT_NE(connect->AddInMenuControl(), nullptr);
    EXPECT_TRUE(connect->AddInMenuControl()->face().isNull());
    ASSERT_EQ(h.platform.messages().size(), 1);
    EXPECT_EQ(h.platform.messages()[0].buttons, controls::vbExclamation);
    h.addIn->setConnect(false);
    EXPECT_EQ(countCaption(h.vbe(), QStringLiteral("Add-Ins"), QStringLiteral("Tessary")), 0);
}

TEST(ConnectLifeCycle, ExternalConnectionOfARunningAddInOnlyShowsTheWindow)
{
    Host h;
    h.addIn->setConnect(true);
    auto &q = shared::basQuillbox();
    q.gToolWindow->setVisible(false);
    auto doc = q.gDocMain;
    addin::Connect external;
    external.onConnection(h.vbe(), host::ConnectMode::External, nullptr);
    EXPECT_TRUE(q.gToolWindow->visible());
    EXPECT_EQ(q.gDocMain, doc);
    EXPECT_EQ(countCaption(h.vbe(), QStringLiteral("Add-Ins"), QStringLiteral("Tessary")), 1);
    EXPECT_EQ(external.AddInMenuControl(), nullptr);
}

TEST(ConnectLifeCycle, DisconnectingWithADialogOpenUnloadsIt)
{
    Host h;
    h.addIn->setConnect(true);
    auto &about = shared::basQuillbox().gDocMain->frmAbout();
    about.show();
    ASSERT_TRUE(about.loaded());
    h.addIn->setConnect(false);
    EXPECT_FALSE(about.loaded());
    EXPECT_TRUE(h.platform.messages().isEmpty());
}

TEST(ConnectEditor, ContextCommandWritesTheSelectionInTheAnsiCodePage)
{
    Host h;
    h.platform.setAnsiCodePage("windows-31j");
    h.addIn->setConnect(true);
    auto opened = [&] {
        QStringList paths;
        for (const auto &call : h.platform.shellCalls())
            paths << call.path;
        return paths;
    };
    auto contents = [](const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
    };
    auto pane = h.vbe()->vbProjects()->item(1)->vbComponents()->item(1)->codeModule()->codePane();
    pane->show();
    auto command = findCaption(h.vbe(), QStringLiteral("Code Window"), QStringLiteral("ﾃｷｽﾄ ｴﾃﾞｨﾀで表示"));

    pane->setSelection(2, 5, 2, 5);   // caret only: no editor
    command->execute();
    EXPECT_TRUE(opened().isEmpty());

    pane->setSelection(1, 5, 3, 4);   // from inside line 1 to column 4 of line 3
    command->execute();
    ASSERT_EQ(opened().size(), 1);
    const QString first = opened()[0];
    EXPECT_TRUE(first.endsWith(QStringLiteral(".txt")));
    EXPECT_TRUE(QFileInfo(first).fileName().startsWith(QStringLiteral("Qlx")));
    EXPECT_EQ(h.platform.shellCalls()[0].verb, QStringLiteral("Open"));
    const QByteArray expected = QByteArray("Main()\r\n    x = \"") + QByteArray("\x95\x5c\x8e\xa6", 4) +
                                QByteArray("\"\r\n   \r\n");
    EXPECT_EQ(contents(first), expected);
    // Only the .txt copy stays behind, until the next view.
    EXPECT_EQ(QDir(h.temp.path()).entryList(QDir::Files), QStringList{QFileInfo(first).fileName()});
    pane->setSelection(1, 1, 1, 4);
    command->execute();
    ASSERT_EQ(opened().size(), 2);
    EXPECT_EQ(QDir(h.temp.path()).entryList(QDir::Files), QStringList{QFileInfo(opened()[1]).fileName()});
    EXPECT_TRUE(h.platform.messages().isEmpty());
}

TEST(ConnectEditor, UnwritableTempFolderIsReported)
{
    Host h;
    h.addIn->setConnect(true);
    shared::basQuillbox().gTempPath = h.temp.path() + QStringLiteral("/no/such/folder/");
    auto pane = h.vbe()->vbProjects()->item(1)->vbComponents()->item(1)->codeModule()->codePane();
    pane->show();
    pane->setSelection(1, 1, 1, 4);
    shared::basQuillbox().gDocMain->OpenEditor();
    ASSERT_EQ(h.platform.messages().size(), 1);
    EXPECT_TRUE(h.platform.messages()[0].prompt.contains(QStringLiteral("no/such/folder")));
}

TEST(ConnectClipboard, CopyWritesHeaderAndRowsTabSeparated)
{
    Host h;
    h.addIn->setConnect(true);
    auto doc = h.doc();
    auto &list = doc->lvwDetail(0);
    doc->CopyListToClipboard();   // no columns: the clipboard is just cleared
    EXPECT_TRUE(h.platform.clipboardText().isEmpty());
    list.columnHeaders().add(0, QString(), QStringLiteral("Name"));
    list.columnHeaders().add(0, QString(), QStringLiteral("Value"));
    doc->CopyListToClipboard();
    EXPECT_EQ(h.platform.clipboardText(), QStringLiteral("Name\tValue\t"));
    list.columnHeaders().add(0, QString(), QStringLiteral("Extra"));
    doc->AddDetailItem(QStringLiteral("a"), {QStringLiteral("1")}, QStringLiteral("Alpha"), QString());
    doc->AddDetailItem(QStringLiteral("b"), {QStringLiteral("2"), QStringLiteral("x")}, QStringLiteral("日本"), QString());
    doc->CopyListToClipboard();
    EXPECT_EQ(h.platform.clipboardText(),
              QStringLiteral("Name\tValue\tExtra\t\r\nAlpha\t1\t\r\n日本\t2\tx"));
    for (const auto *panel : doc->staMain.panels())
        EXPECT_TRUE(panel->text().isEmpty());

    h.platform.setClipboardAvailable(false);
    doc->CopyListToClipboard();
    ASSERT_EQ(h.platform.messages().size(), 1);
    EXPECT_EQ(h.platform.messages()[0].prompt, host::errorText(521, host::Language::Japanese));
    EXPECT_EQ(h.platform.screenMousePointer(), controls::MousePointer::Default);
}
