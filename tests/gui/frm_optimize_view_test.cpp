// The inspection dialog drawn by the Qt front end: its module tree with check boxes, and a
// tick in the view reaching the model, which ticks what lies below.
#include "controls/platform.h"
#include "gui/form_view.h"
#include "gui_test_support.h"
#include "inspection/frm_optimize.h"
#include "shared/bas_quillbox.h"
#include "support/test_project.h"

#include <QAbstractButton>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

TEST(FrmOptimizeView, TheModuleTreeShowsChecksAndATickReachesTheModel)
{
    gui_test::app();
    controls::HeadlessPlatform platform;
    controls::ScopedPlatform scoped(platform);
    auto ide = testing_support::TestProject()
                   .module(QStringLiteral("Module1"), QStringLiteral("Option Explicit\n"))
                   .module(QStringLiteral("Module2"), QStringLiteral("Option Explicit\n"))
                   .build();
    shared::resetBasQuillbox();
    shared::basQuillbox().gVBInstance = ide->vbe();
    inspection::FrmOptimize form;
    form.show();
    form.RefreshProject();
    form.cmdNext.press();
    gui::FormView view(form);
    view.resize(500, 420);
    QCoreApplication::processEvents();

    QTreeView *tree = nullptr;
    for (QTreeView *candidate : view.findChildren<QTreeView *>())
        if (candidate->isVisibleTo(&view))
            tree = candidate;
    ASSERT_NE(tree, nullptr);
    const QModelIndex project = tree->model()->index(0, 0);
    EXPECT_EQ(project.data().toString(), QStringLiteral("Project1"));
    EXPECT_EQ(project.data(Qt::CheckStateRole).toInt(), int(Qt::Checked));

    const QModelIndex folder = tree->model()->index(0, 0, project);
    tree->model()->setData(folder, Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_FALSE(form.tvwProject.nodes()(QStringLiteral("Project1_Module2"))->checked());
    EXPECT_EQ(tree->model()->index(1, 0, folder).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));

    QStringList captions;
    for (QAbstractButton *button : view.findChildren<QAbstractButton *>())
        if (button->isVisibleTo(&view))
            captions << button->text();
    EXPECT_TRUE(captions.contains(QStringLiteral("実行")));
    EXPECT_TRUE(captions.contains(QStringLiteral("ﾉｰﾄﾞを展開")));
    shared::resetBasQuillbox();
}

} // namespace
