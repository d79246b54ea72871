#include "support/error_number.h"
#include "controls/image_combo.h"

#include <gtest/gtest.h>

using testing_support::errorNumber;
using namespace controls;

namespace {
} // namespace

TEST(ImageCombo, ItemsCarryKeyTextImageIndentationAndTag)
{
    ImageCombo combo;
    ImageList images;
    for (const char *key : {"PROJECT", "STD", "CLASS"})
        images.listImages().add(0, key, host::Picture(QByteArray("any bytes")));
    combo.setImageList(&images);
    combo.comboItems().add(0, "Proj", "Proj", "PROJECT");
    ComboItem *module = combo.comboItems().add(0, "Proj_Module1", "Module1", {}, {}, 2);
    module->setImage("STD");
    module->setTag("Proj");
    QStringList seen;
    for (const ComboItem *item : combo.comboItems())
        seen << QStringLiteral("%1 %2 %3 %4 %5")
                    .arg(item->index())
                    .arg(item->key(), item->text(), item->image())
                    .arg(item->indentation());
    EXPECT_EQ(seen, (QStringList{"1 Proj Proj PROJECT 0", "2 Proj_Module1 Module1 STD 2"}));
    EXPECT_EQ(combo.comboItems().item("Proj_Module1")->tag(), "Proj");

    // An image the list lacks fails; an item added before the image stays.
    ComboItem *all = combo.comboItems().add(1, "PROJECTS", "All");
    EXPECT_EQ(errorNumber([&] { all->setImage("PROJECTS"); }), 35601);
    EXPECT_EQ(combo.comboItems().count(), 3);
    EXPECT_EQ(errorNumber([&] { combo.comboItems().add(0, "Proj"); }), 35602);
    EXPECT_EQ(errorNumber([&] { combo.comboItems().add(0, "X", "X", "NOPE"); }), 35601);
    EXPECT_EQ(combo.comboItems().count(), 3);
}

TEST(ImageCombo, SelectingInCodeRaisesNoClick)
{
    ImageCombo combo;
    combo.comboItems().add(0, "P1", "P1");
    combo.comboItems().add(0, "P2", "P2");
    QStringList log;
    auto s1 = combo.click.connect([&] { log << "Click " + combo.text(); });
    auto s2 = combo.change.connect([&] { log << "Change " + combo.text(); });
    combo.setSelectedItem(combo.comboItems().item("P2"));
    EXPECT_EQ(combo.text(), "P2");
    combo.comboItems().item("P1")->setSelected(true);
    EXPECT_EQ(combo.text(), "P1");
    EXPECT_EQ(log, QStringList{});

    combo.chooseItem(combo.comboItems().item(2));
    combo.typeText("typed");
    EXPECT_EQ(log, (QStringList{"Click P2", "Change typed"}));
    EXPECT_EQ(combo.selectedItem()->key(), "P2"); // typing keeps the selection

    log.clear();
    combo.setLocked(true);
    combo.chooseItem(combo.comboItems().item(1));
    combo.typeText("x");
    EXPECT_EQ(log, QStringList{});
}

TEST(ImageCombo, RemovingTheSelectedItemKeepsTheTextAndClearEmptiesIt)
{
    ImageCombo combo;
    combo.comboItems().add(0, "P1", "P1");
    combo.comboItems().add(0, "P2", "P2");
    combo.setSelectedItem(combo.comboItems().item("P1"));
    combo.comboItems().remove("P1");
    EXPECT_EQ(combo.selectedItem(), nullptr);
    EXPECT_EQ(combo.text(), "P1");
    combo.setSelectedItem(combo.comboItems().item("P2"));
    combo.comboItems().clear();
    EXPECT_EQ(combo.selectedItem(), nullptr);
    EXPECT_EQ(combo.text(), QString());
}
