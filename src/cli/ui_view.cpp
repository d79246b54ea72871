#include "cli/ui_view.h"

#include "controls/controls.h"
#include "docmain/doc_main.h"
#include "frontend/forms.h"

namespace cli {

using namespace controls;

Json nodeJson(const Node *node)
{
    Json children = Json::array();
    for (const Node *child : node->childList())
        children.push(nodeJson(child));
    Json json = Json::object()
                    .set("key", node->key())
                    .set("text", node->text())
                    .set("tag", node->tag())
                    .set("image", node->image())
                    .set("expanded", node->expanded())
                    .set("visible", node->visible())
                    .set("selected", node->selected());
    // Only trees with check boxes have a state worth showing.
    if (node->treeView().checkboxes())
        json.set("checked", node->checked());
    return json.set("children", children);
}

namespace {

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

Json listJson(const ListView &list)
{
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
    return Json::object().set("columns", columns).set("items", rows);
}

namespace {

/// What the user reads off a control: its caption or text, its value, its entries.
Json controlJson(const Control &control)
{
    Json c = Json::object();
    if (auto *label = dynamic_cast<const Label *>(&control)) {
        c.set("caption", label->caption());
    } else if (auto *button = dynamic_cast<const CommandButton *>(&control)) {
        c.set("caption", button->caption());
    } else if (auto *box = dynamic_cast<const CheckBox *>(&control)) {
        c.set("caption", box->caption()).set("value", box->value());
    } else if (auto *frame = dynamic_cast<const Frame *>(&control)) {
        c.set("caption", frame->caption());
    } else if (auto *combo = dynamic_cast<const ComboBox *>(&control)) {
        Json items = Json::array();
        for (const QString &item : combo->items())
            items.push(item);
        c.set("text", combo->text()).set("value", combo->listIndex()).set("items", items);
    } else if (auto *combo = dynamic_cast<const ImageCombo *>(&control)) {
        Json items = Json::array();
        for (const ComboItem *item : combo->comboItems())
            items.push(item->text());
        const ComboItem *selected = combo->selectedItem();
        c.set("text", combo->text()).set("value", selected ? selected->index() : 0).set("items", items);
    } else if (auto *strip = dynamic_cast<const TabStrip *>(&control)) {
        const Tab *selected = strip->selectedItem();
        c.set("value", selected ? selected->index() : 0);
    } else if (auto *bar = dynamic_cast<const ProgressBar *>(&control)) {
        c.set("value", bar->value());
    } else if (auto *tree = dynamic_cast<const TreeView *>(&control); tree && tree->checkboxes()) {
        // A tree the user ticks (the inspection's modules); the tool window's trees show above.
        Json nodes = Json::array();
        for (const Node *node : tree->rootNodes())
            nodes.push(nodeJson(node));
        c.set("nodes", nodes);
    }
    c.set("enabled", control.enabled());
    c.set("visible", control.visible());
    return c;
}

} // namespace

Json formsJson(const frontend::Session &session)
{
    Json forms = Json::array();
    for (Form *form : frontend::sessionForms(session)) {
        // The document shows as its tool window does.
        const bool isDocument = session.doc && form == &session.doc->userDocument;
        const bool visible = isDocument && session.toolWindow ? session.toolWindow->visible() : form->visible();
        Json controls = Json::object();
        for (const Control *c : frontend::formControls(*form))
            controls.set(frontend::controlName(*c), controlJson(*c));
        forms.push(Json::object()
                       .set("name", form->name())
                       .set("caption", isDocument && session.toolWindow ? session.toolWindow->caption() : form->caption())
                       .set("visible", visible)
                       .set("modal", form->modal())
                       .set("controls", controls));
    }
    return forms;
}

Json ideJson(const ide::Ide &ide)
{
    Json windows = Json::array();
    auto list = ide.vbe()->windows();
    for (int i = 1; i <= list->count(); ++i) {
        auto w = list->item(i);
        windows.push(Json::object().set("caption", w->caption()).set("type", int(w->type())).set("visible", w->visible()));
    }
    Json commands = Json::array();
    for (const QString &caption : ide.commandsRun())
        commands.push(caption);
    // Where a double click took the user: the code pane and its selection, the designer's
    // selected controls.
    Json pane;
    if (auto active = ide.vbe()->activeCodePane()) {
        int sl = 0, sc = 0, el = 0, ec = 0;
        active->getSelection(sl, sc, el, ec);
        pane = Json::object()
                   .set("module", active->codeModule()->name())
                   .set("selection", Json(Json::Array{sl, sc, el, ec}));
    }
    Json selected = Json::array();
    auto projects = ide.vbe()->vbProjects();
    for (int p = 1; p <= projects->count(); ++p) {
        auto components = projects->item(p)->vbComponents();
        for (int c = 1; c <= components->count(); ++c) {
            auto component = components->item(c);
            auto designer = component->designer();
            if (!designer)
                continue;
            auto controls = designer->vbControls();
            for (int k = 1; k <= controls->count(); ++k) {
                auto control = controls->item(k);
                if (!control->inSelection())
                    continue;
                const QString index = control->index() >= 0 ? QStringLiteral("(%1)").arg(control->index()) : QString();
                selected.push(QStringLiteral("%1.%2%3").arg(component->name(), control->name(), index));
            }
        }
    }
    return Json::object()
        .set("windows", windows)
        .set("immediate", ide.immediateText())
        .set("commandsRun", commands)
        .set("activeCodePane", pane)
        .set("selectedControls", selected);
}

Json uiState(const frontend::Session &session, const QStringList &messages)
{
    docmain::DocMain &doc = *session.doc;
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

        lists.push(listJson(doc.lvwDetail(i)));
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
    root.set("forms", formsJson(session));
    root.set("ide", ideJson(*session.ide));

    Json msgs = Json::array();
    for (const QString &m : messages)
        msgs.push(m);
    root.set("messages", msgs);
    return root;
}

} // namespace cli
