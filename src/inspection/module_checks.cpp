// Checks of single lines of a module: Option Explicit, empty procedures, Debug.Print, string functions.
#include "inspection/check.h"

namespace inspection {

void CheckOptionExplicit(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i)
{
    context.setCheckTitle(QStringLiteral("Option Explicit宣言"));
    const auto code = component->codeModule();
    if (!code)
        return;
    context.result(i);
}

void CheckEmptyProcedures(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i)
{
    const QString title = QStringLiteral("空のプロシージャを検出");
    const auto code = beginCheck(context, title, component);
    if (!code)
        return;
    Findings findings(context.result(i), shared::FindingList::EmptyProcedure);
    walkMembers(context, title, *code->members(), [&](const host::Ptr<host::Member> &, int) {});
    findings.store();
}

void CheckDebugPrint(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i)
{
    const QString title = QStringLiteral("コメント化されていないDebug.Print文の検出");
    const auto code = beginCheck(context, title, component);
    if (!code)
        return;
    Findings findings(context.result(i), shared::FindingList::DebugPrint);
    walkMembers(context, title, *code->members(), [&](const host::Ptr<host::Member> &, int) {});
    findings.store();
}

void CheckStringFunctions(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i)
{
    const auto code = beginCheck(context, QStringLiteral("文字列関数の戻り値の明示的型変換"), component);
    if (!code)
        return;
    Findings findings(context.result(i), shared::FindingList::StringFunction);
    findings.store();
}

} // namespace inspection
