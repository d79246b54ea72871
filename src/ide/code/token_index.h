#pragma once
#include <QStringView>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace ide::code {

/// Folded word -> ascending pane-line indexes (0-based) of the lines holding it as a whole
/// token (a maximal run of Find's word characters). Keys are not copied: each entry points at
/// its first occurrence in the module's folded text, which the caller owns and passes back in.
class TokenIndex {
public:
    /// Records a token of `length` (> 0) units at `pos` in `text`. Lines must come in ascending
    /// order.
    void add(const char16_t *text, qsizetype pos, int length, int line)
    {
        if ((m_entries.size() + 1) * 2 > m_slots.size())
            grow();
        const char16_t *word = text + pos;
        const std::uint32_t hash = hashOf(word, length);
        const std::uint32_t mask = std::uint32_t(m_slots.size() - 1);
        std::uint32_t i = hash & mask;
        for (;; i = (i + 1) & mask) {
            const std::uint32_t slot = m_slots[i];
            if (slot == 0) {
                m_entries.push_back({pos, length, hash, line, 1});
                m_slots[i] = std::uint32_t(m_entries.size());
                m_pending.emplace_back(int(m_entries.size() - 1), line);
                return;
            }
            Entry &e = m_entries[slot - 1];
            if (e.hash == hash && e.length == length && sameUnits(text + e.pos, word, length)) {
                if (e.first == line)
                    return;
                e.first = line;
                ++e.count;
                m_pending.emplace_back(int(slot - 1), line);
                return;
            }
        }
    }
    /// Ends the building: lays the lines out flat and frees the scratch space.
    void finish();

    /// Lines holding `word` (folded) as a token; empty when it occurs nowhere.
    std::span<const int> lines(const char16_t *text, QStringView word) const;
    int wordCount() const { return int(m_entries.size()); }
    /// Bytes held, for memory reports.
    size_t memoryUsage() const;

private:
    struct Entry {
        qsizetype pos;
        int length;
        std::uint32_t hash;
        int first; // during building: the last line added
        int count;
    };

    static std::uint64_t load64(const char16_t *s)
    {
        std::uint64_t v;
        std::memcpy(&v, s, sizeof v);
        return v;
    }
    static std::uint32_t load32(const char16_t *s)
    {
        std::uint32_t v;
        std::memcpy(&v, s, sizeof v);
        return v;
    }
    static std::uint64_t mix(std::uint64_t a, std::uint64_t b)
    {
#if defined(__SIZEOF_INT128__)
        const unsigned __int128 r = static_cast<unsigned __int128>(a) * b;
        return std::uint64_t(r) ^ std::uint64_t(r >> 64);
#else
        std::uint64_t x = (a ^ (b << 32 | b >> 32)) * 0x9e3779b97f4a7c15ULL;
        return x ^ (x >> 29);
#endif
    }
    /// Several units at a time: tokens are short, and one unit per step made this a hot spot.
    static std::uint32_t hashOf(const char16_t *s, qsizetype length)
    {
        constexpr std::uint64_t k0 = 0xa0761d6478bd642fULL, k1 = 0xe7037ed1a0b428dbULL,
                                k2 = 0x8ebc6af09c88c6e3ULL;
        std::uint64_t seed = k0 ^ std::uint64_t(length);
        std::uint64_t a, b;
        if (length <= 4) {
            if (length >= 2) {
                a = load32(s);
                b = load32(s + length - 2);
            } else {
                a = length > 0 ? s[0] : 0;
                b = 0;
            }
        } else if (length <= 8) {
            a = load64(s);
            b = load64(s + length - 4);
        } else {
            const char16_t *p = s;
            for (qsizetype rest = length; rest > 8; rest -= 8, p += 8)
                seed = mix(load64(p) ^ k1, load64(p + 4) ^ seed);
            a = load64(s + length - 8);
            b = load64(s + length - 4);
        }
        return std::uint32_t(mix(a ^ k1, b ^ seed ^ k2));
    }
    static bool sameUnits(const char16_t *a, const char16_t *b, int length)
    {
        int i = 0;
        for (; i + 4 <= length; i += 4) {
            if (load64(a + i) != load64(b + i))
                return false;
        }
        for (; i < length; ++i) {
            if (a[i] != b[i])
                return false;
        }
        return true;
    }
    int findSlot(const char16_t *text, const char16_t *word, int length, std::uint32_t hash) const;
    void grow();

    std::vector<std::uint32_t> m_slots; // entry index + 1, 0 for empty; power-of-two size
    std::vector<Entry> m_entries;
    std::vector<int> m_lines;
    std::vector<std::pair<int, int>> m_pending; // (entry, line) while building
};

} // namespace ide::code
