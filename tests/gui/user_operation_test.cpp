// The gesture boundary: errors become message boxes, rebuilds wait for the gesture's end.
#include "gui/user_operation.h"
#include "gui/qt_platform.h"
#include "gui_test_support.h"

#include "host/error.h"

#include <QObject>
#include <gtest/gtest.h>

namespace {

TEST(UserOperationTest, ErrorsBecomeMessageBoxesWithTheExclamationIcon)
{
    gui_test::app();
    gui::QtPlatform platform(false);
    controls::ScopedPlatform scoped(platform);
    EXPECT_TRUE(gui::userOperation([] {}));
    EXPECT_FALSE(gui::userOperation([] { throw host::Error(35601, QStringLiteral("要素が見つかりません。")); }));
    EXPECT_FALSE(gui::userOperation([] { throw std::runtime_error("boom"); }));
    EXPECT_FALSE(gui::inUserOperation());
    QStringList prompts;
    for (const auto &m : platform.messages()) {
        prompts << m.prompt;
        EXPECT_EQ(m.buttons, controls::vbExclamation);
    }
    EXPECT_EQ(prompts, (QStringList{QStringLiteral("要素が見つかりません。"), QStringLiteral("boom")}));
}

TEST(UserOperationTest, IdleWorkWaitsForTheOutermostGesture)
{
    gui_test::app();
    QObject context;
    QStringList log;
    gui::userOperation([&] {
        gui::whenIdle(&context, [&] { log << QStringLiteral("rebuild"); });
        gui::userOperation([&] { log << QStringLiteral("inner"); });
        QCoreApplication::processEvents(); // DoEvents inside the gesture
        log << QStringLiteral("outer done");
    });
    EXPECT_EQ(log, (QStringList{QStringLiteral("inner"), QStringLiteral("outer done")}));
    QCoreApplication::processEvents();
    EXPECT_EQ(log.last(), QStringLiteral("rebuild"));

    // A modal dialog's loop is a gesture boundary of its own.
    log.clear();
    gui::userOperation([&] {
        gui::whenIdle(&context, [&] { log << QStringLiteral("dialog rebuild"); });
        gui::ModalScope modal;
        QCoreApplication::processEvents();
        EXPECT_FALSE(gui::inUserOperation());
    });
    EXPECT_EQ(log, (QStringList{QStringLiteral("dialog rebuild")}));

    // Work for a context that is gone never runs.
    auto *gone = new QObject;
    gui::whenIdle(gone, [&] { log << QStringLiteral("never"); });
    delete gone;
    QCoreApplication::processEvents();
    EXPECT_EQ(log.size(), 1);
}

} // namespace
