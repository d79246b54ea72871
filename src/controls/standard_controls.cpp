#include "controls/standard_controls.h"

#include <algorithm>

namespace controls {

// ---- Label -----------------------------------------------------------------------------

Label::Label(const QString &name) : Control(name)
{
    move(0, 0, 1215, 255);
}

void Label::setCaption(const QString &caption)
{
    if (assign(m_caption, caption))
        notify(Property::Caption);
}

void Label::setAlignment(TextAlignment alignment)
{
    if (assign(m_alignment, alignment))
        notify(Property::Alignment);
}

void Label::setBorderStyle(BorderStyle style)
{
    if (assign(m_borderStyle, style))
        notify(Property::BorderStyle);
}

void Label::setAutoSize(bool autoSize)
{
    if (assign(m_autoSize, autoSize))
        notify(Property::AutoSize);
}

void Label::setWordWrap(bool wordWrap)
{
    if (assign(m_wordWrap, wordWrap))
        notify(Property::WordWrap);
}

void Label::setOpaque(bool opaque)
{
    if (assign(m_opaque, opaque))
        notify(Property::BackStyle);
}

// ---- CommandButton ---------------------------------------------------------------------

CommandButton::CommandButton(const QString &name) : Control(name) {}

void CommandButton::setCaption(const QString &caption)
{
    if (assign(m_caption, caption))
        notify(Property::Caption);
}

void CommandButton::setDefault(bool isDefault)
{
    if (!assign(m_default, isDefault))
        return;
    // One default button per form.
    if (isDefault && container()) {
        for (Control *c : container()->controls()) {
            auto *other = dynamic_cast<CommandButton *>(c);
            if (other && other != this && other->m_default) {
                other->m_default = false;
                other->notify(Property::Default);
            }
        }
    }
    notify(Property::Default);
}

void CommandButton::setCancel(bool cancel)
{
    if (!assign(m_cancel, cancel))
        return;
    if (cancel && container()) {
        for (Control *c : container()->controls()) {
            auto *other = dynamic_cast<CommandButton *>(c);
            if (other && other != this && other->m_cancel) {
                other->m_cancel = false;
                other->notify(Property::Cancel);
            }
        }
    }
    notify(Property::Cancel);
}

void CommandButton::setValue(bool value)
{
    if (value)
        click.raise();
}

void CommandButton::press()
{
    if (!enabled() || !visible())
        return;
    click.raise();
}

// ---- CheckBox --------------------------------------------------------------------------

CheckBox::CheckBox(const QString &name) : Control(name) {}

void CheckBox::setCaption(const QString &caption)
{
    if (assign(m_caption, caption))
        notify(Property::Caption);
}

void CheckBox::setValue(int value)
{
    if (value < vbUnchecked || value > vbGrayed)
        throw controlError(err::InvalidPropertyValue);
    if (!assign(m_value, value))
        return;
    notify(Property::Value);
    click.raise();
}

void CheckBox::setAlignment(TextAlignment alignment)
{
    if (assign(m_alignment, alignment))
        notify(Property::Alignment);
}

void CheckBox::press()
{
    if (!enabled() || !visible())
        return;
    setValue(m_value == vbChecked ? vbUnchecked : vbChecked);
}

// ---- ComboBox --------------------------------------------------------------------------

ComboBox::ComboBox(const QString &name) : Control(name)
{
    move(0, 0, 1215, 300);
    setBackColor(vbWindowBackground);
    setForeColor(vbWindowText);
}

void ComboBox::setStyle(ComboStyle style)
{
    if (assign(m_style, style))
        notify(Property::Style);
}

void ComboBox::setSorted(bool sorted)
{
    if (assign(m_sorted, sorted))
        notify(Property::Sorted);
}

void ComboBox::setLocked(bool locked)
{
    if (assign(m_locked, locked))
        notify(Property::Locked);
}

QString ComboBox::list(int index) const
{
    if (index < 0)
        throw controlError(err::InvalidPropertyArrayIndex);
    return index < m_items.size() ? m_items[index] : QString();
}

void ComboBox::setList(int index, const QString &text)
{
    if (index < 0 || index >= m_items.size())
        throw controlError(err::InvalidPropertyArrayIndex);
    if (assign(m_items[index], text))
        notify(Property::List);
}

int ComboBox::itemData(int index) const
{
    if (index < 0 || index >= m_itemData.size())
        throw controlError(err::InvalidPropertyArrayIndex);
    return m_itemData[index];
}

void ComboBox::setItemData(int index, int data)
{
    if (index < 0 || index >= m_itemData.size())
        throw controlError(err::InvalidPropertyArrayIndex);
    m_itemData[index] = data;
}

void ComboBox::addItem(const QString &item, int index)
{
    if (index < -1 || index > m_items.size())
        throw controlError(err::InvalidCall);
    int at = index;
    if (at == -1) {
        if (m_sorted) {
            auto it = std::upper_bound(m_items.begin(), m_items.end(), item,
                                       [](const QString &a, const QString &b) { return compareText(a, b) < 0; });
            at = static_cast<int>(it - m_items.begin());
        } else {
            at = static_cast<int>(m_items.size());
        }
    }
    m_items.insert(at, item);
    m_itemData.insert(at, 0);
    if (m_listIndex >= at)
        ++m_listIndex;
    notify(Property::List);
}

void ComboBox::removeItem(int index)
{
    if (index < 0 || index >= m_items.size())
        throw controlError(err::InvalidCall);
    m_items.removeAt(index);
    m_itemData.removeAt(index);
    if (m_listIndex == index) {
        m_listIndex = -1;
        notify(Property::ListIndex);
        if (m_style == ComboStyle::DropdownList && !m_text.isEmpty()) {
            m_text.clear();
            notify(Property::Text);
        }
    } else if (m_listIndex > index) {
        --m_listIndex;
    }
    notify(Property::List);
}

void ComboBox::clear()
{
    m_items.clear();
    m_itemData.clear();
    m_listIndex = -1;
    const bool hadText = !m_text.isEmpty();
    m_text.clear();
    notify(Property::List);
    notify(Property::ListIndex);
    if (hadText)
        notify(Property::Text);
}

void ComboBox::setListIndex(int index)
{
    if (index < -1 || index >= m_items.size())
        throw controlError(err::InvalidPropertyValue);
    if (!assign(m_listIndex, index))
        return;
    const QString text = index >= 0 ? m_items[index] : QString();
    if (m_text != text) {
        m_text = text;
        notify(Property::Text);
    }
    notify(Property::ListIndex);
    if (index >= 0)
        click.raise();
}

void ComboBox::setText(const QString &text)
{
    if (m_style == ComboStyle::DropdownList) {
        const int at = static_cast<int>(m_items.indexOf(text));
        if (at < 0)
            throw controlError(err::TextPropertyReadOnly);
        setListIndex(at);
        return;
    }
    if (m_listIndex != -1) {
        m_listIndex = -1;
        notify(Property::ListIndex);
    }
    if (!assign(m_text, text))
        return;
    notify(Property::Text);
    change.raise();
}

void ComboBox::chooseItem(int index)
{
    if (!enabled() || m_locked || index < 0 || index >= m_items.size())
        return;
    m_listIndex = index;
    if (m_text != m_items[index]) {
        m_text = m_items[index];
        notify(Property::Text);
    }
    notify(Property::ListIndex);
    click.raise();
}

void ComboBox::typeText(const QString &text)
{
    if (!enabled() || m_locked || m_style == ComboStyle::DropdownList)
        return;
    setText(text);
}

int ComboBox::pressKey(int keyCode, int shift)
{
    if (!enabled())
        return keyCode;
    keyDown.raise(keyCode, shift);
    return keyCode;
}

int ComboBox::typeChar(int keyAscii)
{
    if (!enabled())
        return keyAscii;
    keyPress.raise(keyAscii);
    return keyAscii;
}

// ---- PictureBox ------------------------------------------------------------------------

PictureBox::PictureBox(const QString &name) : Container(name)
{
    move(0, 0, 1215, 1215);
}

void PictureBox::setBorderStyle(BorderStyle style)
{
    if (!assign(m_borderStyle, style))
        return;
    notify(Property::BorderStyle);
    arrangeAligned();
}

void PictureBox::setAppearance(Appearance appearance)
{
    if (assign(m_appearance, appearance))
        notify(Property::Appearance);
}

void PictureBox::setAutoRedraw(bool autoRedraw)
{
    m_autoRedraw = autoRedraw;
}

QSize PictureBox::frameSize() const
{
    if (m_borderStyle == BorderStyle::None)
        return {0, 0};
    const int border = (m_appearance == Appearance::ThreeD ? 2 : 1) * kTwipsPerPixel * 2;
    return {border, border};
}

// ---- Frame -----------------------------------------------------------------------------

Frame::Frame(const QString &name) : Container(name)
{
    move(0, 0, 1935, 1215);
}

void Frame::setCaption(const QString &caption)
{
    if (assign(m_caption, caption))
        notify(Property::Caption);
}

void Frame::setBorderStyle(BorderStyle style)
{
    if (assign(m_borderStyle, style))
        notify(Property::BorderStyle);
}

} // namespace controls
