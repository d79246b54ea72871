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
#include <functional>
#include <gtest/gtest.h>
#include <vector>

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

/// The headless platform with file services a test can make fail.
struct TestPlatform : HeadlessPlatform {
    bool tempFileUnwritable = false;
    bool copyFails = false;

    QString createTempFile(const QString &dir, const QString &prefix) override
    {
        // A name that cannot be opened for writing, as from a folder gone meanwhile.
        if (tempFileUnwritable)
            return QDir(dir).filePath(QStringLiteral("gone/") + prefix.left(3) + QStringLiteral("1.tmp"));
        return HeadlessPlatform::createTempFile(dir, prefix);
    }
    bool copyFile(const QString &from, const QString &to, bool overwrite = true) override
    {
        return !copyFails && HeadlessPlatform::copyFile(from, to, overwrite);
    }
};

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

/// The message box of the add-in's error trap for a host error.
controls::MessageRecord trapMessage(int number)
{
    return {host::Error(number).description(), controls::vbExclamation, QString(), controls::vbOK};
}

struct Host {
    TestPlatform platform;
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
    const host::Picture application = about::resourceBitmap(QStringLiteral("APPLICATION"));
    ASSERT_FALSE(application.isNull());
    EXPECT_EQ(findCaption(h.vbe(), QStringLiteral("Add-Ins"), tessary)->face(), application);
    EXPECT_EQ(h.platform.clipboardImage(), application);
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

TEST(ConnectLifeCycle, AddedProjectIsListedAfterTheFocusMovesAndPendingMessagesRun)
{
    Host h;
    h.addIn->setConnect(true);
    auto &q = shared::basQuillbox();
    h.vbe()->vbProjects()->item(1)->vbComponents()->item(1)->codeModule()->codePane()->show();
    ASSERT_NE(h.vbe()->activeWindow(), h.vbe()->mainWindow());
    // At the first pump the focus has moved and the rescan (which starts with the
    // hourglass) has not begun.
    int pumps = 0;
    bool focusedBeforePump = false;
    bool rescanBeforePump = true;
    h.platform.setDoEventsHandler([&] {
        if (pumps++ > 0)
            return;
        focusedBeforePump = h.vbe()->activeWindow() == h.vbe()->mainWindow();
        rescanBeforePump = h.platform.screenMousePointer() != controls::MousePointer::Default ||
                           q.gDocMain->tvwProject(0).nodes().find(QStringLiteral("Beta")) != nullptr;
    });
    h.vbe()->vbProjects()->addFromFile(QStringLiteral("/project/Beta/Beta.vbp"), false);
    EXPECT_GT(pumps, 0);
    EXPECT_TRUE(focusedBeforePump);
    EXPECT_FALSE(rescanBeforePump);
    EXPECT_NE(q.gDocMain->tvwProject(0).nodes().find(QStringLiteral("Beta_Class1")), nullptr);
}

TEST(ConnectFailures, ConnectionErrorIsShownAndWhatWasSetUpStays)
{
    Host h;
    h.ide->failOn(QStringLiteral("Windows.CreateToolWindow"), host::err::InvalidCall);
    h.addIn->setConnect(true);
    const controls::MessageRecord trap = trapMessage(host::err::InvalidCall);
    EXPECT_EQ(h.platform.messages(), QList<controls::MessageRecord>{trap});
    auto &q = shared::basQuillbox();
    EXPECT_EQ(q.gToolWindow, nullptr);
    EXPECT_EQ(q.gDocMain, nullptr);
    // Menus and subscriptions made before the failing step are kept.
    EXPECT_EQ(q.gAddInInstance, h.addIn);
    EXPECT_EQ(countCaption(h.vbe(), QStringLiteral("Add-Ins"), QStringLiteral("Tessary")), 1);
    EXPECT_EQ(countCaption(h.vbe(), QStringLiteral("Code Window"), QStringLiteral("ﾃｷｽﾄ ｴﾃﾞｨﾀで表示")), 1);
    EXPECT_EQ(h.vbe()->events()->vbProjectsEvents()->ItemAdded.handlerCount(), 1u);
}

TEST(ConnectFailures, MenuBuilderErrorIsShownAndConnectionGoesOn)
{
    Host h;
    h.ide->failOn(QStringLiteral("CommandBarControls.Add"), host::err::InvalidCall);
    h.addIn->setConnect(true);
    // Each builder traps its own error; the connection carries on without the commands.
    const controls::MessageRecord trap = trapMessage(host::err::InvalidCall);
    EXPECT_EQ(h.platform.messages(), (QList<controls::MessageRecord>{trap, trap}));
    auto connect = std::dynamic_pointer_cast<addin::Connect>(h.addIn->object());
    ASSERT_NE(connect, nullptr);
    EXPECT_EQ(connect->AddInMenuControl(), nullptr);
    EXPECT_EQ(connect->CodeWindowMenuControl(), nullptr);
    auto &q = shared::basQuillbox();
    ASSERT_NE(q.gDocMain, nullptr);
    EXPECT_TRUE(q.gToolWindow->visible());
    EXPECT_NE(q.gDocMain->tvwProject(0).nodes().find(QStringLiteral("Alpha_Module1")), nullptr);
}

TEST(ConnectFailures, DisconnectionShowsEachFailingStepAndGoesOn)
{
    Host h;
    h.addIn->setConnect(true);
    auto &q = shared::basQuillbox();
    auto window = q.gToolWindow;
    h.ide->failOn(QStringLiteral("CommandBarControl.Delete"), host::err::InvalidCall);
    h.addIn->setConnect(false);
    // Both deletions failed, each with its message; the steps after them still ran.
    const controls::MessageRecord trap = trapMessage(host::err::InvalidCall);
    EXPECT_EQ(h.platform.messages(), (QList<controls::MessageRecord>{trap, trap}));
    EXPECT_FALSE(window->visible());
    EXPECT_EQ(q.gDocMain, nullptr);
    EXPECT_EQ(q.gToolWindow, nullptr);
    EXPECT_EQ(q.gAddInInstance, nullptr);
    EXPECT_EQ(q.gVBInstance, nullptr);
    EXPECT_EQ(h.vbe()->events()->vbProjectsEvents()->ItemAdded.handlerCount(), 0u);
    // The commands left behind are reused by the next connection.
    h.ide->clearFaults();
    h.platform.clearMessages();
    h.addIn->setConnect(true);
    EXPECT_EQ(countCaption(h.vbe(), QStringLiteral("Add-Ins"), QStringLiteral("Tessary")), 1);
    EXPECT_EQ(countCaption(h.vbe(), QStringLiteral("Code Window"), QStringLiteral("ﾃｷｽﾄ ｴﾃﾞｨﾀで表示")), 1);
    EXPECT_TRUE(h.platform.messages().isEmpty());
}

TEST(ConnectFailures, ProjectAddedHandlerErrorGoesToTheIdeBeforeAnythingElseRuns)
{
    Host h;
    h.addIn->setConnect(true);
    auto &q = shared::basQuillbox();
    h.ide->failOn(QStringLiteral("Window.SetFocus"), host::err::InvalidCall);
    const int pumps = h.platform.doEventsCount();
    h.vbe()->vbProjects()->addFromFile(QStringLiteral("/project/Beta/Beta.vbp"), false);
    // The handler has no trap: the IDE gets the error, no message box, and the
    // focus failure stops it before pending messages run and before the rescan.
    EXPECT_TRUE(h.platform.messages().isEmpty());
    EXPECT_EQ(h.platform.doEventsCount(), pumps);
    EXPECT_EQ(q.gDocMain->tvwProject(0).nodes().find(QStringLiteral("Beta")), nullptr);
    ASSERT_FALSE(h.ide->diagnostics().empty());
    EXPECT_EQ(h.ide->diagnostics().back().file, QStringLiteral("(add-in)"));
    EXPECT_TRUE(h.ide->diagnostics().back().message.contains(host::Error(host::err::InvalidCall).description()));
    // The project itself is loaded; a later rescan lists it.
    h.ide->clearFaults();
    q.gDocMain->FindNewProject(false);
    EXPECT_NE(q.gDocMain->tvwProject(0).nodes().find(QStringLiteral("Beta_Class1")), nullptr);
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
    EXPECT_EQ(fileBytes(first), expected);
    // Only the .txt copy stays behind, until the next view.
    EXPECT_EQ(QDir(h.temp.path()).entryList(QDir::Files), QStringList{QFileInfo(first).fileName()});
    pane->setSelection(1, 1, 1, 4);   // within one line: columns 1 to 3
    command->execute();
    ASSERT_EQ(opened().size(), 2);
    EXPECT_EQ(fileBytes(opened()[1]), QByteArray("Sub\r\n"));
    EXPECT_EQ(QDir(h.temp.path()).entryList(QDir::Files), QStringList{QFileInfo(opened()[1]).fileName()});
    EXPECT_TRUE(h.platform.messages().isEmpty());
}

TEST(ConnectEditor, FailingFileOrShellServicesEndTheViewSilently)
{
    struct Case {
        const char *name;
        std::function<void(Host &, bool)> fail;   // true breaks the service, false mends it
        qsizetype shellCalls;                     // made by the failed view
    };
    const std::vector<Case> cases = {
        {"temp file not created",
         [](Host &h, bool on) {
             shared::basQuillbox().gTempPath = h.temp.path() + (on ? QStringLiteral("/no/such/folder/") : QStringLiteral("/"));
         },
         0},
        {"temp file not writable", [](Host &h, bool on) { h.platform.tempFileUnwritable = on; }, 0},
        {"copy failed", [](Host &h, bool on) { h.platform.copyFails = on; }, 0},
        {"editor not started", [](Host &h, bool on) { h.platform.setShellResult(!on); }, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Host h;
        h.addIn->setConnect(true);
        auto pane = h.vbe()->vbProjects()->item(1)->vbComponents()->item(1)->codeModule()->codePane();
        pane->show();
        pane->setSelection(1, 1, 1, 4);
        c.fail(h, true);
        h.doc()->OpenEditor();
        EXPECT_TRUE(h.platform.messages().isEmpty());
        EXPECT_EQ(h.platform.shellCalls().size(), c.shellCalls);
        EXPECT_TRUE(QDir(h.temp.path()).entryList({QStringLiteral("*.tmp")}, QDir::Files).isEmpty());
        // Nothing is left broken: once the service works again, so does the view.
        c.fail(h, false);
        h.doc()->OpenEditor();
        ASSERT_EQ(h.platform.shellCalls().size(), c.shellCalls + 1);
        const QString shown = h.platform.shellCalls().back().path;
        EXPECT_EQ(fileBytes(shown), QByteArray("Sub\r\n"));
        EXPECT_EQ(QDir(h.temp.path()).entryList(QDir::Files), QStringList{QFileInfo(shown).fileName()});
        EXPECT_TRUE(h.platform.messages().isEmpty());
    }
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
