#include "frontend/forms.h"

#include "controls/form.h"
#include "docmain/doc_main.h"

namespace frontend {

using controls::Control;
using controls::Form;

std::vector<Form *> sessionForms(const Session &session)
{
    std::vector<Form *> list;
    Form *document = session.doc ? &session.doc->userDocument : nullptr;
    if (document)
        list.push_back(document);
    for (Form *form : controls::forms()) {
        if (form != document)
            list.push_back(form);
    }
    return list;
}

Form *findForm(const Session &session, const QString &name)
{
    for (Form *form : sessionForms(session)) {
        if (form->name() == name)
            return form;
    }
    return nullptr;
}

namespace {
void collect(const controls::Container &container, std::vector<Control *> &out)
{
    for (Control *c : container.controls()) {
        out.push_back(c);
        if (auto *inner = dynamic_cast<const controls::Container *>(c))
            collect(*inner, out);
    }
}
} // namespace

std::vector<Control *> formControls(const Form &form)
{
    std::vector<Control *> list;
    collect(form, list);
    return list;
}

QString controlName(const Control &control)
{
    return control.index() < 0 ? control.name() : QStringLiteral("%1(%2)").arg(control.name()).arg(control.index());
}

} // namespace frontend
