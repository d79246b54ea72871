#include "controls/form.h"

#include "controls/platform.h"
#include "controls/standard_controls.h"

#include <gtest/gtest.h>

using namespace controls;

namespace {
struct Dialog {
    Form form{"frmFind"};
    CommandButton find{"cmdFind"};
    CommandButton cancel{"cmdCancel"};
    Frame frame;
    QStringList log;
    std::vector<host::Subscription> subs;
    Dialog()
    {
        find.setContainer(&form);
        frame.setContainer(&form);
        cancel.setContainer(&frame); // buttons inside containers count too
        find.setDefault(true);
        cancel.setCancel(true);
        subs.push_back(form.loadEvent.connect([this] { log << "Load"; }));
        subs.push_back(form.resize.connect([this] { log << "Resize"; }));
        subs.push_back(form.queryUnload.connect([this](bool &, int mode) { log << QStringLiteral("QueryUnload %1").arg(mode); }));
        subs.push_back(form.unloadEvent.connect([this](bool &) { log << "Unload"; }));
        subs.push_back(find.click.connect([this] { log << "cmdFind"; }));
        subs.push_back(cancel.click.connect([this] { log << "cmdCancel"; }));
    }
};
} // namespace

TEST(Form, LifecycleEvents)
{
    Dialog d;
    EXPECT_FALSE(d.form.loaded());
    EXPECT_FALSE(d.form.visible());
    d.form.show();
    d.form.show();
    d.form.setWidth(6000);
    d.form.hide();
    EXPECT_TRUE(d.form.loaded());
    EXPECT_TRUE(d.form.unload());
    d.form.load();
    EXPECT_EQ(d.log, (QStringList{"Load", "Resize", "Resize", "QueryUnload 1", "Unload", "Load"}));
}

TEST(Form, QueryUnloadCanCancelAClose)
{
    Dialog d;
    auto keep = d.form.queryUnload.connect([&](bool &cancel, int mode) {
        if (mode == static_cast<int>(UnloadMode::FormControlMenu)) {
            cancel = true;
            d.form.hide();
        }
    });
    d.form.show();
    EXPECT_FALSE(d.form.userClose());
    EXPECT_TRUE(d.form.loaded());
    EXPECT_FALSE(d.form.visible());
    EXPECT_TRUE(d.form.unload(UnloadMode::FormCode));
    EXPECT_FALSE(d.form.loaded());
}

TEST(Form, EnterAndEscapePressTheDefaultAndCancelButtons)
{
    Dialog d;
    d.form.pressEnter();
    d.form.pressEscape();
    d.find.setEnabled(false);
    d.form.pressEnter();
    CommandButton other("cmdOther");
    other.setContainer(&d.form);
    other.setDefault(true);
    EXPECT_FALSE(d.find.isDefault()); // one default per container
    EXPECT_EQ(d.log, (QStringList{"cmdFind", "cmdCancel"}));
}

TEST(Form, ModalShowGoesThroughThePlatform)
{
    HeadlessPlatform headless;
    ScopedPlatform scope(headless);
    Dialog d;
    headless.setModalHandler([&](Form &form) {
        d.log << "modal " + form.name();
        form.pressEscape();
        form.hide();
    });
    d.form.show(true);
    EXPECT_EQ(d.log, (QStringList{"Load", "Resize", "modal frmFind", "cmdCancel"}));
    EXPECT_EQ(headless.modalForms(), QList<Form *>{&d.form});
    EXPECT_FALSE(d.form.visible());
}

TEST(Form, ScaleSizeExcludesTheFrame)
{
    Form form;
    form.move(0, 0, 4800, 3600);
    EXPECT_EQ(form.scaleWidth(), 4800 - 120);
    EXPECT_EQ(form.scaleHeight(), 3600 - 120 - 330);
    form.setBorderStyle(FormBorderStyle::None);
    EXPECT_EQ(form.scaleWidth(), 4800);
}
