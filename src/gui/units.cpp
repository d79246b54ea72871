#include "gui/units.h"

#include "about/frm_about.h"
#include "controls/image_list.h"

#include <QApplication>
#include <QBuffer>
#include <QFontDatabase>
#include <QPalette>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QWidget>
#include <cmath>

namespace gui {

using namespace controls;

namespace {

int dpiX(const QWidget *widget) { return widget ? widget->logicalDpiX() : 96; }
int dpiY(const QWidget *widget) { return widget ? widget->logicalDpiY() : 96; }

int scale(int value, int numerator, int denominator)
{
    return static_cast<int>(std::lround(double(value) * numerator / denominator));
}

/// The Windows style with the classic controls' tighter tab padding.
class ClassicStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_TabBarTabHSpace)
            return 12;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

int twipsToPixelsX(int twips, const QWidget *widget) { return scale(twips, dpiX(widget), kTwipsPerInch); }
int twipsToPixelsY(int twips, const QWidget *widget) { return scale(twips, dpiY(widget), kTwipsPerInch); }
int pixelsToTwipsX(int pixels, const QWidget *widget) { return scale(pixels, kTwipsPerInch, dpiX(widget)); }
int pixelsToTwipsY(int pixels, const QWidget *widget) { return scale(pixels, kTwipsPerInch, dpiY(widget)); }

QRect twipsToPixels(const QRect &twips, const QWidget *widget)
{
    // Convert the edges, not the size, so that neighbours meet without gaps.
    const int left = twipsToPixelsX(twips.x(), widget);
    const int top = twipsToPixelsY(twips.y(), widget);
    const int right = twipsToPixelsX(twips.x() + twips.width(), widget);
    const int bottom = twipsToPixelsY(twips.y() + twips.height(), widget);
    return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

QColor toQColor(OleColor color) { return QColor::fromRgb(toRgb(color)); }

QString cjkFamily()
{
    static const QString family = [] {
        const QStringList families = QFontDatabase::families();
        for (const char *candidate : {"Noto Sans CJK JP", "Noto Sans JP", "Source Han Sans JP", "IPAPGothic",
                                      "IPAGothic", "TakaoPGothic", "VL PGothic", "MS PGothic", "Meiryo",
                                      "Noto Sans CJK SC", "WenQuanYi Zen Hei"}) {
            const QString name = QString::fromLatin1(candidate);
            if (families.contains(name, Qt::CaseInsensitive))
                return name;
        }
        for (const QString &name : families) {
            if (QFontDatabase::writingSystems(name).contains(QFontDatabase::Japanese))
                return name;
        }
        return QString();
    }();
    return family;
}

QString cjkMonospaceFamily()
{
    static const QString family = [] {
        const QStringList families = QFontDatabase::families();
        for (const char *candidate : {"Noto Sans Mono CJK JP", "Source Han Code JP", "IPAGothic", "TakaoGothic",
                                      "VL Gothic", "MS Gothic"}) {
            const QString name = QString::fromLatin1(candidate);
            if (families.contains(name, Qt::CaseInsensitive))
                return name;
        }
        return cjkFamily();
    }();
    return family;
}

QFont toQFont(const Font &font)
{
    QFont f;
    // "ＭＳ ゴシック" and "ＭＳ 明朝" are fixed-pitch; their "Ｐ" siblings are proportional.
    const bool fixedPitch = !font.name.contains(QChar(0xFF30)) && !font.name.contains(QLatin1String(" P"))
                            && (font.name.contains(QStringLiteral("ゴシック")) || font.name.contains(QStringLiteral("明朝"))
                                || font.name.compare(QLatin1String("MS Gothic"), Qt::CaseInsensitive) == 0);
    const QString family = fixedPitch ? cjkMonospaceFamily() : cjkFamily();
    // The Japanese Windows faces are not installed here; their glyphs come from the CJK family.
    const bool japaneseFace = font.charset == 128 || font.name.contains(QStringLiteral("ゴシック"))
                              || font.name.contains(QStringLiteral("明朝"))
                              || font.name.contains(QLatin1String("Gothic"), Qt::CaseInsensitive);
    if (japaneseFace && !family.isEmpty()) {
        f.setFamilies({family});
    } else {
        QStringList families{font.name};
        if (!family.isEmpty())
            families << family;
        f.setFamilies(families);
    }
    f.setPointSizeF(font.size > 0 ? font.size : 9);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikethrough);
    return f;
}

QImage toImage(const host::Picture &picture)
{
    return picture.isNull() ? QImage() : QImage::fromData(picture.bytes());
}

host::Picture toPicture(const QImage &image)
{
    if (image.isNull())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return host::Picture(bytes);
}

QIcon toIcon(const host::Picture &picture)
{
    const QImage image = toImage(picture);
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

QIcon imageIcon(const ImageList *list, const QString &keyOrIndex)
{
    if (!list || keyOrIndex.isEmpty())
        return QIcon();
    return toIcon(list->picture(keyOrIndex));
}

QIcon resourceIcon(const QString &key) { return toIcon(about::resourceBitmap(key)); }

Qt::CursorShape cursorShape(MousePointer pointer)
{
    switch (pointer) {
    case MousePointer::Cross: return Qt::CrossCursor;
    case MousePointer::IBeam: return Qt::IBeamCursor;
    case MousePointer::Size:
    case MousePointer::SizeAll: return Qt::SizeAllCursor;
    case MousePointer::SizeNESW: return Qt::SizeBDiagCursor;
    case MousePointer::SizeNS: return Qt::SizeVerCursor;
    case MousePointer::SizeNWSE: return Qt::SizeFDiagCursor;
    case MousePointer::SizeWE: return Qt::SizeHorCursor;
    case MousePointer::UpArrow: return Qt::UpArrowCursor;
    case MousePointer::Hourglass: return Qt::WaitCursor;
    case MousePointer::NoDrop: return Qt::ForbiddenCursor;
    case MousePointer::ArrowHourglass: return Qt::BusyCursor;
    case MousePointer::ArrowQuestion: return Qt::WhatsThisCursor;
    default: return Qt::ArrowCursor;
    }
}

int vbKeyCode(int qtKey)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F16)
        return vbKeyF1 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace: return vbKeyBack;
    case Qt::Key_Tab: return vbKeyTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vbKeyReturn;
    case Qt::Key_Shift: return vbKeyShift;
    case Qt::Key_Control: return vbKeyControl;
    case Qt::Key_Escape: return vbKeyEscape;
    case Qt::Key_Space: return vbKeySpace;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return vbKeyEnd;
    case Qt::Key_Home: return vbKeyHome;
    case Qt::Key_Left: return vbKeyLeft;
    case Qt::Key_Up: return vbKeyUp;
    case Qt::Key_Right: return vbKeyRight;
    case Qt::Key_Down: return vbKeyDown;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return vbKeyDelete;
    default: return 0;
    }
}

int vbShift(Qt::KeyboardModifiers modifiers)
{
    int shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= vbShiftMask;
    if (modifiers & Qt::ControlModifier)
        shift |= vbCtrlMask;
    if (modifiers & Qt::AltModifier)
        shift |= vbAltMask;
    return shift;
}

int vbButtons(Qt::MouseButtons buttons)
{
    int result = 0;
    if (buttons & Qt::LeftButton)
        result |= vbLeftButton;
    if (buttons & Qt::RightButton)
        result |= vbRightButton;
    if (buttons & Qt::MiddleButton)
        result |= vbMiddleButton;
    return result;
}

void applyClassicLook(QApplication &app)
{
    if (QStyle *style = QStyleFactory::create(QStringLiteral("Windows")))
        app.setStyle(new ClassicStyle(style));
    QPalette p;
    auto set = [&](QPalette::ColorRole role, OleColor color) { p.setColor(role, toQColor(color)); };
    set(QPalette::Window, vbButtonFace);
    set(QPalette::WindowText, vbWindowText);
    set(QPalette::Base, vbWindowBackground);
    set(QPalette::AlternateBase, vbButtonFace);
    set(QPalette::Text, vbWindowText);
    set(QPalette::Button, vbButtonFace);
    set(QPalette::ButtonText, vbButtonText);
    set(QPalette::Highlight, vbHighlight);
    set(QPalette::HighlightedText, vbHighlightText);
    set(QPalette::ToolTipBase, vbInfoBackground);
    set(QPalette::ToolTipText, vbInfoText);
    set(QPalette::Light, vb3DHighlight);
    set(QPalette::Midlight, vbButtonFace);
    set(QPalette::Mid, vbButtonShadow);
    set(QPalette::Dark, vbButtonShadow);
    p.setColor(QPalette::Shadow, QColor(64, 64, 64));
    p.setColor(QPalette::Disabled, QPalette::WindowText, toQColor(vbGrayText));
    p.setColor(QPalette::Disabled, QPalette::Text, toQColor(vbGrayText));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, toQColor(vbGrayText));
    // An unfocused selection stays visible, in the button-face grey of the classic controls.
    p.setColor(QPalette::Inactive, QPalette::Highlight, toQColor(vbButtonFace));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, toQColor(vbWindowText));
    app.setPalette(p);
    app.setFont(toQFont(Font{}));
}

} // namespace gui
