#include "about/frm_about.h"

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

FrmAbout::FrmAbout() : controls::Form(QStringLiteral("frmAbout")), imglstApplication(QStringLiteral("imglstApplication"))
{
    setCaption(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    imglstApplication.setImageWidth(16);
    imglstApplication.setImageHeight(16);
}

QImage resourceBitmap(const QString &key)
{
    initResources();
    return QImage(QStringLiteral(":/images/") + key);
}

} // namespace about
