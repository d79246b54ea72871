#include "shared/bas_quillbox.h"

#include "controls/form.h"
#include "controls/platform.h"

#include <QDir>
#include <QFileInfo>

namespace shared {

int AnalizeResult::total() const
{
    int sum = OptionExplicit ? 0 : 1;
    for (const auto &l : lists)
        sum += l.count;
    return sum;
}

void BasQuillbox::eraseResults()
{
    gFindResults.clear();
    gFindCount = 0;
    gAnalizeModules.clear();
    gAnalizeResults.clear();
    gAnalizeCount = 0;
}

namespace {
BasQuillbox &instance()
{
    static BasQuillbox state;
    return state;
}
} // namespace

BasQuillbox &basQuillbox() { return instance(); }

void resetBasQuillbox() { instance() = BasQuillbox(); }

void DeleteTempFiles()
{
    const QString dir = basQuillbox().gTempPath;
    if (dir.isEmpty())
        return;
    auto &platform = controls::platform();
    try {
        for (const QString &name : platform.listFiles(dir, QStringLiteral("Qlx*.*")))
            platform.deleteFile(QDir(dir).filePath(name));
    } catch (...) {
        // Files that cannot be deleted stay.
    }
}

QString ShowOpenFileDialog(const QString &initialDir, const QString &title, const QString &filter)
{
    return controls::platform().getOpenFileName(filter, title, initialDir);
}

void AddProjectFiles(const host::Ptr<host::VBE> &vbe)
{
    trapped([&] {
        const QChar nul(0);
        const QString filter = QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄ ﾌｧｲﾙ (*.vbp; *.mak; *.vbg)") + nul +
                               QStringLiteral("*.vbp;*.mak;*.vbg") + nul + QStringLiteral("全てのﾌｧｲﾙ (*.*)") + nul +
                               QStringLiteral("*.*") + nul;
        auto &platform = controls::platform();
        const QString result =
            ShowOpenFileDialog(platform.currentDirectory(), QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄの追加（複数選択可）"), filter);
        if (result.isEmpty())
            return;
        const QStringList parts = result.split(nul, Qt::SkipEmptyParts);
        QStringList paths;
        if (parts.size() == 1) {
            paths << parts[0];
        } else {
            for (int i = 1; i < parts.size(); ++i)
                paths << parts[0] + QLatin1Char('\\') + parts[i];
        }
        for (QString path : paths) {
            // The dialog speaks Windows paths; this machine's may use '/'.
            if (!platform.fileExists(path))
                path.replace(QLatin1Char('\\'), QLatin1Char('/'));
            if (platform.fileExists(path))
                vbe->vbProjects()->addFromFile(path, false);
        }
    });
}

void ExecuteIdeMenu(const host::Ptr<host::VBE> &vbe, const QString &barName, const QString &fragment)
{
    host::Ptr<host::CommandBar> bar;
    if (!host::resumeNext([&] { bar = vbe->commandBars()->item(barName); }) || !bar)
        return;
    const int count = bar->controls()->count();
    for (int i = 1; i <= count; ++i) {
        host::Ptr<host::CommandBarControl> control;
        QString caption;
        if (!host::resumeNext([&] {
                control = bar->controls()->item(i);
                caption = control->caption();
            }))
            continue;
        if (!caption.isEmpty() && caption.contains(fragment, Qt::CaseInsensitive)) {
            host::resumeNext([&] { control->execute(); });
            return;
        }
    }
}

void CenterForm(controls::Form &form)
{
    auto &platform = controls::platform();
    form.move((platform.screenWidth() - form.width()) / 2, (platform.screenHeight() - form.height()) / 2);
}

void DrawFormEdge(controls::Form &form)
{
    constexpr int inset = 20;
    constexpr int edgeRaisedInner = 4;
    constexpr int bfRect = 15;
    const int tpp = controls::kTwipsPerPixel;
    const QRect pixels(QPoint(inset / tpp, inset / tpp),
                       QPoint((form.scaleWidth() - inset) / tpp, (form.scaleHeight() - inset) / tpp));
    form.drawEdge(pixels, edgeRaisedInner, bfRect);
}

void showError(const host::Error &error)
{
    controls::platform().msgBox(error.description(), controls::vbExclamation);
}

void showError(const std::exception &error)
{
    controls::platform().msgBox(QString::fromUtf8(error.what()), controls::vbExclamation);
}

} // namespace shared
