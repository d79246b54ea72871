#pragma once
// The boundary between Qt's event handlers and the models: every user gesture enters the
// models through userOperation, so no exception reaches Qt, and widgets that a gesture's
// handlers would rebuild stay in place until the gesture is over (a message box or DoEvents
// inside a handler runs a nested event loop while the gesture's widget is on the stack).
#include <QObject>
#include <functional>

namespace gui {

/// Runs `operation`; a host::Error or std::exception it throws is shown in a message box
/// (exclamation icon, as the add-in's error traps do) through the current platform.
/// Returns false when it threw.
bool userOperation(const std::function<void()> &operation);
/// True while a user operation runs (nested ones included).
bool inUserOperation();

/// While alive, a modal dialog's event loop runs: its own gestures are outermost, so its
/// widgets rebuild while it is open.
class ModalScope {
public:
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope &) = delete;
    ModalScope &operator=(const ModalScope &) = delete;

private:
    int m_savedDepth;
};

/// Runs `work` on `context` from the event loop once no user operation runs; calls for one
/// context are not merged (the caller keeps its own pending flag).
void whenIdle(QObject *context, std::function<void()> work);

/// Shows an exception that reached a Qt slot: the host error's description, or the text.
void showException(const std::exception &error);

} // namespace gui
