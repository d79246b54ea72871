#include "controls/cool_bar.h"

namespace controls {

// ---- Band ------------------------------------------------------------------------------

void Band::changed()
{
    m_bar->notify(Property::Bands);
}

void Band::setKey(const QString &key)
{
    if (index() == 0)
        throw controlError(err::ElementNotFound);
    m_bar->m_bands.m_items.setKey(this, key);
    changed();
}

void Band::setCaption(const QString &caption)
{
    if (assign(m_caption, caption))
        changed();
}

void Band::setTag(const QString &tag)
{
    m_tag = tag;
}

void Band::setChild(Control *child)
{
    if (!assign(m_child, child))
        return;
    if (child)
        child->setContainer(m_bar);
    changed();
}

void Band::setMinHeight(int twips)
{
    if (twips < 0)
        throw controlError(err::InvalidPropertyValue);
    if (!assign(m_minHeight, twips))
        return;
    changed();
    m_bar->updateHeight();
}

void Band::setMinWidth(int twips)
{
    if (twips < 0)
        throw controlError(err::InvalidPropertyValue);
    m_minWidth = twips;
    changed();
}

void Band::setWidth(int twips)
{
    if (twips < 0)
        throw controlError(err::InvalidPropertyValue);
    if (assign(m_width, twips))
        changed();
}

void Band::setVisible(bool visible)
{
    if (!assign(m_visible, visible))
        return;
    changed();
    m_bar->updateHeight();
}

void Band::setNewRow(bool newRow)
{
    if (!assign(m_newRow, newRow))
        return;
    changed();
    m_bar->updateHeight();
}

void Band::setStyle(BandStyle style)
{
    if (assign(m_style, style))
        changed();
}

int Band::height() const
{
    for (const QList<Band *> &row : m_bar->rows()) {
        if (!row.contains(const_cast<Band *>(this)))
            continue;
        int tallest = 0;
        for (const Band *b : row)
            tallest = std::max(tallest, b->m_minHeight);
        return tallest + kBandRowPadding;
    }
    return 0;
}

QRect Band::rect() const
{
    int y = 0;
    for (const QList<Band *> &row : m_bar->rows()) {
        int tallest = 0;
        for (const Band *b : row)
            tallest = std::max(tallest, b->m_minHeight);
        const int rowHeight = tallest + kBandRowPadding;
        int x = 0;
        for (qsizetype i = 0; i < row.size(); ++i) {
            const Band *b = row[i];
            const int w = i + 1 == row.size() ? std::max(b->m_width, m_bar->width() - x) : b->m_width;
            if (b == this)
                return QRect(x, y, w, rowHeight);
            x += w;
        }
        y += rowHeight;
    }
    return {};
}

// ---- Bands -----------------------------------------------------------------------------

Band *Bands::add(int index, const QString &key, const QString &caption, bool newRow, Control *child, bool visible)
{
    const int position = m_items.insertPosition(index);
    m_items.checkNewKey(key);
    auto band = std::make_unique<Band>();
    band->m_bar = &m_bar;
    band->m_caption = caption;
    band->m_newRow = newRow;
    band->m_visible = visible;
    Band *added = m_items.insert(position, key, std::move(band));
    if (child)
        added->setChild(child);
    m_bar.notify(Property::Bands);
    m_bar.updateHeight();
    return added;
}

void Bands::remove(const ItemRef &ref)
{
    m_items.take(m_items.item(ref));
    m_bar.notify(Property::Bands);
    m_bar.updateHeight();
}

void Bands::clear()
{
    m_items.clear();
    m_bar.notify(Property::Bands);
    m_bar.updateHeight();
}

// ---- CoolBar ---------------------------------------------------------------------------

CoolBar::CoolBar(const QString &name) : Container(name)
{
    move(0, 0, 4000, 0);
}

CoolBar::~CoolBar() = default;

QList<QList<Band *>> CoolBar::rows() const
{
    QList<QList<Band *>> result;
    for (Band *b : m_bands) {
        if (!b->m_visible)
            continue;
        if (result.isEmpty() || b->m_newRow)
            result.append(QList<Band *>());
        result.back().append(b);
    }
    return result;
}

int CoolBar::derivedHeight() const
{
    int total = 0;
    for (const QList<Band *> &row : rows()) {
        int tallest = 0;
        for (const Band *b : row)
            tallest = std::max(tallest, b->m_minHeight);
        total += tallest + kBandRowPadding;
    }
    return total;
}

void CoolBar::constrainSize(int &width, int &height)
{
    height = derivedHeight();
}

void CoolBar::updateHeight()
{
    const int h = derivedHeight();
    if (h == height())
        return;
    storeHeight(h);
    heightChanged.raise(h);
}

} // namespace controls
