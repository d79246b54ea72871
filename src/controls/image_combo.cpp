#include "controls/image_combo.h"

namespace controls {

// ---- ComboItem -------------------------------------------------------------------------

void ComboItem::changed()
{
    m_combo->notify(Property::ComboItems);
}

void ComboItem::setKey(const QString &key)
{
    if (index() == 0)
        throw controlError(err::ElementNotFound);
    m_combo->m_items.m_items.setKey(this, key);
    changed();
}

void ComboItem::setText(const QString &text)
{
    if (assign(m_text, text))
        changed();
}

void ComboItem::setTag(const QString &tag)
{
    m_tag = tag;
}

void ComboItem::setImage(const QString &image)
{
    m_combo->m_imageList.checkImage(image);
    if (assign(m_image, image))
        changed();
}

void ComboItem::setSelImage(const QString &image)
{
    m_combo->m_imageList.checkImage(image);
    if (assign(m_selImage, image))
        changed();
}

void ComboItem::setOverlayImage(const QString &image)
{
    m_combo->m_imageList.checkImage(image);
    if (assign(m_overlayImage, image))
        changed();
}

void ComboItem::setIndentation(int levels)
{
    if (levels < 0)
        throw controlError(err::InvalidPropertyValue);
    if (assign(m_indentation, levels))
        changed();
}

bool ComboItem::selected() const
{
    return m_combo->m_selected == this;
}

void ComboItem::setSelected(bool selected)
{
    if (selected)
        m_combo->setSelectedItem(this);
    else if (m_combo->m_selected == this)
        m_combo->setSelectedItem(nullptr);
}

// ---- ComboItems ------------------------------------------------------------------------

ComboItem *ComboItems::add(int index, const QString &key, const QString &text, const QString &image,
                           const QString &selImage, int indentation)
{
    const int position = m_items.insertPosition(index);
    m_items.checkNewKey(key);
    m_combo.m_imageList.checkImage(image);
    m_combo.m_imageList.checkImage(selImage);
    auto item = std::make_unique<ComboItem>();
    item->m_combo = &m_combo;
    item->m_text = text;
    item->m_image = image;
    item->m_selImage = selImage;
    item->m_indentation = indentation < 0 ? m_combo.m_indentation : indentation;
    ComboItem *added = m_items.insert(position, key, std::move(item));
    m_combo.notify(Property::ComboItems);
    return added;
}

void ComboItems::remove(const ItemRef &ref)
{
    ComboItem *item = m_items.item(ref);
    const bool wasSelected = m_combo.m_selected == item;
    m_items.take(item);
    if (wasSelected) {
        m_combo.m_selected = nullptr;
        m_combo.notify(Property::SelectedItem);
    }
    m_combo.notify(Property::ComboItems);
}

void ComboItems::clear()
{
    m_items.clear();
    m_combo.m_selected = nullptr;
    m_combo.m_text.clear();
    m_combo.notify(Property::ComboItems);
    m_combo.notify(Property::SelectedItem);
    m_combo.notify(Property::Text);
}

// ---- ImageCombo ------------------------------------------------------------------------

ImageCombo::ImageCombo(const QString &name) : Control(name)
{
    move(0, 0, 2055, 330);
    setBackColor(vbWindowBackground);
    setForeColor(vbWindowText);
}

ImageCombo::~ImageCombo() = default;

void ImageCombo::setSelectedItem(ComboItem *item)
{
    if (item && (&item->imageCombo() != this || item->index() == 0))
        throw controlError(err::ElementNotFound);
    if (!assign(m_selected, item))
        return;
    notify(Property::SelectedItem);
    if (item && m_text != item->text()) {
        m_text = item->text();
        notify(Property::Text);
    }
}

void ImageCombo::setText(const QString &text)
{
    if (assign(m_text, text))
        notify(Property::Text);
}

void ImageCombo::setLocked(bool locked)
{
    if (assign(m_locked, locked))
        notify(Property::Locked);
}

void ImageCombo::setStyle(ImageComboStyle style)
{
    if (assign(m_style, style))
        notify(Property::Style);
}

void ImageCombo::setIndentation(int levels)
{
    if (levels < 0)
        throw controlError(err::InvalidPropertyValue);
    m_indentation = levels;
}

void ImageCombo::setImageList(ImageList *list)
{
    if (m_imageList.get() == list)
        return;
    m_imageList.set(list);
    notify(Property::ImageList);
}

void ImageCombo::chooseItem(ComboItem *item)
{
    if (!enabled() || m_locked || !item)
        return;
    setSelectedItem(item);
    if (m_text != item->text()) {
        m_text = item->text();
        notify(Property::Text);
    }
    click.raise();
}

void ImageCombo::typeText(const QString &text)
{
    if (!enabled() || m_locked || m_style == ImageComboStyle::DropdownList)
        return;
    if (!assign(m_text, text))
        return;
    notify(Property::Text);
    change.raise();
}

int ImageCombo::pressKey(int keyCode, int shift)
{
    if (!enabled())
        return keyCode;
    keyDown.raise(keyCode, shift);
    return keyCode;
}

} // namespace controls
