#pragma once
// Toolbar (MSComctlLib 6): buttons with keys, images, check and group styles.
#include "controls/control.h"
#include "controls/image_list.h"
#include "controls/item_list.h"

namespace controls {

class Toolbar;

/// ButtonStyleConstants.
enum class ButtonStyle { Default = 0, Check = 1, ButtonGroup = 2, Separator = 3, Placeholder = 4, DropDown = 5 };
/// ValueConstants of a button.
enum class ButtonValue { Unpressed = 0, Pressed = 1 };
/// ToolbarStyleConstants.
enum class ToolbarStyle { Standard = 0, Flat = 1 };
/// ToolbarTextAlignConstants.
enum class ToolbarTextAlign { Bottom = 0, Right = 1 };

/// Width a separator takes (twips).
inline constexpr int kSeparatorWidth = 8 * kTwipsPerPixel;

class Button : public KeyedItem {
public:
    Toolbar &toolbar() const { return *m_toolbar; }
    void setKey(const QString &key);
    const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption);
    const QString &description() const { return m_description; }
    void setDescription(const QString &description);
    const QString &toolTipText() const { return m_toolTipText; }
    void setToolTipText(const QString &text);
    const QString &tag() const { return m_tag; }
    void setTag(const QString &tag);
    /// Key of the toolbar's image list; 35601 when it lacks it.
    const QString &image() const { return m_image; }
    void setImage(const QString &image);
    ButtonStyle style() const { return m_style; }
    void setStyle(ButtonStyle style);
    ButtonValue value() const { return m_value; }
    /// No ButtonClick event. Pressing a group button releases the others of its group.
    void setValue(ButtonValue value);
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    bool visible() const { return m_visible; }
    void setVisible(bool visible);
    bool mixedState() const { return m_mixedState; }
    void setMixedState(bool mixed);

    /// Twips. A placeholder keeps the width it is given; other buttons take the toolbar's
    /// button width, separators a fixed width, hidden buttons none.
    int width() const;
    /// Only a placeholder's width can be set; 380 for any other style.
    void setWidth(int twips);
    /// Position inside the toolbar (twips), buttons laid out in one row.
    int left() const;
    int top() const { return 0; }
    int height() const;

private:
    friend class Buttons;
    friend class Toolbar;
    void changed(Property property);
    Toolbar *m_toolbar = nullptr; // not owned
    QString m_caption;
    QString m_description;
    QString m_toolTipText;
    QString m_tag;
    QString m_image;
    ButtonStyle m_style = ButtonStyle::Default;
    ButtonValue m_value = ButtonValue::Unpressed;
    bool m_enabled = true;
    bool m_visible = true;
    bool m_mixedState = false;
    int m_placeholderWidth = 0;
};

class Buttons {
public:
    explicit Buttons(Toolbar &toolbar) : m_toolbar(toolbar) {}

    /// Add([Index], [Key], [Caption], [Style], [Image]): index 0 appends.
    Button *add(int index = 0, const QString &key = {}, const QString &caption = {},
                ButtonStyle style = ButtonStyle::Default, const QString &image = {});
    int count() const { return m_items.count(); }
    Button *item(const ItemRef &ref) const { return m_items.item(ref); }
    Button *operator()(const ItemRef &ref) const { return item(ref); }
    Button *find(const QString &key) const { return m_items.find(key); }
    void remove(const ItemRef &ref);
    void clear();
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    friend class Button;
    Toolbar &m_toolbar;
    ItemList<Button> m_items;
};

class Toolbar : public Control {
public:
    explicit Toolbar(const QString &name = {});
    ~Toolbar() override;
    QString className() const override { return QStringLiteral("Toolbar"); }

    Buttons &buttons() { return m_buttons; }
    const Buttons &buttons() const { return m_buttons; }

    /// Twips. The control never makes a button smaller than its image (plus its frame) or
    /// caption, so small values read back as that minimum.
    int buttonWidth() const;
    void setButtonWidth(int twips);
    int buttonHeight() const;
    void setButtonHeight(int twips);

    ToolbarStyle style() const { return m_style; }
    void setStyle(ToolbarStyle style);
    ToolbarTextAlign textAlignment() const { return m_textAlignment; }
    void setTextAlignment(ToolbarTextAlign align);
    bool showTips() const { return m_showTips; }
    void setShowTips(bool show);
    bool wrappable() const { return m_wrappable; }
    void setWrappable(bool wrappable);
    bool allowCustomize() const { return m_allowCustomize; }
    void setAllowCustomize(bool allow);
    BorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(BorderStyle style);
    Appearance appearance() const { return m_appearance; }
    void setAppearance(Appearance appearance);

    ImageList *imageList() const { return m_imageList.get(); }
    void setImageList(ImageList *list);

    /// The user clicks button `ref` (index or key; 35600/35601 when there is none).
    /// Nothing happens for a disabled or hidden toolbar or button, a separator or a
    /// placeholder. A check button toggles, a group button is pressed and the others of
    /// its group are released; then ButtonClick is raised.
    void click(const ItemRef &ref);
    /// The user clicks the arrow of a drop-down button: raises ButtonDropDown.
    void clickDropDown(const ItemRef &ref);

    host::Signal<Button *> buttonClick;
    host::Signal<Button *> buttonDropDown;

private:
    friend class Button;
    friend class Buttons;
    void releaseGroup(Button *pressed);
    bool usable(const Button *button) const;

    Buttons m_buttons{*this};
    int m_buttonWidth = 0;
    int m_buttonHeight = 0;
    ToolbarStyle m_style = ToolbarStyle::Standard;
    ToolbarTextAlign m_textAlignment = ToolbarTextAlign::Bottom;
    bool m_showTips = true;
    bool m_wrappable = true;
    bool m_allowCustomize = true;
    BorderStyle m_borderStyle = BorderStyle::None;
    Appearance m_appearance = Appearance::ThreeD;
    ImageListBinding m_imageList;
};

} // namespace controls
