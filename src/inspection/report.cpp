#include "inspection/report.h"

#include "analysis/list_builder.h"
#include "inspection/check_items.h"

namespace inspection {

namespace {

const QString kProjectTag = QStringLiteral("ANLZ_PROJECT");

/// Valid result entries: gAnalizeCount, bounded by what the arrays hold.
int entryCount(const shared::BasQuillbox &shared)
{
    return std::min({shared.gAnalizeCount, int(shared.gAnalizeModules.size()), int(shared.gAnalizeResults.size())});
}

void createReportColumns(analysis::ToolWindow &window, controls::ListView &list, bool projectLayout)
{
    list.listItems().clear();
    list.columnHeaders().clear();
    if (projectLayout)
        analysis::addColumns(list, {{"Module"}, {"Result"}});
    else
        analysis::addColumns(list, {{"Locatioｎ"}, {"Result"}});
    window.RestoreColumnWidths();
    list.setSortKey(0);
    list.setSorted(true);
}

} // namespace

QString ComponentTypeImageKey(const QString &componentType)
{
    static const QHash<QString, QString> images = {
        {QStringLiteral("ActiveXDesigner"), QStringLiteral("DESIGNER")},
        {QStringLiteral("ClassModule"), QStringLiteral("CLASS")},
        {QStringLiteral("DocObject"), QStringLiteral("USERDOC")},
        {QStringLiteral("MSForm"), QStringLiteral("DESIGNER")},
        {QStringLiteral("PropPage"), QStringLiteral("PROPPAGE")},
        {QStringLiteral("StdModule"), QStringLiteral("STD")},
        {QStringLiteral("UserControl"), QStringLiteral("USERCTRL")},
        {QStringLiteral("VBForm"), QStringLiteral("FORM")},
        {QStringLiteral("VBMDIForm"), QStringLiteral("MDIFORM")},
    };
    return images.value(componentType);
}

QString totalText(int total)
{
    return total != 0 ? QString::number(total) + QStringLiteral("件のエラーが検出されました")
                      : QStringLiteral("エラーは検出されませんでした");
}

void BuildAnalizeTree(analysis::ToolWindow &window, const shared::BasQuillbox &shared)
{
    controls::TreeView &tree = window.tree(kOptimizeIndex);
    QString project;
    controls::Node *projectNode = nullptr;
    const shared::AnalizeModule *previous = nullptr;
    const int count = entryCount(shared);
    for (int i = 0; i < count; ++i) {
        const shared::AnalizeModule &module = shared.gAnalizeModules[std::size_t(i)];
        if (module.ProjectName != project || !projectNode) {
            project = module.ProjectName;
            projectNode = tree.nodes().add({}, controls::Relationship::Last, project, project, QStringLiteral("PROJECT"));
            projectNode->setTag(kProjectTag);
            projectNode->setExpanded(true);
            projectNode->setSorted(true);
        }
        if (!previous || module.ProjectName != previous->ProjectName || module.ModuleName != previous->ModuleName) {
            controls::Node *node = tree.nodes().add(projectNode, controls::Relationship::Child,
                                                    project + QLatin1Char('_') + module.ModuleName, module.ModuleName,
                                                    ComponentTypeImageKey(module.ComponentType));
            node->setTag(QStringLiteral("ANLZ_") + project);
        }
        previous = &module;
    }
}

void ShowAnalizeReport(analysis::ToolWindow &window, const shared::BasQuillbox &shared, bool createColumns)
{
    controls::ListView &list = window.list(kOptimizeIndex);
    const controls::Node *node = window.tree(kOptimizeIndex).selectedItem();
    if (!node)
        return;
    const int count = entryCount(shared);
    if (node->tag() == kProjectTag) {
        const QString project = node->text();
        if (createColumns)
            createReportColumns(window, list, true);
        for (int i = 0; i < count; ++i) {
            const shared::AnalizeResult &result = shared.gAnalizeResults[std::size_t(i)];
            if (result.ProjectName != project)
                continue;
            controls::ListItem *row = list.listItems().add(0, result.ModuleName, result.ModuleName, QString(),
                                                           ComponentTypeImageKey(result.ComponentType));
            row->setSubItem(1, totalText(result.total()));
        }
        return;
    }
    const QString project = node->tag().mid(5);
    const QString module = node->text();
    if (createColumns)
        createReportColumns(window, list, false);
    for (int i = 0; i < count; ++i) {
        const shared::AnalizeResult &result = shared.gAnalizeResults[std::size_t(i)];
        if (result.ProjectName != project || result.ModuleName != module)
            continue;
        if (result.total() == 0) {
            controls::ListItem *row =
                list.listItems().add(0, QString(), QStringLiteral("\uFF0D"), QString(), QStringLiteral("APPLICATION"));
            row->setSubItem(1, totalText(0));
            return;
        }
        for (const ReportFinding &finding : reportFindings(result)) {
            controls::ListItem *row = list.listItems().add(0, QString(), finding.location, QString(), finding.icon);
            row->setSubItem(1, finding.message);
        }
        return;
    }
}

} // namespace inspection
