#include "controls/tab_strip.h"

#include <gtest/gtest.h>

using namespace controls;

namespace {
void build(TabStrip &strip)
{
    for (const char *caption : {"General", "Relative", "Optimize", "Search"})
        strip.tabs().add(0, caption, caption);
}
} // namespace

TEST(TabStrip, ClientAreaLiesInsideTheFrameBelowTheTabRow)
{
    TabStrip strip;
    strip.move(0, 450, 2500, 4000);
    EXPECT_EQ(strip.clientLeft(), 30);
    EXPECT_EQ(strip.clientTop(), 450 + 330 + 30);
    EXPECT_EQ(strip.clientWidth(), 2500 - 60);
    EXPECT_EQ(strip.clientHeight(), 4000 - 330 - 60);
    strip.setTabFixedHeight(400);
    EXPECT_EQ(strip.clientTop(), 450 + 400 + 30);
    strip.setHeight(100); // never negative
    EXPECT_EQ(strip.clientHeight(), 0);
}

TEST(TabStrip, FirstTabIsSelectedAndCodeSelectionRaisesClickOnChange)
{
    TabStrip strip;
    QStringList log;
    auto s = strip.click.connect([&] { log << strip.selectedItem()->caption(); });
    build(strip);
    EXPECT_EQ(strip.selectedItem()->index(), 1);
    EXPECT_EQ(log, QStringList{});
    strip.tabs().item(4)->setSelected(true);
    strip.tabs().item(4)->setSelected(true); // already selected
    strip.setSelectedItem(strip.tabs().item("General"));
    EXPECT_EQ(log, (QStringList{"Search", "General"}));
    EXPECT_TRUE(strip.tabs().item(1)->selected());
}

TEST(TabStrip, UserClickRaisesClickEvenOnTheShownTab)
{
    TabStrip strip;
    build(strip);
    QStringList log;
    auto s = strip.click.connect([&] { log << QString::number(strip.selectedItem()->index()); });
    strip.clickTab(2);
    strip.clickTab(2);
    strip.clickTab("Search");
    strip.setEnabled(false);
    strip.clickTab(1);
    EXPECT_EQ(log, (QStringList{"2", "2", "4"}));
}

TEST(TabStrip, RemovingTheSelectedTabSelectsItsSuccessor)
{
    TabStrip strip;
    build(strip);
    strip.tabs().item(2)->setSelected(true);
    strip.tabs().remove(2);
    EXPECT_EQ(strip.selectedItem()->caption(), "Optimize");
    strip.tabs().remove("Search");
    strip.tabs().item("Optimize")->setSelected(true);
    strip.tabs().remove("Optimize");
    EXPECT_EQ(strip.selectedItem()->caption(), "General");
    strip.tabs().clear();
    EXPECT_EQ(strip.selectedItem(), nullptr);
}
