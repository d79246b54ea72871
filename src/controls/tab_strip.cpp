#include "controls/tab_strip.h"

namespace controls {

// ---- Tab -------------------------------------------------------------------------------

void Tab::setKey(const QString &key)
{
    if (index() == 0)
        throw controlError(err::ElementNotFound);
    m_strip->m_tabs.m_items.setKey(this, key);
    m_strip->notify(Property::Tabs);
}

void Tab::setCaption(const QString &caption)
{
    if (assign(m_caption, caption))
        m_strip->notify(Property::Tabs);
}

void Tab::setToolTipText(const QString &text)
{
    m_toolTipText = text;
}

void Tab::setTag(const QString &tag)
{
    m_tag = tag;
}

void Tab::setImage(const QString &image)
{
    m_strip->m_imageList.checkImage(image);
    if (assign(m_image, image))
        m_strip->notify(Property::Tabs);
}

bool Tab::selected() const
{
    return m_strip->m_selected == this;
}

void Tab::setSelected(bool selected)
{
    if (selected)
        m_strip->setSelectedItem(this);
}

// ---- Tabs ------------------------------------------------------------------------------

Tab *Tabs::add(int index, const QString &key, const QString &caption, const QString &image)
{
    const int position = m_items.insertPosition(index);
    m_items.checkNewKey(key);
    m_strip.m_imageList.checkImage(image);
    auto tab = std::make_unique<Tab>();
    tab->m_strip = &m_strip;
    tab->m_caption = caption;
    tab->m_image = image;
    Tab *added = m_items.insert(position, key, std::move(tab));
    m_strip.notify(Property::Tabs);
    if (!m_strip.m_selected) {
        m_strip.m_selected = added;
        m_strip.notify(Property::SelectedItem);
    }
    return added;
}

void Tabs::remove(const ItemRef &ref)
{
    Tab *tab = m_items.item(ref);
    const int position = tab->index();
    const bool wasSelected = m_strip.m_selected == tab;
    m_items.take(tab);
    if (wasSelected) {
        m_strip.m_selected = m_items.isEmpty() ? nullptr : m_items.at(std::min(position, m_items.count()));
        m_strip.notify(Property::SelectedItem);
    }
    m_strip.notify(Property::Tabs);
}

void Tabs::clear()
{
    m_items.clear();
    m_strip.m_selected = nullptr;
    m_strip.notify(Property::Tabs);
    m_strip.notify(Property::SelectedItem);
}

// ---- TabStrip --------------------------------------------------------------------------

TabStrip::TabStrip(const QString &name) : Control(name)
{
    move(0, 0, 3000, 2000);
}

TabStrip::~TabStrip() = default;

void TabStrip::setSelectedItem(Tab *tab)
{
    if (!tab || &tab->tabStrip() != this || tab->index() == 0)
        throw controlError(err::InvalidPropertyValue);
    if (!assign(m_selected, tab))
        return;
    notify(Property::SelectedItem);
    click.raise();
}

int TabStrip::clientLeft() const
{
    return left() + kTabFrame;
}

int TabStrip::clientTop() const
{
    return top() + rowHeight() + kTabFrame;
}

int TabStrip::clientWidth() const
{
    return std::max(0, width() - 2 * kTabFrame);
}

int TabStrip::clientHeight() const
{
    return std::max(0, height() - rowHeight() - 2 * kTabFrame);
}

void TabStrip::setStyle(TabStyle style)
{
    if (assign(m_style, style))
        notify(Property::Style);
}

void TabStrip::setTabFixedHeight(int twips)
{
    if (twips < 0)
        throw controlError(err::InvalidPropertyValue);
    if (assign(m_tabFixedHeight, twips))
        notify(Property::TabFixedHeight);
}

void TabStrip::setShowTips(bool show)
{
    m_showTips = show;
}

void TabStrip::setImageList(ImageList *list)
{
    if (m_imageList.get() == list)
        return;
    m_imageList.set(list);
    notify(Property::ImageList);
}

void TabStrip::clickTab(const ItemRef &ref)
{
    Tab *tab = m_tabs.item(ref);
    if (!enabled())
        return;
    if (m_selected != tab) {
        m_selected = tab;
        notify(Property::SelectedItem);
    }
    click.raise();
}

} // namespace controls
