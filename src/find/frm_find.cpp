#include "find/frm_find.h"

#include "analysis/source_text.h"
#include "controls/platform.h"
#include "shared/bas_quillbox.h"

namespace find {

namespace {

host::Ptr<host::VBE> hostVbe()
{
    return shared::basQuillbox().gVBInstance;
}

} // namespace

FrmFind::FrmFind(controls::ImageList *images)
    : controls::Form(QStringLiteral("frmFind")), Label1(QStringLiteral("Label1")),
      cboFindString(QStringLiteral("cboFindString")), Label2(QStringLiteral("Label2")),
      imgcboTarget(QStringLiteral("imgcboTarget")), chkCriteria(QStringLiteral("chkCriteria")),
      cmdFind(QStringLiteral("cmdFind")), cmdCancel(QStringLiteral("cmdCancel")), m_images(images)
{
    setCaption(QStringLiteral("検索"));
    setBorderStyle(controls::FormBorderStyle::FixedDialog);
    move(0, 0, 5400, 3000);
    Label1.setCaption(QStringLiteral("検索する文字列(&F):"));
    Label1.move(120, 165, 1800, 255);
    cboFindString.move(1980, 120, 3240, 300);
    Label2.setCaption(QStringLiteral("検索対象(&P):"));
    Label2.move(120, 585, 1800, 255);
    imgcboTarget.move(1980, 540, 3240, 330);
    const char *const criteria[] = {"完全に一致する単語だけを検索する(&O)", "大文字と小文字を区別する(&S)",
                                    "ﾊﾟﾀｰﾝ ﾏｯﾁﾝｸﾞを使用する(&U)"};
    for (int i = 0; i < 3; ++i) {
        controls::CheckBox &box = chkCriteria.add(i);
        box.setCaption(QString::fromUtf8(criteria[i]));
        box.move(240, 1020 + i * 315, 4500, 255);
        box.setContainer(this);
    }
    cmdFind.setCaption(QStringLiteral("検索(&F)"));
    cmdFind.setDefault(true);
    cmdFind.move(2760, 2100, 1155, 375);
    cmdCancel.setCaption(QStringLiteral("ｷｬﾝｾﾙ"));
    cmdCancel.setCancel(true);
    cmdCancel.move(4020, 2100, 1155, 375);
    for (controls::Control *c : std::initializer_list<controls::Control *>{&Label1, &cboFindString, &Label2,
                                                                          &imgcboTarget, &cmdFind, &cmdCancel})
        c->setContainer(this);

    m_subscriptions.push_back(loadEvent.connect([this] { Form_Load(); }));
    m_subscriptions.push_back(cmdFind.click.connect([this] { cmdFind_Click(); }));
    m_subscriptions.push_back(cmdCancel.click.connect([this] { cmdCancel_Click(); }));
    m_subscriptions.push_back(
        queryUnload.connect([this](bool &cancel, int mode) { Form_QueryUnload(cancel, mode); }));
}

FrmFind::~FrmFind() = default;

void FrmFind::Form_Load()
{
    shared::trapped([&] {
        shared::CenterForm(*this);
        shared::DrawFormEdge(*this);
        imgcboTarget.setImageList(m_images);
        RefreshProject();
    });
}

void FrmFind::RefreshProject()
{
    imgcboTarget.comboItems().clear();
    const auto vbe = hostVbe();
    if (!vbe)
        return;
    const auto projects = vbe->vbProjects();
    const int count = projects->count();
    if (count == 0)
        return;
    if (count > 1) {
        // The shared image list has no "PROJECTS" picture: the item goes without one.
        controls::ComboItem *all = imgcboTarget.comboItems().add(0, QStringLiteral("PROJECTS"),
                                                                  QStringLiteral("すべてのﾌﾟﾛｼﾞｪｸﾄ"), QString(), QString(), 0);
        all->setTag(QStringLiteral("PROJECTS"));
        imgcboTarget.setSelectedItem(all);
    }
    for (int i = 1; i <= count; ++i) {
        const auto project = projects->item(i);
        const QString name = project->name();
        controls::ComboItem *item = imgcboTarget.comboItems().add(0, name, name, m_images ? QStringLiteral("PROJECT") : QString(),
                                                                   QString(), 0);
        item->setTag(QStringLiteral("PROJECT"));
        AddProjectComponents(project);
    }
    if (count == 1)
        imgcboTarget.setSelectedItem(imgcboTarget.comboItems()(1));
}

void FrmFind::AddProjectComponents(const host::Ptr<host::VBProject> &project)
{
    struct Triple {
        QString key, name, image;
    };
    const QString projectName = project->name();
    const auto components = project->vbComponents();
    std::vector<Triple> kept;
    for (int j = 1; j <= components->count(); ++j) {
        const auto component = components->item(j);
        const QString image = analysis::componentImage(component);
        if (image.isEmpty())
            continue;
        const QString name = component->name();
        kept.push_back({projectName + QLatin1Char('_') + name, name, image});
    }
    // By image key, then name, by character code.
    std::stable_sort(kept.begin(), kept.end(), [](const Triple &a, const Triple &b) {
        const int byImage = QString::compare(a.image, b.image, Qt::CaseSensitive);
        return byImage != 0 ? byImage < 0 : QString::compare(a.name, b.name, Qt::CaseSensitive) < 0;
    });
    for (const Triple &t : kept)
        AddTargetItem(t.key, t.name, t.image, projectName);
}

void FrmFind::AddTargetItem(const QString &key, const QString &text, const QString &image, const QString &projectName)
{
    controls::ComboItem *item = imgcboTarget.comboItems().add(0, key, text, QString(), QString(), 2);
    if (m_images)
        item->setImage(image);
    item->setTag(projectName);
}

void FrmFind::AddFindHistory()
{
    const QString text = cboFindString.text();
    QStringList kept;
    for (const QString &entry : cboFindString.items())
        if (entry != text)
            kept << entry;
    cboFindString.clear();
    cboFindString.addItem(text);
    for (const QString &entry : kept)
        cboFindString.addItem(entry);
    cboFindString.setText(cboFindString.list(0));
}

bool FrmFind::RunSearch()
{
    FindOptions options;
    options.wholeWord = chkCriteria(0).value() == controls::vbChecked;
    options.matchCase = chkCriteria(1).value() == controls::vbChecked;
    options.patternSearch = chkCriteria(2).value() == controls::vbChecked;
    const auto vbe = hostVbe();
    if (!vbe)
        return false;
    FindTarget target;
    if (const controls::ComboItem *item = imgcboTarget.selectedItem())
        target = {item->tag(), item->text()};
    return find::RunSearch(vbe, cboFindString.text(), target, options, shared::basQuillbox());
}

void FrmFind::cmdFind_Click()
{
    controls::platform().setScreenMousePointer(controls::MousePointer::Hourglass);
    shared::trapped([&] {
        if (cboFindString.text().isEmpty())
            return;
        AddFindHistory();
        const bool found = RunSearch();
        if (found && onFound)
            onFound();
        hide();
    });
    controls::platform().setScreenMousePointer(controls::MousePointer::Default);
}

void FrmFind::cmdCancel_Click() { hide(); }

void FrmFind::Form_QueryUnload(bool &cancel, int unloadMode)
{
    if (unloadMode == int(controls::UnloadMode::FormControlMenu)) {
        cancel = true;
        hide();
    }
}

} // namespace find
