// Output services: the detail list to the clipboard, the code selection to the editor.
#include "docmain/doc_main.h"

#include "controls/platform.h"
#include "shared/bas_quillbox.h"

#include <QFile>

namespace docmain {

using namespace controls;

QString DocMain::CreateTempFile()
{
    return controls::platform().createTempFile(shared::basQuillbox().gTempPath, QString::fromLatin1(shared::kTempPrefix));
}

QString DocMain::selectedText(const host::Ptr<host::CodePane> &pane)
{
    auto module = pane->codeModule();
    int sl = 0, sc = 0, el = 0, ec = 0;
    pane->getSelection(sl, sc, el, ec);
    if (sl == el)
        return module->lines(sl, 1).mid(sc - 1, std::max(0, ec - sc));
    QString text = module->lines(sl, 1).mid(sc - 1);
    for (int line = sl + 1; line < el; ++line)
        text += QLatin1String("\r\n") + module->lines(line, 1);
    text += QLatin1String("\r\n") + module->lines(el, 1).left(std::max(0, ec - 1));
    return text;
}

void DocMain::OpenEditor()
{
    auto &platform = controls::platform();
    auto &q = shared::basQuillbox();
    // Never reports anything: a missing pane, an empty selection or a failed file or
    // shell call just means no editor appears.
    try {
        shared::DeleteTempFiles();
        if (!q.gVBInstance)
            return;
        auto pane = q.gVBInstance->activeCodePane();
        if (!pane || !pane->codeModule())
            return;
        const QString text = selectedText(pane);
        if (text.isEmpty() || q.gTempPath.isEmpty())
            return;
        const QString tmp = CreateTempFile();
        if (tmp.isEmpty())
            return;
        {
            // A file that cannot be written is still copied and shown, as it stands.
            QFile file(tmp);
            if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
                file.write(platform.toAnsi(text + QLatin1String("\r\n")));
        }
        const QString txt = tmp.left(tmp.size() - 4) + QLatin1String(".txt");
        if (platform.copyFile(tmp, txt, true))
            platform.shellExecute(txt, QStringLiteral("Open"), q.gTempPath);
        platform.deleteFile(tmp);
    } catch (const std::exception &) {
        // Reading the pane failed (a module that went away): nothing to show.
    }
}

void DocMain::CopyListToClipboard()
{
    auto &platform = controls::platform();
    platform.setScreenMousePointer(MousePointer::Hourglass);
    shared::trapped([&] {
        platform.clearClipboard();
        if (mintCurrentTab < 1 || mintCurrentTab > mintTabCount)
            return;
        const ListView &list = currentList();
        const int columns = list.columnHeaders().count();
        if (columns == 0)
            return;
        SetStatusMessage(1, QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞに格納中 ..."));
        QString text;
        for (const ColumnHeader *c : list.columnHeaders())
            text += c->text() + QLatin1Char('\t');
        for (const ListItem *item : list.listItems()) {
            QString row = QLatin1String("\r\n") + item->text() + QLatin1Char('\t');
            for (int s = 1; s <= columns - 1; ++s)
                row += item->subItem(s) + QLatin1Char('\t');
            row.chop(1);
            text += row;
        }
        platform.setClipboardText(text);
    });
    SetStatusMessage(0, QString());
    platform.setScreenMousePointer(MousePointer::Default);
}

} // namespace docmain
