#include "controls/status_bar.h"

#include "controls/platform.h"

namespace controls {

namespace {
// Room around a panel's text when it sizes to its contents.
constexpr int kContentsPadding = 8 * kTwipsPerPixel;
} // namespace

// ---- Panel -----------------------------------------------------------------------------

void Panel::changed()
{
    m_bar->notify(Property::Panels);
}

void Panel::setKey(const QString &key)
{
    if (index() == 0)
        throw controlError(err::ElementNotFound);
    m_bar->m_panels.m_items.setKey(this, key);
    changed();
}

void Panel::setText(const QString &text)
{
    if (assign(m_text, text))
        changed();
}

void Panel::setToolTipText(const QString &text)
{
    m_toolTipText = text;
}

void Panel::setTag(const QString &tag)
{
    m_tag = tag;
}

void Panel::setVisible(bool visible)
{
    if (assign(m_visible, visible))
        changed();
}

void Panel::setEnabled(bool enabled)
{
    if (assign(m_enabled, enabled))
        changed();
}

void Panel::setStyle(PanelStyle style)
{
    const int value = static_cast<int>(style);
    if (value < 0 || value > 7)
        throw controlError(err::InvalidPropertyValue);
    if (assign(m_style, style))
        changed();
}

void Panel::setAutoSize(PanelAutoSize autoSize)
{
    if (assign(m_autoSize, autoSize))
        changed();
}

void Panel::setAlignment(PanelAlignment alignment)
{
    if (assign(m_alignment, alignment))
        changed();
}

void Panel::setBevel(PanelBevel bevel)
{
    if (assign(m_bevel, bevel))
        changed();
}

void Panel::setMinWidth(int twips)
{
    if (twips < 0)
        throw controlError(err::InvalidPropertyValue);
    m_minWidth = twips;
    if (m_width < twips)
        m_width = twips;
    changed();
}

int Panel::width() const
{
    if (!m_visible || m_autoSize == PanelAutoSize::None)
        return m_width;
    const QList<int> widths = m_bar->layoutWidths();
    return widths[index() - 1];
}

void Panel::setWidth(int twips)
{
    if (twips < 0)
        throw controlError(err::InvalidPropertyValue);
    twips = std::max(twips, m_minWidth);
    if (assign(m_width, twips))
        changed();
}

int Panel::left() const
{
    const QList<int> widths = m_bar->layoutWidths();
    int x = 0;
    for (int i = 0; i < index() - 1; ++i)
        x += widths[i];
    return x;
}

// ---- Panels ----------------------------------------------------------------------------

Panel *Panels::add(int index, const QString &key, const QString &text, PanelStyle style)
{
    const int position = m_items.insertPosition(index);
    m_items.checkNewKey(key);
    const int value = static_cast<int>(style);
    if (value < 0 || value > 7)
        throw controlError(err::InvalidPropertyValue);
    auto panel = std::make_unique<Panel>();
    panel->m_bar = &m_bar;
    panel->m_text = text;
    panel->m_style = style;
    Panel *added = m_items.insert(position, key, std::move(panel));
    m_bar.notify(Property::Panels);
    return added;
}

void Panels::remove(const ItemRef &ref)
{
    m_items.take(m_items.item(ref));
    m_bar.notify(Property::Panels);
}

void Panels::clear()
{
    m_items.clear();
    m_bar.notify(Property::Panels);
}

// ---- StatusBar -------------------------------------------------------------------------

StatusBar::StatusBar(const QString &name) : Control(name)
{
    setHeight(315);
}

StatusBar::~StatusBar() = default;

QList<int> StatusBar::layoutWidths() const
{
    QList<int> widths;
    int fixed = 0;
    int springs = 0;
    for (const Panel *p : m_panels) {
        int w = 0;
        if (p->m_visible) {
            switch (p->m_autoSize) {
            case PanelAutoSize::None:
                w = p->m_width;
                break;
            case PanelAutoSize::Contents:
                w = std::max(p->m_minWidth, platform().textWidth(p->m_text, font()) + kContentsPadding);
                break;
            case PanelAutoSize::Spring:
                w = p->m_minWidth;
                ++springs;
                break;
            }
            if (p->m_autoSize != PanelAutoSize::Spring)
                fixed += w;
        }
        widths.append(w);
    }
    if (springs == 0)
        return widths;
    // Springs share what the other panels leave, never going below their MinWidth.
    int free = width() - fixed;
    int remaining = springs;
    int i = 0;
    for (const Panel *p : m_panels) {
        if (p->m_visible && p->m_autoSize == PanelAutoSize::Spring) {
            const int share = remaining > 0 ? free / remaining : 0;
            widths[i] = std::max(p->m_minWidth, share);
            free -= share;
            --remaining;
        }
        ++i;
    }
    return widths;
}

void StatusBar::setStyle(StatusBarStyle style)
{
    if (assign(m_style, style))
        notify(Property::Style);
}

void StatusBar::setSimpleText(const QString &text)
{
    if (assign(m_simpleText, text))
        notify(Property::SimpleText);
}

void StatusBar::setShowTips(bool show)
{
    m_showTips = show;
}

void StatusBar::clickPanel(const ItemRef &ref)
{
    Panel *panel = m_panels.item(ref);
    if (!enabled())
        return;
    panelClick.raise(panel);
    click.raise();
}

} // namespace controls
