#pragma once
// What `tessary inspect` prints, whatever the format: the findings of the last inspection
// run per project and module, in the order the Optimize tab shows them, with the file
// positions the stand-in IDE knows. One emitter per format reads it.
#include "host/vbide.h"
#include "shared/bas_quillbox.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace cli {

struct InspectionFinding {
    int item = 0;         ///< the dialog's check item number, 1-13 (chkItem index + 1)
    QString check;        ///< the item's stable id
    QString name;         ///< the procedure, variable, function or module it is about
    QString location;     ///< the report's location column
    int line = 0;         ///< pane line as the check recorded it; 0 when it has none
    int fileLine = 0;     ///< the same line in the module's file; 0 when it has none
    QString icon;         ///< "INFORMATION" or "EXCLAMATION"
    QString message;      ///< the report's Japanese message
};

struct InspectionModule {
    QString name;
    QString componentType;
    QString file;         ///< the module's file as the project names it ("" without one)
    std::vector<InspectionFinding> findings;
};

struct InspectionProject {
    QString name;
    QString file;         ///< the .vbp
    std::vector<InspectionModule> modules;
};

struct InspectionReport {
    std::vector<InspectionProject> projects;
    /// The error prompts the run answered with No ("Project.Module: Err.Number:...").
    QStringList errors;
};

/// The report of the shared inspection results: projects, modules and findings in the order
/// of the report's sorted tree and lists. `relativePaths` writes the
/// files relative to the current directory.
InspectionReport buildInspectionReport(const host::VBE &vbe, const shared::BasQuillbox &results,
                                       bool relativePaths);

/// The report as JSON: {"projects":[{"name","modules":[{"name","file","findings":[{"item",
/// "check","name","line","fileLine","message"}]}]}]}.
QString inspectionJson(const InspectionReport &report);

} // namespace cli
