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
        range.endLimit = m_lines.at(n - 1).size();
    } else {
        range.lastLine = endLine - 1;
        const qsizetype length = endLine > 0 ? m_lines.at(endLine - 1).size() : 0;
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

bool ModuleCode::narrow(QStringView paddedTarget, bool wholeWord, std::span<const int> &candidates,
                        bool &indexed) const
{
    // A word run of the target that any match must hold as a whole token narrows the lines:
    // with wholeWord every run, otherwise the runs with punctuation on both sides. Failing
    // those, the longest run lies inside some token: the substring index gives those lines.
    const qsizetype m = paddedTarget.size();
    const char16_t *text = reinterpret_cast<const char16_t *>(m_folded.constData());
    qsizetype partFrom = 0, partLength = 0;
    for (qsizetype a = 0; a < m;) {
        if (!isWordChar(paddedTarget[a].unicode())) {
            ++a;
            continue;
        }
        qsizetype b = a;
        while (b < m && isWordChar(paddedTarget[b].unicode()))
            ++b;
        if (wholeWord || (a > 0 && b < m)) {
            const std::span<const int> lines = m_index.linesPadded(text, paddedTarget.sliced(a, b - a));
            if (lines.empty())
                return false;
            if (!indexed || lines.size() < candidates.size())
                candidates = lines;
            indexed = true;
        } else if (b - a > partLength) {
            partFrom = a;
            partLength = b - a;
        }
        a = b;
    }
    if (indexed || partLength == 0)
        return true;
    if (!m_substrings)
        m_substrings = std::make_shared<SubstringIndex>(m_index, text);
    const std::vector<int> &lines = m_substrings->lines(paddedTarget.sliced(partFrom, partLength));
    if (lines.empty())
        return false;
    candidates = lines;
    indexed = true;
    return true;
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
    auto limit = [&](int l) { return l == r.lastLine ? r.endLimit : m_lines.at(l).size(); };

    const qsizetype m = target.size();
    // Padded so that the index may read its words a block at a time.
    QVarLengthArray<char16_t, 128> buffer(m + TokenIndex::kPadding);
    for (qsizetype k = 0; k < m; ++k)
        buffer[k] = foldChar(target[k].unicode());
    std::fill(buffer.begin() + m, buffer.end(), char16_t(0));
    const QStringView foldedTarget(buffer.data(), m);

    // A pattern without wildcards matches its own text: it is searched as that text.
    const bool wildcards = patternSearch
        && std::any_of(buffer.begin(), buffer.begin() + m,
                       [](char16_t c) { return c == u'?' || c == u'*' || c == u'#' || c == u'['; });
    if (wildcards) {
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

    std::span<const int> candidates;
    bool indexed = false;
    if (!narrow(foldedTarget, wholeWord, candidates, indexed))
        return false;
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
        for (auto it = std::lower_bound(candidates.begin(), candidates.end(), r.firstLine);
             it != candidates.end() && *it <= r.lastLine; ++it) {
            if (tryLine(*it))
                return true;
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
