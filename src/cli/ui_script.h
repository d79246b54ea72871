#pragma once
// `tessary ui`: drives the tool window as a user would and reports what it shows.
// The desktop front end's --screenshot applies the same actions.
#include "cli/json.h"

#include <QStringList>

namespace docmain {
class DocMain;
}

namespace cli {

struct UiAction {
    QString name;        // "tab", "project", "click", "expand", "button", "dblclick", "sort", "resize", "split"
    QStringList args;
};

/// Parses `--tab 2 --click KEY ...`; on error returns false with a message in `error`.
bool parseUiActions(const QStringList &args, std::vector<UiAction> &actions, QString &error);

/// Performs one action through the controls' user operations. Throws host::Error for a
/// key, row or column that does not exist.
void applyUiAction(docmain::DocMain &doc, const UiAction &action);

/// The whole visible state of the tool window's models.
Json uiState(docmain::DocMain &doc, const QStringList &messages);

} // namespace cli
