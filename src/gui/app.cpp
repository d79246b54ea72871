#include "gui/app.h"

#include "cli/session.h"
#include "docmain/doc_main.h"
#include "gui/form_view.h"
#include "gui/main_window.h"
#include "gui/qt_platform.h"
#include "gui/units.h"
#include "gui/user_operation.h"

#include <QApplication>
#include <QDockWidget>
#include <QPixmap>
#include <cstdio>

namespace gui {

namespace {

void printErr(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
    std::fputc('\n', stderr);
}

void printDiagnostics(const ide::Ide &ide)
{
    for (const auto &d : ide.diagnostics())
        printErr(d.line > 0 ? QStringLiteral("%1:%2: %3").arg(d.file).arg(d.line).arg(d.message)
                            : QStringLiteral("%1: %2").arg(d.file, d.message));
}

void settle(MainWindow &window)
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        window.syncNow();
    }
}

} // namespace

bool parseOptions(const QStringList &args, Options &options, QString &error)
{
    int i = 0;
    auto value = [&](const QString &name, QString &out) {
        const QString &a = args[i];
        if (a.startsWith(name + QLatin1Char('='))) {
            out = a.mid(name.size() + 1);
            return true;
        }
        if (i + 1 >= args.size()) {
            error = QStringLiteral("%1 needs a value").arg(name);
            return false;
        }
        out = args[++i];
        return true;
    };
    for (; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("--encoding") || a.startsWith(QLatin1String("--encoding="))) {
            QString name;
            if (!value(QStringLiteral("--encoding"), name))
                return false;
            const auto page = ide::files::codePageFromName(name);
            if (!page) {
                error = QStringLiteral("unknown encoding '%1' (use cp932, cp1252, cp1251 or utf-8)").arg(name);
                return false;
            }
            options.codePage = *page;
        } else if (a == QLatin1String("--screenshot") || a.startsWith(QLatin1String("--screenshot="))) {
            if (!value(QStringLiteral("--screenshot"), options.screenshot))
                return false;
        } else if (options.file.isEmpty() && !a.startsWith(QLatin1String("--"))) {
            options.file = a;
        } else {
            break;
        }
    }
    const QStringList rest = args.mid(i);
    if (!rest.isEmpty() && options.screenshot.isEmpty()) {
        std::vector<cli::UiAction> actions;
        QString ignored;
        error = cli::parseUiActions(rest, actions, ignored) ? QStringLiteral("actions need --screenshot")
                                                            : QStringLiteral("unknown option %1").arg(rest.front());
        return false;
    }
    return cli::parseUiActions(rest, options.actions, error);
}

int runIde(const Options &options)
{
    QtPlatform platform(true);
    controls::ScopedPlatform scoped(platform);
    cli::Session session = cli::openSession(options.file, options.codePage);
    printDiagnostics(*session.ide);
    int code = 0;
    {
        MainWindow window(session, platform);
        window.reportDiagnostics();
        window.resize(options.windowSize);
        window.show();
        window.fitToolWindow();
        code = QApplication::exec();
    }
    return code;
}

int takeScreenshot(const Options &options, QString &error, QStringList *messages)
{
    QtPlatform platform(false);
    controls::ScopedPlatform scoped(platform);
    cli::Session session = cli::openSession(options.file, options.codePage);
    printDiagnostics(*session.ide);
    if (!options.file.isEmpty() && session.ide->vbe()->vbProjects()->count() == 0) {
        error = QStringLiteral("nothing could be loaded from %1").arg(options.file);
        return 1;
    }
    int code = 0;
    {
        MainWindow window(session, platform);
        window.reportDiagnostics();
        window.resize(options.windowSize);
        window.show();
        window.fitToolWindow();
        settle(window);
        for (const cli::UiAction &action : options.actions) {
            try {
                cli::applyUiAction(*session.doc, action);
            } catch (const host::Error &e) {
                error = QStringLiteral("--%1 %2: %3").arg(action.name, action.args.join(QLatin1Char(' ')), e.description());
                code = 1;
                break;
            } catch (const std::exception &e) {
                error = QStringLiteral("--%1: %2").arg(action.name, QString::fromUtf8(e.what()));
                code = 1;
                break;
            }
            settle(window);
        }
        if (code == 0) {
            settle(window);
            const QPixmap shot = window.grab();
            if (!shot.save(options.screenshot, "PNG")) {
                error = QStringLiteral("cannot write %1").arg(options.screenshot);
                code = 1;
            }
        }
    }
    if (messages) {
        for (const auto &m : platform.messages())
            messages->append(m.prompt);
    }
    return code;
}

} // namespace gui
