// Declarations the language gives the Variant type: module variables, locals, return types.
#include "inspection/check.h"

namespace inspection {

void CheckModuleVariableTypes(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i)
{
    const QString title = QStringLiteral("モジュール、パブリック変数の暗黙的な型宣言");
    const auto code = beginCheck(context, title, component);
    if (!code)
        return;
    Findings findings(context.result(i), shared::FindingList::VariableType);
    walkMembers(context, title, *code->members(), [&](const host::Ptr<host::Member> &, int) {});
    findings.store();
}

void CheckLocalVariableTypes(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i)
{
    const QString title = QStringLiteral("ローカル変数の暗黙的な型宣言");
    const auto code = beginCheck(context, title, component);
    if (!code)
        return;
    Findings findings(context.result(i), shared::FindingList::VariableType);
    walkMembers(context, title, *code->members(), [&](const host::Ptr<host::Member> &, int) {});
    findings.store();
}

void CheckReturnTypes(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i)
{
    const QString title = QStringLiteral("バリアント型の暗黙宣言を検出");
    const auto code = beginCheck(context, title, component);
    if (!code)
        return;
    Findings findings(context.result(i), shared::FindingList::ReturnType);
    walkMembers(context, title, *code->members(), [&](const host::Ptr<host::Member> &, int) {});
    findings.store();
}

} // namespace inspection
