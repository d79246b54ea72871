#pragma once
// tessary-ide's command line: the desktop IDE, or a screenshot of it after scripted actions.
#include "frontend/ui_actions.h"
#include "ide/files/encoding.h"

#include <QSize>
#include <QStringList>
#include <vector>

namespace gui {

struct Options {
    QString file;
    ide::files::CodePage codePage = ide::files::CodePage::Auto;
    /// Non-empty: write a PNG of the main window here and exit.
    QString screenshot;
    std::vector<frontend::UiAction> actions;
    QSize windowSize{1280, 800};
};

/// Parses `[--encoding NAME] [--screenshot FILE.png] [FILE] [ACTION...]`; false with a
/// message in `error` when the line makes no sense.
bool parseOptions(const QStringList &args, Options &options, QString &error);

/// Runs the desktop IDE until its window closes; needs a QApplication.
int runIde(const Options &options);
/// Opens the file offscreen-style (nothing blocks), applies the actions, and saves the main
/// window, with every visible form over it, as a PNG. Returns a frontend::ExitCode, with
/// the reason in `error` when not 0: 1 for a named file that loads nothing, 2 for an action
/// naming something that does not exist or an unwritable PNG.
int takeScreenshot(const Options &options, QString &error, QStringList *messages = nullptr);

} // namespace gui
