#include "support/error_number.h"
#include "controls/standard_controls.h"

#include <gtest/gtest.h>

using testing_support::errorNumber;
using namespace controls;

namespace {
} // namespace

TEST(CheckBox, ValueIsZeroOneOrTwoAndAChangeRaisesClick)
{
    CheckBox box;
    QList<int> clicks;
    auto s = box.click.connect([&] { clicks << box.value(); });
    for (int value = -1; value <= 3; ++value) {
        SCOPED_TRACE(value);
        EXPECT_EQ(errorNumber([&] { box.setValue(value); }), value < 0 || value > 2 ? 380 : 0);
    }
    box.setValue(vbGrayed); // unchanged: no Click
    box.press();             // grayed -> checked
    box.press();             // checked -> unchecked
    box.setEnabled(false);
    box.press();
    EXPECT_EQ(clicks, (QList<int>{1, 2, 1, 0}));
}

TEST(CommandButton, PressRaisesClickOnlyWhenUsable)
{
    CommandButton button;
    int clicks = 0;
    auto s = button.click.connect([&] { ++clicks; });
    button.press();
    button.setValue(true);
    button.setEnabled(false);
    button.press();
    button.setEnabled(true);
    button.setVisible(false);
    button.press();
    EXPECT_EQ(clicks, 2);
}

TEST(ComboBox, ListEditing)
{
    ComboBox box;
    box.addItem("b");
    box.addItem("a");
    box.addItem("first", 0);
    EXPECT_EQ(box.items(), (QStringList{"first", "b", "a"}));
    EXPECT_EQ(box.list(7), QString());
    EXPECT_EQ(errorNumber([&] { box.list(-1); }), 381);
    EXPECT_EQ(errorNumber([&] { box.addItem("x", 5); }), 5);
    EXPECT_EQ(errorNumber([&] { box.removeItem(3); }), 5);
    box.setListIndex(1);
    box.removeItem(0);
    EXPECT_EQ(box.listIndex(), 0); // follows its item
    box.removeItem(0);
    EXPECT_EQ(box.listIndex(), -1);
    box.clear();
    EXPECT_EQ(box.listCount(), 0);
    EXPECT_EQ(box.text(), QString());

    ComboBox sorted;
    sorted.setSorted(true);
    for (const char *t : {"beta", "Alpha", "gamma", "alpha"})
        sorted.addItem(t);
    EXPECT_EQ(sorted.items(), (QStringList{"Alpha", "alpha", "beta", "gamma"}));
}

TEST(ComboBox, ListIndexTextAndEvents)
{
    ComboBox box;
    for (const char *t : {"one", "two"})
        box.addItem(t);
    QStringList log;
    auto s1 = box.click.connect([&] { log << "Click " + box.text(); });
    auto s2 = box.change.connect([&] { log << "Change " + box.text(); });
    auto s3 = box.keyDown.connect([&](int &code, int shift) { log << QStringLiteral("KeyDown %1 %2").arg(code).arg(shift); });
    box.setListIndex(1);
    box.setListIndex(1); // no change, no Click
    box.setText("free text");
    EXPECT_EQ(box.listIndex(), -1);
    box.chooseItem(0);
    box.typeText("typed");
    box.pressKey(vbKeyReturn, vbShiftMask);
    EXPECT_EQ(log, (QStringList{"Click two", "Change free text", "Click one", "Change typed", "KeyDown 13 1"}));
    EXPECT_EQ(errorNumber([&] { box.setListIndex(2); }), 380);

    box.setStyle(ComboStyle::DropdownList);
    EXPECT_EQ(errorNumber([&] { box.setText("three"); }), 383);
    box.setText("one");
    EXPECT_EQ(box.listIndex(), 0);
}

TEST(PictureBox, InnerSizeLosesTheBorder)
{
    PictureBox picture;
    picture.move(0, 0, 1000, 600);
    EXPECT_EQ(picture.scaleWidth(), 1000 - 60);
    picture.setBorderStyle(BorderStyle::None);
    EXPECT_EQ(picture.scaleWidth(), 1000);
    EXPECT_EQ(picture.scaleHeight(), 600);
    picture.drawEdge(QRect(1, 1, 10, 10), 4, 15);
    EXPECT_EQ(picture.drawnEdges(), (QList<DrawnEdge>{{QRect(1, 1, 10, 10), 4, 15}}));
    picture.cls();
    EXPECT_TRUE(picture.drawnEdges().isEmpty());
}

TEST(PictureBox, MouseEventsCarryTwips)
{
    PictureBox splitter;
    QStringList log;
    auto s = splitter.mouseMove.connect([&](int button, int shift, int x, int y) {
        log << QStringLiteral("%1 %2 %3 %4").arg(button).arg(shift).arg(x).arg(y);
    });
    splitter.mouseMove.raise(vbLeftButton, 0, 150, -30);
    EXPECT_EQ(log, QStringList{"1 0 150 -30"});
}
