// Code nothing calls: Sub and Function procedures, and Declare statements.
#include "inspection/check.h"

namespace inspection {

void CheckUnusedProcedures(CheckContext &context, const host::Ptr<host::VBProject> &,
                           const host::Ptr<host::VBComponent> &component, int i)
{
    const QString title = QStringLiteral("未使用プロシージャの検出");
    const auto code = beginCheck(context, title, component);
    if (!code)
        return;
    Findings findings(context.result(i), shared::FindingList::UnusedProcedure);
    walkMembers(context, title, *code->members(), [&](const host::Ptr<host::Member> &, int) {});
    findings.store();
}

void CheckUnusedDeclares(CheckContext &context, const host::Ptr<host::VBProject> &,
                         const host::Ptr<host::VBComponent> &component, int i)
{
    const QString title = QStringLiteral("未使用の外部関数の検出");
    const auto code = beginCheck(context, title, component);
    if (!code)
        return;
    Findings findings(context.result(i), shared::FindingList::UnusedDeclare);
    walkMembers(context, title, *code->members(), [&](const host::Ptr<host::Member> &, int) {});
    findings.store();
}

} // namespace inspection
