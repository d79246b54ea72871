// Variables declared and never used: public and module variables, locals.
#include "inspection/check.h"

namespace inspection {

void CheckUnusedVariables(CheckContext &context, const host::Ptr<host::VBProject> &,
                          const host::Ptr<host::VBComponent> &component, int i, bool, bool)
{
    const QString title = QStringLiteral("未使用変数の検出");
    const auto code = beginCheck(context, title, component);
    if (!code)
        return;
    Findings publicFindings(context.result(i), shared::FindingList::UnusedPublicVariable);
    Findings moduleFindings(context.result(i), shared::FindingList::UnusedModuleVariable);
    walkMembers(context, title, *code->members(), [&](const host::Ptr<host::Member> &, int) {});
    publicFindings.store();
    moduleFindings.store();
}

void CheckUnusedLocalVariables(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i)
{
    const QString title = QStringLiteral("未使用ローカル変数の検出");
    const auto code = beginCheck(context, title, component);
    if (!code)
        return;
    Findings findings(context.result(i), shared::FindingList::UnusedLocalVariable);
    walkMembers(context, title, *code->members(), [&](const host::Ptr<host::Member> &, int) {});
    findings.store();
}

} // namespace inspection
