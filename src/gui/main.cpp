// tessary-ide: the desktop front end.
#include "frontend/console.h"
#include "frontend/options.h"
#include "gui/app.h"
#include "gui/units.h"

#include <QApplication>

int main(int argc, char **argv)
{
    // The command line is checked before Qt looks for a display.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const frontend::Console console = frontend::Console::standard();
    const auto printErr = console.err;
    gui::Options options;
    QString error;
    const bool parsed = gui::parseOptions(args, options, error);
    // A screenshot needs no display.
    if (parsed && !options.screenshot.isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!parsed) {
        printErr(QStringLiteral("tessary-ide: %1").arg(error));
        printErr(QStringLiteral("usage: tessary-ide [--encoding NAME] [FILE.vbg|FILE.vbp]\n"
                                "       tessary-ide --screenshot FILE.png [--encoding NAME] FILE [ACTION...]\n") +
                 frontend::actionsUsage());
        return frontend::ExitUsage;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tessary-ide"));
    gui::applyClassicLook(app);
    try {
        if (!options.screenshot.isEmpty()) {
            QStringList messages;
            const int code = gui::takeScreenshot(options, error, &messages);
            for (const QString &m : messages)
                printErr(QStringLiteral("tessary-ide: message: %1").arg(m));
            if (code != 0)
                printErr(QStringLiteral("tessary-ide: %1").arg(error));
            return code;
        }
        return gui::runIde(options);
    } catch (const std::exception &e) {
        printErr(QStringLiteral("tessary-ide: %1").arg(QString::fromUtf8(e.what())));
        return frontend::ExitUsage;
    }
}
