// The add-in's dialogs and the IDE's command dialogs on the desktop, offscreen: the version
// dialog, the Find dialog over its owner and the Search tab it fills, and what the toolbar's
// IDE commands open.
#include "about/frm_about.h"
#include "gui/app.h"
#include "gui/bindings.h"
#include "gui/code_view.h"
#include "gui/form_view.h"
#include "gui/main_window.h"
#include "gui/qt_platform.h"
#include "gui_test_support.h"
#include "ide_window_fixture.h"

#include "docmain/doc_main.h"
#include "frontend/session.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace controls;
using gui::MainWindow;

namespace {

using gui_test::kGroup;

class DialogsTest : public gui_test::IdeWindowTest {
protected:
    /// Clicks the toolbar button of that key in the tool window, as the user does.
    void clickButton(const QString &key)
    {
        for (int t = 0; t <= 1; ++t) {
            Button *button = doc().tbrMain(t).buttons().find(key);
            if (!button)
                continue;
            auto *binding = dynamic_cast<gui::ToolbarBinding *>(view()->bindingFor(doc().tbrMain(t)));
            ASSERT_NE(binding, nullptr);
            QAbstractButton *widget = binding->button(button->index());
            ASSERT_NE(widget, nullptr) << key.toStdString();
            widget->click();
            settle();
            return;
        }
        FAIL() << "no button " << key.toStdString();
    }
    template <class W>
    W *widgetOf(gui::FormView *formView, const Control &control)
    {
        return qobject_cast<W *>(formView->widgetFor(control));
    }
};

// ---- the version dialog -----------------------------------------------------------------------

TEST_F(DialogsTest, TheAboutDialogShowsItsLabelsAndFiguresAndOkHidesIt)
{
    MemoryStatus memory;
    memory.totalPhysical = 8ull << 30;
    platform.setMemoryStatus(memory);
    clickButton(QStringLiteral("ABOUT"));
    about::FrmAbout &form = doc().frmAbout();
    ASSERT_TRUE(form.visible());
    ASSERT_EQ(platform.modalForms().size(), 1);

    gui::FormDialog dialog(form, window.get());
    dialog.show();
    dialog.view()->flush();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(widgetOf<QLabel>(dialog.view(), form.lblInfo[0])->text(), about::formatByteCount(8ull << 30));
    EXPECT_EQ(widgetOf<QLabel>(dialog.view(), form.Label[2])->text(), QStringLiteral("総ページングファイル："));
    EXPECT_EQ(widgetOf<QLabel>(dialog.view(), form.LabelUnit[0])->text(), QStringLiteral("Bytes"));
    EXPECT_EQ(widgetOf<QLabel>(dialog.view(), form.lblAppVer)->text(), about::applicationVersion());
    // Right-aligned figures end where their column ends.
    EXPECT_TRUE(widgetOf<QLabel>(dialog.view(), form.lblInfo[0])->alignment().testFlag(Qt::AlignRight));

    widgetOf<QPushButton>(dialog.view(), form.cmdOK)->click();
    EXPECT_FALSE(form.visible());
    EXPECT_FALSE(dialog.isVisible());

    // The close box hides it too; it stays loaded for its image list.
    form.show();
    dialog.show();
    dialog.close();
    EXPECT_FALSE(form.visible());
    EXPECT_TRUE(form.loaded());
}

TEST_F(DialogsTest, TheWindowsButtonShowsQtsAboutBoxInsteadOfTheSystems)
{
    gui::QtPlatform interactive(true);
    ScopedPlatform scopedInteractive(interactive);
    interactive.setParentWidget(window.get());
    about::FrmAbout &form = doc().frmAbout();
    form.show();
    QString title;
    QTimer::singleShot(0, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            box->accept();
        }
    });
    form.cmdOSVersion.press();
    EXPECT_EQ(title, QStringLiteral("Windows"));
    form.hide();
}

// ---- the Find dialog and the Search tab ---------------------------------------------------------------

TEST_F(DialogsTest, TheFindDialogOpensOverTheToolWindowAndSearchesWithTheWaitCursor)
{
    clickButton(QStringLiteral("FIND"));
    find::FrmFind *form = doc().frmFind();
    ASSERT_NE(form, nullptr);
    gui::FormDialog *dialog = window->formWindowFor(*form);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->parentWidget(), view());   // owned by the tool window
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("検索"));
    auto *target = widgetOf<QComboBox>(dialog->view(), form->imgcboTarget);
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->count(), form->imgcboTarget.comboItems().count());
    EXPECT_EQ(widgetOf<QAbstractButton>(dialog->view(), form->chkCriteria(0))->text().remove(QLatin1Char('&')),
              QStringLiteral("完全に一致する単語だけを検索する(O)"));

    auto *text = widgetOf<QComboBox>(dialog->view(), form->cboFindString);
    ASSERT_NE(text, nullptr);
    ASSERT_NE(text->lineEdit(), nullptr);
    QTest::keyClicks(text->lineEdit(), QStringLiteral("LogMessage"));
    QCoreApplication::processEvents();
    ASSERT_EQ(form->cboFindString.text(), QStringLiteral("LogMessage"));

    // The results are handed over while the search still shows the wait cursor.
    Qt::CursorShape during = Qt::ArrowCursor;
    const auto handOver = form->onFound;
    form->onFound = [&] {
        if (const QCursor *cursor = QGuiApplication::overrideCursor())
            during = cursor->shape();
        handOver();
    };
    widgetOf<QPushButton>(dialog->view(), form->cmdFind)->click();
    settle();
    EXPECT_EQ(during, Qt::WaitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(form->visible());
    EXPECT_EQ(window->formWindowFor(*form), nullptr);
    EXPECT_EQ(doc().mintCurrentTab, docmain::TabSearch);
}

TEST_F(DialogsTest, TheSearchTabListsTheHitsAndADoubleClickSelectsTheLineInTheCodePane)
{
    clickButton(QStringLiteral("FIND"));
    find::FrmFind *form = doc().frmFind();
    form->cboFindString.typeText(QStringLiteral("LogMessage"));
    form->cmdFind.press();
    settle();

    ListView &list = doc().lvwDetail(docmain::TabSearch - 1);
    auto *listView = qobject_cast<QTreeView *>(view()->widgetFor(list));
    ASSERT_NE(listView, nullptr);
    EXPECT_TRUE(listView->isVisible());
    ASSERT_GT(list.listItems().count(), 1);
    ASSERT_EQ(listView->model()->rowCount(), list.listItems().count());
    EXPECT_EQ(listView->model()->index(1, 0).data().toString(), list.listItems()(2)->text());

    const QPoint second = listView->visualRect(listView->model()->index(1, 0)).center();
    gui_test::doubleClick(listView->viewport(), second);
    settle();
    const auto pane = session.ide->vbe()->activeCodePane();
    ASSERT_NE(pane, nullptr);
    int sl = 0, sc = 0, el = 0, ec = 0;
    pane->getSelection(sl, sc, el, ec);
    EXPECT_EQ(sl, el);
    EXPECT_EQ(QString::number(sl), list.listItems()(2)->subItem(list.columnHeaders().count() - 1));
    gui::CodeView *code = window->codeViewFor(pane);
    ASSERT_NE(code, nullptr);
    EXPECT_TRUE(code->isVisible());
    EXPECT_TRUE(platform.messages().isEmpty());
}

// ---- what the IDE commands open -----------------------------------------------------------------

TEST_F(DialogsTest, TheProjectPropertiesDialogShowsTheProjectAndOkClosesIt)
{
    clickButton(QStringLiteral("PRJPROP"));
    QDialog *dialog = window->commandDialogView();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    const QString project = session.ide->vbe()->activeVBProject()->name();
    EXPECT_EQ(dialog->windowTitle(), project + QStringLiteral(" - ﾌﾟﾛｼﾞｪｸﾄ ﾌﾟﾛﾊﾟﾃｨ"));
    auto *lines = dialog->findChild<QListWidget *>();
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(lines->item(1)->text(), QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄ名: ") + project);
    dialog->accept();
    settle();
    EXPECT_FALSE(session.ide->commandDialog());
    EXPECT_EQ(window->commandDialogView(), nullptr);
}

TEST_F(DialogsTest, MakeSaysThereIsNoCompiler)
{
    clickButton(QStringLiteral("COMPILE"));
    QDialog *dialog = window->commandDialogView();
    ASSERT_NE(dialog, nullptr);
    auto *lines = dialog->findChild<QListWidget *>();
    ASSERT_NE(lines, nullptr);
    EXPECT_TRUE(lines->item(0)->text().contains(QStringLiteral("ｺﾝﾊﾟｲﾗがない")));
}

TEST_F(DialogsTest, WiperEmptiesTheImmediateWindowOnScreen)
{
    session.ide->setImmediateText(QStringLiteral("?1 + 1\n 2\n"));
    settle();
    clickButton(QStringLiteral("WIPER"));
    EXPECT_EQ(window->immediateView()->toPlainText(), QString());
}

TEST_F(DialogsTest, CloseHidesTheCodeWindowsOnScreen)
{
    auto module = session.ide->vbe()->vbProjects()->item(1)->vbComponents()->item(1)->codeModule();
    module->codePane()->show();
    settle();
    ASSERT_NE(window->codeViewFor(module->codePane()), nullptr);
    clickButton(QStringLiteral("CLOSE"));
    EXPECT_FALSE(module->codePane()->window()->visible());
    gui::CodeView *code = window->codeViewFor(module->codePane());
    EXPECT_TRUE(!code || !code->isVisible());
    EXPECT_TRUE(window->immediateDock()->isVisible());
}

TEST(ButtonScreenshots, EveryButtonOfBothToolbarsCanBeShot)
{
    gui_test::app();
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("shot.png"));
    for (const char *key : {"REFRESH", "DEPENDENCY", "PROC",    "CTRL",     "DOWN",       "UP",       "SAVE",    "COPY",
                            "FIND",    "EDITOR",     "ABOUT",   "OPEN",     "PRJPROP",    "REFERENCE", "COMPONENT",
                            "ADDIN",   "COMPILE",    "WIPER",   "MSDN",     "HORIZONTAL", "VERTICAL", "TILE",    "ICON",
                            "CLOSE"}) {
        gui::Options options;
        QString error;
        ASSERT_TRUE(gui::parseOptions({QStringLiteral("--screenshot"), png, kGroup, QStringLiteral("--click"),
                                       QStringLiteral("Stock_basMain"), QStringLiteral("--button"),
                                       QString::fromLatin1(key)},
                                      options, error));
        QStringList messages;
        ASSERT_EQ(gui::takeScreenshot(options, error, &messages), 0) << key << error.toStdString();
        EXPECT_TRUE(messages.isEmpty()) << key << messages.join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(QImage(png).size(), QSize(1280, 800)) << key;
    }
}

} // namespace
