// Option Explicit, empty procedures, uncommented Debug.Print and string functions without
// "$", over modules holding the hits and near misses side by side: comment-only bodies,
// continued headers, one-line procedures, Exit Sub with a comment, Debug.Print in comments
// and after code, string functions inside literals, in comments, as a return type, in the
// declarations and in a procedure of their own name; then every function with and without "$".
#include "check_fixture.h"

#include "controls/platform.h"
#include "inspection/run.h"

using inspection_testing::CheckRun;
using inspection_testing::Found;
using shared::FindingList;
using testing_support::TestProject;

namespace {

const char *const kModule1 = R"vb(Option Explicit
Private Declare Function GetTickCount Lib "kernel32" () As Long

Sub Empty1()
    ' nothing yet

End Sub

Function Empty2() As Long
End Function

Sub Busy()
    x = 1 ' Debug.Print x
    Debug.Print "one"
    Debug.Print "two"
End Sub

Sub Quiet()
    ' Debug.Print "off"
    'Debug.Print "off"
End Sub

Sub Continued(ByVal a As Long, _
              ByVal b As Long)
End Sub

Sub OneLine(): x = 1: End Sub

Sub OneLineEmpty(): End Sub

Sub Bail()
    If x Then Exit Sub ' Sub end
End Sub

Property Get Size() As Long
    Size = 1
End Property

Property Let Size(ByVal v As Long)
    Debug.Print v
End Property

Property Get Blank() As Long
End Property

Sub Last()

End Sub
)vb";

const char *const kModule2 = R"vb(' Option Explicit
Private mText As String

Sub Strings()
    ' s = Mid(x, 1)
    s = "Trim(" & x
    s = Trim(x)
    s = Trim$(x)
    s = LTrim(x)
    s = LCase(x)
    s = Cfg.Left(1) & GetPref_String(2)
    s = Left(x, 1) & Left(x, 2)
    s = VBA.Space(2)
End Sub

Function Typed() As String()
    Typed = Split(Right(x, 2), ",")
End Function

Function Format(v) As String
    Format = Format(v)
End Function
)vb";

const char *const kModule3 = R"vb(Sub Main()
End Sub

Option Explicit
)vb";

TestProject fixture()
{
    return TestProject()
        .module(QStringLiteral("Module1"), QString::fromUtf8(kModule1))
        .module(QStringLiteral("Module2"), QString::fromUtf8(kModule2))
        .module(QStringLiteral("Module3"), QString::fromUtf8(kModule3));
}

using Check = void (*)(inspection::CheckContext &, const host::Ptr<host::VBComponent> &, int);

class ModuleChecksTest : public ::testing::Test {
protected:
    std::vector<Found> run(Check check, const QString &module, FindingList list)
    {
        check(checks.context, checks.component(module), checks.index(module));
        return checks.findings(module, list);
    }
    bool optionExplicit(const QString &module)
    {
        inspection::CheckOptionExplicit(checks.context, checks.component(module), checks.index(module));
        return checks.results[std::size_t(checks.index(module))].OptionExplicit;
    }
    CheckRun checks{fixture()};
};

Found f(const char *location, int line, const char *name)
{
    return {QString::fromUtf8(location), line, QString::fromUtf8(name)};
}

} // namespace

TEST_F(ModuleChecksTest, OptionExplicitCountsOnlyInTheDeclarations)
{
    EXPECT_TRUE(optionExplicit(QStringLiteral("Module1")));
    // A commented-out statement in the declarations does not count.
    EXPECT_FALSE(optionExplicit(QStringLiteral("Module2")));
    EXPECT_FALSE(optionExplicit(QStringLiteral("Module3")));
}

TEST_F(ModuleChecksTest, EmptyProceduresAreReportedAtTheirHeader)
{
    // Comments only are empty; a continued header and a one-line procedure with code are not; a body whose
    // only statement is "Exit Sub ' Sub end" is code; a property is judged by its Get.
    EXPECT_EQ(run(inspection::CheckEmptyProcedures, QStringLiteral("Module1"), FindingList::EmptyProcedure),
              (std::vector<Found>{f("Empty1", 4, "Empty1"), f("Empty2", 9, "Empty2"), f("Quiet", 18, "Quiet"),
                                  f("Continued", 23, "Continued"), f("OneLineEmpty", 29, "OneLineEmpty"),
                                  f("Blank", 43, "Blank"), f("Last", 46, "Last")}));
}

TEST_F(ModuleChecksTest, DebugPrintGivesOneFindingPerProcedureAtItsFirstStatement)
{
    // Commented lines and a trailing comment do not count; the Let accessor is examined on its own.
    EXPECT_EQ(run(inspection::CheckDebugPrint, QStringLiteral("Module1"), FindingList::DebugPrint),
              (std::vector<Found>{f("Busy", 14, "Busy"), f("Size", 40, "Size")}));
}

TEST_F(ModuleChecksTest, StringFunctionsReportTheFirstUsableHitOfEachFunction)
{
    // Trim: the literal is the first hit and ends the search; LTrim is not a Trim; Left once;
    // a method of an object and the end of a longer name are no calls, VBA.Space is; String()
    // as a return type is no call; Format inside Format is the procedure itself.
    EXPECT_EQ(run(inspection::CheckStringFunctions, QStringLiteral("Module2"), FindingList::StringFunction),
              (std::vector<Found>{f("Strings", 9, "LTrim"), f("Strings", 12, "Left"), f("Typed", 17, "Right"),
                                  f("Strings", 13, "Space")}));
}

TEST(StringFunctions, EveryFunctionWithoutDollarIsReportedAndNoneWithIt)
{
    const char *const functions[] = {"Trim", "LTrim", "RTrim", "Mid",    "Left",   "Right",
                                     "UCase", "CurDir", "Space", "String", "Format", "Chr"};
    for (const char *function : functions) {
        for (const bool dollar : {false, true}) {
            const QString call = QLatin1String(function) + (dollar ? QStringLiteral("$") : QString()) +
                                 QStringLiteral("(x)");
            const QString code = QStringLiteral("Option Explicit\n\nSub Work()\n    s = %1\nEnd Sub\n").arg(call);
            CheckRun checks{TestProject().module(QStringLiteral("Module1"), code)};
            inspection::CheckStringFunctions(checks.context, checks.component(QStringLiteral("Module1")), 0);
            const auto found = checks.findings(QStringLiteral("Module1"), FindingList::StringFunction);
            if (dollar)
                EXPECT_TRUE(found.empty()) << call.toStdString();
            else
                EXPECT_EQ(found, (std::vector<Found>{f("Work", 4, function)})) << call.toStdString();
        }
    }
}

namespace {

const char *const kUnexpected = R"vb(Option Explicit
#If Win64 Then
Private Declare PtrSafe Function GetTickCount Lib "kernel32" () As LongPtr
#Else
Private Declare Function GetTickCount Lib "kernel32" () As Long
#End If
Private Type TRect
    Left As Long
    Right As Long
End Type
Private mItems() As String, mBounds(0 To 3) As TRect

Public Function Measure(ByVal r As Long) As Long
#If DEBUG_BUILD Then
    Debug.Print r
#End If
    If r > 0 Then Measure = 1 Else Measure = 2
    Dim 幅 As Long, 高さ As Long: 幅 = r: 高さ = 幅
    ReDim mItems(1 To r)
    Dim c As New Collection, d As New Collection
    Measure = Measure + _
        Len(mItems(1))
End Function
' the end _
)vb";

} // namespace

TEST(NineChecks, CodeNoCheckExpectsGivesSoundFindingsAndNoErrorPrompt)
{
    controls::HeadlessPlatform platform;
    controls::ScopedPlatform scoped(platform);
    CheckRun checks{TestProject().module(QStringLiteral("Module1"), QString::fromUtf8(kUnexpected))};
    ASSERT_TRUE(inspection::RunModuleChecks(checks.context, checks.project, checks.component(QStringLiteral("Module1")),
                                            0, inspection::allItems()));
    EXPECT_TRUE(platform.messages().isEmpty());
    const shared::AnalizeResult &result = checks.results[0];
    EXPECT_TRUE(result.OptionExplicit);
    // The findings of the nine checks of this file family and its neighbours: the Debug.Print
    // inside the #If block is live code in that build.
    const QStringList nine{QStringLiteral("implicit-public"), QStringLiteral("implicit-byref"),
                           QStringLiteral("empty-procedure"), QStringLiteral("implicit-variant-return"),
                           QStringLiteral("string-function"), QStringLiteral("implicit-variant-variable"),
                           QStringLiteral("debug-print")};
    std::vector<Found> all;
    for (const inspection::ReportFinding &row : inspection::reportFindings(result))
        if (nine.contains(QLatin1String(row.item->id)))
            all.push_back({QLatin1String(row.item->id) + QLatin1Char(':') + row.location, row.line, row.name});
    EXPECT_EQ(all, (std::vector<Found>{f("debug-print:Measure", 15, "Measure")}));
}

namespace {

/// A context that keeps what a check shows: its titles and its calls on progress bar 1.
class RecordingContext : public inspection::CheckContext {
public:
    using CheckContext::CheckContext;
    void setCheckTitle(const QString &title) override { titles << title; }
    void SetCheckProgress(int index, int value, int max) override
    {
        if (index == 1)
            progress.push_back({value, max});
    }
    QStringList titles;
    std::vector<std::pair<int, int>> progress;
};

} // namespace

TEST(NineChecks, EachShowsItsTitleAndCountsItsMembers)
{
    const struct {
        Check check;
        const char *title;
        bool countsMembers;
    } checks[] = {
        {inspection::CheckOptionExplicit, "Option Explicit宣言", false},
        {inspection::CheckModuleVariableTypes, "モジュール、パブリック変数の暗黙的な型宣言", true},
        {inspection::CheckLocalVariableTypes, "ローカル変数の暗黙的な型宣言", true},
        {inspection::CheckStringFunctions, "文字列関数の戻り値の明示的型変換", false},
        {inspection::CheckProcedureScope, "プロシージャのスコープ定義", true},
        {inspection::CheckEmptyProcedures, "空のプロシージャを検出", true},
        {inspection::CheckByRefDeclare2, "ByRefの暗黙宣言を検出", true},
        {inspection::CheckReturnTypes, "バリアント型の暗黙宣言を検出", true},
        {inspection::CheckDebugPrint, "コメント化されていないDebug.Print文の検出", true},
    };
    CheckRun run{TestProject().module(QStringLiteral("Module1"),
                                      QStringLiteral("Option Explicit\nPrivate mA As Long\n\nSub Work()\nEnd Sub\n"))};
    for (const auto &c : checks) {
        RecordingContext context(run.results);
        c.check(context, run.component(QStringLiteral("Module1")), 0);
        const QString title = QString::fromUtf8(c.title);
        ASSERT_FALSE(context.titles.isEmpty()) << c.title;
        EXPECT_EQ(context.titles.front(), title);
        if (c.countsMembers) {
            EXPECT_EQ(context.titles.mid(1),
                      (QStringList{title + QStringLiteral(" (1/2)"), title + QStringLiteral(" (2/2)")}));
            EXPECT_EQ(context.progress,
                      (std::vector<std::pair<int, int>>{{0, 0}, {0, 2}, {1, 0}, {2, 0}, {0, 0}}))
                << c.title;
        }
    }
    // Option Explicit leaves progress bar 1 alone.
    RecordingContext option(run.results);
    inspection::CheckOptionExplicit(option, run.component(QStringLiteral("Module1")), 0);
    EXPECT_TRUE(option.progress.empty());
    // The string functions move the bar once per function of the list, without a maximum.
    RecordingContext context(run.results);
    inspection::CheckStringFunctions(context, run.component(QStringLiteral("Module1")), 0);
    std::vector<std::pair<int, int>> expected{{0, 0}};
    for (int k = 1; k <= 12; ++k)
        expected.push_back({k, 0});
    expected.push_back({0, 0});
    EXPECT_EQ(context.progress, expected);
}
