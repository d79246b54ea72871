// `tessary inspect`: the check list and project choice, refused input, the JSON keys.
#include "inspect_run.h"

#include <QJsonArray>
#include <gtest/gtest.h>

using cli_testing::InspectRun;
using cli_testing::inspect;

namespace {

const QString kGroup = QStringLiteral(TESSARY_SOURCE_DIR "/examples/Tessary.vbg");

/// "check:name" of every finding, in output order.
QStringList findings(const QJsonObject &report)
{
    QStringList all;
    for (const QJsonValue &project : report[QStringLiteral("projects")].toArray())
        for (const QJsonValue &module : project[QStringLiteral("modules")].toArray())
            for (const QJsonValue &f : module[QStringLiteral("findings")].toArray())
                all << f[QStringLiteral("check")].toString() + QLatin1Char(':') + f[QStringLiteral("name")].toString();
    return all;
}

} // namespace

TEST(InspectCommand, ChecksAreChosenByIdOrItemNumberAndProjectsByName)
{
    const InspectRun byId = inspect({QStringLiteral("--checks"), QStringLiteral("unused-procedure"),
                                     QStringLiteral("--format"), QStringLiteral("json"), kGroup});
    ASSERT_EQ(byId.status, 0) << byId.err.toStdString();
    const InspectRun byNumber =
        inspect({QStringLiteral("--checks"), QStringLiteral("4"), QStringLiteral("--format"), QStringLiteral("json"), kGroup});
    EXPECT_EQ(byId.out, byNumber.out);
    const QStringList all = findings(byId.json());
    ASSERT_FALSE(all.isEmpty());
    for (const QString &f : all)
        EXPECT_TRUE(f.startsWith(QLatin1String("unused-procedure:"))) << f.toStdString();

    const InspectRun stock = inspect({QStringLiteral("--project"), QStringLiteral("Stock"), QStringLiteral("--checks"),
                                      QStringLiteral("4"), QStringLiteral("--format"), QStringLiteral("json"), kGroup});
    const QJsonArray projects = stock.json()[QStringLiteral("projects")].toArray();
    ASSERT_EQ(projects.size(), 1);
    EXPECT_EQ(projects[0][QStringLiteral("name")].toString(), QStringLiteral("Stock"));
}

TEST(InspectCommand, EveryFindingCarriesTheDocumentedKeys)
{
    const InspectRun r = inspect({QStringLiteral("--checks"), QStringLiteral("4,5,8,9,10"), QStringLiteral("--format"),
                                  QStringLiteral("json"), kGroup});
    ASSERT_EQ(r.status, 0);
    const QJsonObject report = r.json();
    EXPECT_EQ(report.keys(), QStringList{QStringLiteral("projects")});
    int seen = 0;
    for (const QJsonValue &project : report[QStringLiteral("projects")].toArray()) {
        EXPECT_EQ(project.toObject().keys(), (QStringList{"modules", "name"}));
        for (const QJsonValue &module : project[QStringLiteral("modules")].toArray()) {
            EXPECT_EQ(module.toObject().keys(), (QStringList{"file", "findings", "name"}));
            for (const QJsonValue &f : module[QStringLiteral("findings")].toArray()) {
                EXPECT_EQ(f.toObject().keys(), (QStringList{"check", "fileLine", "item", "line", "message", "name"}));
                EXPECT_GE(f[QStringLiteral("fileLine")].toInt(), f[QStringLiteral("line")].toInt());
                ++seen;
            }
        }
    }
    EXPECT_GT(seen, 0);
}

TEST(InspectCommand, RefusesUnknownChecksFormatsAndProjects)
{
    for (const QStringList &args :
         {QStringList{QStringLiteral("--checks"), QStringLiteral("no-such-check"), kGroup},
          QStringList{QStringLiteral("--checks"), QStringLiteral("14"), kGroup},
          QStringList{QStringLiteral("--checks"), QStringLiteral(","), kGroup},
          QStringList{QStringLiteral("--format"), QStringLiteral("xml"), kGroup},
          QStringList{QStringLiteral("--project"), QStringLiteral("Nope"), kGroup},
          QStringList{QStringLiteral("--checks")}, QStringList{}}) {
        const InspectRun r = inspect(args);
        EXPECT_EQ(r.status, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(r.err.isEmpty());
        EXPECT_TRUE(r.out.isEmpty());
    }
}
