#pragma once
// What every check of the code inspection shares: the context the run hands it (title
// label, progress bar 1, stop request, the result entries), the error prompt each check
// runs under, the member walk, procedure ranges, the line-by-line search, the local
// declaration scan, and the thirteen check routines themselves.
#include "host/vbide.h"
#include "shared/records.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace inspection {

/// What a check sees of the dialog and the shared results while it runs. The dialog
/// (frmOptimize) implements the hooks; the plain object is a silent run over `results`.
class CheckContext {
public:
    explicit CheckContext(std::vector<shared::AnalizeResult> &results) : m_results(&results) {}
    virtual ~CheckContext();

    /// lblCheck = title, then a yield to the message loop.
    virtual void setCheckTitle(const QString &title);
    /// SetCheckProgress(index, value, max) on prgAnalize(index), then a yield.
    virtual void SetCheckProgress(int index, int value, int max);
    /// The error prompt's Yes: blnStop.
    virtual void requestStop() { m_stop = true; }
    bool stopRequested() const { return m_stop; }
    void clearStop() { m_stop = false; }

    /// gAnalizeResults(i); 9 "Subscript out of range" outside the entries.
    shared::AnalizeResult &result(int i);
    std::vector<shared::AnalizeResult> &results() { return *m_results; }
    void setResults(std::vector<shared::AnalizeResult> &results) { m_results = &results; }

private:
    std::vector<shared::AnalizeResult> *m_results; // not owned
    bool m_stop = false;
};

/// The prompt of a failed check: "Err.Number:" number ", " description, a line break and
/// the question whether to stop.
QString errorPromptText(int number, const QString &description);

/// Runs one check with the inspection's error trap: any error asks the user (Yes/No,
/// exclamation) whether to stop; Yes requests the stop. The check ends at once either way,
/// so what it had not stored yet stays unstored. Returns false when the check failed.
bool runChecked(CheckContext &context, const std::function<void()> &check);

/// One finding list of one module, filled the way every check does it: the item is
/// written at index count, the count grows after it, and the count reaches the record
/// only through store() (a check that fails midway stores nothing).
class Findings {
public:
    Findings(shared::AnalizeResult &result, shared::FindingList list);
    void append(const QString &location, int line, const QString &name);
    int count() const { return m_count; }
    /// Writes the count into the module's entry.
    void store();

private:
    shared::AnalizeResult::List *m_list; // not owned
    int m_count;
};

/// Skeleton steps 1 and 2: lblCheck = title, yield, SetCheckProgress(1, 0, 0), then the
/// component's code module; null when it has none (the check then ends without storing).
host::Ptr<host::CodeModule> beginCheck(CheckContext &context, const QString &title,
                                       const host::Ptr<host::VBComponent> &component);

/// Skeleton step 4 over members 1..m (nothing for m = 0): SetCheckProgress(1, 0, m); per
/// member the counting title "title (j/m)", SetCheckProgress(1, j, 0) and
/// examine(member, j); SetCheckProgress(1, 0, 0) after the walk.
void walkMembers(CheckContext &context, const QString &title, const host::Members &members,
                 const std::function<void(const host::Ptr<host::Member> &, int)> &examine);

/// The whole skeleton of a check that walks its module's members into one finding list:
/// title, code module (none ends the check), the member walk calling
/// examine(code, member, findings), and the count stored at the end.
void walkModuleMembers(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i,
                       const QString &title, shared::FindingList list,
                       const std::function<void(const host::CodeModule &, const host::Member &, Findings &)> &examine);

/// One procedure of a member: a method's one range, or one property accessor.
struct ProcRange {
    QString displayName; ///< the member name, or "Property Get " & name and the like
    host::ProcKind kind = host::ProcKind::Proc;
    int start = 0;       ///< ProcStartLine
    int count = 0;       ///< ProcCountLines
    int end() const { return start + count - 1; }
};

/// The ranges of a member: one for a method (host errors propagate), each existing
/// accessor of a property in the order Get, Let, Set (lookups that fail count as absent),
/// none for other members.
std::vector<ProcRange> procedureRanges(const host::CodeModule &code, const host::Member &member);

/// A line counts as a comment when, trimmed of blanks, it begins with an apostrophe.
bool isCommentLine(const QString &lineText);
/// Line `line` of the module is a comment line.
bool isCommentLine(const host::CodeModule &code, int line);

/// One Find over lines startLine..endLine (-1: to the end), column 1 to the end of the
/// last line, not case-sensitive: the line of the hit, 0 when there is none (also when
/// the range is empty). `endLineOut` receives the hit's last line.
int findLine(const host::CodeModule &code, const QString &target, int startLine, int endLine = -1,
             bool wholeWord = true, bool patternSearch = false, int *endLineOut = nullptr);

/// The line-by-line search of the checks: Find from (line, 1) to endLine; a hit that
/// `accept(hitLine, hitEndLine)` refuses continues from the next line. The accepted hit's
/// line, or 0.
int findAccepted(const host::CodeModule &code, const QString &target, int startLine, int endLine,
                 const std::function<bool(int line, int lastLine)> &accept);

/// The components of a project as one check walks them for a public name: read on the
/// first walk, their code modules on first use.
class ProjectModules {
public:
    explicit ProjectModules(host::Ptr<host::VBProject> project) : m_project(std::move(project)) {}

    struct Entry {
        host::Ptr<host::VBComponent> component;
        QString name;
        host::ComponentType type;
        host::Ptr<host::CodeModule> code;
        /// Resource files and related documents, which have no code module.
        bool holdsNoCode() const;
        /// The code module, read on first use (91 for a component without one).
        const host::CodeModule &codeModule();
    };

    std::vector<Entry> &entries();

    /// The walk of a public name over components 1 to count: `own()` for the checked module
    /// (the one named `ownName`), `other(code)` for every other module that holds code; the
    /// first use ends the walk.
    bool usedAnywhere(const QString &ownName, const std::function<bool()> &own,
                      const std::function<bool(const host::CodeModule &)> &other);

private:
    host::Ptr<host::VBProject> m_project;
    std::vector<Entry> m_entries;
    bool m_read = false;
};

/// The event sources of a designer's code: the names of its controls (errors ignored),
/// then "Form", "MDIForm", "UserControl", "UserDocument".
QStringList eventSourceNames(const host::VBComponent &component);
/// The member name holds, not case-sensitive, any event source followed by "_".
bool isEventProcedure(const QString &memberName, const QStringList &eventSources);
/// The prefixes of procedures the runtime or an interface calls and whose signature the
/// developer cannot change: the event sources, "Class", "PropertyPage", the module's
/// WithEvents variables and implemented interfaces.
QStringList fixedSignatureSources(const host::CodeModule &code, const host::VBComponent &component);

/// The local declaration scan of one procedure range: for the keywords "Dim" then
/// "Static", every statement found (comment lines skipped, continuations joined, keywords
/// inside string literals skipped, trailing comment cut; a "Static" procedure declaration
/// gives its argument list without ByVal/ByRef/Optional, other statements lose "Dim " and
/// "Static "), with "()" removed and trimmed, is passed to `declaration(text, line)`.
/// Returns the line of the last keyword hit in the range (0 when there was none).
int scanLocalDeclarations(const host::CodeModule &code, const ProcRange &range, const QString &memberName,
                          const std::function<void(const QString &text, int line)> &declaration);

// The thirteen checks. Each is called once per module with the module's host component
// and its index i in the results; errors propagate to runChecked.

/// Option Explicit missing (item 5, the OptionExplicit flag).
void CheckOptionExplicit(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i);
/// Module variables without a type (item 11, list 11).
void CheckModuleVariableTypes(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i);
/// Local variables without a type (item 11, list 11, after the module variables).
void CheckLocalVariableTypes(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i);
/// Public (item 7, list 6) and module (item 8, list 7) variables never used.
void CheckUnusedVariables(CheckContext &context, const host::Ptr<host::VBProject> &project,
                          const host::Ptr<host::VBComponent> &component, int i, bool publicWanted,
                          bool moduleWanted);
/// Locals and Static procedure arguments never used (item 9, list 8).
void CheckUnusedLocalVariables(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i);
/// String functions called without "$" (item 10, list 9).
void CheckStringFunctions(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i);
/// Procedures without a scope keyword (item 0, list 1).
void CheckProcedureScope(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i);
/// Sub and Function procedures nothing refers to (item 3, list 4).
void CheckUnusedProcedures(CheckContext &context, const host::Ptr<host::VBProject> &project,
                           const host::Ptr<host::VBComponent> &component, int i);
/// Procedures without a line of code (item 2, list 3).
void CheckEmptyProcedures(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i);
/// Arguments without ByVal or ByRef (item 1, list 2).
void CheckByRefDeclare2(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i);
/// Functions and Property Get without a return type (item 6, list 10).
void CheckReturnTypes(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i);
/// Declare statements nothing refers to (item 4, list 5).
void CheckUnusedDeclares(CheckContext &context, const host::Ptr<host::VBProject> &project,
                         const host::Ptr<host::VBComponent> &component, int i);
/// Debug.Print statements not commented out (item 12, list 12).
void CheckDebugPrint(CheckContext &context, const host::Ptr<host::VBComponent> &component, int i);

} // namespace inspection
