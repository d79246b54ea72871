// CodeModule.Find over a ModuleCode: the indexed search and the plain scan it must equal.
#include "host/error.h"
#include "ide/code/module_code.h"
#include "ide/code/text_match.h"

#include <QVarLengthArray>
#include <algorithm>

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
        range.endLimit = lineLength(n - 1);
    } else {
        range.lastLine = endLine - 1;
        const qsizetype length = endLine > 0 ? lineLength(endLine - 1) : 0;
        range.endLimit = endCol < 0 ? length : std::min<qsizetype>(endCol, length);
    }
    return range.firstLine <= range.lastLine;
}

namespace {
void storeHit(int line, qsizetype start, qsizetype end, int &startLine, int &startCol,
              int &endLine, int &endCol)
{
    startLine = line + 1;
    startCol = int(start) + 1;
    endLine = line + 1;
    endCol = int(end) + 1;
}
} // namespace

void ModuleCode::narrow(LastSearch &search) const
{
    // A word run of the target that any match must hold as a whole token narrows the lines:
    // with wholeWord every run, otherwise the runs with punctuation on both sides. Failing
    // those, the longest run lies inside some token: the substring index gives those lines.
    search.possible = true;
    search.indexed = false;
    search.candidates = {};
    search.cursor = 0;
    const qsizetype m = search.target.size();
    const QStringView padded(search.folded);
    const char16_t *text = reinterpret_cast<const char16_t *>(m_folded.constData());
    qsizetype partFrom = 0, partLength = 0;
    for (qsizetype a = 0; a < m;) {
        if (!isWordChar(padded[a].unicode())) {
            ++a;
            continue;
        }
        qsizetype b = a;
        while (b < m && isWordChar(padded[b].unicode()))
            ++b;
        if (search.wholeWord || (a > 0 && b < m)) {
            const std::span<const int> lines = m_index.linesPadded(text, padded.sliced(a, b - a));
            if (lines.empty()) {
                search.possible = false;
                return;
            }
            if (!search.indexed || lines.size() < search.candidates.size())
                search.candidates = lines;
            search.indexed = true;
        } else if (b - a > partLength) {
            partFrom = a;
            partLength = b - a;
        }
        a = b;
    }
    if (search.indexed || partLength == 0)
        return;
    if (!m_substrings)
        m_substrings = std::make_shared<SubstringIndex>(m_index, text);
    m_substrings->lines(padded.sliced(partFrom, partLength), search.substringLines);
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
    auto limit = [&](int l) { return l == r.lastLine ? r.endLimit : lineLength(l); };

    const qsizetype m = target.size();
    LastSearch &search = m_lastSearch;
    const std::u16string_view targetUnits(reinterpret_cast<const char16_t *>(target.utf16()), size_t(m));
    if (!search.valid || search.wholeWord != wholeWord || search.patternSearch != patternSearch
        || std::u16string_view(search.target) != targetUnits) {
        if (!wholeWord && m <= 32 && m_substrings) {
            // A single word searched inside tokens, in a module where no token holds it: the
            // usual answer when every name is looked for in every module.
            char16_t units[32];
            bool word = true;
            for (qsizetype k = 0; k < m && word; ++k) {
                units[k] = foldChar(target[k].unicode());
                word = isWordChar(units[k]);
            }
            if (word && !m_substrings->mayHold(QStringView(units, m)))
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
        if (!search.wildcards)
            narrow(search);
    }
    const QStringView foldedTarget = QStringView(search.folded).first(m);

    if (search.wildcards) {
        const LikePattern pattern(target);
        for (int l = r.firstLine; l <= r.lastLine; ++l) {
            qsizetype s = 0, e = 0;
            if (pattern.search(foldedLine(l), from(l), limit(l), wholeWord, s, e)) {
                storeHit(l, s, e, startLine, startCol, endLine, endCol);
                return true;
            }
        }
        return false;
    }
    if (!search.possible)
        return false;
    const bool indexed = search.indexed;
    const std::span<const int> candidates = search.candidates;
    const QStringView needle = matchCase ? QStringView(target) : foldedTarget;
    auto tryLine = [&](int l) {
        const QStringView hay = matchCase ? QStringView(m_lines.at(l)) : foldedLine(l);
        const qsizetype s = findLiteral(hay, needle, from(l), limit(l), wholeWord);
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
    for (int l = r.firstLine; l <= r.lastLine; ++l) {
        if (tryLine(l))
            return true;
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
        const QString &line = m_lines.at(l);
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
