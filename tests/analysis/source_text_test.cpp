// The rules the analyses share, on modules loaded by the stand-in IDE.
#include "analysis/source_text.h"

#include "support/test_project.h"

#include <gtest/gtest.h>

using testing_support::TestProject;

namespace {

host::Ptr<host::VBComponent> component(const ide::Ide &ide, const char *name)
{
    return ide.vbe()->vbProjects()->item(1)->vbComponents()->item(QString::fromUtf8(name));
}

} // namespace

TEST(AnalysisSourceText, LinesSearchesAndKinds)
{
    auto ide = TestProject()
                   .module(QStringLiteral("Module1"), QStringLiteral("'Option Explicit\n"
                                                                     "Rem Option Compare Text\n"
                                                                     "Option Explicit\n"
                                                                     "Private Declare Function GetTickCount Lib \"kernel32\" () As Long\n"
                                                                     "  Public Sub Go()  \n"
                                                                     "    ' Sub GoFurther\n"
                                                                     "End Sub\n"))
                   .module(QStringLiteral("Empty"), QStringLiteral("Sub A()\nEnd Sub\n"))
                   .form(QStringLiteral("Child"), QString(), QString(), true)
                   .form(QStringLiteral("Plain"), QString())
                   .build();
    auto module = component(*ide, "Module1")->codeModule();
    EXPECT_EQ(analysis::trimmedLine(*module, 5), QStringLiteral("Public Sub Go()"));
    EXPECT_TRUE(analysis::isCommentLine(analysis::trimmedLine(*module, 1)));
    EXPECT_FALSE(analysis::isCommentLine(analysis::trimmedLine(*module, 2))); // Rem is code here

    // Only the first match counts: the commented-out option hides the real one.
    EXPECT_EQ(analysis::findInDeclarations(*module, QStringLiteral("Option Explicit")).line, 1);
    EXPECT_EQ(analysis::findInDeclarations(*module, QStringLiteral("Option Compare")).line, 2);
    EXPECT_EQ(analysis::findInDeclarations(*module, QStringLiteral("GetTickCount")).line, 4);
    EXPECT_FALSE(analysis::findInDeclarations(*module, QStringLiteral("Go")));
    // Whole word off: "Sub Go" also matches inside "Sub GoFurther", in a comment.
    EXPECT_EQ(analysis::findFrom(*module, QStringLiteral("Sub Go"), 6).line, 6);
    EXPECT_FALSE(analysis::findFrom(*module, QStringLiteral("Function Go"), 1));
    // An empty declarations section holds nothing.
    EXPECT_FALSE(analysis::findInDeclarations(*component(*ide, "Empty")->codeModule(), QStringLiteral("Sub")));

    EXPECT_EQ(analysis::componentImage(component(*ide, "Child")), QStringLiteral("MDICHILD"));
    EXPECT_EQ(analysis::componentImage(component(*ide, "Plain")), QStringLiteral("FORM"));
    EXPECT_EQ(analysis::componentImage(component(*ide, "Module1")), QStringLiteral("STD"));
    EXPECT_EQ(analysis::scopeWord(host::Scope::Friend), QStringLiteral("Friend"));
    EXPECT_EQ(analysis::scopeWord(host::Scope(7)), QString());
}
