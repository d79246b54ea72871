#include "ide/code/vb_lexer.h"

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ide::code {

namespace {
bool isTypeSuffix(char16_t c)
{
    return c == u'$' || c == u'%' || c == u'&' || c == u'!' || c == u'#' || c == u'@';
}

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

/// The first unit at or after `i` that can hide or end a statement (`'`, `"`, `:`, `[`, or a
/// line-continuing `_` at `lastCode`), or `n`.
qsizetype specialAt(const char16_t *p, qsizetype i, qsizetype n, qsizetype lastCode)
{
    auto continuation = [&](qsizetype j) {
        return j == lastCode && p[j] == u'_' && (j == 0 || isCodeSpace(p[j - 1]));
    };
#if defined(__SSE2__)
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        const __m128i hit = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi16(v, _mm_set1_epi16('\'')), _mm_cmpeq_epi16(v, _mm_set1_epi16('"'))),
            _mm_or_si128(_mm_cmpeq_epi16(v, _mm_set1_epi16(':')), _mm_cmpeq_epi16(v, _mm_set1_epi16('['))));
        const unsigned mask = unsigned(_mm_movemask_epi8(_mm_packs_epi16(hit, _mm_setzero_si128()))) & 0xFFu;
        if (mask != 0) {
            const qsizetype at = i + std::countr_zero(mask);
            return lastCode >= i && lastCode < at && continuation(lastCode) ? lastCode : at;
        }
        if (lastCode >= i && lastCode < i + 8 && continuation(lastCode))
            return lastCode;
    }
#endif
    for (; i < n; ++i) {
        const char16_t c = p[i];
        if (c == u'\'' || c == u'"' || c == u':' || c == u'[' || continuation(i))
            return i;
    }
    return n;
}

/// The first unit at or after `j` that is not an identifier character, or `n`.
qsizetype identEnd(const char16_t *p, qsizetype j, qsizetype n)
{
#if defined(__SSE2__)
    // Eight units at a time: identifiers are most of the text the lexer walks through.
    const __m128i zero = _mm_setzero_si128();
    auto within = [](__m128i x, char lo, char hi) {
        return _mm_and_si128(_mm_cmpgt_epi16(x, _mm_set1_epi16(short(lo - 1))),
                             _mm_cmplt_epi16(x, _mm_set1_epi16(short(hi + 1))));
    };
    for (; j + 8 <= n; j += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + j));
        const __m128i ascii = _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(short(0xFF80))), zero);
        const __m128i asciiIdent =
            _mm_or_si128(_mm_or_si128(within(_mm_or_si128(v, _mm_set1_epi16(0x20)), 'a', 'z'),
                                      within(v, '0', '9')),
                         _mm_cmpeq_epi16(v, _mm_set1_epi16('_')));
        const __m128i other = _mm_or_si128(ascii, _mm_cmpeq_epi16(v, _mm_set1_epi16(0x3000)));
        const __m128i ident = _mm_or_si128(_mm_and_si128(ascii, asciiIdent),
                                           _mm_andnot_si128(other, _mm_set1_epi16(-1)));
        const unsigned mask = unsigned(_mm_movemask_epi8(_mm_packs_epi16(ident, zero))) & 0xFFu;
        if (mask != 0xFFu)
            return j + std::countr_zero(~mask);
    }
#endif
    while (j < n && isIdentChar(p[j]))
        ++j;
    return j;
}

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
    m_statementTokens = 0;
}

bool LogicalLineLexer::skim(QStringView text, int lineIndex, qsizetype &i, qsizetype lastCode,
                            bool &noClosingBracket, bool &continues)
{
    // Only what can hide or end a statement matters here: strings, brackets, comments, `:`
    // and a final ` _`; none of them can sit inside a word or number.
    const qsizetype n = text.size();
    const char16_t *units = text.utf16();
    while (i < n) {
        i = specialAt(units, i, n, lastCode);
        if (i >= n)
            break;
        const char16_t c = units[i];
        if (c == u'\'') {
            m_inComment = true;
            continues = endsInContinuation(text, i + 1);
            return true;
        } else if (c == u'"') {
            qsizetype j = i + 1;
            bool closed = false;
            while (j < n) {
                if (units[j] != u'"') {
                    ++j;
                } else if (j + 1 < n && units[j + 1] == u'"') {
                    j += 2;
                } else {
                    ++j;
                    closed = true;
                    break;
                }
            }
            if (!closed) {
                continues = false;
                return true;
            }
            i = j;
        } else if (c == u':') {
            if (i + 1 < n && units[i + 1] == u'=') {
                i += 2;
            } else {
                m_tokens.push_back({TokenKind::Separator, lineIndex, int(i), 1});
                m_statementStart = true;
                m_statementTokens = 0;
                ++i;
                return false;
            }
        } else if (c == u'[') {
            const qsizetype close = noClosingBracket ? -1 : text.indexOf(u']', i + 1);
            if (close < 0) {
                noClosingBracket = true;
                ++i;
            } else {
                i = close + 1;
            }
        } else {
            continues = true; // specialAt stops at `_` only where it continues the line
            return true;
        }
    }
    continues = false;
    return true;
}

bool LogicalLineLexer::feed(QStringView text, int lineIndex)
{
    if (m_inComment)
        return endsInContinuation(text, 0);
    const qsizetype n = text.size();
    const char16_t *units = text.utf16();
    qsizetype lastCode = n - 1;
    while (lastCode >= 0 && isCodeSpace(text[lastCode].unicode()))
        --lastCode;
    auto push = [&](TokenKind kind, qsizetype start, qsizetype length) {
        m_tokens.push_back({kind, lineIndex, int(start), int(length)});
        m_statementStart = kind == TokenKind::Separator;
        m_statementTokens = m_statementStart ? 0 : m_statementTokens + 1;
    };
    bool noClosingBracket = false;
    qsizetype i = 0;
    while (i < n) {
        if (m_limit > 0 && m_statementTokens >= m_limit) {
            bool continues = false;
            if (skim(text, lineIndex, i, lastCode, noClosingBracket, continues))
                return continues;
            continue;
        }
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
            qsizetype j = identEnd(units, i + 1, n);
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
