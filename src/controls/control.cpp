#include "controls/control.h"

#include <QSize>

namespace controls {

Control *Control::s_focused = nullptr;
long long Control::s_frontCounter = 0;
long long Control::s_backCounter = 0;

namespace {
// Classic Windows scheme, indexed by COLOR_* number.
constexpr Rgb kSystemColors[] = {
    rgb(212, 208, 200), // 0 scroll bars
    rgb(58, 110, 165),  // 1 desktop
    rgb(10, 36, 106),   // 2 active caption
    rgb(128, 128, 128), // 3 inactive caption
    rgb(212, 208, 200), // 4 menu
    rgb(255, 255, 255), // 5 window background
    rgb(0, 0, 0),       // 6 window frame
    rgb(0, 0, 0),       // 7 menu text
    rgb(0, 0, 0),       // 8 window text
    rgb(255, 255, 255), // 9 caption text
    rgb(212, 208, 200), // 10 active border
    rgb(212, 208, 200), // 11 inactive border
    rgb(128, 128, 128), // 12 application workspace
    rgb(10, 36, 106),   // 13 highlight
    rgb(255, 255, 255), // 14 highlight text
    rgb(212, 208, 200), // 15 button face
    rgb(128, 128, 128), // 16 button shadow
    rgb(128, 128, 128), // 17 gray text
    rgb(0, 0, 0),       // 18 button text
    rgb(212, 208, 200), // 19 inactive caption text
    rgb(255, 255, 255), // 20 3D highlight
    rgb(64, 64, 64),    // 21 3D dark shadow
    rgb(212, 208, 200), // 22 3D light
    rgb(0, 0, 0),       // 23 info text
    rgb(255, 255, 225), // 24 info background
};
} // namespace

bool isSystemColor(OleColor color)
{
    return (color & 0xFF000000u) == 0x80000000u;
}

Rgb toRgb(OleColor color)
{
    if (isSystemColor(color)) {
        const quint32 index = color & 0xFFu;
        if (index < std::size(kSystemColors))
            return kSystemColors[index];
        return rgb(0, 0, 0);
    }
    return rgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

OleColor fromRgb(Rgb color)
{
    // OLE keeps red in the low byte: 0x00BBGGRR.
    return static_cast<OleColor>((color >> 16) & 0xFF) | (static_cast<OleColor>((color >> 8) & 0xFF) << 8)
           | (static_cast<OleColor>(color & 0xFF) << 16);
}

Control::Control(const QString &name) : m_name(name) {}

Control::~Control()
{
    if (s_focused == this)
        s_focused = nullptr;
    if (m_container)
        m_container->m_children.removeOne(this);
}

void Control::setName(const QString &name)
{
    if (assign(m_name, name))
        notify(Property::Name);
}

void Control::move(int left, int top, std::optional<int> width, std::optional<int> height)
{
    int w = width.value_or(m_width);
    int h = height.value_or(m_height);
    if (w < 0 || h < 0)
        throw controlError(err::InvalidPropertyValue);
    constrainSize(w, h);
    const bool movedX = left != m_left;
    const bool movedY = top != m_top;
    const bool widthChanged = w != m_width;
    const bool heightChanged = h != m_height;
    const bool resized = widthChanged || heightChanged;
    if (!movedX && !movedY && !resized)
        return;
    m_left = left;
    m_top = top;
    m_width = w;
    m_height = h;
    if (movedX)
        notify(Property::Left);
    if (movedY)
        notify(Property::Top);
    if (widthChanged)
        notify(Property::Width);
    if (heightChanged)
        notify(Property::Height);
    if (resized) {
        sizeChanged();
        if (m_align != Align::None && m_container)
            m_container->arrangeAligned();
    }
}

void Control::storeHeight(int height)
{
    if (!assign(m_height, height))
        return;
    notify(Property::Height);
    if (m_align != Align::None && m_container)
        m_container->arrangeAligned();
}

void Control::setVisible(bool visible)
{
    if (!assign(m_visible, visible))
        return;
    if (!visible && s_focused == this)
        s_focused = nullptr;
    notify(Property::Visible);
    if (m_align != Align::None && m_container)
        m_container->arrangeAligned();
}

void Control::setEnabled(bool enabled)
{
    if (!assign(m_enabled, enabled))
        return;
    if (!enabled && s_focused == this)
        s_focused = nullptr;
    notify(Property::Enabled);
}

void Control::zOrder(ZOrderPosition position)
{
    m_zOrder = position == ZOrderPosition::BringToFront ? ++s_frontCounter : --s_backCounter;
    notify(Property::ZOrder);
}

void Control::setTag(const QString &tag)
{
    if (assign(m_tag, tag))
        notify(Property::Tag);
}

void Control::setToolTipText(const QString &text)
{
    if (assign(m_toolTipText, text))
        notify(Property::ToolTipText);
}

void Control::setMousePointer(MousePointer pointer)
{
    if (assign(m_mousePointer, pointer))
        notify(Property::MousePointer);
}

void Control::setBackColor(OleColor color)
{
    if (assign(m_backColor, color))
        notify(Property::BackColor);
}

void Control::setForeColor(OleColor color)
{
    if (assign(m_foreColor, color))
        notify(Property::ForeColor);
}

void Control::setFont(const Font &font)
{
    if (assign(m_font, font))
        notify(Property::Font);
}

void Control::setAlign(Align align)
{
    if (!assign(m_align, align))
        return;
    notify(Property::Align);
    if (m_container)
        m_container->arrangeAligned();
}

void Control::setContainer(Container *container)
{
    if (m_container == container)
        return;
    if (container == this)
        throw controlError(err::InvalidPropertyValue);
    if (m_container)
        m_container->m_children.removeOne(this);
    m_container = container;
    if (m_container) {
        m_container->m_children.append(this);
        if (m_align != Align::None)
            m_container->arrangeAligned();
    }
    notify(Property::Container);
}

void Control::setFocus()
{
    if (!m_visible || !m_enabled)
        throw controlError(err::InvalidCall);
    if (s_focused == this)
        return;
    Control *previous = s_focused;
    s_focused = this;
    if (previous)
        previous->notify(Property::Focus);
    notify(Property::Focus);
}

void Control::refresh()
{
    notify(Property::Refresh);
}

void Control::copyPropertiesFrom(const Control &other)
{
    m_name = other.m_name;
    m_left = other.m_left;
    m_top = other.m_top;
    m_width = other.m_width;
    m_height = other.m_height;
    m_enabled = other.m_enabled;
    m_tag = other.m_tag;
    m_toolTipText = other.m_toolTipText;
    m_mousePointer = other.m_mousePointer;
    m_backColor = other.m_backColor;
    m_foreColor = other.m_foreColor;
    m_font = other.m_font;
    m_align = other.m_align;
    m_visible = false;
    setContainer(other.m_container);
    notify(Property::Properties);
}

Container::~Container()
{
    for (Control *child : m_children)
        child->m_container = nullptr;
}

int Container::scaleWidth() const
{
    return std::max(0, width() - frameSize().width());
}

int Container::scaleHeight() const
{
    return std::max(0, height() - frameSize().height());
}

void Container::sizeChanged()
{
    arrangeAligned();
}

void Container::arrangeAligned()
{
    if (m_arranging)
        return;
    m_arranging = true;
    int freeLeft = 0;
    int freeTop = 0;
    int freeRight = scaleWidth();
    int freeBottom = scaleHeight();
    try {
        for (Control *child : m_children) {
            if (child->align() == Align::None || !child->visible())
                continue;
            const int w = std::max(0, freeRight - freeLeft);
            const int h = std::max(0, freeBottom - freeTop);
            switch (child->align()) {
            case Align::Top:
                child->move(freeLeft, freeTop, w, child->height());
                freeTop += child->height();
                break;
            case Align::Bottom:
                child->move(freeLeft, std::max(freeTop, freeBottom - child->height()), w, child->height());
                freeBottom = std::max(freeTop, freeBottom - child->height());
                break;
            case Align::Left:
                child->move(freeLeft, freeTop, child->width(), h);
                freeLeft += child->width();
                break;
            case Align::Right:
                child->move(std::max(freeLeft, freeRight - child->width()), freeTop, child->width(), h);
                freeRight = std::max(freeLeft, freeRight - child->width());
                break;
            case Align::None:
                break;
            }
        }
    } catch (...) {
        m_arranging = false;
        throw;
    }
    m_arranging = false;
}

void Container::drawEdge(const QRect &pixels, int edge, int flags)
{
    m_edges.append({pixels, edge, flags});
    notify(Property::Picture);
}

void Container::cls()
{
    if (m_edges.isEmpty())
        return;
    m_edges.clear();
    notify(Property::Picture);
}

} // namespace controls
