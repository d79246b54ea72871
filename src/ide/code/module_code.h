#pragma once
#include "host/constants.h"
#include "ide/code/substring_index.h"
#include "ide/code/token_index.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ide::code {

/// One Sub, Function or Property Get/Let/Set procedure. Lines are pane lines (1-based).
struct ProcInfo {
    QString name;
    host::ProcKind kind;
    host::Scope scope;
    bool isStatic;
    int startLine;  ///< first line after the previous procedure (or the declarations)
    int bodyLine;   ///< the header's first physical line (the first header when duplicated)
    int countLines; ///< startLine .. End line; the last procedure runs to the end of the module
    int endLine;    ///< last physical line of the `End …` statement
};

/// One entry of the module's Members collection.
struct MemberInfo {
    QString name;
    host::MemberType type;
    host::Scope scope;
    bool isStatic;
    int codeLocation; ///< ProcStartLine of its first procedure, else the declaration's line
    QString description;
};

/// A problem found while reading the code; the module is loaded anyway.
struct CodeDiagnostic {
    int fileLine;
    QString message;
};

/// The code part of one VB6 module as the IDE's CodeModule shows it: pane lines (attribute lines
/// hidden), declarations, procedures, members and Find. Built once; immutable afterwards.
class ModuleCode {
public:
    /// An empty module.
    ModuleCode();
    /// `codePartLines`: the decoded physical lines after the designer/class header block (for a
    /// .bas the whole file), so they begin with the module's `Attribute VB_Name` line;
    /// `firstFileLine`: the 1-based file line of the first of them.
    ModuleCode(QStringList codePartLines, int firstFileLine);
    /// The same lines given as spans of one buffer: line k is text[starts[k], starts[k + 1]).
    ModuleCode(QStringView text, std::span<const std::uint32_t> starts, int firstFileLine);
    /// One line as the loader read it: `size` ASCII bytes, or `size` UTF-16 units.
    struct SourceLine {
        const void *data;
        qsizetype size;
        bool ascii;
    };
    /// The same lines, ASCII ones as bytes so that they are stored without a detour through UTF-16.
    ModuleCode(std::span<const SourceLine> lines, int firstFileLine);

    int countOfLines() const { return int(m_lineStarts.size()) - 1; }
    int countOfDeclarationLines() const { return m_declarationLines; }
    /// Pane lines start .. start+count-1 joined with CR LF, no trailing CR LF; count is clipped
    /// at the end. Throws 5 for start outside 1..countOfLines()+1 or count < 0.
    QString lines(int startLine, int count) const;
    /// 1-based pane line; the caller keeps it in range.
    QString line(int paneLine) const;
    /// Its length in UTF-16 units, without building it.
    qsizetype lineLength(int paneLine) const { return stored(paneLine - 1).size; }
    /// 1-based file line of a pane line; throws 5 outside 1..countOfLines().
    int fileLineOf(int paneLine) const;

    /// Throw 35 when no procedure of that name (any case) and kind exists. A Declare answers
    /// kind Proc: start and body line 1, count its last pane line.
    int procStartLine(const QString &name, host::ProcKind kind) const;
    int procBodyLine(const QString &name, host::ProcKind kind) const;
    int procCountLines(const QString &name, host::ProcKind kind) const;
    /// Name of the procedure owning `line` and its kind; "" and Proc in the declarations.
    /// Throws 5 outside 1..countOfLines().
    QString procOfLine(int line, host::ProcKind &kind) const;

    /// CodeModule.Find: forward search from (startLine, startCol) to (endLine, endCol), -1 meaning
    /// the last line / the end of the end line, inclusive of a match ending at endCol. On success
    /// the four positions hold the match, endCol one past its last character; on failure they are
    /// unchanged. Throws 5 when matchCase and patternSearch are both set.
    bool find(const QString &target, int &startLine, int &startCol, int &endLine, int &endCol,
              bool wholeWord = false, bool matchCase = false, bool patternSearch = false) const;
    /// The same search by a plain scan of every line, without the token index or folded copy;
    /// the reference `find` must equal.
    bool findByScan(const QString &target, int &startLine, int &startCol, int &endLine,
                    int &endCol, bool wholeWord = false, bool matchCase = false,
                    bool patternSearch = false) const;

    /// Every Sub/Function/Property procedure in code order; Declares excluded.
    const std::vector<ProcInfo> &procedures() const { return m_procedures; }
    /// Members in ascending codeLocation.
    const std::vector<MemberInfo> &members() const { return m_members; }
    const std::vector<CodeDiagnostic> &diagnostics() const { return m_diagnostics; }

    /// Bytes held on the heap and in the object, allocator overhead estimated, for memory
    /// reports.
    size_t memoryUsage() const;

private:
    struct Builder;
    /// Stores the lines and reads their code.
    void build(std::span<const SourceLine> lines);
    struct Declare {
        QString name;
        int line;
        int lastLine;
    };
    struct Target; // a procedure or Declare found by name and kind
    struct SearchRange {
        int firstLine; // 0-based
        int lastLine;
        qsizetype firstColumn; // 0-based start on firstLine
        qsizetype endLimit;    // exclusive end bound on lastLine
    };

    /// A pane line as stored: ASCII lines one byte a unit, others UTF-16.
    struct StoredLine {
        const char *bytes;
        qsizetype size; // in units
        bool wide;
        QLatin1StringView narrow() const { return {bytes, size}; }
        QStringView utf16() const { return {reinterpret_cast<const char16_t *>(bytes), size}; }
    };
    // m_lineStarts: byte offset of each line in m_text, then the end of the text. Flags: the
    // line is UTF-16; a padding byte before it keeps it aligned.
    static constexpr std::uint32_t kWide = 1u << 31;
    static constexpr std::uint32_t kPadded = 1u << 30;
    static constexpr std::uint32_t kOffset = kPadded - 1;
    StoredLine stored(int index) const
    {
        const std::uint32_t start = m_lineStarts[size_t(index)];
        const std::uint32_t next = m_lineStarts[size_t(index) + 1];
        const std::uint32_t end = (next & kOffset) - ((next & kPadded) ? 1 : 0);
        const std::uint32_t from = start & kOffset;
        const bool wide = start & kWide;
        return {m_text.constData() + from, qsizetype(end - from) >> (wide ? 1 : 0), wide};
    }
    int fileLineAt(int index) const;
    /// A pane line folded into `out`.
    QStringView foldedLine(int index, QVarLengthArray<char16_t, 256> &out) const;

    Target lookup(const QString &name, host::ProcKind kind) const;
    bool normalizeRange(int startLine, int startCol, int endLine, int endCol,
                        SearchRange &range) const;
    /// The last search's target and what narrowing found for it: callers search the same
    /// target again from the line after each hit. A copy of a module starts without it (its
    /// spans point into the original).
    struct LastSearch {
        LastSearch() = default;
        LastSearch(const LastSearch &) {}
        LastSearch &operator=(const LastSearch &)
        {
            valid = false;
            foldedFirst = foldedEnd = 0;
            return *this;
        }
        bool valid = false;
        std::u16string target; // a copy of the characters: cheaper than sharing the caller's

        bool wholeWord = false;
        bool patternSearch = false;
        QString folded;      // the target folded, padded by TokenIndex::kPadding zeros
        bool wildcards = false;
        bool possible = true; // false: the target occurs nowhere
        bool indexed = false;
        std::span<const int> candidates;
        std::vector<int> substringLines; // what `candidates` points at, for a part of a token
        size_t cursor = 0;               // candidate of the last hit
        // The ASCII lines [foldedFirst, foldedEnd) last folded for a scan, from m_text's offset
        // foldedAt: a search resumed after a hit goes on in them instead of folding them again.
        int foldedFirst = 0, foldedEnd = 0;
        std::uint32_t foldedAt = 0;
        std::vector<char> foldedText;
        /// Possible everywhere, not narrowed yet.
        void restart()
        {
            possible = true;
            indexed = false;
            candidates = {};
            cursor = 0;
        }
    };
    /// Fills `search` for its target: the lines a match must lie on (`indexed`), or
    /// `possible` false when it occurs nowhere.
    void narrowSearch(LastSearch &search) const;
    /// Fills m_index from the stored lines.
    void buildIndex() const;
    /// The same for a pattern with wildcards, by its longest literal word run.
    void narrowPattern(LastSearch &search) const;
    /// Candidates from the substring index for the folded target's characters
    /// [partFrom, partFrom + partLength), once the module is searched often enough to build it.
    void narrowByPart(LastSearch &search, qsizetype partFrom, qsizetype partLength) const;

    QByteArray m_text; // every pane line, back to back, no separators
    std::vector<std::uint32_t> m_lineStarts;
    int m_firstFileLine = 1;
    std::vector<int> m_hiddenBefore; // per hidden attribute line, the pane index after it
    // Built on the module's second search: loading (and the one search of a `find` over a
    // project) never pays for it.
    mutable TokenIndex m_index;
    mutable bool m_indexBuilt = false;
    mutable int m_searches = 0;
    static constexpr int kSearchesBeforeIndex = 2;
    mutable std::shared_ptr<SubstringIndex> m_substrings; // built once searches inside tokens repeat
    mutable int m_partSearches = 0;
    static constexpr int kPartSearchesBeforeIndex = 2;
    mutable LastSearch m_lastSearch;
    int m_declarationLines = 0;
    std::vector<ProcInfo> m_procedures;
    std::vector<Declare> m_declares;
    std::vector<int> m_byName; // procedures then Declares (as -1 - index), sorted by name, kind
    std::vector<MemberInfo> m_members;
    std::vector<CodeDiagnostic> m_diagnostics;
};

} // namespace ide::code
