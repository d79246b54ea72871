#pragma once
// VB's intrinsic controls as the add-in uses them: Label, CommandButton, CheckBox, ComboBox,
// PictureBox, Frame.
#include "controls/control.h"

#include <QStringList>

namespace controls {

/// AlignmentConstants of labels and check boxes.
enum class TextAlignment { Left = 0, Right = 1, Center = 2 };

class Label : public Control {
public:
    explicit Label(const QString &name = {});
    QString className() const override { return QStringLiteral("Label"); }

    const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption);
    TextAlignment alignment() const { return m_alignment; }
    void setAlignment(TextAlignment alignment);
    BorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(BorderStyle style);
    bool autoSize() const { return m_autoSize; }
    void setAutoSize(bool autoSize);
    bool wordWrap() const { return m_wordWrap; }
    void setWordWrap(bool wordWrap);
    /// BackStyle: false is transparent.
    bool opaque() const { return m_opaque; }
    void setOpaque(bool opaque);

private:
    QString m_caption;
    TextAlignment m_alignment = TextAlignment::Left;
    BorderStyle m_borderStyle = BorderStyle::None;
    bool m_autoSize = false;
    bool m_wordWrap = false;
    bool m_opaque = true;
};

class CommandButton : public Control {
public:
    explicit CommandButton(const QString &name = {});
    QString className() const override { return QStringLiteral("CommandButton"); }

    const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption);
    /// The button Enter presses on its form.
    bool isDefault() const { return m_default; }
    void setDefault(bool isDefault);
    /// The button Esc presses on its form.
    bool cancel() const { return m_cancel; }
    void setCancel(bool cancel);
    /// Value = True in code: raises Click, like pressing the button.
    void setValue(bool value);

    /// The user presses the button: raises Click when it is enabled and visible.
    void press();

private:
    QString m_caption;
    bool m_default = false;
    bool m_cancel = false;
};

/// CheckBox values.
inline constexpr int vbUnchecked = 0;
inline constexpr int vbChecked = 1;
inline constexpr int vbGrayed = 2;

class CheckBox : public Control {
public:
    explicit CheckBox(const QString &name = {});
    QString className() const override { return QStringLiteral("CheckBox"); }

    const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption);
    int value() const { return m_value; }
    /// 0, 1 or 2 (else 380). A change raises Click, as assigning Value does in VB.
    void setValue(int value);
    TextAlignment alignment() const { return m_alignment; }
    void setAlignment(TextAlignment alignment);

    /// The user clicks the box: checked becomes unchecked, anything else checked; Click.
    void press();

private:
    QString m_caption;
    int m_value = vbUnchecked;
    TextAlignment m_alignment = TextAlignment::Left;
};

/// ComboBox Style.
enum class ComboStyle { DropdownCombo = 0, SimpleCombo = 1, DropdownList = 2 };

class ComboBox : public Control {
public:
    explicit ComboBox(const QString &name = {});
    QString className() const override { return QStringLiteral("ComboBox"); }

    ComboStyle style() const { return m_style; }
    void setStyle(ComboStyle style);
    bool sorted() const { return m_sorted; }
    /// Sorted lists insert AddItem entries in text order (case-insensitive).
    void setSorted(bool sorted);
    bool locked() const { return m_locked; }
    void setLocked(bool locked);

    /// List(i), 0-based; empty past the end, 381 for a negative index.
    QString list(int index) const;
    void setList(int index, const QString &text);
    const QStringList &items() const { return m_items; }
    int listCount() const { return static_cast<int>(m_items.size()); }
    /// ItemData(i); 381 outside the list.
    int itemData(int index) const;
    void setItemData(int index, int data);

    /// AddItem(item, [index]): index -1 appends (or sorts); 5 outside 0..ListCount.
    void addItem(const QString &item, int index = -1);
    /// RemoveItem(index): 5 outside the list.
    void removeItem(int index);
    void clear();

    /// -1 when nothing is selected.
    int listIndex() const { return m_listIndex; }
    /// 380 outside -1..ListCount-1. Selecting an item sets Text to it and raises Click
    /// when the index changes.
    void setListIndex(int index);
    const QString &text() const { return m_text; }
    /// DropdownCombo/SimpleCombo: sets the edit text (ListIndex becomes -1) and raises Change.
    /// DropdownList: selects the item with exactly this text (383 when there is none).
    void setText(const QString &text);

    // User operations.
    /// The user picks item `index` from the list: ListIndex, Text, Click.
    void chooseItem(int index);
    /// The user types into the edit part: Text, then Change. Ignored when locked or a list.
    void typeText(const QString &text);
    /// KeyDown; returns the key code as the handlers left it.
    int pressKey(int keyCode, int shift = 0);
    /// KeyPress; returns the character code as the handlers left it.
    int typeChar(int keyAscii);

    host::Signal<> change;
    host::Signal<> dropDown;

private:
    ComboStyle m_style = ComboStyle::DropdownCombo;
    bool m_sorted = false;
    bool m_locked = false;
    QStringList m_items;
    QList<int> m_itemData;
    int m_listIndex = -1;
    QString m_text;
};

class PictureBox : public Container {
public:
    explicit PictureBox(const QString &name = {});
    QString className() const override { return QStringLiteral("PictureBox"); }

    BorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(BorderStyle style);
    Appearance appearance() const { return m_appearance; }
    void setAppearance(Appearance appearance);
    bool autoRedraw() const { return m_autoRedraw; }
    void setAutoRedraw(bool autoRedraw);

protected:
    QSize frameSize() const override;

private:
    BorderStyle m_borderStyle = BorderStyle::FixedSingle;
    Appearance m_appearance = Appearance::ThreeD;
    bool m_autoRedraw = false;
};

class Frame : public Container {
public:
    explicit Frame(const QString &name = {});
    QString className() const override { return QStringLiteral("Frame"); }

    const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption);
    BorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(BorderStyle style);

private:
    QString m_caption;
    BorderStyle m_borderStyle = BorderStyle::FixedSingle;
};

} // namespace controls
