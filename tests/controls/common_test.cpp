#include "controls/common.h"

#include "controls/item_list.h"

#include <gtest/gtest.h>

using namespace controls;

TEST(Common, NumericKeysAreInvalid)
{
    const struct {
        const char *key;
        bool numeric;
    } cases[] = {
        {"1", true},      {"12", true},    {" 7 ", true},   {"-3", true},   {"+3", true},
        {"1.5", true},    {".5", true},    {"1e3", true},   {"&H1F", true}, {"", false},
        {"a1", false},    {"1a", false},   {"1e", false},   {".", false},   {"-", false},
        {"Text10", false}, {"P_1", false}, {"１", false},   {"&Hzz", false}, {"1.2.3", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(isNumericKey(QString::fromUtf8(c.key)), c.numeric);
    }
}

TEST(Common, TextOrderIgnoresCase)
{
    EXPECT_EQ(compareText("abc", "ABC"), 0);
    EXPECT_LT(compareText("Alpha", "beta"), 0);
    EXPECT_LT(compareText("_x", "a"), 0);
    EXPECT_LT(compareText("10", "9"), 0);
    // The same order as Qt's case-insensitive comparison, ASCII and beyond.
    const QStringList words = {"", "a", "A", "ab", "aB_", "Ab1", "_", "[", "`", "z", "Z", "{", "@",
                               "名前", "名", "ÄB", "äb", "a名", "Straße", "STRASSE", "abc", "ABD"};
    for (const QString &x : words) {
        for (const QString &y : words) {
            const int expected = QString::compare(x, y, Qt::CaseInsensitive);
            const int actual = compareText(x, y);
            EXPECT_EQ((expected > 0) - (expected < 0), (actual > 0) - (actual < 0))
                << x.toStdString() << " " << y.toStdString();
        }
    }
}

TEST(Common, ErrorTextsInBothLanguages)
{
    const struct {
        int number;
        const char *english;
    } cases[] = {
        {35600, "Index out of bounds"},
        {35601, "Element not found"},
        {35602, "Key is not unique in collection"},
        {35603, "Invalid key"},
        {380, "Invalid property value"},
        {521, "Can't open Clipboard"},
        {360, "Object already loaded"},
        {362, "Can't unload controls created at design time"},
        {381, "Invalid property array index"},
        {383, "'Text' property is read-only"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.number);
        host::setErrorLanguage(host::Language::English);
        EXPECT_EQ(controlError(c.number).description(), QString::fromUtf8(c.english));
        host::setErrorLanguage(host::Language::Japanese);
        const host::Error japanese = controlError(c.number);
        EXPECT_EQ(japanese.number(), c.number);
        EXPECT_FALSE(japanese.description().isEmpty());
        EXPECT_NE(japanese.description(), QString::fromUtf8(c.english));
    }
}

namespace {
struct Item : KeyedItem {
    QString text;
};
} // namespace

TEST(ItemList, KeysIndexesAndRenumbering)
{
    ItemList<Item> list;
    list.insert(list.insertPosition(0), "a", std::make_unique<Item>());
    list.insert(list.insertPosition(0), {}, std::make_unique<Item>());
    list.insert(list.insertPosition(1), "b", std::make_unique<Item>());
    QStringList seen;
    for (const Item *item : list)
        seen << QStringLiteral("%1:%2").arg(item->index()).arg(item->key());
    EXPECT_EQ(seen, (QStringList{"1:b", "2:a", "3:"}));
    EXPECT_EQ(list.find("a")->index(), 2);
    EXPECT_EQ(list.find(""), nullptr);
    EXPECT_THROW(list.insertPosition(5), host::Error);
    EXPECT_THROW(list.checkNewKey("a"), host::Error);
    Item *b = list.find("b");
    list.setKey(b, "c");
    EXPECT_EQ(list.find("b"), nullptr);
    EXPECT_EQ(list.item("c"), b);
    auto taken = list.take(b);
    EXPECT_EQ(taken->index(), 0);
    EXPECT_EQ(list.find("a")->index(), 1);
    EXPECT_EQ(list.find("c"), nullptr);
}
