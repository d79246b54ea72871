// The inspection report as text and as SARIF.
#include "cli/inspect_formats.h"

#include "frontend/json.h"
#include "inspection/check_items.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QUrl>
#include <algorithm>
#include <map>

namespace cli {

namespace {

/// Why each check matters, for the SARIF rules' full descriptions.
const char *fullDescription(const QString &id)
{
    static const std::map<QString, const char *> descriptions = {
        {QStringLiteral("implicit-public"),
         "A procedure declared without Public, Private or Friend is public by default; saying so makes the "
         "module's interface deliberate."},
        {QStringLiteral("implicit-byref"),
         "An argument declared without ByVal or ByRef is passed by reference by default, so the procedure can "
         "change the caller's variable."},
        {QStringLiteral("empty-procedure"), "The procedure holds no statement, only its declaration, comments or blank lines."},
        {QStringLiteral("unused-procedure"), "No other line of the project calls or names the procedure."},
        {QStringLiteral("unused-declare"), "No line of the project calls the external (DLL) function a Declare statement names."},
        {QStringLiteral("option-explicit"),
         "Without Option Explicit a misspelt name silently becomes a new Variant variable."},
        {QStringLiteral("implicit-variant-return"),
         "A Function or Property Get without an As clause returns a Variant, which is slower and hides type errors."},
        {QStringLiteral("unused-public-variable"), "No module of the project uses the public variable."},
        {QStringLiteral("unused-module-variable"), "No procedure of its module uses the module-level variable."},
        {QStringLiteral("unused-local-variable"), "The procedure declares the local variable but never uses it."},
        {QStringLiteral("string-function"),
         "The string function without \"$\" returns a Variant holding a String; the \"$\" form returns a String."},
        {QStringLiteral("implicit-variant-variable"),
         "A variable declared without an As clause or a type character is a Variant."},
        {QStringLiteral("debug-print"), "A Debug.Print statement is left in the code, not commented out."},
    };
    const auto it = descriptions.find(id);
    return it == descriptions.end() ? "" : it->second;
}

/// "implicit-byref" -> "ImplicitByref", the rule's name.
QString ruleName(const QString &id)
{
    QString name;
    for (const QString &word : id.split(QLatin1Char('-')))
        name += word.left(1).toUpper() + word.mid(1);
    return name;
}

QString level(const QString &icon)
{
    return icon == QLatin1String("EXCLAMATION") ? QStringLiteral("warning") : QStringLiteral("note");
}

QString moduleFile(const InspectionProject &project, const InspectionModule &module)
{
    return module.file.isEmpty() ? project.name + QLatin1Char('.') + module.name : module.file;
}

/// The folder that holds every project's file, for absolute paths.
QString commonFolder(const InspectionReport &report)
{
    QStringList common;
    bool first = true;
    for (const InspectionProject &project : report.projects) {
        const QStringList parts = QDir::cleanPath(QFileInfo(project.file).absolutePath()).split(QLatin1Char('/'));
        if (first) {
            common = parts;
            first = false;
            continue;
        }
        qsizetype n = 0;
        while (n < common.size() && n < parts.size() && common[n] == parts[n])
            ++n;
        common = common.mid(0, n);
    }
    return common.join(QLatin1Char('/'));
}

QString encodedPath(const QString &path)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(QDir::fromNativeSeparators(path), "/"));
}

} // namespace

int findingCount(const InspectionReport &report)
{
    int count = 0;
    for (const InspectionProject &project : report.projects)
        for (const InspectionModule &module : project.modules)
            count += int(module.findings.size());
    return count;
}

QString inspectionText(const InspectionReport &report)
{
    QStringList lines;
    std::map<int, int> perItem;
    int modules = 0, modulesWithFindings = 0;
    for (const InspectionProject &project : report.projects) {
        for (const InspectionModule &module : project.modules) {
            ++modules;
            if (!module.findings.empty())
                ++modulesWithFindings;
            const QString file = moduleFile(project, module);
            for (const InspectionFinding &f : module.findings) {
                const QString at = f.fileLine > 0 ? QStringLiteral("%1:%2").arg(file).arg(f.fileLine) : file;
                lines << QStringLiteral("%1: [%2] %3").arg(at, f.check, f.message);
                ++perItem[f.item];
            }
        }
    }
    const int total = findingCount(report);
    lines << QStringLiteral("%1 finding%2 in %3 of %4 module%5 (%6 project%7)")
                 .arg(total)
                 .arg(total == 1 ? "" : "s")
                 .arg(modulesWithFindings)
                 .arg(modules)
                 .arg(modules == 1 ? "" : "s")
                 .arg(report.projects.size())
                 .arg(report.projects.size() == 1 ? "" : "s");
    for (const auto &[item, count] : perItem)
        lines << QStringLiteral("  %1 %2").arg(QLatin1String(inspection::checkItem(item - 1)->id), -26).arg(count, 6);
    return lines.join(QLatin1Char('\n'));
}

QString inspectionSarif(const InspectionReport &report)
{
    using frontend::Json;
    Json rules = Json::array();
    std::map<QString, int> ruleIndex;
    for (const inspection::CheckItem &item : inspection::checkItems()) {
        const QString id = QLatin1String(item.id);
        ruleIndex[id] = int(ruleIndex.size());
        const QString icon = item.list ? inspection::findingIcon(*item.list) : inspection::optionExplicitIcon();
        rules.push(Json::object()
                       .set("id", id)
                       .set("name", ruleName(id))
                       .set("shortDescription", Json::object().set("text", QString::fromUtf8(item.caption)))
                       .set("fullDescription", Json::object().set("text", fullDescription(id)))
                       .set("defaultConfiguration", Json::object().set("level", level(icon)))
                       .set("properties", Json::object().set("item", item.index + 1)));
    }

    bool relative = true;
    for (const InspectionProject &project : report.projects)
        relative = relative && !QDir::isAbsolutePath(project.file);
    const QString base = relative ? QString() : commonFolder(report);

    Json results = Json::array();
    for (const InspectionProject &project : report.projects) {
        for (const InspectionModule &module : project.modules) {
            QString file = moduleFile(project, module);
            Json artifact = Json::object();
            if (relative || !QDir::isAbsolutePath(file)) {
                artifact.set("uri", encodedPath(file));
            } else {
                artifact.set("uri", encodedPath(QDir(base).relativeFilePath(file)));
                artifact.set("uriBaseId", "SRCROOT");
            }
            for (const InspectionFinding &f : module.findings) {
                Json physical = Json::object().set("artifactLocation", artifact);
                if (f.fileLine > 0)
                    physical.set("region", Json::object().set("startLine", f.fileLine));
                Json logical = Json::object()
                                   .set("name", f.name)
                                   .set("fullyQualifiedName", project.name + QLatin1Char('.') + module.name +
                                                                  (f.location.isEmpty() ? QString()
                                                                                        : QLatin1Char('.') + f.location));
                results.push(Json::object()
                                 .set("ruleId", f.check)
                                 .set("ruleIndex", ruleIndex[f.check])
                                 .set("level", level(f.icon))
                                 .set("message", Json::object().set("text", f.message))
                                 .set("locations", Json::array().push(Json::object()
                                                                          .set("physicalLocation", std::move(physical))
                                                                          .set("logicalLocations",
                                                                               Json::array().push(std::move(logical))))));
            }
        }
    }

    Json notifications = Json::array();
    for (const QString &error : report.errors)
        notifications.push(Json::object().set("level", "error").set("message", Json::object().set("text", error)));
    Json run = Json::object()
                   .set("tool", Json::object().set("driver", Json::object()
                                                                 .set("name", "Tessary")
                                                                 .set("rules", std::move(rules))));
    if (!relative)
        run.set("originalUriBaseIds",
                Json::object().set("SRCROOT", Json::object().set(
                                                  "uri", QUrl::fromLocalFile(base + QLatin1Char('/')).toString(QUrl::FullyEncoded))));
    run.set("invocations", Json::array().push(Json::object()
                                                  .set("executionSuccessful", report.errors.isEmpty())
                                                  .set("toolExecutionNotifications", std::move(notifications))));
    run.set("results", std::move(results));
    return Json::object()
        .set("$schema", "https://json.schemastore.org/sarif-2.1.0.json")
        .set("version", "2.1.0")
        .set("runs", Json::array().push(std::move(run)))
        .dump();
}

bool writeOutput(const QString &text, const QString &file, const frontend::Console &console)
{
    if (file.isEmpty()) {
        console.out(text);
        return true;
    }
    QSaveFile out(file);
    if (out.open(QIODevice::WriteOnly)) {
        out.write(text.toUtf8());
        out.write("\n");
        if (out.commit())
            return true;
    }
    console.err(QStringLiteral("tessary: cannot write %1: %2").arg(file, out.errorString()));
    return false;
}

QString progressLine(const QString &moduleLabel, int width)
{
    static const QRegularExpression count(QStringLiteral("^(.*) \\((\\d+)/(\\d+)\\)$"));
    const QRegularExpressionMatch match = count.match(moduleLabel);
    if (!match.hasMatch())
        return {};
    const int done = match.captured(2).toInt();
    const int total = std::max(match.captured(3).toInt(), 1);
    // The module named is the one under way: the bar shows those before it.
    const int filled = int(qint64(width) * std::clamp(done - 1, 0, total) / total);
    return QStringLiteral("[%1%2] %3/%4 %5")
        .arg(QString(filled, QLatin1Char('#')), QString(width - filled, QLatin1Char('.')))
        .arg(done)
        .arg(total)
        .arg(match.captured(1));
}

} // namespace cli
