#include "code_fixture.h"
#include "ide/code/vb_lexer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ide::code;

namespace {

/// Feeds the lines as one logical line; returns "kind:text" per token and the continue flags.
std::pair<QStringList, std::vector<bool>> lex(const QStringList &lines)
{
    LogicalLineLexer lexer;
    std::vector<bool> continues;
    for (int k = 0; k < lines.size(); ++k)
        continues.push_back(lexer.feed(lines[k], k));
    QStringList tokens;
    static const char *const kinds[] = {"w", "n", "s", "p", ":"};
    for (const Token &t : lexer.tokens())
        tokens << QString::fromLatin1(kinds[int(t.kind)]) + u':'
                      + QStringView(lines[t.line]).sliced(t.start, t.length).toString();
    return {tokens, continues};
}

} // namespace

TEST(VbLexer, TokensAndContinuations)
{
    struct Case {
        QStringList lines;
        QStringList tokens;
        std::vector<bool> continues;
    };
    const Case cases[] = {
        {{"Private Sub Foo(ByVal a As Long)"},
         {"w:Private", "w:Sub", "w:Foo", "p:(", "w:ByVal", "w:a", "w:As", "w:Long", "p:)"},
         {false}},
        {{"x = \"a \"\"b\"\" _\" _", "  & y$"},
         {"w:x", "p:=", "s:\"a \"\"b\"\" _\"", "p:&", "w:y$"},
         {true, false}},
        {{"s = \"open _"}, {"w:s", "p:=", "s:\"open _"}, {false}},
        {{"a: b := 1 ' c: d _", "still comment"}, {"w:a", ":::", "w:b", "p::=", "n:1"},
         {true, false}},
        {{"Rem x _", "y"}, {}, {true, false}},
        {{"Remark = 1: Rem x"}, {"w:Remark", "p:=", "n:1", ":::"}, {false}},
        {{"x_ = [Odd Name] + 1.5E3 + &H1F"},
         {"w:x_", "p:=", "w:Odd Name", "p:+", "n:1.5E3", "p:+", "p:&", "w:H1F"},
         {false}},
        {{"#If VBA7 Then"}, {"p:#", "w:If", "w:VBA7", "w:Then"}, {false}},
        {{"rs!Field = Left$(s, 1) & n%"},
         {"w:rs", "p:!", "w:Field", "p:=", "w:Left$", "p:(", "w:s", "p:,", "n:1", "p:)", "p:&",
          "w:n%"},
         {false}},
        {{"Dim 表示　As String"}, {"w:Dim", "w:表示", "w:As", "w:String"}, {false}},
        {{"_", "x"}, {"w:x"}, {true, false}},
        {{"a _ b"}, {"w:a", "w:_", "w:b"}, {false}},
        {{"a [b"}, {"w:a", "p:[", "w:b"}, {false}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.lines.join(u'|').toStdString());
        const auto [tokens, continues] = lex(c.lines);
        EXPECT_EQ(tokens, c.tokens);
        EXPECT_EQ(continues, c.continues);
    }
}

namespace {

/// Tokens and continue flags as "kind line start length" strings, for comparing two feeds.
std::vector<std::string> describe(const LogicalLineLexer &lexer, const std::vector<bool> &continues)
{
    std::vector<std::string> out;
    for (const Token &t : lexer.tokens())
        out.push_back(std::to_string(int(t.kind)) + ' ' + std::to_string(t.line) + ' '
                      + std::to_string(t.start) + ' ' + std::to_string(t.length));
    for (bool c : continues)
        out.push_back(c ? "+" : "-");
    return out;
}

} // namespace

TEST(VbLexer, OneByteLinesLexLikeTheirUtf16)
{
    // Byte lines are read sixteen units at a time and UTF-16 ones eight: every special
    // character, word end and final ` _` is moved across those boundaries by the indent.
    const QStringList bodies = {
        QStringLiteral("Private Sub Foo(ByVal a As Long)"),
        QStringLiteral("x = \"a \"\"b\"\" _\" _"),
        QStringLiteral("s = \"open _"),
        QStringLiteral("a: b := 1 ' c: d _"),
        QStringLiteral("Rem x _"),
        QStringLiteral("REM"),
        QStringLiteral("Remark = 1: Rem x"),
        QStringLiteral("x_ = [Odd Name] + 1.5E3 + &H1F [open"),
        QStringLiteral("rs!Field = Left$(s, 1) & n% & averyveryverylongidentifier_with_digits0123456789$"),
        QStringLiteral("End Sub: Property Get Value() As Variant: Dim q#"),
        QStringLiteral("_"),
        QStringLiteral("a _ b _"),
        QStringLiteral("caf\u00e9 = na\u00efve\u00a0+ \u00ff\u00e0: y = 1 _"),
        QStringLiteral("x = 1 \t_\t"),
    };
    for (const QString &body : bodies) {
        for (int indent = 0; indent <= 33; ++indent) {
            const QString line = QString(indent, u' ') + body;
            const QByteArray bytes = line.toLatin1();
            ASSERT_EQ(QString::fromLatin1(bytes), line);
            for (int limit : {0, 1, 4}) {
                SCOPED_TRACE(QStringLiteral("%1 / limit %2").arg(line).arg(limit).toStdString());
                // The line twice, so that its continuation and comment state carry to the next.
                LogicalLineLexer wide, narrow;
                wide.setStatementLimit(limit);
                narrow.setStatementLimit(limit);
                std::vector<bool> wideContinues, narrowContinues;
                for (int k = 0; k < 2; ++k) {
                    wideContinues.push_back(wide.feed(QStringView(line), k));
                    narrowContinues.push_back(narrow.feed(QLatin1StringView(bytes), k));
                }
                EXPECT_EQ(describe(narrow, narrowContinues), describe(wide, wideContinues));
            }
        }
    }
}
