// Variables declared and never used: public and module variables, and the locals (with
// the arguments of Static procedures). A use is the name as a whole word on a line that is
// not a comment line; an assignment counts as a use.
#include "inspection/check.h"

#include "analysis/source_text.h"


namespace inspection {

namespace {

/// The first hit from `from` to the module's end on a non-comment line after `afterLine`.
bool usedAfter(const host::CodeModule &code, const QString &name, int from, int afterLine)
{
    return findAccepted(code, name, from, -1, [&](int line, int) {
               return line > afterLine && !isCommentLine(code, line);
           }) != 0;
}

/// The text split at the commas that stand outside parentheses: the bounds of an array of
/// several dimensions ("a(0 To 3, 1 To 2)") stay with its name.
QStringList splitDeclarators(const QString &text)
{
    QStringList parts;
    int depth = 0;
    qsizetype start = 0;
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text.at(k);
        if (c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char(')') && depth > 0)
            --depth;
        else if (c == QLatin1Char(',') && depth == 0) {
            parts << text.mid(start, k - start);
            start = k + 1;
        }
    }
    parts << text.mid(start);
    return parts;
}

/// The names one local declaration statement declares: each declarator up to "As ",
/// without a leading continuation mark.
void appendDeclaredNames(const QString &text, QStringList &names)
{
    for (const QString &part : splitDeclarators(text)) {
        const qsizetype as = part.indexOf(QLatin1String("As "), 0, Qt::CaseInsensitive);
        QString name = analysis::trimmedSpaces(as >= 0 ? QStringView(part).left(as) : QStringView(part)).toString();
        if (name.startsWith(QLatin1Char('_')))
            name = analysis::trimmedSpaces(QStringView(name).mid(1)).toString();
        if (!name.isEmpty())
            names << name;
    }
}

bool endsWithTypeCharacter(const QString &name)
{
    static const QString typeCharacters = QStringLiteral("$&%!@");
    return !name.isEmpty() && typeCharacters.contains(name.back());
}

/// The local is used: a second hit (the first is its declaration) on a non-comment line
/// within the range; a name ending in a type character is counted again without it.
bool localUsed(const host::CodeModule &code, QString name, const ProcRange &range)
{
    const int s = range.start;
    const int e = range.end();
    int hits = 0;
    int line = s;
    while (line < e) {
        const int hit = findLine(code, name, line, e);
        if (hit == 0) {
            if (!endsWithTypeCharacter(name))
                return false;
            name.chop(1);
            line = s;
            continue;
        }
        if (!isCommentLine(code, hit) && ++hits == 2)
            return true;
        line = hit + 1;
    }
    return false;
}

} // namespace

void CheckUnusedVariables(CheckContext &context, const host::Ptr<host::VBProject> &project,
                          const host::Ptr<host::VBComponent> &component, int i, bool publicWanted,
                          bool moduleWanted)
{
    const QString title = QStringLiteral("未使用変数の検出");
    const auto code = beginCheck(context, title, component);
    if (!code)
        return;
    const auto members = code->members();
    const int d = code->countOfDeclarationLines();
    const QString ownName = component->name();
    Findings publicFindings(context.result(i), shared::FindingList::UnusedPublicVariable);
    Findings moduleFindings(context.result(i), shared::FindingList::UnusedModuleVariable);
    ProjectModules modules(project);

    walkMembers(context, title, *members, [&](const host::Ptr<host::Member> &member, int) {
        if (member->type() != host::MemberType::Variable)
            return;
        const QString name = member->name();
        const host::Scope scope = member->scope();
        if (scope == host::Scope::Private && moduleWanted) {
            if (!usedAfter(*code, name, d + 1, d + 1))
                moduleFindings.append(name, std::max(findLine(*code, name, 1), 1), name);
        } else if (scope == host::Scope::Public && publicWanted) {
            // In other modules a hit counts after their declarations (and the line after them).
            const bool used = modules.usedAnywhere(
                ownName, [&] { return usedAfter(*code, name, d + 1, 0); },
                [&](const host::CodeModule &other) {
                    return usedAfter(other, name, 1, other.countOfDeclarationLines() + 1);
                });
            if (!used)
                publicFindings.append(name, std::max(findLine(*code, name, 1), 1), name);
        }
    });
    publicFindings.store();
    moduleFindings.store();
}

void CheckUnusedLocalVariables(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i)
{
    const QString title = QStringLiteral("未使用ローカル変数の検出");
    const auto code = beginCheck(context, title, component);
    if (!code)
        return;
    const auto members = code->members();
    const int d = code->countOfDeclarationLines();
    Findings findings(context.result(i), shared::FindingList::UnusedLocalVariable);

    walkMembers(context, title, *members, [&](const host::Ptr<host::Member> &member, int) {
        const QString memberName = member->name();
        for (const ProcRange &range : procedureRanges(*code, *member)) {
            if (range.kind == host::ProcKind::Proc && range.start <= d)
                continue;   // a Declare statement
            QStringList names;
            const int declarationLine = scanLocalDeclarations(
                *code, range, memberName, [&](const QString &text, int) { appendDeclaredNames(text, names); });
            for (QString name : names) {
                if (const qsizetype bracket = name.indexOf(QLatin1Char('(')); bracket >= 0)
                    name.truncate(bracket);
                if (name.isEmpty())
                    continue;
                if (!localUsed(*code, name, range))
                    findings.append(memberName, declarationLine, name);
            }
        }
    });
    findings.store();
}

} // namespace inspection
