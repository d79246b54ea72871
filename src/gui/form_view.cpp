#include "gui/form_view.h"

#include "controls/form.h"
#include "gui/bindings.h"
#include "gui/units.h"
#include "gui/user_operation.h"

#include <QCloseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace gui {

using namespace controls;

namespace {

/// The form's client area: its colour and what was drawn on it.
class Surface : public QWidget {
public:
    Surface(Form &form, QWidget *parent) : QWidget(parent), m_form(form) { setAutoFillBackground(true); }

protected:
    void paintEvent(QPaintEvent *) override { paintDrawnEdges(this, m_form.drawnEdges()); }

private:
    Form &m_form;
};

} // namespace

FormView::FormView(Form &form, QWidget *parent) : QWidget(parent), m_form(form), m_surface(new Surface(form, this))
{
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, toQColor(form.backColor()));
    setPalette(p);
    m_surface->setPalette(p);
    m_surface->setFont(toQFont(form.font()));
    build(form, this);
    placeSurface();
    m_formSubscription = form.changed.connect([this](Property property) { formChanged(property); });
}

FormView::~FormView()
{
    m_formSubscription.reset();
    // Children before their containers: a binding leaves its host's list when it goes.
    while (!m_bindings.empty())
        m_bindings.pop_back();
}

void FormView::build(Container &container, ChildHost *host)
{
    for (Control *child : container.controls()) {
        std::unique_ptr<ControlBinding> binding = createBinding(*child, host);
        if (!binding)
            continue;
        ControlBinding *raw = binding.get();
        m_byControl.insert(child, raw);
        m_bindings.push_back(std::move(binding));
        auto *childContainer = dynamic_cast<Container *>(child);
        auto *childHost = dynamic_cast<ChildHost *>(raw);
        if (childContainer && childHost) {
            build(*childContainer, childHost);
            childHost->relayoutChildren();
            childHost->restack();
        }
    }
    if (host == this)
        restack();
}

QWidget *FormView::widgetFor(const Control &control) const
{
    ControlBinding *binding = m_byControl.value(&control);
    return binding ? binding->widget() : nullptr;
}

ControlBinding *FormView::bindingFor(const Control &control) const { return m_byControl.value(&control); }

void FormView::flush()
{
    for (const auto &binding : m_bindings)
        binding->flush();
}

QSize FormView::sizeHint() const
{
    return QSize(twipsToPixelsX(m_form.scaleWidth(), this), twipsToPixelsY(m_form.scaleHeight(), this));
}

void FormView::placeSurface()
{
    const QSize size(twipsToPixelsX(m_form.scaleWidth(), this), twipsToPixelsY(m_form.scaleHeight(), this));
    if (m_surface->size() != size)
        m_surface->setGeometry(QRect(QPoint(0, 0), size));
}

void FormView::formChanged(Property property)
{
    const Property p = property;
    if (p == Property::Width || p == Property::Height) {
        placeSurface();
    } else if (p == Property::BackColor) {
        QPalette pal = palette();
        pal.setColor(QPalette::Window, toQColor(m_form.backColor()));
        setPalette(pal);
        m_surface->setPalette(pal);
    } else if (p == Property::Picture || p == Property::Refresh) {
        m_surface->update();
    } else if (p == Property::Caption) {
        if (auto *dialog = qobject_cast<FormDialog *>(parentWidget()))
            dialog->setWindowTitle(m_form.caption());
    }
}

void FormView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (!onResize)
        return;
    const int w = pixelsToTwipsX(width(), this);
    const int h = pixelsToTwipsY(height(), this);
    if (w == m_form.scaleWidth() && h == m_form.scaleHeight())
        return;
    userOperation([&] { onResize(w, h); });
}

// ---- FormDialog -------------------------------------------------------------------------------

FormDialog::FormDialog(Form &form, QWidget *parent) : QDialog(parent), m_form(form), m_view(new FormView(form, this))
{
    setWindowTitle(form.caption());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    const QSize size = m_view->sizeHint();
    const bool fixed = form.borderStyle() != FormBorderStyle::Sizable
                       && form.borderStyle() != FormBorderStyle::SizableToolWindow;
    if (fixed)
        setFixedSize(size);
    else
        resize(size);
    m_view->onResize = [this](int w, int h) {
        // The form's size includes its frame; keep the frame it has.
        const int frameW = m_form.width() - m_form.scaleWidth();
        const int frameH = m_form.height() - m_form.scaleHeight();
        m_form.move(m_form.left(), m_form.top(), w + frameW, h + frameH);
    };
    m_subscription = form.changed.connect([this](Property property) {
        if (property == Property::Visible && !m_form.visible())
            done(0);
    });
}

void FormDialog::closeEvent(QCloseEvent *event)
{
    if (!m_form.visible()) {
        event->accept();
        return;
    }
    userOperation([&] { m_form.userClose(); });
    if (m_form.visible())
        event->ignore();
    else
        event->accept();
}

void FormDialog::reject()
{
    if (!m_form.visible()) {
        QDialog::reject();
        return;
    }
    // Esc presses the form's Cancel button; without one the dialog stays.
    userOperation([&] { m_form.pressEscape(); });
    if (!m_form.visible())
        QDialog::reject();
}

} // namespace gui
