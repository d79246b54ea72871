#include "support/pictures.h"
#include "host/picture.h"

#include <gtest/gtest.h>

using host::Picture;

namespace {

void putLittleEndian(QByteArray &bytes, qsizetype at, quint32 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[at + i] = char(value >> (8 * i) & 0xFF);
}

/// A BMP file's two headers (no pixels) with an info header of `infoSize` bytes.
Picture bmpHeader(quint32 infoSize, qint32 width, qint32 height)
{
    QByteArray bytes(14 + std::max<quint32>(infoSize, 12), '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    putLittleEndian(bytes, 14, infoSize, 4);
    if (infoSize == 12) {
        putLittleEndian(bytes, 18, quint32(width), 2);
        putLittleEndian(bytes, 20, quint32(height), 2);
    } else {
        putLittleEndian(bytes, 18, quint32(width), 4);
        putLittleEndian(bytes, 22, quint32(height), 4);
    }
    return Picture(bytes);
}

} // namespace

TEST(Picture, SizeComesFromThePngOrBmpHeader)
{
    const struct {
        const char *what;
        Picture picture;
        QSize size;
    } cases[] = {
        {"png", testing_support::pngHeader(16, 15), QSize(16, 15)},
        {"wide png", testing_support::pngHeader(70000, 1), QSize(70000, 1)},
        {"bmp", bmpHeader(40, 20, 18), QSize(20, 18)},
        {"top-down bmp", bmpHeader(40, 16, -16), QSize(16, 16)},
        {"v5 bmp", bmpHeader(124, 32, 24), QSize(32, 24)},
        {"os/2 bmp", bmpHeader(12, 48, 40), QSize(48, 40)},
        {"null", Picture(), QSize(0, 0)},
        {"gif", Picture(QByteArray("GIF89a\x10\0\x10\0", 10)), QSize(0, 0)},
        {"cut png", Picture(testing_support::pngHeader(16, 16).bytes().left(20)), QSize(0, 0)},
        {"cut bmp", Picture(bmpHeader(40, 16, 16).bytes().left(20)), QSize(0, 0)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.picture.size(), c.size);
        EXPECT_EQ(c.picture.width(), c.size.width());
        EXPECT_EQ(c.picture.height(), c.size.height());
    }
}

TEST(Picture, NullAndEqualityGoByTheBytes)
{
    EXPECT_TRUE(Picture().isNull());
    EXPECT_TRUE(Picture(QByteArray()).isNull());
    EXPECT_FALSE(Picture(QByteArray("x")).isNull());
    EXPECT_EQ(Picture(QByteArray("abc")), Picture(QByteArray("abc")));
    EXPECT_NE(Picture(QByteArray("abc")), Picture(QByteArray("abd")));
    EXPECT_EQ(Picture(), Picture(QByteArray()));
}
