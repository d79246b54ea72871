#pragma once
// Procedure call references: the call-analysis tree of the "Relative" tab (procedures, the
// procedures each one calls, their callees in turn) and the callers and callees lists.
#include "analysis/tool_window.h"
#include "host/vbide.h"

#include <QString>
#include <vector>

namespace analysis {

/// One method member found by ScanProjectProcedures.
struct ProcedureEntry {
    QString Module;
    QString Procedure;
    host::Scope Scope = host::Scope::Private;
    int MemberType = 1;
    host::ComponentType ComponentKind = host::ComponentType::StdModule;
};

/// Adds a node per procedure and property under the module nodes of the call-analysis tree and
/// appends an entry per method member; `count` is the table's length on return.
void ScanProjectProcedures(ToolWindow &window, const host::Ptr<host::VBProject> &project,
                           std::vector<ProcedureEntry> &entries, int &count);

/// The call-site test: whether trimmed code line `line` calls `name` of module `module`
/// (qualified calls count for global procedures only).
bool isCallSite(QStringView line, const QString &name, const QString &module, bool global);

/// Adds, under the node of every procedure that calls an entry, a callee entry for it.
void FindProcedureCalls(ToolWindow &window, const host::Ptr<host::VBProject> &project,
                        std::vector<ProcedureEntry> &entries, int count);

/// Copies under every callee entry the callees of the procedure it names, recursively, up to a
/// procedure already on the path: the whole tree at once (all three null), or one copied node.
/// Grows with the number of call paths; the tool window expands lazily instead
/// (PrepareCallTree), with the same result.
void ExpandCallTree(ToolWindow &window, controls::Node *context, controls::Node *target,
                    controls::Node *definition);

/// Marks every callee entry that ExpandCallTree would give children as having children to load.
void PrepareCallTree(ToolWindow &window);
/// The tree's LoadChildren handler: adds under a callee entry, or a copy of one, exactly the
/// children ExpandCallTree gives it, each marked in turn when it would have children.
void LoadCallTreeChildren(controls::TreeView &tree, controls::Node *node);

/// How the callees of callees enter the tree: when an entry is first opened, or all at once.
enum class CallTreeExpansion { Lazy, Full };

/// Rebuilds the call-analysis tree of the current project. `vbe` is the host whose projects
/// are searched.
void AnalyzeProcedureCalls(ToolWindow &window, const host::Ptr<host::VBE> &vbe,
                           CallTreeExpansion expansion = CallTreeExpansion::Lazy);

/// The Relative list: the procedures that the clicked procedure calls, or that call it.
void ShowCallees(ToolWindow &window, const host::Ptr<host::VBE> &vbe, controls::Node *node,
                 bool createColumns);
void ShowCallers(ToolWindow &window, const host::Ptr<host::VBE> &vbe, controls::Node *node,
                 bool createColumns, QString &currentTag);

} // namespace analysis
