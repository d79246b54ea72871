#include "code_fixture.h"
#include "ide/code/vb_lexer.h"

#include <gtest/gtest.h>

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
