#pragma once
// The tool window open over a stand-in IDE, as on connection, and its lists as text lines.
// Header-only: used by test programs that link docmain.
#include "controls/platform.h"
#include "docmain/doc_main.h"
#include "shared/bas_quillbox.h"
#include "support/test_project.h"
#include "support/tool_window_session.h"

#include <ostream>

// Readable failures: lists print as their texts.
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }

namespace testing_support {

/// The session with what the list tests need besides.
struct OpenToolWindow : ToolWindowSession {
    using ToolWindowSession::ToolWindowSession;

    const host::VBE &vbe() const { return *ide->vbe(); }
    host::Ptr<host::VBComponent> component(const QString &name, int project = 1) const
    {
        return ide->vbe()->vbProjects()->item(project)->vbComponents()->item(name);
    }
    /// Shows the list of a node of the given tag, as a click would have set it up.
    void showFor(const QString &project, const QString &tag, int tab = docmain::TabGeneral)
    {
        doc->mintCurrentTab = tab;
        doc->mstrCurrentProject = project;
        doc->mstrCurrentTag = tag;
        doc->lvwDetail(tab - 1).listItems().clear();
        doc->lvwDetail(tab - 1).columnHeaders().clear();
    }
};

/// Nodes in the order added, as "key|text|tag|image|parent key".
inline QStringList nodeLines(const controls::TreeView &tree)
{
    QStringList lines;
    for (int i = 1; i <= tree.nodes().count(); ++i) {
        const controls::Node *n = tree.nodes()(i);
        lines << QStringList{n->key(), n->text(), n->tag(), n->image(), n->parent() ? n->parent()->key() : QString()}
                     .join(QLatin1Char('|'));
    }
    return lines;
}

/// Rows as "text|small image|sub-item 1|...", in display order.
inline QStringList rowLines(const controls::ListView &list)
{
    QStringList lines;
    const int columns = list.columnHeaders().count();
    for (const controls::ListItem *item : list.listItems()) {
        QStringList cells{item->text(), item->smallIcon()};
        for (int i = 1; i < columns; ++i)
            cells << item->columnText(i);
        lines << cells.join(QLatin1Char('|'));
    }
    return lines;
}

inline QStringList rowKeys(const controls::ListView &list)
{
    QStringList keys;
    for (const controls::ListItem *item : list.listItems())
        keys << item->key();
    return keys;
}

/// Column headers as their texts, a right-aligned one followed by ">".
inline QStringList columnLines(const controls::ListView &list)
{
    QStringList lines;
    for (const controls::ColumnHeader *column : list.columnHeaders())
        lines << column->text() + (column->alignment() == controls::ColumnAlignment::Right ? QStringLiteral(">") : QString());
    return lines;
}

} // namespace testing_support
