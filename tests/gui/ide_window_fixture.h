#pragma once
// The desktop IDE on the bundled example group, shown offscreen with the add-in connected:
// what the main window and dialog tests start from.
#include "gui/form_view.h"
#include "gui/main_window.h"
#include "gui/qt_platform.h"
#include "gui_test_support.h"

#include "docmain/doc_main.h"
#include "frontend/session.h"

#include <gtest/gtest.h>
#include <memory>

namespace gui_test {

inline const QString kGroup = QStringLiteral(TESSARY_SOURCE_DIR "/examples/Tessary.vbg");

class IdeWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        app();
        session = frontend::openSession(kGroup, ide::files::CodePage::Auto);
        window = std::make_unique<gui::MainWindow>(session, platform);
        window->resize(1280, 800);
        window->show();
        window->fitToolWindow();
        settle();
    }
    void TearDown() override { window.reset(); }

    void settle()
    {
        QCoreApplication::processEvents();
        window->syncNow();
        QCoreApplication::processEvents();
    }
    docmain::DocMain &doc() { return *session.doc; }
    gui::FormView *view() { return window->toolWindowView(); }

    gui::QtPlatform platform{false};
    controls::ScopedPlatform scoped{platform};
    frontend::Session session;
    std::unique_ptr<gui::MainWindow> window;
};

} // namespace gui_test
