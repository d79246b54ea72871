#include "ide/files/encoding.h"

#include "test_printers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

using namespace ide::files;

namespace {

QByteArray bytes(const char *s) { return QByteArray(s); }
QString u(const char *utf8) { return QString::fromUtf8(utf8); }

struct DecodeCase {
    const char *what;
    QByteArray input;
    CodePage cp;
    QString expected;
    int invalid;
};

} // namespace

TEST(Decode, KnownBytesPerCodePage)
{
    const DecodeCase cases[] = {
        {"kanji with 0x5C trail", bytes("\x95\x5C\x8E\xA6"), CodePage::Cp932, u("表示"), 0},
        {"0x5C trails in a path", bytes("C:\\\x95\x5C\\\x83\x5C\x8F\x5C.frm"), CodePage::Cp932, u("C:\\表\\ソ十.frm"), 0},
        {"NEC row 13", bytes("\x87\x40\x87\x54"), CodePage::Cp932, u("①Ⅰ"), 0},
        {"IBM extensions", bytes("\xFA\x40\xFA\x5B\xED\x40"), CodePage::Cp932, u("ⅰ∵纊"), 0},
        {"half-width katakana", bytes("\xC0\xDE\xB2\xB1\xDB\xB8\xDE"), CodePage::Cp932, u("ﾀﾞｲｱﾛｸﾞ"), 0},
        {"cp932, not strict Shift_JIS", bytes("\x81\x5F\x81\x60\x81\x61\x81\x7C"), CodePage::Cp932, u("＼～∥－"), 0},
        {"ASCII backslash and tilde", bytes("\\~"), CodePage::Cp932, u("\\~"), 0},
        {"unassigned pair", bytes("a\x85\x40z"), CodePage::Cp932, u("a\uFFFDz"), 1},
        {"lead before a quote keeps the quote", bytes("\x81\"x\""), CodePage::Cp932, u("\uFFFD\"x\""), 1},
        {"lead before a line break", bytes("\x82\r\n"), CodePage::Cp932, u("\uFFFD\r\n"), 1},
        {"lead at the end", bytes("ab\x82"), CodePage::Cp932, u("ab\uFFFD"), 1},
        {"undefined single bytes", bytes("\x80\xA0\xFD\xFE\xFF"), CodePage::Cp932, u("\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"), 5},
        {"cp1252 punctuation", bytes("\x80\x92\x93\x94\x85"), CodePage::Cp1252, u("€’“”…"), 0},
        {"cp1252 unassigned bytes", bytes("\x81\x8D\x8F\x90\x9D"), CodePage::Cp1252, u("\u0081\u008D\u008F\u0090\u009D"), 0},
        {"cp1252 letters", bytes("Gr\xF6\xDF" "e"), CodePage::Cp1252, u("Größe"), 0},
        {"cp1251 word", bytes("\xCF\xF0\xE8\xE2\xE5\xF2"), CodePage::Cp1251, u("Привет"), 0},
        {"cp1251 unassigned byte", bytes("\x98\xA8\xB8"), CodePage::Cp1251, u("\u0098Ёё"), 0},
        {"utf-8 with BOM", bytes("\xEF\xBB\xBF\xE8\xA1\xA8"), CodePage::Utf8, u("表"), 0},
        {"utf-8 invalid byte", bytes("a\xFFz"), CodePage::Utf8, u("a\uFFFDz"), 1},
        {"utf-8 literal U+FFFD is no error", bytes("\xEF\xBF\xBD"), CodePage::Utf8, u("\uFFFD"), 0},
    };
    for (const DecodeCase &c : cases) {
        int invalid = -1;
        EXPECT_EQ(decode(c.input, c.cp, &invalid), c.expected) << c.what;
        EXPECT_EQ(invalid, c.invalid) << c.what;
    }
}

TEST(Decode, AsciiIsIdenticalInEveryCodePage)
{
    QByteArray text;
    for (int i = 0; i < 2000; ++i)
        text += "Private Sub Command1_Click()\r\n\tMsgBox \"x\\y~\" & Chr$(0)\r\nEnd Sub\r\n";
    text.append('\0').append('\x1A');
    const QString expected = QString::fromLatin1(text);
    for (CodePage cp : {CodePage::Cp932, CodePage::Cp1252, CodePage::Cp1251, CodePage::Utf8, CodePage::Auto}) {
        int invalid = -1;
        EXPECT_EQ(decode(text, cp, &invalid), expected) << codePageName(cp).toStdString();
        EXPECT_EQ(invalid, 0);
    }
}

TEST(Decode, MixedJapaneseAndAsciiLines)
{
    // ASCII runs between double-byte characters must not lose or shift anything.
    const QString text = u("' 表示する\r\nCaption = \"ﾌｧｲﾙ(&F)\" ' ①\r\nx = \"\\\"\r\n");
    const QByteArray encoded = encode(text, CodePage::Cp932);
    int invalid = -1;
    EXPECT_EQ(decode(encoded, CodePage::Cp932, &invalid), text);
    EXPECT_EQ(invalid, 0);
}

TEST(Encode, ChoosesWindowsBytesAndReplacesTheRest)
{
    struct Case {
        QString text;
        CodePage cp;
        QByteArray expected;
    } cases[] = {
        {u("表示①ｱ\\~"), CodePage::Cp932, bytes("\x95\x5C\x8E\xA6\x87\x40\xB1\\~")},
        {u("￢∵"), CodePage::Cp932, bytes("\x81\xCA\x81\xE6")},       // JIS X 0208 over NEC and IBM rows
        {u("¬"), CodePage::Cp932, bytes("?")},                       // U+00AC: no best fit
        {u("ⅰ纊"), CodePage::Cp932, bytes("\xFA\x40\xFA\x5C")},      // IBM rows over NEC-selected ED/EE
        {u("Ⅰ"), CodePage::Cp932, bytes("\x87\x54")},                // NEC row 13 over IBM
        {u("é"), CodePage::Cp932, bytes("?")},
        {u("€\u0081é日"), CodePage::Cp1252, bytes("\x80\x81\xE9?")},
        {u("Привет€"), CodePage::Cp1251, bytes("\xCF\xF0\xE8\xE2\xE5\xF2\x88")},
        {u("a😀b"), CodePage::Cp1252, bytes("a?b")},                  // one code point, one '?'
        {u("表"), CodePage::Utf8, bytes("\xE8\xA1\xA8")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(encode(c.text, c.cp), c.expected) << c.text.toStdString();
}

TEST(Encode, RoundTripsEverySingleByte)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    for (CodePage cp : {CodePage::Cp1252, CodePage::Cp1251})
        EXPECT_EQ(encode(decode(all, cp), cp), all) << codePageName(cp).toStdString();
}

TEST(CodePageNames, LabelsAndNames)
{
    const std::pair<const char *, std::optional<CodePage>> cases[] = {
        {"cp932", CodePage::Cp932},        {"Shift_JIS", CodePage::Cp932},   {"SJIS", CodePage::Cp932},
        {"windows-31j", CodePage::Cp932},  {"MS932", CodePage::Cp932},       {"cp1252", CodePage::Cp1252},
        {"Windows-1252", CodePage::Cp1252}, {"latin1", CodePage::Cp1252},    {"ISO-8859-1", CodePage::Cp1252},
        {"CP1251", CodePage::Cp1251},      {"windows-1251", CodePage::Cp1251}, {"utf-8", CodePage::Utf8},
        {"UTF8", CodePage::Utf8},          {" auto ", CodePage::Auto},       {"euc-jp", std::nullopt},
        {"", std::nullopt},                {"cp93", std::nullopt},
    };
    for (const auto &[label, expected] : cases)
        EXPECT_EQ(codePageFromName(QString::fromLatin1(label)), expected) << label;
    for (CodePage cp : {CodePage::Auto, CodePage::Cp932, CodePage::Cp1252, CodePage::Cp1251, CodePage::Utf8})
        EXPECT_EQ(codePageFromName(codePageName(cp)), cp);
    EXPECT_EQ(codePageName(CodePage::Cp932), QStringLiteral("cp932"));
}

namespace {

QByteArray sjis(const char *utf8) { return encode(QString::fromUtf8(utf8), CodePage::Cp932); }

const char JapaneseForm[] =
    "VERSION 5.00\r\n"
    "Begin VB.Form Form1\r\n"
    "   BorderStyle     =   3  '固定ﾀﾞｲｱﾛｸﾞ\r\n"
    "   Caption         =   \"計算の表示\"\r\n"
    "End\r\n"
    "Attribute VB_Name = \"Form1\"\r\n"
    "' ボタンを押すと結果を表示する。\r\n"
    "Private Sub Command1_Click()\r\n"
    "    MsgBox \"入力してください\" ' ①\r\n"
    "End Sub\r\n";

} // namespace

TEST(GuessCodePage, DecidesPerProjectWithAMargin)
{
    const QByteArray ascii = "Attribute VB_Name = \"Module1\"\r\nOption Explicit\r\n";
    const QByteArray vbpOneKanji = sjis("Type=Exe\r\nForm=計算.frm\r\n");
    const QByteArray japanese = sjis(JapaneseForm);
    const QByteArray utf8Japanese = QByteArray(JapaneseForm);
    const QByteArray western = encode(u("' Größe der Datei, numéro de série\r\n' Photoshop’s \"Ärger\" für Straße\r\n"
                                        "MsgBox \"Café – déjà vu\"\r\n"),
                                      CodePage::Cp1252);
    const QByteArray photoshop = "' Photoshop\x92s layers\r\n";
    const QByteArray russian = encode(u("' Открыть файл и прочитать данные\r\nMsgBox \"Ошибка: файл не найден\"\r\n"),
                                      CodePage::Cp1251);
    // From a real project (VbAsyncSocket): one Bulgarian comment among ASCII files.
    const QByteArray bulgarianUrl = encode(u("'    m_oRequest.Open_ \"GET\", \"http://localhost/ТоваПапка?Параметър1&Парам2#Анкор\"\r\n"),
                                           CodePage::Cp1251);

    struct Case {
        const char *what;
        std::vector<QByteArrayView> files;
        CodePage expected;
    } cases[] = {
        {"nothing", {}, CodePage::Cp1252},
        {"pure ASCII", {ascii, ascii}, CodePage::Cp1252},
        {"a .vbp with one kanji is no evidence", {vbpOneKanji}, CodePage::Cp1252},
        {"cp1252 apostrophe that is also a kanji", {photoshop}, CodePage::Cp1252},
        {"Japanese project", {vbpOneKanji, japanese, ascii}, CodePage::Cp932},
        {"Japanese form alone", {japanese}, CodePage::Cp932},
        {"Western project", {ascii, western}, CodePage::Cp1252},
        {"Russian project", {ascii, russian}, CodePage::Cp1251},
        {"one Bulgarian line among ASCII files", {ascii, bulgarianUrl, ascii}, CodePage::Cp1251},
        {"converted to UTF-8", {utf8Japanese, ascii}, CodePage::Utf8},
    };
    for (const Case &c : cases)
        EXPECT_EQ(codePageName(guessCodePage(c.files)), codePageName(c.expected)) << c.what;
}

TEST(GuessCodePage, AutoDecodeUsesTheGuess)
{
    const QByteArray japanese = sjis(JapaneseForm);
    EXPECT_EQ(decode(japanese, CodePage::Auto), QString::fromUtf8(JapaneseForm));
}

TEST(GuessCodePage, GarbageDoesNotCrash)
{
    QByteArray garbage;
    quint32 x = 12345;
    for (int i = 0; i < 200000; ++i) {
        x = x * 1103515245 + 12345;
        garbage.append(char(x >> 16));
    }
    const CodePage cp = guessCodePage({garbage});
    EXPECT_NE(cp, CodePage::Auto);
    int invalid = 0;
    EXPECT_FALSE(decode(garbage, CodePage::Cp932, &invalid).isEmpty());
    EXPECT_GT(invalid, 0);
}

TEST(SplitLines, TerminatorsAndControlCharacters)
{
    const struct {
        QString text;
        QStringList expected;
    } cases[] = {
        {QString(), {}},
        {u("a"), {"a"}},
        {u("a\r\n"), {"a"}},
        {u("a\r\nb"), {"a", "b"}},
        {u("a\nb\n"), {"a", "b"}},
        {u("a\rb\r"), {"a", "b"}},
        {u("\r\n"), {""}},
        {u("\n\n"), {"", ""}},
        {u("a\r\n\r\nb\r\n"), {"a", "", "b"}},
        {u("a\n\r\nb\rc\r\n"), {"a", "", "b", "c"}},
        {u("a\r\r\nb"), {"a", "", "b"}},
        {u("a\n\rb"), {"a", "", "b"}},
        {QString::fromUtf8("x\0y\x1A\f\r\nz", 8), {QString::fromUtf8("x\0y\x1A\f", 5), "z"}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(splitLines(c.text), c.expected) << c.text.toStdString();
        EXPECT_EQ(splitText(c.text).toStringList(), c.expected) << c.text.toStdString();
    }
}

TEST(SplitLines, VeryLongLine)
{
    const QString longLine(500000, QLatin1Char('x'));
    const QStringList lines = splitLines(longLine + u("\r\nEnd Sub"));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].size(), 500000);
    EXPECT_EQ(lines[1], u("End Sub"));
}

namespace {

/// The buffer holds the lines back to back, nothing else, and its offsets rise to its end.
void expectWellFormed(const TextLines &t, const std::string &what)
{
    ASSERT_FALSE(t.starts.empty()) << what;
    EXPECT_EQ(t.starts.front(), 0u) << what;
    EXPECT_EQ(qsizetype(t.starts.back()), t.text.size()) << what;
    EXPECT_TRUE(std::is_sorted(t.starts.begin(), t.starts.end())) << what;
    QString joined;
    for (qsizetype k = 0; k < t.size(); ++k)
        joined += t[k];
    EXPECT_EQ(joined, t.text) << what;
}

void expectSameAsWholeText(const QByteArray &input, const std::string &what)
{
    for (CodePage cp : {CodePage::Cp932, CodePage::Cp1252, CodePage::Cp1251, CodePage::Utf8, CodePage::Auto}) {
        int invalidWhole = -1, invalidLines = -1;
        const QStringList expected = splitLines(decode(input, cp, &invalidWhole));
        const TextLines t = decodeText(input, cp, &invalidLines);
        const std::string where = what + " as " + codePageName(cp).toStdString();
        EXPECT_EQ(t.toStringList(), expected) << where;
        EXPECT_EQ(invalidLines, invalidWhole) << where;
        expectWellFormed(t, where);
        // The same lines with ASCII ones left as bytes: exactly those lines, and every other
        // line decoded as the whole text decodes it.
        int invalidMixed = -1;
        const MixedLines m = decodeMixed(input, cp, &invalidMixed);
        EXPECT_EQ(invalidMixed, invalidWhole) << where;
        ASSERT_EQ(m.size(), expected.size()) << where;
        for (qsizetype k = 0; k < m.size(); ++k) {
            bool ascii = true;
            for (QChar c : expected[k])
                ascii = ascii && c.unicode() < 0x80;
            EXPECT_EQ(m[k], expected[k]) << where << " line " << k;
            EXPECT_EQ(qsizetype(m.lines[size_t(k)].size), expected[k].size()) << where << " line " << k;
            if (m.lines[size_t(k)].ascii)
                EXPECT_EQ(QString(m.narrow(k)), expected[k]) << where << " line " << k;
            else if (ascii && (cp == CodePage::Auto ? guessCodePage({input}) : cp) != CodePage::Utf8)
                ADD_FAILURE() << where << " line " << k << " was decoded though it is ASCII";
        }
    }
}

} // namespace

// Module files decode into one buffer per file; every line and every count must be what
// decoding the whole text and splitting it gives.
TEST(DecodeText, SameLinesAsTheWholeTextDecoded)
{
    const struct {
        const char *what;
        QByteArray bytes;
    } cases[] = {
        {"empty", ""},
        {"no terminator", "a"},
        {"terminators of every kind", "a\r\nb\nc\rd\r\n\r\n\n\r"},
        {"only terminators", "\r\n\r\n"},
        // cp932 pairs whose trail byte is an ASCII letter or a backslash: one unit each.
        {"trail bytes that look like ASCII", "\x83\x41\x83\x5C\x95\x5C\x83\x6F=1\r\n\x82\xA0" "b"},
        {"half-width kana", "\xB6\xC5 \xDE\r\n"},
        {"lead byte before a terminator", "x\x83\r\ny\x83\nz\x83"},
        {"unmapped pair and stray bytes", "bad \x85\x40 \x80\xA0\xFD\xFE\xFF here\r\n"},
        {"UTF-8 with BOM", "\xEF\xBB\xBF\xE5\x8F\x97\xE6\xB3\xA8\r\nok"},
        {"invalid UTF-8 before a terminator", "\xE5\x8F\r\n\xC3"},
        {"NUL and control characters", QByteArray("x\0y\x1A\r\nz", 7)},
    };
    for (const auto &c : cases)
        expectSameAsWholeText(c.bytes, c.what);
}

TEST(DecodeText, LinesAtTheBlockBoundaries)
{
    // ASCII runs of the lengths 16-byte blocks meet, a byte past ASCII at each end, with CR LF
    // pairs split across blocks.
    QByteArray bytes;
    for (int length : {0, 1, 14, 15, 16, 17, 31, 32, 33}) {
        const QByteArray ascii(length, 'q');
        bytes += ascii + "\r\n" + ascii + "\x82\xA0\r\n\x82\xA0" + ascii + "\n" + ascii + "\xE9\r";
    }
    for (int shift = 0; shift < 17; ++shift)
        expectSameAsWholeText(QByteArray(shift, 'a') + bytes, "shifted by " + std::to_string(shift));
}

TEST(DecodeText, RandomBytes)
{
    std::mt19937 random(11);
    const char pool[] = {'a', 'Z', ' ', '\r', '\n', '\x81', '\x83', '\x41', '\x5C', '\xA0', '\xB6', '\xE5', '\x8F',
                         '\xBF', '\xEF', '\xFF', '\0'};
    for (int run = 0; run < 300; ++run) {
        QByteArray bytes;
        const int size = int(random() % 80);
        for (int k = 0; k < size; ++k)
            bytes += pool[random() % sizeof pool];
        expectSameAsWholeText(bytes, "run " + std::to_string(run));
    }
}

TEST(LengthOfLines, CountsEveryKindOfTerminator)
{
    // The count a byte at a time, as the cap is defined.
    auto reference = [](const QByteArray &b, qsizetype maxLines) {
        qsizetype lines = 0;
        for (qsizetype i = 0; i < b.size(); ++i) {
            if (b[i] != '\n' && b[i] != '\r')
                continue;
            if (b[i] == '\r' && i + 1 < b.size() && b[i + 1] == '\n')
                ++i;
            if (++lines == maxLines)
                return i + 1;
        }
        return b.size();
    };
    std::mt19937 random(5);
    const char pool[] = {'x', 'x', 'x', '\r', '\n'};
    for (int run = 0; run < 400; ++run) {
        QByteArray bytes;
        const int size = int(random() % 120);
        for (int k = 0; k < size; ++k)
            bytes += pool[random() % sizeof pool];
        for (qsizetype maxLines : {1, 2, 5, 17, 40})
            EXPECT_EQ(lengthOfLines(bytes, maxLines), reference(bytes, maxLines)) << run << " " << maxLines;
    }
    // A CR LF pair across a 16-byte block counts once.
    const QByteArray split = QByteArray(15, 'x') + "\r\n" + QByteArray(20, 'y') + "\r\n";
    EXPECT_EQ(lengthOfLines(split, 2), split.size());
    EXPECT_EQ(lengthOfLines(split, 1), 17);
}
