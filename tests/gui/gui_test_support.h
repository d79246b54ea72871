#pragma once
// The test program's one QApplication (offscreen) and synthetic user input.
#include "gui/units.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <ostream>

/// Readable QStrings in GoogleTest's messages.
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }

namespace gui_test {

/// Created on first use and kept for the whole program, as Qt wants one per process.
inline QApplication &app()
{
    static QApplication *instance = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "gui_tests";
        static char *argv[] = {name, nullptr};
        auto *created = new QApplication(argc, argv);
        gui::applyClassicLook(*created);
        return created;
    }();
    return *instance;
}

inline void mouse(QWidget *target, QEvent::Type type, QPoint pos, Qt::MouseButton button = Qt::LeftButton,
                  Qt::MouseButtons held = Qt::NoButton)
{
    QMouseEvent event(type, QPointF(pos), QPointF(target->mapToGlobal(pos)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

/// Press and release at `pos`.
inline void click(QWidget *target, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    mouse(target, QEvent::MouseButtonPress, pos, button, button);
    mouse(target, QEvent::MouseButtonRelease, pos, button, Qt::NoButton);
}

inline void doubleClick(QWidget *target, QPoint pos)
{
    click(target, pos);
    mouse(target, QEvent::MouseButtonDblClick, pos, Qt::LeftButton, Qt::LeftButton);
    mouse(target, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
}

inline void key(QWidget *target, int key, const QString &text = {}, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(target, &release);
}

} // namespace gui_test
