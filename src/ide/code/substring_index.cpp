#include "ide/code/substring_index.h"

#include <algorithm>

namespace ide::code {

SubstringIndex::SubstringIndex(const TokenIndex &index, const char16_t *text)
{
    index.forEachWord(text, [&](QStringView word, std::span<const int> lines) {
        const int id = int(m_wordLines.size());
        m_wordLines.push_back(lines);
        const int start = int(m_text.size());
        m_text.append(reinterpret_cast<const char16_t *>(word.utf16()), size_t(word.size()));
        m_text.push_back(u'\0');
        for (int k = 0; k < int(word.size()); ++k)
            m_suffixes.push_back({start + k, id});
    });
    std::sort(m_suffixes.begin(), m_suffixes.end(),
              [&](const Suffix &a, const Suffix &b) { return suffix(a) < suffix(b); });

    // About eight bits per piece: few false hits with two bits each.
    size_t pieces = 0;
    for (const Suffix &s : m_suffixes)
        pieces += std::min(suffix(s).size(), kFilteredLength);
    size_t size = 1024;
    while (size < pieces * 8)
        size *= 2;
    m_filterMask = size - 1;
    m_filter.assign(size / 64, 0);
    for (const Suffix &s : m_suffixes) {
        const std::u16string_view rest = suffix(s);
        std::uint64_t hash = 0;
        for (size_t k = 0; k < rest.size() && k < kFilteredLength; ++k) {
            hash = extend(hash, rest[k]);
            const auto [a, b] = bits(hash);
            m_filter[a >> 6] |= std::uint64_t(1) << (a & 63);
            m_filter[b >> 6] |= std::uint64_t(1) << (b & 63);
        }
    }
}

const std::vector<int> &SubstringIndex::lines(QStringView word)
{
    const std::u16string_view wanted(reinterpret_cast<const char16_t *>(word.utf16()), size_t(word.size()));
    if (wanted == m_lastWord)
        return m_lastLines;
    m_lastWord.assign(wanted);
    m_lastLines.clear();

    const size_t n = wanted.size();
    if (n <= kFilteredLength) {
        std::uint64_t hash = 0;
        for (char16_t c : wanted)
            hash = extend(hash, c);
        if (!mayContain(hash))
            return m_lastLines;
    }
    // The suffixes that begin with the word: one per place a token holds it.
    auto first = std::lower_bound(m_suffixes.begin(), m_suffixes.end(), wanted,
                                  [&](const Suffix &s, std::u16string_view w) { return suffix(s) < w; });
    auto last = std::upper_bound(first, m_suffixes.end(), wanted, [&](std::u16string_view w, const Suffix &s) {
        return w < suffix(s).substr(0, n);
    });
    if (first == last)
        return m_lastLines;

    m_words.clear();
    for (auto it = first; it != last; ++it)
        m_words.push_back(it->word);
    std::sort(m_words.begin(), m_words.end());
    m_words.erase(std::unique(m_words.begin(), m_words.end()), m_words.end());
    for (int w : m_words)
        m_lastLines.insert(m_lastLines.end(), m_wordLines[size_t(w)].begin(), m_wordLines[size_t(w)].end());
    if (m_words.size() > 1) {
        std::sort(m_lastLines.begin(), m_lastLines.end());
        m_lastLines.erase(std::unique(m_lastLines.begin(), m_lastLines.end()), m_lastLines.end());
    }
    return m_lastLines;
}

size_t SubstringIndex::memoryUsage() const
{
    return m_text.capacity() * sizeof(char16_t) + m_wordLines.capacity() * sizeof(m_wordLines[0])
        + m_suffixes.capacity() * sizeof(Suffix) + m_lastLines.capacity() * sizeof(int)
        + m_words.capacity() * sizeof(int) + m_filter.capacity() * sizeof(std::uint64_t);
}

} // namespace ide::code
