#include "inspection/run.h"

namespace inspection {

WantedItems allItems()
{
    WantedItems wanted;
    wanted.fill(true);
    return wanted;
}

bool RunModuleChecks(CheckContext &context, const host::Ptr<host::VBProject> &project,
                     const host::Ptr<host::VBComponent> &component, int i, const WantedItems &wanted)
{
    const auto item = [&](int index) { return wanted[std::size_t(index)]; };
    const auto run = [&](const std::function<void()> &check) { runChecked(context, check); };
    for (int k = 1; k <= 12; ++k) {
        if (context.stopRequested())
            return false;
        context.SetCheckProgress(0, k, 0);
        switch (k) {
        case 1:
            context.result(i).OptionExplicit = true;
            if (item(5))
                run([&] { CheckOptionExplicit(context, component, i); });
            break;
        case 2:
            if (item(11)) {
                run([&] { CheckModuleVariableTypes(context, component, i); });
                run([&] { CheckLocalVariableTypes(context, component, i); });
            }
            break;
        case 3:
            if (item(7) || item(8))
                run([&] { CheckUnusedVariables(context, project, component, i, item(7), item(8)); });
            break;
        case 4:
            if (item(9))
                run([&] { CheckUnusedLocalVariables(context, component, i); });
            break;
        case 5:
            if (item(10))
                run([&] { CheckStringFunctions(context, component, i); });
            break;
        case 6:
            if (item(0))
                run([&] { CheckProcedureScope(context, component, i); });
            break;
        case 7:
            if (item(3))
                run([&] { CheckUnusedProcedures(context, project, component, i); });
            break;
        case 8:
            if (item(2))
                run([&] { CheckEmptyProcedures(context, component, i); });
            break;
        case 9:
            if (item(1))
                run([&] { CheckByRefDeclare2(context, component, i); });
            break;
        case 10:
            if (item(6))
                run([&] { CheckReturnTypes(context, component, i); });
            break;
        case 11:
            if (item(4))
                run([&] { CheckUnusedDeclares(context, project, component, i); });
            break;
        case 12:
            if (item(12))
                run([&] { CheckDebugPrint(context, component, i); });
            break;
        }
    }
    return true;
}

} // namespace inspection
