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
    if (m_min == min)
        return;
    m_min = min;
    notify("Min");
    if (m_value < m_min) {
        m_value = m_min;
        notify("Value");
    }
}

void ProgressBar::setMax(int max)
{
    if (max <= m_min)
        throw controlError(err::InvalidPropertyValue);
    if (m_max == max)
        return;
    m_max = max;
    notify("Max");
    if (m_value > m_max) {
        m_value = m_max;
        notify("Value");
    }
}

void ProgressBar::setValue(int value)
{
    if (value < m_min || value > m_max)
        throw controlError(err::InvalidPropertyValue);
    if (m_value == value)
        return;
    m_value = value;
    notify("Value");
}

void ProgressBar::setScrolling(ProgressScrolling scrolling)
{
    if (m_scrolling == scrolling)
        return;
    m_scrolling = scrolling;
    notify("Scrolling");
}

void ProgressBar::setOrientation(ProgressOrientation orientation)
{
    if (m_orientation == orientation)
        return;
    m_orientation = orientation;
    notify("Orientation");
}

void ProgressBar::setBorderStyle(BorderStyle style)
{
    if (m_borderStyle == style)
        return;
    m_borderStyle = style;
    notify("BorderStyle");
}

void ProgressBar::setAppearance(Appearance appearance)
{
    if (m_appearance == appearance)
        return;
    m_appearance = appearance;
    notify("Appearance");
}

} // namespace controls
