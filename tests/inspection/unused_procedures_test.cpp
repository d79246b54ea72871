// Procedures and Declare statements nothing refers to, over one project that holds the
// cases: Main, event procedures, calls from other modules, a module with its own procedure
// of the same name, calls on lines that hold "Sub ", references in comments.
#include "check_fixture.h"

using inspection_testing::CheckRun;
using inspection_testing::Found;
using shared::FindingList;
using testing_support::TestProject;

namespace {

const char *const kModule1 = R"vb(Option Explicit
Private Declare Function GetTickCount Lib "kernel32" () As Long
Public Declare Function GetVersion Lib "kernel32" () As Long
Private Declare Sub Sleep Lib "kernel32" (ByVal ms As Long)
Public Declare Function GetDC Lib "user32" (ByVal h As Long) As Long

Sub Main()
    Call Tidy
    ' GetTickCount only in a comment
    Sleep 10
    Stray
End Sub

Private Sub Tidy()
End Sub

Private Sub Never()
End Sub

Private Sub Stray()
    If x Then Never2: Exit Sub ' Sub end
End Sub

Private Sub Never2()
End Sub

Public Function Calc() As Long
End Function

Public Function Lonely() As Long
End Function

Public Function Twin() As Long
End Function

Public Property Get Size() As Long
End Property

Friend Sub Pal()
End Sub
)vb";

const char *const kModule2 = R"vb(Option Explicit
Private Declare Function GetDC Lib "user32" (ByVal h As Long) As Long

Public Sub Paint()
    x = GetDC(0)
    ' Lonely
End Sub
)vb";

const char *const kClass1 = R"vb(Option Explicit
Implements IShape
Private WithEvents mTimer As Timer

Private Sub Class_Initialize()
End Sub

Private Function IShape_Area() As Double
End Function

Private Sub mTimer_Timer()
End Sub

Private Function Twin() As Long
    Twin = 1
End Function

Public Sub UseTwin()
    x = Twin
End Sub
)vb";

const char *const kForm1 = R"vb(Option Explicit

Private Sub Form_Load()
    x = Calc()
    y = GetVersion()
    Paint
    UseTwin
End Sub

Private Sub Command1_Click()
End Sub

Private Sub Helper()
End Sub
)vb";

const char *const kForm1Controls = R"vb(   Begin VB.CommandButton Command1 
      TabIndex        =   0
   End
)vb";

TestProject fixture()
{
    return TestProject()
        .module(QStringLiteral("Module1"), QString::fromUtf8(kModule1))
        .module(QStringLiteral("Module2"), QString::fromUtf8(kModule2))
        .classModule(QStringLiteral("Class1"), QString::fromUtf8(kClass1))
        .form(QStringLiteral("Form1"), QString::fromUtf8(kForm1), QString::fromUtf8(kForm1Controls));
}

class UnusedProceduresTest : public ::testing::Test {
protected:
    void runProcedures(const QString &module)
    {
        inspection::CheckUnusedProcedures(run.context, run.project, run.component(module), run.index(module));
    }
    void runDeclares(const QString &module)
    {
        inspection::CheckUnusedDeclares(run.context, run.project, run.component(module), run.index(module));
    }
    CheckRun run{fixture()};
};

Found f(const char *name, int line) { return {QString::fromLatin1(name), line, QString::fromLatin1(name)}; }

} // namespace

TEST_F(UnusedProceduresTest, ReportsPrivateAndPublicProceduresNothingCalls)
{
    runProcedures(QStringLiteral("Module1"));
    // Main, Tidy (Call Tidy), Stray (called from Main), Calc (Form1), Size (a property)
    // are not reported; Never2 is only called on a line holding "Sub "; Lonely only in a
    // comment; Twin only from Class1, which has its own Twin; Pal is Friend and unused.
    EXPECT_EQ(run.findings(QStringLiteral("Module1"), FindingList::UnusedProcedure),
              (std::vector<Found>{f("Never", 16), f("Never2", 23), f("Lonely", 29), f("Twin", 32), f("Pal", 38)}));
}

TEST_F(UnusedProceduresTest, EventProceduresOfControlsAndTheFormAreNeverReported)
{
    runProcedures(QStringLiteral("Form1"));
    EXPECT_EQ(run.findings(QStringLiteral("Form1"), FindingList::UnusedProcedure),
              (std::vector<Found>{f("Helper", 12)}));
}

TEST_F(UnusedProceduresTest, AnAssignmentToTheFunctionCountsAsAUse)
{
    // Nor are the class's own events, a WithEvents variable's events and an interface's
    // procedures reported: the runtime calls them.
    runProcedures(QStringLiteral("Class1"));
    EXPECT_TRUE(run.findings(QStringLiteral("Class1"), FindingList::UnusedProcedure).empty());
}

TEST_F(UnusedProceduresTest, DeclaresAreLeftToTheirOwnCheck)
{
    runProcedures(QStringLiteral("Module2"));
    EXPECT_TRUE(run.findings(QStringLiteral("Module2"), FindingList::UnusedProcedure).empty());
}

TEST_F(UnusedProceduresTest, ReportsDeclaresUsedOnlyInCommentsOrOnlyDeclaredElsewhere)
{
    runDeclares(QStringLiteral("Module1"));
    // GetTickCount: only a comment; GetDC: Module2's first hit is its own Declare. The host
    // gives every Declare the start line 1.
    EXPECT_EQ(run.findings(QStringLiteral("Module1"), FindingList::UnusedDeclare),
              (std::vector<Found>{f("GetTickCount", 1), f("GetDC", 1)}));
    runDeclares(QStringLiteral("Module2"));
    EXPECT_TRUE(run.findings(QStringLiteral("Module2"), FindingList::UnusedDeclare).empty());
}

TEST_F(UnusedProceduresTest, AModuleWithoutMembersStoresNothingButRuns)
{
    CheckRun empty{TestProject().module(QStringLiteral("Module1"), QStringLiteral("Option Explicit\n"))};
    inspection::CheckUnusedProcedures(empty.context, empty.project, empty.component(QStringLiteral("Module1")), 0);
    EXPECT_EQ(empty.results[0].list(FindingList::UnusedProcedure).count, 0);
}
