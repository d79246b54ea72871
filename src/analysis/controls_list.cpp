#include "analysis/controls_list.h"

#include "analysis/list_builder.h"
#include "analysis/source_text.h"

namespace analysis {

using controls::ColumnAlignment;
using host::ComponentType;
using host::resumeNext;

namespace {

/// A designer property as text; `fallback` when the control has no such property.
QString propertyText(const host::VBControl &control, const QString &name, const QString &fallback = {})
{
    QString text = fallback;
    resumeNext([&] { text = control.properties()->item(name)->value().toString(); });
    return text;
}

/// The array index of a control from its "Index" property; -1 outside an array.
int arrayIndex(const host::VBControl &control)
{
    bool ok = false;
    const int index = propertyText(control, QStringLiteral("Index")).toInt(&ok);
    return ok && index >= 0 ? index : -1;
}

QString parentText(const host::VBControl &control)
{
    const host::Ptr<host::VBControl> container = control.container();
    if (!container)
        return {};
    const QString name = propertyText(*container, QStringLiteral("Name"));
    return controlCaption(name, arrayIndex(*container)) + QStringLiteral(" <") + container->className() +
           QLatin1Char('>');
}

host::Ptr<host::VBControls> designerControls(const host::VBComponent &component)
{
    const host::Ptr<host::VBForm> designer = component.designer();
    return designer ? designer->vbControls() : nullptr;
}

} // namespace

QString controlCaption(const QString &name, int index)
{
    return index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(index);
}

void ShowControlCounts(ToolWindow &window, const host::VBE &vbe, bool createColumns)
{
    if (createColumns) {
        addColumns(window.list(0), {{"Module"}, {"Control", ColumnAlignment::Right}});
        window.RestoreColumnWidths();
    }
    forEachFolderComponent(window, vbe, [&](const host::Ptr<host::VBComponent> &component, const QString &image) {
        const QString name = component->name();
        int count = 0;
        resumeNext([&] {
            if (const host::Ptr<host::VBControls> controls = designerControls(*component))
                count = controls->count();
        });
        window.AddDetailItem(name, {QString::number(count)}, name, image);
    });
}

void ShowControlList(ToolWindow &window, const host::VBE &vbe, const QString &componentName, bool createColumns)
{
    if (createColumns) {
        addColumns(window.list(0), {{"Control"}, {"Class"}, {"TabIndex", ColumnAlignment::Right}, {"Parent"}});
        window.RestoreColumnWidths();
    }
    window.SetStatusMessage(1, QStringLiteral("ﾓｼﾞｭｰﾙを解析中 ..."));
    const host::Ptr<host::VBProject> project = currentProjectOf(window, vbe);
    if (!project)
        return;
    host::Ptr<host::VBControls> controls;
    ComponentType type{};
    int n = 0;
    resumeNext([&] {
        const host::Ptr<host::VBComponent> component = project->vbComponents()->item(componentName);
        type = component->type();
        controls = designerControls(*component);
        n = controls ? controls->count() : 0;
    });
    switch (type) {
    case ComponentType::MSForm:
    case ComponentType::VBForm:
    case ComponentType::VBMDIForm:
    case ComponentType::PropPage:
    case ComponentType::UserControl:
    case ComponentType::DocObject:
    case ComponentType::ActiveXDesigner:
        break;
    default:
        return;
    }
    if (n == 0)
        return;
    const QString image = QStringLiteral("CONTROL");
    window.SetProgress(0, n);
    for (int i = 1; i <= n; ++i) {
        host::Ptr<host::VBControl> control;
        resumeNext([&] { control = controls->item(i); });
        if (control && type == ComponentType::ActiveXDesigner) {
            // An ActiveX designer's controls tell only their name and tab index.
            QString name;
            resumeNext([&] { name = control->name(); });
            const QString tabIndex = propertyText(*control, QStringLiteral("TabIndex"), QStringLiteral("-1"));
            resumeNext([&] { window.AddDetailItem(name, {QString(), tabIndex, QString()}, QString(), image); });
        } else if (control) {
            const QString name = propertyText(*control, QStringLiteral("Name"));
            QString className, parent;
            resumeNext([&] { className = control->className(); });
            const QString tabIndex = propertyText(*control, QStringLiteral("TabIndex"), QStringLiteral("-1"));
            resumeNext([&] { parent = parentText(*control); });
            const int index = arrayIndex(*control);
            // Keys join name and index without a separator: "Text10" may collide with the
            // array element Text1(0), and the second row is then missing.
            const QString key = index < 0 ? name : name + QString::number(index);
            const QString text = index < 0 ? QString() : controlCaption(name, index);
            resumeNext([&] { window.AddDetailItem(key, {className, tabIndex, parent}, text, image); });
        }
        window.SetProgress(i, 0);
    }
}

} // namespace analysis
