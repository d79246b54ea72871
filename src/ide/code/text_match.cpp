#include "ide/code/text_match.h"

#include <string_view>

#include <QChar>
#include <algorithm>
#include <limits>
#include <memory>

namespace ide::code {

const char16_t *foldTable()
{
    static const std::unique_ptr<char16_t[]> table = [] {
        auto t = std::make_unique<char16_t[]>(0x10000);
        for (char32_t c = 0; c < 0x10000; ++c) {
            const char32_t f = QChar::isSurrogate(c) ? c : QChar::toCaseFolded(c);
            t[c] = f <= 0xFFFF ? char16_t(f) : char16_t(c);
        }
        return t;
    }();
    return table.get();
}

void appendFolded(QStringView text, QString &out)
{
    const qsizetype base = out.size();
    out.resize(base + text.size());
    char16_t *dst = reinterpret_cast<char16_t *>(out.data()) + base;
    const char16_t *table = foldTable();
    for (QChar c : text)
        *dst++ = table[c.unicode()];
}

QString folded(QStringView text)
{
    QString out;
    appendFolded(text, out);
    return out;
}

bool equalsFolded(QStringView a, QStringView b)
{
    return a.size() == b.size() && compareFolded(a, b) == 0;
}

int compareFolded(QStringView a, QStringView b)
{
    const char16_t *table = foldTable();
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = table[a[i].unicode()];
        const char16_t y = table[b[i].unicode()];
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

qsizetype findLiteral(QStringView haystack, QStringView needle, qsizetype from, qsizetype limit,
                      bool wholeWord)
{
    const qsizetype m = needle.size();
    limit = std::min(limit, haystack.size());
    if (m == 0 || from < 0 || limit < m)
        return -1;
    // Lines are short: a plain scan for the first unit beats a general string search.
    const char16_t *h = reinterpret_cast<const char16_t *>(haystack.utf16());
    const char16_t *n = reinterpret_cast<const char16_t *>(needle.utf16());
    const std::u16string_view window(h, size_t(limit));
    const std::u16string_view wanted(n, size_t(m));
    while (from + m <= limit) {
        const size_t found = window.find(wanted, size_t(from));
        if (found == std::u16string_view::npos)
            return -1;
        const qsizetype pos = qsizetype(found);
        if (!wholeWord || isWholeWord(haystack, pos, pos + m))
            return pos;
        from = pos + 1;
    }
    return -1;
}

LikePattern::LikePattern(QStringView pattern)
{
    const qsizetype n = pattern.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = pattern[i].unicode();
        if (c == u'*') {
            if (m_elements.empty() || m_elements.back().op != Op::Star)
                m_elements.push_back({Op::Star, false, 0, 0, 0});
        } else if (c == u'?') {
            m_elements.push_back({Op::Any, false, 0, 0, 0});
        } else if (c == u'#') {
            m_elements.push_back({Op::Digit, false, 0, 0, 0});
        } else if (c == u'[' && pattern.indexOf(u']', i + 1) >= 0) {
            const qsizetype close = pattern.indexOf(u']', i + 1);
            QStringView body = pattern.sliced(i + 1, close - i - 1);
            i = close;
            if (body.isEmpty())
                continue; // `[]` matches the empty string
            Element e{Op::Class, false, 0, int(m_ranges.size()), 0};
            if (body[0] == u'!') {
                e.negate = true;
                body = body.sliced(1);
            }
            for (qsizetype k = 0; k < body.size(); ++k) {
                const char16_t lo = foldChar(body[k].unicode());
                if (k + 2 < body.size() && body[k + 1] == u'-') {
                    m_ranges.emplace_back(lo, foldChar(body[k + 2].unicode()));
                    k += 2;
                } else {
                    m_ranges.emplace_back(lo, lo);
                }
            }
            e.rangeEnd = int(m_ranges.size());
            m_elements.push_back(e);
        } else {
            m_elements.push_back({Op::Char, false, foldChar(c), 0, 0});
        }
    }
}

bool LikePattern::accepts(const Element &e, char16_t c) const
{
    switch (e.op) {
    case Op::Char:
        return c == e.ch;
    case Op::Any:
    case Op::Star:
        return true;
    case Op::Digit:
        return c >= u'0' && c <= u'9';
    case Op::Class: {
        bool in = false;
        for (int r = e.rangeBegin; r < e.rangeEnd && !in; ++r)
            in = m_ranges[r].first <= c && c <= m_ranges[r].second;
        return in != e.negate;
    }
    }
    return false;
}

namespace {
constexpr qsizetype kNone = std::numeric_limits<qsizetype>::max();

/// Active NFA states, each with the smallest start position that reached it.
struct StateSet {
    std::vector<qsizetype> start;
    std::vector<int> active;
    explicit StateSet(size_t states) : start(states, kNone) { active.reserve(states); }
    void clear()
    {
        for (int k : active)
            start[k] = kNone;
        active.clear();
    }
};
} // namespace

bool LikePattern::search(QStringView line, qsizetype from, qsizetype limit, bool wholeWord,
                         qsizetype &matchStart, qsizetype &matchEnd) const
{
    const qsizetype n = line.size();
    limit = std::min(limit, n);
    from = std::max<qsizetype>(from, 0);
    if (from >= limit)
        return false;
    const int accept = int(m_elements.size());
    StateSet cur(accept + 1), next(accept + 1);

    // Adds state k with start s and follows the empty moves past `*`.
    auto add = [&](StateSet &set, int k, qsizetype s) {
        for (;;) {
            if (set.start[k] <= s)
                return;
            if (set.start[k] == kNone)
                set.active.push_back(k);
            set.start[k] = s;
            if (k < accept && m_elements[k].op == Op::Star)
                ++k;
            else
                return;
        }
    };

    qsizetype bestStart = kNone, bestEnd = -1;
    for (qsizetype p = from;; ++p) {
        if (bestStart == kNone && p < limit
            && (!wholeWord || p == 0 || !isWordChar(line[p].unicode())
                || !isWordChar(line[p - 1].unicode())))
            add(cur, 0, p);
        const qsizetype s = cur.start[accept];
        if (s != kNone && p > s && (!wholeWord || isWholeWord(line, s, p))) {
            if (s < bestStart) {
                bestStart = s;
                bestEnd = p;
            } else if (s == bestStart) {
                bestEnd = p;
            }
        }
        if (bestStart != kNone) {
            // Threads that started later can never win over the leftmost match.
            qsizetype kept = 0;
            for (int k : cur.active) {
                if (cur.start[k] <= bestStart)
                    cur.active[kept++] = k;
                else
                    cur.start[k] = kNone;
            }
            cur.active.resize(kept);
            if (cur.active.empty())
                break;
        }
        if (p >= limit)
            break;
        const char16_t c = line[p].unicode();
        for (int k : cur.active) {
            if (k == accept)
                continue;
            const Element &e = m_elements[k];
            if (!accepts(e, c))
                continue;
            add(next, e.op == Op::Star ? k : k + 1, cur.start[k]);
        }
        cur.clear();
        std::swap(cur, next);
    }
    if (bestStart == kNone)
        return false;
    matchStart = bestStart;
    matchEnd = bestEnd;
    return true;
}

bool LikePattern::matchesWhole(QStringView text) const
{
    if (text.isEmpty())
        return std::all_of(m_elements.begin(), m_elements.end(),
                           [](const Element &e) { return e.op == Op::Star; });
    qsizetype s = 0, e = 0;
    return search(text, 0, text.size(), false, s, e) && s == 0 && e == text.size();
}

} // namespace ide::code
