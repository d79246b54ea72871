// The Find dialog's search over the stand-in IDE: hits, positions, options and targets.
#include "find/search.h"

#include "support/test_project.h"

#include <gtest/gtest.h>

using find::FindOptions;
using find::FindTarget;
using find::RunSearch;
using testing_support::TestProject;

namespace {

const char *const kModule1 = R"vb(Option Explicit
Private mTotal As Long ' Total

Public Sub AddTotal(ByVal n As Long)
    mTotal = mTotal + n
End Sub

Private Function Total_Value() As Long
    Total_Value = mTotal
End Function
)vb";

const char *const kClass1 = R"vb(Option Explicit
Private mName As String

Public Property Get Name() As String
    Name = mName
End Property
Public Property Let Name(ByVal v As String)
    mName = v
End Property
)vb";

class SearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto files = std::make_shared<ide::files::MemoryFileSystem>();
        TestProject(QStringLiteral("Alpha"))
            .module(QStringLiteral("Module1"), QString::fromUtf8(kModule1))
            .classModule(QStringLiteral("Class1"), QString::fromUtf8(kClass1))
            .writeTo(*files);
        TestProject(QStringLiteral("Beta")).module(QStringLiteral("Util"), QStringLiteral("Sub Go()\n    mTotal = 1\nEnd Sub\n"))
            .writeTo(*files);
        ide = std::make_unique<ide::Ide>(files);
        ide->load(QStringLiteral("/project/Alpha/Alpha.vbp"));
        ide->load(QStringLiteral("/project/Beta/Beta.vbp"));
        ASSERT_EQ(ide->vbe()->vbProjects()->count(), 2);
    }

    bool search(const QString &text, FindOptions options = {}, FindTarget target = FindTarget::allProjects())
    {
        return RunSearch(ide->vbe(), text, target, options, shared);
    }

    QStringList hits() const
    {
        QStringList out;
        for (const shared::FindResult &r : shared.gFindResults)
            out << QStringLiteral("%1.%2:%3 %4").arg(r.ProjectName, r.ModuleName).arg(r.Line).arg(r.ProcName);
        return out;
    }

    std::unique_ptr<ide::Ide> ide;
    shared::BasQuillbox shared;
};

TEST_F(SearchTest, OneHitPerLineInHostOrderWithTheOwningProcedure)
{
    ASSERT_TRUE(search(QStringLiteral("mTotal")));
    EXPECT_EQ(shared.gFindText, QStringLiteral("mTotal"));
    EXPECT_EQ(hits(), (QStringList{QStringLiteral("Alpha.Module1:2 "), QStringLiteral("Alpha.Module1:5 AddTotal"),
                                   QStringLiteral("Alpha.Module1:9 Total_Value"), QStringLiteral("Beta.Util:2 Go")}));
    EXPECT_EQ(shared.gFindCount, 4);
    EXPECT_EQ(shared.gFindResults[1].LineText, QStringLiteral("    mTotal = mTotal + n"));
    EXPECT_EQ(shared.gFindResults[1].Column, 5); // the line's first match of two
}

TEST_F(SearchTest, PropertyProceduresGiveThePropertyName)
{
    ASSERT_TRUE(search(QStringLiteral("mName"), {}, FindTarget::component(QStringLiteral("Alpha"), QStringLiteral("Class1"))));
    EXPECT_EQ(hits(), (QStringList{QStringLiteral("Alpha.Class1:2 "), QStringLiteral("Alpha.Class1:5 Name"),
                                   QStringLiteral("Alpha.Class1:8 Name")}));
}

TEST_F(SearchTest, TargetsLimitTheSearch)
{
    ASSERT_TRUE(search(QStringLiteral("mTotal"), {}, FindTarget::project(QStringLiteral("Beta"))));
    EXPECT_EQ(hits(), QStringList{QStringLiteral("Beta.Util:2 Go")});
    ASSERT_TRUE(search(QStringLiteral("mTotal"), {}, FindTarget::component(QStringLiteral("Alpha"), QStringLiteral("Module1"))));
    EXPECT_EQ(shared.gFindCount, 3);
    EXPECT_FALSE(search(QStringLiteral("mTotal"), {}, FindTarget::component(QStringLiteral("Alpha"), QStringLiteral("Class1"))));
    EXPECT_EQ(shared.gFindCount, 0);
}

TEST_F(SearchTest, WholeWordTreatsTheUnderscoreAsASeparator)
{
    // "Total" stands alone in Total_Value and after the apostrophe, not inside mTotal or AddTotal.
    ASSERT_TRUE(search(QStringLiteral("Total"), {.wholeWord = true}));
    EXPECT_EQ(hits(), (QStringList{QStringLiteral("Alpha.Module1:2 "), QStringLiteral("Alpha.Module1:8 Total_Value"),
                                   QStringLiteral("Alpha.Module1:9 Total_Value")}));
}

TEST_F(SearchTest, MatchCaseAndPatterns)
{
    EXPECT_TRUE(search(QStringLiteral("MTOTAL")));
    EXPECT_FALSE(search(QStringLiteral("MTOTAL"), {.matchCase = true}));
    // Like syntax, case-insensitive: mName and its uses, not mTotal (no "e" after it).
    ASSERT_TRUE(search(QStringLiteral("M[nt]?*E"), {.patternSearch = true}));
    EXPECT_EQ(hits(), (QStringList{QStringLiteral("Alpha.Class1:2 "), QStringLiteral("Alpha.Class1:5 Name"),
                                   QStringLiteral("Alpha.Class1:8 Name")}));
    ASSERT_TRUE(search(QStringLiteral("mTotal = #"), {.patternSearch = true}));
    EXPECT_EQ(hits(), QStringList{QStringLiteral("Beta.Util:2 Go")});
    // An unclosed bracket is a literal character, not an error.
    EXPECT_FALSE(search(QStringLiteral("[Total"), {.patternSearch = true}));
}

TEST_F(SearchTest, CaseAndPatternTogetherFindNothingInsteadOfFailing)
{
    EXPECT_FALSE(search(QStringLiteral("mTotal"), {.matchCase = true, .patternSearch = true}));
    EXPECT_EQ(shared.gFindCount, 0);
}

TEST_F(SearchTest, BlankTextDiscardsThePreviousHits)
{
    ASSERT_TRUE(search(QStringLiteral("mTotal")));
    EXPECT_FALSE(search(QStringLiteral("   ")));
    EXPECT_EQ(shared.gFindText, QString());
    EXPECT_EQ(shared.gFindCount, 0);
    EXPECT_TRUE(shared.gFindResults.empty());
    EXPECT_FALSE(search(QString(QStringLiteral("x")).repeated(500)));
}

TEST_F(SearchTest, SurroundingBlanksAreTrimmedFromTheText)
{
    ASSERT_TRUE(search(QStringLiteral("  AddTotal ")));
    EXPECT_EQ(shared.gFindText, QStringLiteral("AddTotal"));
    EXPECT_EQ(shared.gFindCount, 1);
}

TEST_F(SearchTest, AFailingHostSearchEndsTheModuleOnly)
{
    ide->failOn(QStringLiteral("CodeModule.Find"), 5);
    EXPECT_FALSE(search(QStringLiteral("mTotal")));
}

TEST(SearchWithoutProjects, FindsNothingAndKeepsTheOldHits)
{
    ide::Ide ide;
    shared::BasQuillbox shared;
    shared.gFindCount = 1;
    shared.gFindResults.resize(1);
    EXPECT_FALSE(RunSearch(ide.vbe(), QStringLiteral("x"), FindTarget::allProjects(), {}, shared));
    EXPECT_EQ(shared.gFindCount, 1);
}

} // namespace
