#pragma once
#include <QStringView>
#include <cstdint>
#include <span>
#include <vector>

namespace ide::code {

/// Folded word -> ascending pane-line indexes (0-based) of the lines holding it as a whole
/// token (a maximal run of Find's word characters). Keys are not copied: each entry points at
/// its first occurrence in the module's folded text, which the caller owns and passes back in.
class TokenIndex {
public:
    /// Records a token of `length` units at `pos` in `text`. Lines must come in ascending order.
    void add(const char16_t *text, qsizetype pos, int length, int line);
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
    static std::uint32_t hashOf(const char16_t *s, qsizetype length);
    int findSlot(const char16_t *text, const char16_t *word, int length, std::uint32_t hash) const;
    void grow(const char16_t *text);

    std::vector<std::uint32_t> m_slots; // entry index + 1, 0 for empty; power-of-two size
    std::vector<Entry> m_entries;
    std::vector<int> m_lines;
    std::vector<std::pair<int, int>> m_pending; // (entry, line) while building
};

} // namespace ide::code
