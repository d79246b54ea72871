#include "ide/code/vb_lexer.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ide::code {

namespace {
/// A unit of either width as the UTF-16 unit it stands for.
inline char16_t unit(char c) { return char16_t(static_cast<unsigned char>(c)); }
inline char16_t unit(char16_t c) { return c; }

bool isTypeSuffix(char16_t c)
{
    return c == u'$' || c == u'%' || c == u'&' || c == u'!' || c == u'#' || c == u'@';
}

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

template <class Unit>
bool continuationAt(const Unit *p, qsizetype j, qsizetype lastCode)
{
    return j == lastCode && p[j] == Unit('_') && (j == 0 || isCodeSpace(unit(p[j - 1])));
}

/// After a block of `width` units at `i` whose special units are the bits of `mask`: the
/// first of them, or a line-continuing `_` before it; -1 when the block has neither.
template <class Unit>
qsizetype blockHit(const Unit *p, qsizetype i, int width, unsigned mask, qsizetype lastCode)
{
    const qsizetype at = mask != 0 ? i + std::countr_zero(mask) : i + width;
    if (lastCode >= i && lastCode < at && continuationAt(p, lastCode, lastCode))
        return lastCode;
    return mask != 0 ? at : -1;
}

/// specialAt() one unit at a time, for what the blocks leave.
template <class Unit>
qsizetype specialTail(const Unit *p, qsizetype i, qsizetype n, qsizetype lastCode)
{
    for (; i < n; ++i) {
        const char16_t c = unit(p[i]);
        if (c == u'\'' || c == u'"' || c == u':' || c == u'[' || continuationAt(p, i, lastCode))
            return i;
    }
    return n;
}

/// The first unit at or after `i` that can hide or end a statement (`'`, `"`, `:`, `[`, or a
/// line-continuing `_` at `lastCode`), or `n`.
qsizetype specialAt(const char16_t *p, qsizetype i, qsizetype n, qsizetype lastCode)
{
#if defined(__SSE2__)
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        const __m128i hit = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi16(v, _mm_set1_epi16('\'')), _mm_cmpeq_epi16(v, _mm_set1_epi16('"'))),
            _mm_or_si128(_mm_cmpeq_epi16(v, _mm_set1_epi16(':')), _mm_cmpeq_epi16(v, _mm_set1_epi16('['))));
        const unsigned mask = unsigned(_mm_movemask_epi8(_mm_packs_epi16(hit, _mm_setzero_si128()))) & 0xFFu;
        if (const qsizetype at = blockHit(p, i, 8, mask, lastCode); at >= 0)
            return at;
    }
#endif
    return specialTail(p, i, n, lastCode);
}

qsizetype specialAt(const char *p, qsizetype i, qsizetype n, qsizetype lastCode)
{
#if defined(__SSE2__)
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        const __m128i hit = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\'')), _mm_cmpeq_epi8(v, _mm_set1_epi8('"'))),
            _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(':')), _mm_cmpeq_epi8(v, _mm_set1_epi8('['))));
        if (const qsizetype at = blockHit(p, i, 16, unsigned(_mm_movemask_epi8(hit)), lastCode); at >= 0)
            return at;
    }
#endif
    return specialTail(p, i, n, lastCode);
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

qsizetype identEnd(const char *p, qsizetype j, qsizetype n)
{
#if defined(__SSE2__)
    // Sixteen bytes at a time; a byte of 0x80 or above stands for a non-ASCII unit, which is
    // an identifier character (U+3000 cannot be one byte).
    auto within = [](__m128i x, char lo, char hi) {
        return _mm_and_si128(_mm_cmpgt_epi8(x, _mm_set1_epi8(char(lo - 1))),
                             _mm_cmplt_epi8(x, _mm_set1_epi8(char(hi + 1))));
    };
    for (; j + 16 <= n; j += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + j));
        const __m128i ident =
            _mm_or_si128(_mm_or_si128(within(_mm_or_si128(v, _mm_set1_epi8(0x20)), 'a', 'z'),
                                      within(v, '0', '9')),
                         _mm_cmpeq_epi8(v, _mm_set1_epi8('_')));
        const unsigned mask = unsigned(_mm_movemask_epi8(ident) | _mm_movemask_epi8(v));
        if (mask != 0xFFFFu)
            return j + std::countr_zero(~mask);
    }
#endif
    while (j < n && isIdentChar(unit(p[j])))
        ++j;
    return j;
}

/// Whether units [0, n) end in whitespace (or the line start), `_`, optional whitespace, with
/// the underscore at or after `from`.
template <class Unit>
bool endsInContinuation(const Unit *p, qsizetype n, qsizetype from)
{
    qsizetype e = n;
    while (e > from && isCodeSpace(unit(p[e - 1])))
        --e;
    if (e <= from || p[e - 1] != Unit('_'))
        return false;
    const qsizetype underscore = e - 1;
    return underscore == 0 || isCodeSpace(unit(p[underscore - 1]));
}

/// The first `]` at or after `from`, or -1.
template <class Unit>
qsizetype closingBracket(const Unit *p, qsizetype from, qsizetype n)
{
    const Unit *at = std::find(p + from, p + n, Unit(']'));
    return at == p + n ? -1 : at - p;
}

template <class Unit>
bool isRem(const Unit *p)
{
    return (unit(p[0]) | 0x20) == u'r' && (unit(p[1]) | 0x20) == u'e' && (unit(p[2]) | 0x20) == u'm';
}
} // namespace

void LogicalLineLexer::reset()
{
    m_tokens.clear();
    m_inComment = false;
    m_statementStart = true;
    m_statementTokens = 0;
}

template <class Unit>
bool LogicalLineLexer::skim(const Unit *units, qsizetype n, int lineIndex, qsizetype &i,
                            qsizetype lastCode, bool &noClosingBracket, bool &continues)
{
    // Only what can hide or end a statement matters here: strings, brackets, comments, `:`
    // and a final ` _`; none of them can sit inside a word or number.
    while (i < n) {
        i = specialAt(units, i, n, lastCode);
        if (i >= n)
            break;
        const char16_t c = unit(units[i]);
        if (c == u'\'') {
            m_inComment = true;
            continues = endsInContinuation(units, n, i + 1);
            return true;
        } else if (c == u'"') {
            qsizetype j = i + 1;
            bool closed = false;
            while (j < n) {
                if (units[j] != Unit('"')) {
                    ++j;
                } else if (j + 1 < n && units[j + 1] == Unit('"')) {
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
            if (i + 1 < n && units[i + 1] == Unit('=')) {
                i += 2;
            } else {
                m_tokens.push_back({TokenKind::Separator, lineIndex, int(i), 1});
                m_statementStart = true;
                m_statementTokens = 0;
                ++i;
                return false;
            }
        } else if (c == u'[') {
            const qsizetype close = noClosingBracket ? -1 : closingBracket(units, i + 1, n);
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
    return feedUnits(text.utf16(), text.size(), lineIndex);
}

bool LogicalLineLexer::feed(QLatin1StringView text, int lineIndex)
{
    return feedUnits(text.data(), text.size(), lineIndex);
}

template <class Unit>
bool LogicalLineLexer::feedUnits(const Unit *units, qsizetype n, int lineIndex)
{
    if (m_inComment)
        return endsInContinuation(units, n, 0);
    qsizetype lastCode = n - 1;
    while (lastCode >= 0 && isCodeSpace(unit(units[lastCode])))
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
            if (skim(units, n, lineIndex, i, lastCode, noClosingBracket, continues))
                return continues;
            continue;
        }
        const char16_t c = unit(units[i]);
        if (isCodeSpace(c)) {
            ++i;
        } else if (c == u'\'') {
            m_inComment = true;
            return endsInContinuation(units, n, i + 1);
        } else if (c == u'"') {
            qsizetype j = i + 1;
            bool closed = false;
            while (j < n) {
                if (units[j] != Unit('"')) {
                    ++j;
                } else if (j + 1 < n && units[j + 1] == Unit('"')) {
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
        } else if (c == u'_' && (i == 0 || isCodeSpace(unit(units[i - 1]))) && i == lastCode) {
            return true;
        } else if (c == u':') {
            if (i + 1 < n && units[i + 1] == Unit('=')) {
                push(TokenKind::Punct, i, 2);
                i += 2;
            } else {
                push(TokenKind::Separator, i, 1);
                ++i;
            }
        } else if (isDigit(c)) {
            qsizetype j = i + 1;
            while (j < n && (isIdentChar(unit(units[j])) || units[j] == Unit('.')))
                ++j;
            if (j < n && isTypeSuffix(unit(units[j])))
                ++j;
            push(TokenKind::Number, i, j - i);
            i = j;
        } else if (isIdentChar(c)) {
            qsizetype j = identEnd(units, i + 1, n);
            if (m_statementStart && j - i == 3 && (j == n || isCodeSpace(unit(units[j])))
                && isRem(units + i)) {
                m_inComment = true;
                return endsInContinuation(units, n, j);
            }
            if (j < n && isTypeSuffix(unit(units[j]))
                && (j + 1 >= n || !isIdentChar(unit(units[j + 1]))))
                ++j;
            push(TokenKind::Word, i, j - i);
            i = j;
        } else if (c == u'[') {
            const qsizetype close = noClosingBracket ? -1 : closingBracket(units, i + 1, n);
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
