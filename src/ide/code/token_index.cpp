#include "ide/code/token_index.h"

namespace ide::code {

int TokenIndex::findSlot(const char16_t *text, const char16_t *word, int length,
                         std::uint32_t hash) const
{
    const std::uint32_t mask = std::uint32_t(m_slots.size() - 1);
    for (std::uint32_t i = hash & mask;; i = (i + 1) & mask) {
        const std::uint32_t slot = m_slots[i];
        if (slot == 0)
            return int(i);
        const Entry &e = m_entries[slot - 1];
        if (e.hash == hash && e.length == length && sameUnits(text + e.pos, word, length))
            return int(i);
    }
}

void TokenIndex::grow()
{
    const size_t size = m_slots.empty() ? 64 : m_slots.size() * 2;
    m_slots.assign(size, 0);
    const std::uint32_t mask = std::uint32_t(size - 1);
    for (size_t k = 0; k < m_entries.size(); ++k) {
        std::uint32_t i = m_entries[k].hash & mask;
        while (m_slots[i] != 0)
            i = (i + 1) & mask;
        m_slots[i] = std::uint32_t(k + 1);
    }
}

void TokenIndex::finish()
{
    std::vector<int> cursor(m_entries.size());
    int total = 0;
    for (size_t k = 0; k < m_entries.size(); ++k) {
        m_entries[k].first = total;
        cursor[k] = total;
        total += m_entries[k].count;
    }
    m_lines.resize(size_t(total));
    for (const auto &[entry, line] : m_pending)
        m_lines[size_t(cursor[entry]++)] = line;
    std::vector<std::pair<int, int>>().swap(m_pending);
    m_entries.shrink_to_fit();
}

std::span<const int> TokenIndex::lines(const char16_t *text, QStringView word) const
{
    if (m_slots.empty() || word.isEmpty())
        return {};
    const auto *w = reinterpret_cast<const char16_t *>(word.utf16());
    const int length = int(word.size());
    const int slot = findSlot(text, w, length, hashOf(w, length));
    if (m_slots[slot] == 0)
        return {};
    const Entry &e = m_entries[m_slots[slot] - 1];
    return {m_lines.data() + e.first, size_t(e.count)};
}

size_t TokenIndex::memoryUsage() const
{
    return m_slots.capacity() * sizeof(std::uint32_t) + m_entries.capacity() * sizeof(Entry)
        + m_lines.capacity() * sizeof(int) + m_pending.capacity() * sizeof(m_pending[0]);
}

} // namespace ide::code
