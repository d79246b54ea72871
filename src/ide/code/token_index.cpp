#include "ide/code/token_index.h"

#include <algorithm>
#include <limits>

namespace ide::code {

std::uint32_t TokenIndex::hashOf(const char16_t *s, qsizetype length)
{
    std::uint64_t acc = seed(length);
    qsizetype i = 0;
    for (; i + kBlock < length; i += kBlock)
        acc = mixBlock(acc, load64(s + i), load64(s + i + 4), load64(s + i + 8), load64(s + i + 12));
    // The last block zero-padded, built in lanes: a copy loop became a call to memcpy.
    std::uint64_t lanes[4] = {};
    for (qsizetype k = 0; k < length - i; ++k)
        lanes[k / 4] |= std::uint64_t(s[i + k]) << (16 * (k % 4));
    return finalMix(mixBlock(acc, lanes[0], lanes[1], lanes[2], lanes[3]));
}

std::span<const int> TokenIndex::find(const char16_t *word, int length, std::uint32_t hash) const
{
    const std::uint32_t mask = std::uint32_t(m_slots.size() - 1);
    for (std::uint32_t i = hash & mask;; i = (i + 1) & mask) {
        const std::uint32_t slot = m_slots[i];
        if (slot == 0)
            return {};
        const Entry &e = m_entries[slot - 1];
        if (e.hash == hash && e.length == length && sameUnits(m_words.data() + e.pos, word, length))
            return {m_lines.data() + e.first, size_t(e.count)};
    }
}

std::span<const int> TokenIndex::lines(QStringView word) const
{
    if (m_slots.empty() || word.isEmpty() || word.size() > std::numeric_limits<int>::max())
        return {};
    return find(word.utf16(), int(word.size()), hashOf(word.utf16(), word.size()));
}

std::span<const int> TokenIndex::linesPadded(QStringView word) const
{
#if defined(__SSE2__)
    if (m_slots.empty() || word.isEmpty() || word.size() > kBlock)
        return lines(word);
    const int length = int(word.size());
    return find(word.utf16(), length, hashOf(keyOfPadded(word.utf16(), length), length));
#else
    return lines(word);
#endif
}

size_t TokenIndex::memoryUsage() const
{
    return m_slots.capacity() * sizeof(std::uint32_t) + m_entries.capacity() * sizeof(Entry)
        + m_lines.capacity() * sizeof(int) + m_words.capacity() * sizeof(char16_t)
        + 4 * 16; // malloc's overhead on each table
}

namespace {
// Stands for the table before the first token, so that add() never tests for its absence.
const std::uint32_t kNoSlots[1] = {0};
} // namespace

TokenIndexBuilder::TokenIndexBuilder(TokenIndex &index, qsizetype units)
    : m_index(index), m_slots(const_cast<std::uint32_t *>(kNoSlots)),
      // About one new (word, line) pair per eight units of code.
      m_pending(new Pending[size_t(units / 8) + 64]), m_pendingCapacity(size_t(units / 8) + 64)
{
}

void TokenIndexBuilder::insert(const char16_t *word, int length, std::uint32_t hash, int line, const Key &key)
{
    std::vector<char16_t> &words = m_index.m_words;
    const std::uint32_t pos = std::uint32_t(words.size());
    words.insert(words.end(), word, word + length);
    std::vector<TokenIndex::Entry> &entries = m_index.m_entries;
    if ((entries.size() + 1) * 2 > m_index.m_slots.size())
        grow();
    std::uint32_t i = hash & m_mask;
    while (m_slots[i] != 0)
        i = (i + 1) & m_mask;
    entries.push_back({pos, length, hash, line, 1});
    m_entries = entries.data();
    m_slots[i] = std::uint32_t(entries.size());
    m_keyStore.push_back(key);
    m_keys = m_keyStore.data();
    if (m_pendingCount == m_pendingCapacity)
        growPending();
    m_pending[m_pendingCount++] = {int(entries.size() - 1), line};
}

void TokenIndexBuilder::addPlain(const char16_t *word, int length, int line)
{
    const std::uint32_t hash = TokenIndex::hashOf(word, length);
    for (std::uint32_t i = hash & m_mask;; i = (i + 1) & m_mask) {
        const std::uint32_t slot = m_slots[i];
        if (slot == 0) {
            insert(word, length, hash, line, length <= kBlock ? TokenIndex::keyOf(word, length) : Key{});
            return;
        }
        const TokenIndex::Entry &e = m_entries[slot - 1];
        if (e.hash == hash && e.length == length
            && TokenIndex::sameUnits(m_index.m_words.data() + e.pos, word, length)) {
            repeat(slot - 1, line);
            return;
        }
    }
}

void TokenIndexBuilder::growPending()
{
    const size_t capacity = m_pendingCapacity * 2;
    std::unique_ptr<Pending[]> bigger(new Pending[capacity]);
    std::copy_n(m_pending.get(), m_pendingCount, bigger.get());
    m_pending = std::move(bigger);
    m_pendingCapacity = capacity;
}

void TokenIndexBuilder::grow()
{
    std::vector<std::uint32_t> &slots = m_index.m_slots;
    const std::vector<TokenIndex::Entry> &entries = m_index.m_entries;
    const size_t size = slots.empty() ? 64 : slots.size() * 2;
    slots.assign(size, 0);
    const std::uint32_t mask = std::uint32_t(size - 1);
    for (size_t k = 0; k < entries.size(); ++k) {
        std::uint32_t i = entries[k].hash & mask;
        while (slots[i] != 0)
            i = (i + 1) & mask;
        slots[i] = std::uint32_t(k + 1);
    }
    m_slots = slots.data();
    m_mask = mask;
}

void TokenIndexBuilder::finish()
{
    std::vector<TokenIndex::Entry> &entries = m_index.m_entries;
    std::vector<int> cursor(entries.size());
    int total = 0;
    for (size_t k = 0; k < entries.size(); ++k) {
        entries[k].first = total;
        cursor[k] = total;
        total += entries[k].count;
    }
    m_index.m_lines.resize(size_t(total));
    for (size_t k = 0; k < m_pendingCount; ++k)
        m_index.m_lines[size_t(cursor[m_pending[k].entry]++)] = m_pending[k].line;
    entries.shrink_to_fit();
    m_index.m_words.shrink_to_fit();
}

} // namespace ide::code
