// Pane lines are stored one byte a unit when ASCII and in UTF-16 otherwise: every answer must
// be the same whichever form a line has, at the forms' boundaries too.
#include "ide/code/module_code.h"

#include <gtest/gtest.h>

#include <random>

using ide::code::ModuleCode;

namespace {

/// ASCII lines of the lengths the 16-unit blocks meet, and lines just past ASCII, in every
/// order: wide after odd and even byte offsets, wide first and last, wide runs.
QStringList boundaryLines()
{
    QStringList lines{QStringLiteral("é first line is wide"), QStringLiteral("x")};
    for (int length : {0, 1, 7, 8, 9, 15, 16, 17, 31, 32, 33, 64, 65}) {
        QString ascii;
        for (int k = 0; k < length; ++k)
            ascii += QChar(u"Ab1 _.Zz(\x7f"[k % 11]);
        lines << ascii;
        QString wide = ascii;
        wide.insert(length / 2, QChar(0x80)); // the first unit past ASCII
        lines << wide << QStringLiteral("受注ﾃﾞｰﾀ Ab") << ascii + QStringLiteral("ÿ");
    }
    lines << QStringLiteral("Attribute Foo.VB_Description = \"ÅÄ\"") << QStringLiteral("Foo Kelvin ſ")
          << QStringLiteral("last ASCII line");
    return lines;
}

} // namespace

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

TEST(LineStorage, FindOnEveryFormEqualsTheScan)
{
    const ModuleCode m(boundaryLines(), 1);
    // Every substring of every line up to eight units, in both cases, and targets whose fold
    // meets ASCII: the Kelvin sign and long s fold to k and s.
    QStringList targets{QStringLiteral("KELVIN"), QStringLiteral("kelvin"), QStringLiteral("ſ"),
                        QStringLiteral("S"), QStringLiteral("Ÿ"), QStringLiteral("ÿ"),
                        QStringLiteral("受注"), QStringLiteral("ﾃﾞｰﾀ"), QStringLiteral("Ab1"),
                        QStringLiteral("ab1 _"), QStringLiteral("Z(\x7f")};
    for (int l = 1; l <= m.countOfLines(); ++l) {
        const QString line = m.line(l);
        for (qsizetype from = 0; from < line.size(); from += 3) {
            for (qsizetype length = 1; length <= 8 && from + length <= line.size(); length += 2)
                targets << line.mid(from, length) << line.mid(from, length).toUpper();
        }
    }
    int hits = 0;
    for (const QString &target : std::as_const(targets)) {
        for (int options = 0; options < 6; ++options) {
            const bool wholeWord = options & 1;
            const bool matchCase = (options >> 1) == 1;
            const bool pattern = (options >> 1) == 2;
            int line = 1, col = 1;
            for (int guard = 0; guard < 200; ++guard) {
                int a1 = line, b1 = col, c1 = -1, d1 = -1;
                int a2 = line, b2 = col, c2 = -1, d2 = -1;
                const bool f1 = m.find(target, a1, b1, c1, d1, wholeWord, matchCase, pattern);
                const bool f2 = m.findByScan(target, a2, b2, c2, d2, wholeWord, matchCase, pattern);
                ASSERT_EQ(f1, f2) << target.toStdString() << " options " << options;
                ASSERT_EQ(std::tie(a1, b1, c1, d1), std::tie(a2, b2, c2, d2)) << target.toStdString();
                if (!f1)
                    break;
                ++hits;
                line = a1;
                col = d1;
            }
        }
    }
    EXPECT_GT(hits, 2000);

    // Folding meets ASCII lines from outside ASCII; matching case, nothing does.
    int a = 1, b = 1, c = -1, d = -1;
    ASSERT_TRUE(m.find(QStringLiteral("\u212Aelvin"), a, b, c, d));
    EXPECT_EQ(m.line(a).mid(b - 1, d - b), QStringLiteral("Kelvin"));
    a = 1, b = 1, c = -1, d = -1;
    EXPECT_FALSE(m.find(QStringLiteral("\u212Aelvin"), a, b, c, d, false, true));
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
