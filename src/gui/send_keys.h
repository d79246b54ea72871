#pragma once
// VB's SendKeys syntax ("^({Home})", "+{F10}", "{DOWN 3}~") as Qt key strokes.
#include <QList>
#include <QString>
#include <Qt>

class QWidget;

namespace gui {

struct KeyStroke {
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    QString text;
    bool operator==(const KeyStroke &) const = default;
};

/// Parses a SendKeys string; throws host::Error(5) for a malformed one (unbalanced
/// braces or parentheses, an unknown key name, a bad repeat count).
QList<KeyStroke> parseSendKeys(const QString &keys);
/// Sends each stroke to `target` as a key press and release.
void deliverKeys(QWidget *target, const QList<KeyStroke> &strokes);

} // namespace gui
