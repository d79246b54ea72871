#include "cli/ui_script.h"

#include "docmain/doc_main.h"

namespace cli {

using namespace controls;

namespace {

struct ActionShape {
    const char *name;
    int argCount;
};
constexpr ActionShape kActions[] = {{"tab", 1},     {"project", 1},  {"click", 1}, {"expand", 1}, {"button", 1},
                                   {"dblclick", 1}, {"sort", 1},    {"resize", 2}, {"split", 1}};

int toInt(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        throw host::Error(host::err::InvalidCall, QStringLiteral("not a number: %1").arg(text));
    return value;
}

Json nodeJson(const Node *node)
{
    Json children = Json::array();
    for (const Node *child : node->childList())
        children.push(nodeJson(child));
    return Json::object()
        .set("key", node->key())
        .set("text", node->text())
        .set("tag", node->tag())
        .set("image", node->image())
        .set("expanded", node->expanded())
        .set("visible", node->visible())
        .set("selected", node->selected())
        .set("children", children);
}

QString alignmentName(ColumnAlignment a)
{
    switch (a) {
    case ColumnAlignment::Right: return QStringLiteral("right");
    case ColumnAlignment::Center: return QStringLiteral("center");
    default: return QStringLiteral("left");
    }
}

Json rect(const Control &c) { return Json(Json::Array{c.left(), c.top(), c.width(), c.height()}); }

} // namespace

bool parseUiActions(const QStringList &args, std::vector<UiAction> &actions, QString &error)
{
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
        actions.push_back({QString::fromLatin1(shape->name), args.mid(i + 1, shape->argCount)});
        i += shape->argCount;
    }
    return true;
}

void applyUiAction(docmain::DocMain &doc, const UiAction &action)
{
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
    }
}

Json uiState(docmain::DocMain &doc, const QStringList &messages)
{
    Json root = Json::object();
    root.set("tab", doc.mintCurrentTab);

    Json items = Json::array();
    for (const ComboItem *item : doc.imgcboProject.comboItems())
        items.push(Json::object().set("key", item->key()).set("text", item->text()).set("image", item->image()));
    const ComboItem *selected = doc.imgcboProject.selectedItem();
    root.set("projectBox", Json::object().set("items", items).set("selected", selected ? Json(selected->key()) : Json()));

    Json trees = Json::array();
    Json lists = Json::array();
    for (int i = 0; i < doc.mintTabCount; ++i) {
        TreeView &tree = doc.tvwProject(i);
        Json nodes = Json::array();
        for (const Node *node : tree.rootNodes())
            nodes.push(nodeJson(node));
        trees.push(Json::object().set("nodes", nodes));

        ListView &list = doc.lvwDetail(i);
        Json columns = Json::array();
        for (const ColumnHeader *c : list.columnHeaders())
            columns.push(Json::object().set("text", c->text()).set("width", c->width()).set("alignment", alignmentName(c->alignment())));
        Json rows = Json::array();
        const int subCount = std::max(0, list.columnHeaders().count() - 1);
        for (const ListItem *item : list.listItems()) {
            Json subItems = Json::array();
            for (int s = 1; s <= subCount; ++s)
                subItems.push(item->subItem(s));
            rows.push(Json::object()
                          .set("key", item->key())
                          .set("text", item->text())
                          .set("tag", item->tag())
                          .set("smallIcon", item->smallIcon())
                          .set("subItems", subItems));
        }
        lists.push(Json::object().set("columns", columns).set("items", rows));
    }
    root.set("trees", trees);
    root.set("lists", lists);

    Json status = Json::array();
    for (const Panel *panel : doc.staMain.panels())
        status.push(panel->text());
    root.set("status", status);
    root.set("progress", Json::object()
                             .set("visible", doc.prgMain.visible())
                             .set("min", doc.prgMain.min())
                             .set("max", doc.prgMain.max())
                             .set("value", doc.prgMain.value()));

    Json toolbars = Json::array();
    for (int t = 0; t <= 1; ++t) {
        Json buttons = Json::object();
        for (const Button *b : doc.tbrMain(t).buttons()) {
            if (b->key().isEmpty())
                continue;
            buttons.set(b->key(), Json::object()
                                      .set("enabled", b->enabled())
                                      .set("value", int(b->value()))
                                      .set("visible", b->visible()));
        }
        toolbars.push(buttons);
    }
    root.set("toolbars", toolbars);

    Json layout = Json::object();
    layout.set("docMain", Json(Json::Array{0, 0, doc.userDocument.scaleWidth(), doc.userDocument.scaleHeight()}));
    layout.set("cbrMain", rect(doc.cbrMain));
    layout.set("tbsProject", rect(doc.tbsProject));
    layout.set("picSplit", rect(doc.picSplit));
    for (int i = 0; i < doc.mintTabCount; ++i) {
        layout.set(QStringLiteral("tvwProject(%1)").arg(i), rect(doc.tvwProject(i)));
        layout.set(QStringLiteral("lvwDetail(%1)").arg(i), rect(doc.lvwDetail(i)));
    }
    layout.set("staMain", rect(doc.staMain));
    layout.set("prgMain", rect(doc.prgMain));
    root.set("layout", layout);

    Json msgs = Json::array();
    for (const QString &m : messages)
        msgs.push(m);
    root.set("messages", msgs);
    return root;
}

} // namespace cli
