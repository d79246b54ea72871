#pragma once
#include "ide/code/token_index.h"

#include <QStringView>
#include <cstdint>
#include <string>
#include <vector>

namespace ide::code {

/// The lines holding a token that contains a given word: what narrows a Find without whole
/// word, where a word of the target may be only part of a token (`Foo` in `FooBar`). A sorted
/// table of the suffixes of the module's distinct words (not of its lines), so that a word
/// found in no token costs one binary search.
class SubstringIndex {
public:
    explicit SubstringIndex(const TokenIndex &index);

    /// Ascending lines holding a token that contains `word` (folded word characters), into
    /// `out` (emptied first).
    void lines(QStringView word, std::vector<int> &out) const;

    /// False when no token can hold `word`: most words searched in a module are not in it,
    /// and this answers without a table search.
    bool mayHold(QStringView word) const
    {
        std::uint64_t hash = 0;
        for (QChar c : word)
            hash = extend(hash, c.unicode());
        return mayHoldHashed(hash, word.size());
    }
    /// mayHold() for a word of `length` units whose hash() the caller worked out.
    bool mayHoldHashed(std::uint64_t hash, qsizetype length) const
    {
        if (!m_longWords.empty() || size_t(length) > kFilteredLength)
            return true;
        return mayContain(hash);
    }
    /// The hash of a word, one unit at a time from 0.
    static std::uint64_t extend(std::uint64_t hash, char16_t c) { return (hash + c + 1) * 0x100000001b3ULL; }

    size_t memoryUsage() const;

private:
    struct Suffix {
        int pos;  // in m_text; the suffix runs to the word's end (a U+0000)
        int word;
    };
    /// The lines of the words in m_words, ascending, into `out`.
    void merge(std::vector<int> &out) const;
    std::u16string_view suffix(const Suffix &s) const
    {
        return std::u16string_view(m_text.data() + s.pos);
    }

    /// Two bits of the filter for a hash.
    std::pair<size_t, size_t> bits(std::uint64_t hash) const
    {
        const std::uint64_t h = hash * 0x9e3779b97f4a7c15ULL;
        return {size_t(h >> 32) & m_filterMask, size_t(h) & m_filterMask};
    }
    bool mayContain(std::uint64_t hash) const
    {
        const auto [a, b] = bits(hash);
        return (m_filter[a >> 6] >> (a & 63) & 1) && (m_filter[b >> 6] >> (b & 63) & 1);
    }
    /// Pieces longer than this are not in the filter; words that long go to the table.
    static constexpr size_t kFilteredLength = 32;
    /// Longer words (long runs of letters in strings, say) are searched one by one: their
    /// suffixes would make the table quadratic.
    static constexpr qsizetype kTabledLength = 64;

    std::u16string m_text; // the distinct words, each ended by U+0000
    std::vector<std::span<const int>> m_wordLines;
    std::vector<Suffix> m_suffixes; // sorted by text
    std::vector<int> m_longWords;   // words not in the table, each ended by U+0000 in m_text
    std::vector<int> m_longStarts;
    /// A Bloom filter of every piece (up to kFilteredLength units) of every word: most
    /// searched words that no token holds stop here, without touching the table.
    std::vector<std::uint64_t> m_filter;
    size_t m_filterMask = 0;

    mutable std::vector<int> m_words; // scratch of lines()
};

} // namespace ide::code
