#include "support/error_number.h"
#include "controls/image_list.h"

#include <gtest/gtest.h>

using testing_support::errorNumber;
using namespace controls;

namespace {
QImage picture(int w, int h, QRgb colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}
} // namespace

TEST(ImageList, ImagesByKeyAndIndex)
{
    ImageList list;
    list.listImages().add(0, "PROJECT", picture(16, 16, qRgb(1, 2, 3)));
    list.listImages().add(0, "FOLDER", picture(16, 16, qRgb(4, 5, 6)));
    list.listImages().add(1, "APPLICATION", picture(16, 16, qRgb(7, 8, 9)));
    QStringList keys;
    for (const ListImage *image : list.listImages())
        keys << QStringLiteral("%1:%2").arg(image->index()).arg(image->key());
    EXPECT_EQ(keys, (QStringList{"1:APPLICATION", "2:PROJECT", "3:FOLDER"}));
    EXPECT_EQ(list.listImages().item("FOLDER")->picture().pixel(0, 0), qRgb(4, 5, 6));
    EXPECT_EQ(list.picture("2").pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_TRUE(list.picture("MISSING").isNull());
    EXPECT_EQ(errorNumber([&] { list.listImages().item("MISSING"); }), 35601);
    EXPECT_EQ(errorNumber([&] { list.listImages().item(4); }), 35600);
    EXPECT_EQ(errorNumber([&] { list.listImages().add(0, "FOLDER", QImage()); }), 35602);
    list.listImages().remove("PROJECT");
    EXPECT_EQ(list.listImages().item("FOLDER")->index(), 2);
}

TEST(ImageList, SizeComesFromTheFirstPictureUnlessSet)
{
    ImageList list;
    list.listImages().add(0, "A", picture(16, 15, 0));
    EXPECT_EQ(list.imageWidth(), 16);
    EXPECT_EQ(list.imageHeight(), 15);
    ImageList fixed;
    fixed.setImageWidth(32);
    fixed.setImageHeight(32);
    fixed.listImages().add(0, "A", picture(16, 16, 0));
    EXPECT_EQ(fixed.imageWidth(), 32);
}

TEST(ImageList, CheckImageAcceptsEmptyKeysAndIndexes)
{
    ImageList list;
    list.listImages().add(0, "A", picture(16, 16, 0));
    const struct {
        const char *image;
        int number;
    } cases[] = {{"", 0}, {"A", 0}, {"a", 35601}, {"1", 0}, {"2", 35600}, {"B", 35601}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.image);
        EXPECT_EQ(errorNumber([&] { list.checkImage(c.image); }), c.number);
    }
}

TEST(ImageList, BindingForgetsADestroyedList)
{
    ImageListBinding binding;
    {
        ImageList list;
        binding.set(&list);
        EXPECT_EQ(binding.get(), &list);
        EXPECT_EQ(errorNumber([&] { binding.checkImage("X"); }), 35601);
    }
    EXPECT_EQ(binding.get(), nullptr);
    EXPECT_EQ(errorNumber([&] { binding.checkImage("X"); }), 0);
}
