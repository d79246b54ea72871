#include "ide/files/encoding.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ide::files {

namespace {

constexpr char16_t Replacement = 0xFFFD;

bool isCp932Lead(uchar b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool isCp932Trail(uchar b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }
bool isHalfWidthKana(uchar b) { return b >= 0xA1 && b <= 0xDF; }
int leadIndex(uchar b) { return b <= 0x9F ? b - 0x81 : b - 0xE0 + 0x1F; }
constexpr int LeadCount = 0x1F + 0x1D;
constexpr int TrailCount = 0xFC - 0x40 + 1;

/// Tables taken once from ICU, so that invalid input is under our control (ICU reports it as
/// U+001A, which real text may contain) and the hot loop is a plain lookup.
struct Cp932Tables {
    std::array<std::array<char16_t, TrailCount>, LeadCount> pairs {};
    std::vector<quint16> fromUnicode; // 0 = unmapped (except U+0000)
};

const Cp932Tables &cp932Tables()
{
    static const Cp932Tables tables = [] {
        Cp932Tables t;
        for (auto &row : t.pairs)
            row.fill(Replacement);
        // One pair per line: '\n' is never a trail byte, so ICU resynchronises after each.
        QByteArray buffer;
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isCp932Lead(uchar(lead)))
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (trail == 0x7F)
                    continue;
                buffer.append(char(lead)).append(char(trail)).append('\n');
            }
        }
        QStringDecoder decoder("windows-31j");
        const QString text = decoder.isValid() ? decoder(buffer) : QString();
        const QStringList pieces = text.split(QLatin1Char('\n'));
        int k = 0;
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!isCp932Lead(uchar(lead)))
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (trail == 0x7F)
                    continue;
                if (k < pieces.size() && pieces[k].size() == 1) {
                    const char16_t c = pieces[k][0].unicode();
                    if (c != 0x1A && !QChar::isSurrogate(c))
                        t.pairs[leadIndex(uchar(lead))][trail - 0x40] = c;
                }
                ++k;
            }
        }
        t.fromUnicode.assign(0x10000, 0);
        for (int b = 1; b < 0x80; ++b)
            t.fromUnicode[b] = quint16(b);
        for (int b = 0xA1; b <= 0xDF; ++b)
            t.fromUnicode[0xFF61 + b - 0xA1] = quint16(b);
        // Windows encodes duplicates to the first of JIS X 0208, NEC row 13, IBM extensions,
        // and only then to the NEC-selected IBM rows ED/EE.
        for (int pass = 0; pass < 2; ++pass) {
            for (int lead = 0x81; lead <= 0xFC; ++lead) {
                if (!isCp932Lead(uchar(lead)) || ((lead == 0xED || lead == 0xEE) != (pass == 1)))
                    continue;
                for (int trail = 0x40; trail <= 0xFC; ++trail) {
                    const char16_t c = t.pairs[leadIndex(uchar(lead))][trail - 0x40];
                    if (c != Replacement && trail != 0x7F && t.fromUnicode[c] == 0)
                        t.fromUnicode[c] = quint16(lead << 8 | trail);
                }
            }
        }
        return t;
    }();
    return tables;
}

struct SingleByteTable {
    std::array<char16_t, 256> toUnicode {};
    std::vector<uchar> fromUnicode; // 0 = unmapped (except U+0000)
};

SingleByteTable makeSingleByteTable(const char *name)
{
    SingleByteTable t;
    QByteArray all(256, Qt::Uninitialized);
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    QStringDecoder decoder(name);
    const QString text = decoder.isValid() ? decoder(all) : QString();
    for (int b = 0; b < 256; ++b)
        t.toUnicode[b] = text.size() == 256 ? text[b].unicode() : char16_t(b); // Latin-1 fallback
    t.fromUnicode.assign(0x10000, 0);
    for (int b = 255; b >= 1; --b)
        t.fromUnicode[t.toUnicode[b]] = uchar(b);
    return t;
}

const SingleByteTable &cp1252Table()
{
    static const SingleByteTable t = makeSingleByteTable("windows-1252");
    return t;
}

const SingleByteTable &cp1251Table()
{
    static const SingleByteTable t = makeSingleByteTable("windows-1251");
    return t;
}

bool isAscii(QByteArrayView bytes)
{
    const char *p = bytes.data();
    qsizetype n = bytes.size();
    quint64 acc = 0;
    while (n >= 8) {
        quint64 w;
        std::memcpy(&w, p, 8);
        acc |= w;
        p += 8;
        n -= 8;
    }
    while (n-- > 0)
        acc |= uchar(*p++);
    return (acc & 0x8080808080808080ULL) == 0;
}

/// The first index at or after `i` holding a non-ASCII byte, or `n`.
qsizetype skipAscii(const uchar *p, qsizetype i, qsizetype n)
{
#if defined(__SSE2__)
    for (; i + 16 <= n; i += 16) {
        const int high = _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i)));
        if (high != 0)
            return i + std::countr_zero(unsigned(high));
    }
#endif
    while (i + 8 <= n) {
        quint64 w;
        std::memcpy(&w, p + i, 8);
        if (w & 0x8080808080808080ULL)
            break;
        i += 8;
    }
    while (i < n && p[i] < 0x80)
        ++i;
    return i;
}

/// Where the non-ASCII bytes of a text are, found once for all the scorers, which skip ASCII.
/// Text with too many runs (binary garbage) keeps none and is scanned by each scorer instead.
struct NonAsciiRuns {
    const uchar *bytes;
    qsizetype size;
    bool ascii = true;
    bool listed = true;
    std::vector<std::pair<qsizetype, qsizetype>> runs; // [begin, end) of each maximal run

    NonAsciiRuns(const uchar *p, qsizetype n) : bytes(p), size(n)
    {
        const size_t most = size_t(n / 256) + 16;
        for (qsizetype i = skipAscii(p, 0, n); i < n;) {
            ascii = false;
            if (runs.size() == most) {
                listed = false;
                std::vector<std::pair<qsizetype, qsizetype>>().swap(runs);
                return;
            }
            qsizetype j = i + 1;
            while (j < n && p[j] >= 0x80)
                ++j;
            runs.emplace_back(i, j);
            i = skipAscii(p, j, n);
        }
    }
};

/// skipAscii for one forward scan.
class AsciiSkipper {
public:
    explicit AsciiSkipper(const NonAsciiRuns &text) : m_text(text) {}
    qsizetype operator()(qsizetype i)
    {
        if (!m_text.listed)
            return skipAscii(m_text.bytes, i, m_text.size);
        const auto &runs = m_text.runs;
        while (m_run < runs.size() && runs[m_run].second <= i)
            ++m_run;
        return m_run < runs.size() ? std::max(i, runs[m_run].first) : std::max(i, m_text.size);
    }

private:
    const NonAsciiRuns &m_text;
    size_t m_run = 0;
};

QString decodeSingleByte(QByteArrayView bytes, const SingleByteTable &table)
{
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t *o = reinterpret_cast<char16_t *>(out.data());
    const uchar *p = reinterpret_cast<const uchar *>(bytes.data());
    for (qsizetype i = 0, n = bytes.size(); i < n; ++i)
        o[i] = table.toUnicode[p[i]];
    return out;
}

/// Decodes cp932 bytes into `o`, which has room for one unit a byte; returns the units written
/// and counts invalid sequences into `bad`.
qsizetype decodeCp932Into(const uchar *p, qsizetype n, char16_t *o, const Cp932Tables &t, int &bad)
{
    qsizetype i = 0, k = 0;
    while (i < n) {
        const uchar b = p[i];
        if (b < 0x80) {
            o[k++] = b;
            ++i;
        } else if (isHalfWidthKana(b)) {
            o[k++] = char16_t(0xFF61 + b - 0xA1);
            ++i;
        } else if (isCp932Lead(b) && i + 1 < n && isCp932Trail(p[i + 1])) {
            const char16_t c = t.pairs[leadIndex(b)][p[i + 1] - 0x40];
            bad += c == Replacement;
            o[k++] = c;
            i += 2;
        } else {
            // A lead byte before a non-trail byte (a quote, a line break) loses only itself.
            o[k++] = Replacement;
            ++bad;
            ++i;
        }
    }
    return k;
}

QString decodeCp932(QByteArrayView bytes, int *invalid)
{
    QString out(bytes.size(), Qt::Uninitialized);
    int bad = 0;
    out.truncate(decodeCp932Into(reinterpret_cast<const uchar *>(bytes.data()), bytes.size(),
                                 reinterpret_cast<char16_t *>(out.data()), cp932Tables(), bad));
    if (invalid)
        *invalid = bad;
    return out;
}

QString decodeUtf8(QByteArrayView bytes, int *invalid)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    if (isAscii(bytes)) {
        if (invalid)
            *invalid = 0;
        return QString::fromLatin1(bytes);
    }
    const QString out = QString::fromUtf8(bytes);
    if (invalid) {
        // Replacement characters that were already in the input are not errors.
        qsizetype literal = 0;
        for (qsizetype pos = 0; (pos = bytes.indexOf("\xEF\xBF\xBD", pos)) >= 0; pos += 3)
            ++literal;
        *invalid = int(out.count(QChar(Replacement)) - literal);
    }
    return out;
}

QString normalizedLabel(const QString &name)
{
    QString s;
    for (QChar c : name.trimmed())
        if (c != QLatin1Char('-') && c != QLatin1Char('_') && c != QLatin1Char(' '))
            s.append(c.toLower());
    return s;
}

// --- Evidence for guessing -------------------------------------------------------------

bool isAsciiLetter(int b) { return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'); }

long long scoreCp932(const uchar *p, const NonAsciiRuns &text, long long &invalid)
{
    const qsizetype n = text.size;
    AsciiSkipper skip(text);
    const Cp932Tables &t = cp932Tables();
    long long score = 0;
    qsizetype i = 0;
    bool prevJapanese = false; // previous character was a double-byte Japanese one
    while (i < n) {
        const uchar b = p[i];
        if (b < 0x80) {
            prevJapanese = false;
            i = skip(i + 1);
        } else if (isHalfWidthKana(b)) {
            qsizetype j = i;
            while (j < n && isHalfWidthKana(p[j]))
                ++j;
            const qsizetype run = j - i;
            const bool nextJapanese = j + 1 < n && isCp932Lead(p[j]) && isCp932Trail(p[j + 1]);
            score += run >= 2 ? run : (prevJapanese || nextJapanese) ? 1 : -1;
            prevJapanese = false;
            i = j;
        } else if (isCp932Lead(b) && i + 1 < n && isCp932Trail(p[i + 1])) {
            const char16_t c = t.pairs[leadIndex(b)][p[i + 1] - 0x40];
            int s;
            if (c >= 0x3040 && c <= 0x30FF)
                s = 3;
            else if (c >= 0x4E00 && c <= 0x9FFF)
                s = (b >= 0x88 && b <= 0x98) ? 2 : 1; // level-1 kanji are the common ones
            else if ((c >= 0x3000 && c <= 0x303F) || (c >= 0xFF01 && c <= 0xFF5E)
                     || (c >= 0xFFE0 && c <= 0xFFE5))
                s = 2;
            else if (c == Replacement) {
                s = -5;
                ++invalid;
            }
            else if (c >= 0xE000 && c <= 0xF8FF)
                s = -3;
            else if ((c >= 0x0391 && c <= 0x03C9) || (c >= 0x0401 && c <= 0x0451))
                s = 0;
            else
                s = 1;
            score += s;
            prevJapanese = s > 0;
            i += 2;
        } else {
            score -= 5;
            ++invalid;
            prevJapanese = false;
            ++i;
        }
    }
    return score;
}

bool isCp1252Undefined(uchar b) { return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D; }
bool isCp1252Letter(uchar b)
{
    return (b >= 0xC0 && b != 0xD7 && b != 0xF7) || b == 0x8A || b == 0x8C || b == 0x8E || b == 0x9A
        || b == 0x9C || b == 0x9E || b == 0x9F;
}

long long scoreCp1252(const uchar *p, const NonAsciiRuns &text)
{
    const qsizetype n = text.size;
    AsciiSkipper skip(text);
    long long score = 0;
    qsizetype i = 0;
    while (i < n) {
        if (p[i] < 0x80) {
            i = skip(i + 1);
            continue;
        }
        qsizetype j = i;
        while (j < n && p[j] >= 0x80)
            ++j;
        const qsizetype run = j - i;
        const bool touchesLetter = (i > 0 && isAsciiLetter(p[i - 1])) || (j < n && isAsciiLetter(p[j]));
        const bool betweenLetters = i > 0 && isAsciiLetter(p[i - 1]) && j < n && isAsciiLetter(p[j]);
        for (qsizetype k = i; k < j; ++k) {
            const uchar b = p[k];
            if (isCp1252Undefined(b))
                score -= 5;
            else if (run >= 3) // Western text seldom has three non-ASCII characters in a row
                score -= 1;
            else if (isCp1252Letter(b))
                score += touchesLetter ? 2 : 1;
            else
                score += (b == 0x92 && betweenLetters) ? 2 : 1; // Photoshop’s
        }
        i = j;
    }
    return score;
}

bool isCp1251Letter(uchar b)
{
    return b >= 0xC0 || b == 0xA8 || b == 0xB8 || b == 0xA1 || b == 0xA2 || b == 0xAA || b == 0xBA
        || b == 0xAF || b == 0xBF || b == 0xB2 || b == 0xB3 || b == 0xA5 || b == 0xB4;
}
bool isCp1251Lower(uchar b)
{
    return b >= 0xE0 || b == 0xB8 || b == 0xA2 || b == 0xBA || b == 0xBF || b == 0xB3 || b == 0xB4;
}

long long scoreCp1251(const uchar *p, const NonAsciiRuns &text)
{
    const qsizetype n = text.size;
    AsciiSkipper skip(text);
    long long score = 0;
    qsizetype i = 0;
    while (i < n) {
        const uchar b = p[i];
        if (b < 0x80) {
            i = skip(i + 1);
            continue;
        }
        if (!isCp1251Letter(b)) {
            if (b == 0x98)
                score -= 5;
            ++i;
            continue;
        }
        qsizetype j = i;
        int lower = 0;
        while (j < n && isCp1251Letter(p[j]))
            lower += isCp1251Lower(p[j++]);
        const qsizetype run = j - i;
        const int upper = int(run) - lower;
        const int before = i > 0 ? p[i - 1] : ' ';
        const int after = j < n ? p[j] : ' ';
        if (isAsciiLetter(before) || isAsciiLetter(after))
            score -= run; // Cyrillic letters glued to Latin ones: accents of a Western word
        else if (run >= 2)
            score += lower > 0 ? 2 * lower + upper : 0; // all capitals: half-width kana look so
        else if (lower == 1 && before < 0x80 && after < 0x80)
            score += 1; // one-letter words: и, в, с
        i = j;
    }
    return score;
}

long long scoreUtf8(const uchar *p, const NonAsciiRuns &text, long long &invalid)
{
    const qsizetype n = text.size;
    AsciiSkipper skip(text);
    long long score = 0;
    qsizetype i = 0;
    if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
        score += 10;
        i = 3;
    }
    while (i < n) {
        const uchar b = p[i];
        if (b < 0x80) {
            i = skip(i + 1);
            continue;
        }
        int len = 0;
        uint cp = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            cp = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            cp = b & 0x07;
        }
        bool ok = len > 0 && i + len <= n;
        for (int k = 1; ok && k < len; ++k) {
            ok = (p[i + k] & 0xC0) == 0x80;
            cp = cp << 6 | (p[i + k] & 0x3F);
        }
        ok = ok && !(len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)))
            && !(len == 4 && (cp < 0x10000 || cp > 0x10FFFF));
        if (ok) {
            score += 3;
            i += len;
        } else {
            score -= 5;
            ++invalid;
            ++i;
        }
    }
    return score;
}

} // namespace

std::optional<CodePage> codePageFromName(const QString &name)
{
    const QString s = normalizedLabel(name);
    static const struct {
        const char *label;
        CodePage cp;
    } labels[] = {
        {"auto", CodePage::Auto},
        {"cp932", CodePage::Cp932},        {"932", CodePage::Cp932},
        {"ms932", CodePage::Cp932},        {"windows31j", CodePage::Cp932},
        {"windows932", CodePage::Cp932},   {"shiftjis", CodePage::Cp932},
        {"sjis", CodePage::Cp932},         {"xsjis", CodePage::Cp932},
        {"mskanji", CodePage::Cp932},      {"csshiftjis", CodePage::Cp932},
        {"cp1252", CodePage::Cp1252},      {"1252", CodePage::Cp1252},
        {"windows1252", CodePage::Cp1252}, {"latin1", CodePage::Cp1252},
        {"iso88591", CodePage::Cp1252},    {"l1", CodePage::Cp1252},
        {"cp1251", CodePage::Cp1251},      {"1251", CodePage::Cp1251},
        {"windows1251", CodePage::Cp1251},
        {"utf8", CodePage::Utf8},          {"cp65001", CodePage::Utf8},
        {"65001", CodePage::Utf8},
    };
    for (const auto &l : labels)
        if (s == QLatin1String(l.label))
            return l.cp;
    return std::nullopt;
}

QString codePageName(CodePage cp)
{
    switch (cp) {
    case CodePage::Auto: return QStringLiteral("auto");
    case CodePage::Cp932: return QStringLiteral("cp932");
    case CodePage::Cp1252: return QStringLiteral("cp1252");
    case CodePage::Cp1251: return QStringLiteral("cp1251");
    case CodePage::Utf8: return QStringLiteral("utf-8");
    }
    return {};
}

QString decode(QByteArrayView bytes, CodePage cp, int *invalidSequences)
{
    if (cp == CodePage::Auto)
        cp = guessCodePage({bytes});
    if (cp == CodePage::Utf8)
        return decodeUtf8(bytes, invalidSequences);
    if (invalidSequences)
        *invalidSequences = 0;
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    switch (cp) {
    case CodePage::Cp932: return decodeCp932(bytes, invalidSequences);
    case CodePage::Cp1251: return decodeSingleByte(bytes, cp1251Table());
    default: return decodeSingleByte(bytes, cp1252Table());
    }
}

QByteArray encode(const QString &text, CodePage cp)
{
    if (cp == CodePage::Utf8)
        return text.toUtf8();
    QByteArray out;
    out.reserve(text.size() * (cp == CodePage::Cp932 ? 2 : 1));
    const char16_t *p = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype n = text.size();
    const Cp932Tables *wide = cp == CodePage::Cp932 ? &cp932Tables() : nullptr;
    const SingleByteTable *narrow = cp == CodePage::Cp1251 ? &cp1251Table() : &cp1252Table();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i];
        if (c < 0x80) {
            out.append(char(c));
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(p[i + 1])) {
            out.append('?'); // one code point, one default character
            ++i;
            continue;
        }
        if (wide) {
            const quint16 v = wide->fromUnicode[c];
            if (v == 0)
                out.append('?');
            else if (v < 0x100)
                out.append(char(v));
            else
                out.append(char(v >> 8)).append(char(v & 0xFF));
        } else {
            const uchar v = narrow->fromUnicode[c];
            out.append(v ? char(v) : '?');
        }
    }
    return out;
}

long long CodePageScores::score(CodePage cp) const
{
    switch (cp) {
    case CodePage::Cp932: return cp932;
    case CodePage::Cp1251: return cp1251;
    case CodePage::Utf8: return utf8;
    default: return cp1252;
    }
}

long long CodePageScores::invalid(CodePage cp) const
{
    return cp == CodePage::Cp932 ? cp932Invalid : cp == CodePage::Utf8 ? utf8Invalid : 0;
}

CodePageScores &CodePageScores::operator+=(const CodePageScores &o)
{
    cp932 += o.cp932;
    cp1252 += o.cp1252;
    cp1251 += o.cp1251;
    utf8 += o.utf8;
    cp932Invalid += o.cp932Invalid;
    utf8Invalid += o.utf8Invalid;
    nonAscii = nonAscii || o.nonAscii;
    return *this;
}

CodePageScores codePageScores(QByteArrayView file)
{
    CodePageScores s;
    const uchar *p = reinterpret_cast<const uchar *>(file.data());
    const NonAsciiRuns text(p, file.size());
    if (text.ascii)
        return s;
    s.nonAscii = true;
    s.cp932 = scoreCp932(p, text, s.cp932Invalid);
    s.cp1252 = scoreCp1252(p, text);
    s.cp1251 = scoreCp1251(p, text);
    s.utf8 = scoreUtf8(p, text, s.utf8Invalid);
    return s;
}

CodePageScores codePageScores(const std::vector<QByteArrayView> &files)
{
    CodePageScores s;
    for (QByteArrayView f : files)
        s += codePageScores(f);
    return s;
}

CodePage guessCodePage(const CodePageScores &s)
{
    const std::pair<long long, CodePage> ranked[] = {
        {s.cp1252, CodePage::Cp1252}, {s.cp932, CodePage::Cp932},
        {s.cp1251, CodePage::Cp1251}, {s.utf8, CodePage::Utf8}};
    auto best = ranked[0];
    long long second = LLONG_MIN;
    for (int i = 1; i < 4; ++i) {
        if (ranked[i].first > best.first) {
            second = best.first;
            best = ranked[i];
        } else {
            second = std::max(second, ranked[i].first);
        }
    }
    // A single kanji in a .vbp, or "Photoshop\x92s", is no evidence: demand a clear lead.
    const long long margin = best.first - std::max(second, 0LL);
    if (best.first >= 6 && margin >= std::max(6LL, best.first / 4))
        return best.second;
    return CodePage::Cp1252;
}

CodePage guessCodePage(const std::vector<QByteArrayView> &files)
{
    return guessCodePage(codePageScores(files));
}

qsizetype lengthOfLines(QByteArrayView bytes, qsizetype maxLines)
{
    const qsizetype n = bytes.size();
    if (n <= maxLines)
        return n; // every line takes at least one byte
    const char *p = bytes.data();
    // Nearly every file has fewer lines than that: count the terminators (LF, and CR not
    // before LF) a block at a time and walk the bytes only when there are enough of them.
    qsizetype terminators = 0, k = 0;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r'), one = _mm_set1_epi8(1);
    __m128i counts = _mm_setzero_si128(); // two 64-bit sums of the 0/1 bytes
    for (; k + 17 <= n; k += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + k));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + k + 1));
        const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(v, lf),
                                          _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(v, cr)));
        counts = _mm_add_epi64(counts, _mm_sad_epu8(_mm_and_si128(ends, one), _mm_setzero_si128()));
    }
    terminators = qsizetype(_mm_cvtsi128_si64(counts)) + qsizetype(_mm_cvtsi128_si64(_mm_unpackhi_epi64(counts, counts)));
#endif
    for (; k < n; ++k)
        terminators += p[k] == '\n' || (p[k] == '\r' && (k + 1 >= n || p[k + 1] != '\n'));
    if (terminators < maxLines)
        return n;
    qsizetype lines = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] != '\n' && p[i] != '\r')
            continue;
        if (p[i] == '\r' && i + 1 < n && p[i + 1] == '\n')
            ++i;
        if (++lines == maxLines)
            return i + 1;
    }
    return n;
}

int lineAt(QByteArrayView bytes, qsizetype offset)
{
    const char *p = bytes.data();
    int line = 1;
    for (qsizetype i = 0; i < offset && i < bytes.size(); ++i)
        line += p[i] == '\n' || (p[i] == '\r' && (i + 1 >= bytes.size() || p[i + 1] != '\n'));
    return line;
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    const QChar *p = text.constData();
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i].unicode();
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(QString(p + start, i - start));
        if (c == u'\r' && i + 1 < n && p[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(QString(p + start, n - start));
    return lines;
}

namespace {

struct LineSpan {
    qsizetype start;
    qsizetype length;
    bool ascii;
};

/// Lines of raw bytes split at CR LF, LF or a lone CR, each marked when it is pure ASCII.
std::vector<LineSpan> byteLines(const uchar *p, qsizetype n)
{
    std::vector<LineSpan> spans;
    spans.reserve(size_t(n / 40 + 1));
    qsizetype i = 0;
    while (i < n) {
        const qsizetype start = i;
        unsigned high = 0;
#if defined(__SSE2__)
        const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
        for (; i + 16 <= n; i += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
            const unsigned breaks = unsigned(
                _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr))));
            const unsigned bytes = unsigned(_mm_movemask_epi8(v));
            if (breaks != 0) {
                const int at = std::countr_zero(breaks);
                high |= bytes & ((1u << at) - 1);
                i += at;
                break;
            }
            high |= bytes;
        }
#endif
        while (i < n && p[i] != '\n' && p[i] != '\r')
            high |= p[i++] & 0x80;
        spans.push_back({start, i - start, high == 0});
        if (i < n && p[i] == '\r' && i + 1 < n && p[i + 1] == '\n')
            ++i;
        ++i;
    }
    return spans;
}

} // namespace

QStringList decodeSplit(QByteArrayView bytes, CodePage cp, int *invalidSequences)
{
    return decodeText(bytes, cp, invalidSequences).toStringList();
}

QStringList TextLines::toStringList() const
{
    QStringList lines;
    lines.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        lines.append((*this)[i].toString());
    return lines;
}

TextLines splitText(QStringView text)
{
    TextLines out;
    out.text.resize(text.size());
    char16_t *o = reinterpret_cast<char16_t *>(out.text.data());
    const char16_t *p = text.utf16();
    const qsizetype n = text.size();
    qsizetype used = 0;
    out.starts.push_back(0);
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = p[i];
        if (c != u'\r' && c != u'\n') {
            o[used++] = c;
            continue;
        }
        out.starts.push_back(std::uint32_t(used));
        if (c == u'\r' && i + 1 < n && p[i + 1] == u'\n')
            ++i;
    }
    if (used > qsizetype(out.starts.back()))
        out.starts.push_back(std::uint32_t(used));
    out.text.resize(used);
    return out;
}

namespace {

/// Decodes one line of a single-byte code page (`wide` null) or cp932 into `o`, which has room
/// for `n` units; returns the units written and counts invalid sequences into `bad`.
qsizetype decodeLine(const uchar *b, qsizetype n, char16_t *o, const Cp932Tables *wide,
                     const SingleByteTable *narrow, int &bad)
{
    if (!wide) {
        for (qsizetype i = 0; i < n; ++i)
            o[i] = narrow->toUnicode[b[i]];
        return n;
    }
    return decodeCp932Into(b, n, o, *wide, bad);
}

} // namespace

TextLines decodeText(QByteArrayView bytes, CodePage cp, int *invalidSequences)
{
    if (cp == CodePage::Auto)
        cp = guessCodePage({bytes});
    if (cp == CodePage::Utf8) // an invalid sequence before a line break decodes differently alone
        return splitText(decodeUtf8(bytes, invalidSequences));
    // CR and LF are single bytes in the other code pages and never a cp932 trail byte, so the
    // bytes split first; a lead byte before a line break becomes U+FFFD either way.
    const uchar *p = reinterpret_cast<const uchar *>(bytes.data());
    const std::vector<LineSpan> spans = byteLines(p, bytes.size());
    const Cp932Tables *wide = cp == CodePage::Cp932 ? &cp932Tables() : nullptr;
    const SingleByteTable *narrow = cp == CodePage::Cp1251 ? &cp1251Table() : &cp1252Table();
    int bad = 0;
    TextLines out;
    out.starts.reserve(spans.size() + 1);
    qsizetype total = 0;
    for (const LineSpan &span : spans)
        total += span.length; // a byte never decodes to more than one unit
    out.text.resize(total);
    char16_t *const text = reinterpret_cast<char16_t *>(out.text.data());
    qsizetype used = 0;
    for (const LineSpan &span : spans) {
        out.starts.push_back(std::uint32_t(used));
        const uchar *b = p + span.start;
        const qsizetype n = span.length;
        char16_t *o = text + used;
        if (span.ascii) {
            widenAscii(reinterpret_cast<const char *>(b), o, n);
            used += n;
        } else {
            used += decodeLine(b, n, o, wide, narrow, bad);
        }
    }
    out.starts.push_back(std::uint32_t(used));
    out.text.resize(used);
    if (invalidSequences)
        *invalidSequences = bad;
    return out;
}

QStringView MixedLines::operator[](qsizetype i) const
{
    const Line &line = lines[size_t(i)];
    if (!line.ascii)
        return utf16(i);
    m_scratch.resize(line.size);
    widenAscii(bytes.data() + line.start, m_scratch.data(), line.size);
    return {m_scratch.data(), qsizetype(line.size)};
}

MixedLines decodeMixed(QByteArrayView bytes, CodePage cp, int *invalidSequences)
{
    if (cp == CodePage::Auto)
        cp = guessCodePage({bytes});
    MixedLines out;
    out.bytes = bytes;
    if (cp == CodePage::Utf8) {
        TextLines all = splitText(decodeUtf8(bytes, invalidSequences));
        out.lines.reserve(size_t(all.size()));
        for (size_t k = 0; k + 1 < all.starts.size(); ++k)
            out.lines.push_back({all.starts[k], all.starts[k + 1] - all.starts[k], false});
        out.wide = std::move(all.text);
        return out;
    }
    const uchar *p = reinterpret_cast<const uchar *>(bytes.data());
    const std::vector<LineSpan> spans = byteLines(p, bytes.size());
    const Cp932Tables *wide = cp == CodePage::Cp932 ? &cp932Tables() : nullptr;
    const SingleByteTable *narrow = cp == CodePage::Cp1251 ? &cp1251Table() : &cp1252Table();
    int bad = 0;
    out.lines.reserve(spans.size());
    qsizetype total = 0;
    for (const LineSpan &span : spans)
        total += span.ascii ? 0 : span.length;
    out.wide.resize(total);
    char16_t *const text = reinterpret_cast<char16_t *>(out.wide.data());
    qsizetype used = 0;
    for (const LineSpan &span : spans) {
        if (span.ascii) {
            out.lines.push_back({std::uint32_t(span.start), std::uint32_t(span.length), true});
            continue;
        }
        const qsizetype k = decodeLine(p + span.start, span.length, text + used, wide, narrow, bad);
        out.lines.push_back({std::uint32_t(used), std::uint32_t(k), false});
        used += k;
    }
    out.wide.resize(used);
    if (invalidSequences)
        *invalidSequences = bad;
    return out;
}

} // namespace ide::files
