#pragma once
// CoolBar (ComCtl3): bands in rows, each holding a child control. The bar's height follows
// its visible bands.
#include "controls/control.h"
#include "controls/item_list.h"

namespace controls {

class CoolBar;

/// BandStyleConstants.
enum class BandStyle { Normal = 0, FixedSize = 1 };

/// What a row adds to its tallest band's MinHeight (borders above and below, twips).
inline constexpr int kBandRowPadding = 4 * kTwipsPerPixel;

class Band : public KeyedItem {
public:
    CoolBar &coolBar() const { return *m_bar; }
    void setKey(const QString &key);
    const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption);
    const QString &tag() const { return m_tag; }
    void setTag(const QString &tag);
    /// The control in the band (not owned); it is moved onto the cool bar.
    Control *child() const { return m_child; }
    void setChild(Control *child);
    int minHeight() const { return m_minHeight; }
    void setMinHeight(int twips);
    int minWidth() const { return m_minWidth; }
    void setMinWidth(int twips);
    /// The width the band asks for (twips).
    int width() const { return m_width; }
    void setWidth(int twips);
    bool visible() const { return m_visible; }
    void setVisible(bool visible);
    /// The band starts a new row.
    bool newRow() const { return m_newRow; }
    void setNewRow(bool newRow);
    BandStyle style() const { return m_style; }
    void setStyle(BandStyle style);

    /// Height of the band's row (twips); 0 while hidden.
    int height() const;
    /// Where the band is drawn inside the cool bar (twips): bands of a row sit side by
    /// side and the row's last band takes the rest of the bar's width. Empty while hidden.
    QRect rect() const;

private:
    friend class Bands;
    friend class CoolBar;
    void changed();
    CoolBar *m_bar = nullptr; // not owned
    QString m_caption;
    QString m_tag;
    Control *m_child = nullptr; // not owned
    int m_minHeight = 360;
    int m_minWidth = 0;
    int m_width = 1440;
    bool m_visible = true;
    bool m_newRow = false;
    BandStyle m_style = BandStyle::Normal;
};

class Bands {
public:
    explicit Bands(CoolBar &bar) : m_bar(bar) {}

    /// Add([Index], [Key], [Caption], [Image], [NewRow], [Child], [Visible]) without the
    /// image: index 0 appends.
    Band *add(int index = 0, const QString &key = {}, const QString &caption = {}, bool newRow = false,
              Control *child = nullptr, bool visible = true);
    int count() const { return m_items.count(); }
    Band *item(const ItemRef &ref) const { return m_items.item(ref); }
    Band *operator()(const ItemRef &ref) const { return item(ref); }
    Band *find(const QString &key) const { return m_items.find(key); }
    void remove(const ItemRef &ref);
    void clear();
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    friend class Band;
    CoolBar &m_bar;
    ItemList<Band> m_items;
};

/// Height is derived: the sum over rows of (tallest MinHeight + padding); setting it has no
/// effect. HeightChanged is raised whenever that height changes.
class CoolBar : public Container {
public:
    explicit CoolBar(const QString &name = {});
    ~CoolBar() override;
    QString className() const override { return QStringLiteral("CoolBar"); }

    Bands &bands() { return m_bands; }
    const Bands &bands() const { return m_bands; }

    /// Bands in rows (visible bands only).
    QList<QList<Band *>> rows() const;

    host::Signal<int> heightChanged;

protected:
    void constrainSize(int &width, int &height) override;

private:
    friend class Band;
    friend class Bands;
    int derivedHeight() const;
    void updateHeight();

    Bands m_bands{*this};
};

} // namespace controls
