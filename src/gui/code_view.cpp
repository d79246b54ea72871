#include "gui/code_view.h"

#include "gui/units.h"
#include "gui/user_operation.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTimer>
#include <QTextBlock>

namespace gui {

CodeView::CodeView(host::Ptr<host::CodePane> pane, host::Ptr<host::VBE> vbe, QWidget *parent)
    : QPlainTextEdit(parent), m_pane(std::move(pane)), m_vbe(std::move(vbe))
{
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setUndoRedoEnabled(false);
    QFont font = toQFont(controls::Font{QStringLiteral("ＭＳ ゴシック"), 10});
    font.setStyleHint(QFont::TypeWriter);
    setFont(font);
    connect(this, &QPlainTextEdit::selectionChanged, this, &CodeView::userSelectionChanged);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &CodeView::userSelectionChanged);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &CodeView::userScrolled);
    syncFromModel();
}

int CodeView::positionOf(int line, int column) const
{
    const QTextBlock block = document()->findBlockByNumber(std::clamp(line, 1, std::max(1, document()->blockCount())) - 1);
    if (!block.isValid())
        return 0;
    return block.position() + std::clamp(column - 1, 0, block.length() - 1);
}

void CodeView::syncFromModel()
{
    auto module = m_pane->codeModule();
    if (!module)
        return;
    const bool wasSyncing = m_syncing;
    m_syncing = true;
    const int count = module->countOfLines();
    if (count != m_lineCount) {
        QString text = count > 0 ? module->lines(1, count) : QString();
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        setPlainText(text);
        m_lineCount = count;
    }
    int sl = 1, sc = 1, el = 1, ec = 1;
    m_pane->getSelection(sl, sc, el, ec);
    const int start = positionOf(sl, sc);
    const int end = positionOf(el, ec);
    QTextCursor cursor = textCursor();
    // The same range selected backwards (a drag in progress) is left alone.
    if (cursor.selectionStart() != std::min(start, end) || cursor.selectionEnd() != std::max(start, end)) {
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        setTextCursor(cursor);
    }
    verticalScrollBar()->setValue(m_pane->topLine() - 1);
    m_syncing = wasSyncing;
}

void CodeView::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    // The stand-in pane scrolls a selection into view by its count of visible lines;
    // tell it how many this view shows, or a click low in the view would scroll it.
    if (onVisibleLinesChanged) {
        const int lineHeight = std::max(1, fontMetrics().lineSpacing());
        onVisibleLinesChanged(std::max(1, viewport()->height() / lineHeight));
    }
}

void CodeView::userSelectionChanged()
{
    if (m_syncing)
        return;
    const QTextCursor cursor = textCursor();
    const QTextBlock startBlock = document()->findBlock(cursor.selectionStart());
    const QTextBlock endBlock = document()->findBlock(cursor.selectionEnd());
    const int sl = startBlock.blockNumber() + 1;
    const int sc = cursor.selectionStart() - startBlock.position() + 1;
    const int el = endBlock.blockNumber() + 1;
    const int ec = cursor.selectionEnd() - endBlock.position() + 1;
    int msl = 0, msc = 0, mel = 0, mec = 0;
    m_pane->getSelection(msl, msc, mel, mec);
    if (msl == sl && msc == sc && mel == el && mec == ec)
        return;
    m_syncing = true;
    userOperation([&] { m_pane->setSelection(sl, sc, el, ec); });
    m_syncing = false;
}

void CodeView::userScrolled(int value)
{
    if (m_syncing || m_pane->topLine() == value + 1)
        return;
    m_syncing = true;
    userOperation([&] { m_pane->setTopLine(value + 1); });
    m_syncing = false;
}

void CodeView::fillContextMenu(QMenu &menu)
{
    userOperation([&] {
        m_vbe->setActiveCodePane(m_pane);
        auto controls = m_vbe->commandBars()->item(QStringLiteral("Code Window"))->controls();
        for (int i = 1; i <= controls->count(); ++i) {
            auto control = controls->item(i);
            if (!control->visible())
                continue;
            QAction *action = menu.addAction(control->caption());
            action->setEnabled(control->enabled());
            action->setIcon(toIcon(control->face()));
            std::weak_ptr<host::CommandBarControl> weak = control;
            // Run once the menu has closed, from the event loop.
            connect(action, &QAction::triggered, this, [this, weak] {
                QTimer::singleShot(0, this, [weak] {
                    if (auto c = weak.lock())
                        userOperation([&] { c->execute(); });
                });
            });
        }
    });
}

void CodeView::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    fillContextMenu(menu);
    if (!menu.isEmpty())
        menu.exec(event->globalPos());
}

} // namespace gui
