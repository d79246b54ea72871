#pragma once
// The add-in's forms as a front end addresses them: by form name and by control name.
#include "frontend/session.h"

#include <vector>

namespace controls {
class Control;
class Form;
} // namespace controls

namespace frontend {

/// The tool window's document first, then every other loaded form, in load order.
std::vector<controls::Form *> sessionForms(const Session &session);
/// The form of that name (exact) among sessionForms; nullptr when there is none.
controls::Form *findForm(const Session &session, const QString &name);

/// The controls on `form` and on its containers, depth first in the order they were placed.
std::vector<controls::Control *> formControls(const controls::Form &form);
/// The name VB shows for a control: "tvwProject(2)" for an element of a control array.
QString controlName(const controls::Control &control);

} // namespace frontend
