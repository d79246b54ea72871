#include "ide/files/encoding.h"
#include "ide/files/module_file.h"

#include "test_printers.h"

#include <gtest/gtest.h>

using namespace ide::files;

namespace {

QString u(const char *utf8) { return QString::fromUtf8(utf8); }

QStringList controls(const ModuleFile &m);

/// Parses from a line list and from one buffer, which must read the same.
ModuleFile parse(const char *text, const char *fileName, std::vector<Diagnostic> &diagnostics)
{
    const std::vector<Diagnostic> before = diagnostics;
    ModuleFile m = parseModule(splitLines(u(text)), u(fileName), diagnostics);
    std::vector<Diagnostic> again = before;
    const TextLines buffer = splitText(u(text));
    const ModuleFile b = parseModule(buffer, u(fileName), again);
    EXPECT_EQ(again.size(), diagnostics.size());
    for (size_t k = 0; k < std::min(again.size(), diagnostics.size()); ++k)
        EXPECT_EQ(std::tie(again[k].line, again[k].message), std::tie(diagnostics[k].line, diagnostics[k].message));
    EXPECT_EQ(b.kind, m.kind);
    EXPECT_EQ(b.vbName, m.vbName);
    EXPECT_EQ(b.designerId, m.designerId);
    EXPECT_EQ(b.objects, m.objects);
    EXPECT_EQ(b.attributes, m.attributes);
    EXPECT_EQ(b.codeFirstFileLine, m.codeFirstFileLine);
    EXPECT_EQ(controls(b), controls(m));
    EXPECT_TRUE(b.codeLines.isEmpty());
    QStringList code;
    for (qsizetype k = b.codeFirstFileLine - 1; k < buffer.size(); ++k)
        code << buffer[k].toString();
    EXPECT_EQ(code, m.codeLines);
    return m;
}

/// One row per control: depth, class, name, index, Begin line.
void flatten(const ControlNode &node, int depth, QStringList &out)
{
    for (const ControlNode &child : node.children) {
        out << QStringLiteral("%1%2 %3 %4 @%5").arg(QString(depth * 2, QLatin1Char(' ')), child.progId, child.name)
                   .arg(child.index)
                   .arg(child.fileLine);
        flatten(child, depth + 1, out);
    }
}

QStringList controls(const ModuleFile &m)
{
    QStringList out;
    flatten(m.root, 0, out);
    return out;
}

/// "key=typeName:value" for each property, in file order.
QStringList props(const ControlNode &node)
{
    QStringList out;
    for (const auto &[key, value] : node.properties)
        out << QStringLiteral("%1=%2:%3").arg(key, QString::fromLatin1(value.typeName()), value.toString());
    return out;
}

QStringList lines(const std::vector<Diagnostic> &diagnostics)
{
    QStringList out;
    for (const Diagnostic &d : diagnostics)
        out << QStringLiteral("%1:%2").arg(d.file).arg(d.line);
    return out;
}

const char MainForm[] = R"frm(VERSION 5.00
Object = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.1#0"; "mscomctl.OCX"
Object = "*\ACSTextBox.vbp"
Begin VB.Form frmMain 
   BackColor       =   &H8000000F&
   BorderStyle     =   3  'Fixed Dialog
   Caption         =   "Main ""window"""
   ClientHeight    =   3195
   Icon            =   "frmMain.frx":0000
   MaxButton       =   0   'False
   MDIChild        =   -1  'True
   ScaleWidth      =   4680.5
   ConnectionSource=   "Provider=X;Data Source='a b'"
   Begin MSComctlLib.Toolbar Toolbar1 
      Height          =   420
      _ExtentX        =   8255
      Object.ToolTipText     =   "tip"
      BeginProperty Buttons {66833FE8-8583-11D1-B16A-00C0F0283628} 
         NumButtons      =   1
         BeginProperty Button1 {66833FEA-8583-11D1-B16A-00C0F0283628} 
            Key             =   "open"
         EndProperty
      EndProperty
      Width           =   4680
   End
   Begin VB.Frame Frame1 
      Caption         =   "Options" ' a comment
      Begin VB.TextBox Text1 
         Text            =   $"frmMain.frx":0035
      End
      Begin VB.OptionButton optChoice 
         Index           =   0
      End
      Begin VB.OptionButton optChoice 
         Index           =   1
      End
   End
   Begin VB.Menu mnuFile 
      Caption         =   "&File"
      Begin VB.Menu mnuFileOpen 
         Caption         =   "&Open..."
         Shortcut        =   ^O
      End
   End
End
Attribute VB_Name = "frmMain"
Attribute VB_GlobalNameSpace = False
Attribute VB_PredeclaredId = True
Option Explicit
Private WithEvents m_oWorker As cWorker
Attribute m_oWorker.VB_VarHelpID = -1
)frm";

} // namespace

TEST(ParseModule, FormWithEverything)
{
    std::vector<Diagnostic> diagnostics;
    const ModuleFile m = parse(MainForm, "frmMain.frm", diagnostics);
    EXPECT_EQ(lines(diagnostics), QStringList());
    EXPECT_EQ(m.kind, ModuleKind::Form);
    EXPECT_EQ(m.vbName, u("frmMain"));
    EXPECT_EQ(m.root.progId, u("VB.Form"));
    EXPECT_EQ(m.root.name, u("frmMain"));
    EXPECT_EQ(m.root.fileLine, 4);
    EXPECT_EQ(m.objects, QStringList({"\"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.1#0\"; \"mscomctl.OCX\"",
                                      "\"*\\ACSTextBox.vbp\""}));
    EXPECT_EQ(props(m.root), QStringList({
                                 "BackColor=int:-2147483633",
                                 "BorderStyle=int:3",
                                 "Caption=QString:Main \"window\"",
                                 "ClientHeight=int:3195",
                                 "Icon=QString:\"frmMain.frx\":0000",
                                 "MaxButton=bool:false",
                                 "MDIChild=bool:true",
                                 "ScaleWidth=double:4680.5",
                                 "ConnectionSource=QString:Provider=X;Data Source='a b'",
                             }));
    EXPECT_EQ(controls(m), QStringList({
                               "MSComctlLib.Toolbar Toolbar1 -1 @14",
                               "VB.Frame Frame1 -1 @26",
                               "  VB.TextBox Text1 -1 @28",
                               "  VB.OptionButton optChoice 0 @31",
                               "  VB.OptionButton optChoice 1 @34",
                               "VB.Menu mnuFile -1 @38",
                               "  VB.Menu mnuFileOpen -1 @40",
                           }));
    const ControlNode &toolbar = m.root.children[0];
    EXPECT_EQ(props(toolbar), QStringList({"Height=int:420", "_ExtentX=int:8255", "Object.ToolTipText=QString:tip",
                                           "Width=int:4680"}));
    EXPECT_EQ(m.root.children[1].property(u("caption")), QVariant(u("Options")));
    EXPECT_EQ(m.root.children[1].children[0].property(u("Text")), QVariant(u("$\"frmMain.frx\":0035")));
    EXPECT_EQ(m.root.children[1].children[1].property(u("Index")), QVariant(0));
    EXPECT_EQ(m.root.children[2].children[0].property(u("Shortcut")), QVariant(u("^O")));

    EXPECT_EQ(m.codeFirstFileLine, 46);
    EXPECT_EQ(m.codeLines, QStringList({"Attribute VB_Name = \"frmMain\"", "Attribute VB_GlobalNameSpace = False",
                                        "Attribute VB_PredeclaredId = True", "Option Explicit",
                                        "Private WithEvents m_oWorker As cWorker",
                                        "Attribute m_oWorker.VB_VarHelpID = -1"}));
    EXPECT_EQ(m.attributes, (QList<QPair<QString, QString>>{{"VB_Name", "\"frmMain\""},
                                                             {"VB_GlobalNameSpace", "False"},
                                                             {"VB_PredeclaredId", "True"}}));
}

TEST(ParseModule, KindFromTheTopLevelBlock)
{
    const struct {
        const char *begin;
        const char *file;
        ModuleKind kind;
        const char *designerId;
    } cases[] = {
        {"Begin VB.Form Form1", "Form1.frm", ModuleKind::Form, ""},
        {"Begin VB.MDIForm MDIForm1", "MDIForm1.frm", ModuleKind::MDIForm, ""},
        {"Begin VB.UserControl Grid", "Grid.ctl", ModuleKind::UserControl, ""},
        {"Begin VB.PropertyPage Page1", "Page1.pag", ModuleKind::PropertyPage, ""},
        {"Begin VB.UserDocument Doc1", "Doc1.dob", ModuleKind::UserDocument, ""},
        {"Begin {AC0714F6-3D04-11D1-AE7D-00A0C90F26F4} Connect", "Connect.Dsr", ModuleKind::Designer,
         "{AC0714F6-3D04-11D1-AE7D-00A0C90F26F4}"},
        {"begin vb.form lower", "lower.frm", ModuleKind::Form, ""},
        {"Begin Odd.Thing X", "X.ctl", ModuleKind::UserControl, ""}, // unknown class: the extension decides
        {"Begin Odd.Thing X", "X.txt", ModuleKind::Unknown, ""},
    };
    for (const auto &c : cases) {
        const QString text = u("VERSION 5.00\r\n%1   \r\n   Caption = \"x\"\r\nEnd\r\nAttribute VB_Name = \"N\"\r\nSub A()\r\nEnd Sub\r\n").arg(u(c.begin));
        std::vector<Diagnostic> diagnostics;
        const ModuleFile m = parseModule(splitLines(text), u(c.file), diagnostics);
        EXPECT_EQ(m.kind, c.kind) << c.begin;
        EXPECT_EQ(m.designerId, u(c.designerId)) << c.begin;
        EXPECT_EQ(m.codeFirstFileLine, 5) << c.begin;
        EXPECT_EQ(m.codeLines.size(), 3) << c.begin;
        EXPECT_TRUE(diagnostics.empty()) << c.begin;
    }
}

TEST(ParseModule, ClassModule)
{
    const char text[] = "VERSION 1.0 CLASS\r\n"
                        "BEGIN\r\n"
                        "  MultiUse = -1  'True\r\n"
                        "  Persistable = 0  'NotPersistable\r\n"
                        "  DataSourceBehavior  = 0  'vbNone\r\n"
                        "END\r\n"
                        "Attribute VB_Name = \"cWorker\"\r\n"
                        "Attribute VB_Exposed = True\r\n"
                        "Option Explicit\r\n";
    std::vector<Diagnostic> diagnostics;
    const ModuleFile m = parse(text, "cWorker.cls", diagnostics);
    EXPECT_TRUE(diagnostics.empty());
    EXPECT_EQ(m.kind, ModuleKind::Class);
    EXPECT_EQ(m.vbName, u("cWorker"));
    EXPECT_EQ(props(m.root), QStringList({"MultiUse=bool:true", "Persistable=int:0", "DataSourceBehavior=int:0"}));
    EXPECT_TRUE(m.root.children.empty());
    EXPECT_EQ(m.codeFirstFileLine, 7);
    EXPECT_EQ(m.codeLines.size(), 3);
}

TEST(ParseModule, CodeOnlyFiles)
{
    const struct {
        const char *what;
        const char *text;
        const char *file;
        ModuleKind kind;
        const char *vbName;
        int codeFirstFileLine;
        int codeLines;
        int diagnostics;
    } cases[] = {
        {"standard module", "Attribute VB_Name = \"Module1\"\r\nOption Explicit\r\n", "Module1.bas", ModuleKind::Basic, "Module1", 1, 2, 0},
        {"blank lines first", "\r\n\r\nAttribute VB_Name = \"M\"\r\n", "M.bas", ModuleKind::Basic, "M", 1, 3, 0},
        {"no VB_Name", "Option Explicit\r\n", "x.bas", ModuleKind::Basic, "", 1, 1, 0},
        {"empty file", "", "e.bas", ModuleKind::Basic, "", 1, 0, 0},
        {"class without BEGIN block", "VERSION 1.0 CLASS\r\nAttribute VB_Name = \"c\"\r\n", "c.cls", ModuleKind::Class, "c", 2, 1, 0},
        {"class file without header", "Attribute VB_Name = \"c2\"\r\n", "c2.cls", ModuleKind::Class, "c2", 1, 1, 0},
        {"form without Begin block", "Attribute VB_Name = \"f\"\r\n", "f.frm", ModuleKind::Form, "f", 1, 1, 1},
        {"VB_Name after other attributes", "Attribute VB_Exposed = False\r\nAttribute  vb_name  =  \"Late\"\r\n", "l.bas",
         ModuleKind::Basic, "Late", 1, 2, 0},
    };
    for (const auto &c : cases) {
        std::vector<Diagnostic> diagnostics;
        const ModuleFile m = parse(c.text, c.file, diagnostics);
        EXPECT_EQ(m.kind, c.kind) << c.what;
        EXPECT_EQ(m.vbName, u(c.vbName)) << c.what;
        EXPECT_EQ(m.codeFirstFileLine, c.codeFirstFileLine) << c.what;
        EXPECT_EQ(m.codeLines.size(), c.codeLines) << c.what;
        EXPECT_EQ(int(diagnostics.size()), c.diagnostics) << c.what;
    }
}

TEST(ParseModule, DesignerWithPrivateContent)
{
    const char text[] = R"dsr(VERSION 5.00
Begin {C0E45035-5775-11D0-B388-00A0C9055D8E} DataEnvironment1 
   ClientHeight    =   6315
   _ExtentX        =   11853
   Description     =   $"Connect.dsx":0000
   NumConnections  =   1
   BeginProperty Connection1 
      ConnectionName  =   "Connection1"
      ConnDispId      =   1001
   EndProperty
   NumRecordsets   =   1
   BeginProperty Recordset1 
      CommandName     =   "Command1"
      BeginProperty Field1 
         Precision       =   0
      EndProperty
   EndProperty
End
Attribute VB_Name = "DataEnvironment1"
Option Explicit
)dsr";
    std::vector<Diagnostic> diagnostics;
    const ModuleFile m = parse(text, "DataEnvironment1.dsr", diagnostics);
    EXPECT_TRUE(diagnostics.empty());
    EXPECT_EQ(m.kind, ModuleKind::Designer);
    EXPECT_EQ(m.designerId, u("{C0E45035-5775-11D0-B388-00A0C9055D8E}"));
    EXPECT_EQ(m.vbName, u("DataEnvironment1"));
    EXPECT_EQ(props(m.root), QStringList({"ClientHeight=int:6315", "_ExtentX=int:11853",
                                          "Description=QString:$\"Connect.dsx\":0000", "NumConnections=int:1",
                                          "NumRecordsets=int:1"}));
    EXPECT_EQ(m.codeFirstFileLine, 19);
    EXPECT_EQ(m.codeLines.size(), 2);
}

TEST(ParseModule, JapaneseFormInCp932)
{
    const QByteArray bytes = encode(u("VERSION 5.00\r\n"
                                      "Begin VB.Form 計算 \r\n"
                                      "   BorderStyle     =   3  '固定ﾀﾞｲｱﾛｸﾞ\r\n"
                                      "   Caption         =   \"表示\\ソフト\"\r\n"
                                      "   Begin 色1.KColor KColor1 \r\n"
                                      "   End\r\n"
                                      "End\r\n"
                                      "Attribute VB_Name = \"計算\"\r\n"),
                                    CodePage::Cp932);
    std::vector<Diagnostic> diagnostics;
    const ModuleFile m = parseModule(splitLines(decode(bytes, CodePage::Cp932)), u("計算.frm"), diagnostics);
    EXPECT_TRUE(diagnostics.empty());
    EXPECT_EQ(m.vbName, u("計算"));
    EXPECT_EQ(props(m.root), QStringList({"BorderStyle=int:3", u("Caption=QString:表示\\ソフト")}));
    EXPECT_EQ(controls(m), QStringList({u("色1.KColor KColor1 -1 @5")}));
}

TEST(ParseModule, MissingEndStartsCodeAtVbName)
{
    const char text[] = "VERSION 5.00\n"
                        "Begin VB.Form Form1\n"
                        "   Caption = \"x\"\n"
                        "   Begin VB.Frame Frame1\n"
                        "      Caption = \"f\"\n"
                        "   End\n"
                        "Attribute VB_Name = \"Form1\"\n"
                        "Private Sub Form_Load()\n"
                        "End Sub\n";
    std::vector<Diagnostic> diagnostics;
    const ModuleFile m = parse(text, "Form1.frm", diagnostics);
    EXPECT_EQ(lines(diagnostics), QStringList({"Form1.frm:2"}));
    EXPECT_TRUE(diagnostics[0].message.contains(u("Begin VB.Form Form1")));
    EXPECT_EQ(m.vbName, u("Form1"));
    EXPECT_EQ(m.codeFirstFileLine, 7);
    EXPECT_EQ(m.codeLines.size(), 3);
    EXPECT_EQ(controls(m), QStringList({"VB.Frame Frame1 -1 @4"}));
}

TEST(ParseModule, MissingEndWithoutVbNameHasNoCode)
{
    const char text[] = "VERSION 5.00\n"
                        "Begin VB.Form Form1\n"
                        "   Begin VB.CommandButton Command1\n"
                        "      Caption = \"x\"\n"
                        "Private Sub Command1_Click()\n"
                        "End Sub\n";
    std::vector<Diagnostic> diagnostics;
    const ModuleFile m = parse(text, "Form1.frm", diagnostics);
    ASSERT_FALSE(diagnostics.empty());
    EXPECT_EQ(diagnostics.back().line, 3); // the innermost block left open
    EXPECT_EQ(diagnostics.back().file, u("Form1.frm"));
    EXPECT_TRUE(m.codeLines.isEmpty());
    EXPECT_EQ(m.codeFirstFileLine, 7);
    EXPECT_EQ(m.vbName, u("Form1"));
    EXPECT_EQ(controls(m), QStringList({"VB.CommandButton Command1 -1 @3"}));
}

TEST(ParseModule, UnbalancedPropertyGroups)
{
    const char text[] = "VERSION 5.00\n"
                        "Begin VB.Form Form1\n"
                        "   BeginProperty Font\n"
                        "      Name = \"Arial\"\n"
                        "   Begin VB.Label Label1\n"
                        "      EndProperty\n"
                        "   End\n"
                        "   Rubbish without equals\n"
                        "End\n"
                        "Attribute VB_Name = \"Form1\"\n";
    std::vector<Diagnostic> diagnostics;
    const ModuleFile m = parse(text, "Form1.frm", diagnostics);
    EXPECT_EQ(lines(diagnostics), QStringList({"Form1.frm:3", "Form1.frm:6", "Form1.frm:8"}));
    EXPECT_EQ(controls(m), QStringList({"VB.Label Label1 -1 @5"}));
    EXPECT_EQ(m.codeFirstFileLine, 10);
}

TEST(ParseModule, GarbageHugeLinesAndDeepNesting)
{
    QByteArray garbage = "VERSION 5.00\r\nBegin VB.Form F\r\n";
    quint32 x = 99;
    for (int i = 0; i < 200000; ++i) {
        x = x * 1103515245 + 12345;
        garbage.append(char(x >> 16));
    }
    std::vector<Diagnostic> diagnostics;
    ModuleFile m = parseModule(splitLines(decode(garbage, CodePage::Cp932)), u("g.frm"), diagnostics);
    EXPECT_LE(diagnostics.size(), 101u);
    EXPECT_EQ(m.kind, ModuleKind::Form);

    QString deep = u("VERSION 5.00\n");
    for (int i = 0; i < 100000; ++i)
        deep += u("Begin VB.Frame F\n");
    deep += QString(500000, QLatin1Char('x')) + u(" = \"") + QString(500000, QLatin1Char('y')) + u("\n");
    diagnostics.clear();
    m = parseModule(splitLines(deep), u("d.frm"), diagnostics);
    int depth = 0;
    for (const ControlNode *n = &m.root; !n->children.empty(); n = &n->children[0])
        ++depth;
    EXPECT_EQ(depth, 199); // deeper blocks are skipped, not nested without limit
    EXPECT_EQ(diagnostics.size(), 2u);

    const char withNul[] = "Attribute VB_Name = \"N\0L\"\nx = \"\0\"\n";
    const QString nul = QString::fromUtf8(withNul, sizeof withNul - 1);
    diagnostics.clear();
    m = parseModule(splitLines(nul), u("n.bas"), diagnostics);
    EXPECT_EQ(m.vbName, QString::fromUtf8("N\0L", 3));
    EXPECT_EQ(m.codeLines.size(), 2);
}

TEST(ParsePropertyValue, Forms)
{
    const struct {
        const char *text;
        QVariant expected;
    } cases[] = {
        {"   \"abc\"", u("abc")},
        {"\"a\"\"b\"\"\"", u("a\"b\"")},
        {"\"\"", u("")},
        {"\"it's\"   ' comment", u("it's")},
        {"\"unterminated", u("unterminated")},
        {"-1  'True", true},
        {"0   'False", false},
        {"1 'true", true},
        {"3  'Fixed Dialog", 3},
        {"-1", -1},
        {"12345678901", qlonglong(12345678901)},
        {"&H8000000F&", int(0x8000000F)},
        {"&HFF&", 255},
        {"&h00C0C0C0&", 0xC0C0C0},
        {"8.25", 8.25},
        {"-0.5", -0.5},
        {"$\"frmMain.frx\":0035", u("$\"frmMain.frx\":0035")},
        {"\"Form1.frx\":0000", u("\"Form1.frx\":0000")},
        {"\"Form1.frx\":", u("Form1.frx")},
        {"^A", u("^A")},
        {"{F5}", u("{F5}")},
        {"", u("")},
        {"   ' only a comment", u("")},
    };
    for (const auto &c : cases) {
        const QVariant v = parsePropertyValue(u(c.text));
        EXPECT_EQ(v.typeId(), c.expected.typeId()) << c.text;
        EXPECT_EQ(v, c.expected) << c.text;
    }
}

TEST(ModuleKindFromExtension, Table)
{
    const std::pair<const char *, ModuleKind> cases[] = {
        {"a.bas", ModuleKind::Basic},          {"dir\\A.CLS", ModuleKind::Class},   {"f.Frm", ModuleKind::Form},
        {"u.ctl", ModuleKind::UserControl},    {"p.pag", ModuleKind::PropertyPage}, {"d.dob", ModuleKind::UserDocument},
        {"r.Dsr", ModuleKind::Designer},       {"readme.txt", ModuleKind::Unknown}, {"noext", ModuleKind::Unknown},
        {"dir.frm/file", ModuleKind::Unknown},
    };
    for (const auto &[file, kind] : cases)
        EXPECT_EQ(moduleKindFromExtension(u(file)), kind) << file;
}
