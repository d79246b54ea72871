#include "support/error_number.h"
#include "controls/platform.h"

#include "controls/standard_controls.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using testing_support::errorNumber;
using namespace controls;

namespace {
void touch(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}
} // namespace

TEST(Platform, MessageBoxesAreRecordedAndAnswered)
{
    HeadlessPlatform p;
    p.queueAnswer(vbYes);
    EXPECT_EQ(p.msgBox("stop?", vbYesNo + vbExclamation), vbYes);
    EXPECT_EQ(p.msgBox("again?", vbYesNo + vbExclamation), vbYes); // default button
    EXPECT_EQ(p.msgBox("third?", vbYesNo + vbDefaultButton2), vbNo);
    p.setMsgBoxHandler([](const MessageRecord &m) { return m.prompt.startsWith("Err") ? vbNo : vbCancel; });
    EXPECT_EQ(p.msgBox("Err.Number:5", vbYesNo, "title"), vbNo);
    EXPECT_EQ(p.msgBox("plain"), vbCancel);
    const QList<MessageRecord> expected{
        {"stop?", 52, "", vbYes},  {"again?", 52, "", vbYes}, {"third?", 260, "", vbNo},
        {"Err.Number:5", 4, "title", vbNo}, {"plain", 0, "", vbCancel},
    };
    EXPECT_EQ(p.messages(), expected);
}

TEST(Platform, DefaultAnswerOfEveryButtonSet)
{
    const struct {
        int buttons;
        QList<int> answers;
        int byDefault;
    } cases[] = {
        {vbOKOnly, {vbOK}, vbOK},
        {vbOKCancel, {vbOK, vbCancel}, vbOK},
        {vbAbortRetryIgnore, {vbAbort, vbRetry, vbIgnore}, vbAbort},
        {vbYesNoCancel, {vbYes, vbNo, vbCancel}, vbYes},
        {vbYesNo, {vbYes, vbNo}, vbYes},
        {vbRetryCancel, {vbRetry, vbCancel}, vbRetry},
        {vbYesNoCancel + vbDefaultButton3 + vbQuestion, {vbYes, vbNo, vbCancel}, vbCancel},
        {vbOKOnly + vbDefaultButton2 + vbCritical, {vbOK}, vbOK},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.buttons);
        EXPECT_EQ(msgBoxAnswers(c.buttons), c.answers);
        EXPECT_EQ(msgBoxDefaultAnswer(c.buttons), c.byDefault);
    }
}

TEST(Platform, DoEventsRunsTheCallbackSoATestCanStopARun)
{
    HeadlessPlatform p;
    ScopedPlatform scope(p);
    CommandButton stop;
    bool stopRequested = false;
    auto s = stop.click.connect([&] { stopRequested = true; });
    int calls = 0;
    p.setDoEventsHandler([&] {
        if (++calls == 3)
            stop.press();
        platform().doEvents(); // nested calls do not re-enter the handler
    });
    int steps = 0;
    while (!stopRequested && steps < 100) {
        ++steps;
        platform().doEvents();
    }
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(p.doEventsCount(), 6);
}

TEST(Platform, ClipboardFailsWith521WhenUnavailable)
{
    HeadlessPlatform p;
    p.setClipboardText("a\tb");
    EXPECT_EQ(p.clipboardText(), "a\tb");
    p.setClipboardImage(host::Picture(QByteArray("BM bitmap")));
    EXPECT_EQ(p.clipboardImage().bytes(), "BM bitmap");
    p.clearClipboard();
    EXPECT_EQ(p.clipboardText(), QString());
    EXPECT_TRUE(p.clipboardImage().isNull());
    p.setClipboardAvailable(false);
    for (const auto &op : std::initializer_list<std::function<void()>>{
             [&] { p.clearClipboard(); }, [&] { p.setClipboardText("x"); }, [&] { p.clipboardText(); },
             [&] { p.setClipboardImage(host::Picture()); }, [&] { p.clipboardImage(); }}) {
        EXPECT_EQ(errorNumber(op), 521);
    }
}

TEST(Platform, TempPathEndsWithASeparator)
{
    HeadlessPlatform p;
    const QString system = p.tempPath();
    EXPECT_TRUE(system.endsWith(QDir::separator()));
    EXPECT_EQ(QDir::cleanPath(QDir::fromNativeSeparators(system)), QDir::cleanPath(QDir::tempPath()));
    p.setTempPath("/tmp/tessary");
    EXPECT_EQ(p.tempPath(), QStringLiteral("/tmp/tessary") + QDir::separator());
    p.setTempPath("C:\\Temp\\");
    EXPECT_EQ(p.tempPath(), "C:\\Temp\\");
}

TEST(Platform, ListFilesMatchesWindowsWildcards)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char *name : {"Qlx1A.tmp", "qlx2B.TXT", "Qlx", "Project1.vbp", "Group.VBG", "other.txt", "xQlx.tmp"})
        touch(dir.filePath(name));
    QDir(dir.path()).mkdir("QlxFolder");
    HeadlessPlatform p;
    const struct {
        const char *pattern;
        QStringList names;
    } cases[] = {
        {"Qlx*.*", {"Qlx", "Qlx1A.tmp", "qlx2B.TXT"}},
        {"*.vbp;*.mak;*.vbg", {"Group.VBG", "Project1.vbp"}},
        {"Qlx?A.tmp", {"Qlx1A.tmp"}},
        {"*.txt", {"other.txt", "qlx2B.TXT"}},
        {"nothing*", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pattern);
        QStringList names = p.listFiles(dir.path(), c.pattern);
        names.sort(Qt::CaseInsensitive);
        QStringList expected = c.names;
        expected.sort(Qt::CaseInsensitive);
        EXPECT_EQ(names, expected);
    }
    EXPECT_EQ(p.listFiles(dir.filePath("missing"), "*.*"), QStringList{});
}

TEST(Platform, TempFilesAreCreatedCopiedAndDeleted)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    HeadlessPlatform p;
    const QString first = p.createTempFile(dir.path(), "QlxExtra");
    const QString second = p.createTempFile(dir.path(), "Qlx");
    ASSERT_FALSE(first.isEmpty());
    EXPECT_NE(first, second);
    const QString name = QFileInfo(first).fileName();
    EXPECT_TRUE(name.startsWith("Qlx"));
    EXPECT_TRUE(name.endsWith(".tmp"));
    bool hex = false;
    name.mid(3, name.size() - 7).toUInt(&hex, 16);
    EXPECT_TRUE(hex);
    EXPECT_TRUE(p.fileExists(first));
    EXPECT_EQ(p.createTempFile(dir.filePath("missing"), "Qlx"), QString());

    const QString copy = first.chopped(4) + ".txt";
    EXPECT_TRUE(p.copyFile(first, copy));
    EXPECT_TRUE(p.copyFile(second, copy)); // replaces
    EXPECT_FALSE(p.copyFile(second, copy, false));
    EXPECT_FALSE(p.copyFile(dir.filePath("none"), copy));

    for (const QString &file : p.listFiles(dir.path(), "Qlx*.*"))
        EXPECT_TRUE(p.deleteFile(QDir(dir.path()).filePath(file)));
    EXPECT_EQ(p.listFiles(dir.path(), "*.*"), QStringList{});
    EXPECT_FALSE(p.deleteFile(first));
}

TEST(Platform, OpenDialogAnswersFromTheHandler)
{
    HeadlessPlatform p;
    const QString filter = QStringLiteral("Projects") + QChar(0) + "*.vbp" + QChar(0);
    EXPECT_EQ(p.getOpenFileName(filter, "Add", "/work"), QString()); // cancelled
    p.setOpenFileHandler([](const OpenFileRequest &) { return openFileBuffer({"/p/a.vbp", "/p/b.vbg"}); });
    const QString answer = p.getOpenFileName(filter, "Add", "/work");
    EXPECT_EQ(answer, QDir::toNativeSeparators("/p") + QChar(0) + "a.vbp" + QChar(0) + "b.vbg" + QChar(0) + QChar(0));
    EXPECT_EQ(p.openFileRequests(), (QList<OpenFileRequest>{{filter, "Add", "/work"}, {filter, "Add", "/work"}}));
    EXPECT_EQ(openFileBuffer({"/p/one.vbp"}), QDir::toNativeSeparators("/p/one.vbp") + QChar(0));
    EXPECT_EQ(openFileBuffer({"/p/" + QString(300, 'x')}), QString()); // does not fit 256
    EXPECT_EQ(openFileBuffer({}), QString());
}

TEST(Platform, ShellAndWindowServicesAreRecorded)
{
    HeadlessPlatform p;
    Label target;
    EXPECT_TRUE(p.shellExecute("/tmp/Qlx1.txt", "Open", "/tmp/"));
    p.setShellResult(false);
    EXPECT_FALSE(p.shellExecute("/tmp/Qlx2.txt"));
    EXPECT_EQ(p.shellCalls(), (QList<ShellRecord>{{"/tmp/Qlx1.txt", "Open", "/tmp/"}, {"/tmp/Qlx2.txt", "open", ""}}));
    p.lockWindowUpdate(&target);
    EXPECT_EQ(p.lockedWindow(), &target);
    p.lockWindowUpdate(nullptr);
    EXPECT_EQ(p.lockedWindow(), nullptr);
    EXPECT_EQ(p.lockWindowUpdateCount(), 2);
    p.sendKeys("^({Home})", true);
    EXPECT_EQ(p.sentKeys(), (QList<std::pair<QString, bool>>{{"^({Home})", true}}));
    p.showHelpKeyword("InStr");
    EXPECT_EQ(p.helpKeywords(), QStringList{"InStr"});
    p.shellAbout("Windows", "");
    EXPECT_EQ(p.aboutBoxes().size(), 1);
    p.setScreenMousePointer(MousePointer::Hourglass);
    EXPECT_EQ(p.screenMousePointer(), MousePointer::Hourglass);
    const MemoryStatus fixed{1, 2, 3, 4, 5, 6};
    p.setMemoryStatus(fixed);
    EXPECT_EQ(p.memoryStatus(), fixed);
}

TEST(Platform, ScopedPlatformRestoresThePreviousOne)
{
    Platform *before = &platform();
    {
        HeadlessPlatform outer;
        ScopedPlatform a(outer);
        EXPECT_EQ(&platform(), &outer);
        {
            HeadlessPlatform inner;
            ScopedPlatform b(inner);
            EXPECT_EQ(&platform(), &inner);
        }
        EXPECT_EQ(&platform(), &outer);
    }
    EXPECT_EQ(&platform(), before);
}

TEST(Platform, TextWidthCountsWideCharactersDouble)
{
    HeadlessPlatform p;
    Font font;
    font.size = 9; // 12 pixels
    EXPECT_EQ(p.textWidth("ab", font), 2 * 6 * 15);
    EXPECT_EQ(p.textWidth(QStringLiteral("検索"), font), 2 * 12 * 15);
    EXPECT_EQ(p.textWidth(QStringLiteral("ｺｰﾄﾞ"), font), 4 * 6 * 15); // half-width katakana
    EXPECT_EQ(p.textWidth("", font), 0);
}
