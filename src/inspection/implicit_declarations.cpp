// What a declaration leaves implicit: the procedure scope (Public) and the argument passing (ByRef).
#include "inspection/check.h"

#include "analysis/source_text.h"
#include "inspection/statement_text.h"

#include <optional>

namespace inspection {

namespace {

QString trimmed(QStringView text) { return analysis::trimmedSpaces(text).toString(); }

/// One argument of the list has neither ByVal nor ByRef (a ParamArray can have neither).
bool hasImplicitByRef(const QString &arguments)
{
    for (const QString &part : splitTopLevel(arguments, QLatin1Char(','))) {
        const QString argument = withoutContinuationMark(trimmed(part));
        if (argument.isEmpty() || argument.startsWith(QLatin1String("ParamArray "), Qt::CaseInsensitive))
            continue;
        if (!argument.contains(QLatin1String("ByVal"), Qt::CaseInsensitive) &&
            !argument.contains(QLatin1String("ByRef"), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace

void CheckProcedureScope(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i)
{
    walkModuleMembers(context, component, i, QStringLiteral("プロシージャのスコープ定義"), shared::FindingList::Scope,
                      [](const host::CodeModule &code, const host::Member &member, Findings &findings) {
        if (member.scope() != host::Scope::Public)
            return;
        const QString name = member.name();
        const int d = code.countOfDeclarationLines();
        for (const ProcRange &range : procedureRanges(code, member)) {
            int header = 0;
            if (range.kind == host::ProcKind::Proc && range.start <= d) {
                header = findAccepted(code, name, 1, d, [&](int line, int) {
                    return !isCommentLine(code, line) &&
                           code.lines(line, 1).contains(QLatin1String("Declare "), Qt::CaseInsensitive);
                });
            } else {
                header = procedureHeaderLine(code, range, name);
            }
            if (header == 0)
                continue;
            // An accessor of a public property may itself be Private or Friend.
            const QString text = trimmed(codePart(code.lines(header, 1)));
            if (text.contains(QLatin1String("Public "), Qt::CaseInsensitive) ||
                text.startsWith(QLatin1String("Private "), Qt::CaseInsensitive) ||
                text.startsWith(QLatin1String("Friend "), Qt::CaseInsensitive))
                continue;
            findings.append(range.displayName, header, range.displayName);
        }
    });
}

void CheckByRefDeclare2(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i)
{
    std::optional<QStringList> sources; // read once per module, on the first member
    walkModuleMembers(context, component, i, QStringLiteral("ByRefの暗黙宣言を検出"), shared::FindingList::ByRef,
                      [&](const host::CodeModule &code, const host::Member &member, Findings &findings) {
        if (!sources)
            sources = fixedSignatureSources(code, *component);
        const QString name = member.name();
        if (member.type() == host::MemberType::Method && isEventProcedure(name, *sources))
            return;
        for (const ProcRange &range : procedureRanges(code, member)) {
            if (range.start <= code.countOfDeclarationLines())
                continue; // a Declare statement
            const int header = procedureHeaderLine(code, range, name);
            if (header == 0)
                continue;
            const QString text = codePart(continuedStatement(code, header));
            // argumentListStart finds no list unless the line declares the procedure.
            const qsizetype open = argumentListStart(text, name);
            const qsizetype close = closingParenthesis(text, open);
            if (open < 0 || close < 0)
                continue;
            if (hasImplicitByRef(text.mid(open + 1, close - open - 1)))
                findings.append(range.displayName, range.start, range.displayName);
        }
    });
}

} // namespace inspection
