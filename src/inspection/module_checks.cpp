// Checks of single lines of a module: Option Explicit, empty procedures, Debug.Print, string functions.
#include "inspection/check.h"

#include "analysis/source_text.h"
#include "inspection/statement_text.h"

namespace inspection {

namespace {

QString trimmed(QStringView text) { return analysis::trimmedSpaces(text).toString(); }

/// The line holds `text` before any comment.
bool inCode(const host::CodeModule &code, int line, const QString &text)
{
    return codePart(code.lines(line, 1)).contains(text, Qt::CaseInsensitive);
}

/// A one-line procedure ("Sub A(): x = 1: End Sub") holds statements after its header.
bool headerHoldsCode(const QString &header, const QString &name)
{
    const QString text = codePart(header);
    const qsizetype close = closingParenthesis(text, argumentListStart(text, name));
    if (close < 0)
        return false;
    const QStringList statements = splitTopLevel(text.mid(close + 1), QLatin1Char(':'));
    for (qsizetype k = 1; k < statements.size(); ++k) {
        const QString statement = trimmed(statements[k]);
        if (!statement.isEmpty() && !isProcedureEnd(statement))
            return true;
    }
    return false;
}

/// The string function at `p` (1-based) stands inside a string literal: the quote count of
/// the line around it.
bool insideStringLiteral(const QString &text, qsizetype p, qsizetype length)
{
    int q = 0;
    for (qsizetype x = 1; x <= text.size(); ++x) {
        const QChar c = text.at(x - 1);
        if (c != QLatin1Char('"')) {
            if (c == QLatin1Char('&') && x < p && q == 1)
                return false;
            continue;
        }
        if (x >= p) {
            if (x <= p + length && ++q == 2)
                return true;
        } else if (++q == 2) {
            q = 1;
        }
    }
    return false;
}

bool isNameCharacter(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

/// Index of the first place in `text` where `function` is called as the VBA function: not
/// the end of a longer name (GetPref_String), not a member of an object (obj.Left; VBA.Left
/// is the function), not the type of an As clause (As String()); -1 when there is none.
qsizetype firstCall(const QString &text, const QString &function)
{
    for (qsizetype at = text.indexOf(function, 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(function, at + 1, Qt::CaseInsensitive)) {
        const QStringView before = QStringView(text).left(at);
        if (!before.isEmpty() && isNameCharacter(before.back()))
            continue;
        if (before.endsWith(QLatin1Char('.')) &&
            !(before.endsWith(QLatin1String("VBA."), Qt::CaseInsensitive) &&
              (before.size() == 4 || !isNameCharacter(before.at(before.size() - 5)))))
            continue;
        const QStringView words = analysis::trimmedSpaces(before);
        if (words.endsWith(QLatin1String("As"), Qt::CaseInsensitive) &&
            (words.size() == 2 || !isNameCharacter(words.at(words.size() - 3))))
            continue;
        return at;
    }
    return -1;
}

} // namespace

void CheckOptionExplicit(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i)
{
    context.setCheckTitle(QStringLiteral("Option Explicit宣言"));
    host::Ptr<host::CodeModule> code;
    host::resumeNext([&] { code = component->codeModule(); });
    if (!code)
        return;
    // A commented-out statement does not switch the option on.
    const QString statement = QStringLiteral("Option Explicit");
    context.result(i).OptionExplicit =
        findAccepted(*code, statement, 1, code->countOfDeclarationLines(), [&](int line, int) {
            return inCode(*code, line, statement);
        }) != 0;
}

void CheckEmptyProcedures(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i)
{
    walkModuleMembers(context, component, i, QStringLiteral("空のプロシージャを検出"), shared::FindingList::EmptyProcedure,
                      [](const host::CodeModule &code, const host::Member &member, Findings &findings) {
        const std::vector<ProcRange> ranges = procedureRanges(code, member);
        if (ranges.empty())
            return;
        // A property is judged by its first accessor only.
        const ProcRange &range = ranges.front();
        if (range.kind == host::ProcKind::Proc && range.start <= code.countOfDeclarationLines())
            return; // a Declare statement
        const QString name = member.name();
        int body = 0;
        host::resumeNext([&] { body = code.procBodyLine(name, range.kind); });
        if (body < 1 || range.count < 1)
            return;
        int headerEnd = body;
        bool empty = !headerHoldsCode(continuedStatement(code, body, &headerEnd), name);
        for (int line = headerEnd + 1; empty && line <= range.end(); ++line) {
            const QString text = trimmed(codePart(code.lines(line, 1)));
            if (!text.isEmpty() && !isProcedureEnd(text)) // a comment line has no code part
                empty = false;
        }
        if (empty)
            findings.append(name, body, name);
    });
}

void CheckDebugPrint(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i)
{
    walkModuleMembers(context, component, i, QStringLiteral("コメント化されていないDebug.Print文の検出"),
                      shared::FindingList::DebugPrint,
                      [](const host::CodeModule &code, const host::Member &member, Findings &findings) {
        const QString name = member.name();
        for (const ProcRange &range : procedureRanges(code, member)) {
            if (range.kind == host::ProcKind::Proc && range.start <= code.countOfDeclarationLines())
                continue;
            // At most one finding per procedure: the first statement not commented out.
            for (int line = range.start; line < range.end();) {
                const int hit = findLine(code, QStringLiteral("Debug.Print"), line, range.end());
                if (hit == 0)
                    break;
                // "x = 1 ' Debug.Print x" holds no statement either.
                if (inCode(code, hit, QStringLiteral("Debug.Print"))) {
                    findings.append(name, hit, name);
                    break;
                }
                line = hit + 1;
            }
        }
    });
}

void CheckStringFunctions(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i)
{
    const auto code = beginCheck(context, QStringLiteral("文字列関数の戻り値の明示的型変換"), component);
    if (!code)
        return;
    static const char *const functions[] = {"Trim(",  "LTrim(",  "RTrim(", "Mid(",    "Left(",   "Right(",
                                            "UCase(", "CurDir(", "Space(", "String(", "Format(", "Chr("};
    const int lineCount = code->countOfLines();
    const int d = code->countOfDeclarationLines();
    Findings findings(context.result(i), shared::FindingList::StringFunction);
    for (int k = 0; k < 12; ++k) {
        context.SetCheckProgress(1, k + 1, 0);
        const QString function = QLatin1String(functions[k]);
        const QString pattern = function + QLatin1Char('*');
        // Only the first usable hit of each function is judged.
        for (int line = d + 1; line <= lineCount;) {
            int last = 0;
            const int hit = findLine(*code, pattern, line, -1, true, true, &last);
            if (hit == 0)
                break;
            const QString text = trimmed(code->lines(hit, last - hit + 1));
            const qsizetype call = analysis::isCommentLine(text) ? -1 : firstCall(text, function);
            if (call < 0) {
                line = hit + 1;
                continue;
            }
            if (!insideStringLiteral(text, call + 1, function.size())) {
                QString procedure;
                host::ProcKind kind = host::ProcKind::Proc;
                host::resumeNext([&] { procedure = code->procOfLine(hit, kind); });
                if (function != procedure + QLatin1Char('('))
                    findings.append(procedure, hit, function.chopped(1));
            }
            break;
        }
    }
    context.SetCheckProgress(1, 0, 0);
    findings.store();
}

} // namespace inspection
