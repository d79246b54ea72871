#include "ide/code/module_code.h"

#include "host/error.h"
#include "ide/code/text_match.h"
#include "ide/code/vb_lexer.h"

#include <QHash>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ide::code {

using host::MemberType;
using host::ProcKind;
using host::Scope;

namespace {

constexpr int kMaxPhysicalLines = 25;
/// Tokens the lexer keeps of a statement in a procedure body: enough for `Sub Name`,
/// `Property Get Name`, `End Sub` and `Dim` or a line number before them.
constexpr int kBodyTokens = 4;

inline char16_t unitOf(char c) { return char16_t(static_cast<unsigned char>(c)); }
inline char16_t unitOf(char16_t c) { return c; }
inline char16_t unitOf(QChar c) { return c.unicode(); }

/// The first token of the line is `Attribute` (any case): a hidden line.
template <class Line>
bool isAttributeLine(Line line)
{
    qsizetype i = 0;
    const qsizetype n = line.size();
    const auto *p = line.data();
    while (i < n && isCodeSpace(unitOf(p[i])))
        ++i;
    if (n - i < 9 || (unitOf(p[i]) | 0x20) != u'a')
        return false; // nearly every line, decided without reading the word
    qsizetype j = i;
    while (j < n && j - i <= 9 && isIdentChar(unitOf(p[j])))
        ++j;
    return isKeyword(line.sliced(i, j - i), "attribute", 9);
}

/// `Attribute Name.VB_Description = "text"`: the member name and the unquoted text.
bool parseDescription(QStringView line, QString &name, QString &text)
{
    const qsizetype n = line.size();
    qsizetype i = 0;
    auto skipSpace = [&] {
        while (i < n && isCodeSpace(line[i].unicode()))
            ++i;
    };
    auto word = [&] {
        const qsizetype from = i;
        while (i < n && isIdentChar(line[i].unicode()))
            ++i;
        return line.sliced(from, i - from);
    };
    skipSpace();
    word(); // Attribute
    skipSpace();
    QStringView member;
    if (i < n && line[i] == u'[') {
        const qsizetype close = line.indexOf(u']', i + 1);
        if (close < 0)
            return false;
        member = line.sliced(i + 1, close - i - 1);
        i = close + 1;
    } else {
        member = word();
    }
    if (member.isEmpty() || i >= n || line[i] != u'.')
        return false;
    ++i;
    if (!isKeyword(word(), "vb_description"))
        return false;
    skipSpace();
    if (i >= n || line[i] != u'=')
        return false;
    ++i;
    skipSpace();
    if (i >= n || line[i] != u'"')
        return false;
    QString value;
    for (++i; i < n; ++i) {
        if (line[i] == u'"') {
            if (i + 1 < n && line[i + 1] == u'"') {
                value.append(u'"');
                ++i;
                continue;
            }
            name = member.toString();
            text = value;
            return true;
        }
        value.append(line[i]);
    }
    return false;
}

/// A hash of the folded form of `text`, equal for names equal under equalsFolded.
size_t foldedHash(QStringView text)
{
    size_t h = 14695981039346656037ull;
    for (QChar c : text)
        h = (h ^ foldChar(c.unicode())) * 1099511628211ull;
    return h;
}

/// An identifier's length without its type suffix (`Left$` -> `Left`).
qsizetype lengthWithoutSuffix(qsizetype size, char16_t last)
{
    if (size > 1
        && (last == u'$' || last == u'%' || last == u'&' || last == u'!' || last == u'#' || last == u'@'))
        return size - 1;
    return size;
}

QString endKeyword(ProcKind kind, bool isFunction)
{
    if (kind != ProcKind::Proc)
        return QStringLiteral("End Property");
    return isFunction ? QStringLiteral("End Function") : QStringLiteral("End Sub");
}

/// Folds one line into `out`, readable for TokenIndex::kPadding units past the line, and
/// records its whole-word tokens under pane line `pane`. Returns whether the line is ASCII.
bool foldLine(const char16_t *in, char16_t *out, qsizetype n, int pane, TokenIndexBuilder &index,
              const char16_t *table)
{
    bool ascii = true;
    qsizetype wordStart = -1; // of a token running on from an earlier chunk
    // Chunks of 64 units, one bit per unit, so that the token boundaries come from bit
    // operations instead of a branch per unit.
    for (qsizetype chunk = 0; chunk < n; chunk += 64) {
        const int size = int(std::min<qsizetype>(64, n - chunk));
        const char16_t *src = in + chunk;
        char16_t *dst = out + chunk;
        std::uint64_t words = 0; // bit k: unit k of the chunk is a word character
        int k = 0;
#if defined(__SSE2__)
        // Eight ASCII units at a time, which is nearly all code.
        auto within = [](__m128i x, char lo, char hi) {
            return _mm_and_si128(_mm_cmpgt_epi16(x, _mm_set1_epi16(short(lo - 1))),
                                 _mm_cmplt_epi16(x, _mm_set1_epi16(short(hi + 1))));
        };
        const __m128i zero = _mm_setzero_si128();
        auto block = [&](int at) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + at));
            if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(short(0xFF80))), zero))
                != 0xFFFF) {
                ascii = false;
                for (int j = at; j < at + 8; ++j) {
                    const char16_t c = table[src[j]];
                    dst[j] = c;
                    words |= std::uint64_t(isWordChar(c)) << j;
                }
                return;
            }
            const __m128i f = _mm_or_si128(v, _mm_and_si128(within(v, 'A', 'Z'), _mm_set1_epi16(0x20)));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(dst + at), f);
            const __m128i word = _mm_or_si128(within(f, 'a', 'z'), within(f, '0', '9'));
            words |= std::uint64_t(unsigned(_mm_movemask_epi8(_mm_packs_epi16(word, zero))) & 0xFFu) << at;
        };
        for (; k + 8 <= size; k += 8)
            block(k);
        if (k < size && size >= 8) {
            block(size - 8); // the last eight again, overlapping: the same units, the same bits
            k = size;
        }
#endif
        for (; k < size; ++k) {
            ascii &= src[k] < 0x80;
            const char16_t c = table[src[k]];
            dst[k] = c;
            words |= std::uint64_t(isWordChar(c)) << k;
        }
        // Starts and ends alternate, an end first when a token runs on from before.
        const std::uint64_t previous = words << 1 | std::uint64_t(wordStart >= 0);
        std::uint64_t starts = words & ~previous;
        std::uint64_t ends = ~words & previous & (size == 64 ? ~0ULL : (1ULL << size) - 1);
        for (;;) {
            if (wordStart < 0) {
                if (starts == 0)
                    break;
                wordStart = chunk + std::countr_zero(starts);
                starts &= starts - 1;
            }
            if (ends == 0)
                break;
            const qsizetype end = chunk + std::countr_zero(ends);
            ends &= ends - 1;
            index.add(out + wordStart, int(end - wordStart), pane);
            wordStart = -1;
        }
    }
    if (wordStart >= 0)
        index.add(out + wordStart, int(n - wordStart), pane);
    return ascii;
}

/// Stores a line one byte a unit when it is ASCII; returns whether it is. `out` has room for
/// `n` bytes whatever the answer.
bool narrowIfAscii(const char16_t *in, char *out, qsizetype n)
{
    qsizetype k = 0;
    char16_t high = 0;
#if defined(__SSE2__)
    __m128i seen = _mm_setzero_si128();
    for (; k + 16 <= n; k += 16) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + k));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + k + 8));
        seen = _mm_or_si128(seen, _mm_or_si128(low, next));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + k), _mm_packus_epi16(low, next));
    }
    high = char16_t(_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(seen, _mm_set1_epi16(short(0xFF80))),
                                                      _mm_setzero_si128()))
                    != 0xFFFF);
#endif
    for (; k < n; ++k) {
        high |= in[k] & 0xFF80;
        out[k] = char(in[k]);
    }
    return high == 0;
}

} // namespace

struct ModuleCode::Target {
    const ProcInfo *procedure;
    const Declare *declare;
};

/// The single pass over the lines: pane lines, folded text, token index, logical lines,
/// procedures, declarations and members.
struct ModuleCode::Builder {
    enum class Block { None, Type, Enum };

    Builder(ModuleCode &code, const SourceLine *paneLines) : m(code), lines(paneLines) {}

    ModuleCode &m;
    const SourceLine *lines; // the pane lines as given (ASCII ones as bytes), while building
    LogicalLineLexer lexer;
    int logicalFirst = -1; // pane index of the current logical line's first physical line
    int current = -1;      // open procedure
    bool seenHeader = false;
    int lastDeclarationLine = 0;
    int previousEnd = 0;
    Block block = Block::None;
    int blockFileLine = 0;
    std::vector<bool> isFunction; // per procedure, for the missing-End message
    std::vector<MemberInfo> members; // in code order
    std::vector<std::pair<QString, QString>> descriptions; // member name, text

    char16_t unitAt(int line, qsizetype column) const
    {
        const SourceLine &l = lines[line];
        return l.ascii ? unitOf(static_cast<const char *>(l.data)[column])
                       : static_cast<const char16_t *>(l.data)[column];
    }
    /// A one-unit token that is `c`.
    bool isUnit(const Token &t, char16_t c) const { return t.length == 1 && unitAt(t.line, t.start) == c; }
    /// A word's text without its type suffix.
    QString name(const Token &t) const
    {
        const SourceLine &l = lines[t.line];
        const qsizetype n = lengthWithoutSuffix(t.length, unitAt(t.line, t.start + t.length - 1));
        if (l.ascii)
            return QString::fromLatin1(static_cast<const char *>(l.data) + t.start, n);
        return QStringView(static_cast<const char16_t *>(l.data) + t.start, n).toString();
    }
    /// Takes the literal itself so the length test comes first, without strlen.
    template <size_t N>
    bool isWord(const Token &t, const char (&keyword)[N]) const
    {
        if (t.kind != TokenKind::Word || t.length != int(N - 1))
            return false;
        const SourceLine &l = lines[t.line];
        if (l.ascii)
            return isKeyword(QLatin1StringView(static_cast<const char *>(l.data) + t.start, t.length),
                             keyword, N - 1);
        return isKeyword(QStringView(static_cast<const char16_t *>(l.data) + t.start, t.length),
                         keyword, N - 1);
    }
    bool feed(int pane)
    {
        const SourceLine &l = lines[pane];
        if (l.ascii)
            return lexer.feed(QLatin1StringView(static_cast<const char *>(l.data), l.size), pane);
        return lexer.feed(QStringView(static_cast<const char16_t *>(l.data), l.size), pane);
    }

    void diagnose(int fileLine, QString message)
    {
        m.m_diagnostics.push_back({fileLine, std::move(message)});
    }

    void attributeLine(const SourceLine &line)
    {
        QString name, text;
        const QString ascii = line.ascii ? QString::fromLatin1(static_cast<const char *>(line.data), line.size)
                                         : QString();
        if (parseDescription(line.ascii ? QStringView(ascii)
                                        : QStringView(static_cast<const char16_t *>(line.data), line.size),
                             name, text))
            descriptions.emplace_back(std::move(name), std::move(text));
    }

    void paneLine(int pane)
    {
        if (logicalFirst < 0) {
            logicalFirst = pane;
            // In a procedure body only the first tokens of a statement can matter.
            lexer.setStatementLimit(current >= 0 && block == Block::None ? kBodyTokens : 0);
        }
        if (feed(pane))
            return;
        logicalLine(logicalFirst, pane);
    }

    void logicalLine(int firstPane, int lastPane)
    {
        if (lastPane - firstPane + 1 > kMaxPhysicalLines)
            diagnose(m.fileLineAt(firstPane), QStringLiteral("Too many line continuations"));
        size_t from = 0;
        for (int number = 0;;) {
            const std::vector<Token> &tokens = lexer.tokens();
            size_t to = from;
            while (to < tokens.size() && tokens[to].kind != TokenKind::Separator)
                ++to;
            const size_t limit = size_t(lexer.statementLimit());
            const bool cut = limit > 0 && to - from >= limit;
            if (!statement(tokens, from, to, number, to < tokens.size(), firstPane + 1,
                           lastPane + 1, cut)) {
                // An earlier statement ended the procedure, or this one needs all its tokens.
                relex(firstPane, lastPane);
                from = 0;
                for (int k = 0; k < number; ++k) {
                    while (lexer.tokens()[from].kind != TokenKind::Separator)
                        ++from;
                    ++from;
                }
                continue;
            }
            if (to >= tokens.size())
                break;
            from = to + 1;
            ++number;
        }
        lexer.reset();
        logicalFirst = -1;
    }

    void relex(int firstPane, int lastPane)
    {
        lexer.reset();
        lexer.setStatementLimit(0);
        for (int pane = firstPane; pane <= lastPane; ++pane)
            feed(pane);
    }

    void declarationSeen(int lastLine)
    {
        if (!seenHeader)
            lastDeclarationLine = lastLine;
    }

    void addMember(QString name, MemberType type, Scope scope, bool isStatic, int line)
    {
        if (!name.isEmpty())
            members.push_back({std::move(name), type, scope, isStatic, line, {}});
    }

    /// One statement: tokens [from, to) of the logical line on pane lines first..last (1-based).
    /// `cut`: the lexer may have dropped tokens after these; returns false, having done
    /// nothing, when they could matter.
    bool statement(const std::vector<Token> &t, size_t from, size_t to, int number,
                   bool separatorFollows, int first, int last, bool cut)
    {
        if (from < to && number == 0 && t[from].kind == TokenKind::Number)
            ++from; // line number
        if (from >= to)
            return true;
        if (number == 0 && to - from == 1 && separatorFollows && t[from].kind == TokenKind::Word)
            return true; // label
        if (t[from].kind == TokenKind::Punct && isUnit(t[from], u'#'))
            return true; // compiler directive: belongs to whatever follows it
        const int line = t[from].line + 1;

        size_t i = from;
        bool hasScope = false, isStatic = false, isDim = false;
        Scope scope = Scope::Public;
        for (; i < to && t[i].kind == TokenKind::Word; ++i) {
            const Token &w = t[i];
            if (isWord(w, "public") || isWord(w, "global")) {
                scope = Scope::Public;
                hasScope = true;
            } else if (isWord(w, "private")) {
                scope = Scope::Private;
                hasScope = true;
            } else if (isWord(w, "friend")) {
                scope = Scope::Friend;
                hasScope = true;
            } else if (isWord(w, "static")) {
                isStatic = true;
            } else if (isWord(w, "dim")) {
                isDim = true;
            } else {
                break;
            }
        }
        // A body statement is decided by its header or End keywords right after the modifiers.
        if (cut && !(current >= 0 && block == Block::None && i + 3 <= to))
            return false;

        if (i < to && !isDim) {
            size_t nameAt = 0;
            ProcKind kind = ProcKind::Proc;
            if (isWord(t[i], "sub") || isWord(t[i], "function")) {
                nameAt = i + 1;
            } else if (isWord(t[i], "property") && i + 1 < to) {
                if (isWord(t[i + 1], "get"))
                    kind = ProcKind::Get;
                else if (isWord(t[i + 1], "let"))
                    kind = ProcKind::Let;
                else if (isWord(t[i + 1], "set"))
                    kind = ProcKind::Set;
                if (kind != ProcKind::Proc)
                    nameAt = i + 2;
            }
            // Inside Type blocks fields may be spelled like keywords (`sUB As Long`), so only
            // a header with its parenthesis ends a block that lacks its End.
            if (nameAt > 0 && nameAt < to && t[nameAt].kind == TokenKind::Word
                && (block == Block::None
                    || (nameAt + 1 < to && isUnit(t[nameAt + 1], u'(')))) {
                if (block != Block::None) {
                    diagnose(blockFileLine, block == Block::Type ? QStringLiteral("End Type missing")
                                                                 : QStringLiteral("End Enum missing"));
                    block = Block::None;
                }
                header(name(t[nameAt]), kind, scope, isStatic,
                       isWord(t[i], "function"), first);
                return true;
            }
        }
        if (block != Block::None) {
            if (isWord(t[from], "end") && from + 1 < to
                && isWord(t[from + 1], block == Block::Type ? "type" : "enum"))
                block = Block::None;
            declarationSeen(last);
            return true;
        }
        if (i == from && i + 1 < to && isWord(t[i], "end")
            && (isWord(t[i + 1], "sub") || isWord(t[i + 1], "function")
                || isWord(t[i + 1], "property"))) {
            endProcedure(last);
            return true;
        }
        if (current >= 0)
            return true; // body statements are not declarations

        declarationSeen(last);
        if (i >= to || t[i].kind != TokenKind::Word)
            return true;
        const Token &head = t[i];
        if (isWord(head, "declare")) {
            size_t j = i + 1;
            if (j < to && isWord(t[j], "ptrsafe"))
                ++j;
            if (j < to && (isWord(t[j], "sub") || isWord(t[j], "function")))
                ++j;
            if (j < to && t[j].kind == TokenKind::Word) {
                QString declared = name(t[j]);
                m.m_declares.push_back({declared, line, last});
                addMember(std::move(declared), MemberType::Method, hasScope ? scope : Scope::Public, false, line);
            }
        } else if (isWord(head, "event")) {
            if (i + 1 < to && t[i + 1].kind == TokenKind::Word)
                addMember(name(t[i + 1]), MemberType::Event,
                          hasScope ? scope : Scope::Public, false, line);
        } else if (isWord(head, "type") || isWord(head, "enum")) {
            block = isWord(head, "type") ? Block::Type : Block::Enum;
            blockFileLine = m.fileLineAt(line - 1);
        } else if (isWord(head, "const")) {
            declaratorList(t, i + 1, to, MemberType::Const, hasScope ? scope : Scope::Private, line);
        } else if (isDim || hasScope) {
            declaratorList(t, i, to, MemberType::Variable, hasScope ? scope : Scope::Private, line);
        }
        return true;
    }

    /// `a, b(1 To 2) As Long, WithEvents c As X` or `A = 1, B = (2, 3)`: one member per name.
    void declaratorList(const std::vector<Token> &t, size_t from, size_t to, MemberType type,
                        Scope scope, int line)
    {
        int depth = 0;
        bool itemStart = true;
        for (size_t j = from; j < to; ++j) {
            const Token &tok = t[j];
            if (tok.kind == TokenKind::Punct) {
                const char16_t c = unitAt(tok.line, tok.start);
                if (c == u'(')
                    ++depth;
                else if (c == u')')
                    depth = std::max(0, depth - 1);
                else if (c == u',' && depth == 0) {
                    itemStart = true;
                    continue;
                }
            }
            if (!itemStart)
                continue;
            if (tok.kind == TokenKind::Word && isWord(tok, "withevents"))
                continue;
            if (tok.kind == TokenKind::Word)
                addMember(name(tok), type, scope, false, line);
            itemStart = false;
        }
    }

    void header(QString name, ProcKind kind, Scope scope, bool isStatic, bool function,
                int bodyLine)
    {
        if (current >= 0) {
            const ProcInfo &open = m.m_procedures[size_t(current)];
            if (open.kind == kind && equalsFolded(open.name, name))
                return; // the same header again under #If / #Else
            if (open.bodyLine >= bodyLine)
                return; // a second header on the open header's line
            closeMissingEnd(bodyLine - 1);
        }
        int start;
        if (!seenHeader) {
            seenHeader = true;
            m.m_declarationLines = std::min(lastDeclarationLine, bodyLine - 1);
            start = m.m_declarationLines + 1;
        } else {
            start = previousEnd + 1;
        }
        if (start > bodyLine)
            return; // a header on the line where the previous procedure ended
        m.m_procedures.push_back({std::move(name), kind, scope, isStatic, start, bodyLine, 0, 0});
        isFunction.push_back(function);
        current = int(m.m_procedures.size()) - 1;
    }

    void endProcedure(int lastLine)
    {
        if (current < 0)
            return;
        m.m_procedures[size_t(current)].endLine = lastLine;
        previousEnd = lastLine;
        current = -1;
    }

    void closeMissingEnd(int lastLine)
    {
        const ProcInfo &open = m.m_procedures[size_t(current)];
        diagnose(m.fileLineAt(open.bodyLine - 1),
                 QStringLiteral("%1 missing for %2")
                     .arg(endKeyword(open.kind, isFunction[size_t(current)]), open.name));
        endProcedure(lastLine);
    }

    void finish()
    {
        if (logicalFirst >= 0)
            logicalLine(logicalFirst, m.countOfLines() - 1);
        if (block != Block::None)
            diagnose(blockFileLine, block == Block::Type ? QStringLiteral("End Type missing")
                                                         : QStringLiteral("End Enum missing"));
        if (current >= 0)
            closeMissingEnd(m.countOfLines());
        if (m.m_procedures.empty())
            m.m_declarationLines = m.countOfLines();
        std::vector<ProcInfo> &procs = m.m_procedures;
        for (size_t k = 0; k < procs.size(); ++k) {
            const int next = k + 1 < procs.size() ? procs[k + 1].startLine : m.countOfLines() + 1;
            procs[k].countLines = next - procs[k].startLine;
        }
        buildNameIndex();
        buildMembers();
        std::stable_sort(m.m_diagnostics.begin(), m.m_diagnostics.end(),
                         [](const CodeDiagnostic &a, const CodeDiagnostic &b) {
                             return a.fileLine < b.fileLine;
                         });
    }

    void buildNameIndex()
    {
        const auto &procs = m.m_procedures;
        const auto &declares = m.m_declares;
        std::vector<int> &order = m.m_byName;
        order.reserve(procs.size() + declares.size());
        for (size_t k = 0; k < procs.size(); ++k)
            order.push_back(int(k));
        for (size_t k = 0; k < declares.size(); ++k)
            order.push_back(-1 - int(k));
        auto key = [&](int entry) {
            if (entry >= 0)
                return std::pair<QStringView, int>(procs[size_t(entry)].name,
                                                   int(procs[size_t(entry)].kind));
            return std::pair<QStringView, int>(declares[size_t(-1 - entry)].name,
                                               int(ProcKind::Proc));
        };
        // Procedures before Declares of the same name, each in code order: the first wins.
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const auto [nameA, kindA] = key(a);
            const auto [nameB, kindB] = key(b);
            const int c = compareFolded(nameA, nameB);
            if (c != 0)
                return c < 0;
            return kindA < kindB;
        });
    }

    void buildMembers()
    {
        // Procedures join the declarations in code order; a property is one member.
        std::vector<MemberInfo> all;
        all.reserve(members.size() + m.m_procedures.size());
        size_t d = 0;
        for (const ProcInfo &p : m.m_procedures) {
            while (d < members.size() && members[d].codeLocation < p.startLine)
                all.push_back(std::move(members[d++]));
            all.push_back({p.name, p.kind == ProcKind::Proc ? MemberType::Method : MemberType::Property,
                           p.scope, p.isStatic, p.startLine, {}});
        }
        while (d < members.size())
            all.push_back(std::move(members[d++]));

        // The first member of each name (any case) stays. Names are grouped by a hash of their
        // folded form, so no folded copy is built per member.
        std::vector<std::pair<size_t, size_t>> byHash(all.size()); // hash, index in `all`
        for (size_t k = 0; k < all.size(); ++k)
            byHash[k] = {foldedHash(all[k].name), k};
        std::sort(byHash.begin(), byHash.end());
        std::vector<bool> repeated(all.size());
        for (size_t run = 0; run < byHash.size();) {
            size_t end = run + 1;
            while (end < byHash.size() && byHash[end].first == byHash[run].first)
                ++end;
            for (size_t k = run + 1; k < end; ++k) {
                for (size_t e = run; e < k && !repeated[byHash[k].second]; ++e)
                    repeated[byHash[k].second] = equalsFolded(all[byHash[k].second].name,
                                                              all[byHash[e].second].name);
            }
            run = end;
        }
        std::vector<MemberInfo> &out = m.m_members;
        out.reserve(all.size());
        for (size_t k = 0; k < all.size(); ++k) {
            if (!repeated[k])
                out.push_back(std::move(all[k]));
        }
        std::stable_sort(out.begin(), out.end(), [](const MemberInfo &a, const MemberInfo &b) {
            return a.codeLocation < b.codeLocation;
        });
        if (descriptions.empty())
            return;
        // Folded names are unique in `out`, so each description has at most one member.
        QHash<QString, size_t> byName;
        byName.reserve(qsizetype(out.size()));
        for (size_t k = 0; k < out.size(); ++k)
            byName.insert(folded(out[k].name), k);
        for (const auto &[name, text] : descriptions) {
            const auto it = byName.constFind(folded(name));
            if (it != byName.constEnd() && out[*it].description.isEmpty())
                out[*it].description = text;
        }
    }
};

ModuleCode::ModuleCode() { m_lineStarts.push_back(0); }

namespace {

std::vector<ModuleCode::SourceLine> wideLines(std::span<const QStringView> lines)
{
    std::vector<ModuleCode::SourceLine> out;
    out.reserve(lines.size());
    for (QStringView line : lines)
        out.push_back({line.utf16(), line.size(), false});
    return out;
}

} // namespace

ModuleCode::ModuleCode(QStringList input, int firstFileLine) : m_firstFileLine(firstFileLine)
{
    const std::vector<QStringView> lines(input.cbegin(), input.cend());
    build(wideLines(lines));
}

ModuleCode::ModuleCode(QStringView text, std::span<const std::uint32_t> starts, int firstFileLine)
    : m_firstFileLine(firstFileLine)
{
    std::vector<QStringView> lines;
    if (!starts.empty()) {
        lines.reserve(starts.size() - 1);
        for (size_t k = 0; k + 1 < starts.size(); ++k)
            lines.push_back(text.sliced(starts[k], starts[k + 1] - starts[k]));
    }
    build(wideLines(lines));
}

ModuleCode::ModuleCode(std::span<const SourceLine> lines, int firstFileLine) : m_firstFileLine(firstFileLine)
{
    build(lines);
}

void ModuleCode::build(std::span<const SourceLine> input)
{
    qsizetype bytes = 0;
    for (const SourceLine &line : input)
        bytes += line.ascii ? line.size : 2 * line.size;
    // Room for every line as given and a padding byte each; what ASCII lines given in UTF-16
    // leave is given back. Loaded files (256 MB at most) are far below the offsets' 1 GB.
    const qsizetype count = qsizetype(input.size());
    Q_ASSERT(bytes + count <= qsizetype(kOffset));
    m_text.resize(bytes + count);
    char *text = m_text.data();
    // The pane lines are the input minus its attribute lines; the lexer reads them as given.
    std::vector<SourceLine> lines(static_cast<size_t>(count));
    Builder builder(*this, lines.data());
    m_lineStarts.reserve(size_t(count) + 1);

    std::uint32_t used = 0;
    int pane = 0;
    for (qsizetype k = 0; k < count; ++k) {
        const SourceLine &source = input[size_t(k)];
        const qsizetype n = source.size;
        const bool attribute =
            source.ascii ? isAttributeLine(QLatin1StringView(static_cast<const char *>(source.data), n))
                         : isAttributeLine(QStringView(static_cast<const char16_t *>(source.data), n));
        if (attribute) {
            builder.attributeLine(source);
            m_hiddenBefore.push_back(pane);
            continue;
        }
        lines[size_t(pane)] = source;
        if (source.ascii) {
            std::memcpy(text + used, source.data, size_t(n));
            m_lineStarts.push_back(used);
            used += std::uint32_t(n);
        } else if (narrowIfAscii(static_cast<const char16_t *>(source.data), text + used, n)) {
            m_lineStarts.push_back(used);
            used += std::uint32_t(n);
        } else {
            std::uint32_t flags = kWide;
            if (used % 2) {
                text[used++] = 0;
                flags |= kPadded;
            }
            m_lineStarts.push_back(used | flags);
            std::memcpy(text + used, source.data, size_t(n) * 2);
            used += std::uint32_t(2 * n);
        }

        builder.paneLine(pane);
        ++pane;
    }
    m_lineStarts.push_back(used);
    m_text.resize(used);
    m_text.squeeze();
    m_lineStarts.shrink_to_fit();
    m_hiddenBefore.shrink_to_fit();
    builder.finish();
}

void ModuleCode::buildIndex() const
{
    const int count = countOfLines();
    qsizetype longest = 0;
    for (int k = 0; k < count; ++k)
        longest = std::max(longest, stored(k).size);
    TokenIndexBuilder index(m_index, m_text.size());
    std::vector<char16_t> wide(static_cast<size_t>(longest));
    std::vector<char16_t> folded(static_cast<size_t>(longest + TokenIndex::kPadding));
    const char16_t *table = foldTable();
    for (int k = 0; k < count; ++k) {
        const StoredLine line = stored(k);
        const char16_t *units = line.utf16().utf16();
        if (!line.wide) {
            for (qsizetype j = 0; j < line.size; ++j)
                wide[size_t(j)] = static_cast<unsigned char>(line.bytes[j]);
            units = wide.data();
        }
        foldLine(units, folded.data(), line.size, k, index, table);
    }
    index.finish();
    m_indexBuilt = true;
}

int ModuleCode::fileLineAt(int index) const
{
    const auto hidden = std::upper_bound(m_hiddenBefore.begin(), m_hiddenBefore.end(), index);
    return m_firstFileLine + index + int(hidden - m_hiddenBefore.begin());
}

QString ModuleCode::lines(int startLine, int count) const
{
    const int n = countOfLines();
    if (startLine < 1 || startLine > n + 1 || count < 0)
        throw host::Error(host::err::InvalidCall);
    const int last = int(std::min<qint64>(n, qint64(startLine) + count - 1));
    QString out;
    if (last < startLine)
        return out;
    qsizetype size = 0;
    for (int k = startLine; k <= last; ++k)
        size += stored(k - 1).size + 2;
    out.reserve(size);
    for (int k = startLine; k <= last; ++k) {
        if (k > startLine)
            out.append(QLatin1String("\r\n"));
        const StoredLine line = stored(k - 1);
        if (line.wide)
            out.append(line.utf16());
        else
            out.append(line.narrow());
    }
    return out;
}

QString ModuleCode::line(int paneLine) const
{
    Q_ASSERT(paneLine >= 1 && paneLine <= countOfLines());
    const StoredLine line = stored(paneLine - 1);
    return line.wide ? line.utf16().toString() : QString(line.narrow());
}

int ModuleCode::fileLineOf(int paneLine) const
{
    if (paneLine < 1 || paneLine > countOfLines())
        throw host::Error(host::err::InvalidCall);
    return fileLineAt(paneLine - 1);
}

ModuleCode::Target ModuleCode::lookup(const QString &name, ProcKind kind) const
{
    auto keyOf = [&](int entry) {
        if (entry >= 0)
            return std::pair<QStringView, int>(m_procedures[size_t(entry)].name,
                                               int(m_procedures[size_t(entry)].kind));
        return std::pair<QStringView, int>(m_declares[size_t(-1 - entry)].name,
                                           int(ProcKind::Proc));
    };
    const auto it = std::lower_bound(m_byName.begin(), m_byName.end(), 0, [&](int entry, int) {
        const auto [entryName, entryKind] = keyOf(entry);
        const int c = compareFolded(entryName, name);
        return c != 0 ? c < 0 : entryKind < int(kind);
    });
    if (it != m_byName.end()) {
        const auto [entryName, entryKind] = keyOf(*it);
        if (entryKind == int(kind) && equalsFolded(entryName, name)) {
            if (*it >= 0)
                return {&m_procedures[size_t(*it)], nullptr};
            return {nullptr, &m_declares[size_t(-1 - *it)]};
        }
    }
    throw host::Error(host::err::SubNotDefined);
}

int ModuleCode::procStartLine(const QString &name, ProcKind kind) const
{
    const Target t = lookup(name, kind);
    return t.procedure ? t.procedure->startLine : 1;
}

int ModuleCode::procBodyLine(const QString &name, ProcKind kind) const
{
    const Target t = lookup(name, kind);
    return t.procedure ? t.procedure->bodyLine : 1;
}

int ModuleCode::procCountLines(const QString &name, ProcKind kind) const
{
    const Target t = lookup(name, kind);
    return t.procedure ? t.procedure->countLines : t.declare->lastLine;
}

QString ModuleCode::procOfLine(int line, ProcKind &kind) const
{
    if (line < 1 || line > countOfLines())
        throw host::Error(host::err::InvalidCall);
    kind = ProcKind::Proc;
    if (line <= m_declarationLines)
        return {};
    const auto it = std::upper_bound(m_procedures.begin(), m_procedures.end(), line,
                                     [](int l, const ProcInfo &p) { return l < p.startLine; });
    if (it == m_procedures.begin())
        return {};
    const ProcInfo &p = *(it - 1);
    kind = p.kind;
    return p.name;
}

namespace {
/// What malloc adds to each block, near enough for glibc.
constexpr size_t kBlockOverhead = 16;

template <typename T>
size_t heapBytes(const std::vector<T> &v)
{
    return v.capacity() ? v.capacity() * sizeof(T) + kBlockOverhead : 0;
}

/// A string's own block; shared copies are counted each time, which errs on the high side.
size_t heapBytes(const QString &s)
{
    return s.isNull() ? 0 : 16 + size_t(s.capacity() + 1) * 2 + kBlockOverhead;
}
} // namespace

size_t ModuleCode::memoryUsage() const
{
    size_t bytes = sizeof(*this) + (m_text.isNull() ? 0 : 16 + size_t(m_text.capacity()) + 1 + kBlockOverhead)
        + heapBytes(m_lineStarts) + heapBytes(m_hiddenBefore) + m_index.memoryUsage()
        + heapBytes(m_procedures) + heapBytes(m_declares) + heapBytes(m_byName)
        + heapBytes(m_members) + heapBytes(m_diagnostics)
        + (m_substrings ? m_substrings->memoryUsage() : 0);
    for (const ProcInfo &p : m_procedures)
        bytes += heapBytes(p.name);
    for (const Declare &d : m_declares)
        bytes += heapBytes(d.name);
    for (const MemberInfo &member : m_members)
        bytes += heapBytes(member.name) + heapBytes(member.description);
    for (const CodeDiagnostic &d : m_diagnostics)
        bytes += heapBytes(d.message);
    return bytes;
}

} // namespace ide::code
