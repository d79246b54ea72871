#include "code_fixture.h"
#include "ide/code/text_match.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

using namespace ide::code;

TEST(TextMatchFold, KeepsWordCharactersAndIsIdempotent)
{
    // Index and scan classify words on folded and original text respectively: they must agree.
    for (char32_t c = 0; c < 0x10000; ++c) {
        const char16_t u = char16_t(c);
        ASSERT_EQ(isWordChar(u), isWordChar(foldChar(u))) << std::hex << unsigned(c);
        ASSERT_EQ(unsigned(foldChar(foldChar(u))), unsigned(foldChar(u))) << std::hex << unsigned(c);
    }
}

TEST(TextMatchFold, WhichLettersFold)
{
    const std::vector<std::pair<char16_t, char16_t>> cases = {
        {u'A', u'a'}, {u'z', u'z'},  {u'_', u'_'},       {u'Ä', u'ä'},       {u'Я', u'я'},
        {u'Σ', u'σ'}, {u'ς', u'σ'},  {u'Ａ', u'ａ'},      {u'ｱ', u'ｱ'},       {u'カ', u'カ'},
        {u'か', u'か'}, {u'表', u'表'}, {char16_t(0xD800), char16_t(0xD800)}, {u'１', u'１'}};
    for (const auto &[from, to] : cases)
        EXPECT_EQ(unsigned(foldChar(from)), unsigned(to)) << std::hex << unsigned(from);
    EXPECT_TRUE(equalsFolded(u"Form_LOAD", u"form_load"));
    EXPECT_FALSE(equalsFolded(u"ABC", u"ＡＢＣ"));
    EXPECT_LT(compareFolded(u"abc", u"ABD"), 0);
    EXPECT_GT(compareFolded(u"abcd", u"ABC"), 0);
}

TEST(TextMatchWords, WordCharacters)
{
    const QString words = QStringLiteral("azAZ09表ｱａ①\u00e9\u3000");
    for (QChar c : words)
        EXPECT_TRUE(isWordChar(c.unicode())) << unsigned(c.unicode());
    const QString others = QStringLiteral("_ .()\"'#$&\t\r\n\0");
    for (QChar c : others)
        EXPECT_FALSE(isWordChar(c.unicode())) << unsigned(c.unicode());
}

TEST(TextMatchLike, WholeStringLike)
{
    const std::vector<std::tuple<const char *, const char *, bool>> cases = {
        {"aBBBa", "a*a", true},      {"F", "[A-Z]", true},         {"F", "[!A-Z]", false},
        {"a2a", "a#a", true},        {"aM5b", "a[L-P]#[!c-e]", true}, {"BAT123khg", "B?T*", true},
        {"CAT123khg", "B?T*", false}, {"ab", "a[]b", true},        {"a[b", "a[b", true},
        {"a*b", "a[*]b", true},      {"axb", "a[*]b", false},      {"", "*", true},
        {"", "?", false},            {"x", "", false},             {"-", "[a-]", true},
        {"b", "[c-a]", false},       {"abc", "*b*", true},         {"abc", "a**c", true},
        {"!", "[!]", true},          {"１", "#", false},
    };
    for (const auto &[text, pattern, expected] : cases) {
        const QString t = QString::fromUtf8(text);
        EXPECT_EQ(LikePattern(QString::fromUtf8(pattern)).matchesWhole(folded(t)), expected)
            << text << " Like " << pattern;
    }
}

namespace {

/// Brute-force VB Like over folded text, element by element.
bool likeOracle(QStringView text, QStringView pattern)
{
    if (pattern.isEmpty())
        return text.isEmpty();
    const QChar p = pattern[0];
    if (p == u'*') {
        for (qsizetype k = 0; k <= text.size(); ++k)
            if (likeOracle(text.sliced(k), pattern.sliced(1)))
                return true;
        return false;
    }
    if (p == u'[') {
        const qsizetype close = pattern.indexOf(u']', 1);
        if (close > 0) {
            QStringView body = pattern.sliced(1, close - 1);
            if (body.isEmpty())
                return likeOracle(text, pattern.sliced(close + 1));
            if (text.isEmpty())
                return false;
            bool negate = false;
            if (body[0] == u'!') {
                negate = true;
                body = body.sliced(1);
            }
            const char16_t c = text[0].unicode();
            bool in = false;
            for (qsizetype k = 0; k < body.size(); ++k) {
                if (k + 2 < body.size() && body[k + 1] == u'-') {
                    in = in || (foldChar(body[k].unicode()) <= c && c <= foldChar(body[k + 2].unicode()));
                    k += 2;
                } else {
                    in = in || c == foldChar(body[k].unicode());
                }
            }
            return in != negate && likeOracle(text.sliced(1), pattern.sliced(close + 1));
        }
    }
    if (text.isEmpty())
        return false;
    const char16_t c = text[0].unicode();
    const bool ok = p == u'?' || (p == u'#' ? (c >= u'0' && c <= u'9') : c == foldChar(p.unicode()));
    return ok && likeOracle(text.sliced(1), pattern.sliced(1));
}

} // namespace

TEST(TextMatchLike, SearchIsLeftmostLongestLikeBruteForce)
{
    std::mt19937 random(2024);
    const char16_t textAlphabet[] = {u'a', u'b', u'A', u'1', u'_', u' ', u'表'};
    const char *const pieces[] = {"a", "b", "?", "*", "#", "[ab]", "[!a]", "[a-b]", "_", "表", "[]"};
    int matches = 0;
    for (int round = 0; round < 30000; ++round) {
        QString line;
        const int length = int(random() % 9);
        for (int k = 0; k < length; ++k)
            line += QChar(textAlphabet[random() % std::size(textAlphabet)]);
        QString pattern;
        const int parts = 1 + int(random() % 4);
        for (int k = 0; k < parts; ++k)
            pattern += QString::fromUtf8(pieces[random() % std::size(pieces)]);
        const QString text = folded(line);
        const qsizetype from = length ? qsizetype(random() % (length + 1)) : 0;
        const qsizetype limit = from + qsizetype(random() % (length - from + 1));
        const bool wholeWord = random() % 2;

        qsizetype wantStart = -1, wantEnd = -1;
        for (qsizetype s = from; s < limit && wantStart < 0; ++s) {
            for (qsizetype e = limit; e > s; --e) {
                if (likeOracle(QStringView(text).sliced(s, e - s), pattern)
                    && (!wholeWord || isWholeWord(text, s, e))) {
                    wantStart = s;
                    wantEnd = e;
                    break;
                }
            }
        }
        qsizetype start = -1, end = -1;
        const bool found = LikePattern(pattern).search(text, from, limit, wholeWord, start, end);
        ASSERT_EQ(found, wantStart >= 0) << line.toStdString() << " / " << pattern.toStdString();
        if (found) {
            ++matches;
            ASSERT_EQ(start, wantStart) << line.toStdString() << " / " << pattern.toStdString();
            ASSERT_EQ(end, wantEnd) << line.toStdString() << " / " << pattern.toStdString();
        }
    }
    EXPECT_GT(matches, 1500);
}

TEST(TextMatchLiteral, FindLiteralBoundsAndWholeWords)
{
    const QString line = QStringLiteral("foo foo_x xfoo foo");
    EXPECT_EQ(findLiteral(line, u"foo", 0, line.size(), false), 0);
    EXPECT_EQ(findLiteral(line, u"foo", 1, line.size(), false), 4);
    EXPECT_EQ(findLiteral(line, u"foo", 5, line.size(), true), 15);
    EXPECT_EQ(findLiteral(line, u"foo", 5, 17, true), -1);
    EXPECT_EQ(findLiteral(line, u"foo", 5, 18, true), 15);
    EXPECT_EQ(findLiteral(line, u"", 0, line.size(), false), -1);
    EXPECT_EQ(findLiteral(line, u"foo", 0, 2, false), -1);
}
