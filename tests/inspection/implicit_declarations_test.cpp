// Procedures public only by default and arguments passed ByRef only by default, over one
// project holding the hits and near misses: Declare statements, accessors of one property
// with different scopes, event procedures of controls, WithEvents variables and implemented
// interfaces, continued headers, array return types, defaults holding commas, ParamArray,
// trailing comments, Japanese names.
#include "check_fixture.h"

using inspection_testing::CheckRun;
using inspection_testing::Found;
using shared::FindingList;
using testing_support::TestProject;

namespace {

const char *const kModule1 = R"vb(Option Explicit
Declare Function GetVersion Lib "kernel32" () As Long
Public Declare Function GetDC Lib "user32" (ByVal h As Long) As Long
Private Declare Sub Sleep Lib "kernel32" (ms As Long)

Sub Foo()
End Sub

Public Sub Bar(a As Long, ByVal b As Long)
End Sub

Private Sub Baz(ByVal a As Long, ByRef b As Long)
End Sub

' Public Sub Qux() was here
Function Qux(ByValue As Long) As Long
End Function

Sub Continued(ByVal a As Long, _
              b As Long)
End Sub

Function Arr() As Long()
End Function

Sub Defaults(Optional ByVal s As String = "a, b", ParamArray rest())
End Sub

Sub Commented(ByVal a As Long) ' see (b, c)
End Sub

Property Get Size() As Long
End Property

Public Property Let Size(v As Long)
End Property

Private Property Set Size(ByVal o As Object)
End Property

Sub 計算(値 As Long)
End Sub

Sub Caller()
    Foo
    Bar 1, 2
End Sub
)vb";

const char *const kClass1 = R"vb(Option Explicit
Implements IShape
Private WithEvents mTimer As Timer

Private Sub IShape_Draw(x As Long)
End Sub

Private Sub mTimer_Tick(n As Long)
End Sub

Private Sub Class_Initialize()
End Sub

Public Sub Work(n As Long)
End Sub
)vb";

const char *const kForm1 = R"vb(Option Explicit

Private Sub Command1_Click(Index As Integer)
End Sub

Private Sub Form_QueryUnload(Cancel As Integer, UnloadMode As Integer)
End Sub

Sub Helper(v)
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
        .classModule(QStringLiteral("Class1"), QString::fromUtf8(kClass1))
        .form(QStringLiteral("Form1"), QString::fromUtf8(kForm1), QString::fromUtf8(kForm1Controls));
}

class ImplicitDeclarationsTest : public ::testing::Test {
protected:
    std::vector<Found> scope(const QString &module)
    {
        inspection::CheckProcedureScope(checks.context, checks.component(module), checks.index(module));
        return checks.findings(module, FindingList::Scope);
    }
    std::vector<Found> byRef(const QString &module)
    {
        inspection::CheckByRefDeclare2(checks.context, checks.component(module), checks.index(module));
        return checks.findings(module, FindingList::ByRef);
    }
    CheckRun checks{fixture()};
};

Found f(const char *name, int line)
{
    return {QString::fromUtf8(name), line, QString::fromUtf8(name)};
}

} // namespace

TEST_F(ImplicitDeclarationsTest, ProceduresWithoutAScopeKeywordAreReportedAtTheirHeader)
{
    // A Declare without a scope is public too; the commented "Public Sub Qux" above Qux does
    // not make it explicit; the Private Set of a public property is not public at all.
    EXPECT_EQ(scope(QStringLiteral("Module1")),
              (std::vector<Found>{f("GetVersion", 2), f("Foo", 6), f("Qux", 16), f("Continued", 19), f("Arr", 23),
                                  f("Defaults", 26), f("Commented", 29), f("Property Get Size", 32), f("計算", 41),
                                  f("Caller", 44)}));
    EXPECT_TRUE(scope(QStringLiteral("Class1")).empty());
    EXPECT_EQ(scope(QStringLiteral("Form1")), (std::vector<Found>{f("Helper", 9)}));
}

TEST_F(ImplicitDeclarationsTest, ArgumentsWithoutAPassingModeAreReportedAtTheProcedureStart)
{
    // ByValue counts as a mode (the word is searched inside the argument); an empty list,
    // a ParamArray, a comma inside a default value or a comment are not arguments.
    EXPECT_EQ(byRef(QStringLiteral("Module1")),
              (std::vector<Found>{f("Bar", 8), f("Continued", 18), f("Property Let Size", 34), f("計算", 40)}));
}

TEST_F(ImplicitDeclarationsTest, ProceduresWhoseSignatureIsFixedAreSkipped)
{
    EXPECT_EQ(byRef(QStringLiteral("Class1")), (std::vector<Found>{f("Work", 13)}));
    EXPECT_EQ(byRef(QStringLiteral("Form1")), (std::vector<Found>{f("Helper", 8)}));
}
