#include "inspection/check_items.h"

#include "host/error.h"

namespace inspection {

using shared::FindingList;

const std::vector<CheckItem> &checkItems()
{
    static const std::vector<CheckItem> items = {
        {0, "プロシージャのスコープ定義（暗黙的なパブリック宣言）", 7, "implicit-public", FindingList::Scope},
        {1, "引数の渡し方の定義（暗黙的なByRef宣言）", 10, "implicit-byref", FindingList::ByRef},
        {2, "コードが記述されていないプロシージャ", 9, "empty-procedure", FindingList::EmptyProcedure},
        {3, "未使用のプロシージャ", 8, "unused-procedure", FindingList::UnusedProcedure},
        {4, "未使用の外部関数（DLL/Win32API）", 12, "unused-declare", FindingList::UnusedDeclare},
        {5, "Option Explicit宣言", 1, "option-explicit", std::nullopt},
        {6, "戻り値の型宣言（暗黙的なバリアント型宣言）", 11, "implicit-variant-return", FindingList::ReturnType},
        {7, "未使用のパブリック変数", 3, "unused-public-variable", FindingList::UnusedPublicVariable},
        {8, "未使用のモジュール変数", 4, "unused-module-variable", FindingList::UnusedModuleVariable},
        {9, "未使用のローカル変数", 5, "unused-local-variable", FindingList::UnusedLocalVariable},
        {10, "文字列関数の明示的な型変換", 6, "string-function", FindingList::StringFunction},
        {11, "変数の型宣言（暗黙的なバリアント型宣言）", 2, "implicit-variant-variable", FindingList::VariableType},
        {12, "コメント化されていないDebug.Print文", 13, "debug-print", FindingList::DebugPrint},
    };
    return items;
}

const CheckItem *checkItem(int index)
{
    if (index < 0 || index >= kCheckItemCount)
        return nullptr;
    return &checkItems()[std::size_t(index)];
}

const CheckItem *checkItemById(const QString &id)
{
    for (const CheckItem &item : checkItems())
        if (id == QLatin1String(item.id))
            return &item;
    return nullptr;
}

const CheckItem &checkItemOfList(FindingList list)
{
    for (const CheckItem &item : checkItems())
        if (item.list == list)
            return item;
    throw host::Error(host::err::SubscriptOutOfRange);
}

const CheckItem &optionExplicitItem() { return checkItems()[5]; }

QString findingIcon(FindingList list)
{
    switch (list) {
    case FindingList::Scope:
    case FindingList::ByRef:
    case FindingList::EmptyProcedure:
        return QStringLiteral("INFORMATION");
    default:
        return QStringLiteral("EXCLAMATION");
    }
}

QString findingMessage(FindingList list, const shared::AnalizeItem &item)
{
    const QString &name = item.Name;
    switch (list) {
    case FindingList::Scope:
        return name + QStringLiteral("の適用範囲は、暗黙的にパブリックとなります");
    case FindingList::ByRef:
        return name + QStringLiteral("の引数は暗黙的に参照渡しとなります。");
    case FindingList::EmptyProcedure:
        return name + QStringLiteral("は空のプロシージャです");
    case FindingList::UnusedProcedure:
        return name + QStringLiteral("は未使用のプロシージャです");
    case FindingList::UnusedDeclare:
        return QStringLiteral("外部関数 ") + item.Location + QStringLiteral(" は未使用です");
    case FindingList::UnusedPublicVariable:
        return QStringLiteral("パブリック変数 ") + name + QStringLiteral(" は未使用です");
    case FindingList::UnusedModuleVariable:
        return QStringLiteral("モジュール変数 ") + name + QStringLiteral(" は未使用です");
    case FindingList::UnusedLocalVariable:
        // U+FF0D, the full-width hyphen-minus, as the original message has it.
        return QStringLiteral("ロ\uFF0Dカル変数 ") + name + QStringLiteral(" は未使用です");
    case FindingList::StringFunction:
        return name + QStringLiteral("は内部処理形式StringのVariant型を返します。") + name +
               QStringLiteral("$の使用を検討してください");
    case FindingList::ReturnType:
        return name + QStringLiteral("の戻り値は、明示的な型宣言をしていないためバリアント型となります");
    case FindingList::VariableType:
        return QStringLiteral("変数") + name + QStringLiteral("は、明示的に型宣言をしていないためバリアント型となります");
    case FindingList::DebugPrint:
        return QStringLiteral("コメント化されていないDebug.Print文があります");
    }
    return {};
}

QString optionExplicitLocation() { return QStringLiteral("Declarations"); }
QString optionExplicitIcon() { return QStringLiteral("INFORMATION"); }
QString optionExplicitMessage() { return QStringLiteral("Option Explicit が宣言されていません"); }

std::vector<ReportFinding> reportFindings(const shared::AnalizeResult &result)
{
    std::vector<ReportFinding> rows;
    if (!result.OptionExplicit)
        rows.push_back({&optionExplicitItem(), optionExplicitLocation(), 0, result.ModuleName, optionExplicitIcon(),
                        optionExplicitMessage()});
    for (int l = 0; l < shared::kFindingListCount; ++l) {
        const auto list = FindingList(l);
        const shared::AnalizeResult::List &findings = result.list(list);
        const CheckItem &item = checkItemOfList(list);
        const int count = std::min<int>(findings.count, int(findings.items.size()));
        for (int k = 0; k < count; ++k) {
            const shared::AnalizeItem &finding = findings.items[std::size_t(k)];
            rows.push_back({&item, finding.Location, finding.Line, finding.Name, findingIcon(list),
                            findingMessage(list, finding)});
        }
    }
    return rows;
}

} // namespace inspection
