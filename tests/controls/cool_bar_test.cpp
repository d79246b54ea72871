#include "controls/cool_bar.h"

#include "controls/standard_controls.h"
#include "controls/toolbar.h"

#include <gtest/gtest.h>

using namespace controls;

namespace {
// The tool window's cool bar: four bands on one row, the fourth hidden.
struct Strip {
    CoolBar bar;
    ComboBox project{"imgcboProject"};
    Toolbar explorer{"tbrMain"};
    Toolbar ide{"tbrMain"};
    ComboBox helpWord{"cboHelpWord"};
    Strip()
    {
        bar.setWidth(8130);
        const struct {
            Control *child;
            int minHeight;
            int width;
        } bands[] = {{&project, 315, 2745}, {&explorer, 390, 4050}, {&ide, 390, 4995}, {&helpWord, 300, 3000}};
        for (const auto &b : bands) {
            Band *band = bar.bands().add(0, {}, {}, false, b.child);
            band->setMinHeight(b.minHeight);
            band->setWidth(b.width);
        }
        bar.bands().item(4)->setVisible(false);
    }
};
} // namespace

TEST(CoolBar, HeightFollowsTheRowsOfVisibleBands)
{
    Strip s;
    EXPECT_EQ(s.bar.height(), 450);
    QList<int> heights;
    auto sub = s.bar.heightChanged.connect([&](int h) { heights << h; });
    s.bar.bands().item(4)->setVisible(true);  // same row, not taller
    s.bar.bands().item(4)->setNewRow(true);   // a second row
    s.bar.bands().item(4)->setMinHeight(500);
    s.bar.bands().item(4)->setVisible(false);
    s.bar.bands().item(2)->setNewRow(true); // rows [1], [2, 3]
    EXPECT_EQ(heights, (QList<int>{450 + 360, 450 + 560, 450, 375 + 450}));
    EXPECT_EQ(s.bar.height(), 375 + 450);
    s.bar.setHeight(10); // derived, not settable
    EXPECT_EQ(s.bar.height(), 375 + 450);
}

TEST(CoolBar, BandsSitSideBySideAndTheLastFillsTheRow)
{
    Strip s;
    EXPECT_EQ(s.bar.bands().item(1)->rect(), QRect(0, 0, 2745, 450));
    EXPECT_EQ(s.bar.bands().item(2)->rect(), QRect(2745, 0, 4050, 450));
    EXPECT_EQ(s.bar.bands().item(3)->rect(), QRect(6795, 0, 4995, 450)); // wider than the rest
    EXPECT_EQ(s.bar.bands().item(4)->rect(), QRect());
    s.bar.bands().item(3)->setWidth(100);
    EXPECT_EQ(s.bar.bands().item(3)->rect(), QRect(6795, 0, 8130 - 6795, 450));
    EXPECT_EQ(s.bar.bands().item(3)->height(), 450);
    EXPECT_EQ(s.bar.bands().item(4)->height(), 0);
}

TEST(CoolBar, ChildrenSitOnTheCoolBar)
{
    Strip s;
    EXPECT_EQ(s.project.container(), &s.bar);
    EXPECT_EQ(s.bar.controls().size(), 4);
    EXPECT_EQ(s.bar.bands().item(4)->child(), &s.helpWord);
}

TEST(CoolBar, EmptyBarHasNoHeight)
{
    CoolBar bar;
    EXPECT_EQ(bar.height(), 0);
    bar.bands().add();
    EXPECT_EQ(bar.height(), 360 + kBandRowPadding);
    bar.bands().clear();
    EXPECT_EQ(bar.height(), 0);
}
