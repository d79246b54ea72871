#pragma once
// Key strokes of a SendKeys string delivered to a widget, for the IDE windows the stand-in
// does not handle keys for itself.
#include "ide/shell/send_keys.h"

class QWidget;

namespace gui {

using ide::KeyStroke;
using ide::parseSendKeys;

/// Sends each stroke to `target` as a key press and release.
void deliverKeys(QWidget *target, const QList<KeyStroke> &strokes);

} // namespace gui
