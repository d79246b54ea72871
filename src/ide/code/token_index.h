#pragma once
#include <QStringView>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ide::code {

/// Folded word -> ascending pane-line indexes (0-based) of the lines holding it as a whole
/// token (a maximal run of Find's word characters). The index keeps one folded copy of each
/// distinct word, back to back: a module has far fewer distinct words than units of text.
/// Filled by a TokenIndexBuilder.
class TokenIndex {
public:
    /// Lines holding `word` (folded) as a token; empty when it occurs nowhere.
    std::span<const int> lines(QStringView word) const;
    /// Units past the start of a word that linesPadded() may read.
    static constexpr int kPadding = 16;
    /// lines() for a word whose buffer holds kPadding readable units from its start on.
    std::span<const int> linesPadded(QStringView word) const;
    int wordCount() const { return int(m_entries.size()); }
    /// Calls f(word, lines) for every distinct word, in no particular order.
    template <class F>
    void forEachWord(F &&f) const
    {
        for (const Entry &e : m_entries)
            f(QStringView(m_words.data() + e.pos, e.length), std::span<const int>(m_lines.data() + e.first, size_t(e.count)));
    }
    /// Bytes held, for memory reports.
    size_t memoryUsage() const;

private:
    friend class TokenIndexBuilder;

    /// Words are hashed in blocks of this many units, the last one padded with zeros.
    static constexpr int kBlock = kPadding;

    struct Entry {
        std::uint32_t pos; // in m_words
        int length;
        std::uint32_t hash;
        int first; // during building: the last line added
        int count;
    };
    std::span<const int> find(const char16_t *word, int length, std::uint32_t hash) const;

    static std::uint64_t load64(const char16_t *s)
    {
        std::uint64_t v;
        std::memcpy(&v, s, sizeof v);
        return v;
    }
    static std::uint64_t mix(std::uint64_t a, std::uint64_t b)
    {
#if defined(__SIZEOF_INT128__)
        const unsigned __int128 r = static_cast<unsigned __int128>(a) * b;
        return std::uint64_t(r) ^ std::uint64_t(r >> 64);
#else
        const std::uint64_t x = (a ^ (b << 32 | b >> 32)) * 0x9e3779b97f4a7c15ULL;
        return x ^ (x >> 29);
#endif
    }
    static std::uint64_t seed(qsizetype length) { return 0xa0761d6478bd642fULL ^ std::uint64_t(length); }
    /// One block as four 64-bit lanes.
    static std::uint64_t mixBlock(std::uint64_t acc, std::uint64_t w0, std::uint64_t w1,
                                  std::uint64_t w2, std::uint64_t w3)
    {
        return mix(w0 ^ 0xe7037ed1a0b428dbULL, w1 ^ acc) ^ mix(w2 ^ 0x8ebc6af09c88c6e3ULL, w3 ^ acc);
    }
    static std::uint32_t finalMix(std::uint64_t acc) { return std::uint32_t(acc ^ (acc >> 32)); }
    static std::uint32_t hashOf(const char16_t *s, qsizetype length);
    static bool sameUnits(const char16_t *a, const char16_t *b, qsizetype length)
    {
        return std::memcmp(a, b, size_t(length) * sizeof(char16_t)) == 0;
    }

#if !defined(__SSE2__)
    struct Key {};
    static Key keyOf(const char16_t *, qsizetype) { return {}; }
#else
    /// The first `length` (<= kBlock) units of a word, zero-padded.
    struct Key {
        __m128i low, high;
        bool equals(const Key &o) const
        {
            return _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi16(low, o.low),
                                                   _mm_cmpeq_epi16(high, o.high)))
                == 0xFFFF;
        }
    };
    static __m128i load128(const char16_t *s)
    {
        return _mm_loadu_si128(reinterpret_cast<const __m128i *>(s));
    }
    static std::uint64_t lane(__m128i v, int which)
    {
        std::uint64_t w[2];
        std::memcpy(w, &v, sizeof w);
        return w[which];
    }
    /// Half `half` (0 or 1) of a mask keeping the first `length` units of a block: a window
    /// on kBlock ones followed by kBlock zeros.
    static __m128i blockMask(int length, int half)
    {
        alignas(16) static constexpr std::uint16_t ones[2 * kBlock] = {
            0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF,
            0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
        return _mm_loadu_si128(reinterpret_cast<const __m128i *>(ones + kBlock - length + 8 * half));
    }
    static Key keyOf(const char16_t *word, qsizetype length)
    {
        char16_t units[kBlock] = {};
        std::memcpy(units, word, size_t(length) * sizeof(char16_t));
        return {load128(units), load128(units + 8)};
    }
    /// hashOf() of a word of at most kBlock units, from its key.
    static std::uint32_t hashOf(const Key &key, int length)
    {
        return finalMix(mixBlock(seed(length), lane(key.low, 0), lane(key.low, 1),
                                 lane(key.high, 0), lane(key.high, 1)));
    }
    /// The key of a word of at most kBlock units that may be read kBlock units on.
    static Key keyOfPadded(const char16_t *word, int length)
    {
        return {_mm_and_si128(load128(word), blockMask(length, 0)),
                _mm_and_si128(load128(word + 8), blockMask(length, 1))};
    }
#endif


    std::vector<std::uint32_t> m_slots; // entry index + 1, 0 for empty; power-of-two size
    std::vector<Entry> m_entries;
    std::vector<int> m_lines;
    std::vector<char16_t> m_words; // each entry's word, folded
};

/// Fills a TokenIndex from the tokens of a folded text, line after line. Whatever it needs
/// only while building lives here, not in the index.
class TokenIndexBuilder {
public:
    /// `units`: about how many units of text will be added, to size the building tables.
    TokenIndexBuilder(TokenIndex &index, qsizetype units);

    /// Records a folded token of `length` (> 0) units, readable for kPadding units from
    /// `word` on. Lines must come in ascending order.
    void add(const char16_t *word, int length, int line)
    {
#if defined(__SSE2__)
        if (length <= kBlock) {
            // The common case, kept small enough to inline: a short word, loaded as one block.
            const Key key = TokenIndex::keyOfPadded(word, length);
            const std::uint32_t hash = TokenIndex::hashOf(key, length);
            for (std::uint32_t i = hash & m_mask;; i = (i + 1) & m_mask) {
                const std::uint32_t slot = m_slots[i];
                if (slot == 0) {
                    insert(word, length, hash, line, key);
                    return;
                }
                // Words hold no U+0000, so equal padded copies and lengths mean equal words;
                // the copies also spare a visit to the word's far-off first occurrence.
                if (m_keys[slot - 1].equals(key) && m_entries[slot - 1].length == length) {
                    repeat(slot - 1, line);
                    return;
                }
            }
        }
#endif
        addPlain(word, length, line);
    }

    /// Lays the lines out flat in the index.
    void finish();

private:
    static constexpr int kBlock = TokenIndex::kBlock;
    using Key = TokenIndex::Key;

    struct Pending {
        int entry;
        int line;
    };

    void repeat(std::uint32_t entry, int line)
    {
        // Without branches: whether a word repeats on its line is anyone's guess.
        TokenIndex::Entry &e = m_entries[entry];
        const bool fresh = e.first != line;
        e.count += fresh;
        e.first = line;
        if (m_pendingCount == m_pendingCapacity)
            growPending();
        m_pending[m_pendingCount] = {int(entry), line};
        m_pendingCount += fresh;
    }
    void insert(const char16_t *word, int length, std::uint32_t hash, int line, const Key &key);
    /// add() for any token, hashing and comparing unit by unit.
    void addPlain(const char16_t *word, int length, int line);
    void growPending();
    void grow();

    TokenIndex &m_index;
    // The index's tables as raw pointers, refreshed whenever they change.
    std::uint32_t *m_slots = nullptr;
    std::uint32_t m_mask = 0;
    TokenIndex::Entry *m_entries = nullptr;
    std::unique_ptr<Pending[]> m_pending; // (entry, line), left uninitialised past the count
    size_t m_pendingCount = 0;
    size_t m_pendingCapacity = 0;
    std::vector<Key> m_keyStore; // per entry; m_keys points into it
    Key *m_keys = nullptr;
};

} // namespace ide::code
