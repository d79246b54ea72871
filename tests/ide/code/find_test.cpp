#include "code_fixture.h"
#include "host/error.h"
#include "ide/code/module_code.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <tuple>

using namespace ide::code;
using code_test::moduleOf;

namespace {

using Hit = std::tuple<int, int, int, int>;
constexpr Hit kMiss{0, 0, 0, 0};

struct Options {
    bool wholeWord = false;
    bool matchCase = false;
    bool pattern = false;
};

/// Find from (sl, sc) to (el, ec): the four positions on success, kMiss otherwise; also checks
/// that a miss leaves the arguments alone and that the scan agrees.
Hit findIn(const ModuleCode &m, const QString &target, int sl, int sc, int el, int ec,
           Options o = {})
{
    int a = sl, b = sc, c = el, d = ec;
    const bool found = m.find(target, a, b, c, d, o.wholeWord, o.matchCase, o.pattern);
    int a2 = sl, b2 = sc, c2 = el, d2 = ec;
    const bool found2 = m.findByScan(target, a2, b2, c2, d2, o.wholeWord, o.matchCase, o.pattern);
    EXPECT_EQ(found, found2) << target.toStdString();
    EXPECT_EQ(std::tie(a, b, c, d), std::tie(a2, b2, c2, d2)) << target.toStdString();
    if (!found) {
        EXPECT_EQ(std::tie(a, b, c, d), std::tie(sl, sc, el, ec)) << target.toStdString();
        return kMiss;
    }
    return {a, b, c, d};
}

Hit findAll(const ModuleCode &m, const QString &target, Options o = {})
{
    return findIn(m, target, 1, 1, -1, -1, o);
}

/// The add-in loop: after a hit continue at endcol + 1 and reset the end to -1.
std::vector<Hit> everyHit(const ModuleCode &m, const QString &target, Options o,
                          bool indexed = true)
{
    std::vector<Hit> hits;
    int sl = 1, sc = 1, el = -1, ec = -1;
    for (;;) {
        const bool found = indexed ? m.find(target, sl, sc, el, ec, o.wholeWord, o.matchCase, o.pattern)
                                   : m.findByScan(target, sl, sc, el, ec, o.wholeWord, o.matchCase,
                                                  o.pattern);
        if (!found || hits.size() > 10000)
            break;
        hits.emplace_back(sl, sc, el, ec);
        sc = ec + 1;
        el = -1;
        ec = -1;
    }
    return hits;
}

const char *const kModule = R"vb(
Option Explicit
Private Text1 As TextBox
Private Sub Foo_Click()
    Text1.Caption = "Foo" & Foo1 & x_Foo
    Foo = 1: Call Foo
End Sub
)vb";

} // namespace

TEST(FindBasics, ColumnsAndEnds)
{
    const ModuleCode m = moduleOf(kModule);
    EXPECT_EQ(findAll(m, "Option"), Hit(1, 1, 1, 7));
    EXPECT_EQ(findIn(m, "Sub", 6, 1, -1, -1), Hit(6, 5, 6, 8)); // at the line end
    EXPECT_EQ(findIn(m, "Sub", 6, 1, 6, 7), Hit(6, 5, 6, 8));   // last character at endcol
    EXPECT_EQ(findIn(m, "Sub", 6, 1, 6, 6), kMiss);             // one past endcol
    EXPECT_EQ(findIn(m, "Sub", 6, 5, 6, 100), Hit(6, 5, 6, 8));
    EXPECT_EQ(findIn(m, "Sub", 6, 6, 6, -1), kMiss);            // starts before startcol
    EXPECT_EQ(findIn(m, "Sub", 3, 10, 5, -1), kMiss);           // `Sub` of line 3 is at 9
    EXPECT_EQ(findIn(m, "Sub", 3, 9, 5, -1), Hit(3, 9, 3, 12));
    EXPECT_EQ(findIn(m, "x_Foo", 1, 1, -1, -1), Hit(4, 36, 4, 41));
    EXPECT_EQ(findIn(m, "Text1", 3, 1, 4, -1), Hit(4, 5, 4, 10)); // middle line of a range
}

TEST(FindBasics, RangesThatFindNothing)
{
    const ModuleCode m = moduleOf(kModule);
    const std::vector<std::tuple<int, int, int, int>> ranges = {
        {5, 1, 3, -1},  // start after end
        {7, 1, -1, -1}, // past the last line
        {4, 1, 0, -1},  // end line 0
        {6, 1, 6, 0},   // end column 0
    };
    for (const auto &[sl, sc, el, ec] : ranges)
        EXPECT_EQ(findIn(m, "End", sl, sc, el, ec), kMiss) << sl << sc << el << ec;
    EXPECT_EQ(findIn(m, "", 1, 1, -1, -1), kMiss);
    EXPECT_EQ(findIn(m, "End", -5, -5, 99, 3), Hit(6, 1, 6, 4)); // out of range clipped
}

TEST(FindBasics, WholeWordAroundUnderscoreDigitsAndDots)
{
    const ModuleCode m = moduleOf(kModule);
    const std::vector<Hit> wholeWords = {
        {3, 13, 3, 16}, {4, 22, 4, 25}, {4, 38, 4, 41}, {5, 5, 5, 8}, {5, 19, 5, 22}};
    EXPECT_EQ(everyHit(m, "Foo", {true}), wholeWords);
    EXPECT_EQ(everyHit(m, "Foo", {true}, false), wholeWords);
    std::vector<Hit> anywhere = wholeWords;
    anywhere.insert(anywhere.begin() + 2, Hit(4, 29, 4, 32)); // inside Foo1
    EXPECT_EQ(everyHit(m, "foo", {false}), anywhere);
    EXPECT_EQ(findAll(m, ".Caption", {true}), Hit(4, 10, 4, 18));
    EXPECT_EQ(findAll(m, "Text1.", {true}), Hit(4, 5, 4, 11));
    EXPECT_EQ(findAll(m, "ext1", {true}), kMiss);
    EXPECT_EQ(findAll(m, "Foo1 ", {true}), Hit(4, 29, 4, 34));
    EXPECT_EQ(findAll(m, "_Click", {true}), Hit(3, 16, 3, 22));
    EXPECT_EQ(findAll(m, "Foo = 1:", {true}), Hit(5, 5, 5, 13));
    EXPECT_EQ(findAll(m, "= 1", {true}), Hit(5, 9, 5, 12));
}

TEST(FindBasics, MatchCaseAndErrors)
{
    const ModuleCode m = moduleOf(kModule);
    EXPECT_EQ(findAll(m, "foo", {false, true}), kMiss);
    EXPECT_EQ(findAll(m, "Foo", {false, true}), Hit(3, 13, 3, 16));
    EXPECT_EQ(findAll(m, "CAPTION", {false, false}), Hit(4, 11, 4, 18));
    for (const QString &target : {QString("Foo"), QString()}) {
        int sl = 1, sc = 1, el = -1, ec = -1;
        try {
            m.find(target, sl, sc, el, ec, false, true, true);
            ADD_FAILURE() << "no error";
        } catch (const host::Error &e) {
            EXPECT_EQ(e.number(), 5);
        }
        try {
            m.findByScan(target, sl, sc, el, ec, true, true, true);
            ADD_FAILURE() << "no error";
        } catch (const host::Error &e) {
            EXPECT_EQ(e.number(), 5);
        }
    }
}

TEST(FindBasics, PatternSearch)
{
    const ModuleCode m = moduleOf(R"vb(
Y = A1 + 42
Sub Foo_Click()
Foo Foo
x = "[literal]"
)vb");
    const Options pattern{false, false, true};
    const Options wholePattern{true, false, true};
    EXPECT_EQ(findAll(m, "[!a-z]#*", pattern), Hit(1, 9, 1, 12)); // `A` folds into a-z
    EXPECT_EQ(findAll(m, "a#", pattern), Hit(1, 5, 1, 7));
    EXPECT_EQ(findAll(m, "Fo?", wholePattern), Hit(2, 5, 2, 8));
    EXPECT_EQ(findAll(m, "F*o", pattern), Hit(2, 5, 2, 8));     // longest within the line
    EXPECT_EQ(findIn(m, "F*o", 3, 1, -1, -1, pattern), Hit(3, 1, 3, 8));
    EXPECT_EQ(findIn(m, "F*o", 3, 1, 3, 6, pattern), Hit(3, 1, 3, 7)); // longest within range
    EXPECT_EQ(findIn(m, "F*o", 3, 1, 3, 4, pattern), Hit(3, 1, 3, 4));
    EXPECT_EQ(findAll(m, "*", pattern), Hit(1, 1, 1, 12));
    EXPECT_EQ(findAll(m, "[[]lit*]", pattern), Hit(4, 6, 4, 15));
    EXPECT_EQ(findAll(m, "[*", pattern), Hit(4, 6, 4, 16)); // unterminated `[` is literal
    EXPECT_EQ(findAll(m, "#[!0-9]", wholePattern), kMiss);  // `2` is followed by the line end
    EXPECT_EQ(findAll(m, "[]", pattern), kMiss);            // matches only the empty string
}

TEST(FindBasics, NonAsciiTextAndCaseFolding)
{
    const ModuleCode m = moduleOf(R"vb(
lbl表示.Caption = "表示名"
s = "Привет ΑΒΓ ＡＢＣ ｶﾅ カナ"
)vb");
    EXPECT_EQ(findAll(m, "表示", {true}), kMiss);
    EXPECT_EQ(findAll(m, "表示"), Hit(1, 4, 1, 6));
    EXPECT_EQ(findIn(m, "表示", 1, 5, -1, -1), Hit(1, 18, 1, 20));
    EXPECT_EQ(findAll(m, "lbl表示", {true}), Hit(1, 1, 1, 6));
    EXPECT_EQ(findAll(m, "привет", {true}), Hit(2, 6, 2, 12));
    EXPECT_EQ(findAll(m, "привет", {false, true}), kMiss);
    EXPECT_EQ(findAll(m, "αβγ"), Hit(2, 13, 2, 16));
    EXPECT_EQ(findAll(m, "ａｂｃ"), Hit(2, 17, 2, 20));
    EXPECT_EQ(findAll(m, "abc"), kMiss); // no width folding
    EXPECT_EQ(findAll(m, "ｶﾅ"), Hit(2, 21, 2, 23));
    EXPECT_EQ(findAll(m, "かな"), kMiss); // no kana folding
    EXPECT_EQ(findAll(m, "ｶﾅ ｶﾅ"), kMiss);
    EXPECT_EQ(findAll(m, "[ア-ン]ナ", {false, false, true}), Hit(2, 24, 2, 26));
}

namespace {

/// A module shaped like real code: declarations, procedures, calls, comments, strings, some
/// Japanese, identifiers with underscores and digits, mixed case.
QStringList realisticModule(std::mt19937 &random, int lineCount)
{
    const QStringList words = {"Foo", "fooBar", "m_Foo", "Foo_Click", "Text1", "Caption", "i",
                               "lngCount", "strName", "表示", "名前", "cmdOK", "Value", "Value2",
                               "x", "X1", "Item", "Items", "frmMain", "Привет"};
    const QStringList templates = {
        "    Dim %1 As Long",
        "    %1 = %2 + 1",
        "    Call %1(%2, \"%3\")",
        "    ' %1 then %2_%3",
        "    If %1.%2 = %3 Then %2 = \"%1\": Exit Sub",
        "Private %1 As String, %2(1 To 10) As %3",
        "    Debug.Print %1; %2 & \" %3 \"",
        "    %1.%2.%3 = %1",
        "",
        "    For %1 = 1 To %2: Next",
    };
    QStringList lines{"Attribute VB_Name = \"Realistic\"", "Option Explicit"};
    while (lines.size() < lineCount) {
        if (random() % 20 == 0) {
            lines << QStringLiteral("Public Sub %1_Proc%2()").arg(words[random() % words.size()]).arg(lines.size());
            continue;
        }
        if (random() % 25 == 0) {
            lines << "End Sub";
            continue;
        }
        QString line = templates[random() % templates.size()];
        for (int k = 1; k <= 3; ++k) {
            QString w = words[random() % words.size()];
            if (random() % 4 == 0)
                w = w.toUpper();
            line.replace(QStringLiteral("%%1").arg(k), w);
        }
        lines << line;
    }
    return lines;
}

} // namespace

TEST(FindAgainstScan, EveryStorageFormOfLines)
{
    const ModuleCode m(code_test::boundaryLines(), 1);
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
    size_t hits = 0;
    for (const QString &target : std::as_const(targets)) {
        for (const Options o : {Options{}, Options{true}, Options{false, true}, Options{true, true},
                                Options{false, false, true}, Options{true, false, true}}) {
            const std::vector<Hit> indexed = everyHit(m, target, o);
            ASSERT_EQ(indexed, everyHit(m, target, o, false)) << target.toStdString();
            hits += indexed.size();
        }
    }
    EXPECT_GT(hits, 2000u);

    // Folding meets ASCII lines from outside ASCII; matching case, nothing does.
    const Hit kelvin = findAll(m, QStringLiteral("\u212Aelvin"));
    ASSERT_NE(kelvin, kMiss);
    EXPECT_EQ(m.line(std::get<0>(kelvin)).mid(std::get<1>(kelvin) - 1, 6), QStringLiteral("Kelvin"));
    EXPECT_EQ(findAll(m, QStringLiteral("\u212Aelvin"), {false, true}), kMiss);
}

TEST(FindAgainstScan, RandomTargetsOptionsAndRanges)
{
    std::mt19937 random(12345);
    const QStringList source = realisticModule(random, 400);
    const ModuleCode m(source, 1);
    const int n = m.countOfLines();
    const QStringList patterns = {"Foo*", "*_Click", "[a-f]oo", "[!a-z]#", "?alue#", "F?o",
                                  "表?", "*", "m_*o", "X#", "[xy]1", "\"*\""};
    int found = 0;
    for (int round = 0; round < 20000; ++round) {
        const int choice = int(random() % 6);
        Options o;
        o.wholeWord = random() % 2;
        o.pattern = choice == 5;
        o.matchCase = !o.pattern && random() % 3 == 0;
        QString target;
        if (o.pattern) {
            target = patterns[random() % patterns.size()];
        } else {
            const QString &line = m.line(1 + int(random() % n));
            if (line.isEmpty())
                continue;
            const int from = int(random() % line.size());
            target = line.mid(from, 1 + int(random() % 12));
            if (choice == 1)
                target = target.toUpper();
            else if (choice == 2)
                target = target.toLower();
            else if (choice == 3)
                target += QChar(u'q');
        }
        int sl = int(random() % (n + 3)) - 1, sc = int(random() % 40);
        int el = random() % 3 == 0 ? -1 : sl + int(random() % 50), ec = random() % 2 ? -1 : int(random() % 50);
        if (random() % 3 == 0) {
            sl = 1, sc = 1, el = -1, ec = -1;
        }
        int a = sl, b = sc, c = el, d = ec;
        int a2 = sl, b2 = sc, c2 = el, d2 = ec;
        const bool hit = m.find(target, a, b, c, d, o.wholeWord, o.matchCase, o.pattern);
        const bool hit2 = m.findByScan(target, a2, b2, c2, d2, o.wholeWord, o.matchCase, o.pattern);
        ASSERT_EQ(hit, hit2) << target.toStdString() << " " << sl << "," << sc << "," << el << ","
                             << ec << " ww=" << o.wholeWord << " mc=" << o.matchCase;
        ASSERT_EQ(std::tie(a, b, c, d), std::tie(a2, b2, c2, d2)) << target.toStdString();
        if (hit) {
            ++found;
            EXPECT_EQ(a, c);
            EXPECT_EQ(m.line(a).mid(b - 1, d - b).size(), d - b);
            if (!o.pattern)
                EXPECT_EQ(d - b, target.size());
        } else {
            EXPECT_EQ(std::tie(a, b, c, d), std::tie(sl, sc, el, ec));
        }
    }
    EXPECT_GT(found, 5000); // the comparison covered hits, not only misses
}

TEST(FindAgainstScan, EveryHitLoopOfEveryWord)
{
    std::mt19937 random(99);
    const ModuleCode m(realisticModule(random, 300), 1);
    for (const char *word : {"Foo", "foo", "VALUE", "表示", "x", "\"", "m_", "Text1.Caption",
                             "Value2 ", ".Item"}) {
        for (const Options o : {Options{false, false}, Options{true, false}, Options{true, true},
                                Options{false, true}}) {
            const std::vector<Hit> indexed = everyHit(m, QString::fromUtf8(word), o);
            EXPECT_EQ(indexed, everyHit(m, QString::fromUtf8(word), o, false)) << word;
            if (!o.matchCase && std::strchr(word, '.') == nullptr)
                EXPECT_FALSE(indexed.empty()) << word;
        }
    }
}

TEST(FindAgainstScan, InsideTokensLineAfterLineAndInCopies)
{
    // The call search's loop: a name inside longer tokens, from the line after each hit; a copy
    // of a module that has searched must not reuse what the original found.
    const ModuleCode m = moduleOf(R"vb(Sub A()
    x = FooBar + xFoo
    ' foo in a comment
    y = Foo(1): Foo_Click
    z = "unfoolish" & String$(70, "a") & aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaafoozzz
End Sub)vb");
    for (const QString &target : {QStringLiteral("foo"), QStringLiteral("Foo_C"), QStringLiteral("oBa"),
                                  QStringLiteral("aafoo"), QStringLiteral("nothere"), QStringLiteral("o")}) {
        for (bool pattern : {false, true}) {
            const Options o{false, false, pattern};
            std::vector<int> lines;
            for (int line = 1;;) {
                const Hit hit = findIn(m, target, line, 1, -1, -1, o);
                if (hit == kMiss)
                    break;
                lines.push_back(std::get<0>(hit));
                line = std::get<0>(hit) + 1;
            }
            const ModuleCode copy = m;
            int a = 2, b = 1, c = -1, d = -1;
            const bool found = copy.find(target, a, b, c, d, false, false, pattern);
            int a2 = 2, b2 = 1, c2 = -1, d2 = -1;
            EXPECT_EQ(found, copy.findByScan(target, a2, b2, c2, d2, false, false, pattern));
            EXPECT_EQ(std::tie(a, b, c, d), std::tie(a2, b2, c2, d2)) << target.toStdString();
            if (target == QLatin1String("foo"))
                EXPECT_EQ(lines, std::vector<int>({2, 3, 4, 5}));
        }
    }
}

TEST(FindAgainstScan, BeforeAndAfterTheModuleIsIndexed)
{
    // A module's first search scans its lines; the index is built for the second. Both must
    // answer as the scan does, and loading must not pay for the index.
    QStringList lines = code_test::boundaryLines();
    lines << code_test::splitCode(R"vb(Private Sub Form_Load()
    Call FooBar(ſtate, "Kelvin"): x_1 = Foo_1 + foo
    ' Foo in a comment, FOO_BAR
End Sub)vb");
    const ModuleCode cold(lines, 1);
    ModuleCode warm(lines, 1);
    const size_t before = warm.memoryUsage();
    for (const char *first : {"x", "Sub"}) {
        int a = 1, b = 1, c = -1, d = -1;
        warm.find(QString::fromUtf8(first), a, b, c, d);
    }
    EXPECT_GT(warm.memoryUsage(), before); // the index, built by the second search
    EXPECT_EQ(cold.memoryUsage(), before);
    const QStringList targets{QStringLiteral("foo"), QStringLiteral("FOO_BAR"), QStringLiteral("Foo_1"),
                              QStringLiteral("state"), QStringLiteral("\u212Aelvin"), QStringLiteral("Ab1"),
                              QStringLiteral("受注"), QStringLiteral("Sub"), QStringLiteral("x_1 = "),
                              QStringLiteral("nowhere"), QStringLiteral("F*o")};
    for (const QString &target : targets) {
        for (const Options o : {Options{}, Options{true}, Options{false, true}, Options{true, false, true}}) {
            const ModuleCode fresh = cold; // never searched
            const std::vector<Hit> scanned = everyHit(fresh, target, o, false);
            EXPECT_EQ(everyHit(fresh, target, o), scanned) << target.toStdString();
            EXPECT_EQ(everyHit(warm, target, o), scanned) << target.toStdString();
        }
    }
}

TEST(FindAgainstScan, UnindexedSearchOverRunsOfAsciiLines)
{
    // An unindexed search reads runs of ASCII lines a few kilobytes at a time: occurrences
    // across two lines, hits on the first and last line of a run, wide lines between runs and
    // ranges starting or ending inside a run must all come out as the scan has them.
    std::mt19937 random(17);
    QStringList lines;
    for (int k = 0; k < 900; ++k) {
        QString line;
        const int length = int(random() % 40);
        for (int j = 0; j < length; ++j)
            line += QChar(u"ab _AB.x"[random() % 8]);
        if (random() % 60 == 0)
            line += QStringLiteral("é"); // a wide line ends a run
        lines << line;
    }
    lines << QString(5000, u'a') + QStringLiteral("b"); // longer than a chunk
    const ModuleCode module(lines, 1);
    const QStringList targets{QStringLiteral("ab"), QStringLiteral("b a"), QStringLiteral("x.x"),
                              QStringLiteral("_"), QStringLiteral("aaab"), QStringLiteral("BAB"),
                              QStringLiteral("é"), QStringLiteral("zz")};
    // One copy searched all along: a search starting inside text an earlier one folded (a resumed
    // search, or any range) reads it from there.
    const ModuleCode reused = module;
    for (const QString &target : targets) {
        for (const Options o : {Options{}, Options{true}, Options{false, true}}) {
            const ModuleCode fresh = module;
            EXPECT_EQ(everyHit(fresh, target, o), everyHit(module, target, o, false)) << target.toStdString();
            EXPECT_EQ(everyHit(reused, target, o), everyHit(module, target, o, false)) << target.toStdString();
            for (int k = 0; k < 40; ++k) {
                const int startLine = 1 + int(random() % lines.size());
                const int startCol = 1 + int(random() % 20);
                const int endLine = std::min(int(lines.size()), startLine + int(random() % 300));
                const int endCol = random() % 3 == 0 ? -1 : int(random() % 30);
                const ModuleCode once = module;
                int a = startLine, b = startCol, c = endLine, d = endCol;
                int a2 = startLine, b2 = startCol, c2 = endLine, d2 = endCol;
                const bool found = once.find(target, a, b, c, d, o.wholeWord, o.matchCase, o.pattern);
                EXPECT_EQ(found, module.findByScan(target, a2, b2, c2, d2, o.wholeWord, o.matchCase, o.pattern));
                EXPECT_EQ(std::tie(a, b, c, d), std::tie(a2, b2, c2, d2)) << target.toStdString() << " " << k;
                int a3 = startLine, b3 = startCol, c3 = endLine, d3 = endCol;
                EXPECT_EQ(reused.find(target, a3, b3, c3, d3, o.wholeWord, o.matchCase, o.pattern), found);
                EXPECT_EQ(std::tie(a3, b3, c3, d3), std::tie(a2, b2, c2, d2)) << target.toStdString() << " " << k;
            }
        }
    }
}
