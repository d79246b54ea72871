// `tessary inspect`: the inspection dialog run headless over every module (or one
// project's), with the chosen check items, and its report printed in a format.
#include "cli/commands.h"

#include "cli/explore_session.h"
#include "cli/inspect_formats.h"
#include "cli/inspect_report.h"
#include "controls/platform.h"
#include "docmain/doc_main.h"
#include "inspection/check_items.h"
#include "shared/bas_quillbox.h"

#include <QFileInfo>

namespace cli {

namespace {

/// The status of --fail-on-findings when something was found.
constexpr int kExitFindings = 1;

/// The output formats, by the name --format takes.
struct ReportFormat {
    const char *name;
    QString (*emit)(const InspectionReport &);
};
const std::vector<ReportFormat> &reportFormats()
{
    static const std::vector<ReportFormat> formats = { // the first is the default
        {"text", inspectionText},
        {"json", inspectionJson},
        {"sarif", inspectionSarif},
    };
    return formats;
}

int inspectUsage(const frontend::Console &console, const QString &error)
{
    QStringList names;
    for (const ReportFormat &format : reportFormats())
        names << QLatin1String(format.name);
    console.err(QStringLiteral("tessary: %1\n"
                               "usage: tessary inspect [--encoding NAME] [--checks LIST] [--project NAME] "
                               "[--format %2] [--output FILE] [--fail-on-findings] FILE.vbp|FILE.vbg\n"
                               "       LIST: check ids or item numbers 1-13, separated by commas")
                    .arg(error, names.join(QLatin1Char('|'))));
    return frontend::ExitUsage;
}

/// The chkItem indexes of a --checks list; false with `error` set for an unknown entry.
bool parseChecks(const QString &list, std::vector<int> &items, QString &error)
{
    for (const QString &raw : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString entry = raw.trimmed();
        bool isNumber = false;
        const int number = entry.toInt(&isNumber);
        const inspection::CheckItem *item =
            isNumber ? inspection::checkItem(number - 1) : inspection::checkItemById(entry);
        if (!item) {
            error = QStringLiteral("unknown check %1").arg(entry);
            return false;
        }
        items.push_back(item->index);
    }
    if (items.empty()) {
        error = QStringLiteral("--checks needs at least one check");
        return false;
    }
    return true;
}

/// Runs the dialog as the user would: OPTIMIZE, the items and modules chosen, 実行. Error
/// prompts are answered No (the run goes on) and collected.
void runDialog(frontend::Session &session, const std::vector<int> &items, const QString &projectName,
               QStringList &errors, const frontend::Console &console)
{
    auto *platform = dynamic_cast<controls::HeadlessPlatform *>(&controls::platform());
    inspection::FrmOptimize *dialog = nullptr;
    session.doc->tbrMain_ButtonClick(0, session.doc->tbrMain(0).buttons()(QStringLiteral("OPTIMIZE")));
    dialog = session.doc->frmOptimize();
    if (!dialog)
        throw host::Error(host::err::ObjectNotSet);
    if (platform)
        platform->setMsgBoxHandler([&](const controls::MessageRecord &message) {
            errors << dialog->lblModule.caption() + QStringLiteral(": ") +
                          QString(message.prompt).replace(QLatin1String("\r\n"), QLatin1String(" "));
            return controls::vbNo;
        });
    for (int i = 0; i < inspection::kCheckItemCount; ++i)
        dialog->chkItem(i).setValue(std::find(items.begin(), items.end(), i) != items.end() ? controls::vbChecked
                                                                                            : controls::vbUnchecked);
    QString shownModule;
    if (platform && console.progress)
        platform->setDoEventsHandler([&] {
            if (dialog->lblModule.caption() != shownModule)
                console.progress(progressLine(shownModule = dialog->lblModule.caption()));
        });
    if (!projectName.isEmpty()) {
        for (controls::Node *node : dialog->tvwProject.rootNodes())
            if (node->text() != projectName)
                dialog->tvwProject.checkNode(node, false);
    }
    dialog->cmdOK.press();
    if (console.progress)
        console.progress(QString());
    if (platform) {
        platform->setMsgBoxHandler({});
        platform->setDoEventsHandler({});
    }
}

} // namespace

int runInspect(const QStringList &rawArgs, const frontend::Console &console)
{
    QStringList rest;
    QString projectName;
    bool projectGiven = false;
    const ReportFormat *format = &reportFormats().front();
    std::vector<int> items;
    QString outputFile;
    bool failOnFindings = false;
    for (int i = 0; i < rawArgs.size(); ++i) {
        const QString &arg = rawArgs[i];
        const bool takesValue = arg == QLatin1String("--project") || arg == QLatin1String("--checks") ||
                                arg == QLatin1String("--format") || arg == QLatin1String("--output");
        if (arg == QLatin1String("--fail-on-findings")) {
            failOnFindings = true;
            continue;
        }
        if (!takesValue) {
            rest << arg;
            continue;
        }
        if (i + 1 >= rawArgs.size())
            return inspectUsage(console, QStringLiteral("%1 needs a value").arg(arg));
        const QString value = rawArgs[++i];
        if (arg == QLatin1String("--output")) {
            outputFile = value;
        } else if (arg == QLatin1String("--project")) {
            projectName = value;
            projectGiven = true;
        } else if (arg == QLatin1String("--checks")) {
            QString error;
            if (!parseChecks(value, items, error))
                return inspectUsage(console, error);
        } else {
            const auto it = std::find_if(reportFormats().begin(), reportFormats().end(),
                                         [&](const ReportFormat &f) { return value == QLatin1String(f.name); });
            if (it == reportFormats().end())
                return inspectUsage(console, QStringLiteral("unknown format %1").arg(value));
            format = &*it;
        }
    }
    if (items.empty())
        for (const inspection::CheckItem &item : inspection::checkItems())
            items.push_back(item.index);
    ExploreArgs args;
    QString error;
    if (!parseExploreArgs(rest, {}, args, error))
        return inspectUsage(console, error);
    if (args.json)
        return inspectUsage(console, QStringLiteral("use --format json"));
    if (args.positional.size() != 1)
        return inspectUsage(console, QStringLiteral("inspect takes one FILE"));
    const bool relative = QFileInfo(args.positional[0]).isRelative();

    return withSession(
        args, console,
        [&](frontend::Session &session) {
            const auto vbe = session.ide->vbe();
            if (projectGiven)
                requireProject(*vbe, projectName);
            QStringList errors;
            runDialog(session, items, projectName, errors, console);
            InspectionReport report = buildInspectionReport(*vbe, shared::basQuillbox(), relative);
            report.errors = errors;
            for (const QString &e : errors)
                console.err(QStringLiteral("tessary: %1").arg(e));
            if (!writeOutput(format->emit(report), outputFile, console))
                return int(frontend::ExitUsage);
            if (!errors.isEmpty())
                return int(frontend::ExitUsage);
            return int(failOnFindings && findingCount(report) > 0 ? kExitFindings : frontend::ExitLoaded);
        },
        frontend::ExitUsage);
}

} // namespace cli
