// Declarations left to the Variant type: module variables, locals (with the arguments of
// Static procedures) and return types, over one project holding the hits and near misses
// side by side: Dim lists, As New, type characters, arrays with bounds, continuations,
// Type members, trailing comments, one-line statements, Japanese names.
#include "check_fixture.h"
#include "inspection/statement_text.h"

using inspection_testing::CheckRun;
using inspection_testing::Found;
using shared::FindingList;
using testing_support::TestProject;

namespace {

const char *const kModule1 = R"vb(Option Explicit
Private Type TPoint
    px
    py As Long
End Type
Public gCount
Private mCount
Dim mTyped As Long, mLoose
Public gName$, gFlags&
Private mArr(1 To 10, 1 To 2) As Long
Private mWide(1 To 3, 5)
Private mCol As New Collection, mOther
Private mNote As Long ' a, b
Private mLast, _
        mCont
Private 名前
Private Declare Function GetTickCount Lib "kernel32" () As Long
Private px As Long

Public Sub Locals()
    Dim x
    Dim y As Long, s$
    Dim a, b As Long
    Dim grid(1 To 3, 1 To 3) As Double
    Dim c As New Collection, d
    Static counter
    Dim e: e = 1
    Dim f As String: f = "Dim g"
    Dim h As Long, _
        k
    ' Dim commented
    Dim_Count = 1 ' Dim q
    If x Then Dim z
    ReDim w(3)
    Dim 値
End Sub

Static Function Tally(a As Long, b, Optional c = 1, ParamArray rest()) As Long
End Function

Function NoType()
End Function

Function Typed() As Long
End Function

Function TypeChar$()
End Function

Function Arrayed() As Long()
End Function

Function Commented() ' returns (nothing)
End Function

Function Continued(ByVal a As Long, _
                   ByVal b As Long) As String
End Function

Sub NotAFunction()
End Sub

Public Property Get Size()
End Property

Public Property Let Size(ByVal v As Variant)
End Property

Public Property Get Width() As Long
    Dim inner
End Property

Private Sub Report(ByRef errFunction As String)
End Sub
)vb";

TestProject fixture()
{
    return TestProject().module(QStringLiteral("Module1"), QString::fromUtf8(kModule1));
}

class VariableTypesTest : public ::testing::Test {
protected:
    std::vector<Found> run(void (*check)(inspection::CheckContext &, const host::Ptr<host::VBComponent> &, int),
                           FindingList list)
    {
        check(checks.context, checks.component(QStringLiteral("Module1")), checks.index(QStringLiteral("Module1")));
        return checks.findings(QStringLiteral("Module1"), list);
    }
    CheckRun checks{fixture()};
};

Found f(const char *location, int line, const char *name)
{
    return {QString::fromUtf8(location), line, QString::fromUtf8(name)};
}

} // namespace

TEST_F(VariableTypesTest, ModuleVariablesReportEachUntypedDeclaratorOnce)
{
    // gCount loses "Public ", mCount keeps "Private"; the Type member px and the Declare's
    // arguments are not the variables; bounds and comments hold no declarators.
    EXPECT_EQ(run(inspection::CheckModuleVariableTypes, FindingList::VariableType),
              (std::vector<Found>{f("Declaration", 6, "gCount"), f("Declaration", 7, "Private mCount"),
                                  f("Declaration", 8, "mLoose"), f("Declaration", 11, "Private mWide(1 To 3, 5)"),
                                  f("Declaration", 12, "mOther"), f("Declaration", 14, "Private mLast"),
                                  f("Declaration", 15, "mCont"), f("Declaration", 16, "Private 名前")}));
}

TEST_F(VariableTypesTest, LocalsAreReportedWithTheirProcedure)
{
    EXPECT_EQ(run(inspection::CheckLocalVariableTypes, FindingList::VariableType),
              (std::vector<Found>{f("Locals", 21, "x"), f("Locals", 23, "a"), f("Locals", 25, "d"),
                                  f("Locals", 27, "e"), f("Locals", 29, "k"), f("Locals", 33, "z"),
                                  f("Locals", 35, "値"), f("Locals", 26, "counter"), f("Tally", 38, "b"),
                                  f("Tally", 38, "c"), f("Property Get Width", 70, "inner")}));
}

TEST_F(VariableTypesTest, ModuleFindingsComeBeforeLocalOnesInTheSharedList)
{
    inspection::CheckModuleVariableTypes(checks.context, checks.component(QStringLiteral("Module1")), 0);
    inspection::CheckLocalVariableTypes(checks.context, checks.component(QStringLiteral("Module1")), 0);
    const auto all = checks.findings(QStringLiteral("Module1"), FindingList::VariableType);
    ASSERT_EQ(all.size(), 19u);
    EXPECT_EQ(all[7].location, QStringLiteral("Declaration"));
    EXPECT_EQ(all[8], f("Locals", 21, "x"));
}

TEST_F(VariableTypesTest, ReturnTypesOfFunctionsAndPropertyGets)
{
    // Subs (also with an argument named errFunction), Let and typed functions never, nor F$() typed by
    // its name; an array return type and a comment after the header are not mistaken.
    // The line is where the procedure starts (ProcStartLine): the blank line above it.
    EXPECT_EQ(run(inspection::CheckReturnTypes, FindingList::ReturnType),
              (std::vector<Found>{f("NoType", 40, "NoType"),
                                  f("Commented", 52, "Commented"), f("Size", 62, "Size")}));
}

TEST(TypeCharacters, EveryTypeCharacterTypesADeclarator)
{
    for (const char *typed : {"s$", "l&", "i%", "f!", "c@", "d#"})
        EXPECT_TRUE(inspection::endsWithTypeCharacter(QString::fromLatin1(typed))) << typed;
    for (const char *untyped : {"v", "a()", "x_"})
        EXPECT_FALSE(inspection::endsWithTypeCharacter(QString::fromLatin1(untyped))) << untyped;
}
