#pragma once
#include <QString>
#include <QStringView>
#include <vector>

/// Character rules and line matchers shared by both Find paths of a code module.
namespace ide::code {

/// Table of 65,536 entries: the simple (one unit to one unit) case fold of each UTF-16 unit,
/// so folded text keeps its columns. Surrogates fold to themselves.
const char16_t *foldTable();

inline char16_t foldChar(char16_t c)
{
    if (c < 0x80)
        return (c >= u'A' && c <= u'Z') ? char16_t(c | 0x20) : c;
    return foldTable()[c];
}

/// Appends the folded form of `text` to `out`.
void appendFolded(QStringView text, QString &out);
QString folded(QStringView text);

/// Case-insensitive equality under foldChar.
bool equalsFolded(QStringView a, QStringView b);
/// Three-way comparison under foldChar (negative, zero, positive).
int compareFolded(QStringView a, QStringView b);

/// Find's word characters: ASCII letters and digits and every non-ASCII unit.
/// The underscore is not one, so `Foo` is a whole word inside `Foo_Click`.
inline bool isWordChar(char16_t c)
{
    if (c >= 0x80)
        return true;
    const char16_t lower = c | 0x20;
    return (lower >= u'a' && lower <= u'z') || (c >= u'0' && c <= u'9');
}

/// Whole-word test of the match [start, end) of `line`: each side whose matched character is a
/// word character must touch a non-word character or the line boundary.
inline bool isWholeWord(QStringView line, qsizetype start, qsizetype end)
{
    if (start > 0 && isWordChar(line[start].unicode()) && isWordChar(line[start - 1].unicode()))
        return false;
    if (end < line.size() && isWordChar(line[end - 1].unicode())
        && isWordChar(line[end].unicode()))
        return false;
    return true;
}

/// First match of `needle` in `haystack` (both already in the same case form) that starts at or
/// after `from`, ends at or before `limit` and passes the whole-word test when asked; -1 if none.
qsizetype findLiteral(QStringView haystack, QStringView needle, qsizetype from, qsizetype limit,
                      bool wholeWord);

/// A VB `Like` pattern (`?`, `*`, `#`, `[a-z]`, `[!...]`), always matched case-insensitively
/// against folded text. An unterminated `[` is a literal character.
class LikePattern {
public:
    explicit LikePattern(QStringView pattern);

    /// Leftmost, then longest, non-empty match in folded `line` that starts at or after `from`
    /// and ends at or before `limit`. Linear in the line length times the active states.
    bool search(QStringView line, qsizetype from, qsizetype limit, bool wholeWord,
                qsizetype &start, qsizetype &end) const;

    /// Whether the whole of folded `text` matches (the `Like` operator itself).
    bool matchesWhole(QStringView text) const;

private:
    enum class Op : unsigned char { Char, Any, Digit, Class, Star };
    struct Element {
        Op op;
        bool negate;
        char16_t ch;
        int rangeBegin;
        int rangeEnd;
    };
    bool accepts(const Element &e, char16_t c) const;

    std::vector<Element> m_elements;
    std::vector<std::pair<char16_t, char16_t>> m_ranges;
};

} // namespace ide::code
