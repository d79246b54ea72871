#include "support/error_number.h"
#include "support/pictures.h"
#include "controls/toolbar.h"

#include <gtest/gtest.h>

using testing_support::errorNumber;
using testing_support::pngHeader;
using namespace controls;

namespace {
// The explorer toolbar's shape: REFRESH, separator, PROC/CTRL group, separator, DOWN/UP
// group, separator, SAVE check button.
void build(Toolbar &bar)
{
    bar.buttons().add(0, "REFRESH");
    bar.buttons().add(0, {}, {}, ButtonStyle::Separator);
    bar.buttons().add(0, "PROC", {}, ButtonStyle::ButtonGroup);
    bar.buttons().add(0, "CTRL", {}, ButtonStyle::ButtonGroup);
    bar.buttons().add(0, {}, {}, ButtonStyle::Separator);
    bar.buttons().add(0, "DOWN", {}, ButtonStyle::ButtonGroup);
    bar.buttons().add(0, "UP", {}, ButtonStyle::ButtonGroup);
    bar.buttons().add(0, {}, {}, ButtonStyle::Separator);
    bar.buttons().add(0, "SAVE", {}, ButtonStyle::Check);
}

QString pressed(const Toolbar &bar)
{
    QStringList keys;
    for (const Button *b : bar.buttons()) {
        if (b->value() == ButtonValue::Pressed)
            keys << b->key();
    }
    return keys.join(',');
}

} // namespace

TEST(Toolbar, ClicksToggleCheckButtonsAndMoveGroups)
{
    struct Step {
        QString clicked;
        QString pressedAfter;
        bool raised;
    };
    const Step steps[] = {
        {"PROC", "PROC", true},
        {"CTRL", "CTRL", true},
        {"CTRL", "CTRL", true}, // a pressed group button stays pressed
        {"DOWN", "CTRL,DOWN", true},
        {"UP", "CTRL,UP", true},
        {"SAVE", "CTRL,UP,SAVE", true},
        {"SAVE", "CTRL,UP", true},
        {"REFRESH", "CTRL,UP", true},
        {"2", "CTRL,UP", false}, // the separator (by index)
    };
    Toolbar bar;
    build(bar);
    QStringList log;
    auto s = bar.buttonClick.connect([&](Button *b) {
        log << QStringLiteral("%1=%2").arg(b->key()).arg(static_cast<int>(b->value()));
    });
    for (const Step &step : steps) {
        SCOPED_TRACE(step.clicked.toStdString());
        log.clear();
        bool isIndex = false;
        const int index = step.clicked.toInt(&isIndex);
        if (isIndex)
            bar.click(index);
        else
            bar.click(step.clicked);
        EXPECT_EQ(pressed(bar), step.pressedAfter);
        EXPECT_EQ(log.size(), step.raised ? 1 : 0);
    }
}

TEST(Toolbar, DisabledOrHiddenButtonsAndToolbarsIgnoreClicks)
{
    Toolbar bar;
    build(bar);
    QStringList log;
    auto s = bar.buttonClick.connect([&](Button *b) { log << b->key(); });
    bar.buttons().item("SAVE")->setEnabled(false);
    bar.buttons().item("UP")->setVisible(false);
    bar.click("SAVE");
    bar.click("UP");
    EXPECT_EQ(pressed(bar), "");
    bar.setEnabled(false);
    bar.click("REFRESH");
    bar.setEnabled(true);
    bar.setVisible(false);
    bar.click("REFRESH");
    bar.setVisible(true);
    bar.click("REFRESH");
    EXPECT_EQ(log, QStringList{"REFRESH"});
    EXPECT_EQ(errorNumber([&] { bar.click("NOPE"); }), 35601);
    EXPECT_EQ(errorNumber([&] { bar.click(42); }), 35600);
}

TEST(Toolbar, ValueInCodeReleasesTheGroupWithoutAnEvent)
{
    Toolbar bar;
    build(bar);
    QStringList log;
    auto s = bar.buttonClick.connect([&](Button *b) { log << b->key(); });
    bar.buttons().item("PROC")->setValue(ButtonValue::Pressed);
    bar.buttons().item("DOWN")->setValue(ButtonValue::Pressed);
    EXPECT_EQ(pressed(bar), "PROC,DOWN");
    bar.buttons().item("CTRL")->setValue(ButtonValue::Pressed);
    EXPECT_EQ(pressed(bar), "CTRL,DOWN");
    bar.buttons().item("CTRL")->setValue(ButtonValue::Unpressed); // a group may end up empty
    EXPECT_EQ(pressed(bar), "DOWN");
    EXPECT_EQ(log, QStringList{});
}

TEST(Toolbar, ButtonSizeNeverBelowTheImageAndButtonsLineUp)
{
    Toolbar bar;
    build(bar);
    bar.setButtonWidth(16);
    bar.setButtonHeight(16);
    EXPECT_EQ(bar.buttonWidth(), (16 + 8) * 15); // Windows' default 16 x 15 bitmaps
    EXPECT_EQ(bar.buttonHeight(), (15 + 7) * 15);
    ImageList images;
    images.listImages().add(0, "REFRESH", pngHeader(20, 18));
    bar.setImageList(&images);
    EXPECT_EQ(bar.buttonWidth(), (20 + 8) * 15);
    EXPECT_EQ(bar.buttonHeight(), (18 + 7) * 15);
    bar.setButtonWidth(1000);
    EXPECT_EQ(bar.buttonWidth(), 1000);

    bar.buttons().item("CTRL")->setVisible(false);
    QList<int> lefts;
    for (const Button *b : bar.buttons())
        lefts << b->left();
    EXPECT_EQ(lefts, (QList<int>{0, 1000, 1120, 2120, 2120, 2240, 3240, 4240, 4360}));

    EXPECT_EQ(errorNumber([&] { bar.buttons().item("SAVE")->setWidth(10); }), 380);
    Button *holder = bar.buttons().add(0, "HOLD", {}, ButtonStyle::Placeholder);
    holder->setWidth(3000);
    EXPECT_EQ(holder->width(), 3000);
}

TEST(Toolbar, ImagesAreCheckedAgainstTheImageList)
{
    Toolbar bar;
    ImageList images;
    images.listImages().add(0, "PROC", host::Picture(QByteArray("any bytes")));
    bar.setImageList(&images);
    Button *proc = bar.buttons().add(0, "PROC", {}, ButtonStyle::ButtonGroup, "PROC");
    EXPECT_EQ(proc->image(), "PROC");
    Button *ctrl = bar.buttons().add(0, "CTRL", {}, ButtonStyle::ButtonGroup);
    EXPECT_EQ(errorNumber([&] { ctrl->setImage("CTRL"); }), 35601);
    EXPECT_EQ(ctrl->image(), QString());
    EXPECT_EQ(errorNumber([&] { bar.buttons().add(0, "X", {}, ButtonStyle::Default, "X"); }), 35601);
    EXPECT_EQ(bar.buttons().count(), 2);
}

TEST(Toolbar, DropDownArrowRaisesButtonDropDown)
{
    Toolbar bar;
    bar.buttons().add(0, "MENU", {}, ButtonStyle::DropDown);
    bar.buttons().add(0, "PLAIN");
    QStringList log;
    auto s1 = bar.buttonDropDown.connect([&](Button *b) { log << "DropDown " + b->key(); });
    auto s2 = bar.buttonClick.connect([&](Button *b) { log << "Click " + b->key(); });
    bar.clickDropDown("MENU");
    bar.clickDropDown("PLAIN");
    bar.click("MENU");
    EXPECT_EQ(log, (QStringList{"DropDown MENU", "Click MENU"}));
}
