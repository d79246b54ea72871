// StatusBar, ProgressBar, TabStrip and CoolBar.
#include "controls/cool_bar.h"
#include "controls/progress_bar.h"
#include "controls/status_bar.h"
#include "controls/tab_strip.h"
#include "controls/toolbar.h"
#include "gui/bindings.h"
#include "gui/units.h"
#include "gui/user_operation.h"

#include <QDate>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QStyleOption>
#include <QTabBar>
#include <QTime>
#include <QToolTip>
#include <qdrawutil.h>

namespace gui {

using namespace controls;

// ---- StatusBar ------------------------------------------------------------------------------

namespace {

QString panelText(const Panel *panel)
{
    switch (panel->style()) {
    case PanelStyle::Caps: return QStringLiteral("CAPS");
    case PanelStyle::Num: return QStringLiteral("NUM");
    case PanelStyle::Ins: return QStringLiteral("INS");
    case PanelStyle::Scrl: return QStringLiteral("SCRL");
    case PanelStyle::Kana: return QStringLiteral("ｶﾅ");
    case PanelStyle::Time: return QLocale().toString(QTime::currentTime(), QLocale::ShortFormat);
    case PanelStyle::Date: return QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
    default: return panel->text();
    }
}

/// Paints the panels straight from the model; it keeps nothing itself.
class StatusBarWidget : public QWidget {
public:
    StatusBarWidget(StatusBar &bar, QWidget *parent) : QWidget(parent), m_bar(bar) {}

    /// Panel rectangles in pixels, hidden panels excluded.
    QList<std::pair<Panel *, QRect>> panelRects() const
    {
        QList<std::pair<Panel *, QRect>> result;
        for (Panel *panel : m_bar.panels()) {
            if (!panel->visible())
                continue;
            const int left = twipsToPixelsX(panel->left(), this);
            const int right = twipsToPixelsX(panel->left() + panel->width(), this);
            // Windows leaves two pixels between panels.
            result.append({panel, QRect(left, 2, std::max(0, right - left - 2), std::max(0, height() - 2))});
        }
        return result;
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        if (m_bar.style() == StatusBarStyle::Simple) {
            p.drawText(rect().adjusted(4, 2, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, m_bar.simpleText());
            return;
        }
        for (const auto &[panel, r] : panelRects()) {
            if (panel->bevel() != PanelBevel::None)
                qDrawShadePanel(&p, r, palette(), panel->bevel() == PanelBevel::Inset, 1);
            const Qt::Alignment align = panel->alignment() == PanelAlignment::Center  ? Qt::AlignHCenter
                                        : panel->alignment() == PanelAlignment::Right ? Qt::AlignRight
                                                                                       : Qt::AlignLeft;
            const QRect textRect = r.adjusted(3, 1, -3, -1);
            p.setPen(panel->enabled() ? palette().color(QPalette::WindowText) : toQColor(vbGrayText));
            const QString text = fontMetrics().elidedText(panelText(panel), Qt::ElideRight, textRect.width());
            p.drawText(textRect, align | Qt::AlignVCenter, text);
        }
    }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        for (const auto &[panel, r] : panelRects()) {
            if (r.contains(event->position().toPoint())) {
                const int index = panel->index();
                userOperation([&] { m_bar.clickPanel(index); });
                return;
            }
        }
    }

    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::ToolTip) {
            auto *help = static_cast<QHelpEvent *>(event);
            for (const auto &[panel, r] : panelRects()) {
                if (r.contains(help->pos()) && m_bar.showTips() && !panel->toolTipText().isEmpty()) {
                    QToolTip::showText(help->globalPos(), panel->toolTipText(), this, r);
                    return true;
                }
            }
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        return QWidget::event(event);
    }

private:
    StatusBar &m_bar;
};

} // namespace

StatusBarBinding::StatusBarBinding(StatusBar &bar, ChildHost *host)
    : ControlBinding(bar, new StatusBarWidget(bar, host->childParent()), host), m_bar(bar)
{
    widget()->setAttribute(Qt::WA_OpaquePaintEvent);
    forwardMouse();
    syncAll();
}

void StatusBarBinding::propertyChanged(Property property)
{
    ControlBinding::propertyChanged(property);
    const Property p = property;
    if (p == Property::Panels || p == Property::Style || p == Property::SimpleText || p == Property::Width)
        widget()->update();
}

// ---- ProgressBar ----------------------------------------------------------------------------

ProgressBinding::ProgressBinding(ProgressBar &bar, ChildHost *host)
    : ControlBinding(bar, new QProgressBar(host->childParent()), host), m_bar(bar)
{
    static_cast<QProgressBar *>(widget())->setTextVisible(false);
    syncAll();
}

void ProgressBinding::rebuild()
{
    auto *w = static_cast<QProgressBar *>(widget());
    w->setOrientation(m_bar.orientation() == ProgressOrientation::Vertical ? Qt::Vertical : Qt::Horizontal);
    w->setRange(m_bar.min(), m_bar.max());
    w->setValue(m_bar.value());
}

void ProgressBinding::propertyChanged(Property property)
{
    ControlBinding::propertyChanged(property);
    const Property p = property;
    if (p == Property::Min || p == Property::Max || p == Property::Value || p == Property::Orientation) {
        rebuild();
        // DoEvents shows progress while a handler runs; paint it now.
        widget()->repaint();
    }
}

// ---- TabStrip ---------------------------------------------------------------------------------

namespace {

/// The tab row over the frame of the client area.
class TabStripWidget : public QWidget {
public:
    TabStripWidget(TabStripBinding *binding, QWidget *parent) : QWidget(parent), m_binding(binding) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        QStyleOptionTabWidgetFrame option;
        option.initFrom(this);
        const int row = m_binding->rowHeight();
        option.rect = QRect(0, row, width(), std::max(0, height() - row));
        option.shape = QTabBar::RoundedNorth;
        option.lineWidth = 2;
        option.tabBarSize = m_binding->tabBar()->size();
        option.tabBarRect = m_binding->tabBar()->geometry();
        option.selectedTabRect = m_binding->tabBar()->tabRect(m_binding->tabBar()->currentIndex())
                                     .translated(m_binding->tabBar()->pos());
        style()->drawPrimitive(QStyle::PE_FrameTabWidget, &option, &p, this);
        // The selected tab opens into the client area, as on Windows.
        const QTabBar *bar = m_binding->tabBar();
        if (bar->currentIndex() >= 0) {
            const QRect tab = bar->tabRect(bar->currentIndex()).translated(bar->pos());
            const QRect gap(tab.left() + 2, row, std::max(0, tab.width() - 4), 2);
            p.fillRect(gap.intersected(bar->geometry().adjusted(0, 0, 0, 2)), palette().window());
        }
    }

    void resizeEvent(QResizeEvent *event) override
    {
        QWidget::resizeEvent(event);
        m_binding->tabBar()->setGeometry(0, 0, width(), m_binding->rowHeight());
    }

private:
    TabStripBinding *m_binding; // not owned
};

} // namespace

TabStripBinding::TabStripBinding(TabStrip &strip, ChildHost *host)
    : ControlBinding(strip, new TabStripWidget(this, host->childParent()), host), m_strip(strip),
      m_tabBar(new QTabBar(widget()))
{
    m_tabBar->setDrawBase(true);
    m_tabBar->setExpanding(false);
    m_tabBar->setUsesScrollButtons(true);
    m_tabBar->setFocusPolicy(Qt::TabFocus);
    connect(m_tabBar, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index < 0 || index >= m_strip.tabs().count())
            return;
        userOperation([&] { m_strip.clickTab(index + 1); });
        syncCurrent();
    });
    connect(m_tabBar, &QTabBar::currentChanged, this, [this](int index) {
        if (m_syncing || index < 0 || index >= m_strip.tabs().count())
            return;
        const Tab *selected = m_strip.selectedItem();
        if (selected && selected->index() == index + 1)
            return;
        userOperation([&] { m_strip.clickTab(index + 1); });
        syncCurrent();
    });
    forwardMouse();
    syncAll();
}

int TabStripBinding::rowHeight() const
{
    // The model's client area starts one frame below the row.
    const int rowTwips = m_strip.clientTop() - m_strip.top() - kTabFrame;
    return twipsToPixelsY(rowTwips, widget());
}

void TabStripBinding::placeTabBar() { m_tabBar->setGeometry(0, 0, widget()->width(), rowHeight()); }

void TabStripBinding::syncCurrent()
{
    SyncGuard guard(m_syncing);
    const Tab *selected = m_strip.selectedItem();
    const int index = selected ? selected->index() - 1 : -1;
    if (m_tabBar->currentIndex() != index)
        m_tabBar->setCurrentIndex(index);
    widget()->update();
}

void TabStripBinding::rebuild()
{
    SyncGuard guard(m_syncing);
    while (m_tabBar->count() > m_strip.tabs().count())
        m_tabBar->removeTab(m_tabBar->count() - 1);
    int i = 0;
    for (const Tab *tab : m_strip.tabs()) {
        if (i >= m_tabBar->count())
            m_tabBar->addTab(QString());
        m_tabBar->setTabText(i, tab->caption());
        m_tabBar->setTabIcon(i, imageIcon(m_strip.imageList(), tab->image()));
        m_tabBar->setTabToolTip(i, m_strip.showTips() ? tab->toolTipText() : QString());
        ++i;
    }
    placeTabBar();
    syncCurrent();
}

void TabStripBinding::propertyChanged(Property property)
{
    ControlBinding::propertyChanged(property);
    const Property p = property;
    if (p == Property::Tabs || p == Property::ImageList || p == Property::ShowTips) {
        // Removing tabs under a click in progress is left to the rebuild after it.
        if (m_tabBar->count() == m_strip.tabs().count())
            rebuild();
        else
            scheduleRebuild();
    } else if (p == Property::SelectedItem) {
        syncCurrent();
    } else if (p == Property::TabFixedHeight || p == Property::Height || p == Property::Width) {
        placeTabBar();
        widget()->update();
    }
}

// ---- CoolBar ------------------------------------------------------------------------------------

namespace {

constexpr int kGripperWidth = 11;

class CoolBarWidget : public QWidget {
public:
    CoolBarWidget(CoolBar &bar, QWidget *parent) : QWidget(parent), m_bar(bar) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        qDrawShadeLine(&p, 0, 0, width(), 0, palette(), true, 1, 0);
        int rowBottom = 0;
        for (const QList<Band *> &row : m_bar.rows()) {
            for (const Band *band : row) {
                const QRect r = twipsToPixels(band->rect(), this);
                rowBottom = std::max(rowBottom, r.bottom());
                // The gripper: one raised bar at the band's left.
                qDrawShadePanel(&p, QRect(r.left() + 3, r.top() + 3, 3, r.height() - 5), palette(), false, 1);
                if (!band->caption().isEmpty())
                    p.drawText(QRect(r.left() + kGripperWidth, r.top(), r.width(), r.height()),
                               Qt::AlignLeft | Qt::AlignVCenter, band->caption());
                if (r.left() > 0)
                    qDrawShadeLine(&p, r.left() - 1, r.top() + 1, r.left() - 1, r.bottom() - 1, palette(), true, 1, 0);
            }
            qDrawShadeLine(&p, 0, rowBottom, width(), rowBottom, palette(), true, 1, 0);
        }
    }

private:
    CoolBar &m_bar;
};

} // namespace

CoolBarBinding::CoolBarBinding(CoolBar &bar, ChildHost *host)
    : ControlBinding(bar, new CoolBarWidget(bar, host->childParent()), host), m_bar(bar)
{
    widget()->setAttribute(Qt::WA_OpaquePaintEvent);
    forwardMouse();
    syncAll();
}

QRect CoolBarBinding::childRect(const ControlBinding &child) const
{
    const Control &c = child.control();
    for (const Band *band : m_bar.bands()) {
        if (band->child() != &c)
            continue;
        const QRect r = twipsToPixels(band->rect(), widget());
        int left = r.left() + kGripperWidth;
        if (!band->caption().isEmpty())
            left += widget()->fontMetrics().horizontalAdvance(band->caption()) + 4;
        int height = twipsToPixelsY(band->minHeight(), widget());
        if (const auto *toolbar = dynamic_cast<const Toolbar *>(&c))
            height = twipsToPixelsY(toolbar->buttonHeight(), widget());
        height = std::min(height, std::max(0, r.height() - 4));
        const int top = r.top() + (r.height() - height) / 2;
        return QRect(left, top, std::max(0, r.right() - left - 1), height);
    }
    return ChildHost::childRect(child);
}

bool CoolBarBinding::childShown(const ControlBinding &child) const
{
    const Control &c = child.control();
    for (const Band *band : m_bar.bands()) {
        if (band->child() == &c)
            return band->visible() && c.visible();
    }
    return c.visible();
}

void CoolBarBinding::propertyChanged(Property property)
{
    ControlBinding::propertyChanged(property);
    const Property p = property;
    if (p == Property::Bands || p == Property::Width || p == Property::Height || p == Property::Font) {
        relayoutChildren();
        widget()->update();
    }
}

} // namespace gui
