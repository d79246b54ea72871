// Module list of a folder and procedure list of a module, read through the stand-in IDE.
#include "analysis/module_scan.h"

#include "support/tool_window.h"

#include <gtest/gtest.h>

using testing_support::columnLines;
using testing_support::OpenToolWindow;
using testing_support::rowKeys;
using testing_support::rowLines;
using testing_support::TestProject;

namespace {

const char *const kModule1 = R"vb(Option Explicit
Option Base 1
Private Declare Function GetTickCount Lib "kernel32" () As Long
Public Declare Sub Sleep Lib "kernel32" _
    (ByVal ms As Long)

' comment one
' comment two
Public Sub Alpha()
End Sub

Private Function Beta() As Long
    Beta = 1
End Function

Function Calc() As Long
End Function

Sub CalcAll()
End Sub
Sub 計算()
    MsgBox "Sub Alpha"
End Sub
)vb";

const char *const kClass1 = R"vb(Option Explicit
Private mValue As Variant

Public Property Get Value() As Variant
End Property
Public Property Let Value(ByVal v As Variant)
End Property
Public Property Set Value(ByVal v As Variant)
End Property
Friend Property Get OnlyGet() As Long
End Property
Friend Sub Helper()
End Sub
)vb";

std::unique_ptr<ide::Ide> scanProject()
{
    return TestProject()
        .module(QStringLiteral("Module1"), QString::fromUtf8(kModule1))
        .module(QStringLiteral("Empty"), QString())
        .module(QStringLiteral("Options"), QStringLiteral("Option Private Module\nOption Explicit\nOption Compare Text\n"
                                                          "Option Base 0\n\nSub A()\nEnd Sub\n"))
        .module(QStringLiteral("Commented"), QStringLiteral("'Option Explicit\nOption Explicit\nRem Option Compare Text\n"))
        .classModule(QStringLiteral("Class1"), QString::fromUtf8(kClass1))
        .form(QStringLiteral("Child"), QString(), QString(), true)
        .form(QStringLiteral("Plain"), QStringLiteral("Private Sub Form_Load()\nEnd Sub\n"))
        .relatedDoc(QStringLiteral("Notes.txt"))
        .resFile(QStringLiteral("Project1.res"))
        .build();
}

} // namespace

TEST(AnalysisModuleScan, ModuleListPerFolder)
{
    OpenToolWindow w(scanProject());
    auto &list = w.doc->lvwDetail(0);

    w.showFor(QStringLiteral("Project1"), QStringLiteral("_Std"));
    analysis::ShowModuleList(*w.doc, w.vbe(), true);
    EXPECT_EQ(columnLines(list), (QStringList{"Module", "Procedure>", "Line>", "Declarations"}));
    // Options in the order Base, Compare, Explicit, Private; a commented-out option hides
    // the real one below it, Rem does not hide anything.
    EXPECT_EQ(rowLines(list), (QStringList{"Module1|STD|7|23|Option Base,Option Explicit",
                                           "Empty|STD|0|0|",
                                           "Options|STD|1|7|Option Base,Option Compare,Option Explicit,Option Private",
                                           "Commented|STD|0|3|Option Compare"}));
    EXPECT_EQ(rowKeys(list), (QStringList{"Module1", "Empty", "Options", "Commented"}));

    // A property counts once; variables do not count.
    w.showFor(QStringLiteral("Project1"), QStringLiteral("_Cls"));
    analysis::ShowModuleList(*w.doc, w.vbe(), true);
    EXPECT_EQ(rowLines(list), (QStringList{"Class1|CLASS|3|13|Option Explicit"}));

    w.showFor(QStringLiteral("Project1"), QStringLiteral("_VBForm"));
    analysis::ShowModuleList(*w.doc, w.vbe(), true);
    EXPECT_EQ(rowLines(list), (QStringList{"Child|MDICHILD|0|0|", "Plain|FORM|1|2|"}));

    // Without createColumns the rows go under the columns already there.
    list.listItems().clear();
    analysis::ShowModuleList(*w.doc, w.vbe(), false);
    EXPECT_EQ(list.columnHeaders().count(), 4);
    EXPECT_EQ(list.listItems().count(), 2);
}

TEST(AnalysisModuleScan, ModuleListSkipsWhatTheHostCannotGive)
{
    OpenToolWindow w(scanProject());
    auto &list = w.doc->lvwDetail(0);

    // A failing search leaves the options empty, the counts stay.
    w.ide->failOn(QStringLiteral("CodeModule.Find"), 5);
    w.showFor(QStringLiteral("Project1"), QStringLiteral("_Cls"));
    analysis::ShowModuleList(*w.doc, w.vbe(), true);
    EXPECT_EQ(rowLines(list), (QStringList{"Class1|CLASS|3|13|"}));

    // A module whose code cannot be read gives no row.
    w.ide->clearFaults();
    w.ide->failOn(QStringLiteral("VBComponent.CodeModule"), 91);
    w.showFor(QStringLiteral("Project1"), QStringLiteral("_Std"));
    analysis::ShowModuleList(*w.doc, w.vbe(), true);
    EXPECT_EQ(list.listItems().count(), 0);
    EXPECT_EQ(list.columnHeaders().count(), 4);

    // A project the host no longer has: columns, no rows, no message.
    w.ide->clearFaults();
    w.showFor(QStringLiteral("Gone"), QStringLiteral("_Std"));
    analysis::ShowModuleList(*w.doc, w.vbe(), true);
    EXPECT_EQ(list.columnHeaders().count(), 4);
    EXPECT_EQ(list.listItems().count(), 0);
    EXPECT_TRUE(w.platform.messages().isEmpty());
}

TEST(AnalysisModuleScan, ProcedureListOfAStandardModule)
{
    OpenToolWindow w(scanProject());
    auto &list = w.doc->lvwDetail(0);
    w.showFor(QStringLiteral("Project1"), QStringLiteral("StdModule"));
    analysis::ShowProcedureList(*w.doc, w.vbe(), QStringLiteral("Module1"), true);

    EXPECT_EQ(columnLines(list), (QStringList{"Procedure", "Type", "Scope", "Start>", "Line>"}));
    const QStringList rows = rowLines(list);
    // External declarations: their declaration line, one line even when continued.
    EXPECT_TRUE(rows.contains("GetTickCount|LIBRARY|DLL/Win32API|Private|3|1")) << rows.join('\n').toStdString();
    EXPECT_TRUE(rows.contains("Sleep|LIBRARY|DLL/Win32API|Public|4|1")) << rows.join('\n').toStdString();
    // The range starts at the comments above; the start shown is the Sub statement's line.
    const auto module = w.component(QStringLiteral("Module1"))->codeModule();
    const int alphaStart = module->procStartLine(QStringLiteral("Alpha"), host::ProcKind::Proc);
    EXPECT_LT(alphaStart, 9);
    EXPECT_TRUE(rows.contains(QStringLiteral("Alpha|METHOD|Sub|Public|9|%1").arg(10 - alphaStart + 1)))
        << rows.join('\n').toStdString();
    EXPECT_TRUE(rows.contains(QStringLiteral("Beta|METHOD|Function|Private|12|%1")
                                  .arg(module->procCountLines(QStringLiteral("Beta"), host::ProcKind::Proc))));
    // Not whole word and to the end: "Sub CalcAll" makes the Function Calc a "Sub" at its line.
    EXPECT_TRUE(rows.contains(QStringLiteral("Calc|METHOD|Sub|Public|19|%1")
                                  .arg(module->procCountLines(QStringLiteral("Calc"), host::ProcKind::Proc))));
    EXPECT_TRUE(rows.contains(QStringLiteral("計算|METHOD|Sub|Public|21|3"))) << rows.join('\n').toStdString();
    EXPECT_EQ(rows.size(), 7);
    EXPECT_EQ(w.doc->staMain.panels()(1)->text(), QStringLiteral("ﾓｼﾞｭｰﾙを解析中 ..."));
}

TEST(AnalysisModuleScan, ProcedureListOfAClassAndOfAnEmptyModule)
{
    OpenToolWindow w(scanProject());
    auto &list = w.doc->lvwDetail(0);
    w.showFor(QStringLiteral("Project1"), QStringLiteral("ClassModule"));
    analysis::ShowProcedureList(*w.doc, w.vbe(), QStringLiteral("Class1"), true);
    // Accessors show the host's range as it is, the blank line above the first one included.
    EXPECT_EQ(rowLines(list), (QStringList{"Value|PROPERTY|Property Get|Public|3|3",
                                           "Value|PROPERTY|Property Let|Public|6|2",
                                           "Value|PROPERTY|Property Set|Public|8|2",
                                           "OnlyGet|PROPERTY|Property Get|Friend|10|2",
                                           "Helper|METHOD|Sub|Friend|12|2"}));
    EXPECT_EQ(rowKeys(list), (QStringList{"Value_Get", "Value_Let", "Value_Set", "OnlyGet_Get", "Helper"}));

    w.showFor(QStringLiteral("Project1"), QStringLiteral("StdModule"));
    analysis::ShowProcedureList(*w.doc, w.vbe(), QStringLiteral("Empty"), true);
    EXPECT_EQ(list.listItems().count(), 0);
    analysis::ShowProcedureList(*w.doc, w.vbe(), QStringLiteral("NoSuchModule"), true);
    EXPECT_EQ(list.listItems().count(), 0);
}

TEST(AnalysisModuleScan, ProcedureListWhenSearchesFail)
{
    OpenToolWindow w(scanProject());
    w.ide->failOn(QStringLiteral("CodeModule.Find"), 5);
    w.showFor(QStringLiteral("Project1"), QStringLiteral("StdModule"));
    analysis::ShowProcedureList(*w.doc, w.vbe(), QStringLiteral("Module1"), true);
    const QStringList rows = rowLines(w.doc->lvwDetail(0));
    // No kind text; the start stays the host's start line.
    const auto module = w.component(QStringLiteral("Module1"))->codeModule();
    EXPECT_TRUE(rows.contains(QStringLiteral("Beta|METHOD||Private|%1|%2")
                                  .arg(module->procStartLine(QStringLiteral("Beta"), host::ProcKind::Proc))
                                  .arg(module->procCountLines(QStringLiteral("Beta"), host::ProcKind::Proc))))
        << rows.join('\n').toStdString();
    EXPECT_EQ(rows.size(), 7);
}

TEST(AnalysisModuleScan, LongModulesAndStrayEndLines)
{
    // Line numbers past 32,767, and an End Sub without its Sub, read soundly.
    QString code = QStringLiteral("Option Explicit\nEnd Sub\n");
    for (int i = 0; i < 40000; ++i)
        code += QStringLiteral("' filler\n");
    code += QStringLiteral("Public Sub Late()\n    Late2\nEnd Sub\nPrivate Sub Late2()\nEnd Sub\n");
    OpenToolWindow w(TestProject().module(QStringLiteral("Big"), code).build());
    w.showFor(QStringLiteral("Project1"), QStringLiteral("StdModule"));
    analysis::ShowProcedureList(*w.doc, w.vbe(), QStringLiteral("Big"), true);
    const QStringList rows = rowLines(w.doc->lvwDetail(0));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("Late|METHOD|Sub|Public|40003|"))) << rows[0].toStdString();
    EXPECT_EQ(rows[1], QStringLiteral("Late2|METHOD|Sub|Private|40006|2"));

    w.showFor(QStringLiteral("Project1"), QStringLiteral("_Std"));
    analysis::ShowModuleList(*w.doc, w.vbe(), true);
    EXPECT_EQ(rowLines(w.doc->lvwDetail(0)), QStringList{"Big|STD|2|40007|Option Explicit"});
}
