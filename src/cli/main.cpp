// tessary: the command-line front end.
#include "cli/dump.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {

void printOut(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
}

void printErr(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
    std::fputc('\n', stderr);
}

int usage()
{
    printErr(QStringLiteral("usage: tessary dump [--encoding NAME] [--lines] FILE.vbp|FILE.vbg"));
    return 1;
}

int runDump(const QStringList &args)
{
    bool withLines = false;
    QString file;
    ide::files::CodePage codePage = ide::files::CodePage::Auto;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("--lines")) {
            withLines = true;
        } else if (a == QLatin1String("--encoding") || a.startsWith(QLatin1String("--encoding="))) {
            QString name;
            if (a.contains(QLatin1Char('=')))
                name = a.section(QLatin1Char('='), 1);
            else if (i + 1 < args.size())
                name = args[++i];
            auto page = ide::files::codePageFromName(name);
            if (!page) {
                printErr(QStringLiteral("tessary: unknown encoding '%1' (use cp932, cp1252, cp1251 or utf-8)").arg(name));
                return 1;
            }
            codePage = *page;
        } else if (a.startsWith(QLatin1String("--"))) {
            printErr(QStringLiteral("tessary: unknown option %1").arg(a));
            return usage();
        } else if (file.isEmpty()) {
            file = a;
        } else {
            return usage();
        }
    }
    if (file.isEmpty())
        return usage();
    ide::Ide ide;
    ide.setCodePage(codePage);
    ide.load(file);
    printOut(cli::dumpIde(ide, withLines).dump());
    for (const auto &d : ide.diagnostics())
        printErr(d.line > 0 ? QStringLiteral("%1:%2: %3").arg(d.file).arg(d.line).arg(d.message)
                            : QStringLiteral("%1: %2").arg(d.file, d.message));
    return ide.vbe()->vbProjects()->count() > 0 ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    try {
        if (command == QLatin1String("dump"))
            return runDump(args);
    } catch (const std::exception &e) {
        printErr(QStringLiteral("tessary: %1").arg(QString::fromUtf8(e.what())));
        return 2;
    }
    printErr(QStringLiteral("tessary: unknown command '%1'").arg(command));
    return usage();
}
