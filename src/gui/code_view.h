#pragma once
// A code pane: the module's pane lines, read-only, with the pane's selection and top line
// mirrored both ways; its context menu is the IDE's "Code Window" command bar.
#include "host/vbide.h"

#include <functional>

#include <QPlainTextEdit>

class QMenu;

namespace gui {

class CodeView : public QPlainTextEdit {
    Q_OBJECT
public:
    CodeView(host::Ptr<host::CodePane> pane, host::Ptr<host::VBE> vbe, QWidget *parent = nullptr);

    /// Told how many lines the view shows whenever that changes (the IDE scrolls by it).
    std::function<void(int lines)> onVisibleLinesChanged;

    const host::Ptr<host::CodePane> &pane() const { return m_pane; }
    /// Writes the text (when the module changed), the selection and the top line.
    void syncFromModel();
    /// Adds the IDE's "Code Window" commands (add-ins' ones included) to `menu`; a chosen
    /// one runs from the event loop once the menu has closed.
    void fillContextMenu(QMenu &menu);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void userSelectionChanged();
    void userScrolled(int value);
    /// The document position of pane line `line`, column `column` (both 1-based), clipped.
    int positionOf(int line, int column) const;

    host::Ptr<host::CodePane> m_pane;
    host::Ptr<host::VBE> m_vbe;
    int m_lineCount = -1;
    bool m_syncing = false;
};

} // namespace gui
