#pragma once
// One binding per kind of control model, each with the Qt widget that renders it.
#include "gui/control_binding.h"
#include "gui/item_views.h"

#include <memory>

class QComboBox;
class QTabBar;
class QToolButton;
class QKeyEvent;

namespace controls {
class CheckBox;
class ComboBox;
class CommandButton;
class CoolBar;
class Frame;
class ImageCombo;
class Label;
class ListItem;
class ListView;
class Node;
class PictureBox;
class ProgressBar;
class StatusBar;
class TabStrip;
class Toolbar;
class TreeView;
} // namespace controls

namespace gui {

/// Creates the binding (and widget, a child of host->childParent()) for a control; null for
/// controls without a window (the image list).
std::unique_ptr<ControlBinding> createBinding(controls::Control &control, ChildHost *host);

/// TreeView → QTreeView over a TreeModel: nodes in the model's order, icons by image,
/// expanded image and selected image; expansion, selection and hidden nodes as the model
/// has them.
class TreeBinding : public ControlBinding, public ItemViewInput {
    Q_OBJECT
public:
    TreeBinding(controls::TreeView &tree, ChildHost *host);
    controls::TreeView &tree() const { return m_tree; }
    QTreeView *treeView() const;
    TreeModel *model() const { return m_model; }
    /// The row of a node (invalid for null).
    QModelIndex indexOf(const controls::Node *node) const;
    controls::Node *nodeOf(const QModelIndex &index) const;

    // Gestures, from the view.
    void userClick(const QModelIndex &index) override;
    void userDoubleClick(const QModelIndex &index) override;
    bool userKey(QKeyEvent *event) override;
    void userExpand(const QModelIndex &index, bool expanded);
    void userCheck(controls::Node *node, bool checked);

protected:
    void propertyChanged(controls::Property property) override;
    void rebuild() override;
    void applyColors() override;

private:
    void viewProperty(controls::Node *node, controls::Property property);
    void nodeAdded(controls::Node *node);
    void syncExpanded(const controls::Node *node);
    void syncHidden(const controls::Node *node);
    void syncState(const std::vector<controls::Node *> &level);
    void syncSelection();
    void applyStyle();

    controls::TreeView &m_tree;
    TreeModel *m_model; // owned by the binding (QObject child)
};

/// ListView (report view) → QTreeView over a ListModel with column headers: rows in the
/// model's order, widths and alignment from the column headers, small icons, selection.
class ListBinding : public ControlBinding, public ItemViewInput {
    Q_OBJECT
public:
    ListBinding(controls::ListView &list, ChildHost *host);
    controls::ListView &list() const { return m_list; }
    QTreeView *treeView() const;
    ListModel *model() const { return m_model; }
    QModelIndex indexOf(const controls::ListItem *item) const;
    controls::ListItem *listItemOf(const QModelIndex &index) const;

    void userClick(const QModelIndex &index) override;
    void userDoubleClick(const QModelIndex &index) override;
    bool userKey(QKeyEvent *event) override;

    /// Also puts rows in sort order when the list waits for it.
    void flush() override;

protected:
    void propertyChanged(controls::Property property) override;
    void rebuild() override;
    void applyColors() override;

private:
    void viewProperty(controls::ListItem *item, controls::Property property);
    void scheduleSort();
    void applyColumnWidths();
    void applyOptions();
    void syncSelection();

    controls::ListView &m_list;
    ListModel *m_model; // owned by the binding (QObject child)
    bool m_sortPending = false;
};

/// Toolbar → a strip of QToolButtons at the model's button positions, separators between.
class ToolbarBinding : public ControlBinding {
    Q_OBJECT
public:
    ToolbarBinding(controls::Toolbar &toolbar, ChildHost *host);
    controls::Toolbar &toolbar() const { return m_toolbar; }
    /// The widget of button `index` (1-based); null for separators and placeholders.
    QToolButton *button(int index) const;

protected:
    void propertyChanged(controls::Property property) override;
    void rebuild() override;

private:
    QString signature() const;
    void updateButtons();

    controls::Toolbar &m_toolbar;
    QList<QWidget *> m_buttons; // one per model button, in order
    QString m_signature;
};

/// StatusBar → a strip painting the panels at the model's lefts and widths.
class StatusBarBinding : public ControlBinding {
    Q_OBJECT
public:
    StatusBarBinding(controls::StatusBar &bar, ChildHost *host);
    controls::StatusBar &statusBar() const { return m_bar; }

protected:
    void propertyChanged(controls::Property property) override;

private:
    controls::StatusBar &m_bar;
};

/// ProgressBar → QProgressBar.
class ProgressBinding : public ControlBinding {
    Q_OBJECT
public:
    ProgressBinding(controls::ProgressBar &bar, ChildHost *host);

protected:
    void propertyChanged(controls::Property property) override;
    void rebuild() override;

private:
    controls::ProgressBar &m_bar;
};

/// TabStrip → QTabBar over a tab-widget frame (the trees lie on the frame's client area).
class TabStripBinding : public ControlBinding {
    Q_OBJECT
public:
    TabStripBinding(controls::TabStrip &strip, ChildHost *host);
    controls::TabStrip &tabStrip() const { return m_strip; }
    QTabBar *tabBar() const { return m_tabBar; }
    /// Height of the tab row (pixels).
    int rowHeight() const;

protected:
    void propertyChanged(controls::Property property) override;
    void rebuild() override;

private:
    void syncCurrent();
    void placeTabBar();

    controls::TabStrip &m_strip;
    QTabBar *m_tabBar;
};

/// CoolBar → a strip painting the bands (grippers, etched edges) that places each band's
/// child inside its band.
class CoolBarBinding : public ControlBinding, public ChildHost {
    Q_OBJECT
public:
    CoolBarBinding(controls::CoolBar &bar, ChildHost *host);
    controls::CoolBar &coolBar() const { return m_bar; }
    QWidget *childParent() const override { return widget(); }
    QRect childRect(const ControlBinding &child) const override;
    bool childShown(const ControlBinding &child) const override;

protected:
    void propertyChanged(controls::Property property) override;

private:
    controls::CoolBar &m_bar;
};

/// ImageCombo → QComboBox with the items' icons.
class ImageComboBinding : public ControlBinding {
    Q_OBJECT
public:
    ImageComboBinding(controls::ImageCombo &combo, ChildHost *host);
    QComboBox *comboBox() const;

protected:
    void propertyChanged(controls::Property property) override;
    void rebuild() override;

private:
    void syncSelection();
    controls::ImageCombo &m_combo;
};

/// ComboBox → editable QComboBox (a plain one for the dropdown-list style).
class ComboBoxBinding : public ControlBinding {
    Q_OBJECT
public:
    ComboBoxBinding(controls::ComboBox &combo, ChildHost *host);
    QComboBox *comboBox() const;

protected:
    void propertyChanged(controls::Property property) override;
    void rebuild() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void syncText();
    void attachEditor();
    controls::ComboBox &m_combo;
};

/// PictureBox → a plain widget that paints its colour and drawn edges and forwards the
/// mouse (the splitter bar); it also holds child controls.
class PictureBoxBinding : public ControlBinding, public ChildHost {
    Q_OBJECT
public:
    PictureBoxBinding(controls::PictureBox &box, ChildHost *host);
    QWidget *childParent() const override { return widget(); }

protected:
    void applyColors() override;
    bool clickOnRelease() const override { return true; }
};

/// Frame → QGroupBox holding child controls.
class FrameBinding : public ControlBinding, public ChildHost {
    Q_OBJECT
public:
    FrameBinding(controls::Frame &frame, ChildHost *host);
    QWidget *childParent() const override { return widget(); }

protected:
    void propertyChanged(controls::Property property) override;
    void rebuild() override;

private:
    controls::Frame &m_frame;
};

/// Label → QLabel.
class LabelBinding : public ControlBinding {
    Q_OBJECT
public:
    LabelBinding(controls::Label &label, ChildHost *host);

protected:
    void propertyChanged(controls::Property property) override;
    void rebuild() override;
    void applyColors() override;
    bool clickOnRelease() const override { return true; }

private:
    controls::Label &m_label;
};

/// CommandButton → QPushButton.
class CommandButtonBinding : public ControlBinding {
    Q_OBJECT
public:
    CommandButtonBinding(controls::CommandButton &button, ChildHost *host);

protected:
    void propertyChanged(controls::Property property) override;
    void rebuild() override;

private:
    controls::CommandButton &m_button;
};

/// CheckBox → QCheckBox (grayed is the partially checked state).
class CheckBoxBinding : public ControlBinding {
    Q_OBJECT
public:
    CheckBoxBinding(controls::CheckBox &box, ChildHost *host);

protected:
    void propertyChanged(controls::Property property) override;
    void rebuild() override;

private:
    controls::CheckBox &m_box;
};

/// Paints what DrawEdge drew on a container.
void paintDrawnEdges(QWidget *widget, const QList<controls::DrawnEdge> &edges);

} // namespace gui
