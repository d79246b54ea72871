#pragma once
// The scripted user actions of `tessary ui` and `tessary-ide --screenshot`: each one is
// what a user would do, performed through the controls' user operations.
#include "frontend/session.h"

#include <QStringList>
#include <vector>

namespace frontend {

struct UiAction {
    /// "tab", "project", "click", "expand", "button", "dblclick", "sort", "resize", "split",
    /// "set", "press", "immediate".
    QString name;
    QStringList args;
    /// The form named by the --form in front of a "set" or "press".
    QString form;
};

/// Parses `--tab 2 --click KEY --form frmFind --set cboFind=x ...`; on error returns false
/// with a message in `error`.
bool parseUiActions(const QStringList &args, std::vector<UiAction> &actions, QString &error);

/// Performs one action. Throws host::Error for a form, control, key, row or column that
/// does not exist, or a value the control cannot take.
void applyUiAction(Session &session, const UiAction &action);

/// How an action reads on the command line ("--form frmAbout --press cmdOK").
QString actionText(const UiAction &action);

} // namespace frontend
