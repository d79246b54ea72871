#include "ide/shell/raw_text.h"

#include "ide/code/text_match.h"

#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ide {

namespace {

using files::CodePage;

/// Whether raw bytes can stand for decoded ASCII text in `cp`: no sequence decodes to an ASCII
/// character that no ASCII byte of it spells, nor to one that folds to ASCII. Checked once per
/// code page over every byte and, for cp932, every lead and trail byte pair, each on a line of
/// its own so that they decode apart.
bool asciiIsRaw(CodePage cp)
{
    auto check = [](CodePage page) {
        std::vector<QByteArray> sequences;
        for (int b = 0; b < 256; ++b)
            if (b != '\r' && b != '\n')
                sequences.push_back(QByteArray(1, char(b)));
        if (page == CodePage::Cp932)
            for (int lead = 0x81; lead <= 0xFC; ++lead)
                for (int trail = 0x40; trail <= 0xFC; ++trail)
                    sequences.push_back(QByteArray{char(lead), char(trail)});
        QByteArray all;
        for (const QByteArray &s : sequences)
            all += s + '\n';
        const files::TextLines lines = files::decodeText(all, page);
        if (lines.size() != qsizetype(sequences.size()))
            return false;
        for (qsizetype k = 0; k < lines.size(); ++k) {
            for (const QChar ch : lines[k]) {
                const char16_t u = ch.unicode();
                if (u >= 0x80 ? code::foldChar(u) < 0x80 : !sequences[size_t(k)].contains(char(u)))
                    return false;
            }
        }
        return true;
    };
    switch (cp) {
    case CodePage::Cp932: {
        static const bool ok = check(CodePage::Cp932);
        return ok;
    }
    case CodePage::Cp1252: {
        static const bool ok = check(CodePage::Cp1252);
        return ok;
    }
    case CodePage::Cp1251: {
        static const bool ok = check(CodePage::Cp1251);
        return ok;
    }
    default:
        return false; // UTF-8 spells 'K' and 's' with other bytes too (U+212A, U+017F)
    }
}

inline unsigned char lowerAscii(unsigned char c) { return c >= 'A' && c <= 'Z' ? c | 0x20 : c; }

/// Whether `hay` holds `needle` (lower case ASCII) in any letter case.
bool containsFolded(const unsigned char *hay, std::size_t n, const unsigned char *needle, std::size_t m)
{
    if (m == 0)
        return true;
    if (m > n)
        return false;
    auto matchesAt = [&](std::size_t at) {
        for (std::size_t k = 0; k < m; ++k)
            if (lowerAscii(hay[at + k]) != needle[k])
                return false;
        return true;
    };
    const std::size_t last = n - m; // the last position a match can start at
    std::size_t i = 0;
#if defined(__SSE2__)
    // Candidates where the first and the last character both match, 16 positions at a time.
    auto isLetter = [](unsigned char c) { return c >= 'a' && c <= 'z'; };
    const __m128i firstFold = _mm_set1_epi8(char(isLetter(needle[0]) ? 0x20 : 0));
    const __m128i lastFold = _mm_set1_epi8(char(isLetter(needle[m - 1]) ? 0x20 : 0));
    const __m128i first = _mm_set1_epi8(char(needle[0]));
    const __m128i lastChar = _mm_set1_epi8(char(needle[m - 1]));
    for (; i + 16 <= last + 1; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(hay + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(hay + i + m - 1));
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(a, firstFold), first),
                                                                 _mm_cmpeq_epi8(_mm_or_si128(b, lastFold), lastChar))));
        while (mask) {
            const unsigned bit = unsigned(__builtin_ctz(mask));
            if (matchesAt(i + bit))
                return true;
            mask &= mask - 1;
        }
    }
#endif
    for (; i <= last; ++i)
        if (lowerAscii(hay[i]) == needle[0] && matchesAt(i))
            return true;
    return false;
}

} // namespace

bool mayHold(QByteArrayView bytes, files::CodePage cp, QStringView text, bool pattern)
{
    if (pattern || text.isEmpty())
        return true;
    QByteArray needle;
    needle.reserve(text.size());
    for (const QChar ch : text) {
        if (ch.unicode() >= 0x80)
            return true;
        needle += char(lowerAscii(static_cast<unsigned char>(ch.unicode())));
    }
    if (!asciiIsRaw(cp))
        return true;
    return containsFolded(reinterpret_cast<const unsigned char *>(bytes.data()), std::size_t(bytes.size()),
                          reinterpret_cast<const unsigned char *>(needle.constData()), std::size_t(needle.size()));
}

} // namespace ide
