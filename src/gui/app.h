#pragma once
// tessary-ide's command line: the desktop IDE, or a screenshot of it after scripted actions.
#include "cli/ui_script.h"
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
    std::vector<cli::UiAction> actions;
    QSize windowSize{1280, 800};
};

/// Parses `[--encoding NAME] [--screenshot FILE.png] [FILE] [ACTION...]`; false with a
/// message in `error` when the line makes no sense.
bool parseOptions(const QStringList &args, Options &options, QString &error);

/// Runs the desktop IDE until its window closes; needs a QApplication.
int runIde(const Options &options);
/// Opens the file offscreen-style (nothing blocks), applies the actions, and saves the main
/// window as a PNG. Returns 0, or 1 with the reason in `error` (a named file that loads
/// no project, a failed action, an unwritable PNG).
int takeScreenshot(const Options &options, QString &error, QStringList *messages = nullptr);

} // namespace gui
