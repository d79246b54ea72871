// `tessary dump` and `tessary ui` on the bundled examples, compared with the files in
// tests/golden/ to the character. TESSARY_UPDATE_GOLDEN=1 rewrites them instead, so an
// output change shows up as a diff of those files.
#include "cli/commands.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

struct GoldenCase {
    const char *name;
    QStringList args;   // files relative to examples/
};

const QString kExamples = QStringLiteral(TESSARY_SOURCE_DIR "/examples/");
const QString kGolden = QStringLiteral(TESSARY_SOURCE_DIR "/tests/golden/");

const std::vector<GoldenCase> &cases()
{
    static const std::vector<GoldenCase> list = {
        {"dump_group", {"dump", "Tessary.vbg"}},
        {"dump_stock_lines", {"dump", "--lines", "Stock/Stock.vbp"}},
        {"dump_gauge", {"dump", "Gauge/Gauge.vbp"}},
        {"ui_group", {"ui", "Tessary.vbg"}},
        {"ui_stock_class", {"ui", "Tessary.vbg", "--expand", "Stock_Cls", "--click", "Stock_cls在庫"}},
        {"ui_tabs_and_layout", {"ui", "Tessary.vbg", "--tab", "2", "--tab", "1", "--resize", "9000", "6000",
                                "--split", "2500"}},
        {"ui_forms_and_immediate", {"ui", "Gauge/Gauge.vbp", "--form", "docMain", "--set", "cboHelpWord=MsgBox",
                                    "--immediate", "?1 + 1"}},
        {"ui_open_procedure", {"ui", "Tessary.vbg", "--click", "Stock_basMain", "--sort", "4", "--dblclick", "0"}},
        {"ui_select_control", {"ui", "Tessary.vbg", "--button", "CTRL", "--click", "Stock_frmOrder", "--dblclick", "1"}},
        {"tree_group", {"tree", "Tessary.vbg"}},
        {"tree_gauge_json", {"tree", "--json", "Gauge/Gauge.vbp"}},
        {"procs_group", {"procs", "Tessary.vbg"}},
        {"calls_stock", {"calls", "Tessary.vbg", "Stock"}},
        {"calls_logmessage_callers_json", {"calls", "--json", "Tessary.vbg", "Stock", "--callers", "basMain.LogMessage"}},
        {"ui_relative_tab", {"ui", "Tessary.vbg", "--tab", "2", "--project", "Stock", "--button", "DEPENDENCY",
                             "--click", "Stock_basMain_Main"}},
        {"procs_stock_class_json", {"procs", "--json", "Stock/Stock.vbp", "cls在庫"}},
        {"find_group", {"find", "Tessary.vbg", "Log"}},
        {"ui_find_dialog", {"ui", "Tessary.vbg", "--button", "FIND", "--form", "frmFind", "--set",
                            "cboFindString=LogMessage", "--press", "cmdFind", "--click", "Stock_basMain", "--dblclick", "0"}},
        {"find_word_project_json", {"find", "--json", "--word", "Tessary.vbg", "--project", "Stock", "LogMessage"}},
        {"ui_about_dialog", {"ui", "Gauge/Gauge.vbp", "--button", "ABOUT"}},
        {"ui_project_properties", {"ui", "Tessary.vbg", "--project", "GaugeLib", "--button", "PRJPROP"}},
        {"ui_window_commands", {"ui", "Tessary.vbg", "--immediate", "?1 + 1", "--button", "WIPER", "--button", "TILE",
                                "--button", "MSDN", "--button", "CLOSE", "--button", "COMPILE"}},
        {"inspect_unused_json", {"inspect", "Tessary.vbg", "--format", "json", "--checks",
                                 "unused-procedure,unused-declare,unused-public-variable,unused-module-variable,"
                                 "unused-local-variable"}},
        {"inspect_gauge_unused_json", {"inspect", "Tessary.vbg", "--format", "json", "--checks", "4,5,8,9,10", "--project",
                                       "GaugeLib"}},
        {"inspect_group", {"inspect", "Tessary.vbg"}},
        {"inspect_group_sarif", {"inspect", "Tessary.vbg", "--format", "sarif"}},
        {"ui_optimize_dialog", {"ui", "Tessary.vbg", "--button", "OPTIMIZE", "--form", "frmOptimize", "--press", "cmdClear",
                                "--form", "frmOptimize", "--set", "chkItem(3)=1", "--form", "frmOptimize", "--set",
                                "chkItem(8)=1", "--form", "frmOptimize", "--press", "cmdNext", "--form", "frmOptimize",
                                "--set", "tvwProject=GaugeLib=0", "--form", "frmOptimize", "--press", "cmdOK", "--click",
                                "Stock_clsOrder"}},
    };
    return list;
}

/// The argument list with the file (the first argument not starting with "--") made a path.
QStringList withExamplesPath(QStringList args)
{
    for (int i = 1; i < args.size(); ++i) {
        if (!args[i].startsWith(QLatin1String("--"))) {
            args[i] = kExamples + args[i];
            break;
        }
    }
    return args;
}

/// "line N: expected ... / actual ..." for the first line that differs.
std::string firstDifference(const QString &expected, const QString &actual)
{
    const QStringList e = expected.split(QLatin1Char('\n'));
    const QStringList a = actual.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < std::max(e.size(), a.size()); ++i) {
        const QString el = i < e.size() ? e[i] : QStringLiteral("<end>");
        const QString al = i < a.size() ? a[i] : QStringLiteral("<end>");
        if (el != al)
            return QStringLiteral("line %1:\n  expected: %2\n  actual:   %3").arg(i + 1).arg(el, al).toStdString();
    }
    return {};
}

void PrintTo(const GoldenCase &c, std::ostream *os) { *os << c.name; }

class Golden : public testing::TestWithParam<GoldenCase> {};

} // namespace

TEST_P(Golden, OutputMatchesTheFile)
{
    const GoldenCase &c = GetParam();
    QString out;
    QString err;
    const frontend::Console console{[&](const QString &t) { out += t + QLatin1Char('\n'); },
                                    [&](const QString &t) { err += t + QLatin1Char('\n'); }};
    ASSERT_EQ(cli::run(withExamplesPath(c.args), console), 0) << err.toStdString();
    EXPECT_EQ(err, QString());
    // Nothing of this machine may show. Where the tool window shows a path as VB does
    // (a project's FileName), the examples' folder stands as "<examples>".
    out.replace(QDir::cleanPath(kExamples), QStringLiteral("<examples>"));
    // The version dialog's memory figures are this machine's.
    static const QRegularExpression memory(QStringLiteral("(\"lblInfo\\d\": \\{\\s*\"caption\": \")[^\"]+\""));
    out.replace(memory, QStringLiteral("\\1<memory>\""));
    EXPECT_FALSE(out.contains(QStringLiteral(TESSARY_SOURCE_DIR)));
    EXPECT_FALSE(out.contains(QDir::tempPath()));

    const bool json = c.args.first() == QLatin1String("dump") || c.args.first() == QLatin1String("ui") ||
                      c.args.contains(QLatin1String("--json")) || c.args.contains(QLatin1String("sarif")) ||
                      QByteArray(c.name).endsWith("_json");
    QFile file(kGolden + QLatin1String(c.name) + (json ? QLatin1String(".json") : QLatin1String(".txt")));
    if (qEnvironmentVariableIntValue("TESSARY_UPDATE_GOLDEN") == 1) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << file.fileName().toStdString();
        file.write(out.toUtf8());
        GTEST_SKIP() << "rewrote " << file.fileName().toStdString();
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly))
        << file.fileName().toStdString() << " is missing; run with TESSARY_UPDATE_GOLDEN=1 to write it";
    const QString expected = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(expected == out) << c.name << " differs from its golden file at "
                                 << firstDifference(expected, out)
                                 << "\n(TESSARY_UPDATE_GOLDEN=1 rewrites the golden files)";
}

INSTANTIATE_TEST_SUITE_P(Examples, Golden, testing::ValuesIn(cases()),
                         [](const testing::TestParamInfo<GoldenCase> &info) { return std::string(info.param.name); });
