#pragma once
// VB's SendKeys syntax ("^({Home})", "+{F10}", "{DOWN 3}~") as key strokes: what the
// stand-in's key handling and the desktop front end's key delivery both read.
#include <QList>
#include <QString>
#include <Qt>

namespace ide {

struct KeyStroke {
    int key = 0;
    Qt::KeyboardModifiers modifiers;
    QString text;
    bool operator==(const KeyStroke &) const = default;
};

/// Parses a SendKeys string; throws host::Error(5) for a malformed one (unbalanced
/// braces or parentheses, an unknown key name, a bad repeat count).
QList<KeyStroke> parseSendKeys(const QString &keys);

} // namespace ide
