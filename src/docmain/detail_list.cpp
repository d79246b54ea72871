// Detail list rows, and the column widths remembered per kind of list.
#include "docmain/doc_main.h"

namespace docmain {

using namespace controls;

void DocMain::AddDetailItem(const QString &key, const QStringList &subItems, const QString &text, const QString &image)
{
    ListView &list = currentList();
    ListItem *item = list.listItems().add(0, key, text.isEmpty() ? key : text, QString(), image);
    for (int i = 0; i < subItems.size(); ++i)
        item->setSubItem(i + 1, subItems[i]);
}

bool DocMain::buttonDown(const QString &key) const
{
    return tbrMain(0).buttons()(key)->value() == ButtonValue::Pressed;
}

int DocMain::columnWidthSlot() const
{
    const QString &tag = mstrCurrentTag;
    const bool folder = tag.contains(QLatin1Char('_'));
    switch (mintCurrentTab) {
    case TabGeneral: {
        if (tag.isEmpty() || lvwDetail(0).columnHeaders().count() == 0)
            return 0;
        if (tag == QLatin1String("Project"))
            return 1;
        if (tag == QLatin1String("Reference"))
            return 2;
        if (buttonDown(QStringLiteral("PROC")))
            return folder ? 3 : 5;
        if (buttonDown(QStringLiteral("CTRL")))
            return folder ? 4 : 6;
        return 0;
    }
    case TabRelative:
        return 7;
    case TabOptimize:
        return tag == QLatin1String("ANLZ_PROJECT") ? 11 : 10;
    case TabSearch:
        return tag == QLatin1String("FIND_PROJECT") ? 9 : 8;
    default:
        return 0;
    }
}

void DocMain::SaveColumnWidths()
{
    if (mstrCurrentTag.isEmpty() || mintCurrentTab < 1 || mintCurrentTab > 4)
        return;
    const ListView &list = currentList();
    const int count = list.columnHeaders().count();
    if (count == 0)
        return;
    const int slot = columnWidthSlot();
    if (slot == 0)
        return;
    std::vector<int> widths;
    widths.reserve(std::size_t(count));
    for (int i = 1; i <= count; ++i)
        widths.push_back(list.columnHeaders()(i)->width());
    ColumnWidthTable[std::size_t(slot)] = std::move(widths);
}

void DocMain::RestoreColumnWidths()
{
    const int slot = columnWidthSlot();
    if (slot == 0)
        return;
    const auto &widths = ColumnWidthTable[std::size_t(slot)];
    ListView &list = currentList();
    const int count = list.columnHeaders().count();
    for (int i = 1; i <= count && i <= int(widths.size()); ++i)
        host::resumeNext([&] { list.columnHeaders()(i)->setWidth(widths[std::size_t(i - 1)]); });
}

} // namespace docmain
