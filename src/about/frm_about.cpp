#include "about/frm_about.h"

#include "shared/bas_quillbox.h"

#include <QFile>
#include <QLocale>
#include <QVersionNumber>

static void initResources()
{
    // The bitmaps live in a static library: register them before the first lookup.
    static const bool done = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)done;
}

namespace about {

namespace {

const char *const kFigureNames[6] = {"総物理メモリ：",         "空物理メモリ：",         "総ページングファイル：",
                                     "空ページングファイル：", "総仮想ユーザーメモリ：", "空仮想ユーザーメモリ："};

} // namespace

QString formatByteCount(quint64 bytes)
{
    QString separator = QLocale::system().groupSeparator();
    if (separator.isEmpty())
        separator = QStringLiteral(",");
    QString digits = QString::number(bytes);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, separator);
    return digits;
}

std::array<quint64, 6> memoryFigures(const controls::MemoryStatus &status)
{
    return {status.totalPhysical,     status.availablePhysical, status.totalPageFile,
            status.availablePageFile, status.totalVirtual,      status.availableVirtual};
}

QString applicationVersion()
{
    const QVersionNumber version = QVersionNumber::fromString(QStringLiteral(TESSARY_VERSION));
    return QStringLiteral("Tessary %1.%2.%3").arg(version.majorVersion()).arg(version.minorVersion()).arg(version.microVersion());
}

FrmAbout::FrmAbout()
    : controls::Form(QStringLiteral("frmAbout")), Image1(QStringLiteral("Image1")), lblAppVer(QStringLiteral("lblAppVer")),
      cmdOSVersion(QStringLiteral("cmdOSVersion")), cmdOK(QStringLiteral("cmdOK")),
      imglstApplication(QStringLiteral("imglstApplication"))
{
    setCaption(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setBorderStyle(controls::FormBorderStyle::FixedDialog);
    move(0, 0, 5820, 3960);
    Image1.setBorderStyle(controls::BorderStyle::None);
    Image1.move(300, 300, 480, 480);
    Image1.setContainer(this);
    lblAppVer.move(960, 360, 4500, 255);
    lblAppVer.setContainer(this);
    for (int i = 0; i < 6; ++i) {
        const int top = 1020 + i * 300;
        Label[i].setName(QStringLiteral("Label%1").arg(i + 1));
        Label[i].setCaption(QString::fromUtf8(kFigureNames[i]));
        Label[i].move(300, top, 2280, 255);
        lblInfo[i].setName(QStringLiteral("lblInfo%1").arg(i + 1));
        lblInfo[i].setAlignment(controls::TextAlignment::Right);
        lblInfo[i].move(2580, top, 2040, 255);
        LabelUnit[i].setName(QStringLiteral("Label%1").arg(i + 13));
        LabelUnit[i].setCaption(QStringLiteral("Bytes"));
        LabelUnit[i].move(4740, top, 720, 255);
        for (controls::Control *c : std::initializer_list<controls::Control *>{&Label[i], &lblInfo[i], &LabelUnit[i]})
            c->setContainer(this);
    }
    cmdOSVersion.setCaption(QStringLiteral("Windowsのﾊﾞｰｼﾞｮﾝ"));
    cmdOSVersion.move(1500, 3000, 2280, 375);
    cmdOSVersion.setContainer(this);
    cmdOK.setCaption(QStringLiteral("OK"));
    cmdOK.setDefault(true);
    cmdOK.setCancel(true);
    cmdOK.move(3960, 3000, 1500, 375);
    cmdOK.setContainer(this);
    imglstApplication.setImageWidth(16);
    imglstApplication.setImageHeight(16);

    m_subscriptions.push_back(loadEvent.connect([this] { Form_Load(); }));
    m_subscriptions.push_back(cmdOK.click.connect([this] { cmdOK_Click(); }));
    m_subscriptions.push_back(cmdOSVersion.click.connect([this] { cmdOSVersion_Click(); }));
    m_subscriptions.push_back(
        queryUnload.connect([this](bool &cancel, int mode) { Form_QueryUnload(cancel, mode); }));
}

FrmAbout::~FrmAbout() = default;

void FrmAbout::Form_Load()
{
    shared::trapped([&] {
        imglstApplication.setImageWidth(16);
        imglstApplication.setImageHeight(16);
        for (controls::Control *c : controls())
            if (auto *label = dynamic_cast<controls::Label *>(c))
                label->setBorderStyle(controls::BorderStyle::None);
        shared::DrawFormEdge(*this);
        lblAppVer.setCaption(applicationVersion());
    });
}

void FrmAbout::GetMemoryInfo()
{
    const auto figures = memoryFigures(controls::platform().memoryStatus());
    for (std::size_t i = 0; i < figures.size(); ++i)
        lblInfo[i].setCaption(formatByteCount(figures[i]));
}

void FrmAbout::cmdOK_Click() { hide(); }

void FrmAbout::cmdOSVersion_Click() { controls::platform().shellAbout(QStringLiteral("Windows"), QString()); }

void FrmAbout::Form_QueryUnload(bool &cancel, int unloadMode)
{
    if (unloadMode == int(controls::UnloadMode::FormControlMenu)) {
        cancel = true;
        hide();
    }
}

host::Picture resourceBitmap(const QString &key)
{
    initResources();
    QFile file(QStringLiteral(":/images/") + key);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return host::Picture(file.readAll());
}

} // namespace about
