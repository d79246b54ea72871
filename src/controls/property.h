#pragma once
// The properties a control model reports through `changed`, by their VB names. A renderer
// matches these names at compile time, so a misspelt one fails to build instead of never
// matching.
#include <QtGlobal>
#include <utility>

namespace controls {

// X(name): one entry per VB property (or collection) a model reports.
#define TESSARY_CONTROL_PROPERTIES(X)                                                                    \
    X(Align) X(Alignment) X(Appearance) X(AutoSize) X(BackColor) X(BackStyle) X(Bands) X(Bold)            \
    X(BorderStyle) X(ButtonHeight) X(ButtonWidth) X(Buttons) X(Cancel) X(Caption) X(Checkboxes)           \
    X(Checked) X(ChildrenToLoad) X(ColumnHeaderIcons) X(ColumnHeaders) X(ComboItems) X(Container) X(Default) X(Enabled)     \
    X(EnsureVisible) X(Expanded) X(ExpandedImage) X(Focus) X(Font) X(ForeColor) X(FullRowSelect)          \
    X(Ghosted) X(GridLines) X(Height) X(HideColumnHeaders) X(HideSelection) X(HotTracking) X(Icon)        \
    X(Icons) X(Image) X(ImageHeight) X(ImageList) X(ImageWidth) X(Indentation) X(Key) X(LabelEdit)        \
    X(Left) X(LineStyle) X(List) X(ListImages) X(ListIndex) X(Loaded) X(Locked) X(Max) X(Min) X(MousePointer)           \
    X(MultiSelect) X(Name) X(Orientation) X(Panels) X(PathSeparator) X(Picture) X(Properties) X(Refresh)  \
    X(Scrolling) X(Selected) X(SelectedImage) X(SelectedItem) X(ShowTips) X(SimpleText) X(SingleSel)      \
    X(SmallIcon) X(SmallIcons) X(SortKey) X(SortOrder) X(Sorted) X(Style) X(SubItems) X(TabFixedHeight)   \
    X(Tabs) X(Tag) X(Text) X(TextAlignment) X(ToolTipText) X(Top) X(Value) X(View) X(Visible) X(Width)    \
    X(WordWrap) X(Wrappable) X(ZOrder)

/// A property of a control, a node or a list item. "Properties" means all of them at once
/// (a loaded control-array element); "Refresh", "Focus" and "EnsureVisible" are requests to
/// the renderer rather than stored values.
enum class Property : quint8 {
#define TESSARY_PROPERTY_ENUM(name) name,
    TESSARY_CONTROL_PROPERTIES(TESSARY_PROPERTY_ENUM)
#undef TESSARY_PROPERTY_ENUM
};

/// The VB name ("Text", "SelectedItem", ...), for logs and tests.
const char *propertyName(Property property);

/// The setter shape: stores `value` in `field` when it differs; true when it did.
template <class T, class V>
bool assign(T &field, V &&value)
{
    if (field == value)
        return false;
    field = std::forward<V>(value);
    return true;
}

} // namespace controls
