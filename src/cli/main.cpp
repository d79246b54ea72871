// tessary: the command-line front end.
#include "cli/commands.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const frontend::Console console = frontend::Console::standard();
    try {
        return cli::run(app.arguments().mid(1), console);
    } catch (const std::exception &e) {
        console.err(QStringLiteral("tessary: %1").arg(QString::fromUtf8(e.what())));
        return frontend::ExitUsage;
    }
}
