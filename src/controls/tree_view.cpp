#include "controls/tree_view.h"

#include <algorithm>

namespace controls {

// ---- Node ------------------------------------------------------------------------------

void Node::changed(Property property)
{
    m_tree->nodeChanged.raise(NodeChange{NodeChange::Kind::Property, this, m_parent, m_position, property});
}

const std::vector<Node *> &Node::siblings() const
{
    return m_parent ? m_parent->m_children : m_tree->m_roots;
}

void Node::setKey(const QString &key)
{
    if (m_key == key)
        return;
    m_tree->m_nodes.rekey(this, key);
    changed(Property::Key);
}

void Node::setText(const QString &text)
{
    if (assign(m_text, text))
        changed(Property::Text);
}

void Node::setTag(const QString &tag)
{
    if (assign(m_tag, tag))
        changed(Property::Tag);
}

void Node::setImage(const QString &image)
{
    m_tree->m_imageList.checkImage(image);
    if (assign(m_image, image))
        changed(Property::Image);
}

void Node::setSelectedImage(const QString &image)
{
    m_tree->m_imageList.checkImage(image);
    if (assign(m_selectedImage, image))
        changed(Property::SelectedImage);
}

void Node::setExpandedImage(const QString &image)
{
    m_tree->m_imageList.checkImage(image);
    if (assign(m_expandedImage, image))
        changed(Property::ExpandedImage);
}

void Node::setExpanded(bool expanded)
{
    if (expanded)
        loadChildren();
    if (!assign(m_expanded, expanded))
        return;
    changed(Property::Expanded);
    if (!expanded)
        m_tree->collapseSelection(this);
}

void Node::setChildrenToLoad(bool toLoad)
{
    if (assign(m_childrenToLoad, toLoad))
        changed(Property::ChildrenToLoad);
}

void Node::loadChildren()
{
    if (!m_childrenToLoad)
        return;
    // Cleared first: a handler that reads the children must not load them again.
    setChildrenToLoad(false);
    m_tree->loadChildrenRequested.raise(this);
}

bool Node::selected() const
{
    return m_tree->m_selected == this;
}

void Node::setSelected(bool selected)
{
    if (selected)
        m_tree->setSelectedItem(this);
    else if (m_tree->m_selected == this)
        m_tree->setSelectedItem(nullptr);
}

void Node::setChecked(bool checked)
{
    if (assign(m_checked, checked))
        changed(Property::Checked);
}

void Node::setBold(bool bold)
{
    if (assign(m_bold, bold))
        changed(Property::Bold);
}

void Node::setForeColor(OleColor color)
{
    if (assign(m_foreColor, color))
        changed(Property::ForeColor);
}

void Node::setBackColor(OleColor color)
{
    if (assign(m_backColor, color))
        changed(Property::BackColor);
}

void Node::setSorted(bool sorted)
{
    const bool wasSorted = m_sorted;
    m_sorted = sorted;
    if (sorted)
        m_tree->sortChildren(this);
    if (wasSorted != sorted)
        changed(Property::Sorted);
}

bool Node::visible() const
{
    if (m_hidden)
        return false;
    for (const Node *p = m_parent; p; p = p->m_parent) {
        if (!p->m_expanded || p->m_hidden)
            return false;
    }
    return true;
}

void Node::setVisible(bool visible)
{
    if (!visible) {
        if (!m_hidden) {
            m_hidden = true;
            changed(Property::Visible);
        }
        return;
    }
    if (m_hidden) {
        m_hidden = false;
        changed(Property::Visible);
    }
    ensureVisible();
}

bool Node::ensureVisible()
{
    bool changedSomething = false;
    for (Node *p = m_parent; p; p = p->m_parent) {
        if (p->m_hidden) {
            p->m_hidden = false;
            p->changed(Property::Visible);
            changedSomething = true;
        }
        if (!p->m_expanded) {
            p->setExpanded(true);
            changedSomething = true;
        }
    }
    return changedSomething;
}

Node *Node::next() const
{
    const auto &list = siblings();
    const std::size_t position = static_cast<std::size_t>(m_position) + 1;
    return position < list.size() ? list[position] : nullptr;
}

Node *Node::previous() const
{
    return m_position > 0 ? siblings()[m_position - 1] : nullptr;
}

Node *Node::firstSibling() const
{
    return siblings().front();
}

Node *Node::lastSibling() const
{
    return siblings().back();
}

Node *Node::root() const
{
    const Node *n = this;
    while (n->m_parent)
        n = n->m_parent;
    return const_cast<Node *>(n);
}

QString Node::fullPath() const
{
    QStringList parts;
    for (const Node *n = this; n; n = n->m_parent)
        parts.prepend(n->m_text);
    return parts.join(m_tree->m_pathSeparator);
}

// ---- Nodes -----------------------------------------------------------------------------

Node *Nodes::add(const ItemRef &relative, Relationship relationship, const QString &key,
                 const QString &text, const QString &image, const QString &selectedImage)
{
    Node *relativeNode = relative.isNone() ? nullptr : item(relative);
    if (relative.isNone())
        return add(static_cast<Node *>(nullptr), relationship, key, text, image, selectedImage);
    return add(relativeNode, relationship, key, text, image, selectedImage);
}

Node *Nodes::add(Node *relative, Relationship relationship, const QString &key, const QString &text,
                 const QString &image, const QString &selectedImage)
{
    if (relative && (&relative->treeView() != &m_tree || relative->m_removed))
        throw controlError(err::ElementNotFound);
    const int rel = static_cast<int>(relationship);
    if (rel < 0 || rel > 4)
        throw controlError(err::InvalidCall);
    if (!key.isEmpty()) {
        if (isNumericKey(key))
            throw controlError(err::InvalidKey);
        if (m_keys.contains(key))
            throw controlError(err::KeyNotUnique);
    }
    m_tree.m_imageList.checkImage(image);
    m_tree.m_imageList.checkImage(selectedImage);

    Node *parent = nullptr;
    int position = 0;
    if (!relative) {
        position = static_cast<int>(m_tree.m_roots.size());
    } else if (relationship == Relationship::Child) {
        parent = relative;
        position = relative->children();
    } else {
        parent = relative->m_parent;
        const int siblings = static_cast<int>(m_tree.childrenOf(parent).size());
        switch (relationship) {
        case Relationship::First:
            position = 0;
            break;
        case Relationship::Last:
            position = siblings;
            break;
        case Relationship::Next:
            position = relative->m_position + 1;
            break;
        case Relationship::Previous:
            position = relative->m_position;
            break;
        case Relationship::Child:
            break;
        }
    }
    if (m_tree.childrenSorted(parent)) {
        const auto &list = m_tree.childrenOf(parent);
        auto it = std::upper_bound(list.begin(), list.end(), text, [](const QString &t, const Node *n) {
            return compareText(t, n->m_text) < 0;
        });
        position = static_cast<int>(it - list.begin());
    }
    return insert(parent, position, key, text, image, selectedImage);
}

Node *Nodes::insert(Node *parent, int position, const QString &key, const QString &text,
                    const QString &image, const QString &selectedImage)
{
    m_tree.nodeChanged.raise(NodeChange{NodeChange::Kind::Adding, nullptr, parent, position});
    auto owned = std::unique_ptr<Node>(new Node(&m_tree));
    Node *node = owned.get();
    node->m_key = key;
    node->m_text = text;
    node->m_image = image;
    node->m_selectedImage = selectedImage;
    node->m_parent = parent;
    m_all.push_back(std::move(owned));
    node->m_index = count();
    if (!key.isEmpty())
        m_keys.insert(key, node);
    auto &list = m_tree.childrenOf(parent);
    list.insert(list.begin() + position, node);
    for (std::size_t i = position; i < list.size(); ++i)
        list[i]->m_position = static_cast<int>(i);
    m_tree.nodeChanged.raise(NodeChange{NodeChange::Kind::Added, node, parent, position});
    return node;
}

Node *Nodes::item(const ItemRef &ref) const
{
    if (ref.isKey()) {
        Node *node = find(ref.key());
        if (!node)
            throw controlError(err::ElementNotFound);
        return node;
    }
    const int index = ref.index();
    if (index < 1 || index > count())
        throw controlError(err::IndexOutOfBounds);
    return m_all[index - 1].get();
}

Node *Nodes::find(const QString &key) const
{
    if (key.isEmpty())
        return nullptr;
    return m_keys.value(key, nullptr);
}

void Nodes::rekey(Node *node, const QString &key)
{
    if (!key.isEmpty()) {
        if (isNumericKey(key))
            throw controlError(err::InvalidKey);
        Node *existing = find(key);
        if (existing && existing != node)
            throw controlError(err::KeyNotUnique);
    }
    if (!node->m_key.isEmpty())
        m_keys.remove(node->m_key);
    node->m_key = key;
    if (!key.isEmpty())
        m_keys.insert(key, node);
}

void Nodes::remove(const ItemRef &ref)
{
    remove(item(ref));
}

void Nodes::remove(Node *node)
{
    if (!node || &node->treeView() != &m_tree || node->m_removed)
        throw controlError(err::ElementNotFound);
    Node *const parent = node->m_parent;
    const int position = node->m_position;
    m_tree.nodeChanged.raise(NodeChange{NodeChange::Kind::Removing, node, parent, position});
    ++m_tree.m_removals;

    // Where the selection goes when it is inside the removed subtree, as the control does.
    bool selectionRemoved = false;
    for (Node *s = m_tree.m_selected; s; s = s->m_parent) {
        if (s == node) {
            selectionRemoved = true;
            break;
        }
    }
    Node *newSelection = nullptr;
    if (selectionRemoved) {
        newSelection = node->next();
        if (!newSelection)
            newSelection = node->previous();
        if (!newSelection)
            newSelection = node->m_parent;
    }

    auto &list = m_tree.childrenOf(parent);
    list.erase(list.begin() + position);
    for (std::size_t i = position; i < list.size(); ++i)
        list[i]->m_position = static_cast<int>(i);

    std::vector<Node *> stack{node};
    int lowestIndex = node->m_index;
    while (!stack.empty()) {
        Node *n = stack.back();
        stack.pop_back();
        n->m_removed = true;
        lowestIndex = std::min(lowestIndex, n->m_index);
        if (!n->m_key.isEmpty())
            m_keys.remove(n->m_key);
        for (Node *c : n->m_children)
            stack.push_back(c);
    }
    if (selectionRemoved)
        m_tree.m_selected = nullptr;
    std::erase_if(m_all, [](const std::unique_ptr<Node> &n) { return n->m_removed; });
    for (std::size_t i = static_cast<std::size_t>(lowestIndex - 1); i < m_all.size(); ++i)
        m_all[i]->m_index = static_cast<int>(i) + 1;
    m_tree.nodeChanged.raise(NodeChange{NodeChange::Kind::Removed, nullptr, parent, position});
    if (selectionRemoved && newSelection)
        m_tree.setSelectedItem(newSelection);
    else if (selectionRemoved)
        m_tree.notify(Property::SelectedItem);
}

void Nodes::clear()
{
    m_tree.nodeChanged.raise(NodeChange{NodeChange::Kind::Clearing});
    ++m_tree.m_removals;
    const bool hadSelection = m_tree.m_selected != nullptr;
    m_tree.m_selected = nullptr;
    m_tree.m_roots.clear();
    m_keys.clear();
    for (auto &n : m_all)
        n->m_removed = true;
    m_all.clear();
    m_tree.nodeChanged.raise(NodeChange{NodeChange::Kind::Cleared});
    if (hadSelection)
        m_tree.notify(Property::SelectedItem);
}

// ---- TreeView --------------------------------------------------------------------------

TreeView::TreeView(const QString &name) : Control(name)
{
    setBackColor(vbWindowBackground);
    setForeColor(vbWindowText);
}

TreeView::~TreeView() = default;

void TreeView::setSelectedItem(Node *node)
{
    if (node && (&node->treeView() != this || node->m_removed))
        throw controlError(err::ElementNotFound);
    if (m_selected == node)
        return;
    Node *previous = m_selected;
    m_selected = node;
    if (previous)
        previous->changed(Property::Selected);
    if (node)
        node->changed(Property::Selected);
    notify(Property::SelectedItem);
}

void TreeView::collapseSelection(Node *collapsed)
{
    for (Node *s = m_selected ? m_selected->m_parent : nullptr; s; s = s->m_parent) {
        if (s == collapsed) {
            setSelectedItem(collapsed);
            return;
        }
    }
}

void TreeView::sortChildren(Node *parent)
{
    nodeChanged.raise(NodeChange{NodeChange::Kind::Reordering, nullptr, parent});
    auto &list = childrenOf(parent);
    std::stable_sort(list.begin(), list.end(),
                     [](const Node *a, const Node *b) { return compareText(a->m_text, b->m_text) < 0; });
    for (std::size_t i = 0; i < list.size(); ++i)
        list[i]->m_position = static_cast<int>(i);
    nodeChanged.raise(NodeChange{NodeChange::Kind::Reordered, nullptr, parent});
}

void TreeView::setSorted(bool sorted)
{
    const bool was = m_sorted;
    m_sorted = sorted;
    if (sorted)
        sortChildren(nullptr);
    if (was != sorted)
        notify(Property::Sorted);
}

void TreeView::setStyle(TreeStyle style)
{
    const int value = static_cast<int>(style);
    if (value < 0 || value > 7)
        throw controlError(err::InvalidPropertyValue);
    if (assign(m_style, style))
        notify(Property::Style);
}

void TreeView::setLineStyle(TreeLineStyle style)
{
    if (assign(m_lineStyle, style))
        notify(Property::LineStyle);
}

void TreeView::setLabelEdit(LabelEdit edit)
{
    if (assign(m_labelEdit, edit))
        notify(Property::LabelEdit);
}

void TreeView::setHideSelection(bool hide)
{
    if (assign(m_hideSelection, hide))
        notify(Property::HideSelection);
}

void TreeView::setCheckboxes(bool checkboxes)
{
    if (assign(m_checkboxes, checkboxes))
        notify(Property::Checkboxes);
}

void TreeView::setFullRowSelect(bool fullRow)
{
    if (assign(m_fullRowSelect, fullRow))
        notify(Property::FullRowSelect);
}

void TreeView::setHotTracking(bool hotTracking)
{
    if (assign(m_hotTracking, hotTracking))
        notify(Property::HotTracking);
}

void TreeView::setSingleSel(bool singleSel)
{
    if (assign(m_singleSel, singleSel))
        notify(Property::SingleSel);
}

void TreeView::setIndentation(int twips)
{
    if (twips < 0)
        throw controlError(err::InvalidPropertyValue);
    if (assign(m_indentation, twips))
        notify(Property::Indentation);
}

void TreeView::setPathSeparator(const QString &separator)
{
    if (assign(m_pathSeparator, separator))
        notify(Property::PathSeparator);
}

void TreeView::setBorderStyle(BorderStyle style)
{
    if (assign(m_borderStyle, style))
        notify(Property::BorderStyle);
}

void TreeView::setAppearance(Appearance appearance)
{
    if (assign(m_appearance, appearance))
        notify(Property::Appearance);
}

void TreeView::setImageList(ImageList *list)
{
    if (m_imageList.get() == list)
        return;
    m_imageList.set(list);
    notify(Property::ImageList);
}

void TreeView::copyPropertiesFrom(const Control &other)
{
    Control::copyPropertiesFrom(other);
    const auto *tree = dynamic_cast<const TreeView *>(&other);
    if (!tree)
        return;
    m_style = tree->m_style;
    m_lineStyle = tree->m_lineStyle;
    m_labelEdit = tree->m_labelEdit;
    m_hideSelection = tree->m_hideSelection;
    m_checkboxes = tree->m_checkboxes;
    m_fullRowSelect = tree->m_fullRowSelect;
    m_hotTracking = tree->m_hotTracking;
    m_singleSel = tree->m_singleSel;
    m_sorted = tree->m_sorted;
    m_indentation = tree->m_indentation;
    m_pathSeparator = tree->m_pathSeparator;
    m_borderStyle = tree->m_borderStyle;
    m_appearance = tree->m_appearance;
    m_imageList = tree->m_imageList;
}

void TreeView::clickNode(Node *node)
{
    if (!enabled() || !node)
        return;
    setSelectedItem(node);
    nodeClick.raise(node);
    click.raise();
}

void TreeView::expandNode(Node *node)
{
    if (!enabled() || !node || node->m_expanded)
        return;
    node->loadChildren();
    if (node->m_children.empty())
        return;
    node->setExpanded(true);
    expand.raise(node);
}

void TreeView::collapseNode(Node *node)
{
    if (!enabled() || !node || !node->m_expanded)
        return;
    node->setExpanded(false);
    collapse.raise(node);
}

void TreeView::checkNode(Node *node, bool checked)
{
    if (!enabled() || !node || !m_checkboxes)
        return;
    node->setChecked(checked);
    nodeCheck.raise(node);
}

void TreeView::doubleClickNode(Node *node)
{
    if (!enabled())
        return;
    const quint64 generation = m_removals;
    dblClick.raise();
    if (!node || generation != m_removals) // a handler removed nodes; `node` may be gone
        return;
    if (node->m_expanded)
        collapseNode(node);
    else
        expandNode(node);
}

int TreeView::pressKey(int keyCode, int shift)
{
    if (!enabled())
        return keyCode;
    keyDown.raise(keyCode, shift);
    return keyCode;
}

} // namespace controls
