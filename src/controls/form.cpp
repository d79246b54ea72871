#include "controls/form.h"

#include "controls/platform.h"
#include "controls/standard_controls.h"

namespace controls {

namespace {
constexpr int kBorder = 4 * kTwipsPerPixel;
constexpr int kCaptionBar = 22 * kTwipsPerPixel;

QList<Form *> &loadedForms()
{
    static QList<Form *> list;
    return list;
}

CommandButton *findIn(const Container &container, bool wantDefault)
{
    for (Control *c : container.controls()) {
        if (auto *button = dynamic_cast<CommandButton *>(c)) {
            const bool marked = wantDefault ? button->isDefault() : button->cancel();
            if (marked && button->enabled() && button->visible())
                return button;
        }
        if (auto *inner = dynamic_cast<Container *>(c)) {
            if (CommandButton *found = findIn(*inner, wantDefault))
                return found;
        }
    }
    return nullptr;
}
} // namespace

Form::Form(const QString &name) : Container(name)
{
    move(0, 0, 4800, 3600);
    setVisible(false);
}

Form::~Form()
{
    loadedForms().removeAll(this);
}

const QList<Form *> &forms()
{
    return loadedForms();
}

void Form::setCaption(const QString &caption)
{
    if (assign(m_caption, caption))
        notify(Property::Caption);
}

void Form::setBorderStyle(FormBorderStyle style)
{
    if (!assign(m_borderStyle, style))
        return;
    notify(Property::BorderStyle);
    arrangeAligned();
}

QSize Form::frameSize() const
{
    if (m_borderStyle == FormBorderStyle::None)
        return {0, 0};
    return {2 * kBorder, 2 * kBorder + kCaptionBar};
}

void Form::sizeChanged()
{
    Container::sizeChanged();
    if (m_loaded)
        resize.raise();
}

void Form::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    m_shownSinceLoad = false;
    loadedForms().append(this);
    notify(Property::Loaded);
    loadEvent.raise();
}

void Form::show(bool modal, Form *owner)
{
    load();
    m_modal = modal;
    m_owner = owner;
    if (!visible())
        setVisible(true);
    if (!m_shownSinceLoad) {
        m_shownSinceLoad = true;
        resize.raise();
    }
    if (modal)
        platform().showModal(*this);
}

void Form::hide()
{
    setVisible(false);
}

bool Form::unload(UnloadMode mode)
{
    if (!m_loaded)
        return true;
    bool cancel = false;
    queryUnload.raise(cancel, static_cast<int>(mode));
    if (cancel)
        return false;
    unloadEvent.raise(cancel);
    if (cancel)
        return false;
    setVisible(false);
    m_loaded = false;
    loadedForms().removeAll(this);
    notify(Property::Loaded);
    return true;
}

CommandButton *Form::defaultButton() const
{
    return findIn(*this, true);
}

CommandButton *Form::cancelButton() const
{
    return findIn(*this, false);
}

void Form::pressEnter()
{
    if (CommandButton *button = defaultButton())
        button->press();
}

void Form::pressEscape()
{
    if (CommandButton *button = cancelButton())
        button->press();
}

} // namespace controls
