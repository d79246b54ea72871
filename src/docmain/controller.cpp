// Reactions to the user: tab switches, node clicks, the project box, the detail lists'
// header clicks, double clicks and Enter, and the help-word box.
#include "docmain/doc_main.h"

#include "analysis/controls_list.h"
#include "controls/platform.h"
#include "shared/bas_quillbox.h"

#include <algorithm>

namespace docmain {

using namespace controls;

namespace {

constexpr int kKeyReturn = 13;

bool isFolderTag(const QString &tag) { return tag.contains(QLatin1Char('_')); }

/// A control array element as the control list shows it: "Text1(2)" gives Text1 and 2.
std::pair<QString, int> parseControlCaption(const QString &text)
{
    const qsizetype open = text.indexOf(QLatin1Char('('));
    if (open > 0 && text.endsWith(QLatin1Char(')'))) {
        bool ok = false;
        const int index = text.mid(open + 1, text.size() - open - 2).toInt(&ok);
        if (ok)
            return {text.left(open), index};
    }
    return {text, -1};
}

} // namespace

void DocMain::tbsProject_Click()
{
    shared::trapped([&] {
        controls::Tab *selected = tbsProject.selectedItem();
        if (!selected)
            return;
        const int t = selected->index();
        if (t != mintCurrentTab) {
            for (int i = 0; i < mintTabCount; ++i) {
                tvwProject(i).setVisible(false);
                tvwProject(i).setEnabled(false);
                lvwDetail(i).setVisible(false);
                lvwDetail(i).setEnabled(false);
            }
            for (Control *c : std::initializer_list<Control *>{&tvwProject(t - 1), &lvwDetail(t - 1)}) {
                c->setVisible(true);
                c->setEnabled(true);
                c->zOrder();
            }
            Buttons &buttons = tbrMain(0).buttons();
            const bool general = t == TabGeneral;
            const bool relative = t == TabRelative;
            buttons(QStringLiteral("PROC"))->setEnabled(general);
            buttons(QStringLiteral("CTRL"))->setEnabled(general);
            buttons(QStringLiteral("UP"))->setEnabled(relative);
            buttons(QStringLiteral("DOWN"))->setEnabled(relative);
            mintCurrentTab = t;
        }
        TreeView &tree = currentTree();
        if (tree.nodes().count() > 0) {
            if (mstrCurrentProject.isEmpty())
                mstrCurrentProject = tree.nodes()(1)->text();
            SetStatusMessage(3, mstrCurrentProject);
            if (Node *node = tree.selectedItem())
                SetStatusMessage(4, node->text());
            SetStatusMessage(5, QStringLiteral("項目数：%1").arg(currentList().listItems().count()));
        } else {
            SetStatusMessage(0, QString());
        }
    });
}

void DocMain::tvwProject_NodeClick(int index, Node *node)
{
    if (!node || index < 0 || index >= mintTabCount)
        return;
    const BusyScope busy(*this);
    TreeView &tree = tvwProject(index);
    ListView &list = lvwDetail(index);
    shared::trapped([&] {
        platform().setScreenMousePointer(MousePointer::Hourglass);
        tree.setMousePointer(MousePointer::Hourglass);
        mblnNewColumns = false;
        if (node->tag() != mstrCurrentTag) {
            SaveColumnWidths();
            mstrCurrentTag = node->tag();
            mblnNewColumns = true;
        }
        if (index != TabSearch - 1)
            mstrCurrentProject = projectOfKey(node->key());

        list.setMousePointer(MousePointer::Hourglass);
        list.listItems().clear();
        list.setSorted(true);
        list.setSortKey(0);
        list.setHideSelection(true);
        if (mblnNewColumns)
            list.columnHeaders().clear();
        SetProgress(0, 0);
        platform().doEvents();

        fillDetailList(index, node);

        SetProgress(0, 0);
        SetStatusMessage(0, QString());
        if (index <= TabRelative - 1 && !mstrCurrentProject.isEmpty()) {
            if (ComboItem *item = imgcboProject.comboItems().find(mstrCurrentProject))
                item->setSelected(true);
        }
        if (tree.nodes().count() > 0) {
            if (mstrCurrentProject.isEmpty())
                mstrCurrentProject = tree.nodes()(1)->text();
            SetStatusMessage(3, mstrCurrentProject);
            SetStatusMessage(4, node->text());
            SetStatusMessage(5, QStringLiteral("項目数：%1").arg(list.listItems().count()));
        }
        list.setHideSelection(false);
        if (list.listItems().count() > 0)
            list.listItems()(1)->setSelected(true);
    });
    // Also after a failed build: the window must not stay busy.
    list.setMousePointer(MousePointer::Default);
    tree.setMousePointer(MousePointer::Default);
    platform().setScreenMousePointer(MousePointer::Default);
}

void DocMain::fillDetailList(int index, Node *node)
{
    const QString &tag = mstrCurrentTag;
    switch (index + 1) {
    case TabGeneral: {
        ListView &list = lvwDetail(0);
        platform().lockWindowUpdate(&list);
        struct Unlock {
            ~Unlock() { platform().lockWindowUpdate(nullptr); }
        } unlock;
        if (tag == QLatin1String("Project")) {
            ShowProjectProperties(node->text(), mblnNewColumns);
        } else if (tag == QLatin1String("Reference")) {
            ShowReferences(mblnNewColumns);
        } else if (buttonDown(QStringLiteral("PROC"))) {
            if (isFolderTag(tag))
                ShowModuleList(mblnNewColumns);
            else
                ShowProcedureList(node->text(), mblnNewColumns);
        } else if (buttonDown(QStringLiteral("CTRL"))) {
            if (isFolderTag(tag))
                ShowControlCounts(mblnNewColumns);
            else
                ShowControlList(node->text(), mblnNewColumns);
        }
        tvwProject(0).refresh();
        break;
    }
    case TabRelative: {
        ListView &list = lvwDetail(1);
        if (tag == QLatin1String("Project")) {
            if (list.columnHeaders().count() > 0) {
                SaveColumnWidths();
                list.listItems().clear();
                list.columnHeaders().clear();
            }
        } else if (!tag.startsWith(QLatin1Char('_'))) {
            if (buttonDown(QStringLiteral("DOWN")))
                ShowCallees(node, mblnNewColumns);
            else if (buttonDown(QStringLiteral("UP")))
                ShowCallers(node, mblnNewColumns);
        }
        break;
    }
    case TabOptimize:
        if (tag.startsWith(QLatin1String("ANLZ_")))
            ShowAnalizeReport(mblnNewColumns);
        break;
    case TabSearch:
        if (tag.startsWith(QLatin1String("FIND_")))
            ShowFindList(mblnNewColumns);
        break;
    default:
        break;
    }
}

void DocMain::imgcboProject_Click()
{
    shared::trapped([&] {
        const QString project = imgcboProject.text();
        if (project.isEmpty())
            return;
        TreeView &tree = tvwProject(0);
        Node *node = tree.nodes()(project);
        tree.setSelectedItem(node);
        tvwProject_NodeClick(0, node);
        if (tree.visible())
            tree.setFocus();
    });
}

void DocMain::lvwDetail_ColumnClick(int index, ColumnHeader *columnHeader)
{
    shared::trapped([&] {
        if (!columnHeader)
            return;
        ListView &list = lvwDetail(index);
        const int column = columnHeader->index() - 1;
        SortOrder order = SortOrder::Ascending;
        if (column == mintLastSortColumn)
            order = list.sortOrder() == SortOrder::Ascending ? SortOrder::Descending : SortOrder::Ascending;
        mintLastSortColumn = column;
        list.setSortOrder(order);
        if (columnHeader->alignment() != ColumnAlignment::Right) {
            list.setSortKey(column);
            list.setSorted(true);
        } else {
            sortByNumber(list, column);
        }
    });
}

void DocMain::sortByNumber(ListView &list, int column)
{
    struct Row {
        QString key, text, smallIcon;
        QStringList subItems;
        qint64 value;
    };
    list.setSorted(false);
    const int columns = list.columnHeaders().count();
    std::vector<Row> rows;
    rows.reserve(std::size_t(list.listItems().count()));
    for (const ListItem *item : list.listItems()) {
        Row row{item->key(), item->text(), item->smallIcon(), {}, 0};
        for (int i = 1; i < columns; ++i)
            row.subItems << item->columnText(i);
        // Val-like: a cell that is no number counts as 0.
        row.value = item->columnText(column).trimmed().toLongLong();
        rows.push_back(std::move(row));
    }
    const bool ascending = list.sortOrder() == SortOrder::Ascending;
    std::stable_sort(rows.begin(), rows.end(), [ascending](const Row &a, const Row &b) {
        return ascending ? a.value < b.value : a.value > b.value;
    });
    list.listItems().clear();
    for (const Row &row : rows) {
        ListItem *item = list.listItems().add(0, row.key, row.text, QString(), row.smallIcon);
        for (int i = 0; i < row.subItems.size(); ++i)
            item->setSubItem(i + 1, row.subItems[i]);
    }
}

void DocMain::lvwDetail_DblClick(int index)
{
    shared::trapped([&] {
        if (lvwDetail(index).listItems().count() == 0)
            return;
        const QString &tag = mstrCurrentTag;
        switch (index + 1) {
        case TabGeneral:
            if (tag == QLatin1String("Project") || tag == QLatin1String("Reference"))
                return;
            if (buttonDown(QStringLiteral("PROC"))) {
                if (isFolderTag(tag))
                    OpenModuleCode(index);
                else
                    OpenProcedureCode(index);
            } else if (buttonDown(QStringLiteral("CTRL"))) {
                if (isFolderTag(tag))
                    OpenModuleDesigner(index);
                else
                    SelectDesignerControl(index);
            }
            break;
        case TabRelative:
            OpenProcedureCode(index);
            break;
        case TabOptimize: {
            if (!tag.startsWith(QLatin1String("ANLZ_")))
                return;
            TreeView &tree = tvwProject(index);
            const Node *selected = tree.selectedItem();
            const ListItem *row = lvwDetail(index).selectedItem();
            if (!selected || !row)
                return;
            Node *module = tree.nodes()(selected->text() + QLatin1Char('_') + row->text());
            tree.setSelectedItem(module);
            tvwProject_NodeClick(index, module);
            break;
        }
        case TabSearch:
            SelectFindLine();
            break;
        default:
            break;
        }
    });
}

void DocMain::lvwDetail_KeyDown(int index, int &keyCode, int)
{
    if (keyCode == kKeyReturn)
        lvwDetail_DblClick(index);
}

host::Ptr<host::VBComponent> DocMain::selectedComponent(const QString &moduleName) const
{
    return vbe().vbProjects()->item(mstrCurrentProject)->vbComponents()->item(moduleName);
}

void DocMain::OpenModuleCode(int index)
{
    const ListItem *row = lvwDetail(index).selectedItem();
    if (!row)
        return;
    selectedComponent(row->text())->codeModule()->codePane()->show();
}

void DocMain::OpenModuleDesigner(int index)
{
    const ListItem *row = lvwDetail(index).selectedItem();
    if (!row)
        return;
    selectedComponent(row->text())->designerWindow();
}

void DocMain::SelectDesignerControl(int index)
{
    const Node *node = tvwProject(0).selectedItem();
    const ListItem *row = lvwDetail(index).selectedItem();
    if (!node || !row)
        return;
    const auto [name, arrayIndex] = parseControlCaption(row->text());
    const host::Ptr<host::VBForm> designer = selectedComponent(node->text())->designer();
    if (!designer)
        return;
    const host::Ptr<host::VBControls> controls = designer->vbControls();
    const int count = controls->count();
    host::Ptr<host::VBControl> match;
    for (int i = 1; i <= count && !match; ++i) {
        const host::Ptr<host::VBControl> control = controls->item(i);
        if (control->properties()->item(QStringLiteral("Name"))->value().toString() != name)
            continue;
        if (arrayIndex >= 0) {
            int index = -1;
            host::resumeNext([&] {
                index = control->properties()->item(QStringLiteral("Index"))->value().toInt();
            });
            if (index != arrayIndex)
                continue;
        }
        match = control;
    }
    if (!match)
        return;
    for (int i = 1; i <= count; ++i) {
        const host::Ptr<host::VBControl> control = controls->item(i);
        control->setInSelection(control == match);
    }
}

void DocMain::OpenProcedureCode(int index)
{
    const Node *node = tvwProject(index).selectedItem();
    const ListItem *row = lvwDetail(index).selectedItem();
    if (!node || !row)
        return;
    const QString name = row->text();
    const bool relative = index == TabRelative - 1;
    // The Relative list names each procedure's module; the General list is the clicked module's.
    const QString moduleName = relative ? row->columnText(1) : node->text();
    const QString type = relative ? QString() : row->columnText(1);
    const QString scope = row->columnText(2);

    QStringList targets;
    if (relative) {
        targets << scope + QStringLiteral(" Sub ") + name << scope + QStringLiteral(" Function ") + name
                << QStringLiteral("Sub ") + name << QStringLiteral("Function ") + name;
    } else if (type == QLatin1String("DLL/Win32API")) {
        targets << name;
    } else {
        targets << scope + QLatin1Char(' ') + type + QLatin1Char(' ') + name;
        // A public procedure may be declared without the keyword.
        if (scope == QLatin1String("Public"))
            targets << type + QLatin1Char(' ') + name;
    }

    const host::Ptr<host::CodeModule> module = selectedComponent(moduleName)->codeModule();
    const host::Ptr<host::CodePane> pane = module->codePane();
    pane->show();
    for (const QString &target : targets) {
        int startLine = 1, startCol = 1, endLine = -1, endCol = -1;
        if (module->find(target.trimmed(), startLine, startCol, endLine, endCol, false, false, true)) {
            pane->setSelection(startLine, 1, startLine, 1);
            return;
        }
    }
}

void DocMain::cboHelpWord_KeyDown(int &keyCode, int)
{
    shared::trapped([&] {
        if (keyCode != kKeyReturn || cboHelpWord.text().isEmpty())
            return;
        AddHelpWordHistory();
        // The MSDN Library viewer is gone; the platform looks the word up in its documentation.
        platform().showHelpKeyword(cboHelpWord.text());
    });
}

void DocMain::AddHelpWordHistory()
{
    const QString word = cboHelpWord.text();
    QStringList history{word};
    for (const QString &entry : cboHelpWord.items()) {
        if (entry != word)
            history << entry;
    }
    cboHelpWord.clear();
    for (const QString &entry : history)
        cboHelpWord.addItem(entry);
    cboHelpWord.setListIndex(0);
}

} // namespace docmain
