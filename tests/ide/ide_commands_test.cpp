// The stand-in's own dialogs of its menu commands and its key handling of the Immediate window.
#include "ide/shell/ide.h"
#include "support/error_number.h"
#include "support/test_project.h"

#include <gtest/gtest.h>

using testing_support::errorNumber;
using testing_support::TestProject;

namespace {

std::unique_ptr<ide::Ide> sample()
{
    return TestProject(QStringLiteral("Alpha"))
        .module(QStringLiteral("Module1"), QStringLiteral("Sub Main()\nEnd Sub\n"))
        .vbpLine(QStringLiteral("Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX"))
        .vbpLine(QStringLiteral("Startup=\"Sub Main\""))
        .build();
}

void run(ide::Ide &ide, const QString &bar, int item)
{
    ide.vbe()->commandBars()->item(bar)->controls()->item(item)->execute();
}

struct Immediate : testing::Test {
    std::unique_ptr<ide::Ide> ide = sample();
    void SetUp() override { ide->vbe()->windows()->item(QStringLiteral("ｲﾐﾃﾞｨｴｲﾄ"))->setFocus(); }
};

TEST_F(Immediate, TheClearingSequenceEmptiesIt)
{
    ide->setImmediateText(QStringLiteral("?1 + 1\n 2\n"));
    for (const char *keys : {"^({Home})", "^(+({End}))", "{Del}"})
        EXPECT_TRUE(ide->sendKeys(QString::fromLatin1(keys)));
    EXPECT_EQ(ide->immediateText(), QString());
}

TEST_F(Immediate, KeysMoveSelectTypeAndDeleteAsInAnEditBox)
{
    ide->setImmediateText(QStringLiteral("ab\ncd"));
    const std::vector<std::tuple<const char *, const char *, qsizetype, qsizetype>> steps = {
        // keys, text after, anchor, caret
        {"{Home}", "ab\ncd", 3, 3},         // start of the last line
        {"+{End}", "ab\ncd", 3, 5},         // select to its end
        {"x", "ab\nx", 4, 4},               // typing replaces the selection
        {"^{Home}{Right}", "ab\nx", 1, 1},
        {"{Del}", "a\nx", 1, 1},
        {"{BS}", "\nx", 0, 0},
        {"^(+{End})~", "\n", 1, 1},         // Enter types a line break
        {"^v", "\n", 1, 1},                 // chords type nothing
    };
    for (const auto &[keys, text, anchor, caret] : steps) {
        ide->sendKeys(QString::fromLatin1(keys));
        EXPECT_EQ(ide->immediateText(), QString::fromLatin1(text)) << keys;
        EXPECT_EQ(ide->immediateSelection(), std::make_pair(anchor, caret)) << keys;
    }
}

TEST_F(Immediate, KeysForAnotherWindowAreLeftToTheFrontEnd)
{
    ide->setImmediateText(QStringLiteral("kept"));
    ide->vbe()->vbProjects()->item(1)->vbComponents()->item(1)->codeModule()->codePane()->show();
    EXPECT_FALSE(ide->sendKeys(QStringLiteral("{Del}")));
    EXPECT_EQ(ide->immediateText(), QStringLiteral("kept"));
}

TEST_F(Immediate, MalformedKeysRaiseError5)
{
    EXPECT_EQ(errorNumber([&] { ide->sendKeys(QStringLiteral("{NoSuchKey}")); }), 5);
    EXPECT_EQ(errorNumber([&] { ide->sendKeys(QStringLiteral("^(")); }), 5);
}

TEST_F(Immediate, TheKeyHandlerOutlivesNoIde)
{
    auto handler = ide->keyHandler();
    EXPECT_TRUE(handler(QStringLiteral("a")));
    ide.reset();
    EXPECT_FALSE(handler(QStringLiteral("a")));
}

TEST(CommandDialogs, EachProjectCommandOpensItsDialogWithTheProjectsData)
{
    auto ide = sample();
    run(*ide, QStringLiteral("Project"), 7);   // "Alpha のﾌﾟﾛﾊﾟﾃｨ(&E)..."
    ASSERT_TRUE(ide->commandDialog());
    EXPECT_EQ(ide->commandDialog()->command, QStringLiteral("ProjectProperties"));
    EXPECT_TRUE(ide->commandDialog()->lines.contains(QStringLiteral("ｽﾀｰﾄｱｯﾌﾟ ｵﾌﾞｼﾞｪｸﾄ: Sub Main")));
    run(*ide, QStringLiteral("Project"), 6);
    EXPECT_EQ(ide->commandDialog()->lines,
              QStringList{QStringLiteral("[x] MSCOMCTL.OCX {831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0")});
    run(*ide, QStringLiteral("File"), 6);
    EXPECT_EQ(ide->commandDialog()->command, QStringLiteral("MakeProject"));
    run(*ide, QStringLiteral("Add-Ins"), 2);
    EXPECT_EQ(ide->commandDialog()->command, QStringLiteral("AddInManager"));
    ide->closeCommandDialog();
    EXPECT_FALSE(ide->commandDialog());
}

TEST(CommandDialogs, WithoutAProjectOnlyTheAddInManagerOpens)
{
    ide::Ide ide;
    run(ide, QStringLiteral("Project"), 7);
    run(ide, QStringLiteral("File"), 6);
    EXPECT_FALSE(ide.commandDialog());
    run(ide, QStringLiteral("Add-Ins"), 2);
    EXPECT_TRUE(ide.commandDialog());
}

TEST(CommandDialogs, TheWindowCommandsRecordTheArrangement)
{
    auto ide = sample();
    EXPECT_EQ(ide->arrangement(), QString());
    run(*ide, QStringLiteral("Window"), 4);
    EXPECT_EQ(ide->arrangement(), QStringLiteral("Cascade"));
    EXPECT_FALSE(ide->commandDialog());
}

} // namespace
