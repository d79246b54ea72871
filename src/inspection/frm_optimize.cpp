#include "inspection/frm_optimize.h"

#include "analysis/source_text.h"
#include "controls/platform.h"
#include "shared/bas_quillbox.h"

namespace inspection {

using controls::Node;
using controls::Relationship;

namespace {

constexpr int kPageLeft = 45;
constexpr int kPageTop = 45;
constexpr int kPageWidth = 7230;
constexpr int kPageHeight = 4650;
constexpr int kButtonHeight = 375;

void yield() { controls::platform().doEvents(); }

} // namespace

FrmOptimize::FrmOptimize(controls::ImageList *images)
    : controls::Form(QStringLiteral("frmOptimize")), CheckContext(shared::basQuillbox().gAnalizeResults),
      picContainer(QStringLiteral("picContainer")), fraCheckItem(QStringLiteral("fraCheckItem")),
      chkItem(QStringLiteral("chkItem")), Label1(QStringLiteral("Label1")), Frame1(QStringLiteral("Frame1")),
      tvwProject(QStringLiteral("tvwProject")), Label2(QStringLiteral("Label2")),
      cmdExpand(QStringLiteral("cmdExpand")), cmdStop(QStringLiteral("cmdStop")),
      prgAnalize(QStringLiteral("prgAnalize")), lblCheck(QStringLiteral("lblCheck")),
      lblModule(QStringLiteral("lblModule")), cmdPrev(QStringLiteral("cmdPrev")), cmdNext(QStringLiteral("cmdNext")),
      cmdCheck(QStringLiteral("cmdCheck")), cmdClear(QStringLiteral("cmdClear")), cmdOK(QStringLiteral("cmdOK")),
      cmdCancel(QStringLiteral("cmdCancel")), m_images(images)
{
    setCaption(QStringLiteral("ｺｰﾄﾞ診断"));
    setBorderStyle(controls::FormBorderStyle::FixedDialog);
    move(0, 0, 7440, 6180);

    for (int p = 0; p < 3; ++p) {
        controls::PictureBox &page = picContainer.add(p);
        page.setContainer(this);
        page.move(kPageLeft, kPageTop, kPageWidth, kPageHeight);
    }
    picContainer(2).move(kPageLeft, kPageTop, 5400, 2520);

    // Page 0: the check items, in run order from the top.
    Label1.setCaption(QStringLiteral("診断する項目にチェックを付けてください。"));
    Label1.setContainer(&picContainer(0));
    Label1.move(120, 120, 6960, 255);
    fraCheckItem.setCaption(QStringLiteral("診断項目"));
    fraCheckItem.setContainer(&picContainer(0));
    fraCheckItem.move(120, 420, 6960, 4110);
    for (const CheckItem &item : checkItems()) {
        controls::CheckBox &box = chkItem.add(item.index);
        box.setCaption(QString::fromUtf8(item.caption));
        box.setContainer(&fraCheckItem);
        box.move(240, 300 + (item.row - 1) * 285, 6600, 255);
    }

    // Page 1: the module tree.
    Label2.setCaption(QStringLiteral("コード診断の対象とするモジュールにチェックを付けてください。"));
    Label2.setContainer(&picContainer(1));
    Label2.move(120, 120, 6960, 255);
    Frame1.setCaption(QStringLiteral("ロード済みのモジュール"));
    Frame1.setContainer(&picContainer(1));
    Frame1.move(120, 420, 6960, 4110);
    tvwProject.setContainer(&Frame1);
    tvwProject.move(120, 300, 6720, 3690);
    tvwProject.setCheckboxes(true);
    tvwProject.setHideSelection(false);
    tvwProject.setLabelEdit(controls::LabelEdit::Manual);
    tvwProject.setBorderStyle(controls::BorderStyle::FixedSingle);
    tvwProject.setIndentation(285);

    // Page 2: the progress of a run.
    lblModule.setContainer(&picContainer(2));
    lblModule.move(240, 240, 4920, 255);
    lblCheck.setContainer(&picContainer(2));
    lblCheck.move(240, 1020, 4920, 255);
    for (int b = 0; b < 2; ++b) {
        controls::ProgressBar &bar = prgAnalize.add(b);
        bar.setContainer(&picContainer(2));
        bar.move(240, b == 0 ? 555 : 1335, 4920, 255);
        bar.setMax(1);
    }
    cmdStop.setCaption(QStringLiteral("中断(&S)"));
    cmdStop.setContainer(&picContainer(2));
    cmdStop.move(2122, 1860, 1155, kButtonHeight);

    // Buttons outside the pages.
    const int row1 = kPageTop + kPageHeight + 120;
    const int row2 = row1 + kButtonHeight + 120;
    const char *const expandCaptions[] = {"ﾉｰﾄﾞを展開", "ﾌｫﾙﾀﾞのみ表示"};
    for (int e = 0; e < 2; ++e) {
        controls::CommandButton &button = cmdExpand.add(e);
        button.setCaption(QString::fromUtf8(expandCaptions[e]));
        button.setContainer(this);
        button.move(120 + e * 1560, row1, 1455, kButtonHeight);
    }
    const struct {
        controls::CommandButton *button;
        const char *caption;
        int left;
        int top;
    } buttons[] = {
        {&cmdCheck, "全選択", 4740, row1},         {&cmdClear, "全選択解除", 5985, row1},
        {&cmdPrev, "< 戻る(&P)", 2250, row2},      {&cmdNext, "次へ(&N) >", 3495, row2},
        {&cmdOK, "実行", 4740, row2},              {&cmdCancel, "ｷｬﾝｾﾙ", 5985, row2},
    };
    for (const auto &b : buttons) {
        b.button->setCaption(QString::fromUtf8(b.caption));
        b.button->setContainer(this);
        b.button->move(b.left, b.top, 1155, kButtonHeight);
    }
    cmdOK.setDefault(true);
    cmdCancel.setCancel(true);

    m_subscriptions.push_back(loadEvent.connect([this] { Form_Load(); }));
    m_subscriptions.push_back(
        queryUnload.connect([this](bool &cancel, int mode) { Form_QueryUnload(cancel, mode); }));
    m_subscriptions.push_back(cmdOK.click.connect([this] { cmdOK_Click(); }));
    m_subscriptions.push_back(cmdStop.click.connect([this] { cmdStop_Click(); }));
    m_subscriptions.push_back(cmdPrev.click.connect([this] { cmdPrev_Click(); }));
    m_subscriptions.push_back(cmdNext.click.connect([this] { cmdNext_Click(); }));
    m_subscriptions.push_back(cmdCheck.click.connect([this] { cmdCheck_Click(); }));
    m_subscriptions.push_back(cmdClear.click.connect([this] { cmdClear_Click(); }));
    m_subscriptions.push_back(cmdCancel.click.connect([this] { cmdCancel_Click(); }));
    for (int e = 0; e < 2; ++e)
        m_subscriptions.push_back(cmdExpand(e).click.connect([this, e] { cmdExpand_Click(e); }));
    m_subscriptions.push_back(tvwProject.nodeCheck.connect([this](Node *node) { tvwProject_NodeCheck(node); }));
}

FrmOptimize::~FrmOptimize() = default;

void FrmOptimize::Form_Load()
{
    host::resumeNext([&] {
        ArrangePages();
        shared::DrawFormEdge(*this);
        for (const int i : chkItem.indexes())
            chkItem(i).setValue(controls::vbChecked);
        cmdPrev.setEnabled(false);
        showPage(0, true);
        tvwProject.setImageList(m_images);
    });
}

void FrmOptimize::ArrangePages()
{
    for (controls::Control *label : std::initializer_list<controls::Control *>{&Label1, &Label2, &lblCheck, &lblModule})
        static_cast<controls::Label *>(label)->setBorderStyle(controls::BorderStyle::None);
    for (int p = 0; p < 3; ++p) {
        controls::PictureBox &page = picContainer(p);
        page.setEnabled(false);
        page.setVisible(false);
        page.setBorderStyle(controls::BorderStyle::None);
        page.setBackColor(backColor());
        if (p < 2)
            page.move(kPageLeft, kPageTop);
    }
    controls::PictureBox &progress = picContainer(2);
    progress.move((scaleWidth() - progress.width()) / 2, (cmdOK.top() - progress.height()) / 2);
    constexpr int edgeRaised = 5;
    constexpr int bfRect = 15;
    const int tpp = controls::kTwipsPerPixel;
    progress.drawEdge(QRect(0, 0, progress.width() / tpp, progress.height() / tpp), edgeRaised, bfRect);
    for (int e = 0; e < 2; ++e) {
        cmdExpand(e).setEnabled(false);
        cmdExpand(e).setVisible(false);
    }
}

void FrmOptimize::showPage(int index, bool show)
{
    controls::PictureBox &page = picContainer(index);
    page.setEnabled(show);
    page.setVisible(show);
    if (show)
        page.zOrder();
}

void FrmOptimize::Form_QueryUnload(bool &cancel, int unloadMode)
{
    if (unloadMode == int(controls::UnloadMode::FormControlMenu))
        cancel = true;
}

void FrmOptimize::cmdNext_Click()
{
    host::resumeNext([&] { turnPage(1); });
}

void FrmOptimize::cmdPrev_Click()
{
    host::resumeNext([&] { turnPage(0); });
}

void FrmOptimize::turnPage(int page)
{
    const bool modules = page == 1;
    cmdPrev.setEnabled(modules);
    cmdNext.setEnabled(!modules);
    for (int e = 0; e < 2; ++e) {
        cmdExpand(e).setEnabled(modules);
        cmdExpand(e).setVisible(modules);
    }
    showPage(1 - page, false);
    showPage(page, true);
}

void FrmOptimize::cmdCheck_Click()
{
    host::resumeNext([&] { checkShownPage(true); });
}

void FrmOptimize::cmdClear_Click()
{
    host::resumeNext([&] { checkShownPage(false); });
}

void FrmOptimize::checkShownPage(bool checked)
{
    if (cmdNext.enabled()) {
        for (const int i : chkItem.indexes())
            chkItem(i).setValue(checked ? controls::vbChecked : controls::vbUnchecked);
    } else if (cmdPrev.enabled()) {
        SetAllNodesChecked(checked);
    }
}

void FrmOptimize::cmdExpand_Click(int index)
{
    host::resumeNext([&] {
        for (Node *node : tvwProject.nodes()) {
            const QString &tag = node->tag();
            if (tag != QLatin1String("Project") && tag.startsWith(QLatin1Char('_')))
                node->setExpanded(index == 0);
        }
        if (tvwProject.nodes().count() > 0)
            tvwProject.setSelectedItem(tvwProject.nodes()(1));
    });
}

void FrmOptimize::cmdCancel_Click() { hide(); }

void FrmOptimize::cmdStop_Click() { requestStop(); }

void FrmOptimize::tvwProject_NodeCheck(Node *node)
{
    if (node)
        setDescendantsChecked(node->child(), node->checked());
}

void FrmOptimize::setDescendantsChecked(Node *node, bool checked)
{
    for (; node; node = node->next()) {
        node->setChecked(checked);
        setDescendantsChecked(node->child(), checked);
    }
}

void FrmOptimize::SetAllNodesChecked(bool checked)
{
    for (Node *node : tvwProject.nodes())
        node->setChecked(checked);
}

void FrmOptimize::RefreshProject()
{
    tvwProject.nodes().clear();
    const auto vbe = shared::basQuillbox().gVBInstance;
    if (!vbe)
        return;
    const auto projects = vbe->vbProjects();
    const int count = projects->count();
    for (int i = 1; i <= count; ++i) {
        const auto project = projects->item(i);
        AddProjectNode(project);
        AddProjectComponents(project);
    }
    SetAllNodesChecked(true);
}

void FrmOptimize::AddProjectNode(const host::Ptr<host::VBProject> &project)
{
    const QString name = project->name();
    Node *root = tvwProject.nodes().add(controls::ItemRef(), Relationship::Last, name, name,
                                        m_images ? QStringLiteral("PROJECT") : QString());
    root->setTag(QStringLiteral("Project"));
    const auto components = project->vbComponents();
    const int count = components->count();
    std::vector<host::ComponentType> present;
    for (int j = 1; j <= count; ++j)
        present.push_back(components->item(j)->type());
    for (const analysis::ComponentKind &kind : analysis::componentKinds()) {
        if (std::find(present.begin(), present.end(), kind.type) == present.end())
            continue;
        const QString suffix = QLatin1String(kind.folderSuffix);
        Node *folder = tvwProject.nodes().add(name, Relationship::Child, name + suffix,
                                              QString::fromUtf8(kind.folderCaption),
                                              m_images ? QStringLiteral("FOLDER") : QString());
        folder->setTag(suffix);
        folder->setSorted(true);
        if (m_images)
            folder->setExpandedImage(QStringLiteral("FOLDOPEN"));
    }
    root->setExpanded(true);
    yield();
}

void FrmOptimize::AddProjectComponents(const host::Ptr<host::VBProject> &project)
{
    const QString name = project->name();
    const auto components = project->vbComponents();
    const int count = components->count();
    for (int j = 1; j <= count; ++j)
        AddComponent(name, components->item(j));
}

void FrmOptimize::AddComponent(const QString &strProjectName, const host::Ptr<host::VBComponent> &objComponent)
{
    const analysis::ComponentKind *kind = analysis::componentKind(objComponent->type());
    if (!kind)
        return;
    const QString name = objComponent->name();
    Node *node = tvwProject.nodes().add(strProjectName + QLatin1String(kind->folderSuffix), Relationship::Child,
                                        strProjectName + QLatin1Char('_') + name, name,
                                        m_images ? analysis::componentImage(objComponent) : QString());
    node->setTag(QLatin1String(kind->tag));
    node->setSorted(true);
}

WantedItems FrmOptimize::wantedItems() const
{
    WantedItems wanted{};
    for (int i = 0; i < kCheckItemCount; ++i)
        wanted[std::size_t(i)] = chkItem.exists(i) && chkItem(i).value() == controls::vbChecked;
    return wanted;
}

void FrmOptimize::setCheckTitle(const QString &title)
{
    lblCheck.setCaption(title);
    yield();
}

void FrmOptimize::SetCheckProgress(int index, int value, int max)
{
    controls::ProgressBar &bar = prgAnalize(index);
    if (value == 0 && max == 0) {
        bar.setValue(bar.max());
        yield();
        bar.setValue(0);
        bar.setMax(1);
    } else if (value != 0 && max == 0) {
        if (bar.max() >= value)
            bar.setValue(value);
    } else if (value == 0) {
        bar.setMax(max);
        bar.setVisible(true);
    }
    yield();
}

int FrmOptimize::RunInspection()
{
    auto &bas = shared::basQuillbox();
    setCheckTitle(QStringLiteral("未使用プロシージャの検出"));

    std::vector<shared::AnalizeModule> chosen;
    QString projectName;
    for (const Node *node : tvwProject.nodes()) {
        const QString &tag = node->tag();
        if (tag == QLatin1String("Project"))
            projectName = node->text();
        else if (!tag.startsWith(QLatin1Char('_')) && node->checked())
            chosen.push_back({projectName, node->text(), tag});
    }
    if (chosen.empty()) {
        bas.gAnalizeCount = 0;
        return 0;
    }
    bas.gAnalizeModules = chosen;
    const WantedItems wanted = wantedItems();

    int count = int(chosen.size());
    bas.gAnalizeResults.assign(chosen.size(), shared::AnalizeResult());
    setResults(bas.gAnalizeResults);
    showPage(2, true);

    QString currentProject;
    host::Ptr<host::VBProject> project;
    for (int i = 0; i < count; ++i) {
        const shared::AnalizeModule &module = chosen[std::size_t(i)];
        SetCheckProgress(0, 0, 12);
        host::Ptr<host::VBComponent> component;
        // A project unloaded or a module removed since the tree was built: the prompt, then
        // the module keeps an entry without findings (or the run stops on Yes).
        runChecked(*this, [&] {
            if (module.ProjectName != currentProject || !project) {
                currentProject = module.ProjectName;
                project.reset();
                project = bas.gVBInstance->vbProjects()->item(module.ProjectName);
            }
            component = project->vbComponents()->item(module.ModuleName);
        });
        lblModule.setCaption(module.ProjectName + QLatin1Char('.') + module.ModuleName + QStringLiteral(" (") +
                             QString::number(i + 1) + QLatin1Char('/') + QString::number(count) + QLatin1Char(')'));
        yield();
        shared::AnalizeResult &entry = bas.gAnalizeResults[std::size_t(i)];
        entry.ProjectName = module.ProjectName;
        entry.ModuleName = module.ModuleName;
        entry.ComponentType = module.ComponentType;
        const bool finished = component ? RunModuleChecks(*this, project, component, i, wanted) : !blnStop();
        if (!finished) {
            count = 0;
            break;
        }
        SetCheckProgress(0, 0, 0);
    }
    picContainer(2).setVisible(false);
    picContainer(2).setEnabled(false);
    bas.gAnalizeCount = count;
    return count;
}

void FrmOptimize::cmdOK_Click()
{
    auto &platform = controls::platform();
    platform.setScreenMousePointer(controls::MousePointer::Hourglass);
    const int page = cmdPrev.enabled() ? 1 : 0;
    const bool expandEnabled = cmdExpand(0).enabled();
    cmdStop.setEnabled(true);
    for (controls::CommandButton *b : {&cmdOK, &cmdPrev, &cmdNext, &cmdCancel, &cmdCheck, &cmdClear})
        b->setEnabled(false);
    for (int e = 0; e < 2; ++e)
        cmdExpand(e).setEnabled(false);
    picContainer(0).setEnabled(false);
    picContainer(1).setEnabled(false);
    clearStop();

    host::resumeNext([&] {
        const int n = RunInspection();
        if (n > 0) {
            if (onAnalized)
                onAnalized();
            hide();
        }
    });

    cmdStop.setEnabled(false);
    for (controls::CommandButton *b : {&cmdOK, &cmdCancel, &cmdCheck, &cmdClear})
        b->setEnabled(true);
    for (int e = 0; e < 2; ++e)
        cmdExpand(e).setEnabled(expandEnabled);
    picContainer(page).setEnabled(true);
    (page == 1 ? cmdPrev : cmdNext).setEnabled(true);
    platform.setScreenMousePointer(controls::MousePointer::Default);
}

} // namespace inspection
