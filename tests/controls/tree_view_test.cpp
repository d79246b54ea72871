#include "controls/tree_view.h"

#include <gtest/gtest.h>

using namespace controls;

namespace {

QStringList texts(const std::vector<Node *> &nodes)
{
    QStringList result;
    for (const Node *n : nodes)
        result << n->text();
    return result;
}

QStringList keysInIndexOrder(const TreeView &tree)
{
    QStringList result;
    for (const Node *n : tree.nodes())
        result << QStringLiteral("%1:%2").arg(n->index()).arg(n->key());
    return result;
}

int errorNumber(const std::function<void()> &statement)
{
    try {
        statement();
    } catch (const host::Error &e) {
        EXPECT_EQ(e.description(), host::errorText(e.number(), host::errorLanguage()));
        return e.number();
    }
    return 0;
}

// Root "A" (key a) with children c1, c2, c3.
void buildSiblings(TreeView &tree)
{
    tree.nodes().add({}, Relationship::Next, "a", "A");
    for (const char *k : {"c1", "c2", "c3"})
        tree.nodes().add("a", Relationship::Child, k, k);
}

} // namespace

TEST(TreeView, AddPlacesNodeByRelationship)
{
    struct Case {
        Relationship relationship;
        bool byIndex;
        QStringList childrenOfA;
        QString parentKey;
    };
    const Case cases[] = {
        {Relationship::First, false, {"X", "c1", "c2", "c3"}, "a"},
        {Relationship::Last, false, {"c1", "c2", "c3", "X"}, "a"},
        {Relationship::Next, false, {"c1", "c2", "X", "c3"}, "a"},
        {Relationship::Previous, false, {"c1", "X", "c2", "c3"}, "a"},
        {Relationship::Child, false, {"c1", "c2", "c3"}, "c2"},
        {Relationship::First, true, {"X", "c1", "c2", "c3"}, "a"},
        {Relationship::Previous, true, {"c1", "X", "c2", "c3"}, "a"},
        {Relationship::Child, true, {"c1", "c2", "c3"}, "c2"},
    };
    for (const Case &c : cases) {
        TreeView tree;
        buildSiblings(tree);
        const ItemRef relative = c.byIndex ? ItemRef(3) : ItemRef("c2"); // c2 is node 3
        Node *x = tree.nodes().add(relative, c.relationship, "x", "X");
        SCOPED_TRACE(static_cast<int>(c.relationship));
        EXPECT_EQ(texts(tree.nodes().item("a")->childList()), c.childrenOfA);
        EXPECT_EQ(x->parent()->key(), c.parentKey);
        EXPECT_EQ(x->index(), 5);
        EXPECT_EQ(tree.nodes().count(), 5);
    }
}

TEST(TreeView, AddWithoutRelativeGoesLastAtRootLevel)
{
    TreeView tree;
    tree.nodes().add({}, Relationship::Next, "p", "P");
    tree.nodes().add({}, Relationship::Child, "q", "Q"); // relationship ignored without relative
    tree.nodes().add("p", Relationship::Next, "r", "R");
    EXPECT_EQ(texts(tree.rootNodes()), (QStringList{"P", "R", "Q"}));
    EXPECT_EQ(tree.nodes().item("q")->parent(), nullptr);
}

TEST(TreeView, SortedParentKeepsChildrenInCaseInsensitiveStableOrder)
{
    TreeView tree;
    Node *folder = tree.nodes().add({}, Relationship::Next, "f", "Folder");
    folder->setSorted(true);
    for (const char *t : {"beta", "Alpha", "gamma", "alpha", "Beta", "_x", "10"})
        tree.nodes().add("f", Relationship::Child, {}, t);
    // A relationship other than Child still lands in text order under a sorted parent.
    tree.nodes().add(folder->child(), Relationship::First, {}, "delta");
    EXPECT_EQ(texts(folder->childList()),
              (QStringList{"10", "_x", "Alpha", "alpha", "beta", "Beta", "delta", "gamma"}));
    QStringList order;
    for (Node *n = folder->child(); n; n = n->next())
        order << n->text();
    EXPECT_EQ(order, texts(folder->childList()));
}

TEST(TreeView, SortingHappensWhenSetAndOnInsertOnly)
{
    TreeView tree;
    Node *root = tree.nodes().add({}, Relationship::Next, "r", "R");
    for (const char *t : {"c", "a", "b"})
        tree.nodes().add("r", Relationship::Child, t, t);
    EXPECT_EQ(texts(root->childList()), (QStringList{"c", "a", "b"}));
    root->setSorted(true);
    EXPECT_EQ(texts(root->childList()), (QStringList{"a", "b", "c"}));
    tree.nodes().item("a")->setText("z"); // renaming does not move the node
    EXPECT_EQ(texts(root->childList()), (QStringList{"z", "b", "c"}));
    root->setSorted(true); // assigning True again sorts again
    EXPECT_EQ(texts(root->childList()), (QStringList{"b", "c", "z"}));
    root->setSorted(false);
    tree.nodes().add("r", Relationship::Child, {}, "a");
    EXPECT_EQ(texts(root->childList()), (QStringList{"b", "c", "z", "a"}));
}

TEST(TreeView, SortedTreeOrdersRootNodes)
{
    TreeView tree;
    tree.setSorted(true);
    for (const char *t : {"Proj2", "proj1", "Alpha"})
        tree.nodes().add({}, Relationship::Next, t, t);
    EXPECT_EQ(texts(tree.rootNodes()), (QStringList{"Alpha", "proj1", "Proj2"}));
    EXPECT_EQ(keysInIndexOrder(tree), (QStringList{"1:Proj2", "2:proj1", "3:Alpha"}));
}

TEST(TreeView, ErrorsCarryVbNumbersAndAddNothing)
{
    TreeView tree;
    ImageList images;
    images.listImages().add(0, "FOLDER", host::Picture(QByteArray("any bytes")));
    tree.setImageList(&images);
    buildSiblings(tree);
    Nodes &nodes = tree.nodes();
    struct Case {
        const char *what;
        std::function<void()> statement;
        int number;
    };
    const Case cases[] = {
        {"unknown relative key", [&] { nodes.add("nope", Relationship::Child, "k", "K"); }, 35601},
        {"relative index past end", [&] { nodes.add(99, Relationship::Child, "k", "K"); }, 35600},
        {"duplicate key", [&] { nodes.add("a", Relationship::Child, "c1", "dup"); }, 35602},
        {"numeric key", [&] { nodes.add("a", Relationship::Child, "12", "num"); }, 35603},
        {"unknown image", [&] { nodes.add("a", Relationship::Child, "k", "K", "NOIMAGE"); }, 35601},
        {"item by unknown key", [&] { nodes.item("nope"); }, 35601},
        {"item 0", [&] { nodes.item(0); }, 35600},
        {"item past end", [&] { nodes.item(5); }, 35600},
        {"remove unknown key", [&] { nodes.remove("nope"); }, 35601},
        {"rekey to used key", [&] { nodes.item("c1")->setKey("c2"); }, 35602},
        {"expanded image unknown", [&] { nodes.item("a")->setExpandedImage("FOLDOPEN"); }, 35601},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(errorNumber(c.statement), c.number);
    }
    EXPECT_EQ(keysInIndexOrder(tree), (QStringList{"1:a", "2:c1", "3:c2", "4:c3"}));
    EXPECT_NO_THROW(nodes.add("a", Relationship::Child, "k", "K", "FOLDER"));
}

TEST(TreeView, ErrorTextsFollowTheErrorLanguage)
{
    TreeView tree;
    tree.nodes().add({}, Relationship::Next, "a", "A");
    host::setErrorLanguage(host::Language::English);
    try {
        tree.nodes().add({}, Relationship::Next, "a", "again");
        FAIL();
    } catch (const host::Error &e) {
        EXPECT_EQ(e.description(), QStringLiteral("Key is not unique in collection"));
    }
    host::setErrorLanguage(host::Language::Japanese);
}

TEST(TreeView, RemoveTakesTheSubtreeAndRenumbers)
{
    TreeView tree;
    Nodes &nodes = tree.nodes();
    nodes.add({}, Relationship::Next, "P", "P");
    nodes.add("P", Relationship::Child, "P_F1", "F1");
    nodes.add("P_F1", Relationship::Child, "P_m1", "m1");
    nodes.add("P", Relationship::Child, "P_F2", "F2");
    nodes.add("P_F1", Relationship::Child, "P_m2", "m2");
    nodes.add("P_F2", Relationship::Child, "P_m3", "m3");
    nodes.add({}, Relationship::Next, "Q", "Q");

    nodes.remove("P_F1");
    EXPECT_EQ(keysInIndexOrder(tree), (QStringList{"1:P", "2:P_F2", "3:P_m3", "4:Q"}));
    EXPECT_EQ(texts(nodes.item("P")->childList()), QStringList{"F2"});
    EXPECT_EQ(nodes.find("P_m1"), nullptr);
    EXPECT_NO_THROW(nodes.add("P", Relationship::Child, "P_m1", "m1 again")); // key is free again

    nodes.remove(1); // a root with everything under it
    EXPECT_EQ(keysInIndexOrder(tree), QStringList{"1:Q"});
    nodes.clear();
    EXPECT_EQ(nodes.count(), 0);
    EXPECT_TRUE(tree.rootNodes().empty());
}

TEST(TreeView, RemovingTheSelectionSelectsANeighbour)
{
    struct Case {
        QString selected;
        QString removed;
        QString expected; // empty: nothing selected
    };
    const Case cases[] = {
        {"c2", "c2", "c3"}, // next sibling
        {"c3", "c3", "c2"}, // previous sibling when last
        {"g", "c2", "c3"},  // selection inside the removed subtree
        {"g", "g", "c2"},   // only child: the parent
        {"a", "a", ""},     // last root
        {"c1", "c3", "c1"}, // unrelated removal keeps the selection
    };
    for (const Case &c : cases) {
        TreeView tree;
        buildSiblings(tree);
        tree.nodes().add("c2", Relationship::Child, "g", "G");
        tree.setSelectedItem(tree.nodes().item(c.selected));
        tree.nodes().remove(c.removed);
        SCOPED_TRACE(c.removed.toStdString());
        EXPECT_EQ(tree.selectedItem() ? tree.selectedItem()->key() : QString(), c.expected);
    }
}

TEST(TreeView, VisibleFollowsCollapsedAncestorsAndHiddenMarks)
{
    TreeView tree;
    buildSiblings(tree);
    Node *g = tree.nodes().add("c2", Relationship::Child, "g", "G");
    Node *a = tree.nodes().item("a");
    Node *c2 = tree.nodes().item("c2");
    EXPECT_TRUE(a->visible());
    EXPECT_FALSE(c2->visible());
    a->setExpanded(true);
    EXPECT_TRUE(c2->visible());
    EXPECT_FALSE(g->visible());

    EXPECT_TRUE(g->ensureVisible());
    EXPECT_TRUE(c2->expanded());
    EXPECT_TRUE(g->visible());
    EXPECT_FALSE(g->ensureVisible()); // nothing left to do

    c2->setVisible(false); // hides the node and its subtree
    EXPECT_FALSE(c2->visible());
    EXPECT_FALSE(g->visible());
    c2->setVisible(true);
    EXPECT_TRUE(g->visible());
    c2->setVisible(false);
    a->setExpanded(false);
    g->setVisible(true); // shows the node and everything above it
    EXPECT_TRUE(a->expanded());
    EXPECT_TRUE(c2->visible());
    EXPECT_TRUE(g->visible());
}

TEST(TreeView, ClickNodeSelectsAndRaisesNodeClickThenClick)
{
    TreeView tree;
    buildSiblings(tree);
    QStringList log;
    auto s1 = tree.nodeClick.connect([&](Node *n) { log << "NodeClick " + n->key(); });
    auto s2 = tree.click.connect([&] { log << "Click"; });
    auto s3 = tree.expand.connect([&](Node *n) { log << "Expand " + n->key(); });
    auto s4 = tree.collapse.connect([&](Node *n) { log << "Collapse " + n->key(); });

    // Property setters raise nothing.
    tree.setSelectedItem(tree.nodes().item("c1"));
    tree.nodes().item("c3")->setSelected(true);
    tree.nodes().item("a")->setExpanded(true);
    tree.nodes().item("a")->setExpanded(false);
    EXPECT_EQ(log, QStringList{});

    tree.clickNode(tree.nodes().item("c2"));
    tree.expandNode(tree.nodes().item("c2")); // a leaf has nothing to expand
    tree.expandNode(tree.nodes().item("a"));
    tree.expandNode(tree.nodes().item("a")); // already expanded
    tree.collapseNode(tree.nodes().item("a"));
    EXPECT_EQ(log, (QStringList{"NodeClick c2", "Click", "Expand a", "Collapse a"}));
    EXPECT_EQ(tree.selectedItem()->key(), "a"); // collapsing over the selection moves it up
    EXPECT_TRUE(tree.nodes().item("a")->selected());
    EXPECT_FALSE(tree.nodes().item("c2")->selected());

    log.clear();
    tree.setEnabled(false);
    tree.clickNode(tree.nodes().item("c1"));
    EXPECT_EQ(log, QStringList{});
}

TEST(TreeView, DoubleClickRaisesDblClickThenToggles)
{
    TreeView tree;
    buildSiblings(tree);
    QStringList log;
    auto s1 = tree.dblClick.connect([&] { log << "DblClick"; });
    auto s2 = tree.expand.connect([&](Node *n) { log << "Expand " + n->key(); });
    auto s3 = tree.collapse.connect([&](Node *n) { log << "Collapse " + n->key(); });
    Node *a = tree.nodes().item("a");
    tree.doubleClickNode(a);
    tree.doubleClickNode(a);
    EXPECT_EQ(log, (QStringList{"DblClick", "Expand a", "DblClick", "Collapse a"}));

    // A handler that empties the tree must not leave the control toggling a dead node.
    auto s4 = tree.dblClick.connect([&] { tree.nodes().clear(); });
    tree.doubleClickNode(a);
    EXPECT_EQ(tree.nodes().count(), 0);
}

TEST(TreeView, CheckNodeRaisesNodeCheckOnlyWithCheckboxes)
{
    TreeView tree;
    buildSiblings(tree);
    QStringList log;
    auto s = tree.nodeCheck.connect([&](Node *n) { log << QStringLiteral("%1=%2").arg(n->key()).arg(n->checked()); });
    tree.checkNode(tree.nodes().item("c1"), true);
    EXPECT_EQ(log, QStringList{});
    tree.setCheckboxes(true);
    tree.checkNode(tree.nodes().item("c1"), true);
    tree.nodes().item("c2")->setChecked(true); // setter: no event
    tree.checkNode(tree.nodes().item("c1"), false);
    EXPECT_EQ(log, (QStringList{"c1=1", "c1=0"}));
    EXPECT_TRUE(tree.nodes().item("c2")->checked());
}

TEST(TreeView, NavigationAndFullPath)
{
    TreeView tree;
    buildSiblings(tree);
    Node *g = tree.nodes().add("c2", Relationship::Child, "g", "G");
    Node *c1 = tree.nodes().item("c1");
    Node *c2 = tree.nodes().item("c2");
    Node *c3 = tree.nodes().item("c3");
    EXPECT_EQ(c1->next(), c2);
    EXPECT_EQ(c2->previous(), c1);
    EXPECT_EQ(c1->previous(), nullptr);
    EXPECT_EQ(c3->next(), nullptr);
    EXPECT_EQ(c3->firstSibling(), c1);
    EXPECT_EQ(c1->lastSibling(), c3);
    EXPECT_EQ(g->root()->key(), "a");
    EXPECT_EQ(tree.nodes().item("a")->children(), 3);
    EXPECT_EQ(tree.nodes().item("a")->child(), c1);
    EXPECT_EQ(g->fullPath(), QStringLiteral("A\\c2\\G"));
    tree.setPathSeparator("/");
    EXPECT_EQ(g->fullPath(), QStringLiteral("A/c2/G"));
}

TEST(TreeView, NodeChangesAreReportedForRenderersAroundEachChange)
{
    TreeView tree;
    QStringList log;
    auto s = tree.nodeChanged.connect([&](const NodeChange &c) {
        static const char *kinds[] = {"Adding",   "Added",    "Removing",   "Removed",  "Clearing",
                                      "Cleared",  "Property", "Reordering", "Reordered"};
        QString entry = kinds[static_cast<int>(c.kind)];
        if (c.node)
            entry += " " + c.node->key();
        if (c.kind == NodeChange::Kind::Property)
            entry += QStringLiteral(" ") + QLatin1String(propertyName(c.property));
        else if (c.kind != NodeChange::Kind::Clearing && c.kind != NodeChange::Kind::Cleared)
            entry += QStringLiteral(" in %1@%2").arg(c.parent ? c.parent->key() : QStringLiteral("-")).arg(c.position);
        // What a renderer reads on each side of the change.
        if (c.kind == NodeChange::Kind::Adding || c.kind == NodeChange::Kind::Removed)
            entry += QStringLiteral(" n=%1").arg(c.parent ? c.parent->children() : int(tree.rootNodes().size()));
        log << entry;
    });
    buildSiblings(tree);
    tree.nodes().item("c1")->setText("C1");
    tree.nodes().item("a")->setSorted(true);
    tree.nodes().remove("c2");
    tree.nodes().clear();
    EXPECT_EQ(log, (QStringList{"Adding in -@0 n=0", "Added a in -@0", "Adding in a@0 n=0", "Added c1 in a@0",
                                "Adding in a@1 n=1", "Added c2 in a@1", "Adding in a@2 n=2", "Added c3 in a@2",
                                "Property c1 Text", "Reordering in a@0", "Reordered in a@0", "Property a Sorted",
                                "Removing c2 in a@1", "Removed in a@1 n=2", "Clearing", "Cleared"}));
}

TEST(TreeView, LoadedElementCopiesSettingsButNotNodes)
{
    TreeView first;
    first.setStyle(TreeStyle::TreelinesPlusMinusText);
    first.setLabelEdit(LabelEdit::Manual);
    first.setSorted(true);
    first.nodes().add({}, Relationship::Next, "a", "A");
    TreeView loaded;
    loaded.copyPropertiesFrom(first);
    EXPECT_EQ(loaded.style(), TreeStyle::TreelinesPlusMinusText);
    EXPECT_EQ(loaded.labelEdit(), LabelEdit::Manual);
    EXPECT_TRUE(loaded.sorted());
    EXPECT_EQ(loaded.nodes().count(), 0);
    EXPECT_FALSE(loaded.visible());
}

TEST(TreeView, ChildrenToLoadAreAskedForOnceOnFirstExpansion)
{
    TreeView tree;
    Node *a = tree.nodes().add(ItemRef(), Relationship::Last, QStringLiteral("a"), QStringLiteral("A"));
    Node *b = tree.nodes().add(ItemRef(), Relationship::Last, QStringLiteral("b"), QStringLiteral("B"));
    QStringList requests, events, changes;
    auto loading = tree.loadChildrenRequested.connect([&](Node *n) {
        requests << n->text();
        EXPECT_FALSE(n->childrenToLoad()); // cleared before the handler runs
        if (n == a)
            tree.nodes().add(n, Relationship::Child, QString(), QStringLiteral("a1"));
    });
    auto expanding = tree.expand.connect([&](Node *n) { events << n->text(); });
    auto changing = tree.nodeChanged.connect([&](const NodeChange &c) {
        if (c.kind == NodeChange::Kind::Property && c.property == Property::ChildrenToLoad)
            changes << c.node->text();
    });

    a->setChildrenToLoad(true);
    b->setChildrenToLoad(true);
    EXPECT_EQ(changes, QStringList({"A", "B"}));
    EXPECT_EQ(a->children(), 0);

    tree.expandNode(a);
    EXPECT_EQ(requests, QStringList({"A"}));
    EXPECT_EQ(texts(a->childList()), QStringList({"a1"}));
    EXPECT_TRUE(a->expanded());
    EXPECT_EQ(events, QStringList({"A"}));

    // Collapsing and expanding again asks nothing more.
    tree.collapseNode(a);
    tree.expandNode(a);
    EXPECT_EQ(requests, QStringList({"A"}));
    EXPECT_EQ(a->children(), 1);

    // A node whose loader adds nothing stays collapsed and raises no Expand.
    tree.expandNode(b);
    EXPECT_EQ(requests, QStringList({"A", "B"}));
    EXPECT_FALSE(b->expanded());
    EXPECT_EQ(events, QStringList({"A", "A"}));

    // Code that expands, or asks for the children, loads them too.
    Node *c = tree.nodes().add(ItemRef(), Relationship::Last, QStringLiteral("c"), QStringLiteral("C"));
    Node *d = tree.nodes().add(ItemRef(), Relationship::Last, QStringLiteral("d"), QStringLiteral("D"));
    c->setChildrenToLoad(true);
    d->setChildrenToLoad(true);
    c->setExpanded(true);
    d->loadChildren();
    d->loadChildren();
    EXPECT_EQ(requests, QStringList({"A", "B", "C", "D"}));
    EXPECT_TRUE(c->expanded());
    EXPECT_FALSE(d->childrenToLoad());
}
