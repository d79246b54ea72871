#pragma once
#include <QLatin1StringView>
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

/// ASCII case-insensitive comparison of a token's text with a lower-case keyword of `n`
/// characters. Inline so most calls end at the size test without strlen.
inline bool isKeyword(QStringView text, const char *lowerKeyword, size_t n)
{
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

/// The same over one-byte text.
inline bool isKeyword(QLatin1StringView text, const char *lowerKeyword, size_t n)
{
    if (size_t(text.size()) != n)
        return false;
    const char *p = text.data();
    for (size_t i = 0; i < n; ++i) {
        char c = p[i];
        if (c >= 'A' && c <= 'Z')
            c |= 0x20;
        if (c != lowerKeyword[i])
            return false;
    }
    return true;
}

/// The same with a NUL-terminated keyword.
inline bool isKeyword(QStringView text, const char *lowerKeyword)
{
    return isKeyword(text, lowerKeyword, std::char_traits<char>::length(lowerKeyword));
}

/// Feeds physical lines one at a time and collects the tokens of the current logical line.
/// Comments (`'`, `Rem`) end a statement's tokens; a comment ending in ` _` continues too.
class LogicalLineLexer {
public:
    /// Tokenizes one physical line; returns true when the logical line continues on the next.
    bool feed(QStringView text, int lineIndex);
    /// The same over a line of one-byte units (Latin-1, so ASCII lines as their bytes): the
    /// tokens and answer equal those of the line widened to UTF-16.
    bool feed(QLatin1StringView text, int lineIndex);
    /// Tokens of the logical line fed so far.
    const std::vector<Token> &tokens() const { return m_tokens; }
    /// Starts the next logical line.
    void reset();
    /// Keeps at most `limit` tokens of each statement from now on (0: all of them) and only
    /// looks for the statement's end after them. Separators, continuations and comments are
    /// found as without a limit.
    void setStatementLimit(int limit) { m_limit = limit; }
    int statementLimit() const { return m_limit; }

private:
    /// Past the kept tokens of a statement, from `i`: false after pushing its separator (`i`
    /// then follows it), true when the physical line ends first, `continues` telling whether
    /// the logical line goes on.
    template <class Unit>
    bool skim(const Unit *units, qsizetype n, int lineIndex, qsizetype &i, qsizetype lastCode,
              bool &noClosingBracket, bool &continues);
    template <class Unit>
    bool feedUnits(const Unit *units, qsizetype n, int lineIndex);

    std::vector<Token> m_tokens;
    bool m_inComment = false;
    bool m_statementStart = true;
    int m_limit = 0;
    int m_statementTokens = 0; // tokens kept of the current statement
};

} // namespace ide::code
