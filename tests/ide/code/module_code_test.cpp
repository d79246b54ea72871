#include "support/error_number.h"
#include "code_fixture.h"
#include "host/error.h"
#include "ide/code/module_code.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <random>
#include <tuple>

using testing_support::errorNumber;
using namespace ide::code;
using code_test::moduleOf;
using code_test::splitCode;
using host::MemberType;
using host::ProcKind;
using host::Scope;

namespace {
QStringList paneLines(const ModuleCode &m)
{
    QStringList out;
    for (int l = 1; l <= m.countOfLines(); ++l)
        out << m.line(l);
    return out;
}

/// (name, kind, start, body, count, end) per procedure.
using ProcRow = std::tuple<QString, ProcKind, int, int, int, int>;
std::vector<ProcRow> procRows(const ModuleCode &m)
{
    std::vector<ProcRow> out;
    for (const ProcInfo &p : m.procedures())
        out.emplace_back(p.name, p.kind, p.startLine, p.bodyLine, p.countLines, p.endLine);
    return out;
}

/// (name, type, scope, static, codeLocation, description) per member.
using MemberRow = std::tuple<QString, MemberType, Scope, bool, int, QString>;
std::vector<MemberRow> memberRows(const ModuleCode &m)
{
    std::vector<MemberRow> out;
    for (const MemberInfo &i : m.members())
        out.emplace_back(i.name, i.type, i.scope, i.isStatic, i.codeLocation, i.description);
    return out;
}

/// Owner of every pane line as ProcOfLine reports it.
std::vector<std::pair<QString, ProcKind>> owners(const ModuleCode &m)
{
    std::vector<std::pair<QString, ProcKind>> out;
    for (int l = 1; l <= m.countOfLines(); ++l) {
        ProcKind kind = ProcKind::Set;
        const QString name = m.procOfLine(l, kind);
        out.emplace_back(name, kind);
    }
    return out;
}

/// The tiling law: procedures cover decl+1 .. count without gaps, each through its End line,
/// and ProcStartLine/ProcOfLine agree with the procedure list.
void expectTiling(const ModuleCode &m)
{
    const auto &procs = m.procedures();
    if (procs.empty()) {
        EXPECT_EQ(m.countOfDeclarationLines(), m.countOfLines());
        return;
    }
    EXPECT_EQ(procs.front().startLine, m.countOfDeclarationLines() + 1);
    for (size_t i = 0; i < procs.size(); ++i) {
        const ProcInfo &p = procs[i];
        EXPECT_LE(p.startLine, p.bodyLine) << p.name.toStdString();
        EXPECT_LE(p.bodyLine, p.endLine) << p.name.toStdString();
        const int next = i + 1 < procs.size() ? procs[i + 1].startLine : m.countOfLines() + 1;
        EXPECT_EQ(p.startLine + p.countLines, next) << p.name.toStdString();
        if (i + 1 < procs.size())
            EXPECT_EQ(p.endLine, next - 1) << p.name.toStdString();
        for (size_t j = i + 1; j < procs.size(); ++j)
            EXPECT_GE(procs[j].startLine, p.startLine + p.countLines);
    }
    for (int l = 1; l <= m.countOfLines(); ++l) {
        ProcKind kind = ProcKind::Set;
        const QString name = m.procOfLine(l, kind);
        if (l <= m.countOfDeclarationLines()) {
            EXPECT_EQ(name, QString()) << l;
            EXPECT_EQ(kind, ProcKind::Proc) << l;
        }
    }
    for (int k = 1; k < int(m.members().size()); ++k)
        EXPECT_LE(m.members()[k - 1].codeLocation, m.members()[k].codeLocation);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Hidden lines

TEST(ModuleCodeLines, FormCodePartHidesModuleAndMemberAttributes)
{
    const ModuleCode m = moduleOf(R"vb(
Attribute VB_Name = "frmMain"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit
Private WithEvents m_oWorker As cWorker
Attribute m_oWorker.VB_VarHelpID = -1

Public Property Get hWnd() As Long
Attribute hWnd.VB_Description = "Returns a handle to a control."
Attribute hWnd.VB_UserMemId = -515
hWnd = 0
End Property
)vb",
                                  20);
    EXPECT_EQ(paneLines(m), QStringList({"Option Explicit", "Private WithEvents m_oWorker As cWorker",
                                         "", "Public Property Get hWnd() As Long", "hWnd = 0",
                                         "End Property"}));
    std::vector<int> fileLines;
    for (int l = 1; l <= m.countOfLines(); ++l)
        fileLines.push_back(m.fileLineOf(l));
    EXPECT_EQ(fileLines, (std::vector<int>{25, 26, 28, 29, 32, 33}));
    EXPECT_EQ(m.countOfDeclarationLines(), 2);
    EXPECT_EQ(procRows(m), (std::vector<ProcRow>{{"hWnd", ProcKind::Get, 3, 4, 4, 6}}));
    EXPECT_EQ(memberRows(m),
              (std::vector<MemberRow>{
                  {"m_oWorker", MemberType::Variable, Scope::Private, false, 2, ""},
                  {"hWnd", MemberType::Property, Scope::Public, false, 3,
                   "Returns a handle to a control."}}));
    EXPECT_EQ(m.lines(1, 6), "Option Explicit\r\nPrivate WithEvents m_oWorker As cWorker\r\n\r\n"
                             "Public Property Get hWnd() As Long\r\nhWnd = 0\r\nEnd Property");
    EXPECT_EQ(errorNumber([&] { m.fileLineOf(0); }), 5);
    EXPECT_EQ(errorNumber([&] { m.fileLineOf(7); }), 5);
    EXPECT_TRUE(m.diagnostics().empty());
}

TEST(ModuleCodeLines, DuplicatedHeaderWithAttributesUnderIf)
{
    const ModuleCode m = moduleOf(R"vb(
Attribute VB_Name = "ListView"
Option Explicit
#If VBA7 Then
Public Property Get hWnd() As LongPtr
Attribute hWnd.VB_Description = "Returns a handle to a control."
Attribute hWnd.VB_UserMemId = -515
#Else
Public Property Get hWnd() As Long
Attribute hWnd.VB_Description = "Returns a handle to a control."
Attribute hWnd.VB_UserMemId = -515
#End If
hWnd = ListViewHandle
End Property
)vb");
    EXPECT_EQ(m.countOfLines(), 8);
    EXPECT_EQ(m.line(7), "hWnd = ListViewHandle");
    EXPECT_EQ(procRows(m), (std::vector<ProcRow>{{"hWnd", ProcKind::Get, 2, 3, 7, 8}}));
    ProcKind kind = ProcKind::Proc;
    EXPECT_EQ(m.procOfLine(5, kind), "hWnd");
    EXPECT_EQ(kind, ProcKind::Get);
    ASSERT_EQ(m.members().size(), 1u);
    EXPECT_EQ(m.members()[0].description, "Returns a handle to a control.");
}

TEST(ModuleCodeLines, OnlyLinesWhoseFirstTokenIsAttributeAreHidden)
{
    const std::vector<std::pair<const char *, bool>> cases = {
        {"Attribute VB_Name = \"X\"", true},
        {"  attribute x.VB_UserMemId = 0", true},
        {"ATTRIBUTE\tFoo.VB_Description = \"d\"", true},
        {"Attribute", true},
        {"Attributes = 1", false},
        {"Attribute_1 = 2", false},
        {"' Attribute x.VB_Description = \"d\"", false},
        {"x = Attribute", false},
        {"Rem Attribute", false},
    };
    for (const auto &[text, hidden] : cases) {
        const ModuleCode m(QStringList{"Option Explicit", QString::fromUtf8(text), "Dim x"}, 1);
        EXPECT_EQ(m.countOfLines(), hidden ? 2 : 3) << text;
        EXPECT_EQ(m.fileLineOf(m.countOfLines()), 3) << text;
    }
}

TEST(ModuleCodeLines, EmptyModules)
{
    for (const ModuleCode &m : {ModuleCode(), moduleOf("Attribute VB_Name = \"Module1\""),
                                ModuleCode(QStringList(), 1)}) {
        EXPECT_EQ(m.countOfLines(), 0);
        EXPECT_EQ(m.countOfDeclarationLines(), 0);
        EXPECT_EQ(m.lines(1, 0), "");
        EXPECT_EQ(m.lines(1, 5), "");
        EXPECT_TRUE(m.procedures().empty());
        EXPECT_TRUE(m.members().empty());
        ProcKind kind;
        EXPECT_EQ(errorNumber([&] { m.procOfLine(1, kind); }), 5);
        EXPECT_EQ(errorNumber([&] { m.procStartLine("A", ProcKind::Proc); }), 35);
        int sl = 1, sc = 1, el = -1, ec = -1;
        EXPECT_FALSE(m.find("x", sl, sc, el, ec));
    }
}

TEST(ModuleCodeLines, LinesJoinsClipsAndRejects)
{
    const ModuleCode m = moduleOf("Option Explicit\n\nSub A()\nEnd Sub\n\n\n");
    EXPECT_EQ(m.countOfLines(), 6); // trailing blank lines count
    EXPECT_EQ(m.lines(1, 4), "Option Explicit\r\n\r\nSub A()\r\nEnd Sub");
    EXPECT_EQ(m.lines(3, 100), "Sub A()\r\nEnd Sub\r\n\r\n");
    EXPECT_EQ(m.lines(3, INT_MAX), "Sub A()\r\nEnd Sub\r\n\r\n");
    EXPECT_EQ(m.lines(2, 1), "");
    EXPECT_EQ(m.lines(4, 1), "End Sub");
    EXPECT_EQ(m.lines(1, 0), "");
    EXPECT_EQ(m.lines(7, 0), "");
    EXPECT_EQ(m.lines(7, 3), "");
    for (const auto &[start, count] :
         std::vector<std::pair<int, int>>{{0, 1}, {-1, 0}, {8, 0}, {1, -1}, {INT_MIN, 1}}) {
        EXPECT_EQ(errorNumber([&] { m.lines(start, count); }), 5) << start << "," << count;
    }
}

// ---------------------------------------------------------------------------------------------
// Declarations and procedures

TEST(ModuleCodeProcedures, DeclarationsBoundary)
{
    struct Case {
        const char *name;
        const char *text;
        int declarationLines;
        int firstStart; // 0: no procedure
    };
    const Case cases[] = {
        {"option then comment", "Option Explicit\n\n' comment\n\nSub A()\nEnd Sub", 1, 2},
        {"#If Declare tail", R"vb(
Option Explicit
#If VBA7 Then
Private Declare PtrSafe Function GetTickCount Lib "kernel32" () As Long
#Else
Private Declare Function GetTickCount Lib "kernel32" () As Long
#End If

Private Sub Form_Load()
End Sub
)vb",
         5, 6},
        {"only comments above", "' Module header\n' Sub Main is below\n\nSub Main()\nEnd Sub", 0, 1},
        {"only declarations", "Option Explicit\nPrivate m_x As Long\n' trailing comment\n\n", 4, 0},
        {"only a comment", "' just a note", 1, 0},
        {"Type block and continued Declare", R"vb(
Private Type POINTAPI
    X As Long
    Y As Long
End Type
Private Declare Function GetCursorPos Lib "user32" _
    (lpPoint As POINTAPI) As Long
' Gets the cursor

Public Function Cursor() As Long
End Function
)vb",
         6, 7},
        {"Sub inside header comments", R"vb(
' Sub helpers for the Sub Main routine
Dim x As Long
' this Sub does things
Sub A()
End Sub
)vb",
         2, 3},
        {"#Const belongs to the procedure", "Option Explicit\n#Const DEBUGGING = 1\nSub A()\nEnd Sub", 1, 2},
        {"Enum block", "Public Enum Colors\n    Red = 1\nEnd Enum\n\nSub A()\nEnd Sub", 3, 4},
        {"declaration and header on one line", "Option Explicit: Sub A()\nEnd Sub", 0, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ModuleCode m = moduleOf(c.text);
        EXPECT_EQ(m.countOfDeclarationLines(), c.declarationLines);
        if (c.firstStart == 0) {
            EXPECT_TRUE(m.procedures().empty());
        } else {
            ASSERT_FALSE(m.procedures().empty());
            const ProcInfo &p = m.procedures().front();
            EXPECT_EQ(m.procStartLine(p.name, p.kind), c.firstStart);
        }
        expectTiling(m);
    }
}

TEST(ModuleCodeProcedures, TilingOwnsCommentsAboveAndTrailingLines)
{
    const ModuleCode m = moduleOf(R"vb(
Option Explicit

' First
Public Sub First()
    Debug.Print 1
End Sub

' Second does things
' over two lines
Private Function Second() As Long
    Second = 2
End Function

#If DEBUGGING Then
Friend Property Get Third() As Long
End Property
#End If

' trailing comment

)vb");
    ASSERT_EQ(m.countOfLines(), 20);
    EXPECT_EQ(m.countOfDeclarationLines(), 1);
    EXPECT_EQ(procRows(m), (std::vector<ProcRow>{{"First", ProcKind::Proc, 2, 4, 5, 6},
                                                  {"Second", ProcKind::Proc, 7, 10, 6, 12},
                                                  {"Third", ProcKind::Get, 13, 15, 8, 16}}));
    std::vector<std::pair<QString, ProcKind>> expected;
    expected.emplace_back("", ProcKind::Proc);
    for (int l = 2; l <= 6; ++l)
        expected.emplace_back("First", ProcKind::Proc);
    for (int l = 7; l <= 12; ++l)
        expected.emplace_back("Second", ProcKind::Proc);
    for (int l = 13; l <= 20; ++l)
        expected.emplace_back("Third", ProcKind::Get);
    EXPECT_EQ(owners(m), expected);
    for (const ProcInfo &p : m.procedures()) {
        EXPECT_EQ(m.procStartLine(p.name, p.kind), p.startLine);
        EXPECT_EQ(m.procBodyLine(p.name, p.kind), p.bodyLine);
        EXPECT_EQ(m.procCountLines(p.name, p.kind), p.countLines);
    }
    expectTiling(m);
    ProcKind kind;
    EXPECT_EQ(errorNumber([&] { m.procOfLine(0, kind); }), 5);
    EXPECT_EQ(errorNumber([&] { m.procOfLine(21, kind); }), 5);
}

TEST(ModuleCodeProcedures, PropertyPairIsOneMemberAndKindsAreSeparate)
{
    const ModuleCode m = moduleOf(R"vb(
Option Explicit
Private m_Name As String

Public Property Get Name() As String
    Name = m_Name
End Property

Public Property Let Name(ByVal Value As String)
    m_Name = Value
End Property
)vb");
    EXPECT_EQ(m.procStartLine("name", ProcKind::Get), 3);
    EXPECT_EQ(m.procStartLine("NAME", ProcKind::Let), 7);
    EXPECT_EQ(m.procCountLines("Name", ProcKind::Let), 4);
    EXPECT_EQ(errorNumber([&] { m.procStartLine("Name", ProcKind::Set); }), 35);
    EXPECT_EQ(errorNumber([&] { m.procBodyLine("Name", ProcKind::Proc); }), 35);
    EXPECT_EQ(errorNumber([&] { m.procCountLines("Nope", ProcKind::Proc); }), 35);
    EXPECT_EQ(errorNumber([&] { m.procStartLine("", ProcKind::Proc); }), 35);
    ProcKind kind = ProcKind::Proc;
    EXPECT_EQ(m.procOfLine(9, kind), "Name");
    EXPECT_EQ(kind, ProcKind::Let);
    EXPECT_EQ(m.procOfLine(5, kind), "Name");
    EXPECT_EQ(kind, ProcKind::Get);
    kind = ProcKind::Get;
    EXPECT_EQ(m.procOfLine(2, kind), "");
    EXPECT_EQ(kind, ProcKind::Proc);
    EXPECT_EQ(memberRows(m),
              (std::vector<MemberRow>{{"m_Name", MemberType::Variable, Scope::Private, false, 2, ""},
                                      {"Name", MemberType::Property, Scope::Public, false, 3, ""}}));
}

TEST(ModuleCodeProcedures, EveryScopeWithEveryKind)
{
    struct Case {
        const char *header;
        const char *end;
        ProcKind kind;
        Scope scope;
        bool isStatic;
        MemberType type;
    };
    const Case cases[] = {
        {"Sub P()", "End Sub", ProcKind::Proc, Scope::Public, false, MemberType::Method},
        {"Public Sub P()", "End Sub", ProcKind::Proc, Scope::Public, false, MemberType::Method},
        {"Private Function P() As Long", "End Function", ProcKind::Proc, Scope::Private, false,
         MemberType::Method},
        {"Friend Function P() As Long", "End Function", ProcKind::Proc, Scope::Friend, false,
         MemberType::Method},
        {"Static Sub P()", "End Sub", ProcKind::Proc, Scope::Public, true, MemberType::Method},
        {"Private Static Function P()", "End Function", ProcKind::Proc, Scope::Private, true,
         MemberType::Method},
        {"public   property   get P() As Long", "end property", ProcKind::Get, Scope::Public, false,
         MemberType::Property},
        {"Property Let P(v As Long)", "End Property", ProcKind::Let, Scope::Public, false,
         MemberType::Property},
        {"Friend Property Set P(v As Object)", "End Property", ProcKind::Set, Scope::Friend, false,
         MemberType::Property},
        {"Private Static Property Get P()", "End Property", ProcKind::Get, Scope::Private, true,
         MemberType::Property},
        {"Function P$(ByVal x As Long)", "End Function", ProcKind::Proc, Scope::Public, false,
         MemberType::Method},
        {"Public Sub P(): End Sub", "", ProcKind::Proc, Scope::Public, false, MemberType::Method},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.header);
        QStringList lines{"Option Explicit", QString::fromUtf8(c.header)};
        if (*c.end)
            lines << QString::fromUtf8(c.end);
        const ModuleCode m(lines, 1);
        const int end = *c.end ? 3 : 2;
        EXPECT_EQ(procRows(m), (std::vector<ProcRow>{{"P", c.kind, 2, 2, end - 1, end}}));
        EXPECT_EQ(m.procedures()[0].scope, c.scope);
        EXPECT_EQ(m.procedures()[0].isStatic, c.isStatic);
        EXPECT_EQ(memberRows(m), (std::vector<MemberRow>{{"P", c.type, c.scope, c.isStatic, 2, ""}}));
        for (ProcKind other : {ProcKind::Proc, ProcKind::Let, ProcKind::Set, ProcKind::Get}) {
            if (other != c.kind)
                EXPECT_EQ(errorNumber([&] { m.procStartLine("p", other); }), 35);
        }
    }
}

TEST(ModuleCodeProcedures, NotHeaders)
{
    const ModuleCode m = moduleOf(R"vb(
Private Declare Sub Sleep Lib "kernel32" (ByVal ms As Long)
Public Event Changed()
Dim Sub_x As Long
Sub Main()
    Exit Sub
    Call Sub1: x = Function1()
    Debug.Print "Sub Fake()"
    ' Sub Fake2()
End Sub
)vb");
    EXPECT_EQ(procRows(m), (std::vector<ProcRow>{{"Main", ProcKind::Proc, 4, 4, 6, 9}}));
    EXPECT_EQ(m.countOfDeclarationLines(), 3);
}

TEST(ModuleCodeProcedures, OneLineProceduresLabelsAndLineNumbers)
{
    const ModuleCode m = moduleOf(R"vb(
Option Explicit
Sub X(): End Sub
Private Sub Y(): Beep: End Sub
Start: Public Sub Z()
10 Debug.Print 1
20 End Sub
100 Private Function W() As Long
End Function
)vb");
    EXPECT_EQ(m.countOfDeclarationLines(), 1);
    EXPECT_EQ(procRows(m), (std::vector<ProcRow>{{"X", ProcKind::Proc, 2, 2, 1, 2},
                                                  {"Y", ProcKind::Proc, 3, 3, 1, 3},
                                                  {"Z", ProcKind::Proc, 4, 4, 3, 6},
                                                  {"W", ProcKind::Proc, 7, 7, 2, 8}}));
    expectTiling(m);
}

TEST(ModuleCodeProcedures, MissingAndStrayEndStatements)
{
    const ModuleCode m = moduleOf(R"vb(
Sub A()
    x = 1
Sub B()
End Sub
End Sub
Function C()
)vb",
                                  10);
    EXPECT_EQ(procRows(m), (std::vector<ProcRow>{{"A", ProcKind::Proc, 1, 1, 2, 2},
                                                  {"B", ProcKind::Proc, 3, 3, 2, 4},
                                                  {"C", ProcKind::Proc, 5, 6, 2, 6}}));
    std::vector<std::pair<int, QString>> diagnostics;
    for (const CodeDiagnostic &d : m.diagnostics())
        diagnostics.emplace_back(d.fileLine, d.message);
    EXPECT_EQ(diagnostics, (std::vector<std::pair<int, QString>>{
                               {10, "End Sub missing for A"}, {15, "End Function missing for C"}}));
    expectTiling(m);
}

TEST(ModuleCodeProcedures, TypeFieldsSpelledLikeKeywords)
{
    const ModuleCode m = moduleOf(R"vb(
Private Type QSStack
    sLB As Long
    sUB As Long
    Function As Long
End Type
Friend Function AddString(ByRef srcString As String) As Long
End Function
)vb");
    EXPECT_EQ(m.countOfDeclarationLines(), 5);
    EXPECT_EQ(procRows(m), (std::vector<ProcRow>{{"AddString", ProcKind::Proc, 6, 6, 2, 7}}));
    EXPECT_TRUE(m.diagnostics().empty());
}

TEST(ModuleCodeProcedures, HeaderEndsAnUnclosedTypeBlock)
{
    const ModuleCode m = moduleOf("Private Type T\n    sUB As Long\nSub A()\nEnd Sub\nPublic Enum E\n", 3);
    EXPECT_EQ(m.countOfDeclarationLines(), 2);
    EXPECT_EQ(procRows(m), (std::vector<ProcRow>{{"A", ProcKind::Proc, 3, 3, 3, 4}}));
    std::vector<std::pair<int, QString>> diagnostics;
    for (const CodeDiagnostic &d : m.diagnostics())
        diagnostics.emplace_back(d.fileLine, d.message);
    EXPECT_EQ(diagnostics, (std::vector<std::pair<int, QString>>{{3, "End Type missing"},
                                                                  {7, "End Enum missing"}}));
    EXPECT_TRUE(m.members().size() == 1 && m.members()[0].name == "A");
}

TEST(ModuleCodeProcedures, WholeProcedureDuplicatedUnderIf)
{
    const ModuleCode m = moduleOf(R"vb(
#If Win64 Then
Private Function Ptr() As LongLong
End Function
#Else
Private Function Ptr() As Long
End Function
#End If
)vb");
    EXPECT_EQ(procRows(m), (std::vector<ProcRow>{{"Ptr", ProcKind::Proc, 1, 2, 3, 3},
                                                  {"Ptr", ProcKind::Proc, 4, 5, 4, 6}}));
    EXPECT_EQ(m.procStartLine("ptr", ProcKind::Proc), 1);
    EXPECT_EQ(m.members().size(), 1u);
    expectTiling(m);
}

// ---------------------------------------------------------------------------------------------
// Declares and members

TEST(ModuleCodeMembers, DeclaresAreMethodsAtLineOne)
{
    const ModuleCode m = moduleOf(R"vb(
Option Explicit
Private Declare Function GetTickCount Lib "kernel32" () As Long
Public Declare Sub Sleep Lib "kernel32" Alias "SleepEx" _
    (ByVal ms As Long)
Declare PtrSafe Function GetDC& Lib "user32" (ByVal h As LongPtr)

Sub Main()
End Sub
)vb");
    EXPECT_EQ(m.countOfDeclarationLines(), 5);
    EXPECT_EQ(procRows(m), (std::vector<ProcRow>{{"Main", ProcKind::Proc, 6, 7, 3, 8}}));
    EXPECT_EQ(memberRows(m),
              (std::vector<MemberRow>{
                  {"GetTickCount", MemberType::Method, Scope::Private, false, 2, ""},
                  {"Sleep", MemberType::Method, Scope::Public, false, 3, ""},
                  {"GetDC", MemberType::Method, Scope::Public, false, 5, ""},
                  {"Main", MemberType::Method, Scope::Public, false, 6, ""}}));
    const std::vector<std::tuple<const char *, int>> declares = {
        {"GetTickCount", 2}, {"sleep", 4}, {"GetDC", 5}};
    for (const auto &[name, last] : declares) {
        EXPECT_EQ(m.procStartLine(name, ProcKind::Proc), 1) << name;
        EXPECT_EQ(m.procBodyLine(name, ProcKind::Proc), 1) << name;
        EXPECT_EQ(m.procCountLines(name, ProcKind::Proc), last) << name;
        EXPECT_EQ(errorNumber([&] { m.procStartLine(name, ProcKind::Get); }), 35) << name;
    }
    EXPECT_EQ(errorNumber([&] { m.procStartLine("SleepEx", ProcKind::Proc); }), 35);
    for (int l = 2; l <= 5; ++l) {
        ProcKind kind = ProcKind::Get;
        EXPECT_EQ(m.procOfLine(l, kind), "") << l;
        EXPECT_EQ(kind, ProcKind::Proc);
    }
}

TEST(ModuleCodeMembers, EveryDeclarationForm)
{
    const ModuleCode m = moduleOf(R"vb(
Attribute VB_Name = "cThing"
Option Explicit
Implements IWorker
Dim a, b As Long
Private Const MAX_ITEMS = 10, MIN_ITEMS As Long = 1
Const DEFAULT_NAME = "x, y"
Public Const VERSION$ = "1.0"
Global g_Count As Long
Private WithEvents m_oWorker As cWorker
Attribute m_oWorker.VB_VarHelpID = -1
Public Event Changed(ByVal Index As Long)
Private Type Point
    X As Long
    Y As Long
End Type
Public Enum Mode
    ModeA = 1
End Enum
Private m_arr(1 To 10, 0 To 2) As String, m_s$: Public p1 As Long
Public Event Closed() ' Public Const NOT_ME = 1
Rem Dim notMe As Long

Friend Function Helper() As Long
Attribute Helper.VB_Description = "Helps ""a lot""."
    Dim localVar As Long
    Const LOCAL_CONST = 1
End Function
Public Static Sub Counter()
End Sub
Private Sub Class_Initialize()
End Sub
)vb");
    EXPECT_EQ(m.countOfDeclarationLines(), 18);
    EXPECT_EQ(memberRows(m),
              (std::vector<MemberRow>{
                  {"a", MemberType::Variable, Scope::Private, false, 3, ""},
                  {"b", MemberType::Variable, Scope::Private, false, 3, ""},
                  {"MAX_ITEMS", MemberType::Const, Scope::Private, false, 4, ""},
                  {"MIN_ITEMS", MemberType::Const, Scope::Private, false, 4, ""},
                  {"DEFAULT_NAME", MemberType::Const, Scope::Private, false, 5, ""},
                  {"VERSION", MemberType::Const, Scope::Public, false, 6, ""},
                  {"g_Count", MemberType::Variable, Scope::Public, false, 7, ""},
                  {"m_oWorker", MemberType::Variable, Scope::Private, false, 8, ""},
                  {"Changed", MemberType::Event, Scope::Public, false, 9, ""},
                  {"m_arr", MemberType::Variable, Scope::Private, false, 17, ""},
                  {"m_s", MemberType::Variable, Scope::Private, false, 17, ""},
                  {"p1", MemberType::Variable, Scope::Public, false, 17, ""},
                  {"Closed", MemberType::Event, Scope::Public, false, 18, ""},
                  {"Helper", MemberType::Method, Scope::Friend, false, 19, "Helps \"a lot\"."},
                  {"Counter", MemberType::Method, Scope::Public, true, 25, ""},
                  {"Class_Initialize", MemberType::Method, Scope::Private, false, 27, ""}}));
    expectTiling(m);
}

TEST(ModuleCodeMembers, DuplicatesUnderIfGiveOneMember)
{
    const ModuleCode m = moduleOf(R"vb(
#If VBA7 Then
Private m_h As LongPtr
Private Declare PtrSafe Function F Lib "x" () As LongPtr
#Else
Private m_H As Long
Private Declare Function F Lib "x" () As Long
#End If
)vb");
    EXPECT_EQ(memberRows(m),
              (std::vector<MemberRow>{{"m_h", MemberType::Variable, Scope::Private, false, 2, ""},
                                      {"F", MemberType::Method, Scope::Private, false, 3, ""}}));
    EXPECT_EQ(m.procCountLines("f", ProcKind::Proc), 3);
}

// ---------------------------------------------------------------------------------------------
// Continuations and limits

TEST(ModuleCodeContinuations, LogicalLines)
{
    struct Case {
        const char *name;
        const char *text;
        std::vector<ProcRow> procedures;
    };
    const Case cases[] = {
        {"continued header", R"vb(
Option Explicit
Public Function Add( _
    ByVal a As Long, _
    ByVal b As Long) As Long
    Add = a + b
End Function
)vb",
         {{"Add", ProcKind::Proc, 2, 2, 5, 6}}},
        {"x_ is an identifier", "Dim x_\nSub A()\nEnd Sub", {{"A", ProcKind::Proc, 2, 2, 2, 3}}},
        {"underscore glued to a string", "Const S = \"a\"_\nSub A()\nEnd Sub",
         {{"A", ProcKind::Proc, 2, 2, 2, 3}}},
        {"underscore inside a string", "Const S = \"a _\nSub A()\nEnd Sub",
         {{"A", ProcKind::Proc, 2, 2, 2, 3}}},
        {"comment ending in _ continues", "' note _\nSub Fake()\nSub Real()\nEnd Sub",
         {{"Real", ProcKind::Proc, 1, 3, 4, 4}}},
        {"Rem ending in _ continues", "Rem note _\n  _\nSub Fake()\nSub Real()\nEnd Sub",
         {{"Real", ProcKind::Proc, 1, 4, 5, 5}}},
        {"'_ does not continue", "'_\nSub A()\nEnd Sub", {{"A", ProcKind::Proc, 1, 2, 3, 3}}},
        {"continued End", "Sub A()\nEnd _\n  Sub\nSub B()\nEnd Sub",
         {{"A", ProcKind::Proc, 1, 1, 3, 3}, {"B", ProcKind::Proc, 4, 4, 2, 5}}},
        {"continuation with tabs and trailing blanks", "Private Sub _\t|\nA()\nEnd Sub",
         {{"A", ProcKind::Proc, 1, 1, 3, 3}}},
        {"continued last line", "Sub A()\nEnd Sub _", {{"A", ProcKind::Proc, 1, 1, 2, 2}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ModuleCode m = moduleOf(c.text);
        EXPECT_EQ(procRows(m), c.procedures);
        expectTiling(m);
    }
}

TEST(ModuleCodeContinuations, StatementsAndCommentsOnOneLine)
{
    const ModuleCode m = moduleOf("Dim a: Dim b ' c: Dim d\nPrivate e As Long: Rem Dim f\nDim g As String: Dim h");
    std::vector<QString> names;
    for (const MemberInfo &i : m.members())
        names.push_back(i.name);
    EXPECT_EQ(names, (std::vector<QString>{"a", "b", "e", "g", "h"}));
}

TEST(ModuleCodeContinuations, TooManyContinuations)
{
    for (int continuations : {24, 25, 40}) {
        QStringList lines{"Attribute VB_Name = \"M\"", "Dim a, _"};
        for (int k = 1; k < continuations; ++k)
            lines << QStringLiteral("    v%1, _").arg(k);
        lines << "    last As Long" << "Sub A()" << "End Sub";
        const ModuleCode m(lines, 7);
        EXPECT_EQ(m.countOfDeclarationLines(), continuations + 1);
        EXPECT_EQ(int(m.members().size()), continuations + 1);
        std::vector<std::pair<int, QString>> diagnostics;
        for (const CodeDiagnostic &d : m.diagnostics())
            diagnostics.emplace_back(d.fileLine, d.message);
        if (continuations <= 24)
            EXPECT_TRUE(diagnostics.empty());
        else
            EXPECT_EQ(diagnostics, (std::vector<std::pair<int, QString>>{
                                       {8, "Too many line continuations"}}));
    }
}

TEST(ModuleCodeLimits, LongLines)
{
    const QString long1023 = "' " + QString(1021, u'x');
    const QString long1024 = "x = 1 ' " + QString(1016, u'x');
    const QString hidden = "Attribute A.VB_Description = \"" + QString(1500, u'd') + "\"";
    const ModuleCode m(QStringList{"Option Explicit", long1023, long1024, hidden,
                                   "Const A = \"" + QString(1488, u'a') + "\""},
                       100);
    // Overlong lines are the file reader's to report; the code model just keeps them.
    EXPECT_TRUE(m.diagnostics().empty());
    EXPECT_EQ(m.countOfLines(), 4);
    EXPECT_EQ(m.members().size(), 1u);
    EXPECT_EQ(m.members()[0].description, QString(1500, u'd'));
}

TEST(ModuleCodeLimits, HugeAndHostileLinesLoadQuickly)
{
    const int n = 500000;
    QString underscores;
    for (int k = 0; k < n / 2; ++k)
        underscores += QStringLiteral(" _");
    const QStringList lines{
        "Sub A()",
        "x = \"" + QString(n, u'a') + "\"",
        QString(n, u'['),
        underscores,
        "y = 1" + QString(n, u' ') + "_",
        QString(n, u'z'),
        QString(n, u'"'),
        QString(n, QChar(0)),
        "' " + QString(n, u'\''),
        "End Sub",
        "Sub B(): End Sub",
    };
    const ModuleCode m(lines, 1);
    EXPECT_EQ(m.countOfLines(), 11);
    EXPECT_EQ(procRows(m), (std::vector<ProcRow>{{"A", ProcKind::Proc, 1, 1, 10, 10},
                                                  {"B", ProcKind::Proc, 11, 11, 1, 11}}));
    int sl = 1, sc = 1, el = -1, ec = -1;
    EXPECT_TRUE(m.find("zz", sl, sc, el, ec, false));
    EXPECT_EQ(std::tie(sl, sc, el, ec), std::make_tuple(6, 1, 6, 3));
    sl = 1, sc = 1, el = -1, ec = -1;
    EXPECT_FALSE(m.find("zz", sl, sc, el, ec, true));
    EXPECT_TRUE(m.find("End", sl, sc, el, ec, true));
    EXPECT_EQ(sl, 10);
    sl = 1, sc = 1, el = -1, ec = -1;
    EXPECT_TRUE(m.find("a*\"", sl, sc, el, ec, false, false, true));
    EXPECT_EQ(std::tie(sl, sc, el, ec), std::make_tuple(2, 6, 2, n + 7));
}

TEST(ModuleCodeLimits, BinaryGarbageKeepsTheInvariants)
{
    std::mt19937 random(7);
    const char16_t alphabet[] = {u'a', u'S', u'u', u'b', u' ', u'_', u'\'', u'"', u':', u'(', u')',
                                 u'#', 0,    u'\t', u'\r', u'E', u'n', u'd', 0x8868, 0xFFFD};
    for (int round = 0; round < 50; ++round) {
        QStringList lines;
        for (int l = 0; l < 40; ++l) {
            QString line;
            const int length = int(random() % 30);
            for (int k = 0; k < length; ++k)
                line += QChar(alphabet[random() % std::size(alphabet)]);
            static const char *words[] = {"Sub X()", "End Sub", "Function Y()", "End Function",
                                          "Dim z", "Property Get P()", "End Property",
                                          "Attribute Q", "_"};
            if (random() % 3 == 0)
                line += QString::fromUtf8(words[random() % std::size(words)]);
            lines << line;
        }
        const ModuleCode m(lines, 1);
        expectTiling(m);
    }
}
