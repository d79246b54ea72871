// The explorer's and the IDE's toolbars: what a click on each button does.
#include "docmain/doc_main.h"

#include "shared/bas_quillbox.h"

#include <functional>

namespace docmain {

using namespace controls;

namespace {

/// IDE commands run by the caption of their menu item: key, command bar, caption fragment.
struct IdeMenuCommand {
    const char *key;
    const char *bar;
    const char *fragment;
};

constexpr IdeMenuCommand kIdeMenuCommands[] = {
    {"PRJPROP", "Project", "のﾌﾟﾛﾊﾟﾃｨ"},         {"REFERENCE", "Project", "参照設定"},
    {"COMPONENT", "Project", "ｺﾝﾎﾟｰﾈﾝﾄ"},         {"COMPILE", "File", "の作成"},
    {"HORIZONTAL", "Window", "上下に並べて表示"}, {"VERTICAL", "Window", "左右に並べて表示"},
    {"TILE", "Window", "重ねて表示"},             {"ICON", "Window", "ｱｲｺﾝの整列"},
    {"ADDIN", "Add-Ins", "ｱﾄﾞｲﾝ ﾏﾈｰｼﾞｬ"},
};

/// The IDE as the shared routines take it; 91 before the connection.
host::Ptr<host::VBE> hostVbe()
{
    host::Ptr<host::VBE> instance = shared::basQuillbox().gVBInstance;
    if (!instance)
        throw host::Error(host::err::ObjectNotSet);
    return instance;
}

/// The list of the tab shown is built again in the mode of the button now down.
void rebuildList(DocMain &doc, int index)
{
    Node *node = doc.tvwProject(index).selectedItem();
    if (!node)
        return;
    doc.mstrCurrentTag.clear();
    doc.tvwProject_NodeClick(index, node);
}

} // namespace

void DocMain::tbrMain_ButtonClick(int index, Button *button)
{
    using Action = std::function<void(DocMain &, Button *)>;
    // Explorer commands (element 0) and IDE commands (element 1), by key; other keys do nothing.
    static const std::array<std::vector<std::pair<const char *, Action>>, 2> actions = {{
        {
            {"REFRESH",
             [](DocMain &doc, Button *) {
                 doc.tbsProject.setSelectedItem(doc.tbsProject.tabs()(TabGeneral));
                 doc.tbsProject_Click();
                 doc.FindNewProject(true);
             }},
            {"PROC", [](DocMain &doc, Button *) { rebuildList(doc, TabGeneral - 1); }},
            {"CTRL", [](DocMain &doc, Button *) { rebuildList(doc, TabGeneral - 1); }},
            {"DOWN", [](DocMain &doc, Button *) { rebuildList(doc, TabRelative - 1); }},
            {"UP", [](DocMain &doc, Button *) { rebuildList(doc, TabRelative - 1); }},
            {"COPY", [](DocMain &doc, Button *) { doc.CopyListToClipboard(); }},
            {"EDITOR", [](DocMain &doc, Button *) { doc.OpenEditor(); }},
            {"ABOUT", [](DocMain &doc, Button *) { doc.ShowAboutDialog(); }},
            {"DEPENDENCY",
             [](DocMain &doc, Button *) {
                 doc.tbsProject.setSelectedItem(doc.tbsProject.tabs()(TabRelative));
                 doc.tbsProject_Click();
                 doc.AnalyzeProcedureCalls();
             }},
            {"FIND", [](DocMain &doc, Button *) { doc.ShowFindDialog(); }},
            {"OPTIMIZE", [](DocMain &doc, Button *) { doc.ShowOptimizeDialog(); }},
        },
        {
            {"OPEN", [](DocMain &, Button *) { shared::AddProjectFiles(hostVbe()); }},
            {"CLOSE", [](DocMain &doc, Button *) { doc.CloseCodeWindows(); }},
            {"WIPER", [](DocMain &doc, Button *) { doc.ClearImmediateWindow(); }},
            {"MSDN", [](DocMain &doc, Button *button) { doc.showHelpWordBand(button->value() == ButtonValue::Pressed); }},
        },
    }};
    if (!button || index < 0 || index > 1 || refuseWhileBusy())
        return;
    const BusyScope busy(*this);
    shared::trapped([&] {
        for (const auto &[key, action] : actions[std::size_t(index)]) {
            if (button->key() == QLatin1String(key)) {
                action(*this, button);
                return;
            }
        }
        for (const IdeMenuCommand &command : kIdeMenuCommands) {
            if (index == 1 && button->key() == QLatin1String(command.key)) {
                shared::ExecuteIdeMenu(hostVbe(), QString::fromUtf8(command.bar), QString::fromUtf8(command.fragment));
                return;
            }
        }
    });
}

} // namespace docmain
