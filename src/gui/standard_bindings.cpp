// ImageCombo, ComboBox, PictureBox, Frame, Label, CommandButton, CheckBox, and the factory.
#include "controls/controls.h"
#include "gui/bindings.h"
#include "gui/units.h"
#include "gui/user_operation.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <qdrawutil.h>

namespace gui {

using namespace controls;

namespace {

/// A widget that paints through a callback (picture boxes).
class PaintWidget : public QWidget {
public:
    using QWidget::QWidget;
    std::function<void(QPainter &)> paint;

protected:
    void paintEvent(QPaintEvent *) override
    {
        if (!paint)
            return;
        QPainter p(this);
        paint(p);
    }
};

/// VB's mnemonic syntax on a control without one: "&&" is "&", a single "&" disappears.
QString plainCaption(const QString &caption)
{
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&'))
                out += QLatin1Char('&');
            else
                continue;
            ++i;
            continue;
        }
        out += caption[i];
    }
    return out;
}

} // namespace

void paintDrawnEdges(QWidget *widget, const QList<DrawnEdge> &edges)
{
    if (edges.isEmpty())
        return;
    QPainter p(widget);
    const QPalette &pal = widget->palette();
    const QColor light = pal.color(QPalette::Midlight);
    const QColor highlight = pal.color(QPalette::Light);
    const QColor shadow = pal.color(QPalette::Dark);
    const QColor dark = pal.color(QPalette::Shadow);
    for (const DrawnEdge &e : edges) {
        QRect r = e.pixels;
        auto ring = [&](QColor topLeft, QColor bottomRight) {
            p.setPen(topLeft);
            if (e.flags & 1)
                p.drawLine(r.topLeft(), r.bottomLeft());
            if (e.flags & 2)
                p.drawLine(r.topLeft(), r.topRight());
            p.setPen(bottomRight);
            if (e.flags & 4)
                p.drawLine(r.topRight(), r.bottomRight());
            if (e.flags & 8)
                p.drawLine(r.bottomLeft(), r.bottomRight());
            r.adjust(1, 1, -1, -1);
        };
        // BDR_RAISEDOUTER 1, BDR_SUNKENOUTER 2, BDR_RAISEDINNER 4, BDR_SUNKENINNER 8.
        if (e.edge & 1)
            ring(light, dark);
        else if (e.edge & 2)
            ring(shadow, highlight);
        if (e.edge & 4)
            ring(highlight, shadow);
        else if (e.edge & 8)
            ring(dark, light);
    }
}

// ---- ImageCombo -----------------------------------------------------------------------------

ImageComboBinding::ImageComboBinding(ImageCombo &combo, ChildHost *host)
    : ControlBinding(combo, new QComboBox(host->childParent()), host), m_combo(combo)
{
    QComboBox *w = comboBox();
    w->setIconSize(QSize(16, 16));
    w->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    w->setMinimumContentsLength(4);
    connect(w, &QComboBox::activated, this, [this](int index) {
        if (m_syncing || index < 0 || index >= m_combo.comboItems().count())
            return;
        userOperation([&] { m_combo.chooseItem(m_combo.comboItems()(index + 1)); });
        syncSelection();
    });
    syncAll();
}

QComboBox *ImageComboBinding::comboBox() const { return static_cast<QComboBox *>(widget()); }

void ImageComboBinding::rebuild()
{
    SyncGuard guard(m_syncing);
    QComboBox *w = comboBox();
    w->clear();
    for (const ComboItem *item : m_combo.comboItems()) {
        // Each indentation level is 10 pixels, drawn as leading space.
        const QString indent(item->indentation() * 2, QLatin1Char(' '));
        w->addItem(imageIcon(m_combo.imageList(), item->image()), indent + item->text());
    }
    syncSelection();
}

void ImageComboBinding::syncSelection()
{
    SyncGuard guard(m_syncing);
    QComboBox *w = comboBox();
    const ComboItem *selected = m_combo.selectedItem();
    w->setCurrentIndex(selected ? selected->index() - 1 : -1);
    w->setPlaceholderText(m_combo.text());
}

void ImageComboBinding::propertyChanged(Property property)
{
    ControlBinding::propertyChanged(property);
    const Property p = property;
    if (p == Property::ComboItems || p == Property::ImageList) {
        if (comboBox()->count() == m_combo.comboItems().count() && !comboBox()->view()->isVisible()) {
            rebuild();
        } else {
            scheduleRebuild();
        }
    } else if (p == Property::SelectedItem || p == Property::Text) {
        if (!rebuildPending())
            syncSelection();
    }
}

// ---- ComboBox -------------------------------------------------------------------------------

ComboBoxBinding::ComboBoxBinding(ComboBox &combo, ChildHost *host)
    : ControlBinding(combo, new QComboBox(host->childParent()), host), m_combo(combo)
{
    QComboBox *w = comboBox();
    w->setInsertPolicy(QComboBox::NoInsert);
    w->setMaxVisibleItems(12);
    connect(w, &QComboBox::activated, this, [this](int index) {
        if (m_syncing || index < 0 || index >= m_combo.listCount())
            return;
        userOperation([&] { m_combo.chooseItem(index); });
        syncText();
    });
    attachEditor();
    syncAll();
}

QComboBox *ComboBoxBinding::comboBox() const { return static_cast<QComboBox *>(widget()); }

void ComboBoxBinding::attachEditor()
{
    QComboBox *w = comboBox();
    const bool editable = m_combo.style() != ComboStyle::DropdownList;
    if (w->isEditable() == editable && (!editable || w->lineEdit()->property("tessaryBound").toBool()))
        return;
    w->setEditable(editable);
    if (!editable)
        return;
    QLineEdit *edit = w->lineEdit();
    edit->setProperty("tessaryBound", true);
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (m_syncing)
            return;
        userOperation([&] { m_combo.typeText(text); });
        syncText();
    });
}

bool ComboBoxBinding::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && comboBox()->isEditable() && watched == comboBox()->lineEdit()) {
        auto *key = static_cast<QKeyEvent *>(event);
        const int code = vbKeyCode(key->key());
        if (code != 0) {
            int result = code;
            userOperation([&] { result = m_combo.pressKey(code, vbShift(key->modifiers())); });
            if (result == 0)
                return true;
            if (code == vbKeyReturn) {
                userOperation([&] { m_combo.typeChar(vbKeyReturn); });
                return true; // Enter is the handler's, not a new list entry
            }
        }
    }
    return ControlBinding::eventFilter(watched, event);
}

void ComboBoxBinding::rebuild()
{
    SyncGuard guard(m_syncing);
    attachEditor();
    QComboBox *w = comboBox();
    w->clear();
    w->addItems(m_combo.items());
    syncText();
}

void ComboBoxBinding::syncText()
{
    SyncGuard guard(m_syncing);
    QComboBox *w = comboBox();
    if (w->currentIndex() != m_combo.listIndex())
        w->setCurrentIndex(m_combo.listIndex());
    if (w->isEditable() && w->lineEdit()->text() != m_combo.text())
        w->lineEdit()->setText(m_combo.text());
}

void ComboBoxBinding::propertyChanged(Property property)
{
    ControlBinding::propertyChanged(property);
    const Property p = property;
    if (p == Property::List || p == Property::Style) {
        if (comboBox()->view()->isVisible())
            scheduleRebuild();
        else
            rebuild();
    } else if (p == Property::Text || p == Property::ListIndex) {
        if (!rebuildPending())
            syncText();
    } else if (p == Property::Locked) {
        if (comboBox()->isEditable())
            comboBox()->lineEdit()->setReadOnly(m_combo.locked());
    }
}

// ---- PictureBox -----------------------------------------------------------------------------

PictureBoxBinding::PictureBoxBinding(PictureBox &box, ChildHost *host)
    : ControlBinding(box, new PaintWidget(host->childParent()), host)
{
    auto *w = static_cast<PaintWidget *>(widget());
    w->setMouseTracking(true);
    w->setAutoFillBackground(true);
    w->paint = [w, &box](QPainter &p) {
        if (box.borderStyle() == BorderStyle::FixedSingle) {
            if (box.appearance() == Appearance::ThreeD)
                qDrawWinPanel(&p, w->rect(), w->palette(), true);
            else
                qDrawPlainRect(&p, w->rect(), Qt::black, 1);
        }
        p.end();
        paintDrawnEdges(w, box.drawnEdges());
    };
    forwardMouse();
    syncAll();
}

void PictureBoxBinding::applyColors()
{
    ControlBinding::applyColors();
    widget()->update();
}

// ---- Frame ----------------------------------------------------------------------------------

FrameBinding::FrameBinding(Frame &frame, ChildHost *host)
    : ControlBinding(frame, new QGroupBox(host->childParent()), host), m_frame(frame)
{
    forwardMouse();
    syncAll();
}

void FrameBinding::rebuild()
{
    auto *w = static_cast<QGroupBox *>(widget());
    w->setTitle(m_frame.caption());
    w->setFlat(m_frame.borderStyle() == BorderStyle::None);
}

void FrameBinding::propertyChanged(Property property)
{
    ControlBinding::propertyChanged(property);
    const Property p = property;
    if (p == Property::Caption || p == Property::BorderStyle)
        rebuild();
}

// ---- Label ----------------------------------------------------------------------------------

LabelBinding::LabelBinding(Label &label, ChildHost *host)
    : ControlBinding(label, new QLabel(host->childParent()), host), m_label(label)
{
    static_cast<QLabel *>(widget())->setTextFormat(Qt::PlainText);
    forwardMouse();
    syncAll();
}

void LabelBinding::rebuild()
{
    auto *w = static_cast<QLabel *>(widget());
    w->setText(plainCaption(m_label.caption()));
    Qt::Alignment align = Qt::AlignTop;
    switch (m_label.alignment()) {
    case TextAlignment::Right: align |= Qt::AlignRight; break;
    case TextAlignment::Center: align |= Qt::AlignHCenter; break;
    default: align |= Qt::AlignLeft; break;
    }
    w->setAlignment(align);
    w->setWordWrap(m_label.wordWrap() || !m_label.autoSize());
    w->setFrameStyle(m_label.borderStyle() == BorderStyle::FixedSingle ? QFrame::Panel | QFrame::Sunken
                                                                       : QFrame::NoFrame);
}

void LabelBinding::applyColors()
{
    ControlBinding::applyColors();
    widget()->setAutoFillBackground(m_label.opaque());
}

void LabelBinding::propertyChanged(Property property)
{
    ControlBinding::propertyChanged(property);
    const Property p = property;
    if (p == Property::Caption || p == Property::Alignment || p == Property::WordWrap || p == Property::AutoSize || p == Property::BorderStyle)
        rebuild();
    else if (p == Property::BackStyle)
        applyColors();
}

// ---- CommandButton --------------------------------------------------------------------------

CommandButtonBinding::CommandButtonBinding(CommandButton &button, ChildHost *host)
    : ControlBinding(button, new QPushButton(host->childParent()), host), m_button(button)
{
    auto *w = static_cast<QPushButton *>(widget());
    w->setAutoDefault(false);
    connect(w, &QPushButton::clicked, this, [this] { userOperation([&] { m_button.press(); }); });
    syncAll();
}

void CommandButtonBinding::rebuild()
{
    auto *w = static_cast<QPushButton *>(widget());
    w->setText(m_button.caption());
    w->setDefault(m_button.isDefault());
}

void CommandButtonBinding::propertyChanged(Property property)
{
    ControlBinding::propertyChanged(property);
    const Property p = property;
    if (p == Property::Caption || p == Property::Default)
        rebuild();
}

// ---- CheckBox -------------------------------------------------------------------------------

CheckBoxBinding::CheckBoxBinding(CheckBox &box, ChildHost *host)
    : ControlBinding(box, new QCheckBox(host->childParent()), host), m_box(box)
{
    auto *w = static_cast<QCheckBox *>(widget());
    connect(w, &QCheckBox::clicked, this, [this] {
        userOperation([&] { m_box.press(); });
        rebuild();
    });
    syncAll();
}

void CheckBoxBinding::rebuild()
{
    SyncGuard guard(m_syncing);
    auto *w = static_cast<QCheckBox *>(widget());
    w->setText(m_box.caption());
    w->setLayoutDirection(m_box.alignment() == TextAlignment::Right ? Qt::RightToLeft : Qt::LeftToRight);
    w->setTristate(m_box.value() == vbGrayed);
    w->setCheckState(m_box.value() == vbChecked   ? Qt::Checked
                     : m_box.value() == vbGrayed ? Qt::PartiallyChecked
                                                 : Qt::Unchecked);
}

void CheckBoxBinding::propertyChanged(Property property)
{
    ControlBinding::propertyChanged(property);
    const Property p = property;
    if (p == Property::Caption || p == Property::Value || p == Property::Alignment)
        rebuild();
}

// ---- factory --------------------------------------------------------------------------------

std::unique_ptr<ControlBinding> createBinding(Control &control, ChildHost *host)
{
    if (auto *c = dynamic_cast<TreeView *>(&control))
        return std::make_unique<TreeBinding>(*c, host);
    if (auto *c = dynamic_cast<ListView *>(&control))
        return std::make_unique<ListBinding>(*c, host);
    if (auto *c = dynamic_cast<Toolbar *>(&control))
        return std::make_unique<ToolbarBinding>(*c, host);
    if (auto *c = dynamic_cast<StatusBar *>(&control))
        return std::make_unique<StatusBarBinding>(*c, host);
    if (auto *c = dynamic_cast<ProgressBar *>(&control))
        return std::make_unique<ProgressBinding>(*c, host);
    if (auto *c = dynamic_cast<TabStrip *>(&control))
        return std::make_unique<TabStripBinding>(*c, host);
    if (auto *c = dynamic_cast<CoolBar *>(&control))
        return std::make_unique<CoolBarBinding>(*c, host);
    if (auto *c = dynamic_cast<ImageCombo *>(&control))
        return std::make_unique<ImageComboBinding>(*c, host);
    if (auto *c = dynamic_cast<ComboBox *>(&control))
        return std::make_unique<ComboBoxBinding>(*c, host);
    if (auto *c = dynamic_cast<PictureBox *>(&control))
        return std::make_unique<PictureBoxBinding>(*c, host);
    if (auto *c = dynamic_cast<Frame *>(&control))
        return std::make_unique<FrameBinding>(*c, host);
    if (auto *c = dynamic_cast<Label *>(&control))
        return std::make_unique<LabelBinding>(*c, host);
    if (auto *c = dynamic_cast<CommandButton *>(&control))
        return std::make_unique<CommandButtonBinding>(*c, host);
    if (auto *c = dynamic_cast<CheckBox *>(&control))
        return std::make_unique<CheckBoxBinding>(*c, host);
    return nullptr;
}

} // namespace gui
