#include "ide/code/substring_index.h"

#include <algorithm>

namespace ide::code {

SubstringIndex::SubstringIndex(const TokenIndex &index, const char16_t *text)
{
    index.forEachWord(text, [&](QStringView word, std::span<const int> lines) {
        const int id = int(m_words.size());
        m_words.push_back({word, lines});
        const char16_t *w = word.utf16();
        for (qsizetype k = 0; k + 3 <= word.size(); ++k)
            m_grams.emplace_back(trigram(w + k), id);
    });
    std::sort(m_grams.begin(), m_grams.end());
    m_grams.erase(std::unique(m_grams.begin(), m_grams.end()), m_grams.end());
    // About eight bits per distinct trigram.
    int bits = 10;
    while ((size_t(1) << bits) < m_grams.size() * 8 && bits < 24)
        ++bits;
    m_bloomShift = 64 - bits;
    m_bloom.assign((size_t(1) << bits) / 64, 0);
    for (const auto &[gram, id] : m_grams) {
        const std::uint64_t h = (gram * 0x9e3779b97f4a7c15ULL) >> m_bloomShift;
        m_bloom[h >> 6] |= std::uint64_t(1) << (h & 63);
    }
}

const std::vector<int> &SubstringIndex::lines(QStringView word)
{
    if (word == QStringView(m_lastWord))
        return m_lastLines;
    m_lastWord = word.toString();
    m_lastLines.clear();

    const char16_t *w = word.utf16();
    const qsizetype n = word.size();
    // The words to test: those holding the word's rarest trigram, or all of them for a word
    // too short to have one.
    auto first = m_grams.end(), last = m_grams.end();
    bool all = n < 3;
    if (!all) {
        for (qsizetype k = 0; k + 3 <= n; ++k) {
            if (!mayHold(trigram(w + k)))
                return m_lastLines;
        }
        qsizetype best = -1;
        for (qsizetype k = 0; k + 3 <= n; ++k) {
            const std::uint64_t gram = trigram(w + k);
            auto lo = std::lower_bound(m_grams.begin(), m_grams.end(), std::make_pair(gram, 0));
            auto hi = lo;
            while (hi != m_grams.end() && hi->first == gram)
                ++hi;
            if (lo == hi)
                return m_lastLines;
            if (best < 0 || hi - lo < best) {
                best = hi - lo;
                first = lo;
                last = hi;
            }
        }
    }

    int matched = 0;
    auto take = [&](const Word &candidate) {
        if (candidate.text.size() < n || !candidate.text.contains(word))
            return;
        m_lastLines.insert(m_lastLines.end(), candidate.lines.begin(), candidate.lines.end());
        ++matched;
    };
    if (all) {
        for (const Word &candidate : m_words)
            take(candidate);
    } else {
        for (auto it = first; it != last; ++it)
            take(m_words[size_t(it->second)]);
    }
    if (matched > 1) {
        std::sort(m_lastLines.begin(), m_lastLines.end());
        m_lastLines.erase(std::unique(m_lastLines.begin(), m_lastLines.end()), m_lastLines.end());
    }
    return m_lastLines;
}

size_t SubstringIndex::memoryUsage() const
{
    return m_words.capacity() * sizeof(Word) + m_grams.capacity() * sizeof(m_grams[0])
        + m_bloom.capacity() * sizeof(std::uint64_t) + m_lastLines.capacity() * sizeof(int);
}

} // namespace ide::code
