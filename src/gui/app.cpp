#include "gui/app.h"

#include "frontend/session.h"
#include "docmain/doc_main.h"
#include "frontend/console.h"
#include "frontend/forms.h"
#include "frontend/options.h"
#include "gui/form_view.h"
#include "gui/main_window.h"
#include "gui/qt_platform.h"
#include "gui/units.h"
#include "gui/user_operation.h"

#include <QApplication>
#include <QDialog>
#include <QDockWidget>
#include <QPainter>
#include <QPixmap>

namespace gui {

namespace {

void settle(MainWindow &window)
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        window.syncNow();
    }
}

/// A dialog drawn over `image` as it sits over its owner: centred, moved by `offset`.
void drawDialog(QPainter &painter, const QImage &image, const QString &caption, const QPixmap &body, bool titled,
                int &offset)
{
    constexpr int kBorder = 4;
    constexpr int kTitle = 20;
    const int title = titled ? kTitle : 0;
    QRect frame(0, 0, body.width() + 2 * kBorder, body.height() + title + 2 * kBorder);
    frame.moveCenter(image.rect().center() + QPoint(offset, offset));
    offset += kTitle + kBorder;
    painter.fillRect(frame, QColor(controls::toRgb(controls::vbButtonFace)));
    painter.setPen(Qt::black);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    if (titled) {
        const QRect bar(frame.left() + kBorder, frame.top() + kBorder, body.width(), kTitle);
        painter.fillRect(bar, QColor(0, 0, 128));
        painter.setPen(Qt::white);
        painter.drawText(bar.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, caption);
    }
    painter.drawPixmap(frame.left() + kBorder, frame.top() + kBorder + title, body);
}

/// The main window with the IDE's open command dialog and every other visible form drawn
/// over it, centred as a dialog sits over its owner; each further one a little lower and to
/// the right.
QImage withVisibleForms(MainWindow &window, const frontend::Session &session)
{
    QImage image = window.grab().toImage();
    QPainter painter(&image);
    int offset = 0;
    if (QDialog *dialog = window.commandDialogView())
        drawDialog(painter, image, dialog->windowTitle(), dialog->grab(), true, offset);
    for (controls::Form *form : frontend::sessionForms(session)) {
        if (!form->visible() || (session.doc && form == &session.doc->userDocument))
            continue;
        FormView view(*form);
        view.resize(view.sizeHint());
        view.flush();
        drawDialog(painter, image, form->caption(), view.grab(),
                   form->borderStyle() != controls::FormBorderStyle::None, offset);
    }
    return image;
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
        if (frontend::isEncodingOption(a)) {
            if (!frontend::takeEncoding(args, i, options.codePage, error))
                return false;
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
        std::vector<frontend::UiAction> actions;
        QString ignored;
        error = frontend::parseUiActions(rest, actions, ignored) ? QStringLiteral("actions need --screenshot")
                                                            : QStringLiteral("unknown option %1").arg(rest.front());
        return false;
    }
    return frontend::parseUiActions(rest, options.actions, error);
}

int runIde(const Options &options)
{
    QtPlatform platform(true);
    controls::ScopedPlatform scoped(platform);
    frontend::Session session = frontend::openSession(options.file, options.codePage);
    frontend::printDiagnostics(frontend::Console::standard(), *session.ide);
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
    frontend::Session session = frontend::openSession(options.file, options.codePage);
    frontend::printDiagnostics(frontend::Console::standard(), *session.ide);
    if (!options.file.isEmpty() && session.ide->vbe()->vbProjects()->count() == 0) {
        error = QStringLiteral("nothing could be loaded from %1").arg(options.file);
        return frontend::ExitNothingLoaded;
    }
    int code = 0;
    {
        MainWindow window(session, platform);
        window.reportDiagnostics();
        window.resize(options.windowSize);
        window.show();
        window.fitToolWindow();
        settle(window);
        for (const frontend::UiAction &action : options.actions) {
            try {
                frontend::applyUiAction(session, action);
            } catch (const host::Error &e) {
                error = QStringLiteral("%1: %2").arg(frontend::actionText(action), e.description());
                code = frontend::ExitUsage;
                break;
            }
            settle(window);
        }
        if (code == 0) {
            settle(window);
            const QImage shot = withVisibleForms(window, session);
            if (!shot.save(options.screenshot, "PNG")) {
                error = QStringLiteral("cannot write %1").arg(options.screenshot);
                code = frontend::ExitUsage;
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
