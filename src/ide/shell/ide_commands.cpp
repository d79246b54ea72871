// The stand-in's own dialogs of the menu commands, and its key handling.
#include "ide/shell/shell_impl.h"

namespace ide {

using host::Ptr;

namespace {

QString projectTypeName(host::ProjectType type)
{
    switch (type) {
    case host::ProjectType::ActiveXExe: return QStringLiteral("ActiveX EXE");
    case host::ProjectType::ActiveXDll: return QStringLiteral("ActiveX DLL");
    case host::ProjectType::ActiveXControl: return QStringLiteral("ActiveX ｺﾝﾄﾛｰﾙ");
    default: return QStringLiteral("標準 EXE");
    }
}

QStringList propertyLines(const ProjectImpl &project)
{
    const auto &d = project.data();
    return {QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄの種類: %1").arg(projectTypeName(d.type)),
            QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄ名: %1").arg(d.name),
            QStringLiteral("ｽﾀｰﾄｱｯﾌﾟ ｵﾌﾞｼﾞｪｸﾄ: %1").arg(d.startup.isEmpty() ? QStringLiteral("(なし)") : d.startup),
            QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄの説明: %1").arg(d.description),
            QStringLiteral("ﾀｲﾄﾙ: %1").arg(d.title),
            QStringLiteral("ﾍﾙﾌﾟ ﾌｧｲﾙ名: %1").arg(d.helpFile),
            QStringLiteral("ﾍﾙﾌﾟ ｺﾝﾃｷｽﾄ ID: %1").arg(d.helpContextId),
            QStringLiteral("ﾌｧｲﾙ名: %1").arg(d.fileName),
            QStringLiteral("実行可能ﾌｧｲﾙ: %1").arg(d.buildFileName)};
}

QStringList referenceLines(const ProjectImpl &project)
{
    QStringList lines;
    const auto refs = project.referenceList();
    for (int i = 1; i <= refs->count(); ++i) {
        const auto ref = refs->item(i);
        const QString state = ref->isBroken() ? QStringLiteral("参照不可: ") : QString();
        lines << QStringLiteral("[x] %1%2 (%3) %4").arg(state, ref->description(), ref->name(), ref->fullPath());
    }
    return lines;
}

/// `{GUID}#2.0#0; MSCOMCTL.OCX` reads "MSCOMCTL.OCX {GUID}#2.0#0"; a line without the file
/// part stays as written.
QStringList componentLines(const ProjectImpl &project)
{
    QStringList lines;
    for (const QString &object : project.data().objects) {
        const qsizetype semicolon = object.indexOf(QLatin1Char(';'));
        lines << (semicolon < 0 ? object
                                : QStringLiteral("[x] %1 %2").arg(object.mid(semicolon + 1).trimmed(),
                                                                 object.left(semicolon).trimmed()));
    }
    return lines;
}

} // namespace

void VBEImpl::openCommandDialog(const QString &commandId)
{
    auto project = m_activeProject.lock();
    const QString name = project ? project->name() : QString();
    CommandDialog dialog{commandId, {}, {}};
    if (commandId == QLatin1String("AddInManager")) {
        dialog.caption = QStringLiteral("ｱﾄﾞｲﾝ ﾏﾈｰｼﾞｬ");
        for (const auto &addIn : m_addins->items()) {
            dialog.lines << QStringLiteral("%1 %2 (%3)").arg(addIn->connect() ? QStringLiteral("[ﾛｰﾄﾞ]")
                                                                             : QStringLiteral("[    ]"),
                                                            addIn->description(), addIn->progId());
        }
    } else if (!project) {
        // Every other dialog is about the active project.
        return;
    } else if (commandId == QLatin1String("ProjectProperties")) {
        dialog.caption = QStringLiteral("%1 - ﾌﾟﾛｼﾞｪｸﾄ ﾌﾟﾛﾊﾟﾃｨ").arg(name);
        dialog.lines = propertyLines(*project);
    } else if (commandId == QLatin1String("References")) {
        dialog.caption = QStringLiteral("参照設定 - %1").arg(name);
        dialog.lines = referenceLines(*project);
    } else if (commandId == QLatin1String("Components")) {
        dialog.caption = QStringLiteral("ｺﾝﾎﾟｰﾈﾝﾄ - %1").arg(name);
        dialog.lines = componentLines(*project);
    } else if (commandId == QLatin1String("MakeProject")) {
        dialog.caption = QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄの作成");
        dialog.lines = {QStringLiteral("このｽﾀﾝﾄﾞｲﾝ IDE には VB6 のｺﾝﾊﾟｲﾗがないため、%1 は作成できません。")
                            .arg(project->data().buildFileName),
                        QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄはそのまま残り、ﾌｧｲﾙは何も書き込まれません。")};
    } else {
        return;
    }
    m_state->commandDialog = dialog;
}

bool VBEImpl::handleKeys(const QString &keys)
{
    const QList<KeyStroke> strokes = parseSendKeys(keys);
    auto active = m_windows->active();
    if (!active || active->type() != host::WindowType::Immediate || !active->visible())
        return false;
    for (const KeyStroke &stroke : strokes)
        immediateKey(stroke);
    m_state->notify();
    return true;
}

void VBEImpl::immediateKey(const KeyStroke &stroke)
{
    QString &text = m_state->immediateText;
    qsizetype &cursor = m_state->immediateCursor;
    qsizetype &anchor = m_state->immediateAnchor;
    cursor = std::clamp<qsizetype>(cursor, 0, text.size());
    anchor = std::clamp<qsizetype>(anchor, 0, text.size());
    const bool ctrl = stroke.modifiers.testFlag(Qt::ControlModifier);
    const bool shift = stroke.modifiers.testFlag(Qt::ShiftModifier);
    auto moveTo = [&](qsizetype position) {
        cursor = std::clamp<qsizetype>(position, 0, text.size());
        if (!shift)
            anchor = cursor;
    };
    auto removeSelection = [&] {
        const qsizetype from = std::min(cursor, anchor);
        text.remove(from, std::abs(cursor - anchor));
        cursor = anchor = from;
    };
    auto lineStart = [&] { return text.lastIndexOf(QLatin1Char('\n'), cursor - 1) + 1; };
    auto lineEnd = [&] {
        const qsizetype end = text.indexOf(QLatin1Char('\n'), cursor);
        return end < 0 ? text.size() : end;
    };
    switch (stroke.key) {
    case Qt::Key_Home: moveTo(ctrl ? 0 : lineStart()); return;
    case Qt::Key_End: moveTo(ctrl ? text.size() : lineEnd()); return;
    case Qt::Key_Left: moveTo(cursor - 1); return;
    case Qt::Key_Right: moveTo(cursor + 1); return;
    case Qt::Key_Delete:
        if (cursor == anchor)
            anchor = std::min(cursor + 1, text.size());
        removeSelection();
        return;
    case Qt::Key_Backspace:
        if (cursor == anchor)
            anchor = std::max<qsizetype>(cursor - 1, 0);
        removeSelection();
        return;
    default: break;
    }
    // Typed text; other keys and Ctrl/Alt chords do nothing in the Immediate window here.
    if (stroke.text.isEmpty() || ctrl || stroke.modifiers.testFlag(Qt::AltModifier))
        return;
    removeSelection();
    const QString typed = stroke.text == QLatin1String("\r") ? QStringLiteral("\n") : stroke.text;
    text.insert(cursor, typed);
    cursor = anchor = cursor + typed.size();
}

// ---- Ide ----------------------------------------------------------------------

QString Ide::immediateText() const { return m_state->immediateText; }

void Ide::setImmediateText(const QString &text)
{
    m_state->immediateText = text;
    m_state->immediateCursor = m_state->immediateAnchor = text.size();
    m_state->notify();
}

std::pair<qsizetype, qsizetype> Ide::immediateSelection() const
{
    return {m_state->immediateAnchor, m_state->immediateCursor};
}

bool Ide::sendKeys(const QString &keys) { return m_vbe->handleKeys(keys); }

std::function<bool(const QString &)> Ide::keyHandler() const
{
    return [vbe = std::weak_ptr<VBEImpl>(m_vbe)](const QString &keys) {
        auto alive = vbe.lock();
        return alive && alive->handleKeys(keys);
    };
}

const std::optional<CommandDialog> &Ide::commandDialog() const { return m_state->commandDialog; }

void Ide::closeCommandDialog()
{
    m_state->commandDialog.reset();
    m_state->notify();
}

QString Ide::arrangement() const { return m_state->arrangement; }

} // namespace ide
