// tessary: the command-line front end.
#include "cli/dump.h"
#include "cli/session.h"
#include "cli/ui_script.h"
#include "controls/platform.h"
#include "docmain/doc_main.h"

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
    printErr(QStringLiteral("usage: tessary dump [--encoding NAME] [--lines] FILE.vbp|FILE.vbg\n"
                            "       tessary ui [--encoding NAME] FILE.vbp|FILE.vbg [ACTION...]\n"
                            "actions: --tab N  --project NAME  --click KEY  --expand KEY  --button KEY\n"
                            "         --dblclick ROW  --sort COLUMN  --resize W H  --split X"));
    return 1;
}

/// Reads "--encoding NAME" or "--encoding=NAME" at args[i]; false with a message when the name is unknown.
bool takeEncoding(const QStringList &args, int &i, ide::files::CodePage &codePage)
{
    const QString &a = args[i];
    QString name;
    if (a.contains(QLatin1Char('=')))
        name = a.section(QLatin1Char('='), 1);
    else if (i + 1 < args.size())
        name = args[++i];
    auto page = ide::files::codePageFromName(name);
    if (!page) {
        printErr(QStringLiteral("tessary: unknown encoding '%1' (use cp932, cp1252, cp1251 or utf-8)").arg(name));
        return false;
    }
    codePage = *page;
    return true;
}

bool isEncodingOption(const QString &a)
{
    return a == QLatin1String("--encoding") || a.startsWith(QLatin1String("--encoding="));
}

void printDiagnostics(const ide::Ide &ide)
{
    for (const auto &d : ide.diagnostics())
        printErr(d.line > 0 ? QStringLiteral("%1:%2: %3").arg(d.file).arg(d.line).arg(d.message)
                            : QStringLiteral("%1: %2").arg(d.file, d.message));
}

int runUi(QStringList args)
{
    ide::files::CodePage codePage = ide::files::CodePage::Auto;
    QString file;
    int i = 0;
    for (; i < args.size(); ++i) {
        if (isEncodingOption(args[i])) {
            if (!takeEncoding(args, i, codePage))
                return 1;
        } else if (file.isEmpty() && !args[i].startsWith(QLatin1String("--"))) {
            file = args[i];
        } else {
            break;
        }
    }
    if (file.isEmpty())
        return usage();
    std::vector<cli::UiAction> actions;
    QString error;
    if (!cli::parseUiActions(args.mid(i), actions, error)) {
        printErr(QStringLiteral("tessary: %1").arg(error));
        return usage();
    }
    controls::HeadlessPlatform platform;
    controls::ScopedPlatform scoped(platform);
    cli::Session session = cli::openSession(file, codePage);
    printDiagnostics(*session.ide);
    if (session.ide->vbe()->vbProjects()->count() == 0)
        return 1;
    for (const auto &action : actions) {
        try {
            cli::applyUiAction(*session.doc, action);
        } catch (const host::Error &e) {
            printErr(QStringLiteral("tessary: --%1 %2: %3").arg(action.name, action.args.join(QLatin1Char(' ')), e.description()));
            return 1;
        }
    }
    QStringList messages;
    for (const auto &m : platform.messages())
        messages << m.prompt;
    printOut(cli::uiState(*session.doc, messages).dump());
    return 0;
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
        } else if (isEncodingOption(a)) {
            if (!takeEncoding(args, i, codePage))
                return 1;
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
    printDiagnostics(ide);
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
        if (command == QLatin1String("ui"))
            return runUi(args);
    } catch (const std::exception &e) {
        printErr(QStringLiteral("tessary: %1").arg(QString::fromUtf8(e.what())));
        return 2;
    }
    printErr(QStringLiteral("tessary: unknown command '%1'").arg(command));
    return usage();
}
