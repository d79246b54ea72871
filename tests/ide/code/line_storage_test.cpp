// Pane lines are stored one byte a unit when ASCII and in UTF-16 otherwise: every answer must
// be the same whichever form a line has, at the forms' boundaries too (Find: find_test.cpp).
#include "code_fixture.h"
#include "ide/code/module_code.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <span>
#include <tuple>
#include <vector>

using code_test::boundaryLines;
using ide::code::ModuleCode;

TEST(LineStorage, EveryFormGivesBackItsLines)
{
    const QStringList input = boundaryLines();
    const ModuleCode m(input, 5);
    QStringList expected = input;
    const qsizetype hidden = expected.indexOf(QStringLiteral("Attribute Foo.VB_Description = \"ÅÄ\""));
    expected.removeAt(hidden);
    ASSERT_EQ(m.countOfLines(), expected.size());
    for (int l = 1; l <= m.countOfLines(); ++l) {
        EXPECT_EQ(m.line(l), expected[l - 1]) << l;
        EXPECT_EQ(m.lineLength(l), expected[l - 1].size()) << l;
        EXPECT_EQ(m.fileLineOf(l), 5 + (l - 1) + (l - 1 >= hidden ? 1 : 0)) << l;
    }
    EXPECT_EQ(m.lines(1, m.countOfLines()), expected.join(QStringLiteral("\r\n")));
    EXPECT_EQ(m.lines(2, 3), expected.mid(1, 3).join(QStringLiteral("\r\n")));
}

TEST(LineStorage, HoldsFewBytesPerModuleByte)
{
    // A module of typical code with a Japanese comment now and then, counted as cp932 bytes:
    // one a unit below U+0080, two above.
    std::mt19937 random(3);
    QStringList lines{QStringLiteral("Attribute VB_Name = \"Module1\""), QStringLiteral("Option Explicit")};
    qint64 bytes = 0;
    for (int k = 0; k < 4000; ++k) {
        QString line = QStringLiteral("    m_Customer%1 = lngOrderTotal%2 + Price(%3)")
                           .arg(random() % 300)
                           .arg(random() % 300)
                           .arg(random() % 50);
        if (k % 25 == 0)
            line += QStringLiteral(" ' 受注ﾃﾞｰﾀを更新する");
        lines << line;
    }
    for (const QString &line : std::as_const(lines)) {
        bytes += 2;
        for (QChar c : line)
            bytes += c.unicode() < 0x80 ? 1 : 2;
    }
    const ModuleCode m(lines, 1);
    EXPECT_LT(double(m.memoryUsage()), 4.0 * double(bytes));
    // and more than the text alone: the figure counts what is held
    EXPECT_GT(double(m.memoryUsage()), double(bytes));
}

namespace {

/// Every answer of `m` is that of `expected`.
void expectSameModule(const ModuleCode &m, const ModuleCode &expected)
{
    ASSERT_EQ(m.countOfLines(), expected.countOfLines());
    EXPECT_EQ(m.lines(1, m.countOfLines()), expected.lines(1, expected.countOfLines()));
    for (int l = 1; l <= m.countOfLines(); ++l) {
        EXPECT_EQ(m.lineLength(l), expected.lineLength(l)) << l;
        EXPECT_EQ(m.fileLineOf(l), expected.fileLineOf(l)) << l;
    }
    EXPECT_EQ(m.countOfDeclarationLines(), expected.countOfDeclarationLines());
    ASSERT_EQ(m.procedures().size(), expected.procedures().size());
    for (size_t k = 0; k < m.procedures().size(); ++k) {
        const auto &a = m.procedures()[k];
        const auto &b = expected.procedures()[k];
        EXPECT_EQ(std::tie(a.name, a.kind, a.startLine, a.bodyLine, a.countLines, a.endLine),
                  std::tie(b.name, b.kind, b.startLine, b.bodyLine, b.countLines, b.endLine));
    }
    ASSERT_EQ(m.members().size(), expected.members().size());
    for (size_t k = 0; k < m.members().size(); ++k)
        EXPECT_EQ(std::tie(m.members()[k].name, m.members()[k].codeLocation, m.members()[k].description),
                  std::tie(expected.members()[k].name, expected.members()[k].codeLocation,
                           expected.members()[k].description));
    ASSERT_EQ(m.diagnostics().size(), expected.diagnostics().size());
    for (size_t k = 0; k < m.diagnostics().size(); ++k)
        EXPECT_EQ(std::tie(m.diagnostics()[k].fileLine, m.diagnostics()[k].message),
                  std::tie(expected.diagnostics()[k].fileLine, expected.diagnostics()[k].message));
    EXPECT_EQ(m.memoryUsage(), expected.memoryUsage());

}

} // namespace

TEST(LineStorage, LinesFromOneBufferReadAsALineList)
{
    // The loader hands a module's decoded file as one buffer and the offsets of its code lines
    // (the header block before them skipped): every answer must be that of the same lines
    // given one by one.
    QStringList code = code_test::boundaryLines();
    code.prepend(QStringLiteral("Attribute VB_Name = \"Mod\""));
    code << QStringLiteral("Private m_x As Long, 受注 As String") << QStringLiteral("Public Sub Foo(ByVal a _")
         << QStringLiteral("    , b)") << QStringLiteral("    ' ﾃﾞｰﾀ") << QStringLiteral("End Sub")
         << QStringLiteral("Function Bar()") << QString() << QStringLiteral("Sub Baz()");
    const QStringList header{QStringLiteral("VERSION 1.0 CLASS"), QStringLiteral("BEGIN"), QStringLiteral("END")};
    QString text;
    std::vector<std::uint32_t> starts;
    for (const QString &line : header + code) {
        starts.push_back(std::uint32_t(text.size()));
        text += line;
    }
    starts.push_back(std::uint32_t(text.size()));

    const ModuleCode expected(code, 4);
    const ModuleCode m(text, std::span<const std::uint32_t>(starts).subspan(header.size()), 4);
    EXPECT_FALSE(expected.diagnostics().empty()); // Function Bar and Sub Baz lack their End
    expectSameModule(m, expected);

    // No code lines at all: the offsets of an empty part.
    const ModuleCode empty(text, std::span<const std::uint32_t>(starts).last(1), 9);
    EXPECT_EQ(empty.countOfLines(), 0);
}

TEST(LineStorage, AsciiLinesGivenAsBytesReadAsTheSameLines)
{
    // The loader gives ASCII lines as the file's bytes and the others in UTF-16. Logical lines
    // run across both forms, across hidden attribute lines, and far past any one line's length.
    QStringList code = code_test::boundaryLines();
    code.prepend(QStringLiteral("Attribute VB_Name = \"Mod\""));
    code << QStringLiteral("Public Sub Foo(ByVal a _") << QStringLiteral("    , 受注 _")
         << QStringLiteral("Attribute Foo.VB_UserMemId = 0") << QStringLiteral("    , b)")
         << QStringLiteral("  x = \"é\" : y = 2 ' note _") << QStringLiteral("    continued comment")
         << QStringLiteral("End Sub") << QStringLiteral("Private Type T") << QStringLiteral("  a As Long");
    QString longLine = QStringLiteral("Const C = 1");
    for (int k = 0; k < 200; ++k) {
        code << longLine + QStringLiteral(" + _");
        longLine = QStringLiteral("    %1").arg(k);
    }
    code << longLine << QStringLiteral("Sub Baz()") << QStringLiteral("  Dim z As String: z = \"ﾃﾞｰﾀ\"");

    std::vector<QByteArray> narrow(size_t(code.size()));
    std::vector<ModuleCode::SourceLine> lines;
    int asciiLines = 0;
    for (qsizetype k = 0; k < code.size(); ++k) {
        const QString &line = code[k];
        bool ascii = true;
        for (QChar c : line)
            ascii = ascii && c.unicode() < 0x80;
        if (ascii) {
            narrow[size_t(k)] = line.toLatin1();
            lines.push_back({narrow[size_t(k)].constData(), line.size(), true});
            ++asciiLines;
        } else {
            lines.push_back({line.utf16(), line.size(), false});
        }
    }
    ASSERT_GT(asciiLines, 200);
    ASSERT_LT(asciiLines, code.size());
    const ModuleCode expected(code, 7);
    EXPECT_GE(expected.diagnostics().size(), 3u) << "continuations, End Type and End Sub missing";
    const ModuleCode m(lines, 7);
    expectSameModule(m, expected);
    for (int l = 1; l <= m.countOfLines(); ++l)
        EXPECT_EQ(m.line(l), expected.line(l)) << l;
    for (const char *target : {"受注", "continued", "199", "ﾃﾞｰﾀ"}) {
        int a1 = 100, b1 = 1, c1 = -1, d1 = -1, a2 = 100, b2 = 1, c2 = -1, d2 = -1;
        const QString t = QString::fromUtf8(target);
        EXPECT_EQ(m.find(t, a1, b1, c1, d1), expected.find(t, a2, b2, c2, d2)) << target;
        EXPECT_EQ(std::tie(a1, b1, c1, d1), std::tie(a2, b2, c2, d2)) << target;
    }
}

TEST(LineStorage, ProceduresAndDiagnosticsDoNotDependOnTheLinesForm)
{
    // The same pure-ASCII module given as bytes and as UTF-16: headers, End statements, Type
    // blocks, continuations and missing Ends at every indent across the lexer's block sizes.
    QStringList code{QStringLiteral("Attribute VB_Name = \"Mod\""), QStringLiteral("Option Explicit")};
    for (int indent = 0; indent <= 33; ++indent) {
        const QString pad(indent, u' ');
        const QString n = QString::number(indent);
        code << pad + QStringLiteral("Private Declare PtrSafe Function Api%1 Lib \"k\" () As Long").arg(n)
             << pad + QStringLiteral("Public Const C%1 = 1, D%1$ = \"x: y\"").arg(n)
             << pad + QStringLiteral("Private Type T%1").arg(n) << pad + QStringLiteral("  sUB As Long")
             << QStringLiteral("Attribute Foo%1.VB_Description = \"Proc %1\"").arg(n)
             << pad + QStringLiteral("Public Function Foo%1$(ByVal a As Long, _").arg(n)
             << pad + QStringLiteral("    b As String) As String")
             << pad + QStringLiteral("  x = [a b] + \"End Sub\": Rem End Function _")
             << pad + QStringLiteral("  End Function ' done")
             << pad + QStringLiteral("Property Get P%1() As Long: P%1 = 1: End Property").arg(n)
             << pad + QStringLiteral("Friend Sub S%1()").arg(n) << pad + QStringLiteral("  Dim Sub_ As Long");
    }
    code << QStringLiteral("Sub Last()");

    std::vector<QByteArray> narrow;
    narrow.reserve(size_t(code.size()));
    std::vector<ModuleCode::SourceLine> bytes, wide;
    for (const QString &line : code) {
        narrow.push_back(line.toLatin1());
        bytes.push_back({narrow.back().constData(), line.size(), true});
        wide.push_back({line.utf16(), line.size(), false});
    }
    const ModuleCode fromBytes(bytes, 3);
    const ModuleCode fromWide(wide, 3);
    const ModuleCode fromList(code, 3);
    EXPECT_GT(fromList.procedures().size(), 60u);
    EXPECT_GT(fromList.diagnostics().size(), 33u) << "every Friend Sub lacks its End Sub";
    expectSameModule(fromBytes, fromList);
    expectSameModule(fromWide, fromList);
}
