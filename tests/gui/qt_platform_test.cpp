// The desktop platform: VB's message box styles on Qt, Windows filters, clipboard, the
// screen's pointer, and record mode.
#include "gui/qt_platform.h"
#include "gui/units.h"
#include "gui_test_support.h"

#include "controls/form.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace controls;
using QB = QMessageBox;

namespace {

TEST(QtPlatformTest, MessageBoxButtonsIconsAndAnswers)
{
    struct Case {
        int style;
        QList<QB::StandardButton> buttons;
    };
    const Case cases[] = {
        {vbOKOnly, {QB::Ok}},
        {vbOKCancel, {QB::Ok, QB::Cancel}},
        {vbAbortRetryIgnore, {QB::Abort, QB::Retry, QB::Ignore}},
        {vbYesNoCancel, {QB::Yes, QB::No, QB::Cancel}},
        {vbYesNo | vbQuestion, {QB::Yes, QB::No}},
        {vbRetryCancel | vbCritical | vbDefaultButton2, {QB::Retry, QB::Cancel}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(gui::messageButtons(c.style), c.buttons) << c.style;
        // Each button answers with the VB value the headless platform lists for the style.
        QList<int> answers;
        for (QB::StandardButton b : c.buttons)
            answers << gui::messageAnswer(b);
        EXPECT_EQ(answers, msgBoxAnswers(c.style)) << c.style;
    }
    struct IconCase {
        int style;
        QB::Icon icon;
    };
    for (const IconCase c : {IconCase{0, QB::NoIcon}, IconCase{vbCritical, QB::Critical}, IconCase{vbQuestion, QB::Question},
                             IconCase{vbExclamation | vbYesNo, QB::Warning}, IconCase{vbInformation, QB::Information}})
        EXPECT_EQ(gui::messageIcon(c.style), c.icon) << c.style;
    EXPECT_EQ(gui::messageAnswer(QB::Close), vbCancel);
}

TEST(QtPlatformTest, WindowsFiltersBecomeQtNameFilters)
{
    const QChar nul(0);
    struct Case {
        QString windows;
        QStringList qt;
    };
    const Case cases[] = {
        {QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄ ﾌｧｲﾙ (*.vbp;*.mak;*.vbg)") + nul + QStringLiteral("*.vbp;*.mak;*.vbg") + nul + nul,
         {QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄ ﾌｧｲﾙ (*.vbp *.mak *.vbg)")}},
        {QStringLiteral("Text") + nul + QStringLiteral("*.txt") + nul + QStringLiteral("All") + nul + QStringLiteral("*.*") + nul,
         {QStringLiteral("Text (*.txt)"), QStringLiteral("All (*)")}},
        {QString(), {}},
        {QStringLiteral("Dangling") + nul, {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(gui::qtNameFilters(c.windows), c.qt) << c.windows.toStdString();
}

TEST(QtPlatformTest, RecordModeAnswersWithoutBlocking)
{
    gui_test::app();
    gui::QtPlatform platform(false);
    EXPECT_EQ(platform.msgBox(QStringLiteral("続けますか?"), vbYesNo | vbDefaultButton2), vbNo);
    EXPECT_EQ(platform.msgBox(QStringLiteral("完了"), vbOKOnly, QStringLiteral("T")), vbOK);
    ASSERT_EQ(platform.messages().size(), 2);
    EXPECT_EQ(platform.messages()[0], (MessageRecord{QStringLiteral("続けますか?"), vbYesNo | vbDefaultButton2, {}, vbNo}));
    EXPECT_EQ(platform.getOpenFileName(QStringLiteral("All") + QChar(0) + QStringLiteral("*.*"), {}, {}), QString());
    EXPECT_TRUE(platform.shellExecute(QStringLiteral("/tmp/x.txt")));
    EXPECT_EQ(platform.shellCalls().size(), 1);

    Form form(QStringLiteral("frmModal"));
    form.show();
    platform.showModal(form); // recorded, not shown
    EXPECT_EQ(platform.modalForms(), (QList<Form *>{&form}));
}

TEST(QtPlatformTest, ClipboardGoesThroughQt)
{
    gui_test::app();
    gui::QtPlatform platform(false);
    platform.setClipboardText(QStringLiteral("列1\t列2"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("列1\t列2"));
    EXPECT_EQ(platform.clipboardText(), QStringLiteral("列1\t列2"));
    QImage face(16, 16, QImage::Format_RGB32);
    face.fill(qRgb(1, 2, 3));
    platform.setClipboardImage(gui::toPicture(face));
    EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), face);
    EXPECT_EQ(gui::toImage(platform.clipboardImage()).convertToFormat(QImage::Format_RGB32), face);
    platform.clearClipboard();
    EXPECT_EQ(platform.clipboardText(), QString());

    platform.setClipboardAvailable(false);
    for (const auto &call : std::vector<std::function<void()>>{
             [&] { platform.setClipboardText(QStringLiteral("x")); }, [&] { platform.clipboardText(); },
             [&] { platform.clearClipboard(); }, [&] { platform.clipboardImage(); }}) {
        try {
            call();
            ADD_FAILURE() << "no error";
        } catch (const host::Error &e) {
            EXPECT_EQ(e.number(), 521);
        }
    }
}

TEST(QtPlatformTest, ScreenPointerIsTheOverrideCursor)
{
    gui_test::app();
    gui::QtPlatform platform(false);
    platform.setScreenMousePointer(MousePointer::Hourglass);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    EXPECT_EQ(platform.screenMousePointer(), MousePointer::Hourglass);
    platform.setScreenMousePointer(MousePointer::Arrow);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
    platform.setScreenMousePointer(MousePointer::Default);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_GT(platform.screenWidth(), 0);
}

TEST(QtPlatformTest, SendKeysGoesToTheKeyTarget)
{
    gui_test::app();
    gui::QtPlatform platform(false);
    QLineEdit edit;
    platform.setKeyTarget([&] { return &edit; });
    platform.sendKeys(QStringLiteral("abc{LEFT}{BS}"), true);
    EXPECT_EQ(edit.text(), QStringLiteral("ac"));
    EXPECT_EQ(platform.sentKeys().size(), 1);
    EXPECT_THROW(platform.sendKeys(QStringLiteral("{oops"), false), host::Error);
}

} // namespace
