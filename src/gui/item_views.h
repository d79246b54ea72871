#pragma once
// Qt item models over the tree and list view models: the QTreeView asks them for what it
// shows, row by row, and they keep no copy of nodes or rows. Structure changes arrive as
// the models report them (rows inserted, removed, reordered, cleared) and go on to the view
// as the matching QAbstractItemModel signals.
#include "controls/control.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QIcon>
#include <QTreeView>
#include <functional>

namespace controls {
class ImageList;
class ListItem;
class ListView;
class Node;
class TreeView;
struct ListItemChange;
struct NodeChange;
} // namespace controls

namespace gui {

/// What both adapters share: icons by image key, the colour and font roles, and moving
/// persistent indexes when the model reorders rows.
class ItemModelAdapter : public QAbstractItemModel {
    Q_OBJECT
public:
    using QAbstractItemModel::QAbstractItemModel;

    /// Everything may look different (image list, style, view): forget cached icons and
    /// ask the view to fetch every shown row again.
    void refreshAll();
    /// Everything may have changed: the view starts over.
    void resetAll();

protected:
    QIcon icon(const controls::ImageList *list, const QString &key) const;
    /// ForegroundRole / BackgroundRole: nothing for the control's normal colour.
    static QVariant color(controls::OleColor color, controls::OleColor normal);
    /// FontRole: bold only, resolved against the view's font.
    static QVariant boldFont(bool bold);

    /// Passes a change of structure on to the view: rows inserted or removed under `parent`
    /// at `row`, a reset, or a reorder (the view keeps its persistent indexes, selection,
    /// current row and expansion, which follow their items through rowOf()). False for a
    /// property change, which the caller handles.
    bool announce(controls::ItemChange kind, const QModelIndex &parent, int row);
    /// The row an item (an index's internal pointer) has now.
    virtual int rowOf(void *item) const = 0;

private:
    mutable QHash<QString, QIcon> m_icons; // by image key, until the image list or style changes
    QModelIndexList m_moving;
};

/// TreeView → QAbstractItemModel: one column; a node's index holds the node.
class TreeModel : public ItemModelAdapter {
    Q_OBJECT
public:
    explicit TreeModel(controls::TreeView &tree, QObject *parent = nullptr);
    ~TreeModel() override;

    controls::Node *nodeOf(const QModelIndex &index) const;
    QModelIndex indexOf(const controls::Node *node) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    /// A check box ticked in the view: NodeCheck through the model.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    /// Called after a node was added (the view may want to show it expanded).
    std::function<void(controls::Node *)> onAdded;
    /// Called for a node property the view shows itself (Expanded, Visible, EnsureVisible).
    std::function<void(controls::Node *, controls::Property)> onViewProperty;
    /// Called for a gesture that the model must hear (a check box).
    std::function<void(controls::Node *, bool)> onCheck;

protected:
    int rowOf(void *item) const override;

private:
    void nodeChanged(const controls::NodeChange &change);

    controls::TreeView &m_tree;
    host::Subscription m_subscription;
};

/// ListView → QAbstractItemModel: one row per item in the list's current order, one
/// column per column header.
class ListModel : public ItemModelAdapter {
    Q_OBJECT
public:
    explicit ListModel(controls::ListView &list, QObject *parent = nullptr);
    ~ListModel() override;

    controls::ListItem *listItemOf(const QModelIndex &index) const;
    QModelIndex indexOf(const controls::ListItem *item) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    /// The column headers changed: a new set of columns resets the rows, new texts or
    /// alignments repaint them.
    void columnsChanged();

    /// Called for an item's selection change and for EnsureVisible.
    std::function<void(controls::ListItem *, controls::Property)> onViewProperty;
    /// Called when items wait to be put in sort order (the next read sorts them).
    std::function<void()> onSortPending;

protected:
    int rowOf(void *item) const override;

private:
    void itemChanged(const controls::ListItemChange &change);

    controls::ListView &m_list;
    host::Subscription m_subscription;
    int m_columns = 1;
    QString m_columnSignature;
};

/// Receives what the user does in an ItemView.
class ItemViewInput {
public:
    virtual ~ItemViewInput() = default;
    virtual void userClick(const QModelIndex &index) = 0;
    virtual void userDoubleClick(const QModelIndex &index) = 0;
    /// KeyDown to the model; true when a handler swallowed the key.
    virtual bool userKey(QKeyEvent *event) = 0;
};

/// KeyDown through `press` (code, shift → the code as the handlers left it), as a user
/// operation; true when a handler swallowed the key.
bool sendKeyDown(QKeyEvent *event, const std::function<int(int, int)> &press);

/// The QTreeView of both bindings. Clicks select through the model, never through the
/// view's own selection logic; the plus/minus sign still expands and collapses.
class ItemView : public QTreeView {
    Q_OBJECT
public:
    ItemView(ItemViewInput *input, QWidget *parent);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool onBranch(const QModelIndex &index, const QPoint &pos) const;
    ItemViewInput *m_input; // not owned
};

} // namespace gui
