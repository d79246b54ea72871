#pragma once
// TabStrip (MSComctlLib 6): one row of tabs over a client area.
#include "controls/control.h"
#include "controls/image_list.h"
#include "controls/item_list.h"

namespace controls {

class TabStrip;

/// TabStyleConstants.
enum class TabStyle { Tabs = 0, Buttons = 1, FlatButtons = 2 };

/// Height of the tab row when TabFixedHeight is 0, and the frame around the client area
/// (twips).
inline constexpr int kTabRowHeight = 22 * kTwipsPerPixel;
inline constexpr int kTabFrame = 2 * kTwipsPerPixel;

class Tab : public KeyedItem {
public:
    TabStrip &tabStrip() const { return *m_strip; }
    void setKey(const QString &key);
    const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption);
    const QString &toolTipText() const { return m_toolTipText; }
    void setToolTipText(const QString &text);
    const QString &tag() const { return m_tag; }
    void setTag(const QString &tag);
    const QString &image() const { return m_image; }
    void setImage(const QString &image);
    bool selected() const;
    /// Selecting another tab raises Click, as it does in VB.
    void setSelected(bool selected);

private:
    friend class Tabs;
    TabStrip *m_strip = nullptr; // not owned
    QString m_caption;
    QString m_toolTipText;
    QString m_tag;
    QString m_image;
};

class Tabs {
public:
    explicit Tabs(TabStrip &strip) : m_strip(strip) {}

    /// Add([Index], [Key], [Caption], [Image]): index 0 appends. The first tab added is
    /// selected (without a Click).
    Tab *add(int index = 0, const QString &key = {}, const QString &caption = {}, const QString &image = {});
    int count() const { return m_items.count(); }
    Tab *item(const ItemRef &ref) const { return m_items.item(ref); }
    Tab *operator()(const ItemRef &ref) const { return item(ref); }
    Tab *find(const QString &key) const { return m_items.find(key); }
    /// Removing the selected tab selects the one that takes its place (no Click).
    void remove(const ItemRef &ref);
    void clear();
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    friend class Tab;
    TabStrip &m_strip;
    ItemList<Tab> m_items;
};

class TabStrip : public Control {
public:
    explicit TabStrip(const QString &name = {});
    ~TabStrip() override;
    QString className() const override { return QStringLiteral("TabStrip"); }

    Tabs &tabs() { return m_tabs; }
    const Tabs &tabs() const { return m_tabs; }

    Tab *selectedItem() const { return m_selected; }
    /// Selecting a different tab in code raises Click (VB's TabStrip does); the same tab
    /// raises nothing.
    void setSelectedItem(Tab *tab);

    /// The area inside the frame, below the tab row (twips, in the container's coordinates).
    int clientLeft() const;
    int clientTop() const;
    int clientWidth() const;
    int clientHeight() const;

    TabStyle style() const { return m_style; }
    void setStyle(TabStyle style);
    /// 0: the default row height.
    int tabFixedHeight() const { return m_tabFixedHeight; }
    void setTabFixedHeight(int twips);
    bool showTips() const { return m_showTips; }
    void setShowTips(bool show);
    ImageList *imageList() const { return m_imageList.get(); }
    void setImageList(ImageList *list);

    /// The user clicks a tab: selects it and raises Click (also for the tab already shown).
    void clickTab(const ItemRef &ref);

private:
    friend class Tab;
    friend class Tabs;
    int rowHeight() const { return m_tabFixedHeight > 0 ? m_tabFixedHeight : kTabRowHeight; }

    Tabs m_tabs{*this};
    Tab *m_selected = nullptr;
    TabStyle m_style = TabStyle::Tabs;
    int m_tabFixedHeight = 0;
    bool m_showTips = true;
    ImageListBinding m_imageList;
};

} // namespace controls
