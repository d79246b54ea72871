// What a declaration leaves implicit: the procedure scope (Public) and the argument passing (ByRef).
#include "inspection/check.h"

namespace inspection {

void CheckProcedureScope(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i)
{
    const QString title = QStringLiteral("プロシージャのスコープ定義");
    const auto code = beginCheck(context, title, component);
    if (!code)
        return;
    Findings findings(context.result(i), shared::FindingList::Scope);
    walkMembers(context, title, *code->members(), [&](const host::Ptr<host::Member> &, int) {});
    findings.store();
}

void CheckByRefDeclare2(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i)
{
    const QString title = QStringLiteral("ByRefの暗黙宣言を検出");
    const auto code = beginCheck(context, title, component);
    if (!code)
        return;
    Findings findings(context.result(i), shared::FindingList::ByRef);
    walkMembers(context, title, *code->members(), [&](const host::Ptr<host::Member> &, int) {});
    findings.store();
}

} // namespace inspection
