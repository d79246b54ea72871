#include "gui/user_operation.h"

#include "controls/platform.h"
#include "host/error.h"

#include <QPointer>
#include <QTimer>
#include <vector>

namespace gui {

namespace {

int g_depth = 0;

struct Deferred {
    QPointer<QObject> context;
    std::function<void()> work;
};
std::vector<Deferred> &deferred()
{
    static std::vector<Deferred> list;
    return list;
}

void post(const Deferred &item)
{
    QTimer::singleShot(0, item.context.data(), [item] {
        if (!item.context)
            return;
        if (g_depth > 0) {
            deferred().push_back(item);
            return;
        }
        try {
            item.work();
        } catch (const std::exception &e) {
            showException(e);
        }
    });
}

} // namespace

void showException(const std::exception &error)
{
    QString text;
    if (const auto *hostError = dynamic_cast<const host::Error *>(&error))
        text = hostError->description();
    else
        text = QString::fromUtf8(error.what());
    try {
        controls::platform().msgBox(text, controls::vbExclamation);
    } catch (...) {
        // Nothing left to tell the user with.
    }
}

bool userOperation(const std::function<void()> &operation)
{
    ++g_depth;
    bool ok = true;
    try {
        operation();
    } catch (const std::exception &e) {
        ok = false;
        showException(e);
    } catch (...) {
        ok = false;
    }
    --g_depth;
    if (g_depth == 0 && !deferred().empty()) {
        std::vector<Deferred> waiting;
        waiting.swap(deferred());
        for (const Deferred &item : waiting)
            post(item);
    }
    return ok;
}

bool inUserOperation() { return g_depth > 0; }

ModalScope::ModalScope() : m_savedDepth(g_depth)
{
    g_depth = 0;
    // What waited for the gesture that opened the dialog may run now.
    std::vector<Deferred> waiting;
    waiting.swap(deferred());
    for (const Deferred &item : waiting)
        post(item);
}

ModalScope::~ModalScope() { g_depth = m_savedDepth; }

void whenIdle(QObject *context, std::function<void()> work)
{
    if (!context)
        return;
    post(Deferred{context, std::move(work)});
}

} // namespace gui
