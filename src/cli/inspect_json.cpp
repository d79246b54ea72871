// The inspection report as JSON.
#include "cli/inspect_report.h"

#include "frontend/json.h"

namespace cli {

QString inspectionJson(const InspectionReport &report)
{
    frontend::Json projects = frontend::Json::array();
    for (const InspectionProject &project : report.projects) {
        frontend::Json modules = frontend::Json::array();
        for (const InspectionModule &module : project.modules) {
            frontend::Json findings = frontend::Json::array();
            for (const InspectionFinding &f : module.findings)
                findings.push(frontend::Json::object()
                                  .set("item", f.item)
                                  .set("check", f.check)
                                  .set("name", f.name)
                                  .set("line", f.line)
                                  .set("fileLine", f.fileLine)
                                  .set("message", f.message));
            modules.push(frontend::Json::object()
                             .set("name", module.name)
                             .set("file", module.file)
                             .set("findings", std::move(findings)));
        }
        projects.push(frontend::Json::object().set("name", project.name).set("modules", std::move(modules)));
    }
    return frontend::Json::object().set("projects", std::move(projects)).dump();
}

} // namespace cli
