#pragma once
// The records the dialogs hand to the tool window through basQuillbox.
#include <QString>
#include <array>
#include <vector>

namespace shared {

/// One search hit.
struct FindResult {
    QString ProjectName;
    QString ModuleName;
    QString ProcName;   // "" when the line belongs to no procedure
    QString LineText;
    int Line = 0;       // 1-based; int since real modules pass 32,767 lines
    int Column = 0;     // 1-based, of the line's first match
};

/// A module chosen for an inspection.
struct AnalizeModule {
    QString ProjectName;
    QString ModuleName;
    QString ComponentType;   // "VBForm", "StdModule", ...
};

/// One finding of a check.
struct AnalizeItem {
    QString Location;
    int Line = 0;
    QString Name;
};

/// The twelve finding lists of a module, in record order.
enum class FindingList {
    Scope = 0,
    ByRef,
    EmptyProcedure,
    UnusedProcedure,
    UnusedDeclare,
    UnusedPublicVariable,
    UnusedModuleVariable,
    UnusedLocalVariable,
    StringFunction,
    ReturnType,
    VariableType,
    DebugPrint,
};
inline constexpr int kFindingListCount = 12;

/// Findings of one module. A count and its items are kept together; the count is
/// what a check stored when it ended normally.
struct AnalizeResult {
    QString ProjectName;
    QString ModuleName;
    QString ComponentType;
    bool OptionExplicit = true;
    struct List {
        int count = 0;
        std::vector<AnalizeItem> items;
    };
    std::array<List, kFindingListCount> lists;

    List &list(FindingList which) { return lists[std::size_t(which)]; }
    const List &list(FindingList which) const { return lists[std::size_t(which)]; }
    /// Sum of the twelve counts, plus one without Option Explicit.
    int total() const;
};

} // namespace shared
