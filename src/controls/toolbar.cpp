#include "controls/toolbar.h"

#include "controls/platform.h"

namespace controls {

namespace {
// Windows' default bitmap size when no image list is bound, and the frame around it.
constexpr int kDefaultImageWidth = 16;
constexpr int kDefaultImageHeight = 15;
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 7;
} // namespace

// ---- Button ----------------------------------------------------------------------------

void Button::changed(Property property)
{
    m_toolbar->notify(property);
}

void Button::setKey(const QString &key)
{
    if (index() == 0)
        throw controlError(err::ElementNotFound);
    m_toolbar->m_buttons.m_items.setKey(this, key);
    changed(Property::Buttons);
}

void Button::setCaption(const QString &caption)
{
    if (assign(m_caption, caption))
        changed(Property::Buttons);
}

void Button::setDescription(const QString &description)
{
    m_description = description;
}

void Button::setToolTipText(const QString &text)
{
    if (assign(m_toolTipText, text))
        changed(Property::Buttons);
}

void Button::setTag(const QString &tag)
{
    m_tag = tag;
}

void Button::setImage(const QString &image)
{
    m_toolbar->m_imageList.checkImage(image);
    if (assign(m_image, image))
        changed(Property::Buttons);
}

void Button::setStyle(ButtonStyle style)
{
    const int value = static_cast<int>(style);
    if (value < 0 || value > 5)
        throw controlError(err::InvalidPropertyValue);
    if (assign(m_style, style))
        changed(Property::Buttons);
}

void Button::setValue(ButtonValue value)
{
    const int v = static_cast<int>(value);
    if (v < 0 || v > 1)
        throw controlError(err::InvalidPropertyValue);
    if (value == ButtonValue::Pressed && m_style == ButtonStyle::ButtonGroup)
        m_toolbar->releaseGroup(this);
    if (assign(m_value, value))
        changed(Property::Buttons);
}

void Button::setEnabled(bool enabled)
{
    if (assign(m_enabled, enabled))
        changed(Property::Buttons);
}

void Button::setVisible(bool visible)
{
    if (assign(m_visible, visible))
        changed(Property::Buttons);
}

void Button::setMixedState(bool mixed)
{
    if (assign(m_mixedState, mixed))
        changed(Property::Buttons);
}

int Button::width() const
{
    if (!m_visible)
        return 0;
    switch (m_style) {
    case ButtonStyle::Separator:
        return kSeparatorWidth;
    case ButtonStyle::Placeholder:
        return m_placeholderWidth;
    default:
        return m_toolbar->buttonWidth();
    }
}

void Button::setWidth(int twips)
{
    if (m_style != ButtonStyle::Placeholder || twips < 0)
        throw controlError(err::InvalidPropertyValue);
    if (assign(m_placeholderWidth, twips))
        changed(Property::Buttons);
}

int Button::left() const
{
    int x = 0;
    for (const Button *b : m_toolbar->m_buttons) {
        if (b == this)
            break;
        x += b->width();
    }
    return x;
}

int Button::height() const
{
    return m_toolbar->buttonHeight();
}

// ---- Buttons ---------------------------------------------------------------------------

Button *Buttons::add(int index, const QString &key, const QString &caption, ButtonStyle style,
                     const QString &image)
{
    const int position = m_items.insertPosition(index);
    m_items.checkNewKey(key);
    const int value = static_cast<int>(style);
    if (value < 0 || value > 5)
        throw controlError(err::InvalidPropertyValue);
    m_toolbar.m_imageList.checkImage(image);
    auto button = std::make_unique<Button>();
    button->m_toolbar = &m_toolbar;
    button->m_caption = caption;
    button->m_style = style;
    button->m_image = image;
    Button *added = m_items.insert(position, key, std::move(button));
    m_toolbar.notify(Property::Buttons);
    return added;
}

void Buttons::remove(const ItemRef &ref)
{
    m_items.take(m_items.item(ref));
    m_toolbar.notify(Property::Buttons);
}

void Buttons::clear()
{
    m_items.clear();
    m_toolbar.notify(Property::Buttons);
}

// ---- Toolbar ---------------------------------------------------------------------------

Toolbar::Toolbar(const QString &name) : Control(name) {}

Toolbar::~Toolbar() = default;

int Toolbar::buttonWidth() const
{
    const ImageList *list = m_imageList.get();
    const int imageWidth = list && list->imageWidth() > 0 ? list->imageWidth() : kDefaultImageWidth;
    int minimum = (imageWidth + kFrameWidth) * kTwipsPerPixel;
    for (const Button *b : m_buttons) {
        if (!b->caption().isEmpty() && b->visible())
            minimum = std::max(minimum, platform().textWidth(b->caption(), font()) + kFrameWidth * kTwipsPerPixel);
    }
    return std::max(m_buttonWidth, minimum);
}

void Toolbar::setButtonWidth(int twips)
{
    if (twips < 0)
        throw controlError(err::InvalidPropertyValue);
    if (assign(m_buttonWidth, twips))
        notify(Property::ButtonWidth);
}

int Toolbar::buttonHeight() const
{
    const ImageList *list = m_imageList.get();
    const int imageHeight = list && list->imageHeight() > 0 ? list->imageHeight() : kDefaultImageHeight;
    int minimum = (imageHeight + kFrameHeight) * kTwipsPerPixel;
    if (m_textAlignment == ToolbarTextAlign::Bottom) {
        for (const Button *b : m_buttons) {
            if (!b->caption().isEmpty() && b->visible()) {
                minimum += platform().textHeight(font());
                break;
            }
        }
    }
    return std::max(m_buttonHeight, minimum);
}

void Toolbar::setButtonHeight(int twips)
{
    if (twips < 0)
        throw controlError(err::InvalidPropertyValue);
    if (assign(m_buttonHeight, twips))
        notify(Property::ButtonHeight);
}

void Toolbar::setStyle(ToolbarStyle style)
{
    if (assign(m_style, style))
        notify(Property::Style);
}

void Toolbar::setTextAlignment(ToolbarTextAlign align)
{
    if (assign(m_textAlignment, align))
        notify(Property::TextAlignment);
}

void Toolbar::setShowTips(bool show)
{
    if (assign(m_showTips, show))
        notify(Property::ShowTips);
}

void Toolbar::setWrappable(bool wrappable)
{
    if (assign(m_wrappable, wrappable))
        notify(Property::Wrappable);
}

void Toolbar::setAllowCustomize(bool allow)
{
    m_allowCustomize = allow;
}

void Toolbar::setBorderStyle(BorderStyle style)
{
    if (assign(m_borderStyle, style))
        notify(Property::BorderStyle);
}

void Toolbar::setAppearance(Appearance appearance)
{
    if (assign(m_appearance, appearance))
        notify(Property::Appearance);
}

void Toolbar::setImageList(ImageList *list)
{
    if (m_imageList.get() == list)
        return;
    m_imageList.set(list);
    notify(Property::ImageList);
}

void Toolbar::releaseGroup(Button *pressed)
{
    // A group is the run of adjacent group-style buttons around the pressed one.
    const int at = pressed->index();
    for (int i = at - 1; i >= 1; --i) {
        Button *b = m_buttons.item(i);
        if (b->m_style != ButtonStyle::ButtonGroup)
            break;
        b->setValue(ButtonValue::Unpressed);
    }
    for (int i = at + 1; i <= m_buttons.count(); ++i) {
        Button *b = m_buttons.item(i);
        if (b->m_style != ButtonStyle::ButtonGroup)
            break;
        b->setValue(ButtonValue::Unpressed);
    }
}

bool Toolbar::usable(const Button *button) const
{
    return enabled() && visible() && button->m_enabled && button->m_visible
           && button->m_style != ButtonStyle::Separator && button->m_style != ButtonStyle::Placeholder;
}

void Toolbar::click(const ItemRef &ref)
{
    Button *button = m_buttons.item(ref);
    if (!usable(button))
        return;
    if (button->m_style == ButtonStyle::Check)
        button->setValue(button->m_value == ButtonValue::Pressed ? ButtonValue::Unpressed : ButtonValue::Pressed);
    else if (button->m_style == ButtonStyle::ButtonGroup)
        button->setValue(ButtonValue::Pressed);
    buttonClick.raise(button);
}

void Toolbar::clickDropDown(const ItemRef &ref)
{
    Button *button = m_buttons.item(ref);
    if (!usable(button) || button->m_style != ButtonStyle::DropDown)
        return;
    buttonDropDown.raise(button);
}

} // namespace controls
