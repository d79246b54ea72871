// Modules whose code is built when first asked for: the bytes test that lets a search pass a
// module by, and loads that give what a whole load gives.
#include "ide/code/text_match.h"
#include "ide/shell/impl.h"
#include "ide/shell/raw_text.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using ide::files::CodePage;

namespace {

QString u(const char *utf8) { return QString::fromUtf8(utf8); }

/// Whether some line of `bytes` decoded with `cp` holds `needle` under Find's case folding.
bool decodedHolds(const QByteArray &bytes, CodePage cp, const QString &needle)
{
    return ide::code::folded(ide::files::decode(bytes, cp)).contains(ide::code::folded(needle));
}

/// Each component as a search and a reader of the code see it.
std::string described(const std::vector<host::Ptr<host::VBProject>> &projects)
{
    QStringList out;
    for (const auto &project : projects) {
        auto components = project->vbComponents();
        for (int c = 1; c <= components->count(); ++c) {
            auto component = components->item(c);
            out << component->name() + u(" ") + QString::number(int(component->type()));
            std::shared_ptr<host::CodeModule> module;
            if (!host::resumeNext([&] { module = component->codeModule(); }) || !module)
                continue;
            for (const char *text : {"Sub", "zzz_nowhere", "Caption"}) {
                int a = 1, b = 1, e = -1, f = -1;
                out << QString::number(module->find(u(text), a, b, e, f, false, false, false)) + u(":")
                           + QString::number(a) + u(",") + QString::number(b);
            }
            const int n = module->countOfLines();
            out << QString::number(n) + u(" ") + QString::number(module->countOfDeclarationLines());
            for (int line = 1; line <= n; ++line) {
                host::ProcKind kind = host::ProcKind::Proc;
                out << module->lines(line, 1) + u(" | ") + module->procOfLine(line, kind);
            }
        }
    }
    return out.join(u("\n")).toStdString();
}

std::multiset<std::string> diagnosticSet(const ide::Ide &ide)
{
    std::multiset<std::string> out;
    for (const auto &d : ide.diagnostics())
        out.insert(QStringLiteral("%1:%2: %3").arg(d.file).arg(d.line).arg(d.message).toStdString());
    return out;
}

} // namespace

TEST(RawText, MayHoldIsNeverWrongAboutAMatch)
{
    // Bytes that make trail bytes, lone lead bytes, letters and Latin-1 letters next to each other.
    const QByteArray alphabet = QByteArray("aAbBsSkK _\r\n@", 13) + "\x82\xA0\x81\x40\x8B\x89\xE9\xC5\xBF\xE2\x84\xAA";
    const QString needles[] = {u("ab"), u("Sk"), u("b@"), u("a a"), u("K"), u("s_s"), u("abababababababababab")};
    QRandomGenerator random(7);
    int held = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes;
        const int length = int(random.bounded(60));
        for (int k = 0; k < length; ++k)
            bytes += alphabet[int(random.bounded(alphabet.size()))];
        for (CodePage cp : {CodePage::Cp932, CodePage::Cp1252, CodePage::Cp1251, CodePage::Utf8}) {
            for (const QString &needle : needles) {
                if (decodedHolds(bytes, cp, needle)) {
                    ++held;
                    ASSERT_TRUE(ide::mayHold(bytes, cp, needle, false))
                        << bytes.toHex().toStdString() << " " << int(cp) << " " << needle.toStdString();
                }
            }
        }
    }
    EXPECT_GT(held, 1000);

    // What it can tell: a match at either end of a 16-byte block and past it, in any letter case.
    QByteArray text(100, '.');
    text.replace(15, 6, "WiDgEt");
    EXPECT_TRUE(ide::mayHold(text, CodePage::Cp1252, u("widget"), false));
    EXPECT_TRUE(ide::mayHold(QByteArray(94, '.') + "WIDGET", CodePage::Cp932, u("Widget"), false));
    EXPECT_FALSE(ide::mayHold(QByteArray(94, '.') + "WIDGE", CodePage::Cp932, u("Widget"), false));
    EXPECT_FALSE(ide::mayHold(text, CodePage::Cp1252, u("widgets"), false));
    EXPECT_FALSE(ide::mayHold("wid", CodePage::Cp1251, u("widget"), false));
    // What it leaves to the search: patterns, other text than ASCII, UTF-8 ("\u017F" folds to 's').
    EXPECT_TRUE(ide::mayHold(text, CodePage::Cp1252, u("w*t"), true));
    EXPECT_TRUE(ide::mayHold(text, CodePage::Cp932, u("表示"), false));
    EXPECT_TRUE(ide::mayHold("\xC5\xBF", CodePage::Utf8, u("s"), false));
}

// A project loaded with every module's code left for later reads as one loaded whole: the same
// components, finds, lines and procedures, and once all is built, the same diagnostics.
TEST(CodeOnDemand, ReadsAsAWholeLoad)
{
    const QString group = QStringLiteral(TESSARY_SOURCE_DIR "/examples/Tessary.vbg");
    ide::Ide whole;
    const std::string expected = described(whole.load(group));
    ide::Ide onDemand;
    onDemand.setCodeOnDemand(u("zzz_nowhere"));
    const std::string got = described(onDemand.load(group));
    EXPECT_EQ(got, expected);
    EXPECT_EQ(diagnosticSet(onDemand), diagnosticSet(whole));
}

// What building later changes is when code diagnostics come: a module a search passes by says
// nothing of its missing End Sub until its code is read; files with what decoding reports, and
// modules the test lets through, are built at load.
TEST(CodeOnDemand, CodeDiagnosticsComeWithTheCode)
{
    auto fs = std::make_shared<ide::files::MemoryFileSystem>();
    fs->add(u("/p/a.bas"), "Attribute VB_Name = \"A\"\r\nSub UsesWidget()\r\n  Widget.Show\r\n");
    fs->add(u("/p/b.bas"), "Attribute VB_Name = \"B\"\r\nSub Broken()\r\n  x = 1\r\n");
    fs->add(u("/p/c.bas"), QByteArray("Attribute VB_Name = \"C\"\r\nSub Nul()\r\n  x\0 = 1\r\n", 41));
    fs->add(u("/p/P.vbp"), "Type=Exe\r\nName=\"P\"\r\nModule=A; a.bas\r\nModule=B; b.bas\r\nModule=C; c.bas\r\n");
    ide::Ide ide(fs);
    ide.setCodeOnDemand(u("widget"));
    auto projects = ide.load(u("/p/P.vbp"));
    ASSERT_EQ(projects.size(), 1u);
    auto diagnostics = [&] {
        QStringList out;
        for (const auto &d : ide.diagnostics())
            out << QStringLiteral("%1:%2: %3").arg(d.file.section(u'/', -1)).arg(d.line).arg(d.message);
        return out.join(u("\n")).toStdString();
    };
    EXPECT_EQ(diagnostics(), "a.bas:2: End Sub missing for UsesWidget\n"
                             "c.bas:3: NUL bytes in the text (first on this line): the file may be damaged\n"
                             "c.bas:2: End Sub missing for Nul");
    auto b = projects[0]->vbComponents()->item(u("B"))->codeModule();
    int line = 1, column = 1, endLine = -1, endColumn = -1;
    EXPECT_FALSE(b->find(u("widget"), line, column, endLine, endColumn, true, false, false));
    EXPECT_EQ(diagnostics().find("Broken"), std::string::npos);
    EXPECT_EQ(b->countOfLines(), 2);
    EXPECT_NE(diagnostics().find("b.bas:2: End Sub missing for Broken"), std::string::npos) << diagnostics();
    EXPECT_TRUE(b->find(u("x = 1"), line, column, endLine, endColumn, false, false, false));
    EXPECT_EQ(line, 2);
}

// The code is read from the file when it is asked for: a file changed since the load is read as
// it is now, with a word of it; one that can no longer be read leaves the module without code.
TEST(CodeOnDemand, FilesChangedOrGoneSinceTheLoad)
{
    auto fs = std::make_shared<ide::files::MemoryFileSystem>();
    const QByteArray d = "Attribute VB_Name = \"D\"\r\nSub Same()\r\nEnd Sub\r\n";
    fs->add(u("/p/d.bas"), d);
    fs->add(u("/p/e.bas"), "Attribute VB_Name = \"E\"\r\nSub Before()\r\nEnd Sub\r\n");
    fs->add(u("/p/f.bas"), "Attribute VB_Name = \"F\"\r\nSub Gone()\r\nEnd Sub\r\n");
    fs->add(u("/p/g.bas"), "Attribute VB_Name = \"G\"\r\nSub Aaaa()\r\nEnd Sub\r\n");
    fs->add(u("/p/P.vbp"), "Type=Exe\r\nName=\"P\"\r\nModule=D; d.bas\r\nModule=E; e.bas\r\nModule=F; f.bas\r\n"
                           "Module=G; g.bas\r\n");
    ide::Ide ide(fs);
    ide.setCodeOnDemand(u("widget"));
    auto projects = ide.load(u("/p/P.vbp"));
    ASSERT_EQ(projects.size(), 1u);
    ASSERT_TRUE(ide.diagnostics().empty());
    fs->add(u("/p/e.bas"), "Attribute VB_Name = \"E\"\r\n' widget\r\nSub After()\r\n");
    fs->setReadError(u("/p/f.bas"), u("Permission denied"));
    fs->add(u("/p/g.bas"), "Attribute VB_Name = \"G\"\r\nSub Bbbb()\r\nEnd Sub\r\n"); // as long as before
    auto components = projects[0]->vbComponents();
    int line = 1, column = 1, endLine = -1, endColumn = -1;
    // A search for another text reads the files again: the unchanged one still cannot hold it.
    EXPECT_FALSE(components->item(u("D"))->codeModule()->find(u("After"), line, column, endLine, endColumn, false,
                                                               false, false));
    EXPECT_TRUE(components->item(u("E"))->codeModule()->find(u("After"), line, column, endLine, endColumn, false,
                                                              false, false));
    EXPECT_EQ(line, 2);
    EXPECT_EQ(components->item(u("D"))->codeModule()->lines(1, 2), u("Sub Same()\r\nEnd Sub"));
    EXPECT_EQ(components->item(u("F"))->codeModule()->countOfLines(), 0);
    EXPECT_EQ(components->item(u("G"))->codeModule()->lines(1, 1), u("Sub Bbbb()"));
    QStringList messages;
    for (const auto &diagnostic : ide.diagnostics())
        messages << QStringLiteral("%1:%2: %3").arg(diagnostic.file, QString::number(diagnostic.line), diagnostic.message);
    EXPECT_EQ(messages, QStringList({u("/p/e.bas:0: Changed since the project was loaded: its code is read as the file is now"),
                                     u("/p/e.bas:3: End Sub missing for After"),
                                     u("/p/f.bas:0: The file could not be read again for its code: Permission denied"),
                                     u("/p/g.bas:0: Changed since the project was loaded: its code is read as the file is now")}));
}
