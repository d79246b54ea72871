// Code nothing calls: Sub and Function procedures, and Declare statements. Public ones are
// looked up in every module of the project, the others only in their own module.
#include "inspection/check.h"


namespace inspection {

namespace {

/// A hit on lines that are not a comment and hold no "Function " or "Sub " (declaration
/// lines, the procedure's own among them, are not uses).
bool isProcedureUse(const host::CodeModule &code, int line, int lastLine)
{
    const QString text = code.lines(line, lastLine - line + 1);
    if (isCommentLine(text))
        return false;
    return !text.contains(QLatin1String("Function "), Qt::CaseInsensitive) &&
           !text.contains(QLatin1String("Sub "), Qt::CaseInsensitive);
}

/// The module declares its own procedure of that name (which its calls then mean).
bool declaresProcedure(const host::CodeModule &code, const QString &name, int from)
{
    return findLine(code, QStringLiteral("Sub ") + name, from) != 0 ||
           findLine(code, QStringLiteral("Function ") + name, from) != 0 ||
           findLine(code, QStringLiteral("Property*") + name, from, -1, true, true) != 0;
}

bool notComment(const host::CodeModule &code, int line, int) { return !isCommentLine(code, line); }

} // namespace

void CheckUnusedProcedures(CheckContext &context, const host::Ptr<host::VBProject> &project,
                           const host::Ptr<host::VBComponent> &component, int i)
{
    const QString title = QStringLiteral("未使用プロシージャの検出");
    const auto code = beginCheck(context, title, component);
    if (!code)
        return;
    const QStringList eventSources = fixedSignatureSources(*code, *component);
    const auto members = code->members();
    const int d = code->countOfDeclarationLines();
    const int l = code->countOfLines();
    const QString ownName = component->name();
    Findings findings(context.result(i), shared::FindingList::UnusedProcedure);
    ProjectModules modules(project);

    const auto usedIn = [](const host::CodeModule &module, const QString &name, int from, int to) {
        return findAccepted(module, name, from, to, [&](int line, int last) {
                   return isProcedureUse(module, line, last);
               }) != 0;
    };

    walkMembers(context, title, *members, [&](const host::Ptr<host::Member> &member, int) {
        if (member->type() != host::MemberType::Method)
            return;
        const QString name = member->name();
        if (name.compare(QLatin1String("Main"), Qt::CaseInsensitive) == 0 || isEventProcedure(name, eventSources))
            return;
        const int s = code->procStartLine(name, host::ProcKind::Proc);
        if (s <= d)
            return;
        const auto usedInOwn = [&] { return usedIn(*code, name, d + 1, l - 1); };
        const bool used =
            member->scope() == host::Scope::Public
                ? modules.usedAnywhere(ownName, usedInOwn,
                                       [&](const host::CodeModule &other) {
                                           // A module with its own procedure of that name calls that one.
                                           const int d2 = other.countOfDeclarationLines();
                                           return !declaresProcedure(other, name, d2 + 1) &&
                                                  usedIn(other, name, d2 + 1, other.countOfLines() - 1);
                                       })
                : usedInOwn();
        if (!used)
            findings.append(name, s, name);
    });
    findings.store();
}

void CheckUnusedDeclares(CheckContext &context, const host::Ptr<host::VBProject> &project,
                         const host::Ptr<host::VBComponent> &component, int i)
{
    const QString title = QStringLiteral("未使用の外部関数の検出");
    const auto code = beginCheck(context, title, component);
    if (!code)
        return;
    const auto members = code->members();
    const int d = code->countOfDeclarationLines();
    const int l = code->countOfLines();
    const QString ownName = component->name();
    Findings findings(context.result(i), shared::FindingList::UnusedDeclare);
    ProjectModules modules(project);

    const auto usedInOwn = [&](const QString &name) {
        return findAccepted(*code, name, d + 1, l - 1, [&](int line, int last) {
                   return notComment(*code, line, last);
               }) != 0;
    };

    walkMembers(context, title, *members, [&](const host::Ptr<host::Member> &member, int) {
        if (member->type() != host::MemberType::Method)
            return;
        const QString name = member->name();
        const int s = code->procStartLine(name, host::ProcKind::Proc);
        if (s > d)
            return;
        const bool used =
            member->scope() == host::Scope::Public
                ? modules.usedAnywhere(ownName, [&] { return usedInOwn(name); },
                                       [&](const host::CodeModule &other) {
                                           // Only the first hit counts: one inside the declarations
                                           // (that module's own Declare of the name) ends its search.
                                           return findLine(other, name, 1) > other.countOfDeclarationLines();
                                       })
                : usedInOwn(name);
        if (!used)
            findings.append(name, s, name);
    });
    findings.store();
}

} // namespace inspection
