// Procedure call references: the call search, the call-analysis tree (opened lazily and
// expanded at once, which must agree), the callers and callees lists and the toolbar command.
#include "analysis/call_references.h"
#include "controls/platform.h"
#include "docmain/doc_main.h"
#include "shared/bas_quillbox.h"
#include "support/test_project.h"
#include "support/tool_window_session.h"

#include <gtest/gtest.h>

#include <functional>

using namespace controls;
using analysis::CallTreeExpansion;
using docmain::DocMain;
using testing_support::TestProject;

namespace {

// Self calls, mutual calls, a diamond, a chain five deep, a Private procedure with the name of
// a Public one, qualified calls, comments and strings, an external declaration, every
// call-site pattern and its near misses.
std::unique_ptr<ide::Ide> fixtureProject()
{
    return TestProject()
        .module(QStringLiteral("Module1"), QStringLiteral(R"vb(Option Explicit
Private Declare Function GetTickCount Lib "kernel32" () As Long

Public Sub Main()
    Helper
    x = Compute(1)
    Call Logger: Beep
    Module2.SharedWork
    Recurse
End Sub

Public Sub Helper()
    Helper
    Dim t As Long
    t = GetTickCount()
End Sub

Public Function Compute(ByVal n As Long) As Long
    Compute = Twice(n)
End Function

Private Function Twice(ByVal n As Long) As Long
    Twice = n * 2
    Ping
End Function

Public Sub Logger()
    ' Compute is only mentioned here
    Debug.Print "call Twice now"
End Sub

Public Sub Ping()
    Pong
End Sub

Public Sub Pong()
    Ping
End Sub

Public Sub Recurse()
    Level1
End Sub
)vb"))
        .module(QStringLiteral("Module2"), QStringLiteral(R"vb(Option Explicit

Public Sub SharedWork()
    Compute 2
End Sub

Private Sub Helper()
    Dim x As Long
End Sub

Public Sub UsesHelper()
    Helper
End Sub

Public Sub NonMatches()
    x = ComputeAll
    y = obj.Compute
    z = Module3.Hidden
End Sub
)vb"))
        .module(QStringLiteral("Module3"), QStringLiteral(R"vb(Option Explicit

Public Sub Level1()
    Level2a
    Level2b
End Sub

Public Sub Level2a()
    Level3
End Sub

Public Sub Level2b()
    Level3
End Sub

Public Sub Level3()
    Level4
End Sub

Public Sub Level4()
    Ping
    Recurse
End Sub

Private Sub Hidden()
End Sub

Private Sub CallsHidden()
    Module3.Hidden
End Sub
)vb"))
        .classModule(QStringLiteral("Class1"), QStringLiteral(R"vb(Option Explicit

Public Sub Run()
    Main
    Me.Compute
End Sub

Public Sub Compute()
End Sub

Public Property Get Value() As Long
    Value = Compute2
End Property

Private Function Compute2() As Long
End Function
)vb"))
        .build();
}

struct Window : testing_support::ToolWindowSession {
    using ToolWindowSession::ToolWindowSession;

    TreeView &tree() { return doc->tvwProject(1); }
    ListView &list() { return doc->lvwDetail(1); }
    Node *node(const QString &key) { return tree().nodes().find(key); }
    /// Selects the Relative tab and builds the tree as DEPENDENCY does.
    void analyze(CallTreeExpansion expansion)
    {
        doc->tbsProject.setSelectedItem(doc->tbsProject.tabs()(2));
        doc->tbsProject_Click();
        analysis::AnalyzeProcedureCalls(*doc, ide->vbe(), expansion);
    }
    /// Opens every node that has children to load, including those it adds.
    void openAll()
    {
        for (int i = 1; i <= tree().nodes().count(); ++i)
            tree().nodes().item(i)->loadChildren();
    }
};

/// The texts of a node's children.
QStringList childTexts(const Node *n)
{
    QStringList texts;
    for (const Node *c : n->childList())
        texts << c->text();
    return texts;
}

/// The tree as "text|tag|image" lines, indented by depth, in display order.
QStringList treeLines(const TreeView &tree)
{
    QStringList lines;
    std::function<void(const Node *, int)> walk = [&](const Node *n, int depth) {
        lines << QString(depth * 2, QLatin1Char(' ')) + n->text() + QLatin1Char('|') + n->tag()
                + QLatin1Char('|') + n->image();
        for (const Node *c : n->childList())
            walk(c, depth + 1);
    };
    for (const Node *n : tree.rootNodes())
        walk(n, 0);
    return lines;
}

/// A node's subtree below it, texts indented by depth.
QStringList subtree(const Node *node)
{
    QStringList lines;
    std::function<void(const Node *, int)> walk = [&](const Node *n, int depth) {
        for (const Node *c : n->childList()) {
            lines << QString(depth * 2, QLatin1Char(' ')) + c->text();
            walk(c, depth + 1);
        }
    };
    walk(node, 0);
    return lines;
}

QStringList rows(const ListView &list)
{
    QStringList result;
    for (const ListItem *item : list.listItems())
        result << QStringLiteral("%1|%2|%3|%4").arg(item->text(), item->subItem(1), item->subItem(2), item->smallIcon());
    return result;
}

const QString P = QStringLiteral("Project1");

} // namespace

TEST(CallReferences, CallSiteTestPatternsAndNearMisses)
{
    using analysis::isCallSite;
    const QString m = QStringLiteral("Module1"), foo = QStringLiteral("Foo");
    EXPECT_TRUE(isCallSite(QStringLiteral("x = Foo(1)"), foo, m, false));  // 1
    EXPECT_TRUE(isCallSite(QStringLiteral("x = Foo"), foo, m, false));     // 2
    EXPECT_TRUE(isCallSite(QStringLiteral("Call Foo"), foo, m, false));    // 3 (and 2)
    EXPECT_TRUE(isCallSite(QStringLiteral("Call Foo: x = 1"), foo, m, false)); // 3 alone
    EXPECT_TRUE(isCallSite(QStringLiteral("Foo"), foo, m, false));         // 2 and 5
    EXPECT_TRUE(isCallSite(QStringLiteral("FOO 1, 2"), foo, m, false));    // any case
    EXPECT_TRUE(isCallSite(QStringLiteral("If a Then Module1.Foo"), foo, m, true)); // 4
    EXPECT_FALSE(isCallSite(QStringLiteral("If a Then Module1.Foo"), foo, m, false));
    EXPECT_FALSE(isCallSite(QStringLiteral("x = FooBar"), foo, m, true));
    EXPECT_FALSE(isCallSite(QStringLiteral("y = x.Foo"), foo, m, true));
    EXPECT_FALSE(isCallSite(QStringLiteral("Me.Foo"), foo, m, true));
    EXPECT_FALSE(isCallSite(QStringLiteral("x = Foo_Click"), foo, m, true));
}

TEST(CallReferences, CallSearchAddsOneEntryPerCallerAndCallee)
{
    Window w(fixtureProject());
    w.analyze(CallTreeExpansion::Lazy);
    auto entries = [&](const QString &key) { return childTexts(w.node(key)); };

    // Sorted by name; Helper's call to itself gives nothing; "Call Logger: Beep" is test 3.
    EXPECT_EQ(entries(P + "_Module1_Main"), QStringList({"Compute", "Helper", "Logger", "Recurse", "SharedWork"}));
    EXPECT_EQ(entries(P + "_Module1_Helper"), QStringList({"GetTickCount"}));
    // A name in a string on a code line counts; one in a comment line does not.
    EXPECT_EQ(entries(P + "_Module1_Logger"), QStringList({"Twice"}));
    EXPECT_EQ(entries(P + "_Module1_Ping"), QStringList({"Pong"}));
    EXPECT_EQ(entries(P + "_Module1_Pong"), QStringList({"Ping"}));
    EXPECT_EQ(entries(P + "_Module3_Level1"), QStringList({"Level2a", "Level2b"}));
    EXPECT_EQ(entries(P + "_Module3_Level4"), QStringList({"Ping", "Recurse"}));
    // x = ComputeAll, y = obj.Compute, and a qualified call of a Private procedure: nothing.
    EXPECT_EQ(entries(P + "_Module2_NonMatches"), QStringList());
    EXPECT_EQ(entries(P + "_Module3_CallsHidden"), QStringList());
    // Me.Compute in the class means no one; Module1.Compute's search skips the class, which has
    // a Compute of its own.
    EXPECT_EQ(entries(P + "_Class1_Run"), QStringList({"Main"}));
    EXPECT_EQ(entries(P + "_Class1_Value"), QStringList({"Compute2"}));

    // Tags name the callee's module; the Private Helper of Module2 is the one UsesHelper calls.
    EXPECT_EQ(w.node(P + "_Module2_UsesHelper")->child()->tag(), P + ",Module2,Helper");
    const Node *mainHelper = w.node(P + "_Module1_Main")->childList()[1];
    EXPECT_EQ(mainHelper->tag(), P + ",Module1,Helper");
    EXPECT_EQ(mainHelper->image(), "METHOD");
    EXPECT_TRUE(mainHelper->key().isEmpty());
    // The qualified call Module2.SharedWork (test 4) is found under Main.
    EXPECT_EQ(w.node(P + "_Module1_Main")->childList()[4]->tag(), P + ",Module2,SharedWork");

    // The external declaration: hidden procedure node, LIBRARY entries.
    const Node *declare = w.node(P + "_Module1_GetTickCount");
    EXPECT_EQ(declare->image(), "LIBRARY");
    EXPECT_FALSE(declare->visible());
    EXPECT_EQ(w.node(P + "_Module1_Helper")->child()->image(), "LIBRARY");
    // A property gets a node of its own.
    EXPECT_EQ(w.node(P + "_Class1_Value")->image(), "PROPERTY");
    EXPECT_EQ(w.node(P + "_Class1_Value")->tag(), P + "_Class1");
}

TEST(CallReferences, OpeningEntriesFollowsCalleesDownToCycles)
{
    Window w(fixtureProject());
    w.analyze(CallTreeExpansion::Lazy);
    Node *main = w.node(P + "_Module1_Main");
    Node *recurse = main->childList()[3];
    ASSERT_EQ(recurse->text(), "Recurse");
    EXPECT_EQ(recurse->children(), 0);
    EXPECT_TRUE(recurse->childrenToLoad());
    // Entries that call nothing have nothing to open.
    EXPECT_TRUE(w.node(P + "_Module1_Logger")->child()->childrenToLoad());
    EXPECT_FALSE(w.node(P + "_Module1_Helper")->child()->childrenToLoad());

    w.tree().expandNode(recurse);
    EXPECT_TRUE(recurse->expanded());
    EXPECT_EQ(childTexts(recurse), QStringList({"Level1"}));
    w.openAll();
    // The diamond twice over; Ping/Pong stop where Ping is on the path, Recurse where it is.
    EXPECT_EQ(subtree(recurse), QStringList({"Level1",
                                             "  Level2a",
                                             "    Level3",
                                             "      Level4",
                                             "        Ping",
                                             "          Pong",
                                             "            Ping",
                                             "        Recurse",
                                             "  Level2b",
                                             "    Level3",
                                             "      Level4",
                                             "        Ping",
                                             "          Pong",
                                             "            Ping",
                                             "        Recurse"}));
    // Mutual calls: under Ping's entry for Pong, Pong's entry for Ping, and no further.
    EXPECT_EQ(subtree(w.node(P + "_Module1_Ping")), QStringList({"Pong", "  Ping"}));
}

TEST(CallReferences, LazyTreeOpenedEverywhereEqualsTheFullExpansion)
{
    Window full(fixtureProject());
    full.analyze(CallTreeExpansion::Full);
    auto lazyIde = fixtureProject();
    Window lazy(std::move(lazyIde));
    // The toolbar command runs the lazy analysis.
    lazy.doc->tbrMain(0).click(QStringLiteral("DEPENDENCY"));
    EXPECT_EQ(lazy.doc->mintCurrentTab, 2);
    const int before = lazy.tree().nodes().count();
    lazy.openAll();
    EXPECT_GT(lazy.tree().nodes().count(), before);
    EXPECT_EQ(treeLines(lazy.tree()), treeLines(full.tree()));
    for (const Node *n : lazy.tree().nodes())
        EXPECT_FALSE(n->childrenToLoad()) << n->text().toStdString();

    // Both lists, for every node of either tree, with the lazy tree left unopened.
    Window fresh(fixtureProject());
    fresh.analyze(CallTreeExpansion::Lazy);
    const int count = full.tree().nodes().count();
    int compared = 0;
    for (int i = 1; i <= count; ++i) {
        Node *f = full.tree().nodes().item(i);
        if (f->key().isEmpty())
            continue;
        Node *l = fresh.node(f->key());
        ASSERT_NE(l, nullptr);
        full.doc->ShowCallees(f, true);
        fresh.doc->ShowCallees(l, true);
        EXPECT_EQ(rows(fresh.list()), rows(full.list())) << f->key().toStdString();
        full.doc->ShowCallers(f, true);
        fresh.doc->ShowCallers(l, true);
        EXPECT_EQ(rows(fresh.list()), rows(full.list())) << f->key().toStdString();
        ++compared;
    }
    EXPECT_GT(compared, 30);
}

TEST(CallReferences, CalleesAndCallersLists)
{
    Window w(fixtureProject());
    w.analyze(CallTreeExpansion::Lazy);
    DocMain &doc = *w.doc;

    doc.ShowCallees(w.node(P + "_Module1_Main"), true);
    QStringList headers;
    for (const ColumnHeader *h : w.list().columnHeaders())
        headers << h->text();
    EXPECT_EQ(headers, QStringList({"Procedure", "Module", "Scope"}));
    EXPECT_EQ(rows(w.list()), QStringList({"Compute|Module1|Public|METHOD", "Helper|Module1|Public|METHOD",
                                           "Logger|Module1|Public|METHOD", "Recurse|Module1|Public|METHOD",
                                           "SharedWork|Module2|Public|METHOD"}));
    // A callee entry shows its procedure's callees; a declaration's image is LIBRARY.
    doc.ShowCallees(w.node(P + "_Module1_Main")->childList()[1], true);
    EXPECT_EQ(rows(w.list()), QStringList({"GetTickCount|Module1|Private|LIBRARY"}));
    // A module node's children are procedures, not callees: the list is emptied.
    doc.ShowCallees(w.node(P + "_Module1"), false);
    EXPECT_EQ(w.list().columnHeaders().count(), 0);
    // The next procedure of the same tag brings its columns along, or its rows would not show.
    doc.ShowCallees(w.node(P + "_Module1_Main"), false);
    EXPECT_EQ(w.list().columnHeaders().count(), 3);
    EXPECT_EQ(w.list().listItems().count(), 5);

    // Module2's UsesHelper calls its own Helper: not a caller of Module1's.
    doc.ShowCallers(w.node(P + "_Module1_Helper"), true);
    EXPECT_EQ(rows(w.list()), QStringList({"Main|Module1|Public|METHOD"}));
    doc.ShowCallers(w.node(P + "_Module2_Helper"), true);
    EXPECT_EQ(rows(w.list()), QStringList({"UsesHelper|Module2|Public|METHOD"}));
    // From an entry: the callers of the procedure it names, in tree order.
    doc.ShowCallers(w.node(P + "_Module1_Pong")->child(), true);
    EXPECT_EQ(rows(w.list()), QStringList({"Twice|Module1|Private|METHOD", "Pong|Module1|Public|METHOD",
                                           "Level4|Module3|Public|METHOD"}));
    doc.ShowCallers(w.node(P + "_Class1_Compute2"), true);
    EXPECT_EQ(rows(w.list()), QStringList({"Value|Class1|Public|PROPERTY"}));

    // Nobody calls NonMatches: the list is emptied and the tag forgotten.
    doc.mstrCurrentTag = QStringLiteral("X");
    doc.ShowCallers(w.node(P + "_Module2_NonMatches"), false);
    EXPECT_EQ(w.list().columnHeaders().count(), 0);
    EXPECT_EQ(w.list().listItems().count(), 0);
    EXPECT_TRUE(doc.mstrCurrentTag.isEmpty());
}

TEST(CallReferences, FailingHostCallsAreSkipped)
{
    Window w(fixtureProject());
    w.ide->failOn(QStringLiteral("CodeModule.Find"), 5);
    w.analyze(CallTreeExpansion::Lazy);
    // Procedures are listed, calls cannot be searched; the run ends with pointers reset.
    ASSERT_NE(w.node(P + "_Module1_Main"), nullptr);
    EXPECT_EQ(w.node(P + "_Module1_Main")->children(), 0);
    EXPECT_EQ(w.tree().mousePointer(), MousePointer::Default);
    EXPECT_FALSE(w.platform.messages().size() > 0);
}

TEST(CallReferences, NoCurrentProjectOnlyClears)
{
    Window w(fixtureProject());
    w.analyze(CallTreeExpansion::Lazy);
    ASSERT_GT(w.tree().nodes().count(), 0);
    w.doc->mstrCurrentProject.clear();
    analysis::AnalyzeProcedureCalls(*w.doc, w.ide->vbe());
    EXPECT_EQ(w.tree().nodes().count(), 0);
    EXPECT_EQ(w.list().columnHeaders().count(), 0);
}

TEST(CallReferences, EntriesComeInTheOrderOfTheProceduresSearched)
{
    // Two Public procedures of one name: each standard module without a Foo of its own gets an
    // entry from both searches, and the callers list follows the tree: all of the first
    // procedure's callers, then the second's.
    Window w(TestProject()
                 .module(QStringLiteral("Module1"), QStringLiteral("Public Sub Foo()\nEnd Sub\n"))
                 .module(QStringLiteral("Module2"), QStringLiteral("Public Sub A()\n    Foo\nEnd Sub\n"))
                 .module(QStringLiteral("Module3"), QStringLiteral("Public Sub Foo()\nEnd Sub\n"))
                 .module(QStringLiteral("Module4"), QStringLiteral("Public Sub B()\n    Foo\nEnd Sub\n"))
                 .build());
    w.analyze(CallTreeExpansion::Lazy);
    EXPECT_EQ(childTexts(w.node(P + "_Module2_A")), QStringList({"Foo", "Foo"}));
    EXPECT_EQ(w.node(P + "_Module2_A")->childList()[0]->tag(), P + ",Module1,Foo");
    EXPECT_EQ(w.node(P + "_Module2_A")->childList()[1]->tag(), P + ",Module3,Foo");
    w.doc->ShowCallers(w.node(P + "_Module1_Foo"), true);
    EXPECT_EQ(rows(w.list()), QStringList({"A|Module2|Public|METHOD", "B|Module4|Public|METHOD",
                                           "A|Module2|Public|METHOD", "B|Module4|Public|METHOD"}));
}
