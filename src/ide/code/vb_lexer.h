#pragma once
#include <QStringView>
#include <string>
#include <vector>

/// Splits VB code into logical lines and tokens, just enough to find statements.
namespace ide::code {

enum class TokenKind : unsigned char {
    Word,      ///< identifier or keyword, type suffix included (`Left$`); `[x y]` gives `x y`
    Number,    ///< starts with a digit
    String,    ///< quotes included
    Punct,     ///< one character, or `:=`
    Separator, ///< the `:` between statements
};

struct Token {
    TokenKind kind;
    int line;   ///< index of the physical line passed to LogicalLineLexer::feed
    int start;  ///< 0-based column
    int length;
};

/// Whitespace inside code: space, tab, other control characters and the ideographic space.
inline bool isCodeSpace(char16_t c) { return c <= 0x20 || c == 0x3000; }

/// Identifier characters: ASCII letters, digits, `_`, and non-ASCII units except U+3000.
inline bool isIdentChar(char16_t c)
{
    if (c >= 0x80)
        return c != 0x3000;
    const char16_t lower = c | 0x20;
    return (lower >= u'a' && lower <= u'z') || (c >= u'0' && c <= u'9') || c == u'_';
}

/// ASCII case-insensitive comparison of a token's text with a lower-case keyword. Inline so a
/// literal's length is known at compile time and most calls end at the size test.
inline bool isKeyword(QStringView text, const char *lowerKeyword)
{
    const size_t n = std::char_traits<char>::length(lowerKeyword);
    if (size_t(text.size()) != n)
        return false;
    const QChar *p = text.data();
    for (size_t i = 0; i < n; ++i) {
        char16_t c = p[i].unicode();
        if (c >= u'A' && c <= u'Z')
            c |= 0x20;
        if (c != char16_t(static_cast<unsigned char>(lowerKeyword[i])))
            return false;
    }
    return true;
}

/// Feeds physical lines one at a time and collects the tokens of the current logical line.
/// Comments (`'`, `Rem`) end a statement's tokens; a comment ending in ` _` continues too.
class LogicalLineLexer {
public:
    /// Tokenizes one physical line; returns true when the logical line continues on the next.
    bool feed(QStringView text, int lineIndex);
    /// Tokens of the logical line fed so far.
    const std::vector<Token> &tokens() const { return m_tokens; }
    /// Starts the next logical line.
    void reset();

private:
    std::vector<Token> m_tokens;
    bool m_inComment = false;
    bool m_statementStart = true;
};

} // namespace ide::code
