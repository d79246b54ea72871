// The window commands of the IDE toolbar and the version dialog: what the add-in does itself
// rather than through an IDE menu item.
#include "docmain/doc_main.h"

#include "about/frm_about.h"
#include "controls/platform.h"
#include "shared/bas_quillbox.h"

namespace docmain {

using namespace controls;

namespace {
constexpr int kHelpWordBand = 4;
} // namespace

bool DocMain::refuseWhileBusy()
{
    if (m_busy == 0)
        return false;
    // The clicked command would pull the trees and lists from under the running one.
    platform().msgBox(QStringLiteral("処理の実行中です。終了してからもう一度ｸﾘｯｸしてください。"), vbExclamation);
    return true;
}

void DocMain::ShowAboutDialog()
{
    about::FrmAbout &form = frmAbout();
    form.load();
    form.GetMemoryInfo();
    shared::CenterForm(form);
    form.show(true, &userDocument);
}

void DocMain::CloseCodeWindows()
{
    const auto windows = vbe().windows();
    const int count = windows->count();
    for (int i = 1; i <= count; ++i) {
        const auto window = windows->item(i);
        const auto type = window->type();
        if (type == host::WindowType::CodeWindow || type == host::WindowType::Designer ||
            type == host::WindowType::Browser)
            window->setVisible(false);
    }
}

void DocMain::ClearImmediateWindow()
{
    host::Ptr<host::Window> window;
    // No Immediate window: nothing to clear.
    if (!host::resumeNext([&] { window = vbe().windows()->item(QStringLiteral("ｲﾐﾃﾞｨｴｲﾄ")); }) || !window ||
        !window->visible())
        return;
    window->setFocus();
    auto &platform = controls::platform();
    for (const char *keys : {"^({Home})", "^(+({End}))", "{Del}"})
        platform.sendKeys(QString::fromLatin1(keys), true);
}

void DocMain::showHelpWordBand(bool show)
{
    Band *band = cbrMain.bands()(kHelpWordBand);
    // A row of its own: the toolbars already fill the first row of a narrow tool window.
    band->setNewRow(true);
    band->setVisible(show);
    cboHelpWord.setVisible(show);
    if (show)
        cboHelpWord.setFocus();
}

} // namespace docmain
