// `tessary find`: grep's exit statuses, refused input, paths as given.
#include "cli/commands.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kExamples = QStringLiteral(TESSARY_SOURCE_DIR "/examples");

struct FindRun {
    int status = -1;
    QString out, err;
};

FindRun find(const QStringList &args)
{
    FindRun r;
    const frontend::Console console{[&](const QString &t) { r.out += t + QLatin1Char('\n'); },
                                    [&](const QString &t) { r.err += t + QLatin1Char('\n'); }};
    r.status = cli::run(QStringList{QStringLiteral("find")} + args, console);
    return r;
}

TEST(FindCommand, ExitsAsGrepDoes)
{
    const QString group = kExamples + QStringLiteral("/Tessary.vbg");
    EXPECT_EQ(find({group, QStringLiteral("LogMessage")}).status, 0);
    EXPECT_EQ(find({group, QString(QStringLiteral("LogMessage")).repeated(40)}).status, 1);
    // An unclosed bracket is a literal: a sound search, here without hits.
    EXPECT_EQ(find({QStringLiteral("--pattern"), group, QStringLiteral("[Log")}).status, 1);
    EXPECT_EQ(find({group, QStringLiteral("LogMessage"), QStringLiteral("--project"), QStringLiteral("GaugeLib")}).status, 1);
}

TEST(FindCommand, RefusesWhatTheSearchCannotRun)
{
    const QString group = kExamples + QStringLiteral("/Tessary.vbg");
    for (const QStringList &args : {QStringList{group, QStringLiteral(" \t ")},
                                    QStringList{QStringLiteral("--case"), QStringLiteral("--pattern"), group, QStringLiteral("x")},
                                    QStringList{group, QStringLiteral("x"), QStringLiteral("--project"), QStringLiteral("Nope")},
                                    QStringList{group, QStringLiteral("x"), QStringLiteral("--project")},
                                    QStringList{group},
                                    QStringList{kExamples + QStringLiteral("/missing.vbp"), QStringLiteral("x")}}) {
        const FindRun r = find(args);
        EXPECT_EQ(r.status, 2) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(r.err.isEmpty());
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST(FindCommand, ARelativeProjectPathGivesRelativeFilesAndFileLines)
{
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(kExamples));
    const FindRun r = find({QStringLiteral("--word"), QStringLiteral("Stock/Stock.vbp"), QStringLiteral("LogMessage")});
    QDir::setCurrent(before);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    // The .bas file's Attribute VB_Name line is not in the pane but counts in the file.
    EXPECT_TRUE(r.out.contains(QStringLiteral("Stock/basMain.bas:45:12: Public Sub LogMessage(strText As String)\n")))
        << r.out.toStdString();
}

} // namespace

// Modules whose files cannot hold the text are not parsed: what is wrong in their code is for
// `dump` and `inspect`; what is wrong in searched ones, or in any file's text, is reported.
TEST(FindCommand, ReportsTheProblemsOfWhatItSearched)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto write = [&](const char *name, const QByteArray &bytes) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    write("hit.bas", "Attribute VB_Name = \"Hit\"\r\nSub ShowWidget()\r\n  Widget.Show\r\n");
    write("miss.bas", "Attribute VB_Name = \"Miss\"\r\nSub Broken()\r\n  x = 1\r\n");
    write("long.bas", "Attribute VB_Name = \"Long\"\r\n' " + QByteArray(1100, 'x') + "\r\n");
    write("P.vbp", "Type=Exe\r\nName=\"P\"\r\nModule=Hit; hit.bas\r\nModule=Miss; miss.bas\r\nModule=Long; long.bas\r\n");
    const FindRun r = find({dir.filePath(QStringLiteral("P.vbp")), QStringLiteral("widget")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.endsWith(QStringLiteral("hit.bas:3:3:   Widget.Show\n"))) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("hit.bas:2: End Sub missing for ShowWidget"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("long.bas:2: Line too long (1102 characters; VB allows 1023)")))
        << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(QStringLiteral("Broken"))) << r.err.toStdString();
}
