#include "support/error_number.h"
#include "controls/control.h"

#include "controls/control_array.h"
#include "controls/form.h"
#include "controls/standard_controls.h"
#include "controls/status_bar.h"
#include "controls/tree_view.h"

#include <gtest/gtest.h>

using testing_support::errorNumber;
using namespace controls;

namespace {
} // namespace

TEST(Control, SettersNotifyOnlyRealChanges)
{
    Label label("lblCheck");
    QStringList log;
    auto s = label.changed.connect([&](Property property) { log << propertyName(property); });
    label.move(10, 20);
    label.move(10, 20);
    label.setWidth(500);
    label.setVisible(false);
    label.setVisible(false);
    label.setCaption("x");
    label.setMousePointer(MousePointer::Hourglass);
    label.setBackColor(vbButtonShadow);
    label.setTag("t");
    EXPECT_EQ(log, (QStringList{"Left", "Top", "Width", "Visible", "Caption", "MousePointer", "BackColor", "Tag"}));
    EXPECT_EQ(label.name(), "lblCheck");
    EXPECT_EQ(label.index(), -1);
    EXPECT_EQ(errorNumber([&] { label.setHeight(-1); }), 380);
    EXPECT_EQ(static_cast<int>(label.mousePointer()), 11);
}

TEST(Control, ZOrderBringsToFrontAndSendsToBack)
{
    Label a, b, c;
    a.zOrder();
    b.zOrder();
    c.zOrder(ZOrderPosition::SendToBack);
    EXPECT_GT(b.zOrderValue(), a.zOrderValue());
    EXPECT_LT(c.zOrderValue(), a.zOrderValue());
    a.zOrder();
    EXPECT_GT(a.zOrderValue(), b.zOrderValue());
}

TEST(Control, SetFocusNeedsAVisibleEnabledControl)
{
    TreeView tree;
    Label label;
    tree.setFocus();
    EXPECT_TRUE(tree.hasFocus());
    EXPECT_EQ(Control::focused(), &tree);
    label.setEnabled(false);
    EXPECT_EQ(errorNumber([&] { label.setFocus(); }), 5);
    tree.setVisible(false);
    EXPECT_EQ(Control::focused(), nullptr);
    EXPECT_EQ(errorNumber([&] { tree.setFocus(); }), 5);
}

TEST(Control, SystemColoursMapToTheClassicScheme)
{
    const struct {
        OleColor color;
        Rgb rgb;
    } cases[] = {
        {vbButtonFace, rgb(212, 208, 200)},
        {vbButtonShadow, rgb(128, 128, 128)},
        {vbWindowBackground, rgb(255, 255, 255)},
        {0x0000FF, rgb(255, 0, 0)}, // &H000000FF is red
        {0xFF8000, rgb(0, 128, 255)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.color);
        EXPECT_EQ(toRgb(c.color), c.rgb);
    }
    EXPECT_TRUE(isSystemColor(vbButtonFace));
    EXPECT_FALSE(isSystemColor(vbWhite));
    EXPECT_EQ(fromRgb(rgb(0, 128, 255)), 0xFF8000u);
    EXPECT_EQ(rgb(0x12, 0x34, 0x56), 0xFF123456u); // QRgb's layout
}

TEST(Container, AlignedControlsTakeTheEdges)
{
    Form form;
    form.setBorderStyle(FormBorderStyle::None);
    form.move(0, 0, 8000, 6000);
    StatusBar status;
    status.setAlign(Align::Bottom);
    status.setContainer(&form);
    PictureBox top;
    top.setHeight(450);
    top.setAlign(Align::Top);
    top.setContainer(&form);
    EXPECT_EQ(status.top(), 6000 - 315);
    EXPECT_EQ(status.width(), 8000);
    EXPECT_EQ(top.top(), 0);
    EXPECT_EQ(top.width(), 8000);
    form.setWidth(5000);
    form.setHeight(4000);
    EXPECT_EQ(status.top(), 4000 - 315);
    EXPECT_EQ(status.width(), 5000);
    EXPECT_EQ(form.controls(), (QList<Control *>{&status, &top}));
    {
        Label gone;
        gone.setContainer(&form);
        EXPECT_EQ(form.controls().size(), 3);
    }
    EXPECT_EQ(form.controls().size(), 2);
}

TEST(ControlArray, LoadUnloadAndBounds)
{
    ControlArray<TreeView> trees("tvwProject");
    TreeView &first = trees.add(0);
    first.setStyle(TreeStyle::TreelinesPlusMinusPictureText);
    first.move(100, 200, 3000, 4000);
    for (int i = 1; i <= 3; ++i)
        trees.load(i);
    EXPECT_EQ(trees.count(), 4);
    EXPECT_EQ(trees.lbound(), 0);
    EXPECT_EQ(trees.ubound(), 3);
    EXPECT_EQ(trees(2).index(), 2);
    EXPECT_EQ(trees(2).name(), "tvwProject");
    EXPECT_EQ(trees(2).left(), 100);
    EXPECT_EQ(trees(2).height(), 4000);
    EXPECT_FALSE(trees(2).visible()); // loaded elements start hidden
    EXPECT_TRUE(trees(0).visible());
    EXPECT_EQ(trees.indexes(), (QList<int>{0, 1, 2, 3}));

    const struct {
        const char *what;
        std::function<void()> statement;
        int number;
    } cases[] = {
        {"load an existing index", [&] { trees.load(1); }, 360},
        {"missing element", [&] { trees(7); }, 340},
        {"unload design-time element", [&] { trees.unload(0); }, 362},
        {"unload missing element", [&] { trees.unload(9); }, 340},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(errorNumber(c.statement), c.number);
    }
    trees.unload(3);
    EXPECT_EQ(trees.ubound(), 2);
    EXPECT_FALSE(trees.exists(3));

    ControlArray<CheckBox> empty("chkItem");
    EXPECT_EQ(errorNumber([&] { empty.load(1); }), 340);
    EXPECT_EQ(empty.ubound(), -1);
}

TEST(ControlArray, MissingElementMessageNamesTheIndex)
{
    host::setErrorLanguage(host::Language::English);
    ControlArray<Label> labels("Label1");
    try {
        labels(4);
        FAIL();
    } catch (const host::Error &e) {
        EXPECT_EQ(e.description(), QStringLiteral("Control array element '4' doesn't exist"));
    }
    host::setErrorLanguage(host::Language::Japanese);
}
