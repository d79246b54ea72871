#pragma once
// The thirteen check items of the inspection dialog, listed once: what the dialog shows,
// the order the run executes them in, their stable ids for the CLI's output formats, and
// the finding lists with the report's icons and messages.
#include "shared/records.h"

#include <QString>
#include <optional>
#include <vector>

namespace inspection {

inline constexpr int kCheckItemCount = 13;

/// One check item (chkItem(index)).
struct CheckItem {
    int index;            ///< chkItem index, 0..12; the CLI numbers it index + 1
    const char *caption;  ///< the check box's caption
    int row;              ///< position on the page, 1..13, top to bottom
    const char *id;       ///< stable kebab-case id ("unused-procedure")
    /// The finding list it fills; none for the Option Explicit item (a flag, not a list).
    std::optional<shared::FindingList> list;
};

/// The thirteen items by index.
const std::vector<CheckItem> &checkItems();
/// The item of an index (0..12); null outside.
const CheckItem *checkItem(int index);
/// The item of a stable id; null for an unknown id.
const CheckItem *checkItemById(const QString &id);
/// The item that fills a finding list.
const CheckItem &checkItemOfList(shared::FindingList list);
/// The Option Explicit item.
const CheckItem &optionExplicitItem();

/// The report's icon key of a finding list ("INFORMATION" or "EXCLAMATION").
QString findingIcon(shared::FindingList list);
/// The report's message of a finding of that list.
QString findingMessage(shared::FindingList list, const shared::AnalizeItem &item);

/// The missing Option Explicit row of the report.
QString optionExplicitLocation();
QString optionExplicitIcon();
QString optionExplicitMessage();

/// One finding as the report shows it, in report row order: the Option Explicit row first,
/// then lists 1 to 12, each in item order, only the stored counts.
struct ReportFinding {
    const CheckItem *item;
    QString location;
    int line;    ///< pane line as the check recorded it (0 for Option Explicit)
    QString name;
    QString icon;
    QString message;
};
std::vector<ReportFinding> reportFindings(const shared::AnalizeResult &result);

} // namespace inspection
