// Declarations the language gives the Variant type: module variables, locals, return types.
// A declarator is typed when it has an "As" clause or a type character ($ & % ! @).
#include "inspection/check.h"

#include "analysis/source_text.h"
#include "inspection/statement_text.h"

#include <QRegularExpression>

namespace inspection {

namespace {

QString trimmed(QStringView text) { return analysis::trimmedSpaces(text).toString(); }

bool startsWithWord(const QString &text, const QString &word)
{
    return text.startsWith(word, Qt::CaseInsensitive) &&
           (text.size() == word.size() || text.at(word.size()) == QLatin1Char(' ') ||
            text.at(word.size()) == QLatin1Char('\t'));
}

/// One declarator of a statement ("Private mCount", " b As Long", "arr(1 To 9) As Long").
struct Declarator {
    QString text; ///< trimmed, without a continuation mark: the finding's name
    bool typed = false;
};

/// The declarators of a declaration text: split at the commas outside brackets, each without
/// an argument's default value; a ParamArray, which can only be a Variant, is left out.
std::vector<Declarator> declarators(const QString &text)
{
    std::vector<Declarator> result;
    const QString statement = splitTopLevel(text, QLatin1Char(':')).front();
    for (const QString &part : splitTopLevel(statement, QLatin1Char(','))) {
        QString declarator = withoutContinuationMark(trimmed(part));
        declarator = trimmed(splitTopLevel(declarator, QLatin1Char('=')).front());
        if (declarator.isEmpty() || startsWithWord(declarator, QStringLiteral("ParamArray")))
            continue;
        const qsizetype bounds = declarator.indexOf(QLatin1Char('('));
        const QString bare = trimmed(QStringView(declarator).left(bounds < 0 ? declarator.size() : bounds));
        result.push_back({declarator, holdsAsClause(declarator) || endsWithTypeCharacter(bare)});
    }
    return result;
}

/// The variable a module-level declarator declares: its first word after the statement's
/// keywords, without bounds or type character.
QString declaredName(const QString &declarator)
{
    static const char *const keywords[] = {"Private", "Public", "Global", "Dim", "Static", "WithEvents"};
    QString text = declarator;
    for (bool stripped = true; stripped;) {
        stripped = false;
        for (const char *keyword : keywords) {
            const QString word = QLatin1String(keyword);
            if (startsWithWord(text, word)) {
                text = trimmed(QStringView(text).mid(word.size()));
                stripped = true;
            }
        }
    }
    qsizetype end = 0;
    while (end < text.size() && (text.at(end).isLetterOrNumber() || text.at(end) == QLatin1Char('_')))
        ++end;
    return text.left(end);
}

/// A line of the declarations section where a variable statement begins or goes on: its
/// first word is a declaration keyword not followed by Const, Declare, Type, Enum or Event,
/// or the line before it ends with a continuation mark. Type members and the arguments of
/// Declare statements are thereby not taken for the variable.
bool variableStatementLine(const host::CodeModule &code, int line)
{
    const QString text = trimmed(codePart(code.lines(line, 1)));
    if (analysis::isCommentLine(text) || text.isEmpty())
        return false;
    if (line > 1 && analysis::trimmedSpaces(code.lines(line - 1, 1)).endsWith(QLatin1Char('_')))
        return true;
    static const char *const opening[] = {"Dim", "Private", "Public", "Global"};
    static const char *const others[] = {"Const", "Declare", "Type", "Enum", "Event", "Sub", "Function", "Property"};
    for (const char *keyword : opening) {
        const QString word = QLatin1String(keyword);
        if (!startsWithWord(text, word))
            continue;
        const QString rest = trimmed(QStringView(text).mid(word.size()));
        for (const char *other : others)
            if (startsWithWord(rest, QLatin1String(other)))
                return false;
        return true;
    }
    return false;
}

/// The text of a local declaration statement found by the scan, or a null string when the
/// keyword does not begin a statement there (a name such as Dim_Count, the word in a
/// trailing comment). A statement after ":" or "Then" is read from its keyword on.
QString localDeclarationText(const host::CodeModule &code, int line, const QString &scanned)
{
    const QString raw = trimmed(codePart(code.lines(line, 1)));
    static const char *const keywords[] = {"Dim", "Static"};
    for (const char *keyword : keywords)
        if (startsWithWord(raw, QLatin1String(keyword)))
            return scanned;
    // A Static procedure's header: the scan hands over its arguments.
    static const QRegularExpression header(
        QStringLiteral("^((Public|Private|Friend)\\s+)?Static\\s+(Sub|Function|Property)\\s"),
        QRegularExpression::CaseInsensitiveOption);
    if (raw.contains(header))
        return scanned;
    static const QRegularExpression inner(QStringLiteral("(:|\\bThen|\\bElse)\\s*(Dim|Static)\\s+(.*)$"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = inner.match(raw);
    if (!match.hasMatch())
        return {};
    QString text = match.captured(3);
    text.remove(QStringLiteral("()"));
    return trimmed(text);
}

} // namespace

void CheckModuleVariableTypes(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i)
{
    walkModuleMembers(context, component, i, QStringLiteral("モジュール、パブリック変数の暗黙的な型宣言"),
                      shared::FindingList::VariableType,
                      [](const host::CodeModule &code, const host::Member &member, Findings &findings) {
        if (member.type() != host::MemberType::Variable)
            return;
        const QString name = member.name();
        const int line = findAccepted(code, name, 1, code.countOfDeclarationLines(),
                                      [&](int hit, int) { return variableStatementLine(code, hit); });
        if (line == 0)
            return;
        QString text = codePart(continuedStatement(code, line));
        for (const char *keyword : {"Dim ", "Public ", "()"})
            text.remove(QLatin1String(keyword), Qt::CaseInsensitive);
        // Each variable of a list reports its own declarator, so a line is reported once.
        for (const Declarator &declarator : declarators(trimmed(text)))
            if (!declarator.typed && declaredName(declarator.text).compare(name, Qt::CaseInsensitive) == 0)
                findings.append(QStringLiteral("Declaration"), line, declarator.text);
    });
}

void CheckLocalVariableTypes(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i)
{
    walkModuleMembers(context, component, i, QStringLiteral("ローカル変数の暗黙的な型宣言"),
                      shared::FindingList::VariableType,
                      [](const host::CodeModule &code, const host::Member &member, Findings &findings) {
        const QString memberName = member.name();
        for (const ProcRange &range : procedureRanges(code, member)) {
            if (range.kind == host::ProcKind::Proc && range.start <= code.countOfDeclarationLines())
                continue; // a Declare statement
            scanLocalDeclarations(code, range, memberName, [&](const QString &scanned, int line) {
                const QString text = localDeclarationText(code, line, scanned);
                if (text.isNull())
                    return;
                for (const Declarator &declarator : declarators(text))
                    if (!declarator.typed)
                        findings.append(range.displayName, line, declarator.text);
            });
        }
    });
}

void CheckReturnTypes(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i)
{
    walkModuleMembers(context, component, i, QStringLiteral("バリアント型の暗黙宣言を検出"), shared::FindingList::ReturnType,
                      [](const host::CodeModule &code, const host::Member &member, Findings &findings) {
        const host::MemberType type = member.type();
        if (type != host::MemberType::Method && type != host::MemberType::Property)
            return;
        const QString name = member.name();
        ProcRange range{name, host::ProcKind::Proc};
        host::resumeNext([&] { range.start = code.procStartLine(name, host::ProcKind::Proc); });
        if (range.start <= 0) {
            range.kind = host::ProcKind::Get;
            range.start = 0;
            host::resumeNext([&] { range.start = code.procStartLine(name, host::ProcKind::Get); });
        }
        if (range.start <= code.countOfDeclarationLines())
            return;
        host::resumeNext([&] { range.count = code.procCountLines(name, range.kind); });
        const int header = procedureHeaderLine(code, range, name);
        if (header == 0)
            return;
        const QString text = codePart(continuedStatement(code, header));
        qsizetype nameEnd = 0;
        const QString keyword = procedureKeyword(text, name, &nameEnd);
        if (keyword != QLatin1String("Function") && keyword != QLatin1String("Property Get"))
            return; // a Sub or a Property Let/Set
        if (endsWithTypeCharacter(QStringView(text).first(std::min(nameEnd + 1, text.size()))))
            return; // "Function F$()" is typed by its name
        const qsizetype close = closingParenthesis(text, argumentListStart(text, name));
        if (close >= 0 && !holdsAsClause(text.mid(close)))
            findings.append(name, range.start, name);
    });
}

} // namespace inspection
