// Toolbar rendered as tool buttons at the model's button positions.
#include "controls/toolbar.h"
#include "gui/bindings.h"
#include "gui/units.h"
#include "gui/user_operation.h"

#include <QPainter>
#include <QStyleOption>
#include <QToolButton>

namespace gui {

using namespace controls;

namespace {

/// The etched line of a separator.
class SeparatorWidget : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        QStyleOption option;
        option.initFrom(this);
        option.state |= QStyle::State_Horizontal;
        style()->drawPrimitive(QStyle::PE_IndicatorToolBarSeparator, &option, &p, this);
    }
};

} // namespace

ToolbarBinding::ToolbarBinding(Toolbar &toolbar, ChildHost *host)
    : ControlBinding(toolbar, new QWidget(host->childParent()), host), m_toolbar(toolbar)
{
    forwardMouse();
    syncAll();
}

QToolButton *ToolbarBinding::button(int index) const
{
    if (index < 1 || index > m_buttons.size())
        return nullptr;
    return qobject_cast<QToolButton *>(m_buttons[index - 1]);
}

QString ToolbarBinding::signature() const
{
    QString s;
    for (const Button *b : m_toolbar.buttons())
        s += QString::number(int(b->style())) + QLatin1Char(',');
    return s;
}

void ToolbarBinding::propertyChanged(Property property)
{
    ControlBinding::propertyChanged(property);
    const Property p = property;
    if (p == Property::Buttons || p == Property::Value || p == Property::ButtonWidth || p == Property::ButtonHeight || p == Property::Style
        || p == Property::ImageList || p == Property::ShowTips || p == Property::TextAlignment || p == Property::Enabled) {
        // Buttons come and go only when the layout of styles changes; the rest is updated in place.
        if (signature() != m_signature)
            scheduleRebuild();
        else if (!rebuildPending())
            updateButtons();
    }
}

void ToolbarBinding::rebuild()
{
    qDeleteAll(m_buttons);
    m_buttons.clear();
    m_signature = signature();
    int index = 0;
    for (const Button *b : m_toolbar.buttons()) {
        ++index;
        if (b->style() == ButtonStyle::Separator) {
            m_buttons.append(new SeparatorWidget(widget()));
        } else if (b->style() == ButtonStyle::Placeholder) {
            m_buttons.append(new QWidget(widget()));
        } else {
            auto *tool = new QToolButton(widget());
            tool->setFocusPolicy(Qt::NoFocus);
            connect(tool, &QToolButton::clicked, this, [this, index] {
                userOperation([&] { m_toolbar.click(index); });
                updateButtons();
            });
            m_buttons.append(tool);
        }
    }
    updateButtons();
}

void ToolbarBinding::updateButtons()
{
    if (signature() != m_signature)
        return;
    SyncGuard guard(m_syncing);
    const ImageList *images = m_toolbar.imageList();
    const int height = twipsToPixelsY(m_toolbar.buttonHeight(), widget());
    const bool flat = m_toolbar.style() == ToolbarStyle::Flat;
    QSize iconSize(16, 16);
    if (images && images->imageWidth() > 0 && images->imageHeight() > 0)
        iconSize = QSize(images->imageWidth(), images->imageHeight());
    int i = 0;
    for (const Button *b : m_toolbar.buttons()) {
        QWidget *w = m_buttons.value(i++);
        if (!w)
            break;
        const int left = twipsToPixelsX(b->left(), widget());
        const int width = twipsToPixelsX(b->width(), widget());
        w->setGeometry(left, twipsToPixelsY(b->top(), widget()), width, height);
        w->setVisible(b->visible());
        auto *tool = qobject_cast<QToolButton *>(w);
        if (!tool)
            continue;
        const bool checkable = b->style() == ButtonStyle::Check || b->style() == ButtonStyle::ButtonGroup;
        tool->setCheckable(checkable);
        tool->setChecked(checkable && b->value() == ButtonValue::Pressed);
        tool->setEnabled(b->enabled() && m_toolbar.enabled());
        tool->setAutoRaise(flat);
        tool->setToolTip(m_toolbar.showTips() ? b->toolTipText() : QString());
        tool->setIconSize(iconSize);
        tool->setIcon(imageIcon(images, b->image()));
        tool->setText(b->caption());
        if (b->caption().isEmpty())
            tool->setToolButtonStyle(Qt::ToolButtonIconOnly);
        else if (m_toolbar.textAlignment() == ToolbarTextAlign::Right)
            tool->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        else
            tool->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    }
}

} // namespace gui
