// Module, public and local variables never used, over one project that holds the cases:
// uses only in comments or after a statement, uses from other modules, several names in
// one Dim, type characters, arrays, Dim inside a string, Static procedure arguments,
// property accessors, WithEvents.
#include "check_fixture.h"

using inspection_testing::CheckRun;
using inspection_testing::Found;
using shared::FindingList;
using testing_support::TestProject;

namespace {

const char *const kModule1 = R"vb(Option Explicit
Public gUsedInForm As Long
Public gUnused As Long
Private mCount As Long
Private mUsed As Long
Private mCommented As Long
Private mTrail As Long
Dim mArr() As String

Public Sub Work()
    mUsed = 1
    ' mCommented = 2
    x = 1 ' mTrail
    ReDim mArr(3)
End Sub

Public Sub Locals()
    Dim a As Long, b As String
    Dim s$
    Dim t As Long: t = 1
    Dim q As String
    q = "Dim z As Long"
    Dim arr(10) As Long, grid(0 To 3, 1 To 2) As Long
    arr(1) = a
    s$ = "x"
End Sub

Static Sub Foo(a As Long, ByVal k As Long)
    k = 2
End Sub
)vb";

const char *const kClass1 = R"vb(Option Explicit
Private WithEvents mTimer As Timer
Private mValue As Long

Public Property Get Value() As Long
    Dim unusedGet As Long
    Value = mValue
End Property

Public Property Let Value(ByVal v As Long)
    Dim tmp As Long, _
        spare As Long
    tmp = v
    mValue = tmp
End Property

Private Sub mTimer_Timer()
End Sub
)vb";

const char *const kForm1 = R"vb(Option Explicit

Private Sub Form_Load()
    gUsedInForm = 1
End Sub
)vb";

TestProject fixture()
{
    return TestProject()
        .module(QStringLiteral("Module1"), QString::fromUtf8(kModule1))
        .classModule(QStringLiteral("Class1"), QString::fromUtf8(kClass1))
        .form(QStringLiteral("Form1"), QString::fromUtf8(kForm1));
}

class UnusedVariablesTest : public ::testing::Test {
protected:
    void runVariables(const QString &module, bool publicWanted = true, bool moduleWanted = true)
    {
        inspection::CheckUnusedVariables(run.context, run.project, run.component(module), run.index(module),
                                         publicWanted, moduleWanted);
    }
    void runLocals(const QString &module)
    {
        inspection::CheckUnusedLocalVariables(run.context, run.component(module), run.index(module));
    }
    CheckRun run{fixture()};
};

Found f(const char *location, int line, const char *name)
{
    return {QString::fromLatin1(location), line, QString::fromLatin1(name)};
}

} // namespace

TEST_F(UnusedVariablesTest, ModuleVariablesUsedOnlyInCommentsAreReported)
{
    runVariables(QStringLiteral("Module1"));
    EXPECT_EQ(run.findings(QStringLiteral("Module1"), FindingList::UnusedModuleVariable),
              (std::vector<Found>{f("mCount", 4, "mCount"), f("mCommented", 6, "mCommented")}));
    EXPECT_EQ(run.findings(QStringLiteral("Module1"), FindingList::UnusedPublicVariable),
              (std::vector<Found>{f("gUnused", 3, "gUnused")}));
}

TEST_F(UnusedVariablesTest, EachHalfRunsOnlyWhenItsItemIsChosen)
{
    runVariables(QStringLiteral("Module1"), true, false);
    EXPECT_TRUE(run.findings(QStringLiteral("Module1"), FindingList::UnusedModuleVariable).empty());
    EXPECT_EQ(run.findings(QStringLiteral("Module1"), FindingList::UnusedPublicVariable).size(), 1u);
    runVariables(QStringLiteral("Form1"), false, true);
    EXPECT_TRUE(run.findings(QStringLiteral("Form1"), FindingList::UnusedPublicVariable).empty());
}

TEST_F(UnusedVariablesTest, AWithEventsVariableIsUsedByItsEventProcedures)
{
    // The host's whole word ends at "_": mTimer_Timer holds mTimer.
    runVariables(QStringLiteral("Class1"));
    EXPECT_TRUE(run.findings(QStringLiteral("Class1"), FindingList::UnusedModuleVariable).empty());
}

TEST_F(UnusedVariablesTest, LocalsAreReportedWithTheProcedureAndTheLastDeclarationLine)
{
    runLocals(QStringLiteral("Module1"));
    // b: declared beside a used a; t: used only on its declaration line; z stands in a
    // string; s$ and arr are used; grid's bounds hold a comma and grid is reported whole;
    // Foo's argument a is checked like a local. The location
    // line is the last Dim/Static hit in the procedure (the string's Dim counts there).
    EXPECT_EQ(run.findings(QStringLiteral("Module1"), FindingList::UnusedLocalVariable),
              (std::vector<Found>{f("Locals", 23, "b"), f("Locals", 23, "t"), f("Locals", 23, "grid"),
                                  f("Foo", 28, "a")}));
}

TEST_F(UnusedVariablesTest, PropertyAccessorsAreScannedEachAndContinuationsJoined)
{
    runLocals(QStringLiteral("Class1"));
    EXPECT_EQ(run.findings(QStringLiteral("Class1"), FindingList::UnusedLocalVariable),
              (std::vector<Found>{f("Value", 6, "unusedGet"), f("Value", 11, "spare")}));
}
