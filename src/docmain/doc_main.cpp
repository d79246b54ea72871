// The tool window's shell: controls, shared image list, initial state, layout and splitter.
#include "docmain/doc_main.h"

#include "about/frm_about.h"
#include "analysis/call_references.h"
#include "controls/platform.h"
#include "shared/bas_quillbox.h"

namespace docmain {

using namespace controls;

namespace {

// The document's size before the host first sizes it (twips).
constexpr int kDesignWidth = 8130;
constexpr int kDesignHeight = 6600;
constexpr int kTreeMinWidth = 2000;
constexpr int kListMinWidth = 1000;

struct ButtonDef {
    const char *key;         // nullptr: separator
    const char *description;
    const char *toolTip;
    ButtonStyle style;
};

const std::vector<ButtonDef> &explorerButtons()
{
    static const std::vector<ButtonDef> buttons = {
        {"REFRESH", "最新の情報に更新", "最新の情報に更新", ButtonStyle::Default},
        {"DEPENDENCY", "ﾌﾟﾛｼｰｼﾞｬ ｺｰﾙ", "ﾌﾟﾛｼｰｼﾞｬ ｺｰﾙ", ButtonStyle::Default},
        {"OPTIMIZE", "ｺｰﾄﾞ診断", "ｺｰﾄﾞ診断", ButtonStyle::Default},
        {nullptr, "区切り", "", ButtonStyle::Separator},
        {"PROC", "ﾌﾟﾛｼｰｼﾞｬ一覧", "ﾌﾟﾛｼｰｼﾞｬ一覧", ButtonStyle::ButtonGroup},
        {"CTRL", "ｺﾝﾄﾛｰﾙ一覧", "ｺﾝﾄﾛｰﾙ一覧", ButtonStyle::ButtonGroup},
        {nullptr, "区切り", "", ButtonStyle::Separator},
        {"DOWN", "参照先ﾌﾟﾛｼｰｼﾞｬ", "参照先", ButtonStyle::ButtonGroup},
        {"UP", "参照元ﾌﾟﾛｼｰｼﾞｬ", "参照元", ButtonStyle::ButtonGroup},
        {nullptr, "区切り", "", ButtonStyle::Separator},
        {"SAVE", "ﾌｧｲﾙに保存", "保存", ButtonStyle::Default},
        {"COPY", "ｺﾋﾟｰ", "ｺﾋﾟｰ", ButtonStyle::Default},
        {"FIND", "検索", "検索", ButtonStyle::Default},
        {"EDITOR", "ﾃｷｽﾄ ｴﾃﾞｨﾀで表示", "ﾃｷｽﾄ ｴﾃﾞｨﾀで表示", ButtonStyle::Default},
        {nullptr, "区切り", "", ButtonStyle::Separator},
        {"ABOUT", "ﾊﾞｰｼﾞｮﾝ情報", "ﾊﾞｰｼﾞｮﾝ情報", ButtonStyle::Default},
    };
    return buttons;
}

const std::vector<ButtonDef> &ideButtons()
{
    static const std::vector<ButtonDef> buttons = {
        {"OPEN", "ﾌﾟﾛｼﾞｪｸﾄの追加", "ﾌﾟﾛｼﾞｪｸﾄの追加", ButtonStyle::Default},
        {"PRJPROP", "ﾌﾟﾛｼﾞｪｸﾄ ﾌﾟﾛﾊﾟﾃｨ", "ﾌﾟﾛｼﾞｪｸﾄ ﾌﾟﾛﾊﾟﾃｨ", ButtonStyle::Default},
        {"REFERENCE", "参照設定", "参照設定", ButtonStyle::Default},
        {"COMPONENT", "ｺﾝﾎﾟｰﾈﾝﾄ", "ｺﾝﾎﾟｰﾈﾝﾄ", ButtonStyle::Default},
        {"ADDIN", "ｱﾄﾞｲﾝ ﾏﾈｰｼﾞｬ", "ｱﾄﾞｲﾝ ﾏﾈｰｼﾞｬ", ButtonStyle::Default},
        {"COMPILE", "実行可能ﾌｧｲﾙの作成", "実行可能ﾌｧｲﾙの作成", ButtonStyle::Default},
        {"WIPER", "ｲﾐﾃﾞｨｴｲﾄ ｳｨﾝﾄﾞｳのｸﾘｱ", "ｲﾐﾃﾞｨｴｲﾄ ｳｨﾝﾄﾞｳのｸﾘｱ", ButtonStyle::Default},
        {"MSDN", "MSDN ﾗｲﾌﾞﾗﾘ", "MSDN ﾗｲﾌﾞﾗﾘ", ButtonStyle::Check},
        {"HORIZONTAL", "上下に並べて表示", "上下に並べて表示", ButtonStyle::Default},
        {"VERTICAL", "左右に並べて表示", "左右に並べて表示", ButtonStyle::Default},
        {"TILE", "重ねて表示", "重ねて表示", ButtonStyle::Default},
        {"ICON", "ｱｲｺﾝの整列", "ｱｲｺﾝの整列", ButtonStyle::Default},
        {"CLOSE", "すべて閉じる", "すべて閉じる", ButtonStyle::Default},
    };
    return buttons;
}

const char *const kFixedImages[] = {"APPLICATION", "PROJECT", "FORM",        "MDIFORM",     "STD",      "CLASS",
                                    "USERCTRL",    "PROPPAGE", "USERDOC",    "DESIGNER",    "FOLDER",   "FOLDOPEN",
                                    "METHOD",      "PROPERTY", "CONTROL",    "LIBRARY",     "VB",       "GROUP",
                                    "MDICHILD",    "DECLARE",  "INFORMATION", "EXCLAMATION", "CRITICAL"};

void fillToolbar(Toolbar &toolbar, const std::vector<ButtonDef> &defs)
{
    for (const auto &def : defs) {
        Button *b = toolbar.buttons().add(0, def.key ? QString::fromUtf8(def.key) : QString(), QString(), def.style);
        b->setDescription(QString::fromUtf8(def.description));
        b->setToolTipText(QString::fromUtf8(def.toolTip));
    }
}

} // namespace

QString DocMain::projectOfKey(const QString &key)
{
    const int underscore = key.indexOf(QLatin1Char('_'));
    return underscore < 0 ? key : key.left(underscore);
}

DocMain::DocMain()
    : userDocument(QStringLiteral("docMain")), cbrMain(QStringLiteral("cbrMain")),
      imgcboProject(QStringLiteral("imgcboProject")), tbrMain(QStringLiteral("tbrMain")),
      cboHelpWord(QStringLiteral("cboHelpWord")), tbsProject(QStringLiteral("tbsProject")),
      tvwProject(QStringLiteral("tvwProject")), picSplit(QStringLiteral("picSplit")),
      lvwDetail(QStringLiteral("lvwDetail")), staMain(QStringLiteral("staMain")), prgMain(QStringLiteral("prgMain")),
      m_frmAbout(std::make_unique<about::FrmAbout>())
{
    // What the designer holds: one tree and one list, both toolbars, bands, tabs, panels.
    // A document has no frame of its own: its size is its client area.
    userDocument.setBorderStyle(FormBorderStyle::None);
    userDocument.move(0, 0, kDesignWidth, kDesignHeight);
    auto &toolbar0 = tbrMain.add(0);
    auto &toolbar1 = tbrMain.add(1);
    auto &tree0 = tvwProject.add(0);
    auto &list0 = lvwDetail.add(0);
    for (Control *c : std::initializer_list<Control *>{&cbrMain, &tbsProject, &tree0, &picSplit, &list0, &staMain,
                                                       &prgMain})
        c->setContainer(&userDocument);
    for (Control *c : std::initializer_list<Control *>{&imgcboProject, &toolbar0, &toolbar1, &cboHelpWord})
        c->setContainer(&cbrMain);

    fillToolbar(toolbar0, explorerButtons());
    fillToolbar(toolbar1, ideButtons());

    cbrMain.move(0, 0, kDesignWidth, 450);
    imgcboProject.move(0, 0, 2745, 315);
    cboHelpWord.move(0, 0, 3000, 300);
    cboHelpWord.setToolTipText(QStringLiteral("検索する語句を入力してEnterｷｰを押します"));
    auto addBand = [&](Control &child, int minHeight, int width) {
        Band *band = cbrMain.bands().add();
        band->setChild(&child);
        band->setMinHeight(minHeight);
        band->setWidth(width);
        return band;
    };
    addBand(imgcboProject, 315, 2745);
    addBand(toolbar0, 390, 4050);
    addBand(toolbar1, 390, 4995);
    addBand(cboHelpWord, 300, 3000)->setVisible(false);

    for (const char *caption : {"General", "Relative", "Optimize", "Search"})
        tbsProject.tabs().add(0, QString(), QString::fromUtf8(caption));
    tbsProject.move(0, 450, 3000, 5000);
    picSplit.move(3000, 450, 60, 5000);
    list0.setView(ListViewView::Report);
    list0.move(3060, 450, 5070, 5000);

    for (const char *key : {"Guide", "Progress", "Project", "Component", "ItemCount"}) {
        Panel *panel = staMain.panels().add(0, QString::fromUtf8(key));
        panel->setAutoSize(qstrcmp(key, "Guide") == 0 ? PanelAutoSize::Spring : PanelAutoSize::None);
        panel->setWidth(qstrcmp(key, "Guide") == 0 ? 2400 : 1400);
    }
    staMain.move(0, kDesignHeight - 315, kDesignWidth, 315);
    staMain.setAlign(Align::Bottom);
    prgMain.setVisible(false);
}

DocMain::~DocMain() = default;

void DocMain::UserDocument_Initialize()
{
    if (m_initialized)
        return;
    m_initialized = true;
    shared::trapped([&] {
        userDocument.load();
        m_frmAbout->load();
        LoadImages();
        SetupControls();
        LayoutControls();
        mintCurrentTab = 1;
        ReadTempPath();
    });
    m_subscriptions.push_back(cbrMain.heightChanged.connect([this](int) { cbrMain_HeightChanged(); }));
    m_subscriptions.push_back(tbsProject.click.connect([this] { tbsProject_Click(); }));
    for (int i = 0; i < mintTabCount; ++i) {
        m_subscriptions.push_back(
            tvwProject(i).nodeClick.connect([this, i](Node *node) { tvwProject_NodeClick(i, node); }));
        ListView &list = lvwDetail(i);
        m_subscriptions.push_back(
            list.columnClick.connect([this, i](ColumnHeader *column) { lvwDetail_ColumnClick(i, column); }));
        m_subscriptions.push_back(list.dblClick.connect([this, i] { lvwDetail_DblClick(i); }));
        m_subscriptions.push_back(
            list.keyDown.connect([this, i](int &keyCode, int shift) { lvwDetail_KeyDown(i, keyCode, shift); }));
    }
    m_subscriptions.push_back(imgcboProject.click.connect([this] { imgcboProject_Click(); }));
    m_subscriptions.push_back(
        cboHelpWord.keyDown.connect([this](int &keyCode, int shift) { cboHelpWord_KeyDown(keyCode, shift); }));
    for (int t = 0; t <= 1; ++t) {
        m_subscriptions.push_back(
            tbrMain(t).buttonClick.connect([this, t](Button *button) { tbrMain_ButtonClick(t, button); }));
    }
    // Callee entries of the call-analysis tree get their callees when first opened.
    m_subscriptions.push_back(tvwProject(TabRelative - 1).loadChildrenRequested.connect([this](Node *node) {
        shared::trapped([&] { analysis::LoadCallTreeChildren(tvwProject(TabRelative - 1), node); });
    }));
    m_subscriptions.push_back(picSplit.mouseDown.connect(
        [this](int button, int shift, int x, int y) { picSplit_MouseDown(button, shift, x, y); }));
    m_subscriptions.push_back(picSplit.mouseMove.connect(
        [this](int button, int shift, int x, int y) { picSplit_MouseMove(button, shift, x, y); }));
    m_subscriptions.push_back(picSplit.mouseUp.connect(
        [this](int button, int shift, int x, int y) { picSplit_MouseUp(button, shift, x, y); }));
    m_subscriptions.push_back(userDocument.resize.connect([this] { shared::trapped([&] { LayoutControls(); }); }));
}

void DocMain::LoadImages()
{
    mobjImageList = &m_frmAbout->imglstApplication;
    auto addImage = [&](const QString &key) {
        // A missing bitmap leaves its button without an image.
        host::resumeNext([&] {
            const host::Picture image = about::resourceBitmap(key);
            if (image.isNull())
                throw host::Error(host::err::FileNotFound);
            mobjImageList->listImages().add(0, key, image);
        });
    };
    for (const char *key : kFixedImages)
        addImage(QString::fromLatin1(key));
    for (int t = 0; t <= 1; ++t) {
        Toolbar &toolbar = tbrMain(t);
        toolbar.setButtonWidth(16);
        toolbar.setButtonHeight(16);
        for (Button *button : toolbar.buttons()) {
            if (button->key().isEmpty())
                continue;
            addImage(button->key());
            host::resumeNext([&] {
                toolbar.setImageList(mobjImageList);
                button->setImage(button->key());
            });
        }
    }
}

void DocMain::SetupControls()
{
    mintTabCount = tbsProject.tabs().count();
    for (int i = 1; i < mintTabCount; ++i) {
        tvwProject.load(i).setContainer(&userDocument);
        lvwDetail.load(i).setContainer(&userDocument);
    }
    for (int i = 0; i < mintTabCount; ++i) {
        TreeView &tree = tvwProject(i);
        tree.setStyle(TreeStyle::TreelinesPlusMinusPictureText);
        tree.setLineStyle(TreeLineStyle::RootLines);
        tree.setSorted(true);
        tree.setLabelEdit(LabelEdit::Manual);
        tree.setImageList(mobjImageList);
    }
    for (int i = 0; i < mintTabCount; ++i) {
        ListView &list = lvwDetail(i);
        list.setView(ListViewView::Report);
        list.setSmallIcons(mobjImageList);
        list.setLabelEdit(LabelEdit::Manual);
        list.setBorderStyle(BorderStyle::None);
        list.setAppearance(Appearance::ThreeD);
        list.setFullRowSelect(true);
    }
    picSplit.setBorderStyle(BorderStyle::None);
    picSplit.setBackColor(userDocument.backColor());

    Toolbar &explorer = tbrMain(0);
    explorer.setStyle(ToolbarStyle::Flat);
    explorer.buttons()(QStringLiteral("PROC"))->setValue(ButtonValue::Pressed);
    explorer.buttons()(QStringLiteral("DOWN"))->setValue(ButtonValue::Pressed);
    for (const char *key : {"DOWN", "UP", "SAVE"})
        explorer.buttons()(QString::fromLatin1(key))->setEnabled(false);
    tbrMain(1).setStyle(ToolbarStyle::Flat);
    imgcboProject.setImageList(mobjImageList);

    for (Panel *panel : staMain.panels())
        panel->setText(QString());
    staMain.panels()(2)->setVisible(false);

    for (int i = 1; i < mintTabCount; ++i) {
        tvwProject(i).setVisible(false);
        lvwDetail(i).setVisible(false);
    }
    tvwProject(0).zOrder();
    lvwDetail(0).zOrder();
}

void DocMain::resize(int width, int height)
{
    userDocument.move(userDocument.left(), userDocument.top(), std::max(0, width), std::max(0, height));
}

void DocMain::LayoutControls()
{
    const int W = userDocument.scaleWidth();
    const int H = userDocument.scaleHeight();
    cbrMain.move(0, 0, std::max(0, W));
    cbrMain.refresh();
    const int F = H - (cbrMain.height() + staMain.height());
    tbsProject.setLeft(0);
    tbsProject.setTop(cbrMain.height());
    if (F > 0)
        tbsProject.setHeight(F);
    picSplit.move(tbsProject.width(), tbsProject.top(), picSplit.width(), tbsProject.height());
    const int listLeft = picSplit.left() + picSplit.width();
    for (int i = 0; i < mintTabCount; ++i) {
        ListView &list = lvwDetail(i);
        list.setLeft(listLeft);
        list.setTop(cbrMain.height());
        if (W - listLeft > 0)
            list.setWidth(W - listLeft);
        if (F > 0)
            list.setHeight(F);
    }
    for (int i = 0; i < mintTabCount; ++i) {
        TreeView &tree = tvwProject(i);
        tree.setLeft(tbsProject.clientLeft());
        tree.setTop(tbsProject.clientTop() + 10);
        if (tbsProject.clientWidth() > 0)
            tree.setWidth(tbsProject.clientWidth());
        if (tbsProject.clientHeight() - 20 > 0)
            tree.setHeight(tbsProject.clientHeight() - 20);
    }
    Panel *progressPanel = staMain.panels()(2);
    prgMain.move(progressPanel->left(), staMain.top(), progressPanel->width(), staMain.height());
}

void DocMain::cbrMain_HeightChanged()
{
    shared::trapped([&] { LayoutControls(); });
}

void DocMain::picSplit_MouseDown(int, int, int, int)
{
    mblnSplitDrag = true;
    picSplit.setBackColor(vbButtonShadow);
    picSplit.zOrder();
}

void DocMain::picSplit_MouseMove(int, int, int x, int)
{
    if (!mblnSplitDrag)
        return;
    picSplit.setLeft(picSplit.left() + x / 2);
    picSplit.zOrder();
}

void DocMain::picSplit_MouseUp(int, int, int, int)
{
    shared::trapped([&] {
        mblnSplitDrag = false;
        picSplit.setBackColor(userDocument.backColor());
        const int W = userDocument.scaleWidth();
        if (picSplit.left() - tbsProject.left() < kTreeMinWidth)
            picSplit.setLeft(tbsProject.left() + kTreeMinWidth);
        else if (W - (picSplit.left() + picSplit.width()) - kListMinWidth < 0)
            picSplit.setLeft(W - picSplit.width() - kListMinWidth);
        tbsProject.setWidth(std::max(0, picSplit.left() - tbsProject.left()));
        for (int i = 0; i < mintTabCount; ++i) {
            TreeView &tree = tvwProject(i);
            tree.setWidth(std::max(0, tbsProject.width() - (2 * tree.left() + 10)));
        }
        const int listLeft = picSplit.left() + picSplit.width();
        for (int i = 0; i < mintTabCount; ++i) {
            lvwDetail(i).setLeft(listLeft);
            lvwDetail(i).setWidth(std::max(0, W - listLeft));
        }
        picSplit.zOrder();
    });
}

// ---- status, progress and the temporary folder ---------------------------------

void DocMain::ReadTempPath()
{
    QString path = controls::platform().tempPath();
    shared::basQuillbox().gTempPath = path;
}

void DocMain::SetStatusMessage(int intPanel, const QString &strMessage)
{
    if (intPanel == 0) {
        for (Panel *panel : staMain.panels())
            panel->setText(QString());
    } else if (intPanel >= 1 && intPanel <= staMain.panels().count()) {
        staMain.panels()(intPanel)->setText(strMessage);
    }
}

void DocMain::SetProgress(int intProgress, int intMaxValue)
{
    auto &platform = controls::platform();
    if (intProgress == 0 && intMaxValue == 0) {
        prgMain.setValue(prgMain.max());
        platform.doEvents();
        prgMain.setVisible(false);
        prgMain.setValue(0);
        prgMain.setMax(1);
        staMain.panels()(2)->setVisible(false);
    } else if (intProgress == 0) {
        // A start without the previous finish may hold a value above the new maximum.
        const int max = std::max(1, intMaxValue);
        if (prgMain.value() > max)
            prgMain.setValue(0);
        prgMain.setMax(max);
        prgMain.setVisible(true);
        Panel *panel = staMain.panels()(2);
        panel->setVisible(true);
        prgMain.move(panel->left() + 30, staMain.top() + 50, std::max(0, panel->width() - 50),
                     std::max(0, staMain.height() - 80));
        prgMain.zOrder();
    } else if (intMaxValue == 0) {
        if (prgMain.max() >= intProgress)
            prgMain.setValue(intProgress);
    }
    platform.doEvents();
}

} // namespace docmain

namespace docmain {

std::shared_ptr<DocMain> createDocument()
{
    auto doc = std::make_shared<DocMain>();
    doc->UserDocument_Initialize();
    return doc;
}

} // namespace docmain
