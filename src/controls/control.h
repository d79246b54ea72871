#pragma once
// The base of every control model: what VB's extender gives each control (name, position
// in twips, visibility, z-order, focus, colours, font, tag) and the events most controls
// share. A renderer subscribes to `changed` and re-reads the property it names.
#include "controls/common.h"
#include "controls/property.h"
#include "host/signal.h"

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

namespace controls {

class Container;

/// MousePointerConstants (the common controls' ccDefault... use the same numbers).
enum class MousePointer {
    Default = 0,
    Arrow = 1,
    Cross = 2,
    IBeam = 3,
    Icon = 4,
    Size = 5,
    SizeNESW = 6,
    SizeNS = 7,
    SizeNWSE = 8,
    SizeWE = 9,
    UpArrow = 10,
    Hourglass = 11,
    NoDrop = 12,
    ArrowHourglass = 13,
    ArrowQuestion = 14,
    SizeAll = 15,
    Custom = 99,
};

/// AlignConstants: an aligned control spans its container's width (or height) at an edge.
enum class Align { None = 0, Top = 1, Bottom = 2, Left = 3, Right = 4 };

/// ZOrder's argument.
enum class ZOrderPosition { BringToFront = 0, SendToBack = 1 };

/// BorderStyle of the standard controls and of the common controls (ccNone, ccFixedSingle).
enum class BorderStyle { None = 0, FixedSingle = 1 };

/// Appearance (ccFlat, cc3D).
enum class Appearance { Flat = 0, ThreeD = 1 };

/// LabelEditConstants of the tree and list views.
enum class LabelEdit { Automatic = 0, Manual = 1 };

// Mouse event arguments: Button and Shift.
inline constexpr int vbLeftButton = 1;
inline constexpr int vbRightButton = 2;
inline constexpr int vbMiddleButton = 4;
inline constexpr int vbShiftMask = 1;
inline constexpr int vbCtrlMask = 2;
inline constexpr int vbAltMask = 4;

// Key codes of KeyDown/KeyUp (KeyCodeConstants).
inline constexpr int vbKeyBack = 8;
inline constexpr int vbKeyTab = 9;
inline constexpr int vbKeyReturn = 13;
inline constexpr int vbKeyShift = 16;
inline constexpr int vbKeyControl = 17;
inline constexpr int vbKeyEscape = 27;
inline constexpr int vbKeySpace = 32;
inline constexpr int vbKeyEnd = 35;
inline constexpr int vbKeyHome = 36;
inline constexpr int vbKeyLeft = 37;
inline constexpr int vbKeyUp = 38;
inline constexpr int vbKeyRight = 39;
inline constexpr int vbKeyDown = 40;
inline constexpr int vbKeyDelete = 46;
inline constexpr int vbKeyF1 = 112;

/// An OLE_COLOR: &H00BBGGRR for a colour, &H800000nn for system colour nn.
using OleColor = quint32;

inline constexpr OleColor vbBlack = 0x000000;
inline constexpr OleColor vbWhite = 0xFFFFFF;
inline constexpr OleColor vbScrollBars = 0x80000000;
inline constexpr OleColor vbDesktop = 0x80000001;
inline constexpr OleColor vbWindowBackground = 0x80000005;
inline constexpr OleColor vbWindowText = 0x80000008;
inline constexpr OleColor vbApplicationWorkspace = 0x8000000C;
inline constexpr OleColor vbHighlight = 0x8000000D;
inline constexpr OleColor vbHighlightText = 0x8000000E;
inline constexpr OleColor vbButtonFace = 0x8000000F;
inline constexpr OleColor vbButtonShadow = 0x80000010;
inline constexpr OleColor vbGrayText = 0x80000011;
inline constexpr OleColor vbButtonText = 0x80000012;
inline constexpr OleColor vb3DHighlight = 0x80000014;
inline constexpr OleColor vbInfoText = 0x80000017;
inline constexpr OleColor vbInfoBackground = 0x80000018;

/// A colour to paint, opaque, as 0xAARRGGBB: the layout of Qt's QRgb, so a renderer
/// passes it to QColor unchanged.
using Rgb = quint32;
constexpr Rgb rgb(int red, int green, int blue)
{
    return 0xFF000000u | quint32(red & 0xFF) << 16 | quint32(green & 0xFF) << 8 | quint32(blue & 0xFF);
}

bool isSystemColor(OleColor color);
/// The colour to paint: system colours as the classic Windows scheme defines them.
Rgb toRgb(OleColor color);
OleColor fromRgb(Rgb color);

/// StdFont, as far as a renderer needs it.
struct Font {
    QString name = QStringLiteral("ＭＳ Ｐゴシック");
    double size = 9;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    int charset = 128;

    bool operator==(const Font &) const = default;
};

/// Twips per pixel at 96 dpi, the unit conversion every default size below assumes.
inline constexpr int kTwipsPerPixel = 15;

/// Base of all control models. Setters change state, notify `changed` with the
/// property and raise no user events (as assigning a property in VB raises no Click);
/// the user operations of each control raise them.
class Control {
public:
    explicit Control(const QString &name = {});
    virtual ~Control();
    Control(const Control &) = delete;
    Control &operator=(const Control &) = delete;

    /// The VB class name ("TreeView", "CommandButton", ...).
    virtual QString className() const = 0;

    const QString &name() const { return m_name; }
    void setName(const QString &name);
    /// Index in a control array; -1 for a control that is not part of one.
    int index() const { return m_index; }

    int left() const { return m_left; }
    int top() const { return m_top; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    void setLeft(int left) { move(left, m_top, m_width, m_height); }
    void setTop(int top) { move(m_left, top, m_width, m_height); }
    void setWidth(int width) { move(m_left, m_top, width, m_height); }
    void setHeight(int height) { move(m_left, m_top, m_width, height); }
    /// VB's Move: omitted sizes keep their value. Negative sizes raise 380.
    void move(int left, int top, std::optional<int> width = std::nullopt,
              std::optional<int> height = std::nullopt);

    bool visible() const { return m_visible; }
    void setVisible(bool visible);
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    /// ZOrder method. Larger values are in front; siblings compare their values.
    void zOrder(ZOrderPosition position = ZOrderPosition::BringToFront);
    long long zOrderValue() const { return m_zOrder; }

    const QString &tag() const { return m_tag; }
    void setTag(const QString &tag);
    const QString &toolTipText() const { return m_toolTipText; }
    void setToolTipText(const QString &text);
    MousePointer mousePointer() const { return m_mousePointer; }
    void setMousePointer(MousePointer pointer);
    OleColor backColor() const { return m_backColor; }
    void setBackColor(OleColor color);
    OleColor foreColor() const { return m_foreColor; }
    void setForeColor(OleColor color);
    const Font &font() const { return m_font; }
    void setFont(const Font &font);
    Align align() const { return m_align; }
    void setAlign(Align align);

    /// The form, frame, picture box or cool bar the control sits on; nullptr when none.
    Container *container() const { return m_container; }
    /// Moves the control onto `container` (nullptr: onto none).
    void setContainer(Container *container);

    /// Gives the control the focus; 5 "Invalid procedure call" when it is hidden or disabled.
    void setFocus();
    bool hasFocus() const { return s_focused == this; }
    /// The control that has the focus, if any.
    static Control *focused() { return s_focused; }
    /// Repaint request: notifies "Refresh".
    void refresh();

    /// Copies what VB's Load statement copies from the array's first element: everything
    /// but Visible (a loaded element starts hidden), Index and the contents.
    virtual void copyPropertiesFrom(const Control &other);

    /// A property changed (Left, Visible, ColumnHeaders, ...).
    host::Signal<Property> changed;

    host::Signal<> click;
    host::Signal<> dblClick;
    /// Button, Shift, X, Y (twips, relative to the control).
    host::Signal<int, int, int, int> mouseDown;
    host::Signal<int, int, int, int> mouseMove;
    host::Signal<int, int, int, int> mouseUp;
    /// KeyCode (a handler may set it to 0), Shift.
    host::Signal<int &, int> keyDown;
    host::Signal<int &> keyPress;
    host::Signal<int &, int> keyUp;

protected:
    void notify(Property property) { changed.raise(property); }
    /// Lets a control fix the size it is given (a cool bar's height follows its bands).
    virtual void constrainSize(int &width, int &height) {}
    /// Runs after the width or height changed.
    virtual void sizeChanged() {}
    /// Keeps the stored size without going through constrainSize (for derived sizes).
    void storeHeight(int height);

private:
    template <class T>
    friend class ControlArray;
    friend class Container;

    QString m_name;
    int m_index = -1;
    int m_left = 0;
    int m_top = 0;
    int m_width = 1215;
    int m_height = 495;
    bool m_visible = true;
    bool m_enabled = true;
    long long m_zOrder = 0;
    QString m_tag;
    QString m_toolTipText;
    MousePointer m_mousePointer = MousePointer::Default;
    OleColor m_backColor = vbButtonFace;
    OleColor m_foreColor = vbButtonText;
    Font m_font;
    Align m_align = Align::None;
    Container *m_container = nullptr; // not owned

    static Control *s_focused;
    static long long s_frontCounter;
    static long long s_backCounter;
};

/// A drawn edge (DrawEdge on the container's device context), kept for the renderer.
struct DrawnEdge {
    QRect pixels;
    int edge = 0;
    int flags = 0;
    bool operator==(const DrawnEdge &) const = default;
};

/// A control that holds others: form, frame, picture box, cool bar. It lays out its
/// aligned children and keeps the edges drawn on it.
class Container : public Control {
public:
    using Control::Control;
    ~Container() override;

    /// The controls on this container, in the order they were put on it.
    const QList<Control *> &controls() const { return m_children; }

    /// Inner size: the size minus the frame (twips).
    int scaleWidth() const;
    int scaleHeight() const;

    /// Places the aligned children at their edges, in z-order of placement (VB's rule:
    /// each aligned control takes the full width or height that is still free).
    void arrangeAligned();

    void drawEdge(const QRect &pixels, int edge, int flags);
    /// Cls: forgets what was drawn.
    void cls();
    const QList<DrawnEdge> &drawnEdges() const { return m_edges; }

protected:
    /// Width of the frame on the left + right, and on the top + bottom (twips).
    virtual QSize frameSize() const { return {0, 0}; }
    void sizeChanged() override;

private:
    friend class Control;
    QList<Control *> m_children; // not owned
    QList<DrawnEdge> m_edges;
    bool m_arranging = false;
};

} // namespace controls
