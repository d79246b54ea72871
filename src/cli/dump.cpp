#include "cli/dump.h"

#include "frontend/console.h"
#include "ide/shell/impl.h"

namespace cli {

using host::Ptr;

using frontend::JsonWriter;

namespace {

void dumpComponent(JsonWriter &w, const Ptr<host::VBComponent> &component, bool withLines)
{
    using CT = host::ComponentType;
    const CT type = component->type();
    w.beginObject();
    w.field("name", component->name());
    w.field("type", int(type));
    if (type == CT::VBForm) {
        bool mdiChild = false;
        host::resumeNext([&] { mdiChild = component->properties()->item(QStringLiteral("MDIChild"))->value().toBool(); });
        w.field("mdiChild", mdiChild);
    }
    Ptr<host::CodeModule> module;
    host::resumeNext([&] { module = component->codeModule(); });
    // Without a code module (resource file, related document) neither count exists.
    if (module) {
        w.field("countOfLines", module->countOfLines());
        w.field("countOfDeclarationLines", module->countOfDeclarationLines());
        if (withLines) {
            w.key("lines").beginArray();
            for (int i = 1; i <= module->countOfLines(); ++i)
                w.value(module->lines(i, 1));
            w.endArray();
        }
    }
    w.key("members").beginArray();
    if (module) {
        auto list = module->members();
        for (int i = 1; i <= list->count(); ++i) {
            auto m = list->item(i);
            w.beginObject().field("name", m->name()).field("type", int(m->type())).field("scope", int(m->scope())).endObject();
        }
    }
    w.endArray();
    w.key("procs").beginArray();
    // The procedure list comes from the stand-in's index; the numbers are what the host
    // calls answer.
    if (auto impl = std::dynamic_pointer_cast<ide::CodeModuleImpl>(module)) {
        for (const auto &p : impl->code().procedures()) {
            w.beginObject()
                .field("name", p.name)
                .field("kind", int(p.kind))
                .field("startLine", module->procStartLine(p.name, p.kind))
                .field("bodyLine", module->procBodyLine(p.name, p.kind))
                .field("countLines", module->procCountLines(p.name, p.kind))
                .endObject();
        }
    }
    w.endArray();
    if (auto designer = component->designer()) {
        w.key("controls").beginArray();
        auto list = designer->vbControls();
        for (int i = 1; i <= list->count(); ++i) {
            auto ctl = list->item(i);
            w.value(Json::object().set("name", ctl->name()).set("index", ctl->index()).set("type", ctl->progId()));
        }
        w.endArray();
    }
    w.endObject();
}

void dumpProject(JsonWriter &w, const Ptr<host::VBProject> &project, bool withLines, const QString &baseDir)
{
    w.beginObject();
    w.field("name", project->name());
    w.field("type", int(project->type()));
    w.field("fileName", frontend::relativePath(baseDir, project->fileName()));
    w.field("buildFileName", frontend::relativePath(baseDir, project->buildFileName()));
    w.field("description", project->description());
    w.field("helpFile", project->helpFile());
    w.field("helpContextId", static_cast<long long>(project->helpContextID()));
    w.key("references").beginArray();
    auto references = project->references();
    for (int i = 1; i <= references->count(); ++i) {
        auto r = references->item(i);
        w.value(Json::object()
                    .set("name", r->name())
                    .set("description", r->description())
                    .set("fullPath", frontend::relativePath(baseDir, r->fullPath()))
                    .set("guid", r->guid())
                    .set("builtIn", r->builtIn())
                    .set("isBroken", r->isBroken()));
    }
    w.endArray();
    w.key("components").beginArray();
    auto components = project->vbComponents();
    for (int i = 1; i <= components->count(); ++i)
        dumpComponent(w, components->item(i), withLines);
    w.endArray();
    w.endObject();
}

} // namespace

void dumpIde(const ide::Ide &ide, bool withLines, const QString &baseDir, JsonWriter &w)
{
    w.beginObject();
    w.key("projects").beginArray();
    auto list = ide.vbe()->vbProjects();
    for (int i = 1; i <= list->count(); ++i)
        dumpProject(w, list->item(i), withLines, baseDir);
    w.endArray();
    w.key("diagnostics").beginArray();
    for (const auto &d : ide.diagnostics())
        w.value(Json::object().set("file", frontend::relativePath(baseDir, d.file)).set("line", d.line).set("message", d.message));
    w.endArray();
    w.endObject();
    w.finish();
}

} // namespace cli
