#include "ide/code/vb_lexer.h"

namespace ide::code {

namespace {
bool isTypeSuffix(char16_t c)
{
    return c == u'$' || c == u'%' || c == u'&' || c == u'!' || c == u'#' || c == u'@';
}

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

/// Whether `text` ends in whitespace (or the line start), `_`, optional whitespace, with the
/// underscore at or after `from`.
bool endsInContinuation(QStringView text, qsizetype from)
{
    qsizetype e = text.size();
    while (e > from && isCodeSpace(text[e - 1].unicode()))
        --e;
    if (e <= from || text[e - 1] != u'_')
        return false;
    const qsizetype underscore = e - 1;
    return underscore == 0 || isCodeSpace(text[underscore - 1].unicode());
}
} // namespace

void LogicalLineLexer::reset()
{
    m_tokens.clear();
    m_inComment = false;
    m_statementStart = true;
}

bool LogicalLineLexer::feed(QStringView text, int lineIndex)
{
    if (m_inComment)
        return endsInContinuation(text, 0);
    const qsizetype n = text.size();
    qsizetype lastCode = n - 1;
    while (lastCode >= 0 && isCodeSpace(text[lastCode].unicode()))
        --lastCode;
    auto push = [&](TokenKind kind, qsizetype start, qsizetype length) {
        m_tokens.push_back({kind, lineIndex, int(start), int(length)});
        m_statementStart = kind == TokenKind::Separator;
    };
    bool noClosingBracket = false;
    qsizetype i = 0;
    while (i < n) {
        const char16_t c = text[i].unicode();
        if (isCodeSpace(c)) {
            ++i;
        } else if (c == u'\'') {
            m_inComment = true;
            return endsInContinuation(text, i + 1);
        } else if (c == u'"') {
            qsizetype j = i + 1;
            bool closed = false;
            while (j < n) {
                if (text[j] != u'"') {
                    ++j;
                } else if (j + 1 < n && text[j + 1] == u'"') {
                    j += 2;
                } else {
                    ++j;
                    closed = true;
                    break;
                }
            }
            push(TokenKind::String, i, j - i);
            if (!closed)
                return false; // a `_` inside an open string does not continue the line
            i = j;
        } else if (c == u'_' && (i == 0 || isCodeSpace(text[i - 1].unicode()))
                   && i == lastCode) {
            return true;
        } else if (c == u':') {
            if (i + 1 < n && text[i + 1] == u'=') {
                push(TokenKind::Punct, i, 2);
                i += 2;
            } else {
                push(TokenKind::Separator, i, 1);
                ++i;
            }
        } else if (isDigit(c)) {
            qsizetype j = i + 1;
            while (j < n && (isIdentChar(text[j].unicode()) || text[j] == u'.'))
                ++j;
            if (j < n && isTypeSuffix(text[j].unicode()))
                ++j;
            push(TokenKind::Number, i, j - i);
            i = j;
        } else if (isIdentChar(c)) {
            qsizetype j = i + 1;
            while (j < n && isIdentChar(text[j].unicode()))
                ++j;
            if (m_statementStart && j - i == 3 && (j == n || isCodeSpace(text[j].unicode()))
                && isKeyword(text.sliced(i, 3), "rem")) {
                m_inComment = true;
                return endsInContinuation(text, j);
            }
            if (j < n && isTypeSuffix(text[j].unicode())
                && (j + 1 >= n || !isIdentChar(text[j + 1].unicode())))
                ++j;
            push(TokenKind::Word, i, j - i);
            i = j;
        } else if (c == u'[') {
            const qsizetype close = noClosingBracket ? -1 : text.indexOf(u']', i + 1);
            if (close < 0) {
                noClosingBracket = true; // later `[` would scan the rest of the line again
                push(TokenKind::Punct, i, 1);
                ++i;
            } else {
                push(TokenKind::Word, i + 1, close - i - 1);
                i = close + 1;
            }
        } else {
            push(TokenKind::Punct, i, 1);
            ++i;
        }
    }
    return false;
}

} // namespace ide::code
