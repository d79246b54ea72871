#pragma once
// The text and SARIF emitters of `tessary inspect`, and what the command reports while and
// after it runs: the progress line and the finding count behind --fail-on-findings.
#include "cli/inspect_report.h"
#include "frontend/console.h"

namespace cli {

/// One line per finding, `file:line: [check-id] message` with the line of the module's file
/// (no line part for a finding without one), projects and modules in report order, then a
/// summary: the totals and the count per check.
QString inspectionText(const InspectionReport &report);

/// SARIF 2.1.0: one run, one rule per check item in item order (id, name, short and full
/// description, level), one result per finding with its file and line. Files are relative
/// URIs: as the report gives them when they are relative, else relative to the folder that
/// holds every project, named by the base id "SRCROOT".
QString inspectionSarif(const InspectionReport &report);

/// The number of findings of the report.
int findingCount(const InspectionReport &report);

/// Writes `text` and a newline to `file` in UTF-8, or to the console's output when `file` is
/// empty; false with a message on the console's error stream when the file cannot be written.
bool writeOutput(const QString &text, const QString &file, const frontend::Console &console);

/// The progress line for the run's module label ("Project.Module (3/40)"): a bar of
/// `width` cells, the count and the module; empty for a label without a count.
QString progressLine(const QString &moduleLabel, int width = 30);

} // namespace cli
