#pragma once
#include "ide/code/token_index.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

namespace ide::code {

/// The lines holding a token that contains a given word: what narrows a Find without whole
/// word, where a word of the target may be only part of a token (`Foo` in `FooBar`). Built from
/// a module's token index over its distinct words, not its lines.
class SubstringIndex {
public:
    SubstringIndex(const TokenIndex &index, const char16_t *text);

    /// Ascending lines holding a token that contains `word` (folded word characters). The
    /// answer stays valid until the next call: a search asks again for every hit.
    const std::vector<int> &lines(QStringView word);

    size_t memoryUsage() const;

private:
    struct Word {
        QStringView text;
        std::span<const int> lines;
    };
    static std::uint64_t trigram(const char16_t *s)
    {
        return std::uint64_t(s[0]) | std::uint64_t(s[1]) << 16 | std::uint64_t(s[2]) << 32;
    }
    bool mayHold(std::uint64_t gram) const
    {
        const std::uint64_t h = (gram * 0x9e3779b97f4a7c15ULL) >> m_bloomShift;
        return (m_bloom[h >> 6] >> (h & 63)) & 1;
    }

    std::vector<Word> m_words;
    /// (trigram, word) pairs, sorted, one per trigram of each word.
    std::vector<std::pair<std::uint64_t, int>> m_grams;
    /// One bit per hashed trigram: most words that occur nowhere fail here.
    std::vector<std::uint64_t> m_bloom;
    int m_bloomShift = 64;

    QString m_lastWord;
    std::vector<int> m_lastLines;
};

} // namespace ide::code
