#include "controls/progress_bar.h"

namespace controls {

ProgressBar::ProgressBar(const QString &name) : Control(name)
{
    move(0, 0, 1935, 255);
}

void ProgressBar::setMin(int min)
{
    if (min >= m_max)
        throw controlError(err::InvalidPropertyValue);
    if (!assign(m_min, min))
        return;
    notify(Property::Min);
    if (m_value < m_min) {
        m_value = m_min;
        notify(Property::Value);
    }
}

void ProgressBar::setMax(int max)
{
    if (max <= m_min)
        throw controlError(err::InvalidPropertyValue);
    if (!assign(m_max, max))
        return;
    notify(Property::Max);
    if (m_value > m_max) {
        m_value = m_max;
        notify(Property::Value);
    }
}

void ProgressBar::setValue(int value)
{
    if (value < m_min || value > m_max)
        throw controlError(err::InvalidPropertyValue);
    if (assign(m_value, value))
        notify(Property::Value);
}

void ProgressBar::setScrolling(ProgressScrolling scrolling)
{
    if (assign(m_scrolling, scrolling))
        notify(Property::Scrolling);
}

void ProgressBar::setOrientation(ProgressOrientation orientation)
{
    if (assign(m_orientation, orientation))
        notify(Property::Orientation);
}

void ProgressBar::setBorderStyle(BorderStyle style)
{
    if (assign(m_borderStyle, style))
        notify(Property::BorderStyle);
}

void ProgressBar::setAppearance(Appearance appearance)
{
    if (assign(m_appearance, appearance))
        notify(Property::Appearance);
}

} // namespace controls
