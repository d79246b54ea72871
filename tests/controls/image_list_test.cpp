#include "support/error_number.h"
#include "support/pictures.h"
#include "controls/image_list.h"

#include <gtest/gtest.h>

using testing_support::errorNumber;
using testing_support::pngHeader;
using namespace controls;

namespace {
host::Picture picture(const char *bytes) { return host::Picture(QByteArray(bytes)); }
} // namespace

TEST(ImageList, ImagesByKeyAndIndex)
{
    ImageList list;
    list.listImages().add(0, "PROJECT", picture("project"));
    list.listImages().add(0, "FOLDER", picture("folder"));
    list.listImages().add(1, "APPLICATION", picture("application"));
    QStringList keys;
    for (const ListImage *image : list.listImages())
        keys << QStringLiteral("%1:%2").arg(image->index()).arg(image->key());
    EXPECT_EQ(keys, (QStringList{"1:APPLICATION", "2:PROJECT", "3:FOLDER"}));
    EXPECT_EQ(list.listImages().item("FOLDER")->picture().bytes(), "folder");
    EXPECT_EQ(list.picture("2").bytes(), "project");
    EXPECT_TRUE(list.picture("MISSING").isNull());
    EXPECT_EQ(errorNumber([&] { list.listImages().item("MISSING"); }), 35601);
    EXPECT_EQ(errorNumber([&] { list.listImages().item(4); }), 35600);
    EXPECT_EQ(errorNumber([&] { list.listImages().add(0, "FOLDER", host::Picture()); }), 35602);
    list.listImages().remove("PROJECT");
    EXPECT_EQ(list.listImages().item("FOLDER")->index(), 2);
}

TEST(ImageList, SizeComesFromTheFirstPictureUnlessSet)
{
    ImageList list;
    list.listImages().add(0, "A", pngHeader(16, 15));
    EXPECT_EQ(list.imageWidth(), 16);
    EXPECT_EQ(list.imageHeight(), 15);
    ImageList fixed;
    fixed.setImageWidth(32);
    fixed.setImageHeight(32);
    fixed.listImages().add(0, "A", pngHeader(16, 16));
    EXPECT_EQ(fixed.imageWidth(), 32);
}

TEST(ImageList, CheckImageAcceptsEmptyKeysAndIndexes)
{
    ImageList list;
    list.listImages().add(0, "A", picture("a"));
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
