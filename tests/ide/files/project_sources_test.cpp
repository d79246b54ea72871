#include "ide/files/project_sources.h"

#include "test_printers.h"

#include <gtest/gtest.h>

using namespace ide::files;

namespace {

QString u(const char *utf8) { return QString::fromUtf8(utf8); }
QByteArray sjis(const char *utf8) { return encode(u(utf8), CodePage::Cp932); }

QStringList describe(const std::vector<Diagnostic> &diagnostics)
{
    QStringList out;
    for (const Diagnostic &d : diagnostics)
        out << QStringLiteral("%1:%2: %3").arg(d.file).arg(d.line).arg(d.message);
    return out;
}

QStringList memberPaths(const ProjectSources &s)
{
    QStringList out;
    for (const auto &m : s.members)
        out << QStringLiteral("%1=%2 (%3 bytes)").arg(m.line.key, m.path).arg(m.bytes.size());
    return out;
}

const QByteArray AsciiForm = "VERSION 5.00\r\nBegin VB.Form Form1\r\nEnd\r\nAttribute VB_Name = \"Form1\"\r\n";

} // namespace

TEST(ReadProjectSources, JapaneseFileNamesDecideWhenContentCannot)
{
    // Only one file name is non-ASCII; on disk the names are UTF-8, as after a git checkout.
    MemoryFileSystem fs;
    fs.add(u("/jp/π.vbp"), sjis("Type=Exe\r\nForm=π.frm\r\nName=\"Project1\"\r\n"));
    fs.add(u("/jp/π.frm"), AsciiForm);
    std::vector<Diagnostic> diagnostics;
    const auto s = readProjectSources(fs, u("/jp/π.vbp"), CodePage::Auto, diagnostics);
    ASSERT_TRUE(s);
    EXPECT_EQ(describe(diagnostics), QStringList());
    EXPECT_EQ(s->codePage, CodePage::Cp932);
    EXPECT_EQ(memberPaths(*s), QStringList({u("Form=/jp/π.frm (69 bytes)")}));
}

TEST(ReadProjectSources, ContentDecidesAmongEqualNames)
{
    MemoryFileSystem fs;
    fs.add(u("/p/P.vbp"), "Type=Exe\r\nForm=Form1.frm\r\nModule=M; M.bas\r\n");
    fs.add(u("/p/Form1.frm"), AsciiForm);
    fs.add(u("/p/M.bas"), sjis("Attribute VB_Name = \"M\"\r\n' 表示する前に確認する\r\nMsgBox \"ファイルを開けません\"\r\n"));
    std::vector<Diagnostic> diagnostics;
    auto s = readProjectSources(fs, u("/p/P.vbp"), CodePage::Auto, diagnostics);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->codePage, CodePage::Cp932);

    s = readProjectSources(fs, u("/p/P.vbp"), CodePage::Cp1252, diagnostics); // the user's choice wins
    ASSERT_TRUE(s);
    EXPECT_EQ(s->codePage, CodePage::Cp1252);
    EXPECT_EQ(describe(diagnostics), QStringList());
}

TEST(ReadProjectSources, MissingWrongCaseAndDirectoryMembers)
{
    MemoryFileSystem fs;
    fs.add(u("/w/proj/P.vbp"), "Type=Exe\r\n"
                               "Form=FORMS\\main.FRM\r\n"
                               "Form=Locked.frm\r\n"
                               "Module=Gone; Gone.bas\r\n"
                               "Class=cLib; ..\\shared\\CLIB.cls\r\n"
                               "Designer=Reports\r\n"
                               "RelatedDoc=readme.TXT\r\n"
                               "ResFile32=\"missing.res\"\r\n");
    fs.add(u("/w/proj/Forms/Main.frm"), AsciiForm);
    fs.add(u("/w/shared/cLib.cls"), "VERSION 1.0 CLASS\r\n");
    fs.addDirectory(u("/w/proj/Reports"));
    fs.add(u("/w/proj/README.txt"), "never read");
    fs.add(u("/w/proj/Locked.frm"), AsciiForm);
    fs.setReadError(u("/w/proj/Locked.frm"), u("Permission denied"));
    std::vector<Diagnostic> diagnostics;
    const auto s = readProjectSources(fs, u("/w/proj/P.vbp"), CodePage::Auto, diagnostics);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->codePage, CodePage::Cp1252);
    EXPECT_EQ(memberPaths(*s), QStringList({"Form=/w/proj/Forms/Main.frm (69 bytes)", "Class=/w/shared/cLib.cls (19 bytes)",
                                            "RelatedDoc=/w/proj/README.txt (0 bytes)"}));
    EXPECT_EQ(describe(diagnostics),
              QStringList({"/w/proj/P.vbp:3: The file 'Locked.frm' could not be loaded: Permission denied",
                           "/w/proj/P.vbp:4: The file 'Gone.bas' could not be loaded: No such file",
                           "/w/proj/P.vbp:6: The file 'Reports' could not be loaded: Is a directory",
                           "/w/proj/P.vbp:8: The file 'missing.res' could not be loaded: No such file"}));
}

TEST(ReadProjectSources, UnreadableProjectFile)
{
    MemoryFileSystem fs;
    fs.addDirectory(u("/x/Dir.vbp"));
    std::vector<Diagnostic> diagnostics;
    EXPECT_FALSE(readProjectSources(fs, u("/x/Dir.vbp"), CodePage::Auto, diagnostics));
    EXPECT_FALSE(readProjectSources(fs, u("/x/None.vbp"), CodePage::Auto, diagnostics));
    EXPECT_EQ(describe(diagnostics), QStringList({"/x/Dir.vbp:0: The project file could not be loaded: Is a directory",
                                                  "/x/None.vbp:0: The project file could not be loaded: No such file"}));
}

TEST(ReadGroupSources, StartupFirstMissingSkipped)
{
    MemoryFileSystem fs;
    fs.add(u("/g/電車.vbg"), sjis("VBGROUP 5.0\r\nProject=線路\\線路.vbp\r\nProject=Gone.vbp\r\nStartupProject=電車.vbp\r\n"
                                  "Project=.\\電車.VBP\r\n"));
    fs.add(u("/g/電車.vbp"), "Type=Exe\r\n");
    fs.add(u("/g/線路/線路.vbp"), "Type=OleDll\r\n");
    std::vector<Diagnostic> diagnostics;
    const auto s = readGroupSources(fs, u("/g/電車.vbg"), CodePage::Auto, diagnostics);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->codePage, CodePage::Cp932);
    EXPECT_EQ(s->projectPaths, QStringList({u("/g/電車.vbp"), u("/g/線路/線路.vbp")}));
    EXPECT_EQ(s->startupPath, u("/g/電車.vbp"));
    EXPECT_EQ(describe(diagnostics), QStringList({u("/g/電車.vbg:3: The project 'Gone.vbp' could not be found")}));
}

TEST(DecodeLines, ReportsInvalidBytesAndLongLines)
{
    const QByteArray bytes = "ok\r\n" + QByteArray(1024, 'x') + "\r\nbad \x85\x40 here\r\n" + QByteArray(1023, 'y');
    std::vector<Diagnostic> diagnostics;
    const QStringList lines = decodeLines(bytes, CodePage::Cp932, u("m.bas"), diagnostics);
    EXPECT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[2], u("bad \uFFFD here"));
    EXPECT_EQ(describe(diagnostics), QStringList({"m.bas:3: 1 invalid byte sequence(s) for cp932, shown as U+FFFD",
                                                  "m.bas:2: Line too long (1024 characters; VB allows 1023)"}));
}

// Module files decode into one buffer: the same lines and the same diagnostics, the line of the
// first invalid sequence found from the buffer's offsets (empty lines before it included).
TEST(DecodeLines, OneBufferGivesTheSameLinesAndDiagnostics)
{
    const QByteArray cases[] = {
        "ok\r\n\r\n\r\nbad \x85\x40 here\r\n\r\nagain \x81\r\n",
        "\x85\x40 on the first line",
        "x\r\n" + QByteArray(1024, 'x') + "\r\n\x82\xA0" + QByteArray(1030, 'y') + QByteArray("\r\nnul\0inside\r\nend\0\0\0", 20),
        QByteArray("\0\0\0\0", 4),
        QByteArray(),
    };
    for (const QByteArray &bytes : cases) {
        for (CodePage cp : {CodePage::Cp932, CodePage::Cp1252, CodePage::Utf8, CodePage::Auto}) {
            std::vector<Diagnostic> fromList, fromBuffer;
            const QStringList lines = decodeLines(bytes, cp, u("m.bas"), fromList);
            const TextLines buffer = decodeTextLines(bytes, cp, u("m.bas"), fromBuffer);
            EXPECT_EQ(buffer.toStringList(), lines) << bytes.toStdString();
            EXPECT_EQ(describe(fromBuffer), describe(fromList)) << bytes.toStdString();
        }
    }
    // Past the line cap: the same cut and the same message.
    QByteArray many;
    for (qsizetype k = 0; k < MaxFileLines + 3; ++k)
        many += "a\n";
    std::vector<Diagnostic> fromList, fromBuffer;
    EXPECT_EQ(decodeTextLines(many, CodePage::Cp1252, u("m.bas"), fromBuffer).size(), MaxFileLines);
    decodeLines(many, CodePage::Cp1252, u("m.bas"), fromList);
    EXPECT_EQ(describe(fromBuffer), describe(fromList));
    EXPECT_EQ(fromBuffer.size(), 1u);
}

namespace {

/// What a module's load yields that the component list and the diagnostics show.
QString loadedHeader(const ModuleFile &m, const std::vector<Diagnostic> &diagnostics)
{
    QStringList attributes;
    for (const auto &a : m.attributes)
        attributes << a.first + u("=") + a.second;
    return QStringLiteral("kind %1 name %2 designer %3 root %4 (%5 controls) objects %6 code from %7 attributes %8 | %9")
        .arg(int(m.kind))
        .arg(m.vbName, m.designerId, m.root.name)
        .arg(m.root.children.size())
        .arg(m.objects.join(u(",")))
        .arg(m.codeFirstFileLine)
        .arg(attributes.join(u(",")), describe(diagnostics).join(u(" / ")));
}

} // namespace

// A module read only as far as its header gives what reading it all gives, diagnostics included;
// whenever that cannot be told from the header, it is not read that way at all.
TEST(SkimModule, GivesTheWholeFilesHeaderOrNothing)
{
    QByteArray bigForm = "VERSION 5.00\r\nObject = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; \"mscomctl.ocx\"\r\n"
                         "Begin VB.Form frmBig\r\n   Caption = \"Big\"\r\n";
    for (int k = 0; k < 150; ++k) // past the first tries at the header's end
        bigForm += "   Begin VB.CommandButton cmd" + QByteArray::number(k) + "\r\n      Caption = \"x\"\r\n   End\r\n";
    bigForm += "   Begin VB.Label lbl\r\n      Bogus Line\r\n   End\r\nEnd\r\nAttribute VB_Name = \"frmBig\"\r\n"
               "Attribute VB_GlobalNameSpace = False\r\nOption Explicit\r\nSub A()\r\n";
    QByteArray pastTheCap = "Attribute VB_Name = \"Many\"\r\n";
    pastTheCap += QByteArray("a\n").repeated(MaxFileLines);
    QByteArray exactly64; // the attributes end just where the first try ends
    for (int k = 0; k < 63; ++k)
        exactly64 += "Attribute VB_Ext_KEY" + QByteArray::number(k) + " = \"x\"\r\n";
    exactly64 += "Attribute VB_Name = \"Late\"\r\nSub B()\r\nEnd Sub\r\n";
    const struct {
        const char *what;
        QByteArray bytes;
        CodePage cp;
        bool skimmed;
    } cases[] = {
        {"module", "Attribute VB_Name = \"Util\"\r\nOption Explicit\r\nSub A()\r\n  x = 1\r\n", CodePage::Cp1252, true},
        {"class", "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\nAttribute VB_Name = \"cThing\"\r\n"
                  "Attribute VB_Exposed = False\r\nPrivate m As Long\r\n", CodePage::Cp1252, true},
        {"form of many controls with a bad line", bigForm, CodePage::Cp1252, true},
        {"attributes to the 64th line", exactly64, CodePage::Cp1252, true},
        {"nothing but attributes", "Attribute VB_Name = \"Only\"\r\nAttribute VB_Creatable = False", CodePage::Cp1252, true},
        {"Japanese comments", sjis("Attribute VB_Name = \"表示\"\r\n' 日本語のコメント\r\nSub ｶﾅ()\r\nEnd Sub\r\n"),
         CodePage::Cp932, true},
        {"empty", "", CodePage::Cp1252, true},
        {"unterminated designer", "VERSION 5.00\r\nBegin VB.Form F\r\n   Caption = \"x\"\r\n", CodePage::Cp1252, true},
        {"name further down", "Option Explicit\r\nAttribute VB_Name = \"Down\"\r\n" + QByteArray(200, '\n'),
         CodePage::Cp1252, false},
        {"NUL", QByteArray("Attribute VB_Name = \"N\"\r\nx\0y\r\n", 27), CodePage::Cp1252, false},
        {"line too long", "Attribute VB_Name = \"L\"\r\n" + QByteArray(1024, 'x') + "\r\n", CodePage::Cp1252, false},
        {"longest line allowed", "Attribute VB_Name = \"L\"\r\n" + QByteArray(1023, 'x'), CodePage::Cp1252, true},
        {"lone CR", "Attribute VB_Name = \"C\"\rSub A()\r\n", CodePage::Cp1252, false},
        {"invalid cp932", "Attribute VB_Name = \"I\"\r\n' bad \x85\x40 here\r\n", CodePage::Cp932, false},
        {"lead byte before a line break", "Attribute VB_Name = \"I\"\r\n' cut \x82\r\nx\r\n", CodePage::Cp932, false},
        {"UTF-8", "Attribute VB_Name = \"U\"\r\n' caf\xC3\xA9\r\n", CodePage::Utf8, false},
        {"past the line cap", pastTheCap, CodePage::Cp1252, false},
    };
    for (const auto &c : cases) {
        std::vector<Diagnostic> whole, skim;
        const MixedLines lines = decodeMixedLines(c.bytes, c.cp, u("/p/m.frm"), whole);
        const ModuleFile full = parseModule(lines, u("/p/m.frm"), whole);
        const std::optional<ModuleFile> header = skimModule(c.bytes, c.cp, u("/p/m.frm"), skim);
        ASSERT_EQ(header.has_value(), c.skimmed) << c.what;
        if (header)
            EXPECT_EQ(loadedHeader(*header, skim), loadedHeader(full, whole)) << c.what;
        else
            EXPECT_TRUE(skim.empty()) << c.what;
    }
}
