// Pane lines are stored one byte a unit when ASCII and in UTF-16 otherwise: every answer must
// be the same whichever form a line has, at the forms' boundaries too (Find: find_test.cpp).
#include "code_fixture.h"
#include "ide/code/module_code.h"

#include <gtest/gtest.h>

#include <random>

using code_test::boundaryLines;
using ide::code::ModuleCode;

TEST(LineStorage, EveryFormGivesBackItsLines)
{
    const QStringList input = boundaryLines();
    const ModuleCode m(input, 5);
    QStringList expected = input;
    const qsizetype hidden = expected.indexOf(QStringLiteral("Attribute Foo.VB_Description = \"ÅÄ\""));
    expected.removeAt(hidden);
    ASSERT_EQ(m.countOfLines(), expected.size());
    for (int l = 1; l <= m.countOfLines(); ++l) {
        EXPECT_EQ(m.line(l), expected[l - 1]) << l;
        EXPECT_EQ(m.lineLength(l), expected[l - 1].size()) << l;
        EXPECT_EQ(m.fileLineOf(l), 5 + (l - 1) + (l - 1 >= hidden ? 1 : 0)) << l;
    }
    EXPECT_EQ(m.lines(1, m.countOfLines()), expected.join(QStringLiteral("\r\n")));
    EXPECT_EQ(m.lines(2, 3), expected.mid(1, 3).join(QStringLiteral("\r\n")));
}

TEST(LineStorage, HoldsFewBytesPerModuleByte)
{
    // A module of typical code with a Japanese comment now and then, counted as cp932 bytes:
    // one a unit below U+0080, two above.
    std::mt19937 random(3);
    QStringList lines{QStringLiteral("Attribute VB_Name = \"Module1\""), QStringLiteral("Option Explicit")};
    qint64 bytes = 0;
    for (int k = 0; k < 4000; ++k) {
        QString line = QStringLiteral("    m_Customer%1 = lngOrderTotal%2 + Price(%3)")
                           .arg(random() % 300)
                           .arg(random() % 300)
                           .arg(random() % 50);
        if (k % 25 == 0)
            line += QStringLiteral(" ' 受注ﾃﾞｰﾀを更新する");
        lines << line;
    }
    for (const QString &line : std::as_const(lines)) {
        bytes += 2;
        for (QChar c : line)
            bytes += c.unicode() < 0x80 ? 1 : 2;
    }
    const ModuleCode m(lines, 1);
    EXPECT_LT(double(m.memoryUsage()), 4.0 * double(bytes));
    // and more than the text alone: the figure counts what is held
    EXPECT_GT(double(m.memoryUsage()), double(bytes));
}
