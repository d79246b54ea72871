#pragma once
// StatusBar (MSComctlLib 6): panels laid out from the left, SimpleText mode.
#include "controls/control.h"
#include "controls/item_list.h"

namespace controls {

class StatusBar;

/// SbarStyleConstants.
enum class StatusBarStyle { Normal = 0, Simple = 1 };
/// PanelStyleConstants.
enum class PanelStyle { Text = 0, Caps = 1, Num = 2, Ins = 3, Scrl = 4, Time = 5, Date = 6, Kana = 7 };
/// PanelAutoSizeConstants.
enum class PanelAutoSize { None = 0, Spring = 1, Contents = 2 };
/// PanelAlignmentConstants.
enum class PanelAlignment { Left = 0, Center = 1, Right = 2 };
/// PanelBevelConstants.
enum class PanelBevel { None = 0, Inset = 1, Raised = 2 };

/// Default Width and MinWidth of a panel (twips).
inline constexpr int kDefaultPanelWidth = 1440;

class Panel : public KeyedItem {
public:
    StatusBar &statusBar() const { return *m_bar; }
    void setKey(const QString &key);
    const QString &text() const { return m_text; }
    void setText(const QString &text);
    const QString &toolTipText() const { return m_toolTipText; }
    void setToolTipText(const QString &text);
    const QString &tag() const { return m_tag; }
    void setTag(const QString &tag);
    bool visible() const { return m_visible; }
    void setVisible(bool visible);
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    PanelStyle style() const { return m_style; }
    void setStyle(PanelStyle style);
    PanelAutoSize autoSize() const { return m_autoSize; }
    void setAutoSize(PanelAutoSize autoSize);
    PanelAlignment alignment() const { return m_alignment; }
    void setAlignment(PanelAlignment alignment);
    PanelBevel bevel() const { return m_bevel; }
    void setBevel(PanelBevel bevel);
    int minWidth() const { return m_minWidth; }
    void setMinWidth(int twips);

    /// The width the panel has now (twips): the set width, or what Spring / Contents gives.
    int width() const;
    /// Sets the width; a panel is never narrower than MinWidth.
    void setWidth(int twips);
    /// Distance from the status bar's left edge: the widths of the visible panels before it.
    int left() const;

private:
    friend class Panels;
    friend class StatusBar;
    void changed();
    StatusBar *m_bar = nullptr; // not owned
    QString m_text;
    QString m_toolTipText;
    QString m_tag;
    bool m_visible = true;
    bool m_enabled = true;
    PanelStyle m_style = PanelStyle::Text;
    PanelAutoSize m_autoSize = PanelAutoSize::None;
    PanelAlignment m_alignment = PanelAlignment::Left;
    PanelBevel m_bevel = PanelBevel::Inset;
    int m_width = kDefaultPanelWidth;
    int m_minWidth = kDefaultPanelWidth;
};

class Panels {
public:
    explicit Panels(StatusBar &bar) : m_bar(bar) {}

    /// Add([Index], [Key], [Text], [Style]): index 0 appends.
    Panel *add(int index = 0, const QString &key = {}, const QString &text = {},
               PanelStyle style = PanelStyle::Text);
    int count() const { return m_items.count(); }
    Panel *item(const ItemRef &ref) const { return m_items.item(ref); }
    Panel *operator()(const ItemRef &ref) const { return item(ref); }
    Panel *find(const QString &key) const { return m_items.find(key); }
    void remove(const ItemRef &ref);
    void clear();
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    friend class Panel;
    StatusBar &m_bar;
    ItemList<Panel> m_items;
};

/// A new status bar has no panels.
class StatusBar : public Control {
public:
    explicit StatusBar(const QString &name = {});
    ~StatusBar() override;
    QString className() const override { return QStringLiteral("StatusBar"); }

    Panels &panels() { return m_panels; }
    const Panels &panels() const { return m_panels; }

    StatusBarStyle style() const { return m_style; }
    void setStyle(StatusBarStyle style);
    const QString &simpleText() const { return m_simpleText; }
    void setSimpleText(const QString &text);
    bool showTips() const { return m_showTips; }
    void setShowTips(bool show);

    /// Raises PanelClick for `panel` (index or key), then Click.
    void clickPanel(const ItemRef &ref);
    host::Signal<Panel *> panelClick;

private:
    friend class Panel;
    friend class Panels;
    /// Widths of the visible panels after AutoSize, in panel order (hidden ones: 0).
    QList<int> layoutWidths() const;

    Panels m_panels{*this};
    StatusBarStyle m_style = StatusBarStyle::Normal;
    QString m_simpleText;
    bool m_showTips = false;
};

} // namespace controls
