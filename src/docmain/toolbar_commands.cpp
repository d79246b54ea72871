// The explorer's and the IDE's toolbars: what a click on each button does.
#include "docmain/doc_main.h"

#include "shared/bas_quillbox.h"

#include <functional>

namespace docmain {

using namespace controls;

void DocMain::tbrMain_ButtonClick(int index, Button *button)
{
    using Action = std::function<void(DocMain &, Button *)>;
    // Explorer commands (element 0) and IDE commands (element 1), by key; other keys do nothing.
    static const std::array<std::vector<std::pair<const char *, Action>>, 2> actions = {{
        {
            {"DEPENDENCY",
             [](DocMain &doc, Button *) {
                 doc.tbsProject.setSelectedItem(doc.tbsProject.tabs()(TabRelative));
                 doc.tbsProject_Click();
                 doc.AnalyzeProcedureCalls();
             }},
            {"FIND", [](DocMain &doc, Button *) { doc.ShowFindDialog(); }},
            {"OPTIMIZE", [](DocMain &doc, Button *) { doc.ShowOptimizeDialog(); }},
        },
        {},
    }};
    shared::trapped([&] {
        if (!button || index < 0 || index > 1)
            return;
        for (const auto &[key, action] : actions[std::size_t(index)]) {
            if (button->key() == QLatin1String(key)) {
                action(*this, button);
                return;
            }
        }
    });
}

} // namespace docmain
