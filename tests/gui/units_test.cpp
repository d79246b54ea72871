// Unit conversions, key codes and the CJK font.
#include "gui/units.h"
#include "gui_test_support.h"

#include <QBuffer>
#include <QFontInfo>
#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

TEST(UnitsTest, TwipsAndPixelsAt96Dpi)
{
    struct Case {
        int twips;
        int pixels;
    };
    for (const Case c : {Case{0, 0}, Case{15, 1}, Case{1440, 96}, Case{8130, 542}, Case{7, 0}, Case{8, 1}, Case{-30, -2}}) {
        EXPECT_EQ(gui::twipsToPixelsX(c.twips, nullptr), c.pixels) << c.twips;
        EXPECT_EQ(gui::twipsToPixelsY(c.twips, nullptr), c.pixels) << c.twips;
    }
    for (int px : {0, 1, 16, 542}) {
        EXPECT_EQ(gui::pixelsToTwipsX(px, nullptr), px * 15);
        EXPECT_EQ(gui::pixelsToTwipsY(px, nullptr), px * 15);
    }
    // Edges convert separately, so neighbours share their border.
    EXPECT_EQ(gui::twipsToPixels(QRect(3000, 450, 60, 5835), nullptr), QRect(200, 30, 4, 389));
    EXPECT_EQ(gui::twipsToPixels(QRect(7, 7, 7, 7), nullptr), QRect(0, 0, 1, 1));
}

TEST(UnitsTest, KeyCodesAndShift)
{
    struct Case {
        int qt;
        int vb;
    };
    const Case cases[] = {{Qt::Key_A, 'A'},          {Qt::Key_Z, 'Z'},           {Qt::Key_0, '0'},
                          {Qt::Key_Return, 13},      {Qt::Key_Enter, 13},        {Qt::Key_Escape, 27},
                          {Qt::Key_F1, 112},         {Qt::Key_F12, 123},         {Qt::Key_Delete, 46},
                          {Qt::Key_Left, 37},        {Qt::Key_Down, 40},         {Qt::Key_PageDown, 34},
                          {Qt::Key_Backspace, 8},    {Qt::Key_Tab, 9},           {Qt::Key_Space, 32},
                          {Qt::Key_Home, 36},        {Qt::Key_MediaPlay, 0},     {Qt::Key_unknown, 0}};
    for (const Case c : cases)
        EXPECT_EQ(gui::vbKeyCode(c.qt), c.vb) << c.qt;
    EXPECT_EQ(gui::vbShift(Qt::NoModifier), 0);
    EXPECT_EQ(gui::vbShift(Qt::ShiftModifier | Qt::AltModifier), controls::vbShiftMask | controls::vbAltMask);
    EXPECT_EQ(gui::vbShift(Qt::ControlModifier), controls::vbCtrlMask);
    EXPECT_EQ(gui::vbButtons(Qt::LeftButton | Qt::RightButton), controls::vbLeftButton | controls::vbRightButton);
    EXPECT_EQ(gui::vbButtons(Qt::MiddleButton), controls::vbMiddleButton);
}

TEST(UnitsTest, ColoursAndCursors)
{
    EXPECT_EQ(gui::toQColor(controls::vbButtonFace), QColor(212, 208, 200));
    EXPECT_EQ(gui::toQColor(0x0000FF), QColor(255, 0, 0)); // &H00BBGGRR
    EXPECT_EQ(gui::cursorShape(controls::MousePointer::Hourglass), Qt::WaitCursor);
    EXPECT_EQ(gui::cursorShape(controls::MousePointer::SizeWE), Qt::SizeHorCursor);
    EXPECT_EQ(gui::cursorShape(controls::MousePointer::Default), Qt::ArrowCursor);
}

TEST(UnitsTest, PicturesAreDecodedWhereTheyAreDrawn)
{
    QImage image(20, 18, QImage::Format_ARGB32);
    image.fill(qRgba(1, 2, 3, 255));
    image.setPixel(19, 17, qRgba(200, 100, 50, 128));
    const host::Picture picture = gui::toPicture(image);
    EXPECT_EQ(picture.size(), QSize(20, 18)); // read off the PNG header, not decoded
    EXPECT_EQ(gui::toImage(picture).convertToFormat(QImage::Format_ARGB32), image);

    // A BMP file decodes too: the object model passes whatever image file it was given.
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP");
    EXPECT_EQ(host::Picture(bmp).size(), QSize(20, 18));
    EXPECT_EQ(gui::toImage(host::Picture(bmp)).pixel(0, 0), qRgb(1, 2, 3));

    EXPECT_TRUE(gui::toPicture(QImage()).isNull());
    EXPECT_TRUE(gui::toImage(host::Picture()).isNull());
    EXPECT_TRUE(gui::toImage(host::Picture(QByteArray("not an image"))).isNull());
    EXPECT_TRUE(gui::toIcon(host::Picture(QByteArray("not an image"))).isNull());
}

TEST(UnitsTest, JapaneseTextGetsTheCjkFamily)
{
    gui_test::app();
    ASSERT_FALSE(gui::cjkFamily().isEmpty());
    EXPECT_EQ(gui::cjkFamily(), QStringLiteral("Noto Sans CJK JP")); // fonts-noto-cjk is installed here
    const QFont font = gui::toQFont(controls::Font{});
    EXPECT_EQ(QFontInfo(font).family(), gui::cjkFamily());
    EXPECT_EQ(font.pointSizeF(), 9.0);
    EXPECT_TRUE(QFontMetrics(font).inFont(QChar(0x8A3A))); // 診
    EXPECT_TRUE(QFontMetrics(font).inFont(QChar(0xFF7A))); // ｺ
    EXPECT_EQ(QFontInfo(gui::toQFont(controls::Font{QStringLiteral("ＭＳ ゴシック"), 10})).family(),
              gui::cjkMonospaceFamily());
    EXPECT_EQ(gui::cjkMonospaceFamily(), QStringLiteral("Noto Sans Mono CJK JP"));
    const QFontMetrics code(gui::toQFont(controls::Font{QStringLiteral("ＭＳ ゴシック"), 10}));
    EXPECT_EQ(code.horizontalAdvance(QLatin1Char('i')), code.horizontalAdvance(QLatin1Char('W')));
    controls::Font bold;
    bold.name = QStringLiteral("Arial");
    bold.charset = 0;
    bold.bold = true;
    bold.size = 12;
    const QFont latin = gui::toQFont(bold);
    EXPECT_EQ(latin.families().value(0), QStringLiteral("Arial"));
    EXPECT_TRUE(latin.bold());
}

} // namespace
