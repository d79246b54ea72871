#include "frontend/ui_actions.h"

#include "controls/form.h"
#include "docmain/doc_main.h"
#include "frontend/forms.h"

namespace frontend {

using namespace controls;

namespace {

struct ActionShape {
    const char *name;
    int argCount;
};
constexpr ActionShape kActions[] = {{"tab", 1},  {"project", 1}, {"click", 1},  {"expand", 1},
                                   {"button", 1}, {"dblclick", 1}, {"sort", 1}, {"resize", 2},
                                   {"split", 1},  {"form", 1},   {"set", 1},    {"press", 1},
                                   {"immediate", 1}};

int toInt(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        throw host::Error(host::err::InvalidCall, QStringLiteral("not a number: %1").arg(text));
    return value;
}

host::Error notFound(const QString &what)
{
    return host::Error(err::ElementNotFound, what);
}

Control &findControl(const Session &session, const UiAction &action, const QString &name)
{
    Form *form = findForm(session, action.form);
    if (!form)
        throw notFound(QStringLiteral("no form named %1 is loaded").arg(action.form));
    for (Control *c : formControls(*form)) {
        if (controlName(*c) == name)
            return *c;
    }
    throw notFound(QStringLiteral("no control named %1 on %2").arg(name, action.form));
}

/// What the user does to give a control this value: types it, ticks the box, picks the entry.
void setControl(Control &control, const QString &value)
{
    const QString name = controlName(control);
    if (auto *box = dynamic_cast<CheckBox *>(&control)) {
        if (value != QLatin1String("0") && value != QLatin1String("1"))
            throw host::Error(err::InvalidPropertyValue, QStringLiteral("%1 takes 0 or 1").arg(name));
        // A click ticks an unticked or grey box and clears a ticked one.
        for (int clicks = 0; clicks < 2 && box->value() != value.toInt(); ++clicks)
            box->press();
        return;
    }
    if (auto *combo = dynamic_cast<ComboBox *>(&control)) {
        if (combo->style() != ComboStyle::DropdownList) {
            combo->typeText(value);
            return;
        }
        const int index = combo->items().indexOf(value);
        if (index < 0)
            throw notFound(QStringLiteral("%1 has no entry %2").arg(name, value));
        combo->chooseItem(index);
        return;
    }
    // Entries of the common controls are named by key or by text.
    const auto entry = [&](const auto &items) {
        for (auto *item : items) {
            if (item->key() == value || item->text() == value)
                return item;
        }
        throw notFound(QStringLiteral("%1 has no entry %2").arg(name, value));
    };
    if (auto *combo = dynamic_cast<ImageCombo *>(&control)) {
        combo->chooseItem(entry(combo->comboItems()));
        return;
    }
    if (auto *list = dynamic_cast<ListView *>(&control)) {
        list->clickItem(entry(list->listItems()));
        return;
    }
    if (auto *tree = dynamic_cast<TreeView *>(&control)) {
        // A tree with check boxes takes NODE=0|1 (a click on the node's box), others a node to click.
        const qsizetype eq = value.lastIndexOf(QLatin1Char('='));
        if (tree->checkboxes() && eq > 0) {
            const QString state = value.mid(eq + 1);
            if (state != QLatin1String("0") && state != QLatin1String("1"))
                throw host::Error(err::InvalidPropertyValue, QStringLiteral("%1 takes NODE=0 or NODE=1").arg(name));
            const QString key = value.left(eq);
            for (Node *node : tree->nodes()) {
                if (node->key() == key || node->text() == key) {
                    tree->checkNode(node, state == QLatin1String("1"));
                    return;
                }
            }
            throw notFound(QStringLiteral("%1 has no entry %2").arg(name, key));
        }
        tree->clickNode(entry(tree->nodes()));
        return;
    }
    throw host::Error(err::InvalidCall, QStringLiteral("%1 (%2) takes no typed value").arg(name, control.className()));
}

} // namespace

bool parseUiActions(const QStringList &args, std::vector<UiAction> &actions, QString &error)
{
    QString form;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const ActionShape *shape = nullptr;
        for (const auto &s : kActions) {
            if (arg == QLatin1String("--") + QLatin1String(s.name))
                shape = &s;
        }
        if (!shape) {
            error = QStringLiteral("unknown action %1").arg(arg);
            return false;
        }
        if (i + shape->argCount >= args.size()) {
            error = QStringLiteral("%1 needs %2 argument(s)").arg(arg).arg(shape->argCount);
            return false;
        }
        const QString name = QString::fromLatin1(shape->name);
        const QStringList values = args.mid(i + 1, shape->argCount);
        i += shape->argCount;
        if (name == QLatin1String("form")) {
            const QString next = i + 1 < args.size() ? args[i + 1] : QString();
            if (next != QLatin1String("--set") && next != QLatin1String("--press")) {
                error = QStringLiteral("--form %1 must be followed by --set or --press").arg(values[0]);
                return false;
            }
            form = values[0];
            continue;
        }
        if (name == QLatin1String("set") || name == QLatin1String("press")) {
            if (form.isEmpty()) {
                error = QStringLiteral("%1 needs --form NAME in front of it").arg(arg);
                return false;
            }
            if (name == QLatin1String("set") && !values[0].contains(QLatin1Char('='))) {
                error = QStringLiteral("--set %1: expected CONTROL=VALUE").arg(values[0]);
                return false;
            }
        }
        actions.push_back({name, values, name == QLatin1String("set") || name == QLatin1String("press") ? form : QString()});
        if (name != QLatin1String("set") && name != QLatin1String("press"))
            form.clear();
    }
    return true;
}

QString actionText(const UiAction &action)
{
    QString text = QStringLiteral("--%1 %2").arg(action.name, action.args.join(QLatin1Char(' ')));
    return action.form.isEmpty() ? text : QStringLiteral("--form %1 %2").arg(action.form, text);
}

void applyUiAction(Session &session, const UiAction &action)
{
    docmain::DocMain &doc = *session.doc;
    const QString &a = action.name;
    const QStringList &v = action.args;
    if (a == QLatin1String("tab")) {
        doc.tbsProject.clickTab(toInt(v[0]));
    } else if (a == QLatin1String("project")) {
        ComboItem *item = doc.imgcboProject.comboItems()(v[0]);
        doc.imgcboProject.chooseItem(item);
    } else if (a == QLatin1String("click") || a == QLatin1String("expand")) {
        TreeView &tree = doc.currentTree();
        Node *node = tree.nodes().find(v[0]);
        if (!node)
            throw host::Error(err::ElementNotFound, QStringLiteral("no node with key %1").arg(v[0]));
        if (a == QLatin1String("click"))
            tree.clickNode(node);
        else
            tree.expandNode(node);
    } else if (a == QLatin1String("button")) {
        for (int t = 0; t <= 1; ++t) {
            Toolbar &toolbar = doc.tbrMain(t);
            for (Button *b : toolbar.buttons()) {
                if (b->key() == v[0]) {
                    toolbar.click(v[0]);
                    return;
                }
            }
        }
        throw host::Error(err::ElementNotFound, QStringLiteral("no button with key %1").arg(v[0]));
    } else if (a == QLatin1String("dblclick")) {
        ListView &list = doc.currentList();
        const int row = toInt(v[0]);
        if (row < 0 || row >= list.listItems().count())
            throw host::Error(err::IndexOutOfBounds, QStringLiteral("no row %1").arg(row));
        list.clickItem(list.listItems()(row + 1));
        list.doubleClick();
    } else if (a == QLatin1String("sort")) {
        ListView &list = doc.currentList();
        const int column = toInt(v[0]);
        if (column < 1 || column > list.columnHeaders().count())
            throw host::Error(err::IndexOutOfBounds, QStringLiteral("no column %1").arg(column));
        list.clickColumn(list.columnHeaders()(column));
    } else if (a == QLatin1String("resize")) {
        doc.resize(toInt(v[0]), toInt(v[1]));
    } else if (a == QLatin1String("split")) {
        // A drag of the splitter bar: the bar moves by half the pointer's offset per move.
        PictureBox &bar = doc.picSplit;
        const int target = toInt(v[0]);
        bar.mouseDown.raise(vbLeftButton, 0, 0, 0);
        bar.mouseMove.raise(vbLeftButton, 0, 2 * (target - bar.left()), 0);
        bar.mouseUp.raise(vbLeftButton, 0, 0, 0);
    } else if (a == QLatin1String("set")) {
        const QString &assignment = v[0];
        const int eq = assignment.indexOf(QLatin1Char('='));
        setControl(findControl(session, action, assignment.left(eq)), assignment.mid(eq + 1));
    } else if (a == QLatin1String("press")) {
        auto *button = dynamic_cast<CommandButton *>(&findControl(session, action, v[0]));
        if (!button)
            throw host::Error(err::InvalidCall, QStringLiteral("%1 is not a command button").arg(v[0]));
        button->press();
    } else if (a == QLatin1String("immediate")) {
        session.ide->setImmediateText(session.ide->immediateText() + v[0]);
    }
}

} // namespace frontend
