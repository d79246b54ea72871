#pragma once
// TreeView (MSComctlLib 6): nodes with keys, tags and images, sibling navigation, sorting
// of children by text, expansion, selection and check boxes.
#include "controls/control.h"
#include "controls/image_list.h"

#include <QHash>
#include <memory>
#include <vector>

namespace controls {

class TreeView;
class Nodes;

/// TreeRelationshipConstants (tvwFirst ... tvwChild).
enum class Relationship { First = 0, Last = 1, Next = 2, Previous = 3, Child = 4 };

/// TreeStyleConstants: which of lines, plus/minus signs and pictures are drawn.
enum class TreeStyle {
    TextOnly = 0,
    PictureText = 1,
    PlusMinusText = 2,
    PlusMinusPictureText = 3,
    TreelinesText = 4,
    TreelinesPictureText = 5,
    TreelinesPlusMinusText = 6,
    TreelinesPlusMinusPictureText = 7,
};

/// TreeLineStyleConstants.
enum class TreeLineStyle { TreeLines = 0, RootLines = 1 };

class Node {
public:
    TreeView &treeView() const { return *m_tree; }

    const QString &key() const { return m_key; }
    /// 35602 when another node has the key, 35603 for a numeric key.
    void setKey(const QString &key);
    const QString &text() const { return m_text; }
    /// Does not move the node, even under a sorted parent (the control sorts on insertion).
    void setText(const QString &text);
    const QString &tag() const { return m_tag; }
    void setTag(const QString &tag);

    /// Image keys (or index texts) of the tree's image list; 35601 for a key it lacks.
    const QString &image() const { return m_image; }
    void setImage(const QString &image);
    const QString &selectedImage() const { return m_selectedImage; }
    void setSelectedImage(const QString &image);
    const QString &expandedImage() const { return m_expandedImage; }
    void setExpandedImage(const QString &image);

    bool expanded() const { return m_expanded; }
    /// No Expand/Collapse event. Collapsing over the selected node selects this node.
    /// Expanding loads children still to load first.
    void setExpanded(bool expanded);
    /// Children that the owner adds only when they are first needed: the node shows as
    /// expandable while this is set, and the first expansion (or loadChildren()) raises
    /// the tree's LoadChildren event once.
    bool childrenToLoad() const { return m_childrenToLoad; }
    void setChildrenToLoad(bool toLoad);
    /// Clears the mark and raises LoadChildren, when the node has children to load.
    void loadChildren();
    bool selected() const;
    /// Selects (or deselects) without a NodeClick event.
    void setSelected(bool selected);
    bool checked() const { return m_checked; }
    /// No NodeCheck event.
    void setChecked(bool checked);
    bool bold() const { return m_bold; }
    void setBold(bool bold);
    OleColor foreColor() const { return m_foreColor; }
    void setForeColor(OleColor color);
    OleColor backColor() const { return m_backColor; }
    void setBackColor(OleColor color);

    bool sorted() const { return m_sorted; }
    /// True sorts the children by text now (case-insensitive, stable) and keeps nodes
    /// added later in order; false leaves the order as it is.
    void setSorted(bool sorted);

    /// False while an ancestor is collapsed, or after Visible = False (the renderer hides
    /// such a node and its subtree).
    bool visible() const;
    /// True: clears the hidden mark and does EnsureVisible; false: hides the node.
    void setVisible(bool visible);
    /// Expands (and un-hides) every ancestor; true when something had to change.
    bool ensureVisible();

    /// 1-based position in the Nodes collection (the order of adding).
    int index() const { return m_index; }
    Node *parent() const { return m_parent; }
    int children() const { return static_cast<int>(m_children.size()); }
    /// First child.
    Node *child() const { return m_children.empty() ? nullptr : m_children.front(); }
    Node *next() const;
    Node *previous() const;
    Node *firstSibling() const;
    Node *lastSibling() const;
    Node *root() const;
    /// Texts from the root down, joined by the tree's PathSeparator.
    QString fullPath() const;
    /// The children in display order.
    const std::vector<Node *> &childList() const { return m_children; }
    /// 0-based place among its siblings in display order.
    int position() const { return m_position; }
    /// Whether Visible = False marked this node itself (visible() also looks at ancestors).
    bool hiddenMark() const { return m_hidden; }

private:
    friend class Nodes;
    friend class TreeView;
    explicit Node(TreeView *tree) : m_tree(tree) {}
    const std::vector<Node *> &siblings() const;
    void changed(Property property);

    TreeView *m_tree; // not owned
    QString m_key;
    QString m_text;
    QString m_tag;
    QString m_image;
    QString m_selectedImage;
    QString m_expandedImage;
    bool m_expanded = false;
    bool m_checked = false;
    bool m_bold = false;
    bool m_sorted = false;
    bool m_childrenToLoad = false;
    bool m_hidden = false;
    bool m_removed = false;
    OleColor m_foreColor = vbWindowText;
    OleColor m_backColor = vbWindowBackground;
    int m_index = 0;
    int m_position = 0; // among its siblings
    Node *m_parent = nullptr;
    std::vector<Node *> m_children; // owned by Nodes
};

/// What changed in a tree, for renderers.
struct NodeChange {
    using Kind = ItemChange;
    Kind kind;
    /// The node added (Added), about to be removed (Removing) or changed (Property).
    Node *node = nullptr;
    /// Where nodes are added or removed, or whose children are reordered; nullptr: the root level.
    Node *parent = nullptr;
    /// Adding, Added, Removing, Removed: the 0-based place among the parent's children.
    int position = 0;
    Property property{};
};

/// The Nodes collection: 1-based, in the order nodes were added.
class Nodes {
public:
    explicit Nodes(TreeView &tree) : m_tree(tree) {}

    /// Nodes.Add([Relative], [Relationship], [Key], [Text], [Image], [SelectedImage]).
    /// Without a relative the node goes last at the root level. The relative is an index
    /// (35600 when out of range) or a key (35601 when unknown). Under a sorted parent (or
    /// a sorted tree, for roots) the node takes its place in text order instead.
    /// 35602/35603 for the key, 35601 for an image the image list lacks; nothing is added
    /// when an argument fails.
    Node *add(const ItemRef &relative = {}, Relationship relationship = Relationship::Next,
              const QString &key = {}, const QString &text = {}, const QString &image = {},
              const QString &selectedImage = {});
    Node *add(Node *relative, Relationship relationship = Relationship::Next, const QString &key = {},
              const QString &text = {}, const QString &image = {}, const QString &selectedImage = {});

    int count() const { return static_cast<int>(m_all.size()); }
    /// By index (35600) or key (35601).
    Node *item(const ItemRef &ref) const;
    Node *operator()(const ItemRef &ref) const { return item(ref); }
    /// nullptr when no node has this key.
    Node *find(const QString &key) const;
    bool exists(const QString &key) const { return find(key) != nullptr; }

    /// Removes the node and its whole subtree (the node objects are destroyed).
    void remove(const ItemRef &ref);
    void remove(Node *node);
    void clear();

    class const_iterator {
    public:
        explicit const_iterator(std::vector<std::unique_ptr<Node>>::const_iterator it) : m_it(it) {}
        Node *operator*() const { return m_it->get(); }
        const_iterator &operator++()
        {
            ++m_it;
            return *this;
        }
        bool operator!=(const const_iterator &other) const { return m_it != other.m_it; }
        bool operator==(const const_iterator &other) const { return m_it == other.m_it; }

    private:
        std::vector<std::unique_ptr<Node>>::const_iterator m_it;
    };
    /// In index order.
    const_iterator begin() const { return const_iterator(m_all.begin()); }
    const_iterator end() const { return const_iterator(m_all.end()); }

private:
    friend class Node;
    friend class TreeView;
    Node *insert(Node *parent, int position, const QString &key, const QString &text,
                 const QString &image, const QString &selectedImage);
    void rekey(Node *node, const QString &key);

    TreeView &m_tree;
    std::vector<std::unique_ptr<Node>> m_all;
    QHash<QString, Node *> m_keys;
};

class TreeView : public Control {
public:
    explicit TreeView(const QString &name = {});
    ~TreeView() override;
    QString className() const override { return QStringLiteral("TreeView"); }

    Nodes &nodes() { return m_nodes; }
    const Nodes &nodes() const { return m_nodes; }
    /// The root-level nodes in display order.
    const std::vector<Node *> &rootNodes() const { return m_roots; }

    Node *selectedItem() const { return m_selected; }
    /// No NodeClick event; nullptr clears the selection.
    void setSelectedItem(Node *node);

    TreeStyle style() const { return m_style; }
    void setStyle(TreeStyle style);
    TreeLineStyle lineStyle() const { return m_lineStyle; }
    void setLineStyle(TreeLineStyle style);
    LabelEdit labelEdit() const { return m_labelEdit; }
    void setLabelEdit(LabelEdit edit);
    bool hideSelection() const { return m_hideSelection; }
    void setHideSelection(bool hide);
    bool checkboxes() const { return m_checkboxes; }
    void setCheckboxes(bool checkboxes);
    bool fullRowSelect() const { return m_fullRowSelect; }
    void setFullRowSelect(bool fullRow);
    bool hotTracking() const { return m_hotTracking; }
    void setHotTracking(bool hotTracking);
    bool singleSel() const { return m_singleSel; }
    void setSingleSel(bool singleSel);
    /// Twips of indentation per level.
    int indentation() const { return m_indentation; }
    void setIndentation(int twips);
    const QString &pathSeparator() const { return m_pathSeparator; }
    void setPathSeparator(const QString &separator);
    BorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(BorderStyle style);
    Appearance appearance() const { return m_appearance; }
    void setAppearance(Appearance appearance);

    bool sorted() const { return m_sorted; }
    /// True sorts the root nodes now and keeps later roots in text order.
    void setSorted(bool sorted);

    ImageList *imageList() const { return m_imageList.get(); }
    void setImageList(ImageList *list);

    void copyPropertiesFrom(const Control &other) override;

    // User operations: what the renderer calls for the user's gestures.
    /// Selects the node and raises NodeClick, then Click. Ignored while disabled.
    void clickNode(Node *node);
    /// Expands a collapsed node that has children (or children to load) and raises Expand.
    void expandNode(Node *node);
    /// Collapses an expanded node and raises Collapse.
    void collapseNode(Node *node);
    /// Sets the check box and raises NodeCheck (only when the tree shows check boxes).
    void checkNode(Node *node, bool checked);
    /// Raises DblClick, then toggles the node's expansion as the control does.
    void doubleClickNode(Node *node);
    /// Raises KeyDown; returns the key code as the handlers left it.
    int pressKey(int keyCode, int shift = 0);

    host::Signal<Node *> nodeClick;
    host::Signal<Node *> nodeCheck;
    host::Signal<Node *> expand;
    host::Signal<Node *> collapse;
    /// A node marked with children to load needs them now; the handler adds them.
    host::Signal<Node *> loadChildrenRequested;
    /// Structure and node properties, for renderers.
    host::Signal<const NodeChange &> nodeChanged;

private:
    friend class Node;
    friend class Nodes;
    void sortChildren(Node *parent);
    std::vector<Node *> &childrenOf(Node *parent) { return parent ? parent->m_children : m_roots; }
    bool childrenSorted(Node *parent) const { return parent ? parent->m_sorted : m_sorted; }
    void collapseSelection(Node *collapsed);

    Nodes m_nodes{*this};
    std::vector<Node *> m_roots;
    Node *m_selected = nullptr;
    quint64 m_removals = 0;
    TreeStyle m_style = TreeStyle::TreelinesPlusMinusPictureText;
    TreeLineStyle m_lineStyle = TreeLineStyle::TreeLines;
    LabelEdit m_labelEdit = LabelEdit::Automatic;
    bool m_hideSelection = true;
    bool m_checkboxes = false;
    bool m_fullRowSelect = false;
    bool m_hotTracking = false;
    bool m_singleSel = false;
    bool m_sorted = false;
    int m_indentation = 566;
    QString m_pathSeparator = QStringLiteral("\\");
    BorderStyle m_borderStyle = BorderStyle::None;
    Appearance m_appearance = Appearance::ThreeD;
    ImageListBinding m_imageList;
};

} // namespace controls
