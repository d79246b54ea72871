// tessary-ide: the desktop front end.
#include "gui/app.h"
#include "gui/units.h"

#include <QApplication>
#include <cstdio>

namespace {
void printErr(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
    std::fputc('\n', stderr);
}
} // namespace

int main(int argc, char **argv)
{
    // The command line is checked before Qt looks for a display.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    gui::Options options;
    QString error;
    const bool parsed = gui::parseOptions(args, options, error);
    // A screenshot needs no display.
    if (parsed && !options.screenshot.isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!parsed) {
        printErr(QStringLiteral("tessary-ide: %1").arg(error));
        printErr(QStringLiteral("usage: tessary-ide [--encoding NAME] [FILE.vbg|FILE.vbp]\n"
                                "       tessary-ide --screenshot FILE.png [--encoding NAME] FILE [ACTION...]\n"
                                "actions: --tab N  --project NAME  --click KEY  --expand KEY  --button KEY\n"
                                "         --dblclick ROW  --sort COLUMN  --resize W H  --split X"));
        return 2;
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
        return 2;
    }
}
