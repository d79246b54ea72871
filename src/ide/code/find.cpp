// CodeModule.Find over a ModuleCode: the indexed search and the plain scan it must equal.
#include "host/error.h"
#include "ide/code/module_code.h"
#include "ide/code/text_match.h"

#include <QVarLengthArray>
#include <algorithm>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ide::code {

bool ModuleCode::normalizeRange(int startLine, int startCol, int endLine, int endCol,
                                SearchRange &range) const
{
    const int n = countOfLines();
    if (n == 0)
        return false;
    range.firstLine = std::max(startLine, 1) - 1;
    range.firstColumn = std::max(startCol, 1) - 1;
    if (endLine < 0 || endLine > n) {
        range.lastLine = n - 1;
        range.endLimit = stored(n - 1).size;
    } else {
        range.lastLine = endLine - 1;
        const qsizetype length = endLine > 0 ? stored(endLine - 1).size : 0;
        range.endLimit = endCol < 0 ? length : std::min<qsizetype>(endCol, length);
    }
    return range.firstLine <= range.lastLine;
}

namespace {

using Scratch = QVarLengthArray<char16_t, 256>;
using ByteScratch = QVarLengthArray<char, 256>;

/// ASCII text with its letters lower-cased, as foldChar() does.
void foldAscii(const char *in, char *out, qsizetype n)
{
    qsizetype k = 0;
#if defined(__SSE2__)
    for (; k + 16 <= n; k += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + k));
        const __m128i upper = _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8('A' - 1)),
                                            _mm_cmplt_epi8(v, _mm_set1_epi8('Z' + 1)));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + k),
                         _mm_or_si128(v, _mm_and_si128(upper, _mm_set1_epi8(0x20))));
    }
#endif
    for (; k < n; ++k)
        out[k] = char(foldChar(char16_t(in[k])));
}

/// findLiteral() over ASCII text and an ASCII needle.
qsizetype findAscii(std::string_view haystack, std::string_view needle, qsizetype from,
                    qsizetype limit, bool wholeWord)
{
    const qsizetype m = qsizetype(needle.size());
    const qsizetype size = qsizetype(haystack.size());
    limit = std::min(limit, size);
    if (m == 0 || from < 0 || limit < m)
        return -1;
    const std::string_view window = haystack.substr(0, size_t(limit));
    auto word = [&](qsizetype at) { return isWordChar(char16_t(haystack[size_t(at)])); };
    while (from + m <= limit) {
        const size_t found = window.find(needle, size_t(from));
        if (found == std::string_view::npos)
            return -1;
        const qsizetype pos = qsizetype(found), end = pos + m;
        if (!wholeWord
            || !((pos > 0 && word(pos) && word(pos - 1)) || (end < size && word(end - 1) && word(end))))
            return pos;
        from = pos + 1;
    }
    return -1;
}

void storeHit(int line, qsizetype start, qsizetype end, int &startLine, int &startCol,
              int &endLine, int &endCol)
{
    startLine = line + 1;
    startCol = int(start) + 1;
    endLine = line + 1;
    endCol = int(end) + 1;
}
} // namespace

QStringView ModuleCode::foldedLine(int index, QVarLengthArray<char16_t, 256> &out) const
{
    const StoredLine line = stored(index);
    out.resize(line.size);
    const char16_t *table = foldTable();
    if (line.wide) {
        const char16_t *in = line.utf16().utf16();
        for (qsizetype k = 0; k < line.size; ++k)
            out[k] = table[in[k]];
    } else {
        for (qsizetype k = 0; k < line.size; ++k)
            out[k] = table[static_cast<unsigned char>(line.bytes[k])];
    }
    return {out.data(), line.size};
}

namespace {

/// Calls `run(from, to)` for each maximal run of word characters of `target` until it
/// returns false.
template <class Run>
void forEachWordRun(QStringView target, Run run)
{
    const qsizetype m = target.size();
    for (qsizetype a = 0; a < m;) {
        if (!isWordChar(target[a].unicode())) {
            ++a;
            continue;
        }
        qsizetype b = a;
        while (b < m && isWordChar(target[b].unicode()))
            ++b;
        if (!run(a, b))
            return;
        a = b;
    }
}

} // namespace

void ModuleCode::narrowSearch(LastSearch &search) const
{
    // A word run of the target that any match must hold as a whole token narrows the lines:
    // with wholeWord every run, otherwise the runs with punctuation on both sides. Failing
    // those, the longest run lies inside some token: the substring index gives those lines.
    search.restart();
    if (!m_indexBuilt) {
        // A module searched once is scanned: building the index costs a few scans.
        if (++m_searches < kSearchesBeforeIndex)
            return;
        buildIndex();
    }
    const qsizetype m = search.target.size();
    const QStringView padded(search.folded);
    qsizetype partFrom = 0, partLength = 0;
    forEachWordRun(padded.first(m), [&](qsizetype a, qsizetype b) {
        if (search.wholeWord || (a > 0 && b < m)) {
            const std::span<const int> lines = m_index.linesPadded(padded.sliced(a, b - a));
            if (lines.empty()) {
                search.possible = false;
                return false;
            }
            if (!search.indexed || lines.size() < search.candidates.size())
                search.candidates = lines;
            search.indexed = true;
        } else if (b - a > partLength) {
            partFrom = a;
            partLength = b - a;
        }
        return true;
    });
    if (!search.possible || search.indexed || partLength == 0)
        return;
    narrowByPart(search, partFrom, partLength);
}

void ModuleCode::narrowPattern(LastSearch &search) const
{
    // Every match holds the pattern's literal word runs, each inside some token: the longest
    // one narrows the lines through the substring index. Character classes are left alone.
    search.restart();
    const qsizetype m = search.target.size();
    const QStringView padded(search.folded);
    if (padded.first(m).contains(u'['))
        return;
    qsizetype partFrom = 0, partLength = 0;
    forEachWordRun(padded.first(m), [&](qsizetype a, qsizetype b) {
        if (b - a > partLength) {
            partFrom = a;
            partLength = b - a;
        }
        return true;
    });
    if (partLength > 0)
        narrowByPart(search, partFrom, partLength);
}

void ModuleCode::narrowByPart(LastSearch &search, qsizetype partFrom, qsizetype partLength) const
{
    if (!m_substrings) {
        // Building the table costs about as much as a few plain scans: a module searched once
        // or twice (one Find over a project) is scanned; one searched for name after name
        // (the call analysis) gets the table.
        if (++m_partSearches < kPartSearchesBeforeIndex)
            return;
        if (!m_indexBuilt)
            buildIndex();
        m_substrings = std::make_shared<SubstringIndex>(m_index);
    }
    m_substrings->lines(QStringView(search.folded).sliced(partFrom, partLength), search.substringLines);
    if (search.substringLines.empty()) {
        search.possible = false;
        return;
    }
    search.candidates = search.substringLines;
    search.indexed = true;
}

bool ModuleCode::find(const QString &target, int &startLine, int &startCol, int &endLine,
                      int &endCol, bool wholeWord, bool matchCase, bool patternSearch) const
{
    if (matchCase && patternSearch)
        throw host::Error(host::err::InvalidCall);
    SearchRange r;
    if (target.isEmpty() || !normalizeRange(startLine, startCol, endLine, endCol, r))
        return false;
    auto from = [&](int l) { return l == r.firstLine ? r.firstColumn : 0; };
    auto limit = [&](int l) { return l == r.lastLine ? r.endLimit : stored(l).size; };
    Scratch scratch;

    const qsizetype m = target.size();
    LastSearch &search = m_lastSearch;
    const std::u16string_view targetUnits(reinterpret_cast<const char16_t *>(target.utf16()), size_t(m));
    if (!search.valid || search.wholeWord != wholeWord || search.patternSearch != patternSearch
        || std::u16string_view(search.target) != targetUnits) {
        if (!wholeWord && m <= 32 && m_substrings) {
            // A single word searched inside tokens, in a module where no token holds it: the
            // usual answer when every name is looked for in every module.
            const char16_t *units = reinterpret_cast<const char16_t *>(target.utf16());
            std::uint64_t hash = 0;
            bool word = true;
            for (qsizetype k = 0; k < m && word; ++k) {
                const char16_t c = foldChar(units[k]);
                word = isWordChar(c);
                hash = SubstringIndex::extend(hash, c);
            }
            if (word && !m_substrings->mayHoldHashed(hash, m))
                return false;
        }
        search.valid = true;
        search.target.assign(targetUnits);
        search.wholeWord = wholeWord;
        search.patternSearch = patternSearch;
        // Padded so that the index may read its words a block at a time.
        search.folded.resize(m + TokenIndex::kPadding);
        char16_t *buffer = reinterpret_cast<char16_t *>(search.folded.data());
        for (qsizetype k = 0; k < m; ++k)
            buffer[k] = foldChar(target[k].unicode());
        std::fill(buffer + m, buffer + m + TokenIndex::kPadding, char16_t(0));
        // A pattern without wildcards matches its own text: it is searched as that text.
        search.wildcards = patternSearch && std::any_of(buffer, buffer + m, [](char16_t c) {
            return c == u'?' || c == u'*' || c == u'#' || c == u'[';
        });
        if (search.wildcards)
            narrowPattern(search);
        else
            narrowSearch(search);
    }
    const QStringView foldedTarget = QStringView(search.folded).first(m);

    if (!search.possible)
        return false;
    const bool indexed = search.indexed;
    const std::span<const int> candidates = search.candidates;
    if (search.wildcards) {
        const LikePattern pattern(target);
        auto tryPattern = [&](int l) {
            qsizetype s = 0, e = 0;
            if (!pattern.search(foldedLine(l, scratch), from(l), limit(l), wholeWord, s, e))
                return false;
            storeHit(l, s, e, startLine, startCol, endLine, endCol);
            return true;
        };
        if (indexed) {
            for (auto it = std::lower_bound(candidates.begin(), candidates.end(), r.firstLine);
                 it != candidates.end() && *it <= r.lastLine; ++it) {
                if (tryPattern(*it))
                    return true;
            }
            return false;
        }
        for (int l = r.firstLine; l <= r.lastLine; ++l) {
            if (tryPattern(l))
                return true;
        }
        return false;
    }
    const QStringView needle = matchCase ? QStringView(target) : foldedTarget;
    // The needle for ASCII lines, none when it has a unit no ASCII line holds.
    QVarLengthArray<char, 128> asciiNeedle(m);
    bool asciiOk = true;
    for (qsizetype k = 0; k < m; ++k) {
        asciiOk &= needle[k].unicode() < 0x80;
        asciiNeedle[k] = char(needle[k].unicode());
    }

    ByteScratch bytes;
    auto tryLine = [&](int l) {
        const StoredLine line = stored(l);
        qsizetype s;
        if (!line.wide) {
            if (!asciiOk)
                return false;
            const char *hay = line.bytes;
            if (!matchCase) {
                bytes.resize(line.size);
                foldAscii(line.bytes, bytes.data(), line.size);
                hay = bytes.data();
            }
            s = findAscii({hay, size_t(line.size)}, {asciiNeedle.data(), size_t(m)}, from(l), limit(l),
                          wholeWord);
        } else {
            const QStringView hay = matchCase ? line.utf16() : foldedLine(l, scratch);
            s = findLiteral(hay, needle, from(l), limit(l), wholeWord);
        }
        if (s < 0)
            return false;
        storeHit(l, s, s + m, startLine, startCol, endLine, endCol);
        return true;
    };
    if (indexed) {
        // A search that goes on after its last hit starts from there.
        auto begin = candidates.begin();
        if (search.cursor < candidates.size() && candidates[search.cursor] < r.firstLine)
            begin += std::ptrdiff_t(search.cursor);
        for (auto it = std::lower_bound(begin, candidates.end(), r.firstLine);
             it != candidates.end() && *it <= r.lastLine; ++it) {
            if (tryLine(*it)) {
                search.cursor = size_t(it - candidates.begin());
                return true;
            }
        }
        return false;
    }
    for (int l = r.firstLine; l <= r.lastLine;) {
        if (!asciiOk || (m_lineStarts[size_t(l)] & kWide)) {
            if (tryLine(l))
                return true;
            ++l;
            continue;
        }
        // ASCII lines lie back to back in m_text: one search over a few kilobytes of them finds
        // the first line that can hold a hit (an occurrence across two lines is checked and
        // passed over) instead of a search per line. The chunks stay small so that a search
        // resumed after each hit reads little beyond the next one.
        constexpr std::uint32_t kChunk = 4096;
        const std::uint32_t chunkStart = m_lineStarts[size_t(l)];
        const bool refold = matchCase || l < search.foldedFirst || l >= search.foldedEnd;
        int end = l + 1;
        if (refold) {
            while (end <= r.lastLine && !(m_lineStarts[size_t(end)] & kWide)
                   && m_lineStarts[size_t(end)] - chunkStart < kChunk)
                ++end;
        } else {
            end = std::min(search.foldedEnd, r.lastLine + 1);
        }
        const StoredLine last = stored(end - 1);
        const qsizetype chunkSize = qsizetype(last.bytes + last.size - (m_text.constData() + chunkStart));
        const char *hay = m_text.constData() + chunkStart;
        if (!matchCase) {
            if (refold) {
                search.foldedText.resize(size_t(chunkSize));
                foldAscii(hay, search.foldedText.data(), chunkSize);
                search.foldedFirst = l;
                search.foldedEnd = end;
                search.foldedAt = chunkStart;
            }
            hay = search.foldedText.data() + (chunkStart - search.foldedAt);
        }
        const std::string_view text(hay, size_t(chunkSize));
        const std::string_view needleView(asciiNeedle.data(), size_t(m));
        size_t at = 0;
        while (l < end) {
            const size_t found = text.find(needleView, at);
            if (found == std::string_view::npos)
                break;
            // The line the occurrence starts on: the last one starting at or before it.
            const auto line = std::upper_bound(m_lineStarts.begin() + l, m_lineStarts.begin() + end,
                                               chunkStart + std::uint32_t(found))
                - 1;
            l = int(line - m_lineStarts.begin());
            if (tryLine(l))
                return true;
            ++l;
            at = l < end ? size_t(m_lineStarts[size_t(l)] - chunkStart) : text.size();
        }
        l = end;
    }
    return false;
}

bool ModuleCode::findByScan(const QString &target, int &startLine, int &startCol, int &endLine,
                            int &endCol, bool wholeWord, bool matchCase, bool patternSearch) const
{
    if (matchCase && patternSearch)
        throw host::Error(host::err::InvalidCall);
    SearchRange r;
    if (target.isEmpty() || !normalizeRange(startLine, startCol, endLine, endCol, r))
        return false;
    const LikePattern pattern(patternSearch ? QStringView(target) : QStringView());
    const qsizetype m = target.size();
    for (int l = r.firstLine; l <= r.lastLine; ++l) {
        const QString line = this->line(l + 1);
        const qsizetype from = l == r.firstLine ? r.firstColumn : 0;
        const qsizetype limit = l == r.lastLine ? r.endLimit : line.size();
        if (patternSearch) {
            qsizetype s = 0, e = 0;
            if (pattern.search(folded(line), from, limit, wholeWord, s, e)) {
                storeHit(l, s, e, startLine, startCol, endLine, endCol);
                return true;
            }
            continue;
        }
        for (qsizetype s = from; s + m <= limit; ++s) {
            qsizetype k = 0;
            for (; k < m; ++k) {
                const char16_t a = line[s + k].unicode();
                const char16_t b = target[k].unicode();
                if (a != b && (matchCase || foldChar(a) != foldChar(b)))
                    break;
            }
            if (k == m && (!wholeWord || isWholeWord(line, s, s + m))) {
                storeHit(l, s, s + m, startLine, startCol, endLine, endCol);
                return true;
            }
        }
    }
    return false;
}

} // namespace ide::code
