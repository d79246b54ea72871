// `tessary inspect` as text and SARIF, --output and the exit codes, on the bundled examples.
// The SARIF log is checked against the required properties of the SARIF 2.1.0 schema.
#include "cli/inspect_formats.h"
#include "inspect_run.h"
#include "inspection/check_items.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

using cli_testing::InspectRun;
using cli_testing::inspect;

namespace {

const QString kExamples = QStringLiteral(TESSARY_SOURCE_DIR "/examples");

/// Runs from the examples folder, so the files are named relative to it.
class InExamples : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(kExamples));
    }
    void TearDown() override { QDir::setCurrent(m_previous); }

private:
    QString m_previous;
};

/// The SARIF 2.1.0 schema's required properties and value rules for what the log holds;
/// each failure is one message.
QStringList sarifViolations(const QJsonObject &log)
{
    QStringList v;
    const auto need = [&](bool ok, const QString &what) {
        if (!ok)
            v << what;
    };
    const auto text = [&](const QJsonValue &message, const QString &where) {
        need(message.isObject() && message[QStringLiteral("text")].isString(), where + QStringLiteral(".text"));
    };
    need(log[QStringLiteral("version")] == QStringLiteral("2.1.0"), QStringLiteral("version"));
    need(log[QStringLiteral("runs")].isArray(), QStringLiteral("runs"));
    for (const QJsonValue &run : log[QStringLiteral("runs")].toArray()) {
        const QJsonObject driver = run[QStringLiteral("tool")][QStringLiteral("driver")].toObject();
        need(driver[QStringLiteral("name")].isString(), QStringLiteral("tool.driver.name"));
        const QJsonArray rules = driver[QStringLiteral("rules")].toArray();
        QStringList ids;
        for (const QJsonValue &rule : rules) {
            need(rule[QStringLiteral("id")].isString(), QStringLiteral("rule.id"));
            ids << rule[QStringLiteral("id")].toString();
            text(rule[QStringLiteral("shortDescription")], QStringLiteral("rule.shortDescription"));
            text(rule[QStringLiteral("fullDescription")], QStringLiteral("rule.fullDescription"));
        }
        const QJsonObject bases = run[QStringLiteral("originalUriBaseIds")].toObject();
        for (const QString &base : bases.keys()) {
            const QString uri = bases[base][QStringLiteral("uri")].toString();
            need(QUrl(uri).isValid() && uri.endsWith(QLatin1Char('/')), QStringLiteral("originalUriBaseIds.uri"));
        }
        for (const QJsonValue &invocation : run[QStringLiteral("invocations")].toArray())
            need(invocation[QStringLiteral("executionSuccessful")].isBool(), QStringLiteral("invocation.executionSuccessful"));
        for (const QJsonValue &result : run[QStringLiteral("results")].toArray()) {
            text(result[QStringLiteral("message")], QStringLiteral("result.message"));
            const QString ruleId = result[QStringLiteral("ruleId")].toString();
            const int ruleIndex = result[QStringLiteral("ruleIndex")].toInt(-1);
            need(ruleIndex >= 0 && ruleIndex < ids.size() && ids[ruleIndex] == ruleId, QStringLiteral("result.ruleIndex"));
            need(QStringList({"none", "note", "warning", "error"}).contains(result[QStringLiteral("level")].toString()),
                 QStringLiteral("result.level"));
            for (const QJsonValue &location : result[QStringLiteral("locations")].toArray()) {
                const QJsonObject physical = location[QStringLiteral("physicalLocation")].toObject();
                need(physical.contains(QStringLiteral("artifactLocation")) || physical.contains(QStringLiteral("address")),
                     QStringLiteral("physicalLocation.artifactLocation"));
                const QJsonObject artifact = physical[QStringLiteral("artifactLocation")].toObject();
                const QUrl uri(artifact[QStringLiteral("uri")].toString(), QUrl::StrictMode);
                need(uri.isValid() && uri.isRelative() && !uri.path().startsWith(QLatin1Char('/')),
                     QStringLiteral("artifactLocation.uri relative: ") + uri.toString());
                if (artifact.contains(QStringLiteral("uriBaseId")))
                    need(bases.contains(artifact[QStringLiteral("uriBaseId")].toString()), QStringLiteral("uriBaseId"));
                if (physical.contains(QStringLiteral("region")))
                    need(physical[QStringLiteral("region")][QStringLiteral("startLine")].toInt() >= 1,
                         QStringLiteral("region.startLine"));
            }
        }
    }
    return v;
}

QJsonObject parsed(const QString &out)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return doc.object();
}

} // namespace

TEST_F(InExamples, TextGivesFileLinesCheckIdsAndASummary)
{
    const InspectRun r = inspect({QStringLiteral("Tessary.vbg")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, QString());
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // File lines count the attribute lines the code pane hides; a module-wide finding has none.
    EXPECT_TRUE(lines.contains(QStringLiteral("Stock/basUtil.bas: [option-explicit] Option Explicit が宣言されていません")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Stock/basUtil.bas:20: [empty-procedure] EmptyHelperは空のプロシージャです")));
    EXPECT_TRUE(lines.contains(QStringLiteral(
        "Stock/basUtil.bas:13: [string-function] Trimは内部処理形式StringのVariant型を返します。Trim$の使用を検討してください")));
    EXPECT_TRUE(lines.contains(QStringLiteral(
        "Stock/frmOrder.frm:92: [implicit-variant-variable] 変数mstrMemoは、明示的に型宣言をしていないためバリアント型となります")));
    // Projects and modules stay together (GaugeLib's files, then Stock's), then the summary.
    const qsizetype lastGauge = lines.lastIndexOf(QRegularExpression(QStringLiteral("Gauge/.*")));
    const qsizetype firstStock = lines.indexOf(QRegularExpression(QStringLiteral("Stock/.*")));
    const qsizetype summary = lines.indexOf(QRegularExpression(QStringLiteral("\\d+ findings in \\d+ of 13 modules \\(2 projects\\)")));
    EXPECT_LT(lastGauge, firstStock);
    ASSERT_LT(firstStock, summary);
    EXPECT_EQ(lines.lastIndexOf(QRegularExpression(QStringLiteral("(Stock|Gauge)/.*"))), summary - 1);
    const int total = lines[summary].section(QLatin1Char(' '), 0, 0).toInt();
    EXPECT_EQ(total, summary);
    int perCheck = 0;
    for (const QString &line : lines.mid(summary + 1))
        perCheck += line.section(QLatin1Char(' '), -1).toInt();
    EXPECT_EQ(perCheck, total);
}

TEST_F(InExamples, SarifHoldsEveryRuleAndEveryFindingWithRelativeLocations)
{
    const InspectRun text = inspect({QStringLiteral("Tessary.vbg")});
    const InspectRun r = inspect({QStringLiteral("--format"), QStringLiteral("sarif"), QStringLiteral("Tessary.vbg")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject log = parsed(r.out);
    EXPECT_EQ(sarifViolations(log), QStringList());
    const QJsonObject run = log[QStringLiteral("runs")][0].toObject();
    const QJsonArray rules = run[QStringLiteral("tool")][QStringLiteral("driver")][QStringLiteral("rules")].toArray();
    ASSERT_EQ(rules.size(), inspection::kCheckItemCount);
    for (int i = 0; i < inspection::kCheckItemCount; ++i) {
        EXPECT_EQ(rules[i][QStringLiteral("id")].toString(), QLatin1String(inspection::checkItem(i)->id));
        EXPECT_FALSE(rules[i][QStringLiteral("fullDescription")][QStringLiteral("text")].toString().isEmpty());
    }
    const QJsonArray results = run[QStringLiteral("results")].toArray();
    EXPECT_EQ(results.size(), text.out.count(QStringLiteral(": [")));
    // The text's first finding is the log's first result.
    const QJsonObject first = results[0].toObject();
    const QJsonObject physical = first[QStringLiteral("locations")][0][QStringLiteral("physicalLocation")].toObject();
    EXPECT_TRUE(text.out.startsWith(QStringLiteral("%1:%2: [%3] %4\n")
                                        .arg(physical[QStringLiteral("artifactLocation")][QStringLiteral("uri")].toString())
                                        .arg(physical[QStringLiteral("region")][QStringLiteral("startLine")].toInt())
                                        .arg(first[QStringLiteral("ruleId")].toString(),
                                             first[QStringLiteral("message")][QStringLiteral("text")].toString())));
    EXPECT_FALSE(run.contains(QStringLiteral("originalUriBaseIds")));
}

TEST(InspectFormats, AbsolutePathsBecomeRelativeToTheFolderOfAllProjects)
{
    const InspectRun r = inspect({QStringLiteral("--format"), QStringLiteral("sarif"), kExamples + QStringLiteral("/Tessary.vbg")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject log = parsed(r.out);
    EXPECT_EQ(sarifViolations(log), QStringList());
    const QJsonObject run = log[QStringLiteral("runs")][0].toObject();
    EXPECT_EQ(QUrl(run[QStringLiteral("originalUriBaseIds")][QStringLiteral("SRCROOT")][QStringLiteral("uri")].toString())
                  .toLocalFile(),
              kExamples + QLatin1Char('/'));
    const QJsonObject artifact =
        run[QStringLiteral("results")][0][QStringLiteral("locations")][0][QStringLiteral("physicalLocation")]
           [QStringLiteral("artifactLocation")].toObject();
    EXPECT_EQ(artifact[QStringLiteral("uriBaseId")].toString(), QStringLiteral("SRCROOT"));
    EXPECT_TRUE(artifact[QStringLiteral("uri")].toString().startsWith(QStringLiteral("Gauge/")));
}

TEST(InspectFormats, ExitCodesFollowFindingsAndErrors)
{
    const QString group = kExamples + QStringLiteral("/Tessary.vbg");
    const QString fail = QStringLiteral("--fail-on-findings");
    EXPECT_EQ(inspect({group}).status, 0);
    EXPECT_EQ(inspect({fail, group}).status, 1);
    // Nothing found: 0 even when failing on findings.
    const InspectRun clean = inspect({fail, QStringLiteral("--checks"), QStringLiteral("debug-print"),
                                      QStringLiteral("--project"), QStringLiteral("GaugeLib"), group});
    EXPECT_EQ(clean.status, 0);
    EXPECT_TRUE(clean.out.startsWith(QStringLiteral("0 findings in 0 of ")));
    EXPECT_EQ(inspect({fail, kExamples + QStringLiteral("/missing.vbp")}).status, 2);
    EXPECT_EQ(inspect({QStringLiteral("--output")}).status, 2);
    EXPECT_EQ(inspect({QStringLiteral("--format"), QStringLiteral("text"), QStringLiteral("--bogus"), group}).status, 2);
}

TEST(InspectFormats, OutputGoesToTheFileInsteadOfStandardOutput)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("report.sarif"));
    const QString group = kExamples + QStringLiteral("/Tessary.vbg");
    const InspectRun r = inspect({QStringLiteral("--format"), QStringLiteral("sarif"), QStringLiteral("--output"), file, group});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QString());
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(written.readAll()),
              inspect({QStringLiteral("--format"), QStringLiteral("sarif"), group}).out);

    const InspectRun unwritable =
        inspect({QStringLiteral("--output"), dir.filePath(QStringLiteral("no/such/folder/report.txt")), group});
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_TRUE(unwritable.err.contains(QStringLiteral("cannot write")));
}

TEST(InspectFormats, ProgressLineFillsWithTheModulesDone)
{
    EXPECT_EQ(cli::progressLine(QStringLiteral("Stock.basMain (1/4)"), 8), QStringLiteral("[........] 1/4 Stock.basMain"));
    EXPECT_EQ(cli::progressLine(QStringLiteral("Stock.basMain (4/4)"), 8), QStringLiteral("[######..] 4/4 Stock.basMain"));
    EXPECT_EQ(cli::progressLine(QString(), 8), QString());
}
