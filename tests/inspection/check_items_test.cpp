// The table of check items: one row per chkItem index, each run position and id once.
#include "inspection/check_items.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace inspection;

TEST(CheckItems, IndexesRowsAndIdsAreEachUsedOnce)
{
    QSet<int> rows;
    QSet<QString> ids;
    QSet<int> lists;
    ASSERT_EQ(int(checkItems().size()), kCheckItemCount);
    for (int i = 0; i < kCheckItemCount; ++i) {
        const CheckItem &item = checkItems()[std::size_t(i)];
        EXPECT_EQ(item.index, i);
        EXPECT_GE(item.row, 1);
        EXPECT_LE(item.row, kCheckItemCount);
        rows.insert(item.row);
        const QString id = QLatin1String(item.id);
        EXPECT_FALSE(id.isEmpty());
        EXPECT_EQ(id, id.toLower());
        EXPECT_FALSE(id.contains(QLatin1Char(' ')));
        ids.insert(id);
        EXPECT_EQ(checkItemById(id), &item);
        if (item.list) {
            lists.insert(int(*item.list));
            EXPECT_EQ(&checkItemOfList(*item.list), &item);
        }
    }
    EXPECT_EQ(rows.size(), kCheckItemCount);
    EXPECT_EQ(ids.size(), kCheckItemCount);
    EXPECT_EQ(lists.size(), shared::kFindingListCount);
    EXPECT_EQ(checkItemById(QStringLiteral("no-such-check")), nullptr);
    EXPECT_EQ(checkItem(13), nullptr);
    EXPECT_FALSE(optionExplicitItem().list.has_value());
}

TEST(CheckItems, MessagesTakeTheFieldsTheReportNames)
{
    const shared::AnalizeItem item{QStringLiteral("Loc"), 3, QStringLiteral("Nm")};
    using shared::FindingList;
    EXPECT_EQ(findingMessage(FindingList::UnusedDeclare, item), QStringLiteral("外部関数 Loc は未使用です"));
    EXPECT_EQ(findingMessage(FindingList::StringFunction, item),
              QStringLiteral("Nmは内部処理形式StringのVariant型を返します。Nm$の使用を検討してください"));
    EXPECT_EQ(findingMessage(FindingList::UnusedLocalVariable, item), QStringLiteral("ロ\uFF0Dカル変数 Nm は未使用です"));
    EXPECT_EQ(findingMessage(FindingList::DebugPrint, item), QStringLiteral("コメント化されていないDebug.Print文があります"));
    EXPECT_EQ(findingIcon(FindingList::EmptyProcedure), QStringLiteral("INFORMATION"));
    EXPECT_EQ(findingIcon(FindingList::UnusedProcedure), QStringLiteral("EXCLAMATION"));
}

TEST(CheckItems, ReportRowsPutOptionExplicitFirstAndShowOnlyStoredCounts)
{
    shared::AnalizeResult result;
    result.ModuleName = QStringLiteral("Module1");
    result.OptionExplicit = false;
    auto &unused = result.list(shared::FindingList::UnusedProcedure);
    unused.items = {{QStringLiteral("A"), 4, QStringLiteral("A")}, {QStringLiteral("B"), 9, QStringLiteral("B")}};
    unused.count = 1;   // a check that failed after its first item stored only one
    const auto rows = reportFindings(result);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].location, QStringLiteral("Declarations"));
    EXPECT_STREQ(rows[0].item->id, "option-explicit");
    EXPECT_EQ(rows[1].location, QStringLiteral("A"));
    EXPECT_EQ(rows[1].message, QStringLiteral("Aは未使用のプロシージャです"));
}
