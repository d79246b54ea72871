#include "ide/files/encoding.h"
#include "ide/files/project_file.h"

#include "test_printers.h"

#include <gtest/gtest.h>

using namespace ide::files;

namespace {

QString u(const char *utf8) { return QString::fromUtf8(utf8); }
QStringList lines(const char *utf8) { return splitLines(u(utf8)); }

QStringList describe(const std::vector<MemberLine> &members)
{
    QStringList out;
    for (const MemberLine &m : members)
        out << QStringLiteral("%1|%2|%3|%4").arg(m.key, m.name, m.path).arg(m.line);
    return out;
}

QStringList describe(const std::vector<ReferenceLine> &refs)
{
    QStringList out;
    for (const ReferenceLine &r : refs)
        out << QStringLiteral("%1|%2|%3.%4|%5|%6|%7|%8")
                   .arg(r.isProject ? "A" : "G", r.guid)
                   .arg(r.major)
                   .arg(r.minor)
                   .arg(r.lcid)
                   .arg(r.path, r.description)
                   .arg(r.line);
    return out;
}

QStringList describe(const std::vector<Diagnostic> &diagnostics)
{
    QStringList out;
    for (const Diagnostic &d : diagnostics)
        out << QStringLiteral("%1:%2").arg(d.file).arg(d.line);
    return out;
}

const char FullProject[] = R"vbp(Type=OleDll
Reference=*\G{00020430-0000-0000-C000-000000000046}#2.0#0#C:\WINNT\system32\stdole2.tlb#OLE Automation
Reference=*\G{00000205-0000-0010-8000-00AA006D2EA4}#2.5#0#C:\Program Files\Common Files\System\ado\msado25.tlb#Microsoft ActiveX Data Objects 2.5 Library
Reference=*\G{2A005C00-A5DE-11CF-9E66-00AA00A3F464}#a.1#9#..\..\DLL - OCX - EXE\CSKernel.dll#< 2 CrowSoft # Kernel >
Reference=*\G{F5078F18-C551-11D3-89B9-0000F81FE221}#1.a#0#MSVBVM60.DLL\3#
Reference=*\A..\CSInterfaces\CSInterfaces.vbp
Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.1#0; MSCOMCTL.OCX
Object=*\A..\CSTextBox\CSTextBox.vbp
Form=frmMain.frm
Form=Forms\frmAbout.frm
Module=modMain; modMain.bas
Module=  mdSpaced  ;   My Modules\mdSpaced.bas  
Class=cWorker; ..\Shared\cWorker.cls
UserControl=ctlGrid.ctl
PropertyPage=ppgGrid.pag
UserDocument=docMain.dob
Designer=DataReport1.Dsr
RelatedDoc=readme.txt
ResFile32="Project1.RES"
IconForm="frmMain"
Startup="Sub Main"
HelpFile="help.chm"
Title="My ""Title"""
ExeName32="Worker.dll"
Path32="..\bin"
Command32=""
Name="WorkerLib"
HelpContextID="42"
Description="Worker library"
CompatibleMode="2"
MajorVer=1
FavorPentiumPro(tm)=0
ThreadingModel=1

[MS Transaction Server]
AutoRefresh=1

[Tessary]
Setting=a=b
)vbp";

} // namespace

TEST(ParseProject, EveryKindOfLine)
{
    std::vector<Diagnostic> diagnostics;
    const ProjectFile p = parseProject(lines(FullProject), u("Worker.vbp"), diagnostics);
    EXPECT_EQ(describe(diagnostics), QStringList());

    EXPECT_EQ(p.name, u("WorkerLib"));
    EXPECT_EQ(p.type, 2);
    EXPECT_EQ(p.description, u("Worker library"));
    EXPECT_EQ(p.helpFile, u("help.chm"));
    EXPECT_EQ(p.title, u("My \"\"Title\"\"")); // quotes inside are left as written
    EXPECT_EQ(p.exeName32, u("Worker.dll"));
    EXPECT_EQ(p.path32, u("..\\bin"));
    EXPECT_EQ(p.startup, u("Sub Main"));
    EXPECT_EQ(p.helpContextId, 42);

    EXPECT_EQ(describe(p.members), QStringList({
                                       "Form||frmMain.frm|9",
                                       "Form||Forms\\frmAbout.frm|10",
                                       "Module|modMain|modMain.bas|11",
                                       "Module|mdSpaced|My Modules\\mdSpaced.bas|12",
                                       "Class|cWorker|..\\Shared\\cWorker.cls|13",
                                       "UserControl||ctlGrid.ctl|14",
                                       "PropertyPage||ppgGrid.pag|15",
                                       "UserDocument||docMain.dob|16",
                                       "Designer||DataReport1.Dsr|17",
                                       "RelatedDoc||readme.txt|18",
                                       "ResFile32||Project1.RES|19",
                                   }));
    EXPECT_EQ(describe(p.references),
              QStringList({
                  "G|{00020430-0000-0000-C000-000000000046}|2.0|0|C:\\WINNT\\system32\\stdole2.tlb|OLE Automation|2",
                  "G|{00000205-0000-0010-8000-00AA006D2EA4}|2.5|0|C:\\Program Files\\Common Files\\System\\ado\\msado25.tlb"
                  "|Microsoft ActiveX Data Objects 2.5 Library|3",
                  "G|{2A005C00-A5DE-11CF-9E66-00AA00A3F464}|10.1|9|..\\..\\DLL - OCX - EXE\\CSKernel.dll#< 2 CrowSoft | Kernel >|4",
                  "G|{F5078F18-C551-11D3-89B9-0000F81FE221}|1.10|0|MSVBVM60.DLL\\3||5",
                  "A||0.0|0|..\\CSInterfaces\\CSInterfaces.vbp||6",
              }));
    EXPECT_EQ(p.objects, QStringList({"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.1#0; MSCOMCTL.OCX",
                                      "*\\A..\\CSTextBox\\CSTextBox.vbp"}));

    QStringList keys;
    for (const auto &[k, v] : p.keys)
        keys << k;
    EXPECT_EQ(keys.size(), 33);
    EXPECT_EQ(keys.mid(19, 3), QStringList({"IconForm", "Startup", "HelpFile"}));
    EXPECT_EQ(p.keys.at(keys.indexOf("HelpContextID")).second, u("\"42\"")); // raw
    EXPECT_EQ(keys.last(), u("ThreadingModel"));
    EXPECT_TRUE(keys.contains(u("FavorPentiumPro(tm)")));

    ASSERT_EQ(p.sections.size(), 2u);
    EXPECT_EQ(p.sections[0].name, u("MS Transaction Server"));
    EXPECT_EQ(p.sections[0].keys, (QList<QPair<QString, QString>>{{"AutoRefresh", "1"}}));
    EXPECT_EQ(p.sections[0].line, 35);
    EXPECT_EQ(p.sections[1].keys, (QList<QPair<QString, QString>>{{"Setting", "a=b"}}));
}

TEST(ParseProject, TypeValues)
{
    const std::pair<const char *, int> cases[] = {
        {"Type=Exe", 0}, {"Type=OleExe", 1}, {"Type=OleDll", 2}, {"Type=Control", 3}, {"Name=\"X\"", 0}, {"type=oledll", 2},
    };
    for (const auto &[text, type] : cases) {
        std::vector<Diagnostic> diagnostics;
        EXPECT_EQ(parseProject(lines(text), u("p.vbp"), diagnostics).type, type) << text;
        EXPECT_TRUE(diagnostics.empty()) << text;
    }
    std::vector<Diagnostic> diagnostics;
    EXPECT_EQ(parseProject(lines("Type=Bogus"), u("p.vbp"), diagnostics).type, 0);
    EXPECT_EQ(describe(diagnostics), QStringList({"p.vbp:1"}));
}

TEST(ParseProject, MalformedLinesAreReportedAndSkipped)
{
    const char text[] = "Type=Exe\n"
                        "this line has no equals sign\n"
                        "=value without key\n"
                        "Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0\n"
                        "Reference=*\\G{00020430-0000-0000-C000-000000000046}#x.y#0#a.tlb#d\n"
                        "Reference=C:\\lib.tlb\n"
                        "Reference=*\\A\n"
                        "Module=NoName.bas\n"
                        "Form=\n"
                        "HelpContextID=\"abc\"\n"
                        "Form=frmOk.frm\n"
                        "\n"
                        "; a comment\n"
                        "Class=cOk; cOk.cls\n";
    std::vector<Diagnostic> diagnostics;
    const ProjectFile p = parseProject(lines(text), u("bad.vbp"), diagnostics);
    EXPECT_EQ(describe(diagnostics), QStringList({"bad.vbp:2", "bad.vbp:3", "bad.vbp:4", "bad.vbp:5", "bad.vbp:6",
                                                  "bad.vbp:7", "bad.vbp:8", "bad.vbp:9", "bad.vbp:10"}));
    EXPECT_EQ(describe(p.members), QStringList({"Module||NoName.bas|8", "Form||frmOk.frm|11", "Class|cOk|cOk.cls|14"}));
    EXPECT_TRUE(p.references.empty());
}

TEST(ParseProject, JapaneseProjectDecodedFirst)
{
    // Form=計算2.frm in cp932; 0x5C trail bytes must not split the path.
    const QByteArray bytes = encode(u("Type=Exe\r\nForm=表示\\ソフト.frm\r\nName=\"計算\"\r\n"), CodePage::Cp932);
    std::vector<Diagnostic> diagnostics;
    const ProjectFile p = parseProject(splitLines(decode(bytes, CodePage::Cp932)), u("計算.vbp"), diagnostics);
    EXPECT_TRUE(diagnostics.empty());
    EXPECT_EQ(describe(p.members), QStringList({u("Form||表示\\ソフト.frm|2")}));
    EXPECT_EQ(p.name, u("計算"));
}

TEST(ParseProject, GarbageIsCappedAndNeverFatal)
{
    QByteArray garbage;
    quint32 x = 7;
    for (int i = 0; i < 300000; ++i) {
        x = x * 1103515245 + 12345;
        const char c = char(x >> 16);
        garbage.append(c == '[' ? ' ' : c); // a stray [section] would swallow what follows
    }
    garbage += "\nForm=frmAfter.frm\n";
    garbage += QByteArray(500000, 'A') + "\n";
    std::vector<Diagnostic> diagnostics;
    const ProjectFile p = parseProject(splitLines(decode(garbage, CodePage::Cp1252)), u("junk.vbp"), diagnostics);
    EXPECT_LE(diagnostics.size(), 101u);
    EXPECT_EQ(diagnostics.back().line, 0); // the "more problems" summary
    ASSERT_FALSE(p.members.empty());
    EXPECT_EQ(p.members.back().path, u("frmAfter.frm"));
}

TEST(ParseReference, Fields)
{
    struct Case {
        const char *text;
        const char *expected; // nullptr = rejected
    } cases[] = {
        {"*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#OLE Automation",
         "G|{00020430-0000-0000-C000-000000000046}|2.0|0|stdole2.tlb|OLE Automation|0"},
        {"*\\G{X}#f.0#9#a b\\c.dll#", "G|{X}|15.0|9|a b\\c.dll||0"},
        {"*\\G{X}#1.a#0#path only", "G|{X}|1.10|0|path only||0"},
        {"*\\G{X}#FF.ff#409#p#d", "G|{X}|255.255|1033|p|d|0"},
        {"*\\g{x}#1.0#0#p#d", "G|{x}|1.0|0|p|d|0"},
        {"*\\A..\\Other Project\\X.vbp", "A||0.0|0|..\\Other Project\\X.vbp||0"},
        {"*\\G{X}#1#0#p#d", nullptr},
        {"*\\G{X}#1.0#zz#p#d", nullptr},
        {"*\\G#1.0#0#p#d", nullptr},
        {"*\\G{X}", nullptr},
        {"{X}#1.0#0; MSCOMCTL.OCX", nullptr},
    };
    for (const Case &c : cases) {
        ReferenceLine r;
        QString error;
        const bool ok = parseReference(u(c.text), r, &error);
        EXPECT_EQ(ok, c.expected != nullptr) << c.text;
        if (ok && c.expected)
            EXPECT_EQ(describe(std::vector<ReferenceLine>{r}), QStringList({u(c.expected)})) << c.text;
        else
            EXPECT_FALSE(error.isEmpty()) << c.text;
    }
}

TEST(ParseGroup, StartupFirstAndEachProjectOnce)
{
    struct Case {
        const char *what;
        const char *text;
        const char *startup;
        QStringList projects;
        QStringList diagnostics;
    } cases[] = {
        {"startup before projects", "VBGROUP 5.0\r\nStartupProject=KBasicTest.vbp\r\nProject=KBasic.vbp\r\nProject=..\\Shared\\Lib.vbp\r\n",
         "KBasicTest.vbp", {"KBasicTest.vbp", "KBasic.vbp", "..\\Shared\\Lib.vbp"}, {}},
        {"startup after projects", "VBGROUP 5.0\nProject=A\\a.vbp\nProject=b.vbp\nStartupProject=c.vbp\n",
         "c.vbp", {"c.vbp", "A\\a.vbp", "b.vbp"}, {}},
        {"startup repeated as a project", "VBGROUP 5.0\nProject=a.vbp\nStartupProject=B.vbp\nProject=b.vbp\n",
         "B.vbp", {"B.vbp", "a.vbp"}, {}},
        {"duplicates in other case and slashes", "VBGROUP 5.0\nProject=Sub\\A.vbp\nProject=sub/a.VBP\nProject=x.vbp\n",
         "", {"Sub\\A.vbp", "x.vbp"}, {}},
        {"no startup project", "VBGROUP 5.0\nProject=a.vbp\n", "", {"a.vbp"}, {}},
        {"missing header", "Project=a.vbp\n", "", {"a.vbp"}, {"g.vbg:1"}},
        {"second startup ignored", "VBGROUP 5.0\nStartupProject=a.vbp\nStartupProject=b.vbp\n", "a.vbp", {"a.vbp"}, {"g.vbg:3"}},
        {"malformed line", "VBGROUP 5.0\nrubbish\nProject=a.vbp\n", "", {"a.vbp"}, {"g.vbg:2"}},
        {"no projects", "VBGROUP 5.0\n", "", {}, {"g.vbg:0"}},
        {"empty file", "", "", {}, {"g.vbg:0", "g.vbg:0"}},
    };
    for (const Case &c : cases) {
        std::vector<Diagnostic> diagnostics;
        const GroupFile g = parseGroup(lines(c.text), u("g.vbg"), diagnostics);
        EXPECT_EQ(g.startupProject, u(c.startup)) << c.what;
        EXPECT_EQ(g.projects, c.projects) << c.what;
        EXPECT_EQ(describe(diagnostics), c.diagnostics) << c.what;
    }
}
