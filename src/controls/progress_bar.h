#pragma once
// ProgressBar (MSComctlLib 6).
#include "controls/control.h"

namespace controls {

/// ScrollingConstants.
enum class ProgressScrolling { Standard = 0, Smooth = 1 };
/// OrientationConstants.
enum class ProgressOrientation { Horizontal = 0, Vertical = 1 };

class ProgressBar : public Control {
public:
    explicit ProgressBar(const QString &name = {});
    QString className() const override { return QStringLiteral("ProgressBar"); }

    int min() const { return m_min; }
    /// 380 unless below Max; a Value outside the new range is moved into it.
    void setMin(int min);
    int max() const { return m_max; }
    /// 380 unless above Min; a Value outside the new range is moved into it.
    void setMax(int max);
    int value() const { return m_value; }
    /// 380 "Invalid property value" outside Min..Max.
    void setValue(int value);

    ProgressScrolling scrolling() const { return m_scrolling; }
    void setScrolling(ProgressScrolling scrolling);
    ProgressOrientation orientation() const { return m_orientation; }
    void setOrientation(ProgressOrientation orientation);
    BorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(BorderStyle style);
    Appearance appearance() const { return m_appearance; }
    void setAppearance(Appearance appearance);

private:
    int m_min = 0;
    int m_max = 100;
    int m_value = 0;
    ProgressScrolling m_scrolling = ProgressScrolling::Standard;
    ProgressOrientation m_orientation = ProgressOrientation::Horizontal;
    BorderStyle m_borderStyle = BorderStyle::None;
    Appearance m_appearance = Appearance::ThreeD;
};

} // namespace controls
