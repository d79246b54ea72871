#include "gui/send_keys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace gui {

void deliverKeys(QWidget *target, const QList<KeyStroke> &strokes)
{
    if (!target)
        return;
    QPointer<QWidget> guard(target);
    for (const KeyStroke &s : strokes) {
        if (!guard)
            return;
        QKeyEvent press(QEvent::KeyPress, s.key, s.modifiers, s.text);
        QCoreApplication::sendEvent(target, &press);
        if (!guard)
            return;
        QKeyEvent release(QEvent::KeyRelease, s.key, s.modifiers, s.text);
        QCoreApplication::sendEvent(target, &release);
    }
}

} // namespace gui
