#include "cli/inspect_report.h"

#include "controls/common.h"
#include "cli/module_files.h"
#include "inspection/check_items.h"

#include <QDir>
#include <algorithm>

namespace cli {

namespace {

bool byText(const QString &a, const QString &b) { return controls::compareText(a, b) < 0; }

InspectionModule moduleReport(const host::VBE &vbe, const shared::AnalizeResult &result, bool relativePaths)
{
    InspectionModule module{result.ModuleName, result.ComponentType, QString(), {}};
    host::Ptr<host::CodeModule> code;
    host::resumeNext([&] {
        const auto component = vbe.vbProjects()->item(result.ProjectName)->vbComponents()->item(result.ModuleName);
        module.file = moduleFile(*component, relativePaths);
        code = component->codeModule();
    });
    for (const inspection::ReportFinding &row : inspection::reportFindings(result)) {
        InspectionFinding finding;
        finding.item = row.item->index + 1;
        finding.check = QString::fromLatin1(row.item->id);
        finding.name = row.name;
        finding.location = row.location;
        finding.line = row.line;
        finding.fileLine = fileLineOf(code, row.line);
        finding.icon = row.icon;
        finding.message = row.message;
        module.findings.push_back(std::move(finding));
    }
    // The report's list is sorted on its location column; equal locations keep their order.
    std::stable_sort(module.findings.begin(), module.findings.end(),
                     [](const InspectionFinding &a, const InspectionFinding &b) { return byText(a.location, b.location); });
    return module;
}

} // namespace

InspectionReport buildInspectionReport(const host::VBE &vbe, const shared::BasQuillbox &results, bool relativePaths)
{
    InspectionReport report;
    const int count =
        std::min({results.gAnalizeCount, int(results.gAnalizeModules.size()), int(results.gAnalizeResults.size())});
    for (int i = 0; i < count; ++i) {
        const shared::AnalizeResult &result = results.gAnalizeResults[std::size_t(i)];
        if (report.projects.empty() || report.projects.back().name != result.ProjectName) {
            InspectionProject project{result.ProjectName, QString(), {}};
            host::resumeNext([&] { project.file = vbe.vbProjects()->item(result.ProjectName)->fileName(); });
            if (relativePaths && !project.file.isEmpty())
                project.file = QDir::current().relativeFilePath(project.file);
            report.projects.push_back(std::move(project));
        }
        report.projects.back().modules.push_back(moduleReport(vbe, result, relativePaths));
    }
    // The report tree sorts its projects, and each project's modules, by name.
    std::stable_sort(report.projects.begin(), report.projects.end(),
                     [](const InspectionProject &a, const InspectionProject &b) { return byText(a.name, b.name); });
    for (InspectionProject &project : report.projects)
        std::stable_sort(project.modules.begin(), project.modules.end(),
                         [](const InspectionModule &a, const InspectionModule &b) { return byText(a.name, b.name); });
    return report;
}

} // namespace cli
