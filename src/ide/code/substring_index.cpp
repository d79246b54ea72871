#include "ide/code/substring_index.h"

#include <algorithm>

namespace ide::code {

SubstringIndex::SubstringIndex(const TokenIndex &index)
{
    index.forEachWord([&](QStringView word, std::span<const int> lines) {
        const int id = int(m_wordLines.size());
        m_wordLines.push_back(lines);
        const int start = int(m_text.size());
        m_text.append(reinterpret_cast<const char16_t *>(word.utf16()), size_t(word.size()));
        m_text.push_back(u'\0');
        if (word.size() > kTabledLength) {
            m_longWords.push_back(id);
            m_longStarts.push_back(start);
            return;
        }
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

void SubstringIndex::lines(QStringView word, std::vector<int> &out) const
{
    const std::u16string_view wanted(reinterpret_cast<const char16_t *>(word.utf16()), size_t(word.size()));
    out.clear();
    m_words.clear();
    for (size_t k = 0; k < m_longWords.size(); ++k) {
        if (std::u16string_view(m_text.data() + m_longStarts[k]).find(wanted) != std::u16string_view::npos)
            m_words.push_back(m_longWords[k]);
    }
    // The table's suffixes that begin with the word: one per place a token holds it. Most
    // words that no token holds stop at the filter.
    const size_t n = wanted.size();
    if (n <= kFilteredLength) {
        std::uint64_t hash = 0;
        for (char16_t c : wanted)
            hash = extend(hash, c);
        if (!mayContain(hash))
            return merge(out);
    }
    auto first = std::lower_bound(m_suffixes.begin(), m_suffixes.end(), wanted,
                                  [&](const Suffix &s, std::u16string_view w) { return suffix(s) < w; });
    auto last = std::upper_bound(first, m_suffixes.end(), wanted, [&](std::u16string_view w, const Suffix &s) {
        return w < suffix(s).substr(0, n);
    });
    for (auto it = first; it != last; ++it)
        m_words.push_back(it->word);
    merge(out);
}

void SubstringIndex::merge(std::vector<int> &out) const
{
    std::sort(m_words.begin(), m_words.end());
    m_words.erase(std::unique(m_words.begin(), m_words.end()), m_words.end());
    for (int w : m_words)
        out.insert(out.end(), m_wordLines[size_t(w)].begin(), m_wordLines[size_t(w)].end());
    if (m_words.size() > 1) {
        std::sort(out.begin(), out.end());
        out.erase(std::unique(out.begin(), out.end()), out.end());
    }
}

size_t SubstringIndex::memoryUsage() const
{
    return m_text.capacity() * sizeof(char16_t) + m_wordLines.capacity() * sizeof(m_wordLines[0])
        + m_suffixes.capacity() * sizeof(Suffix) + m_words.capacity() * sizeof(int) + m_filter.capacity() * sizeof(std::uint64_t);
}

} // namespace ide::code
