#pragma once
// Conversions between the models' units (twips, OLE colours, StdFont, pictures, image keys) and Qt's,
// and the classic Windows look of the whole application.
#include "controls/control.h"
#include "host/picture.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QRect>

class QApplication;
class QWidget;

namespace controls {
class ImageList;
}

namespace gui {

inline constexpr int kTwipsPerInch = 1440;

/// Twips to pixels at the widget's logical DPI (96 without a widget), rounded.
int twipsToPixelsX(int twips, const QWidget *widget);
int twipsToPixelsY(int twips, const QWidget *widget);
int pixelsToTwipsX(int pixels, const QWidget *widget);
int pixelsToTwipsY(int pixels, const QWidget *widget);
QRect twipsToPixels(const QRect &twips, const QWidget *widget);

QColor toQColor(controls::OleColor color);

/// The installed family that shows Japanese text: "Noto Sans CJK JP" first, then other
/// Japanese-capable families; empty when none is installed.
QString cjkFamily();
/// The fixed-pitch family for Japanese text (code windows): "Noto Sans Mono CJK JP" first.
QString cjkMonospaceFamily();
/// A StdFont as Qt draws it: Japanese face names map onto the CJK family.
QFont toQFont(const controls::Font &font);

/// The picture decoded (PNG, BMP, anything Qt reads); a null image when it cannot be.
QImage toImage(const host::Picture &picture);
/// The image as a PNG file's bytes; a null picture for a null image.
host::Picture toPicture(const QImage &image);
/// The picture as an icon; a null icon when it cannot be decoded.
QIcon toIcon(const host::Picture &picture);

/// The picture an image argument names in `list` as an icon; a null icon when there is none.
QIcon imageIcon(const controls::ImageList *list, const QString &keyOrIndex);
/// A resource bitmap by key, as an icon.
QIcon resourceIcon(const QString &key);

/// VB's MousePointer as a Qt cursor shape.
Qt::CursorShape cursorShape(controls::MousePointer pointer);
/// The Qt key as a VB key code (vbKeyReturn, vbKeyF1, 'A', ...); 0 for keys VB has no code for.
int vbKeyCode(int qtKey);
/// Qt modifiers as VB's Shift argument (vbShiftMask | vbCtrlMask | vbAltMask).
int vbShift(Qt::KeyboardModifiers modifiers);
/// Qt mouse buttons as VB's Button argument.
int vbButtons(Qt::MouseButtons buttons);

/// The Windows style, the classic system colours and the CJK UI font for the whole
/// application.
void applyClassicLook(QApplication &app);

} // namespace gui
