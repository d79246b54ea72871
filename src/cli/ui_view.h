#pragma once
// `tessary ui`'s view: the tool window, the loaded forms and the IDE side, read from the
// models after the scripted actions.
#include "frontend/json.h"
#include "controls/list_view.h"
#include "controls/tree_view.h"
#include "frontend/session.h"

#include <QStringList>

namespace cli {

using frontend::Json;

/// The whole visible state: tool window, forms, IDE windows and message boxes shown.
Json uiState(const frontend::Session &session, const QStringList &messages);

/// A tree node with its children, as the ui view shows it.
Json nodeJson(const controls::Node *node);
/// A detail list: its columns and rows.
Json listJson(const controls::ListView &list);

/// The loaded forms, the tool window's document first.
Json formsJson(const frontend::Session &session);
/// The IDE's windows, the Immediate window's text and the menu commands run.
Json ideJson(const ide::Ide &ide);

} // namespace cli
