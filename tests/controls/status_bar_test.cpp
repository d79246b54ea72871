#include "controls/status_bar.h"

#include "controls/platform.h"

#include <gtest/gtest.h>

using namespace controls;

namespace {

QList<int> lefts(const StatusBar &bar)
{
    QList<int> result;
    for (const Panel *p : bar.panels())
        result << p->left();
    return result;
}

QList<int> widths(const StatusBar &bar)
{
    QList<int> result;
    for (const Panel *p : bar.panels())
        result << p->width();
    return result;
}

// The tool window's five panels.
void build(StatusBar &bar)
{
    for (const char *key : {"Guide", "Progress", "Project", "Component", "ItemCount"})
        bar.panels().add(0, key);
}

} // namespace

TEST(StatusBar, PanelsStartAtTheRightOfTheVisibleOnesBefore)
{
    StatusBar bar;
    EXPECT_EQ(bar.panels().count(), 0);
    build(bar);
    bar.panels().item(1)->setWidth(3000);
    bar.panels().item("Project")->setWidth(2000);
    EXPECT_EQ(lefts(bar), (QList<int>{0, 3000, 4440, 6440, 7880}));
    bar.panels().item("Progress")->setVisible(false);
    EXPECT_EQ(lefts(bar), (QList<int>{0, 3000, 3000, 5000, 6440}));
    bar.panels().item(2)->setVisible(true);
    EXPECT_EQ(bar.panels().item(3)->left(), 4440);
}

TEST(StatusBar, WidthNeverBelowMinWidth)
{
    StatusBar bar;
    Panel *p = bar.panels().add();
    p->setWidth(100);
    EXPECT_EQ(p->width(), kDefaultPanelWidth);
    p->setMinWidth(50);
    p->setWidth(100);
    EXPECT_EQ(p->width(), 100);
    p->setMinWidth(500);
    EXPECT_EQ(p->width(), 500);
}

TEST(StatusBar, SpringPanelsShareTheRest)
{
    StatusBar bar;
    bar.setWidth(10000);
    build(bar);
    for (const Panel *p : bar.panels())
        const_cast<Panel *>(p)->setMinWidth(500);
    bar.panels().item("Guide")->setAutoSize(PanelAutoSize::Spring);
    bar.panels().item("Project")->setAutoSize(PanelAutoSize::Spring);
    // Fixed: 3 x 1440 = 4320; the springs share 5680.
    EXPECT_EQ(widths(bar), (QList<int>{2840, 1440, 2840, 1440, 1440}));
    EXPECT_EQ(lefts(bar), (QList<int>{0, 2840, 4280, 7120, 8560}));
    bar.setWidth(4000); // nothing left: springs keep their MinWidth
    EXPECT_EQ(widths(bar), (QList<int>{500, 1440, 500, 1440, 1440}));
}

TEST(StatusBar, ContentsPanelsFitTheirText)
{
    StatusBar bar;
    Panel *p = bar.panels().add(0, "c", "abcd");
    p->setMinWidth(0);
    p->setAutoSize(PanelAutoSize::Contents);
    const Font font = bar.font();
    EXPECT_EQ(p->width(), platform().textWidth("abcd", font) + 8 * 15);
    p->setText("abcdefgh");
    EXPECT_EQ(p->width(), platform().textWidth("abcdefgh", font) + 8 * 15);
    EXPECT_GT(platform().textWidth("abcdefgh", font), platform().textWidth("abcd", font));
}

TEST(StatusBar, SimpleTextAndPanelClick)
{
    StatusBar bar;
    build(bar);
    bar.setStyle(StatusBarStyle::Simple);
    bar.setSimpleText("busy");
    EXPECT_EQ(bar.simpleText(), "busy");
    QStringList log;
    auto s1 = bar.panelClick.connect([&](Panel *p) { log << p->key(); });
    auto s2 = bar.click.connect([&] { log << "Click"; });
    bar.clickPanel("Project");
    EXPECT_EQ(log, (QStringList{"Project", "Click"}));
    try {
        bar.panels().add(0, "Guide");
        FAIL();
    } catch (const host::Error &e) {
        EXPECT_EQ(e.number(), 35602);
    }
}
