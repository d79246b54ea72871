#pragma once
// The search behind the Find dialog: one hit per matching source line, recorded in the
// shared gFindText / gFindCount / gFindResults.
#include "host/vbide.h"
#include "shared/bas_quillbox.h"

#include <QString>

namespace find {

/// The dialog's three check boxes.
struct FindOptions {
    bool wholeWord = false;
    bool matchCase = false;
    bool patternSearch = false;
};

/// What to search: every project (tag "PROJECTS"), one project (tag "PROJECT", text = its
/// name) or one component (tag = its project's name, text = the component's name), as the
/// items of the dialog's target list carry them.
struct FindTarget {
    QString tag;
    QString text;

    static FindTarget allProjects() { return {QStringLiteral("PROJECTS"), QStringLiteral("PROJECTS")}; }
    static FindTarget project(const QString &name) { return {QStringLiteral("PROJECT"), name}; }
    static FindTarget component(const QString &project, const QString &name) { return {project, name}; }
};

/// Discards the previous hits, then searches `target` for `text` (trimmed of blanks).
/// True when at least one hit was recorded. Host errors while looking up the target's
/// project or component propagate; errors inside a component only end that component.
bool RunSearch(const host::Ptr<host::VBE> &vbe, const QString &text, const FindTarget &target,
               const FindOptions &options, shared::BasQuillbox &shared);

/// Appends the hits of one component, in line order, one per line.
void SearchComponent(const QString &projectName, const host::Ptr<host::VBComponent> &component,
                     const FindOptions &options, shared::BasQuillbox &shared);

} // namespace find
