// Control counts of a folder and the control list of a designer.
#include "analysis/controls_list.h"

#include "support/tool_window.h"

#include <gtest/gtest.h>

using testing_support::columnLines;
using testing_support::OpenToolWindow;
using testing_support::rowKeys;
using testing_support::rowLines;
using testing_support::TestProject;

namespace {

const char *const kControls = R"vb(   Begin VB.TextBox Text1 
      Height          =   285
      Index           =   0
      Left            =   120
      TabIndex        =   0
      Top             =   120
      Width           =   1215
   End
   Begin VB.TextBox Text1 
      Height          =   285
      Index           =   1
      Left            =   120
      TabIndex        =   1
      Top             =   480
      Width           =   1215
   End
   Begin VB.TextBox Text10 
      Height          =   285
      Left            =   120
      TabIndex        =   2
      Top             =   840
      Width           =   1215
   End
   Begin VB.Frame Frame1 
      Caption         =   "Frame1"
      Height          =   975
      Index           =   0
      Left            =   1560
      TabIndex        =   3
      Top             =   120
      Width           =   1815
      Begin VB.CommandButton Command1 
         Caption         =   "OK"
         Height          =   375
         Left            =   120
         TabIndex        =   4
         Top             =   240
         Width           =   975
      End
   End
   Begin VB.Frame Frame1 
      Caption         =   "Frame1"
      Height          =   975
      Index           =   1
      Left            =   1560
      TabIndex        =   5
      Top             =   1200
      Width           =   1815
      Begin VB.Line Line1 
         X1              =   120
         X2              =   1200
         Y1              =   480
         Y2              =   480
      End
   End
   Begin VB.Frame Frame2 
      Caption         =   "Frame2"
      Height          =   975
      Left            =   3480
      TabIndex        =   6
      Top             =   120
      Width           =   1815
      Begin VB.Label Label1 
         Caption         =   "名前"
         Height          =   255
         Left            =   120
         TabIndex        =   7
         Top             =   240
         Width           =   975
      End
   End
)vb";

std::unique_ptr<ide::Ide> controlsProject()
{
    return TestProject()
        .module(QStringLiteral("Module1"), QStringLiteral("Sub Main()\nEnd Sub\n"))
        .form(QStringLiteral("Form1"), QString(), QString::fromUtf8(kControls))
        .form(QStringLiteral("Child"), QString(), QString(), true)
        .userControl(QStringLiteral("Gauge"), QString(),
                     QStringLiteral("   Begin VB.Shape Needle \n      Height = 255\n   End\n"))
        .designer(QStringLiteral("Report1"), QString())
        .build();
}

} // namespace

TEST(AnalysisControlsList, CountsPerFolder)
{
    OpenToolWindow w(controlsProject());
    auto &list = w.doc->lvwDetail(0);

    w.showFor(QStringLiteral("Project1"), QStringLiteral("_VBForm"));
    analysis::ShowControlCounts(*w.doc, w.vbe(), true);
    EXPECT_EQ(columnLines(list), (QStringList{"Module", "Control>"}));
    // Every control counts, those inside frames too.
    EXPECT_EQ(rowLines(list), (QStringList{"Form1|FORM|9", "Child|MDICHILD|0"}));

    w.showFor(QStringLiteral("Project1"), QStringLiteral("_Std"));
    analysis::ShowControlCounts(*w.doc, w.vbe(), true);
    EXPECT_EQ(rowLines(list), (QStringList{"Module1|STD|0"}));

    w.showFor(QStringLiteral("Project1"), QStringLiteral("_UsrCtrl"));
    analysis::ShowControlCounts(*w.doc, w.vbe(), true);
    EXPECT_EQ(rowLines(list), (QStringList{"Gauge|USERCTRL|1"}));

    w.showFor(QStringLiteral("Project1"), QStringLiteral("_ActiveX"));
    analysis::ShowControlCounts(*w.doc, w.vbe(), true);
    EXPECT_EQ(rowLines(list), (QStringList{"Report1|DESIGNER|0"}));
}

TEST(AnalysisControlsList, ControlsOfADesigner)
{
    OpenToolWindow w(controlsProject());
    auto &list = w.doc->lvwDetail(0);

    w.showFor(QStringLiteral("Project1"), QStringLiteral("VBForm"));
    analysis::ShowControlList(*w.doc, w.vbe(), QStringLiteral("Form1"), true);
    EXPECT_EQ(columnLines(list), (QStringList{"Control", "Class", "TabIndex>", "Parent"}));
    // Text10 collides with the key of Text1(0) and is missing; a line has no TabIndex.
    EXPECT_EQ(rowLines(list), (QStringList{"Text1(0)|CONTROL|TextBox|0|",
                                           "Text1(1)|CONTROL|TextBox|1|",
                                           "Frame1(0)|CONTROL|Frame|3|",
                                           "Command1|CONTROL|CommandButton|4|Frame1(0) <Frame>",
                                           "Frame1(1)|CONTROL|Frame|5|",
                                           "Line1|CONTROL|Line|-1|Frame1(1) <Frame>",
                                           "Frame2|CONTROL|Frame|6|",
                                           "Label1|CONTROL|Label|7|Frame2 <Frame>"}));
    EXPECT_EQ(rowKeys(list),
              (QStringList{"Text10", "Text11", "Frame10", "Command1", "Frame11", "Line1", "Frame2", "Label1"}));
    EXPECT_EQ(w.doc->staMain.panels()(1)->text(), QStringLiteral("ﾓｼﾞｭｰﾙを解析中 ..."));

    w.showFor(QStringLiteral("Project1"), QStringLiteral("UserControl"));
    analysis::ShowControlList(*w.doc, w.vbe(), QStringLiteral("Gauge"), true);
    EXPECT_EQ(rowLines(list), (QStringList{"Needle|CONTROL|Shape|-1|"}));

    // Modules without a designer, empty designers and unknown names give no rows.
    for (const char *name : {"Module1", "Child", "Report1", "Nothing"}) {
        w.showFor(QStringLiteral("Project1"), QStringLiteral("StdModule"));
        analysis::ShowControlList(*w.doc, w.vbe(), QString::fromUtf8(name), true);
        EXPECT_EQ(list.listItems().count(), 0) << name;
        EXPECT_EQ(list.columnHeaders().count(), 4) << name;
    }
    EXPECT_EQ(analysis::controlCaption(QStringLiteral("Text1"), -1), QStringLiteral("Text1"));
}
