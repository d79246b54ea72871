#include "find/results.h"

#include "analysis/list_builder.h"
#include "analysis/source_text.h"

#include <QHash>

namespace find {

namespace {

const QString kProjectTag = QStringLiteral("FIND_PROJECT");

/// Row text and icon of a hit: "(Declarations)" outside procedures, else the procedure with
/// the icon of its member kind. Looked up once per module and procedure: a search can list
/// tens of thousands of hits.
class RowLook {
public:
    RowLook(const host::VBE &vbe, QString project) : m_vbe(vbe), m_project(std::move(project)) {}

    QString icon(const shared::FindResult &hit)
    {
        if (hit.ProcName.isEmpty())
            return QStringLiteral("DECLARE");
        const QString key = hit.ModuleName + QLatin1Char('\n') + hit.ProcName;
        auto it = m_icons.constFind(key);
        if (it != m_icons.constEnd())
            return *it;
        const auto member = m_vbe.vbProjects()->item(m_project)->vbComponents()->item(hit.ModuleName)
                                ->codeModule()->members()->item(hit.ProcName);
        const QString icon = member->type() == host::MemberType::Property ? QStringLiteral("PROPERTY")
                                                                           : QStringLiteral("METHOD");
        m_icons.insert(key, icon);
        return icon;
    }

    static QString text(const shared::FindResult &hit)
    {
        return hit.ProcName.isEmpty() ? QStringLiteral("(Declarations)") : hit.ProcName;
    }

private:
    const host::VBE &m_vbe;
    QString m_project;
    QHash<QString, QString> m_icons;
};

} // namespace

void BuildFindTree(analysis::ToolWindow &window, const host::VBE &vbe, const shared::BasQuillbox &shared)
{
    controls::TreeView &tree = window.tree(kSearchIndex);
    QString project, module;
    host::Ptr<host::VBProject> hostProject;
    controls::Node *projectNode = nullptr;
    const shared::FindResult *previous = nullptr;
    for (int i = 0; i < shared.gFindCount && i < int(shared.gFindResults.size()); ++i) {
        const shared::FindResult &hit = shared.gFindResults[std::size_t(i)];
        if (hit.ProjectName != project) {
            project = hit.ProjectName;
            hostProject = vbe.vbProjects()->item(project);
            projectNode = tree.nodes().add({}, controls::Relationship::Next, project, project, QStringLiteral("PROJECT"));
            projectNode->setTag(kProjectTag);
            projectNode->setExpanded(true);
            projectNode->setSorted(true);
        }
        if (!previous || hit.ProjectName != previous->ProjectName || hit.ModuleName != previous->ModuleName) {
            module = hit.ModuleName;
            const auto component = hostProject->vbComponents()->item(module);
            controls::Node *node = tree.nodes().add(projectNode, controls::Relationship::Child,
                                                    project + QLatin1Char('_') + module, module);
            node->setTag(QStringLiteral("FIND_") + project);
            const QString image = analysis::componentImage(component);
            if (!image.isEmpty())
                node->setImage(image);
        }
        previous = &hit;
    }
}

void ShowFindList(analysis::ToolWindow &window, const host::VBE &vbe, const shared::BasQuillbox &shared,
                  bool createColumns)
{
    controls::ListView &list = window.list(kSearchIndex);
    const controls::Node *node = window.tree(kSearchIndex).selectedItem();
    if (!node)
        return;
    const bool projectLayout = node->tag() == kProjectTag;
    if (createColumns) {
        list.columnHeaders().clear();
        if (projectLayout)
            analysis::addColumns(list, {{"Procedure"}, {"Module"}, {"Description"},
                                        {"Line", controls::ColumnAlignment::Right}});
        else
            analysis::addColumns(list, {{"Procedure"}, {"Description"}, {"Line", controls::ColumnAlignment::Right}});
        window.RestoreColumnWidths();
    }
    list.setSortKey(projectLayout ? 1 : 0);
    if (shared.gFindCount == 0)
        return;
    const QString project = projectLayout ? node->key() : node->tag().mid(5);
    const QString module = node->text();
    RowLook look(vbe, project);
    for (int i = 0; i < shared.gFindCount && i < int(shared.gFindResults.size()); ++i) {
        const shared::FindResult &hit = shared.gFindResults[std::size_t(i)];
        if (hit.ProjectName != project || (!projectLayout && hit.ModuleName != module))
            continue;
        controls::ListItem *row = list.listItems().add(0, QString(), RowLook::text(hit), QString(), look.icon(hit));
        int column = 1;
        if (projectLayout)
            row->setSubItem(column++, hit.ModuleName);
        row->setSubItem(column++, hit.LineText);
        row->setSubItem(column, QString::number(hit.Line));
    }
}

void SelectFindLine(analysis::ToolWindow &window, const host::VBE &vbe)
{
    QString project, module, lineText;
    int line = 0;
    const controls::Node *node = window.tree(kSearchIndex).selectedItem();
    const controls::ListItem *row = window.list(kSearchIndex).selectedItem();
    if (node && node->tag() != kProjectTag) {
        project = node->tag().mid(5);
        module = node->text();
        if (row) {
            lineText = row->subItem(1);
            line = row->subItem(2).trimmed().toInt();
        }
    } else if (node) {
        project = node->text();
        if (row) {
            module = row->subItem(1);
            lineText = row->subItem(2);
            line = row->subItem(3).trimmed().toInt();
        }
    }
    const auto pane = vbe.vbProjects()->item(project)->vbComponents()->item(module)->codeModule()->codePane();
    pane->setSelection(line, 1, line, 2 * int(lineText.size()) + 1);
    pane->show();
}

} // namespace find
